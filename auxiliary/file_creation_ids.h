// The "File Creation" window's template and controls.
#pragma once
#define IDD_FILE_CREATION 400
#define IDC_FC_LABEL 401
#define IDC_FC_TEMPLATE 402
#define IDC_FC_EXAMPLE 403
#define IDC_FC_ELEMENTS_LABEL 404
#define IDC_FC_ELEMENTS 405
#define IDC_FC_PREDEFINED_LABEL 406
#define IDC_FC_PREDEFINED 407
