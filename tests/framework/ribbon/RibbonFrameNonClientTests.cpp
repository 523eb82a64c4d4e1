// The frame's own border and caption while a ribbon draws them: the client area reaching up over the system's
// caption, the border painted by the frame painter (the frame's window DC against the painter drawing the same frame
// object into a twin canvas), the colours following activation by clicks between two frames, and a new title.
#include "RibbonTestSupport.h"

#include "framework/ribbon/FramePaintManager.h"
#include "framework/ribbon/RibbonFrame.h"
#include "tests/support/ActiveWindow.h"
#include "tests/support/DcTestSurface.h"

#include <functional>

using namespace ribbon_test;
using foundation_test::DcTestSurface;

namespace {

constexpr COLORREF kTwinCanvas = RGB(1, 2, 3);

class RibbonFrameNonClientTest : public RibbonTest
{
protected:
    void SetUp() override
    {
        RibbonTest::SetUp();
        AddTabs({"&Home", "&Insert"});
        frame.SetReply(WM_SYSCOMMAND, 0);
        ribbon->EnableFrameTheme(TRUE);
        Relayout();
        ASSERT_NE(nullptr, FrameObject());
        ASSERT_NE(nullptr, FramePainter());
    }
    COSMRibbonFrame* FrameObject() const { return ribbon->GetRibbonFrame(); }
    COSMFramePaintManager* FramePainter() const
    {
        return dynamic_cast<COSMFramePaintManager*>(ribbon->GetPaintManager()->GetFramePaintManager());
    }
    // The border width the frame's styles give (the system's frame around the client).
    int StyleBorder() const
    {
        RECT adjusted{0, 0, 0, 0};
        ::AdjustWindowRectEx(&adjusted, frame.GetStyle(), FALSE, frame.GetExStyle());
        return -adjusted.left;
    }
    // The client rectangle in window coordinates.
    CRect ClientInWindow() const
    {
        CRect window;
        CRect client;
        frame.GetWindowRect(&window);
        frame.GetClientRect(&client);
        frame.ClientToScreen(&client);
        client.OffsetRect(-window.left, -window.top);
        return client;
    }
    CSize WindowSize() const
    {
        CRect window;
        frame.GetWindowRect(&window);
        return window.Size();
    }
    // The window DC's pixel, after the frame has painted its non-client area.
    COLORREF ShownPixel(CPoint point) const
    {
        HDC dc = ::GetWindowDC(frame.GetSafeHwnd());
        const COLORREF pixel = ::GetPixel(dc, point.x, point.y);
        ::ReleaseDC(frame.GetSafeHwnd(), dc);
        return pixel;
    }
    void RepaintFrame()
    {
        frame.RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        PumpMessages();
    }
    // Points of the border and the caption's border pieces (away from the cut corners): the side columns at the
    // caption and below it, the bottom rows and the top border rows.
    std::vector<CPoint> BorderPoints() const
    {
        const CSize size = WindowSize();
        const CRect client = ClientInWindow();
        const int top = FrameObject()->GetCaptionHeight();
        std::vector<CPoint> points;
        for (int x = 0; x < client.left; ++x)
            for (int y : {top / 2, top + 3, static_cast<int>(size.cy / 2), static_cast<int>(size.cy - 8)})
            {
                points.emplace_back(x, y);
                points.emplace_back(size.cx - 1 - x, y);
            }
        for (int y = client.bottom; y < size.cy; ++y)
            points.emplace_back(size.cx / 2, y);
        for (int y = 0; y < client.top; ++y)
            points.emplace_back(size.cx / 2, y);
        return points;
    }
    // The painter's drawing of the same frame object into a canvas of the window's size, read at the points.
    std::vector<COLORREF> TwinPixels(const std::vector<CPoint>& points) const
    {
        const CSize size = WindowSize();
        DcTestSurface twin(size.cx, size.cy, kTwinCanvas);
        FramePainter()->DrawFrame(twin.dc(), FrameObject());
        std::vector<COLORREF> pixels;
        for (const CPoint& p : points)
            pixels.push_back(twin.Pixel(p.x, p.y));
        return pixels;
    }
    std::vector<COLORREF> ShownPixels(const std::vector<CPoint>& points) const
    {
        std::vector<COLORREF> pixels;
        for (const CPoint& p : points)
            pixels.push_back(ShownPixel(p));
        return pixels;
    }
};

}  // namespace

TEST_F(RibbonFrameNonClientTest, TheClientReachesUpToTheTopBorderNormalAndMaximized)
{
    const int border = StyleBorder();
    ASSERT_GT(border, 0);
    const CSize size = WindowSize();
    CRect client = ClientInWindow();
    EXPECT_EQ(CRect(border, border, size.cx - border, size.cy - border), client) << "no system caption above";
    EXPECT_EQ(CPoint(-border, -border), CPoint(ribbon->GetCaptionRect().TopLeft()))
        << "the ribbon's caption reaches from the window's top left";
    EXPECT_EQ(ribbon->GetCaptionHeight() + border, FrameObject()->GetCaptionHeight());

    frame.ShowWindow(SW_MAXIMIZE);
    Relayout();
    ASSERT_TRUE(frame.GetStyle() & WS_MAXIMIZE);
    client = ClientInWindow();
    const int maximizedBorder = StyleBorder();
    EXPECT_EQ(maximizedBorder, client.left);
    EXPECT_EQ(maximizedBorder, client.top) << "the inset keeps the caption on the screen";

    frame.ShowWindow(SW_RESTORE);
    Relayout();
    ribbon->EnableFrameTheme(FALSE);
    Relayout();
    EXPECT_GT(ClientInWindow().top, border + ::GetSystemMetrics(SM_CYCAPTION) - 1) << "the system's caption is back";
}

TEST_F(RibbonFrameNonClientTest, TheNonClientAreaIsTheFramePaintersDrawing)
{
    RepaintFrame();
    ASSERT_TRUE(FrameObject()->IsActive());
    const std::vector<CPoint> points = BorderPoints();
    ASSERT_FALSE(points.empty());
    const std::vector<COLORREF> expected = TwinPixels(points);
    EXPECT_EQ(expected, ShownPixels(points));
    // The outer column is the painter's active border line, not the system's frame.
    EXPECT_EQ(FramePainter()->GetBorderColor(TRUE, 0), ShownPixel(CPoint(0, WindowSize().cy / 2)));

    // An explicit WM_NCPAINT draws the same, also after the system was told to paint over it.
    ::DefWindowProcA(frame.GetSafeHwnd(), WM_NCPAINT, 1, 0);
    frame.SendMessage(WM_NCPAINT, 1, 0);
    EXPECT_EQ(expected, ShownPixels(points));
}

TEST_F(RibbonFrameNonClientTest, ActivationChangesTheBorderColours)
{
    ASSERT_NE(FramePainter()->GetBorderColor(TRUE, 0), FramePainter()->GetBorderColor(FALSE, 0))
        << "the resources tell the two states apart";
    const CPoint outer(0, WindowSize().cy / 2);
    RepaintFrame();
    EXPECT_EQ(FramePainter()->GetBorderColor(TRUE, 0), ShownPixel(outer));

    CCommandBarsTestFrame other;
    ASSERT_TRUE(other.CreateTestFrame("other frame", CRect(650, 100, 900, 300)));
    CRect otherClient;
    other.GetClientRect(&otherClient);
    ClickAt(ScreenPoint(other, otherClient.CenterPoint()));
    PumpMessages();
    ASSERT_EQ(other.GetSafeHwnd(), ::GetActiveWindow());
    EXPECT_FALSE(FrameObject()->IsActive());
    const std::vector<CPoint> points = BorderPoints();
    EXPECT_EQ(FramePainter()->GetBorderColor(FALSE, 0), ShownPixel(outer));
    EXPECT_EQ(TwinPixels(points), ShownPixels(points)) << "the inactive drawing";

    // A click on the ribbon's caption brings the frame back.
    ClickAt(ScreenPoint(*ribbon, ribbon->GetCaptionTextRect().CenterPoint()));
    PumpMessages();
    osm::test::ActivateWindow(frame.GetSafeHwnd());
    ASSERT_EQ(frame.GetSafeHwnd(), ::GetActiveWindow());
    EXPECT_TRUE(FrameObject()->IsActive());
    EXPECT_EQ(FramePainter()->GetBorderColor(TRUE, 0), ShownPixel(outer));
    other.DestroyWindow();
}

TEST_F(RibbonFrameNonClientTest, ANewTitleRepaintsTheBorderAndReachesTheRibbonsCaption)
{
    RepaintFrame();
    const std::vector<CPoint> points = BorderPoints();
    const std::vector<COLORREF> expected = TwinPixels(points);
    frame.SetWindowText("a new title");
    PumpMessages();
    EXPECT_EQ(expected, ShownPixels(points)) << "the system's caption painting is covered at once";
    EXPECT_EQ("a new title", std::string(ribbon->GetFrameTitle()));

    HICON icon = ::LoadIcon(nullptr, IDI_WARNING);
    frame.SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    PumpMessages();
    EXPECT_EQ(expected, ShownPixels(points));
    EXPECT_EQ(reinterpret_cast<LRESULT>(icon), frame.SendMessage(WM_GETICON, ICON_SMALL, 0));
}

namespace {

// A caption button held down: a timer inside the button's own loop sees it pressed, then releases the mouse away.
struct HeldCaptionButtonProbe
{
    COSMControl* button;
    CPoint releaseAt;
    bool seen = false;
    bool pressed = false;
};
HeldCaptionButtonProbe* g_heldCaptionButtonProbe = nullptr;

void CALLBACK ReleaseHeldCaptionButtonElsewhere(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    HeldCaptionButtonProbe* probe = g_heldCaptionButtonProbe;
    if (!probe || probe->seen)
        return;
    probe->seen = true;
    probe->pressed = probe->button->GetPressed() != FALSE;
    MoveMouseTo(probe->releaseAt);
    SendMouseInput(MOUSEEVENTF_LEFTUP);
}

}  // namespace

TEST_F(RibbonFrameNonClientTest, AHiddenRibbonLeavesTheFrameItsOwnCaptionDrawnAndRunByTheFrameObject)
{
    ribbon->SetVisible(FALSE);
    Relayout();
    RepaintFrame();
    COSMRibbonFrame* object = FrameObject();
    ASSERT_TRUE(object->IsCaptionStandard());
    ASSERT_TRUE(object->DrawsOwnCaption());
    const int border = StyleBorder();
    const CSize size = WindowSize();
    EXPECT_EQ(border + ::GetSystemMetrics(SM_CYCAPTION), ClientInWindow().top) << "the caption is the frame's";

    // Close, maximize and minimize from the right border leftwards, squares of the caption less its borders.
    COSMControls* buttons = object->GetCaptionButtons();
    ASSERT_EQ(3, buttons->GetCount());
    const int top = object->GetCaptionHeight();
    const int side = top - 3 - border;
    const UINT ids[] = {SC_CLOSE, SC_MAXIMIZE, SC_MINIMIZE};
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(static_cast<int>(ids[i]), buttons->GetAt(i)->GetID());
        const int right = size.cx - border - i * side;
        EXPECT_EQ(CRect(right - side, border, right, top - 3), buttons->GetAt(i)->GetRect());
    }
    COSMControl* close = buttons->GetAt(0);
    COSMControl* maximize = buttons->GetAt(1);

    // The caption band right of the title (the buttons) and the borders are the frame painter's drawing.
    const int titleRight = buttons->GetAt(2)->GetRect().left - border;
    std::vector<CPoint> points = BorderPoints();
    for (int y = 1; y < top; ++y)
    {
        for (int x = titleRight; x < size.cx - 5; ++x)
            points.emplace_back(x, y);
    }
    EXPECT_EQ(TwinPixels(points), ShownPixels(points));

    // The mouse over the close button lights it; the picture follows.
    CRect window;
    frame.GetWindowRect(&window);
    const CPoint closeCentre = window.TopLeft() + close->GetRect().CenterPoint();
    MoveMouseTo(closeCentre);
    PumpFor(60);
    EXPECT_TRUE(close->GetSelected());
    EXPECT_FALSE(maximize->GetSelected());
    EXPECT_EQ(TwinPixels(points), ShownPixels(points)) << "the lit button";

    // A click runs the button's system command; a press released elsewhere runs nothing.
    frame.ClearRecords();
    ClickAt(window.TopLeft() + maximize->GetRect().CenterPoint());
    PumpFor(60);
    MoveMouseTo(closeCentre);
    HeldCaptionButtonProbe probe{close, window.CenterPoint()};
    g_heldCaptionButtonProbe = &probe;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 60, &ReleaseHeldCaptionButtonElsewhere);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    PumpFor(300);
    ::KillTimer(nullptr, timer);
    g_heldCaptionButtonProbe = nullptr;
    EXPECT_TRUE(probe.seen);
    EXPECT_TRUE(probe.pressed) << "held down, the button shows pressed";
    EXPECT_FALSE(close->GetPressed());
    std::vector<WPARAM> commands;
    for (const CCommandBarsTestFrame::Record& record : frame.RecordsOf(WM_SYSCOMMAND))
        commands.push_back(record.wParam & 0xFFF0);
    EXPECT_EQ(std::vector<WPARAM>{SC_MAXIMIZE}, commands);
    ClickAt(closeCentre);
    PumpFor(60);
    commands.clear();
    for (const CCommandBarsTestFrame::Record& record : frame.RecordsOf(WM_SYSCOMMAND))
        commands.push_back(record.wParam & 0xFFF0);
    EXPECT_EQ((std::vector<WPARAM>{SC_MAXIMIZE, SC_CLOSE}), commands);

    // Shown again, the ribbon supplies the caption and the frame's own buttons go.
    MoveMouseTo(CPoint(1200, 1000));
    ribbon->SetVisible(TRUE);
    Relayout();
    RepaintFrame();
    EXPECT_FALSE(object->DrawsOwnCaption());
    EXPECT_EQ(0, buttons->GetCount());
    EXPECT_EQ(border, ClientInWindow().top);
}

TEST_F(RibbonFrameNonClientTest, AFoldedRibbonLeavesTheFrameItsOwnCaptionUntilItIsWideAgain)
{
    CRect window;
    frame.GetWindowRect(&window);
    frame.SetWindowPos(nullptr, 0, 0, 240, window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Relayout();
    RepaintFrame();
    COSMRibbonFrame* object = FrameObject();
    ASSERT_FALSE(ribbon->IsRibbonShown()) << "folded";
    EXPECT_TRUE(object->DrawsOwnCaption());
    EXPECT_EQ(3, object->GetCaptionButtons()->GetCount());
    EXPECT_EQ(StyleBorder() + ::GetSystemMetrics(SM_CYCAPTION), ClientInWindow().top);
    const CRect close = object->GetCaptionButtons()->GetAt(0)->GetRect();
    std::vector<CPoint> points = BorderPoints();
    for (int y = close.top; y < close.bottom; ++y)
    {
        for (int x = close.left; x < close.right; ++x)
            points.emplace_back(x, y);
    }
    EXPECT_EQ(TwinPixels(points), ShownPixels(points));

    frame.SetWindowPos(nullptr, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Relayout();
    EXPECT_TRUE(ribbon->IsRibbonShown());
    EXPECT_FALSE(object->DrawsOwnCaption());
    EXPECT_EQ(StyleBorder(), ClientInWindow().top);
}

// A quit posted while the frame's own caption button is held ends the button's loop (the button up, the capture
// given back, no system command) and reaches the application's loop with its code. Should the loop lose the quit,
// the mouse is released late over the button, so the wait fails instead of hanging.
TEST_F(RibbonFrameNonClientTest, AQuitPostedWhileACaptionButtonIsHeldEndsItsLoopAndReachesTheApplicationsLoop)
{
    ribbon->SetVisible(FALSE);
    Relayout();
    RepaintFrame();
    COSMRibbonFrame* object = FrameObject();
    ASSERT_TRUE(object->DrawsOwnCaption());
    ASSERT_EQ(3, object->GetCaptionButtons()->GetCount());
    COSMControl* close = object->GetCaptionButtons()->GetAt(0);
    CRect window;
    frame.GetWindowRect(&window);
    MoveMouseTo(window.TopLeft() + close->GetRect().CenterPoint());
    PumpFor(60);
    frame.ClearRecords();

    const HWND frameWindow = frame.GetSafeHwnd();
    bool pressedAtQuit = false;
    HWND captureAtQuit = nullptr;
    int looks = 0;
    std::function<void()> quitOnceHeld = [&] {
        // The press may reach the frame after the first look when the machine is busy.
        if (!close->GetPressed() && ++looks < 100)
        {
            Scheduled::After(frameWindow, 20, quitOnceHeld);
            return;
        }
        pressedAtQuit = close->GetPressed() != FALSE;
        captureAtQuit = ::GetCapture();
        ::PostQuitMessage(52);
        Scheduled::After(frameWindow, 4000, [] { SendMouseInput(MOUSEEVENTF_LEFTUP); });
    };
    Scheduled::After(frameWindow, 50, quitOnceHeld);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    MSG quit{};
    const bool arrived = PumpUntilQuit(&quit, 5000);
    // Nothing scheduled here outlives the state it refers to.
    Scheduled::After(frameWindow, 60000, [] {});
    ASSERT_TRUE(arrived);
    EXPECT_EQ(52u, quit.wParam);
    EXPECT_TRUE(pressedAtQuit) << "the quit came while the button was held";
    EXPECT_EQ(frameWindow, captureAtQuit);
    EXPECT_FALSE(close->GetPressed());
    EXPECT_NE(frameWindow, ::GetCapture());
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(60);
    EXPECT_TRUE(frame.RecordsOf(WM_SYSCOMMAND).empty()) << "the release after the loop ran nothing";

    MoveMouseTo(CPoint(1200, 1000));
    ribbon->SetVisible(TRUE);
    Relayout();
}
