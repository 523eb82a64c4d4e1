#include "framework/markup/MarkupResourceDictionary.h"

#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupResourceDictionary, COSMMarkupObject, nullptr, nullptr)
