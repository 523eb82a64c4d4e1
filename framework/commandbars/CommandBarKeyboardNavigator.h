// COSMCommandBarKeyboardNavigator: how a tracking bar answers the keys the keyboard manager offers it. Each bar owns
// one; the bar's virtual key operations (OnHookKeyDown, ProcessSpecialKey, FindAccel) hand their base handling to it,
// so a bar type that overrides them still reaches the common navigation:
//
//   int COSMPopupBar::OnHookKeyDown(UINT key, LPARAM lParam)
//   {
//       ...                                              // what only this bar type does
//       return COSMCommandBar::OnHookKeyDown(key, lParam);  // arrows, Tab, Ctrl+Tab, access keys
//   }
//
// It walks the bar's controls with the arrow keys, Home, End and Tab, moves between the manager's bars with Ctrl+Tab
// (Ctrl+Shift+Tab backwards), offers a toolbar's typed characters to the manager as frame access keys before it looks
// for an access key among its own controls, and runs Return, Escape and Space.
#pragma once

#include "classlib/ClassLibBase.h"

class COSMCommandBar;

class COSMCommandBarKeyboardNavigator
{
public:
    explicit COSMCommandBarKeyboardNavigator(COSMCommandBar& bar);
    COSMCommandBarKeyboardNavigator(const COSMCommandBarKeyboardNavigator&) = delete;
    COSMCommandBarKeyboardNavigator& operator=(const COSMCommandBarKeyboardNavigator&) = delete;

    // A key going down while the bar tracks: 0 not the bar's, 1 handled (eaten), 2 let through to its window.
    int OnHookKeyDown(UINT key, LPARAM lParam);
    // Navigation by kind (COSMCommandBar::SpecialKey); TRUE when handled.
    BOOL ProcessSpecialKey(int kind);
    // The control whose access key the virtual key types, searched once round from the one after the selection:
    // an '&' mnemonic first, else a first letter; -1 when none. ambiguous: another control has the same key.
    int FindAccel(UINT key, BOOL& ambiguous) const;

    // The navigation kind of an arrow, Home or End key (already swapped for right-to-left) on a bar that lies along
    // a row (horizontal) or down a column; -1 for other keys.
    static int NavigationKind(UINT key, BOOL horizontal);

private:
    // Ctrl+Tab: the manager activates the visible bar after (before, with Shift) the root bar; only when the root
    // bar is a toolbar (the menu bar among them).
    BOOL SwitchBar(BOOL backward);
    // A typed character: the bar's keyboard tips, then (toolbars only) the manager's frame access keys, then the
    // bar's own access keys; a key nothing takes beeps.
    int OnCharacterKey(UINT key);
    // The row-move step of ProcessSpecialKey in popup toolbars and floating bars.
    BOOL MoveToOtherRow(int kind);

    COSMCommandBar& m_bar;
};
