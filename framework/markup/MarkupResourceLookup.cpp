#include "framework/markup/MarkupResourceLookup.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupInputElement.h"
#include "framework/markup/MarkupObjectProperty.h"
#include "framework/markup/MarkupResourceDictionary.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupStyle.h"
#include "framework/markup/MarkupSystemColors.h"
#include "framework/markup/MarkupType.h"

namespace {

// The key keyText stands for, one reference for the caller.
COSMMarkupObject* CreateKey(COSMMarkupBuilder* builder, LPCWSTR keyText)
{
    if (keyText[0] == L'{' && keyText[1] == L'}')
        return COSMMarkupString::CreateValue(keyText + 2, -1);
    if (keyText[0] == L'{')
        return builder->ParseMarkupExtension(keyText + 1);
    return COSMMarkupString::CreateValue(keyText, -1);
}

// The resource under key that object offers, or null (borrowed). Elements and styles carry Resources; an open
// property element offers the value it holds so far.
COSMMarkupObject* FindInOpenElement(COSMMarkupObject* object, const COSMMarkupObject* key)
{
    if (const COSMMarkupObjectProperty* propertyElement = MarkupDynamicCast<COSMMarkupObjectProperty>(object))
        return propertyElement->GetHeldValue() ? FindMarkupResource(propertyElement->GetHeldValue(), key) : nullptr;
    if (MarkupDynamicCast<COSMMarkupInputElement>(object) || MarkupDynamicCast<COSMMarkupStyle>(object))
        return FindMarkupResource(object, key);
    return nullptr;
}

}  // namespace

COSMMarkupObject* COSMMarkupResourceLookup::ProvideValue(COSMMarkupBuilder* builder, LPCWSTR keyText)
{
    while (*keyText == L' ' || *keyText == L'\n' || *keyText == L'\r')
        ++keyText;
    const auto key = RefPtr<COSMMarkupObject>::Adopt(CreateKey(builder, keyText));
    if (key)
    {
        // Past a style too: a setter's reference finds the style's resources, then what encloses the style.
        for (int i = builder->GetOpenElementCount() - 1; i >= 0; --i)
        {
            if (COSMMarkupObject* found = FindInOpenElement(builder->GetOpenElement(i), key.Get()))
            {
                found->AddRef();
                return found;
            }
        }
        if (const COSMMarkupColorKey* colorKey = MarkupDynamicCast<COSMMarkupColorKey>(key.Get()))
            return builder->GetSystemColors()->GetColorByIndex(colorKey->GetIndex());
        if (const COSMMarkupBrushKey* brushKey = MarkupDynamicCast<COSMMarkupBrushKey>(key.Get()))
            return builder->GetSystemColors()->GetBrushByIndex(brushKey->GetIndex());
    }
    COSMMarkupBuilder::ThrowBuilderException(
        FormatMarkupMessage1("Cannot find resource named '%ls'. Resource names are case sensitive", keyText));
}
