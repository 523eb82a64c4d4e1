// Stand-in: the ribbon subsystem replaces this file with its own COSMRibbonFrame under the same name.
#pragma once

#include "classlib/FrameMessages.h"
#include "classlib/Wnd.h"

// The part of a frame window that a ribbon draws: whether it draws the window frame, and the status bar that frame
// runs around. A frame that has one answers the registered query message (GetQueryMessage) with its address.
class COSMRibbonFrame
{
public:
    explicit COSMRibbonFrame(CWnd* frame = nullptr) : m_frame(frame) {}

    static UINT GetQueryMessage()
    {
        static const UINT message = ::RegisterWindowMessageA("OsmiraRibbonFrameQuery");
        return message;
    }

    void SetFrame(CWnd* frame) { m_frame = frame; }
    // Whether the ribbon draws the window frame itself.
    void EnableFrameDrawing(BOOL enable = TRUE) { m_frameDrawing = enable; }
    BOOL IsFrameDrawing() const { return m_frameDrawing; }

    // TRUE, with the height of the frame's status bar (child 0xE801), when the ribbon draws the window frame and
    // that child exists and is visible.
    BOOL GetStatusBarHeight(int* height) const
    {
        const HWND frame = m_frame ? m_frame->GetSafeHwnd() : nullptr;
        const HWND statusBar = frame ? ::GetDlgItem(frame, AFX_IDW_STATUS_BAR) : nullptr;
        if (!m_frameDrawing || !statusBar || !::IsWindowVisible(statusBar))
            return FALSE;
        RECT rect{};
        ::GetWindowRect(statusBar, &rect);
        if (height)
            *height = rect.bottom - rect.top;
        return TRUE;
    }

private:
    CWnd* m_frame;
    BOOL m_frameDrawing = FALSE;
};
