// The manager's popup tracking: a popup menu or context menu shown at a point and served by a modal loop of the
// manager's own until it closes.
#include "framework/commandbars/CommandBars.h"

#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/PopupPlacement.h"

#include "classlib/ModalLoop.h"
#include "classlib/Wnd.h"

namespace {

// The extended styles that lay a site out from the right.
const DWORD kRightToLeftSite = WS_EX_LAYOUTRTL | WS_EX_RIGHT;
// A popup opened from inside another tracked popup: those stay open.
const UINT kTrackRecursive = 1;

}  // namespace

int COSMCommandBars::TrackPopupMenu(COSMPopupBar* popup, UINT flags, int x, int y, CWnd* site, LPCRECT exclude,
                                    CWnd* commandTarget)
{
    if (!popup)
        return 0;
    COSMCommandBars* commandBars = popup->GetCommandBars();
    const MSG* current = CWnd::GetCurrentMessage();
    if (commandBars && current && current->message == WM_CONTEXTMENU && current->lParam == -1)
        commandBars->ShowKeyboardCues(TRUE);

    if (!site)
        site = popup->GetSite();
    popup->SetSiteWindow(site);
    popup->SetCommandTargetWindow(commandTarget);
    if (site && site->GetSafeHwnd() && (site->GetExStyle() & kRightToLeftSite))
        flags |= TPM_RIGHTALIGN;

    int command = 0;
    if (flags & TPM_RETURNCMD)
        popup->SetPopupResult(&command);
    popup->SetRightButtonTracking((flags & TPM_RIGHTBUTTON) != 0);
    popup->SetNoNotify((flags & TPM_NONOTIFY) != 0);
    popup->SetDirectionFlags((flags & TPM_RIGHTALIGN) ? (kPopupLeftwards | kPopupBelow) : kPopupBelow);
    const BOOL recursive = (flags & kTrackRecursive) != 0;
    popup->SetRecursiveTracking(recursive);
    popup->SetShadowTag(recursive);

    COSMMouseManager* mouse = commandBars ? commandBars->GetMouseManager() : CreateMouseManager();
    if (recursive)
    {
        mouse->LockTrackRecurse(TRUE);
    }
    else
    {
        mouse->SendTrackLost();
        ::ReleaseCapture();
    }
    // The release of the button that opened the menu is not a click on it.
    mouse->SetSwallowButtonUp(TRUE);

    popup->InternalAddRef();
    const BOOL opened = popup->Popup(x, y, exclude);
    if (opened)
        PumpPopupMessages(popup);
    if (recursive)
        mouse->LockTrackRecurse(FALSE);
    popup->SetPopupResult(nullptr);
    popup->InternalRelease();

    if (!opened)
        return 0;
    return (flags & TPM_RETURNCMD) ? command : TRUE;
}

void COSMCommandBars::PumpPopupMessages(COSMPopupBar* popup)
{
    COSMCommandBars* commandBars = popup->GetCommandBars();
    COSMMouseManager* mouse = commandBars ? commandBars->GetMouseManager() : CreateMouseManager();
    CModalLoop loop;
    // The press stays queued: it reaches the window under the cursor once the menu is gone.
    loop.PeekFirst([&](const MSG& msg) {
        if (!mouse->IsClickOutsideTracks(popup, msg.message))
            return false;
        popup->SetTrackingMode(0, TRUE, FALSE);
        return true;
    });
    const CModalLoop::End end =
        loop.Run([&] { return popup->GetTrackingMode() == 0; },
                 [&](MSG& msg) {
                     if (popup->GetTrackingMode() == 0)
                     {
                         ::PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
                         return CModalLoop::Stop;
                     }
                     if (msg.message != WM_KICKIDLE && !osm_classlib_detail::PumpPreTranslate(&msg))
                     {
                         ::TranslateMessage(&msg);
                         ::DispatchMessageA(&msg);
                     }
                     return CModalLoop::Handled;
                 });
    // The application is quitting: the menu goes, and the quit goes on to the application's own loop.
    if (end == CModalLoop::End::Quit)
        popup->SetTrackingMode(0, TRUE, FALSE);
}
