// Identifiers of the fader's settings panel (dialog 101).
#pragma once

#define IDD_FADER_PANEL 101
#define IDC_FADE_IN_LENGTH 1004
#define IDC_FADE_OUT_LENGTH 1005
#define IDC_FADE_IN 1009
#define IDC_FADE_OUT 1010
