#include "framework/markup/MarkupVisibleText.h"

#include "framework/markup/MarkupPathGeometryBuilder.h"

#include <algorithm>
#include <vector>

namespace {

// The first characters are measured in one go, then twice as many each time the stretch reaches further.
constexpr int kFirstMeasuredCharacters = 64;

bool IsLowSurrogate(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Marks drawn over the character before them.
bool IsCombiningMark(wchar_t c)
{
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
           (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F);
}

// Characters the system joins, reorders or shapes with their neighbours: a line holding one is drawn whole.
bool IsShapedCharacter(wchar_t c)
{
    return (c >= 0x0590 && c <= 0x109F) || (c >= 0x1700 && c <= 0x18AF) || (c >= 0x200C && c <= 0x200F) ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || (c >= 0xA800 && c <= 0xABFF) ||
           (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF);
}

double FixedToDouble(const FIXED& value)
{
    return value.value + value.fract / 65536.0;
}

}  // namespace

long long COSMMarkupPlainTextWidths::Measure(HDC dc, const TEXTMETRICW& metrics, LPCWSTR text, int count)
{
    if (!dc || !text || count <= 0)
        return -1;
    const HGDIOBJ handle = ::GetCurrentObject(dc, OBJ_FONT);
    const Font* font = nullptr;
    for (const Font& known : m_fonts)
    {
        if (known.handle == handle && known.height == metrics.tmHeight &&
            known.averageWidth == metrics.tmAveCharWidth && known.widestWidth == metrics.tmMaxCharWidth)
            font = &known;
    }
    if (!font)
    {
        Font made = {handle, metrics.tmHeight, metrics.tmAveCharWidth, metrics.tmMaxCharWidth, {}};
        if (!::GetCharWidth32W(dc, 0, 127, made.advances))
            return -1;
        m_fonts.push_back(made);
        font = &m_fonts.back();
    }
    long long width = 0;
    for (int i = 0; i < count; ++i)
    {
        if (text[i] >= 128)
            return -1;
        width += font->advances[text[i]] - metrics.tmOverhang;
    }
    return width + metrics.tmOverhang;
}

BOOL IsMarkupShapedText(LPCWSTR text, int count)
{
    return text && count > 0 && std::any_of(text, text + count, IsShapedCharacter);
}

BOOL FindMarkupVisibleCharacters(HDC dc, LPCWSTR text, int count, POINT at, const RECT& clipBox, int margin,
                                 MarkupVisibleCharacters* found)
{
    if (!dc || !text || count <= 0 || !found)
        return FALSE;
    // Where the characters may begin and end, from the start of the line.
    const long long leftLimit = static_cast<long long>(clipBox.left) - margin - at.x;
    const long long rightLimit = static_cast<long long>(clipBox.right) + margin - at.x;
    if (rightLimit <= 0)
        return FALSE;
    if (std::any_of(text, text + count, IsShapedCharacter))
    {
        *found = MarkupVisibleCharacters{0, count, at.x};
        return TRUE;
    }
    // Partial extents (extents[i]: the first i + 1 characters) up to the first character past the right limit.
    std::vector<INT> extents;
    int measured = std::min(count, kFirstMeasuredCharacters);
    for (;;)
    {
        extents.assign(static_cast<size_t>(measured), 0);
        SIZE size = {};
        if (!::GetTextExtentExPointW(dc, text, measured, 0, nullptr, extents.data(), &size))
        {
            *found = MarkupVisibleCharacters{0, count, at.x};
            return TRUE;
        }
        if (measured == count || extents[static_cast<size_t>(measured) - 1] >= rightLimit)
            break;
        measured = measured > count / 2 ? count : measured * 2;
    }
    // The first character that ends past the left limit, and the last that begins before the right one.
    int first = 0;
    while (first < measured && extents[static_cast<size_t>(first)] <= leftLimit)
        ++first;
    if (first == measured)
        return FALSE;
    int last = first;
    while (last + 1 < measured && extents[static_cast<size_t>(last)] < rightLimit)
        ++last;
    while (first > 0 && (IsLowSurrogate(text[first]) || IsCombiningMark(text[first])))
        --first;
    while (last + 1 < count && (IsLowSurrogate(text[last + 1]) || IsCombiningMark(text[last + 1])))
        ++last;
    const long long start = at.x + static_cast<long long>(first > 0 ? extents[static_cast<size_t>(first) - 1] : 0);
    if (start > 2147483647LL)
        return FALSE;
    *found = MarkupVisibleCharacters{first, last - first + 1, static_cast<int>(start)};
    return TRUE;
}

BOOL AddMarkupGlyphOutlines(HDC dc, LPCWSTR text, int count, POINT at, const RECT& clipBox,
                            COSMMarkupPathGeometryBuilder* figures)
{
    TEXTMETRICW metrics = {};
    if (!dc || !text || count <= 0 || !figures || !::GetTextMetricsW(dc, &metrics) ||
        !(metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)))
        return FALSE;
    std::vector<INT> extents(static_cast<size_t>(count), 0);
    SIZE size = {};
    if (!::GetTextExtentExPointW(dc, text, count, 0, nullptr, extents.data(), &size))
        return FALSE;
    const double baseline = static_cast<double>(at.y) + metrics.tmAscent;
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    std::vector<BYTE> outline;
    for (int i = 0; i < count; ++i)
    {
        const wchar_t c = text[i];
        // Characters beyond the first plane have no outline of their own here.
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const double penX = static_cast<double>(at.x) + (i > 0 ? extents[static_cast<size_t>(i) - 1] : 0);
        GLYPHMETRICS glyph = {};
        if (::GetGlyphOutlineW(dc, c, GGO_METRICS, &glyph, 0, nullptr, &identity) == GDI_ERROR)
            continue;
        // Only glyphs whose ink meets the clip box are outlined.
        const double inkLeft = penX + glyph.gmptGlyphOrigin.x;
        const double inkTop = baseline - glyph.gmptGlyphOrigin.y;
        if (inkLeft + glyph.gmBlackBoxX < clipBox.left || inkLeft > clipBox.right ||
            inkTop + glyph.gmBlackBoxY < clipBox.top || inkTop > clipBox.bottom)
            continue;
        const DWORD bytes = ::GetGlyphOutlineW(dc, c, GGO_NATIVE, &glyph, 0, nullptr, &identity);
        if (bytes == GDI_ERROR || bytes == 0)
            continue;
        outline.assign(bytes, 0);
        if (::GetGlyphOutlineW(dc, c, GGO_NATIVE, &glyph, bytes, outline.data(), &identity) == GDI_ERROR)
            continue;
        // Outline coordinates run up from the baseline at the pen position.
        auto place = [&](const POINTFX& p, float* x, float* y) {
            *x = static_cast<float>(penX + FixedToDouble(p.x));
            *y = static_cast<float>(baseline - FixedToDouble(p.y));
        };
        const BYTE* cursor = outline.data();
        const BYTE* end = cursor + bytes;
        while (end - cursor >= static_cast<ptrdiff_t>(sizeof(TTPOLYGONHEADER)))
        {
            const auto* header = reinterpret_cast<const TTPOLYGONHEADER*>(cursor);
            if (header->cb < sizeof(TTPOLYGONHEADER) || header->cb > static_cast<DWORD>(end - cursor))
                break;
            const BYTE* contourEnd = cursor + header->cb;
            float x = 0, y = 0;
            place(header->pfxStart, &x, &y);
            figures->BeginFigure(x, y);
            const BYTE* piece = cursor + sizeof(TTPOLYGONHEADER);
            while (contourEnd - piece >= static_cast<ptrdiff_t>(sizeof(TTPOLYCURVE)))
            {
                const auto* curve = reinterpret_cast<const TTPOLYCURVE*>(piece);
                const size_t pieceBytes =
                    sizeof(TTPOLYCURVE) + (curve->cpfx > 0 ? curve->cpfx - 1 : 0) * sizeof(POINTFX);
                if (curve->cpfx == 0 || pieceBytes > static_cast<size_t>(contourEnd - piece))
                    break;
                const int n = curve->cpfx;
                if (curve->wType == TT_PRIM_QSPLINE)
                {
                    // Quadratic pieces between on-curve points implied halfway between control points.
                    for (int k = 0; k + 1 < n; ++k)
                    {
                        float cx = 0, cy = 0, ex = 0, ey = 0;
                        place(curve->apfx[k], &cx, &cy);
                        place(curve->apfx[k + 1], &ex, &ey);
                        if (k + 2 < n)
                        {
                            ex = (cx + ex) / 2;
                            ey = (cy + ey) / 2;
                        }
                        figures->AddBezier(x + (cx - x) * 2 / 3, y + (cy - y) * 2 / 3, ex + (cx - ex) * 2 / 3,
                                           ey + (cy - ey) * 2 / 3, ex, ey);
                        x = ex;
                        y = ey;
                    }
                }
                else if (curve->wType == TT_PRIM_CSPLINE)
                {
                    for (int k = 0; k + 2 < n; k += 3)
                    {
                        float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
                        place(curve->apfx[k], &x1, &y1);
                        place(curve->apfx[k + 1], &x2, &y2);
                        place(curve->apfx[k + 2], &x, &y);
                        figures->AddBezier(x1, y1, x2, y2, x, y);
                    }
                }
                else
                {
                    for (int k = 0; k < n; ++k)
                    {
                        place(curve->apfx[k], &x, &y);
                        figures->AddLine(x, y);
                    }
                }
                piece += pieceBytes;
            }
            figures->CloseFigure();
            cursor = contourEnd;
        }
    }
    return TRUE;
}
