// COSMControlPopup: the control that opens a popup bar (a menu title, a sub-menu item, a drop-down or split button).
// Types 2 (popup), 3 (button popup) and 4 (split button popup) share the class. It holds one reference on the bar it
// opens:
//
//   COSMControlPopup* popup = COSMControlPopup::CreateControlPopup(2);
//   COSMPopupBar* bar = COSMPopupBar::CreatePopupBar(commandBars);
//   popup->SetCommandBar(bar);     // the control's reference
//   bar->InternalRelease();        // the creator's
//
// Its parent bar opens and closes the popup through SetPopuped, which calls OnSetPopup; the control decides from
// clicks, releases, moves, hovers, selections, access keys and double clicks when to ask for that. A split button
// (Type 4) has a command part (the paint manager's GetSplitButtonCommandRect) and a drop-down part: enabled 4 means
// only the command part works, 5 only the drop-down part; its selection is 4 over the command part and 5 over the
// drop-down part. Without a bar the control behaves like a button. Customize drags never drop a popup into its own
// bar or below it.
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
    // Called by the parent bar's SetPopuped only. Opening shows the pressed control first, then pops its popup bar
    // up beside it (unless that bar already tracks), by keyboard when the control's selection is a keyboard one,
    // and casts the control's shadow; FALSE without a popup bar, without a parent bar window, for a split button
    // whose drop-down part is disabled, or when the bar does not come up. Closing ends the bar's tracking.
    BOOL OnSetPopup(BOOL popup) override;
    // A click: in customize mode the control becomes the customize selection and is dragged, its bar opening when
    // customizable; a click on the open popup of a bar that is no popup ends the bar's tracking; a split button
    // runs from its command part (on the release in a popup bar) and opens from its drop-down part; anything else
    // opens the popup. Without a bar, the button's click.
    void OnClick(BOOL keyboard, CPoint point) override;
    // Without a bar, the button's release. A split button in a popup bar runs on a release left of its drop-down
    // part unless only that part is enabled.
    void OnLButtonUp(CPoint point) override;
    // A split button's selection follows the part under the mouse (4 command, 5 drop-down).
    void OnMouseMove(CPoint point) override;
    // Resting on the control while its parent tracks with a popup open, or in a popup bar, opens this popup; the
    // base hover would close the popup the click has just opened.
    void OnMouseHover() override;
    // Selecting the control while its bar tracks with a popup open moves the open popup here (for button popups
    // and split buttons outside popup bars, only a keyboard selection does); deselecting an open one closes it.
    BOOL SetSelected(int selected) override;
    // Its access key opens its bar from the keyboard; without a bar the control runs like a button.
    void OnMnemonicActivate() override;
    // Types 2 and 3 with a popup bar: a double click opens a closed popup; on an open one it runs the popup's
    // visible default item or expands a collapsed popup (TRUE), else it clicks (closing it) and answers FALSE.
    // Other controls click.
    BOOL OnLButtonDblClk(CPoint point) override;
    // A dragged control over this one: a popup holding this control closes its popup and selection (never opened
    // over itself or its own sub-menus); anything else opens this control's customizable bar for the drop.
    void OnCustomizeDragOver(COSMControl* dragged, CPoint point, int& effect) override;
    // Dragged, the control may not be dropped into its own bar or any bar below it.
    BOOL IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint point, int& effect) const override;
    // The rectangle the opening popup must not cover, as the paint manager adjusts it (the popup bar's own
    // AdjustExcludeRect comes here).
    virtual void AdjustExcludeRect(CRect& rect, BOOL vertical);
    // Casts the control's shadow onto its open popup, when the paint manager's shadows, the popup's "ShowShadow"
    // and the control-shadow flag all allow it and the bars are not being customized; the popup bar calls it
    // again after it moved or grew.
    virtual void SetControlShadow();
    // The popup bar's stored id, read with the control until its bar is attached again.
    long GetCommandBarId() const { return m_commandBarId; }
    void SetCommandBarId(long id) { m_commandBarId = id; }
    // The control-shadow flag (on at construction): off, the control casts no shadow.
    BOOL IsControlShadowOn() const { return m_controlShadow; }
    void SetControlShadowOn(BOOL shadow) { m_controlShadow = shadow; }

    // The button's copy; then, recursively, a clone of the source's bar, else the source's bar itself (shared).
    void Copy(const COSMControl* source, BOOL recursive) override;
    COSMControl* Clone(BOOL recursive) const override;
    // The base comparison, and for two popups with bars the comparison of the bars' controls.
    BOOL Compare(const COSMControl* other) const override;
    // The parent bar's expand timer: an open Type 2 popup whose popup bar is collapsed shows its full menu.
    void ExpandPopupBar();
    // TRUE when other's bar is this control's bar or is reached from it through the bars of popup controls;
    // FALSE when either has no bar. Bars shared by several controls are walked once.
    BOOL ContainsPopup(const COSMControlPopup* other) const;
    // TRUE when target is bar or is reached from it through the bars its controls open (each bar walked once).
    static BOOL LeadsToBar(COSMCommandBar* bar, const COSMCommandBar* target);
    // "CommandBarId": the opened bar's number when storing, kept until RestoreCommandBarList when loading.
    void DoPropExchange(COSMPropExchange* px) override;
    // Attaches the listed popup bar of the stored number, unless that would make the bar open one of its own
    // ancestors.
    void RestoreCommandBarList(COSMCommandBarList* list) override;

protected:
    // A control that makes its bar as it opens (the toolbar's expand button) answers TRUE: without a bar it still
    // opens instead of acting as a button.
    virtual BOOL MakesBarOnOpening() const { return FALSE; }
    // The bar is there, or will be made on opening.
    BOOL CanOpen() const { return m_commandBar || MakesBarOnOpening(); }
    // The effective enabled state leaves the split button's drop-down part working.
    BOOL IsDropDownEnabled() const { return !(m_type == 4 && GetEnabled() == 4); }

    BOOL m_popped = FALSE;
    RefPtr<COSMCommandBar> m_commandBar;
    long m_commandBarId = 0;
    BOOL m_controlShadow = TRUE;
};
