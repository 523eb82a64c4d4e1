// What the controls library hands the layers below as the program starts: its control Types to the control factory,
// its part painters to the paint manager and its tip windows to the tooltip context. Those know none of these
// classes. The library's link option
// (-u OsmRegisterControls, see CMakeLists.txt) makes every program that links it keep this file, whose initialiser
// then runs before main.
#include "framework/commandbars/ControlFactory.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ControlBitmap.h"
#include "framework/controls/ControlCheckBox.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlComboBoxGalleryPopupBar.h"
#include "framework/controls/ControlCustom.h"
#include "framework/controls/ControlEdit.h"
#include "framework/controls/ControlGallery.h"
#include "framework/controls/ControlGalleryItems.h"
#include "framework/controls/ControlHyperlink.h"
#include "framework/controls/ControlLabel.h"
#include "framework/controls/ControlMarkupLabel.h"
#include "framework/controls/ControlProgress.h"
#include "framework/controls/ControlRadioButton.h"
#include "framework/controls/ControlWorkspaceActions.h"
#include "framework/controls/CustomizeSheet.h"
#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/controls/ControlOleItems.h"
#include "framework/controls/ControlRecentFileList.h"
#include "framework/controls/ControlSelector.h"
#include "framework/controls/ControlWindowList.h"
#include "framework/controls/DialogBar.h"
#include "framework/controls/PartPaintManagers.h"
#include "framework/controls/ToolTipGradientToolTip.h"
#include "framework/controls/ToolTipHtmlToolTip.h"
#include "framework/controls/ToolTipMarkupToolTip.h"
#include "framework/controls/ToolTipRichTextToolTip.h"
#include "framework/foundation/ToolTipContext.h"

namespace {

template <class Control> COSMControl* CreateControl()
{
    return static_cast<COSMControl*>(Control::CreateObject());
}

template <class Painter> COSMPartPaintManager* CreatePainter(COSMPaintManager* owner)
{
    return new Painter(owner);
}

// The framework's tip window of each style.
CWnd* CreateFrameworkToolTipObject(COSMToolTipContext* context, int style)
{
    switch (style)
    {
    case COSMToolTipContext::kStyleFramework:
    case COSMToolTipContext::kStyleOffice2007Look:
        return new COSMToolTipContextToolTip(context);
    case COSMToolTipContext::kStyleRichText:
        return new COSMToolTipRichTextToolTip(context);
    case COSMToolTipContext::kStyleHtml:
        return new COSMToolTipHtmlToolTip(context);
    case COSMToolTipContext::kStyleGradient:
        return new COSMToolTipGradientToolTip(context);
    case COSMToolTipContext::kStyleMarkup:
        return new COSMToolTipMarkupToolTip(context);
    default:
        return nullptr;
    }
}

int CreateFrameworkToolTipWindow(CWnd* toolTip, CWnd* parent, DWORD style)
{
    auto* frameworkTip = dynamic_cast<COSMToolTipContextToolTip*>(toolTip);
    if (!frameworkTip)
        return -1;
    return frameworkTip->Create(parent, style) ? 1 : 0;
}

// Classes made only by name, when stored bars are loaded: named here (and kept by the compiler) so that every
// program that links the library keeps their runtime classes.
[[maybe_unused]] __attribute__((used)) const CRuntimeClass* const kClassesMadeByName[] = {
    RUNTIME_CLASS(COSMControlMarkupLabel),
    RUNTIME_CLASS(COSMControlBitmap),
    RUNTIME_CLASS(COSMControlHyperlink),
    RUNTIME_CLASS(COSMControlProgress),
    RUNTIME_CLASS(COSMControlSelector),
    RUNTIME_CLASS(COSMDialogBar),
    RUNTIME_CLASS(COSMControlComboBoxGalleryPopupBar),
    RUNTIME_CLASS(COSMControlGalleryItems),
};

// A right click in customize mode opens the open sheet's menu.
void TrackCustomizeSheetContextMenu(COSMCustomizeSheet* sheet, int x, int y)
{
    sheet->TrackContextMenu(x, y);
}

}  // namespace

extern "C" void OsmRegisterControls()
{
    COSMControlFactory::RegisterDefaultType(5, &CreateControl<COSMControlComboBox>);
    COSMControlFactory::RegisterDefaultType(6, &CreateControl<COSMControlEdit>);
    COSMControlFactory::RegisterDefaultType(COSMControlFactory::kTypeCustom, &CreateControl<COSMControlCustom>);
    COSMControlFactory::RegisterDefaultType(COSMControlFactory::kTypeGallery, &CreateControl<COSMControlGallery>);
    COSMControlFactory::RegisterDefaultType(COSMControlLabel::kType, &CreateControl<COSMControlLabel>);
    COSMControlFactory::RegisterDefaultType(COSMControlCheckBox::kType, &CreateControl<COSMControlCheckBox>);
    COSMControlFactory::RegisterDefaultType(COSMControlRadioButton::kType, &CreateControl<COSMControlRadioButton>);
    COSMControlFactory::RegisterDefaultListControl(COSMControlFactory::kWorkspaceActions,
                                                   &CreateControl<COSMControlWorkspaceActions>);
    COSMControlFactory::RegisterDefaultListControl(COSMControlFactory::kWindowList,
                                                   &CreateControl<COSMControlWindowList>);
    COSMControlFactory::RegisterDefaultListControl(COSMControlFactory::kRecentFileList,
                                                   &CreateControl<COSMControlRecentFileList>);
    COSMControlFactory::RegisterDefaultListControl(COSMControlFactory::kOleItems, &CreateControl<COSMControlOleItems>);
    COSMPaintManager::RegisterPartPainter(COSMPaintManager::kGalleryPainter,
                                          &CreatePainter<COSMControlGalleryPaintManager>);
    COSMPaintManager::RegisterPartPainter(COSMPaintManager::kSliderPainter, &CreatePainter<COSMSliderPaintManager>);
    COSMPaintManager::RegisterPartPainter(COSMPaintManager::kProgressPainter, &CreatePainter<COSMProgressPaintManager>);
    COSMToolTipWindowClasses toolTipWindows;
    toolTipWindows.pfnCreateObject = &CreateFrameworkToolTipObject;
    toolTipWindows.pfnCreateWindow = &CreateFrameworkToolTipWindow;
    COSMToolTipContext::RegisterToolTipWindows(toolTipWindows);
    COSMCustomizeDropSource::s_pfnTrackSheetContextMenu = &TrackCustomizeSheetContextMenu;
}

namespace {

// The registration runs once, while the program starts; the tables it fills are constant-initialised, so they are
// ready whatever order the libraries' initialisers run in.
[[maybe_unused]] const bool g_controlsRegistered = (OsmRegisterControls(), true);

}  // namespace
