#include "BoundsRecorder.h"

#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupGdiPlus.h"
#include "framework/markup/MarkupPathGeometry.h"
#include "framework/markup/MarkupStrokeCoverage.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupVisibleFigures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace markup_test {

namespace {

double Weight(bool filled, int pen)
{
    return (filled ? 1.0 : 0.0) + (pen > 1 ? 4.0 : 0.0);
}

void Span(HandedOn& note, double x, double y)
{
    if (!note.hasExtent)
    {
        note.left = note.right = x;
        note.top = note.bottom = y;
        note.hasExtent = true;
        return;
    }
    note.left = std::min(note.left, x);
    note.right = std::max(note.right, x);
    note.top = std::min(note.top, y);
    note.bottom = std::max(note.bottom, y);
}

void SpanPoints(HandedOn& note, const POINT* points, int count)
{
    for (int i = 0; points && i < count; ++i)
        Span(note, points[i].x, points[i].y);
}

}  // namespace

HandedOn& CBoundsRecorder::Note(const char* call, int pen)
{
    HandedOn note;
    note.call = call;
    note.pen = pen;
    ::GetClipBox(m_hDC, &note.clip);
    m_pNotes->push_back(note);
    return m_pNotes->back();
}

void CBoundsRecorder::DrawEllipse(RECT rect, int thickness, COSMMarkupBrush* stroke, COSMMarkupBrush* fill)
{
    HandedOn& note = Note("ellipse", stroke ? thickness : 0);
    Span(note, rect.left, rect.top);
    Span(note, rect.right, rect.bottom);
    note.points = 1;
    COSMMarkupGdiPlusDeviceContext::DrawEllipse(rect, thickness, stroke, fill);
}

void CBoundsRecorder::DrawFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness)
{
    HandedOn& note = Note("frame", 0);
    if (thickness)
    {
        const long long w = static_cast<long long>(rect.right) - rect.left;
        const long long h = static_cast<long long>(rect.bottom) - rect.top;
        const long long over = std::max({thickness->GetLeft() - w, thickness->GetRight() - w, thickness->GetTop() - h,
                                         thickness->GetBottom() - h, 0LL});
        note.bandOverflow = static_cast<int>(std::min<long long>(over, 2147483647));
    }
    COSMMarkupGdiPlusDeviceContext::DrawFrame(rect, brush, thickness);
}

void CBoundsRecorder::DrawLine(int x1, int y1, int x2, int y2, int thickness, COSMMarkupBrush* brush)
{
    HandedOn& note = Note("line", thickness);
    Span(note, x1, y1);
    Span(note, x2, y2);
    note.points = 2;
    COSMMarkupGdiPlusDeviceContext::DrawLine(x1, y1, x2, y2, thickness, brush);
}

void CBoundsRecorder::DrawPolyline(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke)
{
    HandedOn& note = Note("polyline", stroke ? thickness : 0);
    SpanPoints(note, points, count);
    note.points = count;
    note.work = Weight(false, note.pen) * MarkupFigureFillWork(points, count);
    COSMMarkupGdiPlusDeviceContext::DrawPolyline(points, count, thickness, stroke);
}

void CBoundsRecorder::DrawPolygon(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke,
                                  COSMMarkupBrush* fill)
{
    HandedOn& note = Note("polygon", stroke ? thickness : 0);
    SpanPoints(note, points, count);
    note.points = count;
    note.work = Weight(fill != nullptr, note.pen) * MarkupFigureFillWork(points, count);
    COSMMarkupGdiPlusDeviceContext::DrawPolygon(points, count, thickness, stroke, fill);
}

void CBoundsRecorder::DrawPath(const COSMMarkupPathGeometry* path, int thickness, COSMMarkupBrush* stroke,
                               COSMMarkupBrush* fill)
{
    HandedOn& note = Note("path", stroke ? thickness : 0);
    const int count = path ? path->GetPointCount() : 0;
    for (int i = 0; i < count; ++i)
        Span(note, path->GetPoints()[i].x, path->GetPoints()[i].y);
    note.points = count;
    note.work = Weight(fill != nullptr, note.pen) * MarkupFigureFillWork(path);
    COSMMarkupGdiPlusDeviceContext::DrawPath(path, thickness, stroke, fill);
}

void CBoundsRecorder::FillRoundedRectangle(RECT rect, COSMMarkupBrush* brush, const double* radii)
{
    HandedOn& note = Note("rounded fill", 0);
    Span(note, rect.left, rect.top);
    Span(note, rect.right, rect.bottom);
    COSMMarkupGdiPlusDeviceContext::FillRoundedRectangle(rect, brush, radii);
}

void CBoundsRecorder::DrawRoundedFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness,
                                       const double* radii)
{
    HandedOn& note = Note("rounded frame", thickness ? thickness->GetLeft() : 0);
    Span(note, rect.left, rect.top);
    Span(note, rect.right, rect.bottom);
    COSMMarkupGdiPlusDeviceContext::DrawRoundedFrame(rect, brush, thickness, radii);
}

void CBoundsRecorder::DrawTextLine(LPCWSTR text, int count, const POINT* point)
{
    HandedOn& note = Note("text", 0);
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(m_hDC, &metrics);
    note.characters = count;
    note.fontHeight = metrics.tmHeight;
    note.fontMargin = std::max<int>(metrics.tmHeight, metrics.tmMaxCharWidth) + metrics.tmOverhang;
    if (text && count > 0 && point)
    {
        SIZE first = {}, allButLast = {}, all = {};
        ::GetTextExtentPoint32W(m_hDC, text, 1, &first);
        ::GetTextExtentPoint32W(m_hDC, text, count - 1, &allButLast);
        ::GetTextExtentPoint32W(m_hDC, text, count, &all);
        note.firstEnd = static_cast<double>(point->x) + first.cx;
        note.lastStart = static_cast<double>(point->x) + allButLast.cx;
        Span(note, point->x, point->y);
        Span(note, static_cast<double>(point->x) + all.cx, static_cast<double>(point->y) + metrics.tmHeight);
    }
    COSMMarkupGdiPlusDeviceContext::DrawTextLine(text, count, point);
}

std::string OutOfBounds(const std::vector<HandedOn>& notes)
{
    std::ostringstream out;
    for (const HandedOn& note : notes)
    {
        const RECT& clip = note.clip;
        std::ostringstream where;
        where << note.call << " in clip " << clip.left << "," << clip.top << "," << clip.right << "," << clip.bottom
              << ": ";
        if (note.pen > COSMMarkupStrokeCoverage::kWidestSystemPen)
            out << where.str() << "pen " << note.pen << "\n";
        if (note.points > COSMMarkupVisibleFigures::kMaxPoints)
            out << where.str() << note.points << " points\n";
        if (note.work > COSMMarkupVisibleFigures::kMaxFillWork * 1.0001)
            out << where.str() << "fill work " << note.work << "\n";
        if (note.bandOverflow > 0)
            out << where.str() << "a band " << note.bandOverflow << " wider than the rectangle\n";
        if (note.call == "text")
        {
            const int largest = std::max<int>(clip.right - clip.left, clip.bottom - clip.top);
            const double reach = 2.0 * note.fontMargin;
            if (note.fontHeight > std::max(256, largest))
                out << where.str() << "a font " << note.fontHeight << " pixels high\n";
            if (note.firstEnd < clip.left - reach || note.lastStart > clip.right + reach ||
                note.bottom < clip.top - reach || note.top > clip.bottom + reach)
                out << where.str() << note.characters << " characters spanning " << note.left << "," << note.top
                    << " to " << note.right << "," << note.bottom << "\n";
            continue;
        }
        if (!note.hasExtent)
            continue;
        // A slanted line keeps its end points within a reach of its own.
        const bool slanted = note.call == "line" && note.left != note.right && note.top != note.bottom;
        const double margin =
            note.pen / 2.0 + 1 +
            (slanted ? COSMMarkupDrawingContext::kDiagonalLineReach : COSMMarkupVisibleFigures::kCutMargin);
        if (note.left < clip.left - margin || note.top < clip.top - margin || note.right > clip.right + margin ||
            note.bottom > clip.bottom + margin)
            out << where.str() << "coordinates " << note.left << "," << note.top << " to " << note.right << ","
                << note.bottom << "\n";
    }
    return out.str();
}

UseRenderer::UseRenderer(Kind kind) : m_kind(kind)
{
    if (kind == Gdi)
    {
        EXPECT_TRUE(GetMarkupGdiPlus()->SetLibraryName("osmira-no-such-gdiplus.dll"))
            << "a markup context still uses GDI+";
    }
}

UseRenderer::~UseRenderer()
{
    if (m_kind == Gdi)
        GetMarkupGdiPlus()->SetLibraryName(nullptr);
}

}  // namespace markup_test
