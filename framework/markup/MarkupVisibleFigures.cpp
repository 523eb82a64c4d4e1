#include "framework/markup/MarkupVisibleFigures.h"

#include <algorithm>
#include <cmath>

namespace {

// Room beyond the clip box: the cut edges of a figure lie this far (plus half the pen) outside what shows, so
// neither their anti-aliasing nor the pen drawn along them reaches a visible pixel.
constexpr int kCutMargin = 16;
// A pen wider than this is drawn as if it were this wide where the cut edges lie.
constexpr int kWidestCutPen = 1 << 16;
// Points closer than this, in pixels along both axes, are one.
constexpr double kMergeDistance = 0.25;
// How far a flattened curve or ellipse may stray from the true one, in pixels.
constexpr double kFlatness = 0.2;
// The most lines one curve becomes.
constexpr int kMaxCurveSegments = 1024;
// The most points one ellipse becomes before cutting: enough for a radius of 2^31 pixels within kFlatness.
constexpr int kMaxEllipsePoints = 1 << 18;

double CutMargin(int thickness)
{
    return std::min(std::max(thickness, 0), kWidestCutPen) / 2.0 + kCutMargin;
}

}  // namespace

BOOL MarkupFigureNeedsCutting(const RECT& bounds, int count, const RECT& clipBox, int thickness)
{
    if (count > COSMMarkupVisibleFigures::kMaxPoints)
        return TRUE;
    const double margin = CutMargin(thickness);
    return bounds.left < clipBox.left - margin || bounds.top < clipBox.top - margin ||
           bounds.right > clipBox.right + margin || bounds.bottom > clipBox.bottom + margin;
}

COSMMarkupVisibleFigures::COSMMarkupVisibleFigures(const RECT& clipBox, int thickness)
{
    const double margin = CutMargin(thickness);
    m_left = clipBox.left - margin;
    m_top = clipBox.top - margin;
    m_right = clipBox.right + margin;
    m_bottom = clipBox.bottom + margin;
}

BOOL COSMMarkupVisibleFigures::TouchesBox(double left, double top, double right, double bottom) const
{
    return right >= m_left && left <= m_right && bottom >= m_top && top <= m_bottom;
}

void COSMMarkupVisibleFigures::BeginFigure()
{
    m_figure.clear();
}

void COSMMarkupVisibleFigures::AddPoint(double x, double y)
{
    m_figure.push_back(Point{x, y});
}

void COSMMarkupVisibleFigures::AddPolygon(const POINT* points, int count, BOOL closed)
{
    if (!points || count < 1)
        return;
    BeginFigure();
    for (int i = 0; i < count; ++i)
        AddPoint(points[i].x, points[i].y);
    EndFigure(closed);
}

void COSMMarkupVisibleFigures::AddCurve(const Point& p0, const Point& p1, const Point& p2, const Point& p3)
{
    // A curve stays inside the hull of its four points: one that misses the box is drawn as the line to its end,
    // which is cut away with the rest of what lies outside.
    const double left = std::min({p0.x, p1.x, p2.x, p3.x}), right = std::max({p0.x, p1.x, p2.x, p3.x});
    const double top = std::min({p0.y, p1.y, p2.y, p3.y}), bottom = std::max({p0.y, p1.y, p2.y, p3.y});
    if (!TouchesBox(left, top, right, bottom))
    {
        AddPoint(p3.x, p3.y);
        return;
    }
    // The second differences bound how far the chords stray: (3/4) d / n² for n equal steps.
    const double d = std::max(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                              std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
    const double wanted = std::ceil(std::sqrt(0.75 * d / kFlatness));
    const int steps = wanted >= kMaxCurveSegments ? kMaxCurveSegments : std::max(1, static_cast<int>(wanted));
    for (int i = 1; i <= steps; ++i)
    {
        const double t = static_cast<double>(i) / steps, u = 1.0 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, e = t * t * t;
        AddPoint(a * p0.x + b * p1.x + c * p2.x + e * p3.x, a * p0.y + b * p1.y + c * p2.y + e * p3.y);
    }
}

void COSMMarkupVisibleFigures::AddPath(const COSMMarkupPathGeometry* path)
{
    const int count = path ? path->GetPointCount() : 0;
    const COSMMarkupPointF* points = count ? path->GetPoints() : nullptr;
    const BYTE* types = count ? path->GetTypes() : nullptr;
    BeginFigure();
    for (int i = 0; i < count; ++i)
    {
        BYTE last = types[i];
        switch (types[i] & COSMMarkupPathGeometry::PointTypeMask)
        {
        case COSMMarkupPathGeometry::PointStart:
            EndFigure(FALSE);
            BeginFigure();
            AddPoint(points[i].x, points[i].y);
            break;
        case COSMMarkupPathGeometry::PointBezier:
        {
            // A segment needs three points: a cut-off one ends the path.
            if (count - i < 3 || m_figure.empty())
            {
                i = count;
                continue;
            }
            const Point start = m_figure.back();
            AddCurve(start, Point{points[i].x, points[i].y}, Point{points[i + 1].x, points[i + 1].y},
                     Point{points[i + 2].x, points[i + 2].y});
            i += 2;
            last = types[i];
            break;
        }
        default:
            AddPoint(points[i].x, points[i].y);
            break;
        }
        if (last & COSMMarkupPathGeometry::PointCloseFigure)
        {
            EndFigure(TRUE);
            BeginFigure();
        }
    }
    EndFigure(FALSE);
}

void COSMMarkupVisibleFigures::AddEllipse(double left, double top, double right, double bottom)
{
    const double a = (right - left) / 2, b = (bottom - top) / 2;
    if (!(a > 0) || !(b > 0))
        return;
    const double cx = left + a, cy = top + b;
    // A chord of the parameter step strays at most max(a, b) (1 - cos(step / 2)) from the ellipse.
    const double radius = std::max(a, b);
    const double step = radius > kFlatness ? 2.0 * std::acos(1.0 - kFlatness / radius) : 1.0;
    const double wanted = std::ceil(2.0 * 3.14159265358979323846 / step);
    const int count = wanted >= kMaxEllipsePoints ? kMaxEllipsePoints : std::max(8, static_cast<int>(wanted));
    BeginFigure();
    for (int i = 0; i < count; ++i)
    {
        const double t = 2.0 * 3.14159265358979323846 * i / count;
        AddPoint(cx + a * std::cos(t), cy + b * std::sin(t));
    }
    EndFigure(TRUE);
}

void COSMMarkupVisibleFigures::EndFigure(BOOL closed)
{
    if (m_figure.empty())
        return;
    // One half-plane after another (Sutherland and Hodgman): what lies outside is replaced by the stretch of the
    // cutting line between where the figure left and where it came back, which lies outside what shows.
    std::vector<Point> input, output = std::move(m_figure);
    m_figure.clear();
    for (int edge = 0; edge < 4 && !output.empty(); ++edge)
    {
        input.swap(output);
        output.clear();
        auto inside = [&](const Point& p) {
            switch (edge)
            {
            case 0:
                return p.x >= m_left;
            case 1:
                return p.x <= m_right;
            case 2:
                return p.y >= m_top;
            default:
                return p.y <= m_bottom;
            }
        };
        auto crossing = [&](const Point& p, const Point& q) {
            const double limit = edge == 0 ? m_left : edge == 1 ? m_right : edge == 2 ? m_top : m_bottom;
            if (edge < 2)
            {
                const double t = (limit - p.x) / (q.x - p.x);
                return Point{limit, p.y + t * (q.y - p.y)};
            }
            const double t = (limit - p.y) / (q.y - p.y);
            return Point{p.x + t * (q.x - p.x), limit};
        };
        const size_t n = input.size();
        if (!closed && inside(input[0]))
            output.push_back(input[0]);
        // A closed figure also runs from its last point back to its first.
        const size_t segments = closed ? n : n - 1;
        for (size_t i = 0; i < segments; ++i)
        {
            const Point& p = closed ? input[(i + n - 1) % n] : input[i];
            const Point& q = closed ? input[i] : input[i + 1];
            const bool pIn = inside(p), qIn = inside(q);
            if (pIn != qIn)
                output.push_back(crossing(p, q));
            if (qIn)
                output.push_back(q);
        }
    }
    if (output.size() < 2)
        return;
    const size_t first = m_points.size();
    for (const Point& p : output)
    {
        if (m_points.size() > first && std::fabs(m_points.back().x - p.x) < kMergeDistance &&
            std::fabs(m_points.back().y - p.y) < kMergeDistance)
            continue;
        m_points.push_back(COSMMarkupPointF{static_cast<float>(p.x), static_cast<float>(p.y)});
        m_types.push_back(m_points.size() == first + 1 ? COSMMarkupPathGeometry::PointStart
                                                       : COSMMarkupPathGeometry::PointLine);
    }
    if (m_points.size() - first < 2)
    {
        m_points.resize(first);
        m_types.resize(first);
        return;
    }
    if (closed)
        m_types.back() |= COSMMarkupPathGeometry::PointCloseFigure;
}

COSMMarkupPathGeometry* COSMMarkupVisibleFigures::CreateGeometry() const
{
    if (m_points.empty())
        return nullptr;
    const size_t total = m_points.size();
    if (total <= static_cast<size_t>(kMaxPoints))
        return new COSMMarkupPathGeometry(m_points.data(), m_types.data(), static_cast<int>(total));
    // Too many points left where they show: every stride-th of each figure stays, with its first and last, so the
    // system's work stays bounded whatever the markup gave.
    const size_t stride = (total + kMaxPoints - 1) / kMaxPoints;
    std::vector<COSMMarkupPointF> points;
    std::vector<BYTE> types;
    size_t figureStart = 0;
    for (size_t i = 0; i < total; ++i)
    {
        const BYTE type = m_types[i];
        if ((type & COSMMarkupPathGeometry::PointTypeMask) == COSMMarkupPathGeometry::PointStart)
            figureStart = i;
        const bool lastOfFigure = i + 1 == total || (m_types[i + 1] & COSMMarkupPathGeometry::PointTypeMask) ==
                                                        COSMMarkupPathGeometry::PointStart;
        if (i == figureStart || lastOfFigure || (i - figureStart) % stride == 0)
        {
            points.push_back(m_points[i]);
            types.push_back(type);
        }
    }
    return new COSMMarkupPathGeometry(points.data(), types.data(), static_cast<int>(points.size()));
}
