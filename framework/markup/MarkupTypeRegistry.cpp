#include "framework/markup/MarkupTypeRegistry.h"

#include "framework/foundation/ProcessService.h"
#include "framework/markup/MarkupBorder.h"
#include "framework/markup/MarkupRun.h"
#include "framework/markup/MarkupSpan.h"
#include "framework/markup/MarkupTextBlock.h"
#include "framework/markup/MarkupTextElement.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupCanvas.h"
#include "framework/markup/MarkupCollection.h"
#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupGradientStop.h"
#include "framework/markup/MarkupObjectProperty.h"
#include "framework/markup/MarkupPage.h"
#include "framework/markup/MarkupPoint.h"
#include "framework/markup/MarkupResourceDictionary.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupStyle.h"
#include "framework/markup/MarkupSystemColors.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupDefinition.h"
#include "framework/markup/MarkupDefinitionCollection.h"
#include "framework/markup/MarkupDockPanel.h"
#include "framework/markup/MarkupGrid.h"
#include "framework/markup/MarkupKeyboardNavigation.h"
#include "framework/markup/MarkupUniformGrid.h"
#include "framework/markup/MarkupWrapPanel.h"
#include "framework/markup/MarkupEllipse.h"
#include "framework/markup/MarkupLine.h"
#include "framework/markup/MarkupPath.h"
#include "framework/markup/MarkupPathGeometry.h"
#include "framework/markup/MarkupPointCollection.h"
#include "framework/markup/MarkupPolygon.h"
#include "framework/markup/MarkupRectangle.h"
#include "framework/markup/MarkupSetter.h"
#include "framework/markup/MarkupTrigger.h"

// Controls and image.
#include "framework/markup/MarkupButton.h"
#include "framework/markup/MarkupCheckBox.h"
#include "framework/markup/MarkupImage.h"
#include "framework/markup/MarkupRadioButton.h"

// Scroll bars and the scroll viewer.
#include "framework/markup/MarkupScrollBar.h"
#include "framework/markup/MarkupScrollBarGripper.h"
#include "framework/markup/MarkupScrollViewer.h"

#include <cwchar>

namespace {

// Every class of the markup library that has a record. Naming them here keeps each class's file in a statically
// linked program that names none of them itself, and with the file the static initialiser that registers it.
COSMMarkupType* (*const kLibraryTypes[])() = {
    &COSMMarkupObject::GetClassType,
    &COSMMarkupType::GetClassType,
    &COSMMarkupDependencyProperty::GetClassType,
    &COSMMarkupThickness::GetClassType,
    &COSMMarkupInt::GetClassType,
    &COSMMarkupDouble::GetClassType,
    &COSMMarkupEnum::GetClassType,
    &COSMMarkupBool::GetClassType,
    &COSMMarkupColor::GetClassType,
    &COSMMarkupString::GetClassType,
    &COSMMarkupCollection::GetClassType,
    &COSMMarkupBrush::GetClassType,
    &COSMMarkupSolidColorBrush::GetClassType,
    &COSMMarkupPoint::GetClassType,
    &COSMMarkupGradientStop::GetClassType,
    &COSMMarkupGradientStops::GetClassType,
    &COSMMarkupLinearGradientBrush::GetClassType,
    &COSMMarkupColorKey::GetClassType,
    &COSMMarkupBrushKey::GetClassType,
    &COSMMarkupResourceDictionary::GetClassType,
    &COSMMarkupStyle::GetClassType,
    &COSMMarkupInputElement::GetClassType,
    &COSMMarkupVisual::GetClassType,
    &COSMMarkupUIElement::GetClassType,
    &COSMMarkupFrameworkElement::GetClassType,
    &COSMMarkupBorder::GetClassType,
    &COSMMarkupPanel::GetClassType,
    &COSMMarkupCanvas::GetClassType,
    &COSMMarkupPage::GetClassType,
    &COSMMarkupObjectProperty::GetClassType,
    &COSMMarkupKeyboardNavigation::GetClassType,
    &COSMMarkupStackPanel::GetClassType,
    &COSMMarkupWrapPanel::GetClassType,
    &COSMMarkupDockPanel::GetClassType,
    &COSMMarkupUniformGrid::GetClassType,
    &COSMMarkupGridLength::GetClassType,
    &COSMMarkupDefinitionBase::GetClassType,
    &COSMMarkupColumnDefinition::GetClassType,
    &COSMMarkupRowDefinition::GetClassType,
    &COSMMarkupDefinitionCollection::GetClassType,
    &COSMMarkupColumnDefinitionCollection::GetClassType,
    &COSMMarkupRowDefinitionCollection::GetClassType,
    &COSMMarkupGrid::GetClassType,
    &COSMMarkupPathGeometry::GetClassType,
    &COSMMarkupPointCollection::GetClassType,
    &COSMMarkupShape::GetClassType,
    &COSMMarkupPolygon::GetClassType,
    &COSMMarkupPolyline::GetClassType,
    &COSMMarkupRectangle::GetClassType,
    &COSMMarkupEllipse::GetClassType,
    &COSMMarkupLine::GetClassType,
    &COSMMarkupPath::GetClassType,
    &COSMMarkupFrameworkContentElement::GetClassType,
    &COSMMarkupTextElement::GetClassType,
    &COSMMarkupInline::GetClassType,
    &COSMMarkupInlineCollection::GetClassType,
    &COSMMarkupRun::GetClassType,
    &COSMMarkupLineBreak::GetClassType,
    &COSMMarkupSpan::GetClassType,
    &COSMMarkupBold::GetClassType,
    &COSMMarkupItalic::GetClassType,
    &COSMMarkupUnderline::GetClassType,
    &COSMMarkupHyperlink::GetClassType,
    &COSMMarkupInlineUIContainer::GetClassType,
    &COSMMarkupTextBlock::GetClassType,
    // Styles' setters and triggers.
    &COSMMarkupSetter::GetClassType,
    &COSMMarkupSetterColection::GetClassType,
    &COSMMarkupTrigger::GetClassType,
    &COSMMarkupTriggerCollection::GetClassType,

    // Controls and image.
    &COSMMarkupControl::GetClassType,
    &COSMMarkupContentControl::GetClassType,
    &COSMMarkupButtonBase::GetClassType,
    &COSMMarkupButton::GetClassType,
    &COSMMarkupToggleButton::GetClassType,
    &COSMMarkupCheckBox::GetClassType,
    &COSMMarkupRadioButton::GetClassType,
    &COSMMarkupImage::GetClassType,

    // Scroll bars and the scroll viewer.
    &COSMMarkupScrollBar::GetClassType,
    &COSMMarkupScrollBarGripper::GetClassType,
    &COSMMarkupScrollViewer::GetClassType,
};

}  // namespace

bool COSMMarkupTagKey::operator==(const COSMMarkupTagKey& other) const
{
    return wcscmp(text, other.text) == 0;
}

template <> UINT HashKey<const COSMMarkupTagKey&>(const COSMMarkupTagKey& key)
{
    return HashMarkupText(key.text);
}

COSMMarkupTypeRegistry::COSMMarkupTypeRegistry()
{
    m_tags.InitHashTable(17);
}

COSMMarkupTypeRegistry::~COSMMarkupTypeRegistry()
{
    m_tags.RemoveAll();
    while (COSMMarkupType* type = m_pFirstType)
    {
        m_pFirstType = type->GetNextType();
        type->Release();
    }
}

void COSMMarkupTypeRegistry::Add(LPCWSTR tag, COSMMarkupType* type)
{
    if (tag && tag[0])
        m_tags.SetAt(COSMMarkupTagKey{tag}, type);
    type->SetNextType(m_pFirstType);
    m_pFirstType = type;
}

COSMMarkupType* COSMMarkupTypeRegistry::Lookup(LPCWSTR tag) const
{
    COSMMarkupType* type = nullptr;
    if (!tag || !m_tags.Lookup(COSMMarkupTagKey{tag}, type))
        return nullptr;
    return type;
}

COSMMarkupTypeRegistry* GetMarkupTypeRegistry()
{
    return OsmProcessService<COSMMarkupTypeRegistry>();
}

void InitializeRegisteredMarkupTypes()
{
    // Called from another file's static initialiser, this may run before some of the library's own: asking for
    // each record makes sure it exists.
    for (COSMMarkupType* (*pfnGetType)() : kLibraryTypes)
        pfnGetType();
    for (COSMMarkupType* type = GetMarkupTypeRegistry()->GetFirstType(); type; type = type->GetNextType())
        type->EnsureInitialized();
}

void InitializeMarkupTypesOnce()
{
    static bool s_bInitialized = false;
    if (s_bInitialized)
        return;
    s_bInitialized = true;
    InitializeRegisteredMarkupTypes();
}
