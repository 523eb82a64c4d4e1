#include "EndToEndWorkbench.h"

#include "classlib/RecentFileList.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ControlActions.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/controls/ControlBitmap.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlComboBoxGalleryPopupBar.h"
#include "framework/controls/ControlComboBoxList.h"
#include "framework/controls/CustomizeCommandsPage.h"
#include "framework/controls/ControlCustom.h"
#include "framework/controls/ControlEdit.h"
#include "framework/controls/ControlGallery.h"
#include "framework/controls/ControlGalleryItems.h"
#include "framework/controls/ControlHyperlink.h"
#include "framework/controls/ControlProgress.h"
#include "framework/controls/ControlSelector.h"
#include "framework/foundation/ImageManager.h"

namespace commandbars_test {

namespace {

// The commands that get a picture, and its colour: a 16 x 16 square framed in black, so that each button, the bitmap
// control, the icon pane and the switches show an image of their own.
const struct
{
    UINT id;
    COLORREF colour;
} kWorkbenchImages[] = {
    {ID_E2E_NEW, RGB(230, 230, 230)},   {ID_E2E_OPEN, RGB(240, 200, 60)},       {ID_E2E_SAVE, RGB(40, 90, 200)},
    {ID_E2E_PICTURE, RGB(200, 40, 40)}, {ID_E2E_PANE_ICON, RGB(40, 160, 60)},   {ID_E2E_SWITCH_NORMAL, RGB(90, 90, 90)},
    {ID_E2E_WRAP, RGB(150, 60, 170)},   {ID_E2E_SWITCH_WIDE, RGB(0, 170, 170)}, {ID_E2E_BOLD, RGB(20, 20, 120)},
};

bool AddWorkbenchImages(COSMImageManager* images)
{
    const int count = static_cast<int>(std::size(kWorkbenchImages));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 16 * count;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP strip = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!strip)
        return false;
    auto* pixels = static_cast<DWORD*>(bits);
    std::vector<UINT> ids;
    for (int i = 0; i < count; ++i)
    {
        ids.push_back(kWorkbenchImages[i].id);
        const COLORREF c = kWorkbenchImages[i].colour;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
            {
                const bool frame = x == 0 || y == 0 || x == 15 || y == 15;
                pixels[y * 16 * count + i * 16 + x] =
                    frame ? 0xFF000000u : 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
    }
    const BOOL added = images->AddIconsFromBitmap(strip, ids.data(), count, 16, 16, 0, TRUE);
    ::DeleteObject(strip);
    return added != FALSE;
}

}  // namespace

BOOL ScrollPanel::Create(CWnd* parent)
{
    LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(0, cls, "", WS_CHILD | WS_VISIBLE, 0, 0, 120, 17, parent->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_E2E_SCROLL)));
}

LRESULT ScrollPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL && lParam)
    {
        HWND bar = reinterpret_cast<HWND>(lParam);
        const int pos = ::GetScrollPos(bar, SB_CTL);
        const int step = LOWORD(wParam) == SB_LINERIGHT ? 1 : LOWORD(wParam) == SB_LINELEFT ? -1 : 0;
        if (step)
            ::SetScrollPos(bar, SB_CTL, pos + step, TRUE);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

Workbench::Workbench()
{
    app = std::make_unique<CWinApp>("end to end workbench");
    app->m_pRecentFileList = new CRecentFileList(4);
    app->m_pRecentFileList->Add("Z:\\tmp\\Report.txt");
    app->m_pRecentFileList->Add("Z:\\tmp\\Notes.txt");

    created = frame.Create(nullptr, "end to end workbench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, FrameRect());
    if (!created)
        return;
    frame.ShowWindow(SW_SHOWNORMAL);
    frame.UpdateWindow();
    created = ActivateTestWindow(frame.GetSafeHwnd());
    commandBars->SetSite(&frame);
    // The frame has few command handlers: idle updates must not grey what the tests click.
    commandBars->GetCommandBarsOptions()->m_disableCommandsWithoutHandler = FALSE;
    created = created && commandBars->CreateDockBars() && AddWorkbenchImages(commandBars->GetImageManager());

    menuBar = dynamic_cast<COSMMenuBar*>(commandBars->AddMenuBar("Menu Bar", IDR_E2E_MDI_MENU));
    if (COSMCommandBar* table = menuBar ? menuBar->GetControl(3)->GetCommandBar() : nullptr)
        table->GetControls()->AddControl(static_cast<COSMControl*>(COSMControlSelector::CreateObject()),
                                         ID_E2E_INSERT_TABLE);
    standard = AddResourceToolBar("Standard", IDR_E2E_STANDARD);
    commandBars->SetCustomizeDialog(&customizeAvailable);
    categoriesMenu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_E2E_MDI_MENU));
    frame.onCustomize = [this] { OpenCustomizeSheet(); };
    created = created && menuBar && standard && BuildControlsBar() && BuildMarksBar() && BuildPropertiesBar() &&
              BuildStatusBar() && BuildMessageBar() && OpenDocument("Report") && OpenDocument("Notes");
    frame.RecalcLayout();
    PumpFor(150);
}

Workbench::~Workbench()
{
    InputScript::Stop(frame.GetSafeHwnd());
    frame.onCustomize = nullptr;
    if (IsSheetOpen())
        ::DestroyWindow(sheetWindow);
    sheet = nullptr;
    if (categoriesMenu)
        ::DestroyMenu(categoriesMenu);
    if (frame.GetSafeHwnd())
    {
        commandBars->ClosePopups();
        for (auto& document : documents)
            if (document->GetSafeHwnd())
                document->DestroyWindow();
    }
    documents.clear();
    commandBars.Reset();
    if (frame.GetSafeHwnd())
        frame.DestroyWindow();
    app.reset();
}

void Workbench::OpenCustomizeSheet()
{
    if (IsSheetOpen())
        return;
    sheet = new COSMCustomizeSheet(commandBars.Get());
    sheet->GetCommandsPage()->AddCategories(CMenu::FromHandle(categoriesMenu));
    if (!sheet->Create())
    {
        delete sheet;
        sheet = nullptr;
        return;
    }
    sheetWindow = sheet->GetSafeHwnd();
    // Over the documents, clear of the bars it customizes.
    CRect client;
    ::GetWindowRect(frame.m_hWndMDIClient, &client);
    sheet->SetWindowPos(nullptr, client.left + 320, client.top + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

COSMToolBar* Workbench::AddResourceToolBar(const char* title, UINT id)
{
    auto* bar = dynamic_cast<COSMToolBar*>(commandBars->AddToolBar(title, id));
    if (!bar || !bar->LoadToolBar(id, FALSE))
        return nullptr;
    bar->SetBuiltIn(TRUE);
    return bar;
}

bool Workbench::BuildControlsBar()
{
    controls = dynamic_cast<COSMToolBar*>(commandBars->AddToolBar("Controls", IDR_E2E_CONTROLS));
    if (!controls)
        return false;
    controls->SetBuiltIn(TRUE);
    COSMControls* items = controls->GetControls();
    // The three popup kinds (a popup, a button popup, a split button), each filled from its menu resource.
    const struct
    {
        int type;
        UINT menu;
        const char* caption;
    } popups[] = {
        {2, IDR_E2E_POPUP_PLAIN, "&Paste"}, {3, IDR_E2E_POPUP_BUTTON, "&Colour"}, {4, IDR_E2E_POPUP_SPLIT, "&Undo"}};
    for (const auto& popup : popups)
    {
        COSMControl* control = items->Add(popup.type, static_cast<int>(popup.menu));
        if (!control || !control->GetCommandBar())
            return false;
        control->SetCaption(popup.caption);
        control->SetStyle(1);  // caption only: none of them has an image
    }

    auto* zoom = dynamic_cast<COSMControlComboBox*>(items->Add(5, ID_E2E_ZOOM));
    if (!zoom)
        return false;
    zoom->SetWidth(90);
    for (const char* text : {"50%", "100%", "200%"})
        zoom->GetComboBoxList()->AddString(text);
    zoom->SetCurSel(1);

    // A combo box whose drop-down is a gallery of styles.
    auto* styles = dynamic_cast<COSMControlComboBox*>(items->Add(5, ID_E2E_STYLES));
    if (!styles)
        return false;
    styles->SetWidth(110);
    auto* galleryItems = new COSMControlGalleryItems;
    galleryItems->SetItemSize(CSize(100, 20));
    for (int i = 0; i < 4; ++i)
    {
        CString caption;
        caption.Format("Heading %d", i + 1);
        galleryItems->AddItem(ID_E2E_STYLE_FIRST + i, caption);
    }
    COSMControlAction* stylesAction = commandBars->GetActions()->Add(ID_E2E_STYLE_FIRST - 1);
    stylesAction->SetReferencedObject(galleryItems);
    galleryItems->InternalRelease();
    auto* dropDown = static_cast<COSMControlComboBoxGalleryPopupBar*>(
        RUNTIME_CLASS(COSMControlComboBoxGalleryPopupBar)->CreateObject());
    dropDown->SetCommandBars(commandBars.Get());
    auto* dropGallery = dynamic_cast<COSMControlGallery*>(dropDown->GetControls()->Add(10, ID_E2E_STYLE_FIRST - 1));
    if (dropGallery)
    {
        dropGallery->SetAction(stylesAction);
        dropGallery->SetWidth(110);
        dropGallery->SetHeight(90);
        dropGallery->Reposition();
    }
    styles->SetCommandBar(dropDown);
    dropDown->InternalRelease();
    if (!dropGallery)
        return false;
    styles->SetCurSel(0);

    auto* find = dynamic_cast<COSMControlEdit*>(items->Add(6, ID_E2E_FIND));
    if (!find)
        return false;
    find->SetWidth(100);
    find->SetShowSpinButtons(TRUE);
    find->SetEditText("12");

    // A custom control holding the application's own window: a panel with a horizontal scroll bar, which moves its
    // bar as an application does.
    auto* custom = dynamic_cast<COSMControlCustom*>(items->Add(7, ID_E2E_SCROLL));
    if (!custom || !scrollPanel.Create(&frame) ||
        !scrollBar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 0, 120, 17), &scrollPanel, 1))
        return false;
    SCROLLINFO info = {sizeof(info), SIF_ALL, 0, 100, 20, 30, 0};
    scrollBar.SetScrollInfo(&info);
    custom->SetControlWindow(scrollPanel.GetSafeHwnd());
    custom->SetControlId(ID_E2E_SCROLL);
    custom->SetControlSize(CSize(120, 17));
    return true;
}

bool Workbench::BuildMarksBar()
{
    marks = dynamic_cast<COSMToolBar*>(commandBars->AddToolBar("Marks", IDR_E2E_MARKS));
    if (!marks)
        return false;
    marks->SetBuiltIn(TRUE);
    COSMControls* items = marks->GetControls();
    COSMControl* label = items->Add(8, ID_E2E_CAPTION);
    COSMControl* picture =
        items->AddControl(static_cast<COSMControl*>(RUNTIME_CLASS(COSMControlBitmap)->CreateObject()), ID_E2E_PICTURE);
    COSMControl* link =
        items->AddControl(static_cast<COSMControl*>(COSMControlHyperlink::CreateObject()), ID_E2E_WEBSITE);
    COSMControl* wrap = items->Add(9, ID_E2E_WRAP);
    COSMControl* left = items->Add(11, ID_E2E_LEFT);
    auto* progress = static_cast<COSMControlProgress*>(COSMControlProgress::CreateObject());
    items->AddControl(progress, ID_E2E_PROGRESS, nullptr, -1, FALSE);
    auto* gallery = dynamic_cast<COSMControlGallery*>(items->Add(10, ID_E2E_GALLERY));
    if (!label || !picture || !link || !wrap || !left || !gallery)
        return false;
    label->SetCaption("Look:");
    link->SetCaption("Project home");
    link->SetTooltip("https://example.org/");
    wrap->SetCaption("&Wrap");
    left->SetCaption("&Left");
    left->SetChecked(TRUE);
    progress->SetRange(0, 10);
    progress->SetPos(4);
    // The in-bar gallery shows the styles of the combo box's drop-down.
    COSMControlAction* action = commandBars->GetActions()->Add(ID_E2E_GALLERY);
    action->SetReferencedObject(commandBars->GetActions()->Add(ID_E2E_STYLE_FIRST - 1)->GetReferencedObject());
    gallery->SetAction(action);
    gallery->SetWidth(150);
    gallery->SetHeight(44);
    gallery->Reposition();
    return true;
}

bool Workbench::BuildPropertiesBar()
{
    commandBars->SetToolBarClass(RUNTIME_CLASS(COSMDialogBar));
    properties = dynamic_cast<COSMDialogBar*>(commandBars->AddToolBar("Properties", IDR_E2E_PROPERTIES));
    commandBars->SetToolBarClass(nullptr);
    if (!properties || !commandBars->DockCommandBarAtPosition(properties, 2))
        return false;
    properties->SetDockedExtent(CSize(150, 200));
    if (!propertiesList.CreateEx(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT,
                                 CRect(0, 0, 100, 100), properties, 1))
        return false;
    for (const char* text : {"Name: Report", "Size: 4 KB", "Kind: Text"})
        propertiesList.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    properties->SetChild(propertiesList.GetSafeHwnd());
    return true;
}

bool Workbench::BuildStatusBar()
{
    if (!statusBar.Create(&frame))
        return false;
    statusBar.SetCommandBars(commandBars.Get());
    statusBar.EnableMarkup(TRUE);
    COSMStatusBarPane* prompt = statusBar.AddIndicator(0);
    COSMStatusBarPane* plain = statusBar.AddIndicator(ID_E2E_PANE_PLAIN);
    COSMStatusBarPane* markup = statusBar.AddIndicator(ID_E2E_PANE_MARKUP);
    COSMStatusBarPane* icon = statusBar.AddIndicator(ID_E2E_PANE_ICON);
    COSMStatusBarPane* button = statusBar.AddIndicator(ID_E2E_PANE_BUTTON);
    COSMStatusBarSwitchPane* switches = statusBar.AddSwitchPane(ID_E2E_SWITCHES);
    if (!prompt || !plain || !markup || !icon || !button || !switches)
        return false;
    prompt->SetStyle(COSMStatusBarPane::kStyleStretch);
    prompt->SetText("Ready");
    markup->SetText("<TextBlock>Line <Bold>5</Bold></TextBlock>");
    icon->SetIconId(ID_E2E_PANE_ICON);
    button->SetButton(TRUE);
    switches->AddSwitch(ID_E2E_SWITCH_NORMAL);
    switches->AddSwitch(ID_E2E_SWITCH_WIDE);
    statusBar.ShowSizeGripper(TRUE);
    statusBar.RecalcLayout();
    return true;
}

bool Workbench::BuildMessageBar()
{
    if (!messageBar.Create(&frame, commandBars.Get(), WS_CHILD | WS_VISIBLE | CBRS_TOP))
        return false;
    messageBar.SetMessage("Report.txt was changed by another program.");
    messageBar.AddButton(ID_E2E_RELOAD, "Reload");
    messageBar.AddButton(SC_CLOSE);
    return true;
}

bool Workbench::OpenDocument(const char* title)
{
    auto document = std::make_unique<CMDIChildWnd>();
    if (!document->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 180), &frame))
        return false;
    documents.push_back(std::move(document));
    PumpFor(30);
    return true;
}

COSMControl* Workbench::ControlOf(const COSMCommandBar& bar, UINT id)
{
    for (int i = 0; i < bar.GetControlCount(); ++i)
        if (bar.GetControl(i)->GetID() == id)
            return bar.GetControl(i);
    return nullptr;
}

CPoint Workbench::CentreOf(const COSMCommandBar& bar, UINT id)
{
    const COSMControl* control = ControlOf(bar, id);
    return control ? ScreenPoint(bar, control->GetRect().CenterPoint()) : CPoint(0, 0);
}

COSMCommandBar* Workbench::OpenMenu(int index) const
{
    COSMControl* title = menuBar ? menuBar->GetControl(index) : nullptr;
    COSMCommandBar* popup = title ? title->GetCommandBar() : nullptr;
    return popup && popup->GetSafeHwnd() && popup->IsWindowVisible() ? popup : nullptr;
}

bool Workbench::Drive(std::vector<Step> steps, const std::function<bool()>& done, DWORD timeoutMs)
{
    InputScript::Start(frame.GetSafeHwnd(), std::move(steps));
    return PumpUntil([&] { return InputScript::Done() && done(); }, timeoutMs);
}

}  // namespace commandbars_test
