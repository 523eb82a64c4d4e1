// The input element's properties and mouse operations, routed events with their handlers and delegates, binding
// events from markup, and the context's part in it: the elements it makes and counts, its delegates and its
// top-level handlers, and element rectangles in host coordinates. Headless.
#include "MarkupElementTestTypes.h"
#include "MarkupTestSupport.h"

#include "framework/markup/Markup.h"
#include "framework/markup/MarkupBorder.h"
#include "framework/markup/MarkupDelegate.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupPage.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupStyle.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using markup_test::CProbe;
using markup_test::CRecordingContext;
using markup_test::MakeIn;
using markup_test::MarkupBuilderTest;
using markup_test::SetFromText;

namespace {

using Log = std::vector<std::string>;
using Handler = std::function<void(COSMMarkupInputElement*, COSMMarkupRoutedEventArgs*)>;

class EventTest : public MarkupBuilderTest
{
protected:
    // A delegate that notes "<what> <sender's name>" in log, then runs then.
    static COSMMarkupDelegate* Note(Log* log, const std::string& what, Handler then = nullptr)
    {
        return new COSMMarkupFunctionDelegate(
            [log, what, then](COSMMarkupInputElement* sender, COSMMarkupRoutedEventArgs* args) {
                const CProbe* probe = MarkupDynamicCast<CProbe>(sender);
                log->push_back(what + " " + (probe ? probe->name : "?"));
                if (then)
                    then(sender, args);
            });
    }
    static CProbe* Probe(const char* name)
    {
        CProbe* probe = new CProbe;
        probe->name = name;
        return probe;
    }
    static BOOL BoolValue(COSMMarkupObject* element, COSMMarkupDependencyProperty* property)
    {
        const COSMMarkupBool* value = MarkupDynamicCast<COSMMarkupBool>(element->GetValue(property));
        return value && value->GetValue();
    }
};

}  // namespace

// ---- Properties and mouse operations ----------------------------------------------------------------------------

TEST_F(EventTest, InputDefaultsAndTheMouseOverState)
{
    RefPtr<CProbe> probe = AdoptRef(Probe("probe"));
    EXPECT_FALSE(BoolValue(probe.Get(), COSMMarkupInputElement::s_pIsMouseOverProperty));
    EXPECT_TRUE(BoolValue(probe.Get(), COSMMarkupUIElement::s_pIsEnabledProperty));
    EXPECT_FALSE(BoolValue(probe.Get(), COSMMarkupUIElement::s_pFocusableProperty));
    EXPECT_FALSE(BoolValue(probe.Get(), COSMMarkupInputElement::s_pIsKeyboardFocusedProperty));
    EXPECT_FALSE(BoolValue(probe.Get(), COSMMarkupInputElement::s_pIsFocusableProperty));
    EXPECT_EQ(COSMMarkupUIElement::Visible, probe->GetVisibility());

    COSMMarkupMouseEventArgs args(COSMMarkupInputElement::s_pMouseEnterEvent);
    probe->OnMouseEnter(&args);
    RefPtr<COSMMarkupObject> sharedTrue = AdoptRef(COSMMarkupBool::CreateTrueValue());
    EXPECT_EQ(sharedTrue.Get(), probe->GetValueCore(COSMMarkupInputElement::s_pIsMouseOverProperty));
    probe->OnMouseLeave(&args);
    EXPECT_EQ(nullptr, probe->GetValueCore(COSMMarkupInputElement::s_pIsMouseOverProperty));
    EXPECT_FALSE(BoolValue(probe.Get(), COSMMarkupInputElement::s_pIsMouseOverProperty));
}

TEST_F(EventTest, TheCursorQuestionIsAnsweredByTheCursorProperty)
{
    RefPtr<CProbe> probe = AdoptRef(Probe("probe"));
    COSMMarkupQueryCursorEventArgs unanswered;
    probe->OnQueryCursor(&unanswered);
    EXPECT_FALSE(unanswered.handled);
    EXPECT_EQ(nullptr, unanswered.cursor);

    SetFromText(&builder, probe.Get(), COSMMarkupInputElement::s_pCursorProperty, L"Hand");
    COSMMarkupQueryCursorEventArgs answered;
    probe->OnQueryCursor(&answered);
    EXPECT_TRUE(answered.handled);
    EXPECT_EQ(::LoadCursorA(nullptr, IDC_HAND), answered.cursor);
    ASSERT_NE(nullptr, answered.cursor);
}

TEST_F(EventTest, PositionsAreRelativeToTheElement)
{
    RefPtr<CProbe> root = AdoptRef(Probe("root"));
    root->contentSize = CSize(100, 100);
    CProbe* child = root->AddProbe(Probe("child"), 10, 20);
    child->contentSize = CSize(10, 10);
    COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);
    root->Measure(&measuring, 100, 100);
    root->Arrange(5, 7, 105, 107);
    COSMMarkupMouseEventArgs args;
    args.x = 100;
    args.y = 100;
    EXPECT_EQ(CPoint(85, 73), COSMMarkupInputElement::GetPosition(&args, child));
    EXPECT_EQ(CPoint(95, 93), COSMMarkupInputElement::GetPosition(&args, root.Get()));
    EXPECT_EQ(CPoint(100, 100), COSMMarkupInputElement::GetPosition(&args, nullptr));
}

TEST_F(EventTest, AStyleSetThroughItsPropertyIsSealedAndApplied)
{
    RefPtr<CProbe> probe = AdoptRef(Probe("probe"));
    RefPtr<COSMMarkupStyle> style = AdoptRef(new COSMMarkupStyle);
    EXPECT_FALSE(style->IsSealed());
    style->AddRef();
    probe->SetValue(COSMMarkupInputElement::s_pStyleProperty, style.Get());
    EXPECT_TRUE(style->IsSealed());
    EXPECT_EQ(nullptr, style->GetLogicalParent());
    EXPECT_EQ(style.Get(), probe->GetAppliedStyle());
    // A sealed style that sets nothing leaves every value to the element and the defaults.
    EXPECT_EQ(nullptr, style->GetStyleValue(COSMMarkupInputElement::s_pCursorProperty));
    EXPECT_EQ(nullptr, probe->GetValueCore(COSMMarkupInputElement::s_pCursorProperty));
    probe->SetValue(COSMMarkupInputElement::s_pStyleProperty, nullptr);
    EXPECT_EQ(nullptr, probe->GetAppliedStyle());
}

// ---- Routed events ----------------------------------------------------------------------------------------------

TEST_F(EventTest, EveryHandlerOfAnElementRunsInBindingOrderWhateverTheHandledFlag)
{
    RefPtr<CProbe> probe = AdoptRef(Probe("probe"));
    Log log;
    probe->AddHandler(
        CProbe::s_pTestBubbleEvent,
        Note(&log, "first", [](COSMMarkupInputElement*, COSMMarkupRoutedEventArgs* args) { args->handled = TRUE; }));
    probe->AddHandler(CProbe::s_pTestBubbleEvent, Note(&log, "second"));
    COSMMarkupRoutedEventArgs args(CProbe::s_pTestBubbleEvent);
    probe->RaiseEvent(&args);
    EXPECT_EQ((Log{"first probe", "second probe"}), log);
    EXPECT_EQ(probe.Get(), args.source);
}

TEST_F(EventTest, EventsRouteByTheirStrategy)
{
    const struct
    {
        const char* name;
        COSMMarkupRoutedEvent* event;
        bool handledAtSource;
        Log heard;
    } cases[] = {
        {"bubbling, unhandled", CProbe::s_pTestBubbleEvent, false, {"source child", "parent root", "context child"}},
        {"bubbling, handled at the source", CProbe::s_pTestBubbleEvent, true, {"source child"}},
        {"direct", COSMMarkupInputElement::s_pMouseEnterEvent, false, {"source child"}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Log log;
        CRecordingContext* context = new CRecordingContext;
        {
            RefPtr<CProbe> root = MakeIn<CProbe>(context);
            root->name = "root";
            RefPtr<CProbe> child = MakeIn<CProbe>(context);
            child->name = "child";
            root->AddProbe(child.Get());
            child->AddRef();
            const bool handle = c.handledAtSource;
            child->AddHandler(c.event,
                              Note(&log, "source", [handle](COSMMarkupInputElement*, COSMMarkupRoutedEventArgs* args) {
                                  args->handled = handle;
                              }));
            root->AddHandler(c.event, Note(&log, "parent"));
            context->AddHandler(c.event, Note(&log, "context"));
            COSMMarkupRoutedEventArgs args(c.event);
            child->RaiseEvent(&args);
            EXPECT_EQ(c.heard, log);
        }
        EXPECT_EQ(0, context->Release());
    }
}

TEST_F(EventTest, AnEventWithoutAnEventOrHandlersDoesNothing)
{
    RefPtr<CProbe> probe = AdoptRef(Probe("probe"));
    COSMMarkupRoutedEventArgs none;
    probe->RaiseEvent(&none);
    EXPECT_EQ(nullptr, none.source);
    probe->RaiseEvent(nullptr);
    COSMMarkupRoutedEventArgs unheard(CProbe::s_pTestBubbleEvent);
    probe->RaiseEvent(&unheard);
    EXPECT_FALSE(unheard.handled);
}

TEST_F(EventTest, AHandlerMayReleaseTheWholeTreeWhileTheEventBubbles)
{
    for (const bool atTheRoot : {false, true})
    {
        SCOPED_TRACE(atTheRoot ? "released by the root's handler" : "released by the source's handler");
        Log log;
        CProbe* root = Probe("root");
        CProbe* child = root->AddProbe(Probe("child"));
        CProbe* grandchild = child->AddProbe(Probe("grandchild"));
        const Handler releaseTree = [&root](COSMMarkupInputElement*, COSMMarkupRoutedEventArgs*) {
            root->Release();
            root = nullptr;
        };
        (atTheRoot ? root : grandchild)->AddHandler(CProbe::s_pTestBubbleEvent, Note(&log, "release", releaseTree));
        child->AddHandler(CProbe::s_pTestBubbleEvent, Note(&log, "heard"));
        const LONG live = COSMMarkupObject::GetLiveObjectCount();
        COSMMarkupRoutedEventArgs args(CProbe::s_pTestBubbleEvent);
        grandchild->RaiseEvent(&args);
        EXPECT_EQ(nullptr, root);
        // Whatever the tree held is gone once the event is over.
        EXPECT_LT(COSMMarkupObject::GetLiveObjectCount(), live);
        EXPECT_EQ(atTheRoot ? (Log{"heard child", "release root"}) : (Log{"release grandchild"}), log);
    }
}

TEST_F(EventTest, AHandlerBoundDuringARaiseRunsFromTheNextRaise)
{
    RefPtr<CProbe> probe = AdoptRef(Probe("probe"));
    Log log;
    bool bound = false;
    probe->AddHandler(CProbe::s_pTestBubbleEvent,
                      Note(&log, "binder", [&](COSMMarkupInputElement* sender, COSMMarkupRoutedEventArgs*) {
                          if (!bound)
                              sender->AddHandler(CProbe::s_pTestBubbleEvent, Note(&log, "late"));
                          bound = true;
                      }));
    COSMMarkupRoutedEventArgs first(CProbe::s_pTestBubbleEvent);
    probe->RaiseEvent(&first);
    EXPECT_EQ((Log{"binder probe"}), log);
    COSMMarkupRoutedEventArgs second(CProbe::s_pTestBubbleEvent);
    probe->RaiseEvent(&second);
    EXPECT_EQ((Log{"binder probe", "binder probe", "late probe"}), log);
}

TEST_F(EventTest, RoutedEventsAreRegisteredLikePropertiesWithoutSlots)
{
    const COSMMarkupType* type = COSMMarkupInputElement::GetClassType();
    const LPCWSTR names[] = {L"MouseLeave",          L"MouseEnter",         L"MouseLeftButtonUp",
                             L"MouseLeftButtonDown", L"MouseRightButtonUp", L"MouseRightButtonDown",
                             L"MouseMove",           L"LostMouseCapture"};
    for (LPCWSTR name : names)
    {
        COSMMarkupDependencyProperty* found = COSMMarkupDependencyProperty::FindProperty(type, name);
        ASSERT_NE(nullptr, found) << testing::PrintToString(std::wstring(name));
        EXPECT_TRUE(found->IsEvent());
        EXPECT_EQ(-1, found->GetIndex());
        EXPECT_EQ(COSMMarkupRoutedEvent::Direct, static_cast<COSMMarkupRoutedEvent*>(found)->GetRoutingStrategy());
        EXPECT_EQ(COSMMarkupString::GetClassType(), found->GetValueType());
    }
    EXPECT_EQ(COSMMarkupRoutedEvent::Bubble, CProbe::s_pTestBubbleEvent->GetRoutingStrategy());
    EXPECT_EQ(CProbe::s_pTestBubbleEvent,
              COSMMarkupDependencyProperty::FindProperty(CProbe::GetClassType(), L"TestBubble"));
    // The style's Resources property, found on elements too.
    EXPECT_EQ(COSMMarkupStyle::s_pResourcesProperty,
              COSMMarkupDependencyProperty::FindProperty(COSMMarkupBorder::GetClassType(), L"Resources"));
}

// ---- Binding from markup -------------------------------------------------------------------------------------

TEST_F(EventTest, MarkupBindsEventsToTheContextsDelegates)
{
    RefPtr<CProbe> orphan = AdoptRef(Probe("orphan"));
    RefPtr<COSMMarkupObject> name = AdoptRef(COSMMarkupString::CreateValue(L"OnEnter", -1));
    EXPECT_EQ("Markup Context is NULL", markup_test::BuilderMessage([&] {
                  orphan->SetPropertyObject(&builder, COSMMarkupInputElement::s_pMouseEnterEvent, name.Get());
              }));

    Log log;
    CRecordingContext* context = new CRecordingContext;
    {
        RefPtr<CProbe> probe = MakeIn<CProbe>(context);
        probe->name = "probe";
        RefPtr<COSMMarkupObject> unknown = AdoptRef(COSMMarkupString::CreateValue(L"Foo", -1));
        EXPECT_EQ("'Foo' delegate not found", markup_test::BuilderMessage([&] {
                      probe->SetPropertyObject(&builder, COSMMarkupInputElement::s_pMouseEnterEvent, unknown.Get());
                  }));

        context->AddDelegate(L"OnEnter", Note(&log, "old"));
        context->AddDelegate(L"OnEnter", Note(&log, "entered"));
        EXPECT_NE(nullptr, context->FindDelegate(L"OnEnter"));
        EXPECT_EQ(nullptr, context->FindDelegate(L"Foo"));
        EXPECT_EQ(nullptr, context->FindDelegate(nullptr));
        SetFromText(&builder, probe.Get(), COSMMarkupInputElement::s_pMouseEnterEvent, L"OnEnter");
        SetFromText(&builder, probe.Get(), COSMMarkupInputElement::s_pMouseEnterEvent, L"OnEnter");
        COSMMarkupMouseEventArgs args(COSMMarkupInputElement::s_pMouseEnterEvent);
        probe->RaiseEvent(&args);
        EXPECT_EQ((Log{"entered probe", "entered probe"}), log);
        // Binding stores no value.
        EXPECT_EQ(nullptr, probe->GetValueCore(COSMMarkupInputElement::s_pMouseEnterEvent));
    }
    EXPECT_EQ(0, context->Release());
}

// ---- The context ---------------------------------------------------------------------------------------------

TEST_F(EventTest, TheContextCountsItsElementsAndOutlivesItsHost)
{
    bool destroyed = false;
    CRecordingContext* context = new CRecordingContext;
    context->destroyed = &destroyed;
    RefPtr<COSMMarkupBorder> border = MakeIn<COSMMarkupBorder>(context);
    RefPtr<COSMMarkupObject> number = AdoptRef(context->CreateObject(COSMMarkupInt::GetClassType()));
    EXPECT_EQ(context, border->GetMarkupContext());
    EXPECT_EQ(3, context->AddRef());  // the host's, the border's and this one
    EXPECT_EQ(2, context->Release());
    EXPECT_EQ(nullptr, context->CreateObject(nullptr));

    COSMMarkupContext* host = context;
    ReleaseMarkupContext(&host);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(context, border->GetMarkupContext());
    context->AddDelegate(L"Late", Note(nullptr, "late"));
    border.Reset();
    EXPECT_TRUE(destroyed);
}

TEST_F(EventTest, ElementRectanglesAddUpTheOffsetsOfTheirVisualAncestors)
{
    CRecordingContext* context = new CRecordingContext;
    {
        RefPtr<COSMMarkupPage> page = MakeIn<COSMMarkupPage>(context);
        COSMMarkupBorder* border = markup_test::AddPlacedBorder(&builder, context, page.Get());
        const CRect client(3, 4, 203, 104);
        page->Measure(nullptr, client.Width(), client.Height());
        page->Arrange(client);
        EXPECT_EQ(CRect(13, 24, 43, 64), context->GetClientBoundingRect(border));
        EXPECT_EQ(CRect(3, 4, 203, 104), context->GetClientBoundingRect(page.Get()));
        RefPtr<COSMMarkupObject> number = AdoptRef(new COSMMarkupInt(1));
        EXPECT_EQ(CRect(0, 0, 0, 0), context->GetClientBoundingRect(number.Get()));
        EXPECT_EQ(CRect(0, 0, 0, 0), context->GetClientBoundingRect(nullptr));
    }
    EXPECT_EQ(0, context->Release());
}

TEST_F(EventTest, WithoutAHostWindowCaptureIsOnlyRemembered)
{
    CRecordingContext* context = new CRecordingContext;
    {
        RefPtr<CProbe> probe = MakeIn<CProbe>(context);
        probe->CaptureMouse();
        EXPECT_EQ(probe.Get(), context->GetCaptureElement());
        probe->ReleaseMouseCapture();
        EXPECT_EQ(nullptr, context->GetCaptureElement());
        probe->CaptureMouse();
        probe->Focus();
    }
    EXPECT_EQ(nullptr, context->GetCaptureElement());
    EXPECT_EQ(0, context->Release());
}
