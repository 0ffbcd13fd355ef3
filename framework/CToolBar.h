#pragma once
#include "CBitmap.h"
#include "CSize.h"
#include "CWnd.h"

// The resource type of toolbar layouts.
inline const LPCSTR RT_TOOLBAR = MAKEINTRESOURCEA(241);
// The id a frame gives its toolbar.
const UINT AFX_IDW_TOOLBAR = 0xE800;
// Placement of a control bar at the top of its frame. Bar placement bits
// share the low word with the toolbar class's own styles, so Create keeps
// them out of the window style.
const DWORD CBRS_TOP = 0x1800;

// A toolbar window with the buttons and picture of an RT_TOOLBAR resource.
// It destroys its window, and the picture it was given, when it goes.
class CToolBar : public CWnd {
public:
    CToolBar() = default;
    ~CToolBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    // The toolbar resource and the bitmap resource of the same id, from the
    // current resource module, else the program's own. The layout is WORDs:
    // version 1, image width, image height, button count, then one command
    // id per button (0 for a separator).
    BOOL LoadToolBar(UINT nIDResource);

    int GetCount() const;
    // The index of the command's button, -1 if it has none.
    int CommandToIndex(UINT nIDFind) const;
    // iImage is the button's image in the picture (a separator's width).
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;

protected:
    // The size of one button image, as loaded.
    CSize m_sizeImage;

private:
    CBitmap m_bmpImageWell;
};
