// barsbench [ROUNDS] [--sizes N,N,...] [--smoke]
// What toolbars cost as a frame gains more of them: a frame with a menu bar and 5, 10 and 20 docked toolbars of 30
// buttons each, timed while the bars are made and docked (AddToolBar, SetButtons and the layout that places them),
// at the first idle time after, laid out again with nothing changed, resized, redrawn in full, saved and loaded through
// the archive exchange. Rounds alternate the sizes (A B C A B C ...), ROUNDS of them (5 unless told); each figure is
// the median with the range over the rounds, in all and per toolbar, so that a cost growing faster than the number
// of bars shows as a per-toolbar figure that grows. The table is markdown.
//
// Every frame checks that loading gave back the bars and controls it saved. --smoke runs one frame of 3 toolbars
// and prints BARS-BENCH-SMOKE-PASSED (else FAILED: and a non-zero exit). Timed figures are never asserted.
#include "classlib/Archive.h"
#include "classlib/FrameWnd.h"
#include "classlib/MemFile.h"
#include "classlib/Menu.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/commandbars/testing/TestPaintManager.h"
#include "framework/foundation/PropExchangeArchive.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
    kIdle,
    kRelayout,
    kResize,
    kRedraw,
    kSave,
    kLoad,
    kStepCount
};
const char* const kStepNames[kStepCount] = {"create+dock", "first idle", "relayout", "resize",
                                            "redraw",      "save",       "load"};

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

// Handles what is queued (paints, the bars' own posts) so that one step's leftovers do not land in the next.
void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
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

// One frame with its bars, every step timed once.
std::vector<double> MeasureFrame(int toolBars)
{
    std::vector<double> times(kStepCount, 0.0);
    CFrameWnd frame;
    LPCSTR cls =
        AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!frame.Create(cls, "barsbench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CRect(40, 40, 1040, 740)))
    {
        std::fprintf(stderr, "barsbench: no frame\n");
        std::exit(1);
    }
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

    std::vector<UINT> ids(kButtons);
    double start = Now();
    for (int bar = 0; bar < toolBars; ++bar)
    {
        const std::string title = "Toolbar " + std::to_string(bar + 1);
        COSMCommandBar* toolBar = commandBars->AddToolBar(title.c_str(), kFirstBarId + static_cast<UINT>(bar));
        for (int i = 0; i < kButtons; ++i)
            ids[static_cast<size_t>(i)] = kFirstCommand + static_cast<UINT>(bar * kButtons + i);
        if (!toolBar || !toolBar->SetButtons(ids.data(), kButtons))
        {
            std::fprintf(stderr, "barsbench: toolbar %d not made\n", bar + 1);
            std::exit(1);
        }
    }
    // The layout an application's frame does before it shows: the bars take their places.
    frame.RecalcLayout();
    times[kCreate] = Now() - start;
    Pump();

    // The first idle time after: the bars update their buttons and lay out what they left pending, as the thread's
    // idle handler asks them.
    start = Now();
    frame.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    frame.SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
    times[kIdle] = Now() - start;
    Pump();

    start = Now();
    frame.RecalcLayout();
    times[kRelayout] = Now() - start;
    Pump();

    start = Now();
    frame.SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    times[kResize] = Now() - start;
    Pump();

    start = Now();
    frame.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    times[kRedraw] = Now() - start;
    Pump();

    const std::pair<int, int> saved = CountBarsAndControls(*commandBars);
    if (saved.first != toolBars + 1 || saved.second < toolBars * kButtons)
    {
        std::printf("FAILED: %d toolbars made %d bars and %d controls\n", toolBars, saved.first, saved.second);
        std::exit(1);
    }
    CMemFile file;
    start = Now();
    {
        CArchive ar(&file, CArchive::store);
        COSMPropExchangeArchive px(ar);
        commandBars->SaveBarState(&px);
        ar.Close();
    }
    times[kSave] = Now() - start;

    file.SeekToBegin();
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
    {
        std::printf("FAILED: %d bars with %d controls saved, %d with %d loaded\n", saved.first, saved.second,
                    loaded.first, loaded.second);
        std::exit(1);
    }

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
std::string Spread(std::vector<double> values, double scale)
{
    std::sort(values.begin(), values.end());
    char text[96];
    std::snprintf(text, sizeof text, "%.2f (%.2f-%.2f)", Median(values) * scale, values.front() * scale,
                  values.back() * scale);
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 5;
    std::vector<int> counts = {5, 10, 20};
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
            std::printf("usage: barsbench [ROUNDS] [--sizes N,N,...] [--smoke]\n");
            return 2;
        }
    }
    COSMPaintManager::RegisterThemeCreator(0, &COSMTestPaintManager::Create);
    COSMPaintManager::SetTheme(0);

    // samples[size][step]: one time per round.
    std::vector<std::vector<std::vector<double>>> samples(counts.size(), std::vector<std::vector<double>>(kStepCount));
    for (int round = 0; round < rounds; ++round)
        for (size_t size = 0; size < counts.size(); ++size)
        {
            const std::vector<double> times = MeasureFrame(counts[size]);
            for (int step = 0; step < kStepCount; ++step)
                samples[size][static_cast<size_t>(step)].push_back(times[static_cast<size_t>(step)]);
        }

    std::printf("%d buttons a toolbar and a menu bar; median (min-max) of %d alternating rounds\n\n", kButtons, rounds);
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
            std::printf(" %s | %s |", Spread(values, 1.0).c_str(), Spread(values, 1000.0 / counts[size]).c_str());
        }
        std::printf("\n");
    }
    if (counts.size() > 1)
    {
        std::printf("\nGrowth, %d toolbars against %d (median against median):", counts.back(), counts.front());
        for (int step = 0; step < kStepCount; ++step)
        {
            const double first = Median(samples.front()[static_cast<size_t>(step)]);
            const double last = Median(samples.back()[static_cast<size_t>(step)]);
            std::printf(" %s %.1fx%s", kStepNames[step], first > 0 ? last / first : 0.0,
                        step + 1 < kStepCount ? "," : "");
        }
        std::printf("\n");
    }
    std::printf("Every frame loaded back the bars and controls it saved.\n");
    if (smoke)
        std::printf("BARS-BENCH-SMOKE-PASSED\n");
    COSMPaintManager::FreeGlobalPaintManager();
    return 0;
}
