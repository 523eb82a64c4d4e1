#include "framework/markup/MarkupPolygon.h"

#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupPointCollection.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>
#include <vector>

IMPLEMENT_MARKUP_TYPE(COSMMarkupPolygon, COSMMarkupShape, L"Polygon", &COSMMarkupPolygon::RegisterMarkupProperties)
IMPLEMENT_MARKUP_TYPE(COSMMarkupPolyline, COSMMarkupShape, L"Polyline", &COSMMarkupPolyline::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupPolygon::s_pPointsProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupPolyline::s_pPointsProperty = nullptr;

namespace {

COSMMarkupDependencyProperty* RegisterPoints(COSMMarkupType* owner)
{
    return COSMMarkupDependencyProperty::Register(
        L"Points", COSMMarkupPointCollection::GetClassType(), owner,
        new COSMMarkupPropertyMetadata(nullptr, COSMMarkupPropertyMetadata::AffectsMeasure));
}

// The bounds measured from 0, in 64 bits: max(right - left, right) by max(bottom - top, bottom).
void MeasurePoints(const COSMMarkupPointCollection* points, long long* width, long long* height)
{
    *width = *height = 0;
    if (!points || points->GetCount() == 0)
        return;
    const RECT& bounds = points->GetBounds();
    *width = std::max<long long>(static_cast<long long>(bounds.right) - bounds.left, bounds.right);
    *height = std::max<long long>(static_cast<long long>(bounds.bottom) - bounds.top, bounds.bottom);
}

// The points as drawn: scaled to the render size when stretched.
std::vector<POINT> PointsToDraw(const COSMMarkupShape* shape, const COSMMarkupPointCollection* points)
{
    if (!shape->IsStretched())
        return points->GetPoints();
    std::vector<POINT> stretched;
    const CSize size = shape->GetRenderSize();
    points->Stretch(&stretched, size.cx, size.cy);
    return stretched;
}

}  // namespace

void COSMMarkupPolygon::RegisterMarkupProperties()
{
    s_pPointsProperty = RegisterPoints(GetClassType());
}

COSMMarkupPointCollection* COSMMarkupPolygon::GetPoints() const
{
    return MarkupDynamicCast<COSMMarkupPointCollection>(GetValue(s_pPointsProperty));
}

CSize COSMMarkupPolygon::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    const COSMMarkupPointCollection* points = GetPoints();
    if (!points || points->GetCount() == 0)
        return CSize(0, 0);
    long long width = 0, height = 0;
    MeasurePoints(points, &width, &height);
    return StretchToAvailable(width, height, availableWidth, availableHeight);
}

void COSMMarkupPolygon::OnRender(COSMMarkupDrawingContext* dc)
{
    const COSMMarkupPointCollection* points = GetPoints();
    if ((!GetStroke() && !GetFill()) || !points || points->GetCount() == 0)
        return;
    const std::vector<POINT> drawn = PointsToDraw(this, points);
    dc->DrawPolygon(drawn.data(), static_cast<int>(drawn.size()), GetEffectiveThickness(), GetStroke(), GetFill());
}

void COSMMarkupPolyline::RegisterMarkupProperties()
{
    s_pPointsProperty = RegisterPoints(GetClassType());
}

COSMMarkupPointCollection* COSMMarkupPolyline::GetPoints() const
{
    return MarkupDynamicCast<COSMMarkupPointCollection>(GetValue(s_pPointsProperty));
}

CSize COSMMarkupPolyline::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    const COSMMarkupPointCollection* points = GetPoints();
    if (!points || points->GetCount() == 0)
        return CSize(0, 0);
    long long width = 0, height = 0;
    MeasurePoints(points, &width, &height);
    if (GetStroke())
    {
        if (width == 0)
            width += GetFlatExtra();
        if (height == 0)
            height += GetFlatExtra();
    }
    return StretchToAvailable(width, height, availableWidth, availableHeight);
}

void COSMMarkupPolyline::OnRender(COSMMarkupDrawingContext* dc)
{
    const COSMMarkupPointCollection* points = GetPoints();
    if (!GetStroke() || !points || points->GetCount() == 0)
        return;
    const std::vector<POINT> drawn = PointsToDraw(this, points);
    dc->DrawPolyline(drawn.data(), static_cast<int>(drawn.size()), GetEffectiveThickness(), GetStroke());
}
