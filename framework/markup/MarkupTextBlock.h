// COSMMarkupTextBlock (tag "TextBlock"): text, given as its Text or as inlines (runs, spans, line breaks). It breaks
// the inlines into pieces, flows them into lines by TextWrapping and TextTrimming, aligns the lines by TextAlignment
// and their pieces on one baseline, draws backgrounds, text and decorations, and answers the inline under a point.
//
//   <TextBlock TextWrapping="Wrap" TextAlignment="Center" Padding="2">Some <Bold>bold</Bold> text</TextBlock>
//
// Unwrapped, untrimmed text is laid out once for any width; a measure invalidation (a property change of the block
// or of an inline) forgets the layout.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupFrameworkElement.h"

#include <deque>
#include <memory>
#include <memory_resource>
#include <new>
#include <utility>
#include <vector>

class COSMMarkupInline;
class COSMMarkupInlineCollection;

class COSMMarkupTextBlock : public COSMMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE(COSMMarkupTextBlock)

public:
    struct TextLine;

    // A part of one inline on one line; positions follow the inline's protocol (end excluded).
    struct TextPiece
    {
        TextPiece(COSMMarkupInline* owner, INT_PTR startPosition);
        ~TextPiece();
        TextPiece(const TextPiece&) = delete;
        TextPiece& operator=(const TextPiece&) = delete;

        BOOL IsEmpty() const { return start == end; }
        // The arranged rectangle in the block's coordinates.
        CRect GetRect() const { return CRect(x + dx, y + dy, x + dx + width, y + dy + height); }

        COSMMarkupInline* inlineElement;  // one reference held
        INT_PTR start;
        INT_PTR end;
        int x = 0;
        int y = 0;
        int dx = 0;
        int dy = 0;
        TextLine* line = nullptr;
        int width = 0;
        int height = 0;
        int descent = 0;
        BOOL afterBreak = FALSE;
        // Words joined it since it was measured: its line measures it again as a whole when it ends.
        BOOL joined = FALSE;
    };

    // Pieces and lines live in the memory of the layout they belong to: a block a pixel wide lays a long text out
    // as one line for each character, and taking each piece and line from the heap on its own cost more than
    // the layout. The pointers that own them end their lives; the memory goes with the layout.
    struct EndLife
    {
        template <class T> void operator()(T* object) const { object->~T(); }
    };
    using TextPiecePtr = std::unique_ptr<TextPiece, EndLife>;

    struct TextLine
    {
        explicit TextLine(std::pmr::memory_resource* memory) : pieces(memory) {}

        std::pmr::vector<TextPiecePtr> pieces;
        int width = 0;
        int height = 0;
        int descent = 0;
        BOOL wrapped = FALSE;
    };
    using TextLinePtr = std::unique_ptr<TextLine, EndLife>;

    COSMMarkupTextBlock();

protected:
    ~COSMMarkupTextBlock() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    int GetLogicalChildrenCount() const override { return 1; }
    COSMMarkupObject* GetLogicalChild(int index) const override;
    // Strings become runs, inlines are added.
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;
    BOOL HasContentObject() const override;
    BOOL AllowWhiteSpaceContent() const override { return TRUE; }
    // A new Text replaces every inline with one run.
    void OnPropertyChanged(COSMMarkupDependencyProperty* property, COSMMarkupObject* oldValue,
                           COSMMarkupObject* newValue) override;
    void OnRender(COSMMarkupDrawingContext* dc) override;
    // The inline of the first piece that contains the point, else the block.
    COSMMarkupInputElement* InputHitTestCore(int x, int y) override;
    void InvalidateMeasureCore(COSMMarkupDrawingContext* dc) override;
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    CSize ArrangeOverride(int width, int height) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    COSMMarkupInlineCollection* GetInlines() const { return m_pInlines; }
    // The lines of the last layout (read only).
    const std::vector<TextLinePtr>& GetLines() const { return m_lines; }
    // The width of the widest line and the sum of the line heights (no padding).
    CSize GetTextSize() const { return m_szText; }
    // A piece position as an index into its run's text (-1 past the end), or -1 for an inline without text.
    static int GetCharIndex(const TextPiece& piece, INT_PTR position);
    void SetText(LPCWSTR text);

    // TextWrapping ("NoWrap" 0, "Wrap" 1, "WrapWithOverflow" 2), TextTrimming ("None" 0, "CharacterEllipsis" 1,
    // "WordEllipsis" 2), TextAlignment ("Left" 0, "Right" 1, "Center" 2, "Justify" 3), Padding, Text.
    static COSMMarkupDependencyProperty* s_pTextWrappingProperty;
    static COSMMarkupDependencyProperty* s_pTextTrimmingProperty;
    static COSMMarkupDependencyProperty* s_pTextAlignmentProperty;
    static COSMMarkupDependencyProperty* s_pPaddingProperty;
    static COSMMarkupDependencyProperty* s_pTextProperty;
    static void RegisterMarkupProperties();

private:
    // The state of one layout pass.
    struct LayoutState
    {
        COSMMarkupDrawingContext* dc = nullptr;
        int width = 0;
        int wrapping = 0;
        int trimming = 0;
        BOOL justify = FALSE;
        int x = 0;
        int y = 0;
        int widest = 0;
        TextLinePtr line;
        TextPiecePtr current;
        std::deque<TextPiecePtr> pending;
    };

    // The state of the layout pass that runs, made when one starts: most text blocks of a tree are waiting for their
    // first layout, and the state's containers take heap blocks even when empty.
    LayoutState& State();

    // A piece or line in the layout's memory.
    template <class T, class... Args> std::unique_ptr<T, EndLife> Make(Args&&... args)
    {
        void* memory = m_layoutMemory.allocate(sizeof(T), alignof(T));
        return std::unique_ptr<T, EndLife>(::new (memory) T(std::forward<Args>(args)...));
    }

    void CalculateLines(COSMMarkupDrawingContext* dc, int width);
    void MeasurePiece(TextPiece* piece);
    void AddWord();
    void PlacePiece(TextPiecePtr piece);
    // At the start of a line that does not hold the first character of piece: the characters of piece wider than
    // a line each go on a line of their own, measured together; piece keeps what is left.
    void PlaceCharactersOneALine(TextPiece* piece);
    void EndLine();
    void TrimLine();
    TextPiecePtr MakeEmptyPiece(LPCWSTR text);
    int GetEnumValue(COSMMarkupDependencyProperty* property) const;

    COSMMarkupInlineCollection* m_pInlines;
    // Before the lines and the layout state, which end their pieces' lives in it.
    std::pmr::monotonic_buffer_resource m_layoutMemory;
    std::vector<TextLinePtr> m_lines;
    int m_nCachedWidth = -1;
    CSize m_szText;
    std::unique_ptr<LayoutState> m_pState;
};
