// The bar's side of keyboard tips: which tips it offers, how typed letters narrow them, and what a typed tip runs.
#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/ToolBar.h"

#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/MnemonicKeys.h"

namespace {

// Galleries lay out their own items: they get no tip of their own.
const int kGalleryType = 10;
// Where a control's tip is anchored, from its rectangle's bottom-left corner.
const int kTipOffsetX = 12;
const int kTipOffsetY = -11;

// The control's own tip, else its action's.
CString ControlKeyboardTip(const COSMControl* control)
{
    if (!control->GetKeyboardTip().IsEmpty())
        return control->GetKeyboardTip();
    const COSMControlAction* action = control->GetAction();
    return action ? action->GetKeyboardTip() : CString();
}

}  // namespace

void COSMCommandBar::CreateKeyboardTips()
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars)
        return;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        COSMControl* control = GetControl(i);
        const CString caption = control->GetCaption();
        if (!control->IsVisible() || caption.IsEmpty() || (control->GetFlags() & COSMControl::kFlagSkipFocus) ||
            control->GetType() == kGalleryType)
            continue;
        const CRect rect = control->GetRect();
        auto* tip = new COSMCommandBarKeyboardTip(commandBars, control, caption, rect.left + kTipOffsetX,
                                                  rect.bottom + kTipOffsetY, 0, control->GetEnabled() != 0);
        tip->SetExplicitTip(ControlKeyboardTip(control));
        commandBars->AddKeyboardTip(tip);
    }
    if (GetParentCommandBar())
        return;
    // From the top level, the other bars are one tip away.
    for (int i = 0; i < commandBars->GetCount(); ++i)
    {
        COSMCommandBar* bar = commandBars->GetAt(i);
        if (bar == this || !bar->IsVisible() || !bar->GetSafeHwnd())
            continue;
        CRect window;
        bar->GetWindowRect(&window);
        commandBars->AddKeyboardTip(
            new COSMCommandBarKeyboardTip(commandBars, bar, bar->GetTitle(), window.left, window.top, 0, TRUE));
    }
}

void COSMCommandBar::OnKeyboardTip(COSMCommandBarKeyboardTip* tip)
{
    CCmdTarget* owner = tip->GetOwner();
    if (!owner)
        return;
    if (owner->IsKindOf(RUNTIME_CLASS(COSMControl)))
    {
        static_cast<COSMControl*>(owner)->OnMnemonicActivate();
        return;
    }
    // Only toolbars (the menu bar among them) are entered from a tip.
    if (owner->IsKindOf(RUNTIME_CLASS(COSMToolBar)))
    {
        if (COSMCommandBars* commandBars = GetCommandBars())
            commandBars->ActivateCommandBar(static_cast<COSMCommandBar*>(owner), 0);
    }
}

void COSMCommandBar::OnKeyboardTipChar(UINT key)
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars)
        return;
    const int typed = commandBars->GetTypedPrefixLength();
    COSMCommandBarKeyboardTip* match = nullptr;
    for (const auto& tip : commandBars->GetKeyboardTips())
    {
        const CString& text = tip->GetText();
        if (text.GetLength() > typed && CompareMnemonicKey(static_cast<BYTE>(text[typed]), key))
        {
            match = tip.get();
            break;
        }
    }
    if (!match)
    {
        if (key != VK_SHIFT && key != VK_CONTROL)
            s_pfnMessageBeep(0);
        return;
    }
    if (typed + 1 == match->GetText().GetLength())
    {
        if (!match->IsEnabled())
            s_pfnMessageBeep(0);
        else
            OnKeyboardTip(match);
        return;
    }
    commandBars->NarrowKeyboardTips(match);
}
