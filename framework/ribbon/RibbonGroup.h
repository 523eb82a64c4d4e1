// Stand-in: the ribbon's groups, their scroller and popups, the tab's popup toolbar and the system button grow here in
// place; for now they hold what the bar and the tabs read.
//
// A tab owns its groups (COSMRibbonGroups); a control shown by a group points at it (COSMControl::GetRibbonGroup):
//
//   COSMRibbonGroup* group = tab->GetGroups()->Add("Clipboard", 10);
//   control->SetRibbonGroup(group);   // the bar hides the control while another tab is selected
#pragma once

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/PopupBar.h"

#include <vector>

class COSMRibbonBar;
class COSMRibbonTab;
class COSMPropExchange;

// One group of a tab: its caption and id, where it is laid out and whether it shows.
class COSMRibbonGroup : public CCmdTarget
{
    DECLARE_SERIAL(COSMRibbonGroup)

public:
    COSMRibbonGroup() = default;

    COSMRibbonTab* GetParentTab() const { return m_parentTab; }
    void SetParentTab(COSMRibbonTab* tab) { m_parentTab = tab; }
    int GetID() const { return m_id; }
    void SetID(int id) { m_id = id; }
    const CString& GetCaption() const { return m_caption; }
    void SetCaption(LPCSTR caption) { m_caption = caption; }
    BOOL IsVisible() const { return m_visible; }
    void SetVisible(BOOL visible) { m_visible = visible; }
    CRect GetRect() const { return m_rect; }
    void SetRect(const CRect& rect) { m_rect = rect; }
    BOOL IsReduced() const { return m_reduced; }
    BOOL IsHighlighted() const { return m_highlighted; }
    void SetHighlighted(BOOL highlighted) { m_highlighted = highlighted; }
    BOOL IsOptionButtonVisible() const { return FALSE; }
    // Draws nothing yet: the groups' painting comes with the groups.
    virtual void Draw(CDC* /*dc*/, CRect /*clip*/) {}

private:
    COSMRibbonTab* m_parentTab = nullptr;
    int m_id = 0;
    CString m_caption;
    BOOL m_visible = TRUE;
    CRect m_rect;
    BOOL m_reduced = FALSE;
    BOOL m_highlighted = FALSE;
};

// The groups of one tab, owned by it; each group is referenced once.
class COSMRibbonGroups : public CCmdTarget
{
public:
    explicit COSMRibbonGroups(COSMRibbonTab* tab) : m_tab(tab) {}
    ~COSMRibbonGroups() override { RemoveAll(); }

    COSMRibbonTab* GetParentTab() const { return m_tab; }
    int GetCount() const { return static_cast<int>(m_groups.size()); }
    // Null outside 0..count-1.
    COSMRibbonGroup* GetAt(int index) const
    {
        return index >= 0 && index < GetCount() ? m_groups[static_cast<size_t>(index)] : nullptr;
    }
    // A new group at the end.
    COSMRibbonGroup* Add(LPCSTR caption, int id);
    void RemoveAll();
    // Groups of the same captions and ids as the source's.
    void Copy(const COSMRibbonGroups* source);
    // The first visible group whose rectangle holds the point; null when none.
    COSMRibbonGroup* HitTest(CPoint point) const;
    // Lays the groups out in the bar's groups rectangle; for now only both scroll buttons hide.
    void RepositionGroups(CDC* dc, int width, DWORD mode, CRect start);
    // An empty "Group" list: the groups' own keys come with them.
    void DoPropExchange(COSMPropExchange* px);

private:
    COSMRibbonTab* m_tab;
    std::vector<COSMRibbonGroup*> m_groups;
};

// A group's popup, opened when the group is reduced or shown in the quick-access area (no group then).
class COSMRibbonGroupControlPopup : public COSMControlPopup
{
    DECLARE_SERIAL(COSMRibbonGroupControlPopup)

public:
    COSMRibbonGroupControlPopup() = default;
    COSMRibbonGroup* GetGroup() const { return m_group; }
    void SetGroup(COSMRibbonGroup* group) { m_group = group; }
    COSMControl* Clone(BOOL recursive) const override;

private:
    COSMRibbonGroup* m_group = nullptr;
};

class COSMRibbonGroupsScroller;

// One of the two buttons that scroll the groups when they do not fit.
class COSMRibbonGroupsScrollButton : public COSMControlButton
{
    DECLARE_SERIAL(COSMRibbonGroupsScrollButton)

public:
    COSMRibbonGroupsScrollButton() = default;
    COSMRibbonGroupsScrollButton(COSMRibbonGroupsScroller* scroller, BOOL left) : m_scroller(scroller), m_left(left) {}
    BOOL IsLeft() const { return m_left; }
    COSMRibbonGroupsScroller* GetScroller() const { return m_scroller; }

private:
    COSMRibbonGroupsScroller* m_scroller = nullptr;
    BOOL m_left = FALSE;
};

// Scrolls the groups of a bar that are wider than its groups rectangle; the bar answers the three operations.
class COSMRibbonGroupsScroller
{
public:
    explicit COSMRibbonGroupsScroller(COSMRibbonBar* bar);
    virtual ~COSMRibbonGroupsScroller();
    COSMRibbonGroupsScroller(const COSMRibbonGroupsScroller&) = delete;
    COSMRibbonGroupsScroller& operator=(const COSMRibbonGroupsScroller&) = delete;

    virtual void ScrollGroups(BOOL /*left*/) {}
    virtual CRect GetGroupsRect() const { return CRect(); }
    virtual COSMRibbonGroup* HitTestGroup(CPoint /*point*/) const { return nullptr; }

    int GetScrollOffset() const { return m_scrollOffset; }
    void SetScrollOffset(int offset) { m_scrollOffset = offset; }
    COSMRibbonGroupsScrollButton* GetLeftButton() const { return m_leftButton; }
    COSMRibbonGroupsScrollButton* GetRightButton() const { return m_rightButton; }
    COSMRibbonGroup* GetHotGroup() const { return m_hotGroup; }
    void SetHotGroup(COSMRibbonGroup* group) { m_hotGroup = group; }

protected:
    int m_scrollOffset = 0;
    COSMRibbonBar* m_bar;
    COSMRibbonGroupsScrollButton* m_leftButton;
    COSMRibbonGroupsScrollButton* m_rightButton;
    COSMRibbonGroup* m_hotGroup = nullptr;
};

// The popup toolbar a minimized ribbon opens for its selected tab; empty until the groups fill it.
class COSMRibbonTabPopupToolBar : public COSMPopupToolBar
{
    DECLARE_SERIAL(COSMRibbonTabPopupToolBar)

public:
    COSMRibbonTabPopupToolBar() = default;
    explicit COSMRibbonTabPopupToolBar(COSMRibbonTab* tab) : m_tab(tab) {}
    COSMRibbonTab* GetRibbonTab() const { return m_tab; }

private:
    COSMRibbonTab* m_tab = nullptr;
};
