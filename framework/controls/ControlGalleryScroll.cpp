// The gallery's scroll bar: its answers to the scroll engine, the scroll position, the animation of held scroll
// buttons, the wheel and bringing an item into view.
#include "framework/controls/ControlGallery.h"

#include "classlib/GuardedCallbacks.h"
#include "classlib/SyncObject.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/controls/ControlGalleryItems.h"
#include "framework/controls/ControlGalleryPaintManager.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>

namespace {

// A held scroll button repeats faster than this (ms): the animation then takes bigger steps.
const UINT kGalleryFastRepeat = 201;
const double kGalleryFirstStepDivisor = 8.0;
const double kGalleryRepeatStepDivisor = 3.0;

// The gallery animating on each bar window: the animation timer carries this procedure, so that a tick dispatched
// outside the scroll engine's loop still reaches the gallery. Bars of several UI threads animate at once: the map is
// locked. The lock is never held while a gallery runs, so a gallery may start or stop animations from its tick.
class AnimatingGalleries
{
public:
    void Set(HWND window, COSMControlGallery* gallery)
    {
        const std::lock_guard<CCriticalSection> lock(m_lock);
        m_galleries[window] = gallery;
    }
    void Remove(HWND window)
    {
        const std::lock_guard<CCriticalSection> lock(m_lock);
        m_galleries.erase(window);
    }
    void RemoveGallery(const COSMControlGallery* gallery)
    {
        const std::lock_guard<CCriticalSection> lock(m_lock);
        for (auto it = m_galleries.begin(); it != m_galleries.end();)
            it = it->second == gallery ? m_galleries.erase(it) : std::next(it);
    }
    COSMControlGallery* Find(HWND window)
    {
        const std::lock_guard<CCriticalSection> lock(m_lock);
        const auto found = m_galleries.find(window);
        return found == m_galleries.end() ? nullptr : found->second;
    }

private:
    CCriticalSection m_lock;
    std::map<HWND, COSMControlGallery*> m_galleries;
};

AnimatingGalleries& TheAnimatingGalleries()
{
    static AnimatingGalleries galleries;
    return galleries;
}

void OnGalleryAnimationTimer(HWND window, UINT, UINT_PTR id, DWORD)
{
    COSMControlGallery* gallery = TheAnimatingGalleries().Find(window);
    if (!gallery)
    {
        ::KillTimer(window, id);
        return;
    }
    gallery->OnScrollAnimationTimer();
}
constexpr char kGalleryAnimationTimerName[] = "gallery animation timer";

}  // namespace

COSMControlGallery::~COSMControlGallery()
{
    TheAnimatingGalleries().RemoveGallery(this);
}

// ---- The scroll bar ----

BOOL COSMControlGallery::IsScrollBarEnabled()
{
    return GetEnabled() != 0;
}

CWnd* COSMControlGallery::GetParentWindow()
{
    return m_parent;
}

COSMScrollBarPaintManager* COSMControlGallery::GetScrollBarPaintManager()
{
    return GetGalleryPaintManager();
}

void COSMControlGallery::RedrawScrollBar()
{
    RedrawControl(nullptr, FALSE);
}

void COSMControlGallery::UpdateScrollBar()
{
    RecalcScrollBar();
}

BOOL COSMControlGallery::IsScrollButtonEnabled(int part) const
{
    if (GetEnabled() == 0)
        return FALSE;
    if (!HasPopupBar())
        return TRUE;
    if (part == kHitFirstArrow)
        return m_scrollPos > 0;
    if (part == kHitSecondArrow)
        return m_scrollPos < m_contentHeight - GetItemsRect().Height();
    return TRUE;
}

void COSMControlGallery::GetScrollInfo(SCROLLINFO* info)
{
    info->nMin = 0;
    info->nMax = std::max(m_contentHeight - 1, 0);
    info->nPage = static_cast<UINT>(std::max(GetItemsRect().Height(), 0));
    info->nPos = m_scrollPos;
}

void COSMControlGallery::GetScrollBarRect(RECT* rect)
{
    ::SetRectEmpty(rect);
    if (!m_showScrollBar)
        return;
    const COSMControlGalleryPaintManager* painter = GetGalleryPaintManager();
    int width = ::GetSystemMetrics(SM_CXVSCROLL);
    if (HasPopupBar())
        width = painter ? painter->GetScrollColumnWidth() : COSMControlGalleryPaintManager::kScrollColumnWidth;
    else if (painter)
        width = painter->GetVerticalThickness();
    CRect column(m_rect.right - width, m_rect.top, m_rect.right, m_rect.bottom);
    if (m_showBorders)
        column = CRect(column.left - 1, column.top + 1, column.right - 1, column.bottom - 1);
    if (HasFollowingControl())
        column.bottom -= 2;
    *rect = column;
}

void COSMControlGallery::CalcScrollBarInfo(const RECT* rect, ScrollBarGeometry* geometry, const SCROLLINFO* info)
{
    if (!HasPopupBar())
    {
        COSMScrollBase::CalcScrollBarInfo(rect, geometry, info);
        return;
    }
    const COSMControlGalleryPaintManager* painter = GetGalleryPaintManager();
    const int up = painter ? painter->GetUpButtonHeight() : COSMControlGalleryPaintManager::kUpButtonHeight;
    const int down = painter ? painter->GetDownButtonHeight() : COSMControlGalleryPaintManager::kDownButtonHeight;
    ScrollBarGeometry& g = *geometry;
    g.rect = *rect;
    g.vertical = TRUE;
    g.pxTop = rect->top;
    g.pxBottom = rect->bottom;
    g.pxLeft = rect->left;
    g.pxRight = rect->right;
    g.posMin = info->nMin;
    g.posMax = info->nMax;
    g.page = static_cast<int>(info->nPage);
    g.pos = info->nPos;
    g.upArrowEnd = rect->top + up;
    g.downArrowStart = rect->top + up;
    g.popupStart = rect->top + up + down;
    // No track and no thumb: the buttons fill the column.
    g.thumbSize = 0;
    g.trackStart = g.downArrowStart;
    g.thumbTravel = 0;
    g.thumbStart = g.downArrowStart;
    g.thumbEnd = g.downArrowStart;
}

int COSMControlGallery::ClampScrollPos(int pos) const
{
    return std::max(0, std::min(pos, m_contentHeight - GetItemsRect().Height()));
}

void COSMControlGallery::StopAnimation()
{
    if (!m_animating)
        return;
    m_animating = FALSE;
    if (const HWND window = GetParentBarWindow())
    {
        ::KillTimer(window, kAnimationTimerId);
        TheAnimatingGalleries().Remove(window);
    }
}

void COSMControlGallery::DoScroll(int command, int pos)
{
    const COSMControlGalleryItems* items = GetItems();
    const int itemHeight = items ? items->GetItemSize().cy : 0;
    const int areaHeight = GetItemsRect().Height();
    int target = m_animating ? m_animationTarget : m_scrollPos;
    switch (command)
    {
    case SB_LINEUP:
        target -= itemHeight;
        break;
    case SB_LINEDOWN:
        target += itemHeight;
        break;
    case SB_PAGEUP:
        target -= areaHeight;
        break;
    case SB_PAGEDOWN:
        target += areaHeight;
        break;
    case SB_THUMBTRACK:
        target = pos;
        break;
    case SB_TOP:
        target = 0;
        break;
    case SB_BOTTOM:
        target = m_contentHeight;
        break;
    default:
        break;
    }
    if (HasPopupBar() && (command == SB_LINEUP || command == SB_LINEDOWN || command == SB_ENDSCROLL))
        AnimateScroll(target);
    else
        SetScrollPos(target);
}

void COSMControlGallery::SetScrollPos(int pos)
{
    pos = ClampScrollPos(pos);
    const BOOL wasAnimating = m_animating;
    StopAnimation();
    if (pos == m_scrollPos && !wasAnimating)
        return;
    m_scrollPos = pos;
    Reposition();
    UpdateScrollBar();
    RedrawControl(nullptr, FALSE);
}

void COSMControlGallery::AnimateScroll(int pos)
{
    pos = ClampScrollPos(pos);
    if ((m_animating && m_animationTarget == pos) || (!m_animating && m_scrollPos == pos))
        return;
    m_animating = TRUE;
    m_animationTarget = pos;
    const double divisor =
        GetAutoRepeatInterval() < kGalleryFastRepeat ? kGalleryRepeatStepDivisor : kGalleryFirstStepDivisor;
    m_animationStep = (m_animationTarget - m_scrollPos) / divisor;
    // However close the target, every tick moves.
    if (m_animationStep >= 0.0 && m_animationStep < 1.0)
        m_animationStep = 1.0;
    else if (m_animationStep < 0.0 && m_animationStep >= -1.0)
        m_animationStep = -1.0;
    if (const HWND window = GetParentBarWindow())
    {
        TheAnimatingGalleries().Set(window, this);
        ::SetTimer(window, kAnimationTimerId, kAnimationInterval,
                   osm::GuardedTimerProc<kGalleryAnimationTimerName, &OnGalleryAnimationTimer>);
    }
    OnScrollAnimationTimer();
}

void COSMControlGallery::OnScrollAnimationTimer()
{
    if (!m_animating)
    {
        StopAnimation();
        return;
    }
    if (std::fabs(m_animationStep) >= std::abs(m_animationTarget - m_scrollPos))
    {
        m_scrollPos = m_animationTarget;
        StopAnimation();
    }
    else
    {
        m_scrollPos = static_cast<int>(m_scrollPos + m_animationStep);
    }
    Reposition();
    UpdateScrollBar();
    RedrawControl(nullptr, FALSE);
    if (const HWND window = GetParentBarWindow())
        ::UpdateWindow(window);
}

BOOL COSMControlGallery::OnHookMouseWheel(UINT flags, short delta, CPoint point)
{
    const COSMControlGalleryItems* items = GetItems();
    if (IsShowAsButton() || !items)
        return FALSE;
    const int lines = delta >= 0 ? -3 : 3;
    SetScrollPos(m_scrollPos + lines * items->GetItemSize().cy);
    return TRUE;
}

void COSMControlGallery::EnsureVisible(int index)
{
    const COSMControlGalleryItems* items = GetItems();
    if (!m_parent || !items || index < 0 || index >= static_cast<int>(m_positions.size()))
        return;
    const CRect area = GetItemsRect();
    const CRect content = m_positions[index].rect;
    CRect rect = content;
    rect.OffsetRect(0, -m_scrollPos);
    if (rect.top >= area.top)
    {
        if (rect.bottom <= area.bottom)
            return;
        SetScrollPos(content.bottom - area.bottom);
        return;
    }
    int target = content.top - area.top;
    if (m_showLabels)
    {
        // The item's group heading comes into view with it, when both fit.
        const int reach = area.Height() - items->GetItemSize().cy;
        for (int i = index - 1; i >= 0; --i)
        {
            const CRect earlier = m_positions[i].rect;
            if (earlier.IsRectEmpty())
                continue;
            if (content.top - earlier.top > reach)
                break;
            if (m_positions[i].item->IsLabel())
            {
                target = earlier.top - area.top;
                break;
            }
        }
    }
    SetScrollPos(target);
}

int COSMControlGallery::ScrollItemToTop(int index)
{
    if (index < 0 || index >= static_cast<int>(m_positions.size()))
        return -1;
    SetScrollPos(m_positions[index].rect.top - GetItemsRect().top);
    return 0;
}
