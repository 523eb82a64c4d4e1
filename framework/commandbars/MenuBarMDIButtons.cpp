// The menu bar's controls for a maximized MDI child: its system-menu popup first, its window buttons last.
#include "framework/commandbars/MenuBar.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/MenuBarMDIControls.h"

void COSMMenuBar::RefreshMdiButtons()
{
    BOOL maximized = FALSE;
    HWND child = GetActiveMdiChild(&maximized);
    const DWORD style = child ? static_cast<DWORD>(::GetWindowLongA(child, GWL_STYLE)) : 0;
    const BOOL windowButtons = maximized && (style & WS_SYSMENU);

    RefreshSystemPopup(child, maximized);
    RefreshMdiButton(kMinimizeButtonId, windowButtons && (style & WS_MINIMIZEBOX) && !(m_flags & kFlagNoMinimizeButton),
                     maximized);
    RefreshMdiButton(kRestoreButtonId, windowButtons && (style & WS_MAXIMIZEBOX) && !(m_flags & kFlagNoRestoreButton),
                     maximized);
    RefreshMdiButton(kCloseButtonId, windowButtons && !(m_flags & kFlagNoCloseButton), maximized);
}

void COSMMenuBar::RefreshSystemPopup(HWND child, BOOL maximized)
{
    auto* popup = dynamic_cast<COSMControlMDISysMenuPopup*>(m_controls->FindControlById(kSystemPopupId));
    HMENU systemMenu = maximized && (m_flags & kFlagSystemPopup) ? ::GetSystemMenu(child, FALSE) : nullptr;
    if (!systemMenu || !::IsMenu(systemMenu))
    {
        if (popup)
        {
            m_controls->Remove(popup);
            DelayLayout();
        }
        return;
    }
    if (popup && popup->GetSystemMenu() == systemMenu)
        return;
    if (!popup)
    {
        popup = new COSMControlMDISysMenuPopup;
        m_controls->AddControl(popup, kSystemPopupId, nullptr, 0, TRUE);
        auto* popupBar = new COSMMenuBarSysMenuPopupBar;
        popupBar->SetCommandBars(GetCommandBars());
        popup->SetCommandBar(popupBar);
        popupBar->InternalRelease();
    }
    popup->SetSystemMenu(systemMenu);
    popup->TakeIconOf(child);
    popup->FillFromSystemMenu(systemMenu);
    DelayLayout();
    DelayRedraw();
}

void COSMMenuBar::RefreshMdiButton(UINT id, BOOL wanted, BOOL anyMaximized)
{
    COSMControl* button = m_controls->FindControlById(static_cast<int>(id));
    if (!button && wanted)
    {
        m_controls->AddControl(new COSMControlMDIButton, static_cast<int>(id), COSMControlMDIButton::GlyphOf(id), -1,
                               TRUE);
        DelayLayout();
    }
    else if (button && !anyMaximized)
    {
        m_controls->Remove(button);
        DelayLayout();
    }
}
