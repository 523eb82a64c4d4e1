// COSMCustomizeToolbarsPage: the customize sheet's page of toolbars. Each listed bar has a check box: checking shows
// it, unchecking hides it (the menu bar cannot be hidden: its check comes back with a beep). New, Rename and Delete
// work on toolbars the user made; Reset puts a toolbar the application defined back to its own buttons.
//
// COSMCustomizeCheckListBox is its list: a check list box whose boxes follow the visual style of check boxes.
#pragma once

#include "classlib/CheckListBox.h"
#include "classlib/PropertySheet.h"
#include "framework/foundation/VisualStyleWrapper.h"

class COSMCommandBar;
class COSMCommandBars;
class COSMCustomizeSheet;

class COSMCustomizeCheckListBox : public CCheckListBox
{
public:
    // Opens the "BUTTON" theme; the box is the theme's check box size, 13 x 13 without one.
    COSMCustomizeCheckListBox();

    // The box drawn with the theme (or as a classic check box), then the text beside it.
    void PreDrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // The item height: the larger of the box height + 3 and the minimum item height.
    int GetCustomizeItemHeight();

protected:
    void PreSubclassWindow() override;
    // WM_SETFONT: the item height follows the font.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Owner-drawn fixed lists with strings get the customize item height.
    void ApplyItemHeight();

    COSMVisualStyleWrapper m_theme;
};

class COSMCustomizeToolbarsPage : public CPropertyPage
{
    DECLARE_DYNCREATE(COSMCustomizeToolbarsPage)

public:
    // The page a create function makes has no sheet: its list stays empty and its buttons do nothing.
    explicit COSMCustomizeToolbarsPage(COSMCustomizeSheet* sheet = nullptr);

    // Lists every listed bar that can be closed or is visible; keeps the selection and the scroll position.
    void RefreshList();
    // Reset for a selected built-in toolbar, Rename and Delete for a toolbar the user made; New always.
    afx_msg void EnableButtons();

    COSMCustomizeCheckListBox& GetList() { return m_list; }
    COSMCustomizeSheet* GetCustomizeSheet() const { return m_sheet; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnCheckChange();
    afx_msg void OnNew();
    afx_msg void OnRename();
    afx_msg void OnDelete();
    afx_msg void OnReset();

    DECLARE_MESSAGE_MAP()

private:
    COSMCommandBars* GetCommandBars() const;
    // The bar of the selected item; null without a selection.
    COSMCommandBar* GetSelectedBar() const;
    // The selected bar is a toolbar the application defined.
    static BOOL IsBuiltIn(const COSMCommandBar* bar);
    // The sheet's question about the bar (%s its title); IDCANCEL without a sheet.
    int AskAbout(UINT questionId, const COSMCommandBar* bar);
    void SendToSite(UINT message, COSMCommandBar* bar);

    COSMCustomizeSheet* m_sheet;
    COSMCustomizeCheckListBox m_list;
    CButton m_reset;
    CButton m_rename;
    CButton m_delete;
    CButton m_new;
};
