// A dialog made only for the dialog base's tests.
#pragma once
#define IDD_PROBE 900
#define IDC_PROBE_EDIT 901
#define IDC_PROBE_BUTTON 902
#define IDC_PROBE_THROW 903
