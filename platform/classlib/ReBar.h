// CReBar: the frame's rebar control as a bar. It is a child of the frame (id AFX_IDW_REBAR) that holds child windows
// in bands, takes the top strip of the frame's client area when the frame lays out, and keeps each band's child at
// the size the child asks for:
//
//   CReBar rebar;
//   rebar.Create(&frame);                                  // child 0xE804, laid out on top of the frame
//   rebar.AddBar(&toolBar, nullptr, nullptr, RBBS_BREAK | RBBS_GRIPPERALWAYS);
//   frame.RecalcLayout();
//
// Children are asked for their size the way a frame asks its bars: with a WM_SIZEPARENT of their own (FrameLayout.h)
// over a room; a child that takes a strip from the top of the room has that strip's size, a child that does not
// answer keeps the size the band gives it.
// Layout: on WM_SIZEPARENT the rebar first keeps each band as tall as its child asks for an unbounded row (a bar
// filled after it was added grows its band), then takes the whole width at the top of what is still free, as tall as
// its bands are; when the bands' height changes (RBN_HEIGHTCHANGE) the parent frame lays out again.
// A band's child is resized (RBN_CHILDSIZE): the child lays itself out for the rectangle the rebar offers and gets
// the strip it took.
// Both notifications reach the rebar reflected from its parent, so the parent must be a window of this library.
#pragma once

#include "classlib/Wnd.h"

#include <commctrl.h>

// The frame's child id of its rebar.
#define AFX_IDW_REBAR 0xE804

class CReBar : public CWnd
{
    DECLARE_DYNAMIC(CReBar)

public:
    CReBar() = default;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // A rebar control of the parent (dwCtrlStyle: RBS_ styles). The control neither moves itself to the parent's top
    // nor draws a divider: the frame layout places it, before the bars made earlier (it goes first in the Z order).
    BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, UINT nID = AFX_IDW_REBAR);
    // Appends a band around pBar (made a child of the rebar by the control) with the text and bitmap when given and
    // the band style; the band is as tall as the window and starts as wide. FALSE when the control refuses it.
    BOOL AddBar(CWnd* pBar, LPCSTR pszText = nullptr, CBitmap* pbmp = nullptr,
                DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);

    int GetBandCount() const { return static_cast<int>(SendMessage(RB_GETBANDCOUNT)); }
    BOOL GetBandInfo(UINT uBand, REBARBANDINFOA* prbbi) const
    {
        return static_cast<BOOL>(SendMessage(RB_GETBANDINFOA, uBand, reinterpret_cast<LPARAM>(prbbi)));
    }
    BOOL SetBandInfo(UINT uBand, REBARBANDINFOA* prbbi)
    {
        return static_cast<BOOL>(SendMessage(RB_SETBANDINFOA, uBand, reinterpret_cast<LPARAM>(prbbi)));
    }
    BOOL DeleteBand(UINT uBand) { return static_cast<BOOL>(SendMessage(RB_DELETEBAND, uBand)); }
    // The height of the bands (the client area the rebar needs).
    UINT GetBarHeight() const { return static_cast<UINT>(SendMessage(RB_GETBARHEIGHT)); }

    // A cleared band record of this build's size (on 32-bit Windows 80 bytes, on 64-bit more) with the mask.
    static REBARBANDINFOA MakeBandInfo(UINT fMask);

    // The size hWndChild takes from the top of rcRoom (see the header comment): FALSE when it takes nothing. With
    // bCommit the child lays itself out and moves into its strip.
    static BOOL QueryChildSize(HWND hWndChild, const RECT& rcRoom, BOOL bCommit, SIZE* pSize);

protected:
    // The room a child is measured in when its row may be as long as it wants.
    static constexpr LONG kUnboundedLength = 32000;

    // Keeps each band as tall as its child and its ideal width the child's whole row.
    void UpdateBandSizes();

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnChildSize(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};
