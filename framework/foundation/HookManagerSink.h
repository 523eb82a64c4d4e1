// COSMHookManagerSink: a listener to the messages of a window its owner does not own (a frame, an MDI client, a
// popup's owner). Classes carry it as an extra base or member and register it with the hook manager:
//
//   class CMyBar : public CWnd, public COSMHookManagerSink
//   {
//       int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override
//       {
//           if (nMessage != WM_ACTIVATEAPP)
//               return kNotHandled;
//           OnFrameActivated(wParam != 0);
//           return kNotHandled;                      // the frame still gets its own processing
//       }
//   };
//   GetHookManager()->SetHook(frame, pBar);          // and RemoveAll(pBar) before the bar goes
//
// The manager never deletes a sink unless its auto-delete flag is set; whoever owns a sink removes it from the
// manager before deleting it.
#pragma once

#include "classlib/ClassLibBase.h"

class COSMHookManagerSink
{
public:
    // Answers of OnHookMessage.
    static constexpr int kNotHandled = 0;  // ask the next sink
    static constexpr int kHandled = 1;     // lResult is the window's answer; its own procedure is not called
    static constexpr int kStop = 2;        // ask no further sink, but let the window's procedure run

    COSMHookManagerSink() = default;
    virtual ~COSMHookManagerSink();
    COSMHookManagerSink(const COSMHookManagerSink&) = delete;
    COSMHookManagerSink& operator=(const COSMHookManagerSink&) = delete;

    // Override this. A sink may change wParam and lParam: the window's procedure receives the changed values.
    virtual int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) = 0;

    // When set, the manager deletes the sink as it removes it from its window (or drops the window), so such a
    // sink must be hooked to one window only.
    BOOL m_bAutoDelete = FALSE;
};
