#include "framework/tabs/TabAppearanceFigures.h"

#include <algorithm>
#include <array>

#include "classlib/ScopedHandle.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/tabs/TabColorSet.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabPaintManager.h"

namespace {

const COLORREF kFigureNoColor = static_cast<COLORREF>(-1);

// The item rectangle grown by half its thickness at both ends along the strip (trapezoids, curved tabs).
CRect GrowFigureByHalfThickness(const CRect& rc, int nPosition)
{
    if (nPosition == 0 || nPosition == 2)
    {
        const int s = rc.Height() / 2;
        return CRect(rc.left - s, rc.top, rc.right + s, rc.bottom);
    }
    const int s = rc.Width() / 2;
    return CRect(rc.left, rc.top - s, rc.right, rc.bottom + s);
}

}  // namespace

std::vector<POINT> COSMTabAppearanceFigures::FigurePoints(POINT ptStart, std::initializer_list<POINT> steps)
{
    std::vector<POINT> points{ptStart};
    for (const POINT& step : steps)
        points.push_back(POINT{points.back().x + step.x, points.back().y + step.y});
    return points;
}

COLORREF COSMTabAppearanceFigures::FillFigure(CDC* pDC, const std::vector<POINT>& points, COSMTabManagerItem* pItem)
{
    CRect rcBounds(points[0].x, points[0].y, points[0].x, points[0].y);
    for (const POINT& pt : points)
    {
        rcBounds.left = std::min(rcBounds.left, pt.x);
        rcBounds.top = std::min(rcBounds.top, pt.y);
        rcBounds.right = std::max(rcBounds.right, pt.x + 1);
        rcBounds.bottom = std::max(rcBounds.bottom, pt.y + 1);
    }
    // A clip region is in device units: the polygon goes through the DC's mapping first.
    std::vector<POINT> device = points;
    ::LPtoDP(pDC->GetSafeHdc(), device.data(), static_cast<int>(device.size()));
    const ScopedGdiObject<HRGN> region(::CreatePolygonRgn(device.data(), static_cast<int>(device.size()), ALTERNATE));
    if (!region)
        return kFigureNoColor;
    // The DC's clip comes back and the region goes however the colour set's fill ends.
    const ScopedSavedDC saved = SaveScoped(pDC->GetSafeHdc());
    ::ExtSelectClipRgn(pDC->GetSafeHdc(), region.Get(), RGN_AND);
    return GetColorSet()->FillTab(pDC, rcBounds, pItem);
}

void COSMTabAppearanceFigures::DrawFigureLine(CDC* pDC, const std::vector<POINT>& points, COLORREF clr)
{
    if (clr == kFigureNoColor || points.size() < 2)
        return;
    COSMPenDC pen(pDC->GetSafeHdc(), clr);
    pDC->Polyline(points.data(), static_cast<int>(points.size()));
}

// ---- Slanted tabs ------------------------------------------------------------------------------------------------

CRect COSMTabAppearanceSlanted::GetHeaderMargin() const
{
    CRect rc = m_rcHeaderMargin;
    rc.left += m_nBaseRowHeight;
    return rc;
}

CRect COSMTabAppearanceSlanted::GetItemDrawRect(const COSMTabManagerItem* pItem) const
{
    const CRect rc = pItem->GetRect();
    const int nPosition = GetPosition(pItem);
    if (nPosition == 0 || nPosition == 2)
        return CRect(rc.left - rc.Height(), rc.top, rc.right + 2, rc.bottom);
    return CRect(rc.left, rc.top - rc.Width(), rc.right, rc.bottom + 2);
}

CRect COSMTabAppearanceSlanted::FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl)
{
    return FillOutlinedTabControl(pTabManager, pDC, rcControl);
}

CRect COSMTabAppearanceFigures::FillOutlinedTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl)
{
    COSMTabColorSet* pColors = GetColorSet();
    const CRect rcHeader = GetHeaderRect(rcControl, pTabManager);
    pColors->FillHeaderFace(pDC, rcHeader, pTabManager);
    const CRect rc = GetClientRect(rcControl, pTabManager);
    const COLORREF clrOutline = pColors->m_clrSelectedTabOutline;
    if (m_pPaintManager->m_nClientFrame == 0)
    {
        pColors->FillClient(pDC, rc, pTabManager);
        DrawFrame3D(pDC, rc, clrOutline, clrOutline);
    }
    else if (m_pPaintManager->m_nClientFrame == 1)
    {
        DrawSingleLineBorder(pDC, rc, pTabManager->GetPosition(), clrOutline, clrOutline);
    }
    return rcHeader;
}

void COSMTabAppearanceSlanted::DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem)
{
    COSMTabColorSet* pColors = GetColorSet();
    const BOOL bSelected = IsSelected(pItem);
    const COLORREF clrOutline = bSelected ? pColors->m_clrSelectedTabOutline : pColors->m_clrTabOutline;
    const COLORREF clrInner = bSelected ? RGB(255, 255, 255) : static_cast<COLORREF>(pColors->m_clrTabInnerLight);
    const COLORREF clrInner2 = bSelected ? RGB(255, 255, 255) : static_cast<COLORREF>(pColors->m_clrTabInnerLight2);
    const CRect rc = pItem->GetRect();
    const int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    const int W = R - L, H = B - T;
    std::vector<POINT> polygon, outline, inner, inner2;
    CRect rcBase;
    switch (GetPosition(pItem))
    {
    case 0:
    {
        const int b = B - 1, h = b - T;
        polygon = FigurePoints({R - 1, b}, {{0, 2 - h}, {5 - W, 0}, {3 - h, h - 3}});
        outline = FigurePoints({R, b - 1}, {{0, 3 - h}, {-2, -2}, {9 - W, 0}, {-5, 2}, {3 - h, h - 3}, {-2, 0}});
        inner = FigurePoints({R - 1, b - 1}, {{0, 3 - h}, {-2, -2}});
        inner2 = FigurePoints({R - 3, T + 1}, {{9 - W, 0}, {-5, 3}, {4 - h, h - 4}});
        rcBase.SetRect(L - h + 4, b, L - h + 4 + W - 3 + h, b + 1);
        break;
    }
    case 1:
    {
        const int r = R - 1, w = r - L;
        polygon = FigurePoints({r, B - 1}, {{2 - w, 0}, {0, 5 - H}, {w - 2, 2 - w}});
        outline = FigurePoints({r - 1, B}, {{3 - w, 0}, {-2, -2}, {0, 9 - H}, {2, -5}, {w - 3, 3 - w}, {0, -2}});
        inner = FigurePoints({r - 1, B - 1}, {{3 - w, 0}, {-2, -2}});
        inner2 = FigurePoints({L + 1, B - 3}, {{0, 9 - H}, {3, -5}, {w - 4, 4 - w}});
        rcBase.SetRect(r, T - w + 4, r + 1, T - w + 4 + w - 3 + H);
        break;
    }
    case 2:
        polygon = FigurePoints({R - 1, T}, {{0, H - 1}, {5 - W, 0}, {3 - H, 2 - H}});
        outline = FigurePoints({R, T + 1}, {{0, H - 3}, {-2, 2}, {9 - W, 0}, {-5, -2}, {3 - H, 3 - H}, {-2, 0}});
        inner = FigurePoints({R - 1, T + 1}, {{0, H - 3}, {-2, 2}});
        inner2 = FigurePoints({R - 3, B - 1}, {{9 - W, 0}, {-5, -3}, {4 - H, 4 - H}});
        rcBase.SetRect(L - H + 4, T, L - H + 4 + W - 3 + H, T + 1);
        break;
    default:
        polygon = FigurePoints({L + 1, B - 1}, {{W - 2, 0}, {0, 5 - H}, {2 - W, 2 - W}});
        outline = FigurePoints({L + 1, B}, {{W - 3, 0}, {2, -2}, {0, 9 - H}, {-2, -5}, {3 - W, 3 - W}, {0, -2}});
        inner = FigurePoints({L + 1, B - 1}, {{W - 3, 0}, {2, -2}});
        inner2 = FigurePoints({R - 1, B - 3}, {{0, 9 - H}, {-3, -5}, {4 - W, 4 - W}});
        rcBase.SetRect(L, T - W + 4, L + 1, T - W + 4 + W - 3 + H);
        break;
    }
    const COLORREF clrFill = FillFigure(pDC, polygon, pItem);
    DrawFigureLine(pDC, outline, clrOutline);
    DrawFigureLine(pDC, inner, clrInner);
    DrawFigureLine(pDC, inner2, clrInner2);
    if (bSelected && clrFill != kFigureNoColor && !rcBase.IsRectEmpty())
        pDC->FillSolidRect(rcBase, clrFill);
    DrawItemContent(pDC, pItem, rc);
}

// ---- Trapezoids --------------------------------------------------------------------------------------------------

CRect COSMTabAppearanceTrapezoids::GetHeaderMargin() const
{
    CRect rc = m_rcHeaderMargin;
    rc.left += m_nBaseRowHeight / 2;
    rc.right += m_nBaseRowHeight / 2;
    return rc;
}

CRect COSMTabAppearanceTrapezoids::GetItemDrawRect(const COSMTabManagerItem* pItem) const
{
    return GrowFigureByHalfThickness(pItem->GetRect(), GetPosition(pItem));
}

CRect COSMTabAppearanceTrapezoids::FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl)
{
    return FillFacedControl(pTabManager, pDC, rcControl);
}

void COSMTabAppearanceTrapezoids::DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem)
{
    COSMTabColorSet* pColors = GetColorSet();
    const BOOL bSelected = IsSelected(pItem);
    const COSMTabColorSetGroup& group = bSelected ? pColors->m_csSelected : pColors->m_csNormal;
    CRect rc = pItem->GetRect();
    std::vector<POINT> polygon;
    // Each line is a pair of points in its colour.
    struct Line
    {
        POINT from, to;
        COLORREF clr;
    };
    std::array<Line, 6> lines{};
    auto setLines = [&lines](std::initializer_list<Line> list) { std::copy(list.begin(), list.end(), lines.begin()); };
    CRect rcBase;
    switch (GetPosition(pItem))
    {
    case 0:
    {
        const int s = (rc.bottom - 1 - rc.top) / 2;
        rc.OffsetRect(-s / 2, 0);
        const int L = rc.left, T = rc.top, R = rc.right, b = rc.bottom - 1;
        polygon = {{L, b}, {L + s, b - 2 * s}, {R, b - 2 * s}, {R + s, b}};
        setLines({{{L + 1, b - 1}, {L + 1 + s, T}, group.clrLight},
                  {{L + s, T + 1}, {R, T + 1}, group.clrLight},
                  {{R - 1, T}, {R - 1 + s, b}, group.clrShadow},
                  {{L, b - 1}, {L + s, T}, group.clrBorder},
                  {{L + s, T}, {R, T}, group.clrBorder},
                  {{R, T}, {R + s, b}, group.clrDarkBorder}});
        rcBase.SetRect(L, b, R + s, b + 1);
        break;
    }
    case 1:
    {
        const int s = (rc.right - 1 - rc.left) / 2;
        rc.OffsetRect(0, -s / 2);
        const int L = rc.left, T = rc.top, r = rc.right - 1, B = rc.bottom;
        polygon = {{r, T}, {r - 2 * s, T + s}, {r - 2 * s, B}, {r, B + s}};
        setLines({{{r - 1, T + 1}, {L, T + 1 + s}, group.clrLight},
                  {{L + 1, T + s}, {L + 1, B}, group.clrLight},
                  {{L, B - 1}, {r, B - 1 + s}, group.clrShadow},
                  {{r - 1, T}, {L, T + s}, group.clrBorder},
                  {{L, T + s}, {L, B}, group.clrBorder},
                  {{L, B}, {r, B + s}, group.clrDarkBorder}});
        rcBase.SetRect(r, T, r + 1, B + s);
        break;
    }
    case 2:
    {
        const int s = (rc.bottom - 1 - rc.top) / 2;
        rc.OffsetRect(-s / 2, 0);
        const int L = rc.left, T = rc.top, R = rc.right, b = rc.bottom - 1;
        polygon = {{L, T + 1}, {L + s, T + 1 + 2 * s}, {R, T + 1 + 2 * s}, {R + s, T + 1}};
        setLines({{{L + 1, T + 1}, {L + 1 + s, b}, group.clrLight},
                  {{L + s, b - 1}, {R, b - 1}, group.clrBottomLight},
                  {{R - 1, b}, {R - 1 + s, T}, group.clrShadow},
                  {{L, T + 1}, {L + s, b}, group.clrBorder},
                  {{L + s, b}, {R, b}, group.clrBottomBorder},
                  {{R, b}, {R + s, T}, group.clrDarkBorder}});
        rcBase.SetRect(L, T, R + s, T + 1);
        break;
    }
    default:
    {
        const int s = (rc.right - 1 - rc.left) / 2;
        rc.OffsetRect(0, -s / 2);
        const int L = rc.left, T = rc.top, r = rc.right - 1, B = rc.bottom;
        polygon = {{L + 1, T}, {L + 1 + 2 * s, T + s}, {L + 1 + 2 * s, B}, {L + 1, B + s}};
        setLines({{{L + 1, T + 1}, {r, T + 1 + s}, group.clrLight},
                  {{r - 1, T + s}, {r - 1, B}, group.clrLight},
                  {{r, B - 1}, {L, B - 1 + s}, group.clrShadow},
                  {{L + 1, T}, {r, T + s}, group.clrBorder},
                  {{r, T + s}, {r, B}, group.clrBorder},
                  {{r, B}, {L, B + s}, group.clrDarkBorder}});
        rcBase.SetRect(L, T, L + 1, B + s);
        break;
    }
    }
    const COLORREF clrFill = FillFigure(pDC, polygon, pItem);
    for (const Line& line : lines)
        DrawFigureLine(pDC, {line.from, line.to}, line.clr);
    if (bSelected && clrFill != kFigureNoColor && !rcBase.IsRectEmpty())
        pDC->FillSolidRect(rcBase, clrFill);
    DrawItemContent(pDC, pItem, rc);
}

// ---- Curved document tabs ----------------------------------------------------------------------------------------

CRect COSMTabAppearanceCurvedDocuments::GetHeaderMargin() const
{
    CRect rc = m_rcHeaderMargin;
    rc.left += m_nBaseRowHeight / 2;
    return rc;
}

CRect COSMTabAppearanceCurvedDocuments::GetItemDrawRect(const COSMTabManagerItem* pItem) const
{
    return GrowFigureByHalfThickness(pItem->GetRect(), GetPosition(pItem));
}

CRect COSMTabAppearanceCurvedDocuments::FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl)
{
    return FillOutlinedTabControl(pTabManager, pDC, rcControl);
}

void COSMTabAppearanceCurvedDocuments::DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem)
{
    COSMTabColorSet* pColors = GetColorSet();
    const BOOL bSelected = IsSelected(pItem);
    const COLORREF clrOutline = bSelected ? pColors->m_clrSelectedTabOutline : pColors->m_clrTabOutline;
    const COLORREF clrInner = bSelected ? RGB(255, 255, 255) : static_cast<COLORREF>(pColors->m_clrTabInnerLight);
    const COLORREF clrInner2 = bSelected ? RGB(255, 255, 255) : static_cast<COLORREF>(pColors->m_clrTabInnerLight2);
    const CRect rc = pItem->GetRect();
    const int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    const int W = R - L, H = B - T;
    std::vector<POINT> polygon, inner, inner2;
    switch (GetPosition(pItem))
    {
    case 0:
    {
        const int s = H / 2;
        polygon =
            FigurePoints({R - 4 + s, B - 1},
                         {{3 - s, 6 - 2 * s}, {-4, -4}, {-3, -1}, {16 - W, 0}, {-3, 1}, {-3, 3}, {2 - s, 2 * s - 4}});
        inner = FigurePoints({R - 5 + s, B - 1}, {{3 - s, 6 - 2 * s}, {-3, -3}, {-3, -1}});
        inner2 = FigurePoints({R - 7, B - 2 * s + 1}, {{15 - W, 0}, {-3, 1}, {-2, 2}, {2 - s, 2 * s - 4}});
        break;
    }
    case 1:
    {
        const int s = W / 2;
        polygon =
            FigurePoints({R - 1, B - 4 + s},
                         {{6 - 2 * s, 3 - s}, {-4, -4}, {-1, -3}, {0, 16 - H}, {1, -3}, {3, -3}, {2 * s - 4, 2 - s}});
        inner = FigurePoints({R - 1, B - 5 + s}, {{6 - 2 * s, 3 - s}, {-3, -3}, {-1, -3}});
        inner2 = FigurePoints({R - 2 * s + 1, B - 8}, {{0, 16 - H}, {1, -3}, {2, -2}, {2 * s - 4, 2 - s}});
        break;
    }
    case 2:
    {
        const int s = H / 2;
        polygon =
            FigurePoints({R - 4 + s, T + 1},
                         {{3 - s, 2 * s - 6}, {-4, 4}, {-2, 1}, {14 - W, 0}, {-2, -1}, {-3, -3}, {2 - s, 4 - 2 * s}});
        inner = FigurePoints({R - 5 + s, T + 1}, {{3 - s, 2 * s - 6}, {-3, 3}, {-2, 1}});
        inner2 = FigurePoints({L + 7, T - 1 + 2 * s}, {{-2, -1}, {-2, -2}, {2 - s, 4 - 2 * s}});
        break;
    }
    default:
    {
        const int s = W / 2;
        polygon =
            FigurePoints({L, B - 4 + s},
                         {{2 * s - 5, 3 - s}, {4, -4}, {1, -3}, {0, 16 - H}, {-1, -3}, {-3, -3}, {4 - 2 * s, 2 - s}});
        inner = FigurePoints({L, B - 5 + s}, {{2 * s - 5, 3 - s}, {3, -3}, {1, -3}, {0, 14 - H}});
        inner2 = FigurePoints({L - 2 + 2 * s, T + 5}, {{-2, -2}, {4 - 2 * s, 2 - s}});
        break;
    }
    }
    FillFigure(pDC, polygon, pItem);
    DrawFigureLine(pDC, polygon, clrOutline);
    DrawFigureLine(pDC, inner, clrInner);
    DrawFigureLine(pDC, inner2, clrInner2);
    DrawItemContent(pDC, pItem, rc);
}
