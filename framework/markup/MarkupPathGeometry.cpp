#include "framework/markup/MarkupPathGeometry.h"

#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPathGeometryBuilder.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_MARKUP_TYPE(COSMMarkupPathGeometry, COSMMarkupObject, nullptr, nullptr)

namespace {

// A coordinate's floor or ceiling as a bound: within +-2147483647, so differences of bounds stay representable in
// 64 bits and a saturated bound still reads as a length.
int SaturatedBound(double value)
{
    if (!(value > -2147483647.0))
        return -2147483647;
    if (!(value < 2147483647.0))
        return 2147483647;
    return static_cast<int>(value);
}

}  // namespace

COSMMarkupPathGeometry::COSMMarkupPathGeometry(const COSMMarkupPointF* points, const BYTE* types, int count)
{
    if (count > 0)
    {
        m_points.assign(points, points + count);
        m_types.assign(types, types + count);
    }
    ComputeBounds();
}

void COSMMarkupPathGeometry::ComputeBounds()
{
    m_rcBounds = RECT{2147483647, 2147483647, -2147483647, -2147483647};
    if (m_points.empty())
        return;
    double minX = m_points[0].x, minY = m_points[0].y, maxX = minX, maxY = minY;
    for (const COSMMarkupPointF& point : m_points)
    {
        minX = std::min<double>(minX, point.x);
        minY = std::min<double>(minY, point.y);
        maxX = std::max<double>(maxX, point.x);
        maxY = std::max<double>(maxY, point.y);
    }
    m_rcBounds = RECT{SaturatedBound(std::floor(minX)), SaturatedBound(std::floor(minY)),
                      SaturatedBound(std::ceil(maxX)), SaturatedBound(std::ceil(maxY))};
}

COSMMarkupObject* COSMMarkupPathGeometry::ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    const COSMMarkupString* text = MarkupDynamicCast<COSMMarkupString>(value);
    if (!text)
        return nullptr;
    COSMMarkupPathGeometryBuilder figures;
    figures.Parse(builder, text->GetText(), text->GetLength());
    return figures.CreateGeometry();
}

COSMMarkupPathGeometry* COSMMarkupPathGeometry::Stretch(int width, int height) const
{
    COSMMarkupPathGeometry* stretched = new COSMMarkupPathGeometry(m_points.data(), m_types.data(), GetPointCount());
    const long long extentX = static_cast<long long>(m_rcBounds.right) - m_rcBounds.left;
    const long long extentY = static_cast<long long>(m_rcBounds.bottom) - m_rcBounds.top;
    for (COSMMarkupPointF& point : stretched->m_points)
    {
        if (extentX != 0)
            point.x = static_cast<float>((point.x - static_cast<double>(m_rcBounds.left)) * width / extentX);
        if (extentY != 0)
            point.y = static_cast<float>((point.y - static_cast<double>(m_rcBounds.top)) * height / extentY);
    }
    stretched->ComputeBounds();
    stretched->m_nPixelOffsetMode = m_nPixelOffsetMode;
    return stretched;
}
