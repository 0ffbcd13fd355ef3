#pragma once
#include "CDialog.h"
#include "resource.h"

// The About box, opened from the system menu.
class CTAVIAboutDlg : public CDialog {
public:
    enum { IDD = IDD_ABOUTBOX };

    CTAVIAboutDlg() : CDialog(IDD) {}
};
