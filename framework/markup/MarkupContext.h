// Stand-in: the shell of the markup context (default font and colour, object creation); the context work grows it.
//
// COSMMarkupContext is the per-host state of the markup engine. Making one makes sure every markup type has its
// properties registered, once per process, so every object it creates has a slot for every property.
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupContext
{
public:
    COSMMarkupContext();
    COSMMarkupContext(const COSMMarkupContext&) = delete;
    COSMMarkupContext& operator=(const COSMMarkupContext&) = delete;

    // A new default instance of type (one reference for the caller); null for a null type or one that makes none.
    COSMMarkupObject* CreateObject(const COSMMarkupType* type);

    // The defaults markup is measured and drawn with.
    HFONT defaultFont = nullptr;
    COLORREF defaultColor = 0;
};
