#include "framework/markup/MarkupPathGeometryBuilder.h"

#include "classlib/Exception.h"
#include "framework/markup/MarkupBuilderException.h"

#include <cmath>
#include <cstdio>

namespace {

bool IsWhiteSpace(WCHAR ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\n' || ch == L'\r';
}

bool IsDigit(WCHAR ch)
{
    return ch >= L'0' && ch <= L'9';
}

}  // namespace

void COSMMarkupPathGeometryBuilder::BeginFigure(float x, float y)
{
    m_points.push_back(COSMMarkupPointF{x, y});
    m_types.push_back(COSMMarkupPathGeometry::PointStart);
}

void COSMMarkupPathGeometryBuilder::AddLine(float x, float y)
{
    m_points.push_back(COSMMarkupPointF{x, y});
    m_types.push_back(COSMMarkupPathGeometry::PointLine);
}

void COSMMarkupPathGeometryBuilder::AddBezier(float x1, float y1, float x2, float y2, float x3, float y3)
{
    for (const COSMMarkupPointF& point : {COSMMarkupPointF{x1, y1}, COSMMarkupPointF{x2, y2}, COSMMarkupPointF{x3, y3}})
    {
        m_points.push_back(point);
        m_types.push_back(COSMMarkupPathGeometry::PointBezier);
    }
}

void COSMMarkupPathGeometryBuilder::AddQuadraticAsBezier(float x1, float y1, float x2, float y2)
{
    AddBezier(x1, y1, x2, y2, x2, y2);
}

void COSMMarkupPathGeometryBuilder::CloseFigure()
{
    if (!m_types.empty())
        m_types.back() |= COSMMarkupPathGeometry::PointCloseFigure;
}

COSMMarkupPathGeometry* COSMMarkupPathGeometryBuilder::CreateGeometry() const
{
    return new COSMMarkupPathGeometry(m_points.data(), m_types.data(), static_cast<int>(m_points.size()));
}

void COSMMarkupPathGeometryBuilder::ThrowParseError() const
{
    if (!m_pBuilder)
        AfxThrowNotSupportedException();
    char message[64];
    snprintf(message, sizeof message, "Unexpected token encountered at position '%i'", m_nPos);
    throw new COSMMarkupBuilderException(message);
}

void COSMMarkupPathGeometryBuilder::SkipWhiteSpace()
{
    while (m_nPos < m_nLength && IsWhiteSpace(m_pszText[m_nPos]))
        ++m_nPos;
}

bool COSMMarkupPathGeometryBuilder::AtNumberStart() const
{
    if (m_nPos >= m_nLength)
        return false;
    const WCHAR ch = m_pszText[m_nPos];
    return ch == L'+' || ch == L'-' || ch == L'.' || IsDigit(ch);
}

bool COSMMarkupPathGeometryBuilder::NumberFollows()
{
    SkipWhiteSpace();
    if (m_nPos < m_nLength && m_pszText[m_nPos] == L',')
    {
        // A comma promises a number.
        ++m_nPos;
        SkipWhiteSpace();
        if (!AtNumberStart())
            ThrowParseError();
        return true;
    }
    return AtNumberStart();
}

float COSMMarkupPathGeometryBuilder::ReadNumber(bool commaAllowed)
{
    SkipWhiteSpace();
    if (commaAllowed && m_nPos < m_nLength && m_pszText[m_nPos] == L',')
    {
        ++m_nPos;
        SkipWhiteSpace();
    }
    if (!AtNumberStart())
        ThrowParseError();

    bool negative = false;
    if (m_pszText[m_nPos] == L'+' || m_pszText[m_nPos] == L'-')
        negative = m_pszText[m_nPos++] == L'-';
    float value = 0.0f;
    while (m_nPos < m_nLength && IsDigit(m_pszText[m_nPos]))
        value = value * 10.0f + static_cast<float>(m_pszText[m_nPos++] - L'0');
    if (m_nPos < m_nLength && m_pszText[m_nPos] == L'.')
    {
        ++m_nPos;
        float scale = 0.1f;
        while (m_nPos < m_nLength && IsDigit(m_pszText[m_nPos]))
        {
            value += static_cast<float>(m_pszText[m_nPos++] - L'0') * scale;
            scale /= 10.0f;
        }
    }
    // Forty digits are beyond single precision: an infinite coordinate has no bounds, so the text is refused.
    if (!std::isfinite(value))
        ThrowParseError();
    return negative ? -value : value;
}

COSMMarkupPointF COSMMarkupPathGeometryBuilder::ReadPoint(bool commaAllowed, bool relative)
{
    COSMMarkupPointF point;
    point.x = ReadNumber(commaAllowed);
    point.y = ReadNumber(true);
    if (relative)
    {
        point.x += m_current.x;
        point.y += m_current.y;
    }
    return point;
}

void COSMMarkupPathGeometryBuilder::EnsureFigure()
{
    if (m_bFigureOpen)
        return;
    BeginFigure(m_figureStart.x, m_figureStart.y);
    m_bFigureOpen = true;
}

void COSMMarkupPathGeometryBuilder::Parse(COSMMarkupBuilder* builder, LPCWSTR text, int length)
{
    m_pBuilder = builder;
    m_pszText = text ? text : L"";
    m_nLength = length >= 0 ? length : static_cast<int>(wcslen(m_pszText));
    m_nPos = 0;
    m_points.clear();
    m_types.clear();
    m_bFigureOpen = false;
    m_current = m_lastControl = m_figureStart = COSMMarkupPointF{0, 0};
    WCHAR previous = L' ';
    bool moved = false;

    for (;;)
    {
        SkipWhiteSpace();
        if (m_nPos >= m_nLength)
            break;
        if (m_pszText[m_nPos] == L',')
            ThrowParseError();
        m_chToken = m_pszText[m_nPos++];
        const bool relative = m_chToken >= L'a' && m_chToken <= L'z';

        if (!moved)
        {
            if (m_chToken == L'F')
            {
                SkipWhiteSpace();
                if (m_nPos >= m_nLength || (m_pszText[m_nPos] != L'0' && m_pszText[m_nPos] != L'1'))
                    ThrowParseError();
                m_nFillRule = m_pszText[m_nPos++] - L'0';
                continue;
            }
            if (m_chToken != L'M' && m_chToken != L'm')
                ThrowParseError();
        }

        switch (m_chToken)
        {
        case L'M':
        case L'm':
            m_current = m_figureStart = ReadPoint(false, relative);
            BeginFigure(m_current.x, m_current.y);
            m_bFigureOpen = true;
            moved = true;
            previous = L'M';
            while (NumberFollows())
            {
                m_current = ReadPoint(false, relative);
                AddLine(m_current.x, m_current.y);
                previous = L'L';
            }
            break;
        case L'L':
        case L'l':
            EnsureFigure();
            do
            {
                m_current = ReadPoint(false, relative);
                AddLine(m_current.x, m_current.y);
            } while (NumberFollows());
            previous = L'L';
            break;
        case L'H':
        case L'h':
        case L'V':
        case L'v':
        {
            EnsureFigure();
            const bool horizontal = m_chToken == L'H' || m_chToken == L'h';
            do
            {
                const float value = ReadNumber(false);
                float& coordinate = horizontal ? m_current.x : m_current.y;
                coordinate = relative ? coordinate + value : value;
                AddLine(m_current.x, m_current.y);
            } while (NumberFollows());
            previous = L'L';
            break;
        }
        case L'C':
        case L'c':
        case L'S':
        case L's':
        {
            EnsureFigure();
            const bool smooth = m_chToken == L'S' || m_chToken == L's';
            do
            {
                COSMMarkupPointF first;
                if (!smooth)
                    first = ReadPoint(false, relative);
                else if (previous == L'C')
                    first = COSMMarkupPointF{2 * m_current.x - m_lastControl.x, 2 * m_current.y - m_lastControl.y};
                else
                    first = m_current;
                const COSMMarkupPointF second = ReadPoint(!smooth, relative);
                const COSMMarkupPointF end = ReadPoint(true, relative);
                AddBezier(first.x, first.y, second.x, second.y, end.x, end.y);
                m_lastControl = second;
                m_current = end;
                previous = L'C';
            } while (NumberFollows());
            break;
        }
        case L'Z':
        case L'z':
            EnsureFigure();
            CloseFigure();
            m_bFigureOpen = false;
            previous = L'Z';
            m_current = m_figureStart;
            break;
        default:
            ThrowParseError();
        }
    }
}
