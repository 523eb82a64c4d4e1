#include "framework/tabs/TabClientWnd.h"

#include <algorithm>
#include <utility>

#include "classlib/CmdUI.h"
#include "classlib/ScopedHandle.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/foundation/BufferDC.h"
#include "framework/tabs/TabWorkspaceStripWnd.h"

IMPLEMENT_DYNAMIC(COSMTabClientWnd, CWnd)

namespace {

// Runs the client window's layout under its lock and restores the lock as it was.
class ClientLayoutLock
{
public:
    explicit ClientLayoutLock(COSMTabClientWnd* pClient) : m_pClient(pClient), m_bWasLocked(pClient->IsLocked())
    {
        m_pClient->Lock();
    }
    ~ClientLayoutLock()
    {
        if (!m_bWasLocked)
            m_pClient->Unlock();
    }
    ClientLayoutLock(const ClientLayoutLock&) = delete;
    ClientLayoutLock& operator=(const ClientLayoutLock&) = delete;

private:
    COSMTabClientWnd* m_pClient;
    BOOL m_bWasLocked;
};

// The small icon of an MDI child: its own, else its class's small icon, else its class's icon.
HICON ChildSmallIcon(HWND hWnd)
{
    HICON hIcon = reinterpret_cast<HICON>(::SendMessageA(hWnd, WM_GETICON, ICON_SMALL, 0));
    if (!hIcon)
        hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(hWnd, GCLP_HICONSM));
    if (!hIcon)
        hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(hWnd, GCLP_HICON));
    return hIcon;
}

CString ChildTitle(HWND hWnd)
{
    const int nLength = ::GetWindowTextLengthA(hWnd);
    std::vector<char> text(static_cast<size_t>(nLength) + 1, '\0');
    ::GetWindowTextA(hWnd, text.data(), nLength + 1);
    return CString(text.data());
}

}  // namespace

COSMTabClientWnd::COSMTabClientWnd()
{
    m_hCursorSplitVertical = ::LoadCursor(nullptr, IDC_SIZEWE);
    m_hCursorSplitHorizontal = ::LoadCursor(nullptr, IDC_SIZENS);
    m_hCursorDrop = ::LoadCursor(nullptr, IDC_ARROW);
    m_hCursorNoDrop = ::LoadCursor(nullptr, IDC_NO);
}

COSMTabClientWnd::~COSMTabClientWnd()
{
    if (m_hWnd)
        Detach();
    DeleteWorkspaces();
}

BOOL COSMTabClientWnd::Attach(CMDIFrameWnd* frame, BOOL bEnableGrouping)
{
    if (!frame || !frame->m_hWndMDIClient || CWnd::FromHandlePermanent(frame->m_hWndMDIClient))
        return FALSE;
    if (!SubclassWindow(frame->m_hWndMDIClient))
        return FALSE;
    m_pFrame = frame;
    m_bEnableGrouping = bEnableGrouping;
    if (m_bEnableGrouping)
    {
        CreateWorkspace(0);
        // The groups fill the client exactly: the client scrolls nothing.
        ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0, SWP_FRAMECHANGED);
    }
    else
    {
        m_pStripWnd = new COSMTabWorkspaceStripWnd;
        if (!m_pStripWnd->Create(this, frame->GetSafeHwnd()))
        {
            delete m_pStripWnd;
            m_pStripWnd = nullptr;
        }
        else
        {
            SetSingleStrip(nullptr);
        }
    }
    SyncItems();
    frame->RecalcLayout();
    return TRUE;
}

void COSMTabClientWnd::Detach()
{
    DeleteWorkspaces();
    if (m_pStripWnd)
    {
        m_pStripWnd->DestroyWindow();
        delete m_pStripWnd;
        m_pStripWnd = nullptr;
    }
    m_pSingleStrip = nullptr;
    if (m_hWnd)
        UnsubclassWindow();
    if (m_pFrame && m_pFrame->GetSafeHwnd())
        m_pFrame->RecalcLayout();
    m_pFrame = nullptr;
}

void COSMTabClientWnd::DeleteWorkspaces()
{
    std::vector<COSMTabWorkspace*> workspaces;
    workspaces.swap(m_arrWorkspaces);
    m_pActiveWorkspace = nullptr;
    for (COSMTabWorkspace* pWorkspace : workspaces)
    {
        m_paintManager.RemoveClient(pWorkspace);
        pWorkspace->SetOwner(nullptr);
        // Groups are the client's own; a strip belongs to its window or its control.
        if (pWorkspace != m_pSingleStrip)
            delete pWorkspace;
    }
}

void COSMTabClientWnd::SetCommandBars(COSMCommandBars* pCommandBars)
{
    m_pCommandBars = pCommandBars;
    UpdateContents(TRUE);
}

void COSMTabClientWnd::SetSingleStrip(COSMTabWorkspace* pStrip)
{
    if (m_bEnableGrouping)
        return;
    if (!pStrip && m_pStripWnd)
        pStrip = m_pStripWnd->GetWorkspace();
    if (pStrip == m_pSingleStrip)
        return;
    // The tabs change strips under the lock: no layout may find the children without tabs meanwhile.
    const BOOL bWasLocked = m_bLocked;
    m_bLocked = TRUE;
    std::vector<RefPtr<COSMTabManagerItem>> items;
    if (m_pSingleStrip)
    {
        // The tabs move along to the new strip (or go, when there is none).
        for (int i = 0; i < m_pSingleStrip->GetItemCount(); i++)
            items.push_back(RetainRef(m_pSingleStrip->GetItem(i)));
        m_pSingleStrip->DeleteAllItems();
        m_paintManager.RemoveClient(m_pSingleStrip);
        m_pSingleStrip->SetOwner(nullptr);
    }
    m_arrWorkspaces.clear();
    m_pSingleStrip = pStrip;
    m_pActiveWorkspace = pStrip;
    if (pStrip)
    {
        pStrip->SetOwner(this);
        pStrip->SetCloseOnTabsMode(m_nCloseOnTabsMode);
        m_paintManager.AddClient(pStrip);
        m_arrWorkspaces.push_back(pStrip);
        for (RefPtr<COSMTabManagerItem>& pItem : items)
            pStrip->InsertItem(-1, std::move(pItem));
    }
    items.clear();
    m_bLocked = bWasLocked;
    if (m_pStripWnd)
        m_pStripWnd->ShowWindow(pStrip == m_pStripWnd->GetWorkspace() ? SW_SHOWNA : SW_HIDE);
    if (m_pFrame && m_pFrame->GetSafeHwnd())
        m_pFrame->RecalcLayout();
    UpdateContents(FALSE);
}

void COSMTabClientWnd::OnSingleStripRemoved(COSMTabWorkspace* pStrip)
{
    if (!pStrip || pStrip != m_pSingleStrip)
        return;
    m_paintManager.RemoveClient(pStrip);
    pStrip->SetOwner(nullptr);
    m_pSingleStrip = nullptr;
    m_pActiveWorkspace = nullptr;
    m_arrWorkspaces.clear();
}

COSMTabWorkspace* COSMTabClientWnd::GetWorkspace(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetWorkspaceCount() ? m_arrWorkspaces[nIndex] : nullptr;
}

int COSMTabClientWnd::FindWorkspace(const COSMTabWorkspace* pWorkspace) const
{
    for (int i = 0; i < GetWorkspaceCount(); i++)
        if (m_arrWorkspaces[i] == pWorkspace)
            return i;
    return -1;
}

COSMTabManagerItem* COSMTabClientWnd::FindItem(HWND hWndChild) const
{
    for (COSMTabWorkspace* pWorkspace : m_arrWorkspaces)
        if (COSMTabManagerItem* pItem = pWorkspace->FindItem(hWndChild))
            return pItem;
    return nullptr;
}

void COSMTabClientWnd::SetActiveWorkspace(COSMTabWorkspace* pWorkspace)
{
    if (pWorkspace == m_pActiveWorkspace)
        return;
    if (m_pActiveWorkspace)
        m_pActiveWorkspace->SetActive(FALSE);
    m_pActiveWorkspace = pWorkspace;
    if (pWorkspace)
        pWorkspace->SetActive(TRUE);
}

COSMTabWorkspace* COSMTabClientWnd::CreateWorkspace(int nIndex)
{
    auto* pWorkspace = new COSMTabWorkspace;
    pWorkspace->SetOwner(this);
    pWorkspace->SetWindow(m_hWnd);
    pWorkspace->SetCloseOnTabsMode(m_nCloseOnTabsMode);
    pWorkspace->SetActive(FALSE);
    m_paintManager.AddClient(pWorkspace);
    nIndex = std::max(0, std::min(nIndex, GetWorkspaceCount()));
    m_arrWorkspaces.insert(m_arrWorkspaces.begin() + nIndex, pWorkspace);
    if (!m_pActiveWorkspace)
        SetActiveWorkspace(pWorkspace);
    return pWorkspace;
}

void COSMTabClientWnd::RemoveWorkspace(int nIndex)
{
    COSMTabWorkspace* pWorkspace = GetWorkspace(nIndex);
    if (!pWorkspace || GetWorkspaceCount() < 2)
        return;
    // Its room goes to the group before it (after it, for the first).
    COSMTabWorkspace* pHeir = GetWorkspace(nIndex > 0 ? nIndex - 1 : 1);
    pHeir->SetProportion(pHeir->GetProportion() + std::max(0.0, pWorkspace->GetProportion()) + m_nSplitterWidth);
    m_arrWorkspaces.erase(m_arrWorkspaces.begin() + nIndex);
    if (m_pActiveWorkspace == pWorkspace)
    {
        m_pActiveWorkspace = nullptr;
        SetActiveWorkspace(pHeir);
    }
    m_paintManager.RemoveClient(pWorkspace);
    pWorkspace->SetOwner(nullptr);
    delete pWorkspace;
}

void COSMTabClientWnd::RemoveEmptyGroups()
{
    for (int i = GetWorkspaceCount() - 1; i >= 0 && GetWorkspaceCount() > 1; i--)
        if (m_arrWorkspaces[i]->GetItemCount() == 0 && m_arrWorkspaces[i] != m_pDragSource)
            RemoveWorkspace(i);
}

void COSMTabClientWnd::SetCloseOnTabsMode(int nMode)
{
    m_nCloseOnTabsMode = nMode;
    for (COSMTabWorkspace* pWorkspace : m_arrWorkspaces)
        pWorkspace->SetCloseOnTabsMode(nMode);
}

void COSMTabClientWnd::SetSplitterCursors(HCURSOR hVertical, HCURSOR hHorizontal)
{
    m_hCursorSplitVertical = hVertical;
    m_hCursorSplitHorizontal = hHorizontal;
}

void COSMTabClientWnd::SetDropCursors(HCURSOR hDrop, HCURSOR hNoDrop)
{
    m_hCursorDrop = hDrop;
    m_hCursorNoDrop = hNoDrop;
}

void COSMTabClientWnd::SetRedrawSuppression(BOOL bFirst, BOOL bSecond)
{
    m_bRedrawFlag1 = bFirst;
    m_bRedrawFlag2 = bSecond;
}

void COSMTabClientWnd::MDIActivate(HWND hWndChild)
{
    if (!hWndChild || !::IsWindow(hWndChild))
        return;
    ::SendMessageA(m_hWnd, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWndChild), 0);
    if (::IsIconic(hWndChild))
        ::SendMessageA(hWndChild, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void COSMTabClientWnd::ActivateItem(COSMTabManagerItem* pItem)
{
    if (!pItem || !pItem->GetHandle() || !::IsWindow(pItem->GetHandle()))
        return;
    HWND hWndChild = pItem->GetHandle();
    MDIActivate(hWndChild);
    // The focus goes to the child unless it is there already, or in a window the child owns.
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus == hWndChild || (hWndFocus && ::IsChild(hWndChild, hWndFocus)))
        return;
    if (hWndFocus)
    {
        HWND hWndOwner = ::GetWindow(hWndFocus, GW_OWNER);
        if (!hWndOwner)
            hWndOwner = ::GetParent(hWndFocus);
        if (hWndOwner && (hWndOwner == hWndChild || ::IsChild(hWndChild, hWndOwner)))
            return;
    }
    ::SetFocus(hWndChild);
}

void COSMTabClientWnd::CloseItem(COSMTabManagerItem* pItem)
{
    HWND hWndChild = pItem ? pItem->GetHandle() : nullptr;
    if (!hWndChild || !::IsWindow(hWndChild))
        return;
    ::PostMessageA(m_hWnd, WM_IDLEUPDATECMDUI, 0, 0);
    ::SendMessageA(hWndChild, WM_CLOSE, 0, 0);
}

DWORD_PTR COSMTabClientWnd::GetItemData(const COSMTabManagerItem* pItem) const
{
    return pItem->GetData();
}

COLORREF COSMTabClientWnd::GetItemColor(const COSMTabManagerItem* /*pItem*/) const
{
    return static_cast<COLORREF>(-1);
}

CString COSMTabClientWnd::GetItemTooltip(const COSMTabManagerItem* pItem) const
{
    return pItem->GetTooltipText();
}

CPoint COSMTabClientWnd::ScreenToWorkspace(CPoint pt) const
{
    HWND hWnd = m_hWnd;
    if (!m_bEnableGrouping && m_pSingleStrip && m_pSingleStrip->GetWindow())
        hWnd = m_pSingleStrip->GetWindow();
    ::ScreenToClient(hWnd, &pt);
    return pt;
}

void COSMTabClientWnd::OnGroupLayoutRequest()
{
    if (m_bLocked)
        m_bLayoutPending = TRUE;
    else
        UpdateContents(FALSE);
}

void COSMTabClientWnd::UpdateContents(BOOL bRecalcFrame)
{
    if (!m_pCommandBars || m_bRefreshing || !m_hWnd)
        return;
    m_bRefreshing = TRUE;
    RecalcLayout();
    if (!m_arrWorkspaces.empty())
    {
        CPoint pt;
        ::GetCursorPos(&pt);
        pt = ScreenToWorkspace(pt);
        for (COSMTabWorkspace* pWorkspace : m_arrWorkspaces)
            if (pWorkspace->GetWindow())
                pWorkspace->OnMouseMove(pWorkspace->GetWindow(), pt);
    }
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    if (m_pSingleStrip && m_pSingleStrip->GetWindow() && m_pSingleStrip->GetWindow() != m_hWnd)
        m_pSingleStrip->RedrawTabs(nullptr, FALSE);
    if (bRecalcFrame)
    {
        if (m_bEnableGrouping)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_pCommandBars->RecalcFrameLayout();
    }
    m_bRefreshing = FALSE;
}

std::vector<HWND> COSMTabClientWnd::GetChildren() const
{
    // Bottom of the z-order first: for children made before the workspace came, that is their creation order.
    std::vector<HWND> children;
    for (HWND hWnd = ::GetWindow(m_hWnd, GW_CHILD); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        if (::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_MDICHILD)
            children.push_back(hWnd);
    std::reverse(children.begin(), children.end());
    return children;
}

void COSMTabClientWnd::StripChildFrame(HWND hWndChild) const
{
    const LONG lStyle = ::GetWindowLongA(hWndChild, GWL_STYLE);
    const LONG lNewStyle = lStyle & ~(WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    const LONG lExStyle = ::GetWindowLongA(hWndChild, GWL_EXSTYLE);
    const LONG lNewExStyle = lExStyle & ~WS_EX_CLIENTEDGE;
    if (lStyle == lNewStyle && lExStyle == lNewExStyle)
        return;
    ::SetWindowLongA(hWndChild, GWL_STYLE, lNewStyle);
    ::SetWindowLongA(hWndChild, GWL_EXSTYLE, lNewExStyle);
    ::SetWindowPos(hWndChild, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void COSMTabClientWnd::SyncItems()
{
    if (!m_hWnd || m_arrWorkspaces.empty())
        return;
    ClientLayoutLock lock(this);
    const std::vector<HWND> children = GetChildren();

    // Tabs whose window is gone go.
    for (COSMTabWorkspace* pWorkspace : m_arrWorkspaces)
    {
        for (int i = pWorkspace->GetItemCount() - 1; i >= 0; i--)
        {
            HWND hWnd = pWorkspace->GetItem(i)->GetHandle();
            if (!::IsWindow(hWnd) || ::GetParent(hWnd) != m_hWnd)
                pWorkspace->DeleteItem(i);
        }
    }
    // A child without a tab gets one at the end of the active group.
    COSMTabWorkspace* pTarget = m_pActiveWorkspace ? m_pActiveWorkspace : m_arrWorkspaces[0];
    for (HWND hWnd : children)
    {
        if (FindItem(hWnd))
            continue;
        COSMTabManagerItem* pItem = pTarget->InsertItem(-1);
        pItem->SetHandle(hWnd);
        if (m_bEnableGrouping)
            StripChildFrame(hWnd);
    }
    // Captions, tooltips and icons follow the children.
    for (COSMTabWorkspace* pWorkspace : m_arrWorkspaces)
    {
        for (int i = 0; i < pWorkspace->GetItemCount(); i++)
        {
            COSMTabManagerItem* pItem = pWorkspace->GetItem(i);
            const CString strTitle = ChildTitle(pItem->GetHandle());
            if (pItem->GetCaptionText() != strTitle)
                pItem->SetCaption(strTitle);
            pItem->SetTooltip(strTitle);
            pItem->SetData(reinterpret_cast<DWORD_PTR>(ChildSmallIcon(pItem->GetHandle())));
        }
    }
    if (m_bEnableGrouping)
        RemoveEmptyGroups();

    // The active child's tab is the selected one of its group, and its group the active one.
    HWND hWndActive = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, WM_MDIGETACTIVE, 0, 0));
    if (COSMTabManagerItem* pActive = hWndActive ? FindItem(hWndActive) : nullptr)
    {
        auto* pWorkspace = static_cast<COSMTabWorkspace*>(pActive->GetTabManager());
        pWorkspace->SetSelectedItem(pActive);
        SetActiveWorkspace(pWorkspace);
    }
    for (COSMTabWorkspace* pWorkspace : m_arrWorkspaces)
        if (!pWorkspace->GetSelectedItem() && pWorkspace->GetItemCount() > 0)
            pWorkspace->SetCurSel(0);
}

void COSMTabClientWnd::RecalcLayout()
{
    if (!m_hWnd)
        return;
    {
        ClientLayoutLock lock(this);
        SyncItems();
        CClientDC dc(this);
        if (m_bEnableGrouping)
            LayoutGroups(&dc);
        else
            LayoutSingleStrip(&dc);
    }
    m_bLayoutPending = FALSE;
}

int COSMTabClientWnd::GroupExtent(const COSMTabWorkspace* pWorkspace) const
{
    const CRect rc = pWorkspace->GetControlRect();
    return m_nSplitDirection == 0 ? rc.Width() : rc.Height();
}

void COSMTabClientWnd::LayoutGroups(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nCount = GetWorkspaceCount();
    if (nCount == 0)
        return;
    const BOOL bVerticalSplit = m_nSplitDirection == 0;
    const int nExtent = bVerticalSplit ? rcClient.Width() : rcClient.Height();
    const int nRoom = std::max(0, nExtent - (nCount - 1) * m_nSplitterWidth);
    double dTotal = 0;
    for (COSMTabWorkspace* pWorkspace : m_arrWorkspaces)
        dTotal += std::max(0.0, pWorkspace->GetProportion());

    int nPos = bVerticalSplit ? rcClient.left : rcClient.top;
    int nUsed = 0;
    for (int i = 0; i < nCount; i++)
    {
        COSMTabWorkspace* pWorkspace = m_arrWorkspaces[i];
        const BOOL bLast = i == nCount - 1;
        int nSize = 0;
        if (bLast)
            nSize = nRoom - nUsed;
        else if (dTotal > 0)
            nSize = static_cast<int>(nRoom * std::max(0.0, pWorkspace->GetProportion()) / dTotal);
        else
            nSize = nRoom / nCount;
        nSize = std::max(0, std::min(nSize, nRoom - nUsed));
        nUsed += nSize;

        CRect rcGroup = rcClient;
        CRect rcSplitter(0, 0, 0, 0);
        if (bVerticalSplit)
        {
            rcGroup.left = nPos;
            rcGroup.right = nPos + nSize;
            if (!bLast)
                rcSplitter.SetRect(rcGroup.right, rcClient.top, rcGroup.right + m_nSplitterWidth, rcClient.bottom);
        }
        else
        {
            rcGroup.top = nPos;
            rcGroup.bottom = nPos + nSize;
            if (!bLast)
                rcSplitter.SetRect(rcClient.left, rcGroup.bottom, rcClient.right, rcGroup.bottom + m_nSplitterWidth);
        }
        nPos += nSize + (bLast ? 0 : m_nSplitterWidth);
        pWorkspace->SetSplitterRect(rcSplitter);
        pWorkspace->SetWindow(m_hWnd);
        m_paintManager.RepositionTabControl(pWorkspace, pDC, rcGroup);

        // The group's children fill its client area; its selected tab's child lies on top.
        CRect rcChildren = pWorkspace->GetClientRect();
        rcChildren.NormalizeRect();
        for (int j = 0; j < pWorkspace->GetItemCount(); j++)
        {
            HWND hWndChild = pWorkspace->GetItem(j)->GetHandle();
            if (!::IsWindow(hWndChild))
                continue;
            CRect rcNow;
            ::GetWindowRect(hWndChild, &rcNow);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rcNow), 2);
            if (rcNow != rcChildren)
                ::SetWindowPos(hWndChild, nullptr, rcChildren.left, rcChildren.top, rcChildren.Width(),
                               rcChildren.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (COSMTabManagerItem* pSelected = pWorkspace->GetSelectedItem())
        {
            HWND hWndSelected = pSelected->GetHandle();
            if (::IsWindow(hWndSelected) && !::IsIconic(hWndSelected))
                ::SetWindowPos(hWndSelected, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

void COSMTabClientWnd::LayoutSingleStrip(CDC* pDC)
{
    if (!m_pSingleStrip)
        return;
    // A bar's control lays its strip out in its own rectangle.
    if (!m_pStripWnd || m_pSingleStrip != m_pStripWnd->GetWorkspace())
    {
        m_pSingleStrip->OnStripRectChanged();
        return;
    }
    CRect rcStrip;
    m_pStripWnd->GetClientRect(&rcStrip);
    m_paintManager.RepositionTabControl(m_pSingleStrip, pDC, rcStrip);
    // The client keeps the strip's client area.
    CRect rcClient = m_pSingleStrip->GetClientRect();
    rcClient.NormalizeRect();
    ::MapWindowPoints(m_pStripWnd->GetSafeHwnd(), ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&rcClient), 2);
    CRect rcNow;
    ::GetWindowRect(m_hWnd, &rcNow);
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&rcNow), 2);
    if (rcNow == rcClient)
        return;
    m_bPlacingClient = TRUE;
    ::SetWindowPos(m_hWnd, nullptr, rcClient.left, rcClient.top, rcClient.Width(), rcClient.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    m_bPlacingClient = FALSE;
}

BOOL COSMTabClientWnd::OnWindowPosChanging(WINDOWPOS* pPos)
{
    if (m_bEnableGrouping || m_bPlacingClient || !m_pStripWnd || !m_pSingleStrip ||
        m_pSingleStrip != m_pStripWnd->GetWorkspace() ||
        (pPos->flags & (SWP_NOSIZE | SWP_NOMOVE)) == (SWP_NOSIZE | SWP_NOMOVE))
        return FALSE;
    // The rectangle the frame gives the client is the strip's; the client takes the strip's client area.
    CRect rcNow;
    ::GetWindowRect(m_hWnd, &rcNow);
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&rcNow), 2);
    CRect rcGiven(rcNow);
    if (!(pPos->flags & SWP_NOMOVE))
        rcGiven.MoveToXY(pPos->x, pPos->y);
    if (!(pPos->flags & SWP_NOSIZE))
    {
        rcGiven.right = rcGiven.left + pPos->cx;
        rcGiven.bottom = rcGiven.top + pPos->cy;
    }
    else
    {
        rcGiven.right = rcGiven.left + rcNow.Width();
        rcGiven.bottom = rcGiven.top + rcNow.Height();
    }
    ::SetWindowPos(m_pStripWnd->GetSafeHwnd(), HWND_BOTTOM, rcGiven.left, rcGiven.top, rcGiven.Width(),
                   rcGiven.Height(), SWP_NOACTIVATE);
    {
        ClientLayoutLock lock(this);
        CClientDC dc(m_pStripWnd);
        m_paintManager.RepositionTabControl(m_pSingleStrip, &dc, CRect(0, 0, rcGiven.Width(), rcGiven.Height()));
    }
    CRect rcClient = m_pSingleStrip->GetClientRect();
    rcClient.NormalizeRect();
    rcClient.OffsetRect(rcGiven.TopLeft());
    pPos->x = rcClient.left;
    pPos->y = rcClient.top;
    pPos->cx = rcClient.Width();
    pPos->cy = rcClient.Height();
    pPos->flags &= ~(SWP_NOSIZE | SWP_NOMOVE);
    m_pStripWnd->Invalidate(FALSE);
    return TRUE;
}

void COSMTabClientWnd::DrawWorkspace(CDC* pDC, const CRect& rcClient)
{
    pDC->FillSolidRect(rcClient, ::GetSysColor(COLOR_APPWORKSPACE));
    if (!m_bEnableGrouping)
        return;
    COSMTabAppearanceSet* pAppearance = m_paintManager.GetAppearanceSet();
    for (COSMTabWorkspace* pWorkspace : m_arrWorkspaces)
    {
        m_paintManager.DrawTabControl(pWorkspace, pDC, pWorkspace->GetControlRect());
        CRect rcSplitter = pWorkspace->GetSplitterRect();
        if (!rcSplitter.IsRectEmpty())
            pAppearance->DrawWorkspacePart(pDC, rcSplitter,
                                           m_nSplitDirection == 0 ? COSMTabAppearanceSet::kWorkspaceSplitterVertical
                                                                  : COSMTabAppearanceSet::kWorkspaceSplitterHorizontal);
    }
}

BOOL COSMTabClientWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (nID >= COSMControlWorkspaceActions::kMoveToPreviousGroup && nID <= kCancelDrop)
    {
        if (nCode == CN_UPDATE_COMMAND_UI)
        {
            auto* pCmdUI = static_cast<CCmdUI*>(pExtra);
            pCmdUI->Enable(IsWorkspaceActionEnabled(static_cast<int>(nID)));
            return TRUE;
        }
        if (nCode == CN_COMMAND)
        {
            // The cancel entry of the drop menu does nothing.
            if (nID != kCancelDrop && IsWorkspaceActionEnabled(static_cast<int>(nID)))
                OnWorkspaceAction(nID);
            return TRUE;
        }
    }
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT COSMTabClientWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_MDICREATE:
    {
        const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        HWND hWndChild = reinterpret_cast<HWND>(lResult);
        if (m_bEnableGrouping && hWndChild)
        {
            StripChildFrame(hWndChild);
            // Out of sight until the layout places it in its group.
            ::SetWindowPos(hWndChild, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
            ::RedrawWindow(hWndChild, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
        }
        UpdateContents(FALSE);
        return lResult;
    }
    case WM_MDIDESTROY:
    {
        HWND hWndChild = reinterpret_cast<HWND>(wParam);
        COSMTabManagerItem* pItem = FindItem(hWndChild);
        if (pItem && !m_bSuppressNeighbourActivation)
        {
            COSMTabManager* pGroup = pItem->GetTabManager();
            COSMTabManagerItem* pNeighbour = pGroup->GetItem(pItem->GetIndex() + 1);
            if (!pNeighbour)
                pNeighbour = pGroup->GetItem(pItem->GetIndex() - 1);
            HWND hWndNeighbour = pNeighbour ? pNeighbour->GetHandle() : nullptr;
            if (hWndNeighbour && ::IsWindow(hWndNeighbour))
            {
                HWND hWndActive = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, WM_MDIGETACTIVE, 0, 0));
                if (hWndActive == hWndChild)
                    ::SendMessageA(m_hWnd, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWndNeighbour), 0);
                else
                    ::SetWindowPos(hWndNeighbour, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
        }
        const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        UpdateContents(FALSE);
        return lResult;
    }
    case WM_MDIACTIVATE:
    {
        LRESULT lResult = 0;
        if (!m_bEnableGrouping && !m_bRedrawFlag1 && m_bRedrawFlag2)
        {
            ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
            lResult = CWnd::WindowProc(message, wParam, lParam);
            ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
            ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
        }
        else
        {
            lResult = CWnd::WindowProc(message, wParam, lParam);
        }
        UpdateContents(FALSE);
        return lResult;
    }
    case WM_MDINEXT:
    {
        const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        UpdateContents(FALSE);
        return lResult;
    }
    case WM_IDLEUPDATECMDUI:
        m_bMouseFlag1 = m_bMouseFlag2 = FALSE;
        UpdateContents(FALSE);
        return 0;
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
        return CWnd::WindowProc(message, wParam, lParam);
    case WM_SIZE:
    {
        const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        if (m_bEnableGrouping)
            UpdateContents(FALSE);
        return lResult;
    }
    case WM_SETCURSOR:
        if (m_bEnableGrouping && LOWORD(lParam) == HTCLIENT)
        {
            CPoint pt;
            ::GetCursorPos(&pt);
            ScreenToClient(&pt);
            if (HitTestSplitter(pt) >= 0)
            {
                ::SetCursor(m_nSplitDirection == 0 ? m_hCursorSplitVertical : m_hCursorSplitHorizontal);
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetMouseFlags();
        if (m_bEnableGrouping)
        {
            const CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            const int nSplitter = HitTestSplitter(pt);
            if (nSplitter >= 0)
            {
                TrackSplitter(nSplitter, pt);
                return 0;
            }
            for (COSMTabWorkspace* pWorkspace : m_arrWorkspaces)
            {
                if (!pWorkspace->GetControlRect().PtInRect(pt))
                    continue;
                if (pWorkspace != m_pActiveWorkspace && pWorkspace->GetSelectedItem())
                    ActivateItem(pWorkspace->GetSelectedItem());
                // Activation may have laid the groups out anew: the group is asked again.
                if (FindWorkspace(pWorkspace) >= 0)
                    pWorkspace->OnMouseDown(m_hWnd, pt, FALSE);
                return 0;
            }
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
        if (m_bEnableGrouping)
        {
            const CPoint pt = message == WM_MOUSELEAVE
                                  ? CPoint(-1, -1)
                                  : CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            for (COSMTabWorkspace* pWorkspace : m_arrWorkspaces)
                pWorkspace->OnMouseMove(m_hWnd, pt);
            if (message == WM_MOUSELEAVE)
                return 0;
        }
        break;
    case WM_PAINT:
        if (m_bEnableGrouping || m_bOwnDrawing)
        {
            CPaintDC dc(this);
            CRect rcClient;
            GetClientRect(&rcClient);
            COSMBufferDC buffer(dc.GetSafeHdc(), rcClient);
            DrawWorkspace(&buffer, rcClient);
            return 0;
        }
        break;
    case WM_PRINTCLIENT:
        if (m_bEnableGrouping || m_bOwnDrawing)
        {
            CRect rcClient;
            GetClientRect(&rcClient);
            DrawWorkspace(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), rcClient);
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        if (m_bEnableGrouping || m_bOwnDrawing)
            return TRUE;
        break;
    case WM_NCCALCSIZE:
        if (m_bEnableGrouping && lParam)
        {
            auto* pRect = reinterpret_cast<RECT*>(lParam);  // the first rectangle of either form
            CRect rc(*pRect);
            const ScopedWindowDC screen = GetScopedWindowDC(nullptr);
            m_paintManager.GetAppearanceSet()->DrawWorkspacePart(CDC::FromHandle(screen.Get()), rc,
                                                                 COSMTabAppearanceSet::kWorkspaceClient);
            *pRect = rc;
        }
        break;
    case WM_NCHITTEST:
        if (m_bEnableGrouping)
            return HTCLIENT;
        break;
    case WM_NCPAINT:
        if (m_bEnableGrouping)
        {
            CWindowDC dc(this);
            CRect rc;
            GetWindowRect(&rc);
            rc.OffsetRect(-rc.left, -rc.top);
            // The client area is the client's own: the border goes around it.
            CRect rcClient;
            GetClientRect(&rcClient);
            ClientToScreen(&rcClient);
            CRect rcWindow;
            GetWindowRect(&rcWindow);
            rcClient.OffsetRect(-rcWindow.left, -rcWindow.top);
            dc.ExcludeClipRect(rcClient);
            dc.FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
            m_paintManager.GetAppearanceSet()->DrawWorkspacePart(&dc, rc, COSMTabAppearanceSet::kWorkspaceBorder);
            return 0;
        }
        break;
    case WM_SYSCOLORCHANGE:
    {
        const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        m_paintManager.RefreshMetrics();
        UpdateContents(TRUE);
        return lResult;
    }
    case WM_NCDESTROY:
    {
        // The frame goes with its client: the groups and the strip go too.
        DeleteWorkspaces();
        m_pSingleStrip = nullptr;
        const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        if (m_pStripWnd)
        {
            if (m_pStripWnd->GetSafeHwnd())
                m_pStripWnd->DestroyWindow();
            delete m_pStripWnd;
            m_pStripWnd = nullptr;
        }
        return lResult;
    }
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
