// COSMHostedEditCtrl is the edit window a control of a command bar places inside the bar's window (the edit box's
// and the editable combo box's): every message it gets also reaches the bar's tooltips, mouse moves and customize
// presses go on to the bar, Enter runs the control, and focus, destruction and typed changes are told to the owner
// through COSMHostedEditOwner. The owner is the part both controls share: their text and hint, the auto-complete
// object, and the steps of placing, showing and enabling the window. A control hosts one by deriving from the owner
// and handing itself over:
//
//   class COSMControlEdit : public COSMControl, public COSMHostedEditOwner { ... };
//   COSMControlEdit::COSMControlEdit() : COSMHostedEditOwner(this) {}
//   window->SetOwner(this);              // the control is both the COSMControl and the owner
//   window->UpdateCharFormat();          // the owner's GetCharFormat, applied to a rich-edit window
//
// A derived window keeps only what is its own (the combo closes its list on a right press, see OnContextPress).
#pragma once

#include "framework/controls/CommandBarEditCtrl.h"

#include <richedit.h>

class COSMControl;
class COSMImageManagerIcon;
class COSMHostedEditCtrl;

// What a hosted edit window tells its control, and what the control keeps of the window's text: the edit box and
// the editable combo box share it. The control holds its text while the window does not exist, puts its hint into
// an empty, unfocused box, and knows whether the box shows that hint or a text that only looks like it.
class COSMHostedEditOwner
{
public:
    // ---- Override these ----------------------------------------------------------------------------------------
    // The window gained the focus (not while customizing); oldFocus is the window that had it.
    virtual void OnEditSetFocus(HWND oldFocus) = 0;
    virtual void OnEditKillFocus() = 0;
    // A change typed into the focused window.
    virtual void OnEditChanged() = 0;
    // The character format and background of the window's text: grey when disabled or while the hint shows.
    virtual CHARFORMAT2A GetCharFormat();

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The text without the hint: empty only while the control itself shows its hint.
    CString GetEditText();
    // An empty text shows the hint, unless the window has the focus.
    void SetEditText(const CString& text);
    // What the box shows, the hint included.
    CString GetDisplayText();
    BOOL IsHintShown() const { return m_hintShown; }
    // EditHint, else the bound action's hint.
    CString GetEditHint() const;
    void SetEditHint(const CString& hint);
    const CString& GetEditHintField() const { return m_editHint; }
    DWORD GetShellAutoCompleteFlags() const { return m_autoCompleteFlags; }
    // Stores the flags and attaches a new auto-complete object to an existing window when they are not 0.
    void EnableShellAutoComplete(DWORD flags);
    COSMShellAutoComplete* GetShellAutoComplete() const { return m_autoComplete; }
    BOOL HasEditWindow() const;

    // ---- For the hosted window ---------------------------------------------------------------------------------
    // The window is being destroyed (WM_DESTROY): the control keeps its text.
    void OnEditDestroyed();
    // A change the window reported (EN_CHANGE): typed, or made by the control itself.
    void OnEditWindowChanged();

protected:
    explicit COSMHostedEditOwner(COSMControl* control) : m_hostControl(control) {}
    ~COSMHostedEditOwner();
    COSMHostedEditOwner(const COSMHostedEditOwner&) = delete;
    COSMHostedEditOwner& operator=(const COSMHostedEditOwner&) = delete;

    // The control's window object, null before it is made.
    virtual COSMHostedEditCtrl* GetHostedWindow() const = 0;

    BOOL HasFocusInWindow() const;
    // Stores the text the box shows; an existing window whose text differs gets it. Clears the hint-shown flag.
    void SetDisplayText(const CString& text);
    // Shows the hint in the box (and marks it shown).
    void ShowHint(const CString& hint);
    // An empty box shows the hint, if there is one.
    void ShowHintWhenEmpty();
    // The box shows the control's hint no longer (it is emptied).
    void ClearShownHint();
    // The parent bar remembers where the focus came from (the window that had it, else the bar's site), unless it
    // remembers a window already.
    void RememberFocusBack(HWND oldFocus);
    // The focus leaves the window for the one the bar remembered, which is forgotten.
    void GiveFocusBack();
    // Before a property of the bound action changes: a shown hint of the action leaves the box.
    void BeforeActionChange(int property);
    // After it changed: the window follows the action's visibility and enabled state, an empty, unfocused box its hint.
    void FollowActionChange(int property);
    // The window follows the control's enabled state, and its text colour with it.
    void UpdateWindowEnabled();
    // Shows or hides the window by the control's visibility.
    void UpdateWindowVisibility();
    // The room the edit icon of the id (above 0, 16 pixels) takes before the text: its width and a gap; 0 when the
    // control's image manager has no such icon.
    int EditIconRoom(int iconId) const;
    // Draws that icon at the rectangle's left edge, centred vertically and grey when disabled; returns its room.
    int DrawEditIconAt(CDC* dc, const CRect& rect, int iconId) const;
    // The window made afresh for the control's parent bar (style, enabled state, auto-complete); FALSE when it could
    // not be made.
    BOOL CreateWindowInParent(DWORD style);
    // Drops a window that is mirrored or belongs to another bar than the parent: the next placement makes it anew.
    void DropStrayWindow();
    // The control's font, margins, text format and text (kept while the window has the focus) go to the window.
    void ApplyWindowSettings(const CString& text);

    CString m_editHint;
    CString m_savedText;
    CString m_text;
    BOOL m_textStale = TRUE;
    // The box shows the hint the control itself put there (not a text typed or set that equals it).
    BOOL m_hintShown = FALSE;
    // TRUE while the control itself changes the window's text: that change is not a typed one.
    BOOL m_settingText = FALSE;
    COSMShellAutoComplete* m_autoComplete = nullptr;
    DWORD m_autoCompleteFlags = 0;

private:
    COSMImageManagerIcon* FindEditIcon(int iconId) const;

    COSMControl* m_hostControl;
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
