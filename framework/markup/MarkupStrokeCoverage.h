// COSMMarkupStrokeCoverage: the area a pen too wide for the system covers where it can show, as figures to fill. A
// pen of 100,000 pixels makes GDI widen the outline into figures of that size (it dies of a stack overflow in it)
// and GDI+ scan-convert them whole; what shows of such a pen is only the part of its area inside the clip box. The
// area is the union of a band along each straight piece of the outline (flat at the ends of an open figure) and a
// disc at each corner between two pieces: every point no further than half the pen from the outline. Each band
// and disc is cut to the clip box grown by a margin and filled with the winding rule, so the union fills once.
//
//   COSMMarkupStrokeCoverage coverage(clipBox, thickness);
//   coverage.GetOutline().AddEllipse(...);            // the middle line the pen runs along
//   const auto area = AdoptRef(coverage.CreateGeometry());  // null: the pen covers nothing that shows
//   renderer->DrawPath(area.Get(), 0, nullptr, stroke);
#pragma once

#include "framework/markup/MarkupVisibleFigures.h"

class COSMMarkupStrokeCoverage
{
public:
    // The widest pen handed to the system: GDI widens a 256-pixel pen around a 320 x 240 ellipse in milliseconds,
    // one of 20,000 in most of a second, and one of 100,000 never. Wider pens are drawn as the area they cover.
    static constexpr int kWidestSystemPen = 256;
    // The most points of bands and discs made for one pen: eight times what the figures hand on after thinning
    // (COSMMarkupVisibleFigures::kMaxPoints), a few hundredths of a second.
    static constexpr int kMaxPieceWork = 8 * COSMMarkupVisibleFigures::kMaxPoints;

    COSMMarkupStrokeCoverage(const RECT& clipBox, int width);

    // The middle line of the pen: figures added here are flattened and cut as far out as the pen reaches.
    COSMMarkupVisibleFigures& GetOutline() { return m_outline; }
    // The figures of path as the middle line, unless a point inside one of them already covers the whole box.
    void AddPath(const COSMMarkupPathGeometry* path);

    // The covered area inside the clip box and a margin (one reference for the caller), to fill with the winding
    // rule; null when the pen covers nothing there.
    COSMMarkupPathGeometry* CreateGeometry() const;

private:
    using Point = COSMMarkupVisibleFigures::Point;

    // The angle between two points of a disc's edge, which strays from the circle by no more than its flatness.
    double DiscStep() const;
    // Whether the disc of the pen around (x, y) holds the whole box.
    BOOL CoversBox(double x, double y) const;
    // The band along a to b; sets covered when it holds the whole box. Null pieces: only that test.
    void AddBand(const Point& a, const Point& b, COSMMarkupVisibleFigures* pieces, bool* covered) const;
    // The disc around v (what of it can meet the box); sets covered when it holds the whole box. Null pieces: only
    // that test.
    void AddDisc(const Point& v, COSMMarkupVisibleFigures* pieces, bool* covered) const;

    RECT m_clipBox;
    double m_radius;
    // The box what shows is cut to.
    double m_left;
    double m_top;
    double m_right;
    double m_bottom;
    bool m_covered = false;
    COSMMarkupVisibleFigures m_outline;
};
