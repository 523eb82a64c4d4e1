// Run by PaintManagerTests: hooks a window, installs a custom theme and returns from main. What goes at exit prints
// as it goes, so the test sees that the process's paint manager is released while the services it uses still live,
// and that nothing asked late at exit makes a service again or reaches a destroyed one.
#include "framework/commandbars/testing/TestPaintManager.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/DrawHelpers.h"
#include "framework/foundation/HookManager.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ProcessService.h"
#include "framework/foundation/ResourceManager.h"

#include <string>

namespace {

void Print(const std::string& line)
{
    // Straight to the handle: the C runtime's streams may already be closing while the last destructors run.
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

template <class T> const char* LiveOrGone()
{
    return OsmLiveProcessService<T>() ? "alive" : "gone";
}

// The custom theme: its end says which services were there to see it.
class CProbePaintManager : public COSMTestPaintManager
{
public:
    ~CProbePaintManager() override
    {
        Print(std::string("paint manager released: images ") + LiveOrGone<COSMImageManager>() + ", colours " +
              LiveOrGone<COSMColorManager>() + ", resources " + LiveOrGone<COSMResourceManager>() +
              ", drawing helpers " + LiveOrGone<COSMDrawHelpers>() + ", hooks " + LiveOrGone<COSMHookManager>() + "\n");
    }
};

class CProbeSink : public COSMHookManagerSink
{
public:
    int OnHookMessage(HWND, UINT, WPARAM&, LPARAM&, LRESULT&) override { return kNotHandled; }
};

// A subclasser that knows nothing of the hook manager's protocol, above its procedure: the manager cannot put the
// window's procedure back when it goes, so messages still pass through the manager's procedure after its end.
WNDPROC g_below = nullptr;

LRESULT CALLBACK AboveTheHookManager(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcA(g_below, window, message, wParam, lParam);
}

// Routines a layer above registers: they run right after the manager has gone, the last registered first.
void ExitRoutine(const char* which)
{
    Print(std::string("exit routine ") + which + ": process paint manager " +
          (COSMPaintManager::GetGlobalPaintManager() ? "still there" : "none") + ", images " +
          LiveOrGone<COSMImageManager>() + "\n");
}
void FirstExitRoutine()
{
    ExitRoutine("registered first");
}
void SecondExitRoutine()
{
    ExitRoutine("registered second");
}

// Made before every service, so it goes after all of them: the last word at exit.
struct CLastAtExit
{
    HWND window = nullptr;
    CProbeSink sink;

    ~CLastAtExit()
    {
        const LRESULT answer = ::SendMessageA(window, WM_USER + 5, 0, 0);
        Print(std::string("after the end: a message through the hook manager's procedure answered ") +
              std::to_string(answer) + ", hook manager " +
              (OsmLiveProcessService<COSMHookManager>() ? "made again" : "gone") + ", process paint manager " +
              (COSMPaintManager::GetGlobalPaintManager() ? "still there" : "none") + ", a routine added now " +
              (COSMPaintManager::AddExitRoutine(&FirstExitRoutine) ? "taken" : "refused") + "\n");
    }
} g_lastAtExit;

}  // namespace

int main()
{
    g_lastAtExit.window = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                            ::GetModuleHandleA(nullptr), nullptr);
    GetHookManager()->SetHook(g_lastAtExit.window, &g_lastAtExit.sink);
    g_below = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(g_lastAtExit.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AboveTheHookManager)));
    Print(std::string("before any theme: ") + (COSMPaintManager::GetGlobalPaintManager() ? "one" : "none") + "\n");
    COSMPaintManager::AddExitRoutine(&FirstExitRoutine);
    COSMPaintManager::SetCustomTheme(new CProbePaintManager);
    COSMPaintManager::AddExitRoutine(&SecondExitRoutine);
    Print("installed theme " + std::to_string(COSMPaintManager::GetGlobalPaintManager()->GetRecordedThemeId()) + "\n");
    Print("main returns\n");
    return 0;
}
