#include "classlib/ReBar.h"

#include "classlib/FrameLayout.h"
#include "classlib/FrameWnd.h"
#include "classlib/Gdi.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CReBar, CWnd)

BEGIN_MESSAGE_MAP(CReBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, OnHeightChange)
    ON_NOTIFY_REFLECT(RBN_CHILDSIZE, OnChildSize)
END_MESSAGE_MAP()

REBARBANDINFOA CReBar::MakeBandInfo(UINT fMask)
{
    REBARBANDINFOA band;
    std::memset(&band, 0, sizeof band);
    band.cbSize = sizeof band;
    band.fMask = fMask;
    return band;
}

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);
    const DWORD style = dwStyle | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    if (!CWnd::Create(REBARCLASSNAMEA, nullptr, style, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    // The frame lays its children out in Z order: the top strip belongs to the rebar.
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

BOOL CReBar::AddBar(CWnd* pBar, LPCSTR pszText, CBitmap* pbmp, DWORD dwStyle)
{
    if (!m_hWnd || !pBar || !::IsWindow(pBar->GetSafeHwnd()))
        return FALSE;
    CRect rect;
    pBar->GetWindowRect(&rect);
    REBARBANDINFOA band = MakeBandInfo(RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE);
    band.fStyle = dwStyle;
    band.hwndChild = pBar->GetSafeHwnd();
    // The band may be made narrower than the child: the child then lays itself out for less (RBN_CHILDSIZE).
    band.cxMinChild = 0;
    band.cyMinChild = rect.Height();
    band.cx = rect.Width();
    if (pszText)
    {
        band.fMask |= RBBIM_TEXT;
        band.lpText = const_cast<LPSTR>(pszText);
    }
    if (pbmp && pbmp->GetSafeHandle())
    {
        band.fMask |= RBBIM_BACKGROUND;
        band.hbmBack = static_cast<HBITMAP>(pbmp->GetSafeHandle());
    }
    return static_cast<BOOL>(SendMessage(RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)));
}

LRESULT CReBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!pLayout || !(GetStyle() & WS_VISIBLE))
        return 0;
    if (pLayout->hDWP)
        UpdateBandSizes();
    // The control's client area holds the bands; its borders come on top.
    CRect window;
    CRect client;
    GetWindowRect(&window);
    GetClientRect(&client);
    const int wanted = static_cast<int>(GetBarHeight()) + window.Height() - client.Height();
    CRect strip(pLayout->rect);
    strip.bottom = strip.top + std::min(wanted, std::max(0, static_cast<int>(strip.Height())));
    pLayout->rect.top = strip.bottom;
    pLayout->sizeTotal.cy += strip.Height();
    pLayout->sizeTotal.cx = std::max(pLayout->sizeTotal.cx, static_cast<LONG>(strip.Width()));
    AfxRepositionWindow(pLayout, m_hWnd, &strip);
    return 0;
}

void CReBar::OnHeightChange(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    CWnd* parent = FromHandlePermanent(::GetParent(m_hWnd));
    auto* frame = parent && parent->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(parent) : nullptr;
    if (!frame)
        return;
    // During the frame's own layout (the rebar was just made wider or narrower) the layout running now cannot take
    // the new height any more: the next idle time lays out again.
    frame->DelayRecalcLayout(FALSE);
    frame->RecalcLayout(FALSE);
}

BOOL CReBar::QueryChildSize(HWND hWndChild, const RECT& rcRoom, BOOL bCommit, SIZE* pSize)
{
    AFX_SIZEPARENTPARAMS layout{};
    layout.rect = rcRoom;
    layout.hDWP = bCommit ? ::BeginDeferWindowPos(1) : nullptr;
    ::SendMessageA(hWndChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
    const LONG taken = layout.rect.top - rcRoom.top;
    if (taken <= 0)
        return FALSE;
    pSize->cx = std::min(static_cast<LONG>(rcRoom.right - rcRoom.left), layout.sizeTotal.cx);
    pSize->cy = taken;
    return TRUE;
}

void CReBar::UpdateBandSizes()
{
    const RECT unbounded = {0, 0, kUnboundedLength, kUnboundedLength};
    for (int index = 0; index < GetBandCount(); ++index)
    {
        REBARBANDINFOA band = MakeBandInfo(RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_IDEALSIZE);
        SIZE size;
        if (!GetBandInfo(static_cast<UINT>(index), &band) || !::IsWindow(band.hwndChild) ||
            !QueryChildSize(band.hwndChild, unbounded, FALSE, &size))
            continue;
        if (band.cyMinChild == static_cast<UINT>(size.cy) && band.cxIdeal == static_cast<UINT>(size.cx))
            continue;
        band.fMask = RBBIM_CHILDSIZE | RBBIM_IDEALSIZE;
        band.cyMinChild = static_cast<UINT>(size.cy);
        band.cxIdeal = static_cast<UINT>(size.cx);
        SetBandInfo(static_cast<UINT>(index), &band);
    }
    // The questions laid the children out for unbounded rows: each lays itself out again where its band holds it,
    // up to the band's far edge.
    for (int index = 0; index < GetBandCount(); ++index)
    {
        REBARBANDINFOA band = MakeBandInfo(RBBIM_CHILD);
        CRect bandRect;
        CRect borders;
        if (!GetBandInfo(static_cast<UINT>(index), &band) || !::IsWindow(band.hwndChild) ||
            !SendMessage(RB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&bandRect)))
            continue;
        SendMessage(RB_GETBANDBORDERS, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&borders));
        CRect room;
        ::GetWindowRect(band.hwndChild, &room);
        ScreenToClient(&room);
        room.right = bandRect.right - borders.right;
        room.bottom = room.top + kUnboundedLength;
        SIZE size;
        if (room.right > room.left)
            QueryChildSize(band.hwndChild, room, TRUE, &size);
    }
}

void CReBar::OnChildSize(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    auto* pChildSize = reinterpret_cast<NMREBARCHILDSIZE*>(pNMHDR);
    REBARBANDINFOA band = MakeBandInfo(RBBIM_CHILD);
    SIZE size;
    if (!GetBandInfo(pChildSize->uBand, &band) || !::IsWindow(band.hwndChild) ||
        !QueryChildSize(band.hwndChild, pChildSize->rcChild, TRUE, &size))
        return;
    pChildSize->rcChild.right = pChildSize->rcChild.left + size.cx;
    pChildSize->rcChild.bottom = pChildSize->rcChild.top + size.cy;
}
