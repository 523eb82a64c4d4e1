// Customize drags of controls between bars under synthesized input: a drag started by a click on a control in
// customize mode, or by the drop source directly, driven step by step from a timer while the drag's own loop runs.
// Moves, Ctrl copies, cancels, drops beside every bar, overlapping bars, the cursors, and a control taken away
// while it is dragged. A program of its own that runs alone: it needs the foreground window, capture and cursor.
#include "InputTestSupport.h"

#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/foundation/ResourceManager.h"

#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

// A button that counts its destruction.
class CountedButton : public COSMControlButton
{
public:
    ~CountedButton() override
    {
        if (destroyed)
            ++*destroyed;
    }
    int* destroyed = nullptr;
};

class CustomizeDragTest : public CustomizeSiteTest
{
protected:
    void SetUp() override
    {
        CustomizeSiteTest::SetUp();
        // Two registered bars: buttons 1, 2, 3 above, 4, 5, 6 below, 40 x 20 each in a row.
        MakeBarWindow(source, 1, 0, CRect(0, 0, 200, 30));
        source.AddButtons({1, 2, 3});
        MakeBarWindow(target, 1, 0, CRect(0, 100, 200, 130));
        target.AddButtons({4, 5, 6});
        dropSource = commandBars->GetDropSource();
    }

    // Between buttons 4 and 5 of the lower bar: the copy lands at index 1.
    CPoint DropPoint() const { return ScreenPoint(target, CPoint(45, 10)); }
    // The frame's client, on no bar.
    CPoint Between() const { return ScreenPoint(frame, CPoint(300, 60)); }

    // Presses the left button on the source's control 2 (id 2) and lets the click drag it; the script runs in the
    // drag's loop. True when the script ran out and the drag ended.
    bool ClickDrag(std::vector<Step> steps)
    {
        MoveMouseTo(ControlCentre(source, 1));
        InputScript::Start(frame.GetSafeHwnd(), std::move(steps), 70);
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        return PumpUntil([&] { return InputScript::Done() && !dropSource->GetDraggedControl(); }, 5000);
    }
    // The same drag of control 2 through the drop source itself; the button is pressed over the frame's client.
    int DirectDrag(std::vector<Step> steps, BOOL copyOnly = FALSE)
    {
        MoveMouseTo(ScreenPoint(frame, CPoint(300, 10)));
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        PumpFor(40);
        InputScript::Start(frame.GetSafeHwnd(), std::move(steps), 70);
        const int result = dropSource->DoDrag(source.GetControl(1), copyOnly);
        PumpUntil([] { return InputScript::Done(); }, 5000);
        return result;
    }

    TrackingBar source;
    TrackingBar target;
    COSMCustomizeDropSource* dropSource = nullptr;
};

TEST_F(CustomizeDragTest, MovesCopiesAndCancelsAsTheInputSays)
{
    struct Case
    {
        const char* name;
        std::vector<Step> (*script)(CPoint between, CPoint drop);
        int result;
        std::vector<UINT> sourceAfterClick;
        std::vector<UINT> targetAfter;
    };
    const Case cases[] = {
        {"move",
         [](CPoint between, CPoint drop) -> std::vector<Step> {
             return {MoveTo(between), MoveTo(drop), MoveTo(drop + CPoint(1, 0)), Press(MOUSEEVENTF_LEFTUP)};
         },
         2,
         {1, 3},
         {4, 2, 5, 6}},
        // Ctrl goes down over the bar, after the last move: under Wine the moves that follow an injected Ctrl do
        // not report it held.
        {"Ctrl copies",
         [](CPoint between, CPoint drop) -> std::vector<Step> {
             return {
                 MoveTo(between),           MoveTo(drop),         MoveTo(drop + CPoint(1, 0)), Key(VK_CONTROL, false),
                 Press(MOUSEEVENTF_LEFTUP), Key(VK_CONTROL, true)};
         },
         1,
         {1, 2, 3},
         {4, 2, 5, 6}},
        {"Escape",
         [](CPoint between, CPoint drop) -> std::vector<Step> {
             return {MoveTo(between), MoveTo(drop), Key(VK_ESCAPE, false), Key(VK_ESCAPE, true),
                     Press(MOUSEEVENTF_LEFTUP)};
         },
         5,
         {1, 2, 3},
         {4, 5, 6}},
        {"right button",
         [](CPoint between, CPoint drop) -> std::vector<Step> {
             return {MoveTo(between), MoveTo(drop), Press(MOUSEEVENTF_RIGHTDOWN), Press(MOUSEEVENTF_RIGHTUP),
                     Press(MOUSEEVENTF_LEFTUP)};
         },
         5,
         {1, 2, 3},
         {4, 5, 6}},
        {"desktop",
         [](CPoint between, CPoint drop) -> std::vector<Step> {
             return {MoveTo(between), MoveTo(CPoint(1000, 700)), Press(MOUSEEVENTF_LEFTUP)};
         },
         0,
         {1, 3},
         {4, 5, 6}},
        {"no movement",
         [](CPoint, CPoint) -> std::vector<Step> { return {Press(MOUSEEVENTF_LEFTUP)}; },
         5,
         {1, 2, 3},
         {4, 5, 6}},
    };
    const std::vector<UINT> untouched{1, 2, 3};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        // Through the drop source: the answer, and the original stays where it was whatever the answer.
        EXPECT_EQ(c.result, DirectDrag(c.script(Between(), DropPoint())));
        EXPECT_EQ(untouched, ControlIds(source, true));
        EXPECT_EQ(c.targetAfter, ControlIds(target, true));
        EXPECT_TRUE(target.GetDropMarkerRect().IsRectEmpty());
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_EQ(nullptr, dropSource->GetTargetBar());
        // Back to the three and three buttons for the click.
        target.GetControls()->RemoveAll();
        target.AddButtons({4, 5, 6});

        // Through a click on the control: a move or a drop beside the bars takes it out of its bar.
        ASSERT_TRUE(ClickDrag(c.script(Between(), DropPoint())));
        EXPECT_EQ(c.sourceAfterClick, ControlIds(source, true));
        EXPECT_EQ(c.targetAfter, ControlIds(target, true));
        EXPECT_EQ(nullptr, ::GetCapture());
        source.GetControls()->RemoveAll();
        source.AddButtons({1, 2, 3});
        target.GetControls()->RemoveAll();
        target.AddButtons({4, 5, 6});
        commandBars->SetCustomizeSelection(nullptr);
    }
}

TEST_F(CustomizeDragTest, TheDroppedCopyIsSelectedAndTheOriginalKeepsItsGroup)
{
    // The first control began a group: the second takes over once it has gone.
    MoveMouseTo(ControlCentre(source, 0));
    source.GetControl(0)->SetBeginGroup(TRUE);
    source.GetControl(1)->SetBeginGroup(TRUE);
    InputScript::Start(
        frame.GetSafeHwnd(),
        {MoveTo(Between()), MoveTo(DropPoint()), MoveTo(DropPoint() + CPoint(1, 0)), Press(MOUSEEVENTF_LEFTUP)}, 70);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return InputScript::Done() && !dropSource->GetDraggedControl(); }, 5000));
    EXPECT_EQ((std::vector<UINT>{2, 3}), ControlIds(source, true));
    // The new first control begins no group.
    EXPECT_FALSE(source.GetControl(0)->GetBeginGroup());
    ASSERT_EQ((std::vector<UINT>{4, 1, 5, 6}), ControlIds(target, true));
    EXPECT_EQ(target.GetControl(1), commandBars->GetCustomizeSelection());
    commandBars->SetCustomizeSelection(nullptr);
}

TEST_F(CustomizeDragTest, OfOverlappingBarsTheOneRegisteredLastTakesTheDrop)
{
    // An inner bar lies inside an outer one; both are registered and both hold the point.
    TrackingBar outer;
    MakeBarWindow(outer, 1, 0, CRect(220, 150, 480, 250));
    outer.AddButtons({7, 8});
    TrackingBar inner;
    inner.SetCommandBars(commandBars.Get());
    inner.SetTypeField(1);
    ASSERT_TRUE(inner.CreateChild(&outer, CRect(100, 40, 240, 80)));
    inner.AddButtons({9});
    const CPoint point = ScreenPoint(inner, CPoint(60, 10));

    struct Case
    {
        COSMCommandBar* registeredLast;
        TrackingBar* takes;
        TrackingBar* other;
    };
    const Case cases[] = {{&inner, &inner, &outer}, {&outer, &outer, &inner}};
    for (const Case& c : cases)
    {
        dropSource->Unregister(c.registeredLast);
        dropSource->Register(c.registeredLast);
        const int takesBefore = c.takes->GetControlCount();
        const int otherBefore = c.other->GetControlCount();
        EXPECT_EQ(
            2, DirectDrag({MoveTo(Between()), MoveTo(point), MoveTo(point + CPoint(1, 0)), Press(MOUSEEVENTF_LEFTUP)}));
        EXPECT_EQ(takesBefore + 1, c.takes->GetControlCount());
        EXPECT_EQ(otherBefore, c.other->GetControlCount());
    }
    commandBars->SetCustomizeSelection(nullptr);
}

TEST_F(CustomizeDragTest, TheCursorShowsNoDropMoveOrCopy)
{
    // The drop source's cursors are its own loads of 9107, 9106 and 9105: compared by their images.
    COSMResourceManager* resources = GetResourceManager();
    const std::vector<BYTE> noDrop = CursorBits(resources->LoadCursor(IDC_OSM_DRAG_NODROP));
    const std::vector<BYTE> move = CursorBits(resources->LoadCursor(IDC_OSM_DRAG_MOVE));
    const std::vector<BYTE> copy = CursorBits(resources->LoadCursor(IDC_OSM_DRAG_COPY));
    ASSERT_FALSE(noDrop.empty());
    ASSERT_FALSE(move.empty());
    ASSERT_FALSE(copy.empty());
    EXPECT_NE(noDrop, move);
    EXPECT_NE(move, copy);
    EXPECT_NE(noDrop, copy);

    struct Case
    {
        BOOL copyOnly;
        std::vector<std::vector<BYTE>> expected;  // off the bars, over the lower bar, Ctrl held, Ctrl released
    };
    const Case cases[] = {{FALSE, {noDrop, move, copy, move}}, {TRUE, {noDrop, copy, copy, copy}}};
    for (const Case& c : cases)
    {
        std::vector<std::vector<BYTE>> seen;
        const Step record = [&seen] { seen.push_back(CursorBits(::GetCursor())); };
        const int result = DirectDrag({MoveTo(Between()), record, MoveTo(DropPoint()), record, Key(VK_CONTROL, false),
                                       record, Key(VK_CONTROL, true), record, Key(VK_ESCAPE, false),
                                       Key(VK_ESCAPE, true), Press(MOUSEEVENTF_LEFTUP)},
                                      c.copyOnly);
        EXPECT_EQ(5, result);
        ASSERT_EQ(c.expected.size(), seen.size());
        for (size_t i = 0; i < seen.size(); ++i)
            EXPECT_TRUE(c.expected[i] == seen[i]) << "copy only " << c.copyOnly << ", step " << i;
        // The drag leaves the standard arrow behind.
        EXPECT_EQ(::LoadCursor(nullptr, IDC_ARROW), ::GetCursor());
    }
}

TEST_F(CustomizeDragTest, AControlTakenAwayWhileDraggedEndsTheDragWithoutHarm)
{
    for (const bool byClick : {false, true})
    {
        SCOPED_TRACE(byClick ? "click" : "drop source");
        int destroyed = 0;
        int destroyedWhenTakenAway = -1;
        source.GetControls()->RemoveAll();
        source.AddButtons({1});
        auto* dragged = AddControl<CountedButton>(source, 2);
        dragged->destroyed = &destroyed;
        source.AddButtons({3});
        source.LayOut();
        // A rebuild from a timer: the bar lets go of the control (and so does the selection).
        const Step rebuild = [&] {
            commandBars->SetCustomizeSelection(nullptr);
            source.GetControls()->Remove(dragged);
            destroyedWhenTakenAway = destroyed;
        };
        std::vector<Step> steps{MoveTo(Between()), MoveTo(DropPoint()), rebuild, MoveTo(DropPoint() + CPoint(1, 0)),
                                Press(MOUSEEVENTF_LEFTUP)};
        if (byClick)
        {
            ASSERT_TRUE(ClickDrag(std::move(steps)));
        }
        else
        {
            EXPECT_EQ(5, DirectDrag(std::move(steps)));
        }
        PumpFor(50);
        // Alive while the drag held it; gone once the drag is over; nothing dropped, nothing else taken away.
        EXPECT_EQ(0, destroyedWhenTakenAway);
        EXPECT_EQ(1, destroyed);
        EXPECT_EQ((std::vector<UINT>{1, 3}), ControlIds(source, true));
        EXPECT_EQ((std::vector<UINT>{4, 5, 6}), ControlIds(target, true));
        EXPECT_TRUE(target.GetDropMarkerRect().IsRectEmpty());
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_EQ(nullptr, dropSource->GetDraggedControl());
    }
}

TEST_F(CustomizeDragTest, AQuitOrALostCaptureCancelsWithoutADrop)
{
    // WM_QUIT belongs to the loop outside: the drag posts it again with its exit code.
    EXPECT_EQ(5, DirectDrag({MoveTo(DropPoint()), [] { ::PostQuitMessage(42); }}));
    MSG quit{};
    ASSERT_TRUE(::PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(42u, quit.wParam);
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(40);
    EXPECT_EQ((std::vector<UINT>{4, 5, 6}), ControlIds(target, true));
    EXPECT_TRUE(target.GetDropMarkerRect().IsRectEmpty());

    // Another window takes the capture.
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, 300, 300, 50, 50,
                               frame.GetSafeHwnd(), nullptr));
    EXPECT_EQ(5, DirectDrag({MoveTo(DropPoint()), [&] { other.SetCapture(); }, MoveTo(DropPoint() + CPoint(1, 0)),
                             Press(MOUSEEVENTF_LEFTUP)}));
    ::ReleaseCapture();
    EXPECT_EQ((std::vector<UINT>{4, 5, 6}), ControlIds(target, true));
    EXPECT_TRUE(target.GetDropMarkerRect().IsRectEmpty());
    EXPECT_EQ(nullptr, dropSource->GetTargetBar());
}

TEST_F(CustomizeDragTest, WithoutACaptureWindowNothingIsDragged)
{
    // A capture-window override takes the capture instead of the site.
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, 300, 300, 50, 50,
                               frame.GetSafeHwnd(), nullptr));
    dropSource->SetCaptureWindowOverride(&other);
    HWND captured = nullptr;
    EXPECT_EQ(5, DirectDrag({[&] { captured = ::GetCapture(); }, Press(MOUSEEVENTF_LEFTUP)}));
    EXPECT_EQ(other.GetSafeHwnd(), captured);
    dropSource->SetCaptureWindowOverride(nullptr);

    // No site, no override: 0 at once, and the original stays.
    commandBars->SetSite(nullptr);
    EXPECT_EQ(0, dropSource->DoDrag(source.GetControl(1), FALSE));
    EXPECT_EQ((std::vector<UINT>{1, 2, 3}), ControlIds(source, true));
    commandBars->SetSite(&frame);
}

}  // namespace
