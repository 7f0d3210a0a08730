// Resource identifiers of the About window, shared by Aboutunit.rc and
// Aboutunit.cpp.
#pragma once

#define IDD_ABOUT 500
#define IDB_ABOUTBANNER 501

#define IDC_ABOUT_LOGOIMAGE 510
#define IDC_ABOUT_LOGOICON 511
#define IDC_ABOUT_LABEL1 512
#define IDC_ABOUT_LABEL3 513
#define IDC_ABOUT_SITELABEL 514
#define IDC_ABOUT_LABEL4 515
#define IDC_ABOUT_BEVEL 516
#define IDC_ABOUT_SECRETBEVEL 517
#define IDC_ABOUT_LABEL2 518
#define IDC_ABOUT_NAMELABEL 519
#define IDC_ABOUT_LABEL5 520
#define IDC_ABOUT_URLLABEL 521
