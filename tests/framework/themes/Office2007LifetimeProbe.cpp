// Run by the resource layer's tests: installs the Office 2007 look (theme 5), draws a status bar in a frame and
// returns from main. What goes at exit prints as it goes, so the test sees that the process's look releases the
// images while they still live, that they go right after it, and that a look released later finds none.
#include "classlib/ClassLib.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/StatusBar.h"
#include "framework/themes/OfficeTheme.h"
#include "framework/themes/Office2007Images.h"

#include <string>

namespace {

void Print(const std::string& line)
{
    // Straight to the handle: the C runtime's streams may already be closing while the last destructors run.
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// A look that empties the process's image cache when it goes, asking for the live manager as it does.
class CImagesReleasingTheme : public COSMOfficeTheme
{
public:
    explicit CImagesReleasingTheme(const char* name) : m_name(name) {}
    ~CImagesReleasingTheme() override
    {
        COSMOffice2007Images* images = COSMOffice2007Images::LiveInstance();
        std::string line = std::string(m_name) + " released: images ";
        if (images)
        {
            images->ClearCache();
            line += "alive, cache cleared, " + std::to_string(COSMOffice2007Image::GetInstanceCount()) + " images left";
        }
        else
        {
            line += "none";
        }
        Print(line + "\n");
    }

private:
    const char* m_name;
};

CImagesReleasingTheme* g_lateTheme = nullptr;

// Registered after the images are made, so it runs between the process look's end and theirs.
void ReportAfterProcessLook()
{
    COSMOffice2007Images* images = COSMOffice2007Images::LiveInstance();
    Print(std::string("process look released: images ") + (images ? "alive, " : "none, ") +
          std::to_string(COSMOffice2007Image::GetInstanceCount()) + " images left\n");
}

// Registered before the images are made, so it runs after their end.
void ReleaseLateTheme()
{
    if (g_lateTheme)
        g_lateTheme->InternalRelease();
    g_lateTheme = nullptr;
}

// Made before everything else, so it goes last.
struct CLastAtExit
{
    ~CLastAtExit()
    {
        Print("after the end: images " + std::string(COSMOffice2007Images::LiveInstance() ? "still there" : "gone") +
              ", " + std::to_string(COSMOffice2007Image::GetInstanceCount()) + " images\n");
    }
} g_lastAtExit;

}  // namespace

int main()
{
    // The Office look first: the process's paint manager lives before the images are made, the order in which a
    // manager kept as a plain static would go before the look that releases it.
    COSMPaintManager::SetTheme(1);
    g_lateTheme = new CImagesReleasingTheme("late look");
    COSMPaintManager::AddExitRoutine(&ReleaseLateTheme);

    COSMOffice2007Images* images = COSMOffice2007Images::Instance();
    Print(std::string("theme text: ") + (images->IsValid() ? "loaded" : "missing") + "\n");
    int loaded = 0;
    for (const char* name : {"TOOLTIPFRAME", "FRAMECAPTIONCLOSE17", "WORKSPACETOPLEFT"})
        loaded += images->LoadImage(name) != nullptr;
    Print("images loaded: " + std::to_string(loaded) + "\n");
    COSMPaintManager::SetTheme(5);
    COSMPaintManager::AddExitRoutine(&ReportAfterProcessLook);
    Print("look: " + std::to_string(COSMPaintManager::GetGlobalPaintManager()->GetThemeId()) + "\n");

    CFrameWnd* frame = new CFrameWnd;
    frame->Create(nullptr, "lifetime", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 440, 240));
    COSMStatusBar bar;
    bar.Create(frame);
    bar.AddIndicator(0);
    frame->RecalcLayout();
    ::RedrawWindow(bar.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    CRect client;
    bar.GetClientRect(&client);
    Print("status bar drawn: " + std::string(client.Height() > 0 ? "yes" : "no") + "\n");
    bar.DestroyWindow();
    frame->DestroyWindow();

    Print("main returns\n");
    return 0;
}
