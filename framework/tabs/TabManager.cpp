#include "framework/tabs/TabManager.h"

#include <algorithm>

#include "classlib/ModalLoop.h"
#include "framework/foundation/ToolTipContext.h"
#include "framework/foundation/WindowFunctions.h"
#include "framework/markup/Markup.h"
#include "framework/tabs/TabPaintManager.h"

COSMTabManager::COSMTabManager()
{
    m_arrRows.resize(1);
    m_arrNavigateButtons.push_back(AdoptRef<COSMTabManagerNavigateButton>(new COSMTabManagerNavigateButtonLeft(this)));
    m_arrNavigateButtons.push_back(AdoptRef<COSMTabManagerNavigateButton>(new COSMTabManagerNavigateButtonRight(this)));
    m_arrNavigateButtons.push_back(AdoptRef<COSMTabManagerNavigateButton>(new COSMTabManagerNavigateButtonClose(this)));
}

COSMTabManager::~COSMTabManager()
{
    std::vector<COSMTabPaintManager*> paintManagers;
    paintManagers.swap(m_arrPaintManagers);
    for (COSMTabPaintManager* pPaintManager : paintManagers)
        pPaintManager->RemoveClient(this);

    std::vector<RefPtr<COSMTabManagerItem>> items;
    items.swap(m_arrItems);
    m_pSelected = m_pHighlighted = m_pPressed = nullptr;
    for (const RefPtr<COSMTabManagerItem>& pItem : items)
    {
        pItem->OnRemoved();
        pItem->SetTabManager(nullptr);
    }
    items.clear();
    // A click loop may still hold a button: it must not reach the strip once the strip is gone.
    std::vector<RefPtr<COSMTabManagerNavigateButton>> buttons;
    buttons.swap(m_arrNavigateButtons);
    for (const RefPtr<COSMTabManagerNavigateButton>& pButton : buttons)
        pButton->Detach();
    ReleaseMarkupContext(&m_pMarkupContext);
}

void COSMTabManager::DetachPaintManager(COSMTabPaintManager* pPaintManager)
{
    m_arrPaintManagers.erase(std::remove(m_arrPaintManagers.begin(), m_arrPaintManagers.end(), pPaintManager),
                             m_arrPaintManagers.end());
}

CString COSMTabManager::GetItemCaption(const COSMTabManagerItem* pItem) const
{
    return pItem->GetCaptionText();
}

DWORD_PTR COSMTabManager::GetItemData(const COSMTabManagerItem* pItem) const
{
    return pItem->GetData();
}

COLORREF COSMTabManager::GetItemColor(const COSMTabManagerItem* pItem) const
{
    return COSMTabPaintManager::GetFixedTabColor(pItem->GetRawColor());
}

CString COSMTabManager::GetItemTooltip(const COSMTabManagerItem* pItem) const
{
    return pItem->GetTooltipText();
}

void COSMTabManager::OnItemsChanged()
{
    for (size_t i = 0; i < m_arrItems.size(); i++)
        m_arrItems[i]->SetIndex(static_cast<int>(i));
    RequestLayout();
}

void COSMTabManager::SetSelectedItem(COSMTabManagerItem* pItem)
{
    if (m_pSelected == pItem)
        return;
    m_pSelected = pItem;
    RequestLayout();
    if (pItem)
        EnsureVisible(pItem);
}

void COSMTabManager::ClickItem(COSMTabManagerItem* pItem)
{
    if (OnBeforeItemClick(pItem) && pItem)
        OnItemClick(pItem);
}

void COSMTabManager::GetItemMetrics(CSize* pNormal, CSize* pMin, CSize* pMax) const
{
    COSMTabPaintManager* pPaintManager = GetPaintManager();
    if (pNormal)
        *pNormal = CSize(pPaintManager ? pPaintManager->m_nFixedTabWidth : COSMTabPaintManager::kDefaultFixedWidth, 0);
    if (pMin)
        *pMin = CSize(pPaintManager ? pPaintManager->m_nMinTabWidth : 0, 0);
    if (pMax)
        *pMax = CSize(pPaintManager ? pPaintManager->m_nMaxTabWidth : 0, 0);
}

int COSMTabManager::GetItemsLength() const
{
    COSMTabPaintManager* pPaintManager = GetPaintManager();
    if (pPaintManager && GetLayout() == COSMTabPaintManager::kLayoutRotated)
        return pPaintManager->GetAppearanceSet()->GetRowHeight(this) * GetItemCount();
    int nLength = 0;
    for (const RefPtr<COSMTabManagerItem>& pItem : m_arrItems)
        nLength += pItem->GetLength();
    return nLength;
}

BOOL COSMTabManager::IsDrawStaticFrame() const
{
    COSMTabPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager ? pPaintManager->m_bStaticFrame : FALSE;
}

int COSMTabManager::GetPosition() const
{
    COSMTabPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager ? pPaintManager->GetPosition() : 0;
}

int COSMTabManager::GetLayout() const
{
    COSMTabPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager ? pPaintManager->GetLayout() : 0;
}

BOOL COSMTabManager::IsHotTracking() const
{
    COSMTabPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager ? pPaintManager->m_bHotTracking : FALSE;
}

BOOL COSMTabManager::IsSelectOnPress() const
{
    COSMTabPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager ? pPaintManager->m_bSelectOnButtonDown : TRUE;
}

void COSMTabManager::OnScroll(BOOL bForward)
{
    SetScrollOffset(bForward ? m_nScrollOffset - m_nScrollStep : m_nScrollOffset + m_nScrollStep);
}

BOOL COSMTabManager::IsNavigateButtonEnabled(const COSMTabManagerNavigateButton* pButton) const
{
    if (pButton->GetID() != COSMTabManagerNavigateButton::kClose)
        return TRUE;
    return m_pSelected ? m_pSelected->IsCloseEnabled() : FALSE;
}

void COSMTabManager::OnItemClick(COSMTabManagerItem* pItem)
{
    SetSelectedItem(pItem);
}

void COSMTabManager::OnNavigateButtonClick(COSMTabManagerNavigateButton* pButton)
{
    OnNavigateButtonClick(static_cast<UINT>(pButton->GetID()));
}

COSMTabManagerNavigateButton* COSMTabManager::GetNavigateButton(int nId) const
{
    for (const RefPtr<COSMTabManagerNavigateButton>& pButton : m_arrNavigateButtons)
        if (pButton->GetID() == nId)
            return pButton.Get();
    return nullptr;
}

void COSMTabManager::EnableMarkup(BOOL bEnable)
{
    ReleaseMarkupContext(&m_pMarkupContext);
    if (bEnable)
        m_pMarkupContext = CreateMarkupContext(nullptr);
    for (const RefPtr<COSMTabManagerItem>& pItem : m_arrItems)
        pItem->UpdateMarkupElement();
    RequestLayout();
}

COSMTabManagerItem* COSMTabManager::InsertItem(int nIndex, COSMTabManagerItem* pItem)
{
    return InsertItem(nIndex, AdoptRef(pItem));
}

COSMTabManagerItem* COSMTabManager::InsertItem(int nIndex, RefPtr<COSMTabManagerItem> item)
{
    if (!item)
        item = AdoptRef(new COSMTabManagerItem());
    COSMTabManagerItem* pItem = item.Get();
    if (nIndex < 0 || nIndex > GetItemCount())
        nIndex = GetItemCount();
    m_arrItems.insert(m_arrItems.begin() + nIndex, std::move(item));
    pItem->SetTabManager(this);

    // Without a paint manager the counter stays at 0: the item takes the first fixed colour.
    COSMTabPaintManager* pPaintManager = GetPaintManager();
    const int nColor = pPaintManager ? pPaintManager->TakeNextItemColor() : 0;
    pItem->SetColor(0x1000000 + (nColor % 8));

    if (m_nCloseOnTabsMode != 0)
        pItem->AddNavigateButton(AdoptRef<COSMTabManagerNavigateButton>(
            new COSMTabManagerNavigateButtonTabClose(this, pItem, m_nCloseOnTabsMode)));
    pItem->UpdateMarkupElement();
    OnItemsChanged();
    return pItem;
}

BOOL COSMTabManager::DeleteItem(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetItemCount())
        return FALSE;
    RefPtr<COSMTabManagerItem> removed = std::move(m_arrItems[nIndex]);
    COSMTabManagerItem* pItem = removed.Get();
    m_arrItems.erase(m_arrItems.begin() + nIndex);
    if (m_pHighlighted == pItem)
        m_pHighlighted = nullptr;
    // A press loop may still be running on this item: it must not find it pressed.
    if (m_pPressed == pItem)
        m_pPressed = nullptr;
    const BOOL bSelected = m_pSelected == pItem;
    if (bSelected)
        m_pSelected = nullptr;
    pItem->OnRemoved();
    // Whoever still holds the item must not reach a strip that may go before it.
    pItem->SetIndex(-1);
    pItem->SetTabManager(nullptr);
    removed.Reset();
    if (bSelected)
        SetCurSel(nIndex);
    OnItemsChanged();
    return TRUE;
}

void COSMTabManager::DeleteAllItems()
{
    std::vector<RefPtr<COSMTabManagerItem>> items;
    items.swap(m_arrItems);
    m_pSelected = m_pHighlighted = m_pPressed = nullptr;
    for (const RefPtr<COSMTabManagerItem>& pItem : items)
    {
        pItem->OnRemoved();
        pItem->SetIndex(-1);
        pItem->SetTabManager(nullptr);
    }
    items.clear();
    OnItemsChanged();
}

COSMTabManagerItem* COSMTabManager::GetItem(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetItemCount() ? m_arrItems[nIndex].Get() : nullptr;
}

BOOL COSMTabManager::IsInList(const COSMTabManagerItem* pItem) const
{
    return std::any_of(m_arrItems.begin(), m_arrItems.end(),
                       [pItem](const RefPtr<COSMTabManagerItem>& item) { return item.Get() == pItem; });
}

void COSMTabManager::SetCurSel(int nIndex)
{
    if (m_arrItems.empty())
    {
        SetSelectedItem(nullptr);
        return;
    }
    nIndex = std::max(0, std::min(nIndex, GetItemCount() - 1));
    SetSelectedItem(m_arrItems[nIndex].Get());
}

int COSMTabManager::GetCurSel() const
{
    return m_pSelected ? m_pSelected->GetIndex() : -1;
}

COSMTabManagerItem* COSMTabManager::FindNextVisibleItem(int nIndex, int nStep) const
{
    if (nStep == 0)
        return nullptr;
    for (;;)
    {
        nIndex += nStep;
        COSMTabManagerItem* pItem = GetItem(nIndex);
        if (!pItem)
            return nullptr;
        if (pItem->IsVisible() && pItem->IsEnabled())
            return pItem;
    }
}

COSMTabManagerItem* COSMTabManager::HitTest(CPoint pt) const
{
    if (!m_rcControl.PtInRect(pt))
        return nullptr;
    if (!m_rcHeader.IsRectEmpty() && !m_rcHeader.PtInRect(pt))
        return nullptr;
    for (const RefPtr<COSMTabManagerItem>& pItem : m_arrItems)
        if (pItem->GetRect().PtInRect(pt) && pItem->IsEnabled() && pItem->IsVisible())
            return pItem.Get();
    return nullptr;
}

COSMTabManagerNavigateButton* COSMTabManager::FindNavigateButton(CPoint pt, BOOL bStripOnly, int* pIndex) const
{
    for (size_t i = 0; i < m_arrNavigateButtons.size(); i++)
    {
        COSMTabManagerNavigateButton* pButton = m_arrNavigateButtons[i].Get();
        if (pButton->GetRect().PtInRect(pt))
        {
            if (pIndex)
                *pIndex = static_cast<int>(i);
            return pButton->IsEnabled() ? pButton : nullptr;
        }
    }
    if (bStripOnly)
        return nullptr;
    COSMTabManagerItem* pItem = HitTest(pt);
    if (!pItem)
        return nullptr;
    const auto& buttons = pItem->GetNavigateButtons();
    for (size_t i = 0; i < buttons.size(); i++)
    {
        if (buttons[i]->GetRect().PtInRect(pt))
        {
            if (pIndex)
                *pIndex = static_cast<int>(i);
            return buttons[i]->IsEnabled() ? buttons[i].Get() : nullptr;
        }
    }
    return nullptr;
}

BOOL COSMTabManager::OnMouseDown(HWND hWnd, CPoint pt, BOOL bButtonsOnly)
{
    if (COSMTabManagerNavigateButton* pButton = FindNavigateButton(pt, FALSE))
    {
        pButton->TrackClick(hWnd, pt);
        return TRUE;
    }
    if (bButtonsOnly)
        return FALSE;
    COSMTabManagerItem* pItem = HitTest(pt);
    if (!pItem || !OnBeforeItemClick(pItem))
        return FALSE;
    if (IsAllowReorder())
        DragItem(hWnd, pt, pItem);
    else if (IsSelectOnPress())
        OnItemClick(pItem);
    else
        TrackItemClick(hWnd, pt, pItem);
    return TRUE;
}

CRect COSMTabManager::GetItemDrawRect(COSMTabManagerItem* pItem) const
{
    COSMTabPaintManager* pPaintManager = GetPaintManager();
    if (pPaintManager)
        return pPaintManager->GetAppearanceSet()->GetItemDrawRect(pItem);
    CRect rc = pItem->GetRect();
    rc.InflateRect(2, 2);
    return rc;
}

void COSMTabManager::OnMouseMove(HWND hWnd, CPoint pt)
{
    if (!IsTopParentActive(hWnd) || IsMouseLocked())
    {
        if (m_pHighlighted)
        {
            const CRect rc = GetItemDrawRect(m_pHighlighted);
            m_pHighlighted = nullptr;
            RedrawTabs(&rc, TRUE);
        }
        return;
    }

    if (IsHotTracking())
    {
        COSMTabManagerItem* pHot = HitTest(pt);
        if (pHot != m_pHighlighted)
        {
            if (m_pHighlighted)
            {
                const CRect rc = GetItemDrawRect(m_pHighlighted);
                RedrawTabs(&rc, TRUE);
            }
            m_pHighlighted = pHot;
            if (m_pHighlighted)
            {
                const CRect rc = GetItemDrawRect(m_pHighlighted);
                RedrawTabs(&rc, FALSE);
                TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, hWnd, 0};
                ::TrackMouseEvent(&tme);
            }
        }
    }

    COSMTabManagerNavigateButton* pButton = FindNavigateButton(pt, FALSE);
    if (pButton != m_pHighlightedNavigateButton)
    {
        if (m_pHighlightedNavigateButton)
        {
            const CRect rc = m_pHighlightedNavigateButton->GetRect();
            RedrawTabs(&rc, TRUE);
        }
        m_pHighlightedNavigateButton = pButton;
        if (pButton)
        {
            const CRect rc = pButton->GetRect();
            RedrawTabs(&rc, FALSE);
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, hWnd, 0};
            ::TrackMouseEvent(&tme);
        }
    }
}

void COSMTabManager::EnsureVisible(COSMTabManagerItem* pItem)
{
    if (COSMTabPaintManager* pPaintManager = GetPaintManager())
        pPaintManager->EnsureVisible(this, pItem);
}

void COSMTabManager::SetScrollOffset(int nOffset)
{
    nOffset = std::min(nOffset, 0);
    if (nOffset == m_nScrollOffset)
        return;
    m_nScrollOffset = nOffset;
    RequestLayout();
}

void COSMTabManager::SetActive(BOOL bActive)
{
    if (m_bActive == bActive)
        return;
    m_bActive = bActive;
    RequestLayout();
}

BOOL COSMTabManager::RunCaptureLoop(HWND hWnd, CPoint& pt, const std::function<void(CPoint)>& onMove)
{
    ::SetCapture(hWnd);
    BOOL bReleased = FALSE;
    auto pointOf = [](const MSG& msg) {
        return CPoint(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
    };
    // A quit ends the press like Escape, and is posted again by the loop for the application's loop.
    CModalLoop loop;
    loop.EndOnCaptureLoss(hWnd).EndOnEscape();
    loop.Run(nullptr, [&](MSG& msg) {
        switch (msg.message)
        {
        case WM_MOUSEMOVE:
            pt = pointOf(msg);
            onMove(pt);
            return CModalLoop::Handled;
        case WM_CANCELMODE:
        case WM_RBUTTONDOWN:
            return CModalLoop::Stop;
        case WM_KEYDOWN:
            return CModalLoop::Handled;  // no other key acts while the button is held
        case WM_LBUTTONUP:
            pt = pointOf(msg);
            bReleased = TRUE;
            return CModalLoop::Stop;
        default:
            return CModalLoop::Dispatch;
        }
    });
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    return bReleased;
}

void COSMTabManager::TrackItemClick(HWND hWnd, CPoint pt, COSMTabManagerItem* pItem)
{
    // The loop dispatches foreign messages, and a handler may delete the tab: keep the item alive until the end.
    const RefPtr<COSMTabManagerItem> keep = RetainRef(pItem);
    const BOOL bHotTracking = IsHotTracking();
    if (bHotTracking)
        m_pHighlighted = pItem;
    m_pPressed = pItem;
    RequestLayout();

    BOOL bOver = TRUE;
    const BOOL bReleased = RunCaptureLoop(hWnd, pt, [&](CPoint ptMove) {
        bOver = pItem->GetRect().PtInRect(ptMove);
        if (bHotTracking && IsInList(pItem))
        {
            COSMTabManagerItem* pHot = bOver ? pItem : nullptr;
            if (pHot != m_pHighlighted)
            {
                m_pHighlighted = pHot;
                const CRect rc = pItem->GetRect();
                RedrawTabs(&rc, TRUE);
            }
        }
    });
    if (bReleased)
        bOver = pItem->GetRect().PtInRect(pt);

    m_pPressed = nullptr;
    OnMouseMove(hWnd, pt);
    RedrawTabs(nullptr, FALSE);
    if (bReleased && bOver && IsInList(pItem))
        OnItemClick(pItem);
}

void COSMTabManager::SwapIntoSlotUnder(COSMTabManagerItem* pItem, const std::vector<CRect>& slots, CPoint ptMove)
{
    const size_t nCount = slots.size();
    if (m_arrItems.size() != nCount || !IsInList(pItem))
        return;
    const int nCurrent = pItem->GetIndex();
    for (size_t i = 0; i < nCount; i++)
    {
        if (static_cast<int>(i) == nCurrent || !slots[i].PtInRect(ptMove))
            continue;
        COSMTabManagerItem* pOther = m_arrItems[i].Get();
        std::swap(m_arrItems[nCurrent], m_arrItems[i]);
        OnItemsChanged();
        OnItemsSwapped(pItem, pOther);
        break;
    }
}

void COSMTabManager::DragItem(HWND hWnd, CPoint pt, COSMTabManagerItem* pItem)
{
    // Handlers run inside the loop may remove or insert tabs: both items stay alive, and swapping stops once the
    // list is no longer the one the slots were taken from.
    const RefPtr<COSMTabManagerItem> keepDragged = RetainRef(pItem);
    COSMTabManagerItem* pRemembered = m_pSelected;
    const RefPtr<COSMTabManagerItem> keepRemembered = RetainRef(pRemembered);

    m_pSelected = pItem;
    if (IsHotTracking())
        m_pHighlighted = pItem;
    RequestLayout();

    std::vector<CRect> slots;
    for (const RefPtr<COSMTabManagerItem>& p : m_arrItems)
        slots.push_back(p->GetRect());

    RunCaptureLoop(hWnd, pt, [&](CPoint ptMove) { SwapIntoSlotUnder(pItem, slots, ptMove); });

    OnMouseMove(hWnd, pt);
    // The remembered item comes back first, so that the subclass sees a genuine change in OnItemClick.
    m_pSelected = IsInList(pRemembered) ? pRemembered : nullptr;
    if (IsInList(pItem))
        OnItemClick(pItem);
    else
        RequestLayout();
}

BOOL COSMTabManager::PerformKeyDown(HWND hWnd, UINT nChar)
{
    if (m_arrItems.empty())
        return FALSE;
    if (hWnd && (::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL))
    {
        if (nChar == VK_LEFT)
            nChar = VK_RIGHT;
        else if (nChar == VK_RIGHT)
            nChar = VK_LEFT;
    }
    const BOOL bHorizontal = IsHorizontalPosition();
    const int nSelected = GetCurSel();
    switch (nChar)
    {
    case VK_HOME:
        ClickItem(FindNextVisibleItem(-1, +1));
        return TRUE;
    case VK_END:
        ClickItem(FindNextVisibleItem(GetItemCount(), -1));
        return TRUE;
    case VK_LEFT:
    case VK_UP:
        if ((nChar == VK_LEFT) == bHorizontal && m_pSelected && nSelected > 0)
            ClickItem(FindNextVisibleItem(nSelected, -1));
        return TRUE;
    case VK_RIGHT:
    case VK_DOWN:
        if ((nChar == VK_RIGHT) == bHorizontal && m_pSelected && nSelected < GetItemCount() - 1)
            ClickItem(FindNextVisibleItem(nSelected, +1));
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR COSMTabManager::PerformToolHitTest(HWND hWnd, CPoint pt, TOOLINFOA* pTI)
{
    if (IsMouseLocked())
        return -1;
    int nIndex = -1;
    if (COSMTabManagerNavigateButton* pButton = FindNavigateButton(pt, FALSE, &nIndex))
    {
        if (pButton->GetTooltip().IsEmpty())
            return -1;
        COSMToolTipContext::FillToolInfo(pTI, hWnd, pButton->GetRect(), nIndex, pButton->GetTooltip());
        return nIndex;
    }
    COSMTabManagerItem* pItem = HitTest(pt);
    if (!pItem)
        return -1;
    COSMTabPaintManager* pPaintManager = GetPaintManager();
    const int nMode = pPaintManager ? pPaintManager->m_nToolTipBehaviour : COSMTabPaintManager::kDefaultTooltipMode;
    if (nMode == 0)
        return -1;
    if (nMode == 2 && pItem->GetContentLength() <= pItem->GetLength())
        return -1;
    const CString strTip = GetItemTooltip(pItem);
    if (strTip.IsEmpty())
        return -1;
    COSMToolTipContext::FillToolInfoEx(pTI, hWnd, pItem->GetRect(), pItem->GetIndex(), strTip, GetItemCaption(pItem),
                                       strTip, nullptr);
    return pItem->GetIndex();
}
