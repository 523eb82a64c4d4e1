// The row layout of a bar's controls (CalcDynamicSize): controls flow along rows that wrap at the length, or are
// hidden when they do not fit; or, for bars with the stacked flag, large buttons stand beside stacks of small ones
// and shrink until they fit. One record per control lives for one call.
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/Controls.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/foundation/ImageManager.h"
#include "framework/commandbars/PaintManager.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Searches narrow the width between these.
const int kNarrowest = 0;
const int kWidest = 32767;
// The square and height searches halve a span of at most kWidest: they settle long before this many rounds, which
// only guards against layouts whose sizes do not grow with the width.
const int kMaxSearchRounds = 64;
// Room between the groups of a stacked layout.
const int kStackedGroupGap = 6;
// The padding a stacked column adds to the large icon's height.
const int kStackedColumnPadding = 7;
// Button styles of the stacked layout: icon only, icon and caption, caption below a large icon.
const int kStyleIcon = 2;
const int kStyleIconAndCaption = 3;
const int kStyleLargeButton = 4;
// How many neighbours a stacked reduction changes at once.
const size_t kReductionRun = 3;
// An empty bar still has room for a button.
const CSize kEmptyBarSize(23, 22);

struct LayoutRecord
{
    CRect rect;
    CRect rowRect;
    CSize size;
    BOOL visible = FALSE;
    BOOL wrap = FALSE;
    BOOL hidden = FALSE;
    BOOL beginGroup = FALSE;
    int style = 0;
    COSMControl* control = nullptr;
};

int Along(const CSize& size, BOOL vertical)
{
    return vertical ? size.cy : size.cx;
}

class RowLayout
{
public:
    RowLayout(COSMCommandBar* bar, COSMPaintManager* paintManager, CDC* dc, CSize groupGap)
        : m_bar(bar), m_paintManager(paintManager), m_dc(dc), m_groupGap(groupGap),
          m_controlGap(bar->GetControlSpacing())
    {}

    void Fill(const COSMControls& controls);
    // Marks the rows; the number of rows. Wrapped tells whether rows wrapped or controls were hidden.
    int Wrap(int length, DWORD mode);
    // Places the rows from 0,0 (columns to the left of 0 when vertical); the size they take.
    CSize Measure(BOOL vertical);
    // The arrangement nearest to a square (fitHeight FALSE), or whose height is the length (fitHeight TRUE).
    void SearchBalance(DWORD mode, BOOL fitHeight, int length);
    void FitToLength(int length, DWORD mode);
    // The stacked layout; sets kLayoutWrapped when it had to shrink.
    CSize Stacked(int length, DWORD& mode);
    // Commit: moves the rows inside the borders, gives each row its rectangle and centres controls across it.
    void CloseRows(const CSize& size, const CRect& borders, BOOL vertical, BOOL stacked);
    // Commit with the borders in the size: right-aligned controls to the far end, stretchable ones share the room.
    void AlignRows(const CSize& size, const CRect& borders, BOOL vertical);
    void WriteBack() const;

    BOOL IsWrapped() const { return m_wrapped; }

private:
    CSize MeasureAfterWrap(int length, DWORD mode, BOOL vertical)
    {
        Wrap(length, mode);
        return Measure(vertical);
    }
    // Indices of the placed records (visible, not hidden) by row.
    std::vector<std::vector<size_t>> Rows() const;
    CSize PlaceStacked(int columnLimit);
    BOOL ReduceStacked();
    void MoveAlong(LayoutRecord& record, int delta, BOOL vertical) const;

    COSMCommandBar* m_bar;
    COSMPaintManager* m_paintManager;
    CDC* m_dc;
    CSize m_groupGap;
    CSize m_controlGap;
    std::vector<LayoutRecord> m_records;
    BOOL m_wrapped = FALSE;
    // The first record that right alignment moved; none when it is the record count.
    size_t m_alignedFrom = 0;
};

void RowLayout::Fill(const COSMControls& controls)
{
    m_records.resize(static_cast<size_t>(controls.GetCount()));
    for (size_t i = 0; i < m_records.size(); ++i)
    {
        LayoutRecord& record = m_records[i];
        COSMControl* control = controls.GetAt(static_cast<int>(i));
        record.control = control;
        record.rect = control->GetRect();
        // A control hidden only because it did not fit last time takes part again.
        record.visible = control->IsVisible(COSMControl::kHideWrap);
        record.beginGroup = control->GetBeginGroup();
        record.style = control->GetStyle();
        if (record.visible)
            record.size = control->GetSize(m_dc);
    }
    m_alignedFrom = m_records.size();
}

int RowLayout::Wrap(int length, DWORD mode)
{
    const BOOL vertical = (mode & COSMControls::kLayoutVertical) != 0;
    m_wrapped = FALSE;
    for (LayoutRecord& record : m_records)
        record.wrap = record.hidden = FALSE;

    int x = 0;
    int rows = 0;
    BOOL first = TRUE;
    size_t rowStart = 0;
    size_t i = 0;
    while (i < m_records.size())
    {
        LayoutRecord& record = m_records[i];
        record.wrap = record.hidden = FALSE;
        if (!record.visible)
        {
            ++i;
            continue;
        }
        const int own = Along(record.size, vertical);
        if (first)
        {
            // The first control opens the first row whatever its size.
            first = FALSE;
            x = own;
            rowStart = i++;
            continue;
        }
        if (record.control->GetFlags() & COSMControl::kFlagWrapRow)
        {
            record.wrap = TRUE;
            ++rows;
            x = own;
            rowStart = i++;
            continue;
        }
        const int extent = own + (record.beginGroup ? m_groupGap.cx : m_controlGap.cx);
        const BOOL needsRow = x + extent > length || ((mode & COSMControls::kLayoutPopupToolBar) && record.beginGroup);
        if (!needsRow)
        {
            x += extent;
            ++i;
            continue;
        }
        if (mode & COSMControls::kLayoutHideWrap)
        {
            // Everything up to the next control that starts a row of its own is hidden.
            size_t next = i;
            for (; next < m_records.size(); ++next)
            {
                if (m_records[next].control->GetFlags() & COSMControl::kFlagWrapRow)
                    break;
                m_records[next].hidden = m_records[next].visible;
            }
            m_wrapped = TRUE;
            if (next == m_records.size())
                return rows + 1;
            i = next;
            continue;
        }
        // A group moves to the next row whole: the row breaks before the last group start in it.
        size_t breakAt = i;
        for (size_t k = i; k > rowStart; --k)
        {
            if (m_records[k].visible && m_records[k].beginGroup)
            {
                breakAt = k;
                break;
            }
        }
        m_records[breakAt].wrap = TRUE;
        ++rows;
        m_wrapped = TRUE;
        x = Along(m_records[breakAt].size, vertical);
        rowStart = breakAt;
        i = breakAt + 1;
    }
    return rows + 1;
}

CSize RowLayout::Measure(BOOL vertical)
{
    int along = 0;
    int across = 0;
    int thickness = 0;
    BOOL first = TRUE;
    CSize size(0, 0);
    for (LayoutRecord& record : m_records)
    {
        if (!record.visible || record.hidden)
            continue;
        if (!first)
        {
            if (record.wrap)
            {
                across += thickness + (record.beginGroup ? m_groupGap.cy : m_controlGap.cy);
                along = 0;
                thickness = 0;
            }
            else
            {
                along += record.beginGroup ? m_groupGap.cx : m_controlGap.cx;
            }
        }
        first = FALSE;
        const int width = record.size.cx;
        const int height = record.size.cy;
        if (!vertical)
        {
            record.rect.SetRect(along, across, along + width, across + height);
            along += width;
            thickness = std::max(thickness, height);
            size.cx = std::max(size.cx, record.rect.right);
        }
        else
        {
            // Columns run down and wrap to the left of 0; committing moves them into the positive range.
            record.rect.SetRect(-across - width, along, -across, along + height);
            along += height;
            thickness = std::max(thickness, width);
            size.cx = std::max(size.cx, -record.rect.left);
        }
        size.cy = std::max(size.cy, record.rect.bottom);
    }
    return size;
}

void RowLayout::SearchBalance(DWORD mode, BOOL fitHeight, int length)
{
    const BOOL vertical = (mode & COSMControls::kLayoutVertical) != 0;
    CSize narrow = MeasureAfterWrap(kNarrowest, mode, vertical);
    CSize wide = MeasureAfterWrap(kWidest, mode, vertical);
    for (int round = 0; round < kMaxSearchRounds && narrow.cx < wide.cx; ++round)
    {
        const CSize middle = MeasureAfterWrap((narrow.cx + wide.cx) / 2, mode, vertical);
        const int goal = fitHeight ? length : middle.cx;
        if (middle.cy == goal)
            return;
        if (middle.cy < goal)
        {
            wide = middle;
            continue;
        }
        if (middle == narrow)
        {
            // No narrower arrangement gets any lower: the widest fitting one stands.
            if (fitHeight)
                Wrap(wide.cx, mode);
            return;
        }
        narrow = middle;
    }
}

void RowLayout::FitToLength(int length, DWORD mode)
{
    if (mode & COSMControls::kLayoutLengthIsHeight)
    {
        SearchBalance(mode, TRUE, length);
        return;
    }
    // As many rows as the whole length gives, at the smallest width that still gives them.
    const int rows = Wrap(length, mode);
    if (Wrap(kNarrowest, mode) != rows)
    {
        int low = kNarrowest;
        int high = length;
        for (;;)
        {
            const int middle = low + (high - low) / 2;
            if (middle == low)
            {
                Wrap(high, mode);
                break;
            }
            if (Wrap(middle, mode) > rows)
                low = middle;
            else
                high = middle;
        }
    }
    const CSize size = Measure((mode & COSMControls::kLayoutVertical) != 0);
    Wrap(Along(size, (mode & COSMControls::kLayoutVertical) != 0), mode);
}

CSize RowLayout::PlaceStacked(int columnLimit)
{
    int x = 0;
    int columnY = 0;
    int columnWidth = 0;
    int tallest = 0;
    BOOL first = TRUE;
    CSize size(0, 0);
    for (LayoutRecord& record : m_records)
    {
        if (!record.visible || record.hidden)
            continue;
        const int style = record.control->GetStyle();
        if (style != record.style)
        {
            record.size = record.control->GetSize(m_dc);
            record.style = style;
        }
        const int width = record.size.cx;
        const int height = record.size.cy;
        if (!first && record.beginGroup)
            x += kStackedGroupGap;
        if (!first && !record.beginGroup && style != kStyleLargeButton && columnY + height <= columnLimit)
        {
            record.rect.SetRect(x, columnY, x + width, columnY + height);
            columnY += height;
            columnWidth = std::max(columnWidth, width);
        }
        else
        {
            if (!first)
                x += columnWidth;
            record.rect.SetRect(x, 0, x + width, height);
            columnY = height;
            columnWidth = width;
        }
        first = FALSE;
        size.cx = std::max(size.cx, record.rect.right);
        tallest = std::max(tallest, columnY);
    }
    size.cy = std::max(tallest, columnLimit);
    return size;
}

// One step smaller, from the end: three large buttons of a group become small ones; else three of a group with a
// large one among them; else three small ones of a group stacked in one column lose their captions.
BOOL RowLayout::ReduceStacked()
{
    std::vector<size_t> placed;
    for (size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].visible && !m_records[i].hidden)
            placed.push_back(i);
    if (placed.size() < kReductionRun)
        return FALSE;

    auto styleAt = [&](size_t p) { return m_records[placed[p]].control->GetStyle(); };
    // A run of three within one group: only its first control may start a group.
    auto isRun = [&](size_t last) {
        return !m_records[placed[last]].beginGroup && !m_records[placed[last - 1]].beginGroup;
    };
    auto setRun = [&](size_t last, int style) {
        for (size_t p = last + 1 - kReductionRun; p <= last; ++p)
            m_records[placed[p]].control->SetStyle(style);
    };
    const size_t lastRunEnd = placed.size() - 1;
    const size_t firstRunEnd = kReductionRun - 1;

    for (size_t last = lastRunEnd; last >= firstRunEnd; --last)
    {
        if (isRun(last) && styleAt(last) == kStyleLargeButton && styleAt(last - 1) == kStyleLargeButton &&
            styleAt(last - 2) == kStyleLargeButton)
        {
            setRun(last, kStyleIconAndCaption);
            return TRUE;
        }
    }
    for (size_t last = lastRunEnd; last >= firstRunEnd; --last)
    {
        if (isRun(last) && (styleAt(last) == kStyleLargeButton || styleAt(last - 1) == kStyleLargeButton ||
                            styleAt(last - 2) == kStyleLargeButton))
        {
            setRun(last, kStyleIconAndCaption);
            return TRUE;
        }
    }
    for (size_t last = lastRunEnd; last >= firstRunEnd; --last)
    {
        const int left = m_records[placed[last]].rect.left;
        if (isRun(last) && styleAt(last) == kStyleIconAndCaption && styleAt(last - 1) == kStyleIconAndCaption &&
            styleAt(last - 2) == kStyleIconAndCaption && m_records[placed[last - 1]].rect.left == left &&
            m_records[placed[last - 2]].rect.left == left)
        {
            setRun(last, kStyleIcon);
            return TRUE;
        }
    }
    return FALSE;
}

CSize RowLayout::Stacked(int length, DWORD& mode)
{
    COSMImageManager* images = m_bar->GetImageManager();
    const int largeIconWidth = m_bar->CalcIconSize(FALSE).cx;
    for (LayoutRecord& record : m_records)
    {
        record.wrap = record.hidden = FALSE;
        if (!record.visible)
            continue;
        const UINT imageId = record.control->GetIconId();
        const BOOL large = static_cast<int>(imageId) >= 1 && images && images->ContainsImage(imageId, largeIconWidth);
        record.control->SetStyle(large ? kStyleLargeButton : kStyleIconAndCaption);
    }
    const int columnLimit = m_bar->CalcIconSize(TRUE).cy + kStackedColumnPadding +
                            (m_paintManager ? m_paintManager->GetSplitButtonDropDownWidth() : 0);

    CSize size = PlaceStacked(columnLimit);
    if (size.cx > length)
    {
        mode |= COSMControls::kLayoutWrapped;
        // A layout that fits exactly keeps its last step.
        while (size.cx > length && ReduceStacked())
            size = PlaceStacked(columnLimit);
        if (size.cx > length && (mode & COSMControls::kLayoutHideWrap))
        {
            BOOL first = TRUE;
            for (LayoutRecord& record : m_records)
            {
                if (!record.visible)
                    continue;
                if (!first && record.rect.right > length)
                {
                    record.control->SetStyle(kStyleIcon);
                    record.hidden = TRUE;
                }
                first = FALSE;
            }
            size = PlaceStacked(columnLimit);
        }
    }
    if (mode & COSMControls::kLayoutVertical)
        std::swap(size.cx, size.cy);
    return size;
}

std::vector<std::vector<size_t>> RowLayout::Rows() const
{
    std::vector<std::vector<size_t>> rows;
    for (size_t i = 0; i < m_records.size(); ++i)
    {
        const LayoutRecord& record = m_records[i];
        if (!record.visible || record.hidden)
            continue;
        if (rows.empty() || record.wrap)
            rows.emplace_back();
        rows.back().push_back(i);
    }
    return rows;
}

void RowLayout::MoveAlong(LayoutRecord& record, int delta, BOOL vertical) const
{
    record.rect.OffsetRect(vertical ? 0 : delta, vertical ? delta : 0);
}

void RowLayout::CloseRows(const CSize& size, const CRect& borders, BOOL vertical, BOOL stacked)
{
    // Vertical rows were measured to the left of 0.
    const CPoint offset(borders.left + (vertical && !stacked ? size.cx : 0), borders.top);
    for (LayoutRecord& record : m_records)
        if (record.visible && !record.hidden)
            record.rect.OffsetRect(offset);

    const CRect inside(borders.left, borders.top, borders.left + size.cx, borders.top + size.cy);
    const std::vector<std::vector<size_t>> rows = Rows();
    for (const std::vector<size_t>& row : rows)
    {
        if (stacked)
        {
            for (size_t i : row)
                m_records[i].rowRect = inside;
            continue;
        }
        int thickness = 0;
        if (rows.size() == 1)
            thickness = vertical ? size.cx : size.cy;
        else
            for (size_t i : row)
                thickness = std::max(thickness, vertical ? m_records[i].rect.Width() : m_records[i].rect.Height());
        const CRect& lead = m_records[row.front()].rect;
        const CRect rowRect = vertical ? CRect(lead.right - thickness, inside.top, lead.right, inside.bottom)
                                       : CRect(inside.left, lead.top, inside.right, lead.top + thickness);
        for (size_t i : row)
        {
            LayoutRecord& record = m_records[i];
            record.rowRect = rowRect;
            if (vertical)
                record.rect.OffsetRect(rowRect.left + (thickness - record.rect.Width()) / 2 - record.rect.left, 0);
            else
                record.rect.OffsetRect(0, rowRect.top + (thickness - record.rect.Height()) / 2 - record.rect.top);
        }
    }
}

void RowLayout::AlignRows(const CSize& size, const CRect& borders, BOOL vertical)
{
    const std::vector<std::vector<size_t>> rows = Rows();
    if (rows.empty())
        return;

    // Right-aligned controls at the end of the last row go flush against the far end, without gaps.
    const int nearEnd = vertical ? borders.top : borders.left;
    int farEdge = vertical ? size.cy - borders.bottom : size.cx - borders.right;
    const std::vector<size_t>& lastRow = rows.back();
    for (size_t p = lastRow.size(); p-- > 1;)
    {
        LayoutRecord& record = m_records[lastRow[p]];
        if (!(record.control->GetFlags() & COSMControl::kFlagRightAlign))
            break;
        const int extent = vertical ? record.rect.Height() : record.rect.Width();
        if (farEdge - extent < nearEnd)
            break;
        MoveAlong(record, farEdge - (vertical ? record.rect.bottom : record.rect.right), vertical);
        farEdge -= extent;
        m_alignedFrom = lastRow[p];
    }

    // Stretchable controls share what is left of each row, in order.
    for (const std::vector<size_t>& row : rows)
    {
        const BOOL isLast = &row == &rows.back();
        std::vector<size_t> members;
        for (size_t i : row)
            if (!(isLast && i >= m_alignedFrom))
                members.push_back(i);
        if (members.empty())
            continue;
        const CRect& rowRect = m_records[members.front()].rowRect;
        int rowEnd = vertical ? rowRect.bottom : rowRect.right;
        if (isLast && m_alignedFrom < m_records.size())
            rowEnd = vertical ? m_records[m_alignedFrom].rect.top : m_records[m_alignedFrom].rect.left;
        const CRect& lastRect = m_records[members.back()].rect;
        int room = rowEnd - (vertical ? lastRect.bottom : lastRect.right);
        int stretchers = 0;
        for (size_t i : members)
            if (m_records[i].control->GetFlags() & COSMControl::kFlagStretched)
                ++stretchers;
        if (room < 1 || stretchers == 0)
            continue;
        int given = 0;
        for (size_t i : members)
        {
            LayoutRecord& record = m_records[i];
            MoveAlong(record, given, vertical);
            if (!(record.control->GetFlags() & COSMControl::kFlagStretched))
                continue;
            const int share = room / stretchers;
            (vertical ? record.rect.bottom : record.rect.right) += share;
            given += share;
            room -= share;
            --stretchers;
        }
    }
}

void RowLayout::WriteBack() const
{
    for (const LayoutRecord& record : m_records)
    {
        COSMControl* control = record.control;
        const DWORD hideFlags = record.hidden ? control->GetHideFlags() | COSMControl::kHideWrap
                                              : control->GetHideFlags() & ~COSMControl::kHideWrap;
        if (hideFlags != control->GetHideFlags())
            control->SetHideFlags(hideFlags);
        control->SetRowRect(record.rowRect);
        if (!record.hidden)
            control->SetRect(record.rect);
        control->SetWrap(record.wrap);
    }
}

}  // namespace

CSize COSMControls::CalcDynamicSize(CDC* dc, int length, DWORD mode, const CRect& borders, int minWidth)
{
    COSMCommandBar* bar = m_parent;
    if (!bar)
        return CSize(0, 0);
    COSMPaintManager* paintManager = bar->GetPaintManager();
    const CSize groupGap = paintManager ? paintManager->DrawCommandBarSeparator(dc, bar, nullptr, FALSE) : CSize(0, 0);

    // List controls fill themselves first; from the last, so that what one adds does not shift those still to come.
    for (int i = GetCount() - 1; i >= 0; --i)
        m_controls[static_cast<size_t>(i)]->BuildDynamicItems(mode);

    if (GetVisibleCount(FALSE) == 0)
    {
        CSize size(kEmptyBarSize.cx + borders.left + borders.right, kEmptyBarSize.cy + borders.top + borders.bottom);
        if (minWidth > 0)
        {
            if (mode & kLayoutHorizontalDock)
                size.cy = std::max<LONG>(size.cy, minWidth);
            else
                size.cx = std::max<LONG>(size.cx, minWidth);
        }
        return size;
    }

    RowLayout layout(bar, paintManager, dc, groupGap);
    layout.Fill(*this);
    if (mode & kLayoutMRUWidth)
        length = bar->GetMRUWidth();

    const BOOL vertical = (mode & kLayoutVertical) != 0;
    const BOOL stacked = (bar->GetFlags() & COSMCommandBar::kFlagStackedLayout) != 0;
    CSize size;
    if (stacked)
    {
        size = layout.Stacked(length - (vertical ? borders.top + borders.bottom : borders.left + borders.right), mode);
    }
    else
    {
        if (mode & kLayoutPopupToolBar)
        {
            const int mruWidth = bar->GetMRUWidth();
            layout.Wrap(mruWidth, mode);
            const CSize measured = layout.Measure(vertical);
            if (3 * measured.cx < measured.cy && mruWidth < 1)
                layout.SearchBalance(mode, FALSE, 0);
            else
                layout.Wrap(measured.cx, mode);
        }
        else if (mode & kLayoutHorizontalDock)
        {
            layout.Wrap(length - borders.left - borders.right, mode);
        }
        else if (mode & kLayoutVertical)
        {
            layout.Wrap(length - borders.top - borders.bottom, mode);
        }
        else
        {
            const int across =
                (mode & kLayoutLengthIsHeight) ? borders.top + borders.bottom : borders.left + borders.right;
            layout.FitToLength(length - across, mode);
        }
        size = layout.Measure(vertical);
        if (layout.IsWrapped())
            mode |= kLayoutWrapped;
    }

    if (minWidth > 0)
    {
        if (mode & kLayoutHorizontalDock)
            size.cy = std::max<LONG>(size.cy, minWidth - borders.top - borders.bottom);
        else
            size.cx = std::max<LONG>(size.cx, minWidth - borders.left - borders.right);
    }
    // Wrapped rows, or hidden controls, take the whole length (a height for columns and for a given height).
    if (mode & kLayoutWrapped)
    {
        if (mode & (kLayoutVertical | kLayoutLengthIsHeight))
            size.cy = std::max<LONG>(size.cy, length - borders.top - borders.bottom);
        else
            size.cx = std::max<LONG>(size.cx, length - borders.left - borders.right);
    }

    const BOOL commit = (mode & kLayoutCommit) != 0;
    if (commit)
        layout.CloseRows(size, borders, vertical, stacked);
    size.cx += borders.left + borders.right;
    size.cy += borders.top + borders.bottom;
    if (commit)
    {
        if (!stacked)
            layout.AlignRows(size, borders, vertical);
        layout.WriteBack();
    }
    return size;
}
