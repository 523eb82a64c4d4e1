// Customize drags over a bar: where a control dragged from a bar or the customize dialog would land, the insertion
// marker that shows it, and the drop.
#include "classlib/Geometry.h"
#include "framework/commandbars/CommandBar.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/MouseManager.h"

#include <climits>
#include <cstdlib>

namespace {

// The insertion marker's thickness.
const int kMarkerThickness = 6;
// A drop on the dragged control itself within this many pixels of the drag start changes nothing.
const int kSelfDropSlop = 4;
// The effect that keeps the dragged control where it was (the drag source must not remove it).
const int kEffectKeep = 5;

}  // namespace

int COSMCommandBar::FindDropIndex(COSMControl* dragged, CPoint point, CRect* marker, int* index, BOOL* after)
{
    const BOOL vertical = m_position == 2 || m_position == 3 || m_type == 2;
    const int along = vertical ? point.y : point.x;
    int best = -1;
    int bestDistance = INT_MAX;
    BOOL bestAfter = FALSE;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        const COSMControl* control = GetControl(i);
        if (!control->IsVisible(0) || !control->IsCustomizeClickAllowed())
            continue;
        const CRect rect = control->GetRect();
        if (!m_rowRestrictedDrop)
        {
            // A row that starts beyond the point, and everything after it, is out of reach.
            if (control->GetWrap() && (vertical ? rect.left > point.x : rect.top > point.y))
                break;
        }
        else if (vertical ? (point.x < rect.left || point.x >= rect.right)
                          : (point.y < rect.top || point.y >= rect.bottom))
        {
            continue;
        }
        const int centre = vertical ? (rect.top + rect.bottom) / 2 : (rect.left + rect.right) / 2;
        const int distance = std::abs(centre - along);
        if (distance < bestDistance)
        {
            best = i;
            bestDistance = distance;
            bestAfter = centre < along;
        }
    }

    CRect place;
    if (best == -1)
    {
        CRect client;
        if (GetSafeHwnd())
            GetClientRect(&client);
        if (!IsRibbonBar())
            place.SetRect(client.left + 2, client.top + 2, client.left + 8, client.bottom - 2);
        bestAfter = TRUE;
        m_dropMarkerVertical = FALSE;
    }
    else
    {
        const COSMControl* control = GetControl(best);
        const COSMControl* next = GetControl(best + 1);
        const CRect r = control->GetRect();
        if (!vertical)
        {
            const BOOL roomAfter = next && !next->GetBeginGroup() && !next->GetWrap();
            if (!bestAfter)
                place.SetRect(r.left, r.top, r.left + kMarkerThickness, r.bottom);
            else if (roomAfter)
                place.SetRect(r.right, r.top, r.right + kMarkerThickness, r.bottom);
            else
                place.SetRect(r.right - kMarkerThickness, r.top, r.right, r.bottom);
        }
        else
        {
            const BOOL roomAfter = next && !next->GetBeginGroup();
            if (!bestAfter)
                place.SetRect(r.left, r.top, r.right, r.top + kMarkerThickness);
            else if (roomAfter)
                place.SetRect(r.left, r.bottom, r.right, r.bottom + kMarkerThickness);
            else
                place.SetRect(r.left, r.bottom - kMarkerThickness, r.right, r.bottom);
        }
        m_dropMarkerVertical = vertical;
        if (control == dragged)
            place.SetRectEmpty();
    }
    if (marker)
        *marker = place;
    if (index)
        *index = best;
    if (after)
        *after = bestAfter;
    return best;
}

int COSMCommandBar::OnCustomizeDragEnter(COSMControl* control, CPoint point)
{
    m_dropMarkerRect.SetRectEmpty();
    return OnCustomizeDragOver(control, point);
}

int COSMCommandBar::OnCustomizeDragOver(COSMControl* control, CPoint point)
{
    if (!control || !IsCustomizable() || !IsVisible())
        return 0;
    CRect marker;
    int index = -1;
    BOOL after = FALSE;
    FindDropIndex(control, point, &marker, &index, &after);

    int effect = -1;
    if (COSMControl* under = m_controls->HitTest(point))
    {
        if (!GetParentCommandBar() && under->GetIndex() != m_popupedIndex)
        {
            if (COSMCommandBars* commandBars = GetCommandBars())
                commandBars->ClosePopups();
            else
                GetMouseManager()->SendTrackLost();
        }
        under->OnCustomizeDragOver(control, point, effect);
    }
    if (!control->IsCustomizeDragOverAllowed(this, point, effect))
        return 0;
    m_dropMarkerRect = marker;
    Redraw(nullptr, TRUE);
    return effect;
}

void COSMCommandBar::OnCustomizeDragLeave()
{
    if (m_dropMarkerRect.IsRectEmpty())
        return;
    m_dropMarkerRect.SetRectEmpty();
    Redraw(nullptr, TRUE);
}

void COSMCommandBar::OnCustomizeDrop(COSMControl* control, int& effect, CPoint point, CPoint start)
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars || !control)
        return;
    int index = -1;
    BOOL after = FALSE;
    FindDropIndex(control, point, nullptr, &index, &after);

    if (index == -1 || GetControl(index) != control)
    {
        if (after)
            ++index;
        SetPopuped(-1, FALSE);
        SetSelected(-1, kSelectMouse);
        BOOL beginGroup = FALSE;
        if (!after)
        {
            if (COSMControl* target = GetControl(index))
            {
                beginGroup = target->GetBeginGroup();
                target->SetBeginGroup(FALSE);
            }
        }
        if (COSMControl* copy = m_controls->AddClone(control, index, TRUE))
        {
            copy->SetBeginGroup(beginGroup);
            commandBars->SetCustomizeSelection(copy);
        }
    }
    else
    {
        // Dragged a little way along itself: a separator appears before it (dropped after itself) or goes.
        if (std::abs(point.x - start.x) > kSelfDropSlop || std::abs(point.y - start.y) > kSelfDropSlop)
            control->SetBeginGroup(after && index != 0);
        effect = kEffectKeep;
    }
    OnRecalcLayout();
    m_dropMarkerRect.SetRectEmpty();
    Redraw(nullptr, TRUE);
}
