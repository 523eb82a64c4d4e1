// The workspace's tab drag, its drop target and drop menu, moving tabs between groups and the workspace commands.
#include <algorithm>
#include <utility>

#include "classlib/DC.h"
#include "classlib/ModalLoop.h"
#include "classlib/ScopedHandle.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/tabs/TabClientWnd.h"

namespace {

// A drag frame in the halftone pattern, inverted: drawing it twice removes it.
void InvertDropFrame(HDC hDC, const CRect& rc)
{
    if (!hDC || rc.IsRectEmpty())
        return;
    const int cx = std::min(::GetSystemMetrics(SM_CXFRAME), rc.Width() / 2);
    const int cy = std::min(::GetSystemMetrics(SM_CYFRAME), rc.Height() / 2);
    const ScopedSelection halftone = SelectScoped(hDC, CDC::GetHalftoneBrush()->GetSafeHandle());
    ::PatBlt(hDC, rc.left, rc.top, rc.Width(), cy, PATINVERT);
    ::PatBlt(hDC, rc.left, rc.bottom - cy, rc.Width(), cy, PATINVERT);
    ::PatBlt(hDC, rc.left, rc.top + cy, cx, rc.Height() - 2 * cy, PATINVERT);
    ::PatBlt(hDC, rc.right - cx, rc.top + cy, cx, rc.Height() - 2 * cy, PATINVERT);
}

}  // namespace

BOOL COSMTabClientWnd::BeginTabDrag(COSMTabWorkspace* pWorkspace, COSMTabManagerItem* pItem)
{
    if (GetWorkspaceCount() == 1 && pWorkspace->GetItemCount() == 1)
    {
        ActivateItem(pItem);
        return FALSE;
    }
    {
        const BOOL bWasLocked = m_bLocked;
        m_bLocked = TRUE;
        pWorkspace->SetSelectedItem(pItem);
        SetActiveWorkspace(pWorkspace);
        m_bLocked = bWasLocked;
    }
    m_pDragSource = pWorkspace;
    m_nDropMode = kDropNone;
    m_pDropTarget = nullptr;
    m_bTrackerStarted = FALSE;
    m_rcTracker.SetRectEmpty();
    m_rcTrackerLast.SetRectEmpty();
    UpdateContents(FALSE);
    return TRUE;
}

BOOL COSMTabClientWnd::OnTabDragMove(COSMTabWorkspace* pWorkspace, COSMTabManagerItem* pItem, CPoint pt)
{
    if (pWorkspace->GetHeaderRect().PtInRect(pt))
    {
        if (m_bTrackerStarted)
        {
            EndDropTracker();
            ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        }
        m_nDropMode = kDropNone;
        m_pDropTarget = nullptr;
        return TRUE;
    }
    if (m_bEnableGrouping && pWorkspace->GetWindow() == m_hWnd)
        UpdateDropTarget(pWorkspace, pItem, pt);
    return FALSE;
}

void COSMTabClientWnd::UpdateDropTarget(COSMTabWorkspace* pSource, COSMTabManagerItem* /*pItem*/, CPoint pt)
{
    if (!m_bTrackerStarted)
    {
        // What is waiting to be painted is painted before the tracker goes over the screen. A quit that comes out
        // with the paints is posted again: the drag's loop ends at it, and the application's loop sees it.
        static_cast<void>(CModalLoop::DispatchPaints());
        m_bTrackerLocked = ::LockWindowUpdate(::GetDesktopWindow());
        const HWND desktop = ::GetDesktopWindow();
        m_trackerDC = ScopedWindowDC(
            ::GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | (m_bTrackerLocked ? DCX_LOCKWINDOWUPDATE : 0)),
            WindowDCTraits{desktop});
        m_bTrackerStarted = TRUE;
    }

    CRect rcClient;
    GetClientRect(&rcClient);
    m_nDropMode = kDropNone;
    m_pDropTarget = nullptr;
    CRect rcTracker(0, 0, 0, 0);
    if (rcClient.PtInRect(pt))
    {
        m_nDropMode = kDropInClient;
        const int nCount = GetWorkspaceCount();
        for (COSMTabWorkspace* pWorkspace : m_arrWorkspaces)
        {
            if (pWorkspace->GetHeaderRect().PtInRect(pt))
            {
                m_nDropMode = kDropOnGroup;
                m_pDropTarget = pWorkspace;
                rcTracker = pWorkspace->GetClientRect();
                break;
            }
            // The only tab of a group cannot open a new group from its own group.
            const BOOL bCanSplit = !(pWorkspace == pSource && pSource->GetItemCount() < 2);
            const CRect rcGroup = pWorkspace->GetControlRect();
            if (!bCanSplit || !rcGroup.PtInRect(pt))
                continue;
            if ((nCount == 1 || m_nSplitDirection == 1) && rcGroup.bottom - pt.y > 0 &&
                rcGroup.bottom - pt.y < kNewGroupMargin)
            {
                m_nDropMode = kDropNewGroupBelow;
                m_pDropTarget = pWorkspace;
                rcTracker = rcGroup;
                rcTracker.top = rcGroup.top + rcGroup.Height() / 2;
                break;
            }
            if ((nCount == 1 || m_nSplitDirection == 0) && rcGroup.right - pt.x > 0 &&
                rcGroup.right - pt.x < kNewGroupMargin)
            {
                m_nDropMode = kDropNewGroupBeside;
                m_pDropTarget = pWorkspace;
                rcTracker = rcGroup;
                rcTracker.left = rcGroup.left + rcGroup.Width() / 2;
                break;
            }
        }
    }
    ::SetCursor(m_nDropMode == kDropNone ? m_hCursorNoDrop : m_hCursorDrop);
    if (!rcTracker.IsRectEmpty())
    {
        ClientToScreen(&rcTracker);
    }
    DrawDropTracker(rcTracker);
}

void COSMTabClientWnd::DrawDropTracker(const CRect& rc)
{
    if (rc == m_rcTrackerLast)
        return;
    InvertDropFrame(m_trackerDC.Get(), m_rcTrackerLast);
    InvertDropFrame(m_trackerDC.Get(), rc);
    m_rcTrackerLast = rc;
    m_rcTracker = rc;
}

void COSMTabClientWnd::EndDropTracker()
{
    if (!m_bTrackerStarted)
        return;
    InvertDropFrame(m_trackerDC.Get(), m_rcTrackerLast);
    m_rcTrackerLast.SetRectEmpty();
    m_rcTracker.SetRectEmpty();
    m_trackerDC.Reset();
    if (m_bTrackerLocked)
        ::LockWindowUpdate(nullptr);
    m_bTrackerLocked = FALSE;
    m_bTrackerStarted = FALSE;
}

void COSMTabClientWnd::EndTabDrag(COSMTabWorkspace* pWorkspace, COSMTabManagerItem* pItem, HWND hWnd, CPoint pt,
                                  BOOL bDropped)
{
    const BOOL bTracked = m_bTrackerStarted;
    const int nMode = m_nDropMode;
    COSMTabWorkspace* pTarget = m_pDropTarget;
    m_pDragSource = nullptr;
    m_nDropMode = kDropNone;
    m_pDropTarget = nullptr;
    m_nLastDropMode = kDropNone;
    if (bTracked)
    {
        EndDropTracker();
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    }
    // The tab is gone when its child closed during the drag; its group may have gone with it.
    const BOOL bItemAlive = pItem->GetTabManager() != nullptr;
    if (FindWorkspace(pWorkspace) >= 0 && ::IsWindow(hWnd))
        pWorkspace->OnMouseMove(hWnd, pt);
    if (!bItemAlive)
    {
        UpdateContents(FALSE);
        return;
    }
    ActivateItem(pItem);
    if (bTracked && bDropped && nMode != kDropNone && (nMode == kDropInClient || FindWorkspace(pTarget) >= 0))
    {
        m_nLastDropMode = nMode;
        if (nMode == kDropInClient)
        {
            CPoint ptScreen(pt);
            ::ClientToScreen(hWnd, &ptScreen);
            ShowDropMenu(ptScreen);
        }
        else
        {
            MoveItem(pItem, pTarget, nMode);
        }
    }
    UpdateContents(FALSE);
    if (pItem->GetTabManager())
        pItem->GetTabManager()->EnsureVisible(pItem);
}

void COSMTabClientWnd::ShowDropMenu(CPoint ptScreen)
{
    if (!m_pCommandBars)
        return;
    const RefPtr<COSMPopupBar> popup = AdoptRef(COSMPopupBar::CreatePopupBar(m_pCommandBars));
    if (!popup)
        return;
    popup->GetControls()->AddControl(new COSMControlWorkspaceActions, COSMControlWorkspaceActions::kPlaceholderId);
    if (COSMControl* pCancel = popup->GetControls()->Add(1, kCancelDrop))
        pCancel->SetBeginGroup(TRUE);
    COSMCommandBars::TrackPopupMenu(popup.Get(), 0, ptScreen.x, ptScreen.y, m_pFrame, nullptr, this);
}

void COSMTabClientWnd::MoveItem(COSMTabManagerItem* pItem, COSMTabWorkspace* pTarget, int nMode)
{
    auto* pSource = pItem ? static_cast<COSMTabWorkspace*>(pItem->GetTabManager()) : nullptr;
    if (!pSource || FindWorkspace(pSource) < 0 || FindWorkspace(pTarget) < 0)
        return;
    const BOOL bWasLocked = m_bLocked;
    m_bLocked = TRUE;
    // The item lives on between its two groups: this reference passes to the group it joins.
    RefPtr<COSMTabManagerItem> moving = RetainRef(pItem);
    const COLORREF clrItem = pItem->GetRawColor();
    BOOL bMoved = FALSE;
    if (nMode == kDropOnGroup)
    {
        if (pTarget != pSource)
        {
            pSource->DeleteItem(pItem->GetIndex());
            pTarget->InsertItem(-1, std::move(moving));
            pItem->SetColor(clrItem);
            pTarget->SetSelectedItem(pItem);
            SetActiveWorkspace(pTarget);
            bMoved = TRUE;
        }
    }
    else if (nMode == kDropNewGroupBelow || nMode == kDropNewGroupBeside)
    {
        const int nDirection = nMode == kDropNewGroupBelow ? 1 : 0;
        // The new split direction decides what a group's pixel size is.
        m_nSplitDirection = nDirection;
        SetProportionsToPixels();
        const double dTarget = pTarget->GetProportion();
        COSMTabWorkspace* pNew = CreateWorkspace(FindWorkspace(pTarget) + 1);
        pSource->DeleteItem(pItem->GetIndex());
        pNew->InsertItem(-1, std::move(moving));
        pItem->SetColor(clrItem);
        pNew->SetSelectedItem(pItem);
        // No group narrower than nothing, however small the target was.
        const double dNew = std::max(0.0, (dTarget - m_nSplitterWidth) / 2);
        pNew->SetProportion(dNew);
        pTarget->SetProportion(std::max(0.0, dTarget - dNew - m_nSplitterWidth));
        SetActiveWorkspace(pNew);
        bMoved = TRUE;
    }
    if (bMoved && FindWorkspace(pSource) >= 0 && pSource->GetItemCount() > 1)
    {
        // The group left behind shows its topmost child.
        for (HWND hWnd = ::GetWindow(m_hWnd, GW_CHILD); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        {
            if (COSMTabManagerItem* pTop = pSource->FindItem(hWnd))
            {
                pSource->SetSelectedItem(pTop);
                break;
            }
        }
    }
    m_bLocked = bWasLocked;
    m_bLayoutPending = TRUE;
    UpdateContents(FALSE);
}

BOOL COSMTabClientWnd::IsWorkspaceActionEnabled(int id)
{
    return IsWorkspaceActionEnabled(id, nullptr);
}

BOOL COSMTabClientWnd::IsWorkspaceActionEnabled(int id, COSMTabManagerItem** ppItem)
{
    if (ppItem)
        *ppItem = nullptr;
    if (!m_bEnableGrouping || !m_hWnd)
        return FALSE;
    HWND hWndActive = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, WM_MDIGETACTIVE, 0, 0));
    COSMTabManagerItem* pItem = hWndActive ? FindItem(hWndActive) : nullptr;
    if (!pItem)
        return FALSE;
    if (ppItem)
        *ppItem = pItem;
    auto* pWorkspace = static_cast<COSMTabWorkspace*>(pItem->GetTabManager());
    const int nIndex = FindWorkspace(pWorkspace);
    const int nCount = GetWorkspaceCount();
    switch (id)
    {
    case COSMControlWorkspaceActions::kMoveToPreviousGroup:
        return nIndex > 0;
    case COSMControlWorkspaceActions::kMoveToNextGroup:
        return nIndex < nCount - 1;
    case COSMControlWorkspaceActions::kNewHorizontalGroup:
        return (nCount == 1 || m_nSplitDirection == 1) && pWorkspace->GetItemCount() > 1;
    case COSMControlWorkspaceActions::kNewVerticalGroup:
        return (nCount == 1 || m_nSplitDirection == 0) && pWorkspace->GetItemCount() > 1;
    default:
        return TRUE;
    }
}

void COSMTabClientWnd::OnWorkspaceAction(UINT nID)
{
    COSMTabManagerItem* pItem = nullptr;
    if (!IsWorkspaceActionEnabled(static_cast<int>(nID), &pItem) || !pItem)
        return;
    auto* pWorkspace = static_cast<COSMTabWorkspace*>(pItem->GetTabManager());
    const int nIndex = FindWorkspace(pWorkspace);
    switch (nID)
    {
    case COSMControlWorkspaceActions::kMoveToPreviousGroup:
        MoveItem(pItem, GetWorkspace(nIndex - 1), kDropOnGroup);
        break;
    case COSMControlWorkspaceActions::kMoveToNextGroup:
        MoveItem(pItem, GetWorkspace(nIndex + 1), kDropOnGroup);
        break;
    case COSMControlWorkspaceActions::kNewHorizontalGroup:
        MoveItem(pItem, pWorkspace, kDropNewGroupBelow);
        break;
    case COSMControlWorkspaceActions::kNewVerticalGroup:
        MoveItem(pItem, pWorkspace, kDropNewGroupBeside);
        break;
    default:
        break;
    }
}
