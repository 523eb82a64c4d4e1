// COSMMarkupVisibleFigures: the part of a figure a drawing can show, made before anything reaches GDI or GDI+.
// Markup may give shapes of any size and any number of points (an ellipse 2147483647 pixels tall, a path of 64,000
// curves), and the system's own flattening and scan conversion then cost the whole figure, or never end. Figures
// are flattened here into straight lines, curves only where they come near the visible area, cut to the clip box
// grown by a margin wider than half the pen (so the cut edges never show), with points closer than a fraction of a
// pixel merged, and at most kMaxPoints points and kMaxFillWork of scan conversion in all: the work is proportional
// to the points given, and what the system gets is bounded by the visible area.
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

// What the system's scan conversion of figures costs, as the sum over their rows of the square of the edges that
// cross each row (GDI and GDI+ keep every crossing edge sorted on every row): count points as figures of the types
// given (null: one figure, closed).
double MarkupFigureFillWork(const POINT* points, int count);
double MarkupFigureFillWork(const COSMMarkupPathGeometry* path);

// Whether path holds a curve whose points all lie within a fraction of a pixel: stroked among other segments as
// small, such a curve sends the system's widening into a recursion that ends only with the stack (GDI+ under Wine),
// and it shows nothing a line would not.
BOOL MarkupPathHasVanishingCurve(const COSMMarkupPathGeometry* path);

class COSMMarkupVisibleFigures
{
public:
    // The most points CreateGeometry hands on; more are thinned evenly.
    static constexpr int kMaxPoints = 4096;
    // The most scan-conversion work (MarkupFigureFillWork) CreateGeometry hands on, a pen wider than a pixel
    // counting four times (the system fills its outline's two sides): some hundredths of a second under Wine.
    static constexpr double kMaxFillWork = 32e6;
    // Room beyond the clip box: cut edges lie this far (plus half the pen) outside what shows, so neither their
    // anti-aliasing nor the pen drawn along them reaches a visible pixel.
    static constexpr int kCutMargin = 16;

    struct Point
    {
        double x;
        double y;
    };

    COSMMarkupVisibleFigures(const RECT& clipBox, int thickness);

    // Cut with margin beyond the clip box instead, for figures never handed on themselves: the outline along which
    // a pen too wide for the system runs must be kept as far out as the pen reaches.
    enum OutlineTag
    {
        Outline
    };
    COSMMarkupVisibleFigures(OutlineTag, const RECT& clipBox, double margin);

    // Cut every figure as closed, for a fill: the system fills an open figure as if closed, and an open figure cut
    // open would be closed across what shows, from where it last leaves the box to its start.
    void SetClosesEveryFigure(BOOL closes) { m_bClosesEveryFigure = closes; }

    // One figure of count points, closed or open.
    void AddPolygon(const POINT* points, int count, BOOL closed);
    // Every figure of path, its curves flattened.
    void AddPath(const COSMMarkupPathGeometry* path);
    // The ellipse inside (left, top, right, bottom).
    void AddEllipse(double left, double top, double right, double bottom);
    // A figure point by point: BeginFigure, AddPoint ..., EndFigure cuts it and keeps what is left.
    void BeginFigure();
    void AddPoint(double x, double y);
    void EndFigure(BOOL closed);

    // What is kept so far, figure by figure: fn(points, count, closed).
    template <class Fn> void ForEachFigure(Fn fn) const
    {
        size_t start = 0;
        for (size_t i = 1; i <= m_types.size(); ++i)
        {
            if (i < m_types.size() &&
                (m_types[i] & COSMMarkupPathGeometry::PointTypeMask) != COSMMarkupPathGeometry::PointStart)
                continue;
            fn(&m_points[start], static_cast<int>(i - start),
               (m_types[i - 1] & COSMMarkupPathGeometry::PointCloseFigure) != 0);
            start = i;
        }
    }
    BOOL IsEmpty() const { return m_points.empty(); }
    // The box figures are cut to.
    double GetLeft() const { return m_left; }
    double GetTop() const { return m_top; }
    double GetRight() const { return m_right; }
    double GetBottom() const { return m_bottom; }

    // The figures as lines (one reference for the caller), or null when no point is left.
    COSMMarkupPathGeometry* CreateGeometry() const;

private:
    void AddCurve(const Point& p0, const Point& p1, const Point& p2, const Point& p3);
    // Grid points k0 + 1 .. k1 of the curve c flattened in steps, part being the curve's piece between them.
    void AddCurvePart(const Point* c, int steps, int k0, int k1, const Point* part);
    void AddCurveStep(const Point* c, int steps, int k);
    // The piece of a curve halved depth times, flattened to the precision the area shows where it is near the box.
    void AddCurveNearBox(const Point* part, int depth);
    BOOL TouchesBox(double left, double top, double right, double bottom) const;
    BOOL InsideBox(double left, double top, double right, double bottom) const;
    // The kept figures with every stride-th point of large figures and every stride-th small figure.
    void Thin(size_t stride, std::vector<COSMMarkupPointF>* points, std::vector<BYTE>* types) const;

    double m_left;
    double m_top;
    double m_right;
    double m_bottom;
    // A pen wider than a pixel makes the system fill both sides of each edge.
    double m_workWeight;
    BOOL m_bClosesEveryFigure = FALSE;
    std::vector<Point> m_figure;
    std::vector<Point> m_points;
    std::vector<BYTE> m_types;
};
