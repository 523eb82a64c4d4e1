// The customize sheet: its pages and menu, the menu's style, group, reset and delete commands with their updates,
// the menu's notifications, and the sheet's message box. The image commands are in CustomizeSheetImages.cpp.
#include "framework/controls/CustomizeSheet.h"

#include "classlib/ModelessWindows.h"
#include "classlib/WinApp.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/ControlCmdUI.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/commandbars/CustomizeResourceIds.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/controls/ControlEdit.h"
#include "framework/controls/CustomizeCommandsPage.h"
#include "framework/controls/CustomizeToolbarsPage.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ResourceManager.h"

IMPLEMENT_DYNAMIC(COSMCustomizeSheet, CPropertySheet)

BEGIN_MESSAGE_MAP(COSMCustomizeSheet, CPropertySheet)
    ON_COMMAND(kCommandStyleDefault, OnCustomizeDefaultStyle)
    ON_COMMAND(kCommandStyleImageAndText, OnCustomizeImageAndText)
    ON_COMMAND(kCommandStyleTextOnly, OnCustomizeTextOnly)
    ON_COMMAND(kCommandBeginGroup, OnCustomizeBeginGroup)
    ON_COMMAND(kCommandDelete, OnCustomizeDelete)
    ON_COMMAND(kCommandCopyImage, OnCustomizeCopyImage)
    ON_COMMAND(kCommandPasteImage, OnCustomizePasteImage)
    ON_COMMAND(kCommandResetImage, OnCustomizeResetImage)
    ON_COMMAND(kCommandReset, OnCustomizeReset)
    ON_COMMAND(kCommandEditImage, OnCustomizeEditImage)
    ON_UPDATE_COMMAND_UI(kCommandStyleDefault, OnUpdateDefaultStyle)
    ON_UPDATE_COMMAND_UI(kCommandStyleImageAndText, OnUpdateImageAndText)
    ON_UPDATE_COMMAND_UI(kCommandStyleTextOnly, OnUpdateTextOnly)
    ON_UPDATE_COMMAND_UI(kCommandBeginGroup, OnUpdateBeginGroup)
    ON_UPDATE_COMMAND_UI(kCommandName, OnUpdateName)
    ON_UPDATE_COMMAND_UI(kCommandCopyImage, OnUpdateImageCommand)
    ON_UPDATE_COMMAND_UI(kCommandChangeImage, OnUpdateImageCommand)
    ON_UPDATE_COMMAND_UI(kCommandEditImage, OnUpdateImageCommand)
    ON_UPDATE_COMMAND_UI(kCommandPasteImage, OnUpdatePasteImage)
    ON_UPDATE_COMMAND_UI(kCommandResetImage, OnUpdateResetImage)
    ON_UPDATE_COMMAND_UI(kCommandReset, OnUpdateReset)
    ON_MESSAGE(COSMPopupBar::kMessagePopupShowing, OnInitCommandBar)
    ON_MESSAGE(kMessageControlNotify, OnControlNotify)
    ON_MESSAGE(kMessageActivateSheet, OnActivateSheet)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

CString LoadCustomizeString(UINT id)
{
    CString text;
    GetResourceManager()->LoadString(&text, id);
    return text;
}

// A menu entry with its own caption: the entry ids' strings belong to other commands, so no prompt is kept.
COSMControl* AddMenuEntry(COSMControls* controls, int type, UINT id, UINT captionId, BOOL beginGroup = FALSE)
{
    COSMControl* control = controls->Add(type, static_cast<int>(id));
    if (!control)
        return nullptr;
    control->SetPrompt(CString());
    control->SetCaption(LoadCustomizeString(captionId));
    control->SetBeginGroup(beginGroup);
    return control;
}

}  // namespace

COSMCustomizeSheet::COSMCustomizeSheet(COSMCommandBars* commandBars)
    : CPropertySheet(nullptr, commandBars ? commandBars->GetSite() : nullptr), m_commandBars(RetainRef(commandBars))
{
    SetTitle(LoadCustomizeString(IDS_OSM_CUSTOMIZE_CAPTION));
    m_toolbarsPage = std::make_unique<COSMCustomizeToolbarsPage>(this);
    m_commandsPage = std::make_unique<COSMCustomizeCommandsPage>(this);
    AddPage(m_toolbarsPage.get());
    AddPage(m_commandsPage.get());
    CreateContextMenu();
    LoadPredefinedImages();
}

COSMCustomizeSheet::~COSMCustomizeSheet()
{
    if (m_hWnd)
        DestroyWindow();
}

void COSMCustomizeSheet::CreateContextMenu()
{
    if (!m_commandBars)
        return;
    m_contextMenu = AdoptRef(COSMPopupBar::CreatePopupBar(m_commandBars.Get()));
    if (!m_contextMenu)
        return;
    // The menu works while the bars are in customize mode, which lasts as long as the sheet.
    m_contextMenu->SetCustomizeTool(TRUE);
    m_contextMenu->SetCustomizable(FALSE);
    COSMControls* controls = m_contextMenu->GetControls();
    AddMenuEntry(controls, 1, kCommandReset, IDS_OSM_CUSTOMIZE_MENU_RESET);
    AddMenuEntry(controls, 1, kCommandDelete, IDS_OSM_CUSTOMIZE_MENU_DELETE);
    if (auto* name =
            dynamic_cast<COSMControlEdit*>(AddMenuEntry(controls, 6, kCommandName, IDS_OSM_CUSTOMIZE_MENU_NAME)))
        name->SetHasLabel(TRUE);
    AddMenuEntry(controls, 1, kCommandStyleDefault, IDS_OSM_CUSTOMIZE_MENU_STYLE_DEFAULT, TRUE);
    AddMenuEntry(controls, 1, kCommandStyleImageAndText, IDS_OSM_CUSTOMIZE_MENU_STYLE_IMAGE_AND_TEXT);
    AddMenuEntry(controls, 1, kCommandStyleTextOnly, IDS_OSM_CUSTOMIZE_MENU_STYLE_TEXT_ONLY);
    AddMenuEntry(controls, 1, kCommandCopyImage, IDS_OSM_CUSTOMIZE_MENU_COPY_IMAGE, TRUE);
    AddMenuEntry(controls, 1, kCommandPasteImage, IDS_OSM_CUSTOMIZE_MENU_PASTE_IMAGE);
    AddMenuEntry(controls, 1, kCommandResetImage, IDS_OSM_CUSTOMIZE_MENU_RESET_IMAGE);
    AddMenuEntry(controls, 1, kCommandEditImage, IDS_OSM_CUSTOMIZE_MENU_EDIT_IMAGE);
    if (auto* change = dynamic_cast<COSMControlPopup*>(
            AddMenuEntry(controls, 2, kCommandChangeImage, IDS_OSM_CUSTOMIZE_MENU_CHANGE_IMAGE)))
    {
        // The grid: a popup laid out as a toolbar, filled when it first shows (OnInitCommandBar).
        RefPtr<COSMPopupToolBar> grid = AdoptRef(COSMPopupToolBar::CreatePopupToolBar(m_commandBars.Get()));
        if (grid)
        {
            grid->SetBarID(kCommandChangeImage);
            grid->SetCustomizeTool(TRUE);
            grid->SetCustomizable(FALSE);
            change->SetCommandBar(grid.Get());
        }
    }
    AddMenuEntry(controls, 1, kCommandBeginGroup, IDS_OSM_CUSTOMIZE_MENU_BEGIN_GROUP, TRUE);
}

BOOL COSMCustomizeSheet::Create(CWnd* pParentWnd)
{
    if (!pParentWnd && m_commandBars)
        pParentWnd = m_commandBars->GetSite();
    if (!CPropertySheet::Create(pParentWnd))
        return FALSE;
    // One button that closes: the changes are made as they happen, there is nothing to cancel.
    SendMessage(PSM_CANCELTOCLOSE);
    if (m_commandBars)
    {
        m_commandBars->SetCustomizeMode(TRUE);
        m_commandBars->GetDropSource()->SetSheet(this);
        m_commandBars->GetDropSource()->SetSheetWindow(this);
        m_customizing = TRUE;
    }
    return TRUE;
}

void COSMCustomizeSheet::OnDestroy()
{
    if (m_customizing && m_commandBars)
    {
        m_customizing = FALSE;
        COSMCustomizeDropSource* dropSource = m_commandBars->GetDropSource();
        if (dropSource->GetSheet() == this)
        {
            dropSource->SetSheet(nullptr);
            dropSource->SetSheetWindow(nullptr);
        }
        m_commandBars->SetCustomizeMode(FALSE);
        m_commandBars->RecalcFrameLayout(TRUE);
    }
    Default();
}

void COSMCustomizeSheet::PostNcDestroy()
{
    CPropertySheet::PostNcDestroy();
    delete this;
}

COSMControl* COSMCustomizeSheet::GetSelectedControl() const
{
    COSMControl* selected = m_commandBars ? m_commandBars->GetCustomizeSelection() : nullptr;
    return selected && selected->IsKindOf(RUNTIME_CLASS(COSMControl)) ? selected : nullptr;
}

void COSMCustomizeSheet::TrackContextMenu(int x, int y)
{
    if (!m_contextMenu || !m_commandBars)
        return;
    const UINT flags = m_commandBars->IsLayoutRTL() ? 9 : 1;
    COSMCommandBars::TrackPopupMenu(m_contextMenu.Get(), flags, x, y, m_commandBars->GetSite(), nullptr, this);
}

int COSMCustomizeSheet::MessageBox(LPCSTR text, UINT type)
{
    HWND focus = ::GetFocus();
    AfxEnableModeless(FALSE);
    HWND sheet = m_hWnd;
    if (sheet)
        ::EnableWindow(sheet, FALSE);
    CWnd* site = m_commandBars ? m_commandBars->GetSite() : nullptr;
    HWND siteWindow = site ? site->GetSafeHwnd() : nullptr;
    BOOL siteDisabled = FALSE;
    if (siteWindow && ::IsWindow(siteWindow) && ::IsWindowEnabled(siteWindow))
    {
        ::EnableWindow(siteWindow, FALSE);
        siteDisabled = TRUE;
    }

    CWinApp* app = AfxGetApp();
    const CString caption = app && app->m_pszAppName ? CString(app->m_pszAppName) : CString();
    if (sheet && (::GetWindowLongA(sheet, GWL_EXSTYLE) & WS_EX_LAYOUTRTL))
        type |= MB_RTLREADING;
    const int result = s_pfnMessageBox(sheet, text, caption, type);

    if (siteDisabled && ::IsWindow(siteWindow))
        ::EnableWindow(siteWindow, TRUE);
    if (sheet && ::IsWindow(sheet))
        ::EnableWindow(sheet, TRUE);
    AfxEnableModeless(TRUE);
    if (focus && ::IsWindow(focus))
        ::SetFocus(focus);
    return result;
}

LRESULT COSMCustomizeSheet::OnActivateSheet(WPARAM, LPARAM)
{
    SetFocus();
    return 0;
}

// ---- Style, group, reset and delete ----

void COSMCustomizeSheet::RecalcParentLayout(COSMControl* control)
{
    // A control the toolbars page took out with its bar has no bar to lay out.
    if (COSMCommandBar* bar = control->GetParent())
        bar->OnRecalcLayout();
}

BOOL COSMCustomizeSheet::HasButtonImage(const COSMControl* control)
{
    const int type = control->GetType();
    return type >= 1 && type <= 4 && control->GetIconId() > 0;
}

void COSMCustomizeSheet::SetSelectedStyle(int customStyle)
{
    if (COSMControl* control = GetSelectedControl())
    {
        control->SetCustomStyle(customStyle);
        RecalcParentLayout(control);
    }
}

void COSMCustomizeSheet::OnCustomizeDefaultStyle()
{
    SetSelectedStyle(0);
}

void COSMCustomizeSheet::OnCustomizeImageAndText()
{
    SetSelectedStyle(3);
}

void COSMCustomizeSheet::OnCustomizeTextOnly()
{
    SetSelectedStyle(1);
}

void COSMCustomizeSheet::OnCustomizeBeginGroup()
{
    if (COSMControl* control = GetSelectedControl())
    {
        control->SetBeginGroup(!control->GetBeginGroup());
        RecalcParentLayout(control);
    }
}

void COSMCustomizeSheet::OnCustomizeDelete()
{
    COSMControl* selected = GetSelectedControl();
    if (!selected)
        return;
    // Removing releases the bar's reference: the control and its bar are read before, and the control is held
    // until the bar has been laid out without it.
    const RefPtr<COSMControl> control = RetainRef(selected);
    COSMCommandBar* bar = control->GetParent();
    const RefPtr<COSMCommandBar> keepBar = RetainRef(bar);
    m_commandBars->SetCustomizeSelection(nullptr);
    if (!bar)
        return;
    bar->GetControls()->Remove(control.Get());
    bar->OnRecalcLayout();
}

void COSMCustomizeSheet::OnCustomizeResetImage()
{
    if (COSMControl* control = GetSelectedControl())
    {
        control->SetCustomIconId(0);
        RecalcParentLayout(control);
    }
}

void COSMCustomizeSheet::OnCustomizeReset()
{
    if (COSMControl* control = GetSelectedControl())
        control->ResetCustomization();
}

// ---- Updates ----

void COSMCustomizeSheet::OnUpdateDefaultStyle(CCmdUI* pCmdUI)
{
    COSMControl* control = GetSelectedControl();
    if (control && HasButtonImage(control))
    {
        pCmdUI->Enable(TRUE);
        const int style = control->GetStyle();
        pCmdUI->SetCheck(style == 0 || style == 2);
        return;
    }
    pCmdUI->Enable(FALSE);
    pCmdUI->SetCheck(TRUE);
}

void COSMCustomizeSheet::OnUpdateImageAndText(CCmdUI* pCmdUI)
{
    COSMControl* control = GetSelectedControl();
    if (control && HasButtonImage(control))
    {
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(control->GetStyle() == 3);
        return;
    }
    pCmdUI->Enable(FALSE);
}

void COSMCustomizeSheet::OnUpdateTextOnly(CCmdUI* pCmdUI)
{
    COSMControl* control = GetSelectedControl();
    if (control && HasButtonImage(control))
    {
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(control->GetStyle() == 1);
        return;
    }
    pCmdUI->Enable(FALSE);
}

void COSMCustomizeSheet::OnUpdateBeginGroup(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(FALSE);
    if (COSMControl* control = GetSelectedControl())
    {
        pCmdUI->SetCheck(control->GetBeginGroup());
        pCmdUI->Enable(control->GetIndex() != 0);
    }
}

void COSMCustomizeSheet::OnUpdateName(CCmdUI* pCmdUI)
{
    // The updated item: the menu's own control, or the bar's control the update names.
    COSMControl* item = nullptr;
    if (auto* controlUpdate = dynamic_cast<COSMControlCmdUI*>(pCmdUI))
        item = controlUpdate->GetControl();
    else if (auto* bar = dynamic_cast<COSMCommandBar*>(pCmdUI->m_pOther))
        item = static_cast<int>(pCmdUI->m_nIndex) < bar->GetControlCount()
                   ? bar->GetControl(static_cast<int>(pCmdUI->m_nIndex))
                   : nullptr;
    if (auto* edit = dynamic_cast<COSMControlEdit*>(item))
    {
        COSMControl* control = GetSelectedControl();
        edit->SetEditText(control ? control->GetCaption() : CString());
    }
    pCmdUI->Enable(TRUE);
}

void COSMCustomizeSheet::OnUpdateImageCommand(CCmdUI* pCmdUI)
{
    if (COSMControl* control = GetSelectedControl())
        pCmdUI->Enable(HasButtonImage(control));
}

void COSMCustomizeSheet::OnUpdatePasteImage(CCmdUI* pCmdUI)
{
    if (COSMControl* control = GetSelectedControl())
    {
        // Only a bitmap enables it: the program's own image format comes with one beside it.
        const int type = control->GetType();
        pCmdUI->Enable(type >= 1 && type <= 4 && ::IsClipboardFormatAvailable(CF_BITMAP));
    }
}

void COSMCustomizeSheet::OnUpdateResetImage(CCmdUI* pCmdUI)
{
    if (COSMControl* control = GetSelectedControl())
        pCmdUI->Enable(control->GetCustomIconId() > 0);
}

void COSMCustomizeSheet::OnUpdateReset(CCmdUI* pCmdUI)
{
    if (COSMControl* control = GetSelectedControl())
        pCmdUI->Enable(control->GetCustomIconId() > 0 || !control->GetCustomCaption().IsEmpty() ||
                       control->GetCustomStyle() != -1);
}

// ---- Notifications of the menu's controls ----

LRESULT COSMCustomizeSheet::OnControlNotify(WPARAM wParam, LPARAM lParam)
{
    const auto* block = reinterpret_cast<const NMOSMCONTROL*>(lParam);
    if (!block || block->hdr.code != kNotifyExecute)
        return 0;
    const UINT id = static_cast<UINT>(wParam);
    if (id == kCommandName)
    {
        if (COSMControl* control = GetSelectedControl())
        {
            auto* edit = dynamic_cast<COSMControlEdit*>(block->pControl);
            // Setting the caption runs the control's OnCaptionChanged once.
            control->SetCustomCaption(edit ? edit->GetEditText() : CString());
            RecalcParentLayout(control);
        }
        return 1;
    }
    if (id == kCommandChangeImage)
    {
        ApplyPredefinedImage(block->pControl);
        return 1;
    }
    if (id >= kCommandReset && id <= kCommandBeginGroup)
        return 0;

    // An application's own command in the menu: the menu closes and the frame runs it.
    if (block->pControl && block->pControl->GetParent())
        block->pControl->GetParent()->GetRootParent()->StopTracking();
    CWnd* site = m_commandBars ? m_commandBars->GetSite() : nullptr;
    HWND siteWindow = site ? site->GetSafeHwnd() : nullptr;
    if (siteWindow && ::IsWindow(siteWindow) && !::SendMessageA(siteWindow, kMessageControlNotify, wParam, lParam))
        ::SendMessageA(siteWindow, WM_COMMAND, id, 0);
    return 1;
}
