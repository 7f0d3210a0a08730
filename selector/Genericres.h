// Resource identifiers of the Add/Edit sound dialog, shared by Genericunit.rc
// and Genericunit.cpp.
#pragma once

#define IDD_GENERIC 400

#define IDC_GENERIC_FILENAMELABEL 401
#define IDC_GENERIC_FILENAME 402
#define IDC_GENERIC_BROWSE 403
#define IDC_GENERIC_SHORTCUTLABEL 404
#define IDC_GENERIC_SHORTCUT 405
#define IDC_GENERIC_BEVEL 406
