// COSMCustomizeCommandsPage: the customize sheet's page of commands by category. The left list names the
// categories, the right one shows the selected category's controls drawn as menu items; pressing the mouse on a
// command drags a copy of it onto any customizable bar:
//
//   sheet->GetCommandsPage()->AddCategories(&menu);          // one category per top-level popup of the menu
//   sheet->GetCommandsPage()->AddCategory("Tools", tools);   // or a collection of the application's own
//
// Categories are added before the sheet's window is made; the page only reads them.
#pragma once

#include "classlib/CString.h"
#include "classlib/Controls.h"
#include "classlib/PropertySheet.h"
#include "classlib/RefPtr.h"

#include <memory>
#include <vector>

class CMenu;
class COSMCommandBars;
class COSMControls;
class COSMCustomizeSheet;

// The commands of one category: an owner-drawn list (fixed items, no strings) whose items are controls.
class COSMCustomizeCommandsListBox : public CListBox
{
public:
    // The whole item through the paint manager, as the list-box entry of a menu.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void SetCommandBars(COSMCommandBars* commandBars) { m_commandBars = commandBars; }
    COSMCommandBars* GetCommandBars() const { return m_commandBars; }
    void EnableDrag(BOOL enable) { m_dragEnabled = enable; }
    BOOL IsDragEnabled() const { return m_dragEnabled; }

protected:
    // Painting into a buffer over the paint manager's background; the button-down starts the drag.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // TRUE when a drag ran (the press is then the drag's, not the list's).
    BOOL OnLButtonDown(UINT flags, CPoint point);

private:
    COSMCommandBars* m_commandBars = nullptr;
    BOOL m_dragEnabled = FALSE;
};

class COSMCustomizeCommandsPage : public CPropertyPage
{
    DECLARE_DYNCREATE(COSMCustomizeCommandsPage)

public:
    // One category: its name and its controls (a reference held).
    struct Category
    {
        Category(const CString& categoryName, COSMControls* categoryControls);
        ~Category();
        Category(const Category&) = delete;
        Category& operator=(const Category&) = delete;

        CString name;
        RefPtr<COSMControls> controls;
    };

    // The page a create function makes has no sheet: its lists stay empty and nothing drags.
    explicit COSMCustomizeCommandsPage(COSMCustomizeSheet* sheet = nullptr);
    ~COSMCustomizeCommandsPage() override;

    // Appends a category; the page takes a reference on the controls.
    void AddCategory(const CString& name, COSMControls* controls);
    // One category per top-level popup of the menu, named by its caption without '&', with the popup's items
    // converted into controls.
    void AddCategories(CMenu* menu);
    // Null for an index outside the categories.
    Category* GetCategory(int index) const;
    int GetCategoryCount() const { return static_cast<int>(m_categories.size()); }

    CListBox& GetCategoriesList() { return m_categoriesList; }
    COSMCustomizeCommandsListBox& GetCommandsList() { return m_commandsList; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnCategorySelChange();
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    COSMCommandBars* GetCommandBars() const;

    COSMCustomizeCommandsListBox m_commandsList;
    CListBox m_categoriesList;
    COSMCustomizeSheet* m_sheet;
    std::vector<std::unique_ptr<Category>> m_categories;
    // The mouse manager the page joined as a safe window.
    COSMCommandBars* m_safeWindowOf = nullptr;
};
