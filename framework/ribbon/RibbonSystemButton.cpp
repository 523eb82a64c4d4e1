// The application button's stand-in.
#include "framework/ribbon/RibbonSystemButton.h"

#include "framework/commandbars/PaintManager.h"

IMPLEMENT_SERIAL(COSMRibbonControlSystemButton, COSMControlPopup, VERSIONABLE_SCHEMA | 0x23)

namespace {

constexpr DWORD kSystemButtonFlags = 24;

}  // namespace

COSMRibbonControlSystemButton::COSMRibbonControlSystemButton()
{
    m_flags = kSystemButtonFlags;
}

void COSMRibbonControlSystemButton::Draw(CDC* dc)
{
    // The ribbon painter's round button comes with it; until then the toolbar's button face.
    if (COSMPaintManager* paintManager = GetPaintManager())
        paintManager->DrawToolBarControl(dc, this, TRUE);
}

COSMControl* COSMRibbonControlSystemButton::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonControlSystemButton;
    clone->Copy(this, recursive);
    return clone;
}
