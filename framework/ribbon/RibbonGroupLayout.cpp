// The groups' layout pass: the steps on records alone (COSMRibbonGroupLayout), each group's part of a pass (records,
// width, reduction, extension, placement) and the pass over a tab's groups.
#include "framework/ribbon/RibbonGroupLayout.h"

#include "framework/commandbars/Control.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ControlGallery.h"
#include "framework/controls/ControlGalleryItems.h"
#include "framework/foundation/ImageManager.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/ribbon/RibbonGroupsScroller.h"
#include "framework/ribbon/RibbonTab.h"
#include "framework/ribbon/RibbonPaintManager.h"

#include <algorithm>

namespace {

constexpr int kStyleAutomatic = 0;
constexpr int kStyleIconOnly = 2;
constexpr int kStyleMedium = 3;
constexpr int kStyleLarge = 4;
constexpr int kGalleryType = 10;
// The narrowest controls whose group may give up caption width.
constexpr int kShrinkableCaptionControls = 17;

BOOL IsGallery(const COSMRibbonGroupControlInfo& record)
{
    return record.control && record.control->GetType() == kGalleryType;
}

int AssignedStyle(const COSMRibbonGroupControlInfo& record)
{
    return record.control ? record.control->GetFallbackStyle() : record.style;
}

void AssignStyle(COSMRibbonGroupControlInfo& record, int style)
{
    if (record.control)
        record.control->SetFallbackStyle(style);
    else
        record.style = style;
}

}  // namespace

// ---- Steps on records ----

int COSMRibbonGroupLayout::LayoutColumns(Records& records, int height)
{
    int x = 2;
    int columnWidth = 0;
    int previousBottom = 0;
    int right = 0;
    for (size_t i = 0; i < records.size(); ++i)
    {
        COSMRibbonGroupControlInfo& record = records[i];
        const CSize size = record.size;
        if (i >= 1 && record.beginGroup)
            x += kColumnGroupGap;
        if (i >= 1 && !record.newColumn && record.style != kStyleLarge && previousBottom + size.cy <= height)
        {
            record.rect = CRect(x, previousBottom, x + size.cx, previousBottom + size.cy);
            columnWidth = std::max(columnWidth, static_cast<int>(size.cx));
        }
        else
        {
            x += columnWidth;
            record.rect = CRect(x, 0, x + size.cx, size.cy);
            columnWidth = size.cx;
        }
        right = std::max(right, static_cast<int>(record.rect.right));
        previousBottom = record.rect.bottom;
    }
    return right + 2;
}

void COSMRibbonGroupLayout::CalcBlockWidths(Records& records)
{
    int width = 0;
    for (size_t i = records.size(); i-- > 0;)
    {
        width += records[i].size.cx;
        records[i].blockWidth = width;
        if (records[i].newColumn)
            width = 0;
    }
}

int COSMRibbonGroupLayout::WrapBlocks(Records& records, int limit, BOOL force)
{
    int wraps = 0;
    int x = 0;
    for (size_t i = 0; i < records.size(); ++i)
    {
        COSMRibbonGroupControlInfo& record = records[i];
        record.wrap = FALSE;
        if (i >= 1 && record.newColumn)
        {
            const BOOL forced = record.control && (record.control->GetFlags() & COSMControl::kFlagWrapRow);
            const BOOL reaches = x + record.blockWidth >= limit;
            if (forced || (reaches && (force || wraps == 0)))
            {
                record.wrap = TRUE;
                ++wraps;
                x = record.size.cx;
                continue;
            }
        }
        if (i >= 1 && record.beginGroup)
            x += kBlockGroupGap;
        x += record.size.cx;
    }
    return wraps;
}

int COSMRibbonGroupLayout::PlaceRows(Records& records)
{
    int x = 0;
    int y = 0;
    int rowHeight = 0;
    int right = 0;
    for (size_t i = 0; i < records.size(); ++i)
    {
        COSMRibbonGroupControlInfo& record = records[i];
        if (record.wrap)
        {
            y += rowHeight;
            x = 0;
        }
        else if (i >= 1 && record.beginGroup)
        {
            x += kBlockGroupGap;
        }
        record.rect = CRect(x + 2, y, x + record.size.cx + 2, y + record.size.cy);
        x += record.size.cx;
        // The tallest control so far sets every next row's step.
        rowHeight = std::max(rowHeight, static_cast<int>(record.size.cy));
        right = std::max(right, x);
    }
    return right + 4;
}

BOOL COSMRibbonGroupLayout::FitThreeRows(Records& records)
{
    const int width = PlaceRows(records);
    const int wraps = WrapBlocks(records, 0, TRUE);
    if (wraps < 2)
        return FALSE;
    if (wraps == 2)
        return TRUE;
    int lo = 0;
    int hi = width;
    BOOL stopped = FALSE;
    while (lo < hi)
    {
        const int mid = (lo + hi) / 2;
        if (WrapBlocks(records, mid, TRUE) >= 3)
        {
            if (lo == mid)
            {
                stopped = TRUE;
                break;
            }
            lo = mid;
        }
        else
        {
            hi = mid;
        }
    }
    // A bisection that ended on its own last tried hi; one stopped early tries it now.
    if (stopped)
        WrapBlocks(records, hi, TRUE);
    return TRUE;
}

void COSMRibbonGroupLayout::SpreadRows(Records& records, int height, int rowHeight, int rows)
{
    if (rows < 1)
        return;
    const int used = rowHeight * rows;
    int offset = (height + 1 - used) / (rows + 1);
    int wrapsMet = 0;
    for (size_t i = 0; i < records.size(); ++i)
    {
        if (i >= 1 && records[i].wrap)
        {
            if (rows - wrapsMet != 0)
                offset += (height - used - offset) / (rows - wrapsMet);
            ++wrapsMet;
        }
        records[i].rect.OffsetRect(0, offset);
    }
}

void COSMRibbonGroupLayout::CenterColumn(Records& records, int first, int last, int room)
{
    int total = 0;
    int shown = 0;
    for (int i = first; i <= last; ++i)
        if (!records[static_cast<size_t>(i)].hidden)
        {
            total += records[static_cast<size_t>(i)].size.cy;
            ++shown;
        }
    if (total >= room)
        return;
    // One gap more than controls: above the first, between each two and below the last.
    const int gap = (room - total) / (shown + 1);
    int k = 0;
    for (int i = first; i <= last; ++i)
    {
        COSMRibbonGroupControlInfo& record = records[static_cast<size_t>(i)];
        if (record.hidden)
            continue;
        ++k;
        record.rect.OffsetRect(0, k * gap);
    }
}

// ---- A group's part of a pass ----

int COSMRibbonGroup::GetGroupsHeight() const
{
    COSMRibbonBar* ribbon = GetRibbonBar();
    return ribbon ? ribbon->GetGroupsHeight() : 0;
}

int COSMRibbonGroup::GetGroupCaptionHeight() const
{
    COSMRibbonBar* ribbon = GetRibbonBar();
    COSMRibbonPaintManager* painter = ribbon ? ribbon->GetRibbonPaintManager() : nullptr;
    return painter ? painter->GetGroupCaptionHeight() : 17;
}

int COSMRibbonGroup::GetRows() const
{
    COSMRibbonBar* ribbon = GetRibbonBar();
    if (!ribbon)
        return 0;
    // A bar whose button size sets only a width answers a height of 0: such a height counts as the ribbon's
    // control height.
    int buttonHeight = ribbon->GetButtonSize().cy;
    if (buttonHeight < 1)
    {
        COSMRibbonPaintManager* painter = ribbon->GetRibbonPaintManager();
        buttonHeight = std::max(22, painter ? painter->GetControlHeight() : 22);
    }
    return (GetGroupsHeight() - 2 - GetGroupCaptionHeight()) / buttonHeight;
}

void COSMRibbonGroup::OnBeforeCalcSize(CDC* dc)
{
    m_layout = std::make_unique<COSMRibbonGroupLayoutInfo>();
    COSMRibbonBar* ribbon = GetRibbonBar();
    const CSize iconSize = ribbon ? ribbon->CalcIconSize(FALSE) : CSize(16, 16);
    m_layout->captionWidth = GetMinimumWidth(dc);
    m_layout->wasReduced = m_reduced;
    for (const RefPtr<COSMControl>& control : m_controls)
    {
        if (!control->IsVisible(kHideReduced))
            continue;
        control->SetFallbackStyle(kStyleAutomatic);
        if (!m_controlsGrouping && control->GetStyle() == kStyleAutomatic && control->GetType() != kGalleryType)
        {
            const UINT iconId = control->GetIconId();
            COSMImageManager* images = control->GetImageManager();
            const BOOL large = iconId >= 1 && images && images->ContainsImage(iconId, iconSize.cx);
            control->SetFallbackStyle(large ? kStyleLarge : kStyleMedium);
        }
        COSMRibbonGroupControlInfo record;
        record.control = control.Get();
        record.size = control->GetSize(dc);
        record.rect = control->GetRect();
        record.beginGroup = control->GetBeginGroup();
        record.newColumn = record.beginGroup || (control->GetFlags() & COSMControl::kFlagWrapRow) != 0;
        record.style = control->GetStyle();
        m_layout->records.push_back(record);
    }
    m_reduced = FALSE;
    m_groupingRows = 2;
}

int COSMRibbonGroup::CalcSize(CDC* dc)
{
    if (!m_layout)
        return 0;
    COSMRibbonGroupLayoutInfo& layout = *m_layout;
    if (m_reduced)
    {
        layout.controlsWidth = m_popupButton->GetSize(dc).cx - 5;
        return layout.controlsWidth;
    }
    const int height = GetGroupsHeight() - 9 - GetGroupCaptionHeight();
    if (m_controlsGrouping)
    {
        COSMRibbonGroupLayout::Records& records = layout.records;
        COSMRibbonGroupLayout::CalcBlockWidths(records);
        COSMRibbonBar* ribbon = GetRibbonBar();
        COSMRibbonPaintManager* painter = ribbon ? ribbon->GetRibbonPaintManager() : nullptr;
        const int rowHeight = painter ? painter->GetControlHeight() : 22;
        int rows = COSMRibbonGroupLayout::WrapBlocks(records, 32000, FALSE) + 1;
        if (rows == 1)
        {
            const int oneRow = COSMRibbonGroupLayout::PlaceRows(records);
            if (height < 2 * rowHeight)
                rows = COSMRibbonGroupLayout::WrapBlocks(records, 32000, FALSE) + 1;
            else if (height >= 3 * rowHeight && m_groupingRows == 3 && COSMRibbonGroupLayout::FitThreeRows(records))
                rows = 3;
            else
                rows = COSMRibbonGroupLayout::WrapBlocks(records, oneRow / 2, FALSE) + 1;
        }
        const int width = COSMRibbonGroupLayout::PlaceRows(records);
        COSMRibbonGroupLayout::SpreadRows(records, height, rowHeight, rows);
        layout.controlsWidth = width;
        return std::max(layout.controlsWidth, layout.captionWidth);
    }
    for (COSMRibbonGroupControlInfo& record : layout.records)
    {
        const int style = record.control ? record.control->GetStyle() : record.style;
        if (style != record.style)
        {
            record.style = style;
            record.size = record.control->GetSize(dc);
        }
    }
    layout.controlsWidth = COSMRibbonGroupLayout::LayoutColumns(layout.records, height);
    return std::max(layout.controlsWidth, layout.captionWidth);
}

// Collects runs of Rows records that turn into one column of smaller buttons (levels 0 to 2).
BOOL COSMRibbonGroup::ReduceRuns(int level, int rows)
{
    COSMRibbonGroupLayout::Records& records = m_layout->records;
    const int count = m_layout->GetCount();
    if (level == 2 && count <= rows)
        return FALSE;
    int start = count - 1;
    while (start >= 2)
    {
        if (records[static_cast<size_t>(start)].newColumn)
        {
            --start;
            continue;
        }
        int collected = 0;
        int lowest = start;
        BOOL hasLarge = FALSE;
        for (int j = start; j >= 0 && collected < rows; --j)
        {
            const COSMRibbonGroupControlInfo& record = records[static_cast<size_t>(j)];
            lowest = j;
            const int style = AssignedStyle(record);
            BOOL accepted = !IsGallery(record) && (!record.newColumn || collected + 1 == rows);
            if (level == 0)
                accepted = accepted && style == kStyleLarge;
            else if (level == 2)
                accepted = accepted && style == kStyleMedium &&
                           record.rect.left == records[static_cast<size_t>(start)].rect.left;
            if (!accepted)
                break;
            hasLarge = hasLarge || style == kStyleLarge;
            ++collected;
        }
        if (collected == rows && (level != 1 || hasLarge))
        {
            for (int j = start; j > start - rows; --j)
                AssignStyle(records[static_cast<size_t>(j)], level == 2 ? kStyleIconOnly : kStyleMedium);
            return TRUE;
        }
        // The level-0 and level-2 walks try every start; the mixed one goes on below what it examined.
        start = level == 1 ? std::min(start, lowest) - 1 : start - 1;
    }
    return FALSE;
}

BOOL COSMRibbonGroup::ReduceSize(int level, int extra)
{
    if (!m_layout)
        return FALSE;
    COSMRibbonGroupLayoutInfo& layout = *m_layout;
    const int rows = GetRows();
    if (layout.controlsWidth < layout.captionWidth)
    {
        // The caption is wider than the controls: only the caption may give way, and only to controls of some width.
        if (level != 2 || layout.controlsWidth < kShrinkableCaptionControls)
            return FALSE;
        layout.captionWidth = std::max(layout.controlsWidth, layout.captionWidth - extra);
        return TRUE;
    }
    switch (level)
    {
    case 0:
        return !m_controlsGrouping && m_reduceLimit > 0 && rows >= 2 && ReduceRuns(0, rows);
    case 1:
        if (m_controlsGrouping)
        {
            if (m_reduceLimit > 1 && m_groupingRows == 2)
            {
                m_groupingRows = 3;
                return TRUE;
            }
            return FALSE;
        }
        return m_reduceLimit > 1 && rows >= 2 && ReduceRuns(1, rows);
    case 2:
        if (m_controlsGrouping || m_reduceLimit <= 2)
            return FALSE;
        if (rows >= 2 && ReduceRuns(2, rows))
            return TRUE;
        // A gallery gives way by showing as a button.
        for (size_t i = layout.records.size(); i-- > 0;)
        {
            COSMRibbonGroupControlInfo& record = layout.records[i];
            if (IsGallery(record) && AssignedStyle(record) != kStyleLarge)
            {
                AssignStyle(record, kStyleLarge);
                return TRUE;
            }
        }
        return FALSE;
    case 3:
        if (layout.GetCount() < 2 || m_reduced || m_reduceLimit <= 3)
            return FALSE;
        m_reduced = TRUE;
        for (COSMRibbonGroupControlInfo& record : layout.records)
            record.hidden = TRUE;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL COSMRibbonGroup::ExtendSize(int extra)
{
    if (!m_layout)
        return FALSE;
    for (size_t i = m_layout->records.size(); i-- > 0;)
    {
        COSMRibbonGroupControlInfo& record = m_layout->records[i];
        auto* gallery = dynamic_cast<COSMControlGallery*>(record.control);
        if (!gallery || gallery->IsShowAsButton() || !gallery->GetItems() || gallery->GetItemCount() < 1 ||
            (gallery->GetResizable() & 1) == 0)
            continue;
        const int itemWidth = gallery->GetItems()->GetItemSize().cx;
        if (itemWidth < 1 || itemWidth > extra)
            return FALSE;
        const CRect borders = gallery->GetBorders();
        const int maximum = gallery->GetItemCount() * itemWidth + borders.left + borders.right;
        if (record.size.cx + itemWidth > maximum)
            return FALSE;
        record.size.cx = std::min(maximum, static_cast<int>(record.size.cx) + extra / itemWidth * itemWidth);
        return TRUE;
    }
    return FALSE;
}

void COSMRibbonGroup::ArrangeAt(int width, int x, int top)
{
    const int h = GetGroupCaptionHeight();
    const int groupsHeight = GetGroupsHeight();
    if (m_layout)
    {
        COSMRibbonGroupLayoutInfo& layout = *m_layout;
        const BOOL centerColumns = m_controlsCentering && !m_controlsGrouping;
        int offset = 2;
        if (m_controlsCentering && layout.controlsWidth < layout.captionWidth && width == layout.captionWidth)
            offset = (layout.captionWidth - layout.controlsWidth) / 2 + 2;
        const int room = groupsHeight - 7 - h - 3;
        int columnStart = -1;
        int columnLeft = 0;
        int last = -1;
        for (int i = 0; i < layout.GetCount(); ++i)
        {
            COSMRibbonGroupControlInfo& record = layout.records[static_cast<size_t>(i)];
            if (record.hidden)
                continue;
            record.rect.OffsetRect(x + offset, top + 2);
            record.rowRect = CRect(x, top, x + width, top + groupsHeight - 7 - h);
            if (centerColumns)
            {
                if (columnStart >= 0 && record.rect.left != columnLeft)
                {
                    COSMRibbonGroupLayout::CenterColumn(layout.records, columnStart, last, room);
                    columnStart = -1;
                }
                if (columnStart < 0)
                {
                    columnStart = i;
                    columnLeft = record.rect.left;
                }
            }
            last = i;
        }
        if (centerColumns && columnStart >= 0)
            COSMRibbonGroupLayout::CenterColumn(layout.records, columnStart, last, room);
    }
    SetRect(CRect(x, top, x + width + 5, top + groupsHeight - 7));
}

void COSMRibbonGroup::OnAfterCalcSize()
{
    if (!m_layout)
        return;
    COSMRibbonGroupLayoutInfo& layout = *m_layout;
    if (!layout.records.empty())
        layout.records.front().wrap = TRUE;
    for (const COSMRibbonGroupControlInfo& record : layout.records)
    {
        COSMControl* control = record.control;
        if (!control)
            continue;
        control->SetHideFlags(record.hidden ? control->GetHideFlags() | kHideReduced
                                            : control->GetHideFlags() & ~kHideReduced);
        control->SetRowRect(record.rowRect);
        if (!record.hidden)
            control->SetRect(record.rect);
        control->SetWrap(record.wrap);
    }
    if (layout.wasReduced && !m_reduced)
        if (COSMRibbonBar* ribbon = GetRibbonBar())
            ribbon->SetUpdateCmdUIPending();
    m_layout.reset();
}

// ---- The pass over a tab's groups ----

void COSMRibbonGroups::ReduceGroups(CDC* dc, std::vector<int>& widths, int available)
{
    const int count = GetCount();
    auto sum = [&]() {
        int total = 0;
        int shown = 0;
        for (int width : widths)
            if (width != 0)
            {
                total += width;
                ++shown;
            }
        return total + (shown > 1 ? (shown - 1) * COSMRibbonGroup::kGroupSpacing : 0);
    };
    int total = sum();
    if (total > available)
    {
        BOOL reduced = TRUE;
        while (total > available && reduced)
        {
            reduced = FALSE;
            for (int level = 0; level <= 3 && !reduced; ++level)
            {
                for (int i = count - 1; i >= 0 && !reduced; --i)
                {
                    COSMRibbonGroup* group = m_groups[static_cast<size_t>(i)].Get();
                    if (!group->IsGroupVisible() || !group->ReduceSize(level, total - available))
                        continue;
                    widths[static_cast<size_t>(i)] = group->CalcSize(dc);
                    total = sum();
                    reduced = TRUE;
                }
            }
        }
    }
    else if (total < available)
    {
        for (int i = count - 1; i >= 0; --i)
        {
            COSMRibbonGroup* group = m_groups[static_cast<size_t>(i)].Get();
            if (group->IsGroupVisible() && group->ExtendSize(available - total))
            {
                widths[static_cast<size_t>(i)] = group->CalcSize(dc);
                break;
            }
        }
    }
}

void COSMRibbonGroups::RepositionGroups(CDC* dc, int width, DWORD /*mode*/, CRect margins)
{
    COSMRibbonGroupsScroller* scroller =
        COSMRibbonGroupsScroller::GetGroupsScroller(m_tab ? m_tab->GetParentCommandBar() : nullptr);
    if (m_groups.empty())
    {
        if (scroller)
            scroller->ShowScrollButtons(FALSE, FALSE);
        return;
    }
    for (const RefPtr<COSMRibbonGroup>& group : m_groups)
        if (group->IsGroupVisible())
            group->OnBeforeCalcSize(dc);
    std::vector<int> widths(m_groups.size(), 0);
    for (size_t i = 0; i < m_groups.size(); ++i)
        if (m_groups[i]->IsGroupVisible())
            widths[i] = m_groups[i]->CalcSize(dc);
    const int available = width - margins.right - margins.left;
    ReduceGroups(dc, widths, available);

    int total = -COSMRibbonGroup::kGroupSpacing;
    for (size_t i = 0; i < m_groups.size(); ++i)
        if (m_groups[i]->IsGroupVisible())
            total += widths[i] + COSMRibbonGroup::kGroupSpacing;
    int position = scroller ? scroller->GetScrollOffset() : 0;
    position = total <= available ? 0 : std::max(0, std::min(position, total - available));
    m_scrollPos = position;
    // The scroller keeps the position the groups show, so that a scroll step always moves them.
    if (scroller)
    {
        scroller->SetScrollOffset(position);
        scroller->ShowScrollButtons(position >= 1, total - available - position > 0);
    }

    int x = margins.left - position;
    for (size_t i = 0; i < m_groups.size(); ++i)
    {
        COSMRibbonGroup* group = m_groups[i].Get();
        if (!group->IsGroupVisible())
            continue;
        group->ArrangeAt(widths[i], x, margins.top);
        x += widths[i] + COSMRibbonGroup::kGroupSpacing;
    }
    for (const RefPtr<COSMRibbonGroup>& group : m_groups)
        if (group->IsGroupVisible())
            group->OnAfterCalcSize();
}
