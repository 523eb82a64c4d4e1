// COSMMarkupSetter (tag "Setter"): one property value a style gives the elements it styles, or that a trigger gives
// while its condition holds. COSMMarkupSetterColection (no tag; the name is spelled so, messages print it) is the
// typed list of a style's or a trigger's setters.
//
//   <Setter Property="Background" Value="Red"/>          resolved by the style: the name becomes the property of
//                                                       the style's TargetType, the text a brush
//   new COSMMarkupSetter(COSMMarkupTextElement::s_pForegroundProperty, new COSMMarkupSolidColorBrush(0xFF0000));
//
// Everything a setter has lives in its two properties; markup writes them as text, which the style resolves as the
// setter arrives (COSMMarkupStyle::ResolveSetter), so a setter in a sealed style always holds a property object and
// a value of that property's type.
#pragma once

#include "framework/markup/MarkupCollection.h"

class COSMMarkupSetter : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupSetter)

public:
    COSMMarkupSetter() = default;
    // For code that builds styles: property gets one added reference, value's reference is taken over.
    COSMMarkupSetter(COSMMarkupDependencyProperty* property, COSMMarkupObject* value);

    // The property once resolved (borrowed); null while Property is still a name or unset.
    COSMMarkupDependencyProperty* GetSetterProperty() const;
    // Value (borrowed), or null.
    COSMMarkupObject* GetSetterValue() const;

    // "Property" and "Value", both of any object type and without metadata; the trigger owns them too.
    static COSMMarkupDependencyProperty* s_pPropertyProperty;
    static COSMMarkupDependencyProperty* s_pValueProperty;
    static void RegisterMarkupProperties();
};

// What setter and trigger share, as they share the two property objects: object gets property (one reference added)
// as Property and value (taken over) as Value; the resolved Property of object (borrowed), or null.
void SetSetterPropertyAndValue(COSMMarkupObject* object, COSMMarkupDependencyProperty* property,
                               COSMMarkupObject* value);
COSMMarkupDependencyProperty* GetResolvedSetterProperty(const COSMMarkupObject* object);

class COSMMarkupSetterColection : public COSMMarkupCollection
{
    DECLARE_MARKUP_TYPE(COSMMarkupSetterColection)

public:
    COSMMarkupSetterColection();

    COSMMarkupSetter* GetSetter(int index) const;
};
