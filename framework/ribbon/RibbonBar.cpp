// The ribbon bar: construction, its parts and sizes, the docked layout and the placing of its controls, the context
// headers and the frame caption's buttons. Mouse, drawing and tab changes are in RibbonBarInput.cpp.
#include "framework/ribbon/RibbonBar.h"

#include "classlib/FrameWnd.h"
#include "framework/commandbars/CommandBarAnimation.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/ribbon/RibbonControls.h"
#include "framework/ribbon/RibbonFrame.h"
#include "framework/ribbon/RibbonLayoutDC.h"
#include "framework/ribbon/RibbonTab.h"
#include "framework/tabs/TabPaintManager.h"
#include "framework/ribbon/RibbonPaintManager.h"

#include <algorithm>

IMPLEMENT_SERIAL(COSMRibbonBar, COSMMenuBar, VERSIONABLE_SCHEMA | 0x23)

namespace {

constexpr DWORD kRibbonBarFlags = 0x440;
// The ids of the frame's caption buttons (SC_MINIMIZE to SC_RESTORE) are not tab-row controls.
constexpr UINT kFirstSystemCommand = 0xF020;
constexpr UINT kLastSystemCommand = 0xF120;
// The room between groups of tab-row controls, and the narrowest context header.
constexpr int kGroupGap = 6;
constexpr int kMinimumHeaderWidth = 40;

}  // namespace

// The bar's scroller: the ribbon answers its three questions.
class COSMRibbonBar::Scroller : public COSMRibbonGroupsScroller
{
public:
    explicit Scroller(COSMRibbonBar* bar) : COSMRibbonGroupsScroller(bar), m_ribbon(bar) {}
    void ScrollGroups(BOOL left) override { m_ribbon->ScrollGroups(left); }
    CRect GetGroupsRect() const override { return m_ribbon->GetGroupsRect(); }
    COSMRibbonGroup* HitTestGroup(CPoint point) const override { return m_ribbon->HitTestGroup(point); }

private:
    COSMRibbonBar* m_ribbon;
};

COSMRibbonBar::COSMRibbonBar()
    : m_scroller(std::make_unique<Scroller>(this)), m_contextHeaders(std::make_unique<COSMRibbonContextHeaders>())
{
    SetControls(new COSMRibbonControls);
    m_quickAccessControls = RefPtr<COSMRibbonQuickAccessControls>::Adopt(new COSMRibbonQuickAccessControls);
    m_quickAccessControls->SetParent(this);

    m_quickAccessPopup = new COSMRibbonBarControlQuickAccessPopup;
    m_controls->AddControl(m_quickAccessPopup, COSMRibbonBarControlQuickAccessPopup::kControlId, nullptr, -1, TRUE);
    m_quickAccessMore = new COSMRibbonBarControlQuickAccessMore;
    m_controls->AddControl(m_quickAccessMore, COSMRibbonBarControlQuickAccessMore::kControlId, nullptr, -1, TRUE);
    m_controlTab = new COSMRibbonControlTab;
    m_controls->AddControl(m_controlTab, COSMRibbonControlTab::kControlId, nullptr, -1, TRUE);
    m_scroller->Init();

    m_flags = kRibbonBarFlags;
    m_customizable = FALSE;
    EnableAnimation(TRUE);
    m_animation->SetBufferingEnabled(TRUE);
}

COSMRibbonBar::~COSMRibbonBar()
{
    COSMRibbonGroupPopupToolBar::DropPendingCopies(this);
    if (m_controlTab)
        m_controlTab->DeleteAllItems();
    if (m_quickAccessControls)
    {
        m_quickAccessControls->RemoveAll();
        m_quickAccessControls->SetParent(nullptr);
    }
    m_frame.reset();
    m_contextHeaders.reset();
}

// ---- Parts and queries ----

COSMRibbonPaintManager* COSMRibbonBar::GetRibbonPaintManager() const
{
    COSMPaintManager* paintManager = GetPaintManager();
    return paintManager ? dynamic_cast<COSMRibbonPaintManager*>(paintManager->GetRibbonPaintManager()) : nullptr;
}

COSMTabPaintManager* COSMRibbonBar::GetTabPaintManager() const
{
    // The ribbon painter's strip manager, with the ribbon's own tab pictures and colours.
    if (COSMRibbonPaintManager* ribbonPainter = GetRibbonPaintManager())
        return ribbonPainter->GetTabPaintManager();
    if (!m_tabPaintManager)
    {
        // Without a ribbon painter (its library's registration emptied by a test): a plain tab row with the hot tab
        // tracked, no icons, access keys underlined, tabs as wide as their text until they no longer fit.
        auto* tabs = new COSMTabPaintManager;
        tabs->SetLayout(COSMTabPaintManager::kLayoutSizeToFit);
        tabs->m_bHotTracking = TRUE;
        tabs->m_bShowIcons = FALSE;
        tabs->m_bDrawTextNoPrefix = FALSE;
        tabs->m_bDrawFocusRect = FALSE;
        tabs->m_nToolTipBehaviour = 2;
        m_tabPaintManager = RefPtr<COSMTabPaintManager>::Adopt(tabs);
    }
    return m_tabPaintManager.Get();
}

COSMRibbonTab* COSMRibbonBar::AddTab(LPCSTR caption, CRuntimeClass* tabClass)
{
    CObject* object = (tabClass ? tabClass : RUNTIME_CLASS(COSMRibbonTab))->CreateObject();
    auto* tab = dynamic_cast<COSMRibbonTab*>(object);
    if (!tab)
    {
        delete object;
        return nullptr;
    }
    tab->SetRibbonBar(this);
    m_controlTab->InsertItem(-1, tab);
    tab->SetCaption(caption ? caption : "");
    return tab;
}

COSMRibbonTab* COSMRibbonBar::GetSelectedTab() const
{
    return m_controlTab ? static_cast<COSMRibbonTab*>(m_controlTab->GetSelectedItem()) : nullptr;
}

COSMRibbonTab* COSMRibbonBar::GetTab(int index) const
{
    return m_controlTab ? m_controlTab->GetItem(index) : nullptr;
}

int COSMRibbonBar::GetTabCount() const
{
    return m_controlTab ? m_controlTab->GetItemCount() : 0;
}

void COSMRibbonBar::SetCurSel(int index)
{
    if (m_controlTab)
        m_controlTab->SetCurSel(index);
}

COSMRibbonGroup* COSMRibbonBar::FindGroup(int id) const
{
    for (int i = 0; i < GetTabCount(); ++i)
        if (COSMRibbonGroup* group = GetTab(i)->FindGroup(id))
            return group;
    return nullptr;
}

void COSMRibbonBar::SetSystemButton(COSMRibbonControlSystemButton* button)
{
    if (m_systemButton)
        m_controls->Remove(m_systemButton);
    m_systemButton = nullptr;
    if (!button)
        return;
    m_controls->InsertAt(button, 0);
    m_systemButton = button;
}

BOOL COSMRibbonBar::IsQuickAccessControl(const COSMControl* control) const
{
    if (!control)
        return FALSE;
    if (control == m_quickAccessPopup || control == m_quickAccessMore)
        return TRUE;
    if (control->GetRibbonGroup() || !m_quickAccessControls)
        return FALSE;
    for (int i = 0; i < m_quickAccessControls->GetCount(); ++i)
        if (m_quickAccessControls->GetAt(i) == control)
            return TRUE;
    return FALSE;
}

BOOL COSMRibbonBar::IsGroupsVisible() const
{
    return m_groupsVisible && GetSelectedTab() && !m_minimized;
}

void COSMRibbonBar::SetGroupsVisible(BOOL visible)
{
    m_groupsVisible = visible;
    OnRecalcLayout();
}

void COSMRibbonBar::SetTabsVisible(BOOL visible)
{
    m_tabsVisible = visible;
    OnRecalcLayout();
}

void COSMRibbonBar::ShowQuickAccess(BOOL show)
{
    m_quickAccessShown = show;
    OnRecalcLayout();
}

void COSMRibbonBar::ShowQuickAccessBelow(BOOL below)
{
    m_quickAccessBelow = below;
    OnRecalcLayout();
    if (!m_frame)
        return;
    if (m_frame->IsDwmEnabled())
    {
        if (GetSafeHwnd())
            UpdateWindow();
        m_frame->UpdateFrameRegion();
    }
    else if (HWND frame = m_frame->GetFrameHwnd())
    {
        ::SendMessageA(frame, WM_NCPAINT, 0, 0);
    }
}

BOOL COSMRibbonBar::IsDwmEnabled() const
{
    return m_frame && m_frame->IsDwmEnabled();
}

int COSMRibbonBar::GetFrameTopBorder() const
{
    return IsDwmEnabled() ? m_frame->GetFrameBorder() : 0;
}

void COSMRibbonBar::EnableFrameTheme(BOOL enable)
{
    if (!enable == !m_frame)
        return;
    if (enable)
    {
        m_frame = std::make_unique<COSMRibbonFrame>(GetSite(), this);
        m_frame->EnableFrameDrawing(TRUE);
    }
    else
    {
        HWND frame = m_frame->GetFrameHwnd();
        m_frame.reset();
        if (::IsWindow(frame))
        {
            ::SetWindowRgn(frame, nullptr, TRUE);
            ::SetWindowPos(frame, nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
    // The caption buttons belong to the frame object.
    for (int i = GetControlCount() - 1; i >= 0; --i)
    {
        COSMControl* control = GetControl(i);
        if (control->IsKindOf(RUNTIME_CLASS(COSMRibbonFrameCaptionButton)))
            m_controls->Remove(control);
    }
    if (m_frame)
        m_frame->RefreshFrame();
    else
        OnRecalcLayout();
}

// ---- Sizes ----

int COSMRibbonBar::GetTabsHeight() const
{
    if (!m_tabsVisible)
        return 2;
    COSMRibbonPaintManager* painter = GetRibbonPaintManager();
    return painter ? painter->GetTabsHeight() : 23;
}

int COSMRibbonBar::GetGroupClientHeight() const
{
    if (m_fixedGroupClientHeight >= 1)
        return m_fixedGroupClientHeight;
    COSMRibbonPaintManager* painter = GetRibbonPaintManager();
    return 3 * (painter ? painter->GetControlHeight() : 22);
}

int COSMRibbonBar::GetGroupsHeight() const
{
    if (m_fixedGroupsHeight >= 1)
        return m_fixedGroupsHeight;
    COSMRibbonPaintManager* painter = GetRibbonPaintManager();
    return GetGroupClientHeight() + (painter ? painter->GetGroupCaptionHeight() : 17) + 10;
}

int COSMRibbonBar::GetVisibleGroupsHeight() const
{
    return IsGroupsVisible() ? GetGroupsHeight() : 0;
}

int COSMRibbonBar::GetCaptionHeight() const
{
    if (!IsFrameThemeEnabled() && !m_captionArea)
        return 0;
    COSMRibbonPaintManager* painter = GetRibbonPaintManager();
    int height = painter ? painter->GetCaptionHeight() : 25;
    if (m_quickAccessShown && !m_quickAccessBelow)
        height = std::max(height, std::max(GetQuickAccessHeight(), GetTabsHeight() - 2));
    return height;
}

int COSMRibbonBar::CalcQuickAccessHeight()
{
    COSMRibbonLayoutDC dc(this);
    int height = GetButtonSize().cy + 4;
    for (int i = 0; i < m_quickAccessControls->GetCount(); ++i)
    {
        COSMControl* control = m_quickAccessControls->GetAt(i);
        if (control->IsVisible())
            height = std::max(height, static_cast<int>(control->GetSize(&dc).cy) + 4);
    }
    return height;
}

CSize COSMRibbonBar::GetButtonSize() const
{
    if (m_buttonSize.cx != 0 || m_buttonSize.cy != 0)
        return m_buttonSize;
    COSMPaintManager* paintManager = GetPaintManager();
    const int height = paintManager ? paintManager->GetControlHeight() : 22;
    return CSize(height, height);
}

CSize COSMRibbonBar::GetIconSize() const
{
    if (m_iconSize.cx != 0 && m_iconSize.cy != 0)
        return m_iconSize;
    if (const COSMCommandBars* commandBars = GetCommandBars())
    {
        const CSize size = commandBars->GetCommandBarsOptions()->m_iconsSize;
        if (size.cx != 0 && size.cy != 0)
            return size;
    }
    return GetAutoIconSize(FALSE);
}

// ---- The docked layout ----

CSize COSMRibbonBar::CalcDockingLayout(int length, DWORD mode, int /*minWidth*/)
{
    BOOL shown = length >= m_minimumWidth;
    if (CWnd* site = GetSite(); site && site->GetSafeHwnd())
    {
        CRect client;
        site->GetClientRect(&client);
        shown = shown && client.Width() >= m_minimumWidth;
    }
    m_updateCmdUIPending = FALSE;
    if (shown != m_ribbonShown)
    {
        m_ribbonShown = shown;
        if (m_frame)
            m_frame->PostRecalcLayout();
    }
    if (!shown)
        return CSize(length, 0);

    int height = GetCaptionHeight() + GetFrameTopBorder() + GetTabsHeight() + GetVisibleGroupsHeight();
    m_quickAccessHeight = CalcQuickAccessHeight();
    if (m_quickAccessBelow)
        height += m_quickAccessHeight + 1;
    if (!IsGroupsVisible() && !m_quickAccessBelow)
        height += 2;

    if (mode & LM_COMMIT)
        RepositionControls(length, height);
    if (m_updateCmdUIPending)
    {
        m_updateCmdUIPending = FALSE;
        OnUpdateCmdUI();
    }
    if ((m_stateFlags & kStateLayoutPending) && (mode & LM_COMMIT))
    {
        m_stateFlags &= ~kStateLayoutPending;
        Redraw(nullptr, TRUE);
    }
    return CSize(length, height);
}

void COSMRibbonBar::RepositionControls(int width, int /*height*/)
{
    COSMRibbonLayoutDC dc(this);
    const int tabsHeight = GetTabsHeight();
    const int groupsHeight = GetVisibleGroupsHeight();
    const int quickHeight = m_quickAccessHeight;
    const BOOL captionShown = IsCaptionVisible();

    CRect tabRow(2, 0, width - 2, tabsHeight);
    m_groupsRect.SetRect(0, tabsHeight, width, tabsHeight + groupsHeight);
    int border = 4;
    if (!captionShown)
    {
        m_captionRect.SetRectEmpty();
        m_captionTextRect.SetRectEmpty();
        m_captionAreaRect.SetRectEmpty();
    }
    else
    {
        border = m_frame ? m_frame->GetFrameBorder() : 0;
        const int top = GetFrameTopBorder();
        const int captionHeight = GetCaptionHeight();
        m_captionRect.SetRect(-border, top - border, width + border, captionHeight + top);
        tabRow.OffsetRect(0, captionHeight + top);
        m_groupsRect.OffsetRect(0, captionHeight + top);
        m_captionTextRect.SetRect(0, 0, width, m_captionRect.bottom);
        m_captionAreaRect = m_captionTextRect;
        if (!m_frame)
            m_captionTextRect.SetRectEmpty();
    }

    // The quick-access controls, and the free controls of the tab row.
    std::vector<COSMControl*> quickAccess;
    std::vector<COSMControl*> rowControls;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        COSMControl* control = GetControl(i);
        if (IsQuickAccessControl(control))
        {
            quickAccess.push_back(control);
            continue;
        }
        const UINT id = control->GetID();
        if (!control->IsVisible(kHideTabRow | COSMControl::kHideWrap) || control->GetRibbonGroup() ||
            (id >= kFirstSystemCommand && id <= kLastSystemCommand) || control == m_systemButton ||
            control == m_scroller->GetLeftButton() || control == m_scroller->GetRightButton() ||
            control == m_controlTab)
            continue;
        rowControls.push_back(control);
    }

    const int a = quickHeight - 3 + tabsHeight;
    if (!m_quickAccessShown || !m_quickAccessBelow)
        m_quickAccessRect.SetRect(a + 3, m_captionRect.top - 2 + border, m_captionRect.right,
                                  m_captionRect.top + border - 3 + quickHeight);
    else
        m_quickAccessRect.SetRect(0, m_groupsRect.bottom, width, m_groupsRect.bottom + quickHeight);

    int x = 2;
    if (m_systemButton)
    {
        CSize size(a, a - 1);
        int top = m_captionRect.top - 1 + border;
        if (!captionShown)
        {
            size = m_systemButton->GetSize(&dc);
            top = tabRow.top + (tabsHeight - size.cy) / 2;
        }
        else if (!m_tabsVisible)
        {
            size = m_systemButton->GetSize(&dc);
            top = m_captionRect.top + (m_captionRect.Height() - size.cy) / 2;
            if (!m_quickAccessBelow)
                m_quickAccessRect.left = size.cx + 15;
        }
        DWORD hide = m_systemButton->GetHideFlags();
        hide = (!captionShown && !m_tabsVisible) ? (hide | COSMControl::kHideWrap) : (hide & ~COSMControl::kHideWrap);
        m_systemButton->SetHideFlags(hide);
        m_systemButton->SetRect(CRect(0, top, size.cx, top + size.cy));
        x = size.cx;
        m_systemButton->SetRibbonPlacement(1);
    }

    // The row rectangle of the tab-row controls follows the bar's width.
    const CRect rowRect(2, tabRow.top, width - 2, tabRow.bottom);
    for (COSMControl* control : rowControls)
    {
        if (control->GetFlags() & COSMControl::kFlagRightAlign)
            continue;
        control->SetHideFlags(m_tabsVisible ? control->GetHideFlags() & ~kHideTabRow
                                            : control->GetHideFlags() | kHideTabRow);
        if (!control->IsVisible(COSMControl::kHideWrap))
            continue;
        const CSize size = control->GetSize(&dc);
        const int top = tabRow.top + (tabsHeight - size.cy) / 2;
        if (control->GetBeginGroup())
            x += kGroupGap;
        control->SetRect(CRect(x, top, x + size.cx, top + size.cy));
        x += size.cx;
        control->SetHideFlags(control->GetHideFlags() & ~COSMControl::kHideWrap);
        control->SetRowRect(rowRect);
        control->SetRibbonPlacement(0);
    }

    const int xTabs = x;
    const BOOL inTabRow = m_quickAccessShown && !m_quickAccessBelow && !captionShown;
    if (inTabRow)
    {
        x += 5;
        m_quickAccessRect.left = x;
        m_quickAccessRect.top = tabRow.top;
        m_quickAccessRect.bottom = tabRow.bottom;
    }
    else
    {
        x = m_quickAccessRect.left + (m_quickAccessBelow ? 2 : 0);
    }

    int rightLimit = width - 15;
    if (!m_quickAccessBelow || !m_quickAccessShown)
        rightLimit = IsDwmEnabled() ? width - 115 : width - 3 * m_captionRect.Height();

    m_quickAccessMore->SetHideFlags(m_quickAccessMore->GetHideFlags() | COSMControl::kHideHidden);
    BOOL overflow = FALSE;
    BOOL regularPlaced = FALSE;
    for (COSMControl* control : quickAccess)
    {
        DWORD hide = control->GetHideFlags();
        if (!m_quickAccessShown)
            hide |= COSMControl::kHideWrap;
        else if (control != m_quickAccessMore)
            hide = overflow ? (hide | COSMControl::kHideWrap) : (hide & ~COSMControl::kHideWrap);
        if (!captionShown && !m_tabsVisible)
            hide |= COSMControl::kHideWrap;
        control->SetHideFlags(hide);
        if (control == m_quickAccessPopup && regularPlaced && !inTabRow && !m_quickAccessBelow)
            x += 12;
        if (!control->IsVisible())
            continue;
        const BOOL special = control == m_quickAccessMore || control == m_quickAccessPopup;
        const CSize size = control->GetSize(&dc);
        int top = m_quickAccessRect.top + (m_quickAccessRect.Height() - size.cy + 1) / 2;
        if (!special && !m_quickAccessBelow && !inTabRow)
            top += 2;
        if (control->GetBeginGroup())
            x += kGroupGap;
        if (!special && x + size.cx > rightLimit)
        {
            overflow = TRUE;
            control->SetHideFlags(control->GetHideFlags() | COSMControl::kHideWrap);
            m_quickAccessMore->SetHideFlags(m_quickAccessMore->GetHideFlags() & ~COSMControl::kHideHidden);
            continue;
        }
        control->SetRect(CRect(x, top, x + size.cx, top + size.cy));
        if (inTabRow || !special)
            x += size.cx;
        if (!special)
            regularPlaced = TRUE;
        control->SetHideFlags(control->GetHideFlags() & ~COSMControl::kHideWrap);
        control->SetRowRect(m_quickAccessRect);
        control->SetRibbonPlacement(0);
    }
    if (!m_quickAccessBelow)
        m_quickAccessRect.right = x;
    if (!inTabRow)
        x = xTabs;

    int edge = width;
    for (auto it = rowControls.rbegin(); it != rowControls.rend(); ++it)
    {
        COSMControl* control = *it;
        if (!(control->GetFlags() & COSMControl::kFlagRightAlign))
            continue;
        control->SetHideFlags(m_tabsVisible ? control->GetHideFlags() & ~kHideTabRow
                                            : control->GetHideFlags() | kHideTabRow);
        if (!control->IsVisible(COSMControl::kHideWrap))
            continue;
        const CSize size = control->GetSize(&dc);
        const int top = tabRow.top + (tabsHeight - size.cy) / 2;
        control->SetRect(CRect(edge - size.cx, top, edge, top + size.cy));
        edge -= size.cx;
        control->SetHideFlags(control->GetHideFlags() & ~COSMControl::kHideWrap);
        control->SetRowRect(rowRect);
        control->SetRibbonPlacement(1);
        control->SetBeginGroup(FALSE);
    }

    if (!m_tabsVisible)
        tabRow.bottom = tabRow.top;
    if (edge < x + kGroupGap || !m_tabsVisible)
        m_tabControlRect.SetRectEmpty();
    else
        m_tabControlRect.SetRect(x, tabRow.top, edge, tabRow.bottom + 1);

    m_controlTab->SetHideFlags(m_tabsVisible ? m_controlTab->GetHideFlags() & ~COSMControl::kHideHidden
                                             : m_controlTab->GetHideFlags() | COSMControl::kHideHidden);
    m_controlTab->SetRect(m_tabControlRect);
    LayoutTabStrip();

    if (COSMRibbonTab* tab = GetSelectedTab())
        tab->GetGroups()->RepositionGroups(&dc, m_groupsRect.Width(), LM_COMMIT,
                                           CRect(m_groupsRect.left + 4, m_groupsRect.top + 3, 6, 3));
    if (m_frame)
        RepositionCaptionButtons();
    if (!captionShown)
        m_contextHeaders->RemoveAll();
    else
        UpdateContextHeaders();
}

void COSMRibbonBar::LayoutTabStrip()
{
    COSMTabPaintManager* tabs = GetTabPaintManager();
    if (!tabs || !m_controlTab)
        return;
    COSMRibbonLayoutDC dc(this);
    tabs->RepositionTabControl(m_controlTab, &dc, m_tabControlRect);
}

// ---- Context headers ----

void COSMRibbonBar::UpdateContextHeaders()
{
    if (!IsCaptionVisible() || GetTabCount() == 0)
        return;
    m_contextHeaders->RemoveAll();
    if (!m_quickAccessBelow && m_quickAccessShown && !m_frame)
        m_captionAreaRect.left =
            m_quickAccessRect.right + (m_quickAccessPopup ? m_quickAccessPopup->GetRect().Width() + 2 : 12);

    COSMRibbonContextHeader* current = nullptr;
    for (int i = 0; i < GetTabCount(); ++i)
    {
        COSMRibbonTab* tab = GetTab(i);
        tab->SetContextHeader(nullptr);
        if (!tab->IsVisible())
            continue;
        if (tab->GetContextColor() == 0 || tab->GetContextCaption().IsEmpty())
        {
            current = nullptr;
            continue;
        }
        const CRect tabRect = tab->GetRect();
        if (current && current->m_color == tab->GetContextColor() &&
            current->m_caption.Compare(tab->GetContextCaption()) == 0)
        {
            current->m_rect.right = tabRect.right;
            current->m_lastTab = tab;
            tab->SetContextHeader(current);
            continue;
        }
        current = new COSMRibbonContextHeader(tab);
        current->m_rect.SetRect(tabRect.left, m_captionRect.top + 4, tabRect.right, m_captionRect.bottom);
        m_contextHeaders->Add(current);
    }
    if (m_contextHeaders->GetCount() == 0)
        return;
    if (!FitContextHeaders(m_captionAreaRect.left, m_captionAreaRect.right))
    {
        for (int i = 0; i < GetTabCount(); ++i)
            GetTab(i)->SetContextHeader(nullptr);
        m_contextHeaders->RemoveAll();
        return;
    }

    const CRect span(m_contextHeaders->GetAt(0)->m_rect.left, m_captionRect.top + 6,
                     m_contextHeaders->GetAt(m_contextHeaders->GetCount() - 1)->m_rect.right, m_captionRect.bottom);
    CRect overlap;
    if (!overlap.IntersectRect(m_captionTextRect, span))
        return;
    // The title moves aside of the headers, keeping its width.
    const int w = m_captionTextRect.Width();
    if (m_captionTextRect.CenterPoint().x <= span.CenterPoint().x)
    {
        if (span.left - w >= m_captionAreaRect.left)
            m_captionTextRect.SetRect(span.left - w, m_captionTextRect.top, span.left, m_captionTextRect.bottom);
        else
            m_captionTextRect.SetRect(m_captionAreaRect.left, m_captionTextRect.top, span.left,
                                      m_captionTextRect.bottom);
    }
    else
    {
        if (span.right + w <= m_captionAreaRect.right)
            m_captionTextRect.SetRect(span.right, m_captionTextRect.top, span.right + w, m_captionTextRect.bottom);
        else
            m_captionTextRect.SetRect(span.right, m_captionTextRect.top, m_captionAreaRect.right,
                                      m_captionTextRect.bottom);
    }
}

BOOL COSMRibbonBar::FitContextHeaders(int left, int right)
{
    const int count = m_contextHeaders->GetCount();
    int edge = left;
    for (int i = 0; i < count; ++i)
    {
        CRect& rect = m_contextHeaders->GetAt(i)->m_rect;
        rect.left = std::max(static_cast<int>(rect.left), edge);
        rect.right = std::max(static_cast<int>(rect.right), static_cast<int>(rect.left) + kMinimumHeaderWidth);
        edge = rect.right;
    }
    int rightEdge = right;
    for (int i = count - 1; i >= 0; --i)
    {
        CRect& rect = m_contextHeaders->GetAt(i)->m_rect;
        rect.right = std::min(static_cast<int>(rect.right), rightEdge);
        rect.left = std::min(static_cast<int>(rect.left), static_cast<int>(rect.right) - kMinimumHeaderWidth);
        rightEdge = rect.left;
    }
    return rightEdge >= left;
}

// ---- The frame caption's buttons ----

void COSMRibbonBar::AddCaptionButton(UINT id, BOOL show, BOOL enable, CRect& rect)
{
    COSMControl* button = m_controls->FindControlById(static_cast<int>(id));
    if (!show)
    {
        if (button)
            m_controls->Remove(button);
        return;
    }
    if (!button)
    {
        button = m_controls->AddControl(new COSMRibbonFrameCaptionButton(m_frame.get()), static_cast<int>(id), nullptr,
                                        -1, TRUE);
        CString tip;
        if (HMENU menu = ::GetSystemMenu(m_frame->GetFrameHwnd(), FALSE))
        {
            char text[256] = {};
            ::GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
            tip = text;
            const int tab = tip.Find('\t');
            if (tab >= 0)
                tip = tip.Left(tab);
        }
        button->SetTooltip(tip);
        button->SetCaption("");
        button->SetDescription("");
    }
    button->SetEnabled(enable ? 1 : 0);
    const int side = rect.Height();
    button->SetRect(CRect(rect.right - side, rect.top, rect.right, rect.bottom));
    rect.right -= side;
}

void COSMRibbonBar::RepositionCaptionButtons()
{
    if (m_quickAccessShown && !m_quickAccessBelow)
        m_captionAreaRect.left =
            m_quickAccessRect.right + (m_quickAccessPopup ? m_quickAccessPopup->GetRect().Width() + 2 : 12);
    else
        m_captionAreaRect.left += 70;
    m_captionAreaRect.top += GetFrameTopBorder();
    m_captionAreaRect.bottom -= 3;

    CRect rect = m_captionAreaRect;
    for (const COSMRibbonFrame::CaptionButtonRule& rule : m_frame->GetCaptionButtonRules())
        AddCaptionButton(rule.id, rule.shown, rule.enabled, rect);
    m_captionAreaRect.right = rect.right;
    if (m_frame->IsDwmEnabled())
        m_captionAreaRect.right -= 100;

    m_captionTextRect.SetRect(m_captionTextRect.left + 70, m_captionAreaRect.top, m_captionAreaRect.right,
                              m_captionAreaRect.bottom);
    CString title;
    if (HWND frame = m_frame->GetFrameHwnd())
    {
        char text[512] = {};
        ::GetWindowTextA(frame, text, sizeof text);
        title = text;
    }
    m_frameTitle = title;
    COSMRibbonLayoutDC dc(this);
    COSMRibbonPaintManager* painter = GetRibbonPaintManager();
    COSMFontDC font(&dc, painter ? painter->GetFont() : nullptr);
    int w = std::min(static_cast<int>(dc.GetTextExtent(title).cx) + 20, m_captionTextRect.Width());
    CRect centred(m_captionTextRect.CenterPoint().x - w / 2, m_captionTextRect.top,
                  m_captionTextRect.CenterPoint().x - w / 2 + w, m_captionTextRect.bottom);
    CRect overlap;
    if (overlap.IntersectRect(centred, m_quickAccessRect))
    {
        w = std::min(w, static_cast<int>(m_captionAreaRect.Width()));
        const int middle = m_captionAreaRect.CenterPoint().x;
        centred.SetRect(middle - w / 2, m_captionAreaRect.top, middle - w / 2 + w, m_captionAreaRect.bottom);
    }
    m_captionTextRect = centred;
}

// ---- Life ----

void COSMRibbonBar::SetRibbonMinimized(BOOL minimized)
{
    if (!minimized == !m_minimized)
        return;
    m_minimized = minimized;
    if (!minimized && !GetSelectedTab() && m_controlTab)
    {
        for (int i = 0; i < GetTabCount(); ++i)
        {
            COSMRibbonTab* tab = GetTab(i);
            if (tab->IsVisible() && tab->IsEnabled())
            {
                m_controlTab->COSMTabManager::SetSelectedItem(tab);
                break;
            }
        }
    }
    OnTabChanged(GetSelectedTab());
    OnRecalcLayout();
    if (COSMCommandBars* commandBars = GetCommandBars())
        commandBars->ClosePopups();
    if (CWnd* site = GetSite(); site && site->GetSafeHwnd())
        site->SendMessage(kMessageMinimizedChanged, reinterpret_cast<WPARAM>(this), 0);
}

void COSMRibbonBar::OnTabChanged(COSMRibbonTab* tab)
{
    m_scroller->SetScrollOffset(0);
    if (m_minimized)
        tab = nullptr;
    for (int i = GetControlCount() - 1; i >= 0; --i)
    {
        COSMControl* control = GetControl(i);
        COSMRibbonGroup* group = control->GetRibbonGroup();
        if (group && (group->GetRibbonTab() != tab || !group->IsVisible()))
            control->SetHideFlags(control->GetHideFlags() | kHideGroup);
        else
            control->SetHideFlags(control->GetHideFlags() & ~kHideGroup);
    }
}

LRESULT COSMRibbonBar::NotifyTabChanging(COSMRibbonTab* tab)
{
    struct
    {
        NMOSMCONTROL control;
        COSMRibbonBar* bar;
        COSMRibbonTab* tab;
    } block{};
    block.bar = this;
    block.tab = tab;
    return m_controlTab->NotifySiteEx(static_cast<UINT>(kNotifyTabChanging), &block.control);
}

LRESULT COSMRibbonBar::NotifyTabChanged(COSMRibbonTab* tab)
{
    struct
    {
        NMOSMCONTROL control;
        COSMRibbonBar* bar;
        COSMRibbonTab* tab;
    } block{};
    block.bar = this;
    block.tab = tab;
    return m_controlTab->NotifySiteEx(static_cast<UINT>(kNotifyTabChanged), &block.control);
}

void COSMRibbonBar::SetVisible(BOOL visible)
{
    const BOOL before = IsVisible();
    COSMMenuBar::SetVisible(visible);
    if (m_frame && before != IsVisible())
        m_frame->RefreshFrame();
}

void COSMRibbonBar::RefreshMdiButtons()
{
    COSMMenuBar::RefreshMdiButtons();
    if (!m_frame)
        return;
    char text[512] = {};
    if (HWND frame = m_frame->GetFrameHwnd())
        ::GetWindowTextA(frame, text, sizeof text);
    if (m_frameTitle.Compare(text) != 0)
        m_stateFlags |= kStateLayoutPending;
}

void COSMRibbonBar::OnRemoved()
{
    m_frame.reset();
    if (m_quickAccessControls)
        m_quickAccessControls->RemoveAll();
    if (m_controlTab)
        m_controlTab->DeleteAllItems();
    COSMMenuBar::OnRemoved();
}
