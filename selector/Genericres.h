// Resource identifiers of the Add/Edit sound dialog, shared by Genericunit.rc
// and Genericunit.cpp.
#pragma once

#define IDD_GENERIC 200

#define IDC_GENERIC_FILENAMELABEL 201
#define IDC_GENERIC_FILENAME 202
#define IDC_GENERIC_BROWSE 203
#define IDC_GENERIC_SHORTCUTLABEL 204
#define IDC_GENERIC_SHORTCUT 205
#define IDC_GENERIC_BEVEL 206
