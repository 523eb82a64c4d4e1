#include "framework/markup/MarkupUIElementCollection.h"

#include "framework/markup/MarkupUIElement.h"

COSMMarkupUIElementCollection::COSMMarkupUIElementCollection()
{
    SetElementType(COSMMarkupUIElement::GetClassType());
}

COSMMarkupUIElement* COSMMarkupUIElementCollection::GetElement(int index) const
{
    return MarkupDynamicCast<COSMMarkupUIElement>(GetItem(index));
}
