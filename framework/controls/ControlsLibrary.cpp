// What the controls library hands the command bars as the program starts: its control Types in the control factory
// and its part painters in the paint manager. The command bars know none of these classes. The library's link option
// (-u OsmRegisterControls, see CMakeLists.txt) makes every program that links it keep this file, whose initialiser
// then runs before main.
#include "framework/commandbars/ControlFactory.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlEdit.h"
#include "framework/controls/ControlGallery.h"
#include "framework/controls/PartPaintManagers.h"

namespace {

template <class Control> COSMControl* CreateControl()
{
    return static_cast<COSMControl*>(Control::CreateObject());
}

template <class Painter> COSMPartPaintManager* CreatePainter(COSMPaintManager* owner)
{
    return new Painter(owner);
}

}  // namespace

extern "C" void OsmRegisterControls()
{
    COSMControlFactory::RegisterDefaultType(5, &CreateControl<COSMControlComboBox>);
    COSMControlFactory::RegisterDefaultType(6, &CreateControl<COSMControlEdit>);
    COSMControlFactory::RegisterDefaultType(COSMControlFactory::kTypeGallery, &CreateControl<COSMControlGallery>);
    COSMPaintManager::RegisterPartPainter(COSMPaintManager::kGalleryPainter,
                                          &CreatePainter<COSMControlGalleryPaintManager>);
    COSMPaintManager::RegisterPartPainter(COSMPaintManager::kSliderPainter, &CreatePainter<COSMSliderPaintManager>);
    COSMPaintManager::RegisterPartPainter(COSMPaintManager::kProgressPainter, &CreatePainter<COSMProgressPaintManager>);
}

namespace {

// The registration runs once, while the program starts; the tables it fills are constant-initialised, so they are
// ready whatever order the libraries' initialisers run in.
[[maybe_unused]] const bool g_controlsRegistered = (OsmRegisterControls(), true);

}  // namespace
