// Resource and control identifiers of the Options window, shared by
// Optionsunit.rc and Optionsunit.cpp. OKButton and CancelButton are IDOK and
// IDCANCEL.
#pragma once

#define IDD_OPTIONS 200
#define IDC_OPT_GROUPBOX1 201
#define IDC_OPT_LABEL1 202
#define IDC_OPT_DIRECTORY 203
#define IDC_OPT_BROWSEBUTTON 204
#define IDC_OPT_MINWHENACTIVATED 205
#define IDC_OPT_LOADLASTATSTART 206
#define IDC_OPT_AUTOSEARCHBUTTON 207
#define IDC_OPT_LABEL11 208
#define IDC_OPT_BARALIGN 209
#define IDC_OPT_GROUPBOX2 210
#define IDC_OPT_LABEL2 211
#define IDC_OPT_LABEL3 212
#define IDC_OPT_BUFFERSIZE 213
// The labels under the track bar's ticks, 32 KB to 2 MB, run consecutively.
#define IDC_OPT_TICKLABEL0 220
