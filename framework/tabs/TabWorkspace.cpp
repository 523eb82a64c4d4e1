#include "framework/tabs/TabWorkspace.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/tabs/TabClientWnd.h"
#include "framework/tabs/TabManagerNavigateButton.h"

COSMTabWorkspace::~COSMTabWorkspace() = default;

void COSMTabWorkspace::Refresh()
{
    RequestLayout();
}

void COSMTabWorkspace::RequestLayout()
{
    if (m_pOwner)
        m_pOwner->OnGroupLayoutRequest();
}

DWORD_PTR COSMTabWorkspace::GetItemData(const COSMTabManagerItem* pItem) const
{
    return m_pOwner ? m_pOwner->GetItemData(pItem) : COSMTabManager::GetItemData(pItem);
}

COLORREF COSMTabWorkspace::GetItemColor(const COSMTabManagerItem* pItem) const
{
    const COLORREF clr = m_pOwner ? m_pOwner->GetItemColor(pItem) : static_cast<COLORREF>(-1);
    if (clr == static_cast<COLORREF>(-1))
        return COSMTabManager::GetItemColor(pItem);
    return COSMTabPaintManager::GetFixedTabColor(clr);
}

CString COSMTabWorkspace::GetItemTooltip(const COSMTabManagerItem* pItem) const
{
    return m_pOwner ? m_pOwner->GetItemTooltip(pItem) : COSMTabManager::GetItemTooltip(pItem);
}

COSMTabPaintManager* COSMTabWorkspace::GetPaintManager() const
{
    return m_pOwner ? m_pOwner->GetPaintManager() : nullptr;
}

void COSMTabWorkspace::RedrawTabs(const CRect* prc, BOOL /*bErase*/)
{
    if (!m_pOwner || m_pOwner->IsLocked() || !m_hWnd)
        return;
    // The strip paints every pixel of itself: erasing first would only flicker.
    ::InvalidateRect(m_hWnd, prc, FALSE);
}

BOOL COSMTabWorkspace::IsAllowReorder() const
{
    return m_pOwner ? m_pOwner->IsAllowReorder() : COSMTabManager::IsAllowReorder();
}

void COSMTabWorkspace::SetAllowReorder(BOOL bAllowReorder)
{
    if (m_pOwner)
        m_pOwner->SetAllowReorder(bAllowReorder);
    else
        COSMTabManager::SetAllowReorder(bAllowReorder);
}

BOOL COSMTabWorkspace::IsDrawStaticFrame() const
{
    COSMTabPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager && pPaintManager->m_bStaticFrame && !m_pOwner->IsGroupingEnabled();
}

BOOL COSMTabWorkspace::DrawIcon(CDC* pDC, CPoint pt, COSMTabManagerItem* pItem, BOOL bDraw, CSize& szIcon)
{
    COSMTabPaintManager* pPaintManager = GetPaintManager();
    if (!pPaintManager || !pPaintManager->m_bShowIcons)
        return FALSE;
    if (!bDraw)
        return TRUE;
    HICON hIcon = reinterpret_cast<HICON>(GetItemData(pItem));
    if (hIcon)
        ::DrawIconEx(pDC->GetSafeHdc(), pt.x, pt.y, hIcon, szIcon.cx, szIcon.cy, 0, nullptr, DI_NORMAL);
    return TRUE;
}

COSMMarkupContext* COSMTabWorkspace::GetMarkupContext() const
{
    return m_pOwner ? m_pOwner->GetMarkupContext() : COSMTabManager::GetMarkupContext();
}

void COSMTabWorkspace::OnItemClick(COSMTabManagerItem* pItem)
{
    if (m_pOwner)
        m_pOwner->ActivateItem(pItem);
    else
        COSMTabManager::OnItemClick(pItem);
}

BOOL COSMTabWorkspace::OnBeforeItemClick(COSMTabManagerItem* pItem)
{
    return m_pOwner ? m_pOwner->OnBeforeItemClick(pItem) : TRUE;
}

void COSMTabWorkspace::DragItem(HWND hWnd, CPoint pt, COSMTabManagerItem* pItem)
{
    COSMTabClientWnd* pOwner = m_pOwner;
    if (!pOwner)
    {
        COSMTabManager::DragItem(hWnd, pt, pItem);
        return;
    }
    // A child closed from inside the loop takes its tab away: the item stays alive, and swapping stops once the
    // list is no longer the one the slots were taken from.
    const RefPtr<COSMTabManagerItem> keep = RetainRef(pItem);
    if (pOwner->BeginTabDrag(this, pItem))
    {
        std::vector<CRect> slots;
        for (const RefPtr<COSMTabManagerItem>& p : m_arrItems)
            slots.push_back(p->GetRect());

        const BOOL bDropped = RunCaptureLoop(hWnd, pt, [&](CPoint ptMove) {
            if (pOwner->OnTabDragMove(this, pItem, ptMove))
                SwapIntoSlotUnder(pItem, slots, ptMove);
        });
        pOwner->EndTabDrag(this, pItem, hWnd, pt, bDropped);
    }
}

void COSMTabWorkspace::OnNavigateButtonClick(COSMTabManagerNavigateButton* pButton)
{
    if (pButton->GetID() != COSMTabManagerNavigateButton::kClose)
        return;
    COSMTabManagerItem* pItem = pButton->GetItem() ? pButton->GetItem() : m_pSelected;
    if (m_pOwner && pItem)
        m_pOwner->CloseItem(pItem);
}

BOOL COSMTabWorkspace::IsMouseLocked() const
{
    COSMCommandBars* pCommandBars = m_pOwner ? m_pOwner->GetCommandBars() : nullptr;
    return pCommandBars && pCommandBars->GetMouseManager()->IsTrackActive(nullptr);
}

COSMTabManagerItem* COSMTabWorkspace::FindItem(HWND hWndChild) const
{
    for (const RefPtr<COSMTabManagerItem>& pItem : m_arrItems)
        if (pItem->GetHandle() == hWndChild)
            return pItem.Get();
    return nullptr;
}
