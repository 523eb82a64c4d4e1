// barsbench [ROUNDS]
// What toolbars cost as a frame gains more of them: a frame with a menu bar and 5, 10 and 20 docked toolbars of 30
// buttons each, timed while the bars are made and docked (AddToolBar, SetButtons and the layout that places them),
// at the first idle time after, laid out again with nothing changed, resized, redrawn in full, saved and loaded through
// the archive exchange. Each figure is the median of ROUNDS frames (5 unless told), printed in all and per toolbar, so
// that a cost growing faster than the number of bars shows as a per-toolbar figure that grows. Not a test: nothing is
// asserted.
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

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    COSMPaintManager::RegisterThemeCreator(0, &COSMTestPaintManager::Create);
    COSMPaintManager::SetTheme(0);

    const int counts[] = {5, 10, 20};
    std::printf("%d buttons a toolbar, a menu bar, median of %d rounds; ms in all / us per toolbar\n", kButtons,
                rounds);
    std::printf("%-12s", "toolbars");
    for (const char* name : kStepNames)
        std::printf(" %20s", name);
    std::printf("\n");
    for (int count : counts)
    {
        std::vector<std::vector<double>> samples(kStepCount);
        for (int round = 0; round < rounds; ++round)
        {
            const std::vector<double> times = MeasureFrame(count);
            for (int step = 0; step < kStepCount; ++step)
                samples[static_cast<size_t>(step)].push_back(times[static_cast<size_t>(step)]);
        }
        std::printf("%-12d", count);
        for (int step = 0; step < kStepCount; ++step)
        {
            const double median = Median(samples[static_cast<size_t>(step)]);
            std::printf(" %9.2f / %8.1f", median, median * 1000.0 / count);
        }
        std::printf("\n");
    }
    COSMPaintManager::FreeGlobalPaintManager();
    return 0;
}
