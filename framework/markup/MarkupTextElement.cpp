#include "framework/markup/MarkupTextElement.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupConverters.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupFrameworkElement.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupRun.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupSpan.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupUIElement.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupFrameworkContentElement, COSMMarkupInputElement, L"FrameworkContentElement",
                      &COSMMarkupFrameworkContentElement::RegisterMarkupProperties)
IMPLEMENT_MARKUP_TYPE(COSMMarkupTextElement, COSMMarkupFrameworkContentElement, L"TextElement",
                      &COSMMarkupTextElement::RegisterMarkupProperties)
IMPLEMENT_MARKUP_TYPE(COSMMarkupInline, COSMMarkupTextElement, nullptr, &COSMMarkupInline::RegisterMarkupProperties)
IMPLEMENT_MARKUP_TYPE(COSMMarkupInlineCollection, COSMMarkupCollection, nullptr, nullptr)

COSMMarkupDependencyProperty* COSMMarkupTextElement::s_pBackgroundProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupTextElement::s_pForegroundProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupTextElement::s_pFontSizeProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupTextElement::s_pFontWeightProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupTextElement::s_pFontFamilyProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupTextElement::s_pFontStyleProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupTextElement::s_pTextDecorationsProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupTextElement::s_pFontQualityProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupInline::s_pBaselineAlignmentProperty = nullptr;

namespace {

using Metadata = COSMMarkupPropertyMetadata;

COSMMarkupDependencyProperty* RegisterText(LPCWSTR name, COSMMarkupType* valueType, Metadata::Converter converter,
                                           DWORD flags)
{
    return COSMMarkupDependencyProperty::RegisterAttached(name, valueType, COSMMarkupTextElement::GetClassType(),
                                                          new Metadata(nullptr, converter, flags | Metadata::Inherits));
}

}  // namespace

// ---- COSMMarkupFrameworkContentElement ---------------------------------------------------------------------------

void COSMMarkupFrameworkContentElement::RegisterMarkupProperties()
{
    COSMMarkupFrameworkElement::GetClassType()->EnsureInitialized();
    COSMMarkupFrameworkElement::s_pTagProperty->AddOwner(GetClassType());
}

void COSMMarkupFrameworkContentElement::OnPropertyChanged(COSMMarkupDependencyProperty* property,
                                                          COSMMarkupObject* oldValue, COSMMarkupObject* newValue)
{
    COSMMarkupInputElement::OnPropertyChanged(property, oldValue, newValue);
    ApplyStyleValues(property, newValue);
    const DWORD flags = property && property->GetMetadata() ? property->GetMetadata()->GetFlags() : 0;
    COSMMarkupFrameworkElement* host = GetHostElement();
    if (!host)
        return;
    if (flags & Metadata::AffectsMeasure)
        host->InvalidateMeasure();
    if (flags & Metadata::AffectsArrange)
        host->InvalidateArrange();
    if (flags & Metadata::AffectsRender)
        host->InvalidateVisual();
}

COSMMarkupInputElement* COSMMarkupFrameworkContentElement::InputHitTest(int x, int y)
{
    return this;
}

COSMMarkupFrameworkElement* COSMMarkupFrameworkContentElement::GetHostElement() const
{
    for (COSMMarkupObject* object = GetLogicalParent(); object; object = object->GetLogicalParent())
    {
        if (COSMMarkupFrameworkElement* element = MarkupDynamicCast<COSMMarkupFrameworkElement>(object))
            return element;
    }
    return nullptr;
}

// ---- COSMMarkupTextElement ---------------------------------------------------------------------------------------

void COSMMarkupTextElement::RegisterMarkupProperties()
{
    COSMMarkupType* brush = COSMMarkupBrush::GetClassType();
    COSMMarkupType* enumeration = COSMMarkupEnum::GetClassType();
    s_pBackgroundProperty = RegisterText(L"Background", brush, nullptr, Metadata::AffectsRender);
    s_pForegroundProperty = RegisterText(L"Foreground", brush, nullptr, Metadata::AffectsRender);
    s_pFontSizeProperty =
        RegisterText(L"FontSize", COSMMarkupInt::GetClassType(), ConvertMarkupLength, Metadata::AffectsMeasure);
    s_pFontWeightProperty = RegisterText(L"FontWeight", enumeration, ConvertFontWeight, Metadata::AffectsMeasure);
    s_pFontFamilyProperty =
        RegisterText(L"FontFamily", COSMMarkupString::GetClassType(), nullptr, Metadata::AffectsMeasure);
    s_pFontStyleProperty = RegisterText(L"FontStyle", enumeration, ConvertFontStyle, Metadata::AffectsMeasure);
    s_pTextDecorationsProperty =
        RegisterText(L"TextDecorations", enumeration, ConvertTextDecorations, Metadata::AffectsRender);
    s_pFontQualityProperty = RegisterText(L"FontQuality", enumeration, ConvertFontQuality, Metadata::AffectsRender);
}

void COSMMarkupTextElement::SetFontWeight(int weight)
{
    SetValue(s_pFontWeightProperty, COSMMarkupEnum::CreateValue(weight));
}

void COSMMarkupTextElement::SetFontStyle(int style)
{
    SetValue(s_pFontStyleProperty, COSMMarkupEnum::CreateValue(style));
}

void COSMMarkupTextElement::SetTextDecorations(int decorations)
{
    SetValue(s_pTextDecorationsProperty, COSMMarkupEnum::CreateValue(decorations));
}

COSMMarkupBrush* COSMMarkupTextElement::GetBackground() const
{
    return MarkupDynamicCast<COSMMarkupBrush>(GetValue(s_pBackgroundProperty));
}

COSMMarkupBrush* COSMMarkupTextElement::GetForeground() const
{
    return MarkupDynamicCast<COSMMarkupBrush>(GetValue(s_pForegroundProperty));
}

// ---- COSMMarkupInline --------------------------------------------------------------------------------------------

void COSMMarkupInline::RegisterMarkupProperties()
{
    s_pBaselineAlignmentProperty = COSMMarkupDependencyProperty::Register(
        L"BaselineAlignment", COSMMarkupEnum::GetClassType(), GetClassType(),
        new Metadata(nullptr, ConvertBaselineAlignment, Metadata::AffectsArrange));
}

COSMMarkupInline* COSMMarkupInline::GetFirstInline()
{
    return this;
}

INT_PTR COSMMarkupInline::GetFirstPosition()
{
    return -1;
}

void COSMMarkupInline::GetNextPosition(INT_PTR& position)
{
    position = 0;
}

BOOL COSMMarkupInline::IsWhiteSpace(INT_PTR position)
{
    return FALSE;
}

BOOL COSMMarkupInline::IsLineBreak(INT_PTR position)
{
    return FALSE;
}

BOOL COSMMarkupInline::IsBlank(INT_PTR position)
{
    return FALSE;
}

void COSMMarkupInline::Arrange(const RECT& rect, INT_PTR start, INT_PTR end) {}

CSize COSMMarkupInline::Measure(COSMMarkupDrawingContext* dc, INT_PTR start, INT_PTR end)
{
    return CSize(0, 0);
}

int COSMMarkupInline::MeasurePositions(COSMMarkupDrawingContext* dc, INT_PTR start, INT_PTR end, int maxCount,
                                       int* widths, int* height)
{
    return 0;
}

INT_PTR COSMMarkupInline::FitPosition(COSMMarkupDrawingContext* dc, INT_PTR start, INT_PTR end, int maxWidth)
{
    INT_PTR fit = start;
    while (fit != end && fit != -1 && fit != 0)
    {
        INT_PTR next = fit;
        GetNextPosition(next);
        if (next == 0 || Measure(dc, start, next).cx > maxWidth)
            break;
        fit = next;
    }
    return fit;
}

void COSMMarkupInline::Render(COSMMarkupDrawingContext* dc, const RECT& rect, INT_PTR start, INT_PTR end) {}

void COSMMarkupInline::PrepareFont(COSMMarkupDrawingContext* dc) {}

int COSMMarkupInline::GetDescent()
{
    return 0;
}

COSMMarkupInline* COSMMarkupInline::GetNextInline()
{
    COSMMarkupInlineCollection* collection = MarkupDynamicCast<COSMMarkupInlineCollection>(GetLogicalParent());
    if (!collection)
        return nullptr;
    if (COSMMarkupInline* next = collection->GetInline(m_nIndex + 1))
        return next->GetFirstInline();
    if (COSMMarkupSpan* span = MarkupDynamicCast<COSMMarkupSpan>(collection->GetLogicalParent()))
        return span->GetNextInline();
    return nullptr;
}

int COSMMarkupInline::GetBaselineAlignment() const
{
    const COSMMarkupEnum* value = MarkupDynamicCast<COSMMarkupEnum>(GetValue(s_pBaselineAlignmentProperty));
    return value ? value->GetValue() : 3;
}

// ---- COSMMarkupInlineCollection ----------------------------------------------------------------------------------

COSMMarkupInlineCollection::COSMMarkupInlineCollection()
{
    SetElementType(COSMMarkupInline::GetClassType());
    SetOwnsChildren(TRUE);
}

void COSMMarkupInlineCollection::OnItemAdded(COSMMarkupObject* item, int index)
{
    // An insertion moves the later inlines on by one.
    for (int i = index; i < GetCount(); ++i)
    {
        if (COSMMarkupInline* inlineItem = GetInline(i))
            inlineItem->SetIndex(i);
    }
}

COSMMarkupInline* COSMMarkupInlineCollection::GetInline(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return MarkupDynamicCast<COSMMarkupInline>(GetItem(index));
}

COSMMarkupInline* COSMMarkupInlineCollection::AddText(LPCWSTR text, int length)
{
    COSMMarkupInputElement* owner = MarkupDynamicCast<COSMMarkupInputElement>(GetLogicalParent());
    COSMMarkupContext* context = owner ? owner->GetMarkupContext() : nullptr;
    if (!context)
        return nullptr;
    COSMMarkupRun* run = MarkupDynamicCast<COSMMarkupRun>(context->CreateObject(COSMMarkupRun::GetClassType()));
    if (!run)
        return nullptr;
    run->SetValue(COSMMarkupRun::s_pTextProperty, new COSMMarkupString(text, length));
    Add(run);
    return run;
}

void COSMMarkupInlineCollection::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    COSMMarkupInputElement* owner = MarkupDynamicCast<COSMMarkupInputElement>(GetLogicalParent());
    COSMMarkupContext* context = owner ? owner->GetMarkupContext() : nullptr;
    LPCWSTR contentClass = content ? content->GetType()->GetMarkupClassName() : L"";
    const auto refuse = [&] {
        COSMMarkupBuilder::ThrowBuilderException(FormatMarkupMessage2(
            "'%ls' object cannot be added to '%ls'. Object cannot be converted to type 'COSMMarkupInline'",
            contentClass, GetType()->GetMarkupClassName()));
    };
    if (!owner)
        refuse();
    if (COSMMarkupString* text = MarkupDynamicCast<COSMMarkupString>(content))
    {
        if (!AddText(text->GetText(), text->GetLength()))
            refuse();
        text->Release();
        return;
    }
    if (MarkupDynamicCast<COSMMarkupInline>(content))
    {
        Add(content);
        return;
    }
    if (COSMMarkupUIElement* element = MarkupDynamicCast<COSMMarkupUIElement>(content))
    {
        COSMMarkupInlineUIContainer* container =
            context ? MarkupDynamicCast<COSMMarkupInlineUIContainer>(
                          context->CreateObject(COSMMarkupInlineUIContainer::GetClassType()))
                    : nullptr;
        if (!container)
            refuse();
        container->SetChild(element);
        Add(container);
        return;
    }
    refuse();
}
