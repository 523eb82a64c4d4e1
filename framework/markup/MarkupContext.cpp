#include "framework/markup/MarkupContext.h"

#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupTypeRegistry.h"

COSMMarkupContext::COSMMarkupContext()
{
    InitializeMarkupTypesOnce();
}

COSMMarkupObject* COSMMarkupContext::CreateObject(const COSMMarkupType* type)
{
    return type ? type->CreateInstance() : nullptr;
}
