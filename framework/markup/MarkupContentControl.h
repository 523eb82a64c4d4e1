// COSMMarkupContentControl: a control with one piece of content, its Content property. Text given as content (as
// element text or as the attribute) becomes a text block with one run, so
//
//   <Button>OK</Button>        <Button Content="OK"/>        <Button><Image Source="1"/></Button>
//
// all give the button one UI element to lay out and draw. The content is the control's only visual child and its
// logical child. No markup tag: the base of the buttons.
#pragma once

#include "framework/markup/MarkupControl.h"

class COSMMarkupContentControl : public COSMMarkupControl
{
    DECLARE_MARKUP_TYPE(COSMMarkupContentControl)

public:
    COSMMarkupContentControl() = default;

protected:
    // Lets go of the content.
    ~COSMMarkupContentControl() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // Text becomes a text block made through the builder's context; a UI element becomes the content. A second
    // content, or content of another kind, throws the builder's message.
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;
    BOOL HasContentObject() const override;
    // The content becomes the control's logical child (the old one is let go) before the control re-measures.
    void OnPropertyChanged(COSMMarkupDependencyProperty* property, COSMMarkupObject* oldValue,
                           COSMMarkupObject* newValue) override;
    // 1 with content, else 0; the content is child 0.
    int GetVisualChildrenCount() const override;
    COSMMarkupVisual* GetVisualChild(int index) const override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The Content value (borrowed), or null.
    COSMMarkupUIElement* GetContent() const;
    // Takes over content's reference (null clears it).
    void SetContent(COSMMarkupUIElement* content);

    // Content (a UI element; text through ConvertContentText; re-measures).
    static COSMMarkupDependencyProperty* s_pContentProperty;
    static void RegisterMarkupProperties();
};

// The Content property's converter: text becomes a new text block (made through the builder's context) whose
// inlines hold one run with that text; any other value comes back unchanged, with a reference added.
COSMMarkupObject* ConvertContentText(COSMMarkupBuilder* builder, COSMMarkupObject* value);
