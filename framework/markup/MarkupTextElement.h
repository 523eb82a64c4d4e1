// The content elements text is made of. COSMMarkupFrameworkContentElement is an input element without a layout slot
// of its own: its property changes re-measure, re-arrange or repaint the framework element that hosts it.
// COSMMarkupTextElement carries the font and brush properties, which inherit down the logical tree (a text block
// owns them too). COSMMarkupInline is the base of what a text block lays out (runs, spans, containers): the block
// walks each inline through character positions and asks it to measure, arrange and render pieces of itself.
// COSMMarkupInlineCollection holds the inlines of a text block or a span, turning text into runs and UI elements
// into containers.
//
//   <TextBlock FontSize="14">Plain <Bold>bold</Bold><LineBreak/><Run Foreground="Red">red</Run></TextBlock>
//
// A position is pointer-sized: for a run, the address of one of its Text's characters; 0 means none and -1 past
// the end.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupCollection.h"
#include "framework/markup/MarkupInputElement.h"

class COSMMarkupBrush;
class COSMMarkupDrawingContext;
class COSMMarkupFrameworkElement;

class COSMMarkupFrameworkContentElement : public COSMMarkupInputElement
{
    DECLARE_MARKUP_TYPE(COSMMarkupFrameworkContentElement)

public:
    COSMMarkupFrameworkContentElement() = default;

    // ---- Overrides -------------------------------------------------------------------------------------------
    // The input element's handling, then by the property's flags the host's measure, arrange or visual.
    void OnPropertyChanged(COSMMarkupDependencyProperty* property, COSMMarkupObject* oldValue,
                           COSMMarkupObject* newValue) override;
    // Itself: the text block asks only pieces that contain the point.
    COSMMarkupInputElement* InputHitTest(int x, int y) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The nearest logical ancestor that is a framework element (borrowed), or null.
    COSMMarkupFrameworkElement* GetHostElement() const;

    static void RegisterMarkupProperties();
};

class COSMMarkupTextElement : public COSMMarkupFrameworkContentElement
{
    DECLARE_MARKUP_TYPE(COSMMarkupTextElement)

public:
    COSMMarkupTextElement() = default;

    void SetFontWeight(int weight);
    void SetFontStyle(int style);
    void SetTextDecorations(int decorations);
    // The effective brushes (borrowed), or null.
    COSMMarkupBrush* GetBackground() const;
    COSMMarkupBrush* GetForeground() const;

    // All eight inherit down the logical tree: Background and Foreground (brushes, repaint), FontSize (a length,
    // re-measures), FontWeight (100-950), FontFamily (a face name), FontStyle (Normal 0, Italic 1), TextDecorations
    // (Underline 1, Strikethrough 2; repaints), FontQuality (ClearType 5; repaints).
    static COSMMarkupDependencyProperty* s_pBackgroundProperty;
    static COSMMarkupDependencyProperty* s_pForegroundProperty;
    static COSMMarkupDependencyProperty* s_pFontSizeProperty;
    static COSMMarkupDependencyProperty* s_pFontWeightProperty;
    static COSMMarkupDependencyProperty* s_pFontFamilyProperty;
    static COSMMarkupDependencyProperty* s_pFontStyleProperty;
    static COSMMarkupDependencyProperty* s_pTextDecorationsProperty;
    static COSMMarkupDependencyProperty* s_pFontQualityProperty;
    static void RegisterMarkupProperties();
};

class COSMMarkupInline : public COSMMarkupTextElement
{
    DECLARE_MARKUP_TYPE(COSMMarkupInline)

public:
    COSMMarkupInline() = default;

    // ---- Override these (in this order, after the input element's operations) -------------------------------
    // The first inline in reading order that this one stands for: itself here.
    virtual COSMMarkupInline* GetFirstInline();
    // The first position, or -1 for none: -1 here.
    virtual INT_PTR GetFirstPosition();
    // Moves position on; -1 after the last. Sets 0 here.
    virtual void GetNextPosition(INT_PTR& position);
    // Space, tab or line feed at position (a place where a line may break).
    virtual BOOL IsWhiteSpace(INT_PTR position);
    virtual BOOL IsLineBreak(INT_PTR position);
    // Space or tab at position: dropped at the start of a wrapped line.
    virtual BOOL IsBlank(INT_PTR position);
    // The piece from start to end (excluded) lies at rect in the text block.
    virtual void Arrange(const RECT& rect, INT_PTR start, INT_PTR end);
    // The extent of the piece from start to end (excluded).
    virtual CSize Measure(COSMMarkupDrawingContext* dc, INT_PTR start, INT_PTR end);
    // The furthest position after start, up to end, whose piece from start is at most maxWidth wide; start when
    // not even the first position fits. Here by measuring one position more at a time.
    virtual INT_PTR FitPosition(COSMMarkupDrawingContext* dc, INT_PTR start, INT_PTR end, int maxWidth);
    // The widths of the pieces of one position each from start on, up to end and at most maxCount of them, in one
    // measure, and their height; how many were measured. 0 here: the caller measures piece by piece.
    virtual int MeasurePositions(COSMMarkupDrawingContext* dc, INT_PTR start, INT_PTR end, int maxCount, int* widths,
                                 int* height);
    virtual void Render(COSMMarkupDrawingContext* dc, const RECT& rect, INT_PTR start, INT_PTR end);
    // Selects the inline's font into dc before its pieces are measured.
    virtual void PrepareFont(COSMMarkupDrawingContext* dc);
    virtual int GetDescent();

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The inline after this one in reading order through nested spans, or null.
    COSMMarkupInline* GetNextInline();
    int GetIndex() const { return m_nIndex; }
    void SetIndex(int index) { m_nIndex = index; }
    // Baseline when not set.
    int GetBaselineAlignment() const;

    // "Top" 0, "Center" 1, "Bottom" 2, "Baseline" 3, "TextTop" 4, "TextBottom" 5, "Subscript" 6, "Superscript" 7;
    // re-arranges.
    static COSMMarkupDependencyProperty* s_pBaselineAlignmentProperty;
    static void RegisterMarkupProperties();

private:
    int m_nIndex = -1;
};

class COSMMarkupInlineCollection : public COSMMarkupCollection
{
    DECLARE_MARKUP_TYPE(COSMMarkupInlineCollection)

public:
    COSMMarkupInlineCollection();

    // ---- Overrides -------------------------------------------------------------------------------------------
    // Text becomes a run, an inline is added, a UI element is wrapped in a container; the owner must be an input
    // element (it gives the markup context). Anything else throws the builder's conversion error.
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;
    // Numbers the inline.
    void OnItemAdded(COSMMarkupObject* item, int index) override;

    // The inline at index (borrowed), or null.
    COSMMarkupInline* GetInline(int index) const;
    // A run of text made through the owner's context and added; null without one.
    COSMMarkupInline* AddText(LPCWSTR text, int length);
};
