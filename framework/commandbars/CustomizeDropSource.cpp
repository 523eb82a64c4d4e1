#include "framework/commandbars/CustomizeDropSource.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/Control.h"
#include "framework/foundation/ResourceManager.h"

#include "classlib/ModalLoop.h"
#include "classlib/RefPtr.h"
#include "classlib/Wnd.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>

namespace {

// The control still sits in the bar it was dragged from (a timer may have rebuilt the bar meanwhile).
BOOL IsStillIn(const COSMControl* control, const COSMCommandBar* bar)
{
    return control->GetParent() == bar && bar->GetControl(control->GetIndex()) == control;
}

CPoint ToClient(const CWnd* window, CPoint screen)
{
    ::ScreenToClient(window->GetSafeHwnd(), &screen);
    return screen;
}

}  // namespace

COSMCustomizeDropSource::COSMCustomizeDropSource(COSMCommandBars* commandBars) : m_commandBars(commandBars)
{
    COSMResourceManager* resources = GetResourceManager();
    m_noDropCursor = resources->LoadCursor(IDC_OSM_DRAG_NODROP);
    m_moveCursor = resources->LoadCursor(IDC_OSM_DRAG_MOVE);
    m_copyCursor = resources->LoadCursor(IDC_OSM_DRAG_COPY);
}

void COSMCustomizeDropSource::Register(COSMCommandBar* bar)
{
    if (bar && !IsRegistered(bar))
        m_bars.push_back(bar);
}

void COSMCustomizeDropSource::Unregister(COSMCommandBar* bar)
{
    m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), bar), m_bars.end());
    // A bar destroyed under a running drag must not be told about the drop later.
    if (bar == m_targetBar)
        m_targetBar = nullptr;
}

BOOL COSMCustomizeDropSource::IsRegistered(const COSMCommandBar* bar) const
{
    return std::find(m_bars.begin(), m_bars.end(), bar) != m_bars.end();
}

int COSMCustomizeDropSource::DoDrag(COSMControl* control, BOOL copyOnly)
{
    CWnd* captureWindow = m_captureWindowOverride;
    if (!captureWindow && m_commandBars)
        captureWindow = m_commandBars->GetSite();
    if (!m_commandBars || !captureWindow || !::IsWindow(captureWindow->GetSafeHwnd()))
        return kDropOutside;
    // Nothing to drag, or a drag already running (a nested loop would steal its capture): nothing changes.
    if (!control || m_dragged)
        return kDropCancelled;

    // The loop dispatches timers that may take the control out of its bar and free it: it stays alive until the
    // drag is over.
    const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(control);
    COSMCommandBar* startBar = control->GetParent();
    m_dragged = control;
    captureWindow->SetCapture();
    m_move = FALSE;
    m_targetBar = nullptr;
    m_copyOnly = copyOnly;
    ::GetCursorPos(&m_startPoint);

    int result = kDropCancelled;
    if (!RunDragLoop(captureWindow->GetSafeHwnd(), startBar, result))
    {
        result = kDropCancelled;
    }
    else if (m_targetBar)
    {
        result = m_move ? kDropMoved : kDropCopied;
        COSMCommandBar* target = m_targetBar;
        m_targetBar = nullptr;
        const RefPtr<COSMCommandBar> keepTarget = RefPtr<COSMCommandBar>::Retain(target);
        CPoint point;
        ::GetCursorPos(&point);
        target->OnCustomizeDrop(control, result, ToClient(target, point), ToClient(target, m_startPoint));
    }
    LeaveTarget();
    if (::GetCapture() == captureWindow->GetSafeHwnd())
        ::ReleaseCapture();
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    m_dragged = nullptr;
    return result;
}

BOOL COSMCustomizeDropSource::RunDragLoop(HWND capture, COSMCommandBar* startBar, int& result)
{
    BOOL moved = FALSE;
    BOOL dropped = FALSE;
    CModalLoop loop;
    loop.EndOnCaptureLoss(capture).EndOnEscape().PaintFirst(INT_MAX);
    // Whatever a dispatched message did, a control taken out of its bar is no longer the user's to drop.
    loop.Run([&] { return startBar && !IsStillIn(m_dragged, startBar); },
             [&](MSG& msg) {
                 switch (msg.message)
                 {
                 case WM_MOUSEMOVE:
                 {
                     CPoint screen(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
                     ::ClientToScreen(msg.hwnd, &screen);
                     if (!moved)
                     {
                         moved = TRUE;
                         result = kDropOutside;
                         if (COSMCommandBar* parent = m_dragged->GetParent(); parent && parent->GetSafeHwnd())
                         {
                             int effect = -1;
                             m_dragged->OnCustomizeDragOver(m_dragged, ToClient(parent, screen), effect);
                         }
                     }
                     m_move = (msg.wParam & MK_CONTROL) == 0;
                     UpdateTarget(screen);
                     if ((msg.wParam & MK_LBUTTON) == 0)
                     {
                         dropped = TRUE;
                         return CModalLoop::Stop;
                     }
                     return CModalLoop::Handled;
                 }
                 case WM_KEYDOWN:
                     if (msg.wParam == VK_CONTROL && m_move)
                     {
                         m_move = FALSE;
                         SetDragCursor();
                     }
                     return CModalLoop::Handled;
                 case WM_KEYUP:
                     if (msg.wParam == VK_CONTROL && !m_move)
                     {
                         m_move = TRUE;
                         SetDragCursor();
                     }
                     return CModalLoop::Handled;
                 case WM_LBUTTONUP:
                     dropped = TRUE;
                     return CModalLoop::Stop;
                 case WM_RBUTTONDOWN:
                     return CModalLoop::Stop;
                 default:
                     ::DispatchMessage(&msg);
                     return CModalLoop::Handled;
                 }
             });
    return dropped;
}

void COSMCustomizeDropSource::UpdateTarget(CPoint screen)
{
    const HWND under = ::WindowFromPoint(screen);
    COSMCommandBar* barUnder = nullptr;
    // The bar registered last wins where bars overlap.
    for (auto it = m_bars.rbegin(); it != m_bars.rend(); ++it)
    {
        COSMCommandBar* bar = *it;
        const HWND window = bar->GetSafeHwnd();
        if (!window || !bar->IsVisible())
            continue;
        CRect rect;
        ::GetWindowRect(window, &rect);
        if (rect.PtInRect(screen) && under && (under == window || ::IsChild(window, under)))
        {
            barUnder = bar;
            break;
        }
    }

    if (barUnder && barUnder == m_targetBar)
    {
        m_targetBar->OnCustomizeDragOver(m_dragged, ToClient(m_targetBar, screen));
    }
    else
    {
        LeaveTarget();
        if (barUnder && barUnder->OnCustomizeDragEnter(m_dragged, ToClient(barUnder, screen)) != 0)
            m_targetBar = barUnder;
    }
    SetDragCursor();
}

void COSMCustomizeDropSource::LeaveTarget()
{
    if (!m_targetBar)
        return;
    COSMCommandBar* target = m_targetBar;
    m_targetBar = nullptr;
    target->OnCustomizeDragLeave();
}

void COSMCustomizeDropSource::SetDragCursor()
{
    if (!m_targetBar)
        ::SetCursor(m_noDropCursor);
    else
        ::SetCursor(m_move && !m_copyOnly ? m_moveCursor : m_copyCursor);
}
