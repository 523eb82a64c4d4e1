#include "classlib/CmdTarget.h"

#include "classlib/ThreadState.h"

using osm_classlib_detail::GetThreadState;

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

// The constructor and destructor live with the automation object they own (InterfaceMap.cpp).

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{AfxEntryKind::End, 0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &entries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

namespace {

bool IsCtlColorMessage(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

bool Matches(const AFX_MSGMAP_ENTRY& e, AfxEntryKind kind, UINT nMessage, UINT nCode, UINT nID)
{
    switch (kind)
    {
    case AfxEntryKind::Message:
        // One search serves plain, registered and WM_CTLCOLOR* entries, in the order the map lists them.
        if (e.kind == AfxEntryKind::Message)
            return e.nMessage == nMessage;
        if (e.kind == AfxEntryKind::RegisteredMessage)
            return nMessage != 0 && *e.pRegisteredMessage == nMessage;
        if (e.kind == AfxEntryKind::CtlColor)
            return IsCtlColorMessage(nMessage);
        return false;
    case AfxEntryKind::Command:
        // Notification codes travel as 16 bits in WM_COMMAND (CBN_ERRSPACE is -1 in the headers).
        return e.kind == kind && LOWORD(e.nCode) == LOWORD(nCode) && nID >= e.nID && nID <= e.nLastID;
    case AfxEntryKind::Notify:
        return e.kind == kind && e.nCode == nCode && nID >= e.nID && nID <= e.nLastID;
    case AfxEntryKind::ReflectCommand:
        return e.kind == kind && LOWORD(e.nCode) == LOWORD(nCode);
    case AfxEntryKind::ReflectNotify:
        return e.kind == kind && e.nCode == nCode;
    case AfxEntryKind::ReflectCtlColor:
        return e.kind == kind;
    case AfxEntryKind::ReflectMessage:
        return e.kind == kind && e.nMessage == nMessage;
    case AfxEntryKind::UpdateCommandUI:
        return e.kind == kind && nID >= e.nID && nID <= e.nLastID;
    case AfxEntryKind::ReflectUpdateCommandUI:
        return e.kind == kind;
    default:
        return false;
    }
}

}  // namespace

const AFX_MSGMAP_ENTRY* PASCAL CCmdTarget::FindMessageEntry(const AFX_MSGMAP* pMap, AfxEntryKind kind, UINT nMessage,
                                                            UINT nCode, UINT nID)
{
    for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->kind != AfxEntryKind::End; ++e)
        {
            if (Matches(*e, kind, nMessage, nCode, nID))
                return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::DispatchEntry(const AFX_MSGMAP_ENTRY* pEntry, AFX_MSGCALL& call)
{
    return pEntry->pfnThunk(this, call);
}

namespace {

// The reflected update: WM_REFLECT_BASE + WM_COMMAND in the high word, CN_UPDATE_COMMAND_UI in the low word.
constexpr UINT kReflectedUpdateCode = MAKELONG(static_cast<WORD>(CN_UPDATE_COMMAND_UI), WM_REFLECT_BASE + WM_COMMAND);

}  // namespace

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    const UINT code = static_cast<UINT>(nCode);
    AFX_MSGCALL call{WM_COMMAND, MAKEWPARAM(nID, nCode), 0, nID, code, 0, pExtra};
    const AFX_MSGMAP_ENTRY* e = nullptr;
    if (nCode == CN_UPDATE_COMMAND_UI)
    {
        // Only update entries: a control notification whose 16-bit code reads 0xFFFF (CBN_ERRSPACE) is not asked.
        e = FindMessageEntry(GetMessageMap(), AfxEntryKind::UpdateCommandUI, WM_COMMAND, code, nID);
    }
    else if (nCode == CN_EVENT)
    {
        return FALSE;  // no event entries; 0xFFFE must not reach a control-notification entry either
    }
    else if (code == kReflectedUpdateCode)
    {
        e = FindMessageEntry(GetMessageMap(), AfxEntryKind::ReflectUpdateCommandUI, WM_COMMAND, code, nID);
    }
    else if (HIWORD(code) == WM_NOTIFY)
    {
        auto* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        if (!pNotify)
            return FALSE;
        // The block's own code keeps the full 32 bits that MAKELONG cut to 16.
        call.message = WM_NOTIFY;
        call.nCode = pNotify->pNMHDR ? pNotify->pNMHDR->code : LOWORD(code);
        call.wParam = nID;
        call.lParam = reinterpret_cast<LPARAM>(pNotify->pNMHDR);
        e = FindMessageEntry(GetMessageMap(), AfxEntryKind::Notify, WM_NOTIFY, call.nCode, nID);
    }
    else if (HIWORD(code) == 0)
    {
        e = FindMessageEntry(GetMessageMap(), AfxEntryKind::Command, WM_COMMAND, code, nID);
    }
    if (!e)
        return FALSE;
    if (pHandlerInfo)
    {
        auto* pInfo = static_cast<AFX_CMDHANDLERINFO*>(pHandlerInfo);
        pInfo->pTarget = this;
        pInfo->pEntry = e;
        return TRUE;
    }
    const BOOL handled = DispatchEntry(e, call);
    if (handled && call.message == WM_NOTIFY)
    {
        auto* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        if (pNotify->pResult)
            *pNotify->pResult = call.result;
    }
    return handled;
}

DWORD CCmdTarget::InternalAddRef()
{
    return static_cast<DWORD>(m_dwRef.AddRef());
}

DWORD CCmdTarget::InternalRelease()
{
    const LONG count = m_dwRef.Release();
    // At 0 the count still reads 1 (see CRefCount), and the object may be gone when OnFinalRelease returns: nothing
    // here touches it afterwards.
    if (count == 0)
        OnFinalRelease();
    return static_cast<DWORD>(count);
}

void CCmdTarget::OnFinalRelease()
{
    delete this;
}

void AfxDoWaitCursor(int nCode)
{
    auto& state = GetThreadState();
    static const HCURSOR hcurWait = ::LoadCursor(nullptr, IDC_WAIT);
    if (nCode > 0)
    {
        HCURSOR previous = ::SetCursor(hcurWait);
        if (state.waitCursorCount++ == 0)
            state.hcurWaitRestore = previous;
    }
    else if (nCode < 0)
    {
        if (state.waitCursorCount > 0 && --state.waitCursorCount == 0)
        {
            ::SetCursor(state.hcurWaitRestore ? state.hcurWaitRestore : ::LoadCursor(nullptr, IDC_ARROW));
            state.hcurWaitRestore = nullptr;
        }
    }
    else if (state.waitCursorCount > 0)
    {
        ::SetCursor(hcurWait);
    }
}

void CCmdTarget::BeginWaitCursor()
{
    AfxDoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    AfxDoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor()
{
    AfxDoWaitCursor(0);
}

CWaitCursor::CWaitCursor()
{
    AfxDoWaitCursor(1);
}

CWaitCursor::~CWaitCursor()
{
    AfxDoWaitCursor(-1);
}

void CWaitCursor::Restore()
{
    AfxDoWaitCursor(0);
}
