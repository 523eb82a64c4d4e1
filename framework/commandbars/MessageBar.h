// Stand-in: the controls subsystem replaces this file with its own message-bar classes under the same names.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"

// One button of a message bar.
struct COSMMessageBarButton
{
    CRect rect;
    BOOL pressed = FALSE;
    BOOL hot = FALSE;
    UINT id = 0;
};

class COSMMessageBar : public CCmdTarget
{
public:
    HWND GetSafeHwnd() const { return m_window; }
    void SetSafeHwnd(HWND window) { m_window = window; }
    BOOL HasCloseButton() const { return m_closeButton; }
    void SetCloseButton(BOOL closeButton) { m_closeButton = closeButton; }

    // The client rectangle inside the borders, less the close button's strip.
    static void GetInnerRect(const COSMMessageBar* bar, CRect* rect)
    {
        ::GetClientRect(bar->m_window, rect);
        rect->DeflateRect(2, 2);
        if (bar->m_closeButton)
            rect->right -= 18;
    }

private:
    HWND m_window = nullptr;
    BOOL m_closeButton = FALSE;
};
