// Resource and command identifiers of the main window, shared by Cuebinder.rc
// and Mainunit.cpp.
#pragma once

#define IDI_CUEBINDER 1
#define IDR_MAINMENU 100
#define IDB_MENUIMAGES 101
#define IDR_ACCELERATORS 102
#define IDR_POPUPMENU 103

// Commands (menu items, toolbar buttons and accelerators)
#define IDM_NEW 1001
#define IDM_OPEN 1002
#define IDM_SAVE 1003
#define IDM_SAVEAS 1004
#define IDM_OPTIONS 1005
#define IDM_SCRIPTSETUP 1006
#define IDM_EXIT 1007
#define IDM_ADD 1010
#define IDM_EDIT 1011
#define IDM_DELETE 1012
#define IDM_CLEAR 1013
#define IDM_TB_DELETE 1014
#define IDM_ACTIVATE 1020
#define IDM_DEACTIVATE 1021
#define IDM_ONLINEHELP 1030
#define IDM_README 1031
#define IDM_ABOUT 1032

// Child windows of the main window
#define IDC_MAINTOOLBAR 2001
#define IDC_SOUNDSLIST 2002
#define IDC_STATUS 2003

// Numbers of the images in MenuImages
#define IMG_ABOUT 0
#define IMG_ACTIVATE 1
#define IMG_ADD 2
#define IMG_OPTIONS_TB 4
#define IMG_DEACTIVATE 6
#define IMG_DELETE 7
#define IMG_EDIT 8
#define IMG_NEW 13
#define IMG_OPEN 14
#define IMG_OPTIONS 15
#define IMG_ONLINEHELP 16
#define IMG_SAVE 17
#define IMG_SOUND 18
#define IMG_SCRIPTSETUP 20
#define IMG_README 21
#define IMG_COUNT 22
