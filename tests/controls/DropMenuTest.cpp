#include "ImageButton.h"
#include "TestDialog.h"
#include "TestResource.h"
#include <gtest/gtest.h>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

namespace {

class CDropButton : public CImageButton {
public:
    using CImageButton::m_dropMenu;
};

class CDropDialog : public CTestDialog {
public:
    using CTestDialog::CTestDialog;
    CDropButton m_button;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CTestDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_BUTTON1, m_button);
    }
};

void RunDropDialog(const std::function<void(CDropDialog&)>& body)
{
    // The pointer stays away from the button and from the menu.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    CDropDialog dlg(IDD_SINGLE, [&body](CTestDialog& d) { body(static_cast<CDropDialog&>(d)); });
    ASSERT_EQ(dlg.Run(), IDOK);
}

// A window that only collects what is posted to it.
struct CTarget {
    HWND m_hWnd = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ~CTarget() { DestroyWindow(m_hWnd); }

    std::vector<std::pair<WPARAM, LPARAM>> TakeCommands() const
    {
        std::vector<std::pair<WPARAM, LPARAM>> commands;
        MSG msg;
        while (PeekMessageA(&msg, m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            commands.emplace_back(msg.wParam, msg.lParam);
        return commands;
    }
};

// The left edge of the button as it paints itself.
COLORREF ButtonEdge(CWnd& button)
{
    CRect rc;
    button.GetClientRect(&rc);
    CPixels pixels(rc.Width(), rc.Height(), RGB(1, 2, 3));
    button.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(pixels.GetDC()), PRF_CLIENT);
    return pixels.At(0, rc.Height() / 2);
}

// What showed while the button's menu was open.
struct DropView {
    bool bOpened = false;
    bool bKeysClosedIt = false;
    CRect rcPopup;
    COLORREF crButtonEdge = 0;
};

typedef std::vector<std::pair<UINT, WPARAM>> Keys;

// Clicks the button. A helper waits (two seconds at most) for the menu to
// show, looks at it and at the button, and types the keys into it; a menu
// that the keys leave open is closed after two seconds more.
DropView ClickAndType(CWnd& button, const Keys& keys)
{
    DropView view;
    std::thread helper([&] {
        HWND hPopup = nullptr;
        for (int i = 0; i < 200 && !hPopup; ++i) {
            HWND hWnd = FindWindowA("#32768", nullptr);
            if (hWnd && IsWindowVisible(hWnd))
                hPopup = hWnd;
            else
                Sleep(10);
        }
        if (!hPopup)
            return;
        view.bOpened = true;
        GetWindowRect(hPopup, &view.rcPopup);
        view.crButtonEdge = ButtonEdge(button);
        for (const auto& key : keys)
            PostMessageA(hPopup, key.first, key.second, 0);
        for (int i = 0; i < 200 && IsWindowVisible(hPopup); ++i)
            Sleep(10);
        view.bKeysClosedIt = !IsWindowVisible(hPopup);
        while (IsWindow(hPopup) && IsWindowVisible(hPopup)) {
            PostMessageA(hPopup, WM_KEYDOWN, VK_ESCAPE, 0);
            Sleep(100);
        }
    });
    button.SendMessage(BM_CLICK);
    helper.join();
    return view;
}

TEST(ImageButtonDropMenu, AClickShowsTheMenuUnderThePressedButtonAndPostsTheChoice)
{
    RunDropDialog([](CDropDialog& d) {
        CTarget target;
        ASSERT_EQ(d.m_button.AttachDropMenu(IDR_DROP_MENU, target.m_hWnd, 1), 0);
        CRect rcButton;
        d.m_button.GetWindowRect(&rcButton);
        const struct {
            Keys keys;
            WPARAM nCommand;   // 0: none
        } cases[] = {
            {{{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RETURN}}, ID_DROP_OPEN},
            {{{WM_CHAR, 's'}}, ID_DROP_SAVE},   // the mnemonic, through WM_MENUCHAR
            {{{WM_KEYDOWN, VK_ESCAPE}}, 0},
        };
        for (const auto& c : cases) {
            const DropView view = ClickAndType(d.m_button, c.keys);
            ASSERT_TRUE(view.bOpened) << c.nCommand;
            EXPECT_TRUE(view.bKeysClosedIt) << c.nCommand;
            EXPECT_EQ(view.rcPopup.left, rcButton.left);
            EXPECT_EQ(view.rcPopup.top, rcButton.bottom);
            // Its items were measured through the button: three of 22, a separator of 11.
            EXPECT_GE(view.rcPopup.Height(), 3 * 22 + 11);
            // Drawn pressed (the sunken edge) while the menu shows, flat again after.
            EXPECT_EQ(view.crButtonEdge, GetSysColor(COLOR_BTNSHADOW));
            EXPECT_EQ(ButtonEdge(d.m_button), GetSysColor(COLOR_BTNFACE));
            const auto commands = target.TakeCommands();
            if (c.nCommand)
                EXPECT_EQ(commands, (std::vector<std::pair<WPARAM, LPARAM>>{{c.nCommand, 0}}));
            else
                EXPECT_TRUE(commands.empty());
        }
    });
}

TEST(ImageButtonDropMenu, AttachingReplacesOrDetachesTheMenuAndFailuresLeaveNone)
{
    const CLinkScript link("drop_link");
    HMENU hLast = nullptr;
    RunDropDialog([&](CDropDialog& d) {
        CTarget target;
        COwnerMenu& menu = d.m_button.m_dropMenu;
        ASSERT_EQ(d.m_button.AttachDropMenu(IDR_DROP_MENU, target.m_hWnd, 0), 0);
        const HMENU hFirst = menu.m_hMenu, hFirstPopup = GetSubMenu(hFirst, 0);
        ASSERT_EQ(d.m_button.AttachDropMenu(IDR_DROP_MENU, target.m_hWnd, 0), 0);
        EXPECT_FALSE(IsMenu(hFirst));
        EXPECT_FALSE(COwnerMenu::IsOwnerDrawnMenu(hFirstPopup));

        EXPECT_EQ(d.m_button.AttachDropMenu(999, target.m_hWnd, 0), 1);
        EXPECT_EQ(menu.m_hMenu, nullptr);
        EXPECT_EQ(d.m_button.AttachDropMenu(IDR_DROP_MENU, target.m_hWnd, 0, 999), 1);
        EXPECT_EQ(menu.m_hMenu, nullptr);

        // Detached, the button opens its link again.
        d.m_button.SetLinkTarget(link.Path());
        ASSERT_EQ(d.m_button.AttachDropMenu(IDR_DROP_MENU, target.m_hWnd, 0), 0);
        ASSERT_EQ(d.m_button.AttachDropMenu(0, nullptr, 0), 0);
        EXPECT_EQ(menu.m_hMenu, nullptr);
        EXPECT_FALSE(ClickAndType(d.m_button, {{WM_KEYDOWN, VK_ESCAPE}}).bOpened);
        EXPECT_TRUE(link.WaitOpened(d));
        EXPECT_TRUE(target.TakeCommands().empty());

        ASSERT_EQ(d.m_button.AttachDropMenu(IDR_DROP_MENU, target.m_hWnd, 0), 0);
        hLast = menu.m_hMenu;
    });
    // The menu goes with the button.
    EXPECT_FALSE(IsMenu(hLast));
}

}
