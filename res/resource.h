// Resource ids of TAVIUpdata.exe.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC                   (-1)
#endif

#define IDD_ABOUTBOX                 100
#define IDS_ABOUTBOX                 101
#define IDD_TAVIUPDATA_DIALOG        102
#define IDR_MAINFRAME                128
#define IDB_BACKGROUND               130
#define IDI_UPGRADE_HOVER            131
#define IDI_UPGRADE_NORMAL           132
#define IDI_RUN_FRAME1               136
#define IDI_RUN_FRAME2               137
#define IDI_RUN_FRAME3               138
#define IDI_RUN_FRAME4               139
#define IDI_RUN_FRAME5               140
#define IDI_RUN_FRAME6               141
#define IDI_RUN_FRAME7               142
#define IDI_RUN_FRAME8               143

#define IDC_BTN_UPGRADE              1000
#define IDC_PROGRESS                 1001
#define IDC_STC_STATUS               1002
#define IDC_EDT_PATH                 1003
#define IDC_BTN_BROWSE               1004
#define IDC_EDT_LOG                  1005
#define IDC_STC_VERSION              1006
#define IDC_STC_MAKER                1007
#define IDC_STC_PATH_LABEL           1008
#define IDC_STC_RUN_ICON             1009

#define IDM_ABOUTBOX                 0x0010
