// COSMMarkupTrigger (tag "Trigger"): setters a style switches on while one property of the styled element has a
// given value; COSMMarkupTriggerCollection (no tag) is the typed list of a style's triggers, and of the triggers
// active on an element.
//
//   <Style.Triggers>
//     <Trigger Property="IsMouseOver" Value="True">
//       <Trigger.Setters><Setter Property="Cursor" Value="Hand"/></Trigger.Setters>
//     </Trigger>
//   </Style.Triggers>
//
// A trigger takes no content of its own: its setters come through Trigger.Setters. Property and Value are the
// setter's property objects, resolved the same way (COSMMarkupStyle::ResolveTrigger).
#pragma once

#include "framework/markup/MarkupSetter.h"

class COSMMarkupTrigger : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupTrigger)

public:
    COSMMarkupTrigger() = default;
    // For code that builds styles: property gets one added reference, value's reference is taken over.
    COSMMarkupTrigger(COSMMarkupDependencyProperty* property, COSMMarkupObject* value);

    // The property the condition tests once resolved (borrowed), or null.
    COSMMarkupDependencyProperty* GetTriggerProperty() const;
    // The value the condition asks for (borrowed), or null.
    COSMMarkupObject* GetTriggerValue() const;
    // The Setters collection (borrowed), or null before one was given.
    COSMMarkupSetterColection* GetSetters() const;
    // Appends setter (taking over its reference) to Setters, which is made when missing.
    void AddSetter(COSMMarkupSetter* setter);

    // The setter's "Property" and "Value" with the trigger as second owner, and "Setters".
    static COSMMarkupDependencyProperty* s_pPropertyProperty;
    static COSMMarkupDependencyProperty* s_pValueProperty;
    static COSMMarkupDependencyProperty* s_pSettersProperty;
    static void RegisterMarkupProperties();
};

class COSMMarkupTriggerCollection : public COSMMarkupCollection
{
    DECLARE_MARKUP_TYPE(COSMMarkupTriggerCollection)

public:
    COSMMarkupTriggerCollection();

    COSMMarkupTrigger* GetTrigger(int index) const;
    // The index of trigger in the list, or -1.
    int Find(const COSMMarkupTrigger* trigger) const;
};
