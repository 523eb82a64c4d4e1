// Collapsed menus: which commands a popup hides as not yet used, the expand button at its foot, the ways the user
// expands it (the button, its hover delay, Ctrl+Down, Down past the last item) and the animation it grows with.
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/PopupBar.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PopupExpandButton.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/commandbars/PopupAnimationFrames.h"
#include "framework/commandbars/PopupPlacement.h"
#include "framework/commandbars/SoundManager.h"
#include "framework/foundation/ToolTipContext.h"

COSMControl* COSMPopupBar::GetExpandButton() const
{
    for (int i = GetControlCount() - 1; i >= 0; --i)
    {
        COSMControl* control = GetControl(i);
        if (control->IsKindOf(RUNTIME_CLASS(COSMPopupExpandButton)))
            return control;
    }
    return nullptr;
}

void COSMPopupBar::UpdateExpandingState()
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars)
        return;
    if (commandBars->GetCommandBarsOptions()->m_alwaysShowFullMenus)
    {
        for (int i = 0; i < GetControlCount(); ++i)
        {
            COSMControl* control = GetControl(i);
            if (control->GetParent() == this)
                control->SetHideWhenNotUsed(FALSE);
        }
        m_expanded = TRUE;
        m_collapsed = FALSE;
        return;
    }

    m_collapsed = FALSE;
    const COSMControl* expandButton = GetExpandButton();
    BOOL hasUsedCommand = FALSE;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        COSMControl* control = GetControl(i);
        if (control->GetParent() != this)
            continue;
        const BOOL visible = control->IsVisible(COSMControl::kHideScroll | COSMControl::kHideUsage);
        if (!commandBars->IsControlHidden(control))
        {
            control->SetHideWhenNotUsed(FALSE);
            if (control != expandButton && visible)
                hasUsedCommand = TRUE;
        }
        else
        {
            control->SetHideWhenNotUsed(visible);
        }
    }
    // A popup never collapses to nothing: without a used command everything shows.
    for (int i = 0; i < GetControlCount(); ++i)
    {
        COSMControl* control = GetControl(i);
        if (control->GetParent() != this)
            continue;
        DWORD hideFlags = control->GetHideFlags() & ~COSMControl::kHideUsage;
        if (control->IsHiddenWhenNotUsed() && !m_expanded && hasUsedCommand)
        {
            hideFlags |= COSMControl::kHideUsage;
            m_collapsed = TRUE;
        }
        if (hideFlags != control->GetHideFlags())
            control->SetHideFlags(hideFlags);
    }
}

void COSMPopupBar::ExpandBar()
{
    if (m_expanded || !m_collapsed)
        return;
    if (m_toolTipContext)
        m_toolTipContext->DeactivateToolTip();
    m_expanding = TRUE;
    m_expanded = TRUE;
    SetPopuped(-1, FALSE);
    SetSelected(-1, kSelectMouse);
    OnRecalcLayout();
    // The release of the button that expanded the menu goes nowhere, and the menu's later popups open expanded.
    COSMMouseManager* mouse = GetMouseManager();
    mouse->SetMenusExpanded(1);
    mouse->SetSwallowButtonUp(TRUE);
}

BOOL COSMPopupBar::AnimateExpandingLayout(const CRect& rect, const CRect& before)
{
    COSMPaintManager* paintManager = GetPaintManager();
    const int kind = GetMenuAnimation();
    if (!paintManager || kind < kPopupAnimationUnfold || kind > kPopupAnimationFade)
        return FALSE;
    // Taken while the collapsed menu still shows: until the animation reaches a row, it keeps its look.
    COSMPopupAnimationFrames frames(rect);
    const CRect local = frames.GetLocalRect();

    ShowWindow(SW_HIDE);
    if (CWnd* site = GetSite(); site && site->GetSafeHwnd())
        site->UpdateWindow();
    // Shown at its new place without a paint: the animation is the only drawing until it ends.
    ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                   SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOOWNERZORDER);
    paintManager->SetCommandBarRegion(this);
    DrawCommandBar(&frames.GetImage(), local);
    {
        CClientDC destination(this);
        destination.BitBlt(0, 0, local.Width(), local.Height(), &frames.GetScreenCopy(), 0, 0, SRCCOPY);
        paintManager->AnimateExpanding(this, &destination, &frames.GetImage(), before.bottom < rect.bottom);
    }
    GetSoundManager()->PlaySystemSound(COSMSoundManager::kMenuPopup);
    return TRUE;
}

int COSMPopupBar::PrepareExpandButton(CDC* dc)
{
    COSMControl* button = GetExpandButton();
    m_expandButtonHeight = 0;
    if (!m_collapsed)
    {
        if (button)
            button->SetHideFlags(button->GetHideFlags() | COSMControl::kHideHidden);
        return 0;
    }
    if (COSMPaintManager* paintManager = GetPaintManager())
        m_expandButtonHeight =
            paintManager->DrawSpecialControl(dc, COSMPopupExpandButton::kSpecialKind, button, this, FALSE, nullptr).cy;
    if (!button)
    {
        // Adding lays the bar out again, which a popup does by forgetting its selection: keep it.
        const int selected = m_selectedIndex;
        const int popuped = m_popupedIndex;
        button = m_controls->AddControl(new COSMPopupExpandButton, static_cast<int>(COSMPopupExpandButton::kCommandId),
                                        nullptr, -1, TRUE);
        m_selectedIndex = selected;
        m_popupedIndex = popuped;
    }
    // It stays out of the column layout of the other controls.
    button->SetHideFlags(button->GetHideFlags() | COSMControl::kHideHidden);
    return m_expandButtonHeight;
}

void COSMPopupBar::PlaceExpandButton(CSize size)
{
    COSMControl* button = GetExpandButton();
    if (!m_collapsed || !button)
        return;
    const CRect borders = GetBorders();
    const int top = size.cy - (borders.bottom + m_resizeGripperHeight + m_expandButtonHeight);
    button->SetHideFlags(button->GetHideFlags() & ~(COSMControl::kHideHidden | COSMControl::kHideScroll));
    button->SetRect(CRect(borders.left, top, size.cx - borders.right, top + m_expandButtonHeight));
}

void COSMPopupBar::UpdateExpandTimer(int index, int how)
{
    if (!GetSafeHwnd())
        return;
    const COSMControl* button = GetExpandButton();
    const COSMCommandBars* commandBars = GetCommandBars();
    if (button && index == button->GetIndex() && how == kSelectMouse && commandBars &&
        commandBars->GetCommandBarsOptions()->m_showFullAfterDelay)
        SetTimer(kTimerExpandButton, kExpandButtonDelay, nullptr);
    else
        KillTimer(kTimerExpandButton);
}

void COSMPopupBar::OnExpandTimer()
{
    KillTimer(kTimerExpandButton);
    COSMControl* button = GetExpandButton();
    if (button && m_selectedIndex == button->GetIndex())
        button->OnExecute();
}

int COSMPopupBar::OnHookKeyDown(UINT key, LPARAM lParam)
{
    // The resize and tear-off drags read their Escape from the queue.
    if (m_resizeTracking || m_tearOffTracking)
        return 2;
    if (key == VK_DOWN && m_collapsed && !m_expanded && m_trackLockCount == 0)
    {
        BOOL laterControl = FALSE;
        const COSMControl* button = GetExpandButton();
        for (int i = m_selectedIndex + 1; i < GetControlCount() && !laterControl; ++i)
            laterControl = GetControl(i) != button && GetControl(i)->IsVisible(COSMControl::kHideScroll);
        if (::GetKeyState(VK_CONTROL) < 0 || !laterControl)
            ExpandBar();
    }
    return COSMCommandBar::OnHookKeyDown(key, lParam);
}
