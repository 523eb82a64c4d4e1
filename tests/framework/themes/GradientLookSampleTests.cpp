// The gradient looks' pictures (Office 2003 as the test machine has it and in its blue scheme, the two Whidbey
// looks), kept with the CI artefacts. These looks end a left-docked toolbar in its expand button, a strip of the
// bar's last 12 rows in the expand button's gradient across the bar, where the sample's face point lies: its colour
// must lie between that gradient's two colours rather than equal one table colour.
#include "LookSample.h"
#include "PaintManagerTestSupport.h"

#include "framework/themes/Office2003Theme.h"

#include <gtest/gtest.h>

#include <algorithm>

using foundation_test::PaintManagerTest;

namespace {

bool GradientLookBetween(COLORREF value, COLORREF a, COLORREF b)
{
    auto inside = [](int v, int x, int y) { return v >= std::min(x, y) - 1 && v <= std::max(x, y) + 1; };
    return inside(GetRValue(value), GetRValue(a), GetRValue(b)) &&
           inside(GetGValue(value), GetGValue(a), GetGValue(b)) && inside(GetBValue(value), GetBValue(a), GetBValue(b));
}

}  // namespace

TEST_F(PaintManagerTest, TheGradientLookSamplesAreWritten)
{
    COSMPaintManager::RegisterThemes();
    struct SampleCase
    {
        int id;
        const char* name;
        int selection;
    } const cases[] = {
        {2, "office2003", -1}, {2, "office2003-blue", 1}, {4, "whidbey", -1}, {7, "whidbey-gradient", -1}};
    for (const SampleCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        const themes_test::LookSample sample = themes_test::WriteLookSample(c.id, c.name, COLOR_BTNFACE, c.selection);
        ASSERT_EQ("", sample.failure);
        EXPECT_NE(std::string::npos, sample.path.find(std::string("look-") + c.name + ".bmp"));
        EXPECT_GT(sample.colorCount, 1u);
        auto* look = dynamic_cast<COSMOffice2003Theme*>(COSMPaintManager::GetGlobalPaintManager());
        ASSERT_NE(nullptr, look);
        if (c.selection == 1)
        {
            // The blue scheme's own toolbar colours.
            EXPECT_EQ(1, look->GetVisualStyleSelection());
            EXPECT_EQ(RGB(221, 236, 254), look->ToolbarGradient.First().GetEffective());
        }
        const COLORREF first = look->ExpandButtonGradient.First().GetEffective();
        const COLORREF second = look->ExpandButtonGradient.Second().GetEffective();
        EXPECT_TRUE(GradientLookBetween(sample.dockedToolBarFace, first, second))
            << std::hex << sample.dockedToolBarFace << " " << first << " " << second;
    }
}
