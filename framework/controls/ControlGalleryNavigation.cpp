// The gallery's keys, its item navigation (next, row and column neighbours, pages) and its text search.
#include "framework/controls/ControlGallery.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Controls.h"
#include "framework/controls/ControlGalleryItems.h"

#include <algorithm>

int COSMControlGallery::OnHookKeyDown(UINT key, LPARAM lParam)
{
    if (IsShowAsButton() || !m_parent || !IsFocused())
        return 0;
    if (m_selectedItem == -1 && HasPopupBar())
    {
        // Nothing chosen yet in an in-bar gallery: Enter and Space open its drop-down.
        if (key != VK_RETURN && key != VK_SPACE)
            return 0;
        m_parent->SetPopuped(m_index, TRUE);
        return 1;
    }
    if (m_parent->IsLayoutRTL())
    {
        if (key == VK_LEFT)
            key = VK_RIGHT;
        else if (key == VK_RIGHT)
            key = VK_LEFT;
    }
    const int current = m_selectedItem;
    int next = -1;
    switch (key)
    {
    case VK_TAB:
    {
        const BOOL back = ::GetKeyState(VK_SHIFT) < 0;
        next = GetNextItem(current, back ? -1 : 1);
        // A wrap leaves the gallery: the bar moves on to its next control.
        if (next == -1 || (back ? next >= current : next <= current))
            return 0;
        break;
    }
    case VK_RETURN:
        OnExecute();
        return 0;
    case VK_PRIOR:
    case VK_NEXT:
        next = GetPageItem(current, key == VK_NEXT ? 1 : -1);
        break;
    case VK_HOME:
    case VK_END:
        next = GetNextItem(-1, key == VK_HOME ? 1 : -1);
        break;
    case VK_LEFT:
    case VK_RIGHT:
        next = GetRowNeighbour(current, key == VK_RIGHT ? 1 : -1);
        break;
    case VK_UP:
    case VK_DOWN:
    {
        const int direction = key == VK_DOWN ? 1 : -1;
        next = GetColumnNeighbour(current, direction);
        // Only a gallery alone in its bar wraps; otherwise the bar takes the key to its other controls.
        const COSMControls* controls = m_parent->GetControls();
        if (next == -1 && controls && controls->GetNext(m_index, direction) == m_index)
            next = GetNextItem(-1, direction);
        break;
    }
    default:
        return 0;
    }
    if (next == -1)
        return 0;
    SetSelectedItem(next);
    return 1;
}

int COSMControlGallery::GetNextItem(int index, int direction) const
{
    const int count = GetItemCount();
    if (count == 0)
        return -1;
    if (index < 0 || index >= count)
    {
        for (int i = direction > 0 ? 0 : count - 1; i >= 0 && i < count; i += direction)
        {
            if (!IsItemLabel(i))
                return i;
        }
        return -1;
    }
    int i = index;
    for (int step = 0; step < count; ++step)
    {
        i += direction;
        if (i >= count)
            i = 0;
        else if (i < 0)
            i = count - 1;
        if (i == index || !IsItemLabel(i))
            return i;
    }
    return -1;
}

int COSMControlGallery::GetColumnNeighbour(int index, int direction) const
{
    const int count = static_cast<int>(m_positions.size());
    if (index < 0 || index >= count)
        return GetNextItem(-1, direction);
    const int left = m_positions[index].rect.left;
    for (int i = index + direction; i >= 0 && i < count; i += direction)
    {
        if (!m_positions[i].item->IsLabel() && !m_positions[i].rect.IsRectEmpty() && m_positions[i].rect.left == left)
            return i;
    }
    return -1;
}

int COSMControlGallery::GetRowNeighbour(int index, int direction) const
{
    const COSMControlGalleryItems* items = GetItems();
    const int count = static_cast<int>(m_positions.size());
    if (index < 0 || index >= count)
        return GetNextItem(-1, direction);
    const int itemWidth = items ? items->GetItemSize().cx : 0;
    if (itemWidth == 0 || itemWidth * 2 > GetItemsRect().Width())
        return index;
    if (direction > 0)
    {
        for (int i = index + 1; i < count && !m_positions[i].beginRow; ++i)
        {
            if (!m_positions[i].rect.IsRectEmpty())
                return i;
        }
        // At the row's end: round to its first item.
        int start = index;
        while (start > 0 && !m_positions[start].beginRow)
            --start;
        return start;
    }
    if (!m_positions[index].beginRow)
    {
        for (int i = index - 1; i >= 0; --i)
        {
            if (!m_positions[i].rect.IsRectEmpty())
                return i;
        }
    }
    // At the row's start: round to its last item.
    int last = index;
    for (int i = index + 1; i < count && !m_positions[i].beginRow; ++i)
    {
        if (!m_positions[i].rect.IsRectEmpty())
            last = i;
    }
    return last;
}

int COSMControlGallery::GetPageItem(int index, int direction) const
{
    const int count = static_cast<int>(m_positions.size());
    if (index < 0 || index >= count)
        return GetNextItem(-1, direction);
    const int page = GetItemsRect().Height();
    const CRect from = m_positions[index].rect;
    int candidate = index;
    for (int i = index + direction; i >= 0 && i < count; i += direction)
    {
        const GalleryItemPosition& position = m_positions[i];
        if (position.item->IsLabel() || position.rect.IsRectEmpty())
            continue;
        const int distance = direction > 0 ? position.rect.bottom - from.bottom : from.top - position.rect.top;
        if (distance > page)
            break;
        if (distance < page)
            candidate = i;
    }
    return candidate;
}

int COSMControlGallery::FindItem(int start, LPCSTR text, BOOL exact) const
{
    const int count = GetItemCount();
    if (count == 0 || !text || !*text)
        return -1;
    const int textLength = lstrlenA(text);
    int first = start + 1;
    if (first < 0 || first >= count)
        first = 0;
    int i = first;
    do
    {
        const CString caption = GetItemCaption(i);
        if (exact)
        {
            if (caption.CompareNoCase(text) == 0)
                return i;
        }
        else if (textLength <= caption.GetLength() && ::CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, caption,
                                                                       textLength, text, textLength) == CSTR_EQUAL)
        {
            return i;
        }
        i = (i + 1) % count;
    } while (i != first);
    return -1;
}
