// The image-drawn tabs. Without the theme images neither draws a tab and the ribbon tabs' fill paints nothing.
// With images stood in by a drawing that paints each state in a colour of its own and marks the image's base:
// which tabs get an image and in which state, the base on the client side in every position (the access tabs
// over a patterned background they keep), and a tab squeezed to nothing drawing nothing.
#include <gtest/gtest.h>

#include <utility>

#include "TabAppearanceTestSupport.h"
#include "TabThemeScope.h"
#include "framework/tabs/TabAppearanceImages.h"

using foundation_test::DcTestSurface;
using tabs_test::ShapeFixture;
using namespace tabs_test::distinct;

namespace {

const COLORREF kImageBase = RGB(255, 0, 1);

COLORREF StateColor(int nState)
{
    return RGB(10 + nState * 40, 250 - nState * 40, 77);
}

// The images as if loaded: each state a plain colour (unless bBaseOnly) with the base's two rows marked.
template <class Shape> class StandInImages : public Shape
{
public:
    BOOL AreImagesLoaded() const override { return TRUE; }
    void DrawImageButton(CDC* pDC, CRect rc, COSMTabManagerItem* pItem) override
    {
        const int nState = this->GetImageState(pItem);
        m_drawn.emplace_back(pItem->GetIndex(), nState);
        if (!m_bBaseOnly)
            pDC->FillSolidRect(rc, StateColor(nState));
        pDC->FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 2, kImageBase);
    }
    std::vector<std::pair<int, int>> m_drawn;  // item, state
    bool m_bBaseOnly = false;
};

template <class Shape> StandInImages<Shape>* InstallStandIn(ShapeFixture& f)
{
    auto* pSet = new StandInImages<Shape>();
    f.pm.SetAppearanceSet(pSet);
    tabs_test::InstallDistinctColors(f.pm.GetColorSet());
    f.strip.Refresh();
    return pSet;
}

TEST(TabImageShapeTest, WithoutTheImagesNoTabIsDrawn)
{
    for (int nPosition : {0, 1, 2, 3})
    {
        ShapeFixture ribbon(10, nPosition);
        ribbon.Draw();
        EXPECT_TRUE(ribbon.surface.FilledWith(ribbon.rcControl, kFace)) << "position " << nPosition;
        EXPECT_TRUE(ribbon.pm.GetAppearanceSet()
                        ->FillTabControl(&ribbon.strip, ribbon.surface.dc(), ribbon.rcControl)
                        .IsRectEmpty());

        ShapeFixture access(11, nPosition);
        access.Draw();
        for (int i = 0; i < 3; i++)
        {
            const CRect rc = access.ItemRect(i);
            EXPECT_TRUE(access.surface.FilledWith(CRect(rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1), kHeader))
                << "position " << nPosition << " item " << i << ": the header shows through";
        }
    }
}

TEST(TabImageShapeTest, RibbonTabsDrawTheSelectedAndTheHotTabOnly)
{
    ShapeFixture f(10, 0);
    auto* pSet = InstallStandIn<COSMTabAppearanceRibbonImages>(f);
    f.Draw();
    EXPECT_EQ((std::vector<std::pair<int, int>>{{0, 5}}), pSet->m_drawn) << "selected in an active strip";
    EXPECT_EQ(StateColor(5), f.surface.Pixel(f.ItemRect(0).left + 5, f.ItemRect(0).top + 5));
    EXPECT_EQ(kImageBase, f.surface.Pixel(f.ItemRect(0).left + 5, f.ItemRect(0).bottom - 1));
    EXPECT_EQ(kHeader, f.surface.Pixel(f.ItemRect(1).left + 5, f.ItemRect(1).top + 5)) << "a plain tab: no image";

    f.pm.m_bHotTracking = TRUE;
    tabs_test::LoopWindow window;
    ::SetForegroundWindow(window.Handle());
    f.strip.OnMouseMove(window.Handle(), f.ItemRect(2).CenterPoint());
    ASSERT_EQ(f.strip.GetItem(2), f.strip.GetHighlightedItem());
    f.strip.SetActive(FALSE);
    pSet->m_drawn.clear();
    f.Draw();
    EXPECT_EQ((std::vector<std::pair<int, int>>{{2, 1}, {0, 3}}), pSet->m_drawn) << "hot, and selected inactive";
    EXPECT_EQ(StateColor(1), f.surface.Pixel(f.ItemRect(2).left + 5, f.ItemRect(2).top + 5));
}

TEST(TabImageShapeTest, AccessTabsDrawEveryTabReachingPastItsEnd)
{
    ShapeFixture f(11, 0);
    auto* pSet = InstallStandIn<COSMTabAppearanceAccessImages>(f);
    f.Draw();
    EXPECT_EQ((std::vector<std::pair<int, int>>{{2, 0}, {1, 0}, {0, 2}}), pSet->m_drawn);
    const int v = pSet->GetBaseRowHeight();
    const CRect rc = f.ItemRect(2);
    EXPECT_EQ(StateColor(0), f.surface.Pixel(rc.left + 5, rc.top + 5));
    EXPECT_EQ(StateColor(0), f.surface.Pixel(rc.right + v / 2 - 2, rc.top + 5)) << "the image's last column";
    EXPECT_EQ(kHeader, f.surface.Pixel(rc.right + v / 2 - 1, rc.top + 5)) << "one past it";
    EXPECT_EQ(CRect(rc.left, rc.top, rc.right + v / 2, rc.bottom), pSet->GetItemDrawRect(f.strip.GetItem(2)));
}

// Where the image's base must land: the tab's side toward the client area.
CRect ClientSideRows(const CRect& rc, int nPosition)
{
    switch (nPosition)
    {
    case 1:
        return CRect(rc.right - 2, rc.top, rc.right, rc.bottom);
    case 2:
        return CRect(rc.left, rc.top, rc.right, rc.top + 2);
    case 3:
        return CRect(rc.left, rc.top, rc.left + 2, rc.bottom);
    default:
        return CRect(rc.left, rc.bottom - 2, rc.right, rc.bottom);
    }
}

TEST(TabImageShapeTest, TheImagesBaseFacesTheClientInEveryPosition)
{
    for (int nPosition : {1, 2, 3})
    {
        ShapeFixture f(10, nPosition);
        InstallStandIn<COSMTabAppearanceRibbonImages>(f);
        f.Draw();
        const CRect rc = f.ItemRect(0);
        EXPECT_TRUE(f.surface.FilledWith(ClientSideRows(rc, nPosition), kImageBase)) << "position " << nPosition;
        EXPECT_EQ(StateColor(5), f.surface.Pixel(rc.CenterPoint().x, rc.CenterPoint().y)) << "position " << nPosition;
    }
}

TEST(TabImageShapeTest, AccessTabsAreBlendedOverTheBackgroundTheyKeep)
{
    for (int nPosition : {1, 2, 3})
    {
        ShapeFixture f(11, nPosition);
        auto* pSet = InstallStandIn<COSMTabAppearanceAccessImages>(f);
        pSet->m_bBaseOnly = true;
        DcTestSurface& surface = f.surface;
        for (int y = 0; y < 300; y++)
            for (int x = 0; x < 300; x++)
                ::SetPixel(surface.GetDC(), x, y, RGB(x % 200, y % 200, (x + 2 * y) % 256));
        DcTestSurface before(300, 300);
        before.CopyFrom(surface);
        COSMTabManagerItem* pItem = f.strip.GetItem(2);
        pSet->DrawSingleItem(surface.dc(), pItem);
        const int v = pSet->GetBaseRowHeight();
        CRect rc = pItem->GetRect();
        if (nPosition == 2)
            rc.right += v / 2 - 1;
        else
            rc.bottom += v / 2 - 1;
        const CRect rcBase = ClientSideRows(rc, nPosition);
        EXPECT_TRUE(surface.FilledWith(rcBase, kImageBase)) << "position " << nPosition;
        // Everything else is the background, back in place.
        DcTestSurface expected(300, 300);
        expected.CopyFrom(before);
        expected.Fill(rcBase, kImageBase);
        EXPECT_TRUE(surface.EqualsCanvas(expected)) << "position " << nPosition;
    }
}

TEST(TabImageShapeTest, ATabSqueezedToNothingDrawsNothing)
{
    for (int nPosition : {1, 2, 3})
    {
        for (int nAppearance : {10, 11})
        {
            ShapeFixture f(nAppearance, nPosition);
            StandInImages<COSMTabAppearanceRibbonImages>* pRibbon = nullptr;
            StandInImages<COSMTabAppearanceAccessImages>* pAccess = nullptr;
            COSMTabAppearanceSet* pSet = nullptr;
            if (nAppearance == 10)
                pSet = pRibbon = InstallStandIn<COSMTabAppearanceRibbonImages>(f);
            else
                pSet = pAccess = InstallStandIn<COSMTabAppearanceAccessImages>(f);
            COSMTabManagerItem* pItem = f.strip.GetItem(0);  // the selected one: ribbon tabs draw it
            CRect rc = pItem->GetRect();
            if (nPosition == 2)
                rc.right = rc.left;
            else
                rc.bottom = rc.top;
            pItem->SetRect(rc);
            DcTestSurface surface(300, 300, RGB(255, 0, 255));
            pSet->DrawSingleItem(surface.dc(), pItem);
            EXPECT_TRUE(surface.Untouched()) << "appearance " << nAppearance << " position " << nPosition;
            EXPECT_TRUE(pRibbon ? pRibbon->m_drawn.empty() : pAccess->m_drawn.empty());
        }
    }
}

// ---- With the synthetic theme ------------------------------------------------------------------------------------

// The part of a tab no neighbour's image reaches into: past the first half row along the strip.
CRect OwnPartOfTab(CRect rc, int nPosition, int nHalfRow)
{
    if (nPosition == 0 || nPosition == 2)
        rc.left += nHalfRow;
    else
        rc.top += nHalfRow;
    return rc;
}

TEST(TabImageThemeTest, RibbonTabsDrawTheirStatesWithTheBaseTowardTheGroups)
{
    tabs_test::TabThemeScope theme;
    ASSERT_TRUE(theme.IsLoaded()) << OSM_TAB_THEME_MODULE;
    using tabs_test::TabThemeScope;
    for (int nPosition : {0, 1, 2, 3})
    {
        for (BOOL bActive : {TRUE, FALSE})
        {
            ShapeFixture f(10, nPosition);
            f.strip.SetActive(bActive);
            f.Draw();
            SCOPED_TRACE(testing::Message() << "position " << nPosition << " active " << bActive);
            const CRect rcSelected = f.ItemRect(0);
            const CPoint c = rcSelected.CenterPoint();
            EXPECT_EQ(TabThemeScope::StateColor(0, bActive ? 5 : 3), f.surface.Pixel(c.x, c.y));
            EXPECT_TRUE(f.surface.FilledWith(ClientSideRows(rcSelected, nPosition), TabThemeScope::kBaseMarker));
            // A plain tab gets no image: the header shows.
            const CPoint ptPlain = f.ItemRect(2).CenterPoint();
            EXPECT_EQ(kHeader, f.surface.Pixel(ptPlain.x, ptPlain.y));
            // The groups' panel fills the client area.
            const CRect rcClient = f.pm.GetAppearanceSet()->GetClientRect(f.rcControl, &f.strip);
            EXPECT_EQ(TabThemeScope::StateColor(1, 0),
                      f.surface.Pixel(rcClient.CenterPoint().x, rcClient.CenterPoint().y));
        }
    }
}

TEST(TabImageThemeTest, AccessTabsDrawEveryTabWithTheBaseTowardTheClient)
{
    tabs_test::TabThemeScope theme;
    ASSERT_TRUE(theme.IsLoaded()) << OSM_TAB_THEME_MODULE;
    using tabs_test::TabThemeScope;
    for (int nPosition : {0, 1, 2, 3})
    {
        ShapeFixture f(11, nPosition);
        f.Draw();
        SCOPED_TRACE(testing::Message() << "position " << nPosition);
        const int nHalfRow = f.pm.GetAppearanceSet()->GetBaseRowHeight() / 2;
        const struct
        {
            int nItem;
            int nState;
        } tabs[] = {{2, 0}, {1, 0}, {0, 2}};
        for (const auto& t : tabs)
        {
            const CRect rc = OwnPartOfTab(f.ItemRect(t.nItem), nPosition, nHalfRow);
            const CRect rcBase = ClientSideRows(rc, nPosition);
            EXPECT_TRUE(f.surface.FilledWith(rcBase, TabThemeScope::kBaseMarker)) << "item " << t.nItem;
            EXPECT_EQ(TabThemeScope::StateColor(2, t.nState), f.surface.Pixel(rc.CenterPoint().x, rc.CenterPoint().y))
                << "item " << t.nItem;
        }
    }
}

}  // namespace
