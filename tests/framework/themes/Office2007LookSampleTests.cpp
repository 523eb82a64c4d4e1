// The Office 2007 look's picture with the production resources, kept with the CI artefacts: the frame with a
// workspace pane under the bars. Drawing it asks the resources for nothing they lack (the image manager's observer
// hears no missing image or key), and the workspace shows the theme text's colours below its picture.
#include "LookSample.h"
#include "PaintManagerTestSupport.h"

#include "framework/themes/Office2007Images.h"
#include "framework/themes/Office2007Theme.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using foundation_test::PaintManagerTest;

namespace {

class Office2007LookObserver : public COSMOffice2007Images::CObserver
{
public:
    void OnImageMissing(LPCSTR lpszName) override { missing.push_back(std::string("image ") + lpszName); }
    void OnKeyMissing(LPCSTR lpszSection, LPCSTR lpszKey) override
    {
        missing.push_back(std::string("key ") + lpszSection + "/" + lpszKey);
    }
    std::vector<std::string> missing;
};

TEST_F(PaintManagerTest, TheOffice2007LookSampleIsWrittenAndFindsEverythingItAsksFor)
{
    COSMPaintManager::RegisterThemes();
    COSMOffice2007Images* images = COSMOffice2007Images::Instance();
    ASSERT_TRUE(images->IsValid()) << "the production theme text in the test program";
    Office2007LookObserver observer;
    images->SetObserver(&observer);
    const themes_test::LookSample sample = themes_test::WriteLookSample(5, "office2007", COLOR_BTNFACE, -1, true);
    images->SetObserver(nullptr);
    ASSERT_EQ("", sample.failure);
    EXPECT_NE(std::string::npos, sample.path.find("look-office2007.bmp"));
    EXPECT_GT(sample.colorCount, 1u);
    std::string missing;
    for (const std::string& name : observer.missing)
        missing += name + "\n";
    EXPECT_TRUE(observer.missing.empty()) << missing;

    auto* look = dynamic_cast<COSMOffice2007Theme*>(COSMPaintManager::GetGlobalPaintManager());
    ASSERT_NE(nullptr, look);
    EXPECT_EQ(5, look->GetThemeId());
    // The workspace: its picture at the top, and at the bottom the gradient reaching the bottom colour.
    ASSERT_GT(sample.workspaceLeftColumn.size(), 40u);
    COSMOffice2007Image* picture = look->LoadImage("WORKSPACETOPLEFT");
    ASSERT_NE(nullptr, picture);
    const int pictureHeight = picture->GetStateRect(0, 1).Height();
    ASSERT_LT(pictureHeight, static_cast<int>(sample.workspaceLeftColumn.size()));
    EXPECT_EQ(sample.workspaceLeftColumn[pictureHeight], look->WorkspaceTopColor);
    const COLORREF bottom = sample.workspaceLeftColumn.back();
    auto within3 = [](int a, int b) { return a - b <= 3 && b - a <= 3; };
    EXPECT_TRUE(within3(GetRValue(bottom), GetRValue(look->WorkspaceBottomColor)) &&
                within3(GetGValue(bottom), GetGValue(look->WorkspaceBottomColor)) &&
                within3(GetBValue(bottom), GetBValue(look->WorkspaceBottomColor)))
        << std::hex << bottom << " " << look->WorkspaceBottomColor;
}

}  // namespace
