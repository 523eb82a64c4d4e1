// COSMTabClientWnd: the MDI tab workspace. It becomes the window object of a frame's MDI client and shows the frame's
// child windows as tabs: without grouping in one strip, a window beside the client that takes the rectangle the frame
// gives the client and leaves the client the strip's client area (the children keep their frames); with grouping in
// groups (COSMTabWorkspace) side by side or one above the other inside the client, with splitters between them, the
// children without frames filling their group. The user opens, fills and empties groups by dragging tabs, resizes
// them with the splitters and rearranges them with the workspace commands 9155 to 9158:
//
//   COSMTabClientWnd workspace;
//   workspace.Attach(&frame, TRUE);           // subclasses frame.m_hWndMDIClient; TRUE: groups
//   workspace.SetCommandBars(commandBars);    // nothing is laid out before the manager is known
//   // the frame's OnCmdMsg asks workspace.OnCmdMsg first, so that 9155-9158 reach it
#pragma once

#include <vector>

#include "classlib/MDIFrameWnd.h"
#include "classlib/Object.h"
#include "classlib/ScopedHandle.h"
#include "classlib/Wnd.h"
#include "framework/controls/ControlWorkspaceActions.h"
#include "framework/tabs/TabPaintManager.h"
#include "framework/tabs/TabWorkspace.h"

class COSMCommandBars;
class COSMTabWorkspaceStripWnd;

class COSMTabClientWnd : public CWnd, public COSMWorkspaceActionSource
{
    DECLARE_DYNAMIC(COSMTabClientWnd)

public:
    // The drop modes of a dragged tab.
    enum
    {
        kDropNone = 0,
        kDropInClient = 1,
        kDropOnGroup = 2,
        kDropNewGroupBelow = 3,
        kDropNewGroupBeside = 4,
    };
    static constexpr UINT kCancelDrop = 9159;
    // A drop within this many pixels of a group's bottom or right edge opens a new group there.
    static constexpr int kNewGroupMargin = 30;

    COSMTabClientWnd();
    ~COSMTabClientWnd() override;

    // Becomes the window object of the frame's MDI client and makes tabs for the children already there; FALSE when
    // the frame has no client or the client has a window object already.
    BOOL Attach(CMDIFrameWnd* frame, BOOL bEnableGrouping = FALSE);
    using CWnd::Attach;
    // Gives the client back to the system: groups and strip go, the children keep what they have.
    void Detach();
    using CWnd::Detach;
    void SetCommandBars(COSMCommandBars* pCommandBars);
    COSMCommandBars* GetCommandBars() const { return m_pCommandBars; }

    // The groups.
    int GetWorkspaceCount() const { return static_cast<int>(m_arrWorkspaces.size()); }
    COSMTabWorkspace* GetWorkspace(int nIndex) const;
    int FindWorkspace(const COSMTabWorkspace* pWorkspace) const;
    COSMTabManagerItem* FindItem(HWND hWndChild) const;
    COSMTabWorkspace* GetActiveWorkspace() const { return m_pActiveWorkspace; }
    void SetActiveWorkspace(COSMTabWorkspace* pWorkspace);
    // Activates the child (restoring it when minimized).
    void MDIActivate(HWND hWndChild);
    // A screen point in the coordinates of the groups' window.
    CPoint ScreenToWorkspace(CPoint pt) const;
    // Lays the groups out again and repaints; with bRecalcFrame the frame lays out too.
    void UpdateContents(BOOL bRecalcFrame = FALSE);

    // The workspace commands.
    BOOL IsWorkspaceActionEnabled(int id) override;
    BOOL IsWorkspaceActionEnabled(int id, COSMTabManagerItem** ppItem);
    void OnWorkspaceAction(UINT nID);
    // Moves the item into the target group (mode 2) or into a new group after the target (3 below, 4 beside).
    void MoveItem(COSMTabManagerItem* pItem, COSMTabWorkspace* pTarget, int nMode);
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

    // Settings.
    BOOL IsGroupingEnabled() const { return m_bEnableGrouping; }
    int GetSplitDirection() const { return m_nSplitDirection; }
    void SetSplitDirection(int nDirection) { m_nSplitDirection = nDirection; }
    int GetSplitterWidth() const { return m_nSplitterWidth; }
    void SetSplitterWidth(int nWidth) { m_nSplitterWidth = nWidth < 0 ? 0 : nWidth; }
    BOOL IsLiveSplitter() const { return m_bLiveSplitter; }
    void SetLiveSplitter(BOOL bLive) { m_bLiveSplitter = bLive; }
    BOOL IsOwnDrawing() const { return m_bOwnDrawing; }
    void SetOwnDrawing(BOOL bOwnDrawing) { m_bOwnDrawing = bOwnDrawing; }
    BOOL IsAllowReorder() const { return m_bAllowReorder; }
    void SetAllowReorder(BOOL bAllow) { m_bAllowReorder = bAllow; }
    // The two flags that decide whether activation suppresses redrawing without grouping: it does when the first
    // is clear and the second set.
    void SetRedrawSuppression(BOOL bFirst, BOOL bSecond);
    BOOL IsNeighbourActivationSuppressed() const { return m_bSuppressNeighbourActivation; }
    void SuppressNeighbourActivation(BOOL bSuppress) { m_bSuppressNeighbourActivation = bSuppress; }
    // The close buttons of the tabs (COSMTabManager's close-on-tabs modes), for every group.
    void SetCloseOnTabsMode(int nMode);
    int GetCloseOnTabsMode() const { return m_nCloseOnTabsMode; }
    void SetSplitterCursors(HCURSOR hVertical, HCURSOR hHorizontal);
    void SetDropCursors(HCURSOR hDrop, HCURSOR hNoDrop);
    COSMTabPaintManager* GetPaintManager() { return &m_paintManager; }
    COSMMarkupContext* GetMarkupContext() const { return m_pMarkupContext; }
    void SetMarkupContext(COSMMarkupContext* pContext) { m_pMarkupContext = pContext; }
    BOOL IsLocked() const { return m_bLocked; }
    // The strip window without grouping (null with grouping or while a bar's control serves as the strip).
    COSMTabWorkspaceStripWnd* GetStripWindow() const { return m_pStripWnd; }
    // A command-bar control's strip serves as the single strip (null: the own strip window again).
    void SetSingleStrip(COSMTabWorkspace* pStrip);
    // The control's strip leaves its bar.
    void OnSingleStripRemoved(COSMTabWorkspace* pStrip);
    // The drop of the drag that ended last (for the owner of the frame and the tests).
    int GetLastDropMode() const { return m_nLastDropMode; }

    // For the groups' own use.
    void OnGroupLayoutRequest();
    DWORD_PTR GetItemData(const COSMTabManagerItem* pItem) const;
    COLORREF GetItemColor(const COSMTabManagerItem* pItem) const;
    CString GetItemTooltip(const COSMTabManagerItem* pItem) const;
    BOOL OnBeforeItemClick(const COSMTabManagerItem*) const { return TRUE; }
    void ActivateItem(COSMTabManagerItem* pItem);
    // The drag of a tab (the group runs the loop): FALSE from BeginTabDrag when the tab is only activated;
    // OnTabDragMove answers TRUE when the point lies in the group's header (the tabs swap there).
    BOOL BeginTabDrag(COSMTabWorkspace* pWorkspace, COSMTabManagerItem* pItem);
    BOOL OnTabDragMove(COSMTabWorkspace* pWorkspace, COSMTabManagerItem* pItem, CPoint pt);
    void EndTabDrag(COSMTabWorkspace* pWorkspace, COSMTabManagerItem* pItem, HWND hWnd, CPoint pt, BOOL bDropped);
    void CloseItem(COSMTabManagerItem* pItem);
    // Set on every button press in the client or a strip.
    void SetMouseFlags() { m_bMouseFlag1 = m_bMouseFlag2 = TRUE; }
    void Lock() { m_bLocked = TRUE; }
    void Unlock() { m_bLocked = FALSE; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override {}

    // Layout.
    void RecalcLayout();
    void SyncItems();
    void LayoutGroups(CDC* pDC);
    void LayoutSingleStrip(CDC* pDC);
    void RemoveEmptyGroups();
    void RemoveWorkspace(int nIndex);
    COSMTabWorkspace* CreateWorkspace(int nIndex);
    void StripChildFrame(HWND hWndChild) const;
    std::vector<HWND> GetChildren() const;
    BOOL OnWindowPosChanging(WINDOWPOS* pPos);

    // Painting.
    void DrawWorkspace(CDC* pDC, const CRect& rcClient);

    // The splitter.
    int HitTestSplitter(CPoint pt) const;
    void TrackSplitter(int nIndex, CPoint pt);
    void MoveSplitter(int nIndex, const CRect& rcLimits, CPoint pt);
    void SetProportionsToPixels();
    int GroupExtent(const COSMTabWorkspace* pWorkspace) const;

    // The drag's drop target.
    void UpdateDropTarget(COSMTabWorkspace* pSource, COSMTabManagerItem* pItem, CPoint pt);
    void DrawDropTracker(const CRect& rc);
    void EndDropTracker();
    void ShowDropMenu(CPoint ptScreen);

    void DeleteWorkspaces();

    COSMCommandBars* m_pCommandBars = nullptr;
    CMDIFrameWnd* m_pFrame = nullptr;
    BOOL m_bLocked = FALSE;
    BOOL m_bLayoutPending = FALSE;
    BOOL m_bMouseFlag1 = FALSE;
    BOOL m_bMouseFlag2 = FALSE;
    std::vector<COSMTabWorkspace*> m_arrWorkspaces;
    COSMTabWorkspace* m_pActiveWorkspace = nullptr;
    int m_nSplitDirection = 0;
    HCURSOR m_hCursorSplitVertical = nullptr;
    HCURSOR m_hCursorSplitHorizontal = nullptr;
    HCURSOR m_hCursorDrop = nullptr;
    HCURSOR m_hCursorNoDrop = nullptr;
    BOOL m_bEnableGrouping = FALSE;
    BOOL m_bOwnDrawing = FALSE;
    BOOL m_bRefreshing = FALSE;
    BOOL m_bSuppressNeighbourActivation = FALSE;
    COSMTabPaintManager m_paintManager;
    BOOL m_bAllowReorder = TRUE;
    COSMMarkupContext* m_pMarkupContext = nullptr;
    int m_nSplitterWidth = 4;
    BOOL m_bLiveSplitter = TRUE;
    BOOL m_bRedrawFlag1 = FALSE;
    BOOL m_bRedrawFlag2 = FALSE;
    int m_nCloseOnTabsMode = 0;

    // The drag target.
    COSMTabWorkspace* m_pDropTarget = nullptr;
    int m_nDropMode = kDropNone;
    int m_nLastDropMode = kDropNone;
    CRect m_rcTracker{0, 0, 0, 0};
    CRect m_rcTrackerLast{0, 0, 0, 0};
    ScopedWindowDC m_trackerDC;  // the desktop's, while the drop tracker shows
    BOOL m_bTrackerLocked = FALSE;
    BOOL m_bTrackerStarted = FALSE;
    // The group a tab is dragged from: it stays even when it empties meanwhile.
    COSMTabWorkspace* m_pDragSource = nullptr;

    // Without grouping: the own strip window, or a bar's control strip.
    COSMTabWorkspaceStripWnd* m_pStripWnd = nullptr;
    COSMTabWorkspace* m_pSingleStrip = nullptr;
    // Placing the client ourselves: its WM_WINDOWPOSCHANGING keeps the rectangle.
    BOOL m_bPlacingClient = FALSE;
};
