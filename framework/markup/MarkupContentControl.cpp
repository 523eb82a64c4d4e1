#include "framework/markup/MarkupContentControl.h"

#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupSingleChildElement.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupTextBlock.h"
#include "framework/markup/MarkupTextElement.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupContentControl, COSMMarkupControl, nullptr,
                      &COSMMarkupContentControl::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupContentControl::s_pContentProperty = nullptr;

namespace {

// A text block holding one run of text, made through context (a bare one without a context).
COSMMarkupTextBlock* MakeTextBlock(COSMMarkupContext* context, const COSMMarkupString* text)
{
    COSMMarkupObject* made = context ? context->CreateObject(COSMMarkupTextBlock::GetClassType())
                                     : COSMMarkupTextBlock::GetClassType()->CreateInstance();
    COSMMarkupTextBlock* block = MarkupDynamicCast<COSMMarkupTextBlock>(made);
    if (block)
        block->GetInlines()->AddText(text->GetText(), text->GetLength());
    return block;
}

}  // namespace

COSMMarkupObject* ConvertContentText(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    if (const COSMMarkupString* text = MarkupDynamicCast<COSMMarkupString>(value))
        return MakeTextBlock(builder ? builder->GetContext() : nullptr, text);
    if (value)
        value->AddRef();
    return value;
}

void COSMMarkupContentControl::RegisterMarkupProperties()
{
    s_pContentProperty = COSMMarkupDependencyProperty::Register(
        L"Content", COSMMarkupUIElement::GetClassType(), GetClassType(),
        new COSMMarkupPropertyMetadata(nullptr, ConvertContentText, COSMMarkupPropertyMetadata::AffectsMeasure));
}

COSMMarkupContentControl::~COSMMarkupContentControl()
{
    if (COSMMarkupUIElement* content = GetContent())
    {
        if (content->GetLogicalParent() == this)
            content->SetLogicalParent(nullptr);
    }
}

COSMMarkupUIElement* COSMMarkupContentControl::GetContent() const
{
    return MarkupDynamicCast<COSMMarkupUIElement>(GetValue(s_pContentProperty));
}

void COSMMarkupContentControl::SetContent(COSMMarkupUIElement* content)
{
    SetValue(s_pContentProperty, content);
}

BOOL COSMMarkupContentControl::HasContentObject() const
{
    return GetContent() != nullptr;
}

void COSMMarkupContentControl::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    if (HasContentObject())
        ThrowMarkupChildTaken(this, content);
    if (const COSMMarkupString* text = MarkupDynamicCast<COSMMarkupString>(content))
    {
        COSMMarkupTextBlock* block = MakeTextBlock(builder ? builder->GetContext() : GetMarkupContext(), text);
        content->Release();
        SetContent(block);
        return;
    }
    COSMMarkupUIElement* element = MarkupDynamicCast<COSMMarkupUIElement>(content);
    if (!element)
        ThrowMarkupChildNotElement(this, content);
    SetContent(element);
}

void COSMMarkupContentControl::OnPropertyChanged(COSMMarkupDependencyProperty* property, COSMMarkupObject* oldValue,
                                                 COSMMarkupObject* newValue)
{
    if (property == s_pContentProperty)
    {
        if (oldValue && oldValue->GetLogicalParent() == this)
            oldValue->SetLogicalParent(nullptr);
        if (newValue)
            newValue->SetLogicalParent(this);
    }
    COSMMarkupControl::OnPropertyChanged(property, oldValue, newValue);
}

int COSMMarkupContentControl::GetVisualChildrenCount() const
{
    return GetContent() ? 1 : 0;
}

COSMMarkupVisual* COSMMarkupContentControl::GetVisualChild(int index) const
{
    return index == 0 ? GetContent() : nullptr;
}
