#include "framework/markup/MarkupSingleChildElement.h"

#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupType.h"

namespace {

LPCWSTR ClassNameOf(const COSMMarkupObject* object)
{
    return object ? object->GetType()->GetMarkupClassName() : L"";
}

// The builder's checks on content: it must be a UI element, and the element may have no child yet.
COSMMarkupUIElement* CheckContent(const COSMMarkupObject* owner, COSMMarkupObject* content, BOOL hasChild)
{
    COSMMarkupUIElement* element = MarkupDynamicCast<COSMMarkupUIElement>(content);
    if (!element)
        ThrowMarkupChildNotElement(owner, content);
    if (hasChild)
        ThrowMarkupChildTaken(owner, content);
    return element;
}

}  // namespace

void ThrowMarkupChildTaken(const COSMMarkupObject* owner, const COSMMarkupObject* content)
{
    COSMMarkupBuilder::ThrowBuilderException(
        FormatMarkupMessage3("'%ls' already has a child and cannot add '%ls'. '%ls' can accept only one child.",
                             ClassNameOf(owner), ClassNameOf(content), ClassNameOf(owner)));
}

void ThrowMarkupChildNotElement(const COSMMarkupObject* owner, const COSMMarkupObject* content)
{
    COSMMarkupBuilder::ThrowBuilderException(FormatMarkupMessage2(
        "'%ls' object cannot be added to '%ls'. Object cannot be converted to type 'COSMMarkupUIElement'",
        ClassNameOf(content), ClassNameOf(owner)));
}

COSMMarkupSingleChildElement::~COSMMarkupSingleChildElement()
{
    SetChild(nullptr);
}

void COSMMarkupSingleChildElement::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    SetChild(CheckContent(this, content, m_pChild != nullptr));
}

BOOL COSMMarkupSingleChildElement::HasContentObject() const
{
    return m_pChild != nullptr;
}

int COSMMarkupSingleChildElement::GetVisualChildrenCount() const
{
    return m_pChild ? 1 : 0;
}

COSMMarkupVisual* COSMMarkupSingleChildElement::GetVisualChild(int index) const
{
    return index == 0 ? m_pChild : nullptr;
}

void COSMMarkupSingleChildElement::SetChild(COSMMarkupUIElement* child)
{
    ReplaceMarkupChild(this, m_pChild, child);
}
