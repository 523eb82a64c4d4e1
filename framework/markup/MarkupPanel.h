// COSMMarkupPanel (tag "Panel"): a framework element with an ordered list of child elements and an optional
// background. Markup children go to its collection in markup order; layout panels derive from it and override only
// MeasureOverride and ArrangeOverride, skipping empty slots of the collection.
//
//   panel->GetChildren()->Add(child);   // takes over the reference
//
// A panel without a background lets the mouse through everywhere except over its children.
#pragma once

#include "framework/markup/MarkupFrameworkElement.h"

class COSMMarkupBrush;
class COSMMarkupUIElementCollection;

class COSMMarkupPanel : public COSMMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE(COSMMarkupPanel)

public:
    // Makes the children collection, its logical parent.
    COSMMarkupPanel();

protected:
    // Clears the collection's parent and releases it.
    ~COSMMarkupPanel() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // Content goes to the children collection, which takes only UI elements.
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;
    BOOL HasContentObject() const override;
    int GetVisualChildrenCount() const override;
    // Null outside 0 .. count - 1.
    COSMMarkupVisual* GetVisualChild(int index) const override;
    // The background over the render area, when it is at least 1 by 1.
    void OnRender(COSMMarkupDrawingContext* dc) override;
    // The panel itself where it has a background; nothing without one.
    COSMMarkupInputElement* InputHitTestCore(int x, int y) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    COSMMarkupUIElementCollection* GetChildren() const { return m_pChildren; }
    // The Background value (borrowed), or null.
    COSMMarkupBrush* GetBackground() const;

    // Background (repaints).
    static COSMMarkupDependencyProperty* s_pBackgroundProperty;
    static void RegisterMarkupProperties();

private:
    COSMMarkupUIElementCollection* m_pChildren;
};
