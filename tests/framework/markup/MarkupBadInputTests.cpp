// Markup that once brought its host down: documents kept as files next to this test (fixtures/bad-input) and
// documents made here (a 200,000-character word, 16,000 words on one line, 64,000-point shapes). Each goes through
// the entry functions a host uses: parsed, measured and drawn into a 200 × 200 memory DC. Each must finish well
// within a bound, leave the process with as many GDI objects and markup objects as it found, and still draw the part
// of itself that shows. A watchdog ends the program with a message instead of letting a hang run into ctest's
// timeout. The documents that gave GDI a pen, a line, glyphs or figures far beyond the area drawn go into a 320 ×
// 240 DC through both renderers, and what the drawing context handed on is checked against the area too.
#include "tests/support/DcTestSurface.h"
#include "BoundsRecorder.h"
#include "GdiObjectCount.h"
#include "MarkupTestSupport.h"
#include "ProcessorTime.h"

#include "classlib/RefPtr.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupGdiPlus.h"
#include "framework/markup/MarkupObject.h"
#include "framework/markup/MarkupPathGeometry.h"
#include "framework/markup/MarkupPathGeometryBuilder.h"
#include "framework/markup/MarkupRun.h"
#include "framework/markup/MarkupTextBlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

using foundation_test::DcTestSurface;
using markup_test::CBoundsRecorder;
using markup_test::HandedOn;
using markup_test::OutOfBounds;
using markup_test::UseRenderer;

namespace {

constexpr int kSide = 200;
// What a document may take, parsed, measured and drawn: the bad-input harness's limit (fuzz::Harness::kInputSeconds).
// Each of these took tens of seconds, never ended or crashed before, and takes well under a second now. Time is the
// thread's processor time, as the fuzz harness counts it: a busy machine's clock would count the waits too.
constexpr double kBoundSeconds = 2.0;
// Past this the program is stuck: the watchdog ends it.
constexpr DWORD kHangMilliseconds = 90000;
constexpr COLORREF kPaper = RGB(0x12, 0x34, 0x56);

// Ends the program with a message when the scope is not left within kHangMilliseconds.
class HangWatchdog
{
public:
    explicit HangWatchdog(std::string what)
        : m_what(std::move(what)), m_done(::CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
        m_thread = ::CreateThread(nullptr, 0, &HangWatchdog::Watch, this, 0, nullptr);
    }
    ~HangWatchdog()
    {
        ::SetEvent(m_done);
        ::WaitForSingleObject(m_thread, INFINITE);
        ::CloseHandle(m_thread);
        ::CloseHandle(m_done);
    }
    HangWatchdog(const HangWatchdog&) = delete;
    HangWatchdog& operator=(const HangWatchdog&) = delete;

private:
    static DWORD WINAPI Watch(void* parameter)
    {
        auto* self = static_cast<HangWatchdog*>(parameter);
        if (::WaitForSingleObject(self->m_done, kHangMilliseconds) == WAIT_TIMEOUT)
        {
            std::printf("[  FAILED  ] %s did not finish within %lu s\n", self->m_what.c_str(),
                        kHangMilliseconds / 1000);
            std::fflush(stdout);
            ::TerminateProcess(::GetCurrentProcess(), 3);
        }
        return 0;
    }

    std::string m_what;
    HANDLE m_done;
    HANDLE m_thread = nullptr;
};

// What one document did on its way through a host.
struct Outcome
{
    bool parsed = false;
    double seconds = 0;
    int gdiBefore = 0;
    int gdiAfter = 0;
    LONG liveBefore = 0;
    LONG liveAfter = 0;
    // Pixels of the 200 × 200 surface the drawing changed.
    int drawn = 0;
    // The pixel at the middle of the top row, and at the middle.
    COLORREF topMiddle = CLR_INVALID;
    COLORREF middle = CLR_INVALID;
};

// text parsed, measured in unbounded room and drawn into a 200 × 200 DIB section through the entry functions,
// with everything it made let go before the counts are taken again. inspect (when given) sees the root before it
// goes.
Outcome RunDocument(const std::string& what, const std::string& text,
                    const std::function<void(COSMMarkupUIElement*)>& inspect = nullptr)
{
    Outcome outcome;
    outcome.gdiBefore = CountGdiObjects();
    outcome.liveBefore = COSMMarkupObject::GetLiveObjectCount();
    {
        const HangWatchdog watchdog(what);
        DcTestSurface surface(kSide, kSide, kPaper);
        const double start = ThreadProcessorSeconds();
        COSMMarkupContext* context = CreateMarkupContext(nullptr);
        COSMMarkupUIElement* root = ParseMarkup(context, text.c_str());
        outcome.parsed = root != nullptr;
        MeasureMarkupElement(root, 0x7FFFFFFF, 0x7FFFFFFF);
        const RECT area = {0, 0, kSide, kSide};
        RenderMarkupElement(root, surface.GetDC(), &area);
        outcome.seconds = ThreadProcessorSeconds() - start;
        if (inspect && root)
            inspect(root);
        ReleaseMarkupElement(&root);
        ReleaseMarkupContext(&context);
        outcome.drawn = surface.CountNot(kPaper);
        outcome.topMiddle = surface.Pixel(kSide / 2, 0);
        outcome.middle = surface.Pixel(kSide / 2, kSide / 2);
    }
    outcome.gdiAfter = CountGdiObjects();
    outcome.liveAfter = COSMMarkupObject::GetLiveObjectCount();
    return outcome;
}

std::string ReadFixture(const char* name)
{
    std::ifstream file(std::string(OSM_MARKUP_BAD_INPUT_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class MarkupBadInputTest : public markup_test::MarkupTest
{
protected:
    static void SetUpTestSuite()
    {
        // The first context loads GDI+ and the system's theme data, which keep a few objects of their own for the
        // rest of the process: one ordinary document goes through first, so the counts compare like with like.
        RunDocument("warm-up", "<StackPanel><Button>OK</Button><Ellipse Width='20' Height='20' Stroke='Blue'/>"
                               "<TextBlock TextWrapping='Wrap' Width='50'>some text</TextBlock></StackPanel>");
    }

    static void ExpectHandled(const std::string& what, const Outcome& outcome)
    {
        EXPECT_TRUE(outcome.parsed) << what;
        EXPECT_LT(outcome.seconds, kBoundSeconds) << what;
        EXPECT_EQ(outcome.gdiBefore, outcome.gdiAfter) << what << ": GDI objects left behind";
        EXPECT_EQ(outcome.liveBefore, outcome.liveAfter) << what << ": markup objects left alive";
    }
};

bool IsBluish(COLORREF color)
{
    return GetBValue(color) >= 0x80 && GetRValue(color) < 0x80 && GetGValue(color) < 0x80;
}

// ---- The kept documents ------------------------------------------------------------------------------------------

enum class Shows
{
    Nothing,    // no part of the figure reaches the area
    Something,  // some pixels change
    Middle,     // the figure's line runs through the middle of the area
};

struct KeptDocument
{
    const char* file;
    Shows shows;
};

// A themed button as tall as the 32-bit limit, and one whose padding is: the visual style drew a 2147483647-pixel
// rectangle and crashed. An ellipse 100,000 wide (its line passes far outside the area's corner) and one as tall
// as the limit (its sides run down the middle of the area): GDI+ flattened their whole outlines and never finished.
// 860,000 characters of words, spans and links in a hidden text block whose padding leaves its text no room: a line
// for every character, which took seconds to lay out. (Kept as .xml, out of the markup harness's corpus, which reads
// the folder's .txt files: the harness's GDI and GDI+ rounds of it take 1-2 s of processor time on a busy machine,
// no margin under its 2 s.)
const KeptDocument kKeptDocuments[] = {
    {"button_theme_minheight_auto.txt", Shows::Something},
    {"button_theme_padding.txt", Shows::Something},
    {"ellipse_100000.txt", Shows::Nothing},
    {"ellipse_minheight_auto.txt", Shows::Middle},
    {"markup_textblock_860k_characters_zero_width.xml", Shows::Nothing},
};

TEST_F(MarkupBadInputTest, KeptDocumentsDrawWithinTheBound)
{
    for (const KeptDocument& kept : kKeptDocuments)
    {
        const std::string text = ReadFixture(kept.file);
        ASSERT_FALSE(text.empty()) << kept.file << " not found in " << OSM_MARKUP_BAD_INPUT_DIR;
        const Outcome outcome = RunDocument(kept.file, text);
        ExpectHandled(kept.file, outcome);
        switch (kept.shows)
        {
        case Shows::Nothing:
            EXPECT_EQ(0, outcome.drawn) << kept.file;
            break;
        case Shows::Something:
            EXPECT_GT(outcome.drawn, 0) << kept.file;
            break;
        case Shows::Middle:
            EXPECT_TRUE(IsBluish(outcome.middle)) << kept.file << ": " << std::hex << outcome.middle;
            break;
        }
    }
}

// ---- Huge figures still show their visible part ------------------------------------------------------------------

struct HugeFigure
{
    const char* name;
    const char* text;
    // Which of the two probe pixels the figure covers in blue.
    bool topMiddle;
    bool middle;
};

// Ellipses far larger than the area, placed so a known part of them shows: what reaches the system is cut to the
// area, and what shows is what the whole figure would show there.
const HugeFigure kHugeFigures[] = {
    // A circle of radius 50,000 whose top touches the middle of the top row: its line runs there.
    {"outline through the top",
     "<Canvas><Ellipse Canvas.Left='-49900' Width='100000' Height='100000' Stroke='Blue' "
     "StrokeThickness='3'/></Canvas>",
     true, false},
    // A circle of radius 50,000 centred on the area fills all of it.
    {"fill over the area",
     "<Canvas><Ellipse Canvas.Left='-49900' Canvas.Top='-49900' Width='100000' "
     "Height='100000' Fill='Blue'/></Canvas>",
     true, true},
    // Its line passes 50,000 pixels away from the middle: only the fill shows.
    {"outline around the area",
     "<Canvas><Ellipse Canvas.Left='-49900' Canvas.Top='-49900' Width='100000' "
     "Height='100000' Stroke='Red' StrokeThickness='5' Fill='Blue'/></Canvas>",
     true, true},
    // A rectangle as large as the limits allows, filled.
    {"rectangle of the limit", "<Rectangle Width='2147483647' Height='2147483647' Fill='Blue' Stroke='Blue'/>", true,
     true},
};

TEST_F(MarkupBadInputTest, HugeFiguresDrawTheirVisiblePart)
{
    for (const HugeFigure& figure : kHugeFigures)
    {
        const Outcome outcome = RunDocument(figure.name, figure.text);
        ExpectHandled(figure.name, outcome);
        EXPECT_EQ(figure.topMiddle, IsBluish(outcome.topMiddle))
            << figure.name << ": " << std::hex << outcome.topMiddle;
        EXPECT_EQ(figure.middle, IsBluish(outcome.middle)) << figure.name << ": " << std::hex << outcome.middle;
    }
}

// A pen of a negative width strokes nothing, through GDI+ and through GDI: it was handed on as a pen 54 million
// pixels wide, seconds of work. The ellipse still fills. (The bad-input folder keeps the document as the harness
// found it, with a stroked figure a stretch shrinks below a pixel, which ended the program through GDI+.)
TEST_F(MarkupBadInputTest, APenOfNegativeWidthStrokesNothing)
{
    const char* const text =
        "<Ellipse Fill='Blue' Margin='13' Stretch='UniformToFill' Stroke='Red' StrokeThickness='-54410000'/>";
    for (const UseRenderer::Kind kind : {UseRenderer::GdiPlus, UseRenderer::Gdi})
    {
        const std::string what = std::string("negative pen with ") + UseRenderer::Name(kind);
        Outcome outcome;
        {
            const UseRenderer renderer(kind);
            outcome = RunDocument(what, text);
        }
        ExpectHandled(what, outcome);
        EXPECT_TRUE(IsBluish(outcome.middle)) << what << ": " << std::hex << outcome.middle;
    }
}

// ---- Long text ---------------------------------------------------------------------------------------------------

// The characters the block's lines hold, and whether every line but single-character ones fits the width.
struct LineCheck
{
    size_t characters = 0;
    size_t lines = 0;
    int widest = 0;
    bool fits = true;
};

LineCheck CheckLines(COSMMarkupUIElement* root, int width)
{
    LineCheck check;
    auto* block = MarkupDynamicCast<COSMMarkupTextBlock>(root);
    if (!block)
        return check;
    for (const auto& line : block->GetLines())
    {
        ++check.lines;
        size_t inLine = 0;
        for (const auto& piece : line.pieces)
        {
            const int first = COSMMarkupTextBlock::GetCharIndex(piece, piece.start);
            const int last = COSMMarkupTextBlock::GetCharIndex(piece, piece.end);
            if (first >= 0 && last >= first)
                inLine += static_cast<size_t>(last - first);
        }
        check.characters += inLine;
        check.widest = std::max(check.widest, line.width);
        if (line.width > width && inLine > 1)
            check.fits = false;
    }
    return check;
}

// A word of 200,000 characters wrapped into a block 50 pixels wide: it breaks where each line is full, every line
// holds what fits and together they hold the whole word.
TEST_F(MarkupBadInputTest, AWordOfTwoHundredThousandCharactersWrapsWithinTheBound)
{
    const std::string word(200000, 'x');
    LineCheck check;
    const Outcome outcome =
        RunDocument("200,000-character word",
                    "<TextBlock Width='50' TextWrapping='Wrap' TextTrimming='WordEllipsis'>" + word + "</TextBlock>",
                    [&](COSMMarkupUIElement* root) { check = CheckLines(root, 50); });
    ExpectHandled("200,000-character word", outcome);
    EXPECT_EQ(word.size(), check.characters);
    EXPECT_GT(check.lines, word.size() / 50);
    EXPECT_TRUE(check.fits) << "widest line " << check.widest;
    EXPECT_GT(outcome.drawn, 0);
}

// A word of 400,000 characters after an empty line, in a block narrower than any character: each character goes on
// a line of its own. Finding where each line is full measures about the characters that room can hold, not 64 for
// each line; and the layout is kept for a later measure that gives the text the same width (the empty line's own
// text used to mark the layout stale from inside it, so every measure laid all the lines out again).
TEST_F(MarkupBadInputTest, AWordInABlockNarrowerThanACharacterIsLaidOutOnceWithinTheBound)
{
    const std::string word(400000, 'x');
    LineCheck check;
    double again = -1;
    const Outcome outcome = RunDocument("400,000 characters, one a line",
                                        "<TextBlock Width='1' TextWrapping='Wrap'><LineBreak/>" + word + "</TextBlock>",
                                        [&](COSMMarkupUIElement* root) {
                                            check = CheckLines(root, 1);
                                            // Other room, the same width for the text: Width='1' holds it.
                                            const double start = ThreadProcessorSeconds();
                                            MeasureMarkupElement(root, kSide, kSide);
                                            again = ThreadProcessorSeconds() - start;
                                        });
    ExpectHandled("400,000 characters, one a line", outcome);
    EXPECT_GE(check.characters, word.size());
    EXPECT_EQ(word.size() + 1, check.lines);
    EXPECT_TRUE(check.fits) << "widest line " << check.widest;
    // Laying 400,000 lines out again would take about what the first measure took.
    EXPECT_LT(again, outcome.seconds / 10) << "the first layout took " << outcome.seconds << " s";
}

// 16,000 words on lines that never wrap: each word joins the line without the line being measured again.
TEST_F(MarkupBadInputTest, SixteenThousandWordsOnOneLineLayOutWithinTheBound)
{
    std::string words;
    for (int i = 0; i < 16000; ++i)
        words += i % 3 ? "word " : "longer ";
    const struct
    {
        const char* name;
        const char* attributes;
        size_t lines;
        bool trimmed;
    } cases[] = {
        {"one line", "", 1, false},
        {"one line with word ellipsis", "Width='50' TextTrimming='WordEllipsis'", 1, true},
        {"one line with character ellipsis", "Width='50' TextTrimming='CharacterEllipsis'", 1, true},
        {"wrapped at 150", "Width='150' TextWrapping='Wrap'", 0, false},
        {"wrapped in unbounded room", "TextWrapping='Wrap'", 1, false},
    };
    for (const auto& c : cases)
    {
        LineCheck check;
        const Outcome outcome =
            RunDocument(c.name, std::string("<TextBlock ") + c.attributes + ">" + words + "</TextBlock>",
                        [&](COSMMarkupUIElement* root) { check = CheckLines(root, 150); });
        ExpectHandled(c.name, outcome);
        if (c.lines)
        {
            EXPECT_EQ(c.lines, check.lines) << c.name;
        }
        else
        {
            EXPECT_GT(check.lines, 16000u / 30) << c.name;
        }
        if (c.trimmed)
        {
            EXPECT_LE(check.widest, 50) << c.name;
        }
        EXPECT_GT(outcome.drawn, 0) << c.name;
    }
}

// ---- Fitting text ------------------------------------------------------------------------------------------------

// A run finds where a line is full with the system's fitting measure; on ordinary text it finds what measuring one
// character more at a time finds, so wrapped and trimmed text breaks where it did.
TEST_F(MarkupBadInputTest, RunsFitTextWhereMeasuringEachCharacterDoes)
{
    COSMMarkupContext* context = CreateMarkupContext(nullptr);
    {
        COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext, context);
        const wchar_t* const texts[] = {L"The quick brown fox jumps over the lazy dog.", L"WWWWWWWWWWiiiiiiiiii", L"x",
                                        L"Mixed, punctuated; text: (with) [brackets] 0123456789"};
        for (const wchar_t* text : texts)
        {
            const auto run =
                AdoptRef(static_cast<COSMMarkupRun*>(context->CreateObject(COSMMarkupRun::GetClassType())));
            ASSERT_NE(nullptr, run.Get());
            run->SetText(text);
            run->PrepareFont(&measuring);
            const INT_PTR start = run->GetFirstPosition();
            for (int maxWidth : {-1, 0, 1, 5, 17, 40, 63, 100, 250, 1000})
            {
                const INT_PTR bySystem = run->FitPosition(&measuring, start, -1, maxWidth);
                const INT_PTR byCharacter = run->COSMMarkupInline::FitPosition(&measuring, start, -1, maxWidth);
                EXPECT_EQ(run->GetCharIndex(byCharacter), run->GetCharIndex(bySystem))
                    << "width " << maxWidth << " in " << std::string(text, text + wcslen(text));
            }
        }
    }
    ReleaseMarkupContext(&context);
}

// ---- Figures of many points --------------------------------------------------------------------------------------

std::string Coordinates(double x, double y)
{
    std::ostringstream text;
    text.precision(6);
    text << std::fixed << x << "," << y << " ";
    return text.str();
}

// 64,000 points around a circle over the area, and a path of 64,000 curves waving far past its right edge: they
// draw in time that grows with their points, and the part inside the area still shows.
TEST_F(MarkupBadInputTest, FiguresOfSixtyFourThousandPointsDrawWithinTheBound)
{
    constexpr int kPoints = 64000;
    // A star of 64,000 points over the area, its points alternately 150 and 60 pixels from the middle.
    std::string star = "<Polygon Fill='Blue' Stroke='Navy' StrokeThickness='2' Points='";
    for (int i = 0; i < kPoints; ++i)
    {
        const double angle = 2.0 * 3.14159265358979 * i / kPoints;
        const double radius = i % 2 ? 60 : 150;
        star += std::to_string(static_cast<int>(100 + radius * std::cos(angle))) + "," +
                std::to_string(static_cast<int>(100 + radius * std::sin(angle))) + " ";
    }
    star += "'/>";
    // A comb whose teeth cross the area and run on 190,000 pixels to the right of it.
    std::string comb = "<Polygon Fill='Blue' Stroke='Navy' Points='";
    for (int i = 0; i < kPoints; ++i)
        comb += std::to_string(i * 3) + "," + (i % 2 ? "-50 " : "250 ");
    comb += "'/>";

    std::string path = "<Path Stroke='Blue' StrokeThickness='3' Data='M 0,0 ";
    for (int i = 0; i < kPoints; ++i)
    {
        const double x = 5.0 * i;
        path += "C " + Coordinates(x + 1, 0) + Coordinates(x + 4, 200) + Coordinates(x + 5, 100);
    }
    path += "'/>";
    std::string filledPath = "<Path Fill='Blue' Stroke='Navy' Data='M 100,100 ";
    for (int i = 0; i < kPoints; ++i)
    {
        const double angle = 2.0 * 3.14159265358979 * i / kPoints;
        const double next = 2.0 * 3.14159265358979 * (i + 1) / kPoints;
        filledPath += "C " + Coordinates(100 + 300 * std::cos(angle), 100 + 300 * std::sin(angle)) +
                      Coordinates(100 + 300 * std::cos(next), 100 + 300 * std::sin(next)) +
                      Coordinates(100 + 10 * std::cos(next), 100 + 10 * std::sin(next));
    }
    filledPath += "Z'/>";

    const struct
    {
        const char* name;
        const std::string& text;
        bool coversMiddle;
    } cases[] = {{"64,000-point star", star, true},
                 {"64,000-point comb", comb, true},
                 {"64,000-curve wave", path, false},
                 {"64,000-curve flower", filledPath, true}};
    for (const auto& c : cases)
    {
        Outcome outcome = RunDocument(c.name, c.text);
        // Two test programs sharing a core can slow even one thread's processor time (caches, the core's other
        // half): a document over the bound runs once more and keeps the faster time. Work that is really unbounded
        // is slow both times.
        if (outcome.seconds >= kBoundSeconds)
            outcome.seconds = std::min(outcome.seconds, RunDocument(c.name, c.text).seconds);
        ExpectHandled(c.name, outcome);
        EXPECT_GT(outcome.drawn, kSide) << c.name;
        if (c.coversMiddle)
        {
            EXPECT_TRUE(IsBluish(outcome.middle)) << c.name << ": " << std::hex << outcome.middle;
        }
    }
}

// ---- Drawing bounded by the area drawn ---------------------------------------------------------------------------

constexpr int kAreaWidth = 320;
constexpr int kAreaHeight = 240;

// What the pixels of a kept document (its text given too) must show once drawn into the 320 × 240 area.
struct BoundedDocument
{
    const char* file;
    std::function<void(const DcTestSurface&, const std::string&)> expect;
};

// ---- The even-odd fill of cubic figures, worked out here from the curves themselves ------------------------------

struct CurvePoint
{
    double x;
    double y;
};

// The two halves of a cubic.
void Halve(const CurvePoint* c, CurvePoint* first, CurvePoint* second)
{
    auto mid = [](const CurvePoint& a, const CurvePoint& b) { return CurvePoint{(a.x + b.x) / 2, (a.y + b.y) / 2}; };
    const CurvePoint a = mid(c[0], c[1]), b = mid(c[1], c[2]), e = mid(c[2], c[3]);
    const CurvePoint ab = mid(a, b), be = mid(b, e), m = mid(ab, be);
    first[0] = c[0], first[1] = a, first[2] = ab, first[3] = m;
    second[0] = m, second[1] = be, second[2] = e, second[3] = c[3];
}

// Whether the line from a to b crosses the ray from (px, py) to the right (a half-open rule on y).
int LineCrossings(const CurvePoint& a, const CurvePoint& b, double px, double py)
{
    if ((a.y <= py) == (b.y <= py))
        return 0;
    const double x = a.x + (py - a.y) * (b.x - a.x) / (b.y - a.y);
    return x > px ? 1 : 0;
}

// How often the cubic c crosses the ray from (px, py) to the right: halved until each piece runs one way in y and
// lies wholly to one side of px.
int CurveCrossings(const CurvePoint* c, double px, double py, int depth = 0)
{
    const double top = std::min({c[0].y, c[1].y, c[2].y, c[3].y}), bottom = std::max({c[0].y, c[1].y, c[2].y, c[3].y});
    const double left = std::min({c[0].x, c[1].x, c[2].x, c[3].x}), right = std::max({c[0].x, c[1].x, c[2].x, c[3].x});
    if (py < top || py > bottom || right <= px)
        return 0;
    const bool monotone = (c[0].y <= c[1].y && c[1].y <= c[2].y && c[2].y <= c[3].y) ||
                          (c[0].y >= c[1].y && c[1].y >= c[2].y && c[2].y >= c[3].y);
    if ((monotone && left > px) || depth >= 60)
        return LineCrossings(c[0], c[3], px, py);
    CurvePoint first[4], second[4];
    Halve(c, first, second);
    return CurveCrossings(first, px, py, depth + 1) + CurveCrossings(second, px, py, depth + 1);
}

// Whether the cubic c passes within reach of (px, py).
bool CurvePassesNear(const CurvePoint* c, double px, double py, double reach, int depth = 0)
{
    const double top = std::min({c[0].y, c[1].y, c[2].y, c[3].y}), bottom = std::max({c[0].y, c[1].y, c[2].y, c[3].y});
    const double left = std::min({c[0].x, c[1].x, c[2].x, c[3].x}), right = std::max({c[0].x, c[1].x, c[2].x, c[3].x});
    if (px < left - reach || px > right + reach || py < top - reach || py > bottom + reach)
        return false;
    if ((right - left < reach / 4 && bottom - top < reach / 4) || depth >= 60)
        return true;
    CurvePoint first[4], second[4];
    Halve(c, first, second);
    return CurvePassesNear(first, px, py, reach, depth + 1) || CurvePassesNear(second, px, py, reach, depth + 1);
}

// The one figure of path text (a move and cubics, closed by the fill): whether (px, py) lies inside it under the
// even-odd rule, and whether its outline passes within reach.
struct FigureProbe
{
    bool inside = false;
    bool nearOutline = false;
};

FigureProbe ProbeFigure(const std::vector<CurvePoint>& points, double px, double py, double reach)
{
    FigureProbe probe;
    int crossings = 0;
    for (size_t i = 0; i + 3 < points.size(); i += 3)
    {
        crossings += CurveCrossings(&points[i], px, py);
        probe.nearOutline = probe.nearOutline || CurvePassesNear(&points[i], px, py, reach);
    }
    crossings += LineCrossings(points.back(), points.front(), px, py);
    const CurvePoint closing[4] = {points.back(), points.back(), points.front(), points.front()};
    probe.nearOutline = probe.nearOutline || CurvePassesNear(closing, px, py, reach);
    probe.inside = crossings % 2 != 0;
    return probe;
}

// The points of the Data text of a document made of one figure of cubics.
std::vector<CurvePoint> CubicFigureOf(const std::string& document)
{
    const size_t start = document.find("Data=\"") + 6;
    const std::string data = document.substr(start, document.find('"', start) - start);
    const std::wstring wide(data.begin(), data.end());
    COSMMarkupPathGeometryBuilder builder;
    builder.Parse(nullptr, wide.c_str(), static_cast<int>(wide.size()));
    const auto geometry = AdoptRef(builder.CreateGeometry());
    std::vector<CurvePoint> points;
    for (int i = 0; i < geometry->GetPointCount(); ++i)
        points.push_back(CurvePoint{geometry->GetPoints()[i].x, geometry->GetPoints()[i].y});
    return points;
}

bool IsReddish(COLORREF color)
{
    return GetRValue(color) >= 0x80 && GetGValue(color) < 0x80 && GetBValue(color) < 0x80;
}

bool IsDark(COLORREF color)
{
    return GetRValue(color) < 0x60 && GetGValue(color) < 0x60 && GetBValue(color) < 0x60;
}

int CountWhere(const DcTestSurface& surface, bool (*test)(COLORREF))
{
    int count = 0;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            count += test(surface.Pixel(x, y)) ? 1 : 0;
    return count;
}

// The document parsed, measured and drawn into 320 x 240 through the entry functions, on paper.
void DrawThroughEntryFunctions(const std::string& text, DcTestSurface& surface)
{
    COSMMarkupContext* context = CreateMarkupContext(nullptr);
    COSMMarkupUIElement* root = ParseMarkup(context, text.c_str());
    ASSERT_NE(nullptr, root);
    MeasureMarkupElement(root, kAreaWidth, kAreaHeight);
    const RECT area = {0, 0, kAreaWidth, kAreaHeight};
    RenderMarkupElement(root, surface.GetDC(), &area);
    ReleaseMarkupElement(&root);
    ReleaseMarkupContext(&context);
}

// The document with only the first figures of its path's Data.
std::string WithFirstFigures(const std::string& text, int figures)
{
    const size_t start = text.find("Data=\"") + 6;
    size_t end = start;
    for (int i = 0; i < figures; ++i)
        end = text.find('Z', end) + 1;
    return text.substr(0, end) + text.substr(text.find('"', start));
}

// The documents that made GDI die of a stack overflow (a 100,000-pixel pen), rasterise 62 glyphs of a 16,384-pixel
// font for half a minute, draw a line 2147483647 pixels long, scan-convert 5,000 figures stretched over each other,
// flatten 30,000 curves reaching past the area whole, and lay out a line for each of 860,000 characters.
const BoundedDocument kBoundedDocuments[] = {
    // The pen covers the whole ellipse of the area: blue inside it, the corners untouched.
    {"markup_ellipse_stroke_100000.txt",
     [](const DcTestSurface& surface, const std::string&) {
         EXPECT_TRUE(IsBluish(surface.Pixel(160, 120)));
         EXPECT_TRUE(IsBluish(surface.Pixel(160, 3)));
         EXPECT_TRUE(IsBluish(surface.Pixel(3, 120)));
         EXPECT_EQ(kPaper, surface.Pixel(1, 1));
         EXPECT_EQ(kPaper, surface.Pixel(318, 238));
         // pi / 4 of the area, give or take the anti-aliased rim.
         const int inside = CountWhere(surface, &IsBluish);
         EXPECT_GT(inside, 59000);
         EXPECT_LT(inside, 61500);
     }},
    // The top 240 rows of the glyphs' cells hold no ink.
    {"markup_textblock_fontsize_16384_62glyphs.txt",
     [](const DcTestSurface& surface, const std::string&) { EXPECT_EQ(0, surface.CountNot(kPaper)); }},
    // The block is hidden: laid out, a line for each of its characters, and not drawn.
    {"markup_textblock_860k_characters_zero_width.xml",
     [](const DcTestSurface& surface, const std::string&) { EXPECT_EQ(0, surface.CountNot(kPaper)); }},
    // The line's visible stretch: the left column from top to bottom (drawn towards its first point, which GDI
    // leaves out).
    {"markup_line_y1_2147483647.txt",
     [](const DcTestSurface& surface, const std::string&) {
         for (int y : {1, 120, 239})
             EXPECT_TRUE(IsBluish(surface.Pixel(0, y))) << "row " << y;
         EXPECT_EQ(kPaper, surface.Pixel(2, 120));
         EXPECT_LE(surface.CountNot(kPaper), 2 * kAreaHeight);
     }},
    // 5,000 closed figures of one line each: their line, and no fill (each encloses nothing).
    {"markup_path_5000_figures_stretched.txt",
     [](const DcTestSurface& surface, const std::string&) {
         EXPECT_TRUE(IsDark(surface.Pixel(100, 75)));
         EXPECT_TRUE(IsDark(surface.Pixel(180, 135)));
         EXPECT_EQ(kPaper, surface.Pixel(100, 20));
         EXPECT_EQ(0, CountWhere(surface, &IsReddish));
         EXPECT_GT(surface.CountNot(kPaper), 150);
     }},
    // Curves crossing the area: red fill between black lines, where the curves themselves say (probes on a grid
    // away from every line, inside the figure by the even-odd rule or not).
    {"markup_path_30000_curves_offarea.txt",
     [](const DcTestSurface& surface, const std::string& text) {
         EXPECT_GT(CountWhere(surface, &IsReddish), 1000);
         EXPECT_GT(CountWhere(surface, &IsDark), 100);
         const std::vector<CurvePoint> figure = CubicFigureOf(text);
         ASSERT_EQ(1u, figure.size() % 3);
         int clear = 0;
         for (int y = 10; y < kAreaHeight; y += 30)
         {
             for (int x = 10; x < kAreaWidth; x += 40)
             {
                 const FigureProbe probe = ProbeFigure(figure, x + 0.5, y + 0.5, 2.0);
                 if (probe.nearOutline)
                     continue;
                 ++clear;
                 EXPECT_EQ(probe.inside, IsReddish(surface.Pixel(x, y)))
                     << "pixel " << x << "," << y << " is " << foundation_test::DescribePixelColor(surface.Pixel(x, y));
             }
         }
         EXPECT_GE(clear, 8);
     }},
    // 7,626 copies of one figure stroked with a pen of 372: as the first two draw (an even number of copies, so
    // that the even-odd fill under the translucent pen is the same), within the anti-aliasing of the edges.
    {"markup_path_7626_figures_pen_372.txt",
     [](const DcTestSurface& surface, const std::string& text) {
         DcTestSurface two(kAreaWidth, kAreaHeight, kPaper);
         DrawThroughEntryFunctions(WithFirstFigures(text, 2), two);
         int differ = 0;
         for (int y = 0; y < kAreaHeight; ++y)
         {
             for (int x = 0; x < kAreaWidth; ++x)
             {
                 const COLORREF a = surface.Pixel(x, y), b = two.Pixel(x, y);
                 differ += std::abs(GetRValue(a) - GetRValue(b)) > 8 || std::abs(GetGValue(a) - GetGValue(b)) > 8 ||
                                   std::abs(GetBValue(a) - GetBValue(b)) > 8
                               ? 1
                               : 0;
             }
         }
         EXPECT_LT(differ, 200);
         // A band 372 pixels wide along the figure's line covers much of the area.
         EXPECT_GT(two.CountNot(kPaper), kAreaWidth * kAreaHeight / 4);
     }},
};

class MarkupBoundedDocumentTest : public MarkupBadInputTest, public testing::WithParamInterface<UseRenderer::Kind>
{};

// Each document parsed, measured and drawn into 320 × 240 through the entry functions, and drawn again through a
// drawing context whose renderer notes what it is handed: both pictures are the same, what was handed on lies
// within the area, the picture shows what the document shows there, and nothing is left behind.
TEST_P(MarkupBoundedDocumentTest, KeptDocumentsDrawOnlyWhatShows)
{
    const UseRenderer::Kind kind = GetParam();
    for (const BoundedDocument& kept : kBoundedDocuments)
    {
        const std::string what = std::string(kept.file) + " with " + UseRenderer::Name(kind);
        SCOPED_TRACE(what);
        const std::string text = ReadFixture(kept.file);
        ASSERT_FALSE(text.empty()) << kept.file << " not found in " << OSM_MARKUP_BAD_INPUT_DIR;
        const int gdiBefore = CountGdiObjects();
        const LONG liveBefore = COSMMarkupObject::GetLiveObjectCount();
        {
            const UseRenderer renderer(kind);
            const HangWatchdog watchdog(what);
            DcTestSurface entry(kAreaWidth, kAreaHeight, kPaper), noted(kAreaWidth, kAreaHeight, kPaper);
            std::vector<HandedOn> notes;
            COSMMarkupContext* context = CreateMarkupContext(nullptr);
            EXPECT_EQ(kind == UseRenderer::GdiPlus, GetMarkupGdiPlus()->IsStarted() != FALSE);
            COSMMarkupUIElement* root = ParseMarkup(context, text.c_str());
            ASSERT_NE(nullptr, root);
            MeasureMarkupElement(root, kAreaWidth, kAreaHeight);
            const RECT area = {0, 0, kAreaWidth, kAreaHeight};
            RenderMarkupElement(root, entry.GetDC(), &area);
            {
                COSMMarkupDrawingContext dc(noted.GetDC(), new CBoundsRecorder(noted.GetDC(), &notes));
                root->Arrange(area);
                root->Render(&dc);
            }
            ReleaseMarkupElement(&root);
            ReleaseMarkupContext(&context);
            EXPECT_EQ("", OutOfBounds(notes));
            EXPECT_TRUE(noted.EqualsCanvas(entry));
            kept.expect(entry, text);
        }
        EXPECT_EQ(gdiBefore, CountGdiObjects()) << "GDI objects left behind";
        EXPECT_EQ(liveBefore, COSMMarkupObject::GetLiveObjectCount()) << "markup objects left alive";
    }
}

INSTANTIATE_TEST_SUITE_P(Renderers, MarkupBoundedDocumentTest, testing::Values(UseRenderer::Gdi, UseRenderer::GdiPlus),
                         [](const testing::TestParamInfo<UseRenderer::Kind>& info) {
                             return std::string(info.param == UseRenderer::Gdi ? "Gdi" : "GdiPlus");
                         });

}  // namespace
