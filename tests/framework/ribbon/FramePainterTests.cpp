// The frame painter with the production Office 2007 resources (this program links them): its metrics and colours
// through a test manager's metrics, the frame region, caption buttons, the caption text and the frame's icons.
#include "PaintManagerTestSupport.h"
#include "PainterTestIcons.h"

#include "classlib/FrameMessages.h"
#include "classlib/FrameWnd.h"
#include "framework/ribbon/FramePaintManager.h"
#include "framework/ribbon/RibbonFrame.h"
#include "framework/themes/Office2007Images.h"
#include "tests/support/DcTestSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using foundation_test::DcTestSurface;
using foundation_test::MetricsPaintManager;

namespace {

COLORREF WindowColor(LPCSTR key)
{
    return COSMOffice2007Images::Instance()->GetImageColor("Window", key);
}

COSMFramePaintManager* FramePainterOf(COSMPaintManager& pm)
{
    return dynamic_cast<COSMFramePaintManager*>(pm.GetFramePaintManager());
}

// A plain top-level window of the test's, destroyed with the object.
struct TestWindow
{
    explicit TestWindow(DWORD style, DWORD exStyle = 0, LPCSTR text = "Frame")
    {
        hwnd = ::CreateWindowExA(exStyle, "STATIC", text, style, 0, 0, 200, 120, nullptr, nullptr, nullptr, nullptr);
        wnd.Attach(hwnd);
    }
    ~TestWindow()
    {
        wnd.Detach();
        ::DestroyWindow(hwnd);
    }
    HWND hwnd;
    CWnd wnd;
};

}  // namespace

TEST(FramePainterTest, CaptionHeightAndFontFollowTheOwnersMetrics)
{
    const struct
    {
        int systemCaption;
        LONG fontHeight;
        int captionHeight;
        LONG madeHeight;
    } cases[] = {{15, -9, 17, -11}, {22, -12, 22, -12}, {17, -10, 17, -11}, {30, -1, 30, -11}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.systemCaption);
        MetricsPaintManager pm;
        pm.systemMetrics[SM_CYCAPTION] = c.systemCaption;
        pm.captionFontHeight = c.fontHeight;
        COSMFramePaintManager* painter = FramePainterOf(pm);
        ASSERT_NE(nullptr, painter);
        EXPECT_EQ(c.captionHeight, painter->GetCaptionHeight());
        LOGFONTA logFont{};
        ASSERT_TRUE(::GetObjectA(painter->GetCaptionFont().GetSafeHandle(), sizeof logFont, &logFont));
        EXPECT_EQ(c.madeHeight, logFont.lfHeight);
        EXPECT_EQ(FW_NORMAL, logFont.lfWeight) << "the caption reads in the regular weight";
    }
}

TEST(FramePainterTest, AnApplicationCaptionFontSurvivesRefreshes)
{
    MetricsPaintManager pm;
    COSMFramePaintManager* painter = FramePainterOf(pm);
    ASSERT_NE(nullptr, painter);
    LOGFONTA own{};
    own.lfHeight = -30;
    lstrcpyA(own.lfFaceName, "Tahoma");
    const HFONT font = ::CreateFontIndirectA(&own);
    painter->GetCaptionFont().SetCustomFont(font);
    pm.captionFontHeight = -9;
    pm.RefreshMetrics();
    EXPECT_EQ(font, painter->GetCaptionFont().GetSafeHandle());
}

TEST(FramePainterTest, ElevenColoursComeFromTheWindowSection)
{
    MetricsPaintManager pm;
    COSMFramePaintManager* painter = FramePainterOf(pm);
    ASSERT_NE(nullptr, painter);
    const char* active[] = {"BorderActive0", "BorderActive1", "BorderActive2", "BorderActive3"};
    const char* inactive[] = {"BorderInactive0", "BorderInactive1", "BorderInactive2", "BorderInactive3"};
    for (int i = 0; i < 4; ++i)
    {
        ASSERT_NE(static_cast<COLORREF>(-1), WindowColor(active[i])) << active[i];
        EXPECT_EQ(WindowColor(active[i]), painter->GetBorderColor(TRUE, i));
        EXPECT_EQ(WindowColor(inactive[i]), painter->GetBorderColor(FALSE, i));
    }
    EXPECT_EQ(WindowColor("CaptionTextActive"), painter->GetCaptionTextColor(TRUE));
    EXPECT_EQ(WindowColor("CaptionTextInActive"), painter->GetCaptionTextColor(FALSE));
    EXPECT_EQ(WindowColor("CaptionTextActiveTitle"), painter->GetCaptionTextActiveTitleColor());
    // Three different colours, so the checks above tell them apart.
    EXPECT_NE(painter->GetCaptionTextColor(TRUE), painter->GetCaptionTextColor(FALSE));
    EXPECT_NE(painter->GetCaptionTextColor(TRUE), painter->GetCaptionTextActiveTitleColor());
}

TEST(FramePainterTest, TheRegionCutsTheCornersAndLeavesOutRectanglesWithoutArea)
{
    MetricsPaintManager pm;
    COSMFramePaintManager* painter = FramePainterOf(pm);
    ASSERT_NE(nullptr, painter);

    HRGN square = painter->CreateFrameRegion(nullptr, 100, 80);
    ASSERT_NE(nullptr, square);
    const struct
    {
        int x, y;
        BOOL inside;
    } points[] = {{3, 0, FALSE},  {4, 0, TRUE},   {95, 0, TRUE},  {96, 0, FALSE}, {1, 1, FALSE},  {2, 1, TRUE},
                  {97, 1, TRUE},  {98, 1, FALSE}, {0, 2, FALSE},  {1, 2, TRUE},   {0, 3, FALSE},  {98, 3, TRUE},
                  {99, 3, FALSE}, {0, 4, TRUE},   {99, 50, TRUE}, {0, 79, TRUE},  {99, 79, TRUE}, {100, 40, FALSE}};
    for (const auto& p : points)
        EXPECT_EQ(p.inside, ::PtInRegion(square, p.x, p.y)) << p.x << ", " << p.y;
    RECT box{};
    ::GetRgnBox(square, &box);
    EXPECT_EQ(CRect(0, 0, 100, 80), CRect(box));
    ::DeleteObject(square);

    // A frame smaller than its corners still gets a valid region.
    HRGN tiny = painter->CreateFrameRegion(nullptr, 6, 6);
    ASSERT_NE(nullptr, tiny);
    ::GetRgnBox(tiny, &box);
    EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= 6 && box.bottom <= 6);
    EXPECT_TRUE(::PtInRegion(tiny, 3, 3));
    ::DeleteObject(tiny);
    EXPECT_EQ(nullptr, painter->CreateFrameRegion(nullptr, 0, 0));
}

TEST(FramePainterTest, AMaximizedFrameHasNoRegionAndAStatusBarCutsTheBottom)
{
    MetricsPaintManager pm;
    COSMFramePaintManager* painter = FramePainterOf(pm);
    ASSERT_NE(nullptr, painter);
    TestWindow frame(WS_OVERLAPPEDWINDOW);
    HWND statusBar =
        ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 100, 200, 20, frame.hwnd,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(AFX_IDW_STATUS_BAR)), nullptr, nullptr);
    ASSERT_NE(nullptr, statusBar);
    // The status bar counts only while it shows.
    ::ShowWindow(frame.hwnd, SW_SHOWNOACTIVATE);
    COSMRibbonFrame ribbonFrame(&frame.wnd);
    ribbonFrame.EnableFrameDrawing();

    const struct
    {
        const char* name;
        int border;
        BOOL cut;
    } cases[] = {{"border 4", 4, TRUE}, {"border 3", 3, FALSE}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ribbonFrame.SetFrameBorder(c.border);
        HRGN region = painter->CreateFrameRegion(&ribbonFrame, 100, 80);
        ASSERT_NE(nullptr, region);
        EXPECT_NE(c.cut, ::PtInRegion(region, 0, 76));
        EXPECT_TRUE(::PtInRegion(region, 1, 76));
        EXPECT_NE(c.cut, ::PtInRegion(region, 1, 78));
        EXPECT_TRUE(::PtInRegion(region, 2, 78));
        EXPECT_NE(c.cut, ::PtInRegion(region, 3, 79));
        EXPECT_TRUE(::PtInRegion(region, 4, 79));
        ::DeleteObject(region);
    }

    ::SetWindowLongA(frame.hwnd, GWL_STYLE, ::GetWindowLongA(frame.hwnd, GWL_STYLE) | WS_MAXIMIZE);
    EXPECT_EQ(nullptr, painter->CreateFrameRegion(&ribbonFrame, 100, 80));
}

TEST(FramePainterTest, CaptionButtonsPickTheirGlyphBySizeAndStateByActivity)
{
    MetricsPaintManager pm;
    COSMFramePaintManager* painter = FramePainterOf(pm);
    ASSERT_NE(nullptr, painter);
    const COLORREF back = RGB(1, 2, 3);
    const struct
    {
        const char* name;
        int width;
        UINT id;
        BOOL selected, pressed, active;
        const char* glyph;
        int glyphState;
        int backgroundState;  // -1 none
    } cases[] = {
        {"close 26", 26, SC_CLOSE, FALSE, FALSE, TRUE, "FRAMECAPTIONCLOSE17", 0, -1},
        {"minimize 14", 14, SC_MINIMIZE, TRUE, FALSE, TRUE, "FRAMECAPTIONMINIMIZE13", 1, 0},
        {"maximize 30", 30, SC_MAXIMIZE, TRUE, TRUE, TRUE, "FRAMECAPTIONMAXIMIZE23", 2, 1},
        {"restore inactive", 26, SC_RESTORE, FALSE, FALSE, FALSE, "FRAMECAPTIONRESTORE17", 3, -1},
        {"other id hot inactive", 26, 0x1234, TRUE, FALSE, FALSE, "FRAMECAPTIONRESTORE17", 3, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const CRect rc(2, 2, 2 + c.width, 24);
        DcTestSurface drawn(40, 28, back);
        painter->DrawFrameCaptionButton(drawn.dc(), rc, c.id, c.selected, c.pressed, c.active);

        // The same pieces drawn straight from the images.
        DcTestSurface expected(40, 28, back);
        if (c.backgroundState >= 0)
        {
            COSMOffice2007Image* background = painter->LoadImage("FRAMECAPTIONBUTTON");
            ASSERT_NE(nullptr, background);
            background->DrawImage(expected.dc(), rc, background->GetStateRect(c.backgroundState, 2), CRect(3, 3, 3, 3),
                                  RGB(255, 0, 255));
        }
        COSMOffice2007Image* glyph = painter->LoadImage(c.glyph);
        ASSERT_NE(nullptr, glyph);
        const CRect source = glyph->GetStateRect(c.glyphState, 5);
        const CPoint origin((rc.left + rc.right - source.Width()) / 2, (rc.top + rc.bottom - source.Height()) / 2);
        glyph->DrawImage(expected.dc(), CRect(origin, source.Size()), source, CRect(0, 0, 0, 0), RGB(255, 0, 255));
        EXPECT_EQ(expected.All(), drawn.All());
        EXPECT_GT(drawn.CountNot(back), 0);
    }
}

TEST(FramePainterTest, ThePrefixedTitleIsDrawnInTwoColoursAndOtherTextsWhole)
{
    MetricsPaintManager pm;
    COSMFramePaintManager* painter = FramePainterOf(pm);
    ASSERT_NE(nullptr, painter);
    // A font without smoothing, so that the text's pixels are exactly its colour.
    LOGFONTA logFont{};
    logFont.lfHeight = -13;
    logFont.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpyA(logFont.lfFaceName, "Tahoma");
    painter->GetCaptionFont().SetCustomFont(::CreateFontIndirectA(&logFont));

    CFrameWnd frame;
    ASSERT_TRUE(frame.Create(nullptr, "Osmira", WS_OVERLAPPEDWINDOW | FWS_PREFIXTITLE, CRect(0, 0, 300, 100)));
    const COLORREF back = RGB(250, 250, 250);
    const CRect rc(0, 0, 300, 24);
    auto colourColumns = [&](COLORREF colour, const DcTestSurface& surface) {
        int first = -1, last = -1;
        for (int x = 0; x < surface.Width(); ++x)
            for (int y = 0; y < surface.Height(); ++y)
                if (surface.Pixel(x, y) == colour)
                {
                    first = first < 0 ? x : first;
                    last = x;
                }
        return std::make_pair(first, last);
    };
    const COLORREF text = painter->GetCaptionTextColor(TRUE);
    const COLORREF title = painter->GetCaptionTextActiveTitleColor();

    frame.SetWindowText("Report.txt - Osmira");
    {
        DcTestSurface drawn(300, 24, back);
        painter->DrawCaptionText(drawn.dc(), rc, &frame, TRUE);
        const auto prefix = colourColumns(text, drawn);
        const auto app = colourColumns(title, drawn);
        ASSERT_GE(prefix.first, 0);
        ASSERT_GE(app.first, 0) << "the application title in its own colour";
        EXPECT_LT(prefix.second, app.first);
    }
    {
        // Inactive: both pieces in the inactive text colour.
        DcTestSurface drawn(300, 24, back);
        painter->DrawCaptionText(drawn.dc(), rc, &frame, FALSE);
        EXPECT_EQ(-1, colourColumns(title, drawn).first);
        EXPECT_GE(colourColumns(painter->GetCaptionTextColor(FALSE), drawn).first, 0);
    }
    const struct
    {
        const char* name;
        const char* text;
        DWORD exStyle;
    } whole[] = {{"does not end with the title", "Osmira - Report.txt", 0},
                 {"right to left", "Report.txt - Osmira", WS_EX_LAYOUTRTL}};
    for (const auto& c : whole)
    {
        SCOPED_TRACE(c.name);
        frame.SetWindowText(c.text);
        ::SetWindowLongA(frame.GetSafeHwnd(), GWL_EXSTYLE, c.exStyle);
        DcTestSurface drawn(300, 24, back);
        painter->DrawCaptionText(drawn.dc(), rc, &frame, TRUE);
        EXPECT_EQ(-1, colourColumns(title, drawn).first);
        EXPECT_GE(colourColumns(text, drawn).first, 0);
    }
    frame.DestroyWindow();
}

TEST(FramePainterTest, IconsFollowTheirChainAndToolWindowsHaveNone)
{
    EXPECT_EQ(nullptr, COSMFramePaintManager::GetFrameSmallIcon(nullptr));
    EXPECT_EQ(nullptr, COSMFramePaintManager::GetFrameIcon(nullptr));
    {
        TestWindow tool(WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW);
        EXPECT_EQ(nullptr, COSMFramePaintManager::GetFrameSmallIcon(&tool.wnd));
        TestWindow noMenu(WS_OVERLAPPED | WS_CAPTION);
        EXPECT_EQ(nullptr, COSMFramePaintManager::GetFrameSmallIcon(&noMenu.wnd));
    }
    TestWindow frame(WS_OVERLAPPEDWINDOW);
    // Nothing of its own: the drag icon or the system's at the end of the chain.
    EXPECT_NE(nullptr, COSMFramePaintManager::GetFrameSmallIcon(&frame.wnd));
    HICON small = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_QUESTION));
    HICON big = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_EXCLAMATION));
    ::SendMessageA(frame.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    ::SendMessageA(frame.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    EXPECT_EQ(small, COSMFramePaintManager::GetFrameSmallIcon(&frame.wnd));
    EXPECT_EQ(big, COSMFramePaintManager::GetFrameIcon(&frame.wnd));
}

TEST(FramePainterTest, DrawFramePaintsTheBorderColumnsAndTheBottomInTheFramesState)
{
    MetricsPaintManager pm;
    COSMFramePaintManager* painter = FramePainterOf(pm);
    ASSERT_NE(nullptr, painter);
    TestWindow frame(WS_OVERLAPPEDWINDOW);
    COSMRibbonFrame ribbonFrame(&frame.wnd);
    CRect window;
    CRect client;
    ::GetWindowRect(frame.hwnd, &window);
    ::GetClientRect(frame.hwnd, &client);
    ::ClientToScreen(frame.hwnd, reinterpret_cast<POINT*>(&client.left));
    ::ClientToScreen(frame.hwnd, reinterpret_cast<POINT*>(&client.right));
    const int W = window.Width();
    const int H = window.Height();
    const int b = client.left - window.left;
    const int d = window.bottom - client.bottom;
    ASSERT_GE(b, 3) << "a sizable frame's border";
    const int top = ribbonFrame.GetCaptionHeight();
    const int y = (top + H) / 2;
    const COLORREF canvas = RGB(1, 2, 3);
    for (const BOOL active : {TRUE, FALSE})
    {
        SCOPED_TRACE(active);
        ribbonFrame.SetActive(active);
        DcTestSurface drawn(W, H, canvas);
        painter->DrawFrame(drawn.dc(), &ribbonFrame);
        auto color = [&](int i) { return painter->GetBorderColor(active, i); };
        for (int i = 0; i < 3; ++i)
        {
            EXPECT_EQ(color(i), drawn.Pixel(i, y)) << "left column " << i;
            EXPECT_EQ(color(i), drawn.Pixel(W - 1 - i, y)) << "right column " << i;
        }
        if (b > 3)
        {
            EXPECT_EQ(color(3), drawn.Pixel(3, y));
            EXPECT_EQ(color(3), drawn.Pixel(W - b, y));
        }
        EXPECT_EQ(color(0), drawn.Pixel(W / 2, H - 1)) << "the bottom line";
        if (d > 1)
        {
            EXPECT_EQ(color(3), drawn.Pixel(W / 2, H - 2)) << "the bottom band";
        }
        // The caption band is drawn from the frame's pictures, the client area left alone.
        EXPECT_NE(canvas, drawn.Pixel(W / 2, 1));
        EXPECT_EQ(canvas, drawn.Pixel(W / 2, y));
    }
    // The two states differ where their colours do.
    ASSERT_NE(painter->GetBorderColor(TRUE, 0), painter->GetBorderColor(FALSE, 0));
}

namespace {

TEST(FramePainterTest, TheRibbonLookAsksForThemedFramesAndOtherLooksDoNot)
{
    COSMPaintManager::RegisterThemes();
    struct LookCase
    {
        int id;
        BOOL themed;
    } const cases[] = {{6, TRUE}, {5, FALSE}, {0, FALSE}};
    for (const LookCase& c : cases)
    {
        SCOPED_TRACE("theme " + std::to_string(c.id));
        std::unique_ptr<COSMPaintManager> look(COSMPaintManager::CreateTheme(c.id));
        ASSERT_NE(look, nullptr);
        COSMFramePaintManager* painter = FramePainterOf(*look);
        ASSERT_NE(painter, nullptr);
        EXPECT_EQ(painter->IsThemedFrame(), c.themed);
    }
}

}  // namespace

namespace {

// The smallest x at which two drawings differ, or -1.
int FirstDifferingColumn(const DcTestSurface& a, const DcTestSurface& b)
{
    int first = -1;
    for (int y = 0; y < a.Height(); ++y)
    {
        for (int x = 0; x < a.Width(); ++x)
        {
            if (a.Pixel(x, y) != b.Pixel(x, y) && (first < 0 || x < first))
                first = x;
        }
    }
    return first;
}

TEST(FramePainterTest, TheFullCaptionPutsTheSmallIconAtSevenAndTheTitleAfterIt)
{
    MetricsPaintManager pm;
    COSMFramePaintManager* painter = FramePainterOf(pm);
    ASSERT_NE(nullptr, painter);
    const COLORREF iconColor = RGB(200, 30, 40);
    HICON icon = painter_test::SolidIcon(16, iconColor);
    const struct
    {
        DWORD style;
        bool icon;
        int titleFrom;
    } cases[] = {
        {WS_OVERLAPPEDWINDOW, true, 16 + 12},
        // Without a system menu there is no icon and the title starts at 7.
        {WS_POPUP | WS_CAPTION | WS_THICKFRAME, false, 7},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.titleFrom);
        TestWindow frame(c.style, 0, "Wide title");
        ::SendMessageA(frame.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        COSMRibbonFrame ribbonFrame(&frame.wnd);
        ASSERT_TRUE(ribbonFrame.IsCaptionStandard());
        CRect window;
        ::GetWindowRect(frame.hwnd, &window);
        const int top = ribbonFrame.GetCaptionHeight();
        const int border = ribbonFrame.GetFrameBorder();
        const int y = (border - 1) + ((top - (border - 1)) - 16 - 1) / 2;

        DcTestSurface drawn(window.Width(), window.Height(), RGB(1, 2, 3));
        painter->DrawFrame(drawn.dc(), &ribbonFrame);
        const CRect iconRect(CPoint(7, y), CSize(16, 16));
        EXPECT_EQ(c.icon, drawn.AllPixels(iconRect, iconColor));
        EXPECT_NE(iconColor, drawn.Pixel(6, y + 8));
        EXPECT_NE(iconColor, drawn.Pixel(23, y + 8));

        // The title is what differs from the same caption without text.
        ::SetWindowTextA(frame.hwnd, "");
        DcTestSurface untitled(window.Width(), window.Height(), RGB(1, 2, 3));
        painter->DrawFrame(untitled.dc(), &ribbonFrame);
        const int first = FirstDifferingColumn(drawn, untitled);
        EXPECT_GE(first, c.titleFrom);
        EXPECT_LE(first, c.titleFrom + 2) << "a glyph's side bearing at most";
    }
    ::DestroyIcon(icon);
}

TEST(FramePainterTest, TheStatusBarPiecesStandBesideTheStatusBarAndTheCornersOnlyBesideAThickBorder)
{
    MetricsPaintManager pm;
    COSMFramePaintManager* painter = FramePainterOf(pm);
    ASSERT_NE(nullptr, painter);
    COSMOffice2007Image* light = COSMOffice2007Images::Instance()->LoadImage("STATUSBARLIGHT");
    COSMOffice2007Image* corner = COSMOffice2007Images::Instance()->LoadImage("FRAMEBOTTOMLEFT");
    ASSERT_NE(nullptr, light);
    ASSERT_NE(nullptr, corner);
    // The corner's inside, as its picture has it.
    DcTestSurface cornerAlone(8, 8, RGB(1, 2, 3));
    corner->DrawImage(cornerAlone.dc(), CRect(0, 0, 8, 8), corner->GetStateRect(0, 2), CRect(0, 0, 0, 0),
                      RGB(255, 0, 255));
    const COLORREF cornerInside = cornerAlone.Pixel(5, 2);

    const struct
    {
        DWORD style;
        bool thick;
    } cases[] = {{WS_OVERLAPPEDWINDOW, true}, {WS_POPUP | WS_CAPTION | WS_SYSMENU, false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.thick);
        TestWindow frame(c.style);
        CRect client;
        ::GetClientRect(frame.hwnd, &client);
        HWND statusBar = ::CreateWindowExA(
            0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, client.bottom - 22, client.Width(), 22, frame.hwnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(AFX_IDW_STATUS_BAR)), nullptr, nullptr);
        ASSERT_NE(nullptr, statusBar);
        ::ShowWindow(frame.hwnd, SW_SHOWNA);
        COSMRibbonFrame ribbonFrame(&frame.wnd);
        ribbonFrame.EnableFrameDrawing(TRUE);
        int s = 0;
        ASSERT_TRUE(ribbonFrame.GetStatusBarHeight(&s));
        ribbonFrame.SetActive(TRUE);
        CRect window;
        ::GetWindowRect(frame.hwnd, &window);
        CRect screenClient = client;
        ::ClientToScreen(frame.hwnd, reinterpret_cast<POINT*>(&screenClient.left));
        ::ClientToScreen(frame.hwnd, reinterpret_cast<POINT*>(&screenClient.right));
        const int W = window.Width();
        const int H = window.Height();
        const int b = screenClient.left - window.left;
        const int d = window.bottom - screenClient.bottom;
        ASSERT_EQ(c.thick, b > 3) << "border " << b;
        ASSERT_GT(b, 1);

        DcTestSurface drawn(W, H, RGB(1, 2, 3));
        painter->DrawFrame(drawn.dc(), &ribbonFrame);
        // The light piece in the left border beside the status bar, above where a corner could be.
        DcTestSurface expected(W, H, RGB(1, 2, 3));
        const CRect piece(1, H - d - s, b, H - d);
        light->DrawImagePart(expected.dc(), piece, CRect(0, 0, b - 1, light->GetExtent().cy), CRect(0, 0, 0, 0));
        for (int y = piece.top; y < std::min<int>(piece.bottom, H - 8); ++y)
        {
            for (int x = piece.left; x < piece.right; ++x)
                ASSERT_EQ(expected.Pixel(x, y), drawn.Pixel(x, y)) << x << ", " << y;
        }
        // The corners reach into the client area, which the frame's drawing leaves alone otherwise.
        ASSERT_LE(d, 5);
        EXPECT_EQ(c.thick ? cornerInside : RGB(1, 2, 3), drawn.Pixel(5, H - 6)) << "the bottom left corner";
        EXPECT_EQ(c.thick ? cornerInside : RGB(1, 2, 3), drawn.Pixel(W - 6, H - 6)) << "the bottom right corner";
        ribbonFrame.EnableFrameDrawing(FALSE);
        EXPECT_FALSE(ribbonFrame.GetStatusBarHeight(&s));
    }
}

}  // namespace
