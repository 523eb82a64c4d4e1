// Stand-in: the style record with its properties, its resources and its sealed store; the styles work grows this
// class with setters and triggers, gives Triggers its trigger collection and makes ApplyMarkupStylesOnRoot apply
// styles.
//
// COSMMarkupStyle (tag "Style") is a set of property values that elements take when they have no local value of
// their own. A style is sealed before an element uses it: sealing fixes its values in a store and cuts it loose from
// the tree it was written in. A style without a Key in a dictionary is stored under its TargetType.
//
//   <Style TargetType="Border"><Style.Resources>...</Style.Resources></Style>
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupUIElement;

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
    // The resource under key in the style's own resources (borrowed), or null: a lookup that starts in a style
    // never leaves it.
    COSMMarkupObject* FindResource(const COSMMarkupObject* key);

    // "Resources": a COSMMarkupResourceDictionary (input elements carry the same property); "TargetType": a
    // COSMMarkupType; "BasedOn": a COSMMarkupStyle; "Triggers": a collection.
    static COSMMarkupDependencyProperty* s_pResourcesProperty;
    static COSMMarkupDependencyProperty* s_pTargetTypeProperty;
    static COSMMarkupDependencyProperty* s_pBasedOnProperty;
    static COSMMarkupDependencyProperty* s_pTriggersProperty;
    static void RegisterMarkupProperties();

private:
    BOOL m_bSealed = FALSE;
    COSMMarkupProperties* m_pSealedValues = nullptr;
};

// Applies the styles over a tree the builder has just built. Nothing yet.
void ApplyMarkupStylesOnRoot(COSMMarkupUIElement* root);
