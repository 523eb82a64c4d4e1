// COSMMarkupSpan (tag "Span"): inlines grouped under common text properties, and its kinds with a local value set
// at construction (markup on the element itself may change it): Bold (FontWeight 700), Italic (FontStyle Italic)
// and Underline (TextDecorations Underline). COSMMarkupHyperlink (tag "Hyperlink") raises the bubbling Click event
// on a left-button release over it that follows a press over it.
//
//   <TextBlock>Press <Hyperlink Click="OnMore">here</Hyperlink> for <Bold>more</Bold>.</TextBlock>
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupTextElement.h"

class COSMMarkupSpan : public COSMMarkupInline
{
    DECLARE_MARKUP_TYPE(COSMMarkupSpan)

public:
    COSMMarkupSpan();

protected:
    ~COSMMarkupSpan() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    int GetLogicalChildrenCount() const override { return 1; }
    COSMMarkupObject* GetLogicalChild(int index) const override;
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;
    BOOL HasContentObject() const override;
    // White space between child elements stays, as one blank.
    BOOL AllowWhiteSpaceContent() const override { return TRUE; }
    // The first inline of its first child, itself without children.
    COSMMarkupInline* GetFirstInline() override;

    COSMMarkupInlineCollection* GetInlines() const { return m_pInlines; }

private:
    COSMMarkupInlineCollection* m_pInlines;
};

class COSMMarkupBold : public COSMMarkupSpan
{
    DECLARE_MARKUP_TYPE(COSMMarkupBold)

public:
    COSMMarkupBold();
};

class COSMMarkupItalic : public COSMMarkupSpan
{
    DECLARE_MARKUP_TYPE(COSMMarkupItalic)

public:
    COSMMarkupItalic();
};

class COSMMarkupUnderline : public COSMMarkupSpan
{
    DECLARE_MARKUP_TYPE(COSMMarkupUnderline)

public:
    COSMMarkupUnderline();
};

class COSMMarkupHyperlink : public COSMMarkupSpan
{
    DECLARE_MARKUP_TYPE(COSMMarkupHyperlink)

public:
    COSMMarkupHyperlink() = default;

    // ---- Overrides -------------------------------------------------------------------------------------------
    // A press marks the hyperlink pressed; a release over it while pressed clicks it. Both are handled.
    void OnMouseLeftButtonDown(COSMMarkupMouseEventArgs* args) override;
    void OnMouseLeftButtonUp(COSMMarkupMouseEventArgs* args) override;

    // ---- Override these --------------------------------------------------------------------------------------
    // Raises Click with the hyperlink as source.
    virtual void OnClick();

    BOOL IsPressed() const { return m_bPressed; }

    // The bubbling Click event, shared with the button base.
    static COSMMarkupRoutedEvent* s_pClickEvent;
    static void RegisterMarkupProperties();

private:
    BOOL m_bPressed = FALSE;
};

class COSMMarkupUIElement;

// COSMMarkupInlineUIContainer (tag "InlineUIContainer"): a UI element inside text, laid out as one word of two
// positions (0 and 1, both white space) with the element's desired size for room of 32000 x 32000.
class COSMMarkupInlineUIContainer : public COSMMarkupInline
{
    DECLARE_MARKUP_TYPE(COSMMarkupInlineUIContainer)

public:
    COSMMarkupInlineUIContainer() = default;

protected:
    ~COSMMarkupInlineUIContainer() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    int GetLogicalChildrenCount() const override { return m_pChild ? 1 : 0; }
    COSMMarkupObject* GetLogicalChild(int index) const override;
    // Only a UI element; anything else throws the builder's conversion error.
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;
    BOOL HasContentObject() const override { return m_pChild != nullptr; }
    // The child's hit, or the container.
    COSMMarkupInputElement* InputHitTest(int x, int y) override;
    INT_PTR GetFirstPosition() override;
    void GetNextPosition(INT_PTR& position) override;
    BOOL IsWhiteSpace(INT_PTR position) override;
    void Arrange(const RECT& rect, INT_PTR start, INT_PTR end) override;
    CSize Measure(COSMMarkupDrawingContext* dc, INT_PTR start, INT_PTR end) override;
    void Render(COSMMarkupDrawingContext* dc, const RECT& rect, INT_PTR start, INT_PTR end) override;

    // Takes over child's reference (null clears).
    void SetChild(COSMMarkupUIElement* child);
    COSMMarkupUIElement* GetChild() const { return m_pChild; }

private:
    COSMMarkupUIElement* m_pChild = nullptr;
};
