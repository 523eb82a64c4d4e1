// COSMControlCmdUI: the command-UI object a bar's idle update builds for one of its controls. Update handlers see
// it as any CCmdUI (ON_UPDATE_COMMAND_UI) and change the control through it:
//
//   void CMainFrame::OnUpdateBold(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bold); }   // the Bold button shows pressed
//
// Enable reaches the control's action when it has one (every control bound to it follows), else the control; a
// control without an action that goes grey is unchecked too. SetCheck stores the control's own check state and
// SetText its caption. Changes redraw what they change.
#pragma once

#include "classlib/CmdUI.h"

class COSMControl;

class COSMControlCmdUI : public CCmdUI
{
public:
    // Bound to the control at its index in its bar.
    explicit COSMControlCmdUI(COSMControl* control);

    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    void SetText(LPCSTR lpszText) override;

    COSMControl* GetControl() const { return m_control; }
    BOOL IsCheckChanged() const { return m_checkChanged; }

private:
    COSMControl* m_control;
    BOOL m_checkChanged = FALSE;
};
