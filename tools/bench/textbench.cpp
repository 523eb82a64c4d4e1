// textbench [ROUNDS] [--profile CASE K] [FILE...]
// What long text costs in a text block a few pixels wide: documents of about 1 MB of text (one word, words of one
// character, a line feed after every character; in the default font and in a large one) in blocks 1, 3 and 7 pixels
// wide, and the markup documents named on the command line, each parsed, measured (in unbounded room, then in
// 320 x 240) and drawn into a 320 x 240 memory DC, as a host does, once through GDI+ and once through GDI alone.
// Each figure is the median over ROUNDS (3 unless told) of the thread's processor time for that step, in
// milliseconds; the table is markdown and ends with the machine's load average before and after the run.
//
// --profile CASE K runs one case (its name as the table prints it, or a file) K times and nothing else, for a sampling
// profiler. Timed figures are printed, never asserted.
#include "LoadAverage.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupGdiPlus.h"
#include "framework/markup/MarkupUIElement.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kAreaWidth = 320;
constexpr int kAreaHeight = 240;
constexpr size_t kTextBytes = 1 << 20;
// A library name no system has: with it GDI+ cannot load and everything goes the GDI way.
constexpr char kNoGdiPlusLibrary[] = "textbench-no-gdiplus.dll";

struct Case
{
    std::string name;
    std::string document;
};

std::string Repeat(const std::string& unit, size_t bytes)
{
    std::string text;
    text.reserve(bytes + unit.size());
    while (text.size() < bytes)
        text += unit;
    return text;
}

std::vector<Case> MadeCases()
{
    struct Text
    {
        const char* name;
        std::string content;
    };
    const Text texts[] = {
        {"one word", Repeat("abcdefghij", kTextBytes)},
        {"one-character words", Repeat("a ", kTextBytes)},
        {"line feed after each character", Repeat("a&#10;", kTextBytes)},
    };
    std::vector<Case> cases;
    for (const char* size : {"", "400"})
    {
        for (const Text& text : texts)
        {
            for (int width : {1, 3, 7})
            {
                std::string name = std::string(text.name) + ", " + std::to_string(width) + " px";
                std::string document = "<TextBlock TextWrapping=\"Wrap\" Width=\"" + std::to_string(width) + "\"";
                if (*size)
                {
                    name += ", FontSize " + std::string(size);
                    document += " FontSize=\"" + std::string(size) + "\"";
                }
                document += ">" + text.content + "</TextBlock>";
                cases.push_back({name, document});
            }
        }
    }
    return cases;
}

double ThreadMilliseconds()
{
    FILETIME created, exited, kernel, user;
    if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    const auto ticks = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 1e4;
}

// Parse, measure, draw, release: the thread's milliseconds for each.
struct Steps
{
    double parse = 0, measure = 0, draw = 0, release = 0;
    double Total() const { return parse + measure + draw + release; }
};

Steps RunOnce(const std::string& document, const char* library, bool* parsed)
{
    GetMarkupGdiPlus()->SetLibraryName(library);
    Steps steps;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kAreaWidth;
    info.bmiHeader.biHeight = -kAreaHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, bitmap);

    double at = ThreadMilliseconds();
    COSMMarkupContext* context = CreateMarkupContext(nullptr);
    COSMMarkupUIElement* root = ParseMarkup(context, document.c_str());
    double now = ThreadMilliseconds();
    steps.parse = now - at;
    *parsed = root != nullptr;
    if (root)
    {
        at = now;
        MeasureMarkupElement(root, 0x7FFFFFFF, 0x7FFFFFFF);
        MeasureMarkupElement(root, kAreaWidth, kAreaHeight);
        now = ThreadMilliseconds();
        steps.measure = now - at;
        at = now;
        const RECT area = {0, 0, kAreaWidth, kAreaHeight};
        RenderMarkupElement(root, dc, &area);
        now = ThreadMilliseconds();
        steps.draw = now - at;
    }
    at = ThreadMilliseconds();
    ReleaseMarkupElement(&root);
    ReleaseMarkupContext(&context);
    steps.release = ThreadMilliseconds() - at;

    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    GetMarkupGdiPlus()->SetLibraryName(nullptr);
    return steps;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

bool ReadFile(const std::string& path, std::string* text)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    text->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 3;
    std::string profileCase;
    int profileCount = 0;
    std::vector<Case> cases = MadeCases();
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "--profile" && i + 2 < argc)
        {
            profileCase = argv[i + 1];
            profileCount = std::atoi(argv[i + 2]);
            i += 2;
            if (profileCase.find('<') == std::string::npos)
            {
                std::string text;
                if (ReadFile(profileCase, &text))
                    cases.push_back({profileCase, text});
            }
        }
        else if (std::atoi(arg.c_str()) > 0 && arg.find_first_not_of("0123456789") == std::string::npos)
        {
            rounds = std::atoi(arg.c_str());
        }
        else
        {
            std::string text;
            if (!ReadFile(arg, &text))
            {
                std::fprintf(stderr, "textbench: cannot read %s\n", arg.c_str());
                return 2;
            }
            cases.push_back({arg, text});
        }
    }

    // GDI+ loaded once for the whole run, as a host that keeps using it has it.
    HMODULE gdiPlus = ::LoadLibraryA("GdiPlus.dll");
    if (profileCount > 0)
    {
        for (const Case& item : cases)
        {
            if (item.name != profileCase)
                continue;
            for (int k = 0; k < profileCount; ++k)
            {
                bool parsed = false;
                const Steps plus = RunOnce(item.document, nullptr, &parsed);
                const Steps gdi = RunOnce(item.document, kNoGdiPlusLibrary, &parsed);
                std::printf("%s: %.0f ms through GDI+, %.0f ms through GDI\n", item.name.c_str(), plus.Total(),
                            gdi.Total());
            }
        }
        if (gdiPlus)
            ::FreeLibrary(gdiPlus);
        return 0;
    }

    const std::string loadBefore = ReadLoadAverage();
    std::printf("| Text | Renderer | Parse ms | Measure ms | Draw ms | Release ms | Total ms |\n");
    std::printf("|---|---|---:|---:|---:|---:|---:|\n");
    for (const Case& item : cases)
    {
        double both = 0;
        for (const char* library : {static_cast<const char*>(nullptr), kNoGdiPlusLibrary})
        {
            std::vector<double> parse, measure, draw, release, total;
            bool parsed = false;
            for (int r = 0; r < rounds; ++r)
            {
                const Steps steps = RunOnce(item.document, library, &parsed);
                parse.push_back(steps.parse);
                measure.push_back(steps.measure);
                draw.push_back(steps.draw);
                release.push_back(steps.release);
                total.push_back(steps.Total());
            }
            both += Median(total);
            std::printf("| %s%s | %s | %.0f | %.0f | %.0f | %.0f | %.0f |\n", item.name.c_str(),
                        parsed ? "" : " (does not parse)", library ? "GDI" : "GDI+", Median(parse), Median(measure),
                        Median(draw), Median(release), Median(total));
        }
        std::printf("| %s | both | | | | | %.0f |\n", item.name.c_str(), both);
        std::fflush(stdout);
    }
    std::printf("\nLoad average before: %s; after: %s\n", loadBefore.c_str(), ReadLoadAverage().c_str());
    if (gdiPlus)
        ::FreeLibrary(gdiPlus);
    return 0;
}
