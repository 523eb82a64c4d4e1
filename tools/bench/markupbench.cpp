// markupbench [ROUNDS] [--sizes N,N,...] [--smoke] | --profile-parse N K
// What markup costs per element as documents grow: documents of 1,000, 10,000 and 100,000 XML elements (nested stack
// panels, grids, borders and text blocks, with an implicit and a keyed style, a brush resource and static and dynamic
// resource references) are read by the engine's XML reader alone, parsed and built once into a context on a shown
// window (as every real host makes its context) and released, then parsed and built, measured, arranged, drawn
// one 800 x 600 viewport at a time (the top one, then the whole tree) into a memory DC, and released. Rounds
// alternate the sizes (A B C A B C ...), ROUNDS of them (5 unless told); each figure is the median per element with
// the range over the rounds, so a cost growing faster than the document shows as a per-element figure that grows.
// Memory is measured in a fresh process per size (this program started again with --memory-child N): its peak
// working set, and the heap and markup object pool it holds, once the tree is built, laid out and drawn. The table is
// markdown; it ends with the ratios a reader checks (each parse against the reader, the largest document's cost per
// element against the smallest's) and the machine's load average before and after the run.
// A lone small document reuses the pages the object pool keeps warm after a release, where a large one writes fresh
// memory, which a virtual machine may charge microseconds a page for: each round also parses as many copies of every
// document as make the largest, holding them all, so the sizes compare at the same fresh memory, and the run ends by
// timing the first write to fresh pages on this machine.
//
// --smoke builds one document of 200 elements once, checks that the reader saw every element, that the tree has
// every UI element the document names and that releasing it frees every markup object, and prints
// MARKUP-BENCH-SMOKE-PASSED (else FAILED: and a non-zero exit). Timed figures are printed, never asserted.
//
// --profile-parse N K is for a sampling profiler: it parses one document of N elements K times into a context on a
// shown window, releasing each tree before the next parse, and prints when each parse began and ended as the
// performance counter's seconds (under Wine that is the host's monotonic clock), so samples of the parse alone can
// be told from the rest.
#include "LoadAverage.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupObject.h"
#include "framework/markup/MarkupObjectPool.h"
#include "framework/markup/MarkupUIElement.h"
#include "framework/markup/MarkupXmlReader.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <new>
#include <string>
#include <vector>

// ---- Heap accounting ----------------------------------------------------------------------------------------------
// The engine allocates with operator new; the memory child counts what is held through it (block sizes as the heap
// reports them, and blocks), so the figure does not depend on which pages the heap had already touched.
namespace {

bool g_countHeap = false;
long long g_heapBytes = 0;
long long g_heapBlocks = 0;

void* CountedAlloc(size_t size)
{
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    if (g_countHeap)
    {
        g_heapBytes += static_cast<long long>(_msize(block));
        ++g_heapBlocks;
    }
    return block;
}

void CountedFree(void* block)
{
    if (!block)
        return;
    if (g_countHeap)
    {
        g_heapBytes -= static_cast<long long>(_msize(block));
        --g_heapBlocks;
    }
    std::free(block);
}

}  // namespace

void* operator new(size_t size)
{
    return CountedAlloc(size);
}
void* operator new[](size_t size)
{
    return CountedAlloc(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    try
    {
        return CountedAlloc(size);
    }
    catch (...)
    {
        return nullptr;
    }
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    try
    {
        return CountedAlloc(size);
    }
    catch (...)
    {
        return nullptr;
    }
}
void operator delete(void* block) noexcept
{
    CountedFree(block);
}
void operator delete[](void* block) noexcept
{
    CountedFree(block);
}
void operator delete(void* block, size_t) noexcept
{
    CountedFree(block);
}
void operator delete[](void* block, size_t) noexcept
{
    CountedFree(block);
}

namespace {

constexpr int kViewportWidth = 800;
constexpr int kViewportHeight = 600;
constexpr int kCardsPerSection = 100;
constexpr int kElementsPerCard = 9;
constexpr int kUIElementsPerCard = 6;

// ---- The documents -----------------------------------------------------------------------------------------------

struct Document
{
    std::string text;
    int xmlElements = 0;  // start tags, property elements and resources included
    int uiElements = 0;   // the elements the built tree must hold
};

// A root stack panel with its resources, then sections (stack panels) of cards: a styled border around a grid of
// two columns, a text block in the first and a horizontal stack panel of a text block and a swatch in the second.
// Single text blocks make up the last few elements, so the document has exactly `elements` of them.
Document MakeDocument(int elements)
{
    Document document;
    std::string& text = document.text;
    text.reserve(static_cast<size_t>(elements) * 120);
    text += "<StackPanel>\n"
            "  <StackPanel.Resources>\n"
            "    <SolidColorBrush x:Key=\"accent\" Color=\"#FF3060A0\"/>\n"
            "    <Style TargetType=\"TextBlock\"><Setter Property=\"Foreground\" Value=\"Navy\"/></Style>\n"
            "    <Style x:Key=\"card\" TargetType=\"Border\"><Setter Property=\"BorderThickness\" Value=\"1\"/>"
            "<Setter Property=\"Padding\" Value=\"2\"/></Style>\n"
            "  </StackPanel.Resources>\n";
    document.xmlElements = 8;
    document.uiElements = 1;

    int cardsInSection = kCardsPerSection;
    bool sectionOpen = false;
    int item = 0;
    char buffer[640];
    auto openSection = [&] {
        if (sectionOpen)
            text += "  </StackPanel>\n";
        text += "  <StackPanel Margin=\"0,0,0,4\">\n";
        sectionOpen = true;
        cardsInSection = 0;
        ++document.xmlElements;
        ++document.uiElements;
    };
    for (;;)
    {
        const int sectionCost = cardsInSection == kCardsPerSection ? 1 : 0;
        if (document.xmlElements + sectionCost + kElementsPerCard > elements)
            break;
        if (sectionCost)
            openSection();
        ++item;
        std::snprintf(buffer, sizeof(buffer),
                      "    <Border Style=\"{StaticResource card}\" BorderBrush=\"{DynamicResource accent}\">\n"
                      "      <Grid>\n"
                      "        <Grid.ColumnDefinitions><ColumnDefinition Width=\"Auto\"/><ColumnDefinition "
                      "Width=\"*\"/></Grid.ColumnDefinitions>\n"
                      "        <TextBlock Text=\"Item %d\" Margin=\"0,0,8,0\"/>\n"
                      "        <StackPanel Grid.Column=\"1\" Orientation=\"Horizontal\">\n"
                      "          <TextBlock Foreground=\"{StaticResource accent}\">value %d</TextBlock>\n"
                      "          <Border Width=\"8\" Height=\"8\" Margin=\"4,0,4,0\" Background=\"{StaticResource "
                      "accent}\"/>\n"
                      "        </StackPanel>\n"
                      "      </Grid>\n"
                      "    </Border>\n",
                      item, item * 7);
        text += buffer;
        ++cardsInSection;
        document.xmlElements += kElementsPerCard;
        document.uiElements += kUIElementsPerCard;
    }
    if (!sectionOpen && document.xmlElements < elements)
        openSection();
    while (document.xmlElements < elements)
    {
        text += "    <TextBlock Text=\"note\"/>\n";
        ++document.xmlElements;
        ++document.uiElements;
    }
    if (sectionOpen)
        text += "  </StackPanel>\n";
    text += "</StackPanel>\n";
    return document;
}

// ---- Measuring -----------------------------------------------------------------------------------------------------

double Now()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// GetProcessMemoryInfo by name: kernel32's K32 export where the system has it, else psapi.dll's, so the program
// imports nothing Windows XP lacks.
struct MemoryCounters
{
    SIZE_T workingSet = 0;
    SIZE_T peakWorkingSet = 0;
};

MemoryCounters ReadMemoryCounters()
{
    using GetInfo = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    static const GetInfo getInfo = [] {
        FARPROC found = ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo");
        if (!found)
        {
            if (HMODULE psapi = ::LoadLibraryA("psapi.dll"))
                found = ::GetProcAddress(psapi, "GetProcessMemoryInfo");
        }
        return reinterpret_cast<GetInfo>(reinterpret_cast<void*>(found));
    }();
    MemoryCounters counters;
    PROCESS_MEMORY_COUNTERS info = {};
    info.cb = sizeof(info);
    if (getInfo && getInfo(::GetCurrentProcess(), &info, sizeof(info)))
    {
        counters.workingSet = info.WorkingSetSize;
        counters.peakWorkingSet = info.PeakWorkingSetSize;
    }
    return counters;
}

// The start tags the engine's reader finds in text (every token is read).
int ReadWithReader(const std::string& text)
{
    COSMMarkupXmlReader reader;
    reader.SetInput(text.data(), text.data() + text.size());
    int elements = 0;
    if (!reader.MoveToContent())
        return -1;
    for (int token; (token = reader.Read()) > 0;)
    {
        if (token == COSMMarkupXmlReader::TokenStartElement)
            ++elements;
    }
    return elements;
}

int CountVisuals(const COSMMarkupVisual* visual)
{
    int count = 1;
    const int children = visual->GetVisualChildrenCount();
    for (int i = 0; i < children; ++i)
    {
        if (const COSMMarkupVisual* child = visual->GetVisualChild(i))
            count += CountVisuals(child);
    }
    return count;
}

// A DIB section of the viewport's size in a memory DC, the target of the render phases.
class CViewportTarget
{
public:
    CViewportTarget()
    {
        m_dc = ::CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kViewportWidth;
        info.bmiHeader.biHeight = -kViewportHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_pBits = static_cast<const DWORD*>(bits);
        m_oldBitmap = ::SelectObject(m_dc, m_bitmap);
    }
    ~CViewportTarget()
    {
        ::SelectObject(m_dc, m_oldBitmap);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    CViewportTarget(const CViewportTarget&) = delete;
    CViewportTarget& operator=(const CViewportTarget&) = delete;

    void Clear()
    {
        const RECT all = {0, 0, kViewportWidth, kViewportHeight};
        ::FillRect(m_dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    HDC Get() const { return m_dc; }
    // Pixels that are no longer white: what a render drew.
    int CountInked() const
    {
        if (!m_pBits)
            return 0;
        ::GdiFlush();
        int inked = 0;
        for (int i = 0; i < kViewportWidth * kViewportHeight; ++i)
            inked += (m_pBits[i] & 0xFFFFFF) != 0xFFFFFF;
        return inked;
    }

private:
    const DWORD* m_pBits = nullptr;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
};

// Draws the viewport of root whose top is at top. The drawing context moves the DC's viewport origin and leaves
// it there: the DC's state is put back after each drawing, so every one starts from the same target.
void RenderFrom(COSMMarkupUIElement* root, HDC dc, int top)
{
    const int saved = ::SaveDC(dc);
    {
        COSMMarkupDrawingContext drawing(dc);
        if (top)
            drawing.OffsetViewport(CPoint(0, -top));
        root->Render(&drawing);
    }
    ::RestoreDC(dc, saved);
}

enum Phase
{
    kRead,
    kParseHosted,
    kParse,
    kMeasure,
    kArrange,
    kRenderViewport,
    kRenderWhole,
    kRelease,
    kPhaseCount
};
const char* const kPhaseNames[kPhaseCount] = {
    "read (XML reader alone)",
    "parse and build, context on a shown window",
    "parse and build",
    "measure",
    "arrange",
    "render 800x600 viewport",
    "render whole tree",
    "release",
};

struct RoundResult
{
    double seconds[kPhaseCount] = {};
    int readerElements = 0;
    int visuals = 0;
    int hostedVisuals = 0;  // what the parse into the context on a window built
    long objectsBuilt = 0;
    long objectsLeft = 0;  // live markup objects after the release, less those before the parse
    int height = 0;
    int inked = 0;  // pixels the viewport render drew
    bool parsed = false;
};

// A shown top-level window, as every real host has: a context made on it hands its invalidations to the window
// system, which is what a host pays for while it builds a tree.
class CHostWindow
{
public:
    CHostWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "MarkupBenchHost";
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        ::RegisterClassA(&windowClass);
        m_hWnd = ::CreateWindowExA(0, "MarkupBenchHost", "markupbench", WS_POPUP | WS_VISIBLE, 0, 0, kViewportWidth,
                                   kViewportHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
        Pump();
    }
    ~CHostWindow()
    {
        if (m_hWnd)
            ::DestroyWindow(m_hWnd);
    }
    CHostWindow(const CHostWindow&) = delete;
    CHostWindow& operator=(const CHostWindow&) = delete;

    HWND Get() const { return m_hWnd; }
    // Paints what waits, so every round starts from a validated window.
    static void Pump()
    {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }

private:
    HWND m_hWnd = nullptr;
};

// One document through every phase on context; the parse alone once more on hostedContext, whose host is a window.
RoundResult RunRound(COSMMarkupContext* context, COSMMarkupContext* hostedContext, const Document& document,
                     CViewportTarget& target)
{
    RoundResult result;
    double start = Now();
    result.readerElements = ReadWithReader(document.text);
    result.seconds[kRead] = Now() - start;

    if (hostedContext)
    {
        CHostWindow::Pump();
        start = Now();
        COSMMarkupUIElement* hosted = ParseMarkup(hostedContext, document.text.c_str());
        result.seconds[kParseHosted] = Now() - start;
        if (hosted)
            result.hostedVisuals = CountVisuals(hosted);
        ReleaseMarkupElement(&hosted);
        CHostWindow::Pump();
    }

    const LONG objectsBefore = COSMMarkupObject::GetLiveObjectCount();
    start = Now();
    COSMMarkupUIElement* root = ParseMarkup(context, document.text.c_str());
    result.seconds[kParse] = Now() - start;
    if (!root)
    {
        COSMMarkupXmlReader reader;
        reader.SetInput(document.text.data(), document.text.data() + document.text.size());
        COSMMarkupBuilder builder(context);
        COSMMarkupUIElement* again = builder.Parse(&reader);
        std::printf("FAILED: the document of %d elements does not parse: %s\n", document.xmlElements,
                    builder.GetLastErrorMessage());
        if (again)
            again->Release();
        return result;
    }
    result.parsed = true;
    result.objectsBuilt = COSMMarkupObject::GetLiveObjectCount() - objectsBefore;
    result.visuals = CountVisuals(root);

    start = Now();
    const CSize desired = MeasureMarkupElement(root, kViewportWidth, INT_MAX);
    result.seconds[kMeasure] = Now() - start;
    result.height = desired.cy;

    start = Now();
    root->Arrange(0, 0, kViewportWidth, std::max<int>(desired.cy, kViewportHeight));
    result.seconds[kArrange] = Now() - start;

    target.Clear();
    start = Now();
    RenderFrom(root, target.Get(), 0);
    result.seconds[kRenderViewport] = Now() - start;
    result.inked = target.CountInked();

    start = Now();
    for (int top = 0; top < desired.cy; top += kViewportHeight)
        RenderFrom(root, target.Get(), top);
    result.seconds[kRenderWhole] = Now() - start;

    start = Now();
    ReleaseMarkupElement(&root);
    result.seconds[kRelease] = Now() - start;
    result.objectsLeft = COSMMarkupObject::GetLiveObjectCount() - objectsBefore;
    return result;
}

// Copies of one document parsed one after another while every tree is held, then released: the seconds of the
// parses. With as many copies as make the largest document, every size writes the same amount of fresh memory, so
// the figure per element compares the engine's work alone across sizes; a lone small document reuses the pages the
// object pool keeps warm after a release and a large one cannot.
double ParseHeldTogether(COSMMarkupContext* context, const Document& document, int copies, bool* ok)
{
    std::vector<COSMMarkupUIElement*> trees;
    trees.reserve(static_cast<size_t>(copies));
    const double start = Now();
    for (int i = 0; i < copies; ++i)
        trees.push_back(ParseMarkup(context, document.text.c_str()));
    const double seconds = Now() - start;
    for (COSMMarkupUIElement*& tree : trees)
    {
        if (!tree || CountVisuals(tree) != document.uiElements)
            *ok = false;
        ReleaseMarkupElement(&tree);
    }
    return seconds;
}

// What the machine charges for the first write to a freshly committed page, and for a write to a page already
// written: microseconds and nanoseconds per 4 KB page over 16 MB. Under a virtual machine the first can be tens of
// times the second, and a parse that writes fresh memory pays it for every page its tree takes.
std::pair<double, double> FreshPageCost()
{
    const SIZE_T bytes = 16 << 20;
    const SIZE_T page = 4096;
    volatile char* memory =
        static_cast<volatile char*>(::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!memory)
        return {0, 0};
    double start = Now();
    for (SIZE_T at = 0; at < bytes; at += page)
        memory[at] = 1;
    const double first = Now() - start;
    start = Now();
    for (SIZE_T at = 0; at < bytes; at += page)
        memory[at] = 2;
    const double again = Now() - start;
    ::VirtualFree(const_cast<char*>(memory), 0, MEM_RELEASE);
    const double pages = static_cast<double>(bytes / page);
    return {first * 1e6 / pages, again * 1e9 / pages};
}

// ---- The memory child ----------------------------------------------------------------------------------------------

struct MemoryResult
{
    bool ok = false;
    double peakWorkingSet = 0;  // bytes the peak working set grew by while the tree was built, laid out and drawn
    double heapBytes = 0;       // bytes held through operator new while the tree lives
    double heapBlocks = 0;
    double objects = 0;
};

// In the child: one document of `elements`, built, laid out and drawn once after a small one warmed the engine up
// (types, fonts, GDI+). Prints "memory <peak working set growth> <heap bytes> <heap blocks> <markup objects>".
int RunMemoryChild(int elements)
{
    // Blocks made before counting starts would be subtracted when freed: count from the start.
    g_countHeap = true;
    const Document document = MakeDocument(elements);
    const Document warmUp = MakeDocument(200);
    COSMMarkupContext* context = CreateMarkupContext(nullptr);
    CViewportTarget target;
    RunRound(context, nullptr, warmUp, target);

    const MemoryCounters before = ReadMemoryCounters();
    const size_t poolBefore = GetMarkupObjectPoolUsage().liveBytes;
    const long long heapBefore = g_heapBytes;
    const long long blocksBefore = g_heapBlocks;
    const LONG objectsBefore = COSMMarkupObject::GetLiveObjectCount();
    COSMMarkupUIElement* root = ParseMarkup(context, document.text.c_str());
    if (!root)
    {
        std::printf("FAILED: the document does not parse\n");
        return 1;
    }
    const CSize desired = MeasureMarkupElement(root, kViewportWidth, INT_MAX);
    root->Arrange(0, 0, kViewportWidth, std::max<int>(desired.cy, kViewportHeight));
    RenderFrom(root, target.Get(), 0);
    const MemoryCounters after = ReadMemoryCounters();
    // Markup objects live in the pool's chunks: the bytes of their size classes count as held.
    const long long heap =
        g_heapBytes - heapBefore +
        (static_cast<long long>(GetMarkupObjectPoolUsage().liveBytes) - static_cast<long long>(poolBefore));
    const long long blocks = g_heapBlocks - blocksBefore;
    const LONG objects = COSMMarkupObject::GetLiveObjectCount() - objectsBefore;
    ReleaseMarkupElement(&root);
    ReleaseMarkupContext(&context);
    const SIZE_T peak = std::max(after.peakWorkingSet, after.workingSet);
    const long long growth = peak > before.workingSet ? static_cast<long long>(peak - before.workingSet) : 0;
    std::printf("memory %lld %lld %lld %ld\n", growth, heap, blocks, static_cast<long>(objects));
    return 0;
}

// Runs this program again with --memory-child elements and reads its line back.
MemoryResult MeasureMemory(int elements)
{
    MemoryResult result;
    char path[MAX_PATH];
    if (!::GetModuleFileNameA(nullptr, path, MAX_PATH))
        return result;
    std::string command = std::string("\"") + path + "\" --memory-child " + std::to_string(elements);

    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return result;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    std::vector<char> commandLine(command.begin(), command.end());
    commandLine.push_back('\0');
    const BOOL started =
        ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    ::CloseHandle(writeEnd);
    if (!started)
    {
        ::CloseHandle(readEnd);
        return result;
    }
    std::string output;
    char chunk[256];
    DWORD read = 0;
    while (::ReadFile(readEnd, chunk, sizeof(chunk), &read, nullptr) && read > 0)
        output.append(chunk, read);
    ::CloseHandle(readEnd);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);

    const size_t at = output.find("memory ");
    long long peak = 0, heap = 0, blocks = 0;
    long objects = 0;
    if (at != std::string::npos &&
        std::sscanf(output.c_str() + at, "memory %lld %lld %lld %ld", &peak, &heap, &blocks, &objects) == 4)
    {
        result.ok = true;
        result.peakWorkingSet = static_cast<double>(peak);
        result.heapBytes = static_cast<double>(heap);
        result.heapBlocks = static_cast<double>(blocks);
        result.objects = static_cast<double>(objects);
    }
    else
    {
        std::printf("FAILED: the memory run of %d elements said: %s\n", elements, output.c_str());
    }
    return result;
}

// ---- The table -----------------------------------------------------------------------------------------------------

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// "median (min-max)" of nanoseconds per element.
std::string Spread(const std::vector<double>& seconds, int elements)
{
    std::vector<double> perElement;
    for (double s : seconds)
        perElement.push_back(s * 1e9 / elements);
    char text[96];
    std::snprintf(text, sizeof(text), "%.0f (%.0f-%.0f)", Median(perElement),
                  *std::min_element(perElement.begin(), perElement.end()),
                  *std::max_element(perElement.begin(), perElement.end()));
    return text;
}

std::vector<int> ParseSizes(const char* text)
{
    std::vector<int> sizes;
    for (const char* p = text; *p;)
    {
        char* end = nullptr;
        const long value = std::strtol(p, &end, 10);
        if (end == p || value < 20 || value > 10000000)
            return {};
        sizes.push_back(static_cast<int>(value));
        p = *end == ',' ? end + 1 : end;
        if (*end && *end != ',')
            return {};
    }
    return sizes;
}

// See the head of the file: K parses of one document, each tree released before the next parse, and the time
// window of every parse.
int RunParseProfile(int elements, int parses)
{
    const Document document = MakeDocument(elements);
    COSMMarkupContext* context = CreateMarkupContext(nullptr);
    CHostWindow hostWindow;
    COSMMarkupContext* hostedContext = CreateMarkupContext(hostWindow.Get());
    CViewportTarget target;
    RunRound(context, hostedContext, MakeDocument(200), target);
    bool parsed = true;
    double seconds = 0;
    for (int i = 0; i < parses; ++i)
    {
        CHostWindow::Pump();
        const double start = Now();
        COSMMarkupUIElement* root = ParseMarkup(hostedContext, document.text.c_str());
        const double end = Now();
        seconds += end - start;
        std::printf("parse %.6f %.6f\n", start, end);
        parsed = parsed && root;
        ReleaseMarkupElement(&root);
    }
    CHostWindow::Pump();
    ReleaseMarkupContext(&hostedContext);
    ReleaseMarkupContext(&context);
    std::printf("%d parses of %d elements: %.0f ns per element%s\n", parses, document.xmlElements,
                seconds * 1e9 / (static_cast<double>(parses) * document.xmlElements),
                parsed ? "" : " (FAILED: a parse gave no tree)");
    return parsed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 5;
    bool smoke = false;
    std::vector<int> sizes = {1000, 10000, 100000};
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "--memory-child" && i + 1 < argc)
            return RunMemoryChild(std::atoi(argv[i + 1]));
        if (arg == "--profile-parse" && i + 2 < argc && std::atoi(argv[i + 1]) >= 20 && std::atoi(argv[i + 2]) > 0)
            return RunParseProfile(std::atoi(argv[i + 1]), std::atoi(argv[i + 2]));
        if (arg == "--smoke")
        {
            smoke = true;
            sizes = {200};
            rounds = 1;
        }
        else if (arg == "--sizes" && i + 1 < argc)
        {
            sizes = ParseSizes(argv[++i]);
        }
        else if (std::atoi(arg.c_str()) > 0)
        {
            rounds = std::atoi(arg.c_str());
        }
        else
        {
            sizes.clear();
        }
        if (sizes.empty())
        {
            std::printf("usage: markupbench [ROUNDS] [--sizes N,N,...] [--smoke]\n");
            return 2;
        }
    }

    std::vector<Document> documents;
    for (int size : sizes)
        documents.push_back(MakeDocument(size));

    const std::string loadBefore = ReadLoadAverage();
    COSMMarkupContext* context = CreateMarkupContext(nullptr);
    CHostWindow hostWindow;
    COSMMarkupContext* hostedContext = CreateMarkupContext(hostWindow.Get());
    CViewportTarget target;
    // One small document first: type records, fonts and GDI+ are made once, outside every figure.
    {
        const Document warmUp = MakeDocument(200);
        RunRound(context, hostedContext, warmUp, target);
    }

    // results[size][round], the sizes alternating within each round.
    std::vector<std::vector<RoundResult>> results(documents.size());
    // heldTogether[size][round]: the seconds of parsing as many copies as make the largest document, all held.
    std::vector<std::vector<double>> heldTogether(documents.size());
    bool heldOk = true;
    const int largest = documents.back().xmlElements;
    for (int round = 0; round < rounds; ++round)
    {
        for (size_t d = 0; d < documents.size(); ++d)
        {
            results[d].push_back(RunRound(context, hostedContext, documents[d], target));
            const int copies = std::max(1, largest / documents[d].xmlElements);
            heldTogether[d].push_back(ParseHeldTogether(context, documents[d], copies, &heldOk) / copies);
        }
    }
    const std::pair<double, double> pageCost = FreshPageCost();
    ReleaseMarkupContext(&hostedContext);
    ReleaseMarkupContext(&context);

    std::vector<MemoryResult> memory;
    for (const Document& document : documents)
        memory.push_back(MeasureMemory(document.xmlElements));

    std::printf("Markup costs per XML element: ns, median (min-max) over %d round%s; memory once per size in a fresh "
                "process\n\n",
                rounds, rounds == 1 ? "" : "s");
    std::printf("| per element |");
    for (const Document& document : documents)
        std::printf(" %d elements |", document.xmlElements);
    std::printf("\n|---|");
    for (size_t d = 0; d < documents.size(); ++d)
        std::printf("---|");
    std::printf("\n");
    for (int phase = 0; phase < kPhaseCount; ++phase)
    {
        std::printf("| %s |", kPhaseNames[phase]);
        for (size_t d = 0; d < documents.size(); ++d)
        {
            std::vector<double> seconds;
            for (const RoundResult& r : results[d])
                seconds.push_back(r.seconds[phase]);
            std::printf(" %s |", Spread(seconds, documents[d].xmlElements).c_str());
        }
        std::printf("\n");
    }
    // The ratios a reader checks: each parse against the reader on the same text, in the same rounds.
    for (const Phase parsePhase : {kParse, kParseHosted})
    {
        std::printf("| %s / read |", kPhaseNames[parsePhase]);
        for (size_t d = 0; d < documents.size(); ++d)
        {
            std::vector<double> parse, read;
            for (const RoundResult& r : results[d])
            {
                parse.push_back(r.seconds[parsePhase]);
                read.push_back(r.seconds[kRead]);
            }
            const double readMedian = Median(read);
            std::printf(" %.1fx |", readMedian > 0 ? Median(parse) / readMedian : 0.0);
        }
        std::printf("\n");
    }
    std::printf("| parse and build, copies held together to the largest's size |");
    for (size_t d = 0; d < documents.size(); ++d)
        std::printf(" %s |", Spread(heldTogether[d], documents[d].xmlElements).c_str());
    std::printf("\n");
    std::vector<double> lone;
    for (const RoundResult& r : results.front())
        lone.push_back(r.seconds[kParse]);
    for (const auto& row : {std::make_pair("parse and build per element, largest / smallest document", &lone),
                            std::make_pair("the same, copies held together (the same fresh memory at every size)",
                                           &heldTogether.front())})
    {
        std::printf("| %s |", row.first);
        if (documents.size() > 1)
        {
            std::vector<double> largestParse;
            if (row.second == &lone)
                for (const RoundResult& r : results.back())
                    largestParse.push_back(r.seconds[kParse]);
            else
                largestParse = heldTogether.back();
            const double smallest = Median(*row.second) / documents.front().xmlElements;
            std::printf(" %.2fx |", smallest > 0 ? Median(largestParse) / largest / smallest : 0.0);
        }
        else
        {
            std::printf(" - |");
        }
        std::printf("\n");
    }
    std::printf("| first write to a fresh 4 KB page, us (a written page again, ns) | %.2f (%.0f) |\n", pageCost.first,
                pageCost.second);
    std::printf("| peak working set growth, bytes |");
    for (size_t d = 0; d < documents.size(); ++d)
        std::printf(" %.0f |", memory[d].peakWorkingSet / documents[d].xmlElements);
    std::printf("\n| heap and markup pool held, bytes |");
    for (size_t d = 0; d < documents.size(); ++d)
        std::printf(" %.0f |", memory[d].heapBytes / documents[d].xmlElements);
    std::printf("\n| heap blocks (operator new) |");
    for (size_t d = 0; d < documents.size(); ++d)
        std::printf(" %.2f |", memory[d].heapBlocks / documents[d].xmlElements);
    std::printf("\n| markup objects |");
    for (size_t d = 0; d < documents.size(); ++d)
        std::printf(" %.2f |", memory[d].objects / documents[d].xmlElements);
    std::printf("\n\n");

    // What was built, so that a run that did no work shows.
    bool ok = true;
    for (size_t d = 0; d < documents.size(); ++d)
    {
        const Document& document = documents[d];
        for (const RoundResult& r : results[d])
        {
            const bool right = r.parsed && r.readerElements == document.xmlElements &&
                               r.visuals == document.uiElements && r.hostedVisuals == document.uiElements &&
                               r.objectsLeft == 0 && r.height > 0 && r.inked > 0;
            if (!right)
            {
                std::printf("FAILED: %d elements: the reader saw %d, the tree holds %d UI elements of %d (%d on the "
                            "window's context), %ld markup objects outlived the release, height %d, %d pixels drawn\n",
                            document.xmlElements, r.readerElements, r.visuals, document.uiElements, r.hostedVisuals,
                            r.objectsLeft, r.height, r.inked);
                ok = false;
                break;
            }
        }
        std::printf("%d XML elements: %d UI elements and %ld markup objects built, %d pixels high, %d pixels drawn "
                    "in the viewport\n",
                    document.xmlElements, results[d].front().visuals, results[d].front().objectsBuilt,
                    results[d].front().height, results[d].front().inked);
        if (!memory[d].ok)
            ok = false;
    }
    if (!heldOk)
    {
        std::printf("FAILED: a copy parsed while others were held did not build the whole tree\n");
        ok = false;
    }
    std::printf("Load average before: %s; after: %s\n", loadBefore.c_str(), ReadLoadAverage().c_str());
    if (smoke)
        std::printf(ok ? "MARKUP-BENCH-SMOKE-PASSED\n" : "FAILED: the smoke run\n");
    return ok ? 0 : 1;
}
