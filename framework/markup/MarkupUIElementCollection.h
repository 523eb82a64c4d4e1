// COSMMarkupUIElementCollection: the children of a panel, a typed collection that takes only UI elements (it has no
// type record of its own, so messages name it 'COSMMarkupCollection').
#pragma once

#include "framework/markup/MarkupCollection.h"

class COSMMarkupUIElement;

class COSMMarkupUIElementCollection : public COSMMarkupCollection
{
public:
    COSMMarkupUIElementCollection();

    // The item at index as a UI element, or null (outside the collection, or an empty slot).
    COSMMarkupUIElement* GetElement(int index) const;
};
