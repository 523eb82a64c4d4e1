// A text static that is a web link: a hand cursor over it, its text underlined while the mouse is over it, and a
// click opens its address (through OpenLink). The main page gives it the maker's address:
//
//   m_webLink.SubclassDlgItem(IDC_WEB_LINK, this);   // or DDX_Control
//   m_webLink.SetUrl(address);
//
// Only text statics (SS_LEFT, SS_CENTER, SS_RIGHT) are coloured; with any other style the static draws itself and
// its parent colours it.
#pragma once

#include "classlib/ClassLib.h"
#include "wizard/controls/StaticWindow.h"

class CHyperlinkStatic : public CStatic
{
    DECLARE_DYNAMIC(CHyperlinkStatic)

public:
    // Id of the timer that notices the mouse has gone.
    static constexpr UINT_PTR kLeaveTimerId = 0x84;

    CHyperlinkStatic() = default;

    void SetUrl(LPCSTR lpszUrl) { m_url = lpszUrl; }
    const CString& GetUrl() const { return m_url; }
    COLORREF GetLinkColor() const { return m_linkColor; }
    COLORREF GetHoverColor() const { return m_hoverColor; }
    // The cursor lies in the client rectangle.
    BOOL IsCursorInside() const { return ::IsCursorInside(m_hWnd); }

    // ---- Override these ----------------------------------------------------------------------------------------
    // Opens the address when there is one; called when the left button goes down on the link.
    virtual void OpenUrl();
    // Called when the left button comes up on the link; nothing by default.
    virtual void OnClickReleased();

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()

private:
    void PaintText(HDC hDC);
    void OnMouseOver(UINT message);
    void OnLeaveTimer();

    CString m_url;
    CFont m_underlineFont;
    COLORREF m_hoverColor = RGB(0, 0, 255);
    COLORREF m_linkColor = RGB(0, 0, 255);
    bool m_hovering = false;
};
