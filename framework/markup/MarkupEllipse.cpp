#include "framework/markup/MarkupEllipse.h"

#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupType.h"

#include <climits>

IMPLEMENT_MARKUP_TYPE(COSMMarkupEllipse, COSMMarkupShape, L"Ellipse", nullptr)

CSize COSMMarkupEllipse::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    if (!IsStretched())
        return CSize(0, 0);
    return CSize(availableWidth < INT_MAX ? availableWidth : 0, availableHeight < INT_MAX ? availableHeight : 0);
}

void COSMMarkupEllipse::OnRender(COSMMarkupDrawingContext* dc)
{
    if (!GetStroke() && !GetFill())
        return;
    const CSize size = GetRenderSize();
    dc->DrawEllipse(CRect(0, 0, size.cx, size.cy), GetEffectiveThickness(), GetStroke(), GetFill());
}

COSMMarkupInputElement* COSMMarkupEllipse::InputHitTestCore(int x, int y)
{
    const CSize size = GetRenderSize();
    // The integer halves of a one-pixel side are 0, which no point could be measured against.
    const double a = size.cx / 2;
    const double b = size.cy / 2;
    if (size.cx < 1 || size.cy < 1 || a == 0 || b == 0)
        return this;
    const double dx = x - a, dy = y - b;
    return dx * dx / (a * a) + dy * dy / (b * b) <= 1.0 ? this : nullptr;
}
