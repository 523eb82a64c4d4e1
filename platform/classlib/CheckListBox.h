// CCheckListBox: an owner-drawn list box with a check box in front of every item. The check state lives beside
// the item data, which stays the caller's:
//
//   CCheckListBox m_bars;                     // DDX_Control on a list with LBS_OWNERDRAWFIXED | LBS_HASSTRINGS
//   int item = m_bars.AddString("Standard");
//   m_bars.SetItemData(item, barIndex);
//   m_bars.SetCheck(item, BST_CHECKED);
//
// A click on an item's box, or Space on the selected item, toggles the check and sends the parent WM_COMMAND with
// CLBN_CHKCHANGE. Derived classes draw the box their own way in PreDrawItem and the text in DrawItem.
#pragma once

#include "classlib/Controls.h"

#include <vector>

// The parent hears this notification code when the user changed an item's check.
#ifndef CLBN_CHKCHANGE
#define CLBN_CHKCHANGE 40
#endif

class CCheckListBox : public CListBox
{
    DECLARE_DYNAMIC(CCheckListBox)

public:
    CCheckListBox() = default;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Draws the item's check box and then, with the item's left edge moved past it, DrawItem.
    virtual void PreDrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    // The item's text: grey when the item or the list is disabled, highlighted when selected, a focus frame.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // Variable-height lists: at least the minimum item height.
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    // Where the check box of the item goes; the base leaves the proposed place.
    virtual CRect OnGetCheckPosition(CRect rectItem, CRect rectCheckBox);

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE; nothing for an index outside the list.
    void SetCheck(int nIndex, int nCheck);
    int GetCheck(int nIndex) const;
    // A disabled item keeps its check against clicks and Space.
    void Enable(int nIndex, BOOL bEnabled = TRUE);
    BOOL IsEnabled(int nIndex) const;
    // The smallest item height that shows the text and the box: the larger of the font's height and the box
    // height + 2.
    int CalcMinimumItemHeight();
    CSize GetCheckBoxSize() const { return m_checkSize; }
    // The box of the item in client coordinates (OnGetCheckPosition applied); empty outside the list.
    CRect GetCheckBoxRect(int nIndex);

protected:
    // ---- For the library's own use -----------------------------------------------------------------------------
    // A fixed-height list gets the minimum item height.
    void PreSubclassWindow() override;
    // WM_DRAWITEM goes to PreDrawItem.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // Keeps the check states in step with the items, and toggles them on clicks and Space.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The box's proposed place in an item rectangle: left + 1, centred vertically (never above the top) + 1.
    CRect ProposedCheckBoxRect(const CRect& item) const;
    // Toggles the item's check (when it is enabled) and tells the parent.
    void ToggleCheck(int nIndex);

    CSize m_checkSize = CSize(13, 13);

private:
    struct ItemState
    {
        int check = BST_UNCHECKED;
        BOOL enabled = TRUE;
    };
    std::vector<ItemState> m_states;
};
