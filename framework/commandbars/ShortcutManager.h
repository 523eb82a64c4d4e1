// COSMShortcutManager: the keyboard shortcuts of one command-bars manager. It keeps the table of shortcuts, writes a
// shortcut as the text a menu shows ("Ctrl+Shift+F5", "Ctrl+K, Ctrl+C"), reads such a text back, picks the shortcut
// a control shows beside its caption, and saves the table through the property exchange:
//
//   COSMShortcutManager* shortcuts = commandBars->GetShortcutManager();
//   shortcuts->GetAccelTable()->Add(COSMShortcutManagerAccel(ID_FILE_SAVE, FVIRTKEY | FCONTROL, 'S'));
//   CString text;
//   shortcuts->FindDefaultAccelerator(ID_FILE_SAVE, text);        // "Ctrl+S"
//
// While the table is empty and no default table is set, shortcut texts come from the site frame's own accelerator
// table (CFrameWnd::m_hAccelTable). Key names come from a fixed English table; keys it does not name are asked of
// the keyboard layout (or the layout first, with SetSystemKeyNamesFirst); a key without any name is written as
// "0x" and its code. Every virtual-key stroke that is written reads back as the same key and modifiers.
#pragma once

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/Map.h"
#include "framework/commandbars/ShortcutManagerAccel.h"

#include <memory>

class COSMCommandBars;
class COSMPropExchange;

class COSMShortcutManager : public CCmdTarget
{
    DECLARE_DYNAMIC(COSMShortcutManager)

public:
    // The first exchange schema whose stores hold 12-byte entries; older ones hold Windows ACCELs.
    static constexpr long kFirstSchemaWithEntries = 33;
    // More shortcuts than this in a store mean the store is damaged.
    static constexpr DWORD kMaxStoredShortcuts = 65535;

    // One name of the key-name table.
    struct KeyName
    {
        WORD key;
        const char* name;
    };
    // The key-name table, in the order a name is looked up (the first key of a name wins: 91 for "Win").
    static const KeyName* GetKeyNameTable(int* count);

    // The keyboard layout's name of a key (GetKeyNameTextA's contract); tests replace it, since every system names
    // keys its own way.
    using KeyNameTextFn = int(WINAPI*)(LONG lParam, LPSTR buffer, int size);
    static KeyNameTextFn s_pfnGetKeyNameText;

    explicit COSMShortcutManager(COSMCommandBars* commandBars);
    ~COSMShortcutManager() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // The text of the command's best shortcut: text stays when it already is one of the command's shortcuts, else
    // it becomes the shortcut with the fewest modifiers (a plain key, then Ctrl, Alt, Shift); empty and FALSE when
    // the command has none. An empty table without a default table asks the frame's accelerators instead.
    virtual BOOL FindDefaultAccelerator(UINT command, CString& text);
    // The entry's text; priority (optional) ranks it: 4 no modifier, 3 Ctrl, 2 Alt, 1 Shift.
    virtual void FormatShortcutText(const COSMShortcutManagerAccel& entry, CString& text, int* priority = nullptr);
    // The table's name, else the keyboard layout's (the other way round with system names first); empty for none.
    virtual CString FormatKeyName(UINT key);
    // Whether the entry may be added: a shortcut with Ctrl, Shift or Alt always; a plain Escape only when allowed.
    virtual BOOL OnBeforeAdd(const COSMShortcutManagerAccel& entry);
    // Storing writes the table; loading replaces it only when every stored shortcut arrived. The schema that
    // decides the stored form is the exchange's, as the caller left it. A sequential store that is damaged raises
    // the archive's failure (CArchiveException) with the table unchanged.
    virtual void DoPropExchange(COSMPropExchange* px);
    virtual COSMShortcutManagerAccelTable* GetAccelTable() { return m_accelTable.get(); }
    // Back to a copy of the default table; nothing without one.
    virtual void Reset();

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The same search over the site frame's accelerator table; FALSE when the site is no frame or has no table.
    BOOL FindFrameAccelerator(UINT command, CString& text);
    // Reads a text as written by FormatShortcutText into the entry's strokes (the command is left alone); FALSE
    // unless every stroke names a key.
    BOOL ParseShortcutText(const CString& text, COSMShortcutManagerAccel& entry);
    // The table Reset goes back to (copied; null: none, and an empty table falls back to the frame's).
    void SetDefaultAccelTable(const COSMShortcutManagerAccelTable* table);
    const COSMShortcutManagerAccelTable* GetDefaultAccelTable() const { return m_defaultTable.get(); }

    // The name of the key-name table; empty when it has none.
    CString GetTableKeyName(UINT key) const;
    // The keyboard layout's name, lower case but for its first letter ("Page up"); empty for key 3 and for none.
    CString GetLayoutKeyName(UINT key) const;

    BOOL IsEscapeAllowed() const { return m_allowEscape; }
    void AllowEscape(BOOL allow) { m_allowEscape = allow; }
    BOOL IsSystemKeyNamesFirst() const { return m_systemKeyNamesFirst; }
    void SetSystemKeyNamesFirst(BOOL first) { m_systemKeyNamesFirst = first; }
    COSMCommandBars* GetCommandBars() const { return m_commandBars; }

private:
    CString FormatStroke(const COSMShortcutManagerAccel::Stroke& stroke);
    BOOL ParseStroke(CString text, COSMShortcutManagerAccel::Stroke& stroke);
    // The first key of the key-name table whose written name is the text; 0 for none.
    WORD FindTableKeyByName(const CString& text);
    // The key whose written name is the text (the table's keys first, then every other key); 0 for none.
    WORD FindKeyByName(const CString& text);
    // The best text among the table's entries of the command (FindDefaultAccelerator's rules).
    BOOL FindBestText(const COSMShortcutManagerAccelTable& table, UINT command, CString& text);
    void LoadSequential(COSMPropExchange* px, COSMShortcutManagerAccelTable& loaded);
    BOOL LoadNamed(COSMPropExchange* px, COSMShortcutManagerAccelTable& loaded);

    BOOL m_allowEscape = FALSE;
    BOOL m_systemKeyNamesFirst = FALSE;
    std::unique_ptr<COSMShortcutManagerAccelTable> m_accelTable;
    std::unique_ptr<COSMShortcutManagerAccelTable> m_defaultTable;
    COSMCommandBars* m_commandBars;
    CMap<WORD, WORD, CString, LPCSTR> m_keyNames;
};
