// The groups scroller: the horizontal offset of a tab's groups in one bar (the ribbon, a tab popup or a group popup),
// its two scroll buttons (controls of that bar, hidden with hide flag 8 while not needed) and the bar's hot group.
//
//   COSMRibbonGroupsScroller* scroller = COSMRibbonGroupsScroller::GetGroupsScroller(bar);
//   scroller->ScrollGroups(TRUE);          // 40 pixels back towards the first group
//
// Pressing a scroll button scrolls once, then again after 4/5 of the double-click time and every tenth of it after
// that, until the button goes up or the bar loses the mouse capture.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/ControlButton.h"

class COSMCommandBar;
class COSMRibbonGroup;
class COSMRibbonGroups;
class COSMRibbonGroupsScroller;

// One of the two buttons that scroll the groups when they do not fit.
class COSMRibbonGroupsScrollButton : public COSMControlButton
{
    DECLARE_SERIAL(COSMRibbonGroupsScrollButton)

public:
    // The auto-repeat timer on the bar's window.
    static constexpr UINT_PTR kTimerRepeat = 17821;

    COSMRibbonGroupsScrollButton();
    COSMRibbonGroupsScrollButton(COSMRibbonGroupsScroller* scroller, BOOL left);
    void Draw(CDC* dc) override;
    // Scrolls (a press runs it) while the left mouse button stays down (see the header's comment).
    void OnClick(BOOL keyboard, CPoint point) override;
    BOOL IsLeft() const { return m_left; }
    // The scroller of the parent bar, else the one that made the button.
    COSMRibbonGroupsScroller* GetScroller() const;

private:
    COSMRibbonGroupsScroller* m_scroller = nullptr;
    BOOL m_left = FALSE;
};

class COSMRibbonGroupsScroller
{
public:
    // The width of a scroll button and the step of one scroll.
    static constexpr int kButtonWidth = 12;
    static constexpr int kScrollStep = 40;

    explicit COSMRibbonGroupsScroller(COSMCommandBar* bar);
    virtual ~COSMRibbonGroupsScroller();
    COSMRibbonGroupsScroller(const COSMRibbonGroupsScroller&) = delete;
    COSMRibbonGroupsScroller& operator=(const COSMRibbonGroupsScroller&) = delete;

    // ---- Override these ----------------------------------------------------------------------------------------
    virtual void ScrollGroups(BOOL left) {}
    virtual CRect GetGroupsRect() const { return CRect(); }
    virtual COSMRibbonGroup* HitTestGroup(CPoint point) const { return nullptr; }

    // The scroller of the bar: the ribbon's own, or the one a tab or group popup embeds; null for other bars.
    static COSMRibbonGroupsScroller* GetGroupsScroller(const COSMCommandBar* bar);

    // Appends both buttons to the bar's controls (once the bar has them).
    void Init();
    // A shown button loses hide flag 8 and stands at its edge of the groups rectangle; the other gets it.
    void ShowScrollButtons(BOOL left, BOOL right);
    // The hot group changes; the old and the new group's rectangles redraw.
    void SetHotGroup(COSMRibbonGroup* group);
    // Scrolls the control's rectangle (in the groups of a tab) into view, 12 pixels clear of the buttons.
    void EnsureVisible(COSMRibbonGroups* groups, CRect rect);

    int GetScrollOffset() const { return m_scrollOffset; }
    void SetScrollOffset(int offset) { m_scrollOffset = offset; }
    COSMCommandBar* GetBar() const { return m_bar; }
    COSMRibbonGroupsScrollButton* GetLeftButton() const { return m_leftButton.Get(); }
    COSMRibbonGroupsScrollButton* GetRightButton() const { return m_rightButton.Get(); }
    COSMRibbonGroup* GetHotGroup() const { return m_hotGroup; }

protected:
    int m_scrollOffset = 0;
    COSMCommandBar* m_bar;
    // Made with the scroller; the bar's controls hold references of their own once Init ran.
    RefPtr<COSMRibbonGroupsScrollButton> m_leftButton;
    RefPtr<COSMRibbonGroupsScrollButton> m_rightButton;
    COSMRibbonGroup* m_hotGroup = nullptr;
};
