// COSMControlEdit is the text box of a command bar (Type 6): an optional icon and caption (the label), then a real
// child edit window (COSMControlEditCtrl) inside the bar's window, with an optional grey hint while the box is
// empty, optional spin buttons that step a number, read-only mode and the shell's auto-complete. The control keeps
// its text while the window does not exist, and places (creating when needed) the window whenever the bar lays it
// out; focus and keys pass between the bar's keyboard handling and the window:
//
//   COSMControlEdit* edit = static_cast<COSMControlEdit*>(bar->GetControls()->Add(6, ID_FIND));
//   edit->SetEditHint("Search");         // grey in the empty box
//   edit->SetShowSpinButtons(TRUE);      // Up and Down, or the buttons, step the number
//   CString text = edit->GetEditText();  // empty while the hint shows
//
// The paint manager measures the label when it measures the control and stores its width here; a changed width
// forces the next placement of the window. The site hears 256 and 512 as the box gains and loses the focus, 0x300
// (EN_CHANGE) for each typed change, 100 after a spin step, and is first offered every spin step (4104 up, 4105
// down, the block carrying the delta) to do it itself.
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/Control.h"
#include "framework/controls/HostedEditCtrl.h"

#include <richedit.h>

class COSMControlEdit;

// The block of the spin notifications 4104 and 4105: the step times the direction.
struct NMOSMCONTROLSPIN : NMOSMCONTROL
{
    int delta;
};

// The edit window of a COSMControlEdit: everything it shares with the combo box's lives in COSMHostedEditCtrl.
class COSMControlEditCtrl : public COSMHostedEditCtrl
{
    DECLARE_DYNCREATE(COSMControlEditCtrl)

public:
    COSMControlEditCtrl() = default;

    COSMControlEdit* GetEditControl() const;
    void SetEditControl(COSMControlEdit* control);
};

class COSMControlEdit : public COSMControl, public COSMHostedEditOwner
{
    DECLARE_SERIAL(COSMControlEdit)

public:
    // The site notifications: focus gained and lost, a typed change, a spin step done, and the spin offers.
    static constexpr UINT kNotifyFocusGained = 256;
    static constexpr UINT kNotifyFocusLost = 512;
    static constexpr UINT kNotifyTextChanged = 0x300;
    static constexpr UINT kNotifySpinStepped = 100;
    static constexpr UINT kNotifySpinUp = 4104;
    static constexpr UINT kNotifySpinDown = 4105;
    // The selection and pressed states of the spin buttons: the upper and the lower one.
    static constexpr int kSpinUp = 4;
    static constexpr int kSpinDown = 5;
    // The spin repeat timer on the parent bar, its first delay and its repeat period.
    static constexpr UINT_PTR kTimerSpin = 435;
    static constexpr UINT kSpinFirstDelay = 530;
    static constexpr UINT kSpinRepeatPeriod = 100;
    // The hide flag of a box in a vertically docked bar, and the layout-mode bit that docks vertically.
    static constexpr DWORD kHideVertical = 0x04;
    static constexpr DWORD kLayoutVertical = 0x10;

    COSMControlEdit();
    ~COSMControlEdit() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Creates the window object (not its window); a derived control may make its own kind.
    virtual COSMControlEditCtrl* CreateEditWindow();
    // The icon of the edit icon id at the rectangle's left edge, centred vertically.
    virtual void DrawEditIcon(CDC* dc, const CRect& rect);
    void OnEditSetFocus(HWND oldFocus) override;
    void OnEditKillFocus() override;
    // Moves the left edge right by the edit icon's width plus 2 when there is one.
    virtual void AdjustEditRect(CRect& rect);
    // The site hears 0x300.
    void OnEditChanged() override;
    // Steps the number by step in the direction (+1 up, -1 down) unless the site does it.
    virtual void SpinStep(int step, int direction);

    void SetEnabled(int enabled) override;
    void SetFocused(BOOL focused) override;
    BOOL IsFocused() const override { return m_focused; }
    // Places the window there (creating it when needed); an unchanged rectangle moves nothing unless forced.
    void SetRect(const CRect& rect) override;
    BOOL IsCaptionVisible() const override;
    BOOL Compare(const COSMControl* other) const override;
    void SetHideFlags(DWORD hideFlags) override;
    // Hidden (hide flag 4) in a vertically docked bar.
    void BuildDynamicItems(DWORD layoutMode) override;
    void DoPropExchange(COSMPropExchange* px) override;
    void OnMnemonicActivate() override;
    void ForceRepositioning() override { m_placementForced = TRUE; }
    void Copy(const COSMControl* source, BOOL recursive) override;
    void OnClick(BOOL keyboard, CPoint point) override;
    BOOL IsFocusable() const override { return m_editWindow && m_editWindow->GetSafeHwnd(); }
    // 0 the bar handles the key, 1 handled here, 2 the key goes on to the edit window.
    int OnHookKeyDown(UINT key, LPARAM lParam) override;
    void SetParent(COSMCommandBar* parent) override;
    void OnMouseMove(CPoint point) override;
    void OnMouseHover() override;
    BOOL SetSelected(int selected) override;
    BOOL IsCustomizeResizeAllowed() const override { return TRUE; }
    // Resizing in customize mode keeps the label and a little of the box.
    int GetCustomizeMinWidth() const override { return m_labelWidth + 10; }
    void OnRemoved() override;
    void OnActionChanged(int property) override;
    void OnActionChanging(int property) override;
    COSMControl* Clone(BOOL recursive) const override;
    // Keeps the label width (the drop-down width is not an edit's).
    void OnLabelMeasured(int labelWidth, int dropDownWidth) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    BOOL GetReadOnly() const { return m_readOnly; }
    void SetReadOnly(BOOL readOnly);
    BOOL GetHasLabel() const { return m_hasLabel; }
    void SetHasLabel(BOOL hasLabel) { StoreForMeasure(m_hasLabel, hasLabel); }
    DWORD GetEditStyle() const { return m_editStyle; }
    void SetEditStyle(DWORD style) { m_editStyle = style; }
    BOOL GetShowSpinButtons() const { return m_showSpinButtons; }
    // The window makes room for the buttons at its next placement.
    void SetShowSpinButtons(BOOL show)
    {
        if (show != m_showSpinButtons)
            m_placementForced = TRUE;
        StoreForMeasure(m_showSpinButtons, show);
    }
    int GetEditIconId() const { return m_editIconId; }
    void SetEditIconId(int iconId) { StoreForMeasure(m_editIconId, iconId); }
    // {right - 18, top + 1, right - 1, bottom - 1} of the control with spin buttons, else empty; the upper half is
    // the up button.
    CRect GetSpinButtonsRect() const;
    // Holds a spin button pressed at the client point: a step at once, then repeats while the button stays down.
    void TrackSpinButton(CPoint point);
    // The spin step after the button was held that long: 1, then 5 from 2048 ms, 20 from 5120 ms.
    static int SpinStepForHold(DWORD heldMs);
    // Adds the delta to the number text (saturated, 64-bit), moving to a multiple of the step inside the int range.
    static CString SteppedNumberText(const CString& text, int step, int direction);
    COSMControlEditCtrl* GetEditWindow() const { return m_editWindow; }

    // The label's width in pixels, written by the paint manager's measuring pass.
    int GetLabelWidth() const { return m_labelWidth; }
    void SetLabelWidth(int width) { m_labelWidth = width; }
    // Set when the label width changed: the next placement happens even for an unchanged rectangle.
    BOOL IsPlacementForced() const { return m_placementForced; }
    void SetPlacementForced(BOOL forced) { m_placementForced = forced; }

protected:
    COSMHostedEditCtrl* GetHostedWindow() const override { return m_editWindow; }

    COSMControlEditCtrl* m_editWindow = nullptr;
    BOOL m_hasLabel = FALSE;
    BOOL m_readOnly = FALSE;
    int m_labelWidth = 0;
    BOOL m_placementForced = FALSE;
    BOOL m_focused = FALSE;
    DWORD m_editStyle = 0;
    BOOL m_showSpinButtons = FALSE;
    int m_editIconId = 0;
};
