// The menu bar and its frame: loading, the hooks on the frame, the MDI client and the active child, the frame's
// native menu, and the keyboard's way into the bar (F10 and a lone Alt).
#include "framework/commandbars/MenuBar.h"

#include "classlib/Geometry.h"
#include "classlib/MDIFrameWnd.h"
#include "classlib/Menu.h"
#include "classlib/OleDocObjectItem.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/foundation/HookManager.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/PropExchange.h"

#include <iterator>

// Schema 0x23: the toolbar keys end with "FloatingPosition".
IMPLEMENT_SERIAL(COSMMenuBar, COSMToolBar, VERSIONABLE_SCHEMA | 0x23)

BEGIN_MESSAGE_MAP(COSMMenuBar, COSMToolBar)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr UINT kMenuBarId = 1;
constexpr DWORD kMenuBarFlags = 0x5F;
constexpr int kSystemImageSize = 16;

}  // namespace

COSMMenuBar::COSMMenuBar() : m_mdiMenus(std::make_unique<COSMMenuBarMDIMenus>(this))
{
    m_type = kTypeMenuBar;
    m_barId = kMenuBarId;
    m_flags = kMenuBarFlags;
    m_closeable = FALSE;
    m_showExpandButton = FALSE;
}

COSMMenuBar::~COSMMenuBar()
{
    GetHookManager()->RemoveAll(this);
}

BOOL COSMMenuBar::LoadMenuBar(UINT menuId)
{
    if (menuId != 0)
    {
        CMenu menu;
        if (!menu.LoadMenu(menuId))
            return FALSE;
        if (!LoadMenu(&menu, TRUE) || GetControlCount() == 0)
            return FALSE;
        m_resourceId = menuId;
        m_currentMenuId = menuId;
    }
    SetupHook();
    return TRUE;
}

void COSMMenuBar::SetupHook()
{
    CWnd* site = GetSite();
    HWND frame = GetSiteHwnd();
    m_mdiFrame = site && site->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd));
    if (frame)
    {
        GetHookManager()->SetHook(frame, this);
        if (HWND client = GetMdiClient())
            GetHookManager()->SetHook(client, this);
    }
    if (COSMImageManager* images = GetImageManager())
    {
        static const UINT kSystemCommands[] = {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};
        images->SetIconsFromResourceId(IDB_OSM_SYSTEM_COMMANDS, kSystemCommands,
                                       static_cast<int>(std::size(kSystemCommands)), kSystemImageSize,
                                       kSystemImageSize);
    }
    if (!m_savedFrameMenu && frame)
    {
        m_savedFrameMenu = ::GetMenu(frame);
        ::SetMenu(frame, nullptr);
    }
}

void COSMMenuBar::RestoreFrameMenu()
{
    if (!m_savedFrameMenu)
        return;
    HWND frame = GetSiteHwnd();
    if (::IsWindow(frame))
        ::SetMenu(frame, m_savedFrameMenu);
    m_savedFrameMenu = nullptr;
}

HWND COSMMenuBar::GetSiteHwnd() const
{
    CWnd* site = GetSite();
    return site ? site->GetSafeHwnd() : nullptr;
}

HWND COSMMenuBar::GetMdiClient() const
{
    if (!m_mdiFrame)
        return nullptr;
    auto* frame = dynamic_cast<CMDIFrameWnd*>(GetSite());
    return frame ? frame->m_hWndMDIClient : nullptr;
}

HWND COSMMenuBar::GetActiveMdiChild(BOOL* maximized) const
{
    if (maximized)
        *maximized = FALSE;
    HWND client = GetMdiClient();
    if (!client || !::IsWindow(client))
        return nullptr;
    BOOL isMaximized = FALSE;
    auto child =
        reinterpret_cast<HWND>(::SendMessageA(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&isMaximized)));
    if (maximized)
        *maximized = child && isMaximized;
    return child;
}

void COSMMenuBar::RefreshMdiState()
{
    BOOL maximized = FALSE;
    HWND child = GetActiveMdiChild(&maximized);
    // While a document object runs in place it owns the frame's menus: the hook stays on the child it came with.
    if (child != m_hookedChild && !IsDocObjectInPlaceActive())
    {
        if (m_hookedChild && ::IsWindow(m_hookedChild))
            GetHookManager()->RemoveHook(m_hookedChild, this);
        m_hookedChild = child;
        if (child)
            GetHookManager()->SetHook(child, this);
    }
    if (IsVisible())
        RefreshMdiButtons();
}

BOOL COSMMenuBar::IsDocObjectInPlaceActive() const
{
    auto* frame = dynamic_cast<CFrameWnd*>(GetSite());
    auto* document = frame ? dynamic_cast<COleDocument*>(frame->GetActiveDocument()) : nullptr;
    const COleClientItem* item = document ? document->GetInPlaceActiveItem() : nullptr;
    return item && item->IsKindOf(RUNTIME_CLASS(COleDocObjectItem));
}

int COSMMenuBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    HWND frame = GetSiteHwnd();
    auto postRefresh = [this] {
        if (GetSafeHwnd())
            PostMessage(WM_TIMER, kTimerRefreshMdi, 0);
    };
    switch (nMessage)
    {
    case WM_SYSCOMMAND:
    {
        // F10 or a lone Alt (no mnemonic), or a key typed with Alt held, goes to the bars when the menu bar shows on
        // the screen.
        if ((wParam & 0xFFF0) != SC_KEYMENU || !GetSafeHwnd() || !IsWindowVisible())
            break;
        CRect rect;
        GetWindowRect(&rect);
        COSMMouseManager* mouseManager = GetMouseManager();
        if (rect.IsRectEmpty() || (mouseManager && mouseManager->GetLockCount() >= 1) || IsCustomizeMode())
            break;
        if (lParam != 0)
        {
            // Alt held with a key that types a character: the bars' access keys, as after a lone Alt. Alt+Space
            // stays the frame's system menu, and a key no bar marks goes on to the frame (which beeps).
            COSMCommandBars* commandBars = GetCommandBars();
            const SHORT scan = ::VkKeyScanA(static_cast<CHAR>(lParam));
            if (lParam == ' ' || scan == -1 || !commandBars || !commandBars->OnFrameAccel(LOBYTE(scan)))
                break;
            lResult = 0;
            return kHandled;
        }
        if (::GetKeyState(VK_SHIFT) & 0x8000)
            break;
        if (!ProcessFrameKey(VK_MENU))
        {
            if (COSMCommandBars* commandBars = GetCommandBars())
                commandBars->ActivateCommandBar(this, 0);
        }
        lResult = 0;
        return kHandled;
    }
    case WM_DESTROY:
        if (hWnd == frame && m_savedFrameMenu)
            RestoreFrameMenu();
        break;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        if (hWnd == m_hookedChild)
            postRefresh();
        return kNotHandled;
    case WM_MDICREATE:
    case WM_MDIDESTROY:
    case WM_MDIACTIVATE:
        postRefresh();
        return kNotHandled;
    case WM_MDISETMENU:
        if (!IsVisible())
        {
            if (frame && ::GetMenu(frame))
                return kNotHandled;
            lResult = 0;
            return kHandled;
        }
        if (!IsCustomizeMode())
        {
            HMENU menu = wParam ? reinterpret_cast<HMENU>(wParam) : m_savedFrameMenu;
            if (!(m_flags & kFlagNoMenuSwitching) && menu)
                OnMDISetMenu(menu);
        }
        if (frame)
            ::SetMenu(frame, nullptr);
        if (!IsCustomizeMode())
            RefreshMdiState();
        lResult = 0;
        return kHandled;
    default:
        break;
    }
    return COSMToolBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
}

void COSMMenuBar::OnTimer(UINT_PTR id)
{
    if (id == kTimerRefreshMdi)
        RefreshMdiState();
    else
        COSMToolBar::OnTimer(id);
}

void COSMMenuBar::OnDestroy()
{
    RestoreFrameMenu();
    COSMToolBar::OnDestroy();
}

// ---- The manager's side ----

COSMCommandBar* COSMCommandBars::GetMenuBar() const
{
    for (COSMCommandBar* bar : m_bars)
        if (bar->GetBarID() == kMenuBarId && bar->IsKindOf(RUNTIME_CLASS(COSMMenuBar)))
            return bar;
    return nullptr;
}

COSMCommandBar* COSMCommandBars::AddMenuBar(const CString& title, UINT menuId)
{
    auto* menuBar = new COSMMenuBar;
    menuBar->SetCommandBars(this);
    menuBar->SetTitle(title);
    if (!menuBar->SetPosition(0))
    {
        menuBar->InternalRelease();
        return nullptr;
    }
    m_bars.push_back(menuBar);
    if (!menuBar->LoadMenuBar(menuId))
    {
        Remove(menuBar);
        return nullptr;
    }
    RecalcFrameLayout(FALSE);
    return menuBar;
}

COSMCommandBar* COSMCommandBars::AddRibbonBar(const CString& title)
{
    CRuntimeClass* ribbonClass = FindRuntimeClass("COSMRibbonBar");
    CObject* object = ribbonClass ? ribbonClass->CreateObject() : nullptr;
    auto* ribbon = dynamic_cast<COSMMenuBar*>(object);
    if (!ribbon)
    {
        delete object;
        return nullptr;
    }
    ribbon->SetCommandBars(this);
    ribbon->SetTitle(title);
    ribbon->SetBarID(kMenuBarId);
    if (!ribbon->SetPosition(0))
    {
        ribbon->InternalRelease();
        return nullptr;
    }
    m_bars.push_back(ribbon);
    RecalcFrameLayout(FALSE);
    return ribbon;
}
