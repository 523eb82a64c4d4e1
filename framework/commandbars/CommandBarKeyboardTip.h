// Stand-in: the command-bars subsystem replaces this file with its own COSMCommandBarKeyboardTip under the same
// name.
#pragma once

#include "classlib/ClassLib.h"

// One keyboard tip's window.
class COSMCommandBarKeyboardTip : public CCmdTarget
{
public:
    HWND GetSafeHwnd() const { return m_window; }
    void SetSafeHwnd(HWND window) { m_window = window; }
    const CString& GetText() const { return m_text; }
    void SetText(const CString& text) { m_text = text; }
    BOOL IsEnabled() const { return m_enabled; }
    void SetEnabled(BOOL enabled) { m_enabled = enabled; }

private:
    HWND m_window = nullptr;
    CString m_text;
    BOOL m_enabled = TRUE;
};
