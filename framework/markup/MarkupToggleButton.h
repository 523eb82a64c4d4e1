// COSMMarkupToggleButton: a button that keeps a state, IsChecked: 0 unchecked, 1 checked, 2 indeterminate (markup:
// "False", "True", "" in any case). A click toggles first and then raises Click; every change of IsChecked, from a
// click, markup, a style or code, raises Checked, Unchecked or Indeterminate (all bubbling). With IsThreeState a
// click goes unchecked, checked, indeterminate, unchecked. No markup tag: the base of the check box and the radio
// button.
#pragma once

#include "framework/markup/MarkupButtonBase.h"

class COSMMarkupToggleButton : public COSMMarkupButtonBase
{
    DECLARE_MARKUP_TYPE(COSMMarkupToggleButton)

public:
    enum CheckState
    {
        Unchecked = 0,
        Checked = 1,
        Indeterminate = 2,
    };

    COSMMarkupToggleButton() = default;

protected:
    ~COSMMarkupToggleButton() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // OnToggle, then the button's click.
    void OnClick() override;

    // ---- Override these (in this order, after the button base's) -------------------------------------------
    // The next state: 0 to 1; 1 to 2 with IsThreeState, else to 0; 2 to 0.
    virtual void OnToggle();
    // Each raises its event with the arguments prepared for it.
    virtual void OnChecked(COSMMarkupRoutedEventArgs* args);
    virtual void OnUnchecked(COSMMarkupRoutedEventArgs* args);
    virtual void OnIndeterminate(COSMMarkupRoutedEventArgs* args);

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The IsChecked value; unset counts as 0.
    int GetIsChecked() const;
    void SetIsChecked(int state);
    BOOL GetIsThreeState() const;

    // IsChecked's converter: only text, compared ignoring case: "True" 1, "False" 0, "" 2; other text null.
    static COSMMarkupObject* IsCheckedFromString(COSMMarkupBuilder* builder, COSMMarkupObject* value);
    // IsChecked's change callback: on toggle buttons, 1 raises Checked, 0 or none Unchecked, others Indeterminate.
    static void OnIsCheckedChanged(COSMMarkupObject* object, const COSMMarkupPropertyChange* change);

    // Checked, Unchecked, Indeterminate (bubbling); IsChecked (repaints), IsThreeState (default False; repaints).
    static COSMMarkupRoutedEvent* s_pCheckedEvent;
    static COSMMarkupRoutedEvent* s_pUncheckedEvent;
    static COSMMarkupRoutedEvent* s_pIndeterminateEvent;
    static COSMMarkupDependencyProperty* s_pIsCheckedProperty;
    static COSMMarkupDependencyProperty* s_pIsThreeStateProperty;
    static void RegisterMarkupProperties();
};
