// What the themes library hands the paint manager as the program starts: its frame and ribbon painters and the test
// of controls on a composited caption. The paint manager knows none of them. The library's link option
// (-u OsmRegisterThemes, see CMakeLists.txt) makes every program that links it keep this file, whose initialiser
// then runs before main.
#include "framework/commandbars/PaintManager.h"
#include "framework/themes/DwmCaption.h"
#include "framework/themes/FramePaintManager.h"
#include "framework/themes/RibbonPaintManager.h"

namespace {

COSMPartPaintManager* CreateFramePainter(COSMPaintManager* owner)
{
    return new COSMFramePaintManager(owner);
}

COSMSharedPartPaintManager* CreateRibbonPainter(COSMPaintManager* owner)
{
    return new COSMRibbonPaintManager(owner);
}

}  // namespace

extern "C" void OsmRegisterThemes()
{
    COSMPaintManager::RegisterPartPainter(COSMPaintManager::kFramePainter, &CreateFramePainter);
    COSMPaintManager::RegisterRibbonPainter(&CreateRibbonPainter);
    COSMPaintManager::RegisterDwmCaptionTest(&::IsControlOnDwmCaption);
}

namespace {

[[maybe_unused]] const bool g_themesRegistered = (OsmRegisterThemes(), true);

}  // namespace
