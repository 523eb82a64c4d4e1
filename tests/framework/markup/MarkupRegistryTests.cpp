// The type registry as a program sees it that names no markup class: every record registered at start-up is there,
// by tag for the tagged ones, with its class name and base, whatever order the library's files were linked and
// initialised in. Nothing here initialises the types: the records must exist from the static initialisers alone.
#include "framework/markup/MarkupTypeRegistry.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

struct RegisteredType
{
    LPCWSTR className;
    LPCWSTR tag;            // null: untagged
    LPCWSTR baseClassName;  // null: the root
};

// Every markup class registered so far.
const RegisteredType kStartupTypes[] = {
    {L"COSMMarkupObject", nullptr, nullptr},
    {L"COSMMarkupType", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupDependencyProperty", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupThickness", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupInt", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupDouble", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupEnum", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupBool", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupColor", L"Color", L"COSMMarkupObject"},
    {L"COSMMarkupString", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupCollection", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupBrush", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupSolidColorBrush", L"SolidColorBrush", L"COSMMarkupBrush"},
    {L"COSMMarkupPoint", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupGradientStop", L"GradientStop", L"COSMMarkupObject"},
    {L"COSMMarkupGradientStops", L"", L"COSMMarkupCollection"},
    {L"COSMMarkupLinearGradientBrush", L"LinearGradientBrush", L"COSMMarkupBrush"},
    {L"COSMMarkupColorKey", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupBrushKey", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupResourceDictionary", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupStyle", L"Style", L"COSMMarkupObject"},
    {L"COSMMarkupInputElement", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupVisual", nullptr, L"COSMMarkupInputElement"},
    {L"COSMMarkupUIElement", nullptr, L"COSMMarkupVisual"},
    {L"COSMMarkupFrameworkElement", L"FrameworkElement", L"COSMMarkupUIElement"},
    {L"COSMMarkupBorder", L"Border", L"COSMMarkupFrameworkElement"},
    {L"COSMMarkupPanel", L"Panel", L"COSMMarkupFrameworkElement"},
    {L"COSMMarkupCanvas", L"Canvas", L"COSMMarkupPanel"},
    {L"COSMMarkupPage", L"Page", L"COSMMarkupFrameworkElement"},
    {L"COSMMarkupObjectProperty", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupKeyboardNavigation", L"KeyboardNavigation", L"COSMMarkupObject"},
    {L"COSMMarkupStackPanel", L"StackPanel", L"COSMMarkupPanel"},
    {L"COSMMarkupWrapPanel", L"WrapPanel", L"COSMMarkupPanel"},
    {L"COSMMarkupDockPanel", L"DockPanel", L"COSMMarkupPanel"},
    {L"COSMMarkupUniformGrid", L"UniformGrid", L"COSMMarkupPanel"},
    {L"COSMMarkupGridLength", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupDefinitionBase", L"DefinitionBase", L"COSMMarkupObject"},
    {L"COSMMarkupColumnDefinition", L"ColumnDefinition", L"COSMMarkupDefinitionBase"},
    {L"COSMMarkupRowDefinition", L"RowDefinition", L"COSMMarkupDefinitionBase"},
    {L"COSMMarkupDefinitionCollection", nullptr, L"COSMMarkupCollection"},
    {L"COSMMarkupColumnDefinitionCollection", nullptr, L"COSMMarkupDefinitionCollection"},
    {L"COSMMarkupRowDefinitionCollection", nullptr, L"COSMMarkupDefinitionCollection"},
    {L"COSMMarkupGrid", L"Grid", L"COSMMarkupPanel"},
    {L"COSMMarkupPathGeometry", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupPointCollection", nullptr, L"COSMMarkupObject"},
    {L"COSMMarkupShape", L"Shape", L"COSMMarkupFrameworkElement"},
    {L"COSMMarkupPolygon", L"Polygon", L"COSMMarkupShape"},
    {L"COSMMarkupPolyline", L"Polyline", L"COSMMarkupShape"},
    {L"COSMMarkupRectangle", L"Rectangle", L"COSMMarkupShape"},
    {L"COSMMarkupEllipse", L"Ellipse", L"COSMMarkupShape"},
    {L"COSMMarkupLine", L"Line", L"COSMMarkupShape"},
    {L"COSMMarkupPath", L"Path", L"COSMMarkupShape"},
    {L"COSMMarkupFrameworkContentElement", L"FrameworkContentElement", L"COSMMarkupInputElement"},
    {L"COSMMarkupTextElement", L"TextElement", L"COSMMarkupFrameworkContentElement"},
    {L"COSMMarkupInline", nullptr, L"COSMMarkupTextElement"},
    {L"COSMMarkupInlineCollection", nullptr, L"COSMMarkupCollection"},
    {L"COSMMarkupRun", L"Run", L"COSMMarkupInline"},
    {L"COSMMarkupLineBreak", L"LineBreak", L"COSMMarkupRun"},
    {L"COSMMarkupSpan", L"Span", L"COSMMarkupInline"},
    {L"COSMMarkupBold", L"Bold", L"COSMMarkupSpan"},
    {L"COSMMarkupItalic", L"Italic", L"COSMMarkupSpan"},
    {L"COSMMarkupUnderline", L"Underline", L"COSMMarkupSpan"},
    {L"COSMMarkupHyperlink", L"Hyperlink", L"COSMMarkupSpan"},
    {L"COSMMarkupInlineUIContainer", L"InlineUIContainer", L"COSMMarkupInline"},
    {L"COSMMarkupTextBlock", L"TextBlock", L"COSMMarkupFrameworkElement"},
    // Styles' setters and triggers.
    {L"COSMMarkupSetter", L"Setter", L"COSMMarkupObject"},
    {L"COSMMarkupSetterColection", nullptr, L"COSMMarkupCollection"},
    {L"COSMMarkupTrigger", L"Trigger", L"COSMMarkupObject"},
    {L"COSMMarkupTriggerCollection", nullptr, L"COSMMarkupCollection"},

    // Controls and image.
    {L"COSMMarkupControl", L"Control", L"COSMMarkupFrameworkElement"},
    {L"COSMMarkupContentControl", nullptr, L"COSMMarkupControl"},
    {L"COSMMarkupButtonBase", nullptr, L"COSMMarkupContentControl"},
    {L"COSMMarkupButton", L"Button", L"COSMMarkupButtonBase"},
    {L"COSMMarkupToggleButton", nullptr, L"COSMMarkupButtonBase"},
    {L"COSMMarkupCheckBox", L"CheckBox", L"COSMMarkupToggleButton"},
    {L"COSMMarkupRadioButton", L"RadioButton", L"COSMMarkupToggleButton"},
    {L"COSMMarkupImage", L"Image", L"COSMMarkupFrameworkElement"},

    // Scroll bars and the scroll viewer.
    {L"COSMMarkupScrollBar", nullptr, L"COSMMarkupControl"},
    {L"COSMMarkupScrollBarGripper", nullptr, L"COSMMarkupUIElement"},
    {L"COSMMarkupScrollViewer", L"ScrollViewer", L"COSMMarkupContentControl"},
};

std::wstring Text(LPCWSTR text)
{
    return text ? std::wstring(L"\"") + text + L"\"" : L"(null)";
}

}  // namespace

TEST(MarkupRegistryTest, EveryStartupTypeIsRegisteredOnceWithItsTagAndBase)
{
    std::map<std::wstring, const COSMMarkupType*> byClass;
    for (const COSMMarkupType* type = GetMarkupTypeRegistry()->GetFirstType(); type; type = type->GetNextType())
    {
        ASSERT_NE(nullptr, type->GetMarkupClassName());
        EXPECT_TRUE(byClass.emplace(type->GetMarkupClassName(), type).second)
            << "registered twice: " << testing::PrintToString(std::wstring(type->GetMarkupClassName()));
    }
    EXPECT_EQ(sizeof kStartupTypes / sizeof kStartupTypes[0], byClass.size());

    for (const RegisteredType& expected : kStartupTypes)
    {
        const auto found = byClass.find(expected.className);
        ASSERT_NE(byClass.end(), found) << "missing: " << testing::PrintToString(std::wstring(expected.className));
        const COSMMarkupType* type = found->second;
        EXPECT_EQ(Text(expected.tag), Text(type->GetTag())) << testing::PrintToString(std::wstring(expected.className));
        const COSMMarkupType* base = type->GetBaseType();
        EXPECT_EQ(Text(expected.baseClassName), Text(base ? base->GetMarkupClassName() : nullptr))
            << testing::PrintToString(std::wstring(expected.className));
        if (expected.tag && expected.tag[0])
        {
            EXPECT_EQ(type, GetMarkupTypeRegistry()->Lookup(expected.tag));
        }
    }
}

TEST(MarkupRegistryTest, RecordsAreNotInitialisedBeforeTheFirstContext)
{
    for (const COSMMarkupType* type = GetMarkupTypeRegistry()->GetFirstType(); type; type = type->GetNextType())
        EXPECT_FALSE(type->IsInitialized()) << testing::PrintToString(std::wstring(type->GetMarkupClassName()));
}
