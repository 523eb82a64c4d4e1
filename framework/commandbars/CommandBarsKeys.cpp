// The manager's keys: frame access keys that reach the bars' controls, Ctrl+Tab between bars, and the toolbars
// context menu.
#include "classlib/CString.h"
#include "framework/commandbars/CommandBars.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ControlToolbars.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/MnemonicKeys.h"
#include "framework/commandbars/PopupBar.h"

#include <algorithm>
#include <vector>

namespace {

// Keyboard-cue use modes of the options.
const DWORD kUseNone = 2;
const DWORD kUseAllBars = 1;
const DWORD kUseNoFirstLetters = 4;
const UINT kToolbarsMenuFirstId = 0xE800;

struct MnemonicMatch
{
    COSMControl* control = nullptr;
    BOOL ambiguous = FALSE;
};

// The control whose access key the key is, from the candidate's selection once round its controls and, with
// use-mode bit 1, on through the following visible bars: an '&' mnemonic first, else a first letter (only on a
// menu bar or a tracking bar, and not with use-mode bit 4).
MnemonicMatch FindMnemonic(const std::vector<COSMCommandBar*>& bars, COSMCommandBar* candidate, UINT key, DWORD use)
{
    std::vector<COSMControl*> walk;
    const auto addBar = [&walk](COSMCommandBar* bar, int from) {
        COSMControls* controls = bar->GetControls();
        const int start = controls->GetNext(from, 1);
        if (start == -1)
            return;
        int index = start;
        do
        {
            walk.push_back(bar->GetControl(index));
            index = controls->GetNext(index, 1);
        } while (index != -1 && index != start);
    };
    addBar(candidate, candidate->GetSelectedIndex());
    if (use & kUseAllBars)
    {
        const auto at = std::find(bars.begin(), bars.end(), candidate);
        const size_t origin = at == bars.end() ? 0 : static_cast<size_t>(at - bars.begin());
        for (size_t step = 1; step < bars.size(); ++step)
        {
            COSMCommandBar* bar = bars[(origin + step) % bars.size()];
            if (bar != candidate && bar->IsVisible())
                addBar(bar, -1);
        }
    }

    MnemonicMatch marked;
    MnemonicMatch letter;
    for (COSMControl* control : walk)
    {
        const CString caption = control->GetCaption();
        if (caption.IsEmpty() || !control->IsCaptionVisible() || control->GetEnabled() == 0)
            continue;
        const int position = FindMnemonicPos(caption);
        const UINT character = static_cast<BYTE>(position >= 0 ? caption[position + 1] : caption[0]);
        if (!CompareMnemonicKey(character, key))
            continue;
        if (position >= 0)
        {
            if (marked.control)
            {
                marked.ambiguous = TRUE;
                return marked;
            }
            marked.control = control;
            continue;
        }
        const COSMCommandBar* bar = control->GetParent();
        if ((use & kUseNoFirstLetters) || !bar ||
            (bar->GetType() != COSMCommandBar::kTypeMenuBar && bar->GetTrackingMode() == 0))
            continue;
        if (letter.control)
            letter.ambiguous = TRUE;
        else
            letter.control = control;
    }
    return marked.control ? marked : letter;
}

}  // namespace

BOOL COSMCommandBars::OnFrameAccel(UINT key)
{
    const DWORD use = m_options->m_keyboardCuesUse;
    if (use == kUseNone)
        return FALSE;
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9 && !m_options->m_keypadAccessKeys)
        return FALSE;
    if (::MapVirtualKeyA(key, MAPVK_VK_TO_CHAR) == 0)
        return FALSE;

    COSMCommandBar* candidate = GetMenuBar();
    if (candidate && !candidate->IsVisible())
        candidate = nullptr;
    for (COSMCommandBar* bar : m_bars)
    {
        if (bar->GetTrackingMode() != 0)
        {
            candidate = bar;
            break;
        }
        if ((use & kUseAllBars) && !candidate && bar->IsVisible())
            candidate = bar;
    }
    if (!candidate || !candidate->IsVisible())
        return FALSE;
    if (candidate->ProcessFrameKey(key))
        return TRUE;

    const MnemonicMatch match = FindMnemonic(m_bars, candidate, key, use);
    if (!match.control)
        return FALSE;
    COSMCommandBar* bar = match.control->GetParent();
    if (bar->GetTrackingMode() == 0)
        ClosePopups();
    ShowKeyboardCues(TRUE);
    m_keyboardTipsLevel = 1;
    bar->SetTrackingMode(1, FALSE, TRUE);
    bar->SetSelected(match.control->GetIndex(), COSMCommandBar::kSelectKeyboard);
    if (!match.ambiguous)
        match.control->OnMnemonicActivate();
    return TRUE;
}

BOOL COSMCommandBars::ActivateCommandBar(COSMCommandBar* bar, int direction)
{
    if (!bar)
        return FALSE;
    if (direction != 0)
    {
        if (GetCount() < 2)
            return FALSE;
        COSMCommandBar* next = GetAt(GetNextBarIndex(IndexOf(bar), direction > 0 ? 1 : -1));
        if (!next || next == bar)
            return FALSE;
        bar = next;
    }
    ClosePopups();
    ShowKeyboardCues(TRUE);
    m_keyboardTipsLevel = 1;
    bar->SetTrackingMode(1, FALSE, TRUE);
    // A menu bar counts its hidden controls too.
    const int first = bar->GetType() == COSMCommandBar::kTypeMenuBar ? (bar->GetControlCount() > 0 ? 0 : -1)
                                                                     : bar->GetControls()->GetNext(-1, 1);
    bar->SetSelected(first, COSMCommandBar::kSelectForward);
    return TRUE;
}

COSMPopupBar* COSMCommandBars::CreateToolbarsPopup()
{
    COSMPopupBar* popup = COSMPopupBar::CreatePopupBar(this);
    if (popup)
        COSMControlToolbars::CreateToolbarMenu(popup, 0, kToolbarsMenuFirstId, TRUE, 0);
    return popup;
}

void COSMCommandBars::ShowToolbarsContextMenu(WPARAM wParam, int x, int y)
{
    if (m_customizeMode)
        return;
    COSMPopupBar* popup = CreateToolbarsPopup();
    if (!popup)
        return;
    if (m_site && ::IsWindow(m_site->GetSafeHwnd()))
        m_site->SendMessage(kMessageToolbarsContextMenu, wParam, reinterpret_cast<LPARAM>(popup));
    if (popup->GetControlCount() > 0)
    {
        popup->SetDirectionFlags(IsLayoutRTL() ? 1 : 0);
        ClosePopups();
        if (popup->Popup(x, y))
            PumpPopupMessages(popup);
    }
    popup->InternalRelease();
}
