// Dialog 101 of Quietener.dll and its controls.
#pragma once

#define IDD_QUIETENER_PANEL 101
#define IDC_PERCENT 1004
#define IDC_DECIBELS 1009
