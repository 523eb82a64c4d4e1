// COSMRibbonFrame: the part of a frame window a ribbon draws. A ribbon bar makes it for its site frame while its frame
// theme is on (COSMRibbonBar::EnableFrameTheme): the ribbon then draws the caption with its own caption buttons,
// the frame gets the frame paint manager's window region (or, with desktop composition, glass as deep as the
// caption), and the frame answers the registered query message (GetQueryMessage) with this object.
//
// Made alone (no ribbon), it is what the status bar asks a frame for: GetStatusBarHeight answers while frame drawing
// is on (EnableFrameDrawing).
#pragma once

#include "classlib/FrameMessages.h"
#include "classlib/RefPtr.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/Controls.h"
#include "framework/foundation/DwmWrapper.h"
#include "framework/foundation/HookManagerSink.h"

#include <vector>

class COSMRibbonBar;
class COSMCommandBars;

// With a ribbon it hooks the frame window: while the ribbon supplies the caption, the client area reaches up to the
// top border (WM_NCCALCSIZE) and the frame painter draws the borders (WM_NCPAINT); activation, title and icon
// changes redraw them instead of the system's caption.
class COSMRibbonFrame : public COSMHookManagerSink
{
public:
    explicit COSMRibbonFrame(CWnd* frame = nullptr, COSMRibbonBar* ribbon = nullptr);
    ~COSMRibbonFrame() override;
    COSMRibbonFrame(const COSMRibbonFrame&) = delete;
    COSMRibbonFrame& operator=(const COSMRibbonFrame&) = delete;

    static UINT GetQueryMessage()
    {
        static const UINT message = ::RegisterWindowMessageA("OsmiraRibbonFrameQuery");
        return message;
    }

    void SetFrame(CWnd* frame) { m_frame = frame; }
    CWnd* GetFrame() const { return m_frame; }
    HWND GetFrameHwnd() const { return m_frame ? m_frame->GetSafeHwnd() : nullptr; }
    COSMRibbonBar* GetRibbonBar() const { return m_ribbon; }
    // Whether the ribbon draws the window frame itself (on for a ribbon's frame object).
    void EnableFrameDrawing(BOOL enable = TRUE) { m_frameDrawing = enable; }
    BOOL IsFrameDrawing() const { return m_frameDrawing; }

    // TRUE, with the height of the frame's status bar (child 0xE801), when the ribbon draws the window frame and
    // that child exists and is visible.
    BOOL GetStatusBarHeight(int* height) const;

    // The frame window's GWL_EXSTYLE (ex) or GWL_STYLE; 0 without a window.
    DWORD GetStyle(BOOL ex) const;
    // Gives the frame its region for the size (or extends the glass with composition); nothing for the size it
    // already has unless forced, and never while it runs already.
    void SetFrameRegion(int cx, int cy, BOOL force);
    void UpdateFrameRegion();
    // TRUE while the frame keeps its own caption: no ribbon, the ribbon hidden or folded, not docked on top, or a
    // minimized child frame.
    BOOL IsCaptionStandard() const;
    // The caption's height: the ribbon's caption strip (or the standard caption), plus the frame border.
    int GetCaptionHeight() const;
    // Asks the frame for a layout at its next idle time (WM_IDLEUPDATECMDUI posted).
    void PostRecalcLayout();
    // The frame takes its new non-client size and lays out again; the ribbon redraws.
    void RefreshFrame();

    // The desktop-composition calls the frame objects make: the process-wide table, or the one a test sets.
    static COSMDwmFunctions* s_pDwmFunctions;
    static COSMDwmWrapper GetDwmWrapper()
    {
        return s_pDwmFunctions ? COSMDwmWrapper(*s_pDwmFunctions) : COSMDwmWrapper();
    }

    // Whether the frame is drawn active (its caption and border colours); active until told otherwise.
    BOOL IsActive() const { return m_active; }
    void SetActive(BOOL active) { m_active = active; }
    // The caption buttons the frame painter draws with a full caption of the frame's own (the ribbon's caption
    // buttons sit on the ribbon bar instead), in window coordinates; filled while the frame draws its own caption.
    COSMControls* GetCaptionButtons() const { return m_captionButtons.Get(); }

    // Which caption buttons the frame's styles ask for, in order from the right: close, restore (maximized) or
    // maximize, minimize; a maximized child has none, composition leaves them to the system.
    struct CaptionButtonRule
    {
        UINT id;
        BOOL shown;
        BOOL enabled;
    };
    std::vector<CaptionButtonRule> GetCaptionButtonRules() const;
    // TRUE while the ribbon is hidden, folded or not on top and the frame's caption is its own: the frame object
    // then draws that caption (icon, title, caption buttons) through the frame painter and runs its buttons.
    BOOL DrawsOwnCaption() const;
    // Lays the own caption's buttons out for the frame's size and styles (squares as high as the caption less the
    // top border and 3, from the right border leftwards), keeping their states; empties the list otherwise.
    void RepositionCaptionButtons();

    int GetFrameBorder() const { return m_frameBorder; }
    // Tests and the frame's non-client sizing set the border height.
    void SetFrameBorder(int border) { m_frameBorder = border; }
    BOOL IsDwmEnabled() const { return m_dwmEnabled; }
    // Read from the system's composition switch when made; tests set it.
    void SetDwmEnabled(BOOL enabled) { m_dwmEnabled = enabled; }
    BOOL IsLayoutPosted() const { return m_layoutPosted; }
    CSize GetLastSize() const { return CSize(m_lastWidth, m_lastHeight); }

    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    // Draws the non-client area through the frame painter into the frame's window DC.
    void DrawNonClient();

private:
    // The frame painter of the ribbon's paint manager; null without one.
    class COSMFramePaintManager* GetFramePainter() const;
    // Runs the frame's own handling of a message that would paint the system's caption, with that painting kept off.
    LRESULT DefaultWithoutCaption(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    BOOL DrawsNonClient() const { return m_ribbon && !m_dwmEnabled && (!IsCaptionStandard() || DrawsOwnCaption()); }
    // The own caption's button under a screen point; null elsewhere.
    COSMControl* HitTestCaptionButton(CPoint screen) const;
    void SetHotCaptionButton(COSMControl* button);
    // Holds the button pressed while the left button is down over it; a release over it runs its system command.
    void TrackCaptionButton(COSMControl* button);
    int OnOwnCaptionMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    CWnd* m_frame;
    COSMRibbonBar* m_ribbon;
    BOOL m_frameDrawing = FALSE;
    int m_lastWidth = 0;
    int m_lastHeight = 0;
    BOOL m_layoutPosted = FALSE;
    BOOL m_inRegion = FALSE;
    int m_frameBorder = 0;
    BOOL m_dwmEnabled = FALSE;
    BOOL m_active = TRUE;
    HWND m_hooked = nullptr;
    RefPtr<COSMControls> m_captionButtons = RefPtr<COSMControls>::Adopt(new COSMControls);
    COSMControl* m_hotCaptionButton = nullptr;
};
