// COSMControlPopup: the control that opens a popup bar (a menu title, a sub-menu item, a drop-down or split button).
// Types 2 (popup), 3 (button popup) and 4 (split button popup) share the class. It holds one reference on the bar it
// opens:
//
//   COSMControlPopup* popup = COSMControlPopup::CreateControlPopup(2);
//   COSMPopupBar* bar = COSMPopupBar::CreatePopupBar(commandBars);
//   popup->SetCommandBar(bar);     // the control's reference
//   bar->InternalRelease();        // the creator's
//
// The control opens and closes its bar (OnSetPopup) and expands a collapsed one. Not built yet: a split button's two
// separate parts, the control's own mouse handlers (release, double click, hover), and refusing a customize drop into
// its own bar.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/Object.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/ControlButton.h"

class COSMControlPopup : public COSMControlButton
{
    DECLARE_SERIAL(COSMControlPopup)

public:
    COSMControlPopup();
    ~COSMControlPopup() override;

    // A popup control made through the create function, with the Type (2 to 4) stored.
    static COSMControlPopup* CreateControlPopup(int type);

    // Releases the old bar and keeps a reference on the new one (null allowed).
    void SetCommandBar(COSMCommandBar* bar);
    COSMCommandBar* GetCommandBar() const override { return m_commandBar.Get(); }
    BOOL IsPopupOpen() const override { return m_popped; }
    // Opens the popup bar beside the control (by keyboard when the parent bar's selection is) or closes it.
    BOOL OnSetPopup(BOOL popup) override;
    // A click on a menu title or a drop-down opens its bar through the parent (a second click on an open one in a
    // bar that is no popup ends the bar's tracking); a button's click would run the control's id as a command
    // instead. Split buttons and customize mode keep the button's handling.
    void OnClick(BOOL keyboard, CPoint point) override;
    // Resting on the control while its parent tracks with a popup open, or in a popup bar, opens this popup; the
    // base hover would close the popup the click has just opened.
    void OnMouseHover() override;
    // Its access key opens its bar from the keyboard; without a bar the control runs like a button.
    void OnMnemonicActivate() override;
    // The popup bar's stored id, read with the control until its bar is attached again.
    long GetCommandBarId() const { return m_commandBarId; }
    void SetCommandBarId(long id) { m_commandBarId = id; }
    BOOL GetControlShadow() const { return m_controlShadow; }
    void SetControlShadow(BOOL shadow) { m_controlShadow = shadow; }

    // The button's copy; then, recursively, a clone of the source's bar, else the source's bar itself (shared).
    void Copy(const COSMControl* source, BOOL recursive) override;
    COSMControl* Clone(BOOL recursive) const override;
    // The base comparison, and for two popups with bars the comparison of the bars' controls.
    BOOL Compare(const COSMControl* other) const override;
    // Shows the full menu of its open collapsed popup bar.
    void ExpandPopupBar();
    // "CommandBarId": the opened bar's number when storing, kept until RestoreCommandBarList when loading.
    void DoPropExchange(COSMPropExchange* px) override;
    // Attaches the listed popup bar of the stored number, unless that would make the bar open one of its own
    // ancestors.
    void RestoreCommandBarList(COSMCommandBarList* list) override;

protected:
    BOOL m_popped = FALSE;
    RefPtr<COSMCommandBar> m_commandBar;
    long m_commandBarId = 0;
    BOOL m_controlShadow = TRUE;
};
