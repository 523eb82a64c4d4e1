// One of the five boxes of the product key on the main page. The page limits each box to five characters and
// chains them left to right with SetNextEdit:
//
//   m_key[0].SetNextEdit(m_key[1]);   // ... the last box has no next one
//
// Typing the fifth character moves the focus to the next box. A key pasted into a box (WM_PASTE: Ctrl+V,
// Shift+Insert, the context menu) spreads over that box and the ones after it, five characters each, whether it
// comes with dashes, blanks or line breaks or without; the boxes it does not reach are cleared. The clipboard is
// only read. The box's parent must reflect EN_CHANGE to it (every dialog of the class library does).
#pragma once

#include "classlib/ClassLib.h"

#include <string>

class CProductKeyEdit : public CEdit
{
    DECLARE_DYNAMIC(CProductKeyEdit)

public:
    static constexpr int kGroupLength = 5;

    CProductKeyEdit() = default;

    void SetNextEdit(HWND hWndNext) { m_hWndNext = hWndNext; }
    HWND GetNextEdit() const { return m_hWndNext; }

    // The characters of a key as a pasted text holds them: dashes, blanks, tabs and line breaks left out.
    static std::string RemoveKeySeparators(const std::string& text);

protected:
    afx_msg void OnChange();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    void PasteKey();

    HWND m_hWndNext = nullptr;
};
