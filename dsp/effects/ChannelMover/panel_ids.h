// Resource identifiers of the channel mover's panel.
#pragma once

#define IDD_CHANNEL_PANEL 101
#define IDC_CHANNEL_COUNT 1012
#define IDC_MOVE_LIST 1013
#define IDC_ADD_MOVE 1014
#define IDC_CLEAR_MOVES 1015
#define IDC_MOVE_FROM 1016
#define IDC_MOVE_TO 1017
#define IDC_MIX_MODE 1018
