#include "framework/markup/MarkupBuilder.h"

#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupType.h"

COSMMarkupObject* COSMMarkupBuilder::ConvertValue(COSMMarkupDependencyProperty* property, COSMMarkupObject* value)
{
    const COSMMarkupPropertyMetadata* metadata = property->GetMetadata();
    if (metadata && metadata->GetConverter()) {
        if (COSMMarkupObject* converted = metadata->GetConverter()(this, value))
            return converted;
    }
    COSMMarkupType* valueType = property->GetValueType();
    // The value type converts text on a fresh default instance of itself.
    const COSMMarkupPtr instance(m_pContext ? m_pContext->CreateObject(valueType)
                                            : valueType ? valueType->CreateInstance() : nullptr);
    if (instance) {
        if (COSMMarkupObject* converted = instance->ConvertFrom(this, value))
            return converted;
    }
    ThrowBuilderException(FormatMarkupMessage2("Cannot convert string in attribute '%ls' to object of type '%ls'",
                                               property->GetName(),
                                               valueType ? valueType->GetMarkupClassName() : L""));
}

void COSMMarkupBuilder::ThrowBuilderException(LPCSTR message)
{
    throw new COSMMarkupBuilderException(message);
}
