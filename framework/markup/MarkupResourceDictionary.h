// Stand-in: the record only; the reader-and-builder work gives the dictionary its keyed store and lookups.
//
// COSMMarkupResourceDictionary holds the resources markup defines for an element and its descendants.
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupResourceDictionary : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupResourceDictionary)

public:
    COSMMarkupResourceDictionary() = default;
};
