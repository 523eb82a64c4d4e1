#include "wizard/WizardDlg.h"

#include "classlib/GuardedCallbacks.h"
#include "framework/foundation/LockGuard.h"
#include "resource.h"
#include "wizard/AboutDlg.h"
#include "wizard/AttributeWalk.h"
#include "wizard/FolderBrowser.h"
#include "wizard/FolderPath.h"
#include "wizard/IsoWorker.h"
#include "wizard/LogLine.h"
#include "wizard/ProductKeyFile.h"
#include "wizard/ProgramFolder.h"
#include "wizard/SystemErrorText.h"
#include "wizard/UserMessage.h"
#include "wizard/Win7AnswerFiles.h"
#include "wizard/WriterTexts.h"

namespace {

const UINT_PTR kWatchTimer = 2;
const DWORD kWorkerStack = 4 * 1024 * 1024;
const DWORD kCancelWaitMs = 3000;
// How a report of an exception that ended the worker names it.
constexpr char kIsoWorkerName[] = "ISO worker thread";

// Registered when the page opens; the message map reads it when a message arrives.
UINT g_isoCreatedMessage = 0;

const char kInformation[] = "Information";
const char kVorn[] = "VORN";
const char kAreYouSure[] = "Are you sure?";
const char kProcessFailed[] = "The process has failed!";
const char kBuildNotStarted[] = "The image build could not start. ";
const char kCongratulations[] = "Congratulations! VORN created the ISO-image.";

// The page's own texts.
const char kNoDistribution[] = "Select a folder with the Windows XP distribution package.";
const char kMissingDistribution[] = "Path to the Windows XP distribution package does not exist.";
const char kNoKit[] = "Select a folder with the Corvane installation kit.";
const char kMissingKit[] = "Path to the Corvane installation kit does not exist.";
const char kNoUserName[] = "Enter user name";
const char kNoCompany[] = "Enter company name";
const char kNoComputerName[] = "Enter computer name";
const char kNoProductKey[] = "Enter product key";
const char kNoIsoFolder[] = "Select a folder for iso (example: 'D:\\MY_ISO').";
const char kMissingIsoFolder[] = "Path to the folder for iso does not exist.";

}  // namespace

// Carries the worker's reports to the page without waiting for it.
class CWizardDlg::WorkerReporter : public IsoBuildObserver
{
public:
    explicit WorkerReporter(HWND page) : m_page(page) { InitializeCriticalSection(&m_lock); }
    ~WorkerReporter() override { DeleteCriticalSection(&m_lock); }

    void Log(const std::string& text) override
    {
        {
            COSMLockGuard lock(m_lock);
            m_text = text;
        }
        ::PostMessageA(m_page, WM_BUILD_LOG, 0, 0);
    }
    void Progress(int percent) override { ::PostMessageA(m_page, WM_BUILD_PROGRESS, static_cast<WPARAM>(percent), 0); }

    std::string TakeText()
    {
        COSMLockGuard lock(m_lock);
        return m_text;
    }

private:
    HWND m_page;
    CRITICAL_SECTION m_lock;
    std::string m_text;
};

BEGIN_MESSAGE_MAP(CWizardDlg, CDialog)
    ON_WM_TIMER()
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_CREATE_ISO, OnCreateIso)
    ON_BN_CLICKED(IDC_BROWSE_DIST, OnBrowseDistribution)
    ON_BN_CLICKED(IDC_BROWSE_KIT, OnBrowseKit)
    ON_BN_CLICKED(IDC_BROWSE_ISO, OnBrowseIsoFolder)
    ON_EN_CHANGE(IDC_DIST_PATH, OnChangeDistributionPath)
    ON_WM_CREATE()
    ON_BN_CLICKED(IDC_KIT_CHECK, OnKitCheckBox)
    ON_BN_CLICKED(IDC_CANCEL_BUILD, OnCancelBuild)
    ON_REGISTERED_MESSAGE(g_isoCreatedMessage, OnIsoCreated)
    ON_MESSAGE(WM_BUILD_PROGRESS, OnBuildProgress)
    ON_MESSAGE(WM_BUILD_LOG, OnBuildLog)
END_MESSAGE_MAP()

CWizardDlg::CWizardDlg(CWnd* parent) : CDialog(IDD_WIZARD, parent), m_pictureLink(IDB_KIT, IDB_KIT)
{
    m_fullName = m_settings.FullName().c_str();
    m_company = m_settings.Organization().c_str();
    m_computerName = m_settings.ComputerName().c_str();
    m_icon = static_cast<HICON>(LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 0, 0,
                                           LR_DEFAULTSIZE | LR_SHARED));
}

CWizardDlg::~CWizardDlg()
{
    // The page never goes away under a running worker: m_worker, declared after everything the worker uses,
    // waits for it first.
    m_cancel = 1;
}

void CWizardDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_WEB_LINK, m_webLink);
    DDX_Control(dx, IDC_PICTURE_LINK, m_pictureLink);
    for (int i = 4; i >= 0; --i)
        DDX_Control(dx, IDC_KEY1 + i, m_keys[i]);
    DDX_Control(dx, IDC_HEADING1, m_heading1);
    DDX_Control(dx, IDC_HEADING2, m_heading2);
    DDX_Text(dx, IDC_FULL_NAME, m_fullName);
    DDX_Text(dx, IDC_COMPANY, m_company);
    DDX_Text(dx, IDC_COMPUTER_NAME, m_computerName);
    DDX_Text(dx, IDC_DIST_PATH, m_distributionFolder);
    DDX_Text(dx, IDC_KIT_PATH, m_kitFolder);
}

int CWizardDlg::OnCreate(LPCREATESTRUCT create)
{
    return CDialog::OnCreate(create) == -1 ? -1 : 0;
}

BOOL CWizardDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    CString about;
    about.LoadString(IDS_ABOUTBOX);
    if (!about.IsEmpty())
    {
        HMENU system = ::GetSystemMenu(m_hWnd, FALSE);
        if (system)
        {
            AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
            AppendMenuA(system, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    HICON small = static_cast<HICON>(
        LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_SMALL), IMAGE_ICON, 16, 16, LR_SHARED));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));

    m_cancel = 0;
    m_reporter = std::make_unique<WorkerReporter>(m_hWnd);
    SetLogText("0%");
    InitControls();
    g_isoCreatedMessage = RegisterWindowMessageA("VORN_WM_USER_ISO_CREATED");
    // The focus was placed by InitControls.
    return FALSE;
}

void CWizardDlg::InitControls()
{
    for (int i = 0; i < 5; ++i)
    {
        m_keys[i].LimitText(5);
        m_keys[i].SetNextEdit(i < 4 ? m_keys[i + 1].GetSafeHwnd() : nullptr);
    }

    m_browseDistribution.SubclassDlgItem(IDC_BROWSE_DIST, this);
    m_browseKit.SubclassDlgItem(IDC_BROWSE_KIT, this);
    m_browseIsoFolder.SubclassDlgItem(IDC_BROWSE_ISO, this);
    for (CHoverButton* button : {&m_browseDistribution, &m_browseKit, &m_browseIsoFolder})
        button->SetImage(IDI_BROWSE, IDI_BROWSE, TRUE, IMAGE_ICON);

    // The headings: the dialog's font, larger, bold, in Times New Roman.
    LOGFONTA heading{};
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0));
    GetObjectA(dialogFont ? static_cast<HGDIOBJ>(dialogFont) : GetStockObject(DEFAULT_GUI_FONT), sizeof(heading),
               &heading);
    heading.lfHeight = -14;
    heading.lfWeight = 800;
    heading.lfItalic = FALSE;
    heading.lfUnderline = FALSE;
    lstrcpynA(heading.lfFaceName, "Times New Roman", LF_FACESIZE);
    for (CHeadingStatic* title : {&m_heading1, &m_heading2})
    {
        title->SetTextLogFont(&heading);
        title->SetTextColor(RGB(0, 0, 0), TRUE);
        title->ActivateToolTip(FALSE);
        title->SetSizeToText(TRUE);
    }

    GetDlgItem(IDC_ISO_PATH)->EnableWindow(TRUE);
    GetDlgItem(IDC_KIT_PATH)->EnableWindow(FALSE);
    GetDlgItem(IDC_BROWSE_ISO)->EnableWindow(TRUE);
    GetDlgItem(IDC_BROWSE_KIT)->EnableWindow(FALSE);

    CString web;
    web.LoadString(IDS_WEB_ADDRESS);
    m_webLink.SetWindowText(web);
    m_webLink.SetUrl(web);
    m_pictureLink.SetUrl(web);

    GetDlgItem(IDC_DIST_PATH)->SetFocus();
    GetDlgItem(IDC_PROGRESS)->EnableWindow(FALSE);
    GetDlgItem(IDC_CANCEL_BUILD)->EnableWindow(FALSE);
    SetWindowText(m_mode == WizardMode::WindowsXp ? "VORN: Windows XP" : "VORN: Windows 7");
}

void CWizardDlg::SetLogText(const char* text)
{
    SetDlgItemText(IDC_LOG, text);
}

CString CWizardDlg::ControlText(int id) const
{
    CString text;
    GetDlgItem(id)->GetWindowText(text);
    return text;
}

bool CWizardDlg::IsKitChecked() const
{
    return SendDlgItemMessage(IDC_KIT_CHECK, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CWizardDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX)
    {
        CAboutDlg about(this);
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(id, lParam);
}

void CWizardDlg::OnPaint()
{
    if (!IsIconic())
    {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect client;
    GetClientRect(&client);
    const int x = (client.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_icon);
}

HCURSOR CWizardDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_icon);
}

void CWizardDlg::OnBrowseDistribution()
{
    // What was typed since the last exchange is kept, not replaced by older values.
    UpdateData(TRUE);
    std::string folder;
    if (!BrowseForFolder(m_hWnd, "Locating the Windows installation", folder))
        return;
    m_distributionFolder = folder.c_str();
    if (!LoadProductKeyFromFile(JoinPath(folder, "I386\\WINNT.SIF").c_str()))
        LoadProductKeyFromFile(JoinPath(folder, "install.txt").c_str());
    UpdateData(FALSE);
}

void CWizardDlg::OnBrowseKit()
{
    UpdateData(TRUE);
    std::string folder;
    if (!BrowseForFolder(m_hWnd, "Locating the Corvane installation kit", folder))
        return;
    m_kitFolder = folder.c_str();
    UpdateData(FALSE);
}

void CWizardDlg::OnBrowseIsoFolder()
{
    std::string folder;
    if (BrowseForFolder(m_hWnd, "Locating the folder for the ISO image", folder))
        SetDlgItemText(IDC_ISO_PATH, folder.c_str());
}

void CWizardDlg::OnChangeDistributionPath() {}

BOOL CWizardDlg::LoadProductKeyFromFile(const char* path)
{
    const auto groups = SplitProductKey(ReadProductKeyText(path));
    if (!groups)
        return FALSE;
    for (int i = 0; i < 5; ++i)
        SetDlgItemText(IDC_KEY1 + i, (*groups)[i].c_str());
    return TRUE;
}

void CWizardDlg::OnKitCheckBox()
{
    const BOOL checked = IsKitChecked();
    GetDlgItem(IDC_KIT_PATH)->EnableWindow(checked);
    GetDlgItem(IDC_BROWSE_KIT)->EnableWindow(checked);
}

void CWizardDlg::ShowValidationMessage(const char* text)
{
    ShowUserMessage(m_hWnd, text, kInformation, MB_ICONEXCLAMATION | MB_OK);
}

bool CWizardDlg::ValidateInput()
{
    const CString dist = ControlText(IDC_DIST_PATH);
    if (dist.IsEmpty() || !IsExistingFolder(dist))
    {
        ShowValidationMessage(dist.IsEmpty() ? kNoDistribution : kMissingDistribution);
        GetDlgItem(IDC_DIST_PATH)->SetFocus();
        return false;
    }
    if (IsKitChecked())
    {
        const CString kit = ControlText(IDC_KIT_PATH);
        if (kit.IsEmpty() || !IsExistingFolder(kit))
        {
            ShowValidationMessage(kit.IsEmpty() ? kNoKit : kMissingKit);
            return false;
        }
    }
    const struct
    {
        int id;
        const char* message;
    } required[] = {
        {IDC_FULL_NAME, kNoUserName}, {IDC_COMPANY, kNoCompany}, {IDC_COMPUTER_NAME, kNoComputerName},
        {IDC_KEY1, kNoProductKey},    {IDC_KEY2, kNoProductKey}, {IDC_KEY3, kNoProductKey},
        {IDC_KEY4, kNoProductKey},    {IDC_KEY5, kNoProductKey},
    };
    for (const auto& field : required)
    {
        if (ControlText(field.id).IsEmpty())
        {
            ShowValidationMessage(field.message);
            return false;
        }
    }
    const CString iso = ControlText(IDC_ISO_PATH);
    if (iso.IsEmpty() || !IsExistingFolder(iso))
    {
        ShowValidationMessage(iso.IsEmpty() ? kNoIsoFolder : kMissingIsoFolder);
        return false;
    }
    return true;
}

void CWizardDlg::OnCreateIso()
{
    if (!ValidateInput())
        return;
    UpdateData(TRUE);
    CString key = ControlText(IDC_KEY1);
    for (int id = IDC_KEY2; id <= IDC_KEY5; ++id)
        key += CString("-") + ControlText(id);
    m_settings.TakePageValues(static_cast<const char*>(m_fullName), static_cast<const char*>(m_company),
                              static_cast<const char*>(m_computerName), static_cast<const char*>(key));
    if (m_mode == WizardMode::WindowsXp)
        CreateXpAnswerFiles();
    else if (m_mode == WizardMode::Windows7)
        CreateWin7AnswerFiles();
}

std::string CWizardDlg::FolderText(int id) const
{
    return FolderForJoining(static_cast<const char*>(ControlText(id)));
}

bool CWizardDlg::ClearDistributionAttributes(const std::string& dist)
{
    SetLogText("Removing any possible attributes...");
    const AttributeWalkResult walk = ClearAttributesRecursive(dist);
    if (walk)
        return true;
    // Files that stay read-only would fail the writers later with a less helpful message.
    const std::string text =
        WriterTexts::FillText(WriterTexts::kErrorWithFile, walk.folder) + GetSystemErrorText(walk.error);
    SetLogText("0%");
    ShowUserMessage(m_hWnd, text.c_str(), WriterTexts::kCaptionCorvane, MB_ICONERROR);
    return false;
}

BOOL CWizardDlg::CreateXpAnswerFiles()
{
    const std::string dist = FolderText(IDC_DIST_PATH);
    const std::string kit = IsKitChecked() ? FolderText(IDC_KIT_PATH) : std::string();
    if (!ClearDistributionAttributes(dist))
        return 0;
    if (!m_settings.BuildXpDistribution(m_hWnd, dist.c_str(), kit.c_str(), nullptr, TRUE))
    {
        ShowUserMessage(m_hWnd, kProcessFailed, kVorn, MB_ICONERROR);
        return 0;
    }
    return StartIsoThread();
}

BOOL CWizardDlg::CreateWin7AnswerFiles()
{
    const std::string dist = FolderText(IDC_DIST_PATH);
    if (!ClearDistributionAttributes(dist))
        return 0;
    const std::string kit = IsKitChecked() ? FolderText(IDC_KIT_PATH) : std::string();
    if (!WriteWin7Distribution(m_hWnd, dist.c_str(), kit.c_str(), m_settings))
        return 0;
    return StartIsoThread();
}

void CWizardDlg::EnableInputs(bool enable)
{
    for (int id : {IDC_DIST_PATH, IDC_BROWSE_DIST, IDC_ISO_PATH, IDC_BROWSE_ISO, IDC_CREATE_ISO})
        GetDlgItem(id)->EnableWindow(enable);
    const BOOL kit = enable && IsKitChecked();
    GetDlgItem(IDC_KIT_PATH)->EnableWindow(kit);
    GetDlgItem(IDC_BROWSE_KIT)->EnableWindow(kit);
    GetDlgItem(IDC_CANCEL_BUILD)->EnableWindow(!enable);
}

BOOL CWizardDlg::StartIsoThread()
{
    // A finished worker whose handle the watch has not closed yet.
    StopWorker();
    // Everything the worker needs is taken here, on the page's thread.
    char programFolder[MAX_PATH];
    if (!GetProgramFolder(programFolder, sizeof(programFolder)))
        programFolder[0] = '\0';
    m_request = IsoBuildRequest{m_mode, FolderText(IDC_DIST_PATH), FolderText(IDC_ISO_PATH), programFolder};
    m_imageFile = std::make_unique<IsoImageFile>();
    EnableInputs(false);
    m_cancel = 0;
    if (!m_worker.Start(osm::GuardedThreadProc<kIsoWorkerName, &CWizardDlg::BuildIsoImage>, this, kWorkerStack))
    {
        const std::string text = kBuildNotStarted + GetSystemErrorText(GetLastError());
        RestorePage();
        ShowUserMessage(m_hWnd, text.c_str(), kVorn, MB_ICONERROR);
        return 0;
    }
    SetTimer(kWatchTimer, 1000, nullptr);
    return 1;
}

void CWizardDlg::BuildIsoImage()
{
    // A failure (an exception that escaped the build among them) keeps the page in its failed state until the user
    // cancels; its reason is in the log.
    if (RunIsoWorker(m_request, &m_cancel, *m_reporter, m_imageFile.get()))
        ::PostMessageA(m_hWnd, RegisterWindowMessageA("VORN_WM_USER_ISO_CREATED"), 0, 0);
}

LRESULT CWizardDlg::OnBuildProgress(WPARAM percent, LPARAM)
{
    CWnd* progress = GetDlgItem(IDC_PROGRESS);
    progress->SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    progress->SendMessage(PBM_SETPOS, percent, 0);
    return 0;
}

LRESULT CWizardDlg::OnBuildLog(WPARAM, LPARAM)
{
    SetLogText(FitToControl(GetDlgItem(IDC_LOG)->GetSafeHwnd(), m_reporter->TakeText()).c_str());
    return 0;
}

void CWizardDlg::OnTimer(UINT_PTR id)
{
    // The watch closes the worker's handle once the worker has ended (a cancel closes it itself).
    if (id == kWatchTimer && !m_cancel && m_worker.CloseIfEnded())
        KillTimer(kWatchTimer);
    CDialog::OnTimer(id);
}

void CWizardDlg::RestorePage()
{
    EnableInputs(true);
    SendDlgItemMessage(IDC_PROGRESS, PBM_SETPOS, 0, 0);
    SetLogText("0%");
}

bool CWizardDlg::StopWorker()
{
    m_cancel = 1;
    KillTimer(kWatchTimer);
    // The worker looks at the flag in every long step; the stop ends it by force only after the wait.
    if (m_worker.Stop(kCancelWaitMs) == CWorkerThread::StopResult::AlreadyStopping)
        return false;
    // The worker removes an unfinished image itself, unless it was ended by force before it could.
    if (m_imageFile)
        m_imageFile->Release();
    return true;
}

bool CWizardDlg::ConfirmCancel()
{
    return ShowUserMessage(m_hWnd, kAreYouSure, WriterTexts::kCaptionCorvane, MB_YESNOCANCEL | MB_ICONQUESTION) ==
           IDYES;
}

void CWizardDlg::OnCancelBuild()
{
    // A stop already under way (this click came through its wait) finishes the job.
    if (m_worker.IsStopping() || !ConfirmCancel())
        return;
    CWaitCursor wait;
    GetDlgItem(IDC_CANCEL_BUILD)->EnableWindow(FALSE);
    if (!StopWorker())
        return;
    RestorePage();
    if (m_closeAfterStop)
        CDialog::OnCancel();
}

void CWizardDlg::OnCancel()
{
    // A close that arrives while a stop waits for the worker is done once the stop has ended.
    if (m_worker.IsStopping())
    {
        m_closeAfterStop = true;
        return;
    }
    // Closing the page while a build runs is a cancel of the build first.
    if (m_worker.IsRunning() && !ConfirmCancel())
        return;
    CWaitCursor wait;
    if (StopWorker())
        CDialog::OnCancel();
}

void CWizardDlg::OnOK()
{
    // The page has no OK button: Enter in a field must not end the wizard (or a running build).
}

LRESULT CWizardDlg::OnIsoCreated(WPARAM, LPARAM)
{
    // A cancel confirmed just as the build finished has already restored the page.
    if (m_cancel)
        return 0;
    RestorePage();
    ShowUserMessage(m_hWnd, kCongratulations, kVorn, MB_ICONINFORMATION);
    return 0;
}
