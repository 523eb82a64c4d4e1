// COSMMenuBar: the toolbar that stands in for the site frame's menu. It fills itself from a menu resource, takes the
// native menu off the frame (and gives it back when either goes), and in an MDI frame follows the active document
// window: while that window is maximized the bar shows its system-menu popup first and its minimize, restore and
// close buttons last, and each document template's menu gets its own (customizable) set of controls.
//
//   auto* menuBar = static_cast<COSMMenuBar*>(commandBars->AddMenuBar("Menu Bar", IDR_MAINFRAME));
//   // or by hand: new COSMMenuBar, SetCommandBars, SetPosition(0), AddCommandBar, LoadMenuBar(IDR_MAINFRAME)
//
// The bar listens to the frame, the MDI client and the active child through the hook manager with its own sink; MDI
// changes are looked at once the MDI framework finished them (a posted WM_TIMER 12223).
#pragma once

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/Map.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/ToolBar.h"

#include <utility>
#include <vector>

class COSMMenuBar;

// The controls of one document template's menu, kept while another template's menu shows.
class COSMMenuBarMDIMenuInfo : public CCmdTarget
{
    DECLARE_DYNAMIC(COSMMenuBarMDIMenuInfo)

public:
    // A new empty collection for the manager, the icon of the id and the strings of the application's first
    // template of that resource id (empty when none has it).
    COSMMenuBarMDIMenuInfo(COSMCommandBars* commandBars, UINT menuId);
    ~COSMMenuBarMDIMenuInfo() override;

    // Takes over the caller's reference (null leaves none).
    void SetControls(COSMControls* controls);

    RefPtr<COSMControls> m_controls;
    CString m_docName;
    CString m_fileTypeName;
    HICON m_icon = nullptr;
    UINT m_menuId = 0;
    BOOL m_changed = FALSE;
};

// Menu id -> record; the map holds one reference on each record. Its walking order is the class library's map order
// (buckets (id >> 4) mod 17 in order, the most recent key of a bucket first), which is the order records are stored.
class COSMMenuBarMDIMenus : public CMap<UINT, UINT, COSMMenuBarMDIMenuInfo*, COSMMenuBarMDIMenuInfo*>
{
public:
    explicit COSMMenuBarMDIMenus(COSMMenuBar* menuBar) : CMap(10), m_menuBar(menuBar) {}
    ~COSMMenuBarMDIMenus() override { RemoveAllRecords(); }

    // Takes over the caller's reference; a record already stored for the id is released.
    void SetRecord(UINT menuId, COSMMenuBarMDIMenuInfo* record);
    // Null when the id has none.
    COSMMenuBarMDIMenuInfo* GetRecord(UINT menuId) const;
    // Releases the id's record.
    void RemoveRecord(UINT menuId);
    void RemoveAllRecords();
    // Every (id, record) in walking order.
    std::vector<std::pair<UINT, COSMMenuBarMDIMenuInfo*>> GetRecords() const;
    COSMMenuBar* GetMenuBar() const { return m_menuBar; }

private:
    COSMMenuBar* m_menuBar;
};

class COSMMenuBar : public COSMToolBar
{
    DECLARE_SERIAL(COSMMenuBar)

public:
    // Bar flags: no minimize button, no restore button, no template switching, no close button, the system popup.
    static constexpr DWORD kFlagNoMinimizeButton = 0x100;
    static constexpr DWORD kFlagNoRestoreButton = 0x200;
    static constexpr DWORD kFlagNoMenuSwitching = 0x400;
    static constexpr DWORD kFlagNoCloseButton = 0x1000;
    static constexpr DWORD kFlagSystemPopup = 0x2000;
    // The ids of the MDI controls.
    static constexpr UINT kCloseButtonId = 9151;
    static constexpr UINT kRestoreButtonId = 9152;
    static constexpr UINT kMinimizeButtonId = 9153;
    static constexpr UINT kSystemPopupId = 9154;
    // The posted WM_TIMER id that looks at the MDI state again.
    static constexpr UINT_PTR kTimerRefreshMdi = 12223;
    // Sent to an MDI child for its icon (a non-zero answer is the icon).
    static constexpr UINT kMessageGetChildIcon = 10336;

    COSMMenuBar();
    ~COSMMenuBar() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Fills the bar from the menu resource (0 keeps the controls) and attaches it to the frame; FALSE, with nothing
    // hooked, when the menu does not load or gives no controls.
    virtual BOOL LoadMenuBar(UINT menuId);
    // Shows the controls of another template's menu (menu: the template's shared menu, or null).
    virtual void SwitchMDIMenu(UINT menuId, CMenu* menu);
    // The system-menu popup and the three buttons follow the active child.
    virtual void RefreshMdiButtons();

    // The toolbar part, "ResourceId" and the current menu id, and for every record of the source a record of the
    // same id holding a duplicate of its controls (snapshot included); a record of that id here lets its controls go.
    // (The toolbar's Clone makes a menu bar and copies through this.)
    void Copy(const COSMCommandBar* source, BOOL recursive) override;
    void Reset(BOOL ask) override;
    BOOL IsCustomized() const override;

    // ---- Saving and loading (MenuBarExchange.cpp) ------------------------------------------------------------
    // The toolbar keys, "ResourceId" and one "MDIMenu%i" section per template record with changed controls; the
    // bar shows its own menu again before storing. A loaded bar shows the menu of its "ResourceId".
    void DoPropExchange(COSMPropExchange* px) override;
    // The bar, then the popups reached from every template record's controls.
    void GenerateCommandBarList(DWORD& nextId, COSMCommandBarList* list, COSMCommandBarsPersistParams* params) override;
    void RestoreCommandBarList(COSMCommandBarList* list) override;
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Hooks the site frame (and its MDI client), registers the system-command images and takes the frame's menu off.
    void SetupHook();
    // The frame menu changed to menu (wParam of WM_MDISETMENU): the template's controls show.
    void OnMDISetMenu(HMENU menu);
    // Asks the MDI client for the active child, follows it with the hook (unless a document object runs in place),
    // then rebuilds the MDI controls.
    void RefreshMdiState();
    // The frame's active document is an OLE document whose item in place is a document object's.
    BOOL IsDocObjectInPlaceActive() const;
    // Before comparing or storing: back to the bar's own menu, and each record knows whether it changed.
    void PrepareForSaving();
    // The frame gets its own menu back.
    void RestoreFrameMenu();

    BOOL IsMDIFrame() const { return m_mdiFrame; }
    HWND GetHookedChild() const { return m_hookedChild; }
    HMENU GetSavedFrameMenu() const { return m_savedFrameMenu; }
    UINT GetResourceId() const { return m_resourceId; }
    UINT GetCurrentMenuId() const { return m_currentMenuId; }
    COSMMenuBarMDIMenus* GetMDIMenus() const { return m_mdiMenus.get(); }
    BOOL IsSwitchedForSaving() const { return m_switchedForSaving; }
    // The active MDI child and whether it is maximized; null unless the site is an MDI frame.
    HWND GetActiveMdiChild(BOOL* maximized) const;

protected:
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // The frame's MDI client window, or null.
    HWND GetMdiClient() const;
    void RefreshSystemPopup(HWND child, BOOL maximized);
    void RefreshMdiButton(UINT id, BOOL wanted, BOOL anyMaximized);
    // A record's controls become the bar's (a reference taken, parent set); the MDI controls stay behind.
    void AdoptControls(COSMControls* controls);
    // The site's window, or null.
    HWND GetSiteHwnd() const;

    BOOL m_mdiFrame = FALSE;
    HWND m_hookedChild = nullptr;
    HMENU m_savedFrameMenu = nullptr;
    UINT m_resourceId = 0;
    UINT m_currentMenuId = 0;
    std::unique_ptr<COSMMenuBarMDIMenus> m_mdiMenus;
    BOOL m_switchedForSaving = FALSE;
};
