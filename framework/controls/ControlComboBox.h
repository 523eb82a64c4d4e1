// COSMControlComboBox is the combo box of a command bar (Type 5): an optional label, a text area and a drop-down
// button that opens a list (COSMControlComboBoxList) as the control's popup bar. With DropDown set the text area is
// a real child edit window (COSMControlComboBoxEditCtrl) that the user types into, completed from the list when
// AutoComplete is on; without it the control draws the selected item's text itself (DrawComboText). The selection
// is kept in step with the list; the keys and the wheel work while the list is closed:
//
//   COSMControlComboBox* combo = static_cast<COSMControlComboBox*>(bar->GetControls()->Add(5, ID_ZOOM));
//   combo->GetComboBoxList()->AddString("100%");
//   combo->SetDropDown(TRUE);              // an editable combo
//   combo->SetCurSel(0);                   // the text follows, the site hears 1
//
// The site hears the standard combo-box codes: 1 selection changed, 3 and 4 focus gained and lost, 5 text typed,
// 7 and 8 list opened and closed, 9 selection accepted, 10 selection cancelled. The paint manager's measuring pass
// stores the label width and the button width here; a change of either forces the next placement.
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/controls/HostedEditCtrl.h"
#include "framework/controls/ControlComboBoxList.h"

#include <richedit.h>

class COSMControlComboBox;

// The edit window of an editable combo box: a right press and the shell's auto-suggest list close the combo's own
// list; the rest lives in COSMHostedEditCtrl.
class COSMControlComboBoxEditCtrl : public COSMHostedEditCtrl
{
    DECLARE_DYNCREATE(COSMControlComboBoxEditCtrl)

public:
    COSMControlComboBoxEditCtrl() = default;

    COSMControlComboBox* GetComboBox() const;
    void SetComboBox(COSMControlComboBox* control);

protected:
    void OnContextPress() override;

    afx_msg LRESULT OnAutoSuggestShown(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class COSMControlComboBox : public COSMControlPopup, public COSMHostedEditOwner
{
    DECLARE_SERIAL(COSMControlComboBox)
    friend class COSMControlComboBoxEditCtrl;
    friend class COSMControlComboBoxPopupBar;
    friend class COSMControlComboBoxList;

public:
    // The site notifications (the standard combo-box codes).
    static constexpr UINT kNotifySelChange = 1;
    static constexpr UINT kNotifySetFocus = 3;
    static constexpr UINT kNotifyKillFocus = 4;
    static constexpr UINT kNotifyEditChange = 5;
    static constexpr UINT kNotifyDropDown = 7;
    static constexpr UINT kNotifyCloseUp = 8;
    static constexpr UINT kNotifySelEndOk = 9;
    static constexpr UINT kNotifySelEndCancel = 10;
    // The selection state over the drop-down button.
    static constexpr int kSelectedDropDown = 5;

    // The manager is handed to the list bar the constructor makes.
    explicit COSMControlComboBox(COSMCommandBars* commandBars = nullptr);
    ~COSMControlComboBox() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    virtual CString GetListText();
    // The text part without an edit window, drawn by the paint manager: the focused fill, the edit icon, then the
    // selected item's text (or the hint of an empty, unfocused combo).
    virtual void DrawComboText(CDC* dc, CRect rect);
    virtual CString GetSelectedText();
    // A typed change: completion from the list, the selection following the text, code 5.
    void OnEditChanged() override;
    // The display text becomes the selected item's; the site hears 1.
    virtual void OnSelChanged();
    virtual COSMControlComboBoxEditCtrl* CreateEditWindow();
    void OnEditSetFocus(HWND oldFocus) override;
    void OnEditKillFocus() override;
    virtual void AdjustEditRect(CRect& rect);
    // An owner-drawn list item: the state rectangle when selected, the list icon, the text.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT measureItem) {}

    void SetEnabled(int enabled) override;
    void SetFocused(BOOL focused) override;
    BOOL IsFocused() const override { return m_focused; }
    void SetRect(const CRect& rect) override;
    BOOL IsCaptionVisible() const override;
    BOOL Compare(const COSMControl* other) const override;
    void SetHideFlags(DWORD hideFlags) override;
    void OnExecute() override;
    void BuildDynamicItems(DWORD layoutMode) override;
    void DoPropExchange(COSMPropExchange* px) override;
    void OnMnemonicActivate() override;
    void ForceRepositioning() override { m_placementForced = TRUE; }
    void Copy(const COSMControl* source, BOOL recursive) override;
    void OnClick(BOOL keyboard, CPoint point) override;
    BOOL IsFocusable() const override { return TRUE; }
    // 0 the bar handles the key, 1 handled here, 2 the key goes on to the edit window.
    int OnHookKeyDown(UINT key, LPARAM lParam) override;
    BOOL OnHookMouseWheel(UINT flags, short delta, CPoint point) override;
    void SetParent(COSMCommandBar* parent) override;
    BOOL OnSetPopup(BOOL popup) override;
    void OnMouseMove(CPoint point) override;
    // Hovering never opens the list.
    void OnMouseHover() override {}
    BOOL SetSelected(int selected) override;
    BOOL IsCustomizeResizeAllowed() const override { return TRUE; }
    int GetCustomizeMinWidth() const override { return m_labelWidth + m_dropDownButtonWidth + 5; }
    void OnRemoved() override;
    void OnActionChanged(int property) override;
    void OnActionChanging(int property) override;
    COSMControl* Clone(BOOL recursive) const override;
    // Keeps both widths when measured as a combo box.
    void OnLabelMeasured(int labelWidth, int dropDownWidth) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // TRUE creates the edit window (the combo becomes editable), FALSE deletes it.
    void SetDropDown(BOOL dropDown);
    BOOL GetDropDown() const { return m_dropDown; }
    // The owned bar when it is a combo-box drop-down, the list when it is a list.
    COSMControlComboBoxPopupBar* GetComboBoxPopupBar() const;
    COSMControlComboBoxList* GetComboBoxList() const;
    int GetCurSel() const;
    // Nothing when the list and the stored selection hold it already.
    void SetCurSel(int index);
    // The exact match of the text becomes the selection; without one the list scrolls to the first item that starts
    // with it, and nothing is selected.
    void SyncSelectionToText();
    BOOL GetDroppedState() const { return m_popped; }
    // The edit window, null for a combo without one (the themes ask).
    COSMControlComboBoxEditCtrl* GetEditCtrl() const { return HasEditWindow() ? m_editWindow : nullptr; }
    int GetListIconId() const;
    BOOL GetAutoComplete() const { return m_autoCompleteList; }
    void SetAutoComplete(BOOL autoComplete) { m_autoCompleteList = autoComplete; }
    int GetDropDownItemCount() const { return m_dropDownItemCount; }
    void SetDropDownItemCount(int count) { m_dropDownItemCount = count; }
    long GetComboStyle() const { return m_comboStyle; }
    void SetComboStyle(long style) { StoreForMeasure(m_comboStyle, style); }
    DWORD GetEditStyle() const { return m_editStyle; }
    void SetEditStyle(DWORD style) { m_editStyle = style; }
    int GetEditIconId() const { return m_editIconId; }
    void SetEditIconId(int iconId) { StoreForMeasure(m_editIconId, iconId); }

    BOOL IsPlacementForced() const { return m_placementForced; }
    void SetPlacementForced(BOOL forced) { m_placementForced = forced; }
    // The label's width and the drop-down button's width in pixels, written by the paint manager.
    int GetLabelWidth() const { return m_labelWidth; }
    void SetLabelWidth(int width) { m_labelWidth = width; }
    int GetDropDownButtonWidth() const { return m_dropDownButtonWidth; }
    void SetDropDownButtonWidth(int width) { m_dropDownButtonWidth = width; }

protected:
    COSMHostedEditCtrl* GetHostedWindow() const override { return m_editWindow; }
    void DeleteEditWindow();
    // The list's open bar stops tracking (the list closes).
    void StopListTracking();

    COSMControlComboBoxEditCtrl* m_editWindow = nullptr;
    BOOL m_dropDown = FALSE;
    long m_comboStyle = 0;
    int m_savedSelection = -1;
    BOOL m_placementForced = FALSE;
    int m_labelWidth = 0;
    int m_dropDownButtonWidth = 0;
    BOOL m_autoCompleteList = FALSE;
    BOOL m_completionSuppressed = FALSE;
    BOOL m_focused = FALSE;
    int m_editIconId = 0;
    BOOL m_selectionAccepted = FALSE;
    int m_dropDownItemCount = 12;
    DWORD m_editStyle = 0;
    int m_curSel = -1;
    BOOL m_selectionChanging = FALSE;
};
