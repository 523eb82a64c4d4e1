// What the ribbon library hands the layers below as the program starts: the status bar learns how to ask a frame
// for its ribbon frame, the paint manager gets the frame and ribbon painters and the test of controls on a
// composited caption, and the ribbon's classes are known by name (the command bars make "COSMRibbonBar" for
// AddRibbonBar, and saved tabs and controls are made again by class). The library's link option
// (-u OsmRegisterRibbon, see CMakeLists.txt) makes every program that links it keep this file, whose initialiser
// then runs before main, and through it every file of the classes below.
#include "framework/commandbars/PaintManager.h"
#include "framework/commandbars/StatusBar.h"
#include "framework/ribbon/FramePaintManager.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonControls.h"
#include "framework/ribbon/RibbonFrame.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/ribbon/RibbonPaintManager.h"
#include "framework/ribbon/RibbonTab.h"

namespace {

BOOL RibbonFrameStatusBarHeight(LRESULT ribbonFrame, int* height)
{
    const auto* frame = reinterpret_cast<const COSMRibbonFrame*>(ribbonFrame);
    return frame && frame->GetStatusBarHeight(height);
}

// A control is grouped when its ribbon group joins its controls into rows.
BOOL RibbonControlGrouped(const COSMControl* control)
{
    const COSMRibbonGroup* group = control->GetRibbonGroup();
    return group && group->IsControlsGrouping();
}

// The frame painter draws themed frames for a look that asks for them (the Ribbon look does).
COSMPartPaintManager* CreateFramePainter(COSMPaintManager* owner)
{
    auto* painter = new COSMFramePaintManager(owner);
    painter->SetThemedFrame(owner && owner->m_themedFrame);
    return painter;
}

COSMSharedPartPaintManager* CreateRibbonPainter(COSMPaintManager* owner)
{
    return new COSMRibbonPaintManager(owner);
}

}  // namespace

extern "C" void OsmRegisterRibbon()
{
    COSMPaintManager::RegisterControlGroupingTest(&RibbonControlGrouped);
    COSMStatusBar::RegisterRibbonFrame(COSMRibbonFrame::GetQueryMessage(), &RibbonFrameStatusBarHeight);
    COSMPaintManager::RegisterPartPainter(COSMPaintManager::kFramePainter, &CreateFramePainter);
    COSMPaintManager::RegisterRibbonPainter(&CreateRibbonPainter);
    COSMPaintManager::RegisterDwmCaptionTest(&COSMRibbonPaintManager::IsControlOnDwmCaption);
    // The classes made by name, named here so that the linker keeps them.
    static const CRuntimeClass* const kRibbonClasses[] = {
        RUNTIME_CLASS(COSMRibbonBar),
        RUNTIME_CLASS(COSMRibbonTab),
        RUNTIME_CLASS(COSMRibbonControlTab),
        RUNTIME_CLASS(COSMRibbonControls),
        RUNTIME_CLASS(COSMRibbonQuickAccessControls),
        RUNTIME_CLASS(COSMRibbonBarControlQuickAccessPopup),
        RUNTIME_CLASS(COSMRibbonBarControlQuickAccessMore),
        RUNTIME_CLASS(COSMRibbonFrameCaptionButton),
        RUNTIME_CLASS(COSMRibbonGroup),
        RUNTIME_CLASS(COSMRibbonGroupControlPopup),
        RUNTIME_CLASS(COSMRibbonGroupsScrollButton),
        RUNTIME_CLASS(COSMRibbonTabPopupToolBar),
        RUNTIME_CLASS(COSMRibbonGroupPopupToolBar),
        RUNTIME_CLASS(COSMRibbonBarMorePopupToolBar),
        RUNTIME_CLASS(COSMRibbonGroupOption),
        RUNTIME_CLASS(COSMRibbonControlSystemButton),
    };
    (void)kRibbonClasses;
}

namespace {

[[maybe_unused]] const bool g_ribbonRegistered = (OsmRegisterRibbon(), true);

}  // namespace
