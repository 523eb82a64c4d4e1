// COSMMarkupResourceLookup: how the builder finds the resource a {StaticResource key} or {DynamicResource key}
// names. The key is text ("{}" before it keeps braces literal) or itself an extension ({x:Static ...BrushKey}). The
// search follows the builder's open elements from the innermost outward: an element or a style is searched with
// FindMarkupResource, an open property element in the value it holds so far (the dictionary being filled), so a
// resource must be declared in an ancestor, or earlier in the same open dictionary, before it is used. A system
// colour or brush key that no dictionary holds gives that system colour or brush. It keeps no state.
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupResourceLookup
{
public:
    // The resource for keyText, one reference for the caller. Throws "Cannot find resource named '<key>'. Resource
    // names are case sensitive" when there is none.
    COSMMarkupObject* ProvideValue(COSMMarkupBuilder* builder, LPCWSTR keyText);
};
