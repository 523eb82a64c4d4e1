// What the scroll engine's tests share: a paint manager whose theme id a test picks, painters with fixed metrics
// (the system's are 17 under Wine), and a host without a window that answers from its own fields and records what
// the engine reports.
#pragma once

#include "classlib/Wnd.h"
#include "framework/commandbars/testing/TestPaintManager.h"
#include "framework/controls/ScrollBarPaintManager.h"
#include "framework/controls/ScrollBase.h"
#include "framework/controls/SliderPaintManager.h"

#include <vector>

namespace scroll_test {

class ThemedTestPaintManager : public COSMTestPaintManager
{
public:
    using COSMTestPaintManager::COSMTestPaintManager;
    int GetThemeId() const override { return themeId; }

    int themeId = 0;
};

// Arrows 20 long on horizontal bars and 16 on vertical ones, bars 16 thick; fixedThumb 0 for a proportional thumb.
class FixedMetricsPainter : public COSMScrollBarPaintManager
{
public:
    explicit FixedMetricsPainter(COSMPaintManager* owner, int fixedThumb = 0) : COSMScrollBarPaintManager(owner)
    {
        SetMetrics(fixedThumb);
    }
    FixedMetricsPainter(COSMPaintManager* owner, COSMVisualStyleFunctions& functions)
        : COSMScrollBarPaintManager(owner, functions)
    {
        SetMetrics(0);
    }
    void SetMetrics(int fixedThumb)
    {
        m_horizontalArrowLength = 20;
        m_horizontalThickness = 16;
        m_verticalArrowLength = 16;
        m_verticalThickness = 16;
        m_fixedThumbLength = fixedThumb;
    }
};

// One report of the engine: the command, the position, and the lock count of the thread's mouse manager then.
struct ScrollReport
{
    int command;
    int pos;
};

// A host without a window: its rectangle, range and painter are its fields.
class HeadlessScrollHost : public COSMScrollBase
{
public:
    explicit HeadlessScrollHost(COSMScrollBarPaintManager* painter) : m_painter(painter) {}

    BOOL IsScrollBarEnabled() override { return enabled; }
    CWnd* GetParentWindow() override { return nullptr; }
    void GetScrollInfo(SCROLLINFO* out) override { *out = info; }
    void GetScrollBarRect(RECT* out) override { *out = rect; }
    void DoScroll(int command, int pos) override { reports.push_back({command, pos}); }
    void RedrawScrollBar() override { ++redraws; }
    COSMScrollBarPaintManager* GetScrollBarPaintManager() override { return m_painter; }

    // A press seen by the painters without a loop: the part pressed, the cursor inside it or not.
    void SetPress(ScrollBarTrackInfo* track) { m_track = track; }

    BOOL enabled = TRUE;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 99, 10, 0, 0};
    RECT rect{0, 0, 16, 100};
    std::vector<ScrollReport> reports;
    int redraws = 0;

private:
    COSMScrollBarPaintManager* m_painter;
};

}  // namespace scroll_test
