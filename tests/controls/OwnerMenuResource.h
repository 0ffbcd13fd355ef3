#pragma once

#define IDR_TEST_MENU          100
#define IDR_EXTENDED_MENU      101
#define IDR_TRUNCATED_MENU     102
#define IDR_TOOLBAR_16X15      200
#define IDR_TOOLBAR_24X24      201
#define IDR_TOOLBAR_16X16      202
#define IDR_TOOLBAR_NO_BITMAP  203
#define IDB_CHECK_PLAIN        300
#define IDB_CHECK_HIGHLIGHT    301

#define ID_FILE_OPEN           1001
#define ID_FILE_SAVE           1002
#define ID_FILE_SAVEAS         1003
#define ID_FILE_EXIT           1004
#define ID_RECENT_ONE          1010
#define ID_RECENT_TWO          1011
#define ID_EDIT_UNDO           1020
#define ID_EDIT_PLAIN          1021
#define ID_EDIT_OPTIONS        1022
#define ID_EDIT_OVERWRITE      1023
#define ID_EDIT_WRAP           1024
#define ID_ABOUT               1030
// On toolbars only, for menus built in the tests.
#define ID_VARIANT             1040
// Items of the menu that the painting tests draw.
#define ID_PAINT_IMAGE         1050
#define ID_PAINT_CHECK         1051
#define ID_PAINT_RADIO         1052
