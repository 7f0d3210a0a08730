// Dialog 101 of Reverser.dll.
#pragma once

#define IDD_REVERSER_PANEL 101
