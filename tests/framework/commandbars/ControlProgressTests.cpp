// Progress bars in a bar: the range and position rules, the size, the classic drawing read back from DIB sections,
// stored positions outside their range, the visual-style path against the stand-in theme library, the stored keys,
// copies and clicks. Headless.
#include "tests/support/DcTestSurface.h"
#include "PaintManagerTestSupport.h"
#include "ThemeStubLibrary.h"

#include "PropExchangeTestSupport.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBarParams.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/testing/TestPaintManager.h"
#include "framework/controls/ControlProgress.h"
#include "framework/controls/ProgressPaintManager.h"
#include "platform/classlib/RefPtr.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

using foundation_test::ChangedPixels;
using foundation_test::DcTestSurface;
using foundation_test::PaintManagerTest;
using prop_exchange_test::NamedTestStore;

namespace {

// The test paint manager with a look id of the test's choosing.
class ProgressLookPaintManager : public COSMTestPaintManager
{
public:
    using COSMPaintManager::SetPartPaintManagers;
    using COSMTestPaintManager::COSMTestPaintManager;
    int GetThemeId() const override { return themeId; }
    int themeId = 0;
};

// A progress control that counts its redraws and its executions.
class RecordingProgress : public COSMControlProgress
{
public:
    void RedrawProgress() override
    {
        ++redraws;
        COSMControlProgress::RedrawProgress();
    }
    void OnExecute() override { ++executed; }
    int redraws = 0;
    int executed = 0;
};

class ProgressTest : public PaintManagerTest
{
protected:
    void SetUp() override
    {
        PaintManagerTest::SetUp();
        pm->RefreshMetrics();
        bar.SetPaintManager(pm.Get());
        progress.SetParent(&bar);
    }
    void TearDown() override
    {
        progress.SetParent(nullptr);
        bar.SetPaintManager(nullptr);
        PaintManagerTest::TearDown();
    }

    // The bar's inside as the classic drawing sees it, for a control at rect.
    static CRect ClassicInside(const CRect& rect)
    {
        CRect inside = rect;
        inside.DeflateRect(2, 2);
        return inside;
    }
    // The columns of the inside's middle row painted in colour, counted from the inside's left edge.
    static int FilledColumns(const DcTestSurface& surface, const CRect& inside, COLORREF colour)
    {
        int count = 0;
        for (int x = 0; x < surface.Width(); ++x)
            count += surface.Pixel(x, inside.CenterPoint().y) == colour;
        return count;
    }

    RefPtr<ProgressLookPaintManager> pm = AdoptRef(new ProgressLookPaintManager);
    COSMCommandBar bar;
    RecordingProgress progress;
};

const COLORREF kBackground = RGB(1, 2, 3);

}  // namespace

TEST_F(ProgressTest, ANewBarRunsFromZeroToAHundredAndMeasuresAHundredBySixteen)
{
    int lower = -1;
    int upper = -1;
    progress.GetRange(lower, upper);
    EXPECT_EQ(0, lower);
    EXPECT_EQ(100, upper);
    EXPECT_EQ(0, progress.GetPos());
    DcTestSurface surface(4, 4);
    EXPECT_EQ(CSize(100, 16), progress.GetSize(CDC::FromHandle(surface.GetDC())));
    // A height of its own wins over the painter's.
    progress.SetHeight(22);
    progress.SetWidth(140);
    EXPECT_EQ(CSize(140, 22), progress.GetSize(CDC::FromHandle(surface.GetDC())));
}

TEST_F(ProgressTest, PositionsAreHeldToTheRangeAndOnlyChangesRedraw)
{
    const struct
    {
        int lower;
        int upper;
        int set;
        int stored;
    } cases[] = {
        {0, 100, 150, 100}, {0, 100, -5, 0}, {0, 100, 40, 40},
        {-50, -10, 0, -10}, {10, 20, 5, 10}, {50, 20, 10, 20},
        {50, 20, 70, 20},   {0, 0, 9, 0},    {INT_MIN, INT_MAX, INT_MAX, INT_MAX},
    };
    for (const auto& c : cases)
    {
        RecordingProgress p;
        p.SetRange(c.lower, c.upper);
        const int rangeRedraws = p.redraws;
        EXPECT_EQ(c.lower == 0 && c.upper == 100 ? 0 : 1, rangeRedraws) << c.lower << ".." << c.upper;
        const int before = p.GetPos();
        p.SetPos(c.set);
        SCOPED_TRACE(testing::Message() << c.lower << ".." << c.upper << " set " << c.set);
        EXPECT_EQ(c.stored, p.GetPos());
        EXPECT_EQ(rangeRedraws + (c.stored != before ? 1 : 0), p.redraws);
        // The same value again changes nothing and does not redraw.
        const int redraws = p.redraws;
        p.SetPos(c.set);
        p.SetRange(c.lower, c.upper);
        EXPECT_EQ(redraws, p.redraws);
    }
}

TEST_F(ProgressTest, ClassicBarIsAFramedFaceFilledUpToThePosition)
{
    const COLORREF frame = pm->GetColor(16);
    const COLORREF face = pm->GetColor(15);
    const COLORREF fill = pm->GetColor(13);
    ASSERT_TRUE(frame != face && face != fill && fill != frame && frame != kBackground && face != kBackground);

    DcTestSurface surface(130, 30, kBackground);
    const CRect rect(10, 5, 110, 21);
    progress.SetRect(rect);
    progress.SetPos(50);
    progress.Draw(CDC::FromHandle(surface.GetDC()));

    // Nothing outside the control.
    EXPECT_EQ(rect, ChangedPixels(surface, kBackground, CRect(0, 0, 130, 30)));
    // A one-pixel frame on all four sides.
    for (int x = rect.left; x < rect.right; ++x)
    {
        EXPECT_EQ(frame, surface.Pixel(x, rect.top)) << x;
        EXPECT_EQ(frame, surface.Pixel(x, rect.bottom - 1)) << x;
    }
    for (int y = rect.top; y < rect.bottom; ++y)
    {
        EXPECT_EQ(frame, surface.Pixel(rect.left, y)) << y;
        EXPECT_EQ(frame, surface.Pixel(rect.right - 1, y)) << y;
    }
    // The inside, 96 wide, is filled for 48 pixels from its left edge, the face elsewhere.
    const CRect inside = ClassicInside(rect);
    for (int y = rect.top + 1; y < rect.bottom - 1; ++y)
        for (int x = rect.left + 1; x < rect.right - 1; ++x)
        {
            const bool filled = y >= inside.top && y < inside.bottom && x >= inside.left && x < inside.left + 48;
            ASSERT_EQ(filled ? fill : face, surface.Pixel(x, y)) << x << "," << y;
        }
}

TEST_F(ProgressTest, StoredPositionsOutsideTheRangeNeverFillPastTheBar)
{
    const struct
    {
        long lower;
        long upper;
        long pos;
        int loadedPos;
        int filled;
    } cases[] = {
        {0, 100, 150, 100, 96}, {0, 100, -20, 0, 0}, {50, 50, 50, 50, 0},
        {50, 50, 80, 50, 0},    {100, 0, 50, 0, 96},  // crossed bounds: the upper bound wins, and the fill stays inside
        {0, 100, 25, 25, 24},
    };
    const COLORREF fill = pm->GetColor(13);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.lower << ".." << c.upper << " at " << c.pos);
        auto values = std::make_shared<NamedTestStore::Values>();
        {
            NamedTestStore store(values, false);
            long lower = c.lower, upper = c.upper, pos = c.pos;
            PropExchangeLong(&store, "Min", &lower, 0);
            PropExchangeLong(&store, "Max", &upper, 100);
            PropExchangeLong(&store, "Pos", &pos, 0);
        }
        RecordingProgress loaded;
        loaded.SetParent(&bar);
        NamedTestStore store(values, true);
        loaded.DoPropExchange(&store);
        // The range stays as stored; the position is held to it.
        int lower = 0;
        int upper = 0;
        loaded.GetRange(lower, upper);
        EXPECT_EQ(c.lower, lower);
        EXPECT_EQ(c.upper, upper);
        EXPECT_EQ(c.loadedPos, loaded.GetPos());

        DcTestSurface surface(130, 30, kBackground);
        const CRect rect(10, 5, 110, 21);
        loaded.SetRect(rect);
        loaded.Draw(CDC::FromHandle(surface.GetDC()));
        EXPECT_EQ(rect, ChangedPixels(surface, kBackground, CRect(0, 0, 130, 30)));
        const CRect inside = ClassicInside(rect);
        EXPECT_EQ(c.filled, FilledColumns(surface, inside, fill));
        // The fill starts at the inside's left edge and never reaches the frame.
        EXPECT_NE(fill, surface.Pixel(inside.right, inside.top));
        if (c.filled > 0)
        {
            EXPECT_EQ(fill, surface.Pixel(inside.left, inside.top));
        }
        loaded.SetParent(nullptr);
    }
}

TEST_F(ProgressTest, FillWidthIsBoundedByTheBar)
{
    const struct
    {
        int width;
        int pos;
        int lower;
        int upper;
        int fill;
    } cases[] = {
        {96, 50, 0, 100, 48},
        {96, 100, 0, 100, 96},
        {96, 150, 0, 100, 96},
        {96, -5, 0, 100, 0},
        {96, 5, 5, 5, 0},
        {96, 1, 0, 3, 32},
        {97, 1, 0, 2, 49},
        {96, 0, 100, 0, 96},
        {96, 100, 100, 0, 0},
        {0, 50, 0, 100, 0},
        {-4, 50, 0, 100, 0},
        {96, INT_MAX, INT_MIN, INT_MAX, 96},
        {96, 0, INT_MIN, INT_MAX, 48},
        {1000, INT_MIN, INT_MIN, INT_MAX, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.fill, COSMProgressPaintManager::CalcFillWidth(c.width, c.pos, c.lower, c.upper))
            << c.width << " " << c.pos << " " << c.lower << ".." << c.upper;
}

TEST_F(ProgressTest, ThemedChunksStartAtTheLeftAndStopShortOfTheRightEdge)
{
    const CRect inside(4, 3, 96, 13);  // 92 wide, 10 high: chunks of 6 by default
    const struct
    {
        int fill;
        int chunk;
        int spacing;
        std::vector<CRect> chunks;
    } cases[] = {
        {0, 6, 2, {}},
        {1, 6, 2, {CRect(4, 3, 10, 13)}},
        {8, 6, 2, {CRect(4, 3, 10, 13)}},
        {9, 6, 2, {CRect(4, 3, 10, 13), CRect(12, 3, 18, 13)}},
        {5, 1, 0, {CRect(4, 3, 5, 13), CRect(5, 3, 6, 13), CRect(6, 3, 7, 13), CRect(7, 3, 8, 13), CRect(8, 3, 9, 13)}},
        {3, 0, 0, {CRect(4, 3, 5, 13), CRect(5, 3, 6, 13), CRect(6, 3, 7, 13)}},
        {46, 2411, 2412, {CRect(4, 3, 95, 13)}},
    };
    for (const auto& c : cases)
    {
        const std::vector<CRect> chunks = COSMProgressPaintManager::CalcChunkRects(inside, c.fill, c.chunk, c.spacing);
        EXPECT_EQ(c.chunks, chunks) << c.fill << " " << c.chunk << " " << c.spacing;
    }
    // A full bar: twelve chunks, the last cut one pixel before the right edge.
    const std::vector<CRect> full = COSMProgressPaintManager::CalcChunkRects(inside, 92, 6, 2);
    ASSERT_EQ(12u, full.size());
    EXPECT_EQ(CRect(92, 3, 95, 13), full.back());
    for (size_t i = 1; i < full.size(); ++i)
        EXPECT_EQ(full[i - 1].right + 2, full[i].left) << i;
}

TEST_F(ProgressTest, ClicksNeverExecute)
{
    const CRect rect(0, 0, 100, 16);
    progress.SetRect(rect);
    for (int barType : {0, 1, 2})
    {
        bar.SetType(barType);
        progress.OnClick(FALSE, CPoint(5, 5));
        progress.OnClick(TRUE, CPoint(5, 5));
        progress.OnLButtonUp(CPoint(5, 5));
    }
    EXPECT_EQ(0, progress.executed);
}

TEST_F(ProgressTest, KeysRoundTripAndCopiesKeepRangeAndPosition)
{
    progress.SetRange(-10, 250);
    progress.SetPos(40);
    progress.SetCaption("Copying");
    auto values = std::make_shared<NamedTestStore::Values>();
    {
        NamedTestStore store(values, false);
        progress.DoPropExchange(&store);
    }
    EXPECT_EQ("-10", (*values)["Min"]);
    EXPECT_EQ("250", (*values)["Max"]);
    EXPECT_EQ("40", (*values)["Pos"]);
    COSMControlProgress loaded;
    {
        NamedTestStore store(values, true);
        loaded.DoPropExchange(&store);
    }
    int lower = 0;
    int upper = 0;
    loaded.GetRange(lower, upper);
    EXPECT_EQ(-10, lower);
    EXPECT_EQ(250, upper);
    EXPECT_EQ(40, loaded.GetPos());
    EXPECT_EQ("Copying", std::string(loaded.GetCaptionText()));

    RefPtr<COSMControl> clone = AdoptRef(progress.Clone(FALSE));
    auto* copy = dynamic_cast<COSMControlProgress*>(clone.Get());
    ASSERT_NE(nullptr, copy);
    copy->GetRange(lower, upper);
    EXPECT_EQ(-10, lower);
    EXPECT_EQ(250, upper);
    EXPECT_EQ(40, copy->GetPos());
    EXPECT_EQ(100, copy->GetWidth());
    EXPECT_EQ(RUNTIME_CLASS(COSMControlProgress), CRuntimeClass::FromName("COSMControlProgress"));
}

namespace {

// The painter on the stand-in theme library, in the bar's paint manager. The library's table is made first and goes
// last: the painter closes its theme data through it.
class ThemedProgressTest : protected ThemeStubLibrary, public ProgressTest
{
protected:
    ThemedProgressTest() : ThemeStubLibrary(TRUE) {}
    void SetUp() override
    {
        ProgressTest::SetUp();
        SetUpThemeStub();
        painter = new COSMProgressPaintManager(pm.Get(), m_functions);
        pm->SetPartPaintManagers(nullptr, nullptr, painter);
        painter->RefreshMetrics();
        pm->themeId = 2;
    }
    void TearDown() override
    {
        pm->SetPartPaintManagers(nullptr, nullptr, nullptr);
        ProgressTest::TearDown();
    }
    COSMProgressPaintManager* painter = nullptr;
};

}  // namespace

TEST_F(ThemedProgressTest, ThemedBarDrawsTheBarPartThenChunksFromTheLeft)
{
    ASSERT_TRUE(painter->GetVisualStyle().IsOpen());
    EXPECT_STREQ(L"PROGRESS", m_stub->lastClassList);
    EXPECT_EQ(nullptr, m_stub->lastWindow);
    EXPECT_EQ(painter, progress.GetProgressPaintManager());

    DcTestSurface surface(130, 30, kBackground);
    CDC* dc = CDC::FromHandle(surface.GetDC());
    const CRect rect(10, 5, 110, 21);
    progress.SetRect(rect);

    // At position 0 only the bar part, over the whole rectangle.
    LONG draws = Calls(CThemeStubState::kDrawThemeBackground);
    progress.Draw(dc);
    EXPECT_EQ(draws + 1, Calls(CThemeStubState::kDrawThemeBackground));
    EXPECT_EQ(1, m_stub->lastPart);
    EXPECT_EQ(0, m_stub->lastState);
    EXPECT_EQ(rect, CRect(m_stub->lastRect));

    // The stub's chunk size (2411) and spacing (2412) give one chunk, from the inside's left edge (4 in, 3 down)
    // to one pixel before its right edge.
    progress.SetPos(50);
    draws = Calls(CThemeStubState::kDrawThemeBackground);
    const LONG ints = Calls(CThemeStubState::kGetThemeInt);
    progress.Draw(dc);
    EXPECT_EQ(draws + 2, Calls(CThemeStubState::kDrawThemeBackground));
    EXPECT_EQ(ints + 2, Calls(CThemeStubState::kGetThemeInt));
    EXPECT_EQ(3, m_stub->lastPart);
    EXPECT_EQ(0, m_stub->lastState);
    EXPECT_EQ(CRect(14, 8, 105, 18), CRect(m_stub->lastRect));
    // The visual style drew everything: no classic pixels.
    EXPECT_EQ(0, surface.CountNot(kBackground));
}

TEST_F(ThemedProgressTest, DefaultAndOfficeLooksAndAFailedOpenDrawClassic)
{
    const struct
    {
        int themeId;
        BOOL appThemed;
        BOOL openFails;
        bool themed;
    } cases[] = {
        {0, TRUE, FALSE, false}, {1, TRUE, FALSE, false},  {2, TRUE, FALSE, true},
        {7, TRUE, FALSE, true},  {2, FALSE, FALSE, false}, {2, TRUE, TRUE, false},
    };
    const CRect rect(10, 5, 110, 21);
    progress.SetRect(rect);
    progress.SetPos(30);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "theme " << c.themeId << " themed " << c.appThemed << " fails "
                                        << c.openFails);
        pm->themeId = c.themeId;
        m_stub->appThemed = c.appThemed;
        m_stub->openFails = c.openFails;
        painter->RefreshMetrics();
        DcTestSurface surface(130, 30, kBackground);
        const LONG draws = Calls(CThemeStubState::kDrawThemeBackground);
        progress.Draw(CDC::FromHandle(surface.GetDC()));
        EXPECT_EQ(c.themed ? draws + 2 : draws, Calls(CThemeStubState::kDrawThemeBackground));
        EXPECT_EQ(c.themed ? CRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN) : rect,
                  ChangedPixels(surface, kBackground, CRect(0, 0, 130, 30)));
    }
}
