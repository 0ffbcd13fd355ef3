#include "BackgroundPage.h"
#include "ButtonsPage.h"
#include "MenuPage.h"
#include "CWinApp.h"
#include <cstdlib>
#include <cstring>

// The control gallery:
//   gallery.exe [buttons|tile|center|stretch|menu-classic|menu-xp [picture.bmp]]
// With a picture file, the page saves what it looks like there and closes.
class CGalleryApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        const char* page = __argc > 1 ? __argv[1] : "buttons";
        const char* shot = __argc > 2 ? __argv[2] : "";
        static const char* const modes[] = {"tile", "center", "stretch"};
        for (int mode = 0; mode < 3; ++mode) {
            if (std::strcmp(page, modes[mode]) == 0) {
                CBackgroundPage dlg(mode, shot);
                m_pMainWnd = &dlg;
                dlg.DoModal();
                return FALSE;
            }
        }
        static const char* const menuStyles[] = {"menu-classic", "menu-xp"};
        for (int nDrawMode = 0; nDrawMode < 2; ++nDrawMode) {
            if (std::strcmp(page, menuStyles[nDrawMode]) == 0) {
                CMenuPage dlg(nDrawMode, shot);
                m_pMainWnd = &dlg;
                dlg.DoModal();
                return FALSE;
            }
        }
        CButtonsPage dlg(shot);
        m_pMainWnd = &dlg;
        dlg.DoModal();
        return FALSE;
    }
};

CGalleryApp theApp;
