// Stand-in: the command-bars subsystem replaces this file with its own COSMDockBar under the same name.
#pragma once

#include "classlib/ClassLib.h"

class COSMDockBar : public CCmdTarget
{
public:
    HWND GetSafeHwnd() const { return m_window; }
    void SetSafeHwnd(HWND window) { m_window = window; }

private:
    HWND m_window = nullptr;
};
