// The markup context with a real host window on the display: the mouse capture an element takes and loses with
// its end, and the rectangles the context invalidates for an element and for a root whose size changed.
#include "ActiveWindow.h"
#include "MarkupElementTestTypes.h"
#include "MarkupTestSupport.h"
#include "SyntheticInput.h"

#include "classlib/Geometry.h"
#include "classlib/Wnd.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupBorder.h"
#include "framework/markup/MarkupDelegate.h"
#include "framework/markup/MarkupPage.h"
#include "framework/markup/MarkupPanel.h"
#include "framework/markup/MarkupRun.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupSpan.h"
#include "framework/markup/MarkupTextBlock.h"
#include "framework/markup/MarkupToolTipContext.h"
#include "framework/markup/MarkupType.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using markup_test::MakeIn;
using markup_test::MarkupBuilderTest;
using markup_test::SetFromText;

namespace {

// A shown, active top-level window: the mouse capture only works for an active window's thread.
class CMarkupHost : public CWnd
{
public:
    BOOL CreateHost()
    {
        LPCSTR cls =
            AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
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
    RefPtr<COSMMarkupBorder> border = MakeIn<COSMMarkupBorder>(hostContext);
    border->CaptureMouse();
    EXPECT_EQ(host.GetSafeHwnd(), ::GetCapture());
    EXPECT_EQ(border.Get(), hostContext->GetCaptureElement());
    border.Reset();
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(nullptr, hostContext->GetCaptureElement());

    RefPtr<COSMMarkupBorder> other = MakeIn<COSMMarkupBorder>(hostContext);
    other->CaptureMouse();
    EXPECT_EQ(host.GetSafeHwnd(), ::GetCapture());
    other->ReleaseMouseCapture();
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(ContextWindowTest, ElementsInvalidateTheirRectangleAndRootsTheWholeClientArea)
{
    RefPtr<COSMMarkupPage> page = MakeIn<COSMMarkupPage>(hostContext);
    COSMMarkupBorder* border = markup_test::AddPlacedBorder(&builder, hostContext, page.Get());
    CRect client;
    host.GetClientRect(&client);
    MeasureMarkupElement(page.Get(), client.Width(), client.Height());
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

// A context on a real window that counts what it hands the window to repaint.
class CCountingContext : public COSMMarkupContext
{
public:
    using COSMMarkupContext::COSMMarkupContext;
    std::vector<CRect> invalidations;

protected:
    void InvalidateHost(const RECT* rect) override
    {
        CRect whole;
        ::GetClientRect(GetHostWindow(), &whole);
        invalidations.push_back(rect ? CRect(*rect) : whole);
        COSMMarkupContext::InvalidateHost(rect);
    }
};

// Hosts build their trees into contexts on shown windows: the build must not cost a repaint request per property,
// and a later change must repaint only what changed.
TEST_F(ContextWindowTest, BuildingATreeInvalidatesNothingAndALaterChangeOnlyItsElement)
{
    std::string text = "<StackPanel>";
    for (int i = 0; i < 333; ++i)
    {
        text += "<Border Background='Red' BorderBrush='Blue' BorderThickness='1' Height='4'>"
                "<TextBlock Foreground='Green' FontSize='3'>cell</TextBlock></Border>";
        text += "<Rectangle Fill='Yellow' Height='2'/>";
    }
    text += "</StackPanel>";

    auto context = RefPtr<CCountingContext>::Adopt(new CCountingContext(host.GetSafeHwnd()));
    host.Validate();
    COSMMarkupUIElement* root = context->Parse(text.c_str());
    ASSERT_NE(nullptr, root);
    EXPECT_LE(context->invalidations.size(), 1u);
    EXPECT_TRUE(host.UpdateRect().IsRectEmpty());

    CRect client;
    host.GetClientRect(&client);
    MeasureMarkupElement(root, client.Width(), client.Height());
    root->Arrange(client);
    host.Validate();
    context->invalidations.clear();

    COSMMarkupPanel* panel = MarkupDynamicCast<COSMMarkupPanel>(root);
    ASSERT_NE(nullptr, panel);
    COSMMarkupBorder* border = MarkupDynamicCast<COSMMarkupBorder>(panel->GetChildren()->GetElement(2));
    ASSERT_NE(nullptr, border);
    SetFromText(&builder, border, COSMMarkupBorder::s_pBackgroundProperty, L"Black");
    const CRect borderRect = context->GetClientBoundingRect(border);
    ASSERT_FALSE(borderRect.IsRectEmpty());
    ASSERT_EQ(1u, context->invalidations.size());
    EXPECT_EQ(borderRect, context->invalidations[0]);
    EXPECT_EQ(borderRect, host.UpdateRect());
    ReleaseMarkupElement(&root);
}

TEST_F(ContextWindowTest, ParsingForgetsTheCaptureAndReleasesTheWindowCapture)
{
    RefPtr<COSMMarkupBorder> border = MakeIn<COSMMarkupBorder>(hostContext);
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

namespace {

// A text block with a hyperlink, parsed in the host's context, laid out at the window's top left.
struct CLinkText
{
    explicit CLinkText(COSMMarkupContext* context)
        : root(ParseMarkup(context, "<TextBlock>go <Hyperlink Cursor='Hand'>there</Hyperlink></TextBlock>"))
    {
        block = MarkupDynamicCast<COSMMarkupTextBlock>(root);
        if (!block)
            return;
        const CSize size = MeasureMarkupElement(root, 0x7FFFFFFF, 0x7FFFFFFF);
        root->Arrange(0, 0, size.cx + 40, size.cy);
        const auto& pieces = block->GetLines()[0].pieces;
        link = pieces.back().GetRect().CenterPoint();
        plain = pieces.front().GetRect().CenterPoint();
        linkRun = pieces.back().inlineElement;
        hyperlink = MarkupDynamicCast<COSMMarkupHyperlink>(block->GetInlines()->GetInline(1));
    }
    ~CLinkText() { ReleaseMarkupElement(&root); }

    COSMMarkupUIElement* root;
    COSMMarkupTextBlock* block = nullptr;
    COSMMarkupHyperlink* hyperlink = nullptr;
    COSMMarkupInline* linkRun = nullptr;
    CPoint link;
    CPoint plain;
};

BOOL Send(COSMMarkupContext* context, COSMMarkupUIElement* root, UINT message, CPoint point, LRESULT* result = nullptr,
          WPARAM wParam = 0)
{
    LRESULT ignored = 0;
    return context->OnWndMsg(root, message, wParam, MAKELPARAM(point.x, point.y), result ? result : &ignored);
}

}  // namespace

TEST_F(ContextWindowTest, AHyperlinkClicksOnAReleaseThatFollowsAPressOverIt)
{
    CLinkText text(hostContext);
    ASSERT_NE(nullptr, text.hyperlink);
    std::vector<COSMMarkupInputElement*> senders;
    hostContext->AddHandler(
        COSMMarkupHyperlink::s_pClickEvent,
        new COSMMarkupFunctionDelegate(
            [&](COSMMarkupInputElement* sender, COSMMarkupRoutedEventArgs*) { senders.push_back(sender); }));
    Send(hostContext, text.root, WM_MOUSEMOVE, text.link);
    ASSERT_EQ(text.linkRun, hostContext->GetMouseOverElement());

    // A release alone does nothing.
    EXPECT_FALSE(Send(hostContext, text.root, WM_LBUTTONUP, text.link));
    EXPECT_TRUE(senders.empty());

    EXPECT_TRUE(Send(hostContext, text.root, WM_LBUTTONDOWN, text.link));
    EXPECT_TRUE(Send(hostContext, text.root, WM_LBUTTONUP, text.link));
    ASSERT_EQ(1u, senders.size());
    EXPECT_EQ(text.hyperlink, senders[0]);

    // Pressed, released elsewhere: still pressed, so the next release over it clicks.
    EXPECT_TRUE(Send(hostContext, text.root, WM_LBUTTONDOWN, text.link));
    Send(hostContext, text.root, WM_MOUSEMOVE, text.plain);
    EXPECT_FALSE(Send(hostContext, text.root, WM_LBUTTONUP, text.plain));
    EXPECT_EQ(1u, senders.size());
    Send(hostContext, text.root, WM_MOUSEMOVE, text.link);
    EXPECT_TRUE(Send(hostContext, text.root, WM_LBUTTONUP, text.link));
    EXPECT_EQ(2u, senders.size());
}

TEST_F(ContextWindowTest, AClickHandlerMayReleaseTheTreeAndTheContext)
{
    COSMMarkupUIElement* root = nullptr;
    CPoint link;
    {
        CLinkText text(hostContext);
        ASSERT_NE(nullptr, text.hyperlink);
        root = text.root;
        text.root = nullptr;
        link = text.link;
    }
    int clicks = 0;
    hostContext->AddHandler(COSMMarkupHyperlink::s_pClickEvent,
                            new COSMMarkupFunctionDelegate([&](COSMMarkupInputElement*, COSMMarkupRoutedEventArgs*) {
                                ++clicks;
                                // What a host closing on a click does: both references go during dispatch.
                                ReleaseMarkupElement(&root);
                                ReleaseMarkupContext(&hostContext);
                            }));
    COSMMarkupContext* context = hostContext;
    COSMMarkupUIElement* target = root;
    Send(context, target, WM_MOUSEMOVE, link);
    Send(context, target, WM_LBUTTONDOWN, link);
    EXPECT_TRUE(Send(context, target, WM_LBUTTONUP, link));
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(nullptr, root);
    EXPECT_EQ(nullptr, hostContext);
}

TEST_F(ContextWindowTest, HoverSetsIsMouseOverAlongTheRouteAndALeaveClearsIt)
{
    CLinkText text(hostContext);
    ASSERT_NE(nullptr, text.hyperlink);
    const auto over = [](COSMMarkupObject* element) {
        const COSMMarkupBool* value =
            MarkupDynamicCast<COSMMarkupBool>(element->GetValue(COSMMarkupInputElement::s_pIsMouseOverProperty));
        return value && value->GetValue();
    };
    Send(hostContext, text.root, WM_MOUSEMOVE, text.link);
    EXPECT_TRUE(over(text.linkRun));
    EXPECT_TRUE(over(text.hyperlink));
    EXPECT_TRUE(over(text.root));
    EXPECT_EQ(text.root, hostContext->GetActiveRoot());

    // Another root is refused while this one holds the mouse.
    COSMMarkupUIElement* second = ParseMarkup(hostContext, "<TextBlock>x</TextBlock>");
    // Parsing forgot the mouse-over: move again.
    Send(hostContext, text.root, WM_MOUSEMOVE, text.link);
    LRESULT result = 0;
    EXPECT_FALSE(Send(hostContext, second, WM_MOUSEMOVE, CPoint(1, 1), &result));
    EXPECT_EQ(text.root, hostContext->GetActiveRoot());

    Send(hostContext, text.root, WM_MOUSEMOVE, text.plain);
    EXPECT_FALSE(over(text.hyperlink));
    EXPECT_TRUE(over(text.root));

    Send(hostContext, text.root, WM_MOUSELEAVE, CPoint(-1, -1));
    EXPECT_FALSE(over(text.root));
    EXPECT_EQ(nullptr, hostContext->GetMouseOverElement());
    EXPECT_EQ(nullptr, hostContext->GetActiveRoot());
    ReleaseMarkupElement(&second);
}

TEST_F(ContextWindowTest, TheCursorQueryAndUnhandledMessages)
{
    CLinkText text(hostContext);
    ASSERT_NE(nullptr, text.hyperlink);
    Send(hostContext, text.root, WM_MOUSEMOVE, text.link);
    LRESULT result = 0;
    EXPECT_TRUE(Send(hostContext, text.root, WM_SETCURSOR, text.link, &result));
    EXPECT_EQ(1, result);
    EXPECT_EQ(::LoadCursor(nullptr, IDC_HAND), ::GetCursor());

    Send(hostContext, text.root, WM_MOUSEMOVE, text.plain);
    EXPECT_FALSE(Send(hostContext, text.root, WM_SETCURSOR, text.plain));
    EXPECT_EQ(::LoadCursor(nullptr, IDC_ARROW), ::GetCursor());

    for (UINT message : {WM_KEYDOWN, WM_SETFOCUS, WM_KILLFOCUS, WM_MOUSEWHEEL})
        EXPECT_FALSE(Send(hostContext, text.root, message, text.plain)) << message;

    // Without a host window nothing is handled.
    COSMMarkupContext* headless = CreateMarkupContext(nullptr);
    COSMMarkupUIElement* root = ParseMarkup(headless, "<TextBlock>x</TextBlock>");
    EXPECT_FALSE(Send(headless, root, WM_MOUSEMOVE, CPoint(1, 1)));
    ReleaseMarkupElement(&root);
    ReleaseMarkupContext(&headless);
}

TEST_F(ContextWindowTest, LosingTheCaptureRaisesLostMouseCaptureOnce)
{
    RefPtr<COSMMarkupBorder> border = MakeIn<COSMMarkupBorder>(hostContext);
    int lost = 0;
    border->AddHandler(
        COSMMarkupInputElement::s_pLostMouseCaptureEvent,
        new COSMMarkupFunctionDelegate([&](COSMMarkupInputElement*, COSMMarkupRoutedEventArgs*) { ++lost; }));
    border->CaptureMouse();
    Send(hostContext, border.Get(), WM_CAPTURECHANGED, CPoint(0, 0));
    Send(hostContext, border.Get(), WM_CAPTURECHANGED, CPoint(0, 0));
    EXPECT_EQ(1, lost);
    EXPECT_EQ(nullptr, hostContext->GetCaptureElement());
}

TEST_F(ContextWindowTest, TheToolTipHitTestAnswersWithTheTextTipAlongTheRoute)
{
    COSMMarkupUIElement* root =
        ParseMarkup(hostContext, "<TextBlock>go <Hyperlink ToolTip='Visit us'>there</Hyperlink></TextBlock>");
    ASSERT_NE(nullptr, root);
    COSMMarkupTextBlock* block = MarkupDynamicCast<COSMMarkupTextBlock>(root);
    const CSize size = MeasureMarkupElement(root, 0x7FFFFFFF, 0x7FFFFFFF);
    root->Arrange(0, 0, size.cx, size.cy);
    const CPoint link = block->GetLines()[0].pieces.back().GetRect().CenterPoint();
    const CPoint plain = block->GetLines()[0].pieces.front().GetRect().CenterPoint();
    COSMMarkupObject* hyperlink = block->GetInlines()->GetInline(1);
    COSMMarkupToolTipContext* tips = hostContext->GetToolTipContext();
    ASSERT_NE(nullptr, tips);
    EXPECT_EQ(COSMMarkupToolTipContext::kMarkupToolTipStyle, tips->GetStyle());

    Send(hostContext, root, WM_MOUSEMOVE, link);
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    EXPECT_EQ(reinterpret_cast<INT_PTR>(hyperlink), tips->OnToolHitTest(&host, link, &info));
    EXPECT_EQ(host.GetSafeHwnd(), info.hwnd);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(hyperlink), info.uId);
    EXPECT_EQ(CRect(0, 0, size.cx, size.cy), CRect(info.rect));
    ASSERT_NE(nullptr, info.lpszText);
    EXPECT_STREQ("Visit us", info.lpszText);
    COSMToolTipContext::FreeToolInfoText(&info);

    Send(hostContext, root, WM_MOUSEMOVE, plain);
    TOOLINFOA none = {};
    none.cbSize = TTTOOLINFOA_V2_SIZE;
    EXPECT_EQ(-1, tips->OnToolHitTest(&host, plain, &none));
    ReleaseMarkupElement(&root);
}

namespace {

using markup_test::CGrabbingProbe;
using markup_test::CProbe;

// A probe of 150 × 100 at the window's top left holding one child of 40 × 30 at (10, 10), both made by the host's
// context and laid out.
template <class T> struct CProbePair
{
    explicit CProbePair(COSMMarkupContext* context) : root(MakeIn<T>(context))
    {
        root->contentSize = CSize(150, 100);
        child = MakeIn<T>(context).Detach();
        child->contentSize = CSize(40, 30);
        root->AddProbe(child, 10, 10);
        MeasureMarkupElement(root.Get(), 150, 100);
        root->Arrange(0, 0, 150, 100);
    }

    RefPtr<T> root;
    T* child = nullptr;
    static constexpr POINT inChild{20, 20};
    static constexpr POINT inRootOnly{100, 80};
    static constexpr POINT outside{180, 120};
};

}  // namespace

TEST_F(ContextWindowTest, AHandCursorOnAnElementOrItsParentAnswersTheCursorQuery)
{
    for (bool onChild : {false, true})
    {
        SCOPED_TRACE(onChild ? "cursor on the child" : "cursor on the parent");
        CProbePair<CProbe> probes(hostContext);
        SetFromText(&builder, onChild ? static_cast<CProbe*>(probes.child) : probes.root.Get(),
                    COSMMarkupInputElement::s_pCursorProperty, L"Hand");
        Send(hostContext, probes.root.Get(), WM_MOUSEMOVE, probes.inChild);
        ASSERT_EQ(probes.child, hostContext->GetMouseOverElement());
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        LRESULT result = 0;
        EXPECT_TRUE(Send(hostContext, probes.root.Get(), WM_SETCURSOR, probes.inChild, &result));
        EXPECT_EQ(1, result);
        EXPECT_EQ(::LoadCursor(nullptr, IDC_HAND), ::GetCursor());

        // Over the parent alone the hand is only its own; outside both nothing answers and the arrow comes back.
        Send(hostContext, probes.root.Get(), WM_MOUSEMOVE, probes.inRootOnly);
        result = 0;
        EXPECT_EQ(onChild ? FALSE : TRUE,
                  Send(hostContext, probes.root.Get(), WM_SETCURSOR, probes.inRootOnly, &result));
        EXPECT_EQ(onChild ? 0 : 1, result);
        EXPECT_EQ(::LoadCursor(nullptr, onChild ? IDC_ARROW : IDC_HAND), ::GetCursor());

        Send(hostContext, probes.root.Get(), WM_MOUSEMOVE, probes.outside);
        EXPECT_EQ(nullptr, hostContext->GetMouseOverElement());
        result = 0;
        EXPECT_FALSE(Send(hostContext, probes.root.Get(), WM_SETCURSOR, probes.outside, &result));
        EXPECT_EQ(0, result);
        EXPECT_EQ(::LoadCursor(nullptr, IDC_ARROW), ::GetCursor());
        Send(hostContext, probes.root.Get(), WM_MOUSELEAVE, CPoint(-1, -1));
    }
}

TEST_F(ContextWindowTest, TheWheelIsHandledOnlyWhenAnElementOnTheRouteMarksItHandled)
{
    CProbePair<CGrabbingProbe> probes(hostContext);
    const WPARAM down = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));

    // Nobody under the mouse yet: nobody hears it.
    EXPECT_FALSE(Send(hostContext, probes.root.Get(), WM_MOUSEWHEEL, probes.inChild, nullptr, down));
    EXPECT_EQ(0, probes.child->wheels);

    struct Case
    {
        const char* name;
        bool childHandles;
        bool rootHandles;
        BOOL handled;
        int childWheels;
        int rootWheels;
    };
    const Case cases[] = {
        {"nobody marks it", false, false, FALSE, 1, 1},
        {"the parent marks it", false, true, TRUE, 1, 1},
        {"the child marks it: the parent never hears it", true, true, TRUE, 1, 0},
    };
    Send(hostContext, probes.root.Get(), WM_MOUSEMOVE, probes.inChild);
    ASSERT_EQ(probes.child, hostContext->GetMouseOverElement());
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        probes.child->wheels = probes.root->wheels = 0;
        probes.child->handlesWheel = c.childHandles;
        probes.root->handlesWheel = c.rootHandles;
        LRESULT result = 0;
        EXPECT_EQ(c.handled, Send(hostContext, probes.root.Get(), WM_MOUSEWHEEL, probes.inChild, &result, down));
        EXPECT_EQ(c.handled ? 1 : 0, result);
        EXPECT_EQ(c.childWheels, probes.child->wheels);
        EXPECT_EQ(c.rootWheels, probes.root->wheels);
        EXPECT_EQ(-WHEEL_DELTA, probes.child->lastDelta);
    }
}

TEST_F(ContextWindowTest, AnElementThatCapturesOnPressKeepsTheMouseThroughAMoveOutside)
{
    CProbePair<CGrabbingProbe> probes(hostContext);
    Send(hostContext, probes.root.Get(), WM_MOUSEMOVE, probes.inChild);
    ASSERT_EQ(probes.child, hostContext->GetMouseOverElement());
    probes.child->moves.clear();

    EXPECT_TRUE(Send(hostContext, probes.root.Get(), WM_LBUTTONDOWN, probes.inChild));
    EXPECT_EQ(probes.child, hostContext->GetCaptureElement());
    EXPECT_EQ(host.GetSafeHwnd(), ::GetCapture());

    // The later moves over it reach it.
    Send(hostContext, probes.root.Get(), WM_MOUSEMOVE, CPoint(30, 25));
    Send(hostContext, probes.root.Get(), WM_MOUSEMOVE, CPoint(45, 35));
    EXPECT_EQ((std::vector<CPoint>{CPoint(30, 25), CPoint(45, 35)}), probes.child->moves);
    EXPECT_EQ(probes.child, hostContext->GetMouseOverElement());

    // Outside it, over its parent: nothing is under the mouse, yet the capture stays with the child.
    const size_t rootMoves = probes.root->moves.size();
    Send(hostContext, probes.root.Get(), WM_MOUSEMOVE, probes.inRootOnly);
    EXPECT_EQ(nullptr, hostContext->GetMouseOverElement());
    EXPECT_EQ(probes.child, hostContext->GetCaptureElement());
    EXPECT_EQ(host.GetSafeHwnd(), ::GetCapture());
    EXPECT_EQ(rootMoves, probes.root->moves.size());

    // The release out there still reaches the capture element, which lets the mouse go.
    EXPECT_TRUE(Send(hostContext, probes.root.Get(), WM_LBUTTONUP, probes.inRootOnly));
    EXPECT_EQ(1, probes.child->releases);
    EXPECT_EQ(0, probes.root->releases);
    EXPECT_EQ(nullptr, hostContext->GetCaptureElement());
    EXPECT_EQ(nullptr, ::GetCapture());

    // Without the capture the parent is under the mouse again.
    Send(hostContext, probes.root.Get(), WM_MOUSEMOVE, probes.inRootOnly);
    EXPECT_EQ(probes.root.Get(), hostContext->GetMouseOverElement());
    Send(hostContext, probes.root.Get(), WM_MOUSELEAVE, CPoint(-1, -1));
}

TEST_F(ContextWindowTest, MovingFromAChildToItsParentLeavesTheChildOnly)
{
    CProbePair<CProbe> probes(hostContext);
    std::vector<std::string> heard;
    const auto listen = [&](CProbe* element, const char* name) {
        element->AddHandler(
            COSMMarkupInputElement::s_pMouseEnterEvent,
            new COSMMarkupFunctionDelegate([&heard, name](COSMMarkupInputElement*, COSMMarkupRoutedEventArgs*) {
                heard.push_back(std::string("enter ") + name);
            }));
        element->AddHandler(
            COSMMarkupInputElement::s_pMouseLeaveEvent,
            new COSMMarkupFunctionDelegate([&heard, name](COSMMarkupInputElement*, COSMMarkupRoutedEventArgs*) {
                heard.push_back(std::string("leave ") + name);
            }));
    };
    listen(probes.root.Get(), "parent");
    listen(probes.child, "child");
    const auto over = [](COSMMarkupObject* element) {
        const COSMMarkupBool* value =
            MarkupDynamicCast<COSMMarkupBool>(element->GetValue(COSMMarkupInputElement::s_pIsMouseOverProperty));
        return value && value->GetValue();
    };

    Send(hostContext, probes.root.Get(), WM_MOUSEMOVE, probes.inChild);
    EXPECT_EQ((std::vector<std::string>{"enter child", "enter parent"}), heard);
    heard.clear();

    // The parent stays under the mouse: it hears neither event and keeps IsMouseOver.
    Send(hostContext, probes.root.Get(), WM_MOUSEMOVE, probes.inRootOnly);
    EXPECT_EQ(probes.root.Get(), hostContext->GetMouseOverElement());
    EXPECT_EQ((std::vector<std::string>{"leave child"}), heard);
    EXPECT_FALSE(over(probes.child));
    EXPECT_TRUE(over(probes.root.Get()));
    heard.clear();

    // Back into the child: only the child enters; then out of both, innermost first.
    Send(hostContext, probes.root.Get(), WM_MOUSEMOVE, probes.inChild);
    EXPECT_EQ((std::vector<std::string>{"enter child"}), heard);
    heard.clear();
    Send(hostContext, probes.root.Get(), WM_MOUSEMOVE, probes.outside);
    EXPECT_EQ((std::vector<std::string>{"leave child", "leave parent"}), heard);
    EXPECT_FALSE(over(probes.root.Get()));
}

TEST_F(ContextWindowTest, TheHostsReleaseComesFirstAndTheElementsKeepTheContextUntilTheyGo)
{
    for (bool windowDestroyed : {false, true})
    {
        SCOPED_TRACE(windowDestroyed ? "the host window destroyed too" : "the host window kept");
        CMarkupHost window;
        ASSERT_TRUE(window.CreateHost());
        bool destroyed = false;
        auto* context = new markup_test::CRecordingContext(window.GetSafeHwnd());
        context->destroyed = &destroyed;
        {
            CProbePair<CGrabbingProbe> probes(context);
            Send(context, probes.root.Get(), WM_MOUSEMOVE, probes.inChild);
            EXPECT_TRUE(Send(context, probes.root.Get(), WM_LBUTTONDOWN, probes.inChild));
            ASSERT_EQ(window.GetSafeHwnd(), ::GetCapture());

            // The host lets go of its reference while the child holds the capture and the mouse is over it.
            COSMMarkupContext* hostReference = context;
            ReleaseMarkupContext(&hostReference);
            EXPECT_EQ(nullptr, hostReference);
            EXPECT_FALSE(destroyed);
            EXPECT_EQ(probes.child, context->GetCaptureElement());

            if (windowDestroyed)
            {
                // What a host forwards as its window goes.
                Send(context, probes.root.Get(), WM_DESTROY, CPoint(-1, -1));
                EXPECT_EQ(nullptr, context->GetMouseOverElement());
                window.DestroyWindow();
            }
            // The elements still work through it.
            Send(context, probes.root.Get(), WM_MOUSEMOVE, probes.inRootOnly);
            EXPECT_TRUE(Send(context, probes.root.Get(), WM_LBUTTONUP, probes.inRootOnly));
            EXPECT_EQ(1, probes.child->releases);
            EXPECT_EQ(nullptr, context->GetCaptureElement());
            EXPECT_FALSE(destroyed);
        }
        // The last element took the context with it.
        EXPECT_TRUE(destroyed);
        EXPECT_EQ(nullptr, ::GetCapture());
    }
}

TEST_F(ContextWindowTest, AnElementAsToolTipIsPassedOverForTheNearestTextToolTip)
{
    struct Case
    {
        const char* name;
        const char* text;
        // Over the hyperlink's text: which element answers ("block", "link" or none) and with what text.
        const char* linkOwner;
        const char* linkTip;
        // Over the plain text beside it.
        const char* plainOwner;
        const char* plainTip;
    };
    const Case cases[] = {
        {"an element on the link, text on the block",
         "<TextBlock ToolTip='block tip'>go <Hyperlink><Hyperlink.ToolTip><TextBlock>element tip</TextBlock>"
         "</Hyperlink.ToolTip>there</Hyperlink></TextBlock>",
         "block", "block tip", "block", "block tip"},
        {"text on the link and on the block",
         "<TextBlock ToolTip='block tip'>go <Hyperlink ToolTip='link tip'>there</Hyperlink></TextBlock>", "link",
         "link tip", "block", "block tip"},
        {"an element on the link, nothing on the block",
         "<TextBlock>go <Hyperlink><Hyperlink.ToolTip><TextBlock>element tip</TextBlock></Hyperlink.ToolTip>"
         "there</Hyperlink></TextBlock>",
         nullptr, nullptr, nullptr, nullptr},
        {"an element on the block, text on the link",
         "<TextBlock><TextBlock.ToolTip><Border/></TextBlock.ToolTip>go <Hyperlink ToolTip='link tip'>there"
         "</Hyperlink></TextBlock>",
         "link", "link tip", nullptr, nullptr},
    };
    COSMMarkupToolTipContext* tips = hostContext->GetToolTipContext();
    ASSERT_NE(nullptr, tips);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMMarkupUIElement* root = ParseMarkup(hostContext, c.text);
        ASSERT_NE(nullptr, root);
        COSMMarkupTextBlock* block = MarkupDynamicCast<COSMMarkupTextBlock>(root);
        ASSERT_NE(nullptr, block);
        const CSize size = MeasureMarkupElement(root, 0x7FFFFFFF, 0x7FFFFFFF);
        root->Arrange(0, 0, size.cx, size.cy);
        const auto& pieces = block->GetLines()[0].pieces;
        COSMMarkupObject* hyperlink = MarkupDynamicCast<COSMMarkupHyperlink>(block->GetInlines()->GetInline(1));
        ASSERT_NE(nullptr, hyperlink);
        const auto element = [&](const char* owner) -> COSMMarkupObject* {
            if (!owner)
                return nullptr;
            return std::string(owner) == "link" ? hyperlink : root;
        };
        const struct
        {
            CPoint point;
            const char* owner;
            const char* tip;
        } probes[] = {{pieces.back().GetRect().CenterPoint(), c.linkOwner, c.linkTip},
                      {pieces.front().GetRect().CenterPoint(), c.plainOwner, c.plainTip}};
        for (const auto& probe : probes)
        {
            Send(hostContext, root, WM_MOUSEMOVE, probe.point);
            TOOLINFOA info = {};
            info.cbSize = TTTOOLINFOA_V2_SIZE;
            const INT_PTR id = tips->OnToolHitTest(&host, probe.point, &info);
            if (!probe.owner)
            {
                EXPECT_EQ(-1, id);
                EXPECT_EQ(nullptr, info.lpszText);
                continue;
            }
            COSMMarkupObject* owner = element(probe.owner);
            EXPECT_EQ(reinterpret_cast<INT_PTR>(owner), id) << probe.owner;
            EXPECT_EQ(reinterpret_cast<UINT_PTR>(owner), info.uId);
            EXPECT_EQ(hostContext->GetClientBoundingRect(owner), CRect(info.rect));
            ASSERT_NE(nullptr, info.lpszText);
            EXPECT_STREQ(probe.tip, info.lpszText);
            COSMToolTipContext::FreeToolInfoText(&info);
        }
        Send(hostContext, root, WM_MOUSELEAVE, CPoint(-1, -1));
        ReleaseMarkupElement(&root);
    }
}

TEST_F(ContextWindowTest, AChangedTextInvalidatesItsRectangleInTheHostWindow)
{
    struct Case
    {
        const char* name;
        const char* text;
        // Whether the block keeps its size, so only its own rectangle is repainted.
        bool fixedSize;
    };
    const Case cases[] = {
        {"a block of a set size",
         "<Page><TextBlock Margin='10,20,0,0' Width='120' Height='30' HorizontalAlignment='Left' "
         "VerticalAlignment='Top'><Run>old</Run></TextBlock></Page>",
         true},
        {"a block sized by its text",
         "<Page><TextBlock Margin='10,20,0,0' HorizontalAlignment='Left' VerticalAlignment='Top'><Run>old</Run>"
         "</TextBlock></Page>",
         false},
    };
    CRect client;
    host.GetClientRect(&client);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMMarkupUIElement* root = ParseMarkup(hostContext, c.text);
        ASSERT_NE(nullptr, root);
        MeasureMarkupElement(root, client.Width(), client.Height());
        root->Arrange(client);
        COSMMarkupSingleChildElement* page = MarkupDynamicCast<COSMMarkupSingleChildElement>(root);
        ASSERT_NE(nullptr, page);
        COSMMarkupTextBlock* block = MarkupDynamicCast<COSMMarkupTextBlock>(page->GetChild());
        ASSERT_NE(nullptr, block);
        COSMMarkupRun* run = MarkupDynamicCast<COSMMarkupRun>(block->GetInlines()->GetInline(0));
        ASSERT_NE(nullptr, run);

        host.Validate();
        ASSERT_TRUE(host.UpdateRect().IsRectEmpty());
        run->SetText(L"a longer text");
        const CRect update = host.UpdateRect();
        // The new text lies inside what waits to be painted.
        const CRect blockRect = hostContext->GetClientBoundingRect(block);
        CRect text = block->GetLines()[0].pieces.front().GetRect();
        text.OffsetRect(blockRect.TopLeft());
        CRect covered;
        covered.UnionRect(update, text);
        EXPECT_EQ(update, covered) << "text " << text.left << "," << text.top << "," << text.right << ","
                                   << text.bottom;
        EXPECT_EQ(c.fixedSize ? CRect(10, 20, 130, 50) : client, update);
        ReleaseMarkupElement(&root);
    }
}

namespace {

// One handler call a probe heard: which, and at which point of the host's client area.
struct CHeard
{
    std::string what;
    CPoint point;
};

// A probe that records where each mouse handler was told the mouse is, and handles the wheel.
class CPointProbe : public CProbe
{
    DECLARE_MARKUP_TYPE(CPointProbe)

public:
    void OnMouseMove(COSMMarkupMouseEventArgs* args) override { Record("move", args); }
    void OnQueryCursor(COSMMarkupQueryCursorEventArgs* args) override
    {
        CProbe::OnQueryCursor(args);
        heard.push_back({"cursor", CPoint(args->x, args->y)});
    }
    void OnMouseWheel(COSMMarkupMouseWheelEventArgs* args) override
    {
        heard.push_back({"wheel", CPoint(args->x, args->y)});
        args->handled = true;
    }
    void OnMouseLeftButtonDown(COSMMarkupMouseEventArgs* args) override { Record("left down", args); }
    void OnMouseLeftButtonUp(COSMMarkupMouseEventArgs* args) override { Record("left up", args); }
    void OnMouseRightButtonDown(COSMMarkupMouseEventArgs* args) override { Record("right down", args); }
    void OnMouseRightButtonUp(COSMMarkupMouseEventArgs* args) override { Record("right up", args); }

    // The point of the last call of that kind, or (-1, -1).
    CPoint Last(const std::string& what) const
    {
        for (auto it = heard.rbegin(); it != heard.rend(); ++it)
        {
            if (it->what == what)
                return it->point;
        }
        return CPoint(-1, -1);
    }

    std::vector<CHeard> heard;

private:
    void Record(const char* what, COSMMarkupMouseEventArgs* args) { heard.push_back({what, CPoint(args->x, args->y)}); }
};

IMPLEMENT_MARKUP_TYPE(CPointProbe, CProbe, nullptr, nullptr)

// A shown, active popup at (100, 80) whose messages all go to its context first, for one root.
class CRoutingHost : public CWnd
{
public:
    BOOL CreateHost()
    {
        LPCSTR cls =
            AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (!CreateEx(0, cls, "routing host", WS_POPUP | WS_VISIBLE, 100, 80, 200, 150, nullptr, nullptr))
            return FALSE;
        ::UpdateWindow(m_hWnd);
        return osm::test::ActivateWindow(m_hWnd);
    }
    ~CRoutingHost() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

    COSMMarkupContext* context = nullptr;
    COSMMarkupUIElement* root = nullptr;  // borrowed

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT result = 0;
        if (root && context && context->OnWndMsg(root, message, wParam, lParam, &result))
            return result;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// One mouse event of the system's input queue at the current cursor position.
void SendMouseEvent(DWORD flags, DWORD data = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    ::SendInput(1, &input, sizeof(INPUT));
}

}  // namespace

// Each message carries the mouse's position its own way: the client-area mouse messages in lParam as client
// coordinates, WM_MOUSEWHEEL in lParam as screen coordinates, WM_SETCURSOR not at all (its lParam holds the
// hit-test code and the mouse message). Driven by real input, every handler hears the client point under the cursor.
TEST_F(ContextWindowTest, EveryMouseMessageReachesItsHandlerWithTheClientPointUnderTheCursor)
{
    POINT cursorAtStart{};
    ::GetCursorPos(&cursorAtStart);
    CRoutingHost window;
    ASSERT_TRUE(window.CreateHost());
    // The routing host has its own context: the fixture's belongs to the fixture's host.
    COSMMarkupContext* context = CreateMarkupContext(window.GetSafeHwnd());
    RefPtr<CPointProbe> root = MakeIn<CPointProbe>(context);
    root->contentSize = CSize(150, 100);
    MeasureMarkupElement(root.Get(), 150, 100);
    root->Arrange(0, 0, 150, 100);
    window.context = context;
    window.root = root.Get();
    ASSERT_TRUE(osm::test::ActivateWindow(window.GetSafeHwnd()));

    const struct
    {
        const char* message;
        CPoint client;      // where the cursor goes first
        DWORD flags;        // then this event there (0: the move alone)
        DWORD data;         // its wheel data
        const char* heard;  // the handler that hears it
    } cases[] = {
        {"WM_MOUSEMOVE", CPoint(30, 40), 0, 0, "move"},
        {"WM_SETCURSOR", CPoint(45, 25), 0, 0, "cursor"},
        {"WM_MOUSEWHEEL", CPoint(60, 70), MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA), "wheel"},
        {"WM_LBUTTONDOWN", CPoint(70, 50), MOUSEEVENTF_LEFTDOWN, 0, "left down"},
        {"WM_LBUTTONUP", CPoint(72, 52), MOUSEEVENTF_LEFTUP, 0, "left up"},
        {"WM_RBUTTONDOWN", CPoint(90, 20), MOUSEEVENTF_RIGHTDOWN, 0, "right down"},
        {"WM_RBUTTONUP", CPoint(91, 21), MOUSEEVENTF_RIGHTUP, 0, "right up"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.message);
        CPoint screen = c.client;
        window.ClientToScreen(&screen);
        osm::test::SendMouseMoveTo(screen);
        if (c.flags)
        {
            // The move is taken first, so that what follows hears nothing but the event itself.
            const DWORD settle = ::GetTickCount();
            while (root->Last("move") != c.client && ::GetTickCount() - settle < 2000)
            {
                osm::test::PumpPendingMessages();
                ::Sleep(2);
            }
            ASSERT_EQ(c.client, root->Last("move"));
            root->heard.clear();
            SendMouseEvent(c.flags, c.data);
        }
        const DWORD start = ::GetTickCount();
        while (root->Last(c.heard) == CPoint(-1, -1) && ::GetTickCount() - start < 2000)
        {
            osm::test::PumpPendingMessages();
            ::Sleep(2);
        }
        EXPECT_EQ(c.client, root->Last(c.heard)) << "what " << c.heard << " heard";
        root->heard.clear();
    }
    window.root = nullptr;
    window.context = nullptr;
    root.Reset();
    window.DestroyWindow();
    ReleaseMarkupContext(&context);
    ::SetCursorPos(cursorAtStart.x, cursorAtStart.y);
}
