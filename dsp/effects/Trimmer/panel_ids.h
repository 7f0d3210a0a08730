// Dialog 101 of Trimmer.dll and its controls.
#pragma once

#define IDD_TRIMMER_PANEL 101
#define IDC_BEGIN_MINUTES 1011
#define IDC_BEGIN_SECONDS 1012
#define IDC_BEGIN_MSEC 1013
#define IDC_END_MINUTES 1016
#define IDC_END_SECONDS 1017
#define IDC_END_MSEC 1018
