#include "classlib/WinApp.h"

#include "classlib/RecentFileList.h"
#include "classlib/ThreadState.h"

#include <mutex>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

// Constant-initialized: the application object may be built before or after any other static.
CWinApp* g_pApp = nullptr;
HINSTANCE g_hResource = nullptr;

}  // namespace

namespace osm_classlib_detail {

void EnsureCommonControls()
{
    static std::once_flag once;
    std::call_once(once, [] {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof controls;
        controls.dwICC = ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
        if (!::InitCommonControlsEx(&controls))
            ::InitCommonControls();
        // The link control exists from comctl32 6 on; older versions refuse the flag, which changes nothing else.
        controls.dwICC = ICC_LINK_CLASS;
        ::InitCommonControlsEx(&controls);
    });
}

}  // namespace osm_classlib_detail

HINSTANCE AfxGetInstanceHandle()
{
    if (g_pApp && g_pApp->m_hInstance)
        return g_pApp->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return g_hResource ? g_hResource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    g_hResource = hInstResource;
}

HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType)
{
    // The resource module first, then the program itself.
    HINSTANCE hResource = AfxGetResourceHandle();
    if (::FindResourceA(hResource, lpszName, lpszType))
        return hResource;
    HINSTANCE hInstance = AfxGetInstanceHandle();
    return ::FindResourceA(hInstance, lpszName, lpszType) ? hInstance : hResource;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

CWinApp::CWinApp(LPCSTR lpszAppName)
{
    ASSERT(g_pApp == nullptr);  // one application object per program
    if (!g_pApp)
        g_pApp = this;
    m_hInstance = ::GetModuleHandleA(nullptr);

    // The thread that makes the application object is the main thread. A real handle, not the pseudo handle, so it
    // names this thread whichever thread uses it.
    m_bAutoDelete = FALSE;
    m_nThreadID = ::GetCurrentThreadId();
    if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), &m_hThread, 0, FALSE,
                           DUPLICATE_SAME_ACCESS))
        m_hThread = nullptr;

    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    CString file(path);
    file = file.Mid(file.ReverseFind('\\') + 1);
    int dot = file.ReverseFind('.');
    m_exeName = dot >= 0 ? file.Left(dot) : file;
    m_appName = lpszAppName ? CString(lpszAppName) : m_exeName;
    m_pszExeName = m_exeName;
    m_pszAppName = m_appName;
}

CWinApp::~CWinApp()
{
    for (POSITION pos = m_templates.GetHeadPosition(); pos;)
        delete static_cast<CDocTemplate*>(m_templates.GetNext(pos));
    m_templates.RemoveAll();
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate)
        m_templates.AddTail(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return m_templates.GetHeadPosition();
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const
{
    return static_cast<CDocTemplate*>(m_templates.GetNext(pos));
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return static_cast<int>(m_msgCur.wParam);
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    return pMsg->hwnd && CWnd::WalkPreTranslateTree(nullptr, pMsg);
}

BOOL CWinApp::PumpMessage()
{
    if (!::GetMessageA(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    auto& state = osm_classlib_detail::GetThreadState();
    ++state.dispatchDepth;  // wrappers made by PreTranslateMessage go at the next idle time
    BOOL eaten = PreTranslateMessage(&m_msgCur);
    --state.dispatchDepth;
    if (!eaten)
    {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

int CWinApp::Run()
{
    m_bRunning = true;
    for (;;)
    {
        MSG peek;
        LONG idleCount = 0;
        while (!::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(idleCount++))
        {}
        do
        {
            if (!PumpMessage())
            {
                m_bRunning = false;
                return ExitInstance();
            }
        } while (::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const
{
    return ::LoadIconA(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}

HCURSOR CWinApp::LoadCursor(LPCSTR lpszResourceName) const
{
    return ::LoadCursorA(AfxFindResourceHandle(lpszResourceName, RT_GROUP_CURSOR), lpszResourceName);
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT /*nIDHelp*/)
{
    HWND hWndOwner = ::GetActiveWindow();
    if (!hWndOwner)
    {
        CWnd* pMainWnd = AfxGetMainWnd();
        hWndOwner = pMainWnd ? pMainWnd->m_hWnd : nullptr;
    }
    if (hWndOwner)
        hWndOwner = ::GetAncestor(hWndOwner, GA_ROOT);
    CWinApp* pApp = AfxGetApp();
    osm_classlib_detail::ModalLoopScope modal;
    return ::MessageBoxA(hWndOwner, lpszText, pApp && pApp->m_pszAppName ? pApp->m_pszAppName : "", nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == UINT(-1) ? nIDPrompt : nIDHelp);
}

int ClassLibWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
    {
        ::MessageBoxA(nullptr, "The program has no application object.", nullptr, MB_ICONSTOP);
        return -1;
    }
    pApp->m_hInstance = hInstance ? hInstance : ::GetModuleHandleA(nullptr);
    pApp->m_hPrevInstance = hPrevInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    osm_classlib_detail::EnsureCommonControls();

    if (!pApp->InitApplication() || !pApp->InitInstance())
    {
        // A main window still open after a failed start would outlive the program's last message loop.
        if (pApp->m_pMainWnd && pApp->m_pMainWnd->m_hWnd)
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}
