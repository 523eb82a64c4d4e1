#include "framework/controls/CustomizeToolbarsPage.h"

#include "classlib/DataExchange.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/CustomizeResourceIds.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/commandbars/ToolbarNameDlg.h"
#include "framework/controls/CustomizeSheet.h"
#include "framework/foundation/ResourceManager.h"

#include <algorithm>

namespace {

// Site messages about the user's own toolbars (lParam the bar): one was made, one is about to go.
constexpr UINT kMessageToolbarCreated = 0x2865;
constexpr UINT kMessageToolbarDeleting = 0x2866;
// The check box part of the "BUTTON" theme class and its states.
constexpr int kCheckBoxPart = 3;
constexpr int kCheckBoxUnchecked = 1;
constexpr int kCheckBoxChecked = 5;
constexpr DWORD kOwnerDrawWithStrings = LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;

}  // namespace

// ---- The check list ----

COSMCustomizeCheckListBox::COSMCustomizeCheckListBox()
{
    SIZE size{};
    if (m_theme.OpenThemeData(nullptr, L"BUTTON") && m_theme.IsAppThemeReady() &&
        SUCCEEDED(m_theme.GetThemePartSize(nullptr, kCheckBoxPart, 0, nullptr, TS_TRUE, &size)) && size.cy > 0)
    {
        m_checkSize = CSize(size.cx, size.cy);
        return;
    }
    m_checkSize = CSize(13, 13);
    m_theme.CloseThemeData();
}

int COSMCustomizeCheckListBox::GetCustomizeItemHeight()
{
    return std::max(static_cast<int>(m_checkSize.cy) + 3, CalcMinimumItemHeight());
}

void COSMCustomizeCheckListBox::ApplyItemHeight()
{
    if ((GetStyle() & kOwnerDrawWithStrings) == kOwnerDrawWithStrings)
        SetItemHeight(0, static_cast<UINT>(GetCustomizeItemHeight()));
}

void COSMCustomizeCheckListBox::PreSubclassWindow()
{
    CCheckListBox::PreSubclassWindow();
    ApplyItemHeight();
}

LRESULT COSMCustomizeCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CCheckListBox::WindowProc(message, wParam, lParam);
    if (message == WM_SETFONT && m_hWnd)
        ApplyItemHeight();
    return result;
}

void COSMCustomizeCheckListBox::PreDrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    DRAWITEMSTRUCT draw = *lpDrawItemStruct;
    const int index = static_cast<int>(draw.itemID);
    if (index < 0 || !(draw.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)))
        return;
    const CRect item(draw.rcItem);
    const CRect box = OnGetCheckPosition(item, ProposedCheckBoxRect(item));
    const BOOL checked = GetCheck(index) == BST_CHECKED;
    if (m_theme.IsOpen())
        m_theme.DrawThemeBackground(draw.hDC, kCheckBoxPart, checked ? kCheckBoxChecked : kCheckBoxUnchecked, box,
                                    nullptr);
    else
        ::DrawFrameControl(draw.hDC, const_cast<CRect*>(&box), DFC_BUTTON,
                           DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0));
    draw.rcItem.left += m_checkSize.cx + 3;
    DrawItem(&draw);
}

void COSMCustomizeCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CCheckListBox::DrawItem(lpDrawItemStruct);
}

// ---- The page ----

IMPLEMENT_DYNCREATE(COSMCustomizeToolbarsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(COSMCustomizeToolbarsPage, CPropertyPage)
    ON_LBN_SELCHANGE(IDC_OSM_CUSTOMIZE_TOOLBAR_LIST, EnableButtons)
    ON_CONTROL(CLBN_CHKCHANGE, IDC_OSM_CUSTOMIZE_TOOLBAR_LIST, OnCheckChange)
    ON_BN_CLICKED(IDC_OSM_CUSTOMIZE_TOOLBAR_NEW, OnNew)
    ON_BN_CLICKED(IDC_OSM_CUSTOMIZE_TOOLBAR_RENAME, OnRename)
    ON_BN_CLICKED(IDC_OSM_CUSTOMIZE_TOOLBAR_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_OSM_CUSTOMIZE_TOOLBAR_RESET, OnReset)
END_MESSAGE_MAP()

COSMCustomizeToolbarsPage::COSMCustomizeToolbarsPage(COSMCustomizeSheet* sheet)
    : CPropertyPage(IDD_OSM_CUSTOMIZE_TOOLBARS), m_sheet(sheet)
{}

COSMCommandBars* COSMCustomizeToolbarsPage::GetCommandBars() const
{
    return m_sheet ? m_sheet->GetCommandBars() : nullptr;
}

void COSMCustomizeToolbarsPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OSM_CUSTOMIZE_TOOLBAR_LIST, m_list);
    DDX_Control(pDX, IDC_OSM_CUSTOMIZE_TOOLBAR_RENAME, m_rename);
    DDX_Control(pDX, IDC_OSM_CUSTOMIZE_TOOLBAR_NEW, m_new);
    DDX_Control(pDX, IDC_OSM_CUSTOMIZE_TOOLBAR_DELETE, m_delete);
    DDX_Control(pDX, IDC_OSM_CUSTOMIZE_TOOLBAR_RESET, m_reset);
}

BOOL COSMCustomizeToolbarsPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    COSMCommandBars* commandBars = GetCommandBars();
    if (commandBars && commandBars->IsLayoutRTL())
        m_list.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    RefreshList();
    return FALSE;
}

COSMCommandBar* COSMCustomizeToolbarsPage::GetSelectedBar() const
{
    COSMCommandBars* commandBars = GetCommandBars();
    const int selected = m_list.GetSafeHwnd() ? m_list.GetCurSel() : LB_ERR;
    if (!commandBars || selected < 0)
        return nullptr;
    return commandBars->GetAt(static_cast<int>(m_list.GetItemData(selected)));
}

BOOL COSMCustomizeToolbarsPage::IsBuiltIn(const COSMCommandBar* bar)
{
    const auto* toolBar = dynamic_cast<const COSMToolBar*>(bar);
    return toolBar && toolBar->IsBuiltIn();
}

void COSMCustomizeToolbarsPage::RefreshList()
{
    if (!m_list.GetSafeHwnd())
        return;
    const int selected = m_list.GetCurSel();
    const DWORD_PTR selectedBar = selected >= 0 ? m_list.GetItemData(selected) : 0;
    const BOOL hadSelection = selected >= 0;
    const int topIndex = m_list.GetTopIndex();
    m_list.ResetContent();

    if (COSMCommandBars* commandBars = GetCommandBars())
    {
        for (int i = 0; i < commandBars->GetCount(); ++i)
        {
            COSMCommandBar* bar = commandBars->GetAt(i);
            if (!bar->IsListed() || (!bar->IsCloseable() && !bar->IsVisible()))
                continue;
            const int item = m_list.AddString(bar->GetTitle());
            if (item < 0)
                continue;
            m_list.SetCheck(item, bar->IsVisible() ? BST_CHECKED : BST_UNCHECKED);
            m_list.SetItemData(item, static_cast<DWORD_PTR>(i));
            if (hadSelection && static_cast<DWORD_PTR>(i) == selectedBar)
                m_list.SetCurSel(item);
        }
    }
    if (m_list.GetTopIndex() != topIndex)
        m_list.SetTopIndex(topIndex);
    EnableButtons();
}

void COSMCustomizeToolbarsPage::EnableButtons()
{
    if (!m_list.GetSafeHwnd())
        return;
    COSMCommandBar* bar = GetSelectedBar();
    const BOOL builtIn = bar && IsBuiltIn(bar);
    m_reset.EnableWindow(bar && builtIn);
    m_rename.EnableWindow(bar && !builtIn);
    m_delete.EnableWindow(bar && !builtIn);
    m_new.EnableWindow(GetCommandBars() != nullptr);
}

void COSMCustomizeToolbarsPage::OnCheckChange()
{
    const int selected = m_list.GetCurSel();
    COSMCommandBar* bar = GetSelectedBar();
    if (bar)
    {
        if (bar->IsCloseable())
        {
            bar->SetVisible(m_list.GetCheck(selected) == BST_CHECKED);
        }
        else
        {
            m_list.SetCheck(selected, BST_CHECKED);
            COSMCommandBar::s_pfnMessageBeep(0);
        }
    }
    RefreshList();
}

void COSMCustomizeToolbarsPage::SendToSite(UINT message, COSMCommandBar* bar)
{
    CWnd* site = GetCommandBars() ? GetCommandBars()->GetSite() : nullptr;
    if (site && ::IsWindow(site->GetSafeHwnd()))
        site->SendMessage(message, 0, reinterpret_cast<LPARAM>(bar));
}

int COSMCustomizeToolbarsPage::AskAbout(UINT questionId, const COSMCommandBar* bar)
{
    if (!m_sheet)
        return IDCANCEL;
    CString format;
    GetResourceManager()->LoadString(&format, questionId);
    CString text;
    text.Format(format, static_cast<LPCSTR>(bar->GetTitle()));
    return m_sheet->MessageBox(text, MB_OKCANCEL | MB_ICONEXCLAMATION);
}

void COSMCustomizeToolbarsPage::OnNew()
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars)
        return;
    COSMToolbarNameDlg dialog(m_sheet, commandBars, nullptr);
    if (dialog.DoModal() != IDOK)
        return;
    COSMCommandBar* bar = commandBars->AddToolBar(dialog.GetName(), dialog.GetNewBarId());
    RefreshList();
    if (bar)
        SendToSite(kMessageToolbarCreated, bar);
}

void COSMCustomizeToolbarsPage::OnRename()
{
    COSMCommandBar* bar = GetSelectedBar();
    if (!bar || IsBuiltIn(bar))
        return;
    COSMToolbarNameDlg dialog(m_sheet, GetCommandBars(), bar);
    if (dialog.DoModal() != IDOK)
        return;
    bar->SetTitle(dialog.GetName());
    bar->Redraw();
    const int selected = m_list.GetCurSel();
    const DWORD_PTR data = m_list.GetItemData(selected);
    m_list.DeleteString(static_cast<UINT>(selected));
    const int item = m_list.InsertString(selected, bar->GetTitle());
    m_list.SetCheck(item, bar->IsVisible() ? BST_CHECKED : BST_UNCHECKED);
    m_list.SetItemData(item, data);
    m_list.SetCurSel(item);
    EnableButtons();
}

void COSMCustomizeToolbarsPage::OnDelete()
{
    COSMCommandBar* bar = GetSelectedBar();
    if (!bar || IsBuiltIn(bar) || AskAbout(IDS_OSM_DELETE_TOOLBAR_QUESTION, bar) != IDOK)
        return;
    COSMCommandBars* commandBars = GetCommandBars();
    // A selected control of the bar would outlive the bar it names.
    COSMControl* selection = commandBars->GetCustomizeSelection();
    if (selection && selection->GetParent() && selection->GetParent()->GetRootParent() == bar)
        commandBars->SetCustomizeSelection(nullptr);
    SendToSite(kMessageToolbarDeleting, bar);
    commandBars->Remove(bar);
    RefreshList();
}

void COSMCustomizeToolbarsPage::OnReset()
{
    auto* toolBar = dynamic_cast<COSMToolBar*>(GetSelectedBar());
    if (!toolBar || !toolBar->IsBuiltIn() || AskAbout(IDS_OSM_RESET_TOOLBAR_QUESTION, toolBar) != IDOK)
        return;
    toolBar->Reset(FALSE);
    RefreshList();
}
