// The shapes of the appearance sets, read back pixel by pixel from a strip painted on a DIB section with a
// colour set whose every member has its own colour: at stated points of a plain tab (the third, drawn with no
// neighbour over it) and of the selected one (the first), in the top position and a turned one; and the stacked
// bars' three rows.
#include <gtest/gtest.h>

#include <functional>

#include "TabAppearanceTestSupport.h"
#include "framework/foundation/ColorManager.h"

using tabs_test::ShapeFixture;
using namespace tabs_test::distinct;

namespace {

COLORREF Average(COLORREF a, COLORREF b)
{
    return RGB((GetRValue(a) + GetRValue(b)) >> 1, (GetGValue(a) + GetGValue(b)) >> 1,
               (GetBValue(a) + GetBValue(b)) >> 1);
}

struct ShapeProbe
{
    int nAppearance;
    int nPosition;
    int nItem;  // 0 the selected tab, 2 a plain one
    std::function<CPoint(const CRect&)> at;
    COLORREF clr;
    const char* what;
};

void CheckProbes(const std::vector<ShapeProbe>& probes)
{
    for (const ShapeProbe& p : probes)
    {
        ShapeFixture f(p.nAppearance, p.nPosition);
        f.Draw();
        const CRect rc = f.ItemRect(p.nItem);
        const CPoint pt = p.at(rc);
        EXPECT_EQ(p.clr, f.surface.Pixel(pt.x, pt.y))
            << "appearance " << p.nAppearance << " position " << p.nPosition << " item " << p.nItem << ": " << p.what
            << " at (" << pt.x << ", " << pt.y << ")";
    }
}

TEST(TabShapeTest, RaisedPageTabsHaveLitAndShadedCornersAndTheSelectedJoinsTheClient)
{
    const COLORREF hl = kFrameHighlight, sh = kFrameShadow, dk = kFrameDarkShadow;
    CheckProbes({
        // Top: the plain tab.
        {0, 0, 2, [](const CRect& r) { return CPoint(r.left + 1, r.top + 1); }, hl, "top-left corner"},
        {0, 0, 2, [](const CRect& r) { return CPoint(r.right - 2, r.top + 1); }, dk, "top-right corner"},
        {0, 0, 2, [](const CRect& r) { return CPoint(r.left + 5, r.top); }, hl, "top row"},
        {0, 0, 2, [](const CRect& r) { return CPoint(r.left, r.top + 5); }, hl, "left column"},
        {0, 0, 2, [](const CRect& r) { return CPoint(r.right - 1, r.top + 5); }, dk, "right column"},
        {0, 0, 2, [](const CRect& r) { return CPoint(r.right - 2, r.top + 5); }, sh, "inner right column"},
        {0, 0, 2, [](const CRect& r) { return CPoint(r.left + 5, r.top + 5); }, kNormalTab, "fill"},
        {0, 0, 2, [](const CRect& r) { return CPoint(r.left + 5, r.bottom - 1); }, hl, "the client's top line"},
        // Top: the selected tab stands 2 higher and wider and meets the client.
        {0, 0, 0, [](const CRect& r) { return CPoint(r.left - 1, r.top - 1); }, hl, "grown top-left corner"},
        {0, 0, 0, [](const CRect& r) { return CPoint(r.right, r.top - 1); }, dk, "grown top-right corner"},
        {0, 0, 0, [](const CRect& r) { return CPoint(r.left + 5, r.top + 5); }, kSelectedTab, "fill"},
        {0, 0, 0, [](const CRect& r) { return CPoint(r.left + 5, r.bottom - 1); }, kSelectedTab, "joining line"},
        // Left.
        {0, 1, 2, [](const CRect& r) { return CPoint(r.left + 1, r.top + 1); }, hl, "top-left corner"},
        {0, 1, 2, [](const CRect& r) { return CPoint(r.left, r.top + 5); }, hl, "left column"},
        {0, 1, 2, [](const CRect& r) { return CPoint(r.left + 5, r.bottom - 2); }, sh, "inner bottom row"},
        {0, 1, 2, [](const CRect& r) { return CPoint(r.left + 5, r.bottom - 1); }, dk, "bottom row"},
        {0, 1, 2, [](const CRect& r) { return CPoint(r.left + 2, r.bottom - 2); }, dk, "bottom-left corner"},
        {0, 1, 2, [](const CRect& r) { return CPoint(r.right - 1, r.top + 5); }, hl, "the client's left line"},
        {0, 1, 0, [](const CRect& r) { return CPoint(r.right - 1, r.top + 5); }, kSelectedTab, "joining line"},
        // Appearance 1 outlines the selected tab only (no tab is hot).
        {1, 0, 2, [](const CRect& r) { return CPoint(r.left + 1, r.top + 1); }, kHeader, "no outline"},
        {1, 0, 2, [](const CRect& r) { return CPoint(r.left + 5, r.top + 5); }, kHeader, "no fill"},
        {1, 0, 0, [](const CRect& r) { return CPoint(r.left - 1, r.top - 1); }, hl, "selected outline"},
        {1, 2, 2, [](const CRect& r) { return CPoint(r.left + 5, r.top + 5); }, kHeader, "no fill at the bottom"},
    });
}

TEST(TabShapeTest, AppearanceOneOutlinesTheHotTab)
{
    ShapeFixture f(1, 0);
    f.pm.m_bHotTracking = TRUE;
    tabs_test::LoopWindow window;
    ::SetForegroundWindow(window.Handle());
    f.strip.OnMouseMove(window.Handle(), f.ItemRect(2).CenterPoint());
    ASSERT_EQ(f.strip.GetItem(2), f.strip.GetHighlightedItem());
    f.Draw();
    const CRect rc = f.ItemRect(2);
    EXPECT_EQ(kFrameHighlight, f.surface.Pixel(rc.left + 1, rc.top + 1));
    EXPECT_EQ(kFrameDarkShadow, f.surface.Pixel(rc.right - 2, rc.top + 1));
    EXPECT_EQ(kNormalTab, f.surface.Pixel(rc.left + 5, rc.top + 5));
    EXPECT_EQ(kHeader, f.surface.Pixel(f.ItemRect(1).left + 5, f.ItemRect(1).top + 5)) << "the others stay bare";
}

TEST(TabShapeTest, FlatShapesFrameInTheBorderColourAndSoftenTheCorners)
{
    const COLORREF soft = Average(kBorder, kHeader);
    CheckProbes({
        // Appearance 6, top: a rectangle one wider than the item, open to the client when selected.
        {6, 0, 2, [](const CRect& r) { return CPoint(r.left, r.top); }, kBorder, "top-left"},
        {6, 0, 2, [](const CRect& r) { return CPoint(r.right, r.top + 5); }, kBorder, "right side, one past"},
        {6, 0, 2, [](const CRect& r) { return CPoint(r.left + 5, r.top + 5); }, kNormalTab, "fill"},
        {6, 0, 2, [](const CRect& r) { return CPoint(r.left + 5, r.bottom - 1); }, kBorder, "bottom line"},
        {6, 0, 0, [](const CRect& r) { return CPoint(r.left + 5, r.bottom - 1); }, kSelectedTab, "open to the client"},
        // Appearance 6, right.
        {6, 3, 2, [](const CRect& r) { return CPoint(r.right - 1, r.top + 5); }, kBorder, "outer side"},
        {6, 3, 2, [](const CRect& r) { return CPoint(r.left + 5, r.bottom); }, kBorder, "bottom, one past"},
        {6, 3, 2, [](const CRect& r) { return CPoint(r.left + 5, r.top + 5); }, kNormalTab, "fill"},
        {6, 3, 0, [](const CRect& r) { return CPoint(r.left, r.top + 5); }, kSelectedTab, "open to the client"},
        // Appearance 2: the corner pixels are the average of the frame and the header beside them.
        {2, 0, 2, [](const CRect& r) { return CPoint(r.left, r.top); }, kHeader, "the corner itself is left out"},
        {2, 0, 2, [](const CRect& r) { return CPoint(r.left, r.top + 1); }, soft, "softened (L, T+1)"},
        {2, 0, 2, [](const CRect& r) { return CPoint(r.left + 1, r.top); }, soft, "softened (L+1, T)"},
        {2, 0, 2, [](const CRect& r) { return CPoint(r.right - 1, r.top); }, soft, "softened (R-2, T) of the grown"},
        {2, 0, 2, [](const CRect& r) { return CPoint(r.left + 1, r.top + 1); }, Average(kNormalTab, soft),
         "softened inner corner"},
        {2, 0, 2, [](const CRect& r) { return CPoint(r.left + 5, r.top); }, kBorder, "top line"},
        {2, 0, 2, [](const CRect& r) { return CPoint(r.left + 5, r.top + 5); }, kNormalTab, "fill"},
        {2, 2, 2, [](const CRect& r) { return CPoint(r.left, r.bottom - 2); }, soft, "bottom: softened (L, B-2)"},
        {2, 2, 2, [](const CRect& r) { return CPoint(r.left + 1, r.bottom - 1); }, soft, "bottom: softened (L+1, B-1)"},
        // Appearance 5: separators after plain tabs; the selected one raised in light and dark.
        {5, 0, 2, [](const CRect& r) { return CPoint(r.right, r.top + 2); }, kBorder, "separator start"},
        {5, 0, 2, [](const CRect& r) { return CPoint(r.right, r.bottom - 3); }, kBorder, "separator end"},
        {5, 0, 2, [](const CRect& r) { return CPoint(r.right, r.top + 1); }, kHeader, "above the separator"},
        {5, 0, 2, [](const CRect& r) { return CPoint(r.right, r.bottom - 2); }, kHeader, "below the separator"},
        {5, 0, 2, [](const CRect& r) { return CPoint(r.left + 5, r.top + 5); }, kHeader, "no fill"},
        {5, 0, 0, [](const CRect& r) { return CPoint(r.left, r.top); }, kLight, "raised: light corner"},
        {5, 0, 0, [](const CRect& r) { return CPoint(r.right - 1, r.top + 5); }, kDark, "raised: dark side"},
        {5, 0, 0, [](const CRect& r) { return CPoint(r.left + 5, r.top + 5); }, kSelectedTab, "fill"},
        {5, 0, 0, [](const CRect& r) { return CPoint(r.left + 5, r.bottom - 1); }, kSelectedTab, "open to the client"},
        {5, 1, 2, [](const CRect& r) { return CPoint(r.left + 2, r.bottom); }, kBorder, "left: separator row"},
        {5, 1, 2, [](const CRect& r) { return CPoint(r.left + 1, r.bottom); }, kHeader, "left: before the row"},
    });
}

TEST(TabShapeTest, ButtonsAreFilledByTheColourSetWithEtchedSeparators)
{
    const COLORREF clrShadow = GetColorManager()->GetColor(COLOR_BTNSHADOW);
    const COLORREF clrLight = GetColorManager()->GetColor(COLOR_BTNHIGHLIGHT);
    CheckProbes({
        {4, 0, 0, [](const CRect& r) { return CPoint(r.left, r.top); }, kButtonTopLeft, "frame top-left"},
        {4, 0, 0, [](const CRect& r) { return CPoint(r.right - 1, r.bottom - 1); }, kButtonBottomRight,
         "frame bottom-right"},
        {4, 0, 0, [](const CRect& r) { return CPoint(r.left + 5, r.top + 5); }, kButtonFace, "face"},
        {4, 0, 2, [](const CRect& r) { return CPoint(r.right, r.top + 2); }, clrShadow, "etched, dark half"},
        {4, 0, 2, [](const CRect& r) { return CPoint(r.right + 1, r.top + 2); }, clrLight, "etched, light half"},
        {4, 0, 2, [](const CRect& r) { return CPoint(r.left + 5, r.top + 5); }, kFace, "no fill: the face"},
        {4, 1, 2, [](const CRect& r) { return CPoint(r.left + 2, r.bottom); }, clrShadow, "left: etched row"},
        {4, 1, 2, [](const CRect& r) { return CPoint(r.left + 2, r.bottom + 1); }, clrLight, "left: light row"},
    });
}

TEST(TabShapeTest, FiguresAreFilledInsideAndOutlinedOnTheirEdges)
{
    auto centre = [](const CRect& r) { return r.CenterPoint(); };
    CheckProbes({
        // Slanted, top: the right side is upright, the top edge runs left toward the slant.
        {3, 0, 2, centre, kNormalTab, "fill"},
        {3, 0, 2, [](const CRect& r) { return CPoint(r.right, r.top + 5); }, kTabOutline, "right outline"},
        {3, 0, 2, [](const CRect& r) { return CPoint(r.right - 1, r.top + 5); }, kTabInnerLight, "inner line"},
        {3, 0, 2, [](const CRect& r) { return CPoint(r.left + 20, r.top); }, kTabOutline, "top outline"},
        {3, 0, 2, [](const CRect& r) { return CPoint(r.left + 20, r.top + 1); }, kTabInnerLight2, "second inner"},
        {3, 0, 0, centre, kSelectedTab, "selected fill"},
        {3, 0, 0, [](const CRect& r) { return CPoint(r.right, r.top + 5); }, kSelectedTabOutline, "selected outline"},
        {3, 0, 0, [](const CRect& r) { return CPoint(r.right - 1, r.top + 5); }, RGB(255, 255, 255), "white inside"},
        {3, 0, 0, [](const CRect& r) { return CPoint(r.left + 10, r.bottom - 1); }, kSelectedTab, "base line"},
        // Slanted, bottom: the same turned over.
        {3, 2, 2, centre, kNormalTab, "fill"},
        {3, 2, 2, [](const CRect& r) { return CPoint(r.right, r.top + 5); }, kTabOutline, "right outline"},
        {3, 2, 2, [](const CRect& r) { return CPoint(r.right - 1, r.top + 5); }, kTabInnerLight, "inner line"},
        {3, 2, 2, [](const CRect& r) { return CPoint(r.left + 20, r.bottom); }, kTabOutline, "bottom outline"},
        {3, 2, 2, [](const CRect& r) { return CPoint(r.left + 20, r.bottom - 1); }, kTabInnerLight2, "second inner"},
        // Trapezoids, top (the figure moves left by a quarter of its height): the groups' colours.
        {7, 0, 2, centre, kNormalTab, "fill"},
        {7, 0, 2, [](const CRect& r) { return CPoint(r.left + 20, r.top); }, kNormalGroup[0], "border"},
        {7, 0, 2, [](const CRect& r) { return CPoint(r.left + 20, r.top + 1); }, kNormalGroup[3], "light"},
        {7, 0, 2,
         [](const CRect& r) {
             const int s = (r.bottom - 1 - r.top) / 2;
             return CPoint(r.right - s / 2, r.top);
         },
         kNormalGroup[2], "dark border"},
        {7, 0, 0, [](const CRect& r) { return CPoint(r.left + 20, r.top); }, kSelectedGroup[0], "selected border"},
        {7, 0, 0, [](const CRect& r) { return CPoint(r.left + 20, r.top + 1); }, kSelectedGroup[3], "selected light"},
        {7, 0, 0, [](const CRect& r) { return CPoint(r.left + 20, r.bottom - 1); }, kSelectedTab, "base line"},
        // Trapezoids, left (moved up by a quarter of the width).
        {7, 1, 2, centre, kNormalTab, "fill"},
        {7, 1, 2,
         [](const CRect& r) {
             const int s = (r.right - 1 - r.left) / 2;
             return CPoint(r.left, r.top - s / 2 + s + 5);
         },
         kNormalGroup[0], "border side"},
        {7, 1, 2,
         [](const CRect& r) {
             const int s = (r.right - 1 - r.left) / 2;
             return CPoint(r.left + 1, r.top - s / 2 + s + 5);
         },
         kNormalGroup[3], "light side"},
        // Trapezoids, bottom: the bottom border and bottom light colours.
        {7, 2, 2, [](const CRect& r) { return CPoint(r.left + 20, r.bottom - 1); }, kNormalGroup[1], "bottom border"},
        {7, 2, 2, [](const CRect& r) { return CPoint(r.left + 20, r.bottom - 2); }, kNormalGroup[5], "bottom light"},
        // Curved documents, top: the top edge at B - 2s, the second inner line under it.
        {9, 0, 2, centre, kNormalTab, "fill"},
        {9, 0, 2, [](const CRect& r) { return CPoint(r.left + 20, r.bottom - 2 * (r.Height() / 2)); }, kTabOutline,
         "top outline"},
        {9, 0, 2, [](const CRect& r) { return CPoint(r.left + 20, r.bottom - 2 * (r.Height() / 2) + 1); },
         kTabInnerLight2, "second inner"},
        {9, 0, 0, centre, kSelectedTab, "selected fill"},
        {9, 0, 0, [](const CRect& r) { return CPoint(r.left + 20, r.bottom - 2 * (r.Height() / 2)); },
         kSelectedTabOutline, "selected outline"},
        // Curved documents, bottom.
        {9, 2, 2, centre, kNormalTab, "fill"},
        {9, 2, 2, [](const CRect& r) { return CPoint(r.left + 20, r.top + 2 * (r.Height() / 2)); }, kTabOutline,
         "bottom outline"},
    });
}

TEST(TabShapeTest, StackedBarsPutTheClientBetweenTheSelectedBarAndTheRest)
{
    for (int nFrame : {0, 2})
    {
        ShapeFixture f(8, 0, nFrame);
        f.strip.SetCurSel(1);
        COSMTabAppearanceSet* pSet = f.pm.GetAppearanceSet();
        const int r = pSet->GetRowHeight(&f.strip);
        const int nInset = nFrame == 2 ? 0 : 1;
        EXPECT_TRUE(pSet->GetHeaderRect(f.rcControl, &f.strip).IsRectEmpty());
        EXPECT_EQ(CRect(nInset, 1 + 2 * r, 300 - nInset, 300 - r), f.strip.GetClientRect()) << "frame " << nFrame;
        EXPECT_EQ(CRect(nInset, 1, 300 - nInset, 1 + r), f.ItemRect(0)) << "frame " << nFrame;
        EXPECT_EQ(CRect(nInset, 1 + r, 300 - nInset, 1 + 2 * r), f.ItemRect(1)) << "frame " << nFrame;
        EXPECT_EQ(CRect(nInset, 300 - r, 300 - nInset, 300 - nInset), f.ItemRect(2)) << "frame " << nFrame;

        f.Draw();
        const CRect rcBar = f.ItemRect(2);
        EXPECT_EQ(kNormalTab, f.surface.Pixel(rcBar.left + 5, rcBar.top + 3)) << "the third bar, at the bottom";
        EXPECT_EQ(kLight, f.surface.Pixel(rcBar.left + 5, rcBar.top));
        EXPECT_EQ(kBorder, f.surface.Pixel(rcBar.left + 5, rcBar.bottom - 1));
        EXPECT_EQ(GetColorManager()->GetColor(38), f.surface.Pixel(rcBar.right - 7, rcBar.top + 4)) << "grip dot";
        EXPECT_EQ(GetColorManager()->GetColor(38), f.surface.Pixel(rcBar.right - 5, rcBar.top + 6)) << "grip dot";
        EXPECT_EQ(kNormalTab, f.surface.Pixel(rcBar.right - 7, rcBar.top + 5)) << "between the dots";
        EXPECT_EQ(kSelectedTab, f.surface.Pixel(50, f.ItemRect(1).top + 3)) << "the selected bar";
        EXPECT_EQ(kFace, f.surface.Pixel(50, 150)) << "the client area is the face";
        // The frame: a rectangle in the border colour, or with style 2 only the top row.
        EXPECT_EQ(nFrame == 2 ? kFace : kBorder, f.surface.Pixel(0, 150)) << "frame " << nFrame;
        EXPECT_EQ(kBorder, f.surface.Pixel(150, 0)) << "frame " << nFrame;
    }
}

}  // namespace
