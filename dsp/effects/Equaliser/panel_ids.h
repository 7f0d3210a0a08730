// Resource identifiers of the equaliser's settings panel and preset menu.
#pragma once

#define IDD_EQUALISER_PANEL 101
#define IDM_EQUALISER_PRESETS 105

// Band sliders, band 0 (lowest) to band 17.
#define IDC_BAND_FIRST 1028
#define IDC_BAND_LAST 1045
#define IDC_LOAD 1046
#define IDC_SAVE 1047
#define IDC_RESET 1048
#define IDC_PRESET 1049
#define IDC_FREQUENCIES 1050

#define IDM_PRESET_CLASSICAL 40001
#define IDM_PRESET_CONCERT_HALL 40002
#define IDM_PRESET_DANCE 40003
#define IDM_PRESET_POP 40004
#define IDM_PRESET_ROCK 40005
#define IDM_PRESET_SUPER_BASE 40006
#define IDM_PRESET_SUPER_TREBLE 40008
