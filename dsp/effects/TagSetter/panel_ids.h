// Resource identifiers of the tag setter's panel and element chooser.
#pragma once

#define IDD_TAG_PANEL 101
#define IDD_ELEMENT_CHOOSER 105
#define IDC_TAG_LIST 1011
#define IDC_TAG_ADD 1012
#define IDC_TAG_REMOVE 1013
#define IDC_TAG_CLEAR 1014
#define IDC_ELEMENT_COMBO 1013
