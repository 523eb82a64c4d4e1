#include "wizard/AboutDlg.h"

#include "resource.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}

void CAboutDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_MAIL_LINK, m_mailLink);
    DDX_Control(dx, IDC_WEB_LINK_ABOUT, m_webLink);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString web, mail;
    web.LoadString(IDS_WEB_ADDRESS);
    mail.LoadString(IDS_MAIL_ADDRESS);
    m_webLink.SetWindowText(web);
    m_webLink.SetUrl(web);
    m_mailLink.SetWindowText(mail);
    m_mailLink.SetUrl(CString("mailto:") + mail);
    return TRUE;
}
