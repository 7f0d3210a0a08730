// Identifiers of the recorder's main window, shared by main_window.rc and
// main_window.cpp. The control identifiers are the ones the suite uses.
#pragma once

#define IDI_AUXILIARY 1
#define IDD_MAIN 100
#define IDR_LIST_MENU 130
#define IDR_RECORD_MENU 131

// Controls
#define IDC_TRACKS 1000
#define IDC_STATUS_FRAME 1001
#define IDC_STATUS 1002
#define IDC_ARTIST 1003
#define IDC_ALBUM 1004
#define IDC_YEAR 1005
#define IDC_GENRE 1006
#define IDC_COMMENT 1007
#define IDC_TRACK_COUNT 1008
#define IDC_SMART_MINUTES 1021
#define IDC_SMART_SECONDS 1022
#define IDC_NEXT_TRACK 1031

// Track list context menu
#define ID_CONVERT_THIS_TRACK 40001
#define ID_RENAME 40002
#define ID_CHECK_ALL 40003
#define ID_UNCHECK_ALL 40004
#define ID_INVERT_CHECKS 40005

// Record menu; the "Record To" items are numbered from ID_RECORD_TO_FIRST.
#define ID_RECORD 40010
#define ID_RECORD_WITH_OPTIONS 40011
#define ID_COMPRESSION_SETTINGS 40012
#define ID_RECORD_TO_PLACEHOLDER 40013
#define ID_RECORD_TO_FIRST 34334

// The skin buttons (child windows made at run time)
#define IDC_BUTTON_RECORD 1101
#define IDC_BUTTON_RECORD_MENU 1102
#define IDC_BUTTON_OPTIONS 1103
#define IDC_BUTTON_LEVEL_TEST 1104
#define IDC_BUTTON_BOOSTKIT 1105
#define IDC_BUTTON_HELP 1106
