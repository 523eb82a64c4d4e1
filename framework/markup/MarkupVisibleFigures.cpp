#include "framework/markup/MarkupVisibleFigures.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kCutMargin = COSMMarkupVisibleFigures::kCutMargin;
// A pen wider than this is drawn as if it were this wide where the cut edges lie.
constexpr int kWidestCutPen = 1 << 16;
// Points closer than this, in pixels along both axes, are one.
constexpr double kMergeDistance = 0.25;
// How far a flattened curve or ellipse may stray from the true one, in pixels.
constexpr double kFlatness = 0.2;
// The most equal steps a curve is flattened in; a curve that needs more is halved near the box instead.
constexpr int kMaxCurveSegments = 1024;
// The most times a curve is halved: far below a pixel for a curve 2^31 pixels long.
constexpr int kMaxCurveDepth = 48;
// The most points one ellipse becomes before cutting: enough for a radius of 2^31 pixels within kFlatness.
constexpr int kMaxEllipsePoints = 1 << 18;

double CutMargin(int thickness)
{
    return std::min(std::max(thickness, 0), kWidestCutPen) / 2.0 + kCutMargin;
}

// One edge's rows: where it starts crossing them and where it stops.
struct EdgeEvent
{
    double y;
    int change;
};

// The sum over rows of the square of the edges crossing each row, for edges given as y extents.
double SweepFillWork(std::vector<EdgeEvent>& events)
{
    std::sort(events.begin(), events.end(), [](const EdgeEvent& a, const EdgeEvent& b) { return a.y < b.y; });
    double work = 0;
    long long depth = 0;
    for (size_t i = 0; i < events.size(); ++i)
    {
        if (i > 0)
            work += static_cast<double>(depth) * static_cast<double>(depth) * (events[i].y - events[i - 1].y);
        depth += events[i].change;
    }
    return work;
}

void AddEdge(std::vector<EdgeEvent>& events, double y0, double y1)
{
    if (y0 == y1 || !(y0 == y0) || !(y1 == y1))
        return;
    events.push_back(EdgeEvent{std::min(y0, y1), 1});
    events.push_back(EdgeEvent{std::max(y0, y1), -1});
}

// Edges of figures whose points are read by y(i) and start where isStart(i) says (a figure's closing edge too:
// a fill closes every figure).
template <class Y, class IsStart> double FiguresFillWork(int count, Y y, IsStart isStart)
{
    std::vector<EdgeEvent> events;
    events.reserve(static_cast<size_t>(count) * 2);
    int start = 0;
    for (int i = 1; i <= count; ++i)
    {
        if (i == count || isStart(i))
        {
            AddEdge(events, y(i - 1), y(start));
            start = i;
            continue;
        }
        AddEdge(events, y(i - 1), y(i));
    }
    return SweepFillWork(events);
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

double MarkupFigureFillWork(const POINT* points, int count)
{
    if (!points || count < 2)
        return 0;
    return FiguresFillWork(
        count, [&](int i) { return static_cast<double>(points[i].y); }, [](int) { return false; });
}

BOOL MarkupPathHasVanishingCurve(const COSMMarkupPathGeometry* path)
{
    const int count = path ? path->GetPointCount() : 0;
    const COSMMarkupPointF* points = count > 0 ? path->GetPoints() : nullptr;
    const BYTE* types = count > 0 ? path->GetTypes() : nullptr;
    for (int i = 1; i + 2 < count; ++i)
    {
        if ((types[i] & COSMMarkupPathGeometry::PointTypeMask) != COSMMarkupPathGeometry::PointBezier)
            continue;
        // The curve from the point before it through its two control points to its end.
        const COSMMarkupPointF* c = points + i - 1;
        const double left = std::min({c[0].x, c[1].x, c[2].x, c[3].x});
        const double right = std::max({c[0].x, c[1].x, c[2].x, c[3].x});
        const double top = std::min({c[0].y, c[1].y, c[2].y, c[3].y});
        const double bottom = std::max({c[0].y, c[1].y, c[2].y, c[3].y});
        if (right - left < kMergeDistance && bottom - top < kMergeDistance)
            return TRUE;
        i += 2;
    }
    return FALSE;
}

double MarkupFigureFillWork(const COSMMarkupPathGeometry* path)
{
    const int count = path ? path->GetPointCount() : 0;
    if (count < 2)
        return 0;
    const COSMMarkupPointF* points = path->GetPoints();
    const BYTE* types = path->GetTypes();
    // A curve's control points count as corners: a cubic crosses a row no more often than its hull's edges do.
    return FiguresFillWork(
        count, [&](int i) { return static_cast<double>(points[i].y); },
        [&](int i) {
            return (types[i] & COSMMarkupPathGeometry::PointTypeMask) == COSMMarkupPathGeometry::PointStart;
        });
}

COSMMarkupVisibleFigures::COSMMarkupVisibleFigures(const RECT& clipBox, int thickness)
    : COSMMarkupVisibleFigures(Outline, clipBox, CutMargin(thickness))
{
    m_workWeight = thickness > 1 ? 4.0 : 1.0;
}

COSMMarkupVisibleFigures::COSMMarkupVisibleFigures(OutlineTag, const RECT& clipBox, double margin)
    : m_left(clipBox.left - margin), m_top(clipBox.top - margin), m_right(clipBox.right + margin),
      m_bottom(clipBox.bottom + margin), m_workWeight(1.0)
{}

BOOL COSMMarkupVisibleFigures::TouchesBox(double left, double top, double right, double bottom) const
{
    return right >= m_left && left <= m_right && bottom >= m_top && top <= m_bottom;
}

BOOL COSMMarkupVisibleFigures::InsideBox(double left, double top, double right, double bottom) const
{
    return left >= m_left && right <= m_right && top >= m_top && bottom <= m_bottom;
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

void COSMMarkupVisibleFigures::AddCurveStep(const Point* c, int steps, int k)
{
    const double t = static_cast<double>(k) / steps, u = 1.0 - t;
    const double a = u * u * u, b = 3 * u * u * t, d = 3 * u * t * t, e = t * t * t;
    AddPoint(a * c[0].x + b * c[1].x + d * c[2].x + e * c[3].x, a * c[0].y + b * c[1].y + d * c[2].y + e * c[3].y);
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
    const Point curve[4] = {p0, p1, p2, p3};
    if (wanted >= kMaxCurveSegments)
    {
        // Equal steps would be too long to follow the curve where it shows: it is halved near the box until each
        // piece is as straight as the area can show.
        AddCurveNearBox(curve, 0);
        return;
    }
    const int steps = std::max(1, static_cast<int>(wanted));
    AddCurvePart(curve, steps, 0, steps, curve);
}

void COSMMarkupVisibleFigures::AddCurveNearBox(const Point* part, int depth)
{
    const double left = std::min({part[0].x, part[1].x, part[2].x, part[3].x});
    const double right = std::max({part[0].x, part[1].x, part[2].x, part[3].x});
    const double top = std::min({part[0].y, part[1].y, part[2].y, part[3].y});
    const double bottom = std::max({part[0].y, part[1].y, part[2].y, part[3].y});
    const double d = std::max(std::hypot(part[0].x - 2 * part[1].x + part[2].x, part[0].y - 2 * part[1].y + part[2].y),
                              std::hypot(part[1].x - 2 * part[2].x + part[3].x, part[1].y - 2 * part[2].y + part[3].y));
    // Off the box, straight within the flatness, smaller than what the area can tell apart, or halved as often as
    // the parameter can be: the line to its end.
    if (!TouchesBox(left, top, right, bottom) || 0.75 * d <= kFlatness ||
        (right - left < kMergeDistance && bottom - top < kMergeDistance) || depth >= kMaxCurveDepth)
    {
        AddPoint(part[3].x, part[3].y);
        return;
    }
    auto half = [](const Point& a, const Point& b) { return Point{(a.x + b.x) / 2, (a.y + b.y) / 2}; };
    const Point a = half(part[0], part[1]), b = half(part[1], part[2]), e = half(part[2], part[3]);
    const Point ab = half(a, b), be = half(b, e);
    const Point split = half(ab, be);
    const Point first[4] = {part[0], a, ab, split};
    const Point second[4] = {split, be, e, part[3]};
    AddCurveNearBox(first, depth + 1);
    AddCurveNearBox(second, depth + 1);
}

void COSMMarkupVisibleFigures::AddCurvePart(const Point* c, int steps, int k0, int k1, const Point* part)
{
    // Only the steps near the box are worked out: a stretch of the curve whose hull misses the box becomes the
    // line to its last step, like a whole curve that misses it, so a curve reaching far away costs what shows.
    const double left = std::min({part[0].x, part[1].x, part[2].x, part[3].x});
    const double right = std::max({part[0].x, part[1].x, part[2].x, part[3].x});
    const double top = std::min({part[0].y, part[1].y, part[2].y, part[3].y});
    const double bottom = std::max({part[0].y, part[1].y, part[2].y, part[3].y});
    if (k1 - k0 == 1 || !TouchesBox(left, top, right, bottom))
    {
        AddCurveStep(c, steps, k1);
        return;
    }
    if (InsideBox(left, top, right, bottom))
    {
        for (int k = k0 + 1; k <= k1; ++k)
            AddCurveStep(c, steps, k);
        return;
    }
    // The two halves of the stretch (de Casteljau at the step between them).
    const int middle = k0 + (k1 - k0) / 2;
    const double t = static_cast<double>(middle - k0) / (k1 - k0);
    auto between = [t](const Point& a, const Point& b) { return Point{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; };
    const Point a = between(part[0], part[1]), b = between(part[1], part[2]), e = between(part[2], part[3]);
    const Point ab = between(a, b), be = between(b, e);
    const Point split = between(ab, be);
    const Point first[4] = {part[0], a, ab, split};
    const Point second[4] = {split, be, e, part[3]};
    AddCurvePart(c, steps, k0, middle, first);
    AddCurvePart(c, steps, middle, k1, second);
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
    closed = closed || m_bClosesEveryFigure;
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
        // Compared as the system will get them.
        if (m_points.size() > first && std::fabs(static_cast<float>(m_points.back().x) - p.x) < kMergeDistance &&
            std::fabs(static_cast<float>(m_points.back().y) - p.y) < kMergeDistance)
            continue;
        m_points.push_back(p);
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

void COSMMarkupVisibleFigures::Thin(size_t stride, std::vector<COSMMarkupPointF>* points,
                                    std::vector<BYTE>* types) const
{
    points->clear();
    types->clear();
    size_t smallFigures = 0;
    ForEachFigure([&](const Point* figure, int count, bool) {
        const size_t n = static_cast<size_t>(count);
        const BYTE* figureTypes = &m_types[static_cast<size_t>(figure - m_points.data())];
        // A figure of few points cannot lose any and stay itself: every stride-th such figure is kept whole, so
        // many small figures thin like one large one.
        if (n < 2 * stride)
        {
            if (smallFigures++ % stride != 0)
                return;
            for (size_t i = 0; i < n; ++i)
            {
                points->push_back(COSMMarkupPointF{static_cast<float>(figure[i].x), static_cast<float>(figure[i].y)});
                types->push_back(figureTypes[i]);
            }
            return;
        }
        // Every stride-th point of a large one stays, with its first and last.
        for (size_t i = 0; i < n; ++i)
        {
            if (i == 0 || i + 1 == n || i % stride == 0)
            {
                points->push_back(COSMMarkupPointF{static_cast<float>(figure[i].x), static_cast<float>(figure[i].y)});
                types->push_back(figureTypes[i]);
            }
        }
    });
}

COSMMarkupPathGeometry* COSMMarkupVisibleFigures::CreateGeometry() const
{
    if (m_points.empty())
        return nullptr;
    std::vector<COSMMarkupPointF> points;
    std::vector<BYTE> types;
    auto work = [&] {
        return m_workWeight *
               FiguresFillWork(
                   static_cast<int>(points.size()), [&](int i) { return static_cast<double>(points[i].y); },
                   [&](int i) {
                       return (types[i] & COSMMarkupPathGeometry::PointTypeMask) == COSMMarkupPathGeometry::PointStart;
                   });
    };
    Thin(1, &points, &types);
    const size_t total = points.size();
    if (total <= static_cast<size_t>(kMaxPoints))
    {
        const double needed = work();
        if (needed <= kMaxFillWork)
            return new COSMMarkupPathGeometry(points.data(), types.data(), static_cast<int>(total));
    }
    // Too many points, or too many edges crossing the same rows, left where they show: the figures are thinned
    // evenly until the system's work is bounded whatever the markup gave. Scan conversion costs the square of the
    // crossings, so the first stride is guessed from its root.
    size_t stride = std::max<size_t>(2, (total + kMaxPoints - 1) / kMaxPoints);
    for (;;)
    {
        Thin(stride, &points, &types);
        if (points.size() <= 2 || (points.size() <= static_cast<size_t>(kMaxPoints) && work() <= kMaxFillWork))
            break;
        const double over = std::sqrt(work() / kMaxFillWork);
        stride = std::max(stride * 2, static_cast<size_t>(std::ceil(stride * over)));
    }
    if (points.empty())
        return nullptr;
    return new COSMMarkupPathGeometry(points.data(), types.data(), static_cast<int>(points.size()));
}
