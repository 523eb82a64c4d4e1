// The manager skeleton: its paint and image managers, and the customize mode with its selected control, which is
// referenced, redrawn in its bar and reported to the site. A site window and bar windows on the display.
#include "CommandBarsTestSupport.h"

#include "framework/foundation/ImageManager.h"

using namespace commandbars_test;

namespace {

// A bar whose window counts as visible, so that controls can redraw in it.
class VisibleBar : public COSMCommandBar
{
public:
    BOOL IsVisible() const override { return GetSafeHwnd() && ::IsWindowVisible(m_hWnd); }
};

using CommandBarsManagerTest = SiteTest;

TEST_F(CommandBarsManagerTest, OwnManagersElseTheProcessWideOnes)
{
    COSMPaintManager* global = commandBars->GetPaintManager();
    ASSERT_NE(nullptr, global);
    EXPECT_EQ(global, COSMPaintManager::GetGlobalPaintManager());
    EXPECT_EQ(GetImageManager(), commandBars->GetImageManager());

    Ref<COSMPaintManager> paintManager = MakeRef(COSMTestPaintManager::Create());
    Ref<COSMImageManager> imageManager = MakeRef(new COSMImageManager);
    commandBars->SetPaintManager(paintManager.get());
    commandBars->SetImageManager(imageManager.get());
    EXPECT_EQ(paintManager.get(), commandBars->GetPaintManager());
    EXPECT_EQ(imageManager.get(), commandBars->GetImageManager());
    EXPECT_EQ(2, RefCount(paintManager.get()));
    EXPECT_EQ(2, RefCount(imageManager.get()));
    commandBars.reset();
    EXPECT_EQ(1, RefCount(paintManager.get()));
    EXPECT_EQ(1, RefCount(imageManager.get()));
}

TEST_F(CommandBarsManagerTest, CustomizeSelectionIsReferencedRedrawnAndReported)
{
    VisibleBar bar;
    ASSERT_TRUE(CreateBarWindow(bar, 100, 20, TRUE));
    bar.SetCommandBars(commandBars.get());
    COSMControl* first = bar.GetControls()->Add(1, 1);
    COSMControl* second = bar.GetControls()->Add(1, 2);
    first->SetRect(CRect(0, 0, 20, 20));
    second->SetRect(CRect(40, 0, 60, 20));
    ::ValidateRect(bar.GetSafeHwnd(), nullptr);
    site.messages.clear();

    const struct
    {
        COSMControl* select;
        CRect invalid;  // empty: nothing to redraw
        int reports;
    } steps[] = {
        {first, CRect(0, 0, 20, 20), 1},
        {first, CRect(), 0},                // the same control again: nothing
        {second, CRect(0, 0, 60, 20), 1},   // the old and the new control
        {nullptr, CRect(40, 0, 60, 20), 1},
        {nullptr, CRect(), 0},
    };
    for (const auto& step : steps)
    {
        const LONG firstRefs = RefCount(first);
        site.messages.clear();
        commandBars->SetCustomizeSelection(step.select);
        EXPECT_EQ(step.select, commandBars->GetCustomizeSelection());
        EXPECT_EQ(step.reports, site.Count(COSMCommandBars::kMessageCustomizeSelectionChanged));
        CRect update;
        const BOOL invalid = ::GetUpdateRect(bar.GetSafeHwnd(), &update, FALSE);
        EXPECT_EQ(!step.invalid.IsRectEmpty(), invalid);
        if (invalid)
        {
            EXPECT_EQ(step.invalid, update);
        }
        ::ValidateRect(bar.GetSafeHwnd(), nullptr);
        if (step.select == first && step.reports)
        {
            EXPECT_EQ(firstRefs + 1, RefCount(first));
        }
    }
    EXPECT_EQ(1, RefCount(first));
    EXPECT_EQ(1, RefCount(second));
}

TEST_F(CommandBarsManagerTest, CustomizeModeClearsTheSelection)
{
    COSMCommandBar bar;
    bar.SetCommandBars(commandBars.get());
    COSMControl* control = bar.GetControls()->Add(1, 1);
    EXPECT_FALSE(commandBars->IsCustomizeMode());
    for (BOOL on : {TRUE, FALSE})
    {
        commandBars->SetCustomizeSelection(control);
        site.messages.clear();
        commandBars->SetCustomizeMode(on);
        EXPECT_EQ(on, commandBars->IsCustomizeMode());
        EXPECT_EQ(on, control->IsCustomizeMode());
        EXPECT_EQ(nullptr, commandBars->GetCustomizeSelection());
        EXPECT_EQ(1, site.Count(COSMCommandBars::kMessageCustomizeSelectionChanged));
        EXPECT_EQ(1, RefCount(control));
    }
}

TEST_F(CommandBarsManagerTest, ASelectionOutlivesItsBarUntilReplaced)
{
    COSMControl* control = nullptr;
    {
        COSMCommandBar bar;
        control = bar.GetControls()->Add(1, 1);
        commandBars->SetCustomizeSelection(control);
    }
    EXPECT_EQ(1, RefCount(control));
    EXPECT_EQ(nullptr, control->GetParent());
    commandBars->SetCustomizeSelection(nullptr);
}

}  // namespace
