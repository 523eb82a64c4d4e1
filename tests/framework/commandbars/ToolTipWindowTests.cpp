// The framework's tip windows without the pointer: placement and size rules, cursor heights of real cursors, the
// tool text (callbacks, string ids), the Office 2007 region, the one mouse hook, fills and frames read back from
// DIB sections, and the markup, rich-text and HTML tips' measuring.
#include <gtest/gtest.h>

#include "tests/support/DcTestSurface.h"
#include "OneShotTimer.h"
#include "classlib/DC.h"
#include "framework/controls/ToolTipContextToolTip.h"
#include "framework/controls/HtmlTipHost.h"
#include "framework/controls/ToolTipGradientToolTip.h"
#include "framework/controls/ToolTipHtmlToolTip.h"
#include "framework/controls/ToolTipLayout.h"
#include "framework/controls/ToolTipMarkupToolTip.h"
#include "framework/controls/ToolTipRichTextToolTip.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/ToolTipContext.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupObject.h"
#include "platform/classlib/RefPtr.h"
#include "resources/CommandBarsTestIds.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

using foundation_test::DcTestSurface;

namespace {

// Within one step of a gradient 20 to 30 rows high.
bool Near(COLORREF expected, COLORREF actual)
{
    auto close = [](int a, int b) { return a - b <= 4 && b - a <= 4; };
    return close(GetRValue(expected), GetRValue(actual)) && close(GetGValue(expected), GetGValue(actual)) &&
           close(GetBValue(expected), GetBValue(actual));
}

TEST(ToolTipLayout, PlacementKeepsTheTipOnTheWorkArea)
{
    const CRect work(0, 0, 1000, 700);
    const struct
    {
        const char* what;
        CRect tip;
        CPoint cursor;
        CRect expected;
    } cases[] = {
        {"inside", CRect(100, 120, 200, 140), CPoint(100, 100), CRect(100, 120, 200, 140)},
        {"right edge 4 inside", CRect(950, 120, 1050, 140), CPoint(950, 100), CRect(896, 120, 996, 140)},
        {"left edge clamped", CRect(-30, 120, 70, 140), CPoint(0, 100), CRect(0, 120, 100, 140)},
        {"bottom above the cursor", CRect(100, 690, 200, 710), CPoint(100, 670), CRect(100, 647, 200, 667)},
        {"corner", CRect(980, 690, 1080, 710), CPoint(990, 670), CRect(896, 647, 996, 667)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, AdjustToolTipRect(c.tip, c.cursor, work)) << c.what;

    EXPECT_EQ(CRect(100, 121, 180, 141), ToolTipRectUnderCursor(CSize(80, 20), CPoint(100, 100), 21, FALSE));
    EXPECT_EQ(CRect(20, 121, 100, 141), ToolTipRectUnderCursor(CSize(80, 20), CPoint(100, 100), 21, TRUE));
}

TEST(ToolTipLayout, SizeRulesForTitlesAndImages)
{
    // Text 100 wide by 14 high at any width that fits it; the requested width is recorded.
    int askedWidth = 0;
    auto text = [&](int width) {
        askedWidth = width;
        return CSize(std::min(width, 100), 14);
    };
    const struct
    {
        const char* what;
        CSize title;
        CSize image;
        int limit;
        CSize expected;
        int expectedAsked;
    } cases[] = {
        {"text only", CSize(), CSize(), 300, CSize(106, 20), 294},
        {"small image, no title", CSize(), CSize(16, 16), 300, CSize(125, 22), 294},
        {"small image beside the title", CSize(60, 13), CSize(16, 16), 300, CSize(131, 55), 269},
        {"large image", CSize(), CSize(32, 32), 300, CSize(143, 38), 294},
        {"title wider than the text", CSize(400, 13), CSize(), 300, CSize(410, 53), 379},
    };
    for (const auto& c : cases)
    {
        COSMToolTipSizeInput input;
        input.titleExtent = c.title;
        input.imageSize = c.image;
        input.widthLimit = c.limit;
        input.measureText = text;
        EXPECT_EQ(c.expected, CalcToolTipSize(input)) << c.what;
        EXPECT_EQ(c.expectedAsked, askedWidth) << c.what;
    }
    COSMToolTipSizeInput margins;
    margins.widthLimit = 300;
    margins.margin = CRect(1, 2, 3, 4);
    margins.measureText = text;
    EXPECT_EQ(CSize(100 + 10, 14 + 12), CalcToolTipSize(margins));
}

// A monochrome cursor whose visible pixels end at row lastRow (inclusive), hot spot at hotY.
HCURSOR MakeCursor(int size, int lastRow, int hotY)
{
    const int rowBytes = size / 8;
    std::vector<BYTE> andMask(rowBytes * size, 0xFF);
    std::vector<BYTE> xorMask(rowBytes * size, 0x00);
    for (int row = 0; row <= lastRow; ++row)
        andMask[row * rowBytes] = 0x7F;  // the first pixel of the row is black
    return ::CreateCursor(::GetModuleHandleA(nullptr), 0, hotY, size, size, andMask.data(), xorMask.data());
}

TEST(ToolTipLayout, CursorHeightsReadTheWholeMask)
{
    const struct
    {
        int size;
        int lastRow;
        int hotY;
        int expected;
    } cases[] = {
        {32, 18, 0, 19},
        {32, 31, 4, 28},
        // Past the first 256 bytes of the mask: a 48 x 48 cursor's AND rows run to byte 288.
        {48, 40, 0, 41},
        {48, 47, 2, 46},
    };
    for (const auto& c : cases)
    {
        HCURSOR cursor = MakeCursor(c.size, c.lastRow, c.hotY);
        ASSERT_NE(nullptr, cursor);
        EXPECT_EQ(c.expected, COSMToolTipContextToolTip::GetCursorHeight(cursor)) << c.size << " " << c.lastRow;
        ::DestroyCursor(cursor);
    }
    EXPECT_EQ(21, COSMToolTipContextToolTip::GetCursorHeight(nullptr));
}

class ToolTipWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 20, 20, 300, 200, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, owner);
        context = AdoptRef(new COSMToolTipContext);
    }
    void TearDown() override
    {
        context = nullptr;
        ::DestroyWindow(owner);
    }
    void AddTool(COSMToolTipContextToolTip& tip, UINT_PTR id, LPSTR text, HINSTANCE hinst = nullptr,
                 HWND hwnd = nullptr)
    {
        TOOLINFOA info{};
        info.cbSize = TTTOOLINFOA_V1_SIZE;
        info.hwnd = hwnd ? hwnd : owner;
        info.uId = id;
        info.rect = CRect(0, 0, 50, 20);
        info.hinst = hinst;
        info.lpszText = text;
        tip.SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }

    HWND owner = nullptr;
    RefPtr<COSMToolTipContext> context;
};

// Answers TTN_NEEDTEXT with a string id of this module, counting the questions.
int g_needTextCount = 0;
LRESULT CALLBACK NeedTextProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TTN_NEEDTEXTA)
    {
        ++g_needTextCount;
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        if (info->hdr.idFrom == 1)
        {
            info->hinst = ::GetModuleHandleA(nullptr);
            info->lpszText = MAKEINTRESOURCEA(ID_TEST_FIND);
        }
        else
        {
            std::strcpy(info->szText, "&Copied");
        }
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

TEST_F(ToolTipWindowTest, ToolTextsFromCallbacksStringIdsAndStrings)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &NeedTextProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OsmTestNeedText";
    ::RegisterClassA(&windowClass);
    HWND asker = ::CreateWindowExA(0, "OsmTestNeedText", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    context->ModifyToolTipStyle(TTS_NOPREFIX, 0);
    COSMToolTipContextToolTip tip(context.Get());
    ASSERT_TRUE(tip.Create(CWnd::FromHandle(owner), context->GetToolTipStyle() | 3));
    AddTool(tip, 1, LPSTR_TEXTCALLBACKA, nullptr, asker);
    AddTool(tip, 2, LPSTR_TEXTCALLBACKA, nullptr, asker);
    AddTool(tip, 3, MAKEINTRESOURCEA(ID_TEST_FIND), ::GetModuleHandleA(nullptr));
    AddTool(tip, 4, nullptr);
    ASSERT_EQ(4, tip.GetToolCount());

    g_needTextCount = 0;
    COSMToolTipToolRecord* fromId = tip.FindTool(asker, 1);
    COSMToolTipToolRecord* fromCallback = tip.FindTool(asker, 2);
    ASSERT_NE(nullptr, fromId);
    ASSERT_NE(nullptr, fromCallback);
    for (int round = 0; round < 2; ++round)
    {
        EXPECT_EQ(CString("Find the specified text"), tip.GetToolText(*fromId));
        EXPECT_EQ(CString("Copied"), tip.GetToolText(*fromCallback));
    }
    EXPECT_EQ(2, g_needTextCount);

    // A string id added with its module, and a null text.
    EXPECT_EQ(CString("Find the specified text"), tip.GetToolText(*tip.FindTool(owner, 3)));
    EXPECT_EQ(CString(), tip.GetToolText(*tip.FindTool(owner, 4)));
    CSize size(1, 1);
    tip.CalcTipSize(size, *tip.FindTool(owner, 4));
    EXPECT_EQ(CSize(0, 0), size);
    tip.CalcTipSize(size, *tip.FindTool(owner, 3));
    EXPECT_GT(size.cx, 6);

    // A deleted tool is gone from the list.
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = owner;
    info.uId = 4;
    tip.SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(nullptr, tip.FindTool(owner, 4));
    EXPECT_EQ(3, tip.GetToolCount());
    tip.DestroyWindow();
    ::DestroyWindow(asker);
}

TEST_F(ToolTipWindowTest, TheOffice2007RegionCutsTheFourCorners)
{
    COSMToolTipContextToolTip tip(context.Get());
    ASSERT_TRUE(tip.Create(CWnd::FromHandle(owner), COSMToolTipContext::kStyleOffice2007 | 3));
    tip.SetWindowPos(nullptr, 0, 0, 40, 20, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    tip.SetRoundRegion(40, 20);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(tip.GetSafeHwnd(), region));
    const DWORD bytes = ::GetRegionData(region, 0, nullptr);
    std::vector<BYTE> buffer(bytes);
    ASSERT_EQ(bytes, ::GetRegionData(region, bytes, reinterpret_cast<RGNDATA*>(buffer.data())));
    const auto* data = reinterpret_cast<const RGNDATA*>(buffer.data());
    ASSERT_EQ(3u, data->rdh.nCount);
    const RECT* parts = reinterpret_cast<const RECT*>(data->Buffer);
    EXPECT_EQ(CRect(1, 0, 39, 1), CRect(parts[0]));
    EXPECT_EQ(CRect(0, 1, 40, 19), CRect(parts[1]));
    EXPECT_EQ(CRect(1, 19, 39, 20), CRect(parts[2]));
    ::DeleteObject(region);
    tip.DestroyWindow();
}

TEST_F(ToolTipWindowTest, OnlyOneWindowHoldsTheMouseHook)
{
    COSMToolTipContextToolTip first(context.Get());
    COSMToolTipContextToolTip second(context.Get());
    ASSERT_TRUE(first.Create(CWnd::FromHandle(owner), 3));
    ASSERT_TRUE(second.Create(CWnd::FromHandle(owner), 3));
    first.SetMouseHook(TRUE);
    EXPECT_EQ(&first, COSMToolTipContextToolTip::GetMouseHookOwner());
    second.SetMouseHook(TRUE);
    EXPECT_EQ(&first, COSMToolTipContextToolTip::GetMouseHookOwner());
    second.SetMouseHook(FALSE);
    EXPECT_EQ(&first, COSMToolTipContextToolTip::GetMouseHookOwner());
    // Destroying the window gives the hook up.
    first.DestroyWindow();
    EXPECT_EQ(nullptr, COSMToolTipContextToolTip::GetMouseHookOwner());
    second.SetMouseHook(TRUE);
    EXPECT_EQ(&second, COSMToolTipContextToolTip::GetMouseHookOwner());
    second.DestroyWindow();
    EXPECT_EQ(nullptr, COSMToolTipContextToolTip::GetMouseHookOwner());
}

TEST_F(ToolTipWindowTest, FillsAndFramesByStyleBits)
{
    const COLORREF back = context->GetTipBkColor();
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    const struct
    {
        const char* what;
        DWORD bits;
        COLORREF top, bottom, frameTopLeft, frameBottomRight;
    } cases[] = {
        {"no bits", 0, back, back, RGB(0, 0, 0), RGB(0, 0, 0)},
        {"0x1000", 0x1000, back, back, face, RGB(0, 0, 0)},
        {"0x4000", 0x4000, RGB(255, 255, 255), RGB(201, 217, 239), RGB(118, 118, 118), RGB(118, 118, 118)},
    };
    for (const auto& c : cases)
    {
        context->ModifyToolTipStyle(0x5000, c.bits);
        COSMToolTipContextToolTip tip(context.Get());
        DcTestSurface surface(60, 30, RGB(9, 9, 9));
        COSMToolTipToolRecord tool;
        tip.DrawBackground(CDC::FromHandle(surface.GetDC()), tool, CRect(0, 0, 60, 30));
        // The rows inside the frame: the gradient's ends, one step in.
        EXPECT_TRUE(Near(c.top, surface.Pixel(30, 1))) << c.what << " " << surface.Pixel(30, 1);
        EXPECT_TRUE(Near(c.bottom, surface.Pixel(30, 28))) << c.what << " " << surface.Pixel(30, 28);
        EXPECT_EQ(c.frameTopLeft, surface.Pixel(0, 15)) << c.what;
        EXPECT_EQ(c.frameTopLeft, surface.Pixel(30, 0)) << c.what;
        EXPECT_EQ(c.frameBottomRight, surface.Pixel(59, 15)) << c.what;
        EXPECT_EQ(c.frameBottomRight, surface.Pixel(30, 29)) << c.what;
    }
}

TEST(ToolTipGradient, ColoursFollowTheVisualStyle)
{
    const COLORREF light = RGB(255, 212, 151), dark = RGB(255, 242, 200), back = RGB(1, 2, 3);
    const struct
    {
        int style;
        COSMToolTipGradientColors expected;
    } cases[] = {
        {COSMColorManager::kStyleLunaBlue, {light, dark, RGB(0, 0, 128)}},
        {COSMColorManager::kStyleRoyale, {light, dark, RGB(0, 0, 128)}},
        {COSMColorManager::kStyleAero, {light, dark, RGB(0, 0, 128)}},
        {COSMColorManager::kStyleLunaOlive, {light, dark, RGB(63, 93, 56)}},
        {COSMColorManager::kStyleLunaSilver, {light, dark, RGB(75, 75, 111)}},
        {COSMColorManager::kStyleNone, {back, RGB(255, 255, 255), RGB(0, 0, 0)}},
    };
    for (const auto& c : cases)
    {
        const COSMToolTipGradientColors colors = ToolTipGradientColors(c.style, back);
        EXPECT_EQ(c.expected.clrTop, colors.clrTop) << c.style;
        EXPECT_EQ(c.expected.clrBottom, colors.clrBottom) << c.style;
        EXPECT_EQ(c.expected.clrFrame, colors.clrFrame) << c.style;
    }
    // The gradient tip draws the current style's colours.
    RefPtr<COSMToolTipContext> context = AdoptRef(new COSMToolTipContext);
    COSMToolTipGradientToolTip tip(context.Get());
    const COSMToolTipGradientColors now =
        ToolTipGradientColors(GetColorManager()->GetVisualStyle(), context->GetTipBkColor());
    DcTestSurface surface(40, 20, RGB(9, 9, 9));
    COSMToolTipToolRecord tool;
    tip.DrawBackground(CDC::FromHandle(surface.GetDC()), tool, CRect(0, 0, 40, 20));
    EXPECT_TRUE(Near(now.clrTop, surface.Pixel(20, 1)));
    EXPECT_TRUE(Near(now.clrBottom, surface.Pixel(20, 18)));
    EXPECT_EQ(now.clrFrame, surface.Pixel(0, 10));
}

TEST_F(ToolTipWindowTest, MarkupTipsMeasureTheirElementPlainTextOrNothing)
{
    const LONG liveBefore = COSMMarkupObject::GetLiveObjectCount();
    {
        COSMToolTipMarkupToolTip tip(context.Get());
        ASSERT_TRUE(tip.Create(CWnd::FromHandle(owner), 3));
        const CSize inset(6, 6);
        const char* markup = "<TextBlock>Markup tip</TextBlock>";
        COSMToolTipToolRecord tool;
        tool.hwnd = owner;
        tool.uId = 1;
        tool.strText = markup;
        CSize size;
        tip.CalcTipSize(size, tool);
        ASSERT_NE(nullptr, tip.GetMarkupElement());
        // The same text measured through the entry functions, as the tip does.
        COSMMarkupContext* markupContext = CreateMarkupContext(nullptr);
        SetMarkupContextDefaultFont(markupContext, *context->GetNormalFont(), context->GetTipTextColor());
        COSMMarkupUIElement* element = ParseMarkup(markupContext, markup);
        const CSize measured = MeasureMarkupElement(element, context->GetMaxTipWidth() - inset.cx, 0x7FFFFFFF);
        ReleaseMarkupElement(&element);
        ReleaseMarkupContext(&markupContext);
        EXPECT_EQ(CSize(measured.cx + 6, measured.cy + 6), size);
        EXPECT_GT(measured.cx, 0);

        // Not markup: the plain tip's size.
        tool.strText = "<not markup";
        tip.CalcTipSize(size, tool);
        EXPECT_EQ(nullptr, tip.GetMarkupElement());
        COSMToolTipContextToolTip plain(context.Get());
        ASSERT_TRUE(plain.Create(CWnd::FromHandle(owner), 3));
        CSize plainSize;
        plain.CalcTipSize(plainSize, tool);
        EXPECT_EQ(plainSize, size);
        EXPECT_GT(plainSize.cx, 6);

        tool.strText = "";
        tip.CalcTipSize(size, tool);
        EXPECT_EQ(CSize(0, 0), size);
        plain.DestroyWindow();
        tip.DestroyWindow();
    }
    EXPECT_EQ(liveBefore, COSMMarkupObject::GetLiveObjectCount());
}

// A loader that finds no rich-edit library: a renderer without text services.
HMODULE NoRichEditLibrary()
{
    return nullptr;
}
PCreateTextServices NoCreateTextServices(HMODULE)
{
    return nullptr;
}
void FreeNoRichEditLibrary(HMODULE) {}

TEST_F(ToolTipWindowTest, RichTextTipsMeasureAndDrawThroughTheRenderer)
{
    COSMToolTipRichTextToolTip tip(context.Get());
    ASSERT_TRUE(tip.Create(CWnd::FromHandle(owner), 3));
    ASSERT_TRUE(tip.GetRenderer().HasTextServices());
    const char* rtf = "{\\rtf1 {\\b Bold} plain}";
    AddTool(tip, 1, const_cast<LPSTR>(rtf));
    COSMToolTipToolRecord* tool = tip.FindTool(owner, 1);
    ASSERT_NE(nullptr, tool);

    CSize size;
    tip.CalcTipSize(size, *tool);
    // The same text measured by a renderer of its own in the tip's format, at the width less the inset.
    const CSize inset = ToolTipInset(context->GetMargin());
    COSMRichTextRenderer renderer;
    const CHARFORMATW format = tip.GetTipCharFormat();
    renderer.SetDefaultCharFormat(&format);
    EXPECT_EQ(10, renderer.SetText(rtf));
    CClientDC dc(&tip);
    const CSize measured = renderer.GetTextExtent(&dc, context->GetMaxTipWidth() - inset.cx);
    ASSERT_GT(measured.cx, 0);
    ASSERT_GT(measured.cy, 0);
    EXPECT_EQ(CSize(measured.cx + inset.cx, measured.cy + inset.cy), size);
    // The format is the context's: its text colour and its normal font's face.
    EXPECT_EQ(context->GetTipTextColor(), format.crTextColor);
    EXPECT_TRUE((format.dwMask & (CFM_SIZE | CFM_FACE)) == (CFM_SIZE | CFM_FACE));
    EXPECT_GT(format.yHeight, 0);

    // With no limit of its own the tip measures against the screen width.
    context->SetMaxTipWidth(-1);
    CSize unlimited;
    tip.CalcTipSize(unlimited, *tool);
    EXPECT_EQ(size, unlimited);

    // Shown, the window takes the size; its paint draws text in the content rectangle and nothing between it and
    // the frame.
    tip.ShowTip(tool);
    ASSERT_TRUE(tip.IsWindowVisible());
    CRect window;
    tip.GetWindowRect(&window);
    EXPECT_EQ(size, window.Size());
    const COLORREF back = context->GetTipBkColor();
    DcTestSurface surface(size.cx, size.cy, RGB(9, 9, 9));
    CDC* pDC = CDC::FromHandle(surface.GetDC());
    const CRect client(CPoint(0, 0), size);
    tip.DrawBackground(pDC, *tool, client);
    pDC->SetBkMode(TRANSPARENT);
    CFont* pOld = pDC->SelectObject(context->GetNormalFont());
    tip.DrawContent(pDC, *tool, client);
    pDC->SelectObject(pOld);
    const CRect content(3 + context->GetMargin().left, 3 + context->GetMargin().top,
                        size.cx - 3 - context->GetMargin().right, size.cy - 3 - context->GetMargin().bottom);
    int inked = 0, strayed = 0;
    for (int y = 1; y < size.cy - 1; ++y)
        for (int x = 1; x < size.cx - 1; ++x)
            if (surface.Pixel(x, y) != back)
                ++(content.PtInRect(CPoint(x, y)) ? inked : strayed);
    EXPECT_GT(inked, 10);
    EXPECT_EQ(0, strayed);

    // No text, no tip.
    COSMToolTipToolRecord empty = *tool;
    empty.strText.Empty();
    tip.CalcTipSize(size, empty);
    EXPECT_EQ(CSize(0, 0), size);
    tip.ShowTip(nullptr);
    EXPECT_FALSE(tip.IsWindowVisible());
    tip.DestroyWindow();
}

TEST_F(ToolTipWindowTest, RichTextTipsWithoutTextServicesNeverShow)
{
    const COSMTextServicesLoader noLibrary = {&NoRichEditLibrary, &NoCreateTextServices, &FreeNoRichEditLibrary};
    COSMToolTipRichTextToolTip tip(context.Get(), noLibrary);
    ASSERT_TRUE(tip.Create(CWnd::FromHandle(owner), 3));
    EXPECT_FALSE(tip.GetRenderer().HasTextServices());
    AddTool(tip, 1, const_cast<LPSTR>("{\\rtf1 {\\b Bold} plain}"));
    COSMToolTipToolRecord* tool = tip.FindTool(owner, 1);
    ASSERT_NE(nullptr, tool);
    CSize size(1, 1);
    tip.CalcTipSize(size, *tool);
    EXPECT_EQ(CSize(0, 0), size);
    tip.ShowTip(tool);
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_TRUE(tip.GetShownTool().IsEmpty());
    tip.DestroyWindow();
}

// The test runner's web-browser control has no HTML engine: its document never loads, so HTML tips give way.
class HtmlToolTipWindowTest : public ToolTipWindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        ToolTipWindowTest::SetUp();
    }
    void TearDown() override
    {
        ToolTipWindowTest::TearDown();
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
        {}
        ::OleUninitialize();
    }
};

TEST_F(HtmlToolTipWindowTest, WithoutAnHtmlEngineTipsGiveWayWithinTheBoundAndNeverShow)
{
    auto* tip = new COSMToolTipHtmlToolTip(context.Get());
    ASSERT_TRUE(tip->Create(CWnd::FromHandle(owner), 3));
    AddTool(*tip, 1, const_cast<LPSTR>("<b>Bold</b> and plain"));
    COSMToolTipToolRecord* tool = tip->FindTool(owner, 1);
    ASSERT_NE(nullptr, tool);

    const DWORD start = ::GetTickCount();
    tip->ShowTip(tool);
    const DWORD first = ::GetTickCount() - start;
    EXPECT_LT(first, 3000u);
    EXPECT_FALSE(tip->IsWindowVisible());
    EXPECT_TRUE(tip->GetShownTool().IsEmpty());
    // It tried: the host holds the control in a child of the tip, and the document is not complete.
    COSMHtmlTipHost* host = tip->GetHtmlHost();
    ASSERT_NE(nullptr, host);
    EXPECT_TRUE(host->IsOpen());
    EXPECT_EQ(tip->GetSafeHwnd(), ::GetParent(host->GetSafeHwnd()));
    EXPECT_NE(READYSTATE_COMPLETE, host->GetReadyState());

    // The next tip does not wait again.
    const DWORD again = ::GetTickCount();
    CSize size(1, 1);
    tip->CalcTipSize(size, *tool);
    EXPECT_EQ(CSize(0, 0), size);
    EXPECT_LT(::GetTickCount() - again, 500u);

    // Deleting the tip closes its host: the host window goes with the control.
    const HWND hostWindow = host->GetSafeHwnd();
    delete tip;
    EXPECT_FALSE(::IsWindow(hostWindow));
}

TEST_F(HtmlToolTipWindowTest, ATipDeletedWhileItsFirstMeasurementWaitsIsLeftAlone)
{
    auto* tip = new COSMToolTipHtmlToolTip(context.Get());
    ASSERT_TRUE(tip->Create(CWnd::FromHandle(owner), 3));
    const HWND tipWindow = tip->GetSafeHwnd();
    AddTool(*tip, 1, const_cast<LPSTR>("<i>Going</i>"));
    COSMToolTipToolRecord* tool = tip->FindTool(owner, 1);
    ASSERT_NE(nullptr, tool);

    bool deleted = false;
    osm::test::OneShotTimer action(100, [&] {
        delete tip;
        deleted = true;
    });
    const DWORD start = ::GetTickCount();
    tip->ShowTip(tool);
    EXPECT_TRUE(deleted);
    // The deleted window's host ended the wait at once.
    EXPECT_LT(::GetTickCount() - start, 1500u);
    EXPECT_FALSE(::IsWindow(tipWindow));
}

}  // namespace
