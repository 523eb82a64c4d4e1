// The toolbar's caption buttons, its expand popup and the add-or-remove-buttons list.
#include "classlib/CString.h"
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/ToolBar.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/ShortcutManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ResourceManager.h"

IMPLEMENT_DYNCREATE(COSMToolBarCloseButton, COSMControlButton)
IMPLEMENT_DYNCREATE(COSMToolBarExpandButton, COSMControlPopup)
IMPLEMENT_DYNCREATE(COSMCustomizeToggleButton, COSMControlButton)

namespace {

// Control flags the add-or-remove list leaves out: right-aligned, tooltip-in-popups and new-row controls.
const DWORD kNotListedFlags = COSMControl::kFlagRightAlign | COSMControl::kFlagPopupToolTip | COSMControl::kFlagWrapRow;

// The first control of the collection with the id and Type of the control, or null.
COSMControl* FindSameControl(const COSMControls* controls, const COSMControl* control)
{
    for (int i = 0; i < controls->GetCount(); ++i)
    {
        COSMControl* candidate = controls->GetAt(i);
        if (candidate->GetID() == control->GetID() && candidate->GetType() == control->GetType())
            return candidate;
    }
    return nullptr;
}

CString LoadFrameworkString(UINT id)
{
    CString text;
    GetResourceManager()->LoadString(&text, id);
    return text;
}

}  // namespace

// ---- The close button ----

COSMToolBarCloseButton::COSMToolBarCloseButton()
{
    m_type = 1;
    m_flags = 0x1A;
}

void COSMToolBarCloseButton::Draw(CDC* dc)
{
    if (COSMPaintManager* paintManager = GetPaintManager())
        paintManager->DrawSpecialControl(dc, 2, this, m_parent, TRUE, nullptr);
}

void COSMToolBarCloseButton::OnExecute()
{
    if (m_parent)
        m_parent->SetVisible(FALSE);
}

// ---- The expand button ----

COSMToolBarExpandButton::COSMToolBarExpandButton()
{
    m_type = 3;
    m_flags = 0x1C;
}

void COSMToolBarExpandButton::SetRect(const CRect& rect)
{
    COSMControlPopup::SetRect(rect);
    m_hiddenControls = m_parent && COSMToolBar::HasWrappedControls(m_parent);
}

void COSMToolBarExpandButton::Draw(CDC* dc)
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (!paintManager)
        return;
    if (m_parent && m_parent->GetPosition() == COSMCommandBar::kPositionFloating)
    {
        paintManager->DrawSpecialControl(dc, 3, this, m_parent, TRUE, nullptr);
        return;
    }
    INT32 state[2] = {m_hiddenControls, 0};
    paintManager->DrawSpecialControl(dc, 0, this, m_parent, TRUE, state);
}

BOOL COSMToolBarExpandButton::OnSetPopup(BOOL popup)
{
    if (!popup)
        return COSMControlPopup::OnSetPopup(FALSE);

    SetCommandBar(nullptr);
    COSMCommandBars* commandBars = GetCommandBars();
    COSMPopupBar* bar = nullptr;
    CWnd* site = m_parent ? m_parent->GetSite() : nullptr;
    if (site && ::IsWindow(site->GetSafeHwnd()))
    {
        COSMCommandBarRequestBlock request;
        request.expand = TRUE;
        if (site->SendMessage(COSMControls::kMessageCreateCommandBar, 0, reinterpret_cast<LPARAM>(&request)) &&
            request.commandBar)
        {
            bar = dynamic_cast<COSMPopupBar*>(request.commandBar);
            if (!bar)
                request.commandBar->InternalRelease();
        }
    }
    if (!bar)
        bar = COSMPopupToolBar::CreatePopupToolBar(commandBars);
    if (!bar)
        return FALSE;
    if (!bar->IsDialogBar())
        bar->SetCustomizable(FALSE);

    auto* toolBar = dynamic_cast<COSMToolBar*>(m_parent);
    if (commandBars && toolBar && toolBar->GetMoveTracker())
    {
        commandBars->AddHiddenControls(toolBar, bar);
        if (commandBars->GetCommandBarsOptions()->m_showExpandButtonAlways || commandBars->GetCustomizeDialog())
        {
            COSMControl* entry = bar->GetControls()->Add(2, static_cast<int>(COSMToolBar::kAddOrRemoveId));
            if (entry)
            {
                entry->SetFlags(COSMControl::kFlagManualUpdate);
                entry->SetCaption(LoadFrameworkString(COSMToolBar::kAddOrRemoveId));
                entry->SetBeginGroup(bar->GetControlCount() > 1);
                if (auto* menu = dynamic_cast<COSMPopupBar*>(entry->GetCommandBar()))
                    commandBars->AddCustomizeMenu(toolBar, menu);
            }
        }
    }
    else if (toolBar)
    {
        toolBar->AddHiddenControlsOfBar(bar);
    }
    SetCommandBar(bar);
    bar->InternalRelease();
    return COSMControlPopup::OnSetPopup(TRUE);
}

// ---- The add-or-remove list ----

COSMCustomizeToggleButton::COSMCustomizeToggleButton()
{
    m_type = 1;
}

COSMCustomizeToggleButton::~COSMCustomizeToggleButton() = default;

void COSMCustomizeToggleButton::SetTarget(COSMControl* control, COSMToolBar* toolBar)
{
    m_target = RefPtr<COSMControl>::Retain(control);
    m_toolBar = toolBar;
}

void COSMCustomizeToggleButton::OnExecute()
{
    COSMCommandBars* commandBars = m_toolBar ? m_toolBar->GetCommandBars() : GetCommandBars();
    if (commandBars)
        commandBars->GetCommandBarsOptions()->m_modified = TRUE;
    if (!m_target)
    {
        // The reset entry: the popups close before the bar changes under them.
        if (commandBars)
            commandBars->ClosePopups();
        if (m_toolBar)
            m_toolBar->Reset(TRUE);
        return;
    }
    m_target->SetHideFlags(m_target->GetHideFlags() ^ kHideCustomize);
    SetChecked((m_target->GetHideFlags() & kHideCustomize) ? 0 : 1);
    RedrawParent(TRUE);
    if (COSMCommandBar* bar = m_target->GetParent())
    {
        bar->DelayLayout();
        bar->OnRecalcLayout();
    }
}

BOOL COSMToolBar::HasWrappedControls(const COSMCommandBar* bar)
{
    for (int i = 0; i < bar->GetControlCount(); ++i)
        if (bar->GetControl(i)->GetHideFlags() == COSMControl::kHideWrap)
            return TRUE;
    return FALSE;
}

void COSMToolBar::AddHiddenControlsOfBar(COSMPopupBar* popup)
{
    for (int i = 0; i < GetControlCount(); ++i)
    {
        COSMControl* control = GetControl(i);
        if (control->GetHideFlags() != COSMControl::kHideWrap)
            continue;
        if (COSMControl* copy = popup->GetControls()->AddClone(control, -1, TRUE))
        {
            copy->SetHideFlags(0);
            copy->SetBeginGroup(FALSE);
        }
    }
}

void COSMToolBar::BuildCustomizeMenu(COSMPopupBar* popup)
{
    // Taking controls out and putting them back lays the bar out again, which forgets its selection and its open
    // control; but the list is built while the expand button's menu is open from this bar, and a button left open
    // unknown to its bar would take the next click on it for a click that closes. Both are found again afterwards.
    COSMControl* selected = GetControl(m_selectedIndex);
    COSMControl* popuped = GetControl(m_popupedIndex);

    // Controls the user removed come back below as unchecked entries at their original places.
    for (int i = GetControlCount() - 1; i >= 0; --i)
    {
        COSMControl* control = GetControl(i);
        if (!(control->GetHideFlags() & COSMControl::kHideCustomize))
            continue;
        if (control == selected)
            selected = nullptr;
        if (control == popuped)
            popuped = nullptr;
        m_controls->RemoveAt(i);
    }

    COSMOriginalControls* snapshot = m_controls->GetOriginalControls();
    const auto original = RefPtr<COSMControls>::Adopt(snapshot ? snapshot->Duplicate(FALSE) : new COSMControls);
    int insertAt = 0;
    for (int o = 0; o < original->GetCount(); ++o)
    {
        const COSMControl* originalControl = original->GetAt(o);
        if (COSMControl* present = FindSameControl(m_controls.Get(), originalControl))
        {
            insertAt = present->GetIndex() + 1;
            continue;
        }
        if (COSMControl* restored = m_controls->AddClone(originalControl, insertAt, TRUE))
        {
            restored->SetHideFlags(restored->GetHideFlags() | COSMControl::kHideCustomize);
            insertAt = restored->GetIndex() + 1;
        }
    }

    COSMCommandBars* commandBars = GetCommandBars();
    for (int i = 0; i < GetControlCount(); ++i)
    {
        COSMControl* control = GetControl(i);
        const UINT id = control->GetID();
        if (id == kExpandButtonId || id == kCloseButtonId || control->IsTemporary())
            continue;
        if ((control->GetAction() && !control->GetAction()->IsVisible()) || (control->GetFlags() & kNotListedFlags))
            continue;
        // A control the user may not customize here is not offered for adding or removing either.
        if (!control->IsCustomizeClickAllowed())
            continue;
        auto* entry = new COSMCustomizeToggleButton;
        popup->GetControls()->AddControl(entry, static_cast<int>(id));
        entry->SetTarget(control, this);
        entry->SetCaption(control->GetCaption());
        const int type = control->GetType();
        if (type >= 1 && type <= 4)
            entry->SetIconId(static_cast<int>(control->GetIconId()));
        CString shortcut = control->GetShortcutText();
        if (shortcut.IsEmpty() && commandBars)
            commandBars->GetShortcutManager()->FindDefaultAccelerator(id, shortcut);
        entry->SetShortcutText(shortcut);
        entry->SetEnabled(FindSameControl(original.Get(), control) ? 1 : 0);
        entry->SetChecked((control->GetHideFlags() & COSMControl::kHideCustomize) ? 0 : 1);
    }

    if (snapshot && !m_tearOff && m_builtIn)
    {
        auto* reset = new COSMCustomizeToggleButton;
        popup->GetControls()->AddControl(reset, static_cast<int>(kResetEntryId));
        reset->SetTarget(nullptr, this);
        reset->SetFlags(COSMControl::kFlagManualUpdate);
        reset->SetCaption(LoadFrameworkString(kResetEntryId));
        reset->SetBeginGroup(TRUE);
    }
    DelayLayout();
    m_selectedIndex = selected ? selected->GetIndex() : -1;
    m_popupedIndex = popuped ? popuped->GetIndex() : -1;
}
