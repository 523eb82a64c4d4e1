// A control's click in customize mode: it becomes the customize selection and is dragged; a drop that moved it, or
// dropped it beside every bar, takes it out of its bar.
#include "framework/commandbars/Control.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/commandbars/HeldReference.h"

namespace {

// Sets the manager's customize selection again, so that the sheet and the bars hear of it once more.
void Reselect(COSMCommandBars* commandBars)
{
    COSMControl* selection = commandBars->GetCustomizeSelection();
    ScopedReference<COSMControl> keep(selection);
    commandBars->SetCustomizeSelection(nullptr);
    commandBars->SetCustomizeSelection(selection);
}

}  // namespace

void COSMControl::OnCustomizeLButtonDown(CPoint point)
{
    COSMCommandBar* bar = m_parent;
    COSMCommandBars* commandBars = GetCommandBars();
    if (!bar || !commandBars)
        return;
    // The drag dispatches timers that may rebuild the bar and let go of this control: both live until the end.
    ScopedReference<COSMControl> keepThis(this);
    ScopedReference<COSMCommandBar> keepBar(bar);

    if (bar->GetPopupedIndex() != -1 && bar->GetPopupedIndex() != m_index)
        bar->SetPopuped(-1, FALSE);
    bar->SetSelected(-1, COSMCommandBar::kSelectMouse);
    // Resizing the selected control by its edges is not offered yet: the click always selects and drags.
    commandBars->SetCustomizeSelection(this);
    if (m_flags & kFlagNoMovable)
        return;

    const int result = commandBars->GetDropSource()->DoDrag(this, FALSE);
    if (result != COSMCustomizeDropSource::kDropOutside && result != COSMCustomizeDropSource::kDropMoved)
    {
        Reselect(commandBars);
        return;
    }
    // Taken out only from the bar it was dragged from, and only while it is still there.
    COSMControls* controls = bar->GetControls();
    if (m_parent != bar || !controls || controls->GetAt(m_index) != this)
        return;
    bar->SetPopuped(-1, FALSE);
    bar->SetSelected(-1, COSMCommandBar::kSelectMouse);
    if (commandBars->GetCustomizeSelection() == this)
        commandBars->SetCustomizeSelection(nullptr);
    const int count = controls->GetCount();
    if (m_beginGroup && m_index < count - 1)
        controls->GetAt(m_index + 1)->SetBeginGroup(TRUE);
    if (m_index == 0 && count >= 2)
        controls->GetAt(1)->SetBeginGroup(FALSE);
    controls->Remove(this);
    bar->OnRecalcLayout();
    Reselect(commandBars);
}
