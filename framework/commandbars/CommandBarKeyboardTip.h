// COSMCommandBarKeyboardTip: the small window that shows the letters to type for one control or bar while the
// manager shows keyboard tips. The manager makes the tips through the bar's CreateKeyboardTips, gives them their
// texts, places and shows them, and destroys them when the tips go:
//
//   auto* tip = new COSMCommandBarKeyboardTip(commandBars, control, control->GetCaption(), x, y, 0, enabled);
//   tip->SetExplicitTip("V");                 // else the letters come from the caption
//   commandBars->AddKeyboardTip(tip);         // the manager owns it from now on
//
// The window lets the mouse through (HTTRANSPARENT) and paints through the manager's paint manager.
#pragma once

#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "classlib/Wnd.h"

class COSMCommandBars;
class COSMPaintManager;

class COSMCommandBarKeyboardTip : public CWnd
{
public:
    // owner: the control or the bar the tip stands for; (x, y): the anchor, bar-client coordinates for a control and
    // screen coordinates for a bar; alignment: the kKeyboardTip... bits of KeyboardTipLayout.h.
    COSMCommandBarKeyboardTip(COSMCommandBars* commandBars, CCmdTarget* owner, const CString& caption, int x, int y,
                              DWORD alignment, BOOL enabled);
    ~COSMCommandBarKeyboardTip() override;

    // Creates the hidden tool window owned by the bar at the screen rectangle, topmost; a layered one (for a
    // disabled tip) gets a constant alpha of 150. FALSE when the window cannot be made.
    BOOL CreateTipWindow(CWnd* bar, const CRect& rect, BOOL layered);

    // The letters shown.
    const CString& GetText() const { return m_text; }
    void SetText(const CString& text) { m_text = text; }
    const CString& GetCaption() const { return m_caption; }
    // A tip the control or its action gives; it wins over the caption's letters.
    const CString& GetExplicitTip() const { return m_explicitTip; }
    void SetExplicitTip(const CString& tip) { m_explicitTip = tip; }
    CCmdTarget* GetOwner() const { return m_owner; }
    CPoint GetAnchor() const { return m_anchor; }
    DWORD GetAlignment() const { return m_alignment; }
    BOOL IsEnabled() const { return m_enabled; }
    void SetEnabled(BOOL enabled) { m_enabled = enabled; }
    // Only visible tips are placed and shown.
    BOOL IsTipVisible() const { return m_visible; }
    void SetTipVisible(BOOL visible) { m_visible = visible; }
    COSMCommandBars* GetCommandBars() const { return m_commandBars; }

    // The alpha a disabled tip's layered window gets.
    static constexpr BYTE kDisabledAlpha = 150;

protected:
    // The manager's paint manager, else the process's.
    COSMPaintManager* GetPaintManager() const;

    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    CString m_text;
    CString m_caption;
    CString m_explicitTip;
    CCmdTarget* m_owner;
    CPoint m_anchor;
    BOOL m_enabled;
    BOOL m_visible = TRUE;
    COSMCommandBars* m_commandBars;
    DWORD m_alignment;
};
