#pragma once
#include <windows.h>

// A bitmap resource as a device-dependent bitmap whose standard button
// colours (black, dark grey, light grey, white in its colour table) are
// replaced by the current system colours for button text, shadow, face and
// highlight. Toolbar pictures are drawn in those colours. NULL on failure.
HBITMAP AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc);
