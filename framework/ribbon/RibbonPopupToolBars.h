// The ribbon's popup toolbars: COSMRibbonTabPopupToolBar shows a copy of a tab with its groups under the tab strip of
// a minimized ribbon; COSMRibbonGroupPopupToolBar shows a copy of a reduced group under its popup button;
// COSMRibbonBarMorePopupToolBar holds the quick-access controls that do not fit. The tab and group popups embed a
// groups scroller (COSMRibbonGroupsScroller::GetGroupsScroller finds it) and track the hot group.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/ribbon/RibbonGroupsScroller.h"

#include <map>
#include <memory>

class COSMRibbonBar;
class COSMRibbonGroup;
class COSMRibbonTab;

class COSMRibbonTabPopupToolBar : public COSMPopupToolBar
{
    DECLARE_SERIAL(COSMRibbonTabPopupToolBar)

public:
    // The margins of the groups inside the popup (left, top, right, bottom) and the room kept from the work area's
    // right edge.
    static constexpr int kWorkAreaMargin = 4;

    COSMRibbonTabPopupToolBar();
    explicit COSMRibbonTabPopupToolBar(COSMRibbonTab* tab);
    ~COSMRibbonTabPopupToolBar() override;

    // A group control's tool takes the groups rectangle when the tooltip context asks for it.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* info) const override;
    BOOL SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard) override;
    CSize GetIconSize() const override;
    CSize GetButtonSize() const override;
    BOOL IsKeyboardCuesVisible() const override;
    void DrawCommandBar(CDC* dc, CRect clip) override;
    // The scroller brings a group control into view (arrows and tips select through it).
    void EnsureVisible(COSMControl* control) override;
    // The ribbon's tips for the copy's groups, in this popup.
    void CreateKeyboardTips() override;
    // A control hidden only by its group's reduction opens the group's popup and is activated there.
    void OnKeyboardTip(COSMCommandBarKeyboardTip* tip) override;
    // Under the tab strip at the ribbon's width, inside the work area (above the strip when it does not fit below).
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    // Keys go on to a popup tracked above this one (a group popup it opened, a menu).
    int OnHookKeyDown(UINT key, LPARAM lParam) override;
    // Arrows move by position as in the ribbon; Escape closes every popup unless the ribbon was entered from the
    // keyboard (then one level goes).
    BOOL ProcessSpecialKey(int kind) override;
    CRect CalculatePopupRect(int x, int y, int cx, int cy) override;

    // The tab the popup shows (the source), the copy it holds, the ribbon it came from.
    COSMRibbonTab* GetRibbonTab() const { return m_sourceTab; }
    COSMRibbonTab* GetTabCopy() const { return m_tabCopy.Get(); }
    COSMRibbonBar* GetRibbonBar() const { return m_ribbonBar; }
    CRect GetGroupsRect() const { return m_groupsRect; }
    COSMRibbonGroupsScroller* GetGroupsScroller() const { return m_scroller.get(); }

protected:
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

private:
    class Scroller;
    std::unique_ptr<COSMRibbonGroupsScroller> m_scroller;
    RefPtr<COSMRibbonTab> m_tabCopy;
    COSMRibbonTab* m_sourceTab = nullptr;
    COSMRibbonBar* m_ribbonBar = nullptr;
    CRect m_groupsRect;
};

class COSMRibbonGroupPopupToolBar : public COSMPopupToolBar
{
    DECLARE_SERIAL(COSMRibbonGroupPopupToolBar)

public:
    COSMRibbonGroupPopupToolBar();
    explicit COSMRibbonGroupPopupToolBar(COSMRibbonGroup* group);
    ~COSMRibbonGroupPopupToolBar() override;

    BOOL SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard) override;
    CSize GetIconSize() const override;
    CSize GetButtonSize() const override;
    BOOL IsKeyboardCuesVisible() const override;
    void DrawCommandBar(CDC* dc, CRect clip) override;
    // The copy's width and the groups' height less 7, inside the borders.
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    // The tips of the source group's tab with the copy in the source's place: the copy's controls keep the letters
    // they have on the ribbon, the other groups' tips stay hidden.
    void CreateKeyboardTips() override;
    // Only the copy's visible controls run from a tip.
    void OnKeyboardTip(COSMCommandBarKeyboardTip* tip) override;
    // Keys go on to a popup tracked above this one (a menu of one of its controls).
    int OnHookKeyDown(UINT key, LPARAM lParam) override;
    // Arrows move by position as in the ribbon.
    BOOL ProcessSpecialKey(int kind) override;
    COSMCommandBar* Clone(BOOL recursive) const override;

    COSMRibbonGroup* GetGroupCopy() const { return m_groupCopy.Get(); }
    // The ribbon is going: the closed popups of its groups that still wait to let their copies go do so now, while
    // the groups the copies were made from are still there.
    static void DropPendingCopies(const COSMRibbonBar* ribbon);
    COSMRibbonGroup* GetSourceGroup() const { return m_sourceGroup; }
    COSMRibbonBar* GetRibbonBar() const { return m_ribbonBar; }
    COSMRibbonGroupsScroller* GetGroupsScroller() const { return m_scroller.get(); }
    CRect GetPopupBorders() const { return m_popupToolBarBorders; }

protected:
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

private:
    class Scroller;
    // The copy leaves a closed popup from a thread timer; the timers of the thread hold their popups until then.
    using DropTimerMap = std::map<UINT_PTR, RefPtr<COSMRibbonGroupPopupToolBar>>;
    static DropTimerMap& DropTimers();
    static void DropCopyTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
    // Takes the copy out of the closed popup.
    void DropCopy();

    std::unique_ptr<COSMRibbonGroupsScroller> m_scroller;
    UINT_PTR m_dropTimer = 0;
    RefPtr<COSMRibbonGroup> m_groupCopy;
    COSMRibbonBar* m_ribbonBar = nullptr;
    COSMRibbonGroup* m_sourceGroup = nullptr;
};

class COSMRibbonBarMorePopupToolBar : public COSMPopupToolBar
{
    DECLARE_SERIAL(COSMRibbonBarMorePopupToolBar)

public:
    COSMRibbonBarMorePopupToolBar() = default;
    explicit COSMRibbonBarMorePopupToolBar(COSMRibbonBar* ribbon);

    CSize GetIconSize() const override;
    CSize GetButtonSize() const override;
    void DrawCommandBarFrame(CDC* dc) override;

    COSMRibbonBar* GetRibbonBar() const { return m_ribbonBar; }
    CRect GetPopupBorders() const { return m_popupToolBarBorders; }

private:
    COSMRibbonBar* m_ribbonBar = nullptr;
};
