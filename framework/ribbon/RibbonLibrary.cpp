// What the ribbon library hands the layers below as the program starts: the status bar learns how to ask a frame
// for its ribbon frame. The library's link option (-u OsmRegisterRibbon, see CMakeLists.txt) makes every program
// that links it keep this file, whose initialiser then runs before main.
#include "framework/commandbars/StatusBar.h"
#include "framework/ribbon/RibbonFrame.h"

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
}

namespace {

[[maybe_unused]] const bool g_ribbonRegistered = (OsmRegisterRibbon(), true);

}  // namespace
