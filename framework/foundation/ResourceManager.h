// COSMResourceManager: the one place where the framework loads its resources (strings, menus, toolbars, bitmaps,
// cursors, dialog templates, HTML, icons) and shows its message boxes, in a current resource language whose code
// page converts every text and whose charset can go into fonts.
//
//   CString strTitle;
//   GetResourceManager()->LoadString(&strTitle, IDS_CUSTOMIZE);
//   if (GetResourceManager()->ShowMessageBoxById(IDS_CONFIRM_RESET, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) ...
//
// Each load looks in the framework's resource module first (when one is set and has the resource) and then in
// the class library's current resource module (AfxGetResourceHandle); a resource in neither gives FALSE or
// NULL. The manager is made on first use and deleted at exit.
#pragma once

#include "classlib/CString.h"
#include "framework/foundation/LanguageInfo.h"

#include <atomic>
#include <map>
#include <utility>

// What the resource manager needs of a toolbar: filling itself from its toolbar resource. The command bars'
// toolbar implements it; the manager runs it with the framework's resource module installed.
class COSMToolBarLoader
{
public:
    virtual ~COSMToolBarLoader() = default;
    // Fills the bar from the toolbar resource nIDResource (with its images when bLoadIcons); FALSE when the
    // resource is missing or unreadable.
    virtual BOOL LoadToolBar(UINT nIDResource, BOOL bLoadIcons) = 0;
};

class COSMResourceManager
{
public:
    COSMResourceManager();
    virtual ~COSMResourceManager();

    COSMResourceManager(const COSMResourceManager&) = delete;
    COSMResourceManager& operator=(const COSMResourceManager&) = delete;

    // ---- Loads ---------------------------------------------------------------------------------------------------
    // The string, with *pbMissing (when given) TRUE when it exists nowhere.
    virtual CString LoadStringValue(UINT nID, BOOL* pbMissing = nullptr);
    // FALSE, with the string empty, when the id exists nowhere.
    virtual BOOL LoadString(CString* pString, UINT nID);
    // The menu is attached to pMenu, which must not hold one yet.
    virtual BOOL LoadMenu(CMenu* pMenu, UINT nID);
    // The toolbar loads its own resource (with its images) while the framework's module is the class library's.
    virtual BOOL LoadToolBar(COSMToolBarLoader* pToolBar, UINT nID);
    // The bitmap is attached to pBitmap, which must not hold one yet.
    virtual BOOL LoadBitmap(CBitmap* pBitmap, UINT nID);
    // Loaded once per module and id and kept until the manager ends (shared: never destroy it).
    virtual HCURSOR LoadCursor(UINT nID);
    // The template of FindDialogTemplate, locked: valid as long as its module stays loaded.
    virtual LPCDLGTEMPLATE LoadDialogTemplate(UINT nID);
    virtual HGLOBAL FindDialogTemplate(LPCSTR lpszTemplateName);
    // The HTML resource's bytes as they are stored; FALSE when it is missing or empty.
    virtual BOOL LoadHTML(CString* pText, UINT nID);
    virtual HICON LoadIconById(UINT nID, int cx, int cy);
    // LoadImage of the icon at that size (0 x 0: the system's icon size).
    virtual HICON LoadIcon(LPCSTR lpszResourceName, int cx, int cy);
    // The image of the icon group that fits cx x cy best, made into an icon of that size. hModule NULL: the usual
    // search (the framework's module, then the class library's).
    virtual HICON CreateIconFromResource(HINSTANCE hModule, LPCSTR lpszResourceName, int cx, int cy);
    // Frees a resource library this manager loaded itself.
    virtual void Close();

    // ---- The resource language -----------------------------------------------------------------------------------
    virtual WORD GetResourcesLangID() const;
    // Takes the language of the framework's resource module (of the program itself while none is set).
    virtual void UpdateResourcesLangID();
    // A language missing from the table selects English (United States), 1033.
    void SetResourceLanguage(WORD wLanguage);
    const OSM_LANGUAGE_INFO* GetLanguageInfo() const { return m_pLanguage.load(); }
    // The current language's code page (0: the system's ANSI code page).
    UINT GetCodePage() const;
    // The charset for user-interface fonts: the system's icon-title font's, or, once EnableLanguageCharset is
    // on, the current language's. Off by default: a Cyrillic or Greek system keeps its own charset under the
    // default English language, whose charset is 0.
    BYTE GetFontCharset() const;
    void EnableLanguageCharset(BOOL bEnable = TRUE) { m_bLanguageCharset = bEnable != FALSE; }

    // ---- Text ----------------------------------------------------------------------------------------------------
    // String nID of hModule's string table, converted with the current code page; the result is its length in
    // bytes, 0 (and an empty string) when the entry is missing, empty or runs past its block.
    int LoadStringFromModule(HINSTANCE hModule, UINT nID, CString& rString) const;
    // The text of a menu item, converted with the current code page; returns its length in bytes.
    int GetMenuString(CMenu* pMenu, UINT nIDItem, CString& rString, UINT nFlags) const;

    // ---- Message boxes -------------------------------------------------------------------------------------------
    // The class library's message box; right-to-left reading for Hebrew and Arabic.
    int ShowMessageBox(LPCSTR lpszText, UINT nType);
    int ShowMessageBoxById(UINT nID, UINT nType);

    // ---- The framework's resource module -------------------------------------------------------------------------
    // Process-wide; NULL (the default) leaves every load to the class library's module.
    static HINSTANCE GetResourceHandle() { return s_hResourceModule.load(); }
    static void SetResourceHandle(HINSTANCE hModule) { s_hResourceModule.store(hModule); }
    // The first language of hModule's resources that is neither neutral nor 1033; else 1033 when it has 1033
    // ones; else 0. hModule NULL: the program's own executable.
    static WORD GetModuleResourceLanguage(HMODULE hModule);

protected:
    // Where the message boxes go; a test or a program with its own boxes replaces it.
    virtual int DoMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp);

    // The module to load a resource from: the framework's when it has the resource, else the class library's.
    static HINSTANCE FindResourceModule(LPCSTR lpszName, LPCSTR lpszType);

    HINSTANCE m_hResourceLibrary = nullptr;  // loaded by this manager, freed by Close
    std::atomic<const OSM_LANGUAGE_INFO*> m_pLanguage;
    std::atomic<bool> m_bLanguageCharset{false};
    BYTE m_nIconTitleCharset = DEFAULT_CHARSET;

private:
    static std::atomic<HINSTANCE> s_hResourceModule;

    // The cursors LoadCursor loaded, by module and id; owned.
    CRITICAL_SECTION m_cursorLock;
    std::map<std::pair<HINSTANCE, UINT>, HCURSOR> m_cursors;
};

// Builds the process's resource manager on the first call (deleted at exit) and returns it.
COSMResourceManager* CreateResourceManager();
// The process's resource manager; never NULL.
COSMResourceManager* GetResourceManager();
