// The ribbon bar's window: the mouse on the caption, the tabs, the headers and the groups, the hook on the frame (the
// wheel walks the tabs), tooltips, drawing; and the quick-access buttons and frame caption buttons it owns.
#include "framework/ribbon/RibbonBar.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/DwmWrapper.h"
#include "framework/foundation/ToolTipContext.h"
#include "framework/ribbon/RibbonControls.h"
#include "framework/ribbon/RibbonFrame.h"
#include "framework/ribbon/RibbonTab.h"
#include "framework/tabs/TabPaintManager.h"
#include "framework/ribbon/FramePaintManager.h"
#include "framework/ribbon/RibbonPaintManager.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(COSMRibbonBar, COSMMenuBar)
    ON_WM_CREATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETCURSOR()
    ON_WM_SHOWWINDOW()
    ON_WM_NCHITTEST()
    ON_MESSAGE(COSMControl::kMessageControlNotify, OnControlNotify)
    ON_COMMAND_RANGE(9608, 9610, OnQuickAccessPlacement)
END_MESSAGE_MAP()

namespace {

// The frame's sizing codes, which the caption hands on to the frame.
constexpr int kFirstSizingCode = HTLEFT;
constexpr int kLastSizingCode = HTBOTTOMRIGHT;

BOOL IsFrameMaximized(HWND frame)
{
    return frame && (::GetWindowLongA(frame, GWL_STYLE) & WS_MAXIMIZE) != 0;
}

}  // namespace

int COSMRibbonBar::OnCreate(LPCREATESTRUCT createStruct)
{
    if (COSMToolBar::OnCreate(createStruct) == -1)
        return -1;
    SetupHook();
    return 0;
}

COSMControl* COSMRibbonBar::HitTestControl(CPoint point) const
{
    // The tab strip is a control too, but its own tabs answer for it.
    COSMControl* control = m_controls->HitTest(point);
    return control == m_controlTab ? nullptr : control;
}

int COSMRibbonBar::HitTestCaption(CPoint point) const
{
    if (IsCustomizeMode() || !m_frame || !m_captionRect.PtInRect(point) || HitTestControl(point) ||
        m_contextHeaders->HitTest(point))
        return 0;
    const DWORD style = m_frame->GetStyle(FALSE);
    if (point.y - m_captionRect.top < 5 && (style & WS_THICKFRAME) && !(style & WS_MAXIMIZE))
        return HTTOP;
    return HTCAPTION;
}

void COSMRibbonBar::OnLButtonDown(UINT flags, CPoint point)
{
    COSMCommandBars* commandBars = GetCommandBars();
    COSMTabManagerItem* tab = m_controlTab && m_tabsVisible ? m_controlTab->HitTest(point) : nullptr;
    m_clickOnSelectedTab = tab && tab == m_controlTab->GetSelectedItem();
    if ((m_minimized && !m_controlTab->IsPopupOpen()) || IsCustomizeMode())
        m_clickOnSelectedTab = FALSE;

    if (COSMRibbonContextHeader* header = m_contextHeaders->HitTest(point))
    {
        header->m_firstTab->Select();
        return;
    }
    if (const int hit = HitTestCaption(point))
    {
        if (commandBars)
            commandBars->ClosePopups();
        UpdateWindow();
        HWND frame = m_frame->GetFrameHwnd();
        if (frame && !IsFrameMaximized(frame))
        {
            CPoint screen = point;
            ClientToScreen(&screen);
            ::DefWindowProcA(frame, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), MAKELPARAM(screen.x, screen.y));
        }
        return;
    }
    if (m_tabControlRect.PtInRect(point) && commandBars)
        commandBars->ClosePopups();
    if (!m_clickOnSelectedTab && m_controlTab && m_tabsVisible && m_controlTab->OnMouseDown(m_hWnd, point, FALSE))
    {
        if (m_minimized)
        {
            m_controlTab->SelectTab(FALSE);
            m_clickOnSelectedTab = TRUE;
        }
        return;
    }
    // In customize mode free space in a group of the selected tab picks the whole group.
    if (IsCustomizeMode() && IsCustomizable() && !m_controls->HitTest(point))
    {
        if (COSMRibbonGroup* group = HitTestGroup(point))
        {
            if (commandBars)
            {
                commandBars->ClosePopups();
                commandBars->SetCustomizeSelection(group);
            }
            return;
        }
    }
    COSMToolBar::OnLButtonDown(flags, point);
}

void COSMRibbonBar::OnLButtonDblClk(UINT flags, CPoint point)
{
    const int hit = HitTestCaption(point);
    if (hit == HTCAPTION || (m_frame && m_contextHeaders->HitTest(point)))
    {
        CPoint screen = point;
        ClientToScreen(&screen);
        ::DefWindowProcA(m_frame->GetFrameHwnd(), WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(screen.x, screen.y));
        return;
    }
    COSMTabManagerItem* tab = m_controlTab && m_tabsVisible ? m_controlTab->HitTest(point) : nullptr;
    if (tab && tab == m_controlTab->GetSelectedItem() && m_allowMinimize)
    {
        if (m_minimized)
            SetRibbonMinimized(FALSE);
        else if (m_clickOnSelectedTab)
            SetRibbonMinimized(TRUE);
        m_clickOnSelectedTab = TRUE;
    }
    COSMToolBar::OnLButtonDblClk(flags, point);
}

void COSMRibbonBar::OnRButtonDown(UINT flags, CPoint point)
{
    if (IsCustomizeMode())
    {
        COSMToolBar::OnRButtonDown(flags, point);
        return;
    }
    SetTrackingMode(FALSE, TRUE, FALSE);
    if (HitTestCaption(point))
        return;
    if (COSMControl* control = HitTestControl(point))
        control->OnRButtonDown(point);
}

void COSMRibbonBar::OnRButtonUp(UINT /*flags*/, CPoint point)
{
    CPoint screen = point;
    ClientToScreen(&screen);
    if (HitTestCaption(point) == HTCAPTION)
    {
        if (COSMCommandBars* commandBars = GetCommandBars())
            commandBars->ClosePopups();
        UpdateWindow();
        ::SendMessageA(m_frame->GetFrameHwnd(), 0x313, reinterpret_cast<WPARAM>(m_frame->GetFrameHwnd()),
                       MAKELPARAM(screen.x, screen.y));
        return;
    }
    if (IsCustomizeMode())
        return;
    // The tab strip counts here: a right click on a tab (or on the free end of the tab row) shows the strip's menu.
    if (COSMControl* control = m_controls->HitTest(point))
    {
        CWnd* site = GetSite();
        if (site && site->GetSafeHwnd() &&
            site->SendMessage(kMessageControlRButtonUp, reinterpret_cast<WPARAM>(&screen),
                              reinterpret_cast<LPARAM>(control)) == 1)
            return;
        if (!control->OnRButtonUp(point))
            ShowContextMenu(point, control);
        return;
    }
    // A group's caption strip stands for the whole group: the menu of the button it shrinks to.
    COSMRibbonGroup* group = HitTestGroup(point);
    if (group && group->GetCaptionRect().PtInRect(point))
    {
        ShowContextMenu(point, group->GetPopupButton());
        return;
    }
    // Free space among the quick-access controls: the menu of the ribbon itself (the tab strip's).
    if (m_quickAccessRect.PtInRect(point) && m_controlTab)
    {
        ShowContextMenu(point, m_controlTab);
        return;
    }
    Default();
}

void COSMRibbonBar::OnMouseMove(UINT flags, CPoint point)
{
    COSMMouseManager* mouseManager = GetMouseManager();
    BOOL popupOpen = FALSE;
    for (int i = 0; i < GetControlCount() && !popupOpen; ++i)
        popupOpen = GetControl(i)->IsPopupOpen();
    HWND topLevel = ::GetAncestor(m_hWnd, GA_ROOT);
    const BOOL tracked = mouseManager && (mouseManager->GetTrackedCount() > 0 || mouseManager->IsTrackActive(this));
    if (!tracked && !popupOpen && topLevel == ::GetActiveWindow())
    {
        COSMRibbonPaintManager* painter = GetRibbonPaintManager();
        COSMRibbonGroup* hot = painter && painter->IsHotTrackingGroups() ? HitTestGroup(point) : nullptr;
        if (hot != m_scroller->GetHotGroup())
        {
            m_scroller->SetHotGroup(hot);
            Redraw(&m_groupsRect, TRUE);
        }
        if (m_controlTab && m_tabsVisible)
            m_controlTab->COSMTabManager::OnMouseMove(m_hWnd, point);
        if (!m_trackingLeave)
        {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
            m_trackingLeave = ::TrackMouseEvent(&track);
        }
    }
    COSMToolBar::OnMouseMove(flags, point);
}

void COSMRibbonBar::OnMouseLeave()
{
    m_trackingLeave = FALSE;
    if (m_controlTab)
        m_controlTab->COSMTabManager::OnMouseMove(m_hWnd, CPoint(-1, -1));
    if (m_scroller->GetHotGroup())
    {
        m_scroller->SetHotGroup(nullptr);
        Redraw(&m_groupsRect, TRUE);
    }
    COSMToolBar::OnMouseLeave();
}

void COSMRibbonBar::OnSysColorChange()
{
    Default();
    if (COSMRibbonPaintManager* painter = GetRibbonPaintManager())
        painter->RefreshMetrics();
    if (m_tabPaintManager)
        m_tabPaintManager->RefreshMetrics();
    LayoutTabStrip();
}

BOOL COSMRibbonBar::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    const int hit = HitTestCaption(point);
    if (hit >= kFirstSizingCode && hit <= kLastSizingCode)
    {
        HWND frame = m_frame->GetFrameHwnd();
        ::SendMessageA(frame, WM_SETCURSOR, reinterpret_cast<WPARAM>(frame), MAKELPARAM(hit, message));
        return TRUE;
    }
    return COSMToolBar::OnSetCursor(wnd, hitTest, message);
}

void COSMRibbonBar::OnShowWindow(BOOL show, UINT status)
{
    Default();
    if (m_frame && !show != !m_visible)
    {
        m_visible = show;
        m_frame->RefreshFrame();
    }
}

LRESULT COSMRibbonBar::OnNcHitTest(CPoint point)
{
    if (IsDwmEnabled())
    {
        LRESULT result = 0;
        if (COSMRibbonFrame::GetDwmWrapper().DwmDefWindowProc(m_frame->GetFrameHwnd(), WM_NCHITTEST, 0,
                                                              MAKELPARAM(point.x, point.y), &result) &&
            (result == HTMINBUTTON || result == HTMAXBUTTON || result == HTCLOSE || result == HTHELP))
            return HTTRANSPARENT;
    }
    return COSMToolBar::OnNcHitTest(point);
}

int COSMRibbonBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (nMessage == COSMRibbonFrame::GetQueryMessage())
    {
        lResult = reinterpret_cast<LRESULT>(m_frame.get());
        return kHandled;
    }
    if (m_frame && hWnd == m_frame->GetFrameHwnd() && nMessage == WM_SIZE)
    {
        // The frame's region follows its size.
        RECT window{};
        ::GetWindowRect(hWnd, &window);
        m_frame->SetFrameRegion(window.right - window.left, window.bottom - window.top, FALSE);
    }
    COSMCommandBars* commandBars = GetCommandBars();
    if (nMessage == WM_CONTEXTMENU && m_trackingMode != 0)
    {
        // The keyboard's menu key (or Shift+F10) opens the selected control's menu at its top left corner; the
        // mouse's right click has been answered by the bar under it.
        COSMControl* selected = GetControl(m_selectedIndex);
        if (lParam == -1 && selected)
            ShowContextMenu(selected->GetRect().TopLeft(), selected);
        lResult = 0;
        return kHandled;
    }
    if (nMessage == WM_MOUSEWHEEL && m_controlTab && m_ribbonShown)
    {
        COSMMouseManager* mouseManager = GetMouseManager();
        const BOOL popups = mouseManager && mouseManager->GetTrackedCount() > 0;
        const BOOL tips = commandBars && commandBars->GetKeyboardTipsLevel() > 0;
        if (!popups && !tips && m_tabsVisible && GetSafeHwnd() && IsWindowVisible())
        {
            const short delta = static_cast<short>(HIWORD(wParam));
            m_controlTab->PerformKeyDown(m_hWnd, delta <= 0 ? VK_RIGHT : VK_LEFT);
            lResult = 0;
            return kHandled;
        }
    }
    return COSMMenuBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
}

// ---- Tooltips and tracking ----

INT_PTR COSMRibbonBar::OnToolHitTest(CPoint point, TOOLINFOA* info) const
{
    if (m_controlTab && m_tabsVisible)
    {
        const INT_PTR tabTool = m_controlTab->PerformToolHitTest(m_hWnd, point, info);
        if (tabTool != -1)
            return tabTool;
    }
    const INT_PTR tool = COSMMenuBar::OnToolHitTest(point, info);
    WidenGroupControlTool(this, tool, info, m_groupsRect);
    return tool;
}

void COSMRibbonBar::WidenGroupControlTool(const COSMCommandBar* bar, INT_PTR tool, TOOLINFOA* info, const CRect& groups)
{
    if (tool == -1 || !info || info->cbSize < sizeof(COSMCommandBarToolInfo))
        return;
    const COSMControl* control = static_cast<COSMCommandBarToolInfo*>(info)->pControl;
    const COSMToolTipContext* context = bar->GetToolTipContext();
    if (control && control->GetRibbonGroup() && context && context->IsRibbonGroupsPlacement())
        info->rect = groups;
}

BOOL COSMRibbonBar::SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard)
{
    if (m_controlTab)
        m_controlTab->COSMTabManager::OnMouseMove(m_hWnd, CPoint(-1, -1));
    if (mode != 0 || m_trackingMode != 0)
        m_scroller->SetHotGroup(nullptr);
    if (mode == 0)
        m_enteredFromKeyboard = FALSE;
    return COSMMenuBar::SetTrackingMode(mode, selectFirst, keyboard);
}

void COSMRibbonBar::EnsureVisible(COSMControl* control)
{
    COSMRibbonGroup* group = control ? control->GetRibbonGroup() : nullptr;
    if (group && group->GetRibbonTab() && group->GetRibbonTab() != GetSelectedTab())
        group->GetRibbonTab()->Select();
    COSMRibbonTab* tab = GetSelectedTab();
    if (group && tab && (m_scroller->GetLeftButton()->IsVisible() || m_scroller->GetRightButton()->IsVisible()))
        m_scroller->EnsureVisible(tab->GetGroups(), control->GetRect());
}

void COSMRibbonBar::ScrollGroups(BOOL left)
{
    const int offset = m_scroller->GetScrollOffset();
    const int next = left ? std::max(0, offset - 40) : offset + 40;
    if (next == offset)
        return;
    if (COSMCommandBars* commandBars = GetCommandBars())
    {
        commandBars->ClosePopups();
        commandBars->HideKeyboardTips();
    }
    m_scroller->SetScrollOffset(next);
    OnRecalcLayout();
}

COSMRibbonGroup* COSMRibbonBar::HitTestGroup(CPoint point) const
{
    COSMRibbonTab* tab = GetSelectedTab();
    if (!tab || !IsGroupsVisible() || !m_groupsRect.PtInRect(point))
        return nullptr;
    for (const COSMControl* button : {static_cast<const COSMControl*>(m_scroller->GetLeftButton()),
                                      static_cast<const COSMControl*>(m_scroller->GetRightButton())})
        if (button->IsVisible() && button->GetRect().PtInRect(point))
            return nullptr;
    return tab->GetGroups()->HitTest(point);
}

// ---- Drawing ----

void COSMRibbonBar::DrawCommandBar(CDC* dc, CRect clip)
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (!dc || !paintManager)
        return;
    dc->SetBkMode(TRANSPARENT);
    COSMFontDC font(dc, paintManager->GetCommandBarFont(this));
    CRect client;
    GetClientRect(&client);
    COSMRibbonPaintManager* painter = GetRibbonPaintManager();
    // The painter draws with the Office 2007 pictures; without them (no resources) the bar keeps plain system
    // colours, the caption strip a shade darker than the rest.
    const BOOL pictures = painter && painter->LoadImage("FRAMETOPLEFT");
    CRect part;
    if (pictures)
    {
        painter->FillRibbonBar(dc, this);
        if (IsGroupsVisible() && part.IntersectRect(m_groupsRect, clip))
            painter->FillGroupsBackground(dc, GetSelectedTab(), m_groupsRect);
        if (part.IntersectRect(m_captionRect, clip))
        {
            if (m_frame)
                painter->DrawRibbonFrameCaption(dc, this, m_frame->IsActive());
            else if (m_captionArea)
                painter->DrawRibbonCaptionArea(dc, this);
        }
    }
    else
    {
        dc->FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
        if (part.IntersectRect(m_captionRect, clip))
            dc->FillSolidRect(m_captionRect, ::GetSysColor(COLOR_3DLIGHT));
        if (IsGroupsVisible() && part.IntersectRect(m_groupsRect, clip))
            dc->Draw3dRect(m_groupsRect, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
    }
    if (painter && !pictures && part.IntersectRect(m_captionRect, clip))
    {
        COSMFontDC captionFont(dc, painter->GetFont(), ::GetSysColor(COLOR_BTNTEXT));
        for (int i = 0; i < m_contextHeaders->GetCount(); ++i)
        {
            const COSMRibbonContextHeader* header = m_contextHeaders->GetAt(i);
            CRect text = header->m_rect;
            dc->Draw3dRect(text, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DSHADOW));
            dc->DrawText(header->m_caption, text,
                         DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
        if (m_frame && !m_captionTextRect.IsRectEmpty())
            dc->DrawText(m_frameTitle, CRect(m_captionTextRect),
                         DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }

    COSMTabPaintManager* tabs = GetTabPaintManager();
    if (tabs)
        tabs->m_bDrawTextHidePrefix = !IsKeyboardCuesVisible();
    if (tabs && m_controlTab && m_tabsVisible && part.IntersectRect(m_tabControlRect, clip))
        tabs->DrawTabControl(m_controlTab, dc, m_tabControlRect);

    if (IsGroupsVisible())
    {
        COSMRibbonGroups* groups = GetSelectedTab()->GetGroups();
        for (int i = 0; i < groups->GetCount(); ++i)
        {
            COSMRibbonGroup* group = groups->GetAt(i);
            if (group->IsVisible() && part.IntersectRect(group->GetRect(), clip))
                group->Draw(dc, clip);
        }
    }

    BOOL first = TRUE;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        COSMControl* control = GetControl(i);
        if (control->GetRibbonGroup() || !control->IsVisible(0) || control == m_controlTab)
            continue;
        if (control->GetBeginGroup() && !first)
            paintManager->DrawCommandBarSeparator(dc, this, control, TRUE);
        first = FALSE;
        if (part.IntersectRect(control->GetRect(), clip))
            control->Draw(dc);
    }

    COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars || !commandBars->IsCustomizeMode())
        return;
    const CRect selection = GetCustomizeSelectionRect(commandBars->GetCustomizeSelectionTarget());
    if (!selection.IsRectEmpty())
        DrawCustomizeSelection(dc, selection);
    DrawCustomizeMarks(dc);
}

CRect COSMRibbonBar::GetCustomizeSelectionRect(const CCmdTarget* selection) const
{
    if (const auto* control = dynamic_cast<const COSMControl*>(selection))
        return control->GetParent() == this && control->IsVisible(0) ? control->GetRect() : CRect();
    if (const auto* tab = dynamic_cast<const COSMRibbonTab*>(selection))
    {
        const BOOL ours = m_controlTab && tab->GetTabManager() == static_cast<const COSMTabManager*>(m_controlTab);
        return ours && m_tabsVisible && tab->IsVisible() ? tab->GetRect() : CRect();
    }
    if (const auto* group = dynamic_cast<const COSMRibbonGroup*>(selection))
        return group->GetParentBar() == this && IsGroupsVisible() && group->IsGroupVisible() ? group->GetRect()
                                                                                             : CRect();
    return CRect();
}

// ---- The quick-access buttons ----

IMPLEMENT_SERIAL(COSMRibbonBarControlQuickAccessPopup, COSMControlPopup, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonBarControlQuickAccessMore, COSMControlPopup, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonFrameCaptionButton, COSMControlButton, VERSIONABLE_SCHEMA | 0x23)

namespace {

constexpr DWORD kQuickAccessButtonFlags = 24;
constexpr int kMorePopupWidth = 300;
constexpr DWORD kCaptionButtonFlags = 26;

CSize QuickAccessButtonSize(const COSMControl* control)
{
    const auto* ribbon = dynamic_cast<const COSMRibbonBar*>(control->GetParent());
    COSMRibbonPaintManager* painter = ribbon ? ribbon->GetRibbonPaintManager() : nullptr;
    const int height = painter ? painter->GetControlHeight() : 22;
    return CSize(height * 13 / 22, height);
}

// The ribbon painter of the control's bar while it has the picture: the plain drawing stands in without it.
COSMRibbonPaintManager* RibbonPainterWithPictures(const COSMControl* control, LPCSTR image)
{
    const auto* ribbon = dynamic_cast<const COSMRibbonBar*>(control->GetParent());
    COSMRibbonPaintManager* painter = ribbon ? ribbon->GetRibbonPaintManager() : nullptr;
    return painter && painter->LoadImage(image) ? painter : nullptr;
}

// A small down arrow in the middle of the rectangle, in the text colour (grey while disabled).
void DrawDropArrow(CDC* dc, const CRect& rect, BOOL enabled, BOOL doubleChevron)
{
    const COLORREF colour = ::GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    const int x = rect.CenterPoint().x;
    const int y = rect.CenterPoint().y;
    if (doubleChevron)
    {
        for (int i = 0; i < 3; ++i)
        {
            dc->FillSolidRect(x - 3 + i, y - 4 + i, 1, 1, colour);
            dc->FillSolidRect(x + i, y - 4 + i, 1, 1, colour);
        }
        return;
    }
    for (int i = 0; i < 3; ++i)
        dc->FillSolidRect(x - 2 + i, y + i, 5 - 2 * i, 1, colour);
}

}  // namespace

COSMRibbonBarControlQuickAccessPopup::COSMRibbonBarControlQuickAccessPopup()
{
    m_temporary = TRUE;
    m_flags = kQuickAccessButtonFlags;
}

CSize COSMRibbonBarControlQuickAccessPopup::GetSize(CDC* /*dc*/)
{
    return QuickAccessButtonSize(this);
}

void COSMRibbonBarControlQuickAccessPopup::Draw(CDC* dc)
{
    if (COSMRibbonPaintManager* painter = RibbonPainterWithPictures(this, "RIBBONQUICKACCESSBUTTON"))
    {
        painter->DrawQuickAccessButton(dc, this);
        return;
    }
    if (GetSelected() || IsPopupOpen())
        dc->Draw3dRect(m_rect, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
    DrawDropArrow(dc, m_rect, GetEnabled(), FALSE);
}

COSMControl* COSMRibbonBarControlQuickAccessPopup::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonBarControlQuickAccessPopup;
    clone->Copy(this, recursive);
    return clone;
}

COSMRibbonBarControlQuickAccessMore::COSMRibbonBarControlQuickAccessMore()
{
    m_temporary = TRUE;
    m_flags = kQuickAccessButtonFlags;
}

CSize COSMRibbonBarControlQuickAccessMore::GetSize(CDC* /*dc*/)
{
    return QuickAccessButtonSize(this);
}

void COSMRibbonBarControlQuickAccessMore::Draw(CDC* dc)
{
    if (COSMRibbonPaintManager* painter = RibbonPainterWithPictures(this, "RIBBONQUICKACCESSMORE"))
    {
        painter->DrawQuickAccessMoreButton(dc, this);
        return;
    }
    if (GetSelected() || IsPopupOpen())
        dc->Draw3dRect(m_rect, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
    DrawDropArrow(dc, m_rect, GetEnabled(), TRUE);
}

BOOL COSMRibbonBarControlQuickAccessMore::OnSetPopup(BOOL popup)
{
    auto* ribbon = dynamic_cast<COSMRibbonBar*>(GetParent());
    if (!popup || !ribbon)
        return COSMControlPopup::OnSetPopup(FALSE);
    // The quick-access controls that did not fit, then the customize button, in a popup of the ribbon's sizes.
    const RefPtr<COSMRibbonBarMorePopupToolBar> bar =
        RefPtr<COSMRibbonBarMorePopupToolBar>::Adopt(new COSMRibbonBarMorePopupToolBar(ribbon));
    bar->SetCommandBars(ribbon->GetCommandBars());
    bar->SetMRUWidth(kMorePopupWidth);
    COSMControls* controls = bar->GetControls();
    COSMRibbonQuickAccessControls* quickAccess = ribbon->GetQuickAccessControls();
    for (int i = 0; i < quickAccess->GetCount(); ++i)
    {
        COSMControl* control = quickAccess->GetAt(i);
        if (!(control->GetHideFlags() & COSMControl::kHideWrap))
            continue;
        if (COSMControl* clone = controls->AddClone(control, -1, TRUE))
            clone->SetHideFlags(clone->GetHideFlags() & ~COSMControl::kHideWrap);
    }
    if (COSMControl* customize = controls->AddClone(ribbon->GetQuickAccessPopup(), -1, TRUE))
        customize->SetHideFlags(customize->GetHideFlags() & ~COSMControl::kHideWrap);
    SetCommandBar(bar.Get());
    return COSMControlPopup::OnSetPopup(TRUE);
}

COSMControl* COSMRibbonBarControlQuickAccessMore::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonBarControlQuickAccessMore;
    clone->Copy(this, recursive);
    return clone;
}

// ---- The frame caption buttons ----

COSMRibbonFrameCaptionButton::COSMRibbonFrameCaptionButton()
{
    m_flags = kCaptionButtonFlags;
}

COSMRibbonFrameCaptionButton::COSMRibbonFrameCaptionButton(COSMRibbonFrame* frame) : m_frame(frame)
{
    m_flags = kCaptionButtonFlags;
}

void COSMRibbonFrameCaptionButton::Draw(CDC* dc)
{
    COSMPaintManager* paintManager = GetParent() ? GetParent()->GetPaintManager() : nullptr;
    auto* framePainter =
        paintManager ? dynamic_cast<COSMFramePaintManager*>(paintManager->GetFramePaintManager()) : nullptr;
    if (framePainter && framePainter->LoadImage("FRAMECAPTIONCLOSE13"))
    {
        framePainter->DrawFrameCaptionButton(dc, m_rect, m_id, GetSelected(), GetPressed(),
                                             (!m_frame || m_frame->IsActive()) && GetEnabled());
        return;
    }
    // Without the frame painter's pictures, the system's own caption buttons.
    UINT state = 0;
    switch (m_id)
    {
    case SC_CLOSE:
        state = DFCS_CAPTIONCLOSE;
        break;
    case SC_MINIMIZE:
        state = DFCS_CAPTIONMIN;
        break;
    case SC_MAXIMIZE:
        state = DFCS_CAPTIONMAX;
        break;
    default:
        state = DFCS_CAPTIONRESTORE;
        break;
    }
    if (!GetEnabled())
        state |= DFCS_INACTIVE;
    if (GetPressed())
        state |= DFCS_PUSHED;
    CRect rect = m_rect;
    rect.DeflateRect(2, 2);
    ::DrawFrameControl(dc->GetSafeHdc(), &rect, DFC_CAPTION, state);
}

void COSMRibbonFrameCaptionButton::OnExecute()
{
    CWnd* site = GetParent() ? GetParent()->GetSite() : nullptr;
    if (site && site->GetSafeHwnd())
        site->PostMessage(WM_SYSCOMMAND, m_id, 0);
}
