// The markup context with a real host window on the display: the mouse capture an element takes and loses with
// its end, and the rectangles the context invalidates for an element and for a root whose size changed.
#include "ActiveWindow.h"
#include "MarkupElementTestTypes.h"
#include "MarkupTestSupport.h"

#include "classlib/ClassLib.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupBorder.h"
#include "framework/markup/MarkupPage.h"

#include <gtest/gtest.h>

using markup_test::MakeIn;
using markup_test::MarkupBuilderTest;
using markup_test::Owned;
using markup_test::SetFromText;

namespace {

// A shown, active top-level window: the mouse capture only works for an active window's thread.
class CMarkupHost : public CWnd
{
public:
    BOOL CreateHost()
    {
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (!CreateEx(0, cls, "markup host", WS_POPUP | WS_VISIBLE, 100, 80, 200, 150, nullptr, nullptr))
            return FALSE;
        ::UpdateWindow(m_hWnd);
        return osm::test::ActivateWindow(m_hWnd);
    }
    ~CMarkupHost() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
    // What is waiting to be painted, after everything before was validated.
    CRect UpdateRect() const
    {
        CRect rect;
        ::GetUpdateRect(m_hWnd, &rect, FALSE);
        return rect;
    }
    void Validate() const { ::ValidateRect(m_hWnd, nullptr); }
};

class ContextWindowTest : public MarkupBuilderTest
{
protected:
    void SetUp() override
    {
        MarkupBuilderTest::SetUp();
        ASSERT_TRUE(host.CreateHost());
        hostContext = CreateMarkupContext(host.GetSafeHwnd());
    }
    void TearDown() override
    {
        ReleaseMarkupContext(&hostContext);
        MarkupBuilderTest::TearDown();
    }

    CMarkupHost host;
    COSMMarkupContext* hostContext = nullptr;
};

}  // namespace

TEST_F(ContextWindowTest, TheCaptureElementsEndReleasesTheCapture)
{
    Owned<COSMMarkupBorder> border = MakeIn<COSMMarkupBorder>(hostContext);
    border->CaptureMouse();
    EXPECT_EQ(host.GetSafeHwnd(), ::GetCapture());
    EXPECT_EQ(border.get(), hostContext->GetCaptureElement());
    border.reset();
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(nullptr, hostContext->GetCaptureElement());

    Owned<COSMMarkupBorder> other = MakeIn<COSMMarkupBorder>(hostContext);
    other->CaptureMouse();
    EXPECT_EQ(host.GetSafeHwnd(), ::GetCapture());
    other->ReleaseMouseCapture();
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(ContextWindowTest, ElementsInvalidateTheirRectangleAndRootsTheWholeClientArea)
{
    Owned<COSMMarkupPage> page = MakeIn<COSMMarkupPage>(hostContext);
    COSMMarkupBorder* border = markup_test::AddPlacedBorder(&builder, hostContext, page.get());
    CRect client;
    host.GetClientRect(&client);
    MeasureMarkupElement(page.get(), client.Width(), client.Height());
    page->Arrange(client);

    host.Validate();
    border->InvalidateVisual();
    EXPECT_EQ(CRect(10, 20, 40, 60), host.UpdateRect());

    // A background repaints the border; a width makes the page's size change, which repaints everything.
    host.Validate();
    SetFromText(&builder, border, COSMMarkupBorder::s_pBackgroundProperty, L"Red");
    EXPECT_EQ(CRect(10, 20, 40, 60), host.UpdateRect());
    host.Validate();
    SetFromText(&builder, border, COSMMarkupFrameworkElement::s_pWidthProperty, L"50");
    EXPECT_EQ(client, host.UpdateRect());
}

TEST_F(ContextWindowTest, ParsingForgetsTheCaptureAndReleasesTheWindowCapture)
{
    Owned<COSMMarkupBorder> border = MakeIn<COSMMarkupBorder>(hostContext);
    border->CaptureMouse();
    ASSERT_EQ(host.GetSafeHwnd(), ::GetCapture());
    COSMMarkupUIElement* root = ParseMarkup(hostContext, "<Page><Border/></Page>");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(nullptr, hostContext->GetCaptureElement());
    EXPECT_EQ(nullptr, ::GetCapture());
    ReleaseMarkupElement(&root);

    // A text that does not parse forgets it too, and another window's capture is left alone.
    CMarkupHost other;
    ASSERT_TRUE(other.CreateHost());
    border->CaptureMouse();
    ::SetCapture(other.GetSafeHwnd());
    EXPECT_EQ(nullptr, ParseMarkup(hostContext, "<Page>"));
    EXPECT_EQ(nullptr, hostContext->GetCaptureElement());
    EXPECT_EQ(other.GetSafeHwnd(), ::GetCapture());
    ::ReleaseCapture();
}
