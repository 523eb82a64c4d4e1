// The ribbon painter with the production Office 2007 resources (this program links them): its metrics through a test
// manager's metrics, colours from section "Ribbon", the tab paint manager it makes, image names, and the glass
// caption text through the stand-in visual-style library.
#include "PaintManagerTestSupport.h"
#include "ThemeStubLibrary.h"

#include "framework/ribbon/FramePaintManager.h"
#include "framework/ribbon/RibbonPaintManager.h"
#include "framework/ribbon/RibbonTabPaintSets.h"
#include "framework/tabs/TabPaintManager.h"
#include "framework/themes/Office2007Images.h"
#include "tests/support/DcTestSurface.h"

#include <gtest/gtest.h>

using foundation_test::DcTestSurface;
using foundation_test::MetricsPaintManager;

namespace {

COLORREF RibbonColor(LPCSTR key)
{
    return COSMOffice2007Images::Instance()->GetImageColor("Ribbon", key);
}

COSMRibbonPaintManager* RibbonPainterOf(COSMPaintManager& pm)
{
    return dynamic_cast<COSMRibbonPaintManager*>(pm.GetRibbonPaintManager());
}

}  // namespace

TEST(RibbonPainterTest, GroupCaptionHeightFollowsTheMenuFontOrTheRequestedHeight)
{
    const struct
    {
        LONG menuFont;
        int requested;
        int groupCaption;
    } cases[] = {{-9, 0, 17}, {-9, 12, 17}, {-9, 16, 24}, {-13, 0, 19}, {-20, 0, 30}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.menuFont << " / " << c.requested);
        MetricsPaintManager pm;
        pm.menuFontHeight = c.menuFont;
        pm.m_requestedFontHeight = c.requested;
        COSMRibbonPaintManager* painter = RibbonPainterOf(pm);
        ASSERT_NE(nullptr, painter);
        EXPECT_EQ(c.groupCaption, painter->GetGroupCaptionHeight());
    }
}

TEST(RibbonPainterTest, TabRowAndFrameCaptionHeights)
{
    const struct
    {
        int controlHeight;
        int tabs;
    } tabCases[] = {{0, 23}, {22, 23}, {23, 25}, {24, 26}};
    for (const auto& c : tabCases)
    {
        MetricsPaintManager pm;
        pm.SetControlHeight(c.controlHeight);
        COSMRibbonPaintManager* painter = RibbonPainterOf(pm);
        ASSERT_NE(nullptr, painter);
        painter->RefreshMetrics();
        EXPECT_EQ(c.tabs, painter->GetTabsHeight()) << c.controlHeight;
    }
    const struct
    {
        int systemCaption;
        int frameCaption;
    } captionCases[] = {{18, 19}, {15, 18}, {17, 18}, {26, 27}};
    for (const auto& c : captionCases)
    {
        MetricsPaintManager pm;
        pm.systemMetrics[SM_CYCAPTION] = c.systemCaption;
        COSMRibbonPaintManager* painter = RibbonPainterOf(pm);
        ASSERT_NE(nullptr, painter);
        EXPECT_EQ(c.frameCaption, painter->GetFrameCaptionHeight()) << c.systemCaption;
        EXPECT_EQ(c.frameCaption, painter->GetCaptionHeight());
    }
}

TEST(RibbonPainterTest, ColoursComeFromTheRibbonSectionAndTheTabsTakeTheirTextColours)
{
    MetricsPaintManager pm;
    COSMRibbonPaintManager* painter = RibbonPainterOf(pm);
    ASSERT_NE(nullptr, painter);
    for (const char* key : {"RibbonFace", "GroupCaptionText", "MinimizedFrameEdgeHighLight", "MinimizedFrameEdgeShadow",
                            "TabNormalText", "TabSelectedText"})
        ASSERT_NE(static_cast<COLORREF>(-1), RibbonColor(key)) << key;
    EXPECT_EQ(RibbonColor("RibbonFace"), painter->GetRibbonFaceColor());
    EXPECT_EQ(RibbonColor("GroupCaptionText"), painter->GetGroupCaptionTextColor());
    EXPECT_EQ(RibbonColor("MinimizedFrameEdgeHighLight"), painter->GetMinimizedFrameEdgeHighLight());
    EXPECT_EQ(RibbonColor("MinimizedFrameEdgeShadow"), painter->GetMinimizedFrameEdgeShadow());

    COSMTabColorSet* colors = painter->GetTabPaintManager()->GetColorSet();
    ASSERT_NE(nullptr, colors);
    EXPECT_EQ(RibbonColor("TabNormalText"), static_cast<COLORREF>(colors->m_clrNormalText));
    EXPECT_EQ(RibbonColor("TabNormalText"), static_cast<COLORREF>(colors->m_clrHotText));
    EXPECT_EQ(RibbonColor("TabSelectedText"), static_cast<COLORREF>(colors->m_clrSelectedText));
}

TEST(RibbonPainterTest, TheFontIsTheOwnersRegularFontOrTheStockFontWithoutOwner)
{
    MetricsPaintManager pm;
    LOGFONTA own{};
    own.lfHeight = -17;
    lstrcpyA(own.lfFaceName, "Tahoma");
    pm.CreateFontsFromLogFont(&own, FALSE);
    COSMRibbonPaintManager* painter = RibbonPainterOf(pm);
    ASSERT_NE(nullptr, painter);
    painter->RefreshMetrics();
    LOGFONTA made{};
    LOGFONTA regular{};
    ASSERT_TRUE(::GetObjectA(painter->GetFont()->GetSafeHandle(), sizeof made, &made));
    ASSERT_TRUE(::GetObjectA(pm.GetRegularFont().GetSafeHandle(), sizeof regular, &regular));
    EXPECT_EQ(regular.lfHeight, made.lfHeight);
    EXPECT_STREQ(regular.lfFaceName, made.lfFaceName);

    RefPtr<COSMRibbonPaintManager> alone = RefPtr<COSMRibbonPaintManager>::Adopt(new COSMRibbonPaintManager(nullptr));
    alone->RefreshMetrics();
    LOGFONTA stock{};
    ASSERT_TRUE(::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock));
    ASSERT_TRUE(::GetObjectA(alone->GetFont()->GetSafeHandle(), sizeof made, &made));
    EXPECT_EQ(stock.lfHeight, made.lfHeight);
    EXPECT_STREQ(stock.lfFaceName, made.lfFaceName);
}

TEST(RibbonPainterTest, TheTabPaintManagerIsMadeForTheRibbonsRow)
{
    MetricsPaintManager pm;
    pm.SetClearTypeText(TRUE);
    RefPtr<COSMRibbonPaintManager> painter = RefPtr<COSMRibbonPaintManager>::Adopt(new COSMRibbonPaintManager(&pm));
    COSMTabPaintManager* tabs = painter->GetTabPaintManager();
    ASSERT_NE(nullptr, tabs);
    auto* appearance = dynamic_cast<COSMRibbonTabAppearanceSet*>(tabs->GetAppearanceSet());
    ASSERT_NE(nullptr, appearance);
    EXPECT_EQ(painter.Get(), appearance->GetRibbonPaintManager());
    EXPECT_EQ(CRect(0, 1, 0, 0), appearance->GetHeaderMargin());
    EXPECT_EQ(COSMRibbonTabAppearanceSet::kRowHeight, appearance->GetBaseRowHeight());
    EXPECT_NE(nullptr, dynamic_cast<COSMRibbonTabColorSet*>(tabs->GetColorSet()));
    EXPECT_EQ(COSMTabPaintManager::kLayoutSizeToFit, tabs->GetLayout());
    EXPECT_TRUE(tabs->m_bHotTracking);
    EXPECT_FALSE(tabs->m_bShowIcons);
    EXPECT_FALSE(tabs->m_bFillBackground);
    EXPECT_FALSE(tabs->m_bDrawFocusRect);
    EXPECT_FALSE(tabs->m_bClipHeader);
    EXPECT_EQ(CRect(0, 2, 0, 2), tabs->m_rcClientMargin);
    EXPECT_EQ(CRect(4, 0, 4, 0), tabs->m_rcTextMargin);
    EXPECT_EQ(2, tabs->m_nToolTipBehaviour);
    EXPECT_TRUE(tabs->m_bClearTypeTextQuality) << "the owner's ClearType setting";
}

TEST(RibbonPainterTest, ImageNamesTakeTheContextColourWord)
{
    const char* words[] = {"", "BLUE", "YELLOW", "GREEN", "RED", "PURPLE", "CYAN", "ORANGE"};
    for (int color = 1; color <= 7; ++color)
    {
        EXPECT_STREQ(words[color], COSMRibbonPaintManager::GetContextColorWord(color));
        const CString name = COSMRibbonPaintManager::FormatImageName(
            "CONTEXTTAB%sCLIENT", COSMRibbonPaintManager::GetContextColorWord(color));
        EXPECT_EQ(CString("CONTEXTTAB") + words[color] + "CLIENT", name);
        // Every name the painter makes is in the resources.
        for (const char* pattern :
             {"CONTEXTTAB%s", "CONTEXTTAB%sCLIENT", "CONTEXTTAB%sGROUPBUTTON", "ContextTab%sHeader"})
            EXPECT_NE(nullptr, COSMOffice2007Images::Instance()->LoadImage(
                                   COSMRibbonPaintManager::FormatImageName(pattern, words[color])))
                << pattern << " " << words[color];
    }
    EXPECT_EQ(CString("CONTEXTTABCLIENT"), COSMRibbonPaintManager::FormatImageName(
                                               "CONTEXTTAB%sCLIENT", COSMRibbonPaintManager::GetContextColorWord(9)));
    EXPECT_STREQ("", COSMRibbonPaintManager::GetContextColorWord(0));
}

TEST(RibbonPainterTest, AGroupOptionButtonMeasuresTheSameWhetherDrawnOrNot)
{
    MetricsPaintManager pm;
    COSMRibbonPaintManager* painter = RibbonPainterOf(pm);
    ASSERT_NE(nullptr, painter);
    DcTestSurface canvas(40, 40, RGB(1, 2, 3));
    EXPECT_EQ(CSize(15, 14), painter->DrawControlGroupOption(canvas.dc(), nullptr, FALSE));
    EXPECT_EQ(CSize(15, 14), painter->DrawControlGroupOption(canvas.dc(), nullptr, TRUE));
}

namespace {

class GlassCaptionTextTest : public ::testing::Test, protected ThemeStubLibrary
{
protected:
    GlassCaptionTextTest() : ThemeStubLibrary(FALSE) {}
    void SetUp() override
    {
        SetUpThemeStub();
        painter = RibbonPainterOf(pm);
        ASSERT_NE(nullptr, painter);
        frame = ::CreateWindowExA(0, "STATIC", "Frame", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                                  nullptr);
        wnd.Attach(frame);
    }
    void TearDown() override
    {
        wnd.Detach();
        ::DestroyWindow(frame);
    }
    // The pixels of the text drawn plainly in the colour.
    std::vector<COLORREF> PlainText(COLORREF colour, CRect rc)
    {
        DcTestSurface expected(120, 24, kBack);
        CDC* dc = expected.dc();
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(colour);
        ::DrawTextA(dc->GetSafeHdc(), "Title", -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        return expected.All();
    }
    std::vector<COLORREF> Drawn(CRect rc, BOOL active)
    {
        DcTestSurface drawn(120, 24, kBack);
        drawn.dc()->SetBkMode(TRANSPARENT);
        drawn.dc()->SetTextColor(RGB(9, 99, 199));
        painter->DrawDwmCaptionText(m_functions, drawn.dc(), rc, "Title", &wnd, active);
        return drawn.All();
    }

    static constexpr COLORREF kBack = RGB(120, 130, 140);
    MetricsPaintManager pm;
    COSMRibbonPaintManager* painter = nullptr;
    HWND frame = nullptr;
    CWnd wnd;
};

}  // namespace

TEST_F(GlassCaptionTextTest, MaximizedWhiteUnthemedBlackAndEveryFailureStillDrawsTheText)
{
    const CRect rc(10, 2, 110, 22);
    CRect grown = rc;
    grown.InflateRect(5, 0);

    ::SetWindowLongA(frame, GWL_STYLE, ::GetWindowLongA(frame, GWL_STYLE) | WS_MAXIMIZE);
    EXPECT_EQ(PlainText(RGB(255, 255, 255), rc), Drawn(rc, TRUE));
    EXPECT_EQ(0, Calls(CThemeStubState::kBeginBufferedPaint));
    ::SetWindowLongA(frame, GWL_STYLE, ::GetWindowLongA(frame, GWL_STYLE) & ~WS_MAXIMIZE);

    const struct
    {
        const char* name;
        BOOL appThemed;
        BOOL bufferFails;
        HRESULT textResult;
    } failures[] = {
        {"unthemed", FALSE, FALSE, S_OK}, {"no buffer", TRUE, TRUE, S_OK}, {"themed text fails", TRUE, FALSE, E_FAIL}};
    for (const auto& c : failures)
    {
        SCOPED_TRACE(c.name);
        ResetThemeStub(m_stub);
        m_stub->appThemed = c.appThemed;
        m_stub->bufferFails = c.bufferFails;
        m_stub->textExResult = c.textResult;
        const std::vector<COLORREF> drawn = Drawn(rc, TRUE);
        EXPECT_EQ(PlainText(RGB(0, 0, 0), grown), drawn);
        EXPECT_NE(PlainText(RGB(0, 0, 0), grown), std::vector<COLORREF>(drawn.size(), kBack));
    }

    // Themed: through the buffer, glowing, in black, with the options record's own size.
    ResetThemeStub(m_stub);
    const std::vector<COLORREF> drawn = Drawn(rc, FALSE);
    EXPECT_EQ(1, Calls(CThemeStubState::kBeginBufferedPaint));
    EXPECT_EQ(1, Calls(CThemeStubState::kDrawThemeTextEx));
    EXPECT_EQ(static_cast<DWORD>(sizeof(DTTOPTS)), m_stub->lastOptionsSize);
    EXPECT_EQ(static_cast<DWORD>(DTT_COMPOSITED | DTT_GLOWSIZE), m_stub->lastOptionsFlags);
    EXPECT_EQ(TRUE, m_stub->lastState) << "the buffer reaches the target";
    EXPECT_EQ(std::vector<COLORREF>(drawn.size(), kBack), drawn) << "the stand-in library draws nothing itself";
}
