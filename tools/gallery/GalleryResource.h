#pragma once

#define IDD_BUTTONS           100
#define IDD_BACKGROUND        101
#define IDD_MENU              102
#define IDB_PAGE_BACK         130
#define IDB_TILE              200
#define IDB_BADGE             201
#define IDR_DROP_MENU         400
#define IDR_MENU_TOOLBAR      401
#define IDI_HOVER             131
#define IDI_NORMAL            132
#define IDI_RUN1              136
#define IDI_RUN2              137
#define IDI_RUN3              138
#define IDI_RUN4              139
#define IDI_RUN5              140
#define IDI_RUN6              141
#define IDI_RUN7              142
#define IDI_RUN8              143
#define IDS_HINT              300

#define IDC_RESTING           1001
#define IDC_HOVER             1002
#define IDC_PRESSED           1003
#define IDC_DISABLED          1004
#define IDC_PARENT_BACK       1005
#define IDC_STANDARD          1006
#define IDC_FOCUSED           1007
#define IDC_DEFAULT           1008
#define IDC_CHECKED           1009
#define IDC_UNCHECKED         1010
#define IDC_BITMAP            1011
#define IDC_BITMAP_DISABLED   1012
#define IDC_GRAY_ICON         1013
#define IDC_ALIGN_TOP         1014
#define IDC_ALIGN_RIGHT       1015
#define IDC_WRAPPED           1016
#define IDC_IMAGE_ONLY        1017
#define IDC_RUN_ICON          1018
#define IDC_RUN_LABEL         1019
#define IDC_MODE_LABEL        1100
#define IDC_MENU_BUTTON       1200
#define IDC_MENU_LABEL        1201

// Commands of the drop-down menu.
#define ID_MENU_OPEN          2001
#define ID_MENU_SAVE          2002
#define ID_MENU_SAVEAS        2003
#define ID_MENU_UNDO          2004
#define ID_MENU_PASTE         2005
#define ID_MENU_TOOLBAR       2006
#define ID_MENU_WRAP          2007
#define ID_MENU_LARGE         2008
#define ID_MENU_SMALL         2009
#define ID_MENU_RECENT1       2010
#define ID_MENU_RECENT2       2011
#define ID_MENU_EXIT          2012
