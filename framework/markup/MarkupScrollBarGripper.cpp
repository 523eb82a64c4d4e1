#include "framework/markup/MarkupScrollBarGripper.h"

#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupScrollBarGripper, COSMMarkupUIElement, nullptr, nullptr)

COSMMarkupScrollBarGripper::~COSMMarkupScrollBarGripper() = default;

void COSMMarkupScrollBarGripper::OnRender(COSMMarkupDrawingContext* dc)
{
    // Its own coordinates: the final rectangle is the viewer's.
    const CSize size = GetRenderSize();
    dc->FillSolidRect(CRect(0, 0, size.cx, size.cy), ::GetSysColor(COLOR_BTNFACE));
}
