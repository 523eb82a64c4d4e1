#include "framework/controls/ControlCustom.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBarParams.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Controls.h"
#include "framework/foundation/HookManager.h"
#include "framework/foundation/PropExchange.h"

namespace {

// SetWindowPos that only shows or hides.
const UINT kCustomShowFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
// The flags a new custom control starts with: it may not be moved by customizing.
const DWORD kCustomInitialFlags = 0x10;
// The action property that shows or hides its controls.
const int kCustomActionVisible = 2;
// The bar Type of popup bars.
const int kCustomPopupBarType = 2;
// "ControlId" is stored from this schema on.
const long kCustomControlIdSchema = 5;

}  // namespace

IMPLEMENT_SERIAL(COSMControlCustom, COSMControlButton, VERSIONABLE_SCHEMA | 0x22)

COSMControlCustom::COSMControlCustom()
{
    m_flags = kCustomInitialFlags;
}

COSMControlCustom::~COSMControlCustom()
{
    GetHookManager()->RemoveAll(&m_sink);
}

// ---- The window ----

void COSMControlCustom::SetControlWindow(HWND window)
{
    if (window == m_window)
        return;
    if (m_window)
        GetHookManager()->RemoveHook(m_window, &m_sink);
    m_window = window;
    InvalidateParentLayout();
    DelayLayoutParent();
}

void COSMControlCustom::SetBorders(const CRect& borders)
{
    StoreForMeasure(m_borders, borders);
}

void COSMControlCustom::SetControlSize(CSize size)
{
    StoreForMeasure(m_controlSize, size);
}

BOOL COSMControlCustom::IsControlWindowVisible() const
{
    return m_windowShown && HasControlWindow() && (::GetWindowLongPtrA(m_window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void COSMControlCustom::UpdateWindowPlacement()
{
    // The original controls are a snapshot of the bar: their window belongs to the live copy.
    if (m_controls && m_controls->IsKindOf(RUNTIME_CLASS(COSMOriginalControls)))
        return;
    if (!m_parent || !HasControlWindow())
        return;
    const HWND barWindow = m_parent->GetSafeHwnd();
    if (!barWindow || ::GetParent(m_window) != barWindow)
        return;
    const BOOL show = m_windowShown && IsVisible(0);
    ::SetWindowPos(m_window, nullptr, 0, 0, 0, 0, kCustomShowFlags | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

CWnd* COSMControlCustom::FindControlWindow(COSMCommandBars* commandBars, int id)
{
    if (!commandBars)
        return nullptr;
    if (CWnd* site = commandBars->GetSite())
        if (const HWND child = ::GetDlgItem(site->GetSafeHwnd(), id))
            return CWnd::FromHandle(child);
    for (int i = 0; i < commandBars->GetCount(); ++i)
    {
        const COSMCommandBar* bar = commandBars->GetAt(i);
        if (!bar || !bar->GetSafeHwnd())
            continue;
        if (const HWND child = ::GetDlgItem(bar->GetSafeHwnd(), id))
            return CWnd::FromHandle(child);
    }
    return nullptr;
}

// ---- The control ----

void COSMControlCustom::SetEnabled(int enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (HasControlWindow())
        ::EnableWindow(m_window, GetEnabled() != 0);
    RedrawParent(FALSE);
}

void COSMControlCustom::SetRect(const CRect& rect)
{
    const HWND barWindow = m_parent ? m_parent->GetSafeHwnd() : nullptr;
    const BOOL attached = !HasControlWindow() || ::GetParent(m_window) == barWindow;
    if (SameValue(rect, m_rect) && attached)
        return;
    COSMControlButton::SetRect(rect);
    if (!HasControlWindow() || !barWindow)
        return;
    if (::GetParent(m_window) != barWindow)
    {
        // A popup cannot live inside another window: it becomes a child before it moves in.
        const LONG_PTR style = ::GetWindowLongPtrA(m_window, GWL_STYLE);
        ::SetWindowLongPtrA(m_window, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD);
        ::SetParent(m_window, barWindow);
        // The bar hears the mouse moving over the window, for its hot tracking.
        GetHookManager()->SetHook(m_window, &m_sink);
    }
    ::MoveWindow(m_window, rect.left + m_borders.left, rect.top + m_borders.top,
                 rect.Width() - m_borders.left - m_borders.right, rect.Height() - m_borders.top - m_borders.bottom,
                 TRUE);
    UpdateWindowPlacement();
}

void COSMControlCustom::SetHideFlags(DWORD hideFlags)
{
    if (hideFlags == m_hideFlags)
        return;
    COSMControlButton::SetHideFlags(hideFlags);
    UpdateWindowPlacement();
    DelayLayoutParent();
}

CSize COSMControlCustom::GetSize(CDC* dc)
{
    if (m_windowShown && HasControlWindow())
        return CSize(m_controlSize.cx + m_borders.left + m_borders.right,
                     m_controlSize.cy + m_borders.top + m_borders.bottom);
    return COSMControlButton::GetSize(dc);
}

void COSMControlCustom::Draw(CDC* dc)
{
    if (IsControlWindowVisible())
        return;
    COSMControlButton::Draw(dc);
}

void COSMControlCustom::BuildDynamicItems(DWORD layoutMode)
{
    const BOOL vertical = (layoutMode & kLayoutVertical) != 0;
    switch (m_verticalOptions)
    {
    case kVerticalHide:
        SetHideFlags(vertical ? (m_hideFlags | kHideVertical) : (m_hideFlags & ~kHideVertical));
        break;
    case kVerticalButton:
        if (m_windowShown != !vertical)
        {
            m_windowShown = !vertical;
            InvalidateParentLayout();
        }
        UpdateWindowPlacement();
        break;
    default:
        break;
    }
}

void COSMControlCustom::DoPropExchange(COSMPropExchange* px)
{
    COSMControlButton::DoPropExchange(px);
    CRect borders = m_borders;
    PropExchangeRect(px, "Borders", &borders, RECT{0, 0, 0, 0});
    SIZE size = m_controlSize;
    PropExchangeSize(px, "ControlSize", &size, SIZE{0, 0});
    long verticalOptions = static_cast<long>(m_verticalOptions);
    PropExchangeLong(px, "VerticalOptions", &verticalOptions, 0);
    long controlId = m_controlId;
    if (px->m_nSchema > kCustomControlIdSchema)
        PropExchangeLong(px, "ControlId", &controlId, 0);
    if (!px->IsLoading())
        return;
    m_borders = borders;
    m_controlSize = size;
    m_verticalOptions = static_cast<DWORD>(verticalOptions);
    m_controlId = static_cast<int>(controlId);
    if (m_controlId == 0)
        return;
    // The window is found again by its child id, among the windows of the command bars being loaded.
    const COSMCommandBarsPersistParams* params = GetPersistParams(px);
    if (CWnd* window = params ? FindControlWindow(params->commandBars, m_controlId) : nullptr)
        SetControlWindow(window->GetSafeHwnd());
}

void COSMControlCustom::Copy(const COSMControl* source, BOOL recursive)
{
    if (const auto* custom = dynamic_cast<const COSMControlCustom*>(source); custom && custom != this)
    {
        m_borders = custom->m_borders;
        SetControlWindow(custom->m_window);
        m_controlSize = custom->m_controlSize;
        m_verticalOptions = custom->m_verticalOptions;
        m_controlId = custom->m_controlId;
    }
    COSMControlButton::Copy(source, recursive);
}

void COSMControlCustom::OnClick(BOOL keyboard, CPoint point)
{
    if (IsControlWindowVisible() && !IsCustomizeMode())
        return;
    COSMControlButton::OnClick(keyboard, point);
}

BOOL COSMControlCustom::IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint, int& effect) const
{
    if (bar && bar->GetType() == kCustomPopupBarType)
        return TRUE;
    effect = 0;
    return FALSE;
}

void COSMControlCustom::OnRemoved()
{
    m_windowShown = FALSE;
    UpdateWindowPlacement();
    COSMControlButton::OnRemoved();
}

void COSMControlCustom::OnActionChanged(int property)
{
    COSMControlButton::OnActionChanged(property);
    if (property == kCustomActionVisible && HasControlWindow())
        UpdateWindowPlacement();
}

COSMControl* COSMControlCustom::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlCustom*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}

// ---- Messages of the window ----

int COSMControlCustom::CWindowSink::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT&)
{
    m_control->OnControlWindowMessage(hWnd, nMessage, wParam, lParam);
    return kNotHandled;
}

void COSMControlCustom::OnControlWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_MOUSEMOVE || window != m_window || !m_parent)
        return;
    // A copy in another bar shares the window: only the bar the window lives in hears it.
    const HWND barWindow = m_parent->GetSafeHwnd();
    if (!barWindow || ::GetParent(window) != barWindow)
        return;
    // Captured moves left of or above the window carry negative coordinates.
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::MapWindowPoints(window, barWindow, &point, 1);
    m_parent->OnMouseMove(static_cast<UINT>(wParam), CPoint(point));
}
