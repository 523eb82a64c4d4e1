// What the paint-manager tests share: a test paint manager whose system menu font height a test chooses, and a
// fixture that leaves the process-wide manager and the theme factory empty before and after each test.
#pragma once

#include "DcTestSurface.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/foundation/testing/TestPaintManager.h"

#include <gtest/gtest.h>

namespace foundation_test {

class MetricsPaintManager : public COSMTestPaintManager
{
public:
    using COSMTestPaintManager::COSMTestPaintManager;

    // 0 keeps the system's menu font height.
    LONG menuFontHeight = 0;

protected:
    BOOL ReadNonClientMetrics(NONCLIENTMETRICSA* metrics) override
    {
        const BOOL read = InitNonClientMetrics(metrics);
        if (menuFontHeight != 0)
            metrics->lfMenuFont.lfHeight = menuFontHeight;
        return read;
    }
};

class PaintManagerTest : public ::testing::Test
{
protected:
    void SetUp() override { ClearFactory(); }
    void TearDown() override { ClearFactory(); }

    static void ClearFactory()
    {
        COSMPaintManager::FreeGlobalPaintManager();
        for (int id = 0; id < COSMPaintManager::kThemeIdCount; ++id)
            COSMPaintManager::RegisterThemeCreator(id, nullptr);
    }
};

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
