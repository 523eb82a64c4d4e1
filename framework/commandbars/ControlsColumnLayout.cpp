// The column layout of a popup menu's controls (CalcPopupSize): top to bottom, a new column where a control asks for
// one or the height runs out, every control as wide as the widest of its column.
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/Controls.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/commandbars/PaintManager.h"

#include <algorithm>
#include <vector>

namespace {

// An empty popup still has room for an item.
const int kMinPopupWidth = 24;
const int kEmptyPopupHeight = 22;
// A width from the caller within this range fixes the last column.
const int kFirstFixedWidth = 1;
const int kLastFixedWidth = 29999;

BOOL GetPrimaryWorkArea(RECT* workArea)
{
    return ::SystemParametersInfoA(SPI_GETWORKAREA, 0, workArea, 0);
}

void SetColumnWidth(const std::vector<COSMControl*>& column, int width)
{
    for (COSMControl* control : column)
    {
        CRect rect = control->GetRect();
        rect.right = rect.left + width;
        control->SetRect(rect);
    }
}

}  // namespace

double COSMControls::s_popupWidthFactor = 1.0 / 3.0;
COSMControls::WorkAreaFn COSMControls::s_pfnGetWorkArea = &GetPrimaryWorkArea;

CSize COSMControls::CalcPopupSize(CDC* dc, int maxHeight, int width, const CRect& borders)
{
    COSMCommandBar* bar = m_parent;
    if (!bar)
        return CSize(0, 0);
    // List controls fill themselves first (a popup lays out before it shows); from the last, so that what one adds
    // does not shift those still to come. A popup has no layout mode.
    for (int i = GetCount() - 1; i >= 0; --i)
        if (i < GetCount())
            m_controls[static_cast<size_t>(i)]->BuildDynamicItems(0);
    CRect workArea(0, 0, 0, 0);
    if (s_pfnGetWorkArea)
        s_pfnGetWorkArea(&workArea);
    COSMPaintManager* paintManager = bar->GetPaintManager();
    COSMFontDC font(dc, paintManager ? paintManager->GetCommandBarFont(bar) : nullptr);
    const CSize groupGap = paintManager ? paintManager->DrawCommandBarSeparator(dc, bar, nullptr, FALSE) : CSize(0, 0);
    // Items wider than this share of the screen are cut, unless the bar grows with its items.
    const int widest =
        s_popupWidthFactor > 0 && !bar->HasNoWidthLimit() ? static_cast<int>(workArea.right * s_popupWidthFactor) : -1;

    int x = borders.left;
    int y = borders.top;
    int columnWidth = 0;
    int tallest = 0;
    BOOL first = TRUE;
    std::vector<COSMControl*> column;
    std::vector<COSMControl*> placed;
    bar->SetMultiColumn(FALSE);
    for (COSMControl* control : m_controls)
    {
        if (control->GetParent() != bar)
            continue;
        control->SetHideFlags(control->GetHideFlags() & ~COSMControl::kHideScroll);
        if (!control->IsVisible(0))
            continue;
        CSize size = control->GetSize(dc);
        control->SetWrap(FALSE);
        // A column holds at least one control.
        const BOOL newColumn = !first && ((control->GetFlags() & COSMControl::kFlagWrapRow) ||
                                          (maxHeight > 0 && y + size.cy > maxHeight - borders.bottom));
        if (newColumn)
        {
            SetColumnWidth(column, columnWidth);
            column.clear();
            tallest = std::max<int>(tallest, y - borders.top);
            y = borders.top;
            x += columnWidth + (control->GetBeginGroup() ? groupGap.cx : 0);
            control->SetWrap(TRUE);
            columnWidth = 0;
            bar->SetMultiColumn(TRUE);
        }
        else if (!first && control->GetBeginGroup())
        {
            y += groupGap.cy;
        }
        if (widest >= 0 && size.cx > widest)
            size.cx = widest;
        control->SetRect(CRect(x, y, x + size.cx, y + size.cy));
        y += size.cy;
        columnWidth = std::max<int>(columnWidth, size.cx);
        column.push_back(control);
        placed.push_back(control);
        first = FALSE;
    }
    // A width narrower than the borders leaves an empty column, never a negative one.
    if (width >= kFirstFixedWidth && width <= kLastFixedWidth)
        columnWidth = std::max(0, static_cast<int>(width - borders.left - borders.right));
    SetColumnWidth(column, columnWidth);
    tallest = std::max<int>(tallest, y - borders.top);
    for (COSMControl* control : placed)
    {
        const CRect rect = control->GetRect();
        control->SetRowRect(CRect(rect.left, borders.top, rect.right, borders.top + tallest));
    }

    const int totalWidth = std::max<int>(kMinPopupWidth, x - borders.left + columnWidth);
    const int totalHeight = tallest == 0 ? kEmptyPopupHeight : tallest;
    return CSize(totalWidth + borders.left + borders.right, totalHeight + borders.top + borders.bottom);
}
