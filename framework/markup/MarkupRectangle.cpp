#include "framework/markup/MarkupRectangle.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>
#include <climits>

IMPLEMENT_MARKUP_TYPE(COSMMarkupRectangle, COSMMarkupShape, L"Rectangle",
                      &COSMMarkupRectangle::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupRectangle::s_pRadiusXProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupRectangle::s_pRadiusYProperty = nullptr;

void COSMMarkupRectangle::RegisterMarkupProperties()
{
    using Metadata = COSMMarkupPropertyMetadata;
    s_pRadiusXProperty = COSMMarkupDependencyProperty::Register(
        L"RadiusX", COSMMarkupInt::GetClassType(), GetClassType(), new Metadata(nullptr, Metadata::AffectsRender));
    s_pRadiusYProperty = COSMMarkupDependencyProperty::Register(
        L"RadiusY", COSMMarkupInt::GetClassType(), GetClassType(), new Metadata(nullptr, Metadata::AffectsRender));
}

CSize COSMMarkupRectangle::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    if (!IsStretched())
        return CSize(0, 0);
    return CSize(availableWidth < INT_MAX ? availableWidth : 0, availableHeight < INT_MAX ? availableHeight : 0);
}

void COSMMarkupRectangle::OnRender(COSMMarkupDrawingContext* dc)
{
    COSMMarkupBrush* stroke = GetStroke();
    COSMMarkupBrush* fill = GetFill();
    const CSize size = GetRenderSize();
    if ((!stroke && !fill) || size.cx == 0 || size.cy == 0)
        return;
    const int thickness = GetEffectiveThickness();
    const double radiusX = std::min<double>(GetInt(s_pRadiusXProperty), (size.cx - static_cast<double>(thickness)) / 2);
    const double radiusY = std::min<double>(GetInt(s_pRadiusYProperty), (size.cy - static_cast<double>(thickness)) / 2);
    // Every corner the same pair, clockwise from the top of the left edge.
    const double corners[8] = {radiusY, radiusX, radiusX, radiusY, radiusY, radiusX, radiusX, radiusY};
    const double* radii = radiusX > 0 && radiusY > 0 ? corners : nullptr;
    const CRect whole(0, 0, size.cx, size.cy);
    if (fill)
    {
        CRect inner = whole;
        inner.DeflateRect(thickness / 2, thickness / 2);
        dc->FillRectangle(inner, fill, radii);
    }
    if (thickness > 0)
    {
        const auto frame = AdoptRef(new COSMMarkupThickness(thickness));
        dc->DrawFrame(whole, stroke, frame.Get(), radii);
    }
}
