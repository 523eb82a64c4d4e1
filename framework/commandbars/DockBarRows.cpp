// How a dock bar lays its rows out. Every step works along the row: for a left or right side the rectangles are
// transposed on the way in and out, so "left" is the top and "height" the width there.
#include "classlib/FrameLayout.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/DockBar.h"

#include "framework/commandbars/ToolBar.h"

#include <algorithm>
#include <memory>

namespace {

struct RowEntry
{
    COSMToolBar* bar = nullptr;
    CRect rect;
    CRect first;
    int index = 0;
    int minimum = 0;
    int minimumBefore = 0;
    DWORD mode = 0;
};

CSize Along(CSize size, BOOL horizontal)
{
    return horizontal ? size : CSize(size.cy, size.cx);
}

CRect Transposed(const CRect& rect, BOOL horizontal)
{
    return horizontal ? rect : CRect(rect.top, rect.left, rect.bottom, rect.right);
}

void ShiftTo(CRect& rect, int left)
{
    rect.OffsetRect(left - rect.left, 0);
}

}  // namespace

COSMDockBar::BarPositioning::~BarPositioning()
{
    if (m_dwp)
        ::EndDeferWindowPos(m_dwp);
}

CRect COSMDockBar::BarPositioning::CurrentRect(COSMToolBar* bar)
{
    CRect rect;
    bar->GetWindowRect(&rect);
    if (!m_originKnown)
    {
        m_originKnown = TRUE;
        m_mirrored = (m_dockBar->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
        m_dockBar->ClientToScreen(&m_origin);
    }
    // Mapping a point asks the window manager each time: one origin serves every toolbar, except in a mirrored
    // dock bar, whose mapping also turns the rectangle around.
    if (m_mirrored)
        m_dockBar->ScreenToClient(&rect);
    else
        rect.OffsetRect(-m_origin.x, -m_origin.y);
    return rect;
}

void COSMDockBar::BarPositioning::Place(COSMToolBar* bar, const CRect& rect)
{
    if (m_failed || !bar->GetSafeHwnd() || !m_dockBar->GetSafeHwnd())
        return;
    // A bar docked since the last layout has a hidden window: it shows where it is placed.
    const BOOL show = bar->IsVisible() && !(bar->GetStyle() & WS_VISIBLE);
    const CRect current = CurrentRect(bar);
    if (current == rect && !show)
        return;
    if (!m_dwp)
        m_dwp = ::BeginDeferWindowPos(m_capacity);
    if (m_dwp)
        m_dwp = ::DeferWindowPos(m_dwp, bar->GetSafeHwnd(), nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                 SWP_NOACTIVATE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : 0));
    // A failed positioning is freed whole: the toolbars stay where they are rather than half of them moving.
    if (!m_dwp)
    {
        m_failed = TRUE;
        return;
    }
    // Showing paints the whole window anyway.
    if (!show)
        bar->Invalidate(FALSE);
}

int COSMDockBar::AdjustRow(const std::vector<COSMToolBar*>& row, CPoint origin, int length, BOOL horizontal,
                           BarPositioning* positioning, int* leaving, std::vector<CRect>* placed)
{
    const int across = horizontal ? origin.y : origin.x;
    std::vector<RowEntry> entries;
    for (size_t i = 0; i < row.size(); ++i)
    {
        RowEntry entry;
        entry.bar = row[i];
        entry.index = static_cast<int>(i);
        entry.mode = GetLayoutMode(horizontal, entry.bar);
        const CSize size = Along(SizeOf(entry.bar, length, entry.mode, 0), horizontal);
        const CRect remembered = Transposed(entry.bar->GetDockingRecord().rect, horizontal);
        entry.rect = CRect(remembered.left, across, remembered.left + size.cx, across + size.cy);
        entry.first = entry.rect;
        entries.push_back(entry);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const RowEntry& a, const RowEntry& b) { return a.rect.left < b.rect.left; });

    // Forward, then backward: a bar overlapping one before it moves when it comes later in the row, or when the
    // bar before it had to move itself.
    int pos = 0;
    int lastIndex = -1;
    BOOL moved = TRUE;
    for (RowEntry& entry : entries)
    {
        const BOOL shift = entry.rect.left < pos && (entry.index > lastIndex || moved);
        if (shift)
            ShiftTo(entry.rect, pos);
        moved = shift;
        pos = entry.rect.right;
        lastIndex = entry.index;
    }
    pos = length;
    lastIndex = -1;
    moved = TRUE;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
    {
        const BOOL shift = it->rect.right > pos && (it->index > lastIndex || moved);
        if (shift)
            ShiftTo(it->rect, pos - it->rect.Width());
        moved = shift;
        pos = it->rect.left;
        lastIndex = it->index;
    }
    pos = 0;
    for (RowEntry& entry : entries)
    {
        if (entry.rect.left < pos)
            ShiftTo(entry.rect, pos);
        pos = entry.rect.right;
    }

    if (pos > length)
    {
        // Too long: bars that may hide controls shrink to their narrowest forms, from the far end back.
        int before = 0;
        for (RowEntry& entry : entries)
        {
            entry.minimum = (entry.mode & COSMControls::kLayoutHideWrap)
                                ? Along(SizeOf(entry.bar, 1, entry.mode, 0), horizontal).cx
                                : length;
            entry.minimumBefore = before;
            before += entry.minimum;
        }
        pos = length;
        for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        {
            int left = std::min(it->rect.left, it->first.left);
            left = std::max(left, static_cast<int>(pos - it->rect.Width()));
            left = std::max(left, it->minimumBefore);
            if (pos - left < it->minimum)
                left = pos - it->minimum;
            if ((pos - left < it->minimum || left < it->minimumBefore) && entries.size() > 1)
            {
                if (leaving)
                    *leaving = entries.back().index;
                return -1;
            }
            it->rect.left = std::max(left, 0);
            it->rect.right = pos;
            pos = left;
        }
    }

    int thickness = 0;
    for (RowEntry& entry : entries)
        thickness = std::max(
            thickness, static_cast<int>(Along(SizeOf(entry.bar, entry.rect.Width(), entry.mode, 0), horizontal).cy));
    if (!positioning && !placed)
        return thickness;

    if (placed)
        placed->assign(row.size(), CRect());
    for (size_t i = 0; i < entries.size(); ++i)
    {
        RowEntry& entry = entries[i];
        DWORD mode = entry.mode | LM_COMMIT;
        if (entry.bar->GetFlags() & kBarFlagFillGap)
        {
            entry.rect.right = i + 1 < entries.size() ? entries[i + 1].rect.left : length;
            entry.rect.left = i == 0 ? 0 : std::min(entries[i - 1].rect.right, entry.rect.left);
            mode |= LM_STRETCH;
        }
        const CSize size = Along(SizeOf(entry.bar, entry.rect.Width(), mode, thickness), horizontal);
        const CRect rect = Transposed(
            CRect(entry.rect.left, entry.rect.top, entry.rect.left + size.cx, entry.rect.top + size.cy), horizontal);
        if (placed)
            (*placed)[static_cast<size_t>(entry.index)] = rect;
        COSMToolBar::DockingRecord record = entry.bar->GetDockingRecord();
        record.side = GetPosition();
        entry.bar->SetDockingRecord(record);
        if (positioning)
            positioning->Place(entry.bar, rect);
    }
    return thickness;
}

int COSMDockBar::AdjustRowWrapped(const std::vector<COSMToolBar*>& row, CPoint origin, int length, BOOL horizontal,
                                  BarPositioning* positioning, std::vector<CRect>* placed)
{
    std::vector<COSMToolBar*> current = row;
    std::vector<COSMToolBar*> wrapped;
    std::vector<CRect> rowPlaced;
    if (placed)
        placed->clear();
    int total = 0;
    while (!current.empty())
    {
        int leaving = -1;
        const int thickness =
            AdjustRow(current, origin, length, horizontal, positioning, &leaving, placed ? &rowPlaced : nullptr);
        if (thickness < 0)
        {
            wrapped.push_back(current[static_cast<size_t>(leaving)]);
            current.erase(current.begin() + leaving);
            continue;
        }
        if (placed)
            placed->insert(placed->end(), rowPlaced.begin(), rowPlaced.end());
        total += thickness;
        (horizontal ? origin.y : origin.x) += thickness;
        current.swap(wrapped);
        wrapped.clear();
    }
    return total;
}

CSize COSMDockBar::CalcDockBarLayout(int length, DWORD mode, AFX_SIZEPARENTPARAMS* layout)
{
    const BOOL stretch = (mode & LM_STRETCH) != 0;
    const BOOL horizontal = (mode & LM_HORZ) != 0;
    CSize size(stretch && horizontal ? 32767 : 0, stretch && !horizontal ? 32767 : 0);
    // The toolbars are this window's children: they move in a positioning of their own.
    std::unique_ptr<BarPositioning> positioning;
    if (layout && layout->hDWP)
        positioning = std::make_unique<BarPositioning>(this, std::max(GetCount(), 1));

    CPoint origin(0, 0);
    std::vector<COSMToolBar*> row;
    for (int i = 1; i < GetCount(); ++i)
    {
        COSMToolBar* bar = m_bars[static_cast<size_t>(i)];
        if (bar)
        {
            if (bar->IsVisible())
                row.push_back(bar);
            continue;
        }
        if (row.empty())
            continue;
        const int thickness = AdjustRowWrapped(row, origin, length, horizontal, positioning.get());
        (horizontal ? origin.y : origin.x) += thickness;
        size.cx = std::max(size.cx, origin.x);
        size.cy = std::max(size.cy, origin.y);
        row.clear();
    }
    positioning.reset();
    return size;
}
