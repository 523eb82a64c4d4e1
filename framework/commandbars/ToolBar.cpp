#include "framework/commandbars/ToolBar.h"

#include "classlib/DC.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/DockBar.h"
#include "framework/commandbars/ToolBarMoveTracker.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ResourceManager.h"
#include "framework/foundation/WindowFunctions.h"

// Schema 0x23: the toolbar keys end with "FloatingPosition".
IMPLEMENT_SERIAL(COSMToolBar, COSMCommandBar, VERSIONABLE_SCHEMA | 0x23)

BEGIN_MESSAGE_MAP(COSMToolBar, COSMCommandBar)
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_MESSAGE(WM_NCCREATE, OnNcCreate)
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivate)
    ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivate)
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
    ON_WM_SETFOCUS()
    ON_WM_CLOSE()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(COSMToolBar::kMessageRemoveHidden, OnRemoveHidden)
END_MESSAGE_MAP()

namespace {

const char kToolBarWindowClass[] = "OSMToolBar";
// The floating-frame style bit: the window keeps its frame's caption active (WM_FLOATSTATUS).
const DWORD kStyleSyncActive = 0x100;
const int kFloatingBorder = 3;

int DefaultShowMessageBox(LPCSTR text, UINT type)
{
    return GetResourceManager()->ShowMessageBox(text, type);
}

}  // namespace

int (*COSMToolBar::s_pfnShowMessageBox)(LPCSTR text, UINT type) = &DefaultShowMessageBox;

COSMToolBar::COSMToolBar() : m_moveTracker(std::make_unique<COSMToolBarMoveTracker>(this))
{
    m_closeable = TRUE;
    m_flags = 0x3F;
    RegisterWindowClass(::GetModuleHandleA(nullptr), kToolBarWindowClass, CS_DBLCLKS);
}

COSMToolBar::~COSMToolBar()
{
    if (m_dockBar)
        m_dockBar->RemoveCommandBar(this);
}

void COSMToolBar::RemoveMoveTracker()
{
    m_moveTracker.reset();
}

// ---- The window ----

BOOL COSMToolBar::Create(CWnd* parent, BOOL floating)
{
    HWND parentWindow = parent ? parent->GetSafeHwnd() : nullptr;
    if (!GetSafeHwnd())
    {
        COSMCommandBars* commandBars = GetCommandBars();
        const DWORD exStyle = commandBars && commandBars->IsLayoutRTL() ? WS_EX_LAYOUTRTL : 0;
        const DWORD style = (floating ? WS_POPUP : WS_CHILD) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | kStyleSyncActive;
        CPoint point(100, 100);
        if (m_moveTracker && m_moveTracker->GetSavedFloatingPoint() != CPoint(0, 0))
            point = m_moveTracker->GetSavedFloatingPoint();
        if (!CreateEx(exStyle, kToolBarWindowClass, m_title, style, point.x, point.y, 0, 0, parentWindow, nullptr))
            return FALSE;
        // A docked bar stays hidden until its dock bar places it, which shows it there: shown now, it would be
        // shown, moved and painted once more for every bar added before the frame lays out.
        if (m_visible && (floating || !dynamic_cast<COSMDockBar*>(parent)))
            ShowWindow(SW_SHOWNA);
    }
    if (!floating)
    {
        ModifyStyle(WS_POPUP, WS_CHILD);
        return TRUE;
    }
    // A floating bar is a top-level window its frame owns.
    if (GetStyle() & WS_CHILD)
    {
        ::SetParent(m_hWnd, nullptr);
        ModifyStyle(WS_CHILD, WS_POPUP | kStyleSyncActive);
    }
    ::SetWindowLongPtrA(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(parentWindow));
    // A bar floated before any dock bar placed it has not shown yet.
    if (m_visible && !(GetStyle() & WS_VISIBLE))
        ShowWindow(SW_SHOWNA);
    return TRUE;
}

BOOL COSMToolBar::SetPosition(int position)
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars)
        return FALSE;
    // Where the bar really is decides, not the stored position: a bar restored with position 0 but never docked
    // still has to enter that dock bar.
    if (position >= 0 && position <= 3)
        return commandBars->DockCommandBarAtPosition(this, position);
    if (position == kPositionFloating)
        return commandBars->FloatCommandBar(this);
    return FALSE;
}

BOOL COSMToolBar::IsVisible() const
{
    return m_visible && GetSafeHwnd() != nullptr;
}

void COSMToolBar::RecalcSiteLayout()
{
    if (COSMCommandBars* commandBars = GetCommandBars())
    {
        commandBars->RecalcFrameLayout(FALSE);
        return;
    }
    CWnd* site = GetSite();
    if (!site || !::IsWindow(site->GetSafeHwnd()))
        return;
    CRect client;
    site->GetClientRect(&client);
    site->SendMessage(WM_SIZE, 0, MAKELPARAM(client.Width(), client.Height()));
}

void COSMToolBar::SetVisible(BOOL visible)
{
    visible = visible ? TRUE : FALSE;
    if (m_visible == visible)
        return;
    m_visible = visible;
    if (!visible)
        StopTracking();
    if (GetSafeHwnd())
        ShowWindow(visible ? SW_SHOWNA : SW_HIDE);
    if (!visible && m_dockBar)
        RecalcSiteLayout();
    if (visible)
        OnRecalcLayout();

    COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars)
        return;
    CWnd* site = commandBars->GetSite();
    if (site && ::IsWindow(site->GetSafeHwnd()))
        site->SendMessage(kMessageVisibleChanged, reinterpret_cast<WPARAM>(this), visible);
    // Changed first: the removal below may release the last reference on this bar.
    commandBars->GetCommandBarsOptions()->m_modified = TRUE;
    if (!m_tearOff || visible || commandBars->IndexOf(this) < 0)
        return;
    // The click that hid the bar (its own close button) is still running on this bar and its controls: the removal
    // waits for its own message. A bar without a window has nothing running on it.
    if (GetSafeHwnd())
    {
        PostMessage(kMessageRemoveHidden, 0, 0);
        return;
    }
    const RefPtr<COSMToolBar> keep = RefPtr<COSMToolBar>::Retain(this);
    commandBars->Remove(this);
}

LRESULT COSMToolBar::OnRemoveHidden(WPARAM, LPARAM)
{
    COSMCommandBars* commandBars = GetCommandBars();
    // Shown again meanwhile, or already gone from the manager: the bar stays as it is.
    if (!commandBars || m_visible || !m_tearOff || commandBars->IndexOf(this) < 0)
        return 0;
    commandBars->Remove(this);
    return 0;
}

void COSMToolBar::OnRecalcLayout()
{
    if (!GetSafeHwnd() || !IsVisible() || m_inRecalc)
        return;
    m_inRecalc = TRUE;
    if (m_position == kPositionFloating)
    {
        const CSize size = CalcDynamicLayout(-1, LM_COMMIT | LM_MRUWIDTH | LM_HORZ);
        CRect window;
        GetWindowRect(&window);
        SetWindowPos(nullptr, window.left, window.top, size.cx, size.cy,
                     SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
    else
    {
        RecalcSiteLayout();
    }
    Redraw(nullptr, TRUE);
    m_inRecalc = FALSE;
}

CRect COSMToolBar::GetBorders()
{
    if (m_position == kPositionFloating)
        return CRect(kFloatingBorder, kFloatingBorder, kFloatingBorder, kFloatingBorder);
    COSMPaintManager* paintManager = GetPaintManager();
    CRect borders = paintManager ? paintManager->GetCommandBarBorders(this) : CRect(0, 0, 0, 0);
    if (paintManager && GetShowGripper())
    {
        CSize gripper;
        if (m_measuringDC)
        {
            gripper = paintManager->DrawCommandBarGripper(m_measuringDC, this, FALSE);
        }
        else
        {
            CClientDC dc(this);
            gripper = paintManager->DrawCommandBarGripper(&dc, this, FALSE);
        }
        borders.left += gripper.cx;
        borders.top += gripper.cy;
    }
    return borders;
}

void COSMToolBar::Copy(const COSMCommandBar* source, BOOL recursive)
{
    COSMCommandBar::Copy(source, recursive);
    const auto* toolBar = dynamic_cast<const COSMToolBar*>(source);
    if (!toolBar || toolBar == this)
        return;
    m_builtIn = toolBar->m_builtIn;
    m_tearOff = toolBar->m_tearOff;
    m_closeable = toolBar->m_closeable;
    m_contextMenuPresent = toolBar->m_contextMenuPresent;
    m_customizeDialogPresent = toolBar->m_customizeDialogPresent;
}

COSMCommandBar* COSMToolBar::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMToolBar*>(GetRuntimeClass()->CreateObject());
    if (clone)
        clone->Copy(this, recursive);
    return clone;
}

BOOL COSMToolBar::IsCustomized() const
{
    if (!IsCustomizable())
        return FALSE;
    const COSMOriginalControls* original = m_controls->GetOriginalControls();
    return !(original && original->Compare(m_controls.Get()));
}

// ---- Mouse, keyboard and the floating window ----

CRect COSMToolBar::GetMoveGripperRect() const
{
    if (m_position < 0 || m_position > 3 || !GetShowGripper() || !m_moveTracker || !(m_flags & kMovableFlags))
        return CRect();
    COSMPaintManager* paintManager = GetPaintManager();
    if (!paintManager)
        return CRect();
    CRect client;
    GetClientRect(&client);
    const CRect borders = paintManager->GetCommandBarBorders(const_cast<COSMToolBar*>(this));
    CClientDC dc(const_cast<COSMToolBar*>(this));
    const CSize gripper = paintManager->DrawCommandBarGripper(&dc, const_cast<COSMToolBar*>(this), FALSE);
    CRect area = client;
    if (IsDialogBar())
    {
        area.left = 3;
        area.right = borders.left + gripper.cx;
        area.bottom = borders.top + gripper.cy;
    }
    else if (m_position <= 1)
        area.right = borders.left + gripper.cx;
    else
        area.bottom = borders.top + gripper.cy;
    return area.IsRectEmpty() ? CRect() : area;
}

BOOL COSMToolBar::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    const CRect gripper = GetMoveGripperRect();
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (!gripper.IsRectEmpty() && gripper.PtInRect(point))
    {
        ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

void COSMToolBar::OnLButtonDown(UINT flags, CPoint point)
{
    if (m_position == kPositionFloating)
        SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (m_controls->HitTest(point))
    {
        COSMCommandBar::OnLButtonDown(flags, point);
        return;
    }
    if (COSMCommandBars* commandBars = GetCommandBars())
        commandBars->ClosePopups();
    if (m_moveTracker && (m_flags & kMovableFlags))
    {
        ClientToScreen(&point);
        m_moveTracker->TrackMove(point);
    }
}

void COSMToolBar::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (!m_controls->HitTest(point) && m_moveTracker)
    {
        m_moveTracker->ToggleDocking();
        return;
    }
    COSMCommandBar::OnLButtonDblClk(flags, point);
}

void COSMToolBar::OnRButtonDown(UINT flags, CPoint point)
{
    COSMCommandBars* commandBars = GetCommandBars();
    COSMControl* control = m_controls->HitTest(point);
    if (commandBars && !commandBars->IsCustomizeMode() && !(control && control->OnRButtonDown(point)))
    {
        StopTracking();
        ClearSelected();
        Redraw(nullptr, TRUE);
        ClientToScreen(&point);
        commandBars->ShowToolbarsContextMenu(0, point.x, point.y);
        return;
    }
    if (commandBars && commandBars->IsCustomizeMode())
        COSMCommandBar::OnRButtonDown(flags, point);
}

LRESULT COSMToolBar::OnNcHitTest(CPoint point)
{
    if (m_position == kPositionFloating && m_type != 2)
    {
        CRect window;
        GetWindowRect(&window);
        if (window.PtInRect(point))
        {
            if (point.y < window.top + kFloatingBorder)
                return HTTOP;
            if (point.y >= window.bottom - kFloatingBorder)
                return HTBOTTOM;
            if (point.x < window.left + kFloatingBorder)
                return HTLEFT;
            if (point.x >= window.right - kFloatingBorder)
                return HTRIGHT;
        }
    }
    return COSMCommandBar::OnNcHitTest(point);
}

void COSMToolBar::OnNcLButtonDown(UINT hitTest, CPoint point)
{
    if (hitTest >= HTLEFT && hitTest <= HTBOTTOMRIGHT && m_moveTracker)
    {
        SetFocus();
        SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (COSMCommandBars* commandBars = GetCommandBars())
            commandBars->ClosePopups();
        m_moveTracker->TrackResize(hitTest, point);
        return;
    }
    COSMCommandBar::OnNcLButtonDown(hitTest, point);
}

LRESULT COSMToolBar::OnNcCreate(WPARAM wParam, LPARAM lParam)
{
    if (!Default())
        return FALSE;
    // Only a floating bar (a popup) shows its caption active with the frame's; a docked one skips the questions
    // about the foreground window, each a round trip to the window manager.
    if (GetStyle() & WS_CHILD)
        return TRUE;
    HWND topParent = ::GetAncestor(m_hWnd, GA_ROOTOWNER);
    if ((GetStyle() & kStyleSyncActive) && topParent && topParent != m_hWnd)
    {
        HWND foreground = ::GetForegroundWindow();
        BOOL active = foreground == topParent;
        if (!active && foreground && ::GetLastActivePopup(topParent) == foreground)
            active = ::SendMessageA(foreground, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0;
        SendMessage(WM_FLOATSTATUS, active ? FS_ACTIVATE : FS_DEACTIVATE, 0);
    }
    return TRUE;
}

LRESULT COSMToolBar::OnNcActivate(WPARAM wParam, LPARAM lParam)
{
    // Becoming active leaves the caption as the frame draws it.
    if (wParam)
        return TRUE;
    return Default();
}

LRESULT COSMToolBar::OnMouseActivate(WPARAM wParam, LPARAM lParam)
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (m_position == kPositionFloating || (commandBars && commandBars->IsCustomizeMode()))
        return MA_NOACTIVATE;
    return Default();
}

LRESULT COSMToolBar::OnFloatStatus(WPARAM wParam, LPARAM)
{
    if ((wParam & FS_SYNCACTIVE) && (GetStyle() & kStyleSyncActive))
        return 1;
    if (m_position != kPositionFloating || !m_visible || !GetSafeHwnd())
        return 0;
    COSMCommandBars* commandBars = GetCommandBars();
    const BOOL sync = commandBars ? commandBars->GetCommandBarsOptions()->m_syncFloatingBars : TRUE;
    if (!sync)
        return 0;
    HWND topParent = ::GetAncestor(m_hWnd, GA_ROOTOWNER);
    HWND foreground = ::GetForegroundWindow();
    const BOOL frameActive = topParent && foreground && ::GetLastActivePopup(topParent) == foreground;
    if ((wParam & FS_DEACTIVATE) && !frameActive)
        ShowWindow(SW_HIDE);
    else if ((wParam & FS_ACTIVATE) && frameActive && !IsWindowVisible() && ::IsWindowVisible(foreground) &&
             !::IsIconic(foreground))
        ShowWindow(SW_SHOWNA);
    if (wParam & FS_SHOW)
        ShowWindow(SW_SHOWNA);
    if (wParam & FS_HIDE)
        ShowWindow(SW_HIDE);
    if (wParam & FS_ENABLE)
        EnableWindow(TRUE);
    if (wParam & FS_DISABLE)
        EnableWindow(FALSE);
    return 0;
}

void COSMToolBar::OnSetFocus(CWnd* oldWnd)
{
    if (!m_focusBefore && oldWnd)
        m_focusBefore = oldWnd->GetSafeHwnd();
    if (!m_moveTracker)
        SetTrackingMode(1, TRUE, TRUE);
}

void COSMToolBar::OnClose() {}

int COSMToolBar::OnHookKeyDown(UINT key, LPARAM lParam)
{
    if (!m_moveTracker && key == VK_TAB)
    {
        const BOOL previous = ::GetKeyState(VK_SHIFT) < 0;
        HWND parent = ::GetParent(m_hWnd);
        if (HWND next = parent ? ::GetNextDlgTabItem(parent, m_hWnd, previous) : nullptr)
            ::SetFocus(next);
        StopTracking();
        return 1;
    }
    return COSMCommandBar::OnHookKeyDown(key, lParam);
}
