// COSMMarkupSingleChildElement: a framework element with at most one child element (the border's base; no markup
// tag, no type record of its own). Markup content becomes the child; the element holds one reference on it and is
// its logical parent.
//
//   border->SetChild(new COSMMarkupBorder);   // takes over the reference; the old child is let go
#pragma once

#include "framework/markup/MarkupFrameworkElement.h"

// The builder's two refusals of content, with the class names of owner and content: a second child, and content
// that is no UI element.
[[noreturn]] void ThrowMarkupChildTaken(const COSMMarkupObject* owner, const COSMMarkupObject* content);
[[noreturn]] void ThrowMarkupChildNotElement(const COSMMarkupObject* owner, const COSMMarkupObject* content);

class COSMMarkupSingleChildElement : public COSMMarkupFrameworkElement
{
public:
    COSMMarkupSingleChildElement() = default;

protected:
    // Lets go of the child.
    ~COSMMarkupSingleChildElement() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // Takes content as the child. Throws (keeping nothing) for content that is no UI element and when there is a
    // child already.
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;
    BOOL HasContentObject() const override;
    int GetVisualChildrenCount() const override;
    COSMMarkupVisual* GetVisualChild(int index) const override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // Replaces the child, taking over child's reference: the old child's logical parent is cleared and its
    // reference released; the new child's logical parent becomes this element.
    void SetChild(COSMMarkupUIElement* child);
    COSMMarkupUIElement* GetChild() const { return m_pChild; }

private:
    COSMMarkupUIElement* m_pChild = nullptr;
};
