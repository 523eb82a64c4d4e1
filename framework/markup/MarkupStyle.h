// COSMMarkupStyle (tag "Style"): property values (setters) for the elements of one target type, optionally based on
// another style, with triggers that switch further setters on while a property of the element has a given value.
// A style is open while the builder fills it: each setter and trigger is resolved as it arrives (names become
// properties of TargetType, text becomes values), so TargetType comes first. An element seals the style it uses:
// sealing fixes the values in a store and cuts the style loose from the tree it was written in; setters added
// afterwards are not seen. A style without a Key in a dictionary is stored under its TargetType (an implicit style,
// used by elements of exactly that type).
//
//   <Style TargetType="Border" BasedOn="{StaticResource base}">
//     <Setter Property="Background" Value="Red"/>
//     <Style.Triggers><Trigger Property="IsMouseOver" Value="True">...</Trigger></Style.Triggers>
//   </Style>
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupSetter;
class COSMMarkupSetterColection;
class COSMMarkupTrigger;
class COSMMarkupTriggerCollection;
class COSMMarkupUIElement;

class COSMMarkupStyle : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupStyle)

public:
    COSMMarkupStyle();

protected:
    // Releases the setters and the sealed store.
    ~COSMMarkupStyle() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // A setter is resolved (ResolveSetter) and appended to the setters; other content is refused as by the object.
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;
    // A trigger collection given as Triggers has each trigger resolved, in order, before it is stored.
    void SetPropertyObject(COSMMarkupBuilder* builder, COSMMarkupDependencyProperty* property,
                           COSMMarkupObject* value) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // Makes setter's Property a property of TargetType (a name with a dot names its owner type) and its Value one
    // of that property's type, converted by builder. Throws COSMMarkupBuilderException "Must specify both Property
    // and Value for Setter." or "Cannot find the Style Property '<name>'", or the builder's conversion error.
    void ResolveSetter(COSMMarkupBuilder* builder, COSMMarkupSetter* setter);
    // Resolves the trigger's own Property and Value as a setter's, then each of its setters in order.
    void ResolveTrigger(COSMMarkupBuilder* builder, COSMMarkupTrigger* trigger);

    // Seals the BasedOn style first and takes its values, then stores the own setters' values over them, clears the
    // logical parent and marks the style sealed; a sealed style stays as it is.
    void Seal();
    BOOL IsSealed() const { return m_bSealed; }
    // The value the sealed style gives property (borrowed); null before sealing and for properties it does not set.
    COSMMarkupObject* GetStyleValue(COSMMarkupDependencyProperty* property) const;
    // The resource under key in the style's own resources (borrowed), or null: a lookup that starts in a style
    // never leaves it.
    COSMMarkupObject* FindResource(const COSMMarkupObject* key);

    // The own setters, in markup order (borrowed; never null).
    COSMMarkupSetterColection* GetSetters() const { return m_pSetters; }
    // Triggers (borrowed), or null.
    COSMMarkupTriggerCollection* GetTriggers() const;
    // BasedOn (borrowed), or null.
    COSMMarkupStyle* GetBasedOn() const;

    // "Resources": a COSMMarkupResourceDictionary (input elements carry the same property); "TargetType": a
    // COSMMarkupType; "BasedOn": a COSMMarkupStyle; "Triggers": a COSMMarkupTriggerCollection.
    static COSMMarkupDependencyProperty* s_pResourcesProperty;
    static COSMMarkupDependencyProperty* s_pTargetTypeProperty;
    static COSMMarkupDependencyProperty* s_pBasedOnProperty;
    static COSMMarkupDependencyProperty* s_pTriggersProperty;
    static void RegisterMarkupProperties();

private:
    // Property and Value of a setter or trigger (the same two property objects): the resolved property (the name
    // replaced), or a throw.
    COSMMarkupDependencyProperty* ResolvePropertyOf(COSMMarkupBuilder* builder, COSMMarkupObject* target);

    COSMMarkupSetterColection* m_pSetters;
    BOOL m_bSealed = FALSE;
    // Set while the style seals its bases: a BasedOn chain that comes back here stops instead of recursing.
    BOOL m_bSealing = FALSE;
    COSMMarkupProperties* m_pSealedValues = nullptr;
};

// Applies the styles over a tree the builder has just built: depth first, each node's logical children before the
// node, every input element finds its style (UpdateStyle) and evaluates its triggers.
void ApplyMarkupStylesOnRoot(COSMMarkupUIElement* root);
void ApplyMarkupStyles(COSMMarkupObject* root);
