// Resource identifiers of the About window, shared by Aboutunit.rc and
// Aboutunit.cpp.
#pragma once

#define IDD_ABOUT 300
#define IDB_ABOUTBANNER 301

#define IDC_ABOUT_LOGOIMAGE 310
#define IDC_ABOUT_LOGOICON 311
#define IDC_ABOUT_LABEL1 312
#define IDC_ABOUT_LABEL3 313
#define IDC_ABOUT_SITELABEL 314
#define IDC_ABOUT_LABEL4 315
#define IDC_ABOUT_BEVEL 316
#define IDC_ABOUT_SECRETBEVEL 317
#define IDC_ABOUT_LABEL2 318
#define IDC_ABOUT_NAMELABEL 319
#define IDC_ABOUT_LABEL5 320
#define IDC_ABOUT_URLLABEL 321
