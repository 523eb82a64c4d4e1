#include "framework/controls/ControlComboBox.h"

#include "classlib/DC.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/FrameworkStatics.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/foundation/PropExchange.h"

namespace {

// The edit window sits inside the control: this far from the top, the bottom and the drop-down button; this much
// after the label.
const int kComboEditInset = 3;
const int kComboEditLabelGap = 4;
// The owner-drawn item's icon and text offsets.
const int kComboItemIconLeft = 2;
const int kComboItemTextGap = 3;
const UINT kComboTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
// Colour indexes of the drawn text: the focused fill and its text, normal text, grey (disabled, or the hint).
const int kComboFocusFill = COLOR_HIGHLIGHT;
const int kComboFocusText = COLOR_HIGHLIGHTTEXT;
const int kComboText = COLOR_WINDOWTEXT;
const int kComboGreyText = COLOR_GRAYTEXT;
const int kComboPopupPosition = 5;
const DWORD kComboHideVertical = 0x04;
const DWORD kComboLayoutVertical = 0x10;
// The shell auto-complete flag that lets Tab reach its list (SHACF_USETAB).
const DWORD kComboUseTab = 0x08;

COSMMouseManager* ComboMouseManager(const COSMCommandBar* bar)
{
    return bar ? bar->GetMouseManager() : CreateMouseManager();
}

}  // namespace

// ---- The edit window ----

IMPLEMENT_DYNCREATE(COSMControlComboBoxEditCtrl, COSMHostedEditCtrl)

BEGIN_MESSAGE_MAP(COSMControlComboBoxEditCtrl, COSMHostedEditCtrl)
    ON_MESSAGE(OSM_WM_AUTOSUGGESTSHOWN, OnAutoSuggestShown)
END_MESSAGE_MAP()

COSMControlComboBox* COSMControlComboBoxEditCtrl::GetComboBox() const
{
    return static_cast<COSMControlComboBox*>(m_control);
}

void COSMControlComboBoxEditCtrl::SetComboBox(COSMControlComboBox* control)
{
    SetOwner(control);
}

void COSMControlComboBoxEditCtrl::OnContextPress()
{
    GetComboBox()->StopListTracking();
}

LRESULT COSMControlComboBoxEditCtrl::OnAutoSuggestShown(WPARAM wParam, LPARAM lParam)
{
    // The shell's list takes the place of the combo's own.
    if (m_control)
        GetComboBox()->StopListTracking();
    return 0;
}

// ---- The control ----

IMPLEMENT_SERIAL(COSMControlComboBox, COSMControlPopup, VERSIONABLE_SCHEMA | 0x22)

COSMControlComboBox::COSMControlComboBox(COSMCommandBars* commandBars) : COSMHostedEditOwner(this)
{
    m_type = 5;
    m_width = 100;
    // The control holds its own reference on the list; this one goes however making the list ends.
    const RefPtr<COSMControlComboBoxList> list = AdoptRef(new COSMControlComboBoxList);
    list->SetCommandBars(commandBars);
    list->CreateListBox();
    SetCommandBar(list.Get());
}

COSMControlComboBox::~COSMControlComboBox()
{
    DeleteEditWindow();
}

void COSMControlComboBox::DeleteEditWindow()
{
    if (!m_editWindow)
        return;
    m_editWindow->SetComboBox(nullptr);
    if (m_editWindow->GetSafeHwnd())
        m_editWindow->DestroyWindow();
    delete m_editWindow;
    m_editWindow = nullptr;
}

COSMControlComboBoxEditCtrl* COSMControlComboBox::CreateEditWindow()
{
    return new COSMControlComboBoxEditCtrl;
}

void COSMControlComboBox::SetDropDown(BOOL dropDown)
{
    m_dropDown = dropDown;
    if (dropDown && !m_editWindow)
    {
        m_editWindow = CreateEditWindow();
        m_editWindow->SetComboBox(this);
        // The window itself comes with the next placement.
        m_placementForced = TRUE;
        DelayLayoutParent();
    }
    else if (!dropDown && m_editWindow)
    {
        DeleteEditWindow();
        RedrawParent(FALSE);
    }
}

void COSMControlComboBox::StopListTracking()
{
    if (COSMCommandBar* list = GetCommandBar(); list && m_popped)
        list->StopTracking();
}

// ---- Selection ----

COSMControlComboBoxPopupBar* COSMControlComboBox::GetComboBoxPopupBar() const
{
    COSMCommandBar* bar = GetCommandBar();
    if (!bar || !bar->IsKindOf(RUNTIME_CLASS(COSMControlComboBoxPopupBar)))
        return nullptr;
    return static_cast<COSMControlComboBoxPopupBar*>(bar);
}

COSMControlComboBoxList* COSMControlComboBox::GetComboBoxList() const
{
    COSMCommandBar* bar = GetCommandBar();
    if (!bar || !bar->IsKindOf(RUNTIME_CLASS(COSMControlComboBoxList)))
        return nullptr;
    return static_cast<COSMControlComboBoxList*>(bar);
}

int COSMControlComboBox::GetCurSel() const
{
    const COSMControlComboBoxPopupBar* list = GetComboBoxPopupBar();
    return list ? list->GetCurSel() : m_curSel;
}

void COSMControlComboBox::SetCurSel(int index)
{
    COSMControlComboBoxPopupBar* list = GetComboBoxPopupBar();
    if (m_curSel == index && (!list || list->GetCurSel() == index))
        return;
    m_curSel = index;
    if (list)
        list->SetCurSel(index);
    OnSelChanged();
}

CString COSMControlComboBox::GetListText()
{
    const COSMControlComboBoxPopupBar* list = GetComboBoxPopupBar();
    CString text;
    const int selection = list ? list->GetCurSel() : -1;
    if (list && selection >= 0)
        list->GetText(selection, text);
    return text;
}

CString COSMControlComboBox::GetSelectedText()
{
    return GetListText();
}

void COSMControlComboBox::OnSelChanged()
{
    // Setting the text from the selection must neither complete it nor look the selection up again.
    m_selectionChanging = TRUE;
    SetEditText(GetListText());
    m_selectionChanging = FALSE;
    RedrawParent(FALSE);
    NotifySite(kNotifySelChange);
}

void COSMControlComboBox::SyncSelectionToText()
{
    COSMControlComboBoxPopupBar* list = GetComboBoxPopupBar();
    if (m_selectionChanging || !HasEditWindow() || !list)
        return;
    const CString text = GetEditText();
    const int exact = list->FindStringExact(-1, text);
    if (exact >= 0)
    {
        m_curSel = exact;
        list->SetCurSel(exact);
        return;
    }
    const int prefix = text.IsEmpty() ? -1 : list->FindString(-1, text);
    if (prefix >= 0)
        list->SetTopIndex(prefix);
    m_curSel = -1;
    list->SetCurSel(-1);
}

int COSMControlComboBox::GetListIconId() const
{
    const COSMControlComboBoxList* list = GetComboBoxList();
    return list ? list->GetListIconId() : -1;
}

// ---- Text ----

void COSMControlComboBox::OnEditChanged()
{
    COSMControlComboBoxPopupBar* list = GetComboBoxPopupBar();
    if (m_autoCompleteList && !m_completionSuppressed && !m_selectionChanging && HasEditWindow() && list)
    {
        const CString typed = GetDisplayText();
        DWORD start = 0;
        DWORD end = 0;
        m_editWindow->SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const DWORD length = static_cast<DWORD>(typed.GetLength());
        if (!typed.IsEmpty() && start == length && end == length)
        {
            const int found = list->FindString(-1, typed);
            if (found >= 0)
            {
                CString item;
                list->GetText(found, item);
                SetDisplayText(item);
                m_editWindow->SetSel(static_cast<int>(length), item.GetLength());
                m_editWindow->SendMessage(EM_SCROLLCARET);
            }
        }
        m_completionSuppressed = TRUE;
    }
    SyncSelectionToText();
    NotifySite(kNotifyEditChange);
}

// ---- State ----

void COSMControlComboBox::SetEnabled(int enabled)
{
    if (enabled == m_enabled)
        return;
    COSMControlPopup::SetEnabled(enabled);
    UpdateWindowEnabled();
    RedrawParent();
}

void COSMControlComboBox::SetHideFlags(DWORD hideFlags)
{
    if (hideFlags == m_hideFlags)
        return;
    COSMControlPopup::SetHideFlags(hideFlags);
    UpdateWindowVisibility();
    DelayLayoutParent();
}

void COSMControlComboBox::BuildDynamicItems(DWORD layoutMode)
{
    SetHideFlags((layoutMode & kComboLayoutVertical) ? (m_hideFlags | kComboHideVertical)
                                                     : (m_hideFlags & ~kComboHideVertical));
}

void COSMControlComboBox::SetParent(COSMCommandBar* parent)
{
    if (parent && parent != m_parent)
    {
        CWnd* site = parent->GetSite();
        COSMCommandBar* list = GetCommandBar();
        if (site && list && list->GetSafeHwnd())
            ::SetWindowLongPtrA(list->GetSafeHwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(site->GetSafeHwnd()));
    }
    if (!parent && HasEditWindow())
        m_editWindow->DestroyWindow();
    COSMControlPopup::SetParent(parent);
}

void COSMControlComboBox::OnRemoved()
{
    UpdateWindowVisibility();
    if (!m_controls && HasEditWindow())
        m_editWindow->DestroyWindow();
    COSMControlPopup::OnRemoved();
}

BOOL COSMControlComboBox::IsCaptionVisible() const
{
    if (m_parent && m_parent->GetType() == COSMCommandBar::kTypePopup)
        return TRUE;
    if (GetCaption().IsEmpty())
        return FALSE;
    const int style = GetStyle();
    if (style == 1 || style == 3 || style == 4)
        return TRUE;
    return m_comboStyle == 1;
}

BOOL COSMControlComboBox::Compare(const COSMControl* other) const
{
    return COSMControlPopup::Compare(other) && other->IsKindOf(RUNTIME_CLASS(COSMControlComboBox));
}

void COSMControlComboBox::Copy(const COSMControl* source, BOOL recursive)
{
    if (source && source->IsKindOf(RUNTIME_CLASS(COSMControlComboBox)))
    {
        auto* combo = const_cast<COSMControlComboBox*>(static_cast<const COSMControlComboBox*>(source));
        m_editStyle = combo->m_editStyle;
        m_comboStyle = combo->m_comboStyle;
        SetEditText(combo->GetEditText());
        SetEditHint(combo->m_editHint);
        SetDropDown(combo->m_editWindow != nullptr);
        m_autoCompleteList = combo->m_autoCompleteList;
        EnableShellAutoComplete(combo->m_autoCompleteFlags);
        m_editIconId = combo->m_editIconId;
        m_dropDownItemCount = combo->m_dropDownItemCount;
    }
    COSMControlPopup::Copy(source, recursive);
}

COSMControl* COSMControlComboBox::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlComboBox*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}

void COSMControlComboBox::OnLabelMeasured(int labelWidth, int dropDownWidth)
{
    if (dropDownWidth < 0)
        return;
    if (m_dropDownButtonWidth != dropDownWidth || m_labelWidth != labelWidth)
        m_placementForced = TRUE;
    m_dropDownButtonWidth = dropDownWidth;
    m_labelWidth = labelWidth;
}

void COSMControlComboBox::DoPropExchange(COSMPropExchange* px)
{
    COSMControlPopup::DoPropExchange(px);
    const long schema = px->m_nSchema;
    BOOL dropDown = m_editWindow != nullptr;
    PropExchangeBool(px, "DropDown", &dropDown, TRUE);
    long width = m_width;
    PropExchangeLong(px, "Width", &width, 0);
    PropExchangeLong(px, "ComboStyle", &m_comboStyle, 0);
    if (px->IsLoading())
        m_width = static_cast<int>(width);
    if (schema > 8)
    {
        PropExchangeString(px, "EditHint", &m_editHint, "");
        PropExchangeDWord(px, "ShellAutoCompleteFlags", &m_autoCompleteFlags, 0);
        PropExchangeBool(px, "AutoComplete", &m_autoCompleteList, FALSE);
        long iconId = m_editIconId;
        long rows = m_dropDownItemCount;
        PropExchangeLong(px, "EditIconId", &iconId, 0);
        PropExchangeLong(px, "DropDownItemCount", &rows, 12);
        if (px->IsLoading())
        {
            m_editIconId = static_cast<int>(iconId);
            m_dropDownItemCount = static_cast<int>(rows);
        }
    }
    if (schema > 16)
        PropExchangeDWord(px, "EditStyle", &m_editStyle, 0);
    if (px->IsLoading())
    {
        SetDropDown(dropDown);
        EnableShellAutoComplete(m_autoCompleteFlags);
    }
}

// ---- Placement ----

void COSMControlComboBox::SetRect(const CRect& rect)
{
    if (!m_editWindow)
    {
        COSMControlPopup::SetRect(rect);
        return;
    }
    const CString text = GetEditText();
    DropStrayWindow();
    if (SameValue(rect, m_rect) && HasEditWindow() && !m_placementForced)
        return;
    COSMControlPopup::SetRect(rect);
    if (!m_parent || !m_parent->GetSafeHwnd())
        return;
    if (!HasEditWindow() && !CreateWindowInParent(m_editStyle | WS_CHILD | ES_AUTOHSCROLL))
        return;
    ApplyWindowSettings(text);

    CRect editRect = rect;
    editRect.DeflateRect(m_labelWidth + kComboEditLabelGap, kComboEditInset, m_dropDownButtonWidth + kComboEditInset,
                         kComboEditInset);
    AdjustEditRect(editRect);
    m_editWindow->MoveWindow(editRect, TRUE);
    UpdateWindowVisibility();
    m_placementForced = FALSE;
}

void COSMControlComboBox::AdjustEditRect(CRect& rect)
{
    rect.left += EditIconRoom(m_editIconId);
}

// ---- Opening, running, clicks ----

BOOL COSMControlComboBox::OnSetPopup(BOOL popup)
{
    if (popup)
    {
        m_selectionAccepted = FALSE;
        m_savedSelection = GetCurSel();
    }
    else
    {
        if (!m_focused && !m_editWindow && !m_selectionAccepted)
            SetCurSel(m_savedSelection);
        if (!m_selectionAccepted)
            NotifySite(kNotifySelEndCancel);
    }
    if (popup && m_autoComplete)
        m_autoComplete->HideDropDown();
    m_popped = popup;
    if (popup && HasEditWindow() && !HasFocusInWindow())
        m_editWindow->SetFocus();
    return COSMControlPopup::OnSetPopup(popup);
}

void COSMControlComboBox::OnExecute()
{
    if ((GetCurSel() != -1 && m_popped) || (!m_editWindow && m_focused))
        NotifySite(kNotifySelEndOk);
    m_selectionAccepted = TRUE;
    m_savedSelection = GetCurSel();
    COSMControlPopup::OnExecute();
}

void COSMControlComboBox::OnClick(BOOL keyboard, CPoint point)
{
    if (HasEditWindow() && m_editWindow->IsImeComposing())
        return;
    if (IsCustomizeMode())
    {
        if (m_parent)
        {
            m_parent->SetPopuped(-1, FALSE);
            m_parent->SetSelected(-1, COSMCommandBar::kSelectMouse);
        }
        OnCustomizeLButtonDown(point);
        return;
    }
    if (keyboard && GetEnabled() != 0)
    {
        if (m_focused)
            OnExecute();
        else
            SetFocused(TRUE);
        return;
    }
    if (m_popped && m_focused)
    {
        if (m_parent)
            m_parent->SetPopuped(-1, FALSE);
        return;
    }
    COSMControlPopup::OnClick(keyboard, point);
}

// ---- Focus ----

void COSMControlComboBox::SetFocused(BOOL focused)
{
    if ((focused != FALSE) == (m_focused != FALSE))
        return;
    m_focused = focused;
    COSMMouseManager* mouse = ComboMouseManager(m_parent);
    if (focused)
    {
        m_savedSelection = GetCurSel();
        m_selectionAccepted = FALSE;
        if (HasEditWindow() && !HasFocusInWindow())
            m_editWindow->SetFocus();
        if (m_parent)
        {
            m_parent->SetTrackingMode(TRUE, FALSE, FALSE);
            m_parent->SetSelected(m_index, COSMCommandBar::kSelectMouse);
        }
        mouse->Lock();
        NotifySite(kNotifySetFocus);
    }
    else
    {
        if (!m_selectionAccepted && !m_popped && !m_editWindow)
        {
            SetCurSel(m_savedSelection);
            NotifySite(kNotifySelEndCancel);
        }
        GiveFocusBack();
        mouse->Unlock();
        NotifySite(kNotifyKillFocus);
    }
    RedrawParent(FALSE);
}

void COSMControlComboBox::OnEditSetFocus(HWND oldFocus)
{
    ClearShownHint();
    m_savedText = GetEditText();
    m_completionSuppressed = TRUE;
    SyncSelectionToText();
    RememberFocusBack(oldFocus);
    if (m_parent && !m_popped)
        m_parent->SetPopuped(-1, FALSE);
    SetFocused(TRUE);
    if (m_autoComplete)
        m_autoComplete->SetAutoSuggestHook(TRUE);
}

void COSMControlComboBox::OnEditKillFocus()
{
    ShowHintWhenEmpty();
    if (m_popped && m_parent)
        m_parent->SetPopuped(-1, FALSE);
    SetFocused(FALSE);
    if (m_autoComplete)
        m_autoComplete->SetAutoSuggestHook(FALSE);
}

void COSMControlComboBox::OnMnemonicActivate()
{
    if (m_parent)
        m_parent->HideKeyboardTips();
    SetFocused(TRUE);
}

BOOL COSMControlComboBox::SetSelected(int selected)
{
    if (!COSMControl::SetSelected(selected))
        return FALSE;
    if (selected == 0)
    {
        SetFocused(FALSE);
        if (m_popped && m_parent && m_parent->GetPosition() != kComboPopupPosition)
            m_parent->SetPopuped(-1, FALSE);
    }
    if (m_editWindow)
        m_editWindow->UpdateCharFormat();
    return TRUE;
}

// ---- Keys, wheel, mouse ----

int COSMControlComboBox::OnHookKeyDown(UINT key, LPARAM lParam)
{
    if (!m_focused)
        return 0;
    m_completionSuppressed = key == VK_DELETE || key == VK_BACK;
    if (HasEditWindow() && m_editWindow->IsImeComposing())
        return 2;
    const BOOL alt = ::GetKeyState(VK_MENU) < 0;
    if (key == VK_TAB && !(m_autoComplete && (m_autoCompleteFlags & kComboUseTab)))
        return 0;
    if (key == VK_RETURN)
        return 0;
    if (key == VK_ESCAPE)
    {
        StopListTracking();
        SetCurSel(m_savedSelection);
        if (m_editWindow)
            SetEditText(m_savedText);
        SetFocused(FALSE);
        return m_parent && m_parent->GetType() == COSMCommandBar::kTypePopup ? 1 : 0;
    }
    if (alt && ::GetKeyState(VK_CONTROL) >= 0 && HasEditWindow())
    {
        COSMCommandBars* commandBars = GetCommandBars();
        if (commandBars && commandBars->OnFrameAccel(key))
            return 1;
    }
    if ((key == VK_F4 && !alt) || ((key == VK_UP || key == VK_DOWN) && alt))
    {
        OnClick(FALSE, CPoint(0, 0));
        return 1;
    }
    if (m_autoComplete && m_autoComplete->ProcessDropDownKey(key, lParam))
        return 1;
    const BOOL navigation = key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT;
    if (!m_editWindow || (navigation && !alt))
    {
        if (COSMControlComboBoxPopupBar* list = GetComboBoxPopupBar())
        {
            list->ProcessHookKeyDown(this, key, lParam);
            return 1;
        }
    }
    if (!HasEditWindow())
        return 2;
    return m_editWindow->DispatchEditKey(key, lParam) ? 1 : 2;
}

BOOL COSMControlComboBox::OnHookMouseWheel(UINT flags, short delta, CPoint point)
{
    COSMControlComboBoxPopupBar* list = GetComboBoxPopupBar();
    if (!m_focused || m_popped || m_autoComplete || !list)
        return FALSE;
    list->ProcessHookKeyDown(this, delta < 1 ? VK_DOWN : VK_UP, 0);
    return TRUE;
}

void COSMControlComboBox::OnMouseMove(CPoint point)
{
    COSMControlPopup::OnMouseMove(point);
    if (GetEnabled() == 0 || m_selected == 0)
        return;
    const CRect button(m_rect.right - m_dropDownButtonWidth, m_rect.top, m_rect.right, m_rect.bottom);
    int selected = m_selected;
    if (button.PtInRect(point))
        selected = kSelectedDropDown;
    else if (m_selected == kSelectedDropDown)
        selected = 1;
    if (selected == m_selected)
        return;
    m_selected = selected;
    RedrawParent();
}

// ---- Drawing ----

void COSMControlComboBox::DrawComboText(CDC* dc, CRect rect)
{
    COSMPaintManager* paintManager = GetPaintManager();
    const BOOL enabled = GetEnabled() != 0;
    if (enabled && m_focused && !m_editWindow)
    {
        CRect fill = rect;
        fill.DeflateRect(1, 1);
        dc->FillSolidRect(fill, paintManager->GetColor(kComboFocusFill));
    }
    rect.left += DrawEditIconAt(dc, rect, m_editIconId);
    if (m_editWindow)
        return;
    CString text = GetListText();
    int color = kComboText;
    if (text.IsEmpty())
    {
        const CString hint = GetEditHint();
        if (!enabled || m_focused || hint.IsEmpty())
            return;
        text = hint;
        color = kComboGreyText;
    }
    else if (!enabled)
    {
        color = kComboGreyText;
    }
    else if (m_focused)
    {
        color = kComboFocusText;
    }
    dc->SetTextColor(paintManager->GetColor(color));
    dc->SetBkMode(TRANSPARENT);
    dc->DrawText(text, rect, kComboTextFormat);
}

void COSMControlComboBox::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    COSMControlComboBoxList* list = GetComboBoxList();
    if (!list || static_cast<int>(drawItem->itemID) < 0)
        return;
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    COSMPaintManager* paintManager = GetPaintManager();
    CString text;
    list->GetText(static_cast<int>(drawItem->itemID), text);
    CRect rect = drawItem->rcItem;
    const BOOL selected = (drawItem->itemState & ODS_SELECTED) != 0;
    const int barType = list->GetType();
    const int position = list->GetPosition();
    dc->SetTextColor(paintManager->GetStateTextColor(selected, FALSE, TRUE, FALSE, FALSE, barType, position));
    if (selected)
        paintManager->DrawStateRectangle(dc, rect, TRUE, FALSE, TRUE, FALSE, FALSE, barType, position);
    else
        dc->FillSolidRect(rect, paintManager->GetColor(COLOR_WINDOW));
    const int iconId = list->GetListIconId();
    COSMImageManager* images = iconId != -1 ? list->GetImageManager() : nullptr;
    if (images && images->ContainsImage(static_cast<UINT>(iconId), 0))
    {
        if (COSMImageManagerIcon* icon = images->GetImage(static_cast<UINT>(iconId), 16))
        {
            const CPoint at(rect.left + kComboItemIconLeft, rect.top + (rect.Height() - icon->GetHeight()) / 2);
            icon->Draw(dc, at, icon->GetImageForState(selected ? 2 : 0));
            rect.left += kComboItemIconLeft + icon->GetWidth();
        }
    }
    rect.left += kComboItemTextGap;
    CFont* font = paintManager->GetControlFont(this);
    CFont* oldFont = font ? dc->SelectObject(font) : nullptr;
    dc->SetBkMode(TRANSPARENT);
    dc->DrawText(text, rect, kComboTextFormat);
    if (oldFont)
        dc->SelectObject(oldFont);
}

// ---- Action changes ----

void COSMControlComboBox::OnActionChanging(int property)
{
    BeforeActionChange(property);
}

void COSMControlComboBox::OnActionChanged(int property)
{
    COSMControlPopup::OnActionChanged(property);
    FollowActionChange(property);
}
