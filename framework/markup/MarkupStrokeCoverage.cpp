#include "framework/markup/MarkupStrokeCoverage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr double kHalfTurn = 3.14159265358979323846;
// How far the edge of a disc may stray from the circle, in pixels.
constexpr double kDiscFlatness = 0.2;

// A convex piece, turned so that every piece winds the same way (their union then fills once under the winding
// rule), cut and kept; a piece without area is left out.
void AddPiece(std::vector<COSMMarkupVisibleFigures::Point>& piece, COSMMarkupVisibleFigures* pieces)
{
    double area = 0;
    for (size_t i = 0; i < piece.size(); ++i)
    {
        const auto& p = piece[i];
        const auto& q = piece[(i + 1) % piece.size()];
        area += p.x * q.y - q.x * p.y;
    }
    if (!(area != 0))
        return;
    if (area < 0)
        std::reverse(piece.begin(), piece.end());
    pieces->BeginFigure();
    for (const auto& p : piece)
        pieces->AddPoint(p.x, p.y);
    pieces->EndFigure(TRUE);
}

}  // namespace

COSMMarkupStrokeCoverage::COSMMarkupStrokeCoverage(const RECT& clipBox, int width)
    : m_clipBox(clipBox), m_radius(std::max(width, 0) / 2.0),
      m_left(clipBox.left - static_cast<double>(COSMMarkupVisibleFigures::kCutMargin)),
      m_top(clipBox.top - static_cast<double>(COSMMarkupVisibleFigures::kCutMargin)),
      m_right(clipBox.right + static_cast<double>(COSMMarkupVisibleFigures::kCutMargin)),
      m_bottom(clipBox.bottom + static_cast<double>(COSMMarkupVisibleFigures::kCutMargin)),
      // The middle line matters as far out as the pen reaches into the box: parts further out are cut away, and the
      // cut edges that replace them lie beyond the pen's reach.
      m_outline(COSMMarkupVisibleFigures::Outline, clipBox, m_radius + 2.0 * COSMMarkupVisibleFigures::kCutMargin)
{}

double COSMMarkupStrokeCoverage::DiscStep() const
{
    return 2.0 * std::acos(std::max(-1.0, 1.0 - kDiscFlatness / m_radius));
}

BOOL COSMMarkupStrokeCoverage::CoversBox(double x, double y) const
{
    const double dx = std::max(std::fabs(m_left - x), std::fabs(m_right - x));
    const double dy = std::max(std::fabs(m_top - y), std::fabs(m_bottom - y));
    return dx * dx + dy * dy <= m_radius * m_radius;
}

void COSMMarkupStrokeCoverage::AddPath(const COSMMarkupPathGeometry* path)
{
    const int count = path ? path->GetPointCount() : 0;
    if (m_covered || count == 0)
        return;
    // A huge pen usually covers the whole box from any point of its line: looking at the points the line passes
    // through spares flattening what cannot change the picture. The ends of an open figure do not count: the pen
    // stops flat there.
    const COSMMarkupPointF* points = path->GetPoints();
    const BYTE* types = path->GetTypes();
    for (int start = 0; start < count;)
    {
        int end = start + 1;
        while (end < count &&
               (types[end] & COSMMarkupPathGeometry::PointTypeMask) != COSMMarkupPathGeometry::PointStart)
            ++end;
        const bool closed = (types[end - 1] & COSMMarkupPathGeometry::PointCloseFigure) != 0;
        std::vector<int> anchors(1, start);
        for (int i = start + 1; i < end; ++i)
        {
            if ((types[i] & COSMMarkupPathGeometry::PointTypeMask) == COSMMarkupPathGeometry::PointBezier)
                i = std::min(i + 2, end - 1);
            anchors.push_back(i);
        }
        const size_t first = closed ? 0 : 1;
        const size_t last = closed ? anchors.size() : anchors.size() - 1;
        for (size_t a = first; a < last; ++a)
        {
            if (CoversBox(points[anchors[a]].x, points[anchors[a]].y))
            {
                m_covered = true;
                return;
            }
        }
        start = end;
    }
    m_outline.AddPath(path);
}

void COSMMarkupStrokeCoverage::AddBand(const Point& a, const Point& b, COSMMarkupVisibleFigures* pieces,
                                       bool* covered) const
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 0))
        return;
    const double ux = dx / length, uy = dy / length;
    const double nx = -uy * m_radius, ny = ux * m_radius;
    std::vector<Point> band = {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
    double left = band[0].x, right = band[0].x, top = band[0].y, bottom = band[0].y;
    for (const Point& p : band)
    {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    if (right < m_left || left > m_right || bottom < m_top || top > m_bottom)
        return;
    // The box lies in the band when its four corners do: along the piece and no further from it than the radius.
    bool holds = true;
    for (const Point& corner :
         {Point{m_left, m_top}, Point{m_right, m_top}, Point{m_right, m_bottom}, Point{m_left, m_bottom}})
    {
        const double along = (corner.x - a.x) * ux + (corner.y - a.y) * uy;
        const double across = (corner.x - a.x) * uy - (corner.y - a.y) * ux;
        holds = holds && along >= 0 && along <= length && std::fabs(across) <= m_radius;
    }
    if (holds)
    {
        *covered = true;
        return;
    }
    if (pieces)
        AddPiece(band, pieces);
}

void COSMMarkupStrokeCoverage::AddDisc(const Point& v, COSMMarkupVisibleFigures* pieces, bool* covered) const
{
    if (v.x + m_radius < m_left || v.x - m_radius > m_right || v.y + m_radius < m_top || v.y - m_radius > m_bottom)
        return;
    if (CoversBox(v.x, v.y))
    {
        *covered = true;
        return;
    }
    if (!pieces)
        return;
    // The circle is not larger than the box's diagonal here, or the box is far from its middle: either way only
    // the arc facing the box is made, as a sector from the middle.
    const double step = DiscStep();
    double from = 0, to = 2.0 * kHalfTurn;
    const bool inside = v.x >= m_left && v.x <= m_right && v.y >= m_top && v.y <= m_bottom;
    if (!inside)
    {
        // Seen from outside the box, its corners span less than half a turn around the direction of its middle.
        const double toward = std::atan2((m_top + m_bottom) / 2 - v.y, (m_left + m_right) / 2 - v.x);
        double low = 0, high = 0;
        for (const Point& corner :
             {Point{m_left, m_top}, Point{m_right, m_top}, Point{m_right, m_bottom}, Point{m_left, m_bottom}})
        {
            double angle = std::atan2(corner.y - v.y, corner.x - v.x) - toward;
            while (angle > kHalfTurn)
                angle -= 2 * kHalfTurn;
            while (angle < -kHalfTurn)
                angle += 2 * kHalfTurn;
            low = std::min(low, angle);
            high = std::max(high, angle);
        }
        from = toward + low;
        to = toward + high;
    }
    const int steps = std::max(1, static_cast<int>(std::ceil((to - from) / step)));
    std::vector<Point> sector;
    if (!inside)
        sector.push_back(v);
    // A whole circle ends where it began: its last point would repeat the first.
    const int points = inside ? steps : steps + 1;
    for (int i = 0; i < points; ++i)
    {
        const double angle = from + (to - from) * i / steps;
        sector.push_back(Point{v.x + m_radius * std::cos(angle), v.y + m_radius * std::sin(angle)});
    }
    AddPiece(sector, pieces);
}

COSMMarkupPathGeometry* COSMMarkupStrokeCoverage::CreateGeometry() const
{
    bool covered = m_covered;
    COSMMarkupVisibleFigures pieces(m_clipBox, 0);
    if (!covered)
    {
        // The pieces first, without their points: a band or disc that repeats one already taken (to a quarter
        // pixel, as the figures' points are merged) covers nothing new, and a path of thousands of figures along
        // the same line would otherwise make each again. What is left is made at most kMaxPieceWork points' worth:
        // beyond that every so many pieces, evenly, as the figures' points would be thinned after all.
        struct Piece
        {
            Point a;
            Point b;
            bool disc;
        };
        std::vector<Piece> taken;
        std::set<std::array<long long, 5>> seen;
        const auto key = [](double v) { return std::llround(std::min(std::max(v, -1e15), 1e15) * 4.0); };
        const auto take = [&](const Point& a, const Point& b, bool disc) {
            if (std::max(a.x, b.x) + m_radius < m_left || std::min(a.x, b.x) - m_radius > m_right ||
                std::max(a.y, b.y) + m_radius < m_top || std::min(a.y, b.y) - m_radius > m_bottom)
                return;
            std::array<long long, 5> id = {key(a.x), key(a.y), key(b.x), key(b.y), disc ? 1 : 0};
            // A band is the same whichever way it runs.
            if (!disc && std::make_pair(id[2], id[3]) < std::make_pair(id[0], id[1]))
                id = {id[2], id[3], id[0], id[1], 0};
            if (seen.insert(id).second)
                taken.push_back({a, b, disc});
        };
        m_outline.ForEachFigure([&](const Point* points, int count, bool closed) {
            const int bands = closed ? count : count - 1;
            for (int i = 0; i < bands; ++i)
                take(points[i], points[(i + 1) % count], false);
            // Corners: every point of a closed figure, the inner points of an open one.
            const int firstCorner = closed ? 0 : 1;
            const int lastCorner = closed ? count : count - 1;
            for (int i = firstCorner; i < lastCorner; ++i)
                take(points[i], points[i], true);
        });
        const double discPoints = 2.0 * kHalfTurn / DiscStep() + 2.0;
        double work = 0;
        for (const Piece& piece : taken)
            work += piece.disc ? discPoints : 4.0;
        const size_t stride =
            work > kMaxPieceWork ? static_cast<size_t>(std::ceil(work / static_cast<double>(kMaxPieceWork))) : 1;
        for (size_t i = 0; i < taken.size() && !covered; ++i)
        {
            // Every piece may hold the whole box, whichever are made.
            const Piece& piece = taken[i];
            const bool made = i % stride == 0;
            if (piece.disc)
                AddDisc(piece.a, made ? &pieces : nullptr, &covered);
            else
                AddBand(piece.a, piece.b, made ? &pieces : nullptr, &covered);
        }
    }
    COSMMarkupPathGeometry* geometry = nullptr;
    if (covered)
    {
        // The pen covers everything that can show.
        const COSMMarkupPointF box[4] = {{static_cast<float>(m_left), static_cast<float>(m_top)},
                                         {static_cast<float>(m_right), static_cast<float>(m_top)},
                                         {static_cast<float>(m_right), static_cast<float>(m_bottom)},
                                         {static_cast<float>(m_left), static_cast<float>(m_bottom)}};
        const BYTE types[4] = {COSMMarkupPathGeometry::PointStart, COSMMarkupPathGeometry::PointLine,
                               COSMMarkupPathGeometry::PointLine,
                               COSMMarkupPathGeometry::PointLine | COSMMarkupPathGeometry::PointCloseFigure};
        geometry = new COSMMarkupPathGeometry(box, types, 4);
    }
    else
    {
        geometry = pieces.CreateGeometry();
    }
    if (geometry)
        geometry->SetFillRule(COSMMarkupPathGeometry::FillWinding);
    return geometry;
}
