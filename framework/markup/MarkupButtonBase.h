// COSMMarkupButtonBase: what every markup button does with the mouse. A left press takes the capture and makes the
// button pressed; IsPressed reads True while the button is held and the mouse is over it; a release over the button
// that was pressed raises the bubbling Click (the hyperlink's event, shared). Losing the capture ends the press
// without a click. No markup tag: the base of the push button and the toggle buttons.
//
//   <Button Click="OnOk">OK</Button>
//
// Each button keeps a visual-style wrapper for the "BUTTON" theme class; its parts go through the one replaceable
// part-drawing table (MarkupPartDrawing.h). Tests make buttons draw classic by handing them a function table on a
// visual-style library that does not exist (SetVisualStyleFunctions).
#pragma once

#include "framework/markup/MarkupContentControl.h"

#include <memory>

class COSMVisualStyleFunctions;
class COSMVisualStyleWrapper;

class COSMMarkupButtonBase : public COSMMarkupContentControl
{
    DECLARE_MARKUP_TYPE(COSMMarkupButtonBase)

public:
    // Not pressed, the mouse outside, Focusable True as a local value.
    COSMMarkupButtonBase();

protected:
    // Closes the wrapper's theme data.
    ~COSMMarkupButtonBase() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // While pressed, leaving and entering only move IsPressed; otherwise IsMouseOver follows and the button
    // repaints.
    void OnMouseLeave(COSMMarkupMouseEventArgs* args) override;
    void OnMouseEnter(COSMMarkupMouseEventArgs* args) override;
    // Only when pressed: releases the capture, ends the press and clicks when the mouse is inside; handled.
    void OnMouseLeftButtonUp(COSMMarkupMouseEventArgs* args) override;
    // Takes the focus, presses, captures the mouse; handled.
    void OnMouseLeftButtonDown(COSMMarkupMouseEventArgs* args) override;
    // Ends the press without a click.
    void OnLostMouseCapture(COSMMarkupMouseEventArgs* args) override;

    // ---- Override these (after the control's) ---------------------------------------------------------------
    // Raises Click with the button as source.
    virtual void OnClick();

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    BOOL IsPressedNow() const { return m_bPressed; }
    // The IsPressed and IsMouseOver values.
    BOOL GetIsPressed() const;
    BOOL GetIsMouseOver() const;
    // The visual style's state of the button's part, before any checked offset: 3 pressed, 2 mouse over, 1 normal.
    int GetPartState() const;
    COSMVisualStyleWrapper& GetVisualStyle() { return *m_pVisualStyle; }

    // Click (bubbling; the hyperlink's event) and IsPressed (default False; re-arranges).
    static COSMMarkupRoutedEvent* s_pClickEvent;
    static COSMMarkupDependencyProperty* s_pIsPressedProperty;
    static void RegisterMarkupProperties();

    // ---- For tests ---------------------------------------------------------------------------------------------
    // Buttons made from now on open their theme data through functions (null: the process-wide table). The table
    // must outlive those buttons. Returns the previous one.
    static COSMVisualStyleFunctions* SetVisualStyleFunctions(COSMVisualStyleFunctions* functions);

protected:
    // TRUE: presses (IsPressed True) unless pressed already. FALSE: ends a press (IsPressed's local value goes) and,
    // with the mouse outside while IsMouseOver still reads True (it stays while the button is held), clears
    // IsMouseOver and repaints.
    void SetPressed(BOOL pressed);

private:
    BOOL m_bPressed = FALSE;
    BOOL m_bMouseInside = FALSE;
    std::unique_ptr<COSMVisualStyleWrapper> m_pVisualStyle;
};

// The value of a Bool property on element, FALSE when unset.
BOOL GetMarkupBoolValue(const COSMMarkupObject* element, COSMMarkupDependencyProperty* property);
