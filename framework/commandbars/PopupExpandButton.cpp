#include "framework/commandbars/PopupExpandButton.h"

#include "classlib/DC.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/PaintManager.h"

IMPLEMENT_DYNCREATE(COSMPopupExpandButton, COSMControlButton)

COSMPopupExpandButton::COSMPopupExpandButton()
{
    m_type = 1;
    m_flags = kExpandButtonFlags;
    m_id = kCommandId;
}

void COSMPopupExpandButton::Draw(CDC* dc)
{
    if (COSMPaintManager* paintManager = GetPaintManager())
        paintManager->DrawSpecialControl(dc, kSpecialKind, this, m_parent, TRUE, nullptr);
}

void COSMPopupExpandButton::OnExecute()
{
    if (auto* popup = dynamic_cast<COSMPopupBar*>(m_parent))
        popup->ExpandBar();
}
