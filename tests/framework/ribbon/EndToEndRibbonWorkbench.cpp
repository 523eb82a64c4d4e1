#include "EndToEndRibbonWorkbench.h"

#include "classlib/RecentFileList.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ControlActions.h"
#include "framework/controls/ControlGallery.h"
#include "framework/controls/ControlGalleryItems.h"
#include "framework/foundation/ImageManager.h"

#include <algorithm>

namespace ribbon_end_to_end {

namespace {

bool IsRecordedMessage(UINT message)
{
    switch (message)
    {
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case kE2eRibbonMinimized:
    case kE2eContextMenuBuilt:
    case kE2eControlNotify:
        return true;
    default:
        return false;
    }
}

// A group's buttons: L large (it gets an icon at the ribbon's large icon width), M medium.
struct GroupButton
{
    char kind;
    UINT id;
    const char* caption;
};

bool AddButtons(COSMRibbonBar* ribbon, COSMRibbonGroup* group, std::initializer_list<GroupButton> buttons)
{
    if (!group)
        return false;
    const int large = ribbon->CalcIconSize(FALSE).cx;
    HICON icon = ::LoadIcon(nullptr, IDI_APPLICATION);
    for (const GroupButton& button : buttons)
    {
        if (button.kind == 'L' && !ribbon->GetImageManager()->SetIcon(icon, button.id, large, large))
            return false;
        COSMControl* control = group->Add(1, static_cast<int>(button.id));
        if (!control)
            return false;
        control->SetCaption(button.caption);
    }
    return true;
}

// The resizable gallery of the Styles group: twelve items of 20 x 20.
bool AddStylesGallery(COSMRibbonGroup* group)
{
    auto* gallery = group ? dynamic_cast<COSMControlGallery*>(group->Add(10, static_cast<int>(kE2eStyles))) : nullptr;
    if (!gallery || !gallery->GetAction())
        return false;
    RefPtr<COSMControlGalleryItems> items = AdoptRef(new COSMControlGalleryItems);
    items->SetItemSize(CSize(20, 20));
    for (int i = 0; i < 12; ++i)
        items->AddItem(i + 1, "Style");
    gallery->GetAction()->SetReferencedObject(items.Get());
    gallery->SetCaption("&Styles");
    gallery->SetWidth(100);
    gallery->SetResizable(1);
    return true;
}

bool BuildRibbonTabs(RibbonWorkbench& bench)
{
    COSMRibbonBar* ribbon = bench.ribbon;
    bench.home = ribbon->AddTab("&Home");
    bench.insert = ribbon->AddTab("&Insert");
    bench.format = ribbon->AddTab("Fo&rmat");
    if (!bench.home || !bench.insert || !bench.format)
        return false;
    bench.format->SetContextColor(3, "Picture Tools");

    COSMRibbonGroups* home = bench.home->GetGroups();
    COSMRibbonGroups* insert = bench.insert->GetGroups();
    return AddButtons(ribbon, home->Add("Clipboard", kE2eClipboardGroup),
                      {{'L', kE2ePaste, "&Paste"}, {'M', kE2eCut, "Cu&t"}, {'M', kE2eCopy, "&Copy"}}) &&
           AddButtons(ribbon, home->Add("Font", kE2eFontGroup),
                      {{'M', kE2eBold, "&Bold"},
                       {'M', kE2eItalic, "Ita&lic"},
                       {'M', kE2eUnderline, "&Underline"},
                       {'M', kE2eGrow, "&Grow"},
                       {'M', kE2eShrink, "Shrin&k"}}) &&
           AddStylesGallery(home->Add("Styles", kE2eStylesGroup)) &&
           AddButtons(ribbon, home->Add("Paragraph", kE2eParagraphGroup),
                      {{'M', kE2eBullets, "Bullets"},
                       {'M', kE2eNumbering, "Numbering"},
                       {'M', kE2eIndent, "Indent"},
                       {'M', kE2eOutdent, "Outdent"},
                       {'M', kE2eAlignLeft, "Align left"},
                       {'M', kE2eAlignRight, "Align right"}}) &&
           AddButtons(ribbon, home->Add("Drawing", kE2eDrawingGroup),
                      {{'L', kE2eLine, "Line"}, {'L', kE2eArrow, "Arrow"}, {'L', kE2eBox, "Box"}}) &&
           AddButtons(
               ribbon, home->Add("Proofing", kE2eProofingGroup),
               {{'L', kE2eSpelling, "Spelling"}, {'M', kE2eThesaurus, "Thesaurus"}, {'M', kE2eCount, "Count"}}) &&
           AddButtons(ribbon, home->Add("Editing", kE2eEditingGroup),
                      {{'L', kE2eFind, "&Find"}, {'M', kE2eReplace, "R&eplace"}, {'M', kE2eSelect, "Selec&t"}}) &&
           AddButtons(ribbon, insert->Add("Tables", kE2eTablesGroup), {{'L', kE2eTable, "&Table"}}) &&
           AddButtons(ribbon, insert->Add("Illustrations", kE2eIllustrationsGroup),
                      {{'L', kE2ePicture, "&Picture"}, {'M', kE2eShapes, "S&hapes"}}) &&
           AddButtons(ribbon, bench.format->GetGroups()->Add("Adjust", kE2eAdjustGroup),
                      {{'M', kE2eBrightness, "&Brightness"}});
}

bool BuildQuickAccess(COSMRibbonBar* ribbon)
{
    const struct
    {
        UINT id;
        const char* caption;
    } quick[] = {{kE2eSave, "Save"}, {kE2eUndo, "Undo"}, {kE2eRedo, "Redo"}};
    for (const auto& q : quick)
    {
        COSMControl* control = ribbon->GetQuickAccessControls()->Add(1, static_cast<int>(q.id));
        if (!control)
            return false;
        control->SetCaption(q.caption);
    }
    return true;
}

// The application button's menu: New and Open, the recent files under their caption, Options and Exit in its foot.
bool BuildSystemMenu(RibbonWorkbench& bench)
{
    bench.systemButton = new COSMRibbonControlSystemButton;
    bench.systemButton->SetCaption("&File");
    bench.ribbon->SetSystemButton(bench.systemButton);
    bench.systemMenu = new COSMRibbonSystemPopupBar;
    bench.systemMenu->SetCommandBars(bench.commandBars.Get());
    bench.systemButton->SetCommandBar(bench.systemMenu);
    bench.systemMenu->InternalRelease();
    COSMControls* items = bench.systemMenu->GetControls();
    items->Add(1, static_cast<int>(kE2eNew))->SetCaption("&New");
    items->Add(1, static_cast<int>(kE2eOpen))->SetCaption("&Open");
    auto* recent = new COSMRibbonControlSystemRecentFileList;
    items->AddControl(recent, static_cast<int>(kE2eRecentList));
    recent->SetCaption("Recent Documents");
    for (const auto& [id, caption] : {std::pair<UINT, const char*>{kE2eOptions, "Options"}, {kE2eExit, "Exit"}})
    {
        auto* foot = new COSMRibbonControlSystemPopupBarButton;
        items->AddControl(foot, static_cast<int>(id));
        foot->SetCaption(caption);
    }
    return true;
}

bool BuildToolBar(RibbonWorkbench& bench)
{
    bench.toolBar = dynamic_cast<COSMToolBar*>(bench.commandBars->AddToolBar("Standard", kE2eToolBarId));
    if (!bench.toolBar)
        return false;
    bench.toolBar->SetBuiltIn(TRUE);
    for (const auto& [id, caption] :
         {std::pair<UINT, const char*>{kE2eNew, "New"}, {kE2eOpen, "Open"}, {kE2ePrint, "Print"}})
    {
        COSMControl* control = bench.toolBar->GetControls()->Add(1, static_cast<int>(id));
        if (!control)
            return false;
        control->SetCaption(caption);
        control->SetStyle(1);  // caption only: the buttons have no images
    }
    return true;
}

bool BuildStatusBar(RibbonWorkbench& bench)
{
    COSMStatusBar& status = bench.statusBar;
    if (!status.Create(&bench.frame))
        return false;
    status.SetCommandBars(bench.commandBars.Get());
    COSMStatusBarPane* prompt = status.AddIndicator(0);
    COSMStatusBarSwitchPane* switches = status.AddSwitchPane(kE2ePaneSwitches);
    if (!prompt || !switches)
        return false;
    prompt->SetStyle(COSMStatusBarPane::kStyleStretch);
    prompt->SetText("Ready");
    // The switches show the system's small icons.
    HICON icon = ::LoadIcon(nullptr, IDI_APPLICATION);
    for (UINT id : {kE2eSwitchNormal, kE2eSwitchWide})
    {
        if (!bench.commandBars->GetImageManager()->SetIcon(icon, id, 16, 16))
            return false;
        switches->AddSwitch(id);
    }
    status.RecalcLayout();
    return true;
}

bool OpenChildren(RibbonWorkbench& bench)
{
    for (const char* title : {"Report", "Notes", "Budget"})
    {
        auto child = std::make_unique<CMDIChildWnd>();
        if (!child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 240, 160),
                           &bench.frame))
            return false;
        bench.children.push_back(std::move(child));
        PumpMessages();
    }
    return true;
}

}  // namespace

int RibbonWorkbenchFrame::CountOf(UINT message) const
{
    return static_cast<int>(
        std::count_if(m_records.begin(), m_records.end(), [message](const Record& r) { return r.message == message; }));
}

int RibbonWorkbenchFrame::CommandsOf(UINT id) const
{
    const std::vector<UINT> ids = Commands();
    return static_cast<int>(std::count(ids.begin(), ids.end(), id));
}

std::vector<UINT> RibbonWorkbenchFrame::Commands() const
{
    std::vector<UINT> ids;
    for (const Record& record : m_records)
        if (record.message == WM_COMMAND)
            ids.push_back(LOWORD(record.wParam));
    return ids;
}

BOOL RibbonWorkbenchFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (workspace && workspace->GetSafeHwnd() && workspace->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CMDIFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT RibbonWorkbenchFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsRecordedMessage(message))
        return CMDIFrameWnd::WindowProc(message, wParam, lParam);
    m_records.push_back(Record{message, wParam, lParam});
    if (onRecorded)
        onRecorded(message, wParam, lParam);
    // Without a menu of its own the frame would track the system menu in a loop of its own on Alt.
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU)
        return 0;
    if (message == WM_COMMAND || message == WM_SYSCOMMAND)
        return CMDIFrameWnd::WindowProc(message, wParam, lParam);
    return 0;
}

RibbonWorkbench::~RibbonWorkbench()
{
    if (frame.GetSafeHwnd())
    {
        commandBars->ClosePopups();
        for (auto& child : children)
            if (child->GetSafeHwnd())
                child->DestroyWindow();
    }
    children.clear();
    frame.workspace = nullptr;
    if (workspace.GetSafeHwnd())
        workspace.Detach();
    commandBars.Reset();
    if (frame.GetSafeHwnd())
        frame.DestroyWindow();
    PumpMessages();
    if (app)
    {
        delete app->m_pRecentFileList;
        app->m_pRecentFileList = nullptr;
    }
    app.reset();
}

void RibbonWorkbench::Relayout()
{
    frame.RecalcLayout();
    PumpMessages();
}

CPoint RibbonWorkbench::Centre(const COSMControl* control)
{
    return ScreenPoint(*control->GetParent(), control->GetRect().CenterPoint());
}

CPoint RibbonWorkbench::TabCentre(const COSMRibbonTab* tab) const
{
    return ScreenPoint(*ribbon, tab->GetRect().CenterPoint());
}

HWND RibbonWorkbench::ActiveChild() const
{
    return reinterpret_cast<HWND>(::SendMessageA(frame.m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
}

std::unique_ptr<RibbonWorkbench> BuildRibbonWorkbench()
{
    auto bench = std::make_unique<RibbonWorkbench>();
    bench->app = std::make_unique<CWinApp>("ribbon end to end");
    bench->app->m_pRecentFileList = new CRecentFileList(4);
    CRecentFileList& files = *bench->app->m_pRecentFileList;
    files[0] = "Z:\\tmp\\Report.txt";
    files[1] = "Z:\\tmp\\Notes.txt";
    files[2] = "Z:\\tmp\\Budget.txt";

    RibbonWorkbenchFrame& frame = bench->frame;
    if (!frame.Create(nullptr, "ribbon end to end", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                      RibbonWorkbench::FrameRect()))
        return bench;
    frame.ShowWindow(SW_SHOWNORMAL);
    frame.UpdateWindow();
    if (!ActivateTestWindow(frame.GetSafeHwnd()))
        return bench;

    COSMCommandBars* commandBars = bench->commandBars.Get();
    commandBars->SetSite(&frame);
    // The frame handles few commands: idle updates must not grey what the tests click.
    commandBars->GetCommandBarsOptions()->m_disableCommandsWithoutHandler = FALSE;
    commandBars->GetCommandBarsOptions()->m_keyboardTips = TRUE;
    commandBars->SetKeyboardCuesInUse(TRUE);
    // The gallery takes its items through its action.
    commandBars->EnableActions(TRUE);
    if (!commandBars->CreateDockBars())
        return bench;

    bench->ribbon = dynamic_cast<COSMRibbonBar*>(commandBars->AddRibbonBar("Ribbon"));
    if (!bench->ribbon)
        return bench;
    bench->ribbon->SetCustomizable(TRUE);
    if (!BuildRibbonTabs(*bench) || !BuildQuickAccess(bench->ribbon) || !BuildSystemMenu(*bench) ||
        !BuildToolBar(*bench) || !BuildStatusBar(*bench))
        return bench;
    bench->ribbon->SetCurSel(0);

    if (!bench->workspace.Attach(&frame, TRUE))
        return bench;
    frame.workspace = &bench->workspace;
    bench->workspace.SetCommandBars(commandBars);
    if (!OpenChildren(*bench))
        return bench;
    bench->Relayout();
    PumpFor(150);
    bench->created = TRUE;
    return bench;
}

}  // namespace ribbon_end_to_end
