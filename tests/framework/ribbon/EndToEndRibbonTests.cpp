// The framework end to end: one MDI frame with a ribbon, a toolbar, a status bar and the MDI tab workspace, driven
// only by synthesized input. Tabs, the context header, minimizing and keyboard tips; quick-access customization;
// a group collapsing in a narrow frame and its popup; the application menu; workspace tabs clicked and dragged into a
// new group; every look switched at run time; and the bars saved, the frame destroyed and built again, and the bars
// loaded. Pictures of the frame in each look and after loading go to the build tree's artefacts folder, for people to
// look at (never compared: fonts differ between machines). A program of its own that runs alone.
#include "EndToEndRibbonWorkbench.h"

#include "EndToEndPictures.h"
#include "PersistenceTestSupport.h"

#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/ribbon/RibbonPopupToolBars.h"
#include "framework/tabs/TabWorkspace.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace ribbon_end_to_end;

namespace {

// Far from the frame: where the cursor rests between steps.
const CPoint kRestingPoint(1200, 1000);

// A step of a script that waits for its moment: it runs once ready holds (no condition: at once).
struct WaitingStep
{
    std::function<bool()> ready;
    Step action;
};

// Runs the steps from a timer of the window, so that whatever loop is running (a tracked menu or popup, a drag)
// dispatches them; each waits at most three seconds for its moment, after which the script gives up (Failed) and
// queues Escape to end the loop it is stuck in. The steps only queue input and never pump.
class WaitingScript
{
public:
    static void Start(HWND window, std::vector<WaitingStep> steps)
    {
        s_steps = std::move(steps);
        s_next = 0;
        s_failed = false;
        s_since = ::GetTickCount();
        ::SetTimer(window, kTimerId, 30, &Tick);
    }
    static bool Done() { return s_next >= s_steps.size(); }
    static bool Failed() { return s_failed; }
    static size_t StepReached() { return s_next; }
    static void Stop(HWND window)
    {
        ::KillTimer(window, kTimerId);
        s_steps.clear();
        s_next = 0;
    }

private:
    static constexpr UINT_PTR kTimerId = 0x5C72;
    static void CALLBACK Tick(HWND window, UINT, UINT_PTR id, DWORD)
    {
        if (Done())
        {
            ::KillTimer(window, id);
            return;
        }
        WaitingStep& step = s_steps[s_next];
        if (step.ready && !step.ready())
        {
            if (::GetTickCount() - s_since > 3000)
            {
                s_failed = true;
                ::KillTimer(window, id);
                QueueKey(VK_ESCAPE);
            }
            return;
        }
        ++s_next;
        s_since = ::GetTickCount();
        if (step.action)
            step.action();
    }
    static inline std::vector<WaitingStep> s_steps;
    static inline size_t s_next = 0;
    static inline bool s_failed = false;
    static inline DWORD s_since = 0;
};

bool CursorAt(CPoint point)
{
    CPoint now;
    return ::GetCursorPos(&now) && now == point;
}

// A move of the cursor to a point found when the step runs, and a step that waits until the move arrived.
std::vector<WaitingStep> MoveSteps(std::function<std::optional<CPoint>()> where, std::function<bool()> ready = nullptr)
{
    auto target = std::make_shared<CPoint>();
    return {{[ready, where] { return (!ready || ready()) && where().has_value(); },
             [where, target] {
                 *target = *where();
                 SendMouseMoveTo(*target);
             }},
            {[target] { return CursorAt(*target); }, nullptr}};
}

std::vector<WaitingStep> MoveSteps(CPoint point, std::function<bool()> ready = nullptr)
{
    return MoveSteps([point] { return std::optional<CPoint>(point); }, std::move(ready));
}

WaitingStep PressStep(DWORD flags, std::function<bool()> ready = nullptr)
{
    return {std::move(ready), [flags] { SendMouseInput(flags); }};
}

// Steps that join lists of steps.
std::vector<WaitingStep> Then(std::initializer_list<std::vector<WaitingStep>> parts)
{
    std::vector<WaitingStep> steps;
    for (const auto& part : parts)
        steps.insert(steps.end(), part.begin(), part.end());
    return steps;
}

// A click at a point found when the step runs (once ready holds and the point is there).
std::vector<WaitingStep> ClickSteps(std::function<std::optional<CPoint>()> where, std::function<bool()> ready = nullptr)
{
    return Then({MoveSteps(std::move(where), std::move(ready)),
                 {PressStep(MOUSEEVENTF_LEFTDOWN), PressStep(MOUSEEVENTF_LEFTUP)}});
}

// The visible control of the id on a shown bar, at its centre on the screen.
std::optional<CPoint> VisibleControlCentre(const COSMCommandBar* bar, UINT id)
{
    if (!bar || !bar->GetSafeHwnd() || !bar->IsWindowVisible())
        return std::nullopt;
    for (int i = 0; i < bar->GetControlCount(); ++i)
    {
        const COSMControl* control = bar->GetControl(i);
        if (control->GetID() == id && control->IsVisible() && !control->GetRect().IsRectEmpty())
            return ScreenPoint(*bar, control->GetRect().CenterPoint());
    }
    return std::nullopt;
}

bool IsShown(const CWnd* window)
{
    return window && window->GetSafeHwnd() && window->IsWindowVisible();
}

// The visible top-level windows of this thread.
int VisibleThreadWindows()
{
    int count = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM counter) -> BOOL {
            if (::IsWindowVisible(window))
                ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// What the save-and-load step compares of the ribbon and the toolbar.
struct FrameState
{
    std::vector<UINT> quickAccess;
    BOOL quickAccessBelow = FALSE;
    BOOL minimized = FALSE;
    std::vector<std::string> tabs;
    std::vector<std::string> groups;  // "tab/group id: control ids"
    int toolBarPosition = 0;
    CRect toolBarRect;  // in the frame's client

    bool operator==(const FrameState& other) const
    {
        return quickAccess == other.quickAccess && quickAccessBelow == other.quickAccessBelow &&
               minimized == other.minimized && tabs == other.tabs && groups == other.groups &&
               toolBarPosition == other.toolBarPosition && toolBarRect == other.toolBarRect;
    }
};

void PrintTo(const FrameState& s, std::ostream* os)
{
    *os << "{quick access [";
    for (UINT id : s.quickAccess)
        *os << " " << id;
    *os << " ]" << (s.quickAccessBelow ? " below" : " above") << (s.minimized ? " minimized" : "") << " tabs [";
    for (const std::string& tab : s.tabs)
        *os << " " << tab;
    *os << " ] groups [";
    for (const std::string& group : s.groups)
        *os << " " << group;
    *os << " ] toolbar " << s.toolBarPosition << " (" << s.toolBarRect.left << "," << s.toolBarRect.top << ")-("
        << s.toolBarRect.right << "," << s.toolBarRect.bottom << ")}";
}

FrameState StateOf(const RibbonWorkbench& bench)
{
    FrameState state;
    const COSMRibbonBar& ribbon = *bench.ribbon;
    state.quickAccess = ControlIds(ribbon.GetQuickAccessControls());
    state.quickAccessBelow = ribbon.IsQuickAccessBelow();
    state.minimized = ribbon.IsRibbonMinimized();
    for (int t = 0; t < ribbon.GetTabCount(); ++t)
    {
        const COSMRibbonTab* tab = ribbon.GetTab(t);
        state.tabs.emplace_back(static_cast<LPCSTR>(tab->GetCaption()));
        for (int g = 0; g < tab->GetGroups()->GetCount(); ++g)
        {
            const COSMRibbonGroup* group = tab->GetGroups()->GetAt(g);
            std::string text = state.tabs.back() + "/" + std::to_string(group->GetID()) + ":";
            for (int c = 0; c < group->GetCount(); ++c)
                text += " " + std::to_string(group->GetAt(c)->GetID());
            state.groups.push_back(text);
        }
    }
    const COSMCommandBar* toolBar = bench.commandBars->FindCommandBar(kE2eToolBarId);
    if (toolBar && toolBar->GetSafeHwnd())
    {
        state.toolBarPosition = toolBar->GetPosition();
        ::GetWindowRect(toolBar->GetSafeHwnd(), &state.toolBarRect);
        ::MapWindowPoints(nullptr, bench.frame.GetSafeHwnd(), reinterpret_cast<POINT*>(&state.toolBarRect), 2);
    }
    return state;
}

class RibbonEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // An application's frame draws in the look it installs first: the Default one.
        COSMPaintManager::RegisterThemes();
        COSMPaintManager::SetTheme(0);
        MoveMouseTo(kRestingPoint);
        bench = BuildRibbonWorkbench();
        ASSERT_TRUE(bench && bench->created);
        WatchContextMenus();
        bench->frame.ClearRecords();
    }
    // The ribbon's context menus as the site hears of them being built.
    void WatchContextMenus()
    {
        bench->frame.onRecorded = [this](UINT message, WPARAM, LPARAM lParam) {
            if (message == kE2eContextMenuBuilt)
                menu = reinterpret_cast<COSMPopupBar*>(lParam);
        };
    }
    void TearDown() override
    {
        if (bench)
            WaitingScript::Stop(bench->frame.GetSafeHwnd());
        // Away from the frame first: a right release over the ribbon would open its context menu.
        MoveMouseTo(kRestingPoint);
        SendMouseInput(MOUSEEVENTF_LEFTUP);
        SendMouseInput(MOUSEEVENTF_RIGHTUP);
        PumpMessages();
        bench.reset();
        PumpMessages();
        // The workbench takes every window it made with it.
        EXPECT_EQ(0, VisibleThreadWindows());
        COSMPaintManager::FreeGlobalPaintManager();
    }

    // Runs the steps while this thread pumps, until they all ran and done holds (three seconds past the last step at
    // most); false when a step waited in vain or done never held.
    bool Drive(
        std::vector<WaitingStep> steps, const std::function<bool()>& done = [] { return true; })
    {
        WaitingScript::Start(bench->frame.GetSafeHwnd(), std::move(steps));
        const bool ran = PumpUntil([&] { return WaitingScript::Failed() || WaitingScript::Done(); }, 20000);
        const bool held = ran && !WaitingScript::Failed() && PumpUntil(done, 3000);
        if (!held)
            ADD_FAILURE() << "the script stopped at step " << WaitingScript::StepReached();
        WaitingScript::Stop(bench->frame.GetSafeHwnd());
        PumpMessages();
        return held;
    }

    // Types the keyboard tip of the owner (tips of letters and digits, as shown).
    bool TypeTipOf(const CCmdTarget* owner)
    {
        for (const auto& tip : bench->commandBars->GetKeyboardTips())
            if (tip->GetOwner() == owner)
            {
                const CString text = tip->GetText();
                for (int i = 0; i < text.GetLength(); ++i)
                    SendKey(static_cast<WORD>(::toupper(static_cast<unsigned char>(text[i]))));
                return true;
            }
        return false;
    }

    // Right-clicks the control and, once its context menu shows, clicks the menu's entry of the id; true when the
    // menu showed the entry, took the click and closed.
    bool RightClickAndChoose(const COSMControl* control, UINT entry)
    {
        menu = nullptr;
        COSMMouseManager* mouse = bench->commandBars->GetMouseManager();
        return Drive(Then({MoveSteps(RibbonWorkbench::Centre(control)),
                           {PressStep(MOUSEEVENTF_RIGHTDOWN), PressStep(MOUSEEVENTF_RIGHTUP)},
                           ClickSteps([this, entry] { return VisibleControlCentre(menu, entry); })}),
                     [mouse] { return mouse->GetTrackedCount() == 0; });
    }

    // Drags the frame's right border to the x of the screen; true when the frame's right edge followed.
    bool DragRightBorderTo(int x)
    {
        CRect window;
        bench->frame.GetWindowRect(&window);
        const CPoint grip(window.right - 2, window.CenterPoint().y);
        const int right = window.right + x - grip.x;
        HWND frame = bench->frame.GetSafeHwnd();
        return Drive(Then({MoveSteps(grip),
                           {PressStep(MOUSEEVENTF_LEFTDOWN)},
                           MoveSteps(CPoint(x, grip.y), [frame] { return ::GetCapture() != nullptr; }),
                           {PressStep(MOUSEEVENTF_LEFTUP)}}),
                     [frame, right] {
                         CRect now;
                         ::GetWindowRect(frame, &now);
                         return now.right == right && ::GetCapture() == nullptr;
                     });
    }

    // Drags the docked toolbar by its gripper (the first point of its middle row clear of its buttons) over the
    // documents and lets it go there, where it floats.
    void DragToolBarOverTheDocuments()
    {
        COSMToolBar& bar = *bench->toolBar;
        CRect barClient;
        bar.GetClientRect(&barClient);
        CPoint grip(0, barClient.Height() / 2);
        while (grip.x < barClient.right - 1 && bar.GetControls()->HitTest(grip))
            ++grip.x;
        ASSERT_EQ(nullptr, bar.GetControls()->HitTest(grip));
        CRect client;
        bench->frame.GetClientRect(&client);
        const CPoint over = ScreenPoint(bench->frame, client.CenterPoint());
        ASSERT_TRUE(Drive(Then({MoveSteps(ScreenPoint(bar, grip)),
                                {PressStep(MOUSEEVENTF_LEFTDOWN)},
                                MoveSteps(CPoint(over.x - 60, over.y - 40), [] { return ::GetCapture() != nullptr; }),
                                MoveSteps(over),
                                {PressStep(MOUSEEVENTF_LEFTUP)}}),
                          [&bar] { return bar.IsFloating() && ::GetCapture() == nullptr; }));
    }

    std::unique_ptr<RibbonWorkbench> bench;
    COSMPopupBar* menu = nullptr;
};

// The frame's parts lie one under the other as the frame's layout placed them: the ribbon at the top, the toolbar
// under it, the MDI client under the top dock bar and the status bar at the bottom, with nothing between them.
void ExpectFrameLaidOut(RibbonWorkbench& bench)
{
    auto rectIn = [&](HWND window) {
        CRect rect;
        ::GetWindowRect(window, &rect);
        ::MapWindowPoints(nullptr, bench.frame.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    CRect client;
    bench.frame.GetClientRect(&client);
    const CRect ribbon = rectIn(bench.ribbon->GetSafeHwnd());
    auto* const toolBarObject = dynamic_cast<COSMToolBar*>(bench.commandBars->FindCommandBar(kE2eToolBarId));
    ASSERT_NE(nullptr, toolBarObject);
    const CRect toolBar = rectIn(toolBarObject->GetSafeHwnd());
    const CRect topDock = rectIn(bench.commandBars->GetDockBar(0)->GetSafeHwnd());
    const CRect mdiClient = rectIn(bench.frame.m_hWndMDIClient);
    const CRect status = rectIn(bench.statusBar.GetSafeHwnd());
    EXPECT_EQ(0, ribbon.top);
    EXPECT_EQ(client.Width(), ribbon.Width());
    EXPECT_EQ(topDock.bottom, mdiClient.top);
    EXPECT_EQ(status.top, mdiClient.bottom);
    EXPECT_EQ(client.bottom, status.bottom);
    EXPECT_EQ(bench.statusBar.CalcFixedLayout(TRUE, TRUE).cy, status.Height());
    // Each bar is as high as its own layout asks under the look now installed.
    EXPECT_EQ(bench.ribbon->CalcDockingLayout(client.Width(), LM_HORZ | LM_HORZDOCK).cy, ribbon.Height());
    if (toolBarObject->GetPosition() == 0)
    {
        EXPECT_GE(toolBar.top, ribbon.bottom);
        EXPECT_LE(toolBar.bottom, topDock.bottom);
        EXPECT_EQ(toolBarObject->CalcDockingLayout(client.Width(), LM_HORZ | LM_HORZDOCK).cy, toolBar.Height());
    }
}

TEST_F(RibbonEndToEndTest, TabsTheContextHeaderMinimizingAndKeyboardTips)
{
    RibbonWorkbench& b = *bench;
    COSMRibbonBar& ribbon = *b.ribbon;
    ASSERT_EQ(b.home, ribbon.GetSelectedTab());

    // A click on Insert selects it; a click on the context header selects its tab.
    ClickAt(b.TabCentre(b.insert));
    EXPECT_EQ(b.insert, ribbon.GetSelectedTab());
    ASSERT_EQ(1, ribbon.GetContextHeaders()->GetCount());
    ClickAt(ScreenPoint(ribbon, ribbon.GetContextHeaders()->GetAt(0)->m_rect.CenterPoint()));
    EXPECT_EQ(b.format, ribbon.GetSelectedTab());
    EXPECT_EQ(0, b.frame.CountOf(WM_SYSCOMMAND));

    // Home selected, then a double click on it minimizes the ribbon: the groups go.
    const CPoint home = b.TabCentre(b.home);
    ClickAt(home + CPoint(-8, 0));
    ASSERT_EQ(b.home, ribbon.GetSelectedTab());
    DoubleClickAt(home, 60);
    ASSERT_TRUE(PumpUntil([&] { return ribbon.IsRibbonMinimized() != FALSE; }));
    EXPECT_FALSE(ribbon.IsGroupsVisible());
    EXPECT_EQ(1, b.frame.CountOf(kE2eRibbonMinimized));

    // A click on the tab (away from where the double click was) opens its popup; Escape closes it.
    COSMRibbonControlTab* strip = ribbon.GetControlTab();
    ClickAt(home + CPoint(8, 0));
    ASSERT_TRUE(PumpUntil([&] { return strip->IsPopupOpen() != FALSE; }));
    auto* popup = dynamic_cast<COSMRibbonTabPopupToolBar*>(strip->GetCommandBar());
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(b.home, popup->GetRibbonTab());
    EXPECT_TRUE(IsShown(popup));
    SendKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return !strip->IsPopupOpen() && !IsShown(popup); }));
    EXPECT_TRUE(ribbon.IsRibbonMinimized());

    // A double click restores it.
    DoubleClickAt(home + CPoint(-8, 0), 60);
    ASSERT_TRUE(PumpUntil([&] { return !ribbon.IsRibbonMinimized(); }));
    EXPECT_TRUE(ribbon.IsGroupsVisible());
    EXPECT_EQ(2, b.frame.CountOf(kE2eRibbonMinimized));
    EXPECT_TRUE(PumpUntil([&] { return !strip->IsPopupOpen(); }));

    // With the keyboard in a document (a click into it): Alt shows the tabs' tips; Insert's tip selects Insert and
    // shows its controls' tips; Table's runs Table once, and the keyboard goes back to the document.
    const HWND document = b.ActiveChild();
    ASSERT_NE(nullptr, document);
    CRect page;
    ::GetWindowRect(document, &page);
    ClickAt(page.CenterPoint());
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == document; }));
    MoveMouseTo(kRestingPoint);
    b.frame.ClearRecords();
    SendKey(VK_MENU);
    ASSERT_TRUE(PumpUntil([&] { return b.commandBars->GetKeyboardTipsLevel() == 1; }));
    ASSERT_TRUE(TypeTipOf(b.insert));
    ASSERT_TRUE(PumpUntil([&] { return b.commandBars->GetKeyboardTipsLevel() == 2; }));
    EXPECT_EQ(b.insert, ribbon.GetSelectedTab());
    COSMControl* table = b.Group(kE2eTablesGroup)->GetAt(0);
    ASSERT_TRUE(TypeTipOf(table));
    EXPECT_TRUE(PumpUntil([&] { return b.frame.CommandsOf(kE2eTable) > 0; }));
    PumpFor(100);
    EXPECT_EQ(std::vector<UINT>{kE2eTable}, b.frame.Commands());
    EXPECT_EQ(0, b.commandBars->GetKeyboardTipsLevel());
    EXPECT_EQ(0, ribbon.GetTrackingMode());
    EXPECT_EQ(document, ::GetFocus());
}

TEST_F(RibbonEndToEndTest, EveryLookSwitchedAtRunTimeLaysTheBarsOutAndKeepsThemWorking)
{
    RibbonWorkbench& b = *bench;
    for (int id = 0; id < COSMPaintManager::kThemeIdCount; ++id)
    {
        SCOPED_TRACE(testing::Message() << "theme " << id);
        // What an application does when its user picks a look.
        COSMPaintManager::SetTheme(id);
        b.commandBars->RecalcFrameLayout();
        b.commandBars->RedrawCommandBars();
        b.workspace.SendMessage(WM_SYSCOLORCHANGE);
        b.statusBar.SendMessage(WM_SYSCOLORCHANGE);
        ::RedrawWindow(b.frame.GetSafeHwnd(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages();
        COSMPaintManager* look = COSMPaintManager::GetGlobalPaintManager();
        ASSERT_NE(nullptr, look);
        EXPECT_EQ(id, look->GetThemeId());
        EXPECT_EQ(look, b.ribbon->GetPaintManager());
        EXPECT_EQ(look, b.toolBar->GetPaintManager());
        EXPECT_EQ(look, b.statusBar.GetPaintManager());
        ExpectFrameLaidOut(b);

        // A toolbar button and a ribbon button still run their commands.
        b.frame.ClearRecords();
        ClickAt(RibbonWorkbench::Centre(b.toolBar->GetControl(2)));
        EXPECT_TRUE(PumpUntil([&] { return b.frame.CommandsOf(kE2ePrint) > 0; }));
        MoveMouseTo(kRestingPoint);
        ClickAt(RibbonWorkbench::Centre(b.Group(kE2eClipboardGroup)->GetAt(0)));
        EXPECT_TRUE(PumpUntil([&] { return b.frame.CommandsOf(kE2ePaste) > 0; }));
        EXPECT_EQ((std::vector<UINT>{kE2ePrint, kE2ePaste}), b.frame.Commands());
        MoveMouseTo(kRestingPoint);

        ASSERT_NO_FATAL_FAILURE(KeepWindowPicture(b.frame.GetSafeHwnd(), "e2e-theme-" + std::to_string(id)));
    }
}

TEST_F(RibbonEndToEndTest, AGroupControlJoinsTheQuickAccessWhichThenGoesBelowTheRibbon)
{
    RibbonWorkbench& b = *bench;
    COSMRibbonBar& ribbon = *b.ribbon;
    COSMControl* bold = b.Group(kE2eFontGroup)->GetAt(0);
    ASSERT_EQ(kE2eBold, bold->GetID());

    // Added from its context menu: a clone of its own class joins the quick access after the three.
    ASSERT_TRUE(RightClickAndChoose(bold, ID_OSM_RIBBON_QUICK_ACCESS_ADD));
    COSMRibbonQuickAccessControls* quick = ribbon.GetQuickAccessControls();
    ASSERT_EQ((std::vector<UINT>{kE2eSave, kE2eUndo, kE2eRedo, kE2eBold}), ControlIds(quick));
    COSMControl* clone = quick->GetAt(3);
    EXPECT_NE(bold, clone);
    EXPECT_EQ(bold->GetRuntimeClass(), clone->GetRuntimeClass());
    EXPECT_TRUE(ribbon.IsQuickAccessControl(clone));
    EXPECT_EQ(0, b.frame.CommandsOf(ID_OSM_RIBBON_QUICK_ACCESS_ADD));
    b.Relayout();
    EXPECT_TRUE(clone->IsVisible());

    // The clone runs the command of the control it was made from.
    b.frame.ClearRecords();
    ClickAt(RibbonWorkbench::Centre(clone));
    EXPECT_TRUE(PumpUntil([&] { return b.frame.CommandsOf(kE2eBold) > 0; }));
    EXPECT_EQ(std::vector<UINT>{kE2eBold}, b.frame.Commands());

    // Below the ribbon: every quick-access control lies under the groups, inside the ribbon.
    ASSERT_TRUE(RightClickAndChoose(clone, ID_OSM_RIBBON_QUICK_ACCESS_BELOW));
    EXPECT_TRUE(ribbon.IsQuickAccessBelow());
    b.Relayout();
    const CRect groups = ribbon.GetGroupsRect();
    CRect client;
    ribbon.GetClientRect(&client);
    for (int i = 0; i < quick->GetCount(); ++i)
    {
        SCOPED_TRACE(i);
        const CRect rect = quick->GetAt(i)->GetRect();
        EXPECT_TRUE(quick->GetAt(i)->IsVisible());
        EXPECT_GE(rect.top, groups.bottom);
        EXPECT_LE(rect.bottom, client.bottom);
    }
    ExpectFrameLaidOut(b);
}

TEST_F(RibbonEndToEndTest, ANarrowFrameCollapsesAGroupWhosePopupRunsItsControlsAndAWideOneBringsItBack)
{
    RibbonWorkbench& b = *bench;
    COSMRibbonGroup* editing = b.Group(kE2eEditingGroup);
    ASSERT_FALSE(editing->IsReduced());
    COSMRibbonGroupControlPopup* button = editing->GetPopupButton();
    ASSERT_FALSE(button->IsVisible());
    CRect wide;
    b.frame.GetWindowRect(&wide);

    // Narrowed by the right border, step by step, until the last group of Home is only its popup button.
    int right = wide.right;
    while (!button->IsVisible() && right > wide.left + 320)
    {
        right -= 60;
        ASSERT_TRUE(DragRightBorderTo(right - 2));
        PumpMessages();
    }
    ASSERT_TRUE(button->IsVisible()) << "no collapse down to " << right - wide.left << " pixels";
    EXPECT_TRUE(editing->IsReduced());
    for (int i = 0; i < editing->GetCount(); ++i)
        EXPECT_FALSE(editing->GetAt(i)->IsVisible()) << i;
    ExpectFrameLaidOut(b);

    // Its popup shows a copy of the group; a click on the copy's Replace runs Replace once and closes the popup.
    COSMRibbonGroupPopupToolBar* popup = nullptr;
    ASSERT_TRUE(Drive(Then({ClickSteps([&] { return std::optional<CPoint>(RibbonWorkbench::Centre(button)); }),
                            ClickSteps([&]() -> std::optional<CPoint> {
                                popup = dynamic_cast<COSMRibbonGroupPopupToolBar*>(button->GetCommandBar());
                                return popup ? VisibleControlCentre(popup, kE2eReplace) : std::nullopt;
                            })}),
                      [&] { return b.frame.CommandsOf(kE2eReplace) > 0; }));
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(editing, popup->GetSourceGroup());
    EXPECT_TRUE(PumpUntil([&] { return !button->IsPopupOpen() && !IsShown(popup); }));
    PumpFor(100);
    EXPECT_EQ(std::vector<UINT>{kE2eReplace}, b.frame.Commands());

    // Wide again: the group is whole, none of its controls hidden.
    ASSERT_TRUE(DragRightBorderTo(wide.right - 2));
    PumpMessages();
    EXPECT_FALSE(editing->IsReduced());
    EXPECT_FALSE(button->IsVisible());
    for (int i = 0; i < editing->GetCount(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_TRUE(editing->GetAt(i)->IsVisible());
        EXPECT_EQ(0u, editing->GetAt(i)->GetHideFlags() & COSMControl::kHideWrap);
    }
    ExpectFrameLaidOut(b);
}

TEST_F(RibbonEndToEndTest, TheApplicationMenuOpensARecentFileAndRunsAFootButton)
{
    RibbonWorkbench& b = *bench;
    COSMRibbonSystemPopupBar* appMenu = b.systemMenu;
    auto systemButton = [&] { return std::optional<CPoint>(RibbonWorkbench::Centre(b.systemButton)); };

    // The second recent file: 57617, its full path as the entry's tooltip.
    ASSERT_TRUE(Drive(Then({ClickSteps(systemButton),
                            ClickSteps([&] { return VisibleControlCentre(appMenu, kE2eFirstRecentFile + 1); })}),
                      [&] { return b.frame.CommandsOf(kE2eFirstRecentFile + 1) > 0; }));
    EXPECT_TRUE(PumpUntil([&] { return !IsShown(appMenu); }));
    PumpFor(100);
    EXPECT_EQ(std::vector<UINT>{kE2eFirstRecentFile + 1}, b.frame.Commands());

    // The first foot button, Options.
    b.frame.ClearRecords();
    ASSERT_TRUE(
        Drive(Then({ClickSteps(systemButton), ClickSteps([&] { return VisibleControlCentre(appMenu, kE2eOptions); })}),
              [&] { return b.frame.CommandsOf(kE2eOptions) > 0; }));
    EXPECT_TRUE(PumpUntil([&] { return !IsShown(appMenu); }));
    PumpFor(100);
    EXPECT_EQ(std::vector<UINT>{kE2eOptions}, b.frame.Commands());
    EXPECT_TRUE(::IsWindow(b.frame.GetSafeHwnd()));
}

TEST_F(RibbonEndToEndTest, AWorkspaceTabActivatesItsChildAndAnotherDragsIntoANewGroupBeside)
{
    RibbonWorkbench& b = *bench;
    COSMTabClientWnd& workspace = b.workspace;
    ASSERT_EQ(1, workspace.GetWorkspaceCount());
    COSMTabWorkspace* group = workspace.GetWorkspace(0);
    ASSERT_EQ(3, group->GetItemCount());
    auto tabCentre = [&](COSMTabWorkspace* of, int index) {
        CPoint point = of->GetItem(index)->GetRect().CenterPoint();
        ::ClientToScreen(of->GetWindow(), &point);
        return point;
    };

    // A click on the first tab brings its child up.
    HWND first = group->GetItem(0)->GetHandle();
    ASSERT_NE(first, b.ActiveChild());
    ClickAt(tabCentre(group, 0));
    EXPECT_TRUE(PumpUntil([&] { return b.ActiveChild() == first; }));

    // The second tab dragged to the group's right edge opens a group beside holding it.
    HWND second = group->GetItem(1)->GetHandle();
    const CRect area = group->GetControlRect();
    CPoint edge(area.right - 10, area.CenterPoint().y);
    CPoint inside(area.CenterPoint());
    ::ClientToScreen(group->GetWindow(), &edge);
    ::ClientToScreen(group->GetWindow(), &inside);
    ASSERT_TRUE(Drive(Then({MoveSteps(tabCentre(group, 1)),
                            {PressStep(MOUSEEVENTF_LEFTDOWN)},
                            MoveSteps(inside),
                            MoveSteps(edge),
                            {PressStep(MOUSEEVENTF_LEFTUP)}}),
                      [&] { return workspace.GetWorkspaceCount() == 2 && ::GetCapture() == nullptr; }));
    EXPECT_EQ(COSMTabClientWnd::kDropNewGroupBeside, workspace.GetLastDropMode());
    EXPECT_EQ(0, workspace.GetSplitDirection());
    ASSERT_EQ(1, workspace.GetWorkspace(1)->GetItemCount());
    EXPECT_EQ(second, workspace.GetWorkspace(1)->GetItem(0)->GetHandle());
    EXPECT_EQ(2, workspace.GetWorkspace(0)->GetItemCount());
    EXPECT_EQ(second, b.ActiveChild());
    // Each group shows its selected child in the page below its tabs.
    for (int g = 0; g < 2; ++g)
    {
        SCOPED_TRACE(g);
        COSMTabWorkspace* of = workspace.GetWorkspace(g);
        CRect area = of->GetControlRect();
        ::MapWindowPoints(of->GetWindow(), nullptr, reinterpret_cast<POINT*>(&area), 2);
        HWND child = of->GetSelectedItem()->GetHandle();
        CRect rect;
        ::GetWindowRect(child, &rect);
        EXPECT_TRUE(::IsWindowVisible(child));
        EXPECT_EQ(rect, rect & area);
        EXPECT_GT(rect.top, area.top);
        EXPECT_GE(rect.Width(), area.Width() - 8) << "inside the page's frame only";
        EXPECT_GE(rect.bottom, area.bottom - 4);
    }

    // The two groups share the client evenly, less the splitter.
    CRect client;
    workspace.GetClientRect(&client);
    const int left = workspace.GetWorkspace(0)->GetControlRect().Width();
    const int right = workspace.GetWorkspace(1)->GetControlRect().Width();
    EXPECT_LE(std::abs(left - right), 1);
    EXPECT_EQ(client.Width(), left + right + workspace.GetSplitterWidth());
}

TEST_F(RibbonEndToEndTest, TheBarsSavedAndLoadedIntoAFrameBuiltAgainComeBackAsTheUserLeftThem)
{
    const std::string store = ArtefactsFolder() + "/e2e-ribbon-bars.dat";
    FrameState saved;
    {
        RibbonWorkbench& b = *bench;
        // The user adds Bold to the quick access, puts the quick access below and minimizes the ribbon.
        ASSERT_TRUE(RightClickAndChoose(b.Group(kE2eFontGroup)->GetAt(0), ID_OSM_RIBBON_QUICK_ACCESS_ADD));
        b.Relayout();
        ASSERT_TRUE(
            RightClickAndChoose(b.ribbon->GetQuickAccessControls()->GetAt(0), ID_OSM_RIBBON_QUICK_ACCESS_BELOW));
        b.Relayout();
        DoubleClickAt(b.TabCentre(b.home), 60);
        ASSERT_TRUE(PumpUntil([&] { return b.ribbon->IsRibbonMinimized() != FALSE; }));
        b.Relayout();
        // The toolbar is dragged by its gripper over the documents, where it floats.
        ASSERT_NO_FATAL_FAILURE(DragToolBarOverTheDocuments());
        b.Relayout();
        EXPECT_EQ(COSMCommandBar::kPositionFloating, b.toolBar->GetPosition());
        saved = StateOf(b);
        ASSERT_EQ((std::vector<UINT>{kE2eSave, kE2eUndo, kE2eRedo, kE2eBold}), saved.quickAccess);
        ASSERT_TRUE(saved.quickAccessBelow);
        ASSERT_TRUE(saved.minimized);
        ASSERT_NO_FATAL_FAILURE(SaveBarsToFile(b.commandBars.Get(), store));
    }

    // The program ends and starts again: every window goes, the frame is built with its default content and the
    // stored bars are loaded over it.
    const HWND gone = bench->frame.GetSafeHwnd();
    bench.reset();
    PumpMessages();
    EXPECT_FALSE(::IsWindow(gone));
    EXPECT_EQ(0, VisibleThreadWindows());
    bench = BuildRibbonWorkbench();
    ASSERT_TRUE(bench && bench->created);
    WatchContextMenus();
    RibbonWorkbench& b = *bench;
    EXPECT_FALSE(b.ribbon->IsRibbonMinimized());
    ASSERT_NO_FATAL_FAILURE(LoadBarsFromFile(b.commandBars.Get(), store));
    b.Relayout();
    PumpFor(100);

    EXPECT_EQ(b.ribbon, b.commandBars->GetMenuBar()) << "the frame's ribbon took the stored one in";
    EXPECT_EQ(saved, StateOf(b));
    ExpectFrameLaidOut(b);
    // The workspace shows its three children as tabs again.
    int tabs = 0;
    for (int i = 0; i < b.workspace.GetWorkspaceCount(); ++i)
        tabs += b.workspace.GetWorkspace(i)->GetItemCount();
    EXPECT_EQ(3, tabs);
    ASSERT_NO_FATAL_FAILURE(KeepWindowPicture(b.frame.GetSafeHwnd(), "e2e-after-load"));

    // The loaded quick-access Bold runs Bold.
    b.frame.ClearRecords();
    const COSMControl* bold = b.ribbon->GetQuickAccessControls()->GetAt(3);
    ASSERT_TRUE(bold->IsVisible());
    ClickAt(RibbonWorkbench::Centre(bold));
    EXPECT_TRUE(PumpUntil([&] { return b.frame.CommandsOf(kE2eBold) > 0; }));
    EXPECT_EQ(std::vector<UINT>{kE2eBold}, b.frame.Commands());
    MoveMouseTo(kRestingPoint);

    // The loaded tabs work: a click on Insert of the minimized ribbon opens its popup, whose Table runs Table.
    b.frame.ClearRecords();
    COSMRibbonTab* insert = b.ribbon->GetTab(1);
    ASSERT_NE(nullptr, insert);
    COSMRibbonControlTab* strip = b.ribbon->GetControlTab();
    COSMRibbonTabPopupToolBar* popup = nullptr;
    ASSERT_TRUE(Drive(Then({ClickSteps([&] { return std::optional<CPoint>(b.TabCentre(insert)); }),
                            ClickSteps([&]() -> std::optional<CPoint> {
                                popup = dynamic_cast<COSMRibbonTabPopupToolBar*>(strip->GetCommandBar());
                                return popup ? VisibleControlCentre(popup, kE2eTable) : std::nullopt;
                            })}),
                      [&] { return b.frame.CommandsOf(kE2eTable) > 0; }));
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(insert, popup->GetRibbonTab());
    EXPECT_TRUE(PumpUntil([&] { return !strip->IsPopupOpen(); }));
    PumpFor(100);
    EXPECT_EQ(std::vector<UINT>{kE2eTable}, b.frame.Commands());
    EXPECT_TRUE(b.ribbon->IsRibbonMinimized());
}

}  // namespace
