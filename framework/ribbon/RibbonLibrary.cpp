// What the ribbon library hands the layers below as the program starts: the status bar learns how to ask a frame
// for its ribbon frame, and the ribbon's classes are known by name (the command bars make "COSMRibbonBar" for
// AddRibbonBar, and saved tabs and controls are made again by class). The library's link option
// (-u OsmRegisterRibbon, see CMakeLists.txt) makes every program that links it keep this file, whose initialiser
// then runs before main, and through it every file of the classes below.
#include "framework/commandbars/StatusBar.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonControls.h"
#include "framework/ribbon/RibbonFrame.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/ribbon/RibbonContextMenu.h"
#include "framework/ribbon/RibbonTab.h"

namespace {

BOOL RibbonFrameStatusBarHeight(LRESULT ribbonFrame, int* height)
{
    const auto* frame = reinterpret_cast<const COSMRibbonFrame*>(ribbonFrame);
    return frame && frame->GetStatusBarHeight(height);
}

}  // namespace

extern "C" void OsmRegisterRibbon()
{
    COSMStatusBar::RegisterRibbonFrame(COSMRibbonFrame::GetQueryMessage(), &RibbonFrameStatusBarHeight);
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
        RUNTIME_CLASS(COSMRibbonControlQuickAccessCommand),
        RUNTIME_CLASS(COSMRibbonSystemPopupBar),
        RUNTIME_CLASS(COSMRibbonSystemPopupBarPage),
        RUNTIME_CLASS(COSMRibbonControlSystemPopupBarButton),
        RUNTIME_CLASS(COSMRibbonControlSystemPopupBarListItem),
        RUNTIME_CLASS(COSMRibbonControlSystemPopupBarListCaption),
        RUNTIME_CLASS(COSMRibbonControlSystemRecentFileList),
    };
    (void)kRibbonClasses;
}

namespace {

[[maybe_unused]] const bool g_ribbonRegistered = (OsmRegisterRibbon(), true);

}  // namespace
