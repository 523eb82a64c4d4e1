// CCmdTarget is the base of every class that receives commands and messages through a message map. A class declares
// DECLARE_MESSAGE_MAP() in its body and lists its handlers in the .cpp:
//
//   BEGIN_MESSAGE_MAP(CWizardDlg, CDialog)
//       ON_WM_PAINT()
//       ON_BN_CLICKED(IDC_CREATE_ISO, OnCreateIso)
//       ON_MESSAGE(WM_APP_PROGRESS, OnProgress)      // LRESULT OnProgress(WPARAM, LPARAM)
//       ON_REGISTERED_MESSAGE(g_msgTaskbar, OnTaskbar)
//   END_MESSAGE_MAP()
//
// Handlers are named by their member name (OnCreateIso, not &CWizardDlg::OnCreateIso). Each entry holds a small
// function, made by the macro, that casts the target to the map's class and calls the handler with the message's
// arguments cracked to the handler's types, so a handler with the wrong signature does not compile. Dispatch takes the
// first matching entry, searching the class's own map and then its bases' maps.
//
// Commands and updates also reach a target through OnCmdMsg(id, code, extra, handlerInfo), which picks the map's
// entries by the code:
//   CN_COMMAND (0)                 ON_COMMAND entries; with handlerInfo the entry is only reported, not run
//   CN_UPDATE_COMMAND_UI (-1)      ON_UPDATE_COMMAND_UI entries, extra the CCmdUI (CmdUI.h)
//   CN_EVENT (-2)                  no entries: a class that answers events overrides OnCmdMsg
//   0xBD11FFFF (the update, reflected: WM_REFLECT_BASE + WM_COMMAND high, CN_UPDATE_COMMAND_UI low)
//                                  the ON_UPDATE_COMMAND_UI_REFLECT entry of a control asked about itself, any id
//   MAKELONG(code, WM_NOTIFY)      ON_NOTIFY entries, extra an AFX_NOTIFY
//   any other 16-bit code          ON_CONTROL entries (control notifications sent in WM_COMMAND)
//
// A command target also carries a reference count for objects shared between owners (and threads), a CRefCount
// (RefCount.h). It starts at 1; InternalAddRef and InternalRelease change it atomically, and the release that gives up
// the last reference calls OnFinalRelease, which deletes the object. Nothing else ever deletes it, so members and
// locals that nobody releases are unaffected. RefPtr (RefPtr.h) holds references on targets.
// COM clients share the same count through the target's interface map (InterfaceMap.h) and its automation IDispatch.
#pragma once

#include "classlib/Object.h"
#include "classlib/InterfaceMap.h"
#include "classlib/RefCount.h"

#include <memory>

namespace osm_classlib_detail {
class CmdTargetDispatch;
}

class CCmdTarget;

// What an entry's function receives; it stores the message's result in `result`.
struct AFX_MSGCALL
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;    // command, control or notification id
    UINT nCode;  // notification code
    LRESULT result;
    void* pExtra = nullptr;  // what OnCmdMsg was given: the CCmdUI of an update
};

using AFX_PMSGTHUNK = BOOL (*)(CCmdTarget* pTarget, AFX_MSGCALL& call);

// How an entry is matched.
enum class AfxEntryKind : UINT
{
    End,
    Message,                 // nMessage
    RegisteredMessage,       // *pRegisteredMessage, read when the message arrives
    CtlColor,                // any WM_CTLCOLOR* message
    Command,                 // WM_COMMAND with nCode and an id in nID..nLastID
    Notify,                  // WM_NOTIFY with nCode and an id in nID..nLastID
    ReflectCommand,          // WM_COMMAND sent back to the control that sent it, nCode
    ReflectNotify,           // WM_NOTIFY sent back to its control, nCode
    ReflectCtlColor,         // WM_CTLCOLOR* sent back to the control being drawn
    ReflectMessage,          // another parent message (WM_DRAWITEM ...) sent back to its control, nMessage
    UpdateCommandUI,         // CN_UPDATE_COMMAND_UI for an id in nID..nLastID
    ReflectUpdateCommandUI,  // the reflected update a control gets about itself
};

struct AFX_MSGMAP_ENTRY
{
    AfxEntryKind kind;
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    const UINT* pRegisteredMessage;
    AFX_PMSGTHUNK pfnThunk;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP*(PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// A WM_NOTIFY routed through OnCmdMsg: nCode is MAKELONG(notification code, WM_NOTIFY), pExtra points at this.
struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// What OnCmdMsg reports instead of running the handler when it is given a handlerInfo.
struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
    const AFX_MSGMAP_ENTRY* pEntry;
};

#ifndef CN_COMMAND
#define CN_COMMAND 0
#endif
#define CN_UPDATE_COMMAND_UI (-1)
#define CN_EVENT (-2)
// Added to a parent message's number when the library sends it back to the control it came from.
#define WM_REFLECT_BASE 0xBC00

#define DECLARE_MESSAGE_MAP()                                                                                          \
protected:                                                                                                             \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();                                                               \
    virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                                                  \
    {                                                                                                                  \
        return GetThisMessageMap();                                                                                    \
    }                                                                                                                  \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap()                                                             \
    {                                                                                                                  \
        typedef theClass ThisClass;                                                                                    \
        typedef baseClass TheBaseClass;                                                                                \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                              \
    {                                                                                                                  \
        AfxEntryKind::End, 0, 0, 0, 0, nullptr, nullptr                                                                \
    }                                                                                                                  \
    }                                                                                                                  \
    ;                                                                                                                  \
    static_cast<void>(sizeof(ThisClass));                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};                      \
    return &messageMap;                                                                                                \
    }

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)

public:
    CCmdTarget();
    ~CCmdTarget() override;

    // Override these.
    // Routes a command, an update, a notification or a control notification to the map (see the header comment).
    // pHandlerInfo, when given, is an AFX_CMDHANDLERINFO: the matching entry is reported there instead of run.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);
    // Called once by the release that gives up the last reference; the base deletes the object. The count reads 1 while
    // it runs, so references taken and given back here (or in the destructor) cannot start a second final release; an
    // override that keeps the object alive leaves it with that count of 1.
    virtual void OnFinalRelease();

    // Not meant to be overridden: the reference count. Both return the new count; any thread may call them.
    DWORD InternalAddRef();
    DWORD InternalRelease();

    // Not meant to be overridden: COM. The External functions are what nested COM objects call for their
    // QueryInterface, AddRef and Release; they use the reference count above.
    HRESULT ExternalQueryInterface(REFIID iid, void** ppvObj);
    ULONG ExternalAddRef();
    ULONG ExternalRelease();
    // The interface of the map (or the automation IDispatch), without taking a reference; null when there is none.
    IUnknown* GetInterface(REFIID iid);
    // Gives the object an IDispatch (GetIDispatch). It has no type information and no late binding: its
    // GetTypeInfoCount, GetTypeInfo, GetIDsOfNames and Invoke answer E_NOTIMPL; it exists to be handed out as the
    // object's identity (accessibility passes objects around as IDispatch).
    void EnableAutomation();
    BOOL IsAutomationEnabled() const { return m_pDispatch != nullptr; }
    // Null until EnableAutomation; with bAddRef the caller gets a reference to release.
    IDispatch* GetIDispatch(BOOL bAddRef);

    // Not meant to be overridden: the hourglass cursor, counted so nested calls pair up.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    // For the library's own use.
    static const AFX_MSGMAP_ENTRY* PASCAL FindMessageEntry(const AFX_MSGMAP* pMap, AfxEntryKind kind, UINT nMessage,
                                                           UINT nCode, UINT nID);
    BOOL DispatchEntry(const AFX_MSGMAP_ENTRY* pEntry, AFX_MSGCALL& call);

    // The reference count (reads as a LONG), changed only through InternalAddRef and InternalRelease.
    CRefCount m_dwRef;

    DECLARE_MESSAGE_MAP()

protected:
    static const AFX_INTERFACEMAP* PASCAL GetThisInterfaceMap();
    virtual const AFX_INTERFACEMAP* GetInterfaceMap() const;

private:
    std::unique_ptr<osm_classlib_detail::CmdTargetDispatch> m_pDispatch;
};

// The IUnknown of a COM object nested in a command target (a member its interface map lists): QueryInterface, AddRef
// and Release are the owner's, so the object has no count of its own. The member's class derives from it and
// implements the interface's own methods.
template <class Interface> class CNestedInterface : public Interface
{
public:
    explicit CNestedInterface(CCmdTarget* pOwner) : m_pOwner(pOwner) {}
    virtual ~CNestedInterface() = default;
    CNestedInterface(const CNestedInterface&) = delete;
    CNestedInterface& operator=(const CNestedInterface&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override
    {
        return m_pOwner->ExternalQueryInterface(riid, ppvObject);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return m_pOwner->ExternalAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_pOwner->ExternalRelease(); }

protected:
    CCmdTarget* m_pOwner;
};

// Shows the hourglass for its lifetime.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore();
};

// 1 shows the hourglass, -1 takes one away, 0 shows it again after something else changed the cursor.
void AfxDoWaitCursor(int nCode);

// Building blocks of the entry macros: the body runs with `pThis` (the target as the map's class) and `osmCall`.
#define OSM_MSGMAP_ENTRY(kind, message, code, id, lastId, pRegistered, ...)                                            \
    {kind,                                                                                                             \
     static_cast<UINT>(message),                                                                                       \
     static_cast<UINT>(code),                                                                                          \
     static_cast<UINT>(id),                                                                                            \
     static_cast<UINT>(lastId),                                                                                        \
     pRegistered,                                                                                                      \
     [](CCmdTarget* osmTarget, [[maybe_unused]] AFX_MSGCALL& osmCall) -> BOOL {                                        \
         [[maybe_unused]] ThisClass* pThis = static_cast<ThisClass*>(osmTarget);                                       \
         __VA_ARGS__                                                                                                   \
     }},

#define OSM_ON_MESSAGE_BODY(message, ...)                                                                              \
    OSM_MSGMAP_ENTRY(AfxEntryKind::Message, message, 0, 0, 0, nullptr, __VA_ARGS__)

// Any message: LRESULT memberFxn(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn)                                                                                 \
    OSM_ON_MESSAGE_BODY(message, osmCall.result = pThis->memberFxn(osmCall.wParam, osmCall.lParam); return TRUE;)

// A message number from RegisterWindowMessage kept in a UINT variable: LRESULT memberFxn(WPARAM, LPARAM).
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                             \
    OSM_MSGMAP_ENTRY(AfxEntryKind::RegisteredMessage, 0, 0, 0, 0, &(nMessageVariable),                                 \
                     osmCall.result = pThis->memberFxn(osmCall.wParam, osmCall.lParam);                                \
                     return TRUE;)

// Menu and accelerator commands, and BN_CLICKED from buttons with that id: void memberFxn().
#define ON_COMMAND(id, memberFxn)                                                                                      \
    OSM_MSGMAP_ENTRY(AfxEntryKind::Command, WM_COMMAND, CN_COMMAND, id, id, nullptr, pThis->memberFxn(); return TRUE;)
// BOOL memberFxn(UINT id): FALSE lets the command go on to the default handling.
#define ON_COMMAND_EX(id, memberFxn)                                                                                   \
    OSM_MSGMAP_ENTRY(AfxEntryKind::Command, WM_COMMAND, CN_COMMAND, id, id, nullptr,                                   \
                     return pThis->memberFxn(osmCall.nID);)
// void memberFxn(UINT id) for every id in the range.
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                                        \
    OSM_MSGMAP_ENTRY(AfxEntryKind::Command, WM_COMMAND, CN_COMMAND, id, idLast, nullptr,                               \
                     pThis->memberFxn(osmCall.nID);                                                                    \
                     return TRUE;)

// Control notifications sent to the parent in WM_COMMAND: void memberFxn().
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                                         \
    OSM_MSGMAP_ENTRY(AfxEntryKind::Command, WM_COMMAND, wNotifyCode, id, id, nullptr, pThis->memberFxn(); return TRUE;)
// void memberFxn(UINT id) for every id in the range.
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                                           \
    OSM_MSGMAP_ENTRY(AfxEntryKind::Command, WM_COMMAND, wNotifyCode, id, idLast, nullptr,                              \
                     pThis->memberFxn(osmCall.nID);                                                                    \
                     return TRUE;)

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)

// WM_NOTIFY from a control: void memberFxn(NMHDR* pNMHDR, LRESULT* pResult).
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                          \
    OSM_MSGMAP_ENTRY(AfxEntryKind::Notify, WM_NOTIFY, wNotifyCode, id, id, nullptr,                                    \
                     pThis->memberFxn(reinterpret_cast<NMHDR*>(osmCall.lParam), &osmCall.result);                      \
                     return TRUE;)
// void memberFxn(UINT id, NMHDR* pNMHDR, LRESULT* pResult) for every id in the range.
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                                            \
    OSM_MSGMAP_ENTRY(AfxEntryKind::Notify, WM_NOTIFY, wNotifyCode, id, idLast, nullptr,                                \
                     pThis->memberFxn(osmCall.nID, reinterpret_cast<NMHDR*>(osmCall.lParam), &osmCall.result);         \
                     return TRUE;)
// BOOL memberFxn(UINT id, NMHDR* pNMHDR, LRESULT* pResult): FALSE lets the notification go on.
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                                       \
    OSM_MSGMAP_ENTRY(AfxEntryKind::Notify, WM_NOTIFY, wNotifyCode, id, id, nullptr,                                    \
                     return pThis->memberFxn(osmCall.nID, reinterpret_cast<NMHDR*>(osmCall.lParam), &osmCall.result);)

// BOOL memberFxn(UINT id, NMHDR* pNMHDR, LRESULT* pResult) for every id in the range: FALSE lets it go on.
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                                                         \
    OSM_MSGMAP_ENTRY(AfxEntryKind::Notify, WM_NOTIFY, wNotifyCode, id, idLast, nullptr,                                \
                     return pThis->memberFxn(osmCall.nID, reinterpret_cast<NMHDR*>(osmCall.lParam), &osmCall.result);)

// In a control's own map: notifications its parent did not handle come back to it. void memberFxn().
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                                     \
    OSM_MSGMAP_ENTRY(AfxEntryKind::ReflectCommand, WM_COMMAND, wNotifyCode, 0, 0, nullptr, pThis->memberFxn();         \
                     return TRUE;)
// BOOL memberFxn(): FALSE leaves the notification unhandled.
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                                                  \
    OSM_MSGMAP_ENTRY(AfxEntryKind::ReflectCommand, WM_COMMAND, wNotifyCode, 0, 0, nullptr, return pThis->memberFxn();)
// void memberFxn(NMHDR* pNMHDR, LRESULT* pResult).
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                                      \
    OSM_MSGMAP_ENTRY(AfxEntryKind::ReflectNotify, WM_NOTIFY, wNotifyCode, 0, 0, nullptr,                               \
                     pThis->memberFxn(reinterpret_cast<NMHDR*>(osmCall.lParam), &osmCall.result);                      \
                     return TRUE;)
// BOOL memberFxn(NMHDR* pNMHDR, LRESULT* pResult).
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                                                   \
    OSM_MSGMAP_ENTRY(AfxEntryKind::ReflectNotify, WM_NOTIFY, wNotifyCode, 0, 0, nullptr,                               \
                     return pThis->memberFxn(reinterpret_cast<NMHDR*>(osmCall.lParam), &osmCall.result);)
