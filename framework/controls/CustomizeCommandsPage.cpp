#include "framework/controls/CustomizeCommandsPage.h"

#include "classlib/DC.h"
#include "classlib/DataExchange.h"
#include "classlib/Menu.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/commandbars/CustomizeResourceIds.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/CustomizeSheet.h"
#include "framework/foundation/BufferDC.h"

#include <windowsx.h>

// ---- The commands list ----

void COSMCustomizeCommandsListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    auto* control = reinterpret_cast<COSMControl*>(lpDrawItemStruct->itemData);
    if (!control || static_cast<int>(lpDrawItemStruct->itemID) < 0 || !m_commandBars)
        return;
    CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
    m_commandBars->GetPaintManager()->DrawListBoxControl(dc, control, CRect(lpDrawItemStruct->rcItem),
                                                         (lpDrawItemStruct->itemState & ODS_SELECTED) != 0, TRUE,
                                                         m_commandBars);
}

LRESULT COSMCustomizeCommandsListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT:
    {
        if (!m_commandBars || wParam)
            break;
        CPaintDC paint(this);
        CRect client;
        GetClientRect(client);
        {
            COSMBufferDC buffer(paint.GetSafeHdc(), client);
            m_commandBars->GetPaintManager()->DrawListBoxControl(&buffer, nullptr, client, FALSE, TRUE, m_commandBars);
            CListBox::WindowProc(WM_PAINT, reinterpret_cast<WPARAM>(buffer.GetSafeHdc()), 0);
        }
        return 0;
    }
    case WM_ERASEBKGND:
    {
        if (!m_commandBars)
            break;
        CRect client;
        GetClientRect(client);
        m_commandBars->GetPaintManager()->DrawListBoxControl(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), nullptr,
                                                             client, FALSE, TRUE, m_commandBars);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        if (!m_commandBars)
            return 0;  // a page without bars: the list does not even select
        if (OnLButtonDown(static_cast<UINT>(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
            return 0;
        break;
    default:
        break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}

BOOL COSMCustomizeCommandsListBox::OnLButtonDown(UINT, CPoint point)
{
    m_commandBars->SetCustomizeSelection(nullptr);
    BOOL outside = TRUE;
    const int index = static_cast<int>(ItemFromPoint(point, outside));
    if (outside || !m_dragEnabled || SetCurSel(index) == LB_ERR)
        return FALSE;
    auto* control = reinterpret_cast<COSMControl*>(GetItemData(index));
    if (!control)
        return FALSE;

    // LB_SETCURSEL says nothing to the owner: tell it as a click would have.
    SetFocus();
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!owner)
        owner = ::GetParent(m_hWnd);
    ::PostMessageA(owner, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(m_hWnd));

    // Every drop inserts a copy and the category keeps its control, whatever the answer says.
    COSMCustomizeDropSource* dropSource = m_commandBars->GetDropSource();
    COSMCommandBar* ownBar = control->GetCommandBar();
    if (ownBar && ownBar->GetControlCount() == 0)
    {
        // An empty popup of a menu fills itself when it opens: a deep copy brings along what it holds now.
        RefPtr<COSMControl> clone = AdoptRef(control->Clone(TRUE));
        if (clone)
            dropSource->DoDrag(clone.Get(), TRUE);
    }
    else
    {
        dropSource->DoDrag(control, TRUE);
    }
    return TRUE;
}

// ---- The page ----

IMPLEMENT_DYNCREATE(COSMCustomizeCommandsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(COSMCustomizeCommandsPage, CPropertyPage)
    ON_LBN_SELCHANGE(IDC_OSM_CUSTOMIZE_CATEGORIES, OnCategorySelChange)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

COSMCustomizeCommandsPage::Category::Category(const CString& categoryName, COSMControls* categoryControls)
    : name(categoryName), controls(RetainRef(categoryControls))
{}

COSMCustomizeCommandsPage::Category::~Category() = default;

COSMCustomizeCommandsPage::COSMCustomizeCommandsPage(COSMCustomizeSheet* sheet)
    : CPropertyPage(IDD_OSM_CUSTOMIZE_COMMANDS), m_sheet(sheet)
{}

COSMCustomizeCommandsPage::~COSMCustomizeCommandsPage() = default;

COSMCommandBars* COSMCustomizeCommandsPage::GetCommandBars() const
{
    return m_sheet ? m_sheet->GetCommandBars() : nullptr;
}

void COSMCustomizeCommandsPage::AddCategory(const CString& name, COSMControls* controls)
{
    m_categories.push_back(std::make_unique<Category>(name, controls));
}

void COSMCustomizeCommandsPage::AddCategories(CMenu* menu)
{
    if (!menu || !menu->GetSafeHmenu())
        return;
    COSMCommandBars* commandBars = GetCommandBars();
    const int count = static_cast<int>(menu->GetMenuItemCount());
    for (int i = 0; i < count; ++i)
    {
        CMenu* popup = menu->GetSubMenu(i);
        if (!popup)
            continue;
        CString name;
        menu->GetMenuString(static_cast<UINT>(i), name, MF_BYPOSITION);
        name.Remove('&');
        RefPtr<COSMControls> controls = AdoptRef(new COSMControls);
        controls->SetCommandBars(commandBars);
        const int items = static_cast<int>(popup->GetMenuItemCount());
        for (int item = 0; item < items; ++item)
            controls->AddMenuItem(popup, item);
        AddCategory(name, controls.Get());
    }
}

COSMCustomizeCommandsPage::Category* COSMCustomizeCommandsPage::GetCategory(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_categories.size()))
        return nullptr;
    return m_categories[static_cast<size_t>(index)].get();
}

void COSMCustomizeCommandsPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OSM_CUSTOMIZE_COMMANDS, m_commandsList);
    DDX_Control(pDX, IDC_OSM_CUSTOMIZE_CATEGORIES, m_categoriesList);
}

BOOL COSMCustomizeCommandsPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    COSMCommandBars* commandBars = GetCommandBars();
    if (commandBars)
    {
        for (size_t i = 0; i < m_categories.size(); ++i)
        {
            const int item = m_categoriesList.AddString(m_categories[i]->name);
            m_categoriesList.SetItemData(item, static_cast<DWORD_PTR>(i));
        }
        if (!m_categories.empty())
            m_categoriesList.SetCurSel(0);

        const CSize item =
            commandBars->GetPaintManager()->DrawListBoxControl(nullptr, nullptr, CRect(), FALSE, FALSE, commandBars);
        m_commandsList.SetItemHeight(-1, static_cast<UINT>(item.cy));
        m_commandsList.SetCommandBars(commandBars);
        m_commandsList.EnableDrag(TRUE);
        if (commandBars->IsLayoutRTL())
        {
            m_commandsList.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
            m_categoriesList.ModifyStyleEx(0, WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR);
        }
        commandBars->GetMouseManager()->AddSafeWindow(m_hWnd);
        m_safeWindowOf = commandBars;
    }
    OnCategorySelChange();
    return FALSE;
}

void COSMCustomizeCommandsPage::OnDestroy()
{
    if (m_safeWindowOf)
    {
        m_safeWindowOf->GetMouseManager()->RemoveSafeWindow(m_hWnd);
        m_safeWindowOf = nullptr;
    }
    Default();
}

void COSMCustomizeCommandsPage::OnCategorySelChange()
{
    m_commandsList.ResetContent();
    const int selected = m_categoriesList.GetCurSel();
    if (selected == LB_ERR)
        return;
    const Category* category = GetCategory(static_cast<int>(m_categoriesList.GetItemData(selected)));
    if (!category || !category->controls)
        return;
    for (int i = 0; i < category->controls->GetCount(); ++i)
        m_commandsList.InsertString(m_commandsList.GetCount(), reinterpret_cast<LPCSTR>(category->controls->GetAt(i)));
}
