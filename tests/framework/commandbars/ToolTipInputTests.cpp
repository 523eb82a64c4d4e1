// Tips under the real pointer on an active frame: the framework tip window's timing with its clock in the test's
// hands (timer 1 posted by the test), a toolbar button's tip from hover to press, a markup element's tip in a
// window that hosts markup, shown as markup by the markup tip window, and the mouse hook that hides a tip when the
// pointer leaves its tool (an exception in it stops there; a second UI thread has a hook of its own).
#include "InputTestSupport.h"

#include "classlib/CallbackGuard.h"
#include "classlib/DC.h"
#include "classlib/GuardedCallbacks.h"
#include "classlib/ScopedHandle.h"
#include "framework/controls/ToolTipContextToolTip.h"
#include "framework/controls/ToolTipLayout.h"
#include "framework/controls/ToolTipMarkupToolTip.h"
#include "framework/foundation/ToolTipContext.h"
#include "framework/foundation/WindowFunctions.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupObject.h"
#include "framework/markup/MarkupTextBlock.h"
#include "framework/markup/MarkupToolTipContext.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

DWORD g_testTick = 100000;
DWORD TestTick()
{
    return g_testTick;
}

class ToolTipInputTest : public TrackingSiteTest
{
protected:
    BOOL CreateSiteFrame() override { return frame.CreateActiveTestFrame("tooltip input test"); }
    void TearDown() override
    {
        COSMToolTipContextToolTip::SetTickFunction(nullptr);
        MoveMouseTo(CPoint(1200, 1000));
        TrackingSiteTest::TearDown();
    }
};

TEST_F(ToolTipInputTest, TheTipWindowTimesShowingAndHidingByItsClockAndTimer)
{
    ASSERT_TRUE(RegisterWindowClass(nullptr, "OsmTestToolSite", 0));
    CWnd site;
    ASSERT_TRUE(
        site.CreateEx(0, "OsmTestToolSite", "", WS_CHILD | WS_VISIBLE, 10, 60, 300, 40, frame.GetSafeHwnd(), nullptr));
    RefPtr<COSMToolTipContext> context = AdoptRef(new COSMToolTipContext);
    COSMToolTipContextToolTip tip(context.Get());
    ASSERT_TRUE(tip.Create(&frame, 3));
    COSMToolTipContextToolTip::SetTickFunction(&TestTick);
    const struct
    {
        UINT_PTR id;
        CRect rect;
        const char* text;
    } tools[] = {
        {1, CRect(0, 0, 50, 40), "First"}, {2, CRect(100, 0, 150, 40), "Second"}, {3, CRect(200, 0, 250, 40), ""}};
    for (const auto& tool : tools)
    {
        TOOLINFOA info{};
        info.cbSize = TTTOOLINFOA_V1_SIZE;
        info.hwnd = site.GetSafeHwnd();
        info.uId = tool.id;
        info.rect = tool.rect;
        info.lpszText = const_cast<LPSTR>(tool.text);
        tip.SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
    tip.SendMessage(TTM_ACTIVATE, TRUE);
    auto relay = [&](UINT message) {
        MSG msg{};
        msg.hwnd = site.GetSafeHwnd();
        msg.message = message;
        ::GetCursorPos(&msg.pt);
        tip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    };
    auto over = [&](int index) { MoveMouseTo(ScreenPoint(site, tools[index].rect.CenterPoint())); };
    auto fireTimer = [&] {
        tip.PostMessage(WM_TIMER, COSMToolTipContextToolTip::kShowTimerId);
        PumpFor(20);
    };

    over(0);
    relay(WM_MOUSEMOVE);
    EXPECT_EQ(1u, tip.GetPendingTool().uId);
    g_testTick += 300;
    relay(WM_MOUSEMOVE);  // within the delay: the same pending tool, no new start
    EXPECT_EQ(1u, tip.GetPendingTool().uId);
    EXPECT_FALSE(tip.IsWindowVisible());
    fireTimer();
    ASSERT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(1u, tip.GetShownTool().uId);
    // No auto-pop: much later it still shows.
    g_testTick += 60000;
    relay(WM_MOUSEMOVE);
    EXPECT_TRUE(tip.IsWindowVisible());

    // Off every tool: hidden; onto another within 200 ms: shown at once.
    MoveMouseTo(ScreenPoint(site, CPoint(75, 20)));
    relay(WM_MOUSEMOVE);
    EXPECT_FALSE(tip.IsWindowVisible());
    g_testTick += 150;
    over(1);
    relay(WM_MOUSEMOVE);
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(2u, tip.GetShownTool().uId);
    // The tip sits under the cursor, on the screen.
    CRect tipRect;
    tip.GetWindowRect(&tipRect);
    CPoint cursor;
    ::GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, tipRect.left);
    EXPECT_GT(tipRect.top, cursor.y);

    // A click hides it, and it stays away over the same tool, until another tool has been under the pointer.
    relay(WM_LBUTTONDOWN);
    EXPECT_FALSE(tip.IsWindowVisible());
    g_testTick += 1000;
    relay(WM_MOUSEMOVE);
    fireTimer();
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_TRUE(tip.GetPendingTool().IsEmpty());
    over(0);
    relay(WM_MOUSEMOVE);
    fireTimer();
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(1u, tip.GetShownTool().uId);

    // An empty text never shows.
    MoveMouseTo(ScreenPoint(site, CPoint(75, 20)));
    relay(WM_MOUSEMOVE);
    g_testTick += 1000;
    over(2);
    relay(WM_MOUSEMOVE);
    fireTimer();
    EXPECT_FALSE(tip.IsWindowVisible());

    // A tool whose window died is passed over.
    site.DestroyWindow();
    EXPECT_EQ(nullptr, tip.HitTestTool());
    tip.DestroyWindow();
}

TEST_F(ToolTipInputTest, HoveringAToolbarButtonShowsAFrameworkTipThatPressingHides)
{
    TrackingBar bar;
    MakeBarWindow(bar, 1, 0, CRect(0, 0, 300, 30));
    bar.AddButtons({57601, 57603});
    bar.GetControl(0)->SetTooltip("Open");
    bar.GetControl(1)->SetTooltip("Save");
    COSMToolTipContext* context = commandBars->GetToolTipContext();
    context->SetStyle(COSMToolTipContext::kStyleFramework);

    MoveMouseTo(ControlCentre(bar, 1) + CPoint(1, 0));
    MoveMouseTo(ControlCentre(bar, 1));
    auto* tip = dynamic_cast<COSMToolTipContextToolTip*>(context->GetToolTipWindow());
    ASSERT_NE(nullptr, tip);
    EXPECT_FALSE(tip->IsWindowVisible());
    ASSERT_TRUE(PumpUntil([&] { return tip->IsWindowVisible() != FALSE; }, 3000));
    EXPECT_EQ(57603u, tip->GetShownTool().uId);
    CRect tipRect;
    tip->GetWindowRect(&tipRect);
    CPoint cursor;
    ::GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, tipRect.left);
    EXPECT_GT(tipRect.top, cursor.y);

    // The press holds the button in the bar's own loop; the release comes from a timer inside it.
    BOOL visibleWhileHeld = TRUE;
    Scheduled::After(frame.GetSafeHwnd(), 80, [&] {
        visibleWhileHeld = tip->IsWindowVisible();
        SendMouseInput(MOUSEEVENTF_LEFTUP);
    });
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    PumpFor(300);
    EXPECT_FALSE(visibleWhileHeld);
    EXPECT_FALSE(tip->IsWindowVisible());
}

// A window that hosts markup as the engine asks of a host: a context of its own, its tree drawn into the client
// area, and every message offered to the context first.
class CMarkupTipHost : public CWnd
{
public:
    ~CMarkupTipHost() override
    {
        if (m_hWnd)
            DestroyWindow();
        ReleaseMarkupElement(&root);
        ReleaseMarkupContext(&context);
    }
    BOOL CreateHost(CWnd* parent, const CRect& rect, LPCSTR markup)
    {
        LPCSTR cls =
            AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (!CreateEx(0, cls, "", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.Width(), rect.Height(),
                      parent->GetSafeHwnd(), nullptr))
            return FALSE;
        context = CreateMarkupContext(m_hWnd);
        root = ParseMarkup(context, markup);
        if (!root)
            return FALSE;
        Invalidate();
        UpdateWindow();
        return TRUE;
    }

    COSMMarkupContext* context = nullptr;
    COSMMarkupUIElement* root = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT result = 0;
        if (root && context && context->OnWndMsg(root, message, wParam, lParam, &result))
            return result;
        if (message == WM_PAINT && root)
        {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(m_hWnd, &paint);
            CRect client;
            GetClientRect(&client);
            RenderMarkupElement(root, dc, &client);
            ::EndPaint(m_hWnd, &paint);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// The pixels of a rectangle of a DC, row by row.
std::vector<DWORD> ReadPixels(HDC dc, const CRect& rect)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = rect.Width();
    info.bmiHeader.biHeight = -rect.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const ScopedGdiObject<HBITMAP> section(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const ScopedCreatedDC memory(::CreateCompatibleDC(dc));
    if (!section || !memory)
        return {};
    const ScopedSelection selected = SelectScoped(memory.Get(), section.Get());
    ::BitBlt(memory.Get(), 0, 0, rect.Width(), rect.Height(), dc, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const auto* first = static_cast<const DWORD*>(bits);
    std::vector<DWORD> pixels(first, first + static_cast<size_t>(rect.Width()) * rect.Height());
    for (DWORD& pixel : pixels)
        pixel &= 0x00FFFFFF;
    return pixels;
}

TEST_F(ToolTipInputTest, AMarkupElementsToolTipShowsAsMarkupInTheMarkupTipWindow)
{
    const std::string tipText = "<TextBlock>Save the <Bold>whole</Bold> book</TextBlock>";
    CMarkupTipHost host;
    ASSERT_TRUE(host.CreateHost(&frame, CRect(10, 60, 310, 120),
                                "<TextBlock ToolTip='<TextBlock>Save the <Bold>whole</Bold> book</TextBlock>'>Hover "
                                "over this text</TextBlock>"));
    COSMMarkupToolTipContext* tips = host.context->GetToolTipContext();
    ASSERT_NE(nullptr, tips);
    auto* block = MarkupDynamicCast<COSMMarkupTextBlock>(host.root);
    ASSERT_NE(nullptr, block);
    ASSERT_FALSE(block->GetLines().empty());
    const CPoint text = block->GetLines()[0].pieces.front().GetRect().CenterPoint();

    // The pointer comes to rest over the text: the host's tip window shows after its delay.
    MoveMouseTo(ScreenPoint(host, text + CPoint(2, 0)));
    MoveMouseTo(ScreenPoint(host, text));
    auto* tip = dynamic_cast<COSMToolTipMarkupToolTip*>(tips->GetToolTipWindow());
    ASSERT_NE(nullptr, tip) << "no markup tip window";
    ASSERT_TRUE(PumpUntil([&] { return tip->IsWindowVisible() != FALSE; }, 3000));
    PumpFor(50);
    EXPECT_EQ(host.GetSafeHwnd(), tip->GetShownTool().hwnd);
    EXPECT_EQ(tipText, static_cast<LPCSTR>(tip->GetShownTool().strText));
    ASSERT_NE(nullptr, tip->GetMarkupElement()) << "the tip text was not parsed";

    // The same text parsed and measured on its own, in the tip's font and colour.
    COSMMarkupContext* reference = CreateMarkupContext(nullptr);
    SetMarkupContextDefaultFont(reference, *tips->GetNormalFont(), tips->GetTipTextColor());
    COSMMarkupUIElement* parsed = ParseMarkup(reference, tipText.c_str());
    ASSERT_NE(nullptr, parsed);
    const CRect margin = tips->GetMargin();
    const CSize inset = ToolTipInset(margin);
    const CSize measured = MeasureMarkupElement(parsed, 0x7FFFFFFF, 0x7FFFFFFF);
    CRect client;
    tip->GetClientRect(&client);
    EXPECT_EQ(CSize(measured.cx + inset.cx, measured.cy + inset.cy), client.Size());

    // The window shows exactly that text drawn over the tip's colour: drawn again on a canvas of that colour, the
    // content area's pixels are the same.
    CRect content = client;
    content.DeflateRect(margin.left + 3, margin.top + 3, margin.right + 3, margin.bottom + 3);
    ASSERT_FALSE(content.IsRectEmpty());
    std::vector<DWORD> shown;
    std::vector<DWORD> expected;
    {
        const ScopedWindowDC window = GetScopedWindowDC(tip->GetSafeHwnd());
        shown = ReadPixels(window.Get(), content);
        const ScopedCreatedDC canvas(::CreateCompatibleDC(window.Get()));
        const ScopedGdiObject<HBITMAP> canvasBits(
            ::CreateCompatibleBitmap(window.Get(), client.Width(), client.Height()));
        ASSERT_TRUE(canvas && canvasBits);
        const ScopedSelection selected = SelectScoped(canvas.Get(), canvasBits.Get());
        CDC::FromHandle(canvas.Get())->FillSolidRect(client, tips->GetTipBkColor());
        RenderMarkupElement(parsed, canvas.Get(), &content);
        expected = ReadPixels(canvas.Get(), content);
    }
    ReleaseMarkupElement(&parsed);
    ReleaseMarkupContext(&reference);

    ASSERT_EQ(expected.size(), shown.size());
    const COLORREF face = tips->GetTipBkColor();
    const DWORD background = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&](DWORD pixel) { return pixel != background; }))
        << "no text in the tip";
    EXPECT_TRUE(expected == shown) << "the tip does not show the parsed text";

    // Moving off the text, onto the frame beside the host, hides it.
    MoveMouseTo(ScreenPoint(frame, CPoint(400, 250)));
    EXPECT_TRUE(PumpUntil([&] { return !tip->IsWindowVisible(); }));
}

// One tool over the whole of the site window; the text of the tool.
void AddWholeWindowTool(COSMToolTipContextToolTip& tip, HWND site, const char* text)
{
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = site;
    info.uId = 1;
    ::GetClientRect(site, &info.rect);
    info.lpszText = const_cast<LPSTR>(text);
    tip.SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    tip.SendMessage(TTM_ACTIVATE, TRUE);
}

// With the pointer over the site: relays its move and fires the show timer, as the delay running out does.
void ShowTipOver(COSMToolTipContextToolTip& tip, HWND site)
{
    MSG msg{};
    msg.hwnd = site;
    msg.message = WM_MOUSEMOVE;
    ::GetCursorPos(&msg.pt);
    tip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    tip.SendMessage(WM_TIMER, COSMToolTipContextToolTip::kShowTimerId);
}

// A tip window whose hiding throws when armed.
class ThrowingHideTip : public COSMToolTipContextToolTip
{
public:
    using COSMToolTipContextToolTip::COSMToolTipContextToolTip;
    bool throwOnHide = false;
    void OnShowTip(BOOL bShow) override
    {
        if (!bShow && throwOnHide)
        {
            throwOnHide = false;
            throw std::runtime_error("hiding failed");
        }
    }
};

std::vector<std::string> g_hookReports;
void RecordHookReport(const char* where, long, const char* what)
{
    g_hookReports.push_back(std::string(where) + ": " + what);
}

// The pointer leaves a shown tip's tool for another window: the mouse hook hides the tip, and when hiding throws, the
// hook stops the exception (it never unwinds through the system's frames), reports it and lets the event go on.
TEST_F(ToolTipInputTest, AnExceptionInTheMouseHookIsStoppedThereAndTheProgramGoesOn)
{
    ASSERT_TRUE(RegisterWindowClass(nullptr, "OsmTestToolSite", 0));
    CWnd site;
    ASSERT_TRUE(
        site.CreateEx(0, "OsmTestToolSite", "", WS_CHILD | WS_VISIBLE, 10, 60, 100, 40, frame.GetSafeHwnd(), nullptr));
    RefPtr<COSMToolTipContext> context = AdoptRef(new COSMToolTipContext);
    ThrowingHideTip tip(context.Get());
    ASSERT_TRUE(tip.Create(&frame, 3));
    COSMToolTipContextToolTip::SetTickFunction(&TestTick);
    AddWholeWindowTool(tip, site.GetSafeHwnd(), "Tool");

    MoveMouseTo(ScreenPoint(site, CPoint(50, 20)));
    ShowTipOver(tip, site.GetSafeHwnd());
    ASSERT_TRUE(tip.IsWindowVisible());
    ASSERT_EQ(&tip, COSMToolTipContextToolTip::GetMouseHookOwner());

    g_hookReports.clear();
    const CallbackExceptionReporter previous = SetCallbackExceptionReporter(&RecordHookReport);
    tip.throwOnHide = true;
    bool escaped = false;
    try
    {
        // Off the site, onto the frame: only the hook sees this move.
        MoveMouseTo(ScreenPoint(frame, CPoint(300, 200)));
        PumpUntil([] { return !g_hookReports.empty(); });
    }
    catch (...)
    {
        escaped = true;
    }
    SetCallbackExceptionReporter(previous);
    EXPECT_FALSE(escaped) << "the exception left the hook";
    ASSERT_EQ(1u, g_hookReports.size());
    EXPECT_EQ("tooltip mouse hook: hiding failed", g_hookReports[0]);
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(nullptr, COSMToolTipContextToolTip::GetMouseHookOwner());

    // The tip works on: shown again over the tool, hidden again by the hook.
    MoveMouseTo(ScreenPoint(site, CPoint(50, 20)));
    g_testTick += 1000;
    ShowTipOver(tip, site.GetSafeHwnd());
    EXPECT_TRUE(tip.IsWindowVisible());
    MoveMouseTo(ScreenPoint(frame, CPoint(300, 200)));
    EXPECT_TRUE(PumpUntil([&] { return !tip.IsWindowVisible(); }));
    tip.DestroyWindow();
}

// A second UI thread with a tip of its own while this thread's tip shows: each thread's hook serves its own tip, so
// the second thread's tip hides when the pointer leaves its tool there.
struct SecondUiThread
{
    std::atomic<bool> showing{false};
    std::atomic<bool> leave{false};
    bool shown = false;
    bool ownsItsHook = false;
    bool hiddenByHook = false;

    DWORD Run()
    {
        const HINSTANCE instance = ::GetModuleHandleA(nullptr);
        const HWND top = ::CreateWindowExA(WS_EX_TOPMOST, "OsmTestToolSite", "second", WS_POPUP | WS_VISIBLE, 650, 500,
                                           300, 100, nullptr, nullptr, instance, nullptr);
        const HWND site = ::CreateWindowExA(0, "OsmTestToolSite", "", WS_CHILD | WS_VISIBLE, 0, 0, 150, 100, top,
                                            nullptr, instance, nullptr);
        osm::test::ActivateWindow(top, 2000);
        {
            RefPtr<COSMToolTipContext> context = AdoptRef(new COSMToolTipContext);
            COSMToolTipContextToolTip tip(context.Get());
            if (tip.Create(CWnd::FromHandle(top), 3))
            {
                AddWholeWindowTool(tip, site, "Second");
                SendMouseMoveTo(Centre(site));
                Pump([] { return false; }, 200);
                ShowTipOver(tip, site);
                shown = tip.IsWindowVisible() != FALSE;
                ownsItsHook = COSMToolTipContextToolTip::GetMouseHookOwner() == &tip;
                showing = true;
                // Off the tool, onto the other half of this thread's window: only the hook sees it.
                Pump([this] { return leave.load(); }, 5000);
                SendMouseMoveTo(Centre(top) + CPoint(60, 0));
                hiddenByHook = Pump([&] { return !tip.IsWindowVisible(); }, 2000);
                tip.DestroyWindow();
            }
        }
        showing = true;
        ::DestroyWindow(top);
        return 0;
    }

    static CPoint Centre(HWND window)
    {
        RECT rc;
        ::GetWindowRect(window, &rc);
        return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }
    static bool Pump(const std::function<bool()>& done, DWORD timeoutMs)
    {
        const DWORD start = ::GetTickCount();
        while (!done() && ::GetTickCount() - start < timeoutMs)
        {
            osm::test::PumpPendingMessages();
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return done();
    }
};
constexpr char kSecondUiThread[] = "second UI thread";

TEST_F(ToolTipInputTest, ASecondUiThreadHasItsOwnMouseHookForItsTips)
{
    ASSERT_TRUE(RegisterWindowClass(nullptr, "OsmTestToolSite", 0));
    CWnd site;
    ASSERT_TRUE(
        site.CreateEx(0, "OsmTestToolSite", "", WS_CHILD | WS_VISIBLE, 10, 60, 100, 40, frame.GetSafeHwnd(), nullptr));
    RefPtr<COSMToolTipContext> context = AdoptRef(new COSMToolTipContext);
    COSMToolTipContextToolTip tip(context.Get());
    ASSERT_TRUE(tip.Create(&frame, 3));
    COSMToolTipContextToolTip::SetTickFunction(&TestTick);
    AddWholeWindowTool(tip, site.GetSafeHwnd(), "First");
    MoveMouseTo(ScreenPoint(site, CPoint(50, 20)));
    ShowTipOver(tip, site.GetSafeHwnd());
    ASSERT_TRUE(tip.IsWindowVisible());
    ASSERT_EQ(&tip, COSMToolTipContextToolTip::GetMouseHookOwner());

    SecondUiThread second;
    ScopedKernelHandle thread(
        ::CreateThread(nullptr, 0, osm::GuardedThreadProc<kSecondUiThread, &SecondUiThread::Run>, &second, 0, nullptr));
    ASSERT_TRUE(thread);
    PumpUntil([&] { return second.showing.load(); }, 5000);
    // This thread's hook is still this thread's tip's.
    EXPECT_EQ(&tip, COSMToolTipContextToolTip::GetMouseHookOwner());
    second.leave = true;
    PumpUntil([&] { return ::WaitForSingleObject(thread.Get(), 0) == WAIT_OBJECT_0; }, 8000);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread.Get(), 0));

    EXPECT_TRUE(second.shown);
    EXPECT_TRUE(second.ownsItsHook) << "the second thread's tip got no hook of its own";
    EXPECT_TRUE(second.hiddenByHook) << "the pointer left the second thread's tool unnoticed";
    EXPECT_EQ(&tip, COSMToolTipContextToolTip::GetMouseHookOwner());
    tip.DestroyWindow();
}

}  // namespace
