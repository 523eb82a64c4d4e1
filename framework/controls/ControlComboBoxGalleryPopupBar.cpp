#include "framework/controls/ControlComboBoxGalleryPopupBar.h"

#include "framework/commandbars/Controls.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlGallery.h"
#include "framework/controls/ControlGalleryItems.h"

IMPLEMENT_SERIAL(COSMControlComboBoxGalleryPopupBar, COSMControlComboBoxPopupBar, VERSIONABLE_SCHEMA | 0x22)

BEGIN_MESSAGE_MAP(COSMControlComboBoxGalleryPopupBar, COSMControlComboBoxPopupBar)
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

COSMControlComboBoxGalleryPopupBar::COSMControlComboBoxGalleryPopupBar() = default;

COSMControlGallery* COSMControlComboBoxGalleryPopupBar::GetGallery() const
{
    COSMControl* control = GetControl(0);
    if (!control || !control->IsKindOf(RUNTIME_CLASS(COSMControlGallery)))
        return nullptr;
    return static_cast<COSMControlGallery*>(control);
}

// ---- The list operations, answered by the gallery ----

int COSMControlComboBoxGalleryPopupBar::GetCurSel() const
{
    const COSMControlGallery* gallery = GetGallery();
    return gallery ? gallery->GetSelectedItem() : -1;
}

int COSMControlComboBoxGalleryPopupBar::FindString(int start, LPCSTR text) const
{
    const COSMControlGallery* gallery = GetGallery();
    return gallery ? gallery->FindItem(start, text, FALSE) : -1;
}

int COSMControlComboBoxGalleryPopupBar::FindStringExact(int start, LPCSTR text) const
{
    const COSMControlGallery* gallery = GetGallery();
    return gallery ? gallery->FindItem(start, text, TRUE) : -1;
}

int COSMControlComboBoxGalleryPopupBar::SetTopIndex(int index)
{
    COSMControlGallery* gallery = GetGallery();
    return gallery ? gallery->ScrollItemToTop(index) : -1;
}

void COSMControlComboBoxGalleryPopupBar::SetCurSel(int index)
{
    if (COSMControlGallery* gallery = GetGallery())
        gallery->SetSelectedItem(index);
}

void COSMControlComboBoxGalleryPopupBar::GetText(int index, CString& text) const
{
    const COSMControlGallery* gallery = GetGallery();
    text = gallery ? gallery->GetItemCaption(index) : CString();
}

// ---- Tracking, keys and clicks ----

BOOL COSMControlComboBoxGalleryPopupBar::SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard)
{
    // Leaving forgets the opener: hold on to it for the close-up notification.
    COSMControlComboBox* combo = GetComboBox();
    if (!COSMControlComboBoxPopupBar::SetTrackingMode(mode, selectFirst, keyboard))
        return FALSE;
    if (mode)
    {
        if (GetGallery())
            SetSelected(0, kSelectKeyboard);
        if (combo)
        {
            combo->SyncSelectionToText();
            combo->NotifySite(COSMControlComboBox::kNotifyDropDown);
        }
    }
    else if (combo)
    {
        combo->NotifySite(COSMControlComboBox::kNotifyCloseUp);
    }
    return TRUE;
}

int COSMControlComboBoxGalleryPopupBar::OnHookKeyDown(UINT key, LPARAM lParam)
{
    COSMControlComboBox* combo = GetComboBox();
    if (!combo)
        return COSMPopupBar::OnHookKeyDown(key, lParam);
    if (combo->HasEditWindow() && combo->GetEditCtrl()->IsImeComposing())
        return ProcessHookKeyDown(combo, key, lParam);
    if (key == VK_ESCAPE)
        return combo->IsFocused() ? 0 : COSMPopupBar::OnHookKeyDown(key, lParam);
    if (key == VK_TAB)
        return 0;
    if (key == VK_RETURN && GetGallery() && GetSelectedIndex() == 0)
    {
        combo->OnExecute();
        return 1;
    }
    return ProcessHookKeyDown(combo, key, lParam);
}

void COSMControlComboBoxGalleryPopupBar::OnLButtonUp(UINT flags, CPoint point)
{
    COSMControlGallery* gallery = GetGallery();
    COSMControlComboBox* combo = GetComboBox();
    if (!gallery || !combo || GetControls()->HitTest(point) != gallery)
    {
        COSMControlComboBoxPopupBar::OnLButtonUp(flags, point);
        return;
    }
    // The item under the pointer is the choice, not what the combo box's text or the keys selected before; over
    // the gallery but on none of its items (a label, the scroll column) nothing is chosen.
    const int hit = gallery->HitTestItem(point.x, point.y);
    const COSMControlGalleryItem* item = gallery->GetItem(hit);
    if (!item || item->IsLabel())
        return;
    if (hit != gallery->GetSelectedItem() || gallery->IsSelectionHidden())
        gallery->SetSelectedItem(hit);
    combo->OnSelChanged();
    combo->OnExecute();
}

void COSMControlComboBoxGalleryPopupBar::OnUpdateCmdUI()
{
    COSMControlComboBoxPopupBar::OnUpdateCmdUI();
    // The gallery is the combo box's list, not a command of its own: it is as enabled as the combo box that opened
    // it, whether or not the site handles the gallery's id (a disabled gallery would follow no hover, and a click
    // would choose the item the combo box's text had selected).
    COSMControlGallery* gallery = GetGallery();
    const COSMControlComboBox* combo = GetComboBox();
    if (gallery && combo)
        gallery->SetEnabled(combo->GetEnabled() != 0 ? TRUE : FALSE);
}

COSMCommandBar* COSMControlComboBoxGalleryPopupBar::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlComboBoxGalleryPopupBar*>(GetRuntimeClass()->CreateObject());
    clone->SetCommandBars(GetCommandBarsField());
    clone->Copy(this, recursive);
    return clone;
}
