// COSMScrollBarCtrl: a window of the platform's scroll-bar class that the scroll engine (COSMScrollBase) drives and
// a COSMScrollBarPaintManager draws in the look of the process-wide paint manager's theme. It keeps the platform
// control's range, page and position (SetScrollInfo and GetScrollInfo work as on any scroll bar) and tells its
// parent what the user does with WM_VSCROLL or WM_HSCROLL, as the platform's bar does; while the thumb is dragged,
// SBM_GETSCROLLINFO with SIF_TRACKPOS gives the dragged position.
//
//   COSMScrollBarCtrl bar;
//   bar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(0, 0, 17, 200), parent, 100);
//   SCROLLINFO info = {sizeof(info), SIF_ALL, 0, 999, 100, 0};
//   bar.SetScrollInfo(&info);
#pragma once

#include "classlib/Controls.h"
#include "framework/controls/ScrollBase.h"

#include <memory>

class COSMScrollBarCtrl : public CScrollBar, public COSMScrollBase
{
    DECLARE_DYNAMIC(COSMScrollBarCtrl)

public:
    COSMScrollBarCtrl();
    ~COSMScrollBarCtrl() override;

    // dwStyle takes the platform's SBS_ styles; SBS_VERT makes a vertical bar.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // ---- The engine's questions --------------------------------------------------------------------------------
    BOOL IsScrollBarEnabled() override;
    // The parent window, which hears the scroll codes and gives the page areas' brush.
    CWnd* GetParentWindow() override;
    // From the platform control.
    void GetScrollInfo(SCROLLINFO* info) override;
    // The client rectangle.
    void GetScrollBarRect(RECT* rect) override;
    // WM_VSCROLL or WM_HSCROLL to the parent, as the platform's bar sends them.
    void DoScroll(int command, int pos) override;
    void RedrawScrollBar() override;
    // The bar's own painter over the process-wide paint manager, made again when that manager is replaced.
    COSMScrollBarPaintManager* GetScrollBarPaintManager() override;

protected:
    // Lets the platform paint first (what the painter does not cover stays the platform's), then draws the bar.
    void DrawScrollBarCtrl(CDC* dc);

    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnSetScrollInfo(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetScrollInfo(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The geometry again from the window's style and the platform control, unless the thumb is being dragged.
    void UpdateGeometry();

    std::unique_ptr<COSMScrollBarPaintManager> m_painter;
};
