#include "framework/markup/MarkupPointCollection.h"

#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>

IMPLEMENT_MARKUP_TYPE(COSMMarkupPointCollection, COSMMarkupObject, nullptr, nullptr)

BOOL ParseMarkupPointInt(LPCWSTR* text, int* value)
{
    LPCWSTR p = *text;
    while (*p == L' ')
        ++p;
    const bool negative = *p == L'-';
    if (negative)
        ++p;
    if (*p < L'0' || *p > L'9')
        return FALSE;
    long long number = 0;
    while (*p >= L'0' && *p <= L'9')
    {
        number = number * 10 + (*p++ - L'0');
        // Beyond 32 bits the text names no point this system can draw.
        if (number > 2147483648LL)
            return FALSE;
    }
    if (negative)
        number = -number;
    if (number > 2147483647LL)
        return FALSE;
    if (*p == L' ' || *p == L',')
        ++p;
    else if (*p != L'\0')
        return FALSE;
    *value = static_cast<int>(number);
    *text = p;
    return TRUE;
}

BOOL ParseMarkupPoints(LPCWSTR text, std::vector<POINT>* points)
{
    if (!text)
        return FALSE;
    std::vector<POINT> read;
    LPCWSTR p = text;
    while (*p)
    {
        POINT point = {};
        int x = 0, y = 0;
        if (!ParseMarkupPointInt(&p, &x) || !ParseMarkupPointInt(&p, &y))
            return FALSE;
        point.x = x;
        point.y = y;
        read.push_back(point);
        while (*p == L' ')
            ++p;
    }
    points->swap(read);
    return TRUE;
}

COSMMarkupPointCollection::COSMMarkupPointCollection(std::vector<POINT> points) : m_points(std::move(points))
{
    if (m_points.empty())
        return;
    m_rcBounds = RECT{2147483647, 2147483647, -2147483647, -2147483647};
    for (const POINT& point : m_points)
    {
        m_rcBounds.left = std::min<LONG>(m_rcBounds.left, std::max<LONG>(point.x, -2147483647));
        m_rcBounds.top = std::min<LONG>(m_rcBounds.top, std::max<LONG>(point.y, -2147483647));
        m_rcBounds.right = std::max<LONG>(m_rcBounds.right, point.x);
        m_rcBounds.bottom = std::max<LONG>(m_rcBounds.bottom, point.y);
    }
}

COSMMarkupObject* COSMMarkupPointCollection::ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    std::vector<POINT> points;
    if (!ParseMarkupPoints(GetMarkupText(value), &points))
        return nullptr;
    return new COSMMarkupPointCollection(std::move(points));
}

void COSMMarkupPointCollection::Stretch(std::vector<POINT>* target, int width, int height) const
{
    *target = m_points;
    const long long extentX = static_cast<long long>(m_rcBounds.right) - m_rcBounds.left;
    const long long extentY = static_cast<long long>(m_rcBounds.bottom) - m_rcBounds.top;
    if (extentX == 0 && extentY == 0)
        return;
    for (POINT& point : *target)
    {
        if (extentX != 0)
            point.x = SaturateMarkupLength((static_cast<long long>(point.x) - m_rcBounds.left) * width / extentX);
        if (extentY != 0)
            point.y = SaturateMarkupLength((static_cast<long long>(point.y) - m_rcBounds.top) * height / extentY);
    }
}
