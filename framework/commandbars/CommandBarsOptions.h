// COSMCommandBarsOptions: the user's settings that all bars of one manager share: full or collapsed menus with their
// hidden and used commands, icon sizes and large icons, tooltips, customization gestures, menu animation and the
// keyboard cues. The manager makes and owns one (GetCommandBarsOptions) and saves it through the property exchange:
//
//   COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();
//   options->m_largeIcons = TRUE;
//   options->m_hiddenCommands.SetAt(ID_EDIT_PASTE_SPECIAL, 1);   // shown once the menu is expanded
//   options->Serialize(archive);                                  // the same values, in the same order, back
//
// Settings are plain fields: bars read them at layout and drawing time. The ones without a stored key in the table
// of DoPropExchange live for the session only.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/Map.h"

class COSMCommandBars;
class COSMPropExchange;

class COSMCommandBarsOptions : public CCmdTarget
{
    DECLARE_DYNAMIC(COSMCommandBarsOptions)

public:
    // Command ids as keys; a present id belongs to the set (its value is 1).
    typedef CMap<UINT, UINT, UINT, UINT> CCommandIdMap;

    // What "KeyboardCuesShow" holds.
    static constexpr long kCuesAlways = 0;
    static constexpr long kCuesNever = 1;
    static constexpr long kCuesFollowSystem = 2;

    // The schema written; older stores hold fewer keys.
    static constexpr DWORD kSchema = 34;

    // Asks the system whether menus underline their access keys before the keyboard is used (SPI_GETKEYBOARDCUES);
    // FALSE when the question cannot be answered. Tests replace it.
    using QueryKeyboardCuesFn = BOOL (*)(BOOL* underlined);
    static QueryKeyboardCuesFn s_pfnQueryKeyboardCues;

    // commandBars: the owning manager, or null for free-standing options.
    explicit COSMCommandBarsOptions(COSMCommandBars* commandBars = nullptr);
    ~COSMCommandBarsOptions() override;

    // Every stored value in the order of the store; loading an older schema leaves the keys it lacks alone.
    virtual void DoPropExchange(COSMPropExchange* px);
    // The same through an archive store over the archive.
    void Serialize(CArchive& ar) override;

    // Keeps the mode and tells the manager whether underlines show now and whether they follow the keyboard.
    void ShowKeyboardCues(long mode);

    // A command map under key: the map's own archive form in a sequential store, else a section with "Count" and
    // one "Item%i" per id.
    static void ExchangeCommandList(COSMPropExchange* px, LPCSTR key, CCommandIdMap& map);

    COSMCommandBars* GetCommandBars() const { return m_commandBars; }

    BOOL m_alwaysShowFullMenus = TRUE;
    BOOL m_showFullAfterDelay = TRUE;
    BOOL m_toolBarScreenTips = TRUE;
    BOOL m_toolBarAccelTips = FALSE;
    BOOL m_largeIcons = FALSE;
    BOOL m_syncFloatingBars = TRUE;
    BOOL m_showExpandButtonAlways = TRUE;
    BOOL m_dblClickFloat = FALSE;
    BOOL m_showTextBelowIcons = FALSE;
    BOOL m_altDragCustomization = TRUE;
    BOOL m_autoHideUnusedPopups = TRUE;
    // The user's usage or the bars' layout changed since it was last cleared (not stored).
    BOOL m_modified = FALSE;
    long m_animation = 0;
    // A bar whose root is a popup (a context menu) shows automatic shortcut texts only when set (not stored).
    BOOL m_showContextMenuShortcuts = FALSE;
    // Bars refresh their automatic shortcut texts (not stored).
    BOOL m_autoUpdateShortcuts = TRUE;
    // Bits for frame access keys: 2 off, 1 every visible bar takes them, 4 only '&' mnemonics.
    DWORD m_keyboardCuesUse = 1;
    // Bars put control descriptions on the status line (not stored).
    BOOL m_showStatusTexts = TRUE;
    // 0,0: the bar's own default.
    CSize m_iconsSize{0, 0};
    CSize m_largeIconsSize{0, 0};
    CSize m_popupIconsSize{0, 0};
    // Keypad keys may act as frame access keys (not stored).
    BOOL m_keypadAccessKeys = FALSE;
    // Commands without a handler are disabled by command-UI updates (not stored).
    BOOL m_disableCommandsWithoutHandler = TRUE;
    CCommandIdMap m_hiddenCommands;
    CCommandIdMap m_usedCommands;
    // Keyboard tips (not stored).
    BOOL m_keyboardTips = FALSE;
    // Popup bars show tooltips (not stored).
    BOOL m_popupToolTips = FALSE;
    // kCuesAlways, kCuesNever or kCuesFollowSystem.
    long m_keyboardCuesShow = kCuesAlways;

private:
    COSMCommandBars* m_commandBars;
};
