#include "framework/controls/CommandBarEditCtrl.h"

#include "classlib/CmdUI.h"
#include "classlib/DC.h"
#include "classlib/GuardedCallbacks.h"
#include "classlib/ScopedHandle.h"
#include "classlib/SyncObject.h"
#include "classlib/ThreadLocal.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/KeyboardManager.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/foundation/FrameworkStatics.h"
#include "framework/foundation/ProcessService.h"
#include "framework/foundation/ResourceManager.h"

#include <richedit.h>

#include <mutex>

namespace {

// The process's rich-edit record, one of the process services: loaded on the first request under the service's lock,
// so threads that ask at once neither load twice nor see a record half made. The library stays loaded to the end:
// windows of its classes may live as long as the process.
class CRichEditLibraryService
{
public:
    const OSM_RICHEDIT_LIBRARY& Get()
    {
        const std::lock_guard<CCriticalSection> lock(m_lock);
        if (!m_loaded)
        {
            Load();
            m_loaded = true;
        }
        return m_record;
    }
    void Forget()
    {
        const std::lock_guard<CCriticalSection> lock(m_lock);
        m_record = OSM_RICHEDIT_LIBRARY();
        m_loaded = false;
    }

private:
    void Load()
    {
        m_record = OSM_RICHEDIT_LIBRARY();
        m_record.module = COSMCommandBarEditCtrl::s_pfnLoadLibrary("RICHED20.DLL");
        if (m_record.module)
        {
            m_record.className = "RichEdit20A";
            m_record.version2 = TRUE;
            return;
        }
        m_record.module = COSMCommandBarEditCtrl::s_pfnLoadLibrary("RICHED32.DLL");
        m_record.className = m_record.module ? "RICHEDIT" : "";
        m_record.version2 = FALSE;
    }

    CCriticalSection m_lock;
    bool m_loaded = false;
    OSM_RICHEDIT_LIBRARY m_record;
};

// Event mask and text mode of the rich edit: change notifications; plain text with a single undo level.
const LPARAM kRichEditEvents = ENM_CHANGE;
const WPARAM kRichEditTextMode = TM_PLAINTEXT | TM_SINGLELEVELUNDO;

// The dialog-message processing of a window for a synthesized key going down.
BOOL SendKeyToDialogProcessing(HWND target, HWND dialog, UINT key, LPARAM lParam)
{
    MSG msg{};
    msg.hwnd = target;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    msg.lParam = lParam;
    msg.time = ::GetMessageTime();
    ::GetCursorPos(&msg.pt);
    return ::IsDialogMessageA(dialog, &msg);
}

constexpr char kAutoSuggestHookName[] = "auto-suggest hook";

}  // namespace

// ---- The rich-edit library ----

HMODULE(WINAPI* COSMCommandBarEditCtrl::s_pfnLoadLibrary)(LPCSTR name) = &::LoadLibraryA;

const OSM_RICHEDIT_LIBRARY& COSMCommandBarEditCtrl::GetRichEditLibrary()
{
    return OsmProcessService<CRichEditLibraryService>()->Get();
}

void COSMCommandBarEditCtrl::ResetRichEditLibrary()
{
    OsmProcessService<CRichEditLibraryService>()->Forget();
}

// ---- The edit window ----

IMPLEMENT_DYNCREATE(COSMCommandBarEditCtrl, CEdit)

BEGIN_MESSAGE_MAP(COSMCommandBarEditCtrl, CEdit)
    ON_MESSAGE(WM_IME_STARTCOMPOSITION, OnImeStartComposition)
    ON_MESSAGE(WM_IME_ENDCOMPOSITION, OnImeEndComposition)
    ON_WM_KILLFOCUS()
    ON_WM_PAINT()
END_MESSAGE_MAP()

COSMCommandBarEditCtrl::~COSMCommandBarEditCtrl()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL COSMCommandBarEditCtrl::CreateEdit(DWORD style, CWnd* parent)
{
    const OSM_RICHEDIT_LIBRARY& library = GetRichEditLibrary();
    m_richEdit = FALSE;
    m_richEditVersion2 = FALSE;
    if (!library.module)
        return CreateEx(0, "EDIT", "", style, CRect(0, 0, 0, 0), parent, 0);
    if (!CreateEx(0, library.className, "", style, CRect(0, 0, 0, 0), parent, 0))
        return FALSE;
    m_richEdit = TRUE;
    m_richEditVersion2 = library.version2;
    SendMessage(EM_SETEVENTMASK, 0, kRichEditEvents);
    SendMessage(EM_SETTEXTMODE, kRichEditTextMode, 0);
    return TRUE;
}

void COSMCommandBarEditCtrl::SetEditText(const CString& text)
{
    m_changeSuppressed = TRUE;
    SetWindowText("");
    m_changeSuppressed = FALSE;
    SetWindowText(text);
}

void COSMCommandBarEditCtrl::GetEditText(CString& text) const
{
    GetWindowText(text);
}

BOOL COSMCommandBarEditCtrl::IsCommandEnabled(UINT id) const
{
    const DWORD style = GetStyle();
    const BOOL writable = !(style & (WS_DISABLED | ES_READONLY));
    int start = 0;
    int end = 0;
    switch (id)
    {
    case kCommandPaste:
        return writable && ::IsClipboardFormatAvailable(CF_TEXT);
    case kCommandCopy:
        GetSel(start, end);
        return start != end;
    case kCommandCut:
        GetSel(start, end);
        return start != end && writable;
    default:
        return TRUE;
    }
}

BOOL COSMCommandBarEditCtrl::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if ((nID == kCommandCut || nID == kCommandCopy || nID == kCommandPaste) && nCode == CN_UPDATE_COMMAND_UI && pExtra)
    {
        static_cast<CCmdUI*>(pExtra)->Enable(IsCommandEnabled(nID));
        return TRUE;
    }
    return FALSE;
}

BOOL COSMCommandBarEditCtrl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case kCommandPaste:
        SendMessage(WM_PASTE);
        return TRUE;
    case kCommandCut:
        SendMessage(WM_CUT);
        return TRUE;
    case kCommandCopy:
        SendMessage(WM_COPY);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL COSMCommandBarEditCtrl::DispatchEditKey(UINT key, LPARAM lParam)
{
    const BOOL editingKey = key == VK_BACK || (key >= VK_PRIOR && key <= VK_DELETE);
    const BOOL clipboardKey = (key == 'C' || key == 'V' || key == 'X' || key == 'Z') && ::GetKeyState(VK_CONTROL) < 0;
    if (!editingKey && !clipboardKey)
        return FALSE;
    SendKeyToDialogProcessing(m_hWnd, m_hWnd, key, lParam);
    return TRUE;
}

BOOL COSMCommandBarEditCtrl::ShowContextMenu(COSMControl* control, CPoint point)
{
    CString cut;
    if (!GetResourceManager()->LoadString(&cut, kCommandCut))
        return FALSE;
    COSMCommandBar* bar = control ? control->GetParent() : nullptr;
    COSMCommandBars* commandBars = control ? control->GetCommandBars() : nullptr;
    COSMMouseManager* mouse = commandBars ? commandBars->GetMouseManager() : CreateMouseManager();
    // A focused control holds the lock; the menu must be able to close on a click outside it.
    mouse->Unlock();

    ClientToScreen(&point);
    MSG waiting;
    if (::PeekMessageA(&waiting, m_hWnd, EM_SETSEL, EM_SETSEL, PM_NOREMOVE))
        SetSel(0, -1);

    const RefPtr<COSMPopupBar> popup = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars));
    if (!popup)
    {
        mouse->Lock();
        return FALSE;
    }
    for (UINT id : {kCommandCut, kCommandCopy, kCommandPaste})
    {
        if (COSMControl* item = popup->GetControls()->Add(1, static_cast<int>(id)))
            item->SetEnabled(IsCommandEnabled(id) ? 1 : 0);
    }
    popup->SetHideCaretWhileTracking(FALSE);

    UINT flags = kContextMenuFlags;
    if (bar && bar->GetSafeHwnd() && (bar->GetExStyle() & (WS_EX_LAYOUTRTL | WS_EX_RIGHT)))
        flags |= TPM_RIGHTALIGN;
    const int command = COSMCommandBars::TrackPopupMenu(popup.Get(), flags, point.x, point.y, this, nullptr, this);
    if (command > 0)
        OnCommand(static_cast<WPARAM>(command), 0);

    mouse->Lock();
    if (bar && bar->GetSafeHwnd())
    {
        bar->Redraw();
        bar->UpdateWindow();
    }
    return TRUE;
}

LRESULT COSMCommandBarEditCtrl::OnImeStartComposition(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    m_imeComposing = TRUE;
    return result;
}

LRESULT COSMCommandBarEditCtrl::OnImeEndComposition(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    m_imeComposing = FALSE;
    return result;
}

void COSMCommandBarEditCtrl::OnKillFocus(CWnd* newWindow)
{
    Default();
    m_imeComposing = FALSE;
}

void COSMCommandBarEditCtrl::OnPaint()
{
    Default();
    if (!m_opaquePaint)
        return;
    CClientDC dc(this);
    CRect client;
    GetClientRect(&client);
    MakeRectOpaque(&dc, client);
}

// ---- Auto-complete ----

namespace {

// A thread's auto-suggest hook and its owner: a hook is set per thread, so each UI thread keeps its own.
struct AutoSuggestHook
{
    ScopedHook hook;
    COSMShellAutoComplete* owner = nullptr;
};
CThreadLocal<AutoSuggestHook> g_autoSuggestHook;

}  // namespace

COSMShellAutoComplete* COSMShellAutoComplete::GetHookOwner()
{
    const AutoSuggestHook* state = g_autoSuggestHook.GetDataNA();
    return state ? state->owner : nullptr;
}

BOOL COSMShellAutoComplete::IsHookInstalled()
{
    const AutoSuggestHook* state = g_autoSuggestHook.GetDataNA();
    return state && state->hook;
}

COSMShellAutoComplete::~COSMShellAutoComplete()
{
    SetAutoSuggestHook(FALSE);
    SetDropDownWindow(nullptr);
}

HRESULT COSMShellAutoComplete::Attach(HWND edit, DWORD flags)
{
    m_edit = edit;
    HMODULE shlwapi = COSMCommandBarEditCtrl::s_pfnLoadLibrary("shlwapi.dll");
    if (!shlwapi)
        return E_FAIL;
    typedef HRESULT(WINAPI * AutoCompleteFunction)(HWND, DWORD);
    auto autoComplete =
        reinterpret_cast<AutoCompleteFunction>(reinterpret_cast<void*>(::GetProcAddress(shlwapi, "SHAutoComplete")));
    const HRESULT result = autoComplete ? autoComplete(edit, flags) : E_FAIL;
    ::FreeLibrary(shlwapi);
    return result;
}

void COSMShellAutoComplete::SetAutoSuggestHook(BOOL on)
{
    if (on)
    {
        AutoSuggestHook* state = g_autoSuggestHook.GetData();
        if (!state->hook)
        {
            state->hook.Reset(::SetWindowsHookExA(WH_CALLWNDPROC,
                                                  osm::GuardedHookProc<kAutoSuggestHookName, &AutoSuggestCallWndProc>,
                                                  nullptr, ::GetCurrentThreadId()));
            if (state->hook)
            {
                CreateKeyboardManager()->HookKeyboard(this);
                state->owner = this;
            }
        }
        return;
    }
    AutoSuggestHook* state = g_autoSuggestHook.GetDataNA();
    if (state && state->hook && state->owner == this)
    {
        state->hook.Reset();
        if (COSMKeyboardManager* keyboard = GetThreadKeyboardManager())
            keyboard->UnhookKeyboard(this);
        state->owner = nullptr;
    }
    SetDropDownWindow(nullptr);
}

void COSMShellAutoComplete::SetDropDownWindow(HWND dropDown)
{
    if (dropDown == m_dropDown)
        return;
    COSMMouseManager* mouse = CreateMouseManager();
    if (m_dropDown)
        mouse->RemoveSafeWindow(m_dropDown);
    m_dropDown = dropDown;
    if (dropDown)
        mouse->AddSafeWindow(dropDown);
}

void COSMShellAutoComplete::HideDropDown()
{
    if (m_dropDown)
        ::ShowWindow(m_dropDown, SW_HIDE);
}

BOOL COSMShellAutoComplete::ProcessDropDownKey(UINT key, LPARAM lParam)
{
    if (!m_dropDown)
        return FALSE;
    if (key != VK_UP && key != VK_DOWN && key != VK_NEXT && key != VK_PRIOR)
        return FALSE;
    if (::GetKeyState(VK_MENU) < 0)
        return FALSE;
    HWND list = ::GetWindow(::GetWindow(m_dropDown, GW_CHILD), GW_HWNDNEXT);
    if (!list)
        return FALSE;
    SendKeyToDialogProcessing(list, m_dropDown, key, lParam);
    return TRUE;
}

int COSMShellAutoComplete::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    return nMessage == WM_MOUSEWHEEL && m_dropDown ? kStop : kNotHandled;
}

LRESULT COSMShellAutoComplete::AutoSuggestCallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    COSMShellAutoComplete* owner = GetHookOwner();
    if (code == HC_ACTION && owner && message && message->message == WM_WINDOWPOSCHANGED && message->lParam)
    {
        const UINT flags = reinterpret_cast<const WINDOWPOS*>(message->lParam)->flags;
        if (owner->m_dropDown)
        {
            if (message->hwnd == owner->m_dropDown && (flags & SWP_HIDEWINDOW))
                owner->SetDropDownWindow(nullptr);
        }
        else if (flags & SWP_SHOWWINDOW)
        {
            char className[256] = {};
            ::GetClassNameA(message->hwnd, className, 255);
            if (::lstrcmpiA(className, "Auto-Suggest Dropdown") == 0)
            {
                owner->SetDropDownWindow(message->hwnd);
                ::PostMessageA(owner->m_edit, OSM_WM_AUTOSUGGESTSHOWN, 0, 0);
            }
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
