#include "framework/controls/ControlSelector.h"

#include "classlib/DC.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/PropExchange.h"

#include <algorithm>

IMPLEMENT_SERIAL(COSMControlSelector, COSMControl, VERSIONABLE_SCHEMA | 0x22)

namespace {

// Colour-manager colours of the cells, paint-manager colours of their frames and unselected text.
const int kSelectedFillColor = COLOR_HIGHLIGHT;
const int kSelectedTextColor = COLOR_HIGHLIGHTTEXT;
const int kCellFillColor = COLOR_WINDOW;
const int kCellFrameColor = 43;
const int kCellTextColor = 46;

// A cell of zero or negative size would divide by zero and draw nothing: the smallest cell is one pixel.
CSize AtLeastOnePixel(CSize size)
{
    return CSize(std::max<LONG>(size.cx, 1), std::max<LONG>(size.cy, 1));
}

// How many of the count edges, spaced by step from origin, lie before the coordinate.
LONG EdgesBefore(LONG origin, LONG step, LONG count, LONG coordinate)
{
    LONG edges = 0;
    for (LONG i = 0; i < count; ++i)
        if (origin + i * step < coordinate)
            ++edges;
    return edges;
}

}  // namespace

COSMControlSelector::COSMControlSelector() = default;

void COSMControlSelector::SetItemSize(CSize size)
{
    m_itemSize = AtLeastOnePixel(size);
}

CSize COSMControlSelector::GetSize(CDC*)
{
    return CSize(m_itemSize.cx * m_grid.cx, m_itemSize.cy * m_grid.cy);
}

void COSMControlSelector::Draw(CDC* dc)
{
    COSMPaintManager* paintManager = GetPaintManager();
    const COLORREF frameColor = paintManager ? paintManager->GetColor(kCellFrameColor) : ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF cellTextColor = paintManager ? paintManager->GetColor(kCellTextColor) : ::GetSysColor(COLOR_BTNTEXT);
    COSMColorManager* colors = GetColorManager();
    const CRect rect = GetRect();
    for (LONG i = 0; i < m_grid.cx; ++i)
    {
        for (LONG j = 0; j < m_grid.cy; ++j)
        {
            CRect cell(rect.left + i * m_itemSize.cx, rect.top + j * m_itemSize.cy, rect.left + (i + 1) * m_itemSize.cx,
                       rect.top + (j + 1) * m_itemSize.cy);
            cell.DeflateRect(1, 1);
            const BOOL selected = i < m_selectedCells.cx && j < m_selectedCells.cy;
            dc->FillSolidRect(cell, colors->GetColor(selected ? kSelectedFillColor : kCellFillColor));
            dc->Draw3dRect(cell, frameColor, frameColor);
            OnDrawItem(dc, cell, selected ? colors->GetColor(kSelectedTextColor) : cellTextColor);
        }
    }
}

void COSMControlSelector::BuildDynamicItems(DWORD)
{
    if (!m_expanding)
    {
        m_selectedCells = CSize(0, 0);
        m_grid = m_itemsCount;
    }
    SetSelectedCells(m_selectedCells, TRUE);
}

void COSMControlSelector::SetSelectedCells(CSize cells, BOOL force)
{
    if (!force && cells == m_selectedCells)
        return;
    m_selectedCells = cells;
    RedrawParent(FALSE);
    NotifySite(kNotifySelectionChanged);
}

void COSMControlSelector::OnMouseMove(CPoint point)
{
    const CRect rect = GetRect();
    SetSelectedCells(CSize(EdgesBefore(rect.left, m_itemSize.cx, m_grid.cx, point.x),
                           EdgesBefore(rect.top, m_itemSize.cy, m_grid.cy, point.y)));
}

BOOL COSMControlSelector::GrowTowards(CPoint cursor)
{
    const CRect rect = GetRect();
    CSize grid = m_grid;
    // Only ever larger while the popup is open, and never past the most.
    if (cursor.x >= rect.right)
        grid.cx = std::max(grid.cx, std::min<LONG>((cursor.x - rect.left) / m_itemSize.cx + 1, m_itemsMax.cx));
    if (cursor.y >= rect.bottom)
        grid.cy = std::max(grid.cy, std::min<LONG>((cursor.y - rect.top) / m_itemSize.cy + 1, m_itemsMax.cy));
    if (grid == m_grid)
        return FALSE;
    m_grid = grid;
    return TRUE;
}

BOOL COSMControlSelector::SetSelected(int selected)
{
    if (selected == 0 && m_parent && m_parent->GetSafeHwnd())
    {
        CPoint cursor;
        ::GetCursorPos(&cursor);
        ::ScreenToClient(m_parent->GetSafeHwnd(), &cursor);
        const BOOL buttonHeld = (::GetKeyState(VK_LBUTTON) & 0x8000) != 0;
        if (buttonHeld && GrowTowards(cursor))
        {
            const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(this);
            SetSelectedCells(m_selectedCells, TRUE);
            m_expanding = TRUE;
            m_parent->OnRecalcLayout();
            m_expanding = FALSE;
            OnMouseMove(cursor);
        }
        else
        {
            SetSelectedCells(CSize(0, 0));
        }
    }
    return COSMControl::SetSelected(selected);
}

void COSMControlSelector::OnLButtonUp(CPoint)
{
    if (m_selectedCells.cx <= 0 || m_selectedCells.cy <= 0)
        return;
    m_result = m_selectedCells;
    OnExecute();
}

void COSMControlSelector::DoPropExchange(COSMPropExchange* px)
{
    COSMControl::DoPropExchange(px);
    PropExchangeSize(px, "ItemsCount", &m_itemsCount, CSize(0, 0));
    PropExchangeSize(px, "ItemsMax", &m_itemsMax, CSize(0, 0));
    PropExchangeSize(px, "ItemSize", &m_itemSize, CSize(0, 0));
    if (px->IsLoading())
        m_itemSize = AtLeastOnePixel(m_itemSize);
}

void COSMControlSelector::Copy(const COSMControl* source, BOOL recursive)
{
    COSMControl::Copy(source, recursive);
    if (const auto* selector = dynamic_cast<const COSMControlSelector*>(source))
    {
        m_itemsCount = selector->m_itemsCount;
        m_itemsMax = selector->m_itemsMax;
        m_itemSize = AtLeastOnePixel(selector->m_itemSize);
    }
}

COSMControl* COSMControlSelector::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlSelector*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
