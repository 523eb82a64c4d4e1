// The appearance sets as the paint manager builds them: the class, margins, row gap, colour-set mask and default
// colour set of every id, the row height from the measured font, the header and client rectangles, the order the
// tabs of a row are painted in, and the parts of an MDI tab workspace.
#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>

#include "TabAppearanceTestSupport.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/tabs/TabAppearanceFigures.h"
#include "framework/tabs/TabAppearanceFlat.h"
#include "framework/tabs/TabAppearanceImages.h"
#include "framework/tabs/TabAppearanceRaisedPage.h"
#include "framework/tabs/TabAppearanceStackedBars.h"

using foundation_test::DcTestSurface;
using tabs_test::InstallDistinctColors;
using tabs_test::TestStrip;
namespace distinct = tabs_test::distinct;

namespace {

TEST(TabAppearanceTest, EachIdBuildsItsShapeWithItsMarginsMaskAndColourSet)
{
    struct FactoryCase
    {
        int nId;
        const std::type_info& type;
        // The margin as l, t, r, b plus the multiples of half the base row height v added to l and r.
        CRect rcMargin;
        int nHalfRowsLeft;
        int nHalfRowsRight;
        int nRowGap;
        int nMask;
        int nColorSet;
        BOOL bSelectedLast;
    };
    const FactoryCase cases[] = {
        {0, typeid(COSMTabAppearanceRaisedPage), CRect(2, 3, 6, 0), 0, 0, -2, 13, 1, FALSE},
        {1, typeid(COSMTabAppearanceRaisedPageWhenHot), CRect(2, 3, 6, 0), 0, 0, -2, 13, 1, FALSE},
        {2, typeid(COSMTabAppearanceSoftRectangles), CRect(2, 2, 4, 0), 0, 0, -2, 7, 1, FALSE},
        {3, typeid(COSMTabAppearanceSlanted), CRect(2, 3, 6, 0), 2, 0, -2, 85, 4, FALSE},
        {4, typeid(COSMTabAppearanceButtons), CRect(2, 2, 4, 2), 0, 0, 0, 95, 2, FALSE},
        {5, typeid(COSMTabAppearanceRaisedSelected), CRect(4, 2, 4, 0), 0, 0, -2, 7, 2, FALSE},
        {6, typeid(COSMTabAppearanceFlatRectangles), CRect(2, 2, 4, 0), 0, 0, -2, 7, 2, FALSE},
        {7, typeid(COSMTabAppearanceTrapezoids), CRect(2, 3, 2, 0), 1, 1, -2, 7, 2, FALSE},
        {8, typeid(COSMTabAppearanceStackedBars), CRect(0, 0, 0, 0), 0, 0, -2, 5, 1, FALSE},
        {9, typeid(COSMTabAppearanceCurvedDocuments), CRect(2, 3, 6, 0), 1, 0, -2, 85, 4, TRUE},
        {10, typeid(COSMTabAppearanceRibbonImages), CRect(4, 1, 0, 0), 0, 0, -2, 32, 32, FALSE},
        {11, typeid(COSMTabAppearanceAccessImages), CRect(4, 1, 0, 0), 0, 1, -2, 128, 128, FALSE},
        {99, typeid(COSMTabAppearanceRaisedPage), CRect(2, 3, 6, 0), 0, 0, -2, 13, 1, FALSE},
        {-1, typeid(COSMTabAppearanceRaisedPage), CRect(2, 3, 6, 0), 0, 0, -2, 13, 1, FALSE},
    };
    for (const FactoryCase& c : cases)
    {
        COSMTabPaintManager pm;
        pm.SetColor(64);
        COSMTabAppearanceSet* pSet = pm.SetAppearance(c.nId);
        ASSERT_NE(nullptr, pSet);
        EXPECT_EQ(pSet, pm.GetAppearanceSet());
        EXPECT_EQ(c.type, typeid(*pSet)) << "id " << c.nId;
        EXPECT_EQ(c.nId, pm.GetAppearance());
        const int v = pSet->GetBaseRowHeight();
        CRect rcExpected = c.rcMargin;
        rcExpected.left += c.nHalfRowsLeft * v / 2;
        rcExpected.right += c.nHalfRowsRight * v / 2;
        EXPECT_EQ(rcExpected, pSet->GetHeaderMargin()) << "id " << c.nId << ", v " << v;
        EXPECT_EQ(c.nRowGap, pSet->GetRowGap()) << "id " << c.nId;
        EXPECT_EQ(c.nMask, pSet->GetSupportedColorSets()) << "id " << c.nId;
        EXPECT_EQ(c.nColorSet, pSet->GetDefaultColorSet()) << "id " << c.nId;
        EXPECT_EQ(c.nColorSet, pm.GetColor()) << "id " << c.nId << ": the set's colours come with it";
        EXPECT_EQ(c.bSelectedLast, pSet->IsDrawSelectedLast()) << "id " << c.nId;
        EXPECT_EQ(pm.GetColorSet()->GetPaintManager(), &pm);
    }
}

TEST(TabAppearanceTest, AColourSetChosenAfterTheAppearanceStays)
{
    COSMTabPaintManager pm;
    pm.SetAppearance(3);
    EXPECT_EQ(4, pm.GetColor());
    COSMTabColorSet* pChosen = pm.SetColor(1);
    EXPECT_EQ(1, pm.GetColor());
    EXPECT_EQ(pChosen, pm.GetColorSet());
    pm.SetPosition(2);
    pm.RefreshMetrics();
    EXPECT_EQ(pChosen, pm.GetColorSet()) << "position changes and refreshes keep the chosen set";
    // An id that has no set of its own gets the default set.
    EXPECT_NE(nullptr, dynamic_cast<COSMTabColorSetDefault*>(pm.SetColor(3)));
    EXPECT_EQ(3, pm.GetColor());
}

TEST(TabAppearanceTest, TheBaseRowHeightComesFromTheMeasuredSpace)
{
    for (LONG lfHeight : {-6, -13, -40})
    {
        for (int nId : {0, 3, 8, 11})
        {
            COSMTabPaintManager pm;
            pm.SetAppearance(nId);
            LOGFONTA lf{};
            lf.lfHeight = lfHeight;
            lstrcpyA(lf.lfFaceName, "Tahoma");
            pm.SetFontIndirect(&lf);
            pm.RefreshMetrics();
            HDC hdc = ::GetDC(nullptr);
            SIZE sz{};
            {
                COSMFontDC font(CDC::FromHandle(hdc), pm.GetFont(FALSE, FALSE));
                ::GetTextExtentPoint32A(hdc, " ", 1, &sz);
            }
            ::ReleaseDC(nullptr, hdc);
            // The access tabs' image needs 24 at least.
            EXPECT_EQ(std::max(static_cast<int>(sz.cy) + 3, nId == 11 ? 24 : 18),
                      pm.GetAppearanceSet()->GetBaseRowHeight())
                << "height " << lfHeight << " id " << nId;
        }
    }
}

TEST(TabAppearanceTest, IconsAndTheInsetRaiseTheRow)
{
    struct RowCase
    {
        BOOL bShowIcons;
        CSize szIcon;
        CRect rcInset;
    };
    const RowCase cases[] = {
        {FALSE, CSize(40, 40), CRect(0, 0, 0, 0)},
        {TRUE, CSize(16, 16), CRect(0, 0, 0, 0)},
        {TRUE, CSize(32, 20), CRect(0, 2, 0, 3)},
        {TRUE, CSize(20, 36), CRect(0, 1, 0, 1)},
    };
    for (const RowCase& c : cases)
    {
        COSMTabPaintManager pm;
        pm.SetAppearance(6);
        pm.m_bShowIcons = c.bShowIcons;
        pm.m_szIcon = c.szIcon;
        pm.m_rcItemInset = c.rcInset;
        TestStrip strip(&pm);
        const int v = pm.GetAppearanceSet()->GetBaseRowHeight();
        const int m = c.rcInset.top + c.rcInset.bottom;
        int nExpected = v + m;
        if (c.bShowIcons)
            nExpected = std::max(nExpected, static_cast<int>(std::max(c.szIcon.cx, c.szIcon.cy)) + 4 + m);
        EXPECT_EQ(nExpected, pm.GetAppearanceSet()->GetRowHeight(&strip))
            << "icon " << c.szIcon.cx << "x" << c.szIcon.cy;
    }
}

TEST(TabAppearanceTest, HeaderAndClientShareOnePixelInEveryPosition)
{
    const CRect rcControl(10, 20, 310, 220);
    for (int nPosition : {0, 1, 2, 3})
    {
        COSMTabPaintManager pm;
        pm.SetAppearance(0);
        pm.SetPosition(nPosition);
        TestStrip strip(&pm, rcControl);
        strip.AddItems(2);
        COSMTabAppearanceSet* pSet = pm.GetAppearanceSet();
        const int h = pSet->GetRowHeight(&strip) + 3;  // one row and the top margin
        const CRect rcHeader = pSet->GetHeaderRect(rcControl, &strip);
        const CRect rcClient = pSet->GetClientRect(rcControl, &strip);
        CRect rcHeaderExpected = rcControl, rcClientExpected = rcControl;
        switch (nPosition)
        {
        case 0:
            rcHeaderExpected.bottom = rcControl.top + h;
            rcClientExpected.top = rcControl.top + h - 1;
            break;
        case 1:
            rcHeaderExpected.right = rcControl.left + h;
            rcClientExpected.left = rcControl.left + h - 1;
            break;
        case 2:
            rcHeaderExpected.top = rcControl.bottom - h;
            rcClientExpected.bottom = rcControl.bottom - h + 1;
            break;
        default:
            rcHeaderExpected.left = rcControl.right - h;
            rcClientExpected.right = rcControl.right - h + 1;
            break;
        }
        EXPECT_EQ(rcHeaderExpected, rcHeader) << "position " << nPosition;
        EXPECT_EQ(rcClientExpected, rcClient) << "position " << nPosition;
    }
    // Without tabs there is no header and the client is the whole control.
    COSMTabPaintManager pm;
    pm.SetAppearance(0);
    pm.m_bShowTabs = FALSE;
    TestStrip strip(&pm, rcControl);
    strip.AddItems(2);
    EXPECT_EQ(0, pm.GetAppearanceSet()->GetHeaderRect(rcControl, &strip).Height());
    EXPECT_EQ(rcControl, pm.GetAppearanceSet()->GetClientRect(rcControl, &strip));
}

// A default colour set that says whether it draws through the visual style.
class VisualStyleColorSet : public COSMTabColorSetDefault
{
public:
    explicit VisualStyleColorSet(BOOL bUsed) : m_bUsed(bUsed) {}
    BOOL IsVisualStyleUsed() const override { return m_bUsed; }
    BOOL m_bUsed;
};

TEST(TabAppearanceTest, RaisedPagesLeaveTheVisualStylesShadowOutOfTheClient)
{
    struct ClientCase
    {
        int nPosition;
        BOOL bVisualStyle;
        int nFrame;
        std::function<CRect(int h)> expected;  // h: the header's thickness
    };
    const ClientCase cases[] = {
        {0, FALSE, 0, [](int h) { return CRect(2, h + 1, 298, 198); }},
        {0, FALSE, 1, [](int h) { return CRect(0, h + 1, 300, 200); }},
        {0, FALSE, 2, [](int h) { return CRect(0, h - 1, 300, 200); }},
        {0, TRUE, 0, [](int h) { return CRect(2, h + 1, 296, 196); }},
        {0, TRUE, 1, [](int h) { return CRect(0, h + 1, 300, 200); }},
        {2, FALSE, 0, [](int h) { return CRect(2, 2, 298, 200 - h - 1); }},
        {2, FALSE, 1, [](int h) { return CRect(0, 0, 300, 200 - h - 1); }},
        {2, FALSE, 2, [](int h) { return CRect(0, 0, 300, 200 - h + 1); }},
        {2, TRUE, 0, [](int h) { return CRect(2, 2, 296, 200 - h - 1); }},
    };
    for (const ClientCase& c : cases)
    {
        COSMTabPaintManager pm;
        pm.SetAppearance(0);
        pm.SetColorSet(new VisualStyleColorSet(c.bVisualStyle));
        pm.m_nClientFrame = c.nFrame;
        pm.SetPosition(c.nPosition);
        TestStrip strip(&pm, CRect(0, 0, 300, 200));
        strip.AddItems(2);
        COSMTabAppearanceSet* pSet = pm.GetAppearanceSet();
        const int h = pSet->GetRowHeight(&strip) + 3;  // one row and the top margin
        CRect rc(0, 0, 300, 200);
        pSet->AdjustClientRect(&strip, rc);
        EXPECT_EQ(c.expected(h), rc) << "position " << c.nPosition << " visual style " << c.bVisualStyle << " frame "
                                     << c.nFrame;
    }
}

// A real shape that notes the order it is asked to paint its tabs in.
template <class Shape> class RecordingShape : public Shape
{
public:
    void DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem) override
    {
        m_order.push_back(pItem->GetIndex());
        Shape::DrawSingleItem(pDC, pItem);
    }
    std::vector<int> m_order;
};

template <class Shape> std::vector<int> PaintOrderOf()
{
    COSMTabPaintManager pm;
    auto* pShape = new RecordingShape<Shape>();
    pm.SetAppearanceSet(pShape);
    pm.SetLayout(COSMTabPaintManager::kLayoutFixed);
    pm.m_nFixedTabWidth = 50;
    TestStrip strip(&pm, CRect(0, 0, 400, 60));
    for (int i = 0; i < 5; i++)
        strip.InsertItem(-1);
    strip.SetCurSel(2);
    DcTestSurface surface(400, 60, RGB(0, 0, 0));
    pm.DrawTabControl(&strip, surface.dc(), CRect(0, 0, 400, 60));
    return pShape->m_order;
}

TEST(TabAppearanceTest, CurvedTabsPaintTheSelectedAfterBothNeighboursTheOthersFromTheEnd)
{
    const std::vector<int> fromTheEnd{4, 3, 1, 0, 2};
    EXPECT_EQ((std::vector<int>{0, 1, 4, 3, 2}), PaintOrderOf<COSMTabAppearanceCurvedDocuments>());
    EXPECT_EQ(fromTheEnd, PaintOrderOf<COSMTabAppearanceRaisedPage>());
    EXPECT_EQ(fromTheEnd, PaintOrderOf<COSMTabAppearanceSlanted>());
    EXPECT_EQ(fromTheEnd, PaintOrderOf<COSMTabAppearanceTrapezoids>());
    EXPECT_EQ(fromTheEnd, PaintOrderOf<COSMTabAppearanceSoftRectangles>());
}

// ---- Workspace parts ---------------------------------------------------------------------------------------------

TEST(TabWorkspacePartTest, WithoutTheStaticFrameTheClientGrowsAndSplittersTakeTheHeaderColour)
{
    COSMTabPaintManager pm;
    InstallDistinctColors(pm.GetColorSet());
    COSMTabAppearanceSet* pSet = pm.GetAppearanceSet();
    const CRect rcPart(10, 10, 60, 50);
    {
        DcTestSurface surface(80, 80, RGB(255, 0, 255));
        CRect rc = rcPart;
        pSet->DrawWorkspacePart(surface.dc(), &rc, COSMTabAppearanceSet::kWorkspaceBorder);
        EXPECT_TRUE(surface.Untouched());
        EXPECT_EQ(rcPart, rc);
        pSet->DrawWorkspacePart(surface.dc(), &rc, COSMTabAppearanceSet::kWorkspaceClient);
        EXPECT_TRUE(surface.Untouched());
        EXPECT_EQ(CRect(8, 8, 62, 52), rc);
    }
    for (int nPart :
         {COSMTabAppearanceSet::kWorkspaceSplitterVertical, COSMTabAppearanceSet::kWorkspaceSplitterHorizontal})
    {
        DcTestSurface surface(80, 80, RGB(255, 0, 255));
        CRect rc = rcPart;
        pSet->DrawWorkspacePart(surface.dc(), &rc, nPart);
        EXPECT_TRUE(surface.FilledWith(rcPart, distinct::kHeader)) << "part " << nPart;
        EXPECT_TRUE(surface.UntouchedOutside(rcPart)) << "part " << nPart;
    }
}

TEST(TabWorkspacePartTest, WithTheStaticFrameTheBorderIsFramedAndSplittersCarryABorderLine)
{
    COSMTabPaintManager pm;
    pm.m_bStaticFrame = TRUE;
    InstallDistinctColors(pm.GetColorSet());
    COSMTabAppearanceSet* pSet = pm.GetAppearanceSet();
    const CRect rcPart(10, 10, 60, 50);
    const COLORREF clrFace = GetColorManager()->GetColor(COLOR_BTNFACE);
    {
        DcTestSurface surface(80, 80, RGB(255, 0, 255));
        CRect rc = rcPart;
        pSet->DrawWorkspacePart(surface.dc(), &rc, COSMTabAppearanceSet::kWorkspaceBorder);
        EXPECT_TRUE(surface.Has3dFrame(rcPart, distinct::kBorder, distinct::kBorder));
        // The face frame inside: one in from the left and the right, flush at the top (under the border), one
        // up from the bottom.
        EXPECT_TRUE(surface.FilledWith(CRect(11, 11, 12, 49), clrFace));
        EXPECT_TRUE(surface.FilledWith(CRect(58, 11, 59, 49), clrFace));
        EXPECT_TRUE(surface.FilledWith(CRect(11, 48, 59, 49), clrFace));
        EXPECT_TRUE(surface.Untouched(CRect(12, 11, 58, 48)));
        EXPECT_TRUE(surface.UntouchedOutside(rcPart));
    }
    {
        DcTestSurface surface(80, 80, RGB(255, 0, 255));
        CRect rc = rcPart;
        pSet->DrawWorkspacePart(surface.dc(), &rc, COSMTabAppearanceSet::kWorkspaceClient);
        EXPECT_TRUE(surface.Untouched());
        EXPECT_EQ(CRect(10, 9, 60, 50), rc);
    }
    {
        DcTestSurface surface(80, 80, RGB(255, 0, 255));
        CRect rc = rcPart;
        pSet->DrawWorkspacePart(surface.dc(), &rc, COSMTabAppearanceSet::kWorkspaceSplitterVertical);
        EXPECT_TRUE(surface.FilledWith(CRect(10, 10, 59, 50), distinct::kFace));
        EXPECT_TRUE(surface.FilledWith(CRect(59, 10, 60, 50), distinct::kBorder));
        EXPECT_TRUE(surface.UntouchedOutside(rcPart));
    }
    {
        DcTestSurface surface(80, 80, RGB(255, 0, 255));
        CRect rc = rcPart;
        pSet->DrawWorkspacePart(surface.dc(), &rc, COSMTabAppearanceSet::kWorkspaceSplitterHorizontal);
        EXPECT_TRUE(surface.FilledWith(CRect(10, 10, 60, 49), distinct::kFace));
        EXPECT_TRUE(surface.FilledWith(CRect(10, 49, 60, 50), distinct::kBorder));
        EXPECT_TRUE(surface.UntouchedOutside(rcPart));
    }
}

}  // namespace
