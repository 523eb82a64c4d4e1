#include "framework/markup/MarkupLine.h"

#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_MARKUP_TYPE(COSMMarkupLine, COSMMarkupShape, L"Line", &COSMMarkupLine::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupLine::s_pX1Property = nullptr;
COSMMarkupDependencyProperty* COSMMarkupLine::s_pY1Property = nullptr;
COSMMarkupDependencyProperty* COSMMarkupLine::s_pX2Property = nullptr;
COSMMarkupDependencyProperty* COSMMarkupLine::s_pY2Property = nullptr;

namespace {

COSMMarkupDependencyProperty* RegisterCoordinate(LPCWSTR name, COSMMarkupType* owner)
{
    return COSMMarkupDependencyProperty::Register(
        name, COSMMarkupInt::GetClassType(), owner,
        new COSMMarkupPropertyMetadata(nullptr, COSMMarkupPropertyMetadata::AffectsMeasure));
}

// One axis stretched over size: the ends apart span it, ends together sit in its middle.
void StretchAxis(int* a, int* b, int size)
{
    if (*a == *b)
    {
        *a = *b = size / 2;
    }
    else if (*a > *b)
    {
        *a = size;
        *b = 0;
    }
    else
    {
        *a = 0;
        *b = size;
    }
}

}  // namespace

void COSMMarkupLine::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    s_pX1Property = RegisterCoordinate(L"X1", type);
    s_pY1Property = RegisterCoordinate(L"Y1", type);
    s_pX2Property = RegisterCoordinate(L"X2", type);
    s_pY2Property = RegisterCoordinate(L"Y2", type);
}

void COSMMarkupLine::GetLinePoints(int* x1, int* y1, int* x2, int* y2) const
{
    *x1 = GetInt(s_pX1Property);
    *y1 = GetInt(s_pY1Property);
    *x2 = GetInt(s_pX2Property);
    *y2 = GetInt(s_pY2Property);
    if (!IsStretched())
        return;
    const CSize size = GetRenderSize();
    StretchAxis(x1, x2, size.cx);
    StretchAxis(y1, y2, size.cy);
}

CSize COSMMarkupLine::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    const int x1 = GetInt(s_pX1Property), y1 = GetInt(s_pY1Property);
    const int x2 = GetInt(s_pX2Property), y2 = GetInt(s_pY2Property);
    long long width = std::max(x1, x2);
    long long height = std::max(y1, y2);
    if (GetStroke())
    {
        if (x1 == x2)
            width += GetFlatExtra();
        if (y1 == y2)
            height += GetFlatExtra();
    }
    return StretchToAvailable(width, height, availableWidth, availableHeight);
}

void COSMMarkupLine::OnRender(COSMMarkupDrawingContext* dc)
{
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    GetLinePoints(&x1, &y1, &x2, &y2);
    const int thickness = GetEffectiveThickness();
    if (!GetStroke() || (x1 == 0 && y1 == 0 && x2 == 0 && y2 == 0) || thickness == 0)
        return;
    dc->DrawLine(x1, y1, x2, y2, thickness, GetStroke());
}

COSMMarkupInputElement* COSMMarkupLine::InputHitTestCore(int x, int y)
{
    const int thickness = GetEffectiveThickness();
    if (!GetStroke() || thickness == 0)
        return nullptr;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    GetLinePoints(&x1, &y1, &x2, &y2);
    const double h = thickness / 2.0;
    const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
    const double px = static_cast<double>(x) - x1, py = static_cast<double>(y) - y1;
    // Outside the line's box widened by half the stroke: no hit.
    if (std::min(dx, 0.0) > px + h || px - h > std::max(dx, 0.0) || std::min(dy, 0.0) > py + h ||
        py - h > std::max(dy, 0.0))
        return nullptr;
    if (dx == 0.0)
        return std::fabs(px) <= h ? this : nullptr;
    return std::fabs(dy * px / dx - py) <= std::fabs(h / std::cos(std::atan(dy / dx))) ? this : nullptr;
}
