// The first window: chooses between the Windows XP and the Windows 7 answer file, then runs the main page.
#pragma once

#include "classlib/ClassLib.h"

class CSelectOsDlg : public CDialog
{
public:
    explicit CSelectOsDlg(CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnRadioXp();
    afx_msg void OnRadioWin7();
    afx_msg void OnNext();

    DECLARE_MESSAGE_MAP()
};
