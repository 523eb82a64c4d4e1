// What the paint-manager tests share: a test paint manager whose system menu font height a test chooses, a
// fixture that empties the process-wide manager and the theme factory for each test (and enters the looks again
// after it), and the bounds of what a drawing changed.
#pragma once

#include "classlib/DC.h"
#include "tests/support/DcTestSurface.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/testing/TestPaintManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>

namespace foundation_test {

class MetricsPaintManager : public COSMTestPaintManager
{
public:
    using COSMTestPaintManager::COSMTestPaintManager;

    // 0 keeps the system's menu font height (and caption font height).
    LONG menuFontHeight = 0;
    LONG captionFontHeight = 0;
    // Each entry replaces the system's metric of its index (SM_CYCAPTION for the caption height).
    std::map<int, int> systemMetrics;

protected:
    BOOL ReadNonClientMetrics(NONCLIENTMETRICSA* metrics) override
    {
        const BOOL read = InitNonClientMetrics(metrics);
        if (menuFontHeight != 0)
            metrics->lfMenuFont.lfHeight = menuFontHeight;
        if (captionFontHeight != 0)
            metrics->lfCaptionFont.lfHeight = captionFontHeight;
        return read;
    }
    int ReadSystemMetric(int index) override
    {
        const auto found = systemMetrics.find(index);
        return found != systemMetrics.end() ? found->second : COSMTestPaintManager::ReadSystemMetric(index);
    }
};

class PaintManagerTest : public ::testing::Test
{
protected:
    void SetUp() override { ClearFactory(); }
    // The next test finds the looks a program that links the themes has from its start.
    void TearDown() override
    {
        ClearFactory();
        COSMPaintManager::RegisterThemes();
    }

    static void ClearFactory()
    {
        COSMPaintManager::FreeGlobalPaintManager();
        for (int id = 0; id < COSMPaintManager::kThemeIdCount; ++id)
            COSMPaintManager::RegisterThemeCreator(id, nullptr);
    }
};

// The bounding box of the pixels that differ from the background; empty (left > right) when none do.
inline CRect ChangedPixels(const DcTestSurface& surface, COLORREF background, const RECT& area)
{
    CRect bounds(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (surface.Pixel(x, y) != background)
            {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
    return bounds;
}
inline CRect ChangedPixels(const DcTestSurface& surface, COLORREF background)
{
    return ChangedPixels(surface, background, CRect(0, 0, surface.Width(), surface.Height()));
}

inline LOGFONTA LogFontOf(const CFont& font)
{
    LOGFONTA logFont{};
    font.GetLogFont(&logFont);
    return logFont;
}

// The manager's checked, enabled check-box mark drawn next to the system's classic one: they must be equal.
inline void ExpectClassicCheckMark(MetricsPaintManager& pm)
{
    const COLORREF background = ::GetSysColor(COLOR_BTNFACE);
    DcTestSurface drawn(13, 13, background);
    DcTestSurface expected(13, 13, background);
    CRect rect(0, 0, 13, 13);
    pm.DrawCheckBoxMark(CDC::FromHandle(drawn.GetDC()), rect, TRUE, FALSE, FALSE, 1, TRUE);
    ::DrawFrameControl(expected.GetDC(), &rect, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_EQ(expected.All(), drawn.All());
}

}  // namespace foundation_test
