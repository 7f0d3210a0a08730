// Identifiers of the recorder's option dialogs, shared by options.rc and
// options.cpp. The control identifiers are the ones the suite's dialogs use.
#pragma once

// "tVC - Options"
#define IDD_OPTIONS 110
#define IDC_OUTPUT_TO 1023
#define IDC_OUTPUT_SET 1034
#define IDC_FILE_CREATION 1013
#define IDC_FILE_CREATION_SET 1033
#define IDC_AUTO_START 1014
#define IDC_AUTO_START_PERCENT 1015
#define IDC_AUTO_START_FOR 1016
#define IDC_AUTO_END 1017
#define IDC_AUTO_END_PERCENT 1018
#define IDC_AUTO_END_FOR 1019
#define IDC_RECORD_USING 1020
#define IDC_INPUT_SOURCE 1035
#define IDC_QUALITY 1021
#define IDC_BITS 1036
#define IDC_CHANNELS 1037
#define IDC_OPTIONS_OK 1010
#define IDC_OPTIONS_CANCEL 1009

// "tVC - Boostkit Options" (OK is IDOK)
#define IDD_BOOSTKIT 111
#define IDB_BOOSTKIT_PLAYLIST 120
#define IDB_BOOSTKIT_MONITOR 121
#define IDC_BK_PICTURE_1 1030
#define IDC_BK_PICTURE_2 1031
#define IDC_BK_WRITE 1025
#define IDC_BK_TYPE 1026
#define IDC_BK_FOLDER 1027
#define IDC_BK_BROWSE 1028
#define IDC_BK_CREATION 1029
#define IDC_BK_CREATION_SET 1033
#define IDC_BK_PLAY_AUDIO 1032

// "Compression Settings" (OK is IDOK)
#define IDD_COMPRESSION 112
#define IDC_COMPRESSION_TEXT 1034
