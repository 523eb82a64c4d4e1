#include "framework/tabs/TabManagerNavigateButton.h"

#include "classlib/ModalLoop.h"
#include "classlib/RefPtr.h"
#include "framework/foundation/ResourceManager.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabPaintManager.h"

namespace {

DWORD TabSystemTicks()
{
    return ::GetTickCount();
}

COSMTabManagerNavigateButton::TickSource g_tabTickSource = &TabSystemTicks;

}  // namespace

void COSMTabManagerNavigateButton::SetTickSource(TickSource source)
{
    g_tabTickSource = source ? source : &TabSystemTicks;
}

DWORD COSMTabManagerNavigateButton::GetTicks()
{
    return g_tabTickSource();
}

COSMTabManagerNavigateButton::COSMTabManagerNavigateButton(COSMTabManager* pManager, int nId, int nDisplayMode)
    : m_pManager(pManager), m_nId(nId), m_nDisplayMode(nDisplayMode)
{}

COSMTabManagerNavigateButton::~COSMTabManagerNavigateButton()
{
    if (m_pManager && m_pManager->m_pHighlightedNavigateButton == this)
        m_pManager->m_pHighlightedNavigateButton = nullptr;
}

LONG COSMTabManagerNavigateButton::Release()
{
    const LONG count = m_refCount.Release();
    if (count == 0)
        delete this;
    return count;
}

void COSMTabManagerNavigateButton::Detach()
{
    if (m_pManager && m_pManager->m_pHighlightedNavigateButton == this)
        m_pManager->m_pHighlightedNavigateButton = nullptr;
    m_pManager = nullptr;
    m_pItem = nullptr;
    m_bDetached = TRUE;
}

void COSMTabManagerNavigateButton::LoadTooltip(UINT nID)
{
    m_strToolTip = GetResourceManager()->LoadStringValue(nID);
}

BOOL COSMTabManagerNavigateButton::IsHorizontal() const
{
    return m_pManager == nullptr || m_pManager->IsHorizontalPosition();
}

CSize COSMTabManagerNavigateButton::GetSize() const
{
    COSMTabPaintManager* pPaintManager = m_pManager ? m_pManager->GetPaintManager() : nullptr;
    return pPaintManager ? pPaintManager->m_szNavigateButton : COSMTabPaintManager::DefaultNavigateButtonSize();
}

void COSMTabManagerNavigateButton::AdjustWidth(int& nLength)
{
    AdjustWidthClose(nLength);
}

void COSMTabManagerNavigateButton::Reposition(CRect& rc)
{
    RepositionClose(rc);
}

void COSMTabManagerNavigateButton::DrawEntry(CDC* /*pDC*/, CRect /*rc*/) {}

void COSMTabManagerNavigateButton::PerformClick(BOOL bRepeat)
{
    if (!bRepeat && m_pManager)
        m_pManager->OnNavigateButtonClick(this);
}

void COSMTabManagerNavigateButton::AdjustWidthClose(int& nLength)
{
    const BOOL bShown = m_nDisplayMode == kAlwaysShown ||
                        (m_nDisplayMode == kShownWhenNeeded && m_pManager && m_pManager->IsNavigateButtonEnabled(this));
    if (bShown)
        nLength -= IsHorizontal() ? GetSize().cx : GetSize().cy;
}

void COSMTabManagerNavigateButton::RepositionClose(CRect& rc)
{
    const BOOL bShown = m_nDisplayMode == kAlwaysShown ||
                        (m_nDisplayMode == kShownWhenNeeded && m_pManager && m_pManager->IsNavigateButtonEnabled(this));
    if (!bShown)
    {
        m_rcButton.SetRectEmpty();
        return;
    }
    const CSize sz = GetSize();
    if (IsHorizontal())
    {
        const int my = (rc.top + rc.bottom) / 2;
        m_rcButton.SetRect(rc.right - sz.cx, my + sz.cy / 2 - sz.cy, rc.right, my + sz.cy / 2);
        rc.right -= sz.cx;
    }
    else
    {
        const int mx = (rc.left + rc.right) / 2;
        m_rcButton.SetRect(mx - sz.cx / 2, rc.bottom - sz.cy, mx - sz.cx / 2 + sz.cx, rc.bottom);
        rc.bottom -= sz.cy;
    }
}

void COSMTabManagerNavigateButton::AdjustWidthScroll(int& nLength)
{
    if (m_nDisplayMode == kAlwaysShown)
        nLength -= IsHorizontal() ? GetSize().cx : GetSize().cy;
}

void COSMTabManagerNavigateButton::RepositionScroll(CRect& rc)
{
    const int nLayout = m_pManager ? m_pManager->GetLayout() : 0;
    if (nLayout == COSMTabPaintManager::kLayoutMultiRow || m_nDisplayMode == kNeverShown)
    {
        m_rcButton.SetRectEmpty();
        return;
    }
    if (m_nDisplayMode == kShownWhenNeeded)
    {
        if (nLayout == COSMTabPaintManager::kLayoutSizeToFit)
        {
            m_rcButton.SetRectEmpty();
            return;
        }
        COSMTabPaintManager* pPaintManager = m_pManager->GetPaintManager();
        const CRect m = pPaintManager ? pPaintManager->GetAppearanceSet()->GetHeaderMargin() : CRect(0, 0, 0, 0);
        const int nOffset = m_pManager->GetScrollOffset();
        const int nExtent = IsHorizontal() ? rc.Width() : rc.Height();
        if (m_pManager->GetItemsLength() + nOffset - m.left - 1 <= nExtent - (m.left + m.right) && nOffset >= 0)
        {
            m_rcButton.SetRectEmpty();
            return;
        }
    }
    // A scroll button is always enabled for the close rule's test: place it at the far end.
    const CSize sz = GetSize();
    if (IsHorizontal())
    {
        const int my = (rc.top + rc.bottom) / 2;
        m_rcButton.SetRect(rc.right - sz.cx, my + sz.cy / 2 - sz.cy, rc.right, my + sz.cy / 2);
        rc.right -= sz.cx;
    }
    else
    {
        const int mx = (rc.left + rc.right) / 2;
        m_rcButton.SetRect(mx - sz.cx / 2, rc.bottom - sz.cy, mx - sz.cx / 2 + sz.cx, rc.bottom);
        rc.bottom -= sz.cy;
    }
}

void COSMTabManagerNavigateButton::TrackClick(HWND hWnd, CPoint pt)
{
    if (::GetCapture() != nullptr || !m_bEnabled || m_bDetached)
        return;

    // A message the loop dispatches may remove the tab that owns the button: the loop's own reference keeps it.
    const RefPtr<COSMTabManagerNavigateButton> keep = RetainRef(this);
    ::SetCapture(hWnd);
    DWORD dwLastStep = GetTicks();
    BOOL bClick = FALSE;
    CModalLoop loop;
    loop.EndOnCaptureLoss(hWnd).EndOnEscape();
    // Between messages, and while none come, the held button repeats on its clock and follows the pointer.
    loop.PollEvery(kRepeatInterval + 1, [&] {
        // The enabled test runs on every pass: a forward button stops repeating as soon as the end is shown.
        if (m_bEnabled && GetTicks() - dwLastStep > kRepeatInterval)
        {
            dwLastStep = GetTicks();
            PerformClick(TRUE);
        }
        const BOOL bPressed = m_rcButton.PtInRect(pt);
        if (bPressed != m_bPressed && m_pManager)
        {
            m_bPressed = bPressed;
            m_pManager->RedrawTabs(&m_rcButton, TRUE);
        }
    });
    // A quit ends the press, and the loop posts it again for the application's loop.
    loop.Run([&] { return m_bDetached != FALSE; },
             [&](MSG& msg) {
                 switch (msg.message)
                 {
                 case WM_MOUSEMOVE:
                     pt = CPoint(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
                     return CModalLoop::Handled;
                 case WM_CANCELMODE:
                 case WM_RBUTTONDOWN:
                     return CModalLoop::Stop;
                 case WM_KEYDOWN:
                     return CModalLoop::Handled;  // no other key acts while the button is held
                 case WM_LBUTTONUP:
                     bClick = m_bPressed;
                     return CModalLoop::Stop;
                 default:
                     return CModalLoop::Dispatch;
                 }
             });

    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    // The tab that owned the button went away with a message the loop dispatched: the press ends unclicked.
    if (m_bDetached)
        return;
    m_bPressed = FALSE;
    COSMTabManager* pManager = m_pManager;
    pManager->OnMouseMove(hWnd, pt);
    pManager->RedrawTabs(nullptr, FALSE);
    // The action may remove the button's tab (a tab's close button closes it): the loop's reference still holds.
    if (bClick)
        PerformClick(FALSE);
}

COSMTabManagerNavigateButtonLeft::COSMTabManagerNavigateButtonLeft(COSMTabManager* pManager)
    : COSMTabManagerNavigateButtonScroll(pManager, kScrollBack, kShownWhenNeeded)
{}

void COSMTabManagerNavigateButtonLeft::Reposition(CRect& rc)
{
    LoadTooltip(IsHorizontal() ? IDS_OSM_TAB_SCROLL_LEFT : IDS_OSM_TAB_SCROLL_UP);
    m_bEnabled = m_pManager->GetScrollOffset() < 0;
    RepositionScroll(rc);
}

void COSMTabManagerNavigateButtonLeft::DrawEntry(CDC* pDC, CRect rc)
{
    const CPoint c = rc.CenterPoint();
    if (IsHorizontal())
    {
        const POINT pts[] = {{c.x + 2, c.y + 3}, {c.x - 2, c.y - 1}, {c.x + 2, c.y - 5}};
        pDC->Polygon(pts, 3);
    }
    else
    {
        const POINT pts[] = {{c.x + 3, c.y + 2}, {c.x - 1, c.y - 2}, {c.x - 5, c.y + 2}};
        pDC->Polygon(pts, 3);
    }
}

void COSMTabManagerNavigateButtonLeft::PerformClick(BOOL bRepeat)
{
    if (bRepeat)
        m_pManager->OnScroll(FALSE);
}

COSMTabManagerNavigateButtonRight::COSMTabManagerNavigateButtonRight(COSMTabManager* pManager)
    : COSMTabManagerNavigateButtonScroll(pManager, kScrollForward, kShownWhenNeeded)
{}

void COSMTabManagerNavigateButtonRight::Reposition(CRect& rc)
{
    LoadTooltip(IsHorizontal() ? IDS_OSM_TAB_SCROLL_RIGHT : IDS_OSM_TAB_SCROLL_DOWN);
    COSMTabPaintManager* pPaintManager = m_pManager->GetPaintManager();
    const CRect m = pPaintManager ? pPaintManager->GetAppearanceSet()->GetHeaderMargin() : CRect(0, 0, 0, 0);
    const int nExtent = IsHorizontal() ? rc.Width() : rc.Height();
    m_bEnabled = m_pManager->GetItemsLength() + m_pManager->GetScrollOffset() > nExtent - (m.left + m.right) - 28;
    RepositionScroll(rc);
}

void COSMTabManagerNavigateButtonRight::DrawEntry(CDC* pDC, CRect rc)
{
    const CPoint c = rc.CenterPoint();
    if (IsHorizontal())
    {
        const POINT pts[] = {{c.x - 2, c.y + 3}, {c.x + 2, c.y - 1}, {c.x - 2, c.y - 5}};
        pDC->Polygon(pts, 3);
    }
    else
    {
        const POINT pts[] = {{c.x + 3, c.y - 2}, {c.x - 1, c.y + 2}, {c.x - 5, c.y - 2}};
        pDC->Polygon(pts, 3);
    }
}

void COSMTabManagerNavigateButtonRight::PerformClick(BOOL bRepeat)
{
    if (bRepeat)
        m_pManager->OnScroll(TRUE);
}

COSMTabManagerNavigateButtonClose::COSMTabManagerNavigateButtonClose(COSMTabManager* pManager, int nDisplayMode)
    : COSMTabManagerNavigateButton(pManager, kClose, nDisplayMode)
{
    LoadTooltip(IDS_OSM_TAB_CLOSE);
}

void COSMTabManagerNavigateButtonClose::DrawEntry(CDC* pDC, CRect rc)
{
    const CPoint c = rc.CenterPoint();
    // Each line stops short of its second point, as LineTo does.
    const POINT lines[][2] = {{{c.x - 4, c.y - 3}, {c.x + 3, c.y + 4}},
                              {{c.x - 3, c.y - 3}, {c.x + 4, c.y + 4}},
                              {{c.x - 4, c.y + 3}, {c.x + 3, c.y - 4}},
                              {{c.x - 3, c.y + 3}, {c.x + 4, c.y - 4}}};
    for (const auto& line : lines)
    {
        pDC->MoveTo(line[0].x, line[0].y);
        pDC->LineTo(line[1].x, line[1].y);
    }
}

COSMTabManagerNavigateButtonTabClose::COSMTabManagerNavigateButtonTabClose(COSMTabManager* pManager,
                                                                           COSMTabManagerItem* pItem, int nDisplayMode)
    : COSMTabManagerNavigateButtonClose(pManager, nDisplayMode)
{
    m_pItem = pItem;
}
