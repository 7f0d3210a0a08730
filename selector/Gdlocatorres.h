// Resource and control identifiers of the Game Directory Locator window,
// shared by Gdlocatorunit.rc and Gdlocatorunit.cpp. OKButton and CancelButton
// are IDOK and IDCANCEL.
#pragma once

#define IDD_GDLOCATOR 300
#define IDC_LOC_IMAGE 301
#define IDC_LOC_DESCLABEL 302
#define IDC_LOC_RESULTSLABEL 303
#define IDC_LOC_SEARCHINGLABEL 304
#define IDC_LOC_CURDIRLABEL 305
#define IDC_LOC_RESULTS 306
#define IDC_LOC_SEARCHBUTTON 307
