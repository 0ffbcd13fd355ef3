#pragma once

#define IDD_TEST          100
#define IDD_BACKGROUND    101
#define IDD_SINGLE        102
#define IDC_BUTTON1       1001
#define IDC_BUTTON2       1002
#define IDC_CHECK         1003
#define IDC_DEFAULT       1004
#define IDC_LABEL         1005
#define IDC_EDIT          1006
#define IDC_RUNICON       1007
#define IDC_RUNICON_TALL  1008
#define IDS_GREETING      200
#define IDS_EMPTY_UNUSED  201
#define IDI_FRAME_RED     300
#define IDI_FRAME_GREEN   301
#define IDI_FRAME_BLUE    302
#define IDI_MIXED         303
#define IDB_QUADRANTS     400
#define IDC_HOVER_CURSOR  500
#define IDR_DROP_MENU     600
#define ID_DROP_OPEN      2001
#define ID_DROP_SAVE      2002
#define ID_DROP_EXIT      2003
