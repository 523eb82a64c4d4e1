// The ribbon painter drawing a real ribbon's parts with the production Office 2007 resources (this program links
// them): each part's pixels against the same image state drawn straight from the images.
#include "RibbonTestSupport.h"

#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/ribbon/FramePaintManager.h"
#include "framework/ribbon/RibbonFrame.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/ribbon/RibbonGroupsScroller.h"
#include "framework/tabs/TabAppearanceSet.h"
#include "framework/themes/Office2007Images.h"
#include "tests/support/DcTestSurface.h"
#include "tests/support/Screenshots.h"

using namespace ribbon_test;
using foundation_test::DcTestSurface;

namespace {

constexpr COLORREF kCanvas = RGB(1, 2, 3);
constexpr COLORREF kMagentaKey = RGB(255, 0, 255);

class RibbonPainterDrawingTest : public RibbonTest
{
protected:
    CSize ClientSize() const
    {
        CRect client;
        ribbon->GetClientRect(&client);
        return client.Size();
    }
    // The tab's rectangle as the painter grows it (one pixel up, one in from the right and bottom).
    static CRect TabImageRect(const COSMRibbonTab* tab)
    {
        CRect rc = tab->GetRect();
        COSMTabAppearanceSet::AdjustRectByPosition(rc, 0, 1, -1, -1, 0);
        return rc;
    }
    // The image's state drawn on its own: keyed (magenta out) or as a part.
    std::vector<COLORREF> Expected(const CString& name, int state, int states, CRect rc, CRect margins, BOOL keyed)
    {
        DcTestSurface expected(ClientSize().cx, ClientSize().cy, kCanvas);
        COSMOffice2007Image* image = COSMOffice2007Images::Instance()->LoadImage(name);
        EXPECT_NE(nullptr, image) << name;
        if (image && keyed)
            image->DrawImage(expected.dc(), rc, image->GetStateRect(state, states), margins, kMagentaKey);
        else if (image)
            image->DrawImagePart(expected.dc(), rc, image->GetStateRect(state, states), margins);
        return expected.All();
    }
    std::vector<COLORREF> DrawnTab(COSMRibbonTab* tab)
    {
        DcTestSurface drawn(ClientSize().cx, ClientSize().cy, kCanvas);
        Painter()->DrawRibbonTab(drawn.dc(), tab);
        return drawn.All();
    }
    void Hover(const COSMRibbonTab* tab)
    {
        MoveMouseTo(tab ? TabCentre(tab) : CPoint(1200, 1000));
        PumpMessages();
    }
};

}  // namespace

TEST_F(RibbonPainterDrawingTest, TabsDrawTheirStateImages)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert", "&Layout"});
    COSMRibbonControlTab* strip = ribbon->GetControlTab();
    const std::vector<COLORREF> nothing(ClientSize().cx * ClientSize().cy, kCanvas);

    EXPECT_EQ(nothing, DrawnTab(tabs[1])) << "a plain tab has no picture";
    const COSMRibbonPaintManager::TabState first = COSMRibbonPaintManager::GetTabState(tabs[0]);
    ASSERT_TRUE(first.selected);
    ASSERT_FALSE(first.hot);
    ASSERT_FALSE(first.focused);
    ASSERT_GE(tabs[0]->GetLength(), tabs[0]->GetContentLength()) << "the caption is whole";
    EXPECT_EQ(Expected("RIBBONTAB", 3, 6, TabImageRect(tabs[0]), CRect(5, 5, 5, 5), TRUE), DrawnTab(tabs[0]))
        << "selected";

    Hover(tabs[1]);
    ASSERT_EQ(tabs[1], strip->GetHighlightedItem());
    EXPECT_EQ(Expected("RIBBONTAB", 1, 6, TabImageRect(tabs[1]), CRect(5, 5, 5, 5), TRUE), DrawnTab(tabs[1])) << "hot";
    Hover(tabs[0]);
    ASSERT_EQ(tabs[0], strip->GetHighlightedItem());
    EXPECT_EQ(Expected("RIBBONTAB", 4, 6, TabImageRect(tabs[0]), CRect(5, 5, 5, 5), TRUE), DrawnTab(tabs[0]))
        << "selected and hot";
    Hover(nullptr);

    // Minimized, with the tab popup closed, the selected tab reads as plain.
    ribbon->SetRibbonMinimized(TRUE);
    Relayout();
    EXPECT_EQ(std::vector<COLORREF>(ClientSize().cx * ClientSize().cy, kCanvas), DrawnTab(tabs[0]));
    const COSMRibbonPaintManager::TabState state = COSMRibbonPaintManager::GetTabState(tabs[0]);
    EXPECT_FALSE(state.selected);
    EXPECT_FALSE(state.focused);
}

TEST_F(RibbonPainterDrawingTest, ContextTabsDrawTheirColourAndSeparatorsAtTheirHeadersEnds)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Design", "&Format"});
    for (COSMRibbonTab* tab : {tabs[1], tabs[2]})
    {
        tab->SetContextColor(4, "Table Tools");
    }
    ribbon->SetCurSel(1);
    Relayout();
    ASSERT_NE(nullptr, tabs[1]->GetContextHeader());
    ASSERT_EQ(tabs[1], tabs[1]->GetContextHeader()->m_firstTab);
    ASSERT_EQ(tabs[2], tabs[1]->GetContextHeader()->m_lastTab);

    // The selected first tab: its colour's state 3, then the separator on its left.
    DcTestSurface expected(ClientSize().cx, ClientSize().cy, kCanvas);
    const CRect rc = TabImageRect(tabs[1]);
    COSMOffice2007Image* context = COSMOffice2007Images::Instance()->LoadImage("CONTEXTTABRED");
    COSMOffice2007Image* separator = COSMOffice2007Images::Instance()->LoadImage("CONTEXTTABSEPARATOR");
    ASSERT_NE(nullptr, context);
    ASSERT_NE(nullptr, separator);
    context->DrawImagePart(expected.dc(), rc, context->GetStateRect(3, 5), CRect(5, 5, 5, 5));
    separator->DrawImagePart(expected.dc(), CRect(rc.left, rc.top, rc.left + 1, rc.bottom - 1),
                             separator->GetStateRect(0, 1), CRect(0, 0, 0, 0));
    EXPECT_EQ(expected.All(), DrawnTab(tabs[1]));

    // The plain last tab: only the separator on its right.
    const CRect last = TabImageRect(tabs[2]);
    EXPECT_EQ(Expected("CONTEXTTABSEPARATOR", 0, 1, CRect(last.right, last.top, last.right + 1, last.bottom - 1),
                       CRect(0, 0, 0, 0), FALSE),
              DrawnTab(tabs[2]));
}

TEST_F(RibbonPainterDrawingTest, TheBarFillsItsFaceAndAMinimizedRibbonEndsInTwoEdgeLines)
{
    AddTabs({"&Home"});
    const CSize size = ClientSize();
    {
        DcTestSurface drawn(size.cx, size.cy, kCanvas);
        Painter()->FillRibbonBar(drawn.dc(), ribbon);
        EXPECT_EQ(0, drawn.CountNot(Painter()->GetRibbonFaceColor())) << "groups shown: face only";
    }
    ribbon->SetRibbonMinimized(TRUE);
    Relayout();
    const CSize minimized = ClientSize();
    DcTestSurface drawn(minimized.cx, minimized.cy, kCanvas);
    Painter()->FillRibbonBar(drawn.dc(), ribbon);
    for (const int x : {0, static_cast<int>(minimized.cx / 2), static_cast<int>(minimized.cx - 1)})
    {
        EXPECT_EQ(Painter()->GetMinimizedFrameEdgeShadow(), drawn.Pixel(x, minimized.cy - 2));
        EXPECT_EQ(Painter()->GetMinimizedFrameEdgeHighLight(), drawn.Pixel(x, minimized.cy - 1));
        EXPECT_EQ(Painter()->GetRibbonFaceColor(), drawn.Pixel(x, minimized.cy - 3));
    }
}

TEST_F(RibbonPainterDrawingTest, AGroupDrawsClientAndCaptionInItsHighlightState)
{
    AddTabs({"&Home"});
    COSMRibbonGroup& group = *ribbon->GetSelectedTab()->GetGroups()->Add("", 1);
    group.SetRect(CRect(10, 10, 90, 100));
    const int caption = Painter()->GetGroupCaptionHeight();
    for (const BOOL highlighted : {FALSE, TRUE})
    {
        SCOPED_TRACE(highlighted);
        ribbon->GetGroupsScroller()->SetHotGroup(highlighted ? &group : nullptr);
        DcTestSurface expected(ClientSize().cx, ClientSize().cy, kCanvas);
        const int state = highlighted ? 1 : 0;
        COSMOffice2007Image* client = COSMOffice2007Images::Instance()->LoadImage("RIBBONGROUPCLIENT");
        COSMOffice2007Image* band = COSMOffice2007Images::Instance()->LoadImage("RIBBONGROUPCAPTION");
        ASSERT_NE(nullptr, client);
        ASSERT_NE(nullptr, band);
        client->DrawImagePart(expected.dc(), CRect(10, 10, 90, 100 - caption), client->GetStateRect(state, 2),
                              CRect(5, 5, 5, 5));
        band->DrawImagePart(expected.dc(), CRect(10, 100 - caption, 90, 100), band->GetStateRect(state, 2),
                            CRect(5, 5, 5, 5));
        DcTestSurface drawn(ClientSize().cx, ClientSize().cy, kCanvas);
        Painter()->DrawGroup(drawn.dc(), &group);
        EXPECT_EQ(expected.All(), drawn.All());
    }
}

TEST_F(RibbonPainterDrawingTest, OnlyAControlOnAGlassCaptionIsOnTheDwmCaption)
{
    AddTabs({"&Home"});
    ribbon->GetQuickAccessControls()->Add(1, 0xE103);
    ribbon->EnableFrameTheme();
    Relayout();
    COSMControl* onCaption = ribbon->GetQuickAccessPopup();
    CRect overlap;
    ASSERT_TRUE(overlap.IntersectRect(onCaption->GetRect(), ribbon->GetCaptionRect()));
    COSMControl* onTabRow = ribbon->GetControlTab();
    ASSERT_FALSE(overlap.IntersectRect(onTabRow->GetRect(), ribbon->GetCaptionRect()));

    EXPECT_FALSE(COSMPaintManager::IsControlOnDwmCaption(onCaption)) << "no composition";
    ribbon->GetRibbonFrame()->SetDwmEnabled(TRUE);
    EXPECT_TRUE(COSMPaintManager::IsControlOnDwmCaption(onCaption));
    EXPECT_FALSE(COSMPaintManager::IsControlOnDwmCaption(onTabRow));
    EXPECT_FALSE(COSMPaintManager::IsControlOnDwmCaption(nullptr));
    ribbon->GetRibbonFrame()->SetDwmEnabled(FALSE);
}

namespace {

// Hears of every image or key the production resources lack.
class MissingResources : public COSMOffice2007Images::CObserver
{
public:
    void OnImageMissing(LPCSTR name) override { missing.push_back(std::string("image ") + name); }
    void OnKeyMissing(LPCSTR section, LPCSTR key) override
    {
        missing.push_back(std::string("key ") + section + " " + key);
    }
    std::vector<std::string> missing;
};

}  // namespace

// The pictures kept with the artefacts: frame.bmp (a frame drawn active above, inactive below) and ribbon-parts.bmp
// (the ribbon drawn by its bar, a context tab selected, and the single parts below it), all from the production
// resources, which lack nothing the painters ask for.
TEST_F(RibbonPainterDrawingTest, ThePicturesOfTheFrameAndTheRibbonPartsLackNoResource)
{
    MissingResources observer;
    COSMOffice2007Images::Instance()->SetObserver(&observer);
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert", "&Design", "&Format"});
    tabs[2]->SetContextColor(3, "Table Tools");
    tabs[3]->SetContextColor(3, "Table Tools");
    ribbon->GetQuickAccessControls()->Add(1, 0xE103);
    ribbon->EnableFrameTheme();
    ribbon->SetCurSel(2);
    Relayout();
    Painter()->RefreshMetrics();

    auto* framePainter = dynamic_cast<COSMFramePaintManager*>(ribbon->GetPaintManager()->GetFramePaintManager());
    ASSERT_NE(nullptr, framePainter);
    COSMRibbonFrame standalone(&frame);
    CRect window;
    frame.GetWindowRect(&window);
    DcTestSurface frames(window.Width(), 2 * window.Height(), RGB(255, 255, 255));
    for (const BOOL active : {TRUE, FALSE})
    {
        standalone.SetActive(active);
        const int saved = ::SaveDC(frames.GetDC());
        ::SetViewportOrgEx(frames.GetDC(), 0, active ? 0 : window.Height(), nullptr);
        framePainter->DrawFrame(frames.dc(), &standalone);
        ::RestoreDC(frames.GetDC(), saved);
    }
    EXPECT_TRUE(osm::test::WriteDcBitmap(frames.GetDC(), CRect(0, 0, frames.Width(), frames.Height()),
                                         osm::test::ArtefactsFolder() + "/frame.bmp"));

    const CSize bar = ClientSize();
    DcTestSurface parts(std::max(static_cast<int>(bar.cx), 440), bar.cy + 120, RGB(255, 255, 255));
    ribbon->DrawCommandBar(parts.dc(), CRect(CPoint(0, 0), bar));
    ::SetViewportOrgEx(parts.GetDC(), 0, bar.cy + 10, nullptr);
    COSMRibbonGroup* group = tabs[2]->GetGroups()->Add("Clip&board", 1);
    group->SetRect(CRect(0, 0, 90, 100));
    ribbon->GetGroupsScroller()->SetHotGroup(group);
    Painter()->DrawGroup(parts.dc(), group);
    COSMControlButton option, left, right, quick, more;
    option.SetRect(CRect(100, 0, 115, 14));
    left.SetRect(CRect(120, 0, 132, 60));
    right.SetRect(CRect(140, 0, 152, 60));
    quick.SetRect(CRect(160, 0, 173, 22));
    more.SetRect(CRect(180, 0, 193, 22));
    right.SetSelected(TRUE);
    Painter()->DrawControlGroupOption(parts.dc(), &option, TRUE);
    Painter()->DrawGroupsScrollButton(parts.dc(), &left, TRUE);
    Painter()->DrawGroupsScrollButton(parts.dc(), &right, FALSE);
    Painter()->DrawQuickAccessButton(parts.dc(), &quick);
    Painter()->DrawQuickAccessMoreButton(parts.dc(), &more);
    Painter()->FillGroupsBackground(parts.dc(), tabs[2], CRect(200, 0, 300, 100));
    Painter()->DrawRibbonSystemButton(parts.dc(), &option, CRect(310, 0, 365, 55));
    // The button the group shrinks to once reduced.
    COSMRibbonGroupControlPopup* reduced = group->GetPopupButton();
    ASSERT_NE(nullptr, reduced);
    reduced->SetRect(CRect(CPoint(375, 0), Painter()->DrawControlGroupPopup(parts.dc(), reduced, FALSE)));
    Painter()->DrawControlGroupPopup(parts.dc(), reduced, TRUE);
    ::SetViewportOrgEx(parts.GetDC(), 0, 0, nullptr);
    EXPECT_TRUE(osm::test::WriteDcBitmap(parts.GetDC(), CRect(0, 0, parts.Width(), parts.Height()),
                                         osm::test::ArtefactsFolder() + "/ribbon-parts.bmp"));
    COSMOffice2007Images::Instance()->SetObserver(nullptr);
    EXPECT_EQ(std::vector<std::string>(), observer.missing);
}
