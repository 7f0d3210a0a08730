// Dialog 101 of MinLength.dll and its controls.
#pragma once

#define IDD_MIN_LENGTH_PANEL 101
#define IDC_MIN_MINUTES 1006
#define IDC_MIN_SECONDS 1007
#define IDC_MIN_MSEC 1008
