#include "framework/markup/MarkupScrollBarGripper.h"

#include "classlib/Geometry.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupScrollBarGripper, COSMMarkupUIElement, nullptr, nullptr)

COSMMarkupScrollBarGripper::~COSMMarkupScrollBarGripper() = default;

void COSMMarkupScrollBarGripper::ArrangeCore(const CRect& finalRect)
{
    COSMMarkupUIElement::ArrangeCore(finalRect);
    SetVisualOffset(finalRect.TopLeft());
}

void COSMMarkupScrollBarGripper::OnRender(COSMMarkupDrawingContext* dc)
{
    const CSize size = GetRenderSize();
    dc->FillSolidRect(CRect(0, 0, size.cx, size.cy), ::GetSysColor(COLOR_BTNFACE));
}
