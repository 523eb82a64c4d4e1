// The ribbon's three popup toolbars: the tab popup of a minimized ribbon, the popup of a reduced group, and the
// "more" popup of the quick-access controls that do not fit.
#include "framework/ribbon/RibbonPopupToolBars.h"

#include "classlib/GuardedCallbacks.h"
#include "classlib/ThreadLocal.h"
#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/ToolTipContext.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/ribbon/RibbonLayoutDC.h"
#include "framework/ribbon/RibbonTab.h"
#include "framework/ribbon/RibbonPaintManager.h"

#include <algorithm>
#include <map>

IMPLEMENT_SERIAL(COSMRibbonTabPopupToolBar, COSMPopupToolBar, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonGroupPopupToolBar, COSMPopupToolBar, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonBarMorePopupToolBar, COSMPopupToolBar, VERSIONABLE_SCHEMA | 0x23)

BEGIN_MESSAGE_MAP(COSMRibbonTabPopupToolBar, COSMPopupToolBar)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(COSMRibbonGroupPopupToolBar, COSMPopupToolBar)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace {

// Names the group popup's timer procedure in reports of what it threw.
constexpr char kDropCopyTimerName[] = "ribbon group popup copy timer";

// A popup that shows ribbon content stays open while the mouse moves over it and does not select on hover.
constexpr DWORD kRibbonPopupFlags = 0x200000;

// The margins of a tab's groups inside the tab popup.
const CRect kTabPopupMargins(4, 3, 6, 3);

// Whether the bar may show a hot group now: its window's top-level parent is active, no popup of its own is open
// above it, and the mouse manager does not hold it locked.
BOOL MayTrackHotGroup(COSMCommandBar* bar)
{
    COSMMouseManager* mouseManager = bar->GetMouseManager();
    if (mouseManager)
    {
        COSMCommandBar* top = mouseManager->GetTopTrackedBar();
        if ((top && top != bar) || mouseManager->IsTrackActive(bar))
            return FALSE;
    }
    CWnd* site = bar->GetSite();
    const HWND top = site && site->GetSafeHwnd() ? ::GetAncestor(site->GetSafeHwnd(), GA_ROOT) : nullptr;
    if (!top || ::GetActiveWindow() != top)
        return FALSE;
    return bar->GetPopupedIndex() == -1;
}

// A change of hot group in a popup: redrawn through the scroller, and the leave watched.
void UpdateHotGroup(COSMCommandBar* bar, COSMRibbonGroupsScroller* scroller, COSMRibbonGroup* hot)
{
    if (hot == scroller->GetHotGroup())
        return;
    scroller->SetHotGroup(hot);
    if (hot)
        if (COSMMouseManager* mouseManager = bar->GetMouseManager())
            mouseManager->TrackMouseLeave(bar->GetSafeHwnd());
}

BOOL IsHotTrackingGroups(const COSMRibbonBar* ribbon)
{
    COSMRibbonPaintManager* painter = ribbon ? ribbon->GetRibbonPaintManager() : nullptr;
    return painter && painter->IsHotTrackingGroups();
}

}  // namespace

// ---- The tab popup ----

// The tab popup's scroller: it scrolls the tab copy's groups and answers from the popup's groups rectangle.
class COSMRibbonTabPopupToolBar::Scroller : public COSMRibbonGroupsScroller
{
public:
    explicit Scroller(COSMRibbonTabPopupToolBar* popup) : COSMRibbonGroupsScroller(popup), m_popup(popup) {}

    void ScrollGroups(BOOL left) override
    {
        if (COSMCommandBars* commandBars = m_popup->GetCommandBars())
            commandBars->HideKeyboardTips();
        m_popup->SetPopuped(-1);
        COSMRibbonTab* tab = m_popup->GetTabCopy();
        if (!tab)
            return;
        const int position = tab->GetGroups()->GetScrollPos();
        const int next = left ? std::max(0, position - kScrollStep) : position + kScrollStep;
        if (next == m_scrollOffset)
            return;
        m_scrollOffset = next;
        m_popup->OnRecalcLayout();
    }
    CRect GetGroupsRect() const override { return m_popup->GetGroupsRect(); }
    COSMRibbonGroup* HitTestGroup(CPoint point) const override
    {
        COSMRibbonTab* tab = m_popup->GetTabCopy();
        if (!tab || !m_popup->GetGroupsRect().PtInRect(point))
            return nullptr;
        return tab->GetGroups()->HitTest(point);
    }

private:
    COSMRibbonTabPopupToolBar* m_popup;
};

COSMRibbonTabPopupToolBar::COSMRibbonTabPopupToolBar() : m_scroller(std::make_unique<Scroller>(this))
{
    m_scroller->Init();
}

COSMRibbonTabPopupToolBar::COSMRibbonTabPopupToolBar(COSMRibbonTab* tab) : COSMRibbonTabPopupToolBar()
{
    m_sourceTab = tab;
    if (!tab)
        return;
    m_ribbonBar = tab->GetRibbonBar();
    m_tabCopy = RefPtr<COSMRibbonTab>::Adopt(dynamic_cast<COSMRibbonTab*>(tab->GetRuntimeClass()->CreateObject()));
    if (m_tabCopy)
    {
        m_tabCopy->SetRibbonBar(m_ribbonBar);
        m_tabCopy->SetParentCommandBar(this);
        m_tabCopy->Copy(tab);
        m_tabCopy->SetRect(tab->GetRect());
    }
    SetHoverSelect(FALSE);
    ModifyFlags(kRibbonPopupFlags, 0);
    if (m_ribbonBar)
        EnableAnimation(m_ribbonBar->IsAnimationEnabled());
}

COSMRibbonTabPopupToolBar::~COSMRibbonTabPopupToolBar()
{
    if (m_tabCopy)
        m_tabCopy->GetGroups()->RemoveAll();
}

CSize COSMRibbonTabPopupToolBar::GetIconSize() const
{
    return m_ribbonBar ? m_ribbonBar->GetIconSize() : COSMPopupToolBar::GetIconSize();
}

CSize COSMRibbonTabPopupToolBar::GetButtonSize() const
{
    return m_ribbonBar ? m_ribbonBar->GetButtonSize() : COSMPopupToolBar::GetButtonSize();
}

BOOL COSMRibbonTabPopupToolBar::IsKeyboardCuesVisible() const
{
    return m_ribbonBar ? m_ribbonBar->IsKeyboardCuesVisible() : COSMPopupToolBar::IsKeyboardCuesVisible();
}

CRect COSMRibbonTabPopupToolBar::CalculatePopupRect(int x, int y, int cx, int cy)
{
    return CRect(x, y, x + cx, y + cy);
}

CSize COSMRibbonTabPopupToolBar::CalcDynamicLayout(int /*length*/, DWORD mode)
{
    if (!m_ribbonBar || !m_tabCopy || !m_ribbonBar->GetSafeHwnd())
        return CSize(0, 0);
    CRect ribbonRect;
    m_ribbonBar->GetWindowRect(&ribbonRect);
    CRect tabRect = m_tabCopy->GetRect();
    m_ribbonBar->ClientToScreen(&tabRect);
    CRect workArea;
    CRect monitorArea;
    s_pfnGetMonitorAreas(tabRect, &workArea, &monitorArea);

    const int height = m_ribbonBar->GetGroupsHeight();
    int width = ribbonRect.Width();
    int x = ribbonRect.left;
    int y = m_excludeRect.bottom;
    if (x < workArea.left)
    {
        width -= workArea.left - x;
        x = workArea.left;
    }
    // A ribbon that starts within the margin of the work area's right edge leaves no room: never a negative width.
    if (x + width > workArea.right)
        width = std::max(0, static_cast<int>(workArea.right) - x - kWorkAreaMargin);
    if (y + height > workArea.bottom)
        y = m_excludeRect.top - height;
    m_popupPoint = CPoint(x, y);

    COSMRibbonLayoutDC dc(this);
    UpdateShortcuts();
    m_groupsRect = CRect(0, 0, width, height);
    m_tabCopy->GetGroups()->RepositionGroups(&dc, m_groupsRect.Width(), mode,
                                             CRect(m_groupsRect.left + kTabPopupMargins.left,
                                                   m_groupsRect.top + kTabPopupMargins.top, kTabPopupMargins.right,
                                                   kTabPopupMargins.bottom));
    return CSize(width, height);
}

void COSMRibbonTabPopupToolBar::DrawCommandBar(CDC* dc, CRect clip)
{
    if (!dc)
        return;
    if (COSMRibbonPaintManager* painter = m_ribbonBar ? m_ribbonBar->GetRibbonPaintManager() : nullptr)
    {
        painter->FillRibbonFace(dc, this);
        painter->FillGroupsBackground(dc, m_tabCopy.Get(), m_groupsRect);
    }
    dc->SetBkMode(TRANSPARENT);
    COSMPaintManager* paintManager = GetPaintManager();
    COSMFontDC font(dc, paintManager ? paintManager->GetCommandBarFont(this) : nullptr);
    CRect part;
    if (m_tabCopy)
    {
        COSMRibbonGroups* groups = m_tabCopy->GetGroups();
        for (int i = 0; i < groups->GetCount(); ++i)
        {
            COSMRibbonGroup* group = groups->GetAt(i);
            if (group->IsGroupVisible() && part.IntersectRect(group->GetRect(), clip))
                group->Draw(dc, clip);
        }
    }
    for (COSMControl* button : {static_cast<COSMControl*>(m_scroller->GetLeftButton()),
                                static_cast<COSMControl*>(m_scroller->GetRightButton())})
        if (button->IsVisible())
            button->Draw(dc);
}

void COSMRibbonTabPopupToolBar::EnsureVisible(COSMControl* control)
{
    if (!control || !control->GetRibbonGroup() || !m_tabCopy)
        return;
    if (m_scroller->GetLeftButton()->IsVisible() || m_scroller->GetRightButton()->IsVisible())
        m_scroller->EnsureVisible(m_tabCopy->GetGroups(), control->GetRect());
}

void COSMRibbonTabPopupToolBar::CreateKeyboardTips()
{
    if (m_ribbonBar && m_tabCopy)
        m_ribbonBar->CreateGroupKeyboardTips(m_tabCopy.Get(), this);
}

void COSMRibbonTabPopupToolBar::OnKeyboardTip(COSMCommandBarKeyboardTip* tip)
{
    auto* control = tip ? dynamic_cast<COSMControl*>(tip->GetOwner()) : nullptr;
    if (control && m_ribbonBar)
        m_ribbonBar->RunControlTip(control, tip->IsTipVisible(), this);
}

int COSMRibbonTabPopupToolBar::OnHookKeyDown(UINT key, LPARAM lParam)
{
    if (COSMRibbonBar::LeavesKeysToPopupAbove(this))
        return 0;
    return COSMPopupToolBar::OnHookKeyDown(key, lParam);
}

BOOL COSMRibbonTabPopupToolBar::ProcessSpecialKey(int kind)
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (kind != kKeyEscape && commandBars)
        commandBars->HideKeyboardTips();
    if (m_ribbonBar && m_ribbonBar->ProcessSpatialKey(kind, this))
        return TRUE;
    if (kind == kKeyEscape && commandBars && !(m_ribbonBar && m_ribbonBar->IsEnteredFromKeyboard()))
    {
        commandBars->ClosePopups();
        return TRUE;
    }
    return COSMPopupToolBar::ProcessSpecialKey(kind);
}

INT_PTR COSMRibbonTabPopupToolBar::OnToolHitTest(CPoint point, TOOLINFOA* info) const
{
    const INT_PTR tool = COSMPopupToolBar::OnToolHitTest(point, info);
    COSMRibbonBar::WidenGroupControlTool(this, tool, info, m_groupsRect);
    return tool;
}

BOOL COSMRibbonTabPopupToolBar::SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard)
{
    m_scroller->SetHotGroup(nullptr);
    return COSMPopupToolBar::SetTrackingMode(mode, selectFirst, keyboard);
}

void COSMRibbonTabPopupToolBar::OnMouseMove(UINT flags, CPoint point)
{
    COSMRibbonGroup* hot = nullptr;
    if (MayTrackHotGroup(this) && IsHotTrackingGroups(m_ribbonBar))
        hot = m_scroller->HitTestGroup(point);
    UpdateHotGroup(this, m_scroller.get(), hot);
    COSMPopupToolBar::OnMouseMove(flags, point);
}

void COSMRibbonTabPopupToolBar::OnMouseLeave()
{
    m_scroller->SetHotGroup(nullptr);
    COSMPopupToolBar::OnMouseLeave();
}

// ---- The group popup ----

// The group popup's scroller: nothing to scroll, the client rectangle as the groups area, the copy as its only group.
class COSMRibbonGroupPopupToolBar::Scroller : public COSMRibbonGroupsScroller
{
public:
    explicit Scroller(COSMRibbonGroupPopupToolBar* popup) : COSMRibbonGroupsScroller(popup), m_popup(popup) {}

    CRect GetGroupsRect() const override
    {
        CRect client;
        if (m_popup->GetSafeHwnd())
            m_popup->GetClientRect(&client);
        return client;
    }
    COSMRibbonGroup* HitTestGroup(CPoint point) const override
    {
        COSMRibbonGroup* copy = m_popup->GetGroupCopy();
        return copy && copy->GetRect().PtInRect(point) ? copy : nullptr;
    }

private:
    COSMRibbonGroupPopupToolBar* m_popup;
};

COSMRibbonGroupPopupToolBar::COSMRibbonGroupPopupToolBar() : m_scroller(std::make_unique<Scroller>(this))
{
    m_scroller->Init();
}

COSMRibbonGroupPopupToolBar::COSMRibbonGroupPopupToolBar(COSMRibbonGroup* group) : COSMRibbonGroupPopupToolBar()
{
    if (group)
    {
        m_ribbonBar = group->GetRibbonBar();
        m_groupCopy =
            RefPtr<COSMRibbonGroup>::Adopt(dynamic_cast<COSMRibbonGroup*>(group->GetRuntimeClass()->CreateObject()));
        m_sourceGroup = group;
        if (m_groupCopy)
        {
            m_groupCopy->SetParentBar(this);
            m_groupCopy->SetRibbonBar(m_ribbonBar);
            m_groupCopy->SetGroups(group->GetGroups());
            m_groupCopy->OnGroupAdded();
            m_groupCopy->Copy(group);
        }
        COSMRibbonPaintManager* painter = m_ribbonBar ? m_ribbonBar->GetRibbonPaintManager() : nullptr;
        m_popupToolBarBorders = CRect(2, 2, 3, (painter ? painter->GetGroupCaptionHeight() : 17) + 1);
    }
    SetHoverSelect(FALSE);
    ModifyFlags(kRibbonPopupFlags, 0);
    if (m_ribbonBar)
        EnableAnimation(m_ribbonBar->IsAnimationEnabled());
}

COSMRibbonGroupPopupToolBar::~COSMRibbonGroupPopupToolBar()
{
    if (m_groupCopy)
        m_groupCopy->OnGroupRemoved();
}

CSize COSMRibbonGroupPopupToolBar::GetIconSize() const
{
    return m_ribbonBar ? m_ribbonBar->GetIconSize() : COSMPopupToolBar::GetIconSize();
}

CSize COSMRibbonGroupPopupToolBar::GetButtonSize() const
{
    return m_ribbonBar ? m_ribbonBar->GetButtonSize() : COSMPopupToolBar::GetButtonSize();
}

BOOL COSMRibbonGroupPopupToolBar::IsKeyboardCuesVisible() const
{
    return m_ribbonBar ? m_ribbonBar->IsKeyboardCuesVisible() : COSMPopupToolBar::IsKeyboardCuesVisible();
}

CSize COSMRibbonGroupPopupToolBar::CalcDynamicLayout(int length, DWORD mode)
{
    if (!m_groupCopy || !m_ribbonBar)
        return COSMPopupToolBar::CalcDynamicLayout(length, mode);
    COSMRibbonLayoutDC dc(this);
    UpdateShortcuts();
    const int groupsHeight = m_ribbonBar->GetGroupsHeight();
    m_groupCopy->OnBeforeCalcSize(&dc);
    const int width = m_groupCopy->CalcSize(&dc);
    m_groupCopy->ArrangeAt(width, 0, 0);
    m_groupCopy->OnAfterCalcSize();
    return CSize(width + m_popupToolBarBorders.left + m_popupToolBarBorders.right, groupsHeight - 7);
}

void COSMRibbonGroupPopupToolBar::DrawCommandBar(CDC* dc, CRect clip)
{
    if (!dc)
        return;
    if (COSMRibbonPaintManager* painter = m_ribbonBar ? m_ribbonBar->GetRibbonPaintManager() : nullptr)
        painter->FillGroupPopupToolBar(dc, m_groupCopy.Get(), this);
    if (!m_groupCopy)
        return;
    dc->SetBkMode(TRANSPARENT);
    COSMPaintManager* paintManager = GetPaintManager();
    COSMFontDC font(dc, paintManager ? paintManager->GetCommandBarFont(this) : nullptr);
    m_groupCopy->Draw(dc, clip);
}

void COSMRibbonGroupPopupToolBar::CreateKeyboardTips()
{
    COSMRibbonTab* tab = m_sourceGroup ? m_sourceGroup->GetRibbonTab() : nullptr;
    if (m_ribbonBar && m_groupCopy && tab)
        m_ribbonBar->CreateGroupKeyboardTips(tab, this, m_sourceGroup, m_groupCopy.Get());
}

void COSMRibbonGroupPopupToolBar::OnKeyboardTip(COSMCommandBarKeyboardTip* tip)
{
    auto* control = tip ? dynamic_cast<COSMControl*>(tip->GetOwner()) : nullptr;
    if (control && m_ribbonBar)
        m_ribbonBar->RunControlTip(control, tip->IsTipVisible(), this);
}

int COSMRibbonGroupPopupToolBar::OnHookKeyDown(UINT key, LPARAM lParam)
{
    if (COSMRibbonBar::LeavesKeysToPopupAbove(this))
        return 0;
    return COSMPopupToolBar::OnHookKeyDown(key, lParam);
}

BOOL COSMRibbonGroupPopupToolBar::ProcessSpecialKey(int kind)
{
    if (kind != kKeyEscape)
        if (COSMCommandBars* commandBars = GetCommandBars())
            commandBars->HideKeyboardTips();
    if (m_ribbonBar && m_ribbonBar->ProcessSpatialKey(kind, this))
        return TRUE;
    return COSMPopupToolBar::ProcessSpecialKey(kind);
}

BOOL COSMRibbonGroupPopupToolBar::SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard)
{
    m_scroller->SetHotGroup(nullptr);
    const BOOL closing = mode == 0 && m_trackingMode != 0;
    const BOOL result = COSMPopupToolBar::SetTrackingMode(mode, selectFirst, keyboard);
    // The copy goes with the popup, but not at once: the control whose command closed the popup still runs.
    if (closing && m_groupCopy && !m_dropTimer)
    {
        m_dropTimer = ::SetTimer(nullptr, 0, 0, osm::GuardedTimerProc<kDropCopyTimerName, &DropCopyTimer>);
        // Without a timer the copy simply stays until the popup goes.
        if (m_dropTimer)
            DropTimers()[m_dropTimer] = RefPtr<COSMRibbonGroupPopupToolBar>::Retain(this);
    }
    return result;
}

COSMRibbonGroupPopupToolBar::DropTimerMap& COSMRibbonGroupPopupToolBar::DropTimers()
{
    // A thread timer fires on the thread that set it: each thread keeps its own, and none needs a lock.
    static CThreadLocal<DropTimerMap> timers;
    return *timers.GetData();
}

void COSMRibbonGroupPopupToolBar::DropCopyTimer(HWND /*window*/, UINT /*message*/, UINT_PTR id, DWORD /*time*/)
{
    ::KillTimer(nullptr, id);
    DropTimerMap& timers = DropTimers();
    const auto found = timers.find(id);
    if (found == timers.end())
        return;
    // Released when this ends, even when the group's removal throws.
    const RefPtr<COSMRibbonGroupPopupToolBar> popup = std::move(found->second);
    timers.erase(found);
    popup->DropCopy();
}

void COSMRibbonGroupPopupToolBar::DropPendingCopies(const COSMRibbonBar* ribbon)
{
    DropTimerMap& timers = DropTimers();
    for (auto entry = timers.begin(); entry != timers.end();)
    {
        if (entry->second->m_ribbonBar != ribbon)
        {
            ++entry;
            continue;
        }
        ::KillTimer(nullptr, entry->first);
        const RefPtr<COSMRibbonGroupPopupToolBar> popup = std::move(entry->second);
        entry = timers.erase(entry);
        popup->DropCopy();
    }
}

void COSMRibbonGroupPopupToolBar::DropCopy()
{
    m_dropTimer = 0;
    if (!m_groupCopy || GetTrackingMode() != 0)
        return;
    // The copy leaves the popup first: a removal that throws must not leave it there half gone, for the popup's own
    // end to remove again.
    const RefPtr<COSMRibbonGroup> copy = std::move(m_groupCopy);
    copy->OnGroupRemoved();
}

COSMCommandBar* COSMRibbonGroupPopupToolBar::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonGroupPopupToolBar(m_sourceGroup);
    clone->SetCommandBars(GetCommandBars());
    if (!m_sourceGroup)
        clone->Copy(this, recursive);
    return clone;
}

void COSMRibbonGroupPopupToolBar::OnMouseMove(UINT flags, CPoint point)
{
    COSMRibbonGroup* hot = nullptr;
    if (MayTrackHotGroup(this) && IsHotTrackingGroups(m_ribbonBar))
        hot = m_scroller->HitTestGroup(point);
    UpdateHotGroup(this, m_scroller.get(), hot);
    COSMPopupToolBar::OnMouseMove(flags, point);
}

void COSMRibbonGroupPopupToolBar::OnMouseLeave()
{
    m_scroller->SetHotGroup(nullptr);
    COSMPopupToolBar::OnMouseLeave();
}

// ---- The "more" popup ----

COSMRibbonBarMorePopupToolBar::COSMRibbonBarMorePopupToolBar(COSMRibbonBar* ribbon) : m_ribbonBar(ribbon)
{
    SetHoverSelect(FALSE);
    m_popupToolBarBorders = CRect(3, 3, 3, 3);
}

CSize COSMRibbonBarMorePopupToolBar::GetIconSize() const
{
    return m_ribbonBar ? m_ribbonBar->GetIconSize() : COSMPopupToolBar::GetIconSize();
}

CSize COSMRibbonBarMorePopupToolBar::GetButtonSize() const
{
    return m_ribbonBar ? m_ribbonBar->GetButtonSize() : COSMPopupToolBar::GetButtonSize();
}

void COSMRibbonBarMorePopupToolBar::DrawCommandBarFrame(CDC* dc)
{
    if (COSMRibbonPaintManager* painter = m_ribbonBar ? m_ribbonBar->GetRibbonPaintManager() : nullptr)
        painter->FillMorePopupToolBar(dc, this);
}
