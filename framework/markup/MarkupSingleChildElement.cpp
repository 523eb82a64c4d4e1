#include "framework/markup/MarkupSingleChildElement.h"

#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupType.h"

namespace {

// The builder's checks on content: it must be a UI element, and the element may have no child yet.
COSMMarkupUIElement* CheckContent(const COSMMarkupObject* owner, COSMMarkupObject* content, BOOL hasChild)
{
    LPCWSTR ownerClass = owner->GetType()->GetMarkupClassName();
    LPCWSTR contentClass = content ? content->GetType()->GetMarkupClassName() : L"";
    COSMMarkupUIElement* element = MarkupDynamicCast<COSMMarkupUIElement>(content);
    if (!element) {
        COSMMarkupBuilder::ThrowBuilderException(FormatMarkupMessage2(
            "'%ls' object cannot be added to '%ls'. Object cannot be converted to type 'COSMMarkupUIElement'",
            contentClass, ownerClass));
    }
    if (hasChild) {
        COSMMarkupBuilder::ThrowBuilderException(FormatMarkupMessage3(
            "'%ls' already has a child and cannot add '%ls'. '%ls' can accept only one child.", ownerClass,
            contentClass, ownerClass));
    }
    return element;
}

}  // namespace

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
