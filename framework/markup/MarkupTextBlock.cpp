#include "framework/markup/MarkupTextBlock.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupConverters.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupRun.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupTextElement.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>
#include <cwchar>
#include <type_traits>

IMPLEMENT_MARKUP_TYPE(COSMMarkupTextBlock, COSMMarkupFrameworkElement, L"TextBlock",
                      &COSMMarkupTextBlock::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupTextBlock::s_pTextWrappingProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupTextBlock::s_pTextTrimmingProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupTextBlock::s_pTextAlignmentProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupTextBlock::s_pPaddingProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupTextBlock::s_pTextProperty = nullptr;

namespace {

using Metadata = COSMMarkupPropertyMetadata;

enum
{
    NoWrap = 0,
    Wrap = 1,
    TrimNone = 0,
    CharacterEllipsis = 1,
    WordEllipsis = 2,
    TextAlignRight = 1,
    TextAlignCenter = 2,
    TextAlignJustify = 3,
};

enum
{
    BaselineTop = 0,
    BaselineCenter = 1,
    BaselineBottom = 2,
    Baseline = 3,
    BaselineTextTop = 4,
    BaselineTextBottom = 5,
    BaselineSubscript = 6,
    BaselineSuperscript = 7,
};

COSMMarkupDependencyProperty* RegisterEnum(LPCWSTR name, COSMMarkupType* owner, Metadata::Converter converter,
                                           DWORD flags)
{
    return COSMMarkupDependencyProperty::Register(name, COSMMarkupEnum::GetClassType(), owner,
                                                  new Metadata(nullptr, converter, flags));
}

}  // namespace

// A layout of a million lines grows its arrays as plain bytes.
static_assert(std::is_trivially_copyable_v<COSMMarkupTextBlock::TextPiece>);
static_assert(std::is_trivially_copyable_v<COSMMarkupTextBlock::TextLine>);

namespace {

// Chunks of lines and pieces start small and double up to a size the heap still gives from its own blocks.
constexpr size_t kFirstChunk = 8;
constexpr size_t kLargestLineChunk = 4096;
constexpr size_t kLargestPieceChunk = 1024;
// The lines the chunks hold until they stop doubling: 8 + 16 + ... + 4096.
constexpr size_t kLinesInDoublingChunks = 2 * kLargestLineChunk - kFirstChunk;

// The doubling chunk that holds line index: chunk k holds the lines from 8 * (2^k - 1) on.
int ChunkIndexOfDoubling(size_t index)
{
    int chunk = 0;
    for (size_t start = kFirstChunk; index >= start; start = 2 * start + kFirstChunk)
        ++chunk;
    return chunk;
}

}  // namespace

const COSMMarkupTextBlock::TextLine& COSMMarkupTextBlock::LineList::operator[](size_t index) const
{
    if (index >= kLinesInDoublingChunks)
    {
        const size_t past = index - kLinesInDoublingChunks;
        const size_t doubling = static_cast<size_t>(ChunkIndexOfDoubling(kLinesInDoublingChunks - 1)) + 1;
        return m_chunks[doubling + past / kLargestLineChunk][past % kLargestLineChunk];
    }
    const int chunk = ChunkIndexOfDoubling(index);
    return m_chunks[static_cast<size_t>(chunk)][index - kFirstChunk * ((size_t{1} << chunk) - 1)];
}

void COSMMarkupTextBlock::LineList::push_back(const TextLine& line)
{
    if (m_chunks.empty() || m_chunks.back().size() == m_chunks.back().capacity())
    {
        std::vector<TextLine> chunk;
        chunk.reserve(m_chunks.empty() ? kFirstChunk : std::min(kLargestLineChunk, 2 * m_chunks.back().capacity()));
        m_chunks.push_back(std::move(chunk));
    }
    m_chunks.back().push_back(line);
    ++m_size;
}

void COSMMarkupTextBlock::LineList::clear()
{
    m_chunks.clear();
    m_size = 0;
}

void COSMMarkupTextBlock::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    COSMMarkupTextElement::GetClassType()->EnsureInitialized();
    for (COSMMarkupDependencyProperty* property :
         {COSMMarkupTextElement::s_pBackgroundProperty, COSMMarkupTextElement::s_pForegroundProperty,
          COSMMarkupTextElement::s_pFontSizeProperty, COSMMarkupTextElement::s_pFontWeightProperty,
          COSMMarkupTextElement::s_pFontQualityProperty, COSMMarkupTextElement::s_pFontFamilyProperty,
          COSMMarkupTextElement::s_pFontStyleProperty, COSMMarkupTextElement::s_pTextDecorationsProperty})
        property->AddOwner(type);
    s_pTextWrappingProperty = RegisterEnum(L"TextWrapping", type, ConvertTextWrapping, Metadata::AffectsMeasure);
    s_pTextTrimmingProperty = RegisterEnum(L"TextTrimming", type, ConvertTextTrimming, Metadata::AffectsMeasure);
    s_pTextAlignmentProperty = RegisterEnum(L"TextAlignment", type, ConvertTextAlignment, Metadata::AffectsArrange);
    s_pPaddingProperty = COSMMarkupDependencyProperty::Register(
        L"Padding", COSMMarkupThickness::GetClassType(), type,
        new Metadata(COSMMarkupThickness::GetDefaultValue(), Metadata::AffectsMeasure));
    s_pTextProperty = COSMMarkupDependencyProperty::Register(L"Text", COSMMarkupString::GetClassType(), type,
                                                             new Metadata(nullptr, Metadata::AffectsMeasure));
}

COSMMarkupTextBlock::COSMMarkupTextBlock() : m_pInlines(new COSMMarkupInlineCollection)
{
    m_pInlines->SetLogicalParent(this);
}

COSMMarkupTextBlock::~COSMMarkupTextBlock()
{
    m_lines.clear();
    m_pieceChunks.clear();
    m_heldInlines.clear();
    m_pInlines->SetLogicalParent(nullptr);
    m_pInlines->Release();
}

COSMMarkupObject* COSMMarkupTextBlock::GetLogicalChild(int index) const
{
    return index == 0 ? m_pInlines : nullptr;
}

void COSMMarkupTextBlock::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    m_pInlines->SetContentObject(builder, content);
}

BOOL COSMMarkupTextBlock::HasContentObject() const
{
    return m_pInlines->HasContentObject();
}

void COSMMarkupTextBlock::SetText(LPCWSTR text)
{
    SetValue(s_pTextProperty, text ? new COSMMarkupString(text, static_cast<int>(wcslen(text))) : nullptr);
}

void COSMMarkupTextBlock::OnPropertyChanged(COSMMarkupDependencyProperty* property, COSMMarkupObject* oldValue,
                                            COSMMarkupObject* newValue)
{
    if (property == s_pTextProperty)
    {
        m_lines.clear();
        m_pieceChunks.clear();
        m_heldInlines.clear();
        m_pInlines->RemoveAll();
        if (const COSMMarkupString* text = MarkupDynamicCast<COSMMarkupString>(newValue))
            m_pInlines->AddText(text->GetText(), text->GetLength());
    }
    COSMMarkupFrameworkElement::OnPropertyChanged(property, oldValue, newValue);
}

int COSMMarkupTextBlock::GetEnumValue(COSMMarkupDependencyProperty* property) const
{
    const COSMMarkupEnum* value = MarkupDynamicCast<COSMMarkupEnum>(GetValue(property));
    return value ? value->GetValue() : 0;
}

int COSMMarkupTextBlock::GetCharIndex(const TextPiece& piece, INT_PTR position)
{
    const COSMMarkupRun* run = MarkupDynamicCast<COSMMarkupRun>(piece.inlineElement);
    return run ? run->GetCharIndex(position) : -1;
}

void COSMMarkupTextBlock::InvalidateMeasureCore(COSMMarkupDrawingContext* dc)
{
    m_nCachedWidth = -1;
    COSMMarkupFrameworkElement::InvalidateMeasureCore(dc);
}

CSize COSMMarkupTextBlock::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    const COSMMarkupThickness* padding = MarkupDynamicCast<COSMMarkupThickness>(GetValue(s_pPaddingProperty));
    const int h = padding ? AddMarkupLengths(padding->GetLeft(), padding->GetRight()) : 0;
    const int v = padding ? AddMarkupLengths(padding->GetTop(), padding->GetBottom()) : 0;
    CalculateLines(dc, std::max(0, SubtractMarkupLengths(availableWidth, h)));
    return CSize(AddMarkupLengths(m_szText.cx, h), AddMarkupLengths(m_szText.cy, v));
}

// ---- Layout ------------------------------------------------------------------------------------------------------

void COSMMarkupTextBlock::CalculateLines(COSMMarkupDrawingContext* dc, int width)
{
    const int wrapping = GetEnumValue(s_pTextWrappingProperty);
    const int trimming = wrapping == NoWrap ? GetEnumValue(s_pTextTrimmingProperty) : TrimNone;
    const BOOL reusable =
        width == m_nCachedWidth || (wrapping == NoWrap && trimming == TrimNone && m_nCachedWidth != -1);
    if (reusable && !dc->BypassLayoutCache())
        return;

    m_lines.clear();
    m_pieceChunks.clear();
    m_heldInlines.clear();
    // A layout cut short (by an exception from within) leaves no lines whose pieces are not in place.
    struct ForgetOnFailure
    {
        COSMMarkupTextBlock* block;
        bool done = false;
        ~ForgetOnFailure()
        {
            if (done)
                return;
            block->m_lines.clear();
            block->m_pieceChunks.clear();
            block->m_heldInlines.clear();
            block->m_nCachedWidth = -1;
            block->m_pState = nullptr;
        }
    } forget{this};
    m_nCachedWidth = width;
    // On the stack: a layout of a short text then takes heap blocks only for the lines and pieces it keeps.
    LayoutState s;
    m_pState = &s;
    s.dc = dc;
    s.width = width;
    s.wrapping = wrapping;
    s.trimming = trimming;
    s.justify = wrapping != NoWrap && GetEnumValue(s_pTextAlignmentProperty) == TextAlignJustify;

    COSMMarkupInline* first = m_pInlines->GetInline(0);
    if (first)
        first = first->GetFirstInline();
    else
        s.pending.push_back(MakeEmptyPiece(L" "));

    for (COSMMarkupInline* item = first; item; item = item->GetNextInline())
    {
        m_heldInlines.push_back(RetainRef(item));
        item->PrepareFont(dc);
        INT_PTR position = item->GetFirstPosition();
        s.current.emplace(item, position);
        while (position != -1)
        {
            s.current->end = position;
            if (s.wrapping != NoWrap && item->IsWhiteSpace(position))
            {
                // The white space begins the next piece: a line may break before it.
                MeasurePiece(&*s.current);
                AddWord();
            }
            if (item->IsLineBreak(position))
            {
                MeasurePiece(&*s.current);
                AddWord();
                if (s.lineCount == 0)
                {
                    // An empty line keeps the height of its font.
                    s.pending.push_back(MakeEmptyPiece(L" "));
                    AddWord();
                }
                EndLine();
                item->GetNextPosition(position);
                s.current.emplace(item, position);
                s.current->afterBreak = true;
                continue;
            }
            item->GetNextPosition(position);
        }
        // A word may run on into the next inline: the rest waits without a flush.
        if (s.current->start != -1)
            s.current->end = -1;
        if (!s.current->IsEmpty() || s.current->afterBreak)
        {
            MeasurePiece(&*s.current);
            s.pending.push_back(std::move(*s.current));
        }
        s.current.reset();
    }
    AddWord();
    EndLine();
    if (dc->BypassLayoutCache())
        m_nCachedWidth = -1;
    m_szText = CSize(s.widest, s.y);
    m_pState = nullptr;
    forget.done = true;
}

COSMMarkupTextBlock::LayoutState& COSMMarkupTextBlock::State()
{
    // Only the layout pass calls here, while its state lives.
    return *m_pState;
}

COSMMarkupTextBlock::TextPiece COSMMarkupTextBlock::MakeEmptyPiece(LPCWSTR text)
{
    // One run for each text a layout needs, whatever the number of empty lines or trimmed lines: a run costs an
    // object, a font and a measure.
    LayoutState& s = State();
    for (const auto& made : s.madeRuns)
    {
        if (wcscmp(made.first, text) == 0)
        {
            TextPiece piece(made.second, made.second->GetFirstPosition());
            MeasurePiece(&piece);
            return piece;
        }
    }
    COSMMarkupContext* context = GetMarkupContext();
    COSMMarkupRun* run =
        context ? MarkupDynamicCast<COSMMarkupRun>(context->CreateObject(COSMMarkupRun::GetClassType())) : nullptr;
    if (!run)
        run = new COSMMarkupRun;
    // The text goes in before the run joins the block: a run's text set within the block would mark the block's
    // measure stale from inside its own layout, and every later measure would lay all its lines out again.
    run->SetText(text);
    run->SetLogicalParent(this);
    run->PrepareFont(s.dc);
    TextPiece piece(run, run->GetFirstPosition());
    m_heldInlines.push_back(AdoptRef(run));
    s.madeRuns.emplace_back(text, run);
    MeasurePiece(&piece);
    return piece;
}

const COSMMarkupTextBlock::LayoutState::RunWidths* COSMMarkupTextBlock::WidthsOf(COSMMarkupInline* item)
{
    LayoutState& s = State();
    if (item == s.firstWidthsItem)
        return s.firstWidths.measured ? &s.firstWidths : nullptr;
    if (!s.firstWidthsItem)
    {
        s.firstWidthsItem = item;
        MeasureRunWidths(item, &s.firstWidths, s.shortRunWidths, LayoutState::kShortRunWidths);
        return s.firstWidths.measured ? &s.firstWidths : nullptr;
    }
    auto found = s.runWidths.find(item);
    if (found == s.runWidths.end())
    {
        MeasureRunWidths(item, &s.runWidths[item], nullptr, 0);
        found = s.runWidths.find(item);
    }
    return found->second.measured ? &found->second : nullptr;
}

void COSMMarkupTextBlock::MeasureRunWidths(COSMMarkupInline* item, LayoutState::RunWidths* entry, long long* room,
                                           size_t count)
{
    COSMMarkupRun* run = MarkupDynamicCast<COSMMarkupRun>(item);
    const COSMMarkupString* text = run ? run->GetText() : nullptr;
    if (!text || text->GetLength() <= 0)
        return;
    // Held for the layout: a run the layout made for itself (a space, an ellipsis) may go while the layout runs,
    // and another made at its address must not find its widths.
    entry->run = RetainRef(run);
    const size_t needed = static_cast<size_t>(text->GetLength()) + 1;
    long long* widths = room;
    if (!room || needed > count)
    {
        entry->storage.resize(needed);
        widths = entry->storage.data();
    }
    entry->measured = run->MeasureAdvances(State().dc, widths, &entry->height);
    if (!entry->measured)
    {
        std::vector<long long>().swap(entry->storage);
        return;
    }
    entry->widths = widths;
    entry->count = needed;
}

BOOL COSMMarkupTextBlock::HasWidths(COSMMarkupInline* item) const
{
    return item == m_pState->firstWidthsItem || m_pState->runWidths.count(item) != 0;
}

void COSMMarkupTextBlock::MeasurePiece(TextPiece* piece)
{
    // A layout that neither wraps nor trims cuts a run only at its line feeds: a piece that is a run's whole text is
    // measured as the system measures it, in one call, without the run's widths and the questions about the device
    // they need. The usual text of a word or a few then costs one measure.
    const LayoutState& s = State();
    const BOOL wholeRun = s.wrapping == NoWrap && s.trimming == TrimNone && piece->start != 0 && piece->start != -1 &&
                          piece->end == -1 && piece->start == piece->inlineElement->GetFirstPosition();
    if (piece->start != 0 && piece->start != -1 && piece->end != 0 && !(wholeRun && !HasWidths(piece->inlineElement)))
    {
        if (const LayoutState::RunWidths* widths = WidthsOf(piece->inlineElement))
        {
            const int first = widths->run->GetCharIndex(piece->start);
            const int last = widths->run->GetCharIndex(piece->end);
            if (first >= 0 && last >= first && static_cast<size_t>(last) < widths->count)
            {
                // An empty piece is as wide as nothing and as tall as the run's text, as the run measures it.
                const long long width =
                    widths->widths[static_cast<size_t>(last)] - widths->widths[static_cast<size_t>(first)];
                piece->width = static_cast<int>(std::clamp<long long>(width, 0, 2147483647LL));
                piece->height = widths->height;
                piece->descent = piece->inlineElement->GetDescent();
                return;
            }
        }
    }
    const CSize size = piece->inlineElement->Measure(State().dc, piece->start, piece->end);
    piece->width = size.cx;
    piece->height = size.cy;
    piece->descent = piece->inlineElement->GetDescent();
}

INT_PTR COSMMarkupTextBlock::FitPosition(COSMMarkupInline* item, INT_PTR start, INT_PTR end, int maxWidth)
{
    LayoutState& s = State();
    const LayoutState::RunWidths* widths = start != 0 && start != -1 && end != 0 ? WidthsOf(item) : nullptr;
    if (!widths)
        return item->FitPosition(s.dc, start, end, maxWidth);
    const int first = widths->run->GetCharIndex(start);
    const int last = widths->run->GetCharIndex(end);
    if (first < 0 || last <= first || static_cast<size_t>(last) >= widths->count)
        return item->FitPosition(s.dc, start, end, maxWidth);
    // Characters fit while the piece up to them does, as the system counts them: up to the first that does not.
    const long long* at = widths->widths;
    int fit = first;
    while (fit < last && at[fit + 1] - at[first] <= maxWidth)
        ++fit;
    if (fit == first)
        return start;
    if (fit == last)
        return end;
    return reinterpret_cast<INT_PTR>(widths->run->GetTextChars() + fit);
}

void COSMMarkupTextBlock::AddWord()
{
    LayoutState& s = State();
    if (s.current && (!s.current->IsEmpty() || s.current->afterBreak))
    {
        COSMMarkupInline* item = s.current->inlineElement;
        const INT_PTR end = s.current->end;
        s.pending.push_back(std::move(*s.current));
        s.current.emplace(item, end);
    }
    if (s.wrapping != NoWrap && s.x > 0)
    {
        int pendingWidth = 0;
        for (const TextPiece& piece : s.pending)
            pendingWidth = AddMarkupLengths(pendingWidth, piece.width);
        if (AddMarkupLengths(s.x, pendingWidth) > s.width)
        {
            s.lineWrapped = TRUE;
            EndLine();
        }
    }
    while (!s.pending.empty())
    {
        TextPiece piece = std::move(s.pending.front());
        s.pending.pop_front();
        COSMMarkupInline* item = piece.inlineElement;
        if (s.x == 0 && s.y > 0 && !piece.IsEmpty())
        {
            const INT_PTR before = piece.start;
            while (piece.start != piece.end && piece.start != -1 && item->IsBlank(piece.start))
                item->GetNextPosition(piece.start);
            if (piece.start != before)
            {
                if (piece.start == piece.end || piece.start == -1)
                    continue;
                MeasurePiece(&piece);
            }
        }
        if (s.wrapping == Wrap && AddMarkupLengths(s.x, piece.width) > s.width && !piece.IsEmpty())
        {
            // Break the word where the system says the line is full, keeping at least one character on each line.
            // The rest is measured only when it fits a line: a word of any length costs its length once. Where the
            // rest does not fit, what a whole line of it holds is already known for the next line.
            INT_PTR fitted = 0;
            for (;;)
            {
                const INT_PTR end = piece.end;
                INT_PTR cut = fitted ? fitted : FitPosition(item, piece.start, end, s.width - s.x);
                fitted = 0;
                if (cut == piece.start && s.x == 0)
                {
                    PlaceCharactersOneALine(&piece);
                    if (piece.start == end || piece.start == -1)
                        break;
                    if (piece.start != cut)
                        continue;
                }
                if (cut == piece.start)
                    item->GetNextPosition(cut);
                piece.end = cut;
                MeasurePiece(&piece);
                PlacePiece(std::move(piece));
                s.lineWrapped = TRUE;
                EndLine();
                if (cut == end || cut == -1)
                    break;
                piece = TextPiece(item, cut);
                piece.end = end;
                fitted = FitPosition(item, cut, end, s.width);
                if (fitted == end)
                {
                    MeasurePiece(&piece);
                    s.pending.push_front(std::move(piece));
                    break;
                }
            }
            continue;
        }
        TextPiece* last = s.lineCount ? &CurrentLine().back() : nullptr;
        if (!s.justify && last && last->inlineElement == item && last->end == piece.start && !piece.afterBreak)
        {
            // The word joins the piece before it; the joined piece is measured as a whole once, when its line
            // ends, not once per word.
            last->end = piece.end;
            last->width = AddMarkupLengths(last->width, piece.width);
            last->joined = true;
            s.x = AddMarkupLengths(s.x, piece.width);
            continue;
        }
        PlacePiece(std::move(piece));
    }
}

void COSMMarkupTextBlock::PlaceCharactersOneALine(TextPiece* piece)
{
    // A room narrower than a character (a block a pixel wide) puts every character on a line of its own: measured
    // one call for each would cost a word of a million characters seconds.
    LayoutState& s = State();
    COSMMarkupInline* item = piece->inlineElement;
    constexpr int kBlock = 256;
    int block[kBlock];
    const int* widths = block;
    int count = 0;
    int height = 0;
    const LayoutState::RunWidths* measured = WidthsOf(item);
    const int first = measured ? measured->run->GetCharIndex(piece->start) : -1;
    const int last = measured ? measured->run->GetCharIndex(piece->end) : -1;
    if (first >= 0 && last > first && static_cast<size_t>(last) < measured->count)
    {
        // The characters' own widths from the run's: each is the difference of two of them.
        count = std::min(last - first, kBlock);
        for (int i = 0; i < count; ++i)
        {
            const long long width =
                measured->widths[static_cast<size_t>(first + i) + 1] - measured->widths[static_cast<size_t>(first + i)];
            block[i] = static_cast<int>(std::clamp<long long>(width, 0, 2147483647LL));
        }
        height = measured->height;
    }
    else
    {
        count = item->MeasurePositions(s.dc, piece->start, piece->end, kBlock, block, &height);
    }
    const int descent = count > 0 ? item->GetDescent() : 0;
    for (int i = 0; i < count && widths[i] > s.width && piece->start != piece->end && piece->start != -1; ++i)
    {
        TextPiece one(item, piece->start);
        one.afterBreak = piece->afterBreak;
        piece->afterBreak = false;
        item->GetNextPosition(piece->start);
        one.end = piece->start;
        one.width = widths[i];
        one.height = height;
        one.descent = descent;
        PlacePiece(std::move(one));
        s.lineWrapped = TRUE;
        EndLine();
    }
}

void COSMMarkupTextBlock::PlacePiece(TextPiece&& piece)
{
    LayoutState& s = State();
    piece.x = s.x;
    piece.y = s.y;
    s.x = AddMarkupLengths(s.x, piece.width);
    AppendPiece(piece);
}

void COSMMarkupTextBlock::AppendPiece(const TextPiece& piece)
{
    LayoutState& s = State();
    if (m_pieceChunks.empty() || m_pieceChunks.back().size() == m_pieceChunks.back().capacity())
    {
        // A short text takes a few pieces' room, a long one chunks the heap gives from its own blocks; a line
        // longer than a chunk takes one twice its length.
        const size_t room =
            m_pieceChunks.empty() ? kFirstChunk : std::min(kLargestPieceChunk, 2 * m_pieceChunks.back().capacity());
        std::vector<TextPiece> chunk;
        chunk.reserve(std::max(room, 2 * (s.lineCount + 1)));
        if (s.lineCount)
        {
            // The line's pieces so far go along, so that its pieces stay together.
            std::vector<TextPiece>& full = m_pieceChunks.back();
            const auto lineBegin = full.end() - static_cast<std::ptrdiff_t>(s.lineCount);
            chunk.insert(chunk.end(), lineBegin, full.end());
            full.erase(lineBegin, full.end());
        }
        m_pieceChunks.push_back(std::move(chunk));
    }
    m_pieceChunks.back().push_back(piece);
    ++s.lineCount;
}

COSMMarkupTextBlock::PieceRange COSMMarkupTextBlock::CurrentLine() const
{
    const size_t count = m_pState ? m_pState->lineCount : 0;
    if (count == 0 || m_pieceChunks.empty())
        return PieceRange();
    // The pieces are the layout's to change; only the chunk's list is const here.
    TextPiece* end = const_cast<TextPiece*>(m_pieceChunks.back().data()) + m_pieceChunks.back().size();
    return PieceRange(end - count, count);
}

void COSMMarkupTextBlock::EndLine()
{
    LayoutState& s = State();
    if (s.lineCount == 0)
        return;
    int x = 0;
    for (TextPiece& piece : CurrentLine())
    {
        if (piece.joined)
        {
            MeasurePiece(&piece);
            piece.joined = false;
        }
        piece.x = x;
        x = AddMarkupLengths(x, piece.width);
    }
    s.x = x;
    if (s.trimming != TrimNone && s.x > s.width)
        TrimLine();
    TextLine line;
    line.pieces = CurrentLine();
    line.wrapped = s.lineWrapped;
    for (const TextPiece& piece : line.pieces)
    {
        line.width = AddMarkupLengths(line.width, piece.width);
        line.descent = std::max(line.descent, piece.descent);
    }
    for (const TextPiece& piece : line.pieces)
        line.height = std::max(line.height, piece.height - piece.descent + line.descent);
    s.widest = std::max(s.widest, line.width);
    s.x = 0;
    s.y = AddMarkupLengths(s.y, line.height);
    m_lines.push_back(line);
    s.lineCount = 0;
    s.lineWrapped = FALSE;
}

void COSMMarkupTextBlock::TrimLine()
{
    LayoutState& s = State();
    TextPiece ellipsis = MakeEmptyPiece(L"...");
    ellipsis.end = -1;
    MeasurePiece(&ellipsis);
    const int room = s.width - ellipsis.width;
    int used = 0;
    const PieceRange line = CurrentLine();
    for (size_t i = 0; i < line.size(); ++i)
    {
        TextPiece* piece = &line[i];
        if (used + piece->width <= room)
        {
            used += piece->width;
            continue;
        }
        COSMMarkupInline* item = piece->inlineElement;
        INT_PTR cut = FitPosition(item, piece->start, piece->end, room - used);
        // The last white space up to the cut, and at it when the piece goes on past it.
        INT_PTR lastSpace = 0;
        for (INT_PTR p = piece->start; p != piece->end && p != -1 && p != 0; item->GetNextPosition(p))
        {
            if (item->IsWhiteSpace(p))
                lastSpace = p;
            if (p == cut)
                break;
        }
        if (s.trimming == WordEllipsis)
        {
            if (lastSpace)
                cut = lastSpace;
            else if (i > 0)
                cut = piece->start;
        }
        piece->end = cut;
        MeasurePiece(piece);
        if (piece->IsEmpty())
            piece->width = 0;
        ellipsis.x = used + piece->width;
        ellipsis.y = piece->y;
        // The pieces after this one go; the ellipsis takes their place.
        std::vector<TextPiece>& chunk = m_pieceChunks.back();
        chunk.erase(chunk.end() - static_cast<std::ptrdiff_t>(line.size() - i - 1), chunk.end());
        s.lineCount = i + 1;
        AppendPiece(ellipsis);
        return;
    }
}

// ---- Arrange, render, hit test -----------------------------------------------------------------------------------

CSize COSMMarkupTextBlock::ArrangeOverride(int width, int height)
{
    const COSMMarkupThickness* padding = MarkupDynamicCast<COSMMarkupThickness>(GetValue(s_pPaddingProperty));
    const int left = padding ? padding->GetLeft() : 0;
    const int top = padding ? padding->GetTop() : 0;
    const int right = padding ? padding->GetRight() : 0;
    const int alignment = GetEnumValue(s_pTextAlignmentProperty);
    for (const auto& line : m_lines)
    {
        int extra = width - line.width - left - right;
        int offset = alignment == TextAlignRight ? extra : alignment == TextAlignCenter ? extra / 2 : 0;
        int gaps = 0;
        if (alignment == TextAlignJustify && line.wrapped && width > line.width)
        {
            for (const auto& piece : line.pieces)
                gaps += piece.afterBreak ? 0 : 1;
            gaps -= 1;
        }
        BOOL firstPiece = TRUE;
        for (TextPiece& piece : line.pieces)
        {
            piece.dx = left + offset;
            piece.dy = top + line.height - piece.height;
            if (gaps > 0 && extra > 0 && !firstPiece && !piece.afterBreak)
            {
                const int add = std::max(1, extra / gaps);
                piece.dx += add;
                extra -= add;
                gaps -= 1;
                offset += add;
            }
            firstPiece = FALSE;
            switch (piece.inlineElement->GetBaselineAlignment())
            {
            case BaselineTop:
            case BaselineTextTop:
                piece.dy += piece.height - line.height;
                break;
            case BaselineCenter:
                piece.dy += (piece.height - line.height) / 2;
                break;
            case Baseline:
                piece.dy += piece.descent - line.descent;
                break;
            case BaselineSubscript:
                piece.dy += piece.descent - line.descent / 2;
                break;
            case BaselineSuperscript:
                piece.dy += (piece.height - line.height) + line.descent / 2 - piece.descent;
                break;
            default:
                break;
            }
            piece.inlineElement->Arrange(piece.GetRect(), piece.start, piece.end);
        }
    }
    return CSize(width, height);
}

void COSMMarkupTextBlock::OnRender(COSMMarkupDrawingContext* dc)
{
    const CSize size = GetRenderSize();
    COSMMarkupBrush* background =
        MarkupDynamicCast<COSMMarkupBrush>(GetValue(COSMMarkupTextElement::s_pBackgroundProperty));
    if (background)
        dc->FillRectangle(CRect(0, 0, size.cx, size.cy), background);
    COSMMarkupContext* context = GetMarkupContext();
    const COLORREF defaultColor = context ? context->defaultColor : 0;
    const RefPtr<COSMMarkupBrush> defaultBrush = AdoptRef<COSMMarkupBrush>(new COSMMarkupSolidColorBrush(defaultColor));
    COSMMarkupBrush* defaultText = defaultBrush.Get();
    COSMMarkupBrush* lastColor = nullptr;
    const CRect clip = dc->GetClipBox();
    for (const auto& line : m_lines)
    {
        for (const auto& piece : line.pieces)
        {
            const CRect rect = piece.GetRect();
            CRect visible;
            if (!visible.IntersectRect(&rect, &clip))
                continue;
            COSMMarkupInline* item = piece.inlineElement;
            COSMMarkupBrush* itemBackground = item->GetBackground();
            if (itemBackground && itemBackground != background)
                dc->FillRectangle(rect, itemBackground);
            COSMMarkupBrush* foreground = item->GetForeground();
            COSMMarkupBrush* color = foreground ? foreground : defaultText;
            if (color != lastColor)
            {
                dc->SetTextColor(color);
                lastColor = color;
            }
            item->Render(dc, rect, piece.start, piece.end);

            const COSMMarkupEnum* decorations =
                MarkupDynamicCast<COSMMarkupEnum>(item->GetValue(COSMMarkupTextElement::s_pTextDecorationsProperty));
            if (!decorations || decorations->GetValue() == 0)
                continue;
            const int descent = line.descent;
            const int thickness = std::max(1, descent / 3);
            const int barTop = decorations->GetValue() == 1
                                   ? rect.bottom - piece.descent + thickness
                                   : rect.bottom - piece.descent + descent - (line.height - descent) / 2;
            const CRect bar(rect.left, barTop, rect.right, barTop + thickness);
            // The colour of the element that decorates, not of the text inside it.
            COSMMarkupObject* owner = item->FindValueOwner(COSMMarkupTextElement::s_pTextDecorationsProperty);
            COSMMarkupBrush* barBrush =
                owner
                    ? MarkupDynamicCast<COSMMarkupBrush>(owner->GetValue(COSMMarkupTextElement::s_pForegroundProperty))
                    : nullptr;
            if (barBrush)
                dc->FillRectangle(bar, barBrush);
            else
                dc->FillSolidRect(bar, defaultColor);
        }
    }
    dc->SetTextColor(nullptr);
}

COSMMarkupInputElement* COSMMarkupTextBlock::InputHitTestCore(int x, int y)
{
    for (const auto& line : m_lines)
    {
        for (const auto& piece : line.pieces)
        {
            if (piece.GetRect().PtInRect(CPoint(x, y)))
                return piece.inlineElement->InputHitTest(x, y);
        }
    }
    return this;
}
