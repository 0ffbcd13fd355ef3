#include "BackgroundPage.h"
#include "ButtonsPage.h"
#include "MenuPage.h"
#include "CWinApp.h"
#include <cstddef>
#include <cstring>

namespace {
// The index of the name in the list, -1 if it is not there.
template <size_t N>
int IndexOf(const char* const (&names)[N], const char* name)
{
    for (size_t i = 0; i < N; ++i) {
        if (std::strcmp(names[i], name) == 0)
            return static_cast<int>(i);
    }
    return -1;
}
}

// The control gallery:
//   gallery.exe [buttons|tile|center|stretch|menu-classic|menu-xp [picture.bmp]]
// With a picture file, the page saves what it looks like there and closes.
class CGalleryApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        const char* page = __argc > 1 ? __argv[1] : "buttons";
        const char* shot = __argc > 2 ? __argv[2] : "";
        // Background modes and draw modes in the order of their values.
        static const char* const backgrounds[] = {"tile", "center", "stretch"};
        static const char* const menuStyles[] = {"menu-classic", "menu-xp"};
        if (const int nMode = IndexOf(backgrounds, page); nMode >= 0) {
            CBackgroundPage dlg(nMode, shot);
            Run(dlg);
        } else if (const int nDrawMode = IndexOf(menuStyles, page); nDrawMode >= 0) {
            CMenuPage dlg(nDrawMode, shot);
            Run(dlg);
        } else {
            CButtonsPage dlg(shot);
            Run(dlg);
        }
        return FALSE;
    }

private:
    void Run(CDialog& dlg)
    {
        m_pMainWnd = &dlg;
        dlg.DoModal();
    }
};

CGalleryApp theApp;
