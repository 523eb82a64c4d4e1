#include "wizard/SelectOsDlg.h"

#include "resource.h"
#include "wizard/WizardDlg.h"

BEGIN_MESSAGE_MAP(CSelectOsDlg, CDialog)
    ON_BN_CLICKED(IDC_RADIO_XP, OnRadioXp)
    ON_BN_CLICKED(IDC_RADIO_WIN7, OnRadioWin7)
    ON_BN_CLICKED(IDC_NEXT, OnNext)
END_MESSAGE_MAP()

CSelectOsDlg::CSelectOsDlg(CWnd* parent) : CDialog(IDD_SELECT_OS, parent) {}

BOOL CSelectOsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HICON small = static_cast<HICON>(
        LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_SMALL), IMAGE_ICON, 16, 16, LR_SHARED));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    HICON big = static_cast<HICON>(
        LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 32, 32, LR_SHARED));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    OnRadioXp();
    return TRUE;
}

// Plain radio buttons: the dialog keeps exactly one of the two checked.
void CSelectOsDlg::OnRadioXp()
{
    SendDlgItemMessage(IDC_RADIO_XP, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessage(IDC_RADIO_WIN7, BM_SETCHECK, BST_UNCHECKED, 0);
}

void CSelectOsDlg::OnRadioWin7()
{
    SendDlgItemMessage(IDC_RADIO_XP, BM_SETCHECK, BST_UNCHECKED, 0);
    SendDlgItemMessage(IDC_RADIO_WIN7, BM_SETCHECK, BST_CHECKED, 0);
}

void CSelectOsDlg::OnNext()
{
    ShowWindow(SW_HIDE);
    {
        CWizardDlg page;
        page.SetMode(SendDlgItemMessage(IDC_RADIO_XP, BM_GETCHECK, 0, 0) == BST_CHECKED ? WizardMode::WindowsXp
                                                                                        : WizardMode::Windows7);
        page.DoModal();
    }
    EndDialog(IDOK);
}
