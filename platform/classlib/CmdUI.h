// CCmdUI asks the program whether a command is available: it is routed through OnCmdMsg with CN_UPDATE_COMMAND_UI
// to the ON_UPDATE_COMMAND_UI entry of the command's id, whose handler says what the item shows:
//
//   BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
//       ON_COMMAND(ID_FILE_SAVE, OnFileSave)
//       ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateFileSave)    // void OnUpdateFileSave(CCmdUI* pCmdUI)
//   END_MESSAGE_MAP()
//
//   void CMainFrame::OnUpdateFileSave(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bModified); }
//
// DoUpdate does the asking: an update handler decides when there is one; without one, and when the caller asks to
// disable commands nobody handles, the item is enabled exactly when the target has an ON_COMMAND entry for the id
// (found without running it). The base class updates the window m_pOther (a dialog control); the bars and menus
// derive their own CCmdUI for the items they show. A control can also answer for itself with
// ON_UPDATE_COMMAND_UI_REFLECT in its own map (CWnd::UpdateDialogControls asks it first).
#pragma once

#include "classlib/Wnd.h"

class CCmdUI
{
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;
    CCmdUI(const CCmdUI&) = delete;
    CCmdUI& operator=(const CCmdUI&) = delete;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Each marks what the handler said; the base applies it to m_pOther when there is one.
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 off, 1 on, 2 indeterminate
    virtual void SetText(LPCSTR lpszText);

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Called by an update handler that wants the next target in the route to decide instead.
    void ContinueRouting() { m_bContinueRouting = TRUE; }
    // Asks pTarget (see the header comment). Ids 0 and 0xFFFF name no command: nothing is asked.
    void DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CWnd* m_pOther = nullptr;       // the window being updated, or null
    BOOL m_bEnableChanged = FALSE;  // Enable was called during the update
    BOOL m_bContinueRouting = FALSE;
};

// Update entries: void memberFxn(CCmdUI* pCmdUI). A handler that calls ContinueRouting leaves the update unanswered.
#define OSM_CMDUI_BODY                                                                                                 \
    auto* osmCmdUI = static_cast<CCmdUI*>(osmCall.pExtra);                                                             \
    osmCmdUI->m_bContinueRouting = FALSE;

#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                                            \
    OSM_MSGMAP_ENTRY(AfxEntryKind::UpdateCommandUI, WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, nullptr,                 \
                     OSM_CMDUI_BODY pThis->memberFxn(osmCmdUI);                                                        \
                     return !osmCmdUI->m_bContinueRouting;)
// For every id in the range; the handler reads pCmdUI->m_nID.
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                                              \
    OSM_MSGMAP_ENTRY(AfxEntryKind::UpdateCommandUI, WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, nullptr,             \
                     OSM_CMDUI_BODY pThis->memberFxn(osmCmdUI);                                                        \
                     return !osmCmdUI->m_bContinueRouting;)
// In a control's own map: the control updates itself, whatever its id.
#define ON_UPDATE_COMMAND_UI_REFLECT(memberFxn)                                                                        \
    OSM_MSGMAP_ENTRY(AfxEntryKind::ReflectUpdateCommandUI, WM_COMMAND, CN_UPDATE_COMMAND_UI, 0, 0, nullptr,            \
                     OSM_CMDUI_BODY pThis->memberFxn(osmCmdUI);                                                        \
                     return !osmCmdUI->m_bContinueRouting;)
