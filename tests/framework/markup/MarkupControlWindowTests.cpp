// A markup button in a real, active host window on the display, clicked with synthesized mouse input: the host
// forwards its mouse messages to the markup context, which routes them to the button.
#include "ActiveWindow.h"
#include "MarkupTestSupport.h"
#include "SyntheticInput.h"

#include "classlib/Wnd.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupButton.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupDelegate.h"
#include "framework/markup/MarkupDrawingContext.h"

#include <gtest/gtest.h>

namespace {

class CButtonHost : public CWnd
{
public:
    BOOL CreateHost()
    {
        LPCSTR cls =
            AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (!CreateEx(0, cls, "markup button host", WS_POPUP | WS_VISIBLE, 120, 90, 200, 120, nullptr, nullptr))
            return FALSE;
        ::UpdateWindow(m_hWnd);
        return osm::test::ActivateWindow(m_hWnd);
    }
    ~CButtonHost() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

    COSMMarkupContext* context = nullptr;
    COSMMarkupUIElement* root = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT result = 0;
        if (context && root && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST &&
            context->OnWndMsg(root, message, wParam, lParam, &result))
            return result;
        if (context && root && (message == WM_SETCURSOR || message == WM_CAPTURECHANGED || message == WM_MOUSELEAVE) &&
            context->OnWndMsg(root, message, wParam, lParam, &result))
            return result;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Pumps the thread's messages until done() or timeoutMs passes.
template <class Done> bool PumpUntil(Done done, DWORD timeoutMs = 3000)
{
    const DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < timeoutMs)
    {
        osm::test::PumpPendingMessages();
        ::Sleep(5);
    }
    return done();
}

// Puts the cursor back where the test found it: a window of a later test must not find the cursor over it.
class ControlWindowTest : public markup_test::MarkupTest
{
protected:
    void SetUp() override
    {
        MarkupTest::SetUp();
        ::GetCursorPos(&m_cursor);
    }
    void TearDown() override
    {
        osm::test::SendMouseMoveTo(m_cursor);
        PumpUntil(
            [this] {
                POINT now{};
                ::GetCursorPos(&now);
                return now.x == m_cursor.x && now.y == m_cursor.y;
            },
            1000);
        MarkupTest::TearDown();
    }

private:
    POINT m_cursor{};
};

}  // namespace

TEST_F(ControlWindowTest, ARealClickOnAButtonRaisesClickOnce)
{
    CButtonHost host;
    ASSERT_TRUE(host.CreateHost());
    host.context = CreateMarkupContext(host.GetSafeHwnd());
    int clicks = 0;
    host.context->AddDelegate(L"OnClick", new COSMMarkupFunctionDelegate(
                                              [&](COSMMarkupInputElement*, COSMMarkupRoutedEventArgs*) { ++clicks; }));
    host.root = host.context->Parse("<Page><Button Name=\"b\" Click=\"OnClick\" Width=\"80\" Height=\"30\" "
                                    "HorizontalAlignment=\"Left\" VerticalAlignment=\"Top\" Margin=\"20,10,0,0\">"
                                    "OK</Button></Page>");
    ASSERT_NE(host.root, nullptr);
    COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);
    host.root->Measure(&measuring, 200, 120);
    host.root->Arrange(0, 0, 200, 120);
    auto* button = MarkupDynamicCast<COSMMarkupButton>(host.root->GetVisualChild(0));
    ASSERT_NE(button, nullptr);

    POINT center{60, 25};
    ::ClientToScreen(host.GetSafeHwnd(), &center);
    osm::test::SendMouseMoveTo(center);
    EXPECT_TRUE(PumpUntil([&] { return button->GetIsMouseOver() != FALSE; }));
    osm::test::SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(PumpUntil([&] { return button->GetIsPressed() != FALSE; }));
    EXPECT_EQ(::GetCapture(), host.GetSafeHwnd());
    EXPECT_EQ(clicks, 0);
    osm::test::SendMouseInput(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return clicks > 0; }));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->GetIsPressed());
    EXPECT_EQ(::GetCapture(), nullptr);

    // Moving away leaves the hover.
    POINT outside{180, 100};
    ::ClientToScreen(host.GetSafeHwnd(), &outside);
    osm::test::SendMouseMoveTo(outside);
    EXPECT_TRUE(PumpUntil([&] { return button->GetIsMouseOver() == FALSE; }));

    ReleaseMarkupElement(&host.root);
    ReleaseMarkupContext(&host.context);
}
