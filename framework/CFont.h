#pragma once
#include "CGdiObject.h"

class CFont : public CGdiObject {
public:
    CFont() = default;

    static CFont* FromHandle(HFONT hFont) { return AfxTemporaryGdiObject<CFont>(hFont); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }

    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont) { return Attach(::CreateFontIndirectA(lpLogFont)); }
};
