// A text static that paints its text in a font and colour of its own on the dialog's face colour, can size itself to
// its text, and carries a tooltip that shows the text. The main page makes its two headings of it:
//
//   m_heading.SubclassDlgItem(IDC_HEADING1, this);   // or DDX_Control
//   m_heading.SetTextLogFont(&logFont);
//   m_heading.SetTextColor(RGB(0, 0, 0), TRUE);
//   m_heading.ActivateToolTip(FALSE);
//   m_heading.SetSizeToText(TRUE);
//
// Sizing to the text keeps the side the alignment names: the left edge for SS_LEFT, the right edge for SS_RIGHT, the
// centre for SS_CENTER, and the vertical centre with SS_CENTERIMAGE (else the top); the text is cut to the parent's
// client size. Switching it off puts back the rectangle the control had while it was off.
// Icon and bitmap statics keep their own drawing and their parent's colours.
#pragma once

#include "classlib/ClassLib.h"

class CHeadingStatic : public CStatic
{
    DECLARE_DYNAMIC(CHeadingStatic)

public:
    static constexpr UINT_PTR kToolId = 1;

    CHeadingStatic() = default;

    void SetTextColor(COLORREF color, BOOL bRedraw = FALSE);
    COLORREF GetTextColor() const { return m_textColor; }
    // A copy of the font described by pLogFont becomes the heading's font (NULL: none, the window's font shows).
    // FALSE when the font cannot be made.
    BOOL SetTextLogFont(const LOGFONTA* pLogFont);
    CFont* GetTextFont() { return m_font.GetSafeHandle() ? &m_font : nullptr; }
    void SetSizeToText(BOOL bSizeToText);
    BOOL GetSizeToText() const { return m_sizeToText; }
    void ActivateToolTip(BOOL bActivate);
    BOOL IsToolTipActive() const { return m_toolTipActive; }
    const CString& GetToolTipText() const { return m_toolTipText; }
    // The tooltip window; none before the heading has a window.
    CToolTipCtrl& GetToolTip() { return m_toolTip; }

    // SS_LEFT, SS_CENTER, SS_RIGHT, SS_SIMPLE or SS_LEFTNOWORDWRAP.
    // Resizes to the text now (or back to the remembered rectangle when sizing to the text is off).
    void SizeToText();
    // Where a static of this style at `current` (parent coordinates) goes when it fits a text of size `text`, the
    // text cut to the parent's client size first.
    static CRect FitRectToText(const CRect& current, CSize text, CSize parentClient, DWORD style);

    // ---- Override these ----------------------------------------------------------------------------------------
    virtual BOOL InitializeFont();
    virtual BOOL InitializeToolTip();
    virtual void UpdateToolTipText();
    // The reflected WM_CTLCOLORSTATIC: own font and colour on the face colour. NULL for icon and bitmap statics.
    virtual HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    CRect WindowRectInParent() const;
    void SetToolRect(int width, int height);
    void PaintText(HDC hDC);

    COLORREF m_textColor = RGB(255, 255, 255);
    CFont m_font;
    BOOL m_toolTipActive = FALSE;
    CString m_toolTipText;
    CToolTipCtrl m_toolTip;
    BOOL m_sizeToText = FALSE;
    CRect m_rememberedRect;
    BOOL m_fontInitialized = FALSE;
};
