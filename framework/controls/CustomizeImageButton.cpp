#include "framework/controls/CustomizeImageButton.h"

#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBar.h"

IMPLEMENT_DYNCREATE(COSMCustomizeImageButton, COSMControlButton)

namespace {
constexpr UINT kCustomizeImageExecuted = 100;
}

COSMCustomizeImageButton::~COSMCustomizeImageButton() = default;

void COSMCustomizeImageButton::OnExecute()
{
    COSMCommandBar* bar = GetParent();
    if (!bar)
        return;
    // Closing the menu may let go of the grid and its buttons.
    const RefPtr<COSMControl> keepAlive = RetainRef<COSMControl>(this);
    const RefPtr<COSMCommandBar> keepBar = RetainRef(bar);
    // The grid's notification window is the menu's owner; read it while the menu still tracks.
    CWnd* site = bar->GetNotifySite();
    HWND siteWindow = site ? site->GetSafeHwnd() : nullptr;
    bar->GetRootParent()->StopTracking();
    if (!siteWindow || !::IsWindow(siteWindow))
        return;
    if (!SendNotify(CWnd::FromHandle(siteWindow), kCustomizeImageExecuted))
        ::SendMessageA(siteWindow, WM_COMMAND, GetID(), 0);
}
