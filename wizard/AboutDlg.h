// "About Osmira": the version and the maker's web and mail links; opened from the page's system menu.
#pragma once

#include "classlib/ClassLib.h"
#include "wizard/controls/HyperlinkStatic.h"

class CAboutDlg : public CDialog
{
public:
    explicit CAboutDlg(CWnd* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()

private:
    CHyperlinkStatic m_mailLink;
    CHyperlinkStatic m_webLink;
};
