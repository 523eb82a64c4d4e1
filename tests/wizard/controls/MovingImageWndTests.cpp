// The moving image: where it paints the picture, the thread that moves it, and stopping that thread while the
// window's thread is busy with its own loop.
#include "ControlsTestResources.h"
#include "ControlsTestSupport.h"
#include "wizard/controls/MovingImageWnd.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>
#include <vector>

using namespace osm::test;

namespace {

const COLORREF kPicture = RGB(200, 120, 0);  // moving.bmp, 40 by 20
const COLORREF kBackground = RGB(255, 255, 255);
const CRect kWindowRect(10, 10, 210, 70);  // a client area of 200 by 60 without a border

// A moving image that counts its paintings and can destroy itself from inside one.
class CountingMovingImageWnd : public CMovingImageWnd
{
public:
    int m_paints = 0;
    int m_destroyAtPaint = 0;
    DWORD m_destroyMilliseconds = 0;

protected:
    afx_msg void OnPaint()
    {
        CMovingImageWnd::OnPaint();
        if (++m_paints == m_destroyAtPaint)
        {
            const DWORD start = ::GetTickCount();
            DestroyWindow();
            m_destroyMilliseconds = ::GetTickCount() - start;
        }
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingMovingImageWnd, CMovingImageWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

class MovingImageWndTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_host.Open()); }

    void Make(double stepX, DWORD tick, DWORD extraStyle = 0)
    {
        ASSERT_TRUE(m_moving.SetBitmap(IDB_TEST_MOVING));
        m_moving.SetBackgroundColor(kBackground);
        m_moving.SetStep(stepX, 0.0);
        m_moving.SetTickInterval(tick);
        ASSERT_TRUE(m_moving.Create(WS_CHILD | WS_VISIBLE | extraStyle, kWindowRect, &m_host, IDC_TEST_MOVING));
        ASSERT_TRUE(m_moving.IsThreadRunning()) << "sizing starts the thread";
    }

    HostDialog m_host{IDD_CONTROLS_HOST};
    CountingMovingImageWnd m_moving;
};

TEST_F(MovingImageWndTest, ThePictureIsPaintedAtItsPositionAndWrapsIntoTheOtherSide)
{
    Make(1.0, 1000);
    // The thread's start puts the picture in the middle; then the thread is stopped so it stays where it is put.
    double x = 0, y = 0;
    ASSERT_TRUE(PumpUntil([&] {
        m_moving.GetPosition(x, y);
        return x == 100.0 && y == 30.0;
    }));
    m_moving.RestartThread(FALSE);
    ASSERT_FALSE(m_moving.IsThreadRunning());

    struct Case
    {
        const char* name;
        double x, y;
        std::vector<CRect> pictures;  // the visible parts
    } cases[] = {
        {"in the middle", 100, 30, {CRect(80, 20, 120, 40)}},
        {"just below a half pixel rounds down", 100.4, 30.4, {CRect(80, 20, 120, 40)}},
        {"a half pixel rounds up", 100.5, 30.5, {CRect(81, 21, 121, 41)}},
        {"half out at the right shows the rest at the left", 190, 30, {CRect(170, 20, 200, 40), CRect(0, 20, 10, 40)}},
        {"wholly out at the right shows it at the left", 220, 30, {CRect(0, 20, 40, 40)}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_moving.SetPosition(c.x, c.y);
        const Capture painted = Capture::Printed(m_moving.m_hWnd);
        int area = 0;
        for (const CRect& r : c.pictures)
        {
            EXPECT_EQ(kPicture, painted.At(r.left, r.top));
            EXPECT_EQ(kPicture, painted.At(r.right - 1, r.bottom - 1));
            area += r.Width() * r.Height();
        }
        EXPECT_EQ(area, painted.Count([](COLORREF p) { return p == kPicture; }));
        EXPECT_EQ(200 * 60 - area, painted.Count([](COLORREF p) { return p == kBackground; }));
    }
}

TEST_F(MovingImageWndTest, TheThreadMovesThePictureAndBringsItBack)
{
    Make(9.0, 2);
    std::vector<double> seen;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 400)
    {
        RunLoopFor(5);
        double x = 0, y = 0;
        m_moving.GetPosition(x, y);
        EXPECT_EQ(30.0, y);
        seen.push_back(x);
    }
    int wraps = 0;
    for (size_t i = 1; i < seen.size(); ++i)
    {
        EXPECT_GE(seen[i], 20.0) << "never wholly out at the left";
        EXPECT_LT(seen[i], 229.0) << "never further out at the right than one step";
        wraps += seen[i] < seen[i - 1] ? 1 : 0;
    }
    EXPECT_GE(wraps, 1);
    EXPECT_GT(m_moving.m_paints, 5) << "each step is painted on the window's thread";
}

TEST_F(MovingImageWndTest, DestroyingTheWindowWhileItPaintsStopsTheThreadWithinASecond)
{
    Make(3.0, 1);
    const DWORD threadId = m_moving.GetAnimationThreadId();
    HANDLE hThread = ::OpenThread(SYNCHRONIZE, FALSE, threadId);
    ASSERT_NE(nullptr, hThread);
    // A window thread stuck in the destruction can report nothing itself: a watchdog ends the program instead.
    HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread watchdog([done] {
        if (::WaitForSingleObject(done, 10000) == WAIT_TIMEOUT)
        {
            std::fprintf(stderr, "DestroyingTheWindowWhileItPaints: the window's thread is stuck\n");
            std::fflush(stderr);
            ::TerminateProcess(::GetCurrentProcess(), 3);
        }
    });
    m_moving.m_destroyAtPaint = m_moving.m_paints + 20;
    const bool destroyed = PumpUntil([&] { return m_moving.m_hWnd == nullptr; }, 5000);
    ::SetEvent(done);
    watchdog.join();
    ::CloseHandle(done);
    ASSERT_TRUE(destroyed);
    EXPECT_LT(m_moving.m_destroyMilliseconds, 1000u);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hThread, 0)) << "the thread has ended";
    EXPECT_FALSE(m_moving.IsThreadRunning());
    ::CloseHandle(hThread);
}

TEST_F(MovingImageWndTest, TheBorderIsADottedFrame)
{
    Make(1.0, 1000, WS_BORDER);
    auto topRow = [&] {
        CRect window;
        m_moving.GetWindowRect(&window);
        std::vector<COLORREF> row;
        HDC hWindowDC = ::GetWindowDC(m_moving.m_hWnd);
        for (int x = 0; x < window.Width(); ++x)
            row.push_back(::GetPixel(hWindowDC, x, 0));
        ::ReleaseDC(m_moving.m_hWnd, hWindowDC);
        int black = 0;
        for (COLORREF c : row)
            black += c == RGB(0, 0, 0) ? 1 : 0;
        return std::make_pair(black, static_cast<int>(row.size()));
    };
    m_moving.SetBorder(TRUE);
    m_moving.RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    RunLoopFor(20);
    auto dotted = topRow();
    EXPECT_GT(dotted.first, dotted.second / 4) << "dots";
    EXPECT_LT(dotted.first, dotted.second * 3 / 4) << "and gaps";

    m_moving.SetBorder(FALSE);
    m_moving.RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    RunLoopFor(20);
    auto plain = topRow();
    EXPECT_NE(dotted.first, plain.first) << "without the flag the ordinary frame";
}

TEST_F(MovingImageWndTest, PaintingLeavesNoGdiObjectsBehind)
{
    Make(1.0, 1000);
    m_moving.RestartThread(FALSE);
    Capture::Printed(m_moving.m_hWnd);
    const int before = CountGdiObjects();
    for (int i = 0; i < 50; ++i)
    {
        m_moving.SetPosition(100 + i, 30);
        m_moving.UpdateWindow();
    }
    EXPECT_EQ(before, CountGdiObjects());
}

// A modal dialog with an accelerator (F5) and a moving image whose thread is restarted while a key waits in the
// dialog's queue.
class AcceleratorDialog : public CDialog
{
public:
    static constexpr UINT kRefreshCommand = 5001;
    static constexpr int kFinished = 42;

    AcceleratorDialog() : CDialog(IDD_MOVING_HOST) {}
    ~AcceleratorDialog() override
    {
        if (m_accelerators)
            ::DestroyAcceleratorTable(m_accelerators);
    }

    int m_refreshes = 0;
    bool m_restarted = false;
    CMovingImageWnd m_moving;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ACCEL accel{FVIRTKEY, VK_F5, kRefreshCommand};
        m_accelerators = ::CreateAcceleratorTableA(&accel, 1);
        m_moving.SetBitmap(IDB_TEST_MOVING);
        m_moving.SetTickInterval(2);
        m_moving.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 290, 100), this, IDC_TEST_MOVING);
        GetDlgItem(IDC_TEST_PLAIN_EDIT)->SetFocus();
        PostMessage(WM_APP);
        return FALSE;
    }

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (m_accelerators && ::TranslateAcceleratorA(m_hWnd, m_accelerators, pMsg))
            return TRUE;
        return CDialog::PreTranslateMessage(pMsg);
    }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == kRefreshCommand)
        {
            ++m_refreshes;
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }

    afx_msg LRESULT OnRestartWithKeyWaiting(WPARAM, LPARAM)
    {
        HWND hEdit = GetDlgItem(IDC_TEST_PLAIN_EDIT)->m_hWnd;
        ::PostMessageA(hEdit, WM_KEYDOWN, VK_F5, 1);
        ::PostMessageA(hEdit, WM_KEYUP, VK_F5, 0xC0000001);
        m_restarted = m_moving.IsThreadRunning() != FALSE;
        m_moving.RestartThread(TRUE);
        SetTimer(1, 300, nullptr);
        return 0;
    }

    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        KillTimer(nIDEvent);
        EndDialog(kFinished);
    }

    DECLARE_MESSAGE_MAP()

private:
    HACCEL m_accelerators = nullptr;
};

BEGIN_MESSAGE_MAP(AcceleratorDialog, CDialog)
    ON_MESSAGE(WM_APP, OnRestartWithKeyWaiting)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(MovingImageWndModalTest, AnAcceleratorWaitingDuringARestartDoesNotEndTheDialog)
{
    AcceleratorDialog dialog;
    EXPECT_EQ(AcceleratorDialog::kFinished, dialog.DoModal());
    EXPECT_TRUE(dialog.m_restarted) << "the thread ran when it was stopped";
    EXPECT_EQ(1, dialog.m_refreshes) << "the key reached the dialog's own loop, once";
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "nobody asked to quit";
}

}  // namespace
