// COSMMarkupPropertyMetadata: what a dependency property carries beyond its name and types: a default value, a
// converter the builder asks before the value type's own conversion, a change callback and flags.
//
//   new COSMMarkupPropertyMetadata(COSMMarkupEnum::CreateValue(0), ConvertVisibility,
//                                  COSMMarkupPropertyMetadata::AffectsMeasure);
//
// The metadata takes over the reference to the default value handed to its constructor. The property that registers
// it owns it.
#pragma once

#include "framework/markup/MarkupObject.h"

// The change OnPropertyChanged reports to a callback: the property and the effective values before and after
// (either may be null; both borrowed).
struct COSMMarkupPropertyChange
{
    COSMMarkupDependencyProperty* property;
    COSMMarkupObject* oldValue;
    COSMMarkupObject* newValue;
};

class COSMMarkupPropertyMetadata
{
public:
    // A new object made from value (borrowed), or null when it does not convert.
    using Converter = COSMMarkupObject* (*)(COSMMarkupBuilder* builder, COSMMarkupObject* value);
    using ChangeCallback = void (*)(COSMMarkupObject* object, const COSMMarkupPropertyChange* change);

    enum Flags : DWORD
    {
        Inherits = 0x1,        // an object without a value of its own takes its nearest logical ancestor's
        AffectsArrange = 0x2,  // a change re-arranges the element
        AffectsMeasure = 0x4,  // a change re-measures the element
        AffectsRender = 0x20,  // a change repaints the element
    };

    COSMMarkupPropertyMetadata(COSMMarkupObject* defaultValue, DWORD flags);
    COSMMarkupPropertyMetadata(COSMMarkupObject* defaultValue, Converter pfnConverter, DWORD flags);
    COSMMarkupPropertyMetadata(COSMMarkupObject* defaultValue, ChangeCallback pfnCallback, DWORD flags);
    COSMMarkupPropertyMetadata(COSMMarkupObject* defaultValue, Converter pfnConverter, ChangeCallback pfnCallback,
                               DWORD flags);
    // Releases the default value.
    virtual ~COSMMarkupPropertyMetadata();
    COSMMarkupPropertyMetadata(const COSMMarkupPropertyMetadata&) = delete;
    COSMMarkupPropertyMetadata& operator=(const COSMMarkupPropertyMetadata&) = delete;

    COSMMarkupObject* GetDefaultValue() const { return m_pDefaultValue; }
    Converter GetConverter() const { return m_pfnConverter; }
    ChangeCallback GetChangeCallback() const { return m_pfnCallback; }
    DWORD GetFlags() const { return m_dwFlags; }
    BOOL IsInherited() const { return (m_dwFlags & Inherits) != 0; }

private:
    COSMMarkupObject* m_pDefaultValue;
    Converter m_pfnConverter;
    ChangeCallback m_pfnCallback;
    DWORD m_dwFlags;
};
