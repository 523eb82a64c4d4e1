// COSMHostedEditCtrl is the edit window a control of a command bar places inside the bar's window (the edit box's
// and the editable combo box's): every message it gets also reaches the bar's tooltips, mouse moves and customize
// presses go on to the bar, Enter runs the control, and focus, destruction and typed changes are told to the owner
// through COSMHostedEditOwner. A control hosts one by deriving from the owner interface and handing itself over:
//
//   class COSMControlEdit : public COSMControl, public COSMHostedEditOwner { ... };
//   window->SetOwner(this);              // the control is both the COSMControl and the owner
//   window->UpdateCharFormat();          // the owner's GetCharFormat, applied to a rich-edit window
//
// A derived window keeps only what is its own (the combo closes its list on a right press, see OnContextPress).
#pragma once

#include "framework/controls/CommandBarEditCtrl.h"

#include <richedit.h>

class COSMControl;

// What a hosted edit window tells its control, and asks of it.
class COSMHostedEditOwner
{
public:
    // The window gained the focus (not while customizing); oldFocus is the window that had it.
    virtual void OnEditSetFocus(HWND oldFocus) = 0;
    virtual void OnEditKillFocus() = 0;
    // The window is being destroyed (WM_DESTROY): the control keeps its text.
    virtual void OnEditDestroyed() = 0;
    // A change the window reported (EN_CHANGE).
    virtual void OnEditWindowChanged() = 0;
    // The character format and background of the window's text.
    virtual CHARFORMAT2A GetCharFormat() = 0;

protected:
    ~COSMHostedEditOwner() = default;
};

class COSMHostedEditCtrl : public COSMCommandBarEditCtrl
{
    DECLARE_DYNAMIC(COSMHostedEditCtrl)

public:
    // One object is both: the control the window lives in and the owner it reports to.
    template <class TControl> void SetOwner(TControl* control)
    {
        m_control = control;
        m_owner = control;
    }
    COSMControl* GetOwnerControl() const { return m_control; }

    // EM_SETCHARFORMAT with the owner's character format, and EM_SETBKGNDCOLOR with its background.
    void UpdateCharFormat();

    // The bar's tooltip context sees each message first.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    COSMHostedEditCtrl() = default;

    // ---- Override these ----------------------------------------------------------------------------------------
    // A right press outside customize mode, before the window takes the focus and shows its context menu.
    virtual void OnContextPress() {}

    afx_msg void OnSetFocus(CWnd* oldWindow);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnKillFocus(CWnd* newWindow);
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnContextMenu(CWnd* window, CPoint point) {}
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg LRESULT OnQueryCommandBarEdit(WPARAM wParam, LPARAM lParam) { return 1; }
    afx_msg void OnEditChange();
    DECLARE_MESSAGE_MAP()

    COSMControl* m_control = nullptr;
    COSMHostedEditOwner* m_owner = nullptr;
};
