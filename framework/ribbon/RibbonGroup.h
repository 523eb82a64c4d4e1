// The ribbon's groups: COSMRibbonGroup, a captioned block of controls on a tab; COSMRibbonGroups, a tab's groups; and
// the two buttons every group owns, the option button in its caption (COSMRibbonGroupOption) and the button that
// stands for the whole group once it is reduced (COSMRibbonGroupControlPopup).
//
// A group's controls live in the controls of the bar that shows the group (the ribbon bar, or the popup toolbar that
// shows a copy), just before the group's option button; the group keeps its own ordered, referenced list of them:
//
//   COSMRibbonGroup* clipboard = home->GetGroups()->Add("Clipboard", ID_GROUP_CLIPBOARD);
//   clipboard->Add(1, ID_EDIT_PASTE);                  // a button (Type 1) at the end of the group
//   clipboard->SetControlsGrouping(TRUE);              // toolbar-like rows instead of columns
//
// Each layout pass (RibbonGroupLayout.cpp) sizes the controls as large, medium or small buttons, reduces groups one
// step at a time while the tab is too narrow (the last step leaves only the popup button) and widens a resizable
// gallery into spare room.
#pragma once

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"

#include <memory>
#include <vector>

class COSMCommandBar;
class COSMRibbonBar;
class COSMRibbonGroup;
class COSMRibbonGroups;
class COSMRibbonPaintManager;
class COSMRibbonTab;
class COSMPropExchange;
struct COSMRibbonGroupLayoutInfo;

// The small button at the right of a group's caption (its id is the group's).
class COSMRibbonGroupOption : public COSMControlButton
{
    DECLARE_SERIAL(COSMRibbonGroupOption)

public:
    COSMRibbonGroupOption();
    void Draw(CDC* dc) override;
    COSMControl* Clone(BOOL recursive) const override;
};

// The button that stands for a reduced group: it opens the group's popup toolbar with a copy of the group. Without a
// group (a copy in the quick-access row of a group that is gone) it opens a plain popup toolbar.
class COSMRibbonGroupControlPopup : public COSMControlPopup
{
    DECLARE_SERIAL(COSMRibbonGroupControlPopup)

public:
    COSMRibbonGroupControlPopup();
    explicit COSMRibbonGroupControlPopup(COSMRibbonGroup* group);
    ~COSMRibbonGroupControlPopup() override;

    // The ordinary test, and the group's Visible flag when there is a group.
    BOOL IsVisible(DWORD skip = 0) const override;
    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    // Copying between bars of different ribbons finds the group by the control's id in the target ribbon.
    void Copy(const COSMControl* source, BOOL recursive) override;
    BOOL OnSetPopup(BOOL popup) override;
    COSMControl* Clone(BOOL recursive) const override;

    COSMRibbonGroup* GetGroup() const { return m_group; }
    void SetGroup(COSMRibbonGroup* group);

    // The ribbon bar a control's parent bar belongs to: the bar itself, or the ribbon its popup came from.
    static COSMRibbonBar* GetRibbonBarOf(const COSMCommandBar* bar);
    // The painter of the ribbon the button is shown in (its parent bar's, else its group's); it draws and measures
    // the button.
    COSMRibbonPaintManager* GetRibbonPainter() const;

protected:
    // Its popup is made at each opening.
    BOOL MakesBarOnOpening() const override { return TRUE; }

private:
    friend class COSMRibbonGroup;
    // The group the button stands for from now on; the group knows its buttons, and a group that goes leaves them
    // standing for none.
    void ReferTo(COSMRibbonGroup* group);

    COSMRibbonGroup* m_group = nullptr;
};

class COSMRibbonGroup : public CCmdTarget
{
    DECLARE_SERIAL(COSMRibbonGroup)

public:
    // The hide flags the groups use on their controls: the option button is off (1), the group is reduced (2).
    static constexpr DWORD kHideOption = 0x01;
    static constexpr DWORD kHideReduced = 0x02;
    // Pixels between two groups.
    static constexpr int kGroupSpacing = 7;

    COSMRibbonGroup();
    ~COSMRibbonGroup() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Stores the rectangle and places the popup and option buttons for it.
    virtual void SetRect(const CRect& rect);
    // The source's settings and clones of its controls and buttons, into this group's parent bar.
    virtual void Copy(const COSMRibbonGroup* source);
    virtual void Draw(CDC* dc, CRect clip);
    // "Id", "IconId", "ShowOptionButton", "Caption", "ControlsGrouping", "ControlsCentering", "Visible", the
    // "Controls" section and the two buttons' sections.
    virtual void DoPropExchange(COSMPropExchange* px);
    // The visible controls side by side at their measured sizes under the caption's height.
    virtual void ArrangeInRow(CDC* dc);
    // The two buttons join (OnGroupAdded) or leave (OnGroupRemoved, with the controls) the parent bar.
    virtual void OnGroupAdded();
    virtual void OnGroupRemoved();
    // The caption's width in the ribbon painter's font (and room for the option button).
    virtual int GetMinimumWidth(CDC* dc);
    // One layout pass (RibbonGroupLayout.cpp): records, width, one reduction or extension step, placement, and the
    // results written back to the controls.
    virtual void OnBeforeCalcSize(CDC* dc);
    virtual void OnAfterCalcSize();
    virtual int CalcSize(CDC* dc);
    virtual BOOL ReduceSize(int level, int extra);
    virtual BOOL ExtendSize(int extra);
    virtual void ArrangeAt(int width, int x, int top);
    // A redraw event (id 1, code -2) redraws the ribbon.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

    // ---- Controls ----------------------------------------------------------------------------------------------
    int GetCount() const { return static_cast<int>(m_controls.size()); }
    // Null outside 0..count-1.
    COSMControl* GetAt(int index) const;
    // A new control of the Type (COSMControls::Add) at the index of the group (append when outside 0..count-1).
    COSMControl* Add(int type, int id, LPCSTR parameter = nullptr, int index = -1);
    // A new control of the control's own class, at the index, filled with its Copy.
    COSMControl* AddClone(const COSMControl* control, int index, BOOL recursive);
    // The control's position in the group (0 for the first): how a popup finds its copy of a control. -1 when the
    // control is not of this group.
    int IndexOf(const COSMControl* control) const;
    void Remove(COSMControl* control);
    // Nothing outside 0..count-1.
    void RemoveAt(int index);
    void RemoveAll();

    // ---- State -------------------------------------------------------------------------------------------------
    const CString& GetCaption() const { return m_caption; }
    void SetCaption(LPCSTR caption) { m_caption = caption ? caption : ""; }
    int GetID() const { return m_id; }
    void SetID(int id) { m_id = id; }
    int GetIconId() const { return m_iconId; }
    void SetIconId(int id) { m_iconId = id; }
    int GetIndex() const { return m_index; }
    void SetIndex(int index) { m_index = index; }
    COSMRibbonGroups* GetGroups() const { return m_groups; }
    void SetGroups(COSMRibbonGroups* groups) { m_groups = groups; }
    // The tab of the owning collection, and that tab's ribbon bar.
    COSMRibbonTab* GetRibbonTab() const;
    COSMRibbonBar* GetRibbonBar() const;
    // The bar whose controls hold the group's: the ribbon, or the popup that shows a copy.
    COSMCommandBar* GetParentBar() const { return m_parentBar; }
    void SetParentBar(COSMCommandBar* bar) { m_parentBar = bar; }
    void SetRibbonBar(COSMRibbonBar* bar) { m_ribbonBar = bar; }
    BOOL IsVisible() const { return m_visible; }
    void SetVisible(BOOL visible) { m_visible = visible; }
    // On the ribbon: visible and on the selected tab. A copy in a popup: visible.
    BOOL IsGroupVisible() const;
    // The groups scroller of the parent bar has this group hot.
    BOOL IsHotGroup() const;
    CRect GetRect() const { return m_rect; }
    CRect GetCaptionRect() const;
    BOOL IsReduced() const { return m_reduced; }
    BOOL IsControlsGrouping() const { return m_controlsGrouping; }
    void SetControlsGrouping(BOOL grouping) { m_controlsGrouping = grouping; }
    BOOL IsControlsCentering() const { return m_controlsCentering; }
    void SetControlsCentering(BOOL centering) { m_controlsCentering = centering; }
    BOOL IsShowOptionButton() const { return m_showOptionButton; }
    void SetShowOptionButton(BOOL show) { m_showOptionButton = show; }
    // FALSE while reduced.
    BOOL IsOptionButtonVisible() const { return !m_reduced && m_showOptionButton; }
    // Reduction levels below the limit may run (4: all of them).
    int GetReduceLimit() const { return m_reduceLimit; }
    void SetReduceLimit(int limit) { m_reduceLimit = limit; }
    int GetGroupingRows() const { return m_groupingRows; }
    COSMRibbonGroupOption* GetOptionButton() const { return m_optionButton.Get(); }
    COSMRibbonGroupControlPopup* GetPopupButton() const { return m_popupButton.Get(); }
    // A keyboard tip reached a control hidden only because the group is reduced: the group's popup opens (brought
    // into view first) and the control at the same place there runs. FALSE, doing nothing, for any other control.
    BOOL ActivateThroughPopup(COSMControl* control);
    // The records of the pass that runs; null outside one.
    COSMRibbonGroupLayoutInfo* GetLayoutInfo() const { return m_layout.get(); }

private:
    friend class COSMRibbonGroups;
    friend class COSMRibbonGroupControlPopup;
    // Joins a made control (the caller's reference passes to the bar's controls) at the group's index.
    COSMControl* InsertControl(COSMControl* control, int index);
    COSMControls* GetParentControls() const;
    // The layout's metrics: the ribbon's groups height, the group caption's height, and the rows of buttons the
    // groups height holds.
    int GetGroupsHeight() const;
    int GetGroupCaptionHeight() const;
    int GetRows() const;
    BOOL ReduceRuns(int level, int rows);

    BOOL m_controlsCentering = FALSE;
    BOOL m_controlsGrouping = FALSE;
    CString m_caption;
    int m_index = -1;
    COSMRibbonGroups* m_groups = nullptr;
    CRect m_rect;
    // Each control is referenced by the group and, while it stands there, by the parent bar's controls.
    std::vector<RefPtr<COSMControl>> m_controls;
    COSMCommandBar* m_parentBar = nullptr;
    COSMRibbonBar* m_ribbonBar = nullptr;
    int m_id = -1;
    int m_iconId = -1;
    // Every popup button that stands for the group: its own and copies elsewhere (a quick-access copy). Made before
    // the group's own button, which joins it as it is made.
    std::vector<COSMRibbonGroupControlPopup*> m_standIns;
    RefPtr<COSMRibbonGroupOption> m_optionButton;
    RefPtr<COSMRibbonGroupControlPopup> m_popupButton;
    BOOL m_reduced = FALSE;
    BOOL m_showOptionButton = FALSE;
    BOOL m_visible = TRUE;
    int m_reduceLimit = 4;
    int m_groupingRows = 2;
    std::unique_ptr<COSMRibbonGroupLayoutInfo> m_layout;
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
        return index >= 0 && index < GetCount() ? m_groups[static_cast<size_t>(index)].Get() : nullptr;
    }
    // Takes over the caller's reference: the group joins the tab's bars, is numbered and adds its buttons.
    COSMRibbonGroup* InsertAt(int index, COSMRibbonGroup* group);
    // A new group at the end.
    COSMRibbonGroup* Add(LPCSTR caption, int id);
    void RemoveAll();
    // Groups of the source's classes, each copying its source.
    void Copy(const COSMRibbonGroups* source);
    // The first visible group whose rectangle holds the point; null when none.
    COSMRibbonGroup* HitTest(CPoint point) const;
    // Lays the groups out in the width, inside the margins (left, top, right, bottom) (RibbonGroupLayout.cpp).
    void RepositionGroups(CDC* dc, int width, DWORD mode, CRect margins);
    // The offset the last layout pass applied.
    int GetScrollPos() const { return m_scrollPos; }
    // "Group" items, each of class COSMRibbonGroup or derived, with its keys.
    void DoPropExchange(COSMPropExchange* px);

private:
    // Reduces (too wide) or extends (room to spare) the groups one step at a time; widths holds the visible groups'
    // widths, 0 for the others.
    void ReduceGroups(CDC* dc, std::vector<int>& widths, int available);
    void RenumberGroups();

    COSMRibbonTab* m_tab;
    std::vector<RefPtr<COSMRibbonGroup>> m_groups;
    int m_scrollPos = 0;
};
