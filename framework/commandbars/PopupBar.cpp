#include "framework/commandbars/PopupBar.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PopupAnimationFrames.h"
#include "framework/commandbars/PopupPlacement.h"
#include "framework/commandbars/SoundManager.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/foundation/ShadowManager.h"
#include "framework/foundation/ToolTipContext.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/ImageManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/WindowFunctions.h"

#include "classlib/DC.h"
#include "classlib/ModalLoop.h"
#include "classlib/Wnd.h"

#include <climits>

#include <windowsx.h>

// Serial classes: saved bars name their class with a schema in the stream.
IMPLEMENT_SERIAL(COSMPopupBar, COSMCommandBar, VERSIONABLE_SCHEMA | 0x22)
IMPLEMENT_SERIAL(COSMPopupToolBar, COSMPopupBar, VERSIONABLE_SCHEMA | 0x22)

BEGIN_MESSAGE_MAP(COSMPopupBar, COSMCommandBar)
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivate)
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivate)
    ON_MESSAGE(WM_NCCREATE, OnNcCreate)
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

const char kPopupWindowClass[] = "OSMPopupBar";
// The floating-frame style bit: the popup keeps its frame's caption active (WM_FLOATSTATUS).
const DWORD kStyleSyncActive = 0x100;
const DWORD kPopupWindowStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | kStyleSyncActive;
const int kPopupType = 2;
const int kComboBoxType = 5;

void MonitorAreasOfRect(const CRect& rect, CRect* workArea, CRect* monitorArea)
{
    HMONITOR monitor = ::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (monitor && ::GetMonitorInfoA(monitor, &info))
    {
        *workArea = info.rcWork;
        *monitorArea = info.rcMonitor;
        return;
    }
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, static_cast<RECT*>(workArea), 0);
    *monitorArea = CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

BOOL HasChildWindow(HWND window)
{
    return window && ::GetWindow(window, GW_CHILD) != nullptr;
}

}  // namespace

CRuntimeClass* COSMPopupBar::s_pPopupBarClass = RUNTIME_CLASS(COSMPopupBar);
COSMPopupBar::MonitorAreasFn COSMPopupBar::s_pfnGetMonitorAreas = &MonitorAreasOfRect;
CRuntimeClass* COSMPopupToolBar::s_pPopupToolBarClass = RUNTIME_CLASS(COSMPopupToolBar);

COSMPopupBar::COSMPopupBar()
{
    m_type = kPopupType;
    m_position = kPositionPopup;
    m_mruWidth = 0;
}

COSMPopupBar::~COSMPopupBar()
{
    ForgetTornOffToolBar();
}

COSMPopupBar* COSMPopupBar::CreatePopupBar(COSMCommandBars* commandBars)
{
    CRuntimeClass* popupClass = s_pPopupBarClass ? s_pPopupBarClass : RUNTIME_CLASS(COSMPopupBar);
    if (!popupClass->IsDerivedFrom(RUNTIME_CLASS(COSMPopupBar)))
        return nullptr;
    auto* popup = static_cast<COSMPopupBar*>(popupClass->CreateObject());
    if (popup)
        popup->SetCommandBars(commandBars);
    return popup;
}

COSMCommandBar* COSMPopupBar::GetParentCommandBar() const
{
    return m_controlPopup ? m_controlPopup->GetParent() : nullptr;
}

void COSMPopupBar::Copy(const COSMCommandBar* source, BOOL recursive)
{
    COSMCommandBar::Copy(source, recursive);
    const auto* popup = dynamic_cast<const COSMPopupBar*>(source);
    if (!popup)
        return;
    m_tearOffPopup = popup->m_tearOffPopup;
    m_tearOffCaption = popup->m_tearOffCaption;
    m_tearOffId = popup->m_tearOffId;
    m_tearOffWidth = popup->m_tearOffWidth;
    m_showShadow = popup->m_showShadow;
    m_popupToolBarBorders = popup->m_popupToolBarBorders;
    m_contextMenu = popup->m_contextMenu;
}

COSMCommandBar* COSMPopupBar::Clone(BOOL recursive) const
{
    COSMPopupBar* popup = CreatePopupBar(m_commandBars);
    if (popup)
        popup->Copy(this, recursive);
    return popup;
}

void COSMPopupBar::DelayRedraw()
{
    Redraw(nullptr, TRUE);
}

void COSMPopupBar::DelayLayout()
{
    m_selectedIndex = -1;
    m_popupedIndex = -1;
    OnRecalcLayout();
}

BOOL COSMPopupBar::IsVisible() const
{
    return GetSafeHwnd() && ::IsWindowVisible(m_hWnd);
}

int COSMPopupBar::GetDefaultItem(BOOL byIndex) const
{
    for (int i = 0; i < GetControlCount(); ++i)
    {
        COSMControl* control = GetControl(i);
        if (control->IsVisible(0) && control->IsDefaultItem())
            return byIndex ? i : static_cast<int>(control->GetID());
    }
    return -1;
}

int COSMPopupBar::GetMenuAnimation() const
{
    COSMCommandBars* commandBars = GetCommandBars();
    const int option = commandBars ? static_cast<int>(commandBars->GetCommandBarsOptions()->m_animation) : 0;
    return ChoosePopupAnimation(option, commandBars != nullptr, HasChildWindow(m_hWnd), QuerySystemMenuAnimation());
}

// ---- The window ----

BOOL COSMPopupBar::CreatePopupWindow()
{
    if (GetSafeHwnd())
        return TRUE;
    COSMCommandBars* commandBars = GetCommandBars();
    // Saving the bits under the popup pays off unless every command may change while it shows.
    const BOOL saveBits = !commandBars || commandBars->GetCommandBarsOptions()->m_disableCommandsWithoutHandler;
    const UINT classStyle = CS_DBLCLKS | (saveBits ? CS_SAVEBITS : 0);
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA existing = {};
    if (::GetClassInfoA(instance, kPopupWindowClass, &existing) && existing.style != classStyle)
        ::UnregisterClassA(kPopupWindowClass, instance);
    if (!RegisterWindowClass(instance, kPopupWindowClass, classStyle))
        return FALSE;

    CWnd* site = GetSite();
    BOOL rightToLeft = FALSE;
    if (commandBars)
        rightToLeft = commandBars->IsLayoutRTL();
    else
        rightToLeft = GetImageManager()->GetMirrorMode() == COSMImageManager::kMirrorAlways ||
                      (site && site->GetSafeHwnd() && (site->GetExStyle() & WS_EX_LAYOUTRTL));
    const DWORD exStyle = WS_EX_TOOLWINDOW | (rightToLeft ? WS_EX_LAYOUTRTL : 0);
    HWND parent = site ? site->GetSafeHwnd() : nullptr;
    if (!CreateEx(exStyle, kPopupWindowClass, m_title, kPopupWindowStyle, 0, 0, 0, 0, parent, nullptr))
        return FALSE;
    SetWindowText(m_title);
    return TRUE;
}

BOOL COSMPopupBar::DestroyWindow()
{
    if (!GetSafeHwnd())
        return FALSE;
    CWnd* site = GetSite();
    HWND siteWindow = site ? site->GetSafeHwnd() : nullptr;
    // A custom control's window outlives the popup: it goes back to the site, hidden.
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(m_hWnd, GW_CHILD))
    {
        ::ShowWindow(child, SW_HIDE);
        ::SetParent(child, siteWindow);
        if (!siteWindow)
            break;
    }
    return COSMCommandBar::DestroyWindow();
}

LRESULT COSMPopupBar::OnMouseActivate(WPARAM, LPARAM)
{
    return MA_NOACTIVATE;
}

LRESULT COSMPopupBar::OnNcActivate(WPARAM wParam, LPARAM)
{
    // The popup never shows itself active; its frame keeps the active caption.
    if (wParam)
        return 0;
    return Default();
}

LRESULT COSMPopupBar::OnNcCreate(WPARAM, LPARAM)
{
    if (!Default())
        return FALSE;
    if (!(GetStyle() & kStyleSyncActive))
        return TRUE;
    HWND topParent = ::GetAncestor(::GetParent(m_hWnd), GA_ROOT);
    if (!topParent)
        return FALSE;
    const HWND foreground = ::GetForegroundWindow();
    BOOL active = topParent == foreground;
    if (!active)
    {
        const HWND lastPopup = ::GetLastActivePopup(topParent);
        active = lastPopup == foreground && ::SendMessageA(lastPopup, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0;
    }
    SendMessage(WM_FLOATSTATUS, active ? FS_ACTIVATE : FS_DEACTIVATE, 0);
    return TRUE;
}

LRESULT COSMPopupBar::OnFloatStatus(WPARAM wParam, LPARAM)
{
    return (GetStyle() & kStyleSyncActive) && (wParam & FS_SYNCACTIVE) ? TRUE : FALSE;
}

// ---- Where it opens ----

BOOL COSMPopupBar::IsVerticalParent(const COSMCommandBar* parent) const
{
    const int position = parent->GetPosition();
    return position == 2 || position == 3 || position == kPositionPopup ||
           (parent->GetType() == 2 && position == kPositionFloating);
}

void COSMPopupBar::UpdateExcludeRect()
{
    if (!m_controlPopup)
        return;
    COSMCommandBar* parent = m_controlPopup->GetParent();
    if (!parent)
        return;
    m_popupFlags = 0;
    if ((m_controlPopup->GetFlags() & 0x04) || IsLayoutRTL())
        m_popupFlags |= kPopupLeftwards;
    const BOOL vertical = IsVerticalParent(parent);
    if ((parent->GetFlags() & kFlagStackedLayout) && parent->GetPosition() == kPositionPopup)
    {
        m_popupFlags |= kPopupBelow;
    }
    else if (vertical)
    {
        const auto* parentPopup = dynamic_cast<const COSMPopupBar*>(parent);
        if (parent->GetPosition() == 3 || (parentPopup && (parentPopup->GetDirectionFlags() & kPopupLeftwards)))
            m_popupFlags = kPopupLeftwards;
    }
    else
    {
        m_popupFlags |= kPopupBelow;
    }

    m_excludeRect = m_controlPopup->GetRect();
    if (m_controlPopup->GetType() == kComboBoxType && !parent->IsPopupBar())
        m_popupFlags |= kPopupBelow;
    else
        AdjustExcludeRect(m_excludeRect, vertical);
    if (parent->GetSafeHwnd())
        parent->ClientToScreen(&m_excludeRect);
    m_popupPoint = (m_popupFlags & kPopupBelow) ? CPoint(m_excludeRect.left, m_excludeRect.bottom)
                                                : CPoint(m_excludeRect.right, m_excludeRect.top);
}

void COSMPopupBar::AdjustExcludeRect(CRect& rect, BOOL vertical)
{
    if (auto* opener = dynamic_cast<COSMControlPopup*>(m_controlPopup))
        opener->AdjustExcludeRect(rect, vertical);
}

CRect COSMPopupBar::CalculatePopupRect(int x, int y, int cx, int cy)
{
    PopupPlacementInput in;
    in.x = x;
    in.y = y;
    in.cx = cx;
    in.cy = cy;
    in.flags = m_popupFlags;
    in.exclude = m_excludeRect;
    s_pfnGetMonitorAreas(m_excludeRect.IsRectEmpty() ? CRect(x, y, x + 1, y + 1) : m_excludeRect, &in.workArea,
                         &in.monitorArea);
    in.multiColumn = IsMultiColumn();
    // A multi-column drop-down that fits neither above nor below turns sideways against its control.
    COSMCommandBar* parent = m_controlPopup ? m_controlPopup->GetParent() : nullptr;
    if (in.multiColumn && parent)
    {
        in.sideExclude = m_controlPopup->GetRect();
        if (m_controlPopup->GetType() != kComboBoxType || parent->IsPopupBar())
            AdjustExcludeRect(in.sideExclude, TRUE);
        if (parent->GetSafeHwnd())
            parent->ClientToScreen(&in.sideExclude);
    }
    in.type = m_type;
    in.position = m_position;
    const PopupPlacement out = CalculatePopupPlacement(in);
    m_popupFlags = out.flags;
    m_excludeRect = out.exclude;
    m_scrolling = out.scrolling;
    if (m_scrolling)
    {
        m_firstVisibleIndex = 0;
        LayoutScrolled(out.rect.Size(), TRUE, FALSE);
    }
    return out.rect;
}

void COSMPopupBar::UpdateLocation(CSize size)
{
    if (!GetSafeHwnd())
        return;
    const CRect rect = CalculatePopupRect(m_popupPoint.x, m_popupPoint.y, size.cx, size.cy);
    UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;
    if (::IsWindowVisible(m_hWnd))
        flags |= SWP_NOZORDER;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rect.left, rect.top, rect.Width(), rect.Height(), flags);
}

// ---- Showing and closing ----

BOOL COSMPopupBar::Popup(int x, int y, LPCRECT exclude)
{
    m_popupPoint = CPoint(x, y);
    if (exclude)
        m_excludeRect = *exclude;
    return Popup(static_cast<COSMControlPopup*>(nullptr), FALSE);
}

BOOL COSMPopupBar::Popup(COSMControlPopup* control, BOOL keyboard)
{
    m_controlPopup = control;
    if (!CreatePopupWindow())
        return FALSE;
    if (m_toolTipContext)
        m_toolTipContext->DeactivateToolTip();
    LockRedraw();
    const auto unlock = [this]() {
        UnlockRedraw();
        if (m_redrawLockCount == 0 && (m_stateFlags & kStateRedrawPending))
            Redraw(nullptr, TRUE);
    };

    HWND owner = GetOwnerSite() ? GetOwnerSite()->GetSafeHwnd() : nullptr;
    if (owner && ::IsWindow(owner))
        ::SendMessageA(owner, kMessagePopupShowing, 0, reinterpret_cast<LPARAM>(this));

    m_tearOffGripperHot = FALSE;
    m_tearOffHotTimer = 0;
    m_collapsed = FALSE;
    COSMCommandBars* commandBars = GetCommandBars();
    m_expanded = (commandBars && commandBars->IsCustomizeMode()) || GetMouseManager()->GetMenusExpanded();

    UpdateExcludeRect();
    UpdateLocation(CalcDynamicLayout(0, 0));

    COSMCommandBar* parent = GetParentCommandBar();
    if (!GetSafeHwnd() || (control && parent && !parent->GetSafeHwnd()))
    {
        if (GetSafeHwnd())
            DestroyWindow();
        unlock();
        return FALSE;
    }

    SetTrackingMode(1, keyboard, keyboard);
    m_stateFlags &= ~kStateLayoutPending;
    OnIdleUpdateCmdUI(TRUE, 0);
    if (!GetSafeHwnd())
    {
        // A command-UI handler closed the popup: it must not stay tracked and hooked, or every other bar keeps
        // ignoring the mouse.
        SetTrackingMode(0, TRUE, FALSE);
        unlock();
        return FALSE;
    }

    AnimatePopup();
    GetSoundManager()->PlaySystemSound(COSMSoundManager::kMenuPopup);
    UpdateShadows();
    m_stateFlags |= kStateLayoutPending;
    unlock();
    return TRUE;
}

void COSMPopupBar::AnimatePopup()
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (!paintManager || !GetSafeHwnd())
        return;
    COSMCommandBar* parent = GetParentCommandBar();
    COSMCommandBars* commandBars = GetCommandBars();
    const int kind = GetMenuAnimation();
    const BOOL parentAsks = parent ? parent->IsAnimateNextPopup() : TRUE;
    const BOOL animate = parentAsks && !(commandBars && commandBars->IsCustomizeMode()) && !HasChildWindow(m_hWnd) &&
                         kind >= kPopupAnimationUnfold && kind <= kPopupAnimationFade;
    if (!animate)
    {
        paintManager->SetCommandBarRegion(this);
        return;
    }
    if (parent && m_controlPopup)
    {
        m_controlPopup->RedrawParent(FALSE);
        parent->UpdateWindow();
    }
    if (CWnd* site = GetSite(); site && site->GetSafeHwnd())
        site->UpdateWindow();
    CRect window;
    GetWindowRect(&window);
    COSMPopupAnimationFrames frames(window);
    DrawCommandBar(&frames.GetImage(), frames.GetLocalRect());
    paintManager->SetCommandBarRegion(this);
    {
        CClientDC destination(this);
        paintManager->Animate(&destination, &frames.GetImage(), frames.GetLocalRect(), kind);
    }
    if (parent)
        parent->SetAnimateNextPopup(FALSE);
}

void COSMPopupBar::UpdateShadows()
{
    COSMPaintManager* paintManager = GetPaintManager();
    COSMCommandBars* commandBars = GetCommandBars();
    if (m_position != kPositionPopup || !m_showShadow || !paintManager || !paintManager->m_shadowsEnabled ||
        !paintManager->GetShadowManager() || (commandBars && commandBars->IsCustomizeMode()))
        return;
    paintManager->GetShadowManager()->RemoveShadow(this);
    paintManager->GetShadowManager()->SetShadow(this, m_excludeRect, m_shadowTag);
}

void COSMPopupBar::RemoveShadows()
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (paintManager && paintManager->GetShadowManager() && GetSafeHwnd())
        paintManager->GetShadowManager()->RemoveShadow(this);
}

BOOL COSMPopupBar::SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard)
{
    if (!COSMCommandBar::SetTrackingMode(mode, selectFirst, keyboard))
        return FALSE;
    CWnd* site = GetSite();
    if (mode != 0)
    {
        if (GetSafeHwnd())
            AccessibleNotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, m_hWnd, OBJID_MENU, CHILDID_SELF);
    }
    else
    {
        // Keeps the popup alive while its closing tells the parent and the site.
        InternalAddRef();
        if (GetSafeHwnd())
        {
            AccessibleNotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, m_hWnd, OBJID_MENU, CHILDID_SELF);
            RemoveShadows();
            KillTimer(kTimerScrollDown);
            KillTimer(kTimerScrollUp);
            m_scrollDown.timer = m_scrollUp.timer = 0;
            DestroyWindow();
        }
        if (COSMCommandBar* parent = GetParentCommandBar())
            parent->SetPopuped(-1, FALSE);
        if (site && ::IsWindow(site->GetSafeHwnd()))
            site->SendMessage(kMessagePopupClosed, 0, reinterpret_cast<LPARAM>(this));
        ::Sleep(1);
        m_controlPopup = nullptr;
        InternalRelease();
    }
    if (site && ::IsWindow(site->GetSafeHwnd()))
        site->UpdateWindow();
    return TRUE;
}

// ---- Layout ----

CRect COSMPopupBar::GetBorders()
{
    if (m_type == 1)
        return m_popupToolBarBorders;
    return COSMCommandBar::GetBorders();
}

CSize COSMPopupBar::CalcDynamicLayout(int length, DWORD mode)
{
    m_inLayout = TRUE;
    CSize size(0, 0);
    {
        CClientDC clientDC(this);
        CDC* dc = &clientDC;
        COSMPaintManager* paintManager = GetPaintManager();
        COSMFontDC font(dc, paintManager ? paintManager->GetCommandBarFont(this) : nullptr);
        CRect borders = GetBorders();
        // The tear-off gripper takes room above the first control.
        borders.top += PrepareTearOffGripper(dc);
        m_resizeGripperRect.SetRectEmpty();
        if (m_type == 1)
        {
            UpdateShortcuts();
            size = m_controls->CalcDynamicSize(dc, m_mruWidth, 0x142, borders, 0);
        }
        else
        {
            m_resizeMode = 0;
            // List controls fill themselves first, as in a toolbar; from the last, so that what one adds or removes
            // after itself does not shift those still to come.
            for (int i = GetControlCount() - 1; i >= 0; --i)
                if (i < GetControlCount())
                    GetControl(i)->BuildDynamicItems(mode);
            // The whole menu is measured; scrolling hides its slice again afterwards.
            for (int i = 0; i < GetControlCount(); ++i)
            {
                COSMControl* control = GetControl(i);
                if (control->GetHideFlags() & COSMControl::kHideScroll)
                    control->SetHideFlags(control->GetHideFlags() & ~COSMControl::kHideScroll);
            }
            if (mode == 0)
            {
                UpdateShortcuts();
                UpdateExpandingState();
            }
            // The resize gripper and the expand button take room under the last control.
            CRect grown = borders;
            grown.bottom += PrepareResizeGripper();
            grown.bottom += PrepareExpandButton(dc);
            size = m_controls->CalcPopupSize(dc, 0, m_mruWidth, grown);
            PlaceExpandButton(size);
            PlaceResizeGripper(size);
        }
        PlaceTearOffGripper(size);
    }
    m_inLayout = FALSE;
    return size;
}

void COSMPopupBar::OnRecalcLayout()
{
    if (m_inLayout || !GetSafeHwnd() || m_trackingMode == 0)
        return;
    UpdateShortcuts();
    UpdateExcludeRect();
    const CSize size = CalcDynamicLayout(0, 0);
    const CRect rect = CalculatePopupRect(m_popupPoint.x, m_popupPoint.y, size.cx, size.cy);
    CRect window;
    GetWindowRect(&window);
    if (!m_expanding && rect == window)
    {
        Redraw(nullptr, TRUE);
        return;
    }
    // Tips placed for the old rectangle would float beside the moved menu and over its animation: they go now and
    // come back on the new rectangle once it is drawn.
    const BOOL tipsShown = GetKeyboardTipsLevel() > 0;
    if (tipsShown)
        HideKeyboardTips();
    RemoveShadows();
    if (!m_expanding || !AnimateExpandingLayout(rect, window))
    {
        ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                       SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOOWNERZORDER);
        if (COSMPaintManager* paintManager = GetPaintManager())
            paintManager->SetCommandBarRegion(this);
    }
    UpdateShadows();
    // Moving took the control's shadow away with the popup's.
    if (auto* opener = dynamic_cast<COSMControlPopup*>(m_controlPopup))
        opener->SetControlShadow();
    Redraw(nullptr, TRUE);
    if (tipsShown && GetSafeHwnd())
        PostMessage(WM_TIMER, kTimerKeyboardTips, 0);
    m_expanding = FALSE;
}

COSMPopupBar::DragEnd COSMPopupBar::TrackDrag(const std::function<void(CPoint previous, CPoint point)>& move)
{
    SetCapture();
    // Moves are measured from where the button went down: the cursor may already be further on.
    const DWORD pressed = ::GetMessagePos();
    CPoint last(GET_X_LPARAM(pressed), GET_Y_LPARAM(pressed));
    const HWND window = m_hWnd;
    BOOL released = FALSE;
    CModalLoop loop;
    loop.EndOnCaptureLoss(window).EndOnEscape().PaintFirst(INT_MAX);
    const CModalLoop::End loopEnd = loop.Run(nullptr, [&](MSG& msg) {
        if (msg.message == WM_LBUTTONUP)
        {
            released = TRUE;
            return CModalLoop::Stop;
        }
        if (msg.message != WM_MOUSEMOVE)
            return CModalLoop::Dispatch;
        const CPoint point(msg.pt);
        if (point != last)
        {
            const CPoint previous = last;
            last = point;
            move(previous, point);
        }
        return CModalLoop::Handled;
    });
    DragEnd end = released ? DragEnd::Released : DragEnd::CaptureLost;
    if (loopEnd == CModalLoop::End::Quit)
        end = DragEnd::Quit;
    else if (loopEnd == CModalLoop::End::Escape)
        end = DragEnd::Escape;
    if (::GetCapture() == window)
        ::ReleaseCapture();
    return end;
}

// ---- The popup toolbar ----

COSMPopupToolBar::COSMPopupToolBar()
{
    m_type = 1;
}

COSMPopupToolBar* COSMPopupToolBar::CreatePopupToolBar(COSMCommandBars* commandBars)
{
    CRuntimeClass* popupClass = s_pPopupToolBarClass ? s_pPopupToolBarClass : RUNTIME_CLASS(COSMPopupToolBar);
    if (!popupClass->IsDerivedFrom(RUNTIME_CLASS(COSMPopupToolBar)))
        return nullptr;
    auto* popup = static_cast<COSMPopupToolBar*>(popupClass->CreateObject());
    if (popup)
        popup->SetCommandBars(commandBars);
    return popup;
}

CSize COSMPopupToolBar::CalcDynamicLayout(int, DWORD)
{
    return COSMPopupBar::CalcDynamicLayout(0, 0);
}

COSMCommandBar* COSMPopupToolBar::Clone(BOOL recursive) const
{
    COSMPopupToolBar* popup = CreatePopupToolBar(m_commandBars);
    if (popup)
        popup->Copy(this, recursive);
    return popup;
}
