// COSMControlCustom: any window the application owns (an edit field, a slider, a window of its own) placed in a
// command bar as if it were a control. Bars make it for Type 7, whose controls stay Type 1, or by its class name when
// stored bars load. The control takes the window into its bar's window at its first placement, keeps it inside its
// rectangle less "Borders", shows and hides it with itself, enables it with itself, and in vertical bars hides
// itself, keeps the window or shows its button face instead ("VerticalOptions" 0, 1, 2). Without a window shown it
// is a plain button:
//
//   auto* custom = static_cast<COSMControlCustom*>(bar->GetControls()->Add(7, ID_ZOOM));
//   custom->SetControlWindow(zoomSlider.GetSafeHwnd());   // a popup or child window of the application's
//   custom->SetControlSize(CSize(120, 20));
//
// Stored bars keep the window's child id ("ControlId"); loading finds the window again among the children of the
// command bars' site and then of each bar. The control never destroys its window; mouse moves over the window reach
// the bar, so the bar's hot tracking follows the mouse across it.
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/foundation/HookManagerSink.h"

class COSMControlCustom : public COSMControlButton
{
    DECLARE_SERIAL(COSMControlCustom)

public:
    // What the control does in vertical bars.
    static constexpr DWORD kVerticalHide = 0;        // the whole control hides
    static constexpr DWORD kVerticalKeepWindow = 1;  // the window stays
    static constexpr DWORD kVerticalButton = 2;      // the button face shows instead of the window
    // The hide flag of a control hidden in a vertical bar, and the layout-mode bit of vertical bars.
    static constexpr DWORD kHideVertical = 0x04;
    static constexpr DWORD kLayoutVertical = 0x10;

    COSMControlCustom();
    // Unhooks the window; the window itself stays.
    ~COSMControlCustom() override;

    // ---- The control ---------------------------------------------------------------------------------------------
    // A change enables or disables the window too.
    void SetEnabled(int enabled) override;
    // Takes the window into the bar's window (a child now) at the rectangle less the borders.
    void SetRect(const CRect& rect) override;
    void SetHideFlags(DWORD hideFlags) override;
    // "ControlSize" plus the borders while the window shows, else the button's size.
    CSize GetSize(CDC* dc) override;
    // Nothing while the window shows: it paints itself.
    void Draw(CDC* dc) override;
    // What "VerticalOptions" says for the bar's layout mode.
    void BuildDynamicItems(DWORD layoutMode) override;
    void DoPropExchange(COSMPropExchange* px) override;
    // The borders, the window (both controls then share it), the size, the vertical options and the id.
    void Copy(const COSMControl* source, BOOL recursive) override;
    // While the window shows only customize clicks count; otherwise the button's click.
    void OnClick(BOOL keyboard, CPoint point) override;
    // Only popup bars take the control in a customize drag.
    BOOL IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint point, int& effect) const override;
    // The window hides for good.
    void OnRemoved() override;
    void OnActionChanged(int property) override;
    COSMControl* Clone(BOOL recursive) const override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The hosted window: null (or a destroyed window) makes the control a button again.
    void SetControlWindow(HWND window);
    HWND GetControlWindow() const { return m_window; }
    void SetBorders(const CRect& borders);
    CRect GetBorders() const { return m_borders; }
    void SetControlSize(CSize size);
    CSize GetControlSize() const { return m_controlSize; }
    void SetVerticalOptions(DWORD options) { m_verticalOptions = options; }
    DWORD GetVerticalOptions() const { return m_verticalOptions; }
    void SetControlId(int id) { m_controlId = id; }
    int GetControlId() const { return m_controlId; }
    // FALSE once the control left its bar, or while a vertical bar shows the button face instead.
    BOOL IsWindowShown() const { return m_windowShown; }

    // The child with the id of the command bars' site window, else of the first bar (in bar order) that has one;
    // null when there is none.
    static CWnd* FindControlWindow(COSMCommandBars* commandBars, int id);

protected:
    // The window exists (a destroyed handle counts as none).
    BOOL HasControlWindow() const { return m_window && ::IsWindow(m_window); }
    // The window is the control's face now: it exists, shows and the control wants it shown.
    BOOL IsControlWindowVisible() const;
    // Shows or hides the window (when it lives in the bar's window) as the control's state says.
    void UpdateWindowPlacement();
    // Mouse moves over the window go to the bar in its client coordinates; nothing is consumed.
    void OnControlWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // The control's listener on its window's messages.
    class CWindowSink : public COSMHookManagerSink
    {
    public:
        explicit CWindowSink(COSMControlCustom* control) : m_control(control) {}
        int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    private:
        COSMControlCustom* const m_control;
    };

    CWindowSink m_sink{this};
    HWND m_window = nullptr;
    CRect m_borders{0, 0, 0, 0};
    BOOL m_windowShown = TRUE;
    CSize m_controlSize{0, 0};
    DWORD m_verticalOptions = kVerticalHide;
    int m_controlId = 0;
};
