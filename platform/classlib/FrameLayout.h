// How a frame shares its client area between its bars and its pane. CWnd::RepositionBars sends WM_SIZEPARENT to
// every child with an AFX_SIZEPARENTPARAMS: each child that lives on a side of the frame takes its strip off
// `rect` (and adds its size to `sizeTotal`) and moves itself with AfxRepositionWindow; the pane then gets what is
// left. All moves go into one deferred positioning (hDWP), so the frame repaints once, not once per bar:
//
//   afx_msg LRESULT CMyBar::OnSizeParent(WPARAM, LPARAM lParam)
//   {
//       auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
//       CRect strip(pLayout->rect);
//       strip.bottom = strip.top + m_height;
//       pLayout->rect.top = strip.bottom;
//       pLayout->sizeTotal.cy += m_height;
//       AfxRepositionWindow(pLayout, m_hWnd, &strip);
//       return 0;
//   }
//
// A query (reposQuery) sends the same requests without moving anything: hDWP is null then.
#pragma once

#include "classlib/FrameMessages.h"

struct AFX_SIZEPARENTPARAMS
{
    HDWP hDWP;       // the deferred positioning, null for a query
    RECT rect;       // what is still free, in the parent's client coordinates
    SIZE sizeTotal;  // what the bars took so far
    BOOL bStretch;   // bars may stretch over the whole side
};

// CWnd::RepositionBars's nFlag.
enum
{
    reposDefault = 0,  // lay out for real
    reposQuery = 1,    // only compute: lpRectParam receives the pane's rectangle
    reposExtra = 2,    // lpRectParam holds borders to keep free around the pane, on top of the bars
};

// Adds the move of hWnd to lpRect (parent client coordinates) to the layout's deferred positioning; nothing for a
// query or when the window is already there.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);
