// What a bar tells its tooltip context about the control under the mouse.
#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/CommandBar.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/ShortcutManager.h"
#include "framework/foundation/ToolTipContext.h"

namespace {}  // namespace

INT_PTR COSMCommandBar::OnToolHitTest(CPoint point, TOOLINFOA* info) const
{
    const COSMCommandBars* commandBars = GetCommandBars();
    const COSMCommandBarsOptions* options = commandBars ? commandBars->GetCommandBarsOptions() : nullptr;
    if ((m_trackingMode == 2 && m_position != kPositionPopup) || m_popupedIndex != -1 ||
        GetMouseManager()->IsTrackActive(this) || (options && !options->m_toolBarScreenTips))
        return -1;
    COSMControl* control = m_controls->HitTest(point);
    if (!control)
        return -1;
    const BOOL popupTips = options && options->m_popupToolTips;
    if (IsPopupBar() && !popupTips && !(control->GetFlags() & COSMControl::kFlagPopupToolTip))
        return -1;

    // A control's 0 means "no tip here" (a gallery off its items): the control's own tip does not stand in.
    const INT_PTR own = control->OnToolHitTest(point, info);
    if (own == 0)
        return -1;
    if (own != -1)
        return own;
    // A tool without an id gets no tip; its info stays unfilled so that nothing is left to free.
    const UINT_PTR toolId = control->GetIconId();
    CString text = control->GetTooltip();
    if (text.IsEmpty() || toolId == 0)
        return -1;
    // A markup tooltip ("<...") carries its own layout: no shortcut goes after it.
    if (options && options->m_toolBarAccelTips && text[0] != '<')
    {
        CString shortcut = control->GetShortcutText();
        if (shortcut.IsEmpty() && commandBars->GetShortcutManager())
            commandBars->GetShortcutManager()->FindDefaultAccelerator(control->GetID(), shortcut);
        if (!shortcut.IsEmpty())
            text += " (" + shortcut + ")";
    }
    COSMToolTipContext::FillToolInfoEx(info, m_hWnd, control->GetRect(), toolId, text, text, control->GetDescription(),
                                       GetImageManager());
    // Recognised by its size, which differs between 32- and 64-bit builds.
    if (info && info->cbSize >= sizeof(COSMCommandBarToolInfo))
        static_cast<COSMCommandBarToolInfo*>(info)->pControl = control;
    return static_cast<INT_PTR>(toolId);
}
