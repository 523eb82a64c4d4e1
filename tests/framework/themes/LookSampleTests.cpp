// The looks' pictures, kept with the CI artefacts.
#include "LookSample.h"
#include "PaintManagerTestSupport.h"

#include "framework/themes/OfficeTheme.h"

#include <gtest/gtest.h>

#include <algorithm>

using foundation_test::PaintManagerTest;

TEST_F(PaintManagerTest, TheDefaultLookSampleIsWritten)
{
    COSMPaintManager::RegisterThemes();
    const themes_test::LookSample sample = themes_test::WriteLookSample(0, "default");
    ASSERT_EQ("", sample.failure);
    EXPECT_NE(std::string::npos, sample.path.find("look-default.bmp"));
    EXPECT_GT(sample.colorCount, 1u);
    EXPECT_EQ(sample.expectedFace, sample.dockedToolBarFace);
}

TEST_F(PaintManagerTest, TheOfficeLookSampleIsWritten)
{
    COSMPaintManager::RegisterThemes();
    // Docked toolbars are filled with the bar face, not the button face.
    const themes_test::LookSample sample = themes_test::WriteLookSample(1, "office", COSMOfficeTheme::kBarFace);
    ASSERT_EQ("", sample.failure);
    EXPECT_NE(std::string::npos, sample.path.find("look-office.bmp"));
    EXPECT_GT(sample.colorCount, 1u);
    EXPECT_EQ(sample.expectedFace, sample.dockedToolBarFace);
}

TEST_F(PaintManagerTest, AnOfficeMenuOpensSeamlesslyFromItsMenuBarButton)
{
    COSMPaintManager::RegisterThemes();
    const themes_test::LookSample sample = themes_test::WriteLookSample(1, "office", COSMOfficeTheme::kBarFace);
    ASSERT_EQ("", sample.failure);
    const CRect button(sample.openedMenuButton);
    const CRect menu(sample.openedMenu);
    // The look shrinks the button's exclusion by a pixel: the menu's top row lies over the button's last.
    EXPECT_EQ(button.bottom - 1, menu.top);
    COSMPaintManager* look = COSMPaintManager::GetGlobalPaintManager();
    ASSERT_NE(nullptr, look);
    const COLORREF opening = look->GetColor(COSMOfficeTheme::kBarFace);
    const COLORREF border = look->GetColor(COSMOfficeTheme::kPopupBorder);
    ASSERT_NE(opening, border);
    ASSERT_EQ(static_cast<size_t>(menu.Width()), sample.openedMenuTopRow.size());
    // Over the button, less its outer pixels, the border is open in the bar face; elsewhere it stays.
    const int openFrom = std::max(button.left, menu.left) - menu.left + 1;
    const int openTo = std::min(button.right, menu.right) - menu.left - 1;
    ASSERT_LT(openFrom, openTo);
    for (int x = 0; x < menu.Width(); ++x)
        EXPECT_EQ(x >= openFrom && x < openTo ? opening : border, sample.openedMenuTopRow[x]) << x;
}

TEST_F(PaintManagerTest, TheNativeXPLookSampleIsWritten)
{
    COSMPaintManager::RegisterThemes();
    // Bars docked elsewhere than the top keep the button face under the style's band.
    const themes_test::LookSample sample = themes_test::WriteLookSample(3, "nativexp");
    ASSERT_EQ("", sample.failure);
    EXPECT_NE(std::string::npos, sample.path.find("look-nativexp.bmp"));
    ASSERT_NE(nullptr, COSMPaintManager::GetGlobalPaintManager());
    EXPECT_EQ(3, COSMPaintManager::GetGlobalPaintManager()->GetThemeId());
    EXPECT_GT(sample.colorCount, 1u);
    EXPECT_EQ(sample.expectedFace, sample.dockedToolBarFace);
}
