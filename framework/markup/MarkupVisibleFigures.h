// COSMMarkupVisibleFigures: the part of a figure a drawing can show, made before anything reaches GDI or GDI+.
// Markup may give shapes of any size and any number of points (an ellipse 2147483647 pixels tall, a path of 64,000
// curves), and the system's own flattening and scan conversion then cost the whole figure, or never end. Figures
// are flattened here into straight lines, curves only where they come near the visible area, cut to the clip box
// grown by a margin wider than half the pen (so the cut edges never show), with points closer than a fraction of a
// pixel merged, and at most kMaxPoints points in all: the work is proportional to the points given, and what the
// system gets is bounded by the visible area.
//
//   if (MarkupFigureNeedsCutting(bounds, count, clipBox, thickness))
//   {
//       COSMMarkupVisibleFigures figures(clipBox, thickness);
//       figures.AddPolygon(points, count, TRUE);
//       const auto geometry = AdoptRef(figures.CreateGeometry());  // null: nothing shows
//   }
#pragma once

#include "framework/markup/MarkupPathGeometry.h"

#include <vector>

// Whether a figure with these bounds (pen included or not: the margin allows for it), count points and a pen of
// thickness should go through COSMMarkupVisibleFigures rather than straight to the system: it reaches far outside
// the clip box or has more points than the system draws quickly.
BOOL MarkupFigureNeedsCutting(const RECT& bounds, int count, const RECT& clipBox, int thickness);

class COSMMarkupVisibleFigures
{
public:
    // The most points CreateGeometry hands on; more are thinned evenly.
    static constexpr int kMaxPoints = 4096;

    COSMMarkupVisibleFigures(const RECT& clipBox, int thickness);

    // One figure of count points, closed or open.
    void AddPolygon(const POINT* points, int count, BOOL closed);
    // Every figure of path, its curves flattened.
    void AddPath(const COSMMarkupPathGeometry* path);
    // The ellipse inside (left, top, right, bottom).
    void AddEllipse(double left, double top, double right, double bottom);

    // The figures as lines (one reference for the caller), or null when no point is left.
    COSMMarkupPathGeometry* CreateGeometry() const;

private:
    struct Point
    {
        double x;
        double y;
    };

    void BeginFigure();
    void AddPoint(double x, double y);
    void AddCurve(const Point& p0, const Point& p1, const Point& p2, const Point& p3);
    // Cuts the figure begun last to the box and keeps what is left.
    void EndFigure(BOOL closed);
    BOOL TouchesBox(double left, double top, double right, double bottom) const;

    double m_left;
    double m_top;
    double m_right;
    double m_bottom;
    std::vector<Point> m_figure;
    std::vector<COSMMarkupPointF> m_points;
    std::vector<BYTE> m_types;
};
