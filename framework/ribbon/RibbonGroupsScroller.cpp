// The groups scroller and its scroll buttons: showing the buttons, the hot group, bringing a control into view, and
// the buttons' auto-repeating press.
#include "framework/ribbon/RibbonGroupsScroller.h"

#include "classlib/ModalLoop.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Controls.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/ribbon/RibbonPaintManager.h"
#include "framework/ribbon/RibbonPopupToolBars.h"
#include "framework/ribbon/RibbonTab.h"

#include <algorithm>

IMPLEMENT_SERIAL(COSMRibbonGroupsScrollButton, COSMControlButton, VERSIONABLE_SCHEMA | 0x23)

namespace {

constexpr DWORD kScrollButtonFlags = 18;

}  // namespace

// ---- The scroll buttons ----

COSMRibbonGroupsScrollButton::COSMRibbonGroupsScrollButton()
{
    m_flags = kScrollButtonFlags;
}

COSMRibbonGroupsScrollButton::COSMRibbonGroupsScrollButton(COSMRibbonGroupsScroller* scroller, BOOL left)
    : m_scroller(scroller), m_left(left)
{
    m_flags = kScrollButtonFlags;
}

COSMRibbonGroupsScroller* COSMRibbonGroupsScrollButton::GetScroller() const
{
    COSMRibbonGroupsScroller* scroller = COSMRibbonGroupsScroller::GetGroupsScroller(GetParent());
    return scroller ? scroller : m_scroller;
}

void COSMRibbonGroupsScrollButton::Draw(CDC* dc)
{
    COSMRibbonBar* ribbon = COSMRibbonGroupControlPopup::GetRibbonBarOf(GetParent());
    if (COSMRibbonPaintManager* painter = ribbon ? ribbon->GetRibbonPaintManager() : nullptr)
        painter->DrawGroupsScrollButton(dc, this, m_left);
}

void COSMRibbonGroupsScrollButton::OnClick(BOOL /*keyboard*/, CPoint /*point*/)
{
    COSMCommandBar* bar = GetParent();
    COSMRibbonGroupsScroller* scroller = GetScroller();
    if (!bar || !scroller || !bar->GetSafeHwnd() || ::GetKeyState(VK_LBUTTON) >= 0)
        return;
    const HWND window = bar->GetSafeHwnd();
    // A message of the loop may close the popup that holds the button: the loop keeps both alive and stops
    // touching them once their window is gone.
    const RefPtr<COSMRibbonGroupsScrollButton> keepButton = RefPtr<COSMRibbonGroupsScrollButton>::Retain(this);
    const RefPtr<COSMCommandBar> keepBar = RefPtr<COSMCommandBar>::Retain(bar);

    m_pressed = TRUE;
    scroller->ScrollGroups(m_left);
    const UINT doubleClick = ::GetDoubleClickTime();
    ::SetTimer(window, kTimerRepeat, doubleClick * 4 / 5, nullptr);
    ::SetCapture(window);
    BOOL firstRepeat = TRUE;
    CModalLoop loop;
    loop.EndOnCaptureLoss(window);
    loop.Run([&] { return !::IsWindow(window) || !IsVisible(); },
             [&](MSG& msg) {
                 if (msg.message == WM_TIMER && msg.hwnd == window && msg.wParam == kTimerRepeat)
                 {
                     if (COSMRibbonGroupsScroller* current = GetScroller())
                         current->ScrollGroups(m_left);
                     if (firstRepeat && ::IsWindow(window))
                         ::SetTimer(window, kTimerRepeat, doubleClick / 10, nullptr);
                     firstRepeat = FALSE;
                     return CModalLoop::Handled;
                 }
                 return msg.message == WM_LBUTTONUP ? CModalLoop::Stop : CModalLoop::Dispatch;
             });

    if (::IsWindow(window) && GetParent() == bar)
    {
        if (::GetCapture() == window)
            ::ReleaseCapture();
        ::KillTimer(window, kTimerRepeat);
        m_pressed = FALSE;
        if (!IsVisible())
            SetSelected(0);
        RedrawParent(FALSE);
    }
}

// ---- The scroller ----

COSMRibbonGroupsScroller::COSMRibbonGroupsScroller(COSMCommandBar* bar)
    : m_bar(bar),
      m_leftButton(RefPtr<COSMRibbonGroupsScrollButton>::Adopt(new COSMRibbonGroupsScrollButton(this, TRUE))),
      m_rightButton(RefPtr<COSMRibbonGroupsScrollButton>::Adopt(new COSMRibbonGroupsScrollButton(this, FALSE)))
{
    m_leftButton->SetHideFlags(COSMControl::kHideScroll);
    m_rightButton->SetHideFlags(COSMControl::kHideScroll);
}

COSMRibbonGroupsScroller::~COSMRibbonGroupsScroller() = default;

COSMRibbonGroupsScroller* COSMRibbonGroupsScroller::GetGroupsScroller(const COSMCommandBar* bar)
{
    if (!bar)
        return nullptr;
    if (auto* ribbon = dynamic_cast<const COSMRibbonBar*>(bar))
        return ribbon->GetGroupsScroller();
    if (auto* tabPopup = dynamic_cast<const COSMRibbonTabPopupToolBar*>(bar))
        return tabPopup->GetGroupsScroller();
    if (auto* groupPopup = dynamic_cast<const COSMRibbonGroupPopupToolBar*>(bar))
        return groupPopup->GetGroupsScroller();
    return nullptr;
}

void COSMRibbonGroupsScroller::Init()
{
    COSMControls* controls = m_bar ? m_bar->GetControls() : nullptr;
    if (!controls)
        return;
    for (COSMControl* button :
         {static_cast<COSMControl*>(m_leftButton.Get()), static_cast<COSMControl*>(m_rightButton.Get())})
    {
        // The ribbon's own controls: never saved, and a copied bar keeps its own pair. The bar's controls hold a
        // reference of their own.
        button->SetTemporary(TRUE);
        controls->InsertAt(RefPtr<COSMControl>::Retain(button).Detach(), -1);
    }
    m_scrollOffset = 0;
}

void COSMRibbonGroupsScroller::ShowScrollButtons(BOOL left, BOOL right)
{
    const CRect area = GetGroupsRect();
    auto place = [](COSMControl* button, BOOL shown, const CRect& rect) {
        if (shown)
        {
            button->SetHideFlags(button->GetHideFlags() & ~COSMControl::kHideScroll);
            button->SetRect(rect);
        }
        else
        {
            button->SetHideFlags(button->GetHideFlags() | COSMControl::kHideScroll);
        }
    };
    place(m_leftButton.Get(), left, CRect(area.left - 1, area.top, area.left + kButtonWidth, area.bottom));
    place(m_rightButton.Get(), right, CRect(area.right - kButtonWidth, area.top, area.right + 1, area.bottom));
}

void COSMRibbonGroupsScroller::SetHotGroup(COSMRibbonGroup* group)
{
    if (group == m_hotGroup)
        return;
    if (m_hotGroup)
    {
        const CRect old = m_hotGroup->GetRect();
        m_hotGroup = nullptr;
        if (m_bar && m_bar->GetSafeHwnd())
            m_bar->Redraw(&old, TRUE);
    }
    m_hotGroup = group;
    if (group && m_bar && m_bar->GetSafeHwnd())
    {
        const CRect rect = group->GetRect();
        m_bar->Redraw(&rect, TRUE);
    }
}

void COSMRibbonGroupsScroller::EnsureVisible(COSMRibbonGroups* groups, CRect rect)
{
    const CRect area = GetGroupsRect();
    int offset = m_scrollOffset;
    if (rect.left < kButtonWidth && m_leftButton->IsVisible())
        offset += rect.left - kButtonWidth;
    else if (rect.right > area.right && m_rightButton->IsVisible())
        offset += rect.right - area.Width() + kButtonWidth;
    offset = std::max(0, offset);
    if (offset == m_scrollOffset)
        return;
    m_scrollOffset = offset;
    COSMRibbonTab* tab = groups ? groups->GetParentTab() : nullptr;
    if (COSMCommandBar* bar = tab ? tab->GetParentCommandBar() : m_bar)
        bar->OnRecalcLayout();
}
