// COSMMarkupObjectProperty: what the builder keeps on its stack for an open property element (<Border.Background>):
// the property the tag names and the value its content makes, which goes to the owning element when the tag ends.
// No markup tag.
//
//   <Border.Background>Red</Border.Background>              the text, converted when it is set
//   <Border.Background><SolidColorBrush .../></Border.Background>
//   <LinearGradientBrush.GradientStops><GradientStop/><GradientStop/></...>   a collection made for the children
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupObjectProperty : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupObjectProperty)

public:
    COSMMarkupObjectProperty() = default;
    explicit COSMMarkupObjectProperty(COSMMarkupDependencyProperty* property) : m_pProperty(property) {}

protected:
    // Releases the value.
    ~COSMMarkupObjectProperty() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // Content of the property's value type, or text, becomes the value (a value held before is released). Other
    // content goes to the value held, or to a new object of the value type made for it, which becomes the value.
    // Throws, keeping nothing, when that object refuses it.
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;
    // A value is held.
    BOOL HasContentObject() const override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    COSMMarkupDependencyProperty* GetProperty() const { return m_pProperty; }
    // The value so far (borrowed), or null.
    COSMMarkupObject* GetHeldValue() const { return m_pValue; }
    // Hands the value's reference to the caller.
    COSMMarkupObject* DetachValue();

private:
    COSMMarkupDependencyProperty* m_pProperty = nullptr;
    COSMMarkupObject* m_pValue = nullptr;
};
