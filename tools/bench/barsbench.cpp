// barsbench [ROUNDS] [--sizes N,N,...] [--profile] [--smoke]
// What toolbars cost as a frame gains more of them: a frame with a menu bar and 5, 10, 20 and 40 docked toolbars of
// 30 buttons each, timed while the bars are made and docked (AddToolBar, SetButtons and the layout that places them),
// then with the message pump that follows (the paints and posted messages a user waits for too), at the first idle
// time after, at the idle time that follows every emptied queue from then on (the update of every control's command
// state with nothing changed, the mean of 20 passes), laid out again with nothing changed, resized, redrawn in full,
// saved and loaded through the archive exchange. Rounds alternate the sizes (A B C D A B C D ...), ROUNDS of them (5
// unless told), after one frame of the first size that warms the process up and is not counted; each figure is the
// median with the range over the rounds, in all and per toolbar. Each step is timed from a display that has drawn
// everything sent to it before (SettleDisplay). The ratios to check
// follow the table: each step's growth from the smallest size to every other (median against median, and the lowest
// and highest of the same ratio taken within one round), and the idle update against the no-op layout. The load
// average (Z:\proc\loadavg, the host's as Wine shows it) is printed before and after. --profile adds where the idle
// update's time goes. The tables are markdown.
//
// Every frame checks that each toolbar holds the buttons asked for, that the pump after create and dock painted and
// left no bar anything to repaint, that the idle update with nothing changed left none anything to repaint either,
// and that loading gave back the bars and controls saved. --smoke runs one frame of 3 toolbars, says what it did and
// prints BARS-BENCH-SMOKE-PASSED (else FAILED: and a non-zero exit). Timed figures are never asserted.
#include "LoadAverage.h"
#include "classlib/Archive.h"
#include "classlib/GuardedCallbacks.h"
#include "classlib/FrameWnd.h"
#include "classlib/MemFile.h"
#include "classlib/Menu.h"
#include "classlib/RefPtr.h"
#include "classlib/ScopedHandle.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/commandbars/testing/TestPaintManager.h"
#include "framework/foundation/PropExchangeArchive.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kButtons = 30;
constexpr UINT kFirstBarId = 0xE900;
constexpr UINT kFirstCommand = 40000;

// The operations timed, in the order they run on one frame.
enum Step
{
    kCreate,
    kCreatePump,
    kFirstIdle,
    kIdle,
    kRelayout,
    kResize,
    kRedraw,
    kSave,
    kLoad,
    kStepCount
};
const char* const kStepNames[kStepCount] = {"create+dock", "create+dock+pump", "first idle", "idle update", "relayout",
                                            "resize",      "redraw",           "save",       "load"};

// The steady idle update is short: a frame runs it this many times and the figure is one pass's mean.
constexpr int kIdlePasses = 20;

// --profile: break the steady idle update down (ProfileIdle).
bool profiling = false;

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

[[noreturn]] void Fail(const std::string& what)
{
    std::printf("FAILED: %s\n", what.c_str());
    std::exit(1);
}

// Where a pump's time went: inside the system's own PeekMessage (which also takes in the display server's events
// under Wine), handling paints, handling the rest.
struct PumpTimes
{
    double peek = 0;
    double paints = 0;
    double others = 0;
};

// Handles what is queued (paints, the bars' own posts) so that one step's leftovers do not land in the next; how
// many messages and how many of them paints.
std::pair<int, int> Pump(PumpTimes* times = nullptr)
{
    std::pair<int, int> handled{0, 0};
    MSG msg;
    double mark = Now();
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        const double peeked = Now();
        ++handled.first;
        if (msg.message == WM_PAINT)
            ++handled.second;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        const double dispatched = Now();
        if (times)
        {
            times->peek += peeked - mark;
            (msg.message == WM_PAINT ? times->paints : times->others) += dispatched - peeked;
        }
        mark = dispatched;
    }
    if (times)
        times->peek += Now() - mark;
    return handled;
}

// --profile: the window messages of create+dock+pump, counted on one extra frame per size through a hook on the
// messages sent and in the pump for the messages posted, by the kind of window they went to.
enum WindowKind
{
    kToolBarWindow,
    kDockBarWindow,
    kFrameWindow,
    kOtherWindow,
    kWindowKindCount
};
const char* const kWindowKindNames[kWindowKindCount] = {"toolbar", "dock bar", "frame", "other"};

enum CountedMessage
{
    kCountCreate,
    kCountPaint,
    kCountEraseBackground,
    kCountNcPaint,
    kCountWindowPosChanged,
    kCountSize,
    kCountShow,
    kCountSizeParent,
    kCountedMessageCount
};
const char* const kCountedMessageNames[kCountedMessageCount] = {
    "WM_CREATE",           "WM_PAINT", "WM_ERASEBKGND", "WM_NCPAINT",
    "WM_WINDOWPOSCHANGED", "WM_SIZE",  "WM_SHOWWINDOW", "WM_SIZEPARENT"};

using MessageCounts = std::array<std::array<int, kCountedMessageCount>, kWindowKindCount>;

struct MessageCounter
{
    bool on = false;
    HWND frame = nullptr;
    MessageCounts counts{};
    std::map<HWND, WindowKind> kinds;
};
MessageCounter messageCounter;

WindowKind KindOf(HWND window)
{
    auto known = messageCounter.kinds.find(window);
    if (known != messageCounter.kinds.end())
        return known->second;
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    WindowKind kind = kOtherWindow;
    if (window == messageCounter.frame)
        kind = kFrameWindow;
    else if (std::strcmp(name, "OSMToolBar") == 0)
        kind = kToolBarWindow;
    else if (std::strcmp(name, "OSMDockBar") == 0)
        kind = kDockBarWindow;
    // A window made during the count has no class name yet only before WM_NCCREATE; by WM_CREATE it has one.
    messageCounter.kinds[window] = kind;
    return kind;
}

void CountMessage(HWND window, UINT message)
{
    if (!messageCounter.on)
        return;
    int counted = -1;
    switch (message)
    {
    case WM_CREATE:
        counted = kCountCreate;
        break;
    case WM_PAINT:
        counted = kCountPaint;
        break;
    case WM_ERASEBKGND:
        counted = kCountEraseBackground;
        break;
    case WM_NCPAINT:
        counted = kCountNcPaint;
        break;
    case WM_WINDOWPOSCHANGED:
        counted = kCountWindowPosChanged;
        break;
    case WM_SIZE:
        counted = kCountSize;
        break;
    case WM_SHOWWINDOW:
        counted = kCountShow;
        break;
    case WM_SIZEPARENT:
        counted = kCountSizeParent;
        break;
    default:
        return;
    }
    ++messageCounter.counts[KindOf(window)][static_cast<size_t>(counted)];
}

LRESULT OnSentMessage(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION)
    {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        CountMessage(sent->hwnd, sent->message);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
constexpr char kSentMessageHook[] = "barsbench sent-message hook";

LRESULT OnPostedMessage(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE)
    {
        const auto* posted = reinterpret_cast<const MSG*>(lParam);
        if (posted->hwnd)
            CountMessage(posted->hwnd, posted->message);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
constexpr char kPostedMessageHook[] = "barsbench posted-message hook";

// Waits until the display server has drawn what this program sent it. Under Wine a window's pixels go to the X server
// when the program goes idle, and the server draws them while the program runs on: a frame's show and first paints
// (megabytes of pixels for a frame as tall as the screen) are still being drawn when the next step starts, and the
// first call of that step that needs an answer from the display waits for the rest. How much a step meets depends on
// how far the display got, which made one frame's create and dock cost up to twice another's at the same size. A read
// of a screen pixel is answered in order, after everything sent before it: each timed step starts from a display with
// nothing left to draw.
void SettleDisplay()
{
    const ScopedWindowDC screen = GetScopedWindowDC(nullptr);
    if (screen)
        ::GetPixel(screen.Get(), 0, 0);
}

// What the thread's idle handler does each time the queue empties (CWinThread::OnIdle).
void IdleUpdate(CFrameWnd& frame)
{
    frame.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    frame.SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
}

// A menu of a few popups for the menu bar, as an application has it.
HMENU MakeMenu()
{
    HMENU menu = ::CreateMenu();
    const char* const titles[] = {"&File", "&Edit", "&View", "&Tools", "&Help"};
    UINT command = kFirstCommand + 1000;
    for (const char* title : titles)
    {
        HMENU popup = ::CreatePopupMenu();
        for (int i = 0; i < 6; ++i)
        {
            const std::string item = std::string("Item ") + std::to_string(i + 1);
            ::AppendMenuA(popup, MF_STRING, command++, item.c_str());
        }
        ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
    }
    return menu;
}

// The manager's bars (the menu bar among them) and the controls on them.
std::pair<int, int> CountBarsAndControls(const COSMCommandBars& commandBars)
{
    int controls = 0;
    for (int i = 0; i < commandBars.GetCount(); ++i)
        controls += commandBars.GetAt(i)->GetControlCount();
    return {commandBars.GetCount(), controls};
}

// The toolbars whose own controls (the expand button and other temporary ones aside) are not the buttons asked for.
int CountWrongToolBars(const COSMCommandBars& commandBars, int toolBars)
{
    int wrong = 0;
    for (int bar = 0; bar < toolBars; ++bar)
    {
        const COSMCommandBar* toolBar = commandBars.FindCommandBar(kFirstBarId + static_cast<UINT>(bar));
        int button = 0;
        bool right = toolBar != nullptr;
        for (int i = 0; right && i < toolBar->GetControlCount(); ++i)
        {
            const COSMControl* control = toolBar->GetControl(i);
            if (control->IsTemporary())
                continue;
            right = control->GetID() == kFirstCommand + static_cast<UINT>(bar * kButtons + button);
            ++button;
        }
        if (!right || button != kButtons)
            ++wrong;
    }
    return wrong;
}

// The bars whose windows have something to repaint.
int CountBarsToRepaint(const COSMCommandBars& commandBars)
{
    int dirty = 0;
    for (int i = 0; i < commandBars.GetCount(); ++i)
        if (HWND hwnd = commandBars.GetAt(i)->GetSafeHwnd(); hwnd && ::GetUpdateRect(hwnd, nullptr, FALSE))
            ++dirty;
    return dirty;
}

std::string Counts(int bars, int controls)
{
    return std::to_string(bars) + " bars and " + std::to_string(controls) + " controls";
}

// Where the steady idle update's time goes, measured on the same frame: the walk that sends the message to every
// window (sent here as WM_NULL, which no window acts on), the bars' own handlers called directly, and the part of
// those that updates the dialog controls (child windows) of each bar.
struct IdleProfile
{
    double walk = 0;
    double handlers = 0;
    double dialogControls = 0;
};

IdleProfile ProfileIdle(CFrameWnd& frame, const COSMCommandBars& commandBars)
{
    IdleProfile profile;
    double start = Now();
    for (int pass = 0; pass < kIdlePasses; ++pass)
        frame.SendMessageToDescendants(WM_NULL, 0, 0, TRUE);
    profile.walk = (Now() - start) / kIdlePasses;
    start = Now();
    for (int pass = 0; pass < kIdlePasses; ++pass)
        for (int i = 0; i < commandBars.GetCount(); ++i)
            commandBars.GetAt(i)->OnIdleUpdateCmdUI(TRUE, 0);
    profile.handlers = (Now() - start) / kIdlePasses;
    start = Now();
    for (int pass = 0; pass < kIdlePasses; ++pass)
        for (int i = 0; i < commandBars.GetCount(); ++i)
            commandBars.GetAt(i)->UpdateDialogControls(&frame, TRUE);
    profile.dialogControls = (Now() - start) / kIdlePasses;
    return profile;
}

// Where create+dock+pump's time goes (--profile): the manager's AddToolBar calls (the toolbars' windows made and
// docked), filling them (SetButtons), the frame's layout, and the pump after.
struct CreateProfile
{
    double addToolBar = 0;
    double setButtons = 0;
    double layout = 0;
    PumpTimes pump;
};

// The toolbars whose windows the frame shows whole, and those it shows in part: a dock bar taller than the frame's
// client area is cut off at its edge.
std::pair<int, int> CountShownToolBars(const CFrameWnd& frame, const COSMCommandBars& commandBars, int toolBars)
{
    CRect client;
    frame.GetClientRect(&client);
    frame.ClientToScreen(&client);
    std::pair<int, int> shown{0, 0};
    for (int bar = 0; bar < toolBars; ++bar)
    {
        const COSMCommandBar* toolBar = commandBars.FindCommandBar(kFirstBarId + static_cast<UINT>(bar));
        if (!toolBar || !toolBar->GetSafeHwnd() || !::IsWindowVisible(toolBar->GetSafeHwnd()))
            continue;
        CRect rect;
        toolBar->GetWindowRect(&rect);
        CRect inside;
        if (rect.IsRectEmpty() || !inside.IntersectRect(&rect, &client))
            continue;
        ++(inside == rect ? shown.first : shown.second);
    }
    return shown;
}

// What one frame did besides its times, for the smoke run to show.
struct FrameWork
{
    std::pair<int, int> made;
    std::pair<int, int> pumped;  // messages and paints after create and dock
    std::pair<int, int> shown;   // toolbars shown whole and in part
    IdleProfile idle;
    CreateProfile create;
};

// One frame with its bars, every step timed once. With countMessages the messages of create+dock+pump are counted
// (messageCounter), which slows them: such a frame's times are not used.
std::vector<double> MeasureFrame(int toolBars, FrameWork& work, bool countMessages = false)
{
    std::vector<double> times(kStepCount, 0.0);
    CFrameWnd frame;
    LPCSTR cls =
        AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    // As tall as the screen allows: every toolbar docks in a row of its own, and one the frame cannot show costs
    // less than a shown one, so a short frame would flatter the largest sizes (the table says how many were shown).
    const int height = std::max(700, ::GetSystemMetrics(SM_CYSCREEN) - 80);
    if (!frame.Create(cls, "barsbench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CRect(40, 40, 1040, 40 + height)))
        Fail("no frame");
    frame.ShowWindow(SW_SHOWNOACTIVATE);
    frame.UpdateWindow();
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    commandBars->SetSite(&frame);
    commandBars->CreateDockBars();
    COSMCommandBar* menuBar = commandBars->AddMenuBar("Menu Bar", 0);
    HMENU menu = MakeMenu();
    if (menuBar)
        menuBar->LoadMenu(CMenu::FromHandle(menu), TRUE);
    frame.RecalcLayout();
    Pump();

    ScopedHook sentHook, postedHook;
    if (countMessages)
    {
        messageCounter.on = true;
        messageCounter.frame = frame.GetSafeHwnd();
        messageCounter.counts = MessageCounts{};
        messageCounter.kinds.clear();
        sentHook.Reset(::SetWindowsHookExA(WH_CALLWNDPROC, osm::GuardedHookProc<kSentMessageHook, &OnSentMessage>,
                                           nullptr, ::GetCurrentThreadId()));
        postedHook.Reset(::SetWindowsHookExA(WH_GETMESSAGE, osm::GuardedHookProc<kPostedMessageHook, &OnPostedMessage>,
                                             nullptr, ::GetCurrentThreadId()));
        if (!sentHook || !postedHook)
            Fail("no message hooks for the count");
    }

    std::vector<UINT> ids(kButtons);
    work.create = CreateProfile{};
    SettleDisplay();
    double start = Now();
    for (int bar = 0; bar < toolBars; ++bar)
    {
        const std::string title = "Toolbar " + std::to_string(bar + 1);
        const double adding = Now();
        COSMCommandBar* toolBar = commandBars->AddToolBar(title.c_str(), kFirstBarId + static_cast<UINT>(bar));
        const double filling = Now();
        for (int i = 0; i < kButtons; ++i)
            ids[static_cast<size_t>(i)] = kFirstCommand + static_cast<UINT>(bar * kButtons + i);
        if (!toolBar || !toolBar->SetButtons(ids.data(), kButtons))
            Fail("toolbar " + std::to_string(bar + 1) + " not made");
        work.create.addToolBar += filling - adding;
        work.create.setButtons += Now() - filling;
    }
    // The layout an application's frame does before it shows: the bars take their places.
    const double layout = Now();
    frame.RecalcLayout();
    times[kCreate] = Now() - start;
    work.create.layout = Now() - layout;
    // What the new bars posted and the paints they need: the user sees them only after this.
    work.pumped = Pump(&work.create.pump);
    times[kCreatePump] = Now() - start;
    if (countMessages)
    {
        sentHook.Reset();
        postedHook.Reset();
        messageCounter.on = false;
    }
    work.shown = CountShownToolBars(frame, *commandBars, toolBars);

    const std::pair<int, int> made = CountBarsAndControls(*commandBars);
    work.made = made;
    if (made.first != toolBars + 1 || made.second < toolBars * kButtons)
        Fail(std::to_string(toolBars) + " toolbars made " + Counts(made.first, made.second));
    if (const int wrong = CountWrongToolBars(*commandBars, toolBars))
        Fail(std::to_string(wrong) + " of " + std::to_string(toolBars) + " toolbars do not hold the buttons asked for");
    if (work.pumped.second == 0)
        Fail("the pump after create and dock painted nothing");
    if (const int dirty = CountBarsToRepaint(*commandBars))
        Fail("after the pump " + std::to_string(dirty) + " bars still had something to repaint");

    // The first idle time after: the bars update their buttons (every command here has no handler, so each goes grey)
    // and lay out what they left pending, as the thread's idle handler asks them.
    SettleDisplay();
    start = Now();
    IdleUpdate(frame);
    times[kFirstIdle] = Now() - start;
    Pump();

    // Every later idle time: the same update with no command state changed, which must leave nothing to repaint.
    SettleDisplay();
    start = Now();
    for (int pass = 0; pass < kIdlePasses; ++pass)
        IdleUpdate(frame);
    times[kIdle] = (Now() - start) / kIdlePasses;
    if (const int dirty = CountBarsToRepaint(*commandBars))
        Fail("the idle update with nothing changed left " + std::to_string(dirty) + " of " +
             std::to_string(made.first) + " bars to repaint");
    if (profiling)
        work.idle = ProfileIdle(frame, *commandBars);
    Pump();

    SettleDisplay();
    start = Now();
    frame.RecalcLayout();
    times[kRelayout] = Now() - start;
    Pump();

    SettleDisplay();
    start = Now();
    frame.SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    times[kResize] = Now() - start;
    Pump();

    SettleDisplay();
    start = Now();
    frame.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    times[kRedraw] = Now() - start;
    Pump();

    const std::pair<int, int> saved = CountBarsAndControls(*commandBars);
    CMemFile file;
    SettleDisplay();
    start = Now();
    {
        CArchive ar(&file, CArchive::store);
        COSMPropExchangeArchive px(ar);
        commandBars->SaveBarState(&px);
        ar.Close();
    }
    times[kSave] = Now() - start;

    file.SeekToBegin();
    SettleDisplay();
    start = Now();
    {
        CArchive ar(&file, CArchive::load);
        COSMPropExchangeArchive px(ar);
        commandBars->LoadBarState(&px, TRUE);
        ar.Close();
    }
    frame.RecalcLayout();
    times[kLoad] = Now() - start;
    Pump();
    const std::pair<int, int> loaded = CountBarsAndControls(*commandBars);
    if (loaded != saved)
        Fail(Counts(saved.first, saved.second) + " saved, " + Counts(loaded.first, loaded.second) + " loaded");

    commandBars.Reset();
    frame.DestroyWindow();
    ::DestroyMenu(menu);
    Pump();
    return times;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// "median (min-max)" of one step's samples.
std::string Spread(std::vector<double> values, double scale, const char* format = "%.2f (%.2f-%.2f)")
{
    std::sort(values.begin(), values.end());
    char text[96];
    std::snprintf(text, sizeof text, format, Median(values) * scale, values.front() * scale, values.back() * scale);
    return text;
}

// The head of a markdown table with a column per frame size: "| first | 5 toolbars | ... |" and its rule.
void PrintSizeTableHead(const char* first, const std::vector<int>& counts)
{
    std::printf("| %s |", first);
    for (int count : counts)
        std::printf(" %d toolbars |", count);
    std::printf("\n|---|");
    for (size_t size = 0; size < counts.size(); ++size)
        std::printf("---|");
    std::printf("\n");
}

// A row per part, the median of its samples at each size, divided by the size when asked for a per-toolbar figure.
void PrintPartsTable(const char* const* parts, size_t partCount,
                     const std::vector<std::vector<std::vector<double>>>& samples, const std::vector<int>& counts,
                     double scale, bool perToolbar, int decimals)
{
    PrintSizeTableHead("part", counts);
    for (size_t part = 0; part < partCount; ++part)
    {
        std::printf("| %s |", parts[part]);
        for (size_t size = 0; size < counts.size(); ++size)
            std::printf(" %.*f |", decimals, Median(samples[size][part]) * scale / (perToolbar ? counts[size] : 1));
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 5;
    std::vector<int> counts = {5, 10, 20, 40};
    bool smoke = false;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "--smoke")
        {
            smoke = true;
            rounds = 1;
            counts = {3};
        }
        else if (arg == "--profile")
        {
            profiling = true;
        }
        else if (arg == "--sizes" && i + 1 < argc)
        {
            counts.clear();
            for (const char* p = argv[++i]; *p;)
            {
                char* end = nullptr;
                const long n = std::strtol(p, &end, 10);
                if (end == p || n < 1 || n > 200)
                {
                    std::printf("FAILED: --sizes takes numbers of toolbars from 1 to 200, separated by commas\n");
                    return 2;
                }
                counts.push_back(static_cast<int>(n));
                p = *end == ',' ? end + 1 : end;
            }
        }
        else if (std::atoi(arg.c_str()) > 0)
            rounds = std::atoi(arg.c_str());
        else
        {
            std::printf("usage: barsbench [ROUNDS] [--sizes N,N,...] [--profile] [--smoke]\n");
            return 2;
        }
    }
    COSMPaintManager::RegisterThemeCreator(0, &COSMTestPaintManager::Create);
    COSMPaintManager::SetTheme(0);

    const std::string loadBefore = ReadLoadAverage();
    // samples[size][step]: one time per round.
    std::vector<std::vector<std::vector<double>>> samples(counts.size(), std::vector<std::vector<double>>(kStepCount));
    // profiles[size]: walk, handlers and dialog controls, one of each per round.
    std::vector<std::vector<std::vector<double>>> profiles(counts.size(), std::vector<std::vector<double>>(3));
    // createProfiles[size]: the parts of create+dock+pump (CreateProfile's order), one of each per round.
    constexpr size_t kCreateParts = 6;
    std::vector<std::vector<std::vector<double>>> createProfiles(counts.size(),
                                                                 std::vector<std::vector<double>>(kCreateParts));
    std::vector<std::pair<int, int>> shown(counts.size());
    FrameWork work;
    // The process's first frame also pays what every later one finds made (window classes, fonts, the paint
    // manager's images and caches): it runs once before the rounds and is not counted.
    if (!smoke)
        MeasureFrame(counts.front(), work);
    for (int round = 0; round < rounds; ++round)
        for (size_t size = 0; size < counts.size(); ++size)
        {
            const std::vector<double> times = MeasureFrame(counts[size], work);
            for (int step = 0; step < kStepCount; ++step)
                samples[size][static_cast<size_t>(step)].push_back(times[static_cast<size_t>(step)]);
            profiles[size][0].push_back(work.idle.walk);
            profiles[size][1].push_back(work.idle.handlers);
            profiles[size][2].push_back(work.idle.dialogControls);
            const double parts[kCreateParts] = {work.create.addToolBar,  work.create.setButtons,
                                                work.create.layout,      work.create.pump.peek,
                                                work.create.pump.paints, work.create.pump.others};
            for (size_t part = 0; part < kCreateParts; ++part)
                createProfiles[size][part].push_back(parts[part]);
            shown[size] = work.shown;
        }
    const std::string loadAfter = ReadLoadAverage();
    // The messages are counted on frames of their own: the hooks that count them slow every message down.
    std::vector<MessageCounts> messages(counts.size());
    if (profiling)
        for (size_t size = 0; size < counts.size(); ++size)
        {
            FrameWork counted;
            MeasureFrame(counts[size], counted, true);
            messages[size] = messageCounter.counts;
        }

    const std::string warmUp =
        smoke ? std::string() : " after one uncounted warm-up frame of " + std::to_string(counts.front()) + " toolbars";
    std::printf("%d buttons a toolbar and a menu bar; median (min-max) of %d alternating rounds%s; each step starts "
                "once the display has drawn what came before; the idle update is the mean of %d passes\n\n",
                kButtons, rounds, warmUp.c_str(), kIdlePasses);
    std::printf("| step |");
    for (int count : counts)
        std::printf(" %d toolbars, ms | per toolbar, us |", count);
    std::printf("\n|---|");
    for (size_t size = 0; size < counts.size(); ++size)
        std::printf("---|---|");
    std::printf("\n");
    for (int step = 0; step < kStepCount; ++step)
    {
        std::printf("| %s |", kStepNames[step]);
        for (size_t size = 0; size < counts.size(); ++size)
        {
            const std::vector<double>& values = samples[size][static_cast<size_t>(step)];
            std::printf(" %s | %s |", Spread(values, 1.0).c_str(),
                        Spread(values, 1000.0 / counts[size], "%.0f (%.0f-%.0f)").c_str());
        }
        std::printf("\n");
    }

    // Ratios: what a reader checks, since times move with the machine's load and ratios within one run much less.
    if (counts.size() > 1)
    {
        std::printf("\nGrowth against %d toolbars: median against median, and (in brackets) the lowest and highest "
                    "ratio within one round\n\n| step |",
                    counts.front());
        for (size_t size = 1; size < counts.size(); ++size)
            std::printf(" %d / %d |", counts[size], counts.front());
        std::printf("\n|---|");
        for (size_t size = 1; size < counts.size(); ++size)
            std::printf("---|");
        std::printf("\n");
        for (int step = 0; step < kStepCount; ++step)
        {
            std::printf("| %s |", kStepNames[step]);
            const std::vector<double>& first = samples.front()[static_cast<size_t>(step)];
            for (size_t size = 1; size < counts.size(); ++size)
            {
                const std::vector<double>& values = samples[size][static_cast<size_t>(step)];
                std::vector<double> perRound;
                for (size_t round = 0; round < values.size(); ++round)
                    perRound.push_back(first[round] > 0 ? values[round] / first[round] : 0.0);
                const double median = Median(first) > 0 ? Median(values) / Median(first) : 0.0;
                std::sort(perRound.begin(), perRound.end());
                std::printf(" %.1fx (%.1f-%.1f) |", median, perRound.front(), perRound.back());
            }
            std::printf("\n");
        }
    }
    std::printf("\nIdle update against the no-op relayout (median against median):");
    for (size_t size = 0; size < counts.size(); ++size)
    {
        const double relayout = Median(samples[size][kRelayout]);
        std::printf(" %d toolbars %.1fx%s", counts[size], relayout > 0 ? Median(samples[size][kIdle]) / relayout : 0.0,
                    size + 1 < counts.size() ? "," : "\n");
    }
    if (profiling)
    {
        std::printf("\nWhere the idle update's time goes, ms (median of the rounds):\n\n");
        const char* const parts[] = {"the walk to every window (WM_NULL)", "the bars' own handlers, called directly",
                                     "of which the bars' dialog controls"};
        PrintPartsTable(parts, 3, profiles, counts, 1.0, false, 2);
    }
    std::printf("\nToolbars the frame shows whole (in part) after create and dock:");
    for (size_t size = 0; size < counts.size(); ++size)
        std::printf(" %d of %d (%d)%s", shown[size].first, counts[size], shown[size].second,
                    size + 1 < counts.size() ? "," : "\n");
    if (profiling)
    {
        std::printf("\nWhere create+dock+pump's time goes, us per toolbar (median of the rounds):\n\n");
        const char* const parts[kCreateParts] = {
            "AddToolBar (window made, docked)", "SetButtons",       "the frame's layout",
            "the pump: in PeekMessage",         "the pump: paints", "the pump: other messages"};
        PrintPartsTable(parts, kCreateParts, createProfiles, counts, 1000.0, true, 0);
        std::printf("\nMessages of create+dock+pump per toolbar (sent and posted; one counted frame per size):\n\n");
        PrintSizeTableHead("window: message", counts);
        for (int kind = 0; kind < kWindowKindCount; ++kind)
            for (int message = 0; message < kCountedMessageCount; ++message)
            {
                bool any = false;
                for (size_t size = 0; size < counts.size(); ++size)
                    any = any || messages[size][static_cast<size_t>(kind)][static_cast<size_t>(message)] != 0;
                if (!any)
                    continue;
                std::printf("| %s: %s |", kWindowKindNames[kind], kCountedMessageNames[message]);
                for (size_t size = 0; size < counts.size(); ++size)
                    std::printf(" %.2f |", messages[size][static_cast<size_t>(kind)][static_cast<size_t>(message)] /
                                               static_cast<double>(counts[size]));
                std::printf("\n");
            }
    }
    std::printf("\nLoad average (Z:\\proc\\loadavg, 1/5/15 min): before %s, after %s\n", loadBefore.c_str(),
                loadAfter.c_str());
    std::printf("Every frame made the bars and controls asked for, had nothing to repaint after an idle update with "
                "nothing changed, and loaded back what it saved.\n");
    if (smoke)
    {
        std::printf("Smoke frame: %d toolbars made %s, each toolbar its %d buttons; the pump after create and dock "
                    "handled %d messages, %d of them paints; the idle update ran %d times with nothing left to "
                    "repaint.\n",
                    counts.front(), Counts(work.made.first, work.made.second).c_str(), kButtons, work.pumped.first,
                    work.pumped.second, kIdlePasses + 1);
        std::printf("BARS-BENCH-SMOKE-PASSED\n");
    }
    COSMPaintManager::FreeGlobalPaintManager();
    return 0;
}
