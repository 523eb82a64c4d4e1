// The production Office 2007 resources (drawn by tools/gen-theme.py and linked into this program) read through the
// process's manager: every key and image the looks ask for is there, and the tip frame draws keyed. Headless.
#include "Office2007TestSupport.h"

#include "DcTestSurface.h"

#include "framework/controls/ToolTipContextToolTip.h"
#include "framework/foundation/ToolTipContext.h"

#include <fstream>
#include <sstream>

namespace {

using foundation_test::DcTestSurface;
using office2007_test::CRecordingObserver;
using office2007_test::kNone;

struct ResourceNames
{
    std::vector<std::pair<std::string, std::string>> keys;
    std::vector<std::pair<std::string, int>> images;
};

// The generator's list of what it wrote.
ResourceNames ReadResourceNames()
{
    ResourceNames names;
    std::ifstream file(OSM_OFFICE2007_NAMES);
    std::string line;
    while (std::getline(file, line))
    {
        std::istringstream words(line);
        std::string kind, first, second;
        words >> kind >> first >> second;
        if (kind == "KEY")
            names.keys.emplace_back(first, second);
        else if (kind == "IMAGE")
            names.images.emplace_back(first, std::stoi(second));
    }
    return names;
}

TEST(Office2007Resources, EveryKeyAndImageIsThereAndNothingIsMissed)
{
    const ResourceNames names = ReadResourceNames();
    ASSERT_GT(names.keys.size(), 60u) << OSM_OFFICE2007_NAMES;
    ASSERT_GT(names.images.size(), 25u);

    COSMOffice2007Images* images = COSMOffice2007Images::Instance();
    ASSERT_TRUE(images->IsValid()) << "the program's own module carries OFFICE2007BLUE_INI";
    CRecordingObserver observer;
    images->SetObserver(&observer);
    for (const auto& [section, key] : names.keys)
        EXPECT_NE(images->GetImageColor(section.c_str(), key.c_str()), kNone) << section << " / " << key;
    // The tip windows' three colours, asked by the controls below.
    for (const char* key : {"TooltipLight", "TooltipDark", "TooltipBorder"})
        EXPECT_NE(images->GetImageColor("Window", key), kNone) << key;
    for (const auto& [name, states] : names.images)
    {
        SCOPED_TRACE(name);
        COSMOffice2007Image* image = images->LoadImage(name.c_str());
        ASSERT_NE(image, nullptr);
        EXPECT_TRUE(image->HasPixels());
        const CSize extent = image->GetExtent();
        EXPECT_LE(extent.cx, 512);
        EXPECT_LE(extent.cy, 512);
        EXPECT_EQ(extent.cy % states, 0);
        EXPECT_EQ(image->GetStateRect(states - 1, states).bottom, extent.cy);
    }
    images->SetObserver(nullptr);
    EXPECT_TRUE(observer.images.empty());
    EXPECT_TRUE(observer.keys.empty());
}

TEST(Office2007Resources, TheTipFrameKeepsTheTipsOwnBackground)
{
    COSMOffice2007Image* frame = COSMOffice2007Images::Instance()->LoadImage("TOOLTIPFRAME");
    ASSERT_NE(frame, nullptr);
    const COLORREF tip = RGB(30, 60, 90);
    DcTestSurface surface(40, 20, tip);
    frame->DrawImage(surface.dc(), CRect(0, 0, 40, 20), frame->GetStateRect(0, 1), CRect(3, 3, 3, 3), RGB(255, 0, 255));
    const COLORREF border = COSMOffice2007Images::Instance()->GetImageColor("Window", "TooltipBorder");
    // Rounded corners and the whole inside show the tip's gradient; the frame is the border and a white line.
    for (const CPoint corner : {CPoint(0, 0), CPoint(39, 0), CPoint(0, 19), CPoint(39, 19)})
        EXPECT_EQ(surface.Pixel(corner.x, corner.y), tip);
    EXPECT_TRUE(surface.FilledWith(CRect(2, 2, 38, 18), tip));
    EXPECT_TRUE(surface.FilledWith(CRect(1, 0, 39, 1), border));
    EXPECT_TRUE(surface.FilledWith(CRect(0, 1, 1, 19), border));
    EXPECT_TRUE(surface.FilledWith(CRect(2, 1, 38, 2), RGB(255, 255, 255)));
}

// The Office 2007 tip draws its frame from the production image: the corners are cut (they show the tip's own
// gradient, where the fallback frame would draw its border) and a white line runs inside the border.
TEST(Office2007Resources, TheOffice2007TipDrawsItsFrameFromTheImage)
{
    RefPtr<COSMToolTipContext> context = RefPtr<COSMToolTipContext>::Adopt(new COSMToolTipContext);
    context->ModifyToolTipStyle(0, COSMToolTipContext::kStyleOffice2007);
    COSMToolTipContextToolTip tip(context.Get());
    COSMToolTipToolRecord tool;
    DcTestSurface surface(60, 24, RGB(1, 2, 3));
    tip.DrawBackground(surface.dc(), tool, CRect(0, 0, 60, 24));

    COSMOffice2007Images* images = COSMOffice2007Images::Instance();
    const COLORREF border = images->GetImageColor("Window", "TooltipBorder");
    const COLORREF light = images->GetImageColor("Window", "TooltipLight");
    EXPECT_EQ(surface.Pixel(30, 0), border);
    EXPECT_EQ(surface.Pixel(0, 12), border);
    EXPECT_EQ(surface.Pixel(30, 1), RGB(255, 255, 255));
    EXPECT_NE(light, border);
    EXPECT_EQ(surface.Pixel(0, 0), light) << "the cut corner shows the gradient's first row";
    EXPECT_EQ(surface.Pixel(59, 0), light);
}

}  // namespace
