#pragma once
#include "CDataExchange.h"
#include "CWnd.h"

// A dialog from a template resource. DoModal creates it modeless, disables
// its owner and runs a message loop of its own, so that PreTranslateMessage
// of the window under each message (and of each of its parents up to the
// dialog) runs before the dialog manager sees it.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    // Binds the controls through DoDataExchange; TRUE lets the dialog manager set the focus.
    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // IDOK and IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    HWND FindOwner() const;
    void RunModalLoop();
    LRESULT OnInitDialogMessage(WPARAM, LPARAM);
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK CreationHook(int nCode, WPARAM wParam, LPARAM lParam);

    bool m_bEnded = false;
    int m_nModalResult = -1;

    DECLARE_MESSAGE_MAP()
};
