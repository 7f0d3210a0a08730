// Resource identifiers of the bit-depth plug-ins' panel.
#pragma once

#define IDD_DEPTH_PANEL 101
#define IDC_DEPTH_TEXT 1000
