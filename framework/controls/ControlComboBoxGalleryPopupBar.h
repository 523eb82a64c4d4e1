// COSMControlComboBoxGalleryPopupBar: the drop-down of a combo box whose first control is a gallery instead of a
// list. It answers the combo box's list questions (selection, text search, top index, item text) from that gallery,
// and a click on a gallery item or Enter on the gallery ends the drop-down with that item chosen:
//
//   RefPtr<COSMControlComboBoxGalleryPopupBar> dropDown = AdoptRef(static_cast<COSMControlComboBoxGalleryPopupBar*>(
//       RUNTIME_CLASS(COSMControlComboBoxGalleryPopupBar)->CreateObject()));   // the creator's reference
//   dropDown->SetCommandBars(commandBars);
//   dropDown->GetControls()->Add(10, ID_STYLES);     // the gallery, bound to the action holding the items
//   combo->SetCommandBar(dropDown.Get());             // the combo's reference
//
// Only a gallery at index 0 answers: an empty bar, or another control there, gives the answers of "no list" (-1,
// nothing, empty text) and leaves clicks and Enter to the bar.
#pragma once

#include "classlib/Object.h"
#include "framework/controls/ControlComboBoxList.h"

class COSMControlGallery;

class COSMControlComboBoxGalleryPopupBar : public COSMControlComboBoxPopupBar
{
    DECLARE_SERIAL(COSMControlComboBoxGalleryPopupBar)

public:
    COSMControlComboBoxGalleryPopupBar();

    // Entering selects the gallery as the keyboard does, brings the combo box's text into it and tells the site 7;
    // leaving tells it 8.
    BOOL SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard) override;
    // Escape is left to a focused combo box, Tab to the bar's owner; Enter on the gallery chooses; the rest moves
    // the gallery's selection through the combo's key routine.
    int OnHookKeyDown(UINT key, LPARAM lParam) override;
    COSMCommandBar* Clone(BOOL recursive) const override;
    // The controls' states as any bar's; the gallery then takes the combo box's enabled state.
    void OnUpdateCmdUI() override;

    int GetCurSel() const override;
    int FindString(int start, LPCSTR text) const override;
    int FindStringExact(int start, LPCSTR text) const override;
    int SetTopIndex(int index) override;
    void SetCurSel(int index) override;
    void GetText(int index, CString& text) const override;

    // The gallery at index 0; null when the bar is empty or holds something else there.
    COSMControlGallery* GetGallery() const;

protected:
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
