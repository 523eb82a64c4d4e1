// The drop-down of a combo box. COSMControlComboBoxPopupBar is the abstract drop-down: the list operations the combo
// box calls, answering "nothing there", and the keys it routes to the combo box while it is open. The drop-down
// that holds a real list is COSMControlComboBoxList: its popup window is a platform list box ("LISTBOX"), sized from
// the item count and the combo's DropDownItemCount, painted through a buffer inside the theme's border, hot-tracked
// by the mouse, optionally owner-drawn by the combo box, and stored with its items:
//
//   COSMControlComboBoxList* list = combo->GetComboBoxList();
//   list->AddString("About");           // LB_ADDSTRING on the list box
//   combo->SetCurSel(0);                // the combo's text follows
#pragma once

#include "classlib/CString.h"
#include "classlib/Object.h"
#include "framework/commandbars/PopupBar.h"

class COSMControlComboBox;

class COSMControlComboBoxPopupBar : public COSMPopupBar
{
    DECLARE_SERIAL(COSMControlComboBoxPopupBar)

public:
    COSMControlComboBoxPopupBar();

    // ---- Override these ----------------------------------------------------------------------------------------
    virtual int GetCurSel() const { return -1; }
    virtual int FindString(int start, LPCSTR text) const { return -1; }
    virtual int FindStringExact(int start, LPCSTR text) const { return -1; }
    virtual int SetTopIndex(int index) { return -1; }
    virtual void SetCurSel(int index) {}
    virtual void GetText(int index, CString& text) const { text.Empty(); }
    // A key of the combo box while its drop-down is open: for a combo with an edit window only Up, Down, Page Up and
    // Page Down without Alt are taken; without one everything but F4 and Alt with Up or Down. A taken key moves the
    // selection (the combo hears the change); 1 when taken, else 0.
    virtual int ProcessHookKeyDown(COSMControlComboBox* combo, UINT key, LPARAM lParam);

    // With an opening combo box: Escape is the focused combo's, Tab the bar's; other keys go to ProcessHookKeyDown.
    int OnHookKeyDown(UINT key, LPARAM lParam) override;
    COSMCommandBar* Clone(BOOL recursive) const override;

    // The combo box that opened the drop-down; null while it is closed.
    COSMControlComboBox* GetComboBox() const;

protected:
    // The handling of a taken key: the drop-down's own key navigation here, the list box in the list.
    virtual void DeliverListKey(COSMControlComboBox* combo, UINT key, LPARAM lParam);
};

class COSMControlComboBoxList : public COSMControlComboBoxPopupBar
{
    DECLARE_SERIAL(COSMControlComboBoxList)

public:
    // The list box's rows are this much taller than an icon of ListIconId, and the open list this much taller than
    // its rows.
    static constexpr int kIconRowPadding = 4;
    static constexpr int kListFrame = 4;
    // The paint manager's colour of the list's outer frame.
    static constexpr int kFrameColorIndex = 43;

    COSMControlComboBoxList();

    // ---- Override these ----------------------------------------------------------------------------------------
    // Creates the list box window: an owner-drawn one first as a child of the site (so that it reports its items to
    // the site), then turned into a popup owned by the site; any other as a popup from the start.
    virtual BOOL CreateListBox();
    virtual void OnDrawItem(LPDRAWITEMSTRUCT drawItem);
    virtual void OnMeasureItem(LPMEASUREITEMSTRUCT measureItem);

    int GetCurSel() const override;
    int FindString(int start, LPCSTR text) const override;
    int FindStringExact(int start, LPCSTR text) const override;
    int SetTopIndex(int index) override;
    void SetCurSel(int index) override;
    void GetText(int index, CString& text) const override;

    // Entering: the mouse manager's lock, the combo's selection follows its text, the site hears 7. Leaving: the
    // site hears 8, the lock goes back, the list hides and forgets its combo box.
    BOOL SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard) override;
    // Opens the list under the combo box: 10331 to the site first, then tracking, the placement, the size from the
    // rows (at most DropDownItemCount, at least one) and the MRU width or the combo's width.
    BOOL Popup(COSMControlPopup* control, BOOL keyboard) override;
    BOOL IsCustomizable() const override { return FALSE; }
    // The popup bar's keys, "ListIconId" above schema 23, and the items in section "Items".
    void DoPropExchange(COSMPropExchange* px) override;
    // The window background, then the list box's own items.
    void DrawCommandBar(CDC* dc, CRect clip) override;
    // In an editable combo's composition every key goes to the list; Enter accepts the selection.
    int OnHookKeyDown(UINT key, LPARAM lParam) override;
    // The wheel scrolls the list box while the list tracks; the rest is the bar's.
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    void Copy(const COSMCommandBar* source, BOOL recursive) override;
    COSMCommandBar* Clone(BOOL recursive) const override;
    // The list box's notifications to its owner come back here: the combo box draws and measures the items.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // Only the list's own messages reach the bar's handlers; the rest keep the list box's behaviour.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    int AddString(LPCSTR text);
    int InsertString(int index, LPCSTR text);
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    int GetItemHeight() const;
    int GetListIconId() const { return m_listIconId; }
    void SetListIconId(int iconId) { m_listIconId = iconId; }
    // The list box's style word (the bar's "Style"): owner drawing and the other list-box styles come from it.
    DWORD GetListStyle() const { return m_style; }
    void SetListStyle(DWORD style) { m_style = style; }

protected:
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point) {}
    DECLARE_MESSAGE_MAP()

    void DeliverListKey(COSMControlComboBox* combo, UINT key, LPARAM lParam) override;
    LRESULT SendList(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Rows as high as the list icon and its padding, when the image manager has the icon.
    void ApplyIconRowHeight();

    int m_listIconId = -1;
};
