// What of a line of text can show in a clip box. The system lays out and rasterises every glyph it is given, where
// it shows or not: a run of 62 glyphs of a 16,384-pixel font cost half a second each to ExtTextOutW with nothing
// of them visible. The drawing context hands on only the characters whose cells come near the clip box, at the
// place they had in the whole line, and draws the glyphs of a font larger than the area as outlines (cut like any
// figure) instead of letting the system rasterise them whole.
//
//   MarkupVisibleCharacters visible;
//   if (FindMarkupVisibleCharacters(dc, text, count, at, clipBox, margin, &visible))
//       ::ExtTextOutW(dc, visible.x, at.y, 0, nullptr, text + visible.first, visible.count, nullptr);
#pragma once

#include "classlib/ClassLibBase.h"

#include <vector>

class COSMMarkupPathGeometryBuilder;

// The advances of the first 128 characters of the fonts met during one drawing: whether a line of plain text lies
// within reach as a whole is then told without asking the system to measure it.
class COSMMarkupPlainTextWidths
{
public:
    // The width of count characters of text in dc's current font (whose metrics are given), or -1 when the text
    // holds a character beyond the table or the widths cannot be read.
    long long Measure(HDC dc, const TEXTMETRICW& metrics, LPCWSTR text, int count);

private:
    struct Font
    {
        HGDIOBJ handle;
        // A handle freed and made again for another font within one drawing is told apart by its metrics.
        LONG height;
        LONG averageWidth;
        LONG widestWidth;
        INT advances[128];
    };
    std::vector<Font> m_fonts;
};

// A stretch of a line's characters and where it starts.
struct MarkupVisibleCharacters
{
    int first = 0;
    int count = 0;
    int x = 0;
};

// The characters of text (count of them, drawn with their cells' top left at at in dc's current font) whose cells
// come within margin of clipBox; FALSE when none do. Measured with the system's partial extents, the characters
// before the stretch only as far as needed; a surrogate pair or a character with its combining marks is never
// split. Text the system shapes or reorders (right-to-left and other complex scripts) is left whole.
BOOL FindMarkupVisibleCharacters(HDC dc, LPCWSTR text, int count, POINT at, const RECT& clipBox, int margin,
                                 MarkupVisibleCharacters* found);

// Whether text holds a character the system joins, reorders or shapes with its neighbours (right-to-left and other
// complex scripts): such text is measured and drawn whole, never cut where its characters' widths say.
BOOL IsMarkupShapedText(LPCWSTR text, int count);

// Adds to figures the outlines of the glyphs of characters (drawn from at, advanced by the system's widths) whose
// ink meets clipBox, in dc's current font and the device's pixels; FALSE when the font has no outlines to give.
BOOL AddMarkupGlyphOutlines(HDC dc, LPCWSTR text, int count, POINT at, const RECT& clipBox,
                            COSMMarkupPathGeometryBuilder* figures);
