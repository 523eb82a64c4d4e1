// Stand-in: the style record, its Resources property and its sealed store; the styles work grows this class with
// setters, triggers and BasedOn.
//
// COSMMarkupStyle (tag "Style") is a set of property values that elements take when they have no local value of
// their own. A style is sealed before an element uses it: sealing fixes its values in a store and cuts it loose from
// the tree it was written in.
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupStyle : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupStyle)

public:
    COSMMarkupStyle() = default;

protected:
    // Releases the sealed store.
    ~COSMMarkupStyle() override;

public:
    // Makes the (so far empty) store of values, clears the logical parent and marks the style sealed; a sealed
    // style stays as it is.
    void Seal();
    BOOL IsSealed() const { return m_bSealed; }
    // The value the sealed style gives property (borrowed); null before sealing and for properties it does not set.
    COSMMarkupObject* GetStyleValue(COSMMarkupDependencyProperty* property) const;

    // "Resources": a COSMMarkupResourceDictionary. Input elements carry the same property.
    static COSMMarkupDependencyProperty* s_pResourcesProperty;
    static void RegisterMarkupProperties();

private:
    BOOL m_bSealed = FALSE;
    COSMMarkupProperties* m_pSealedValues = nullptr;
};
