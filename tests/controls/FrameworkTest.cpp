#include "AfxWin.h"
#include "TestDialog.h"
#include "TestResource.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

CWinApp theApp;

TEST(CStringTest, FormatsAndTrims)
{
    CString s;
    s.Format("%s\\%d", "D:\\TAVI", 42);
    EXPECT_EQ(s, "D:\\TAVI\\42");

    CString padded(" \t 1.0.2 \r\n");
    EXPECT_EQ(padded.Trim(), "1.0.2");
    EXPECT_EQ(CString("   ").Trim().GetLength(), 0);
    EXPECT_TRUE(CString("").IsEmpty());
}

TEST(CStringTest, StepsOverDoubleByteCharacters)
{
    // 0x81 0x5C is one GBK character whose trail byte is a backslash.
    CString s("D:\\\x81\x5C" "ab");
    EXPECT_EQ(s.ReverseFind('\\'), 2);
    EXPECT_EQ(s.Find('\\', 3), -1);
    EXPECT_EQ(s.Replace('\\', '/'), 1);
    EXPECT_EQ(s, "D:/\x81\x5C" "ab");

    // Trail bytes in the range of lowercase letters stay as they are.
    CString gbk("\x81" "a" "b");
    gbk.MakeUpper();
    EXPECT_EQ(gbk, "\x81" "a" "B");
    EXPECT_EQ(CString("plinth.DLL").CompareNoCase("PLINTH.dll"), 0);
    EXPECT_NE(CString("a").CompareNoCase("b"), 0);
}

TEST(CStringTest, SlicesConcatenatesAndLoads)
{
    CString s("升级工具");
    EXPECT_EQ(s.GetLength(), 8);
    EXPECT_EQ(s.Left(4), "升级");
    EXPECT_EQ(s.Mid(4), "工具");
    EXPECT_EQ(s.Mid(2, 2), "级");
    EXPECT_EQ(s.Mid(20), "");
    EXPECT_EQ("TAVI" + s + "!", "TAVI升级工具!");
    EXPECT_EQ(s.Find("工具"), 4);

    CString text;
    EXPECT_TRUE(text.LoadString(IDS_GREETING));
    EXPECT_EQ(text, "你好，世界");
    EXPECT_FALSE(text.LoadString(IDS_EMPTY_UNUSED));

    CString buffer;
    strcpy(buffer.GetBuffer(10), "abc");
    buffer.ReleaseBuffer();
    EXPECT_EQ(buffer.GetLength(), 3);
}

// A button that records what reaches it and in which order.
class CProbeButton : public CButton {
public:
    std::vector<CString>* m_pLog = nullptr;
    bool m_bStopClick = false;
    int m_nMessagesBeforeSubclass = -1;
    int m_nMessages = 0;
    int m_nPreTranslated = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_APP + 7)
            ++m_nPreTranslated;
        return CButton::PreTranslateMessage(pMsg);
    }

protected:
    void PreSubclassWindow() override { m_nMessagesBeforeSubclass = m_nMessages; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        ++m_nMessages;
        return CButton::WindowProc(message, wParam, lParam);
    }
    BOOL OnReflectedClick()
    {
        m_pLog->push_back("button");
        return m_bStopClick;
    }
    HBRUSH CtlColor(CDC*, UINT nCtlColor)
    {
        return nCtlColor == CTLCOLOR_BTN ? static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)) : nullptr;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnReflectedClick)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CProbeDialog : public CTestDialog {
public:
    using CTestDialog::CTestDialog;
    CProbeButton m_button;
    std::vector<CString> m_log;
    bool m_bCancelled = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CTestDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_BUTTON1, m_button);
    }
    BOOL OnInitDialog() override
    {
        m_button.m_pLog = &m_log;
        return CTestDialog::OnInitDialog();
    }
    void OnCancel() override { m_bCancelled = true; }
    void OnButtonClicked() { m_log.push_back("dialog"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeDialog, CTestDialog)
    ON_BN_CLICKED(IDC_BUTTON1, OnButtonClicked)
END_MESSAGE_MAP()

TEST(WindowTest, DataExchangeBindsControlBeforeItsFirstMessage)
{
    CProbeDialog dlg(IDD_TEST, [](CTestDialog& d) {
        CProbeDialog& p = static_cast<CProbeDialog&>(d);
        EXPECT_EQ(p.m_button.m_nMessagesBeforeSubclass, 0);
        EXPECT_GT(p.m_button.m_nMessages, 0);
        EXPECT_EQ(p.GetDlgItem(IDC_BUTTON1), &p.m_button);
        EXPECT_EQ(CWnd::FromHandle(p.m_hWnd), &p);

        // A window without an object gets a wrapper of its own.
        CWnd* pEdit = p.GetDlgItem(IDC_EDIT);
        ASSERT_NE(pEdit, nullptr);
        EXPECT_EQ(CWnd::FromHandlePermanent(pEdit->m_hWnd), nullptr);
        EXPECT_EQ(pEdit->GetParent(), &p);
        pEdit->SetWindowText("升级");
        CString text;
        pEdit->GetWindowText(text);
        EXPECT_EQ(text, "升级");
    });
    EXPECT_EQ(dlg.Run(), IDOK);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_button.m_hWnd, nullptr);
}

TEST(WindowTest, ClickReachesButtonThenDialogUnlessTheButtonKeepsIt)
{
    CProbeDialog dlg(IDD_TEST, [](CTestDialog& d) {
        CProbeDialog& p = static_cast<CProbeDialog&>(d);
        p.m_button.SendMessage(BM_CLICK);
        ASSERT_EQ(p.m_log.size(), 2u);
        EXPECT_EQ(p.m_log[0], "button");
        EXPECT_EQ(p.m_log[1], "dialog");

        p.m_log.clear();
        p.m_button.m_bStopClick = true;
        p.m_button.SendMessage(BM_CLICK);
        ASSERT_EQ(p.m_log.size(), 1u);
        EXPECT_EQ(p.m_log[0], "button");
    });
    dlg.Run();
}

TEST(WindowTest, ColourRequestIsReflectedToTheControl)
{
    CProbeDialog dlg(IDD_TEST, [](CTestDialog& d) {
        CProbeDialog& p = static_cast<CProbeDialog&>(d);
        HDC hDC = GetDC(p.m_button.m_hWnd);
        const LRESULT brush = p.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hDC),
                                            reinterpret_cast<LPARAM>(p.m_button.m_hWnd));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetStockObject(GRAY_BRUSH));
        // A control without a reflected handler gets the dialog's default.
        HWND hLabel = GetDlgItem(p.m_hWnd, IDC_LABEL);
        const LRESULT other = p.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                            reinterpret_cast<LPARAM>(hLabel));
        EXPECT_NE(reinterpret_cast<HBRUSH>(other), GetStockObject(GRAY_BRUSH));
        ReleaseDC(p.m_button.m_hWnd, hDC);
    });
    dlg.Run();
}

TEST(DialogTest, ModalLoopPreTranslatesPostedMessagesAndRoutesCancel)
{
    CProbeDialog dlg(IDD_TEST, [](CTestDialog& d) {
        CProbeDialog& p = static_cast<CProbeDialog&>(d);
        p.m_button.PostMessage(WM_APP + 7);
        p.SendMessage(WM_COMMAND, IDCANCEL);
        EXPECT_TRUE(p.m_bCancelled);
    });
    dlg.Run();
    EXPECT_EQ(dlg.m_button.m_nPreTranslated, 1);
}

TEST(DialogTest, EndDialogAnswersTheResultAndReenablesTheOwner)
{
    CTestDialog owner(IDD_TEST, [](CTestDialog& o) {
        CTestDialog inner(IDD_BACKGROUND, [&o](CTestDialog& d) {
            EXPECT_FALSE(IsWindowEnabled(o.m_hWnd));
            EXPECT_EQ(GetWindow(d.m_hWnd, GW_OWNER), o.m_hWnd);
        });
        theApp.m_pMainWnd = &o;
        EXPECT_EQ(inner.Run(), IDOK);
        theApp.m_pMainWnd = nullptr;
        EXPECT_TRUE(IsWindowEnabled(o.m_hWnd));
    });
    EXPECT_EQ(owner.Run(), IDOK);
}

TEST(AppTest, NamesTheApplicationAfterTheExecutable)
{
    EXPECT_STREQ(theApp.m_pszExeName, "framework_test");
    EXPECT_STREQ(theApp.m_pszAppName, "framework_test");
    EXPECT_EQ(AfxGetApp(), &theApp);
}

TEST(DcTest, PuttingBackWhatAFailedSelectionAnsweredDoesNothing)
{
    // What a selection hands back when GDI could not make the object.
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(4, 4, 1, 1, nullptr));
    CBitmap* pOriginal = dc.SelectObject(&bitmap);
    ASSERT_NE(pOriginal, nullptr);

    EXPECT_EQ(dc.SelectObject(static_cast<CBitmap*>(nullptr)), nullptr);
    EXPECT_EQ(dc.SelectObject(static_cast<CBrush*>(nullptr)), nullptr);
    EXPECT_EQ(dc.SelectObject(static_cast<CPen*>(nullptr)), nullptr);
    EXPECT_EQ(GetCurrentObject(dc.GetSafeHdc(), OBJ_BITMAP), bitmap.m_hObject);
    dc.SelectObject(pOriginal);
}

}  // namespace
