// CControlBar is the base of the bars a frame lays out along its sides (status bar, toolbars, message bar): a child
// window that takes its strip of the frame's client area when the frame asks (WM_SIZEPARENT), and at idle time
// (WM_IDLEUPDATECMDUI) applies a delayed show or hide and updates its commands:
//
//   class CMyBar : public CControlBar
//   {
//       CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
//       { CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz); size.cy += m_rowHeight; return size; }
//       void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;  // ask pTarget about the items
//   };
//   bar.CreateEx(0, "MyBar", nullptr, WS_CHILD | WS_VISIBLE, rect, pFrame, id); bar.SetBarStyle(CBRS_BOTTOM);
//
// The style's CBRS_ALIGN_ bits say which side the bar takes (none: the frame's layout leaves it alone); its
// CBRS_BORDER_ bits draw a 2-pixel etched edge on those sides, outside the client area. The border widths
// (m_cxLeftBorder ...) are margins inside the client area that CalcInsideRect takes off.
//
// DelayShow(TRUE/FALSE) shows or hides the bar at the next idle time, so that code changing many bars lays the frame
// out once; IsVisible already answers what the bar will be.
#pragma once

#include "classlib/FrameLayout.h"
#include "classlib/Wnd.h"

class CFrameWnd;

class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)

public:
    // Bits of m_nStateFlags.
    enum
    {
        delayHide = 1,
        delayShow = 2,
    };
    // The width of an etched CBRS_BORDER_ edge.
    static const int kEdgeWidth = 2;

    CControlBar() = default;

    // ---- Override these ----------------------------------------------------------------------------------------
    // The bar's size docked horizontally (bHorz) or vertically; with bStretch it spans the whole side (32767 along
    // it). The base answers its edges and border widths: bars add their content.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // At idle time: updates the bar's items by asking pTarget (the owner frame) through CCmdUI. The base has none.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler);
    // rect, a client rectangle, less the border widths.
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    DWORD GetBarStyle() const { return m_dwStyle; }
    // Changing the edge bits changes the non-client area: the frame is redrawn.
    void SetBarStyle(DWORD dwStyle);
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }
    BOOL IsHorizontal() const { return (m_dwStyle & CBRS_ORIENT_VERT) == 0; }
    // Shows or hides the bar at the next idle update.
    void DelayShow(BOOL bShow);
    // Visible now and not about to hide, or about to show.
    BOOL IsVisible() const;
    // The frame that lays the bar out and answers its commands: the parent frame, else the owner when it is one.
    CFrameWnd* GetDockingFrame() const;
    // The edges the style draws, as a rectangle of widths.
    CRect GetEdgeWidths() const;

    int m_cxLeftBorder = 0;
    int m_cxRightBorder = 0;
    int m_cyTopBorder = 0;
    int m_cyBottomBorder = 0;
    DWORD m_dwStyle = 0;
    UINT m_nStateFlags = 0;

protected:
    // ---- For the library's own use -----------------------------------------------------------------------------
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcCalcSizeMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcPaintMessage(WPARAM wParam, LPARAM lParam);
    // Applies a pending delayed show or hide; TRUE when the bar's visibility changed.
    BOOL ApplyDelayedShow();

    DECLARE_MESSAGE_MAP()
};
