// The system colours as markup reaches them: "{x:Static SystemColors.WindowTextBrush}" and its "Color", "ColorKey"
// and "BrushKey" forms. COSMMarkupSystemColors belongs to one builder: it reads each colour with GetSysColor when it
// is first asked for it and hands out the same colour, brush or key object (with a reference added) for the rest of
// the parse, so a key used as a resource key finds the resource again as the same object.
//
//   COSMMarkupSystemColors colors;
//   COSMMarkupObject* brush = colors.ProvideValue(builder, L"SystemColors.WindowTextBrush");   // or throws
#pragma once

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupObject.h"

// A resource key standing for a system colour (ColorKey) or its brush (BrushKey). Keys compare by identity.
class COSMMarkupColorKey : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupColorKey)

public:
    explicit COSMMarkupColorKey(int index = 0) : m_nIndex(index) {}
    int GetIndex() const { return m_nIndex; }

private:
    int m_nIndex;
};

class COSMMarkupBrushKey : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupBrushKey)

public:
    explicit COSMMarkupBrushKey(int index = 0) : m_nIndex(index) {}
    int GetIndex() const { return m_nIndex; }

private:
    int m_nIndex;
};

class COSMMarkupSystemColors
{
public:
    static const int kColorCount = 31;

    COSMMarkupSystemColors() = default;
    COSMMarkupSystemColors(const COSMMarkupSystemColors&) = delete;
    COSMMarkupSystemColors& operator=(const COSMMarkupSystemColors&) = delete;

    // The system colour index of a colour name ("ActiveBorder" 10 ... "WindowText" 8), compared case-sensitively
    // on the first length characters: the first name that begins with them wins ("Contr" is "Control"). -1 when
    // none does, and for an empty name.
    static int GetColorIndex(LPCWSTR name, int length);

    // The colour, solid brush or key of system colour index (0 to 30), one reference for the caller; null outside.
    COSMMarkupObject* GetColorByIndex(int index);
    COSMMarkupObject* GetBrushByIndex(int index);
    COSMMarkupObject* GetColorKeyByIndex(int index);
    COSMMarkupObject* GetBrushKeyByIndex(int index);

    // The object member names: "SystemColors." + name + "Color", "Brush", "ColorKey" or "BrushKey" (prefix and
    // ending case-sensitive, at least 20 characters in all). Anything else throws COSMMarkupBuilderException
    // "Cannot find the static member  '<member>'".
    COSMMarkupObject* ProvideValue(COSMMarkupBuilder* builder, LPCWSTR member);

private:
    enum Kind
    {
        kColor,
        kBrush,
        kColorKey,
        kBrushKey,
        kKindCount
    };

    COSMMarkupObject* GetByIndex(Kind kind, int index);

    RefPtr<COSMMarkupObject> m_objects[kKindCount][kColorCount];
};
