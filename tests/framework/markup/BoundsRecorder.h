// A renderer that notes, before drawing it for real, everything a drawing context hands on to the system: pens,
// coordinates, point counts and fill work of figures, the characters and font of text lines; and the check of
// each note against the clip box it was drawn in. Tests build a drawing context on it and read what the context let
// through:
//
//   std::vector<HandedOn> notes;
//   COSMMarkupDrawingContext dc(surface.GetDC(), new CBoundsRecorder(surface.GetDC(), &notes));
//   dc.DrawEllipse(...);
//   EXPECT_EQ("", OutOfBounds(notes));
//
// It draws through the GDI+ renderer, which is GDI itself while GDI+ is not started (UseRenderer).
#pragma once

#include "framework/markup/MarkupGdiPlusDeviceContext.h"

#include <string>
#include <vector>

namespace markup_test {

// One call handed on.
struct HandedOn
{
    std::string call;
    RECT clip = {};
    // The pen's width, 0 without a pen.
    int pen = 0;
    // What the coordinates span (for a text line: the cells of its characters).
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    bool hasExtent = false;
    int points = 0;
    // MarkupFigureFillWork, weighted as the drawing context weighs it (fill once, a wide pen four times).
    double work = 0;
    // Text: characters, font height, how far its first cell ends and its last begins, and the font's own margin.
    int characters = 0;
    int fontHeight = 0;
    double firstEnd = 0;
    double lastStart = 0;
    int fontMargin = 0;
    // A frame's widest band beyond its rectangle (0 when every band fits).
    int bandOverflow = 0;
};

class CBoundsRecorder : public COSMMarkupGdiPlusDeviceContext
{
public:
    CBoundsRecorder(HDC dc, std::vector<HandedOn>* notes) : COSMMarkupGdiPlusDeviceContext(dc, nullptr), m_pNotes(notes)
    {}

    void DrawEllipse(RECT rect, int thickness, COSMMarkupBrush* stroke, COSMMarkupBrush* fill) override;
    void DrawFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness) override;
    void DrawLine(int x1, int y1, int x2, int y2, int thickness, COSMMarkupBrush* brush) override;
    void DrawPolyline(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke) override;
    void DrawPolygon(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke,
                     COSMMarkupBrush* fill) override;
    void DrawPath(const COSMMarkupPathGeometry* path, int thickness, COSMMarkupBrush* stroke,
                  COSMMarkupBrush* fill) override;
    void FillRoundedRectangle(RECT rect, COSMMarkupBrush* brush, const double* radii) override;
    void DrawRoundedFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness,
                          const double* radii) override;
    void DrawTextLine(LPCWSTR text, int count, const POINT* point) override;

private:
    HandedOn& Note(const char* call, int pen);

    std::vector<HandedOn>* m_pNotes;
};

// What of notes lies outside its bounds, one line per offence ("" when nothing does):
// - a pen wider than COSMMarkupStrokeCoverage::kWidestSystemPen;
// - coordinates beyond the clip box grown by half the pen and the cutting margin (and a pixel for rounding), or
//   for a slanted line by half the pen and COSMMarkupDrawingContext::kDiagonalLineReach;
// - more than COSMMarkupVisibleFigures::kMaxPoints points, or more fill work than kMaxFillWork;
// - a text line in a font larger than the area (and than 256 pixels), or with a character whose cell lies further
//   from the clip box than twice the font's size;
// - a frame band wider than its rectangle.
std::string OutOfBounds(const std::vector<HandedOn>& notes);

// Makes the markup renderers draw through GDI (the GDI+ library made missing) or GDI+ while it lives. Needs no
// markup context alive when made and when it goes.
class UseRenderer
{
public:
    enum Kind
    {
        Gdi,
        GdiPlus
    };
    explicit UseRenderer(Kind kind);
    ~UseRenderer();
    UseRenderer(const UseRenderer&) = delete;
    UseRenderer& operator=(const UseRenderer&) = delete;

    static const char* Name(Kind kind) { return kind == Gdi ? "GDI" : "GDI+"; }

private:
    Kind m_kind;
};

}  // namespace markup_test
