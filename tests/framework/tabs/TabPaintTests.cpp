// The tab strip's painting, headless on DIB sections: paint order, icon and caption placement, the middle
// ellipsis, markup captions, the focus rectangle, the fonts, the navigation buttons' glyphs and the default colour
// set's fills.
#include <gtest/gtest.h>

#include <climits>

#include "TabTestSupport.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/OSVersionInfo.h"
#include "framework/foundation/TextFunctions.h"
#include "framework/markup/Markup.h"
#include "framework/tabs/TabTextEllipsis.h"
#include "tests/support/DcTestSurface.h"

using foundation_test::DcTestSurface;
using tabs_test::InstallTestAppearance;
using tabs_test::TestAppearanceSet;
using tabs_test::TestStrip;

namespace {

COLORREF SysIndex(int nIndex)
{
    return GetColorManager()->GetColor(nIndex);
}

// Pixels of the rectangle that differ from the colour.
int CountOther(const DcTestSurface& surface, const CRect& rc, COLORREF clr)
{
    int nCount = 0;
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++)
            if (surface.Pixel(x, y) != clr)
                nCount++;
    return nCount;
}

TEST(TabPaintTest, RowsPaintTheSelectedItemLastEitherWay)
{
    for (BOOL bSelectedLast : {FALSE, TRUE})
    {
        COSMTabPaintManager pm;
        TestAppearanceSet* pSet = InstallTestAppearance(pm);
        pSet->SetDrawSelectedLast(bSelectedLast);
        TestStrip strip(&pm, CRect(0, 0, 300, 40));
        strip.AddItems(5);
        strip.SetCurSel(2);
        DcTestSurface surface(300, 40, RGB(0, 0, 0));
        pm.DrawTabControl(&strip, surface.dc(), CRect(0, 0, 300, 40));
        const std::vector<int> expected =
            bSelectedLast ? std::vector<int>{0, 1, 4, 3, 2} : std::vector<int>{4, 3, 1, 0, 2};
        EXPECT_EQ(expected, pSet->m_drawOrder) << "selected last " << bSelectedLast;
    }
}

TEST(TabPaintTest, OnlyItemsThatMeetTheClipAreDrawn)
{
    COSMTabPaintManager pm;
    TestAppearanceSet* pSet = InstallTestAppearance(pm);
    TestStrip strip(&pm, CRect(0, 0, 300, 40));
    strip.AddItems(5);  // 40 each
    DcTestSurface surface(300, 40, RGB(0, 0, 0));
    ::IntersectClipRect(surface.GetDC(), 81, 0, 119, 40);  // item 2 and the 2-pixel draw margins of 1 and 3
    pm.DrawTabControl(&strip, surface.dc(), CRect(0, 0, 300, 40));
    EXPECT_EQ((std::vector<int>{3, 2, 1}), pSet->m_drawOrder);
}

struct ContentFixture
{
    explicit ContentFixture(int nPosition = 0, CRect rc = CRect(0, 0, 200, 40))
        : surface(rc.Width(), rc.Height(), RGB(255, 255, 255)), strip(nullptr, rc)
    {
        pSet = InstallTestAppearance(pm);
        pSet->m_bDrawContent = true;
        pm.SetPosition(nPosition);
        pm.m_bFillBackground = FALSE;
        strip.m_pPaintManager = &pm;
        pm.AddClient(&strip);
    }
    void Draw() { pm.DrawTabControl(&strip, surface.dc(), strip.m_rcControl); }

    COSMTabPaintManager pm;
    TestAppearanceSet* pSet = nullptr;
    DcTestSurface surface;
    TestStrip strip;
};

TEST(TabPaintTest, TheIconStandsAtTheContentStartAndIsLeftOutWhenTooWide)
{
    {
        ContentFixture f;
        f.strip.m_bIcons = true;
        f.strip.AddItems(1);
        f.Draw();
        const CRect rc = f.strip.GetItem(0)->GetRect();
        ASSERT_EQ(1u, f.strip.m_iconPoints.size());
        EXPECT_EQ(CPoint(rc.left + 6 - 1, (rc.top + rc.bottom) / 2 - 8), f.strip.m_iconPoints[0]);
        EXPECT_EQ(f.strip.m_clrIcon, f.surface.Pixel(rc.left + 6, (rc.top + rc.bottom) / 2));
    }
    {
        ContentFixture f;
        f.strip.m_bIcons = true;
        f.strip.m_szIcon = CSize(40, 16);  // 40 is not less than the 34 left of a 40 long item
        f.strip.AddItems(1);
        f.Draw();
        EXPECT_TRUE(f.strip.m_iconPoints.empty());
    }
}

TEST(TabPaintTest, AVerticalCaptionWithoutEightPixelsOfRoomIsNotDrawn)
{
    for (int nLength : {14, 40})
    {
        ContentFixture f(1, CRect(0, 0, 40, 200));
        f.pm.m_bShowIcons = FALSE;
        f.pSet->m_nDefaultLength = nLength;
        f.strip.InsertItem(-1)->SetCaption("WWWW");
        f.Draw();
        const CRect rc = f.strip.GetItem(0)->GetRect();
        const int nInk = CountOther(f.surface, rc, RGB(255, 255, 255));
        if (nLength == 14)
            EXPECT_EQ(0, nInk) << "6 + 8 pixels: no room";
        else
            EXPECT_GT(nInk, 0) << "the caption is drawn";
    }
}

TEST(TabPaintTest, TheMiddleEllipsisKeepsTheStartAndTheEnd)
{
    auto fiveEach = [](const CString& s) { return 5 * s.GetLength(); };
    const struct
    {
        const char* text;
        int nRoom;
        const char* fitted;
        bool bPath;
    } cases[] = {
        {"abcdefghij", 30, "ab...j", false},     {"abcdefghij", 35, "ab...ij", false},
        {"abcdefghij", 50, "abcdefghij", false}, {"abcdefghij", 15, "...", false},
        {"abcdefghij", 10, "...", false},        {"c:\\dir\\file.txt", 30, "c:\\dir\\file.txt", true},
    };
    for (const auto& c : cases)
    {
        const COSMTabEllipsisResult fit = FitTextWithMiddleEllipsis(c.text, c.nRoom, fiveEach);
        EXPECT_STREQ(c.fitted, fit.strText) << c.text << " in " << c.nRoom;
        EXPECT_EQ(c.bPath, fit.bPathEllipsis) << c.text;
    }
}

TEST(TabPaintTest, AMarkupCaptionMeasuresAndRendersThroughTheMarkupEngine)
{
    ContentFixture f(0, CRect(0, 0, 300, 40));
    f.pSet->m_bFixedLengths = false;
    f.pm.m_bShowIcons = FALSE;
    f.strip.EnableMarkup(TRUE);
    ASSERT_NE(nullptr, f.strip.GetMarkupContext());
    COSMTabManagerItem* pMarkup = f.strip.InsertItem(-1);
    pMarkup->SetCaption("<TextBlock>Hello</TextBlock>");
    COSMTabManagerItem* pPlain = f.strip.InsertItem(-1);
    pPlain->SetCaption("<TextBlock>unclosed");
    ASSERT_NE(nullptr, pMarkup->GetMarkupElement());
    EXPECT_EQ(nullptr, pPlain->GetMarkupElement()) << "a caption that does not parse stays plain";

    SetMarkupContextDefaultFont(f.strip.GetMarkupContext(), *f.pm.GetFont(FALSE, FALSE), RGB(0, 0, 0));
    const CSize sz = MeasureMarkupElement(pMarkup->GetMarkupElement(), INT_MAX, INT_MAX);
    EXPECT_EQ(sz.cx + 12, pMarkup->GetContentLength());

    f.Draw();
    EXPECT_GT(CountOther(f.surface, pMarkup->GetRect(), RGB(255, 255, 255)), 0) << "rendered";

    f.strip.EnableMarkup(FALSE);
    EXPECT_EQ(nullptr, pMarkup->GetMarkupElement());
}

TEST(TabPaintTest, TheFocusRectangleIsDrawnOnlyWhileTheStripHasTheFocus)
{
    for (BOOL bFocus : {FALSE, TRUE})
    {
        ContentFixture f;
        f.pm.m_bShowIcons = FALSE;
        f.strip.m_bFocus = bFocus;
        f.strip.InsertItem(-1);  // no caption: only the focus rectangle can draw
        f.strip.SetCurSel(0);
        f.Draw();
        CRect rc = f.strip.GetItem(0)->GetRect();
        rc.DeflateRect(3, 3);
        const int nInk = CountOther(f.surface, CRect(rc.left, rc.top, rc.right, rc.top + 1), RGB(255, 255, 255));
        if (bFocus)
            EXPECT_GT(nInk, 0);
        else
            EXPECT_EQ(0, CountOther(f.surface, CRect(0, 0, 200, 40), RGB(255, 255, 255)));
    }
}

TEST(TabPaintTest, FontsReadBackWithTheirWeightsAndTurns)
{
    struct FontCase
    {
        LONG lfHeight;
        BOOL bBoldNormal;
        BOOL bClearType;
        LONG lfVerticalHeight;
    };
    const FontCase cases[] = {{-5, FALSE, FALSE, -11}, {14, TRUE, FALSE, 14}, {-13, FALSE, TRUE, -13}};
    for (const FontCase& c : cases)
    {
        COSMTabPaintManager pm;
        pm.m_bBoldNormal = c.bBoldNormal;
        pm.m_bClearTypeTextQuality = c.bClearType;
        LOGFONTA lf{};
        lf.lfHeight = c.lfHeight;
        lstrcpyA(lf.lfFaceName, "Arial");
        pm.SetFontIndirect(&lf);
        LOGFONTA normal{}, bold{}, vertical{}, verticalBold{};
        pm.GetFont(FALSE, FALSE)->GetLogFont(&normal);
        pm.GetFont(TRUE, FALSE)->GetLogFont(&bold);
        pm.GetFont(FALSE, TRUE)->GetLogFont(&vertical);
        pm.GetFont(TRUE, TRUE)->GetLogFont(&verticalBold);
        EXPECT_EQ(c.bBoldNormal ? 700 : 400, normal.lfWeight);
        EXPECT_EQ(700, bold.lfWeight);
        EXPECT_EQ(c.lfHeight, normal.lfHeight);
        EXPECT_EQ(c.bBoldNormal ? 700 : 400, vertical.lfWeight);
        EXPECT_EQ(700, verticalBold.lfWeight);
        EXPECT_EQ(2700, vertical.lfEscapement);
        EXPECT_EQ(900, vertical.lfOrientation);
        EXPECT_EQ(c.lfVerticalHeight, vertical.lfHeight);
        EXPECT_STREQ(GetDefaultFontName(TRUE), vertical.lfFaceName);
        EXPECT_STREQ("Arial", normal.lfFaceName);
        const BYTE expectedQuality =
            c.bClearType && GetOSVersionInfo()->IsClearTypeTextQualitySupported() ? CLEARTYPE_QUALITY : 0;
        EXPECT_EQ(expectedQuality, normal.lfQuality);
        EXPECT_EQ(expectedQuality, vertical.lfQuality);
    }
}

// ---- Navigation buttons drawn ----------------------------------------------------------------------------------

TEST(TabPaintTest, GlyphsAreFilledWhenEnabledAndOnlyOutlinedWhenDisabled)
{
    for (BOOL bEnabled : {TRUE, FALSE})
    {
        COSMTabPaintManager pm;
        InstallTestAppearance(pm);
        TestStrip strip(&pm);
        COSMTabManagerNavigateButton* pBack = strip.GetNavigateButton(0);
        pBack->SetEnabled(bEnabled);
        const COLORREF clrFace = SysIndex(COLOR_BTNFACE);
        DcTestSurface surface(40, 40, clrFace);
        CRect rc(10, 10, 24, 25);
        pm.DrawNavigateButton(surface.dc(), pBack, rc);
        const CPoint c = rc.CenterPoint();
        const COLORREF clrText = SysIndex(COLOR_BTNTEXT);
        EXPECT_EQ(clrText, surface.Pixel(c.x - 2, c.y - 1)) << "the tip is on the outline";
        EXPECT_EQ(bEnabled ? clrText : clrFace, surface.Pixel(c.x + 1, c.y - 1)) << "inside, enabled " << bEnabled;
    }
}

TEST(TabPaintTest, TheCrossStopsShortOfItsEndPoints)
{
    COSMTabPaintManager pm;
    InstallTestAppearance(pm);
    TestStrip strip(&pm);
    COSMTabManagerNavigateButton* pClose = strip.GetNavigateButton(2);
    const COLORREF clrFace = SysIndex(COLOR_BTNFACE);
    DcTestSurface surface(40, 40, clrFace);
    CRect rc(10, 10, 24, 25);
    pm.DrawNavigateButton(surface.dc(), pClose, rc);
    const CPoint c = rc.CenterPoint();
    const COLORREF clrText = SysIndex(COLOR_BTNTEXT);
    EXPECT_EQ(clrText, surface.Pixel(c.x - 4, c.y - 3));
    EXPECT_EQ(clrText, surface.Pixel(c.x, c.y));
    EXPECT_EQ(clrFace, surface.Pixel(c.x + 3, c.y + 4)) << "end point";
    EXPECT_EQ(clrFace, surface.Pixel(c.x + 4, c.y + 4)) << "end point";
    EXPECT_EQ(clrFace, surface.Pixel(c.x + 3, c.y - 4)) << "end point";
    EXPECT_EQ(clrFace, surface.Pixel(c.x + 4, c.y - 4)) << "end point";
}

TEST(TabPaintTest, NavigationFramesShowPressedAndHotButtons)
{
    COSMTabPaintManager pm;
    InstallTestAppearance(pm);
    TestStrip strip(&pm);
    tabs_test::LoopWindow window;
    ::SetForegroundWindow(window.Handle());
    COSMTabManagerNavigateButton* pBack = strip.GetNavigateButton(0);
    const COLORREF clrFace = SysIndex(COLOR_BTNFACE);
    const COLORREF clrShadow = SysIndex(COLOR_BTNSHADOW);
    const COLORREF clrLight = SysIndex(COLOR_BTNHIGHLIGHT);
    const COLORREF clrText = SysIndex(COLOR_BTNTEXT);
    const CRect rcButton(10, 10, 24, 25);
    const CPoint c = rcButton.CenterPoint();

    // Pressed: sunken, the glyph one pixel down and right.
    {
        DcTestSurface surface(40, 40, clrFace);
        pBack->SetPressed(TRUE);
        CRect rc = rcButton;
        pm.DrawNavigateButton(surface.dc(), pBack, rc);
        pBack->SetPressed(FALSE);
        EXPECT_EQ(clrShadow, surface.Pixel(10, 10));
        EXPECT_EQ(clrLight, surface.Pixel(23, 24));
        EXPECT_EQ(clrText, surface.Pixel(c.x - 2 + 1, c.y - 1 + 1));
        EXPECT_EQ(clrFace, surface.Pixel(c.x + 3, c.y - 5)) << "the unmoved tip's column stays empty";
    }
    // Hot: raised, once the strip tracks the pointer over it.
    {
        pBack->SetRect(rcButton);
        strip.OnMouseMove(window.Handle(), c);
        ASSERT_EQ(pBack, strip.GetHighlightedButton());
        DcTestSurface surface(40, 40, clrFace);
        CRect rc = rcButton;
        pm.DrawNavigateButton(surface.dc(), pBack, rc);
        EXPECT_EQ(clrLight, surface.Pixel(10, 10));
        EXPECT_EQ(clrShadow, surface.Pixel(23, 24));
        EXPECT_EQ(clrText, surface.Pixel(c.x - 2, c.y - 1));
    }
    // Disabled: no frame at all.
    {
        pBack->SetEnabled(FALSE);
        DcTestSurface surface(40, 40, clrFace);
        CRect rc = rcButton;
        pm.DrawNavigateButton(surface.dc(), pBack, rc);
        EXPECT_EQ(clrFace, surface.Pixel(10, 10));
        EXPECT_EQ(clrFace, surface.Pixel(23, 24));
    }
}

// ---- The default colour set ------------------------------------------------------------------------------------

TEST(TabColorSetTest, ItemTextColoursFollowTheItemsState)
{
    COSMTabPaintManager pm;
    InstallTestAppearance(pm);
    TestStrip strip(&pm);
    strip.AddItems(4);
    COSMTabColorSet* pColors = pm.GetColorSet();
    pColors->m_clrNormalText.SetCustomValue(RGB(1, 1, 1));
    pColors->m_clrSelectedText.SetCustomValue(RGB(2, 2, 2));
    pColors->m_clrHotText.SetCustomValue(RGB(3, 3, 3));
    pColors->m_clrDisabledText.SetCustomValue(RGB(4, 4, 4));
    pColors->m_clrInactiveText.SetCustomValue(RGB(5, 5, 5));
    strip.SetCurSel(1);
    strip.GetItem(3)->SetEnabled(FALSE);
    pm.m_bHotTracking = TRUE;
    tabs_test::LoopWindow window;
    ::SetForegroundWindow(window.Handle());
    strip.OnMouseMove(window.Handle(), strip.GetItem(2)->GetRect().CenterPoint());
    ASSERT_EQ(strip.GetItem(2), strip.GetHighlightedItem());

    DcTestSurface surface(4, 4, RGB(0, 0, 0));
    const struct
    {
        int nItem;
        BOOL bActive;
        COLORREF clr;
    } cases[] = {{0, TRUE, RGB(1, 1, 1)}, {1, TRUE, RGB(2, 2, 2)},  {2, TRUE, RGB(3, 3, 3)},
                 {3, TRUE, RGB(4, 4, 4)}, {1, FALSE, RGB(5, 5, 5)}, {3, FALSE, RGB(4, 4, 4)}};
    for (const auto& c : cases)
    {
        strip.SetActive(c.bActive);
        pColors->SetItemTextColor(surface.dc(), strip.GetItem(c.nItem));
        EXPECT_EQ(c.clr, ::GetTextColor(surface.GetDC())) << "item " << c.nItem << " active " << c.bActive;
    }
    // The refresh's standard values: button text, grey text, navy for hot.
    pColors->RefreshMetrics();
    EXPECT_EQ(SysIndex(COLOR_BTNTEXT), pColors->m_clrNormalText.GetStandardValue());
    EXPECT_EQ(SysIndex(COLOR_GRAYTEXT), pColors->m_clrDisabledText.GetStandardValue());
    EXPECT_EQ(RGB(0, 0, 128), pColors->m_clrHotText.GetStandardValue());
}

TEST(TabColorSetTest, TabColoursAreTheItemsOwnOnlyWithItemColours)
{
    COSMTabPaintManager pm;
    InstallTestAppearance(pm);
    TestStrip strip(&pm);
    strip.AddItems(2);
    strip.SetCurSel(0);
    COSMTabColorSet* pColors = pm.GetColorSet();
    pColors->m_clrSelectedTab.SetCustomValue(RGB(10, 20, 30));
    pColors->m_clrNormalTab.SetCustomValue(RGB(40, 50, 60));
    EXPECT_EQ(RGB(10, 20, 30), pColors->GetTabColor(strip.GetItem(0)));
    EXPECT_EQ(RGB(40, 50, 60), pColors->GetTabColor(strip.GetItem(1)));
    pm.m_bOneNoteColors = TRUE;
    EXPECT_EQ(RGB(138, 168, 228), pColors->GetTabColor(strip.GetItem(0)));
    EXPECT_EQ(RGB(255, 219, 117), pColors->GetTabColor(strip.GetItem(1)));

    // The client takes the selected tab's colour.
    DcTestSurface surface(20, 20, RGB(0, 0, 0));
    EXPECT_EQ(RGB(138, 168, 228), pColors->FillClient(surface.dc(), CRect(0, 0, 20, 20), &strip));
    EXPECT_EQ(RGB(138, 168, 228), surface.Pixel(10, 10));
}

TEST(TabColorSetTest, HeaderGradientsRunByPositionAndTheReverseFlag)
{
    const COLORREF clrFirst = RGB(0, 0, 0);
    const COLORREF clrSecond = RGB(240, 240, 240);
    struct GradientCase
    {
        int nPosition;
        BOOL bReverse;
        CPoint ptFirst;  // where the first colour shows
        CPoint ptSecond;
    };
    const GradientCase cases[] = {
        {0, FALSE, CPoint(20, 0), CPoint(20, 39)}, {2, FALSE, CPoint(20, 39), CPoint(20, 0)},
        {1, FALSE, CPoint(0, 20), CPoint(39, 20)}, {3, FALSE, CPoint(39, 20), CPoint(0, 20)},
        {0, TRUE, CPoint(20, 39), CPoint(20, 0)},  {3, TRUE, CPoint(0, 20), CPoint(39, 20)},
    };
    for (const GradientCase& c : cases)
    {
        COSMTabPaintManager pm;
        InstallTestAppearance(pm);
        pm.m_bInvertGradient = c.bReverse;
        pm.SetPosition(c.nPosition);
        TestStrip strip(&pm);
        COSMTabColorSet* pColors = pm.GetColorSet();
        pColors->m_grcHeaderFace.First().SetCustomValue(clrFirst);
        pColors->m_grcHeaderFace.Second().SetCustomValue(clrSecond);
        DcTestSurface surface(40, 40, RGB(255, 0, 0));
        pColors->FillHeaderFace(surface.dc(), CRect(0, 0, 40, 40), &strip);
        EXPECT_LT(GetRValue(surface.Pixel(c.ptFirst.x, c.ptFirst.y)), 20)
            << "position " << c.nPosition << " reverse " << c.bReverse;
        EXPECT_GT(GetRValue(surface.Pixel(c.ptSecond.x, c.ptSecond.y)), 220)
            << "position " << c.nPosition << " reverse " << c.bReverse;
    }
}

TEST(TabColorSetTest, TheCheckerboardAlternatesFaceAndHighlight)
{
    COSMTabPaintManager pm;
    InstallTestAppearance(pm);
    TestStrip strip(&pm);
    strip.AddItems(1);
    strip.SetCurSel(0);
    DcTestSurface surface(16, 16, RGB(255, 0, 0));
    pm.GetColorSet()->FillButton(surface.dc(), CRect(0, 0, 16, 16), strip.GetItem(0));
    const COLORREF clrFace = SysIndex(COLOR_BTNFACE);
    const COLORREF clrLight = SysIndex(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(clrFace, clrLight);
    // Inside the 3-D frame of the selected button.
    for (int y = 2; y < 13; y++)
    {
        for (int x = 2; x < 13; x++)
        {
            const COLORREF clr = surface.Pixel(x, y);
            EXPECT_TRUE(clr == clrFace || clr == clrLight) << x << "," << y;
            EXPECT_NE(clr, surface.Pixel(x + 1, y)) << "alternates along a row at " << x << "," << y;
            EXPECT_EQ(clr, surface.Pixel(x + 1, y + 1)) << "the next row is shifted by one at " << x << "," << y;
        }
    }
    EXPECT_EQ(SysIndex(COLOR_BTNSHADOW), surface.Pixel(0, 0)) << "the frame's top-left";
    EXPECT_EQ(clrLight, surface.Pixel(15, 15)) << "the frame's bottom-right";
}

TEST(TabColorSetTest, ButtonsThatAreNotSelectedGetAnEtchedSeparator)
{
    for (int nPosition : {0, 1})
    {
        COSMTabPaintManager pm;
        InstallTestAppearance(pm);
        pm.SetPosition(nPosition);
        TestStrip strip(&pm);
        strip.AddItems(2);
        strip.SetCurSel(0);
        DcTestSurface surface(40, 40, RGB(255, 0, 0));
        const CRect rc(5, 5, 25, 25);
        pm.GetColorSet()->FillButton(surface.dc(), rc, strip.GetItem(1));
        const COLORREF clrShadow = SysIndex(COLOR_BTNSHADOW);
        const COLORREF clrLight = SysIndex(COLOR_BTNHIGHLIGHT);
        if (nPosition == 0)
        {
            EXPECT_EQ(clrShadow, surface.Pixel(25, 7));
            EXPECT_EQ(clrLight, surface.Pixel(26, 7));
            EXPECT_EQ(RGB(255, 0, 0), surface.Pixel(25, 6)) << "starts 2 below the top";
            EXPECT_EQ(RGB(255, 0, 0), surface.Pixel(25, 23)) << "ends 2 above the bottom";
        }
        else
        {
            EXPECT_EQ(clrShadow, surface.Pixel(7, 25));
            EXPECT_EQ(clrLight, surface.Pixel(7, 26));
            EXPECT_EQ(RGB(255, 0, 0), surface.Pixel(6, 25));
        }
        EXPECT_EQ(RGB(255, 0, 0), surface.Pixel(15, 15)) << "the face stays";
    }
}

TEST(TabColorSetTest, AStripThatPaintsItsParentsBackgroundKeepsAPlainHeader)
{
    for (bool bParent : {false, true})
    {
        COSMTabPaintManager pm;
        InstallTestAppearance(pm);
        TestStrip strip(&pm);
        strip.m_bParentBackground = bParent;
        DcTestSurface surface(20, 20, RGB(255, 0, 0));
        pm.GetColorSet()->FillHeaderFace(surface.dc(), CRect(0, 0, 20, 20), &strip);
        EXPECT_EQ(bParent ? strip.m_clrParent : SysIndex(COLOR_BTNFACE), surface.Pixel(10, 10));
    }
    // A header of its own colours is painted over the parent's background.
    COSMTabPaintManager pm;
    InstallTestAppearance(pm);
    TestStrip strip(&pm);
    strip.m_bParentBackground = true;
    pm.GetColorSet()->m_grcHeaderFace.First().SetCustomValue(RGB(9, 99, 199));
    pm.GetColorSet()->m_grcHeaderFace.Second().SetCustomValue(RGB(9, 99, 199));
    DcTestSurface surface(20, 20, RGB(255, 0, 0));
    pm.GetColorSet()->FillHeaderFace(surface.dc(), CRect(0, 0, 20, 20), &strip);
    EXPECT_EQ(RGB(9, 99, 199), surface.Pixel(10, 10));
}

}  // namespace
