// Resource identifiers of the silence remover's panel.
#pragma once

#define IDD_SILENCE_PANEL 101
#define IDC_LEVEL_PERCENT 1004
#define IDC_LEVEL_DECIBELS 1005
#define IDC_FROM_BEGINNING 1009
#define IDC_AT_END 1010
#define IDC_WINDOW_MS 1012
