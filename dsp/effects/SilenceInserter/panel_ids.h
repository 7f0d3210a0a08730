// Dialog 101 of SilenceInserter.dll and its controls.
#pragma once

#define IDD_SILENCE_INSERTER_PANEL 101
#define IDC_START_MINUTES 1012
#define IDC_START_SECONDS 1013
#define IDC_START_MSEC 1014
#define IDC_END_MINUTES 1006
#define IDC_END_SECONDS 1007
#define IDC_END_MSEC 1008
