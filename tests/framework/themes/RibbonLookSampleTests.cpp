// The Ribbon look's picture with the production resources, kept with the CI artefacts: the frame's bars, an open
// menu and the status bar in theme 6. Drawing it asks the resources for nothing they lack. The ribbon itself lives in
// a library above the themes; the end-to-end frame shows it.
#include "LookSample.h"
#include "PaintManagerTestSupport.h"

#include "framework/themes/Office2007Images.h"
#include "framework/themes/RibbonTheme.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using foundation_test::PaintManagerTest;

namespace {

class RibbonLookObserver : public COSMOffice2007Images::CObserver
{
public:
    void OnImageMissing(LPCSTR lpszName) override { missing.push_back(std::string("image ") + lpszName); }
    void OnKeyMissing(LPCSTR lpszSection, LPCSTR lpszKey) override
    {
        missing.push_back(std::string("key ") + lpszSection + "/" + lpszKey);
    }
    std::vector<std::string> missing;
};

TEST_F(PaintManagerTest, TheRibbonLookSampleIsWrittenAndFindsEverythingItAsksFor)
{
    COSMPaintManager::RegisterThemes();
    COSMOffice2007Images* images = COSMOffice2007Images::Instance();
    ASSERT_TRUE(images->IsValid()) << "the production theme text in the test program";
    RibbonLookObserver observer;
    images->SetObserver(&observer);
    const themes_test::LookSample sample =
        themes_test::WriteLookSample(6, "ribbon-commandbars", COLOR_BTNFACE, -1, true);
    images->SetObserver(nullptr);
    ASSERT_EQ("", sample.failure);
    EXPECT_NE(std::string::npos, sample.path.find("look-ribbon-commandbars.bmp"));
    EXPECT_GT(sample.colorCount, 1u);
    std::string missing;
    for (const std::string& name : observer.missing)
        missing += name + "\n";
    EXPECT_TRUE(observer.missing.empty()) << missing;

    auto* look = dynamic_cast<COSMRibbonTheme*>(COSMPaintManager::GetGlobalPaintManager());
    ASSERT_NE(nullptr, look);
    EXPECT_EQ(6, look->GetThemeId());
    // The production text's ribbon colours were read.
    EXPECT_EQ(look->RibbonTextColor, images->GetImageColor("Ribbon", "RibbonText"));
    EXPECT_NE(look->RibbonTextColor, static_cast<COLORREF>(-1));
}

}  // namespace
