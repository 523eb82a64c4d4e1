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
#include "classlib/RefPtr.h"
#include "framework/markup/MarkupFrameworkElement.h"
#include "framework/markup/MarkupRun.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

class COSMMarkupInline;
class COSMMarkupInlineCollection;

class COSMMarkupTextBlock : public COSMMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE(COSMMarkupTextBlock)

public:
    // A part of one inline on one line; positions follow the inline's protocol (end excluded). The block holds its
    // inline while the layout lives, so a piece is a few plain numbers, copied as bytes.
    struct TextPiece
    {
        TextPiece() : TextPiece(nullptr, 0) {}
        TextPiece(COSMMarkupInline* owner, INT_PTR startPosition)
            : inlineElement(owner), start(startPosition), end(startPosition)
        {}

        BOOL IsEmpty() const { return start == end; }
        // The arranged rectangle in the block's coordinates.
        CRect GetRect() const { return CRect(x + dx, y + dy, x + dx + width, y + dy + height); }

        COSMMarkupInline* inlineElement;  // borrowed
        INT_PTR start;
        INT_PTR end;
        int x = 0;
        int y = 0;
        int dx = 0;
        int dy = 0;
        int width = 0;
        int height = 0;
        int descent = 0;
        bool afterBreak = false;
        // Words joined it since it was measured: its line measures it again as a whole when it ends.
        bool joined = false;
    };

    // The pieces of one line: a stretch of the block's pieces, which a layout keeps in chunks that never move. A
    // block a pixel wide lays a long text out as a line for each character: a line is a few numbers, not a
    // container of its own.
    class PieceRange
    {
    public:
        PieceRange() = default;
        PieceRange(TextPiece* first, size_t count) : m_first(first), m_count(count) {}
        TextPiece* begin() const { return m_first; }
        TextPiece* end() const { return m_first + m_count; }
        size_t size() const { return m_count; }
        bool empty() const { return m_count == 0; }
        TextPiece& operator[](size_t index) const { return m_first[index]; }
        TextPiece& front() const { return m_first[0]; }
        TextPiece& back() const { return m_first[m_count - 1]; }

    private:
        TextPiece* m_first = nullptr;
        size_t m_count = 0;
    };

    struct TextLine
    {
        PieceRange pieces;
        int width = 0;
        int height = 0;
        int descent = 0;
        BOOL wrapped = FALSE;
    };

    // The lines of a layout, in chunks that never move: a list of a million lines grows without copying or taking
    // a heap block for every few lines, and a block of one line takes a few lines' room.
    class LineList
    {
    public:
        class Iterator
        {
        public:
            Iterator(const LineList* list, size_t index) : m_list(list), m_index(index) {}
            const TextLine& operator*() const { return (*m_list)[m_index]; }
            const TextLine* operator->() const { return &(*m_list)[m_index]; }
            Iterator& operator++()
            {
                ++m_index;
                return *this;
            }
            bool operator==(const Iterator& other) const { return m_index == other.m_index; }
            bool operator!=(const Iterator& other) const { return m_index != other.m_index; }

        private:
            const LineList* m_list;
            size_t m_index;
        };

        size_t size() const { return m_size; }
        bool empty() const { return m_size == 0; }
        const TextLine& operator[](size_t index) const;
        Iterator begin() const { return Iterator(this, 0); }
        Iterator end() const { return Iterator(this, m_size); }
        void push_back(const TextLine& line);
        void clear();

    private:
        std::vector<std::vector<TextLine>> m_chunks;
        size_t m_size = 0;
    };

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
    // The lines of the last layout (read only; their pieces live until the next layout).
    const LineList& GetLines() const { return m_lines; }
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
    // The pieces waiting for their line, in order. A layout holds one or two at a time: they wait in room of the
    // layout's own, and only a longer queue (many inlines on one line) takes a heap block.
    class PieceQueue
    {
    public:
        PieceQueue() = default;
        PieceQueue(const PieceQueue&) = delete;
        PieceQueue& operator=(const PieceQueue&) = delete;

        bool empty() const { return m_front == m_size; }
        TextPiece& front() { return Data()[m_front]; }
        void pop_front()
        {
            if (++m_front == m_size)
                m_front = m_size = 0;
        }
        void push_back(const TextPiece& piece)
        {
            Grow(m_size + 1);
            Data()[m_size++] = piece;
        }
        void push_front(const TextPiece& piece)
        {
            if (m_front == 0)
            {
                Grow(m_size + 1);
                TextPiece* pieces = Data();
                std::copy_backward(pieces, pieces + m_size, pieces + m_size + 1);
                ++m_size;
                ++m_front;
            }
            Data()[--m_front] = piece;
        }
        const TextPiece* begin() const { return Data() + m_front; }
        const TextPiece* end() const { return Data() + m_size; }

    private:
        static constexpr size_t kRoom = 2;
        TextPiece* Data() { return m_spill.empty() ? m_room : m_spill.data(); }
        const TextPiece* Data() const { return m_spill.empty() ? m_room : m_spill.data(); }
        void Grow(size_t size)
        {
            const size_t capacity = m_spill.empty() ? kRoom : m_spill.size();
            if (size <= capacity)
                return;
            std::vector<TextPiece> larger(std::max(size, 2 * capacity));
            std::copy(Data(), Data() + m_size, larger.begin());
            m_spill.swap(larger);
        }

        TextPiece m_room[kRoom];
        // The room once the pieces outgrow m_room: all of its size is in use as room.
        std::vector<TextPiece> m_spill;
        size_t m_front = 0;
        size_t m_size = 0;
    };

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
        // The line being filled: its pieces are the last lineCount of the last chunk.
        size_t lineCount = 0;
        BOOL lineWrapped = FALSE;
        std::optional<TextPiece> current;
        PieceQueue pending;
        // The character widths of each run met, measured once for the whole layout (COSMMarkupRun::MeasureAdvances),
        // so that words, lines and characters are measured and cut from them without asking the system again.
        struct RunWidths
        {
            RefPtr<COSMMarkupRun> run;
            // widths[i]: the first i characters, for i up to the text's length (count entries), in storage or in
            // the layout's room for a short run.
            const long long* widths = nullptr;
            size_t count = 0;
            std::vector<long long> storage;
            int height = 0;
            BOOL measured = FALSE;
        };
        // Most blocks hold one short run: its widths are the first entry's, kept in the layout's own room, and the
        // table of the other runs stays empty. Neither takes a heap block then.
        COSMMarkupInline* firstWidthsItem = nullptr;
        RunWidths firstWidths;
        static constexpr size_t kShortRunWidths = 64;
        long long shortRunWidths[kShortRunWidths];
        std::unordered_map<COSMMarkupInline*, RunWidths> runWidths;
        // The runs the layout made for its own text (a space for an empty line, an ellipsis), by their text.
        std::vector<std::pair<LPCWSTR, COSMMarkupRun*>> madeRuns;
    };

    // The state of the layout pass that runs, on its stack (null between passes).
    LayoutState& State();
    // Measures the character widths of item into entry, in room (count entries) when it is not null.
    void MeasureRunWidths(COSMMarkupInline* item, LayoutState::RunWidths* entry, long long* room, size_t count);

    void CalculateLines(COSMMarkupDrawingContext* dc, int width);
    // The character widths of item when it is a run whose pieces measure as the sums of their characters, else null.
    const LayoutState::RunWidths* WidthsOf(COSMMarkupInline* item);
    // Whether the layout measured the widths of item's characters already.
    BOOL HasWidths(COSMMarkupInline* item) const;
    void MeasurePiece(TextPiece* piece);
    // The furthest position after start, up to end, whose piece from start is at most maxWidth wide (start when
    // not even one character fits), as COSMMarkupInline::FitPosition answers it.
    INT_PTR FitPosition(COSMMarkupInline* item, INT_PTR start, INT_PTR end, int maxWidth);
    void AddWord();
    void PlacePiece(TextPiece&& piece);
    // Adds piece to the line being filled, in the same chunk as the line's other pieces.
    void AppendPiece(const TextPiece& piece);
    // The pieces of the line being filled.
    PieceRange CurrentLine() const;
    // At the start of a line that does not hold the first character of piece: the characters of piece wider than
    // a line each go on a line of their own, measured together; piece keeps what is left.
    void PlaceCharactersOneALine(TextPiece* piece);
    void EndLine();
    void TrimLine();
    TextPiece MakeEmptyPiece(LPCWSTR text);
    int GetEnumValue(COSMMarkupDependencyProperty* property) const;

    COSMMarkupInlineCollection* m_pInlines;
    // The pieces of every line in reading order, in chunks of room that never move (a line's pieces in one), and
    // the lines: growing them copies nothing, and a million lines touch the memory they fill once.
    std::vector<std::vector<TextPiece>> m_pieceChunks;
    LineList m_lines;
    // The inlines the pieces point at, each once, held until the next layout.
    std::vector<RefPtr<COSMMarkupInline>> m_heldInlines;
    int m_nCachedWidth = -1;
    CSize m_szText;
    LayoutState* m_pState = nullptr;
};
