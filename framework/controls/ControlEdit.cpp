#include "framework/controls/ControlEdit.h"

#include "classlib/DC.h"
#include "classlib/ModalLoop.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/FrameworkStatics.h"
#include "framework/foundation/PropExchange.h"

#include <climits>
#include <cstdint>

namespace {

// The edit window sits inside the control: this far from the top, the bottom and (without spin buttons) the right;
// with them it leaves their width free; this much after the label.
const int kEditInset = 3;
const int kEditInsetSpin = 20;
const int kEditLabelGap = 4;
// The spin buttons' width at the control's right edge, and their inset inside it.
const int kSpinWidth = 18;
// The bar Position of a popup.
const int kPopupPosition = 5;

COSMMouseManager* EditMouseManager(const COSMCommandBar* bar)
{
    return bar ? bar->GetMouseManager() : CreateMouseManager();
}

// The decimal number at the start of the text (spaces, a sign, digits), held to the int range.
int64_t ReadSaturatedNumber(const CString& text)
{
    LPCSTR p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = *p++ == '-';
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
    {
        value = value * 10 + (*p - '0');
        if (value > static_cast<int64_t>(INT_MAX) + 1)
            value = static_cast<int64_t>(INT_MAX) + 1;
    }
    value = negative ? -value : value;
    if (value > INT_MAX)
        value = INT_MAX;
    return value;
}

int64_t FloorMod(int64_t value, int64_t step)
{
    return ((value % step) + step) % step;
}

}  // namespace

// ---- The edit window ----

IMPLEMENT_DYNCREATE(COSMControlEditCtrl, COSMHostedEditCtrl)

COSMControlEdit* COSMControlEditCtrl::GetEditControl() const
{
    return static_cast<COSMControlEdit*>(m_control);
}

void COSMControlEditCtrl::SetEditControl(COSMControlEdit* control)
{
    SetOwner(control);
}

// ---- The control ----

IMPLEMENT_SERIAL(COSMControlEdit, COSMControl, VERSIONABLE_SCHEMA | 0x22)

COSMControlEdit::COSMControlEdit() : COSMHostedEditOwner(this)
{
    m_type = 6;
    m_width = 100;
}

COSMControlEdit::~COSMControlEdit()
{
    if (m_editWindow)
    {
        m_editWindow->SetEditControl(nullptr);
        delete m_editWindow;
        m_editWindow = nullptr;
    }
}

COSMControlEditCtrl* COSMControlEdit::CreateEditWindow()
{
    return new COSMControlEditCtrl;
}

// ---- Text ----

void COSMControlEdit::OnEditChanged()
{
    NotifySite(kNotifyTextChanged);
}

// ---- State ----

void COSMControlEdit::SetReadOnly(BOOL readOnly)
{
    m_readOnly = readOnly;
    if (HasEditWindow())
        m_editWindow->SendMessage(EM_SETREADONLY, readOnly);
}

void COSMControlEdit::SetEnabled(int enabled)
{
    if (enabled == m_enabled)
        return;
    COSMControl::SetEnabled(enabled);
    UpdateWindowEnabled();
    RedrawParent();
}

void COSMControlEdit::SetHideFlags(DWORD hideFlags)
{
    if (hideFlags == m_hideFlags)
        return;
    COSMControl::SetHideFlags(hideFlags);
    UpdateWindowVisibility();
    DelayLayoutParent();
}

void COSMControlEdit::BuildDynamicItems(DWORD layoutMode)
{
    SetHideFlags((layoutMode & kLayoutVertical) ? (m_hideFlags | kHideVertical) : (m_hideFlags & ~kHideVertical));
}

void COSMControlEdit::SetParent(COSMCommandBar* parent)
{
    COSMControl::SetParent(parent);
    if (!parent && HasEditWindow())
        m_editWindow->DestroyWindow();
}

void COSMControlEdit::OnRemoved()
{
    UpdateWindowVisibility();
    if (!m_controls && HasEditWindow())
        m_editWindow->DestroyWindow();
    COSMControl::OnRemoved();
}

BOOL COSMControlEdit::IsCaptionVisible() const
{
    if (m_parent && m_parent->GetType() == COSMCommandBar::kTypePopup)
        return TRUE;
    if (GetCaption().IsEmpty())
        return FALSE;
    const int style = GetStyle();
    if (style == 1 || style == 3 || style == 4)
        return TRUE;
    return m_hasLabel;
}

BOOL COSMControlEdit::Compare(const COSMControl* other) const
{
    return COSMControl::Compare(other) && other->IsKindOf(RUNTIME_CLASS(COSMControlEdit));
}

void COSMControlEdit::Copy(const COSMControl* source, BOOL recursive)
{
    COSMControl::Copy(source, recursive);
    if (!source || !source->IsKindOf(RUNTIME_CLASS(COSMControlEdit)))
        return;
    auto* edit = const_cast<COSMControlEdit*>(static_cast<const COSMControlEdit*>(source));
    m_editStyle = edit->m_editStyle;
    SetEditText(edit->GetEditText());
    m_hasLabel = edit->m_hasLabel;
    SetReadOnly(edit->m_readOnly);
    SetEditHint(edit->m_editHint);
    EnableShellAutoComplete(edit->m_autoCompleteFlags);
    m_showSpinButtons = edit->m_showSpinButtons;
}

COSMControl* COSMControlEdit::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlEdit*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}

void COSMControlEdit::OnLabelMeasured(int labelWidth, int dropDownWidth)
{
    if (m_labelWidth == labelWidth)
        return;
    m_labelWidth = labelWidth;
    m_placementForced = TRUE;
}

void COSMControlEdit::DoPropExchange(COSMPropExchange* px)
{
    COSMControl::DoPropExchange(px);
    const long schema = px->m_nSchema;
    if (schema > 5)
    {
        PropExchangeBool(px, "HasLabel", &m_hasLabel, FALSE);
        long width = m_width;
        PropExchangeLong(px, "Width", &width, 0);
        if (px->IsLoading())
            m_width = static_cast<int>(width);
    }
    if (schema > 7)
        PropExchangeBool(px, "ReadOnly", &m_readOnly, FALSE);
    if (schema > 8)
    {
        PropExchangeString(px, "EditHint", &m_editHint, "");
        PropExchangeDWord(px, "ShellAutoCompleteFlags", &m_autoCompleteFlags, 0);
    }
    if (schema > 16)
        PropExchangeDWord(px, "EditStyle", &m_editStyle, 0);
    if (schema > 18)
        PropExchangeBool(px, "ShowSpinButtons", &m_showSpinButtons, FALSE);
    if (px->IsLoading())
        EnableShellAutoComplete(m_autoCompleteFlags);
}

// ---- Placement ----

void COSMControlEdit::SetRect(const CRect& rect)
{
    const CString text = GetEditText();
    if (!m_editWindow)
    {
        m_editWindow = CreateEditWindow();
        m_editWindow->SetEditControl(this);
    }
    DropStrayWindow();
    if (SameValue(rect, m_rect) && HasEditWindow() && !m_placementForced)
        return;
    COSMControl::SetRect(rect);
    if (!m_parent || !m_parent->GetSafeHwnd())
        return;
    if (!HasEditWindow() && !CreateWindowInParent(m_editStyle | WS_CHILD | ES_AUTOHSCROLL))
        return;
    ApplyWindowSettings(text);
    m_editWindow->SendMessage(EM_SETREADONLY, m_readOnly);

    CRect editRect = rect;
    editRect.DeflateRect(m_labelWidth + kEditLabelGap, kEditInset, m_showSpinButtons ? kEditInsetSpin : kEditInset,
                         kEditInset);
    AdjustEditRect(editRect);
    m_editWindow->MoveWindow(editRect, TRUE);
    UpdateWindowVisibility();
    m_placementForced = FALSE;
}

CRect COSMControlEdit::GetSpinButtonsRect() const
{
    if (!m_showSpinButtons)
        return CRect(0, 0, 0, 0);
    return CRect(m_rect.right - kSpinWidth, m_rect.top + 1, m_rect.right - 1, m_rect.bottom - 1);
}

void COSMControlEdit::DrawEditIcon(CDC* dc, const CRect& rect)
{
    DrawEditIconAt(dc, rect, m_editIconId);
}

void COSMControlEdit::AdjustEditRect(CRect& rect)
{
    rect.left += EditIconRoom(m_editIconId);
}

// ---- Focus ----

void COSMControlEdit::SetFocused(BOOL focused)
{
    if ((focused != FALSE) == (m_focused != FALSE))
        return;
    m_focused = focused;
    COSMMouseManager* mouse = EditMouseManager(m_parent);
    if (focused)
    {
        if (HasEditWindow() && !HasFocusInWindow())
            m_editWindow->SetFocus();
        if (m_parent)
        {
            m_parent->SetTrackingMode(TRUE, FALSE, FALSE);
            m_parent->SetSelected(m_index, COSMCommandBar::kSelectMouse);
        }
        mouse->Lock();
        NotifySite(kNotifyFocusGained);
    }
    else
    {
        GiveFocusBack();
        mouse->Unlock();
        NotifySite(kNotifyFocusLost);
    }
    RedrawParent(TRUE);
}

void COSMControlEdit::OnEditSetFocus(HWND oldFocus)
{
    ClearShownHint();
    m_savedText = GetEditText();
    RememberFocusBack(oldFocus);
    if (m_parent)
        m_parent->SetPopuped(-1, FALSE);
    SetFocused(TRUE);
    if (m_autoComplete)
        m_autoComplete->SetAutoSuggestHook(TRUE);
}

void COSMControlEdit::OnEditKillFocus()
{
    ShowHintWhenEmpty();
    SetFocused(FALSE);
    if (m_autoComplete)
        m_autoComplete->SetAutoSuggestHook(FALSE);
}

void COSMControlEdit::OnMnemonicActivate()
{
    if (m_parent)
        m_parent->HideKeyboardTips();
    SetFocused(TRUE);
}

BOOL COSMControlEdit::SetSelected(int selected)
{
    if (!COSMControl::SetSelected(selected))
        return FALSE;
    if (selected == 0)
        SetFocused(FALSE);
    if (m_editWindow)
        m_editWindow->UpdateCharFormat();
    return TRUE;
}

void COSMControlEdit::OnMouseHover()
{
    if (EditMouseManager(m_parent)->GetLockCount() < 1)
        COSMControl::OnMouseHover();
}

// ---- Keys ----

int COSMControlEdit::OnHookKeyDown(UINT key, LPARAM lParam)
{
    if (!m_focused || !HasEditWindow())
        return 0;
    if (m_editWindow->IsImeComposing())
        return 2;
    if (key == VK_TAB || key == VK_RETURN)
        return 0;
    if (key == VK_ESCAPE)
    {
        SetEditText(m_savedText);
        SetFocused(FALSE);
        return m_parent && m_parent->GetType() == COSMCommandBar::kTypePopup ? 1 : 0;
    }
    if (::GetKeyState(VK_MENU) < 0 && ::GetKeyState(VK_CONTROL) >= 0)
    {
        COSMCommandBars* commandBars = GetCommandBars();
        if (commandBars && commandBars->OnFrameAccel(key))
            return 1;
    }
    if (GetEnabled() != 0 && m_showSpinButtons && (key == VK_UP || key == VK_DOWN) && !m_readOnly)
    {
        SpinStep(1, key == VK_UP ? 1 : -1);
        if (HasFocusInWindow())
        {
            m_editWindow->SetSel(0, -1);
            m_editWindow->SendMessage(EM_SCROLLCARET);
        }
        return 1;
    }
    if (m_autoComplete && m_autoComplete->ProcessDropDownKey(key, lParam))
        return 1;
    return m_editWindow->DispatchEditKey(key, lParam) ? 1 : 2;
}

// ---- Mouse ----

void COSMControlEdit::OnClick(BOOL keyboard, CPoint point)
{
    if (IsCustomizeMode())
    {
        OnCustomizeLButtonDown(point);
        return;
    }
    if (keyboard && HasFocusInWindow())
    {
        OnExecute();
        return;
    }
    if (!keyboard && GetEnabled() != 0 && !m_readOnly && GetSpinButtonsRect().PtInRect(point))
    {
        TrackSpinButton(point);
        return;
    }
    if (HasEditWindow())
        m_editWindow->SetFocus();
}

void COSMControlEdit::OnMouseMove(CPoint point)
{
    if (GetEnabled() == 0 || !m_showSpinButtons || m_selected == 0)
        return;
    const CRect spin = GetSpinButtonsRect();
    int selected = m_selected;
    if (spin.PtInRect(point))
        selected = point.y < spin.top + spin.Height() / 2 ? kSpinUp : kSpinDown;
    else if (m_selected == kSpinUp || m_selected == kSpinDown)
        selected = 1;
    if (selected == m_selected)
        return;
    m_selected = selected;
    RedrawParent();
}

// ---- Spin buttons ----

int COSMControlEdit::SpinStepForHold(DWORD heldMs)
{
    const DWORD units = heldMs / 1024;
    if (units >= 5)
        return 20;
    if (units >= 2)
        return 5;
    return 1;
}

CString COSMControlEdit::SteppedNumberText(const CString& text, int step, int direction)
{
    const int64_t stepSize = step > 0 ? step : 1;
    int64_t value = ReadSaturatedNumber(text) + stepSize * (direction < 0 ? -1 : 1);
    if (const int64_t rest = FloorMod(value, stepSize); rest != 0)
        value += direction < 0 ? -rest : stepSize - rest;
    // Outside the int range the value becomes the nearest multiple of the step inside it.
    if (value > INT_MAX)
        value = INT_MAX - FloorMod(INT_MAX, stepSize);
    else if (value < INT_MIN)
        value =
            static_cast<int64_t>(INT_MIN) + (FloorMod(INT_MIN, stepSize) ? stepSize - FloorMod(INT_MIN, stepSize) : 0);
    CString result;
    result.Format("%i", static_cast<int>(value));
    return result;
}

void COSMControlEdit::SpinStep(int step, int direction)
{
    NMOSMCONTROLSPIN block{};
    block.delta = step * direction;
    if (NotifySiteEx(direction > 0 ? kNotifySpinUp : kNotifySpinDown, &block) != 0)
        return;
    SetEditText(SteppedNumberText(GetEditText(), step, direction));
    NotifySite(kNotifySpinStepped);
}

void COSMControlEdit::TrackSpinButton(CPoint point)
{
    COSMCommandBar* bar = m_parent;
    if (!bar || !bar->GetSafeHwnd())
        return;
    const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(this);
    const HWND barWindow = bar->GetSafeHwnd();
    bar->SetSelected(-1, COSMCommandBar::kSelectMouse);
    bar->SetSelected(m_index, COSMCommandBar::kSelectMouse);

    const CRect spin = GetSpinButtonsRect();
    const int middle = spin.top + spin.Height() / 2;
    const BOOL up = point.y < middle;
    const CRect half =
        up ? CRect(spin.left, spin.top, spin.right, middle) : CRect(spin.left, middle, spin.right, spin.bottom);
    const int direction = up ? 1 : -1;
    const int pressedState = up ? kSpinUp : kSpinDown;
    m_pressed = pressedState;
    m_selected = pressedState;
    RedrawParent();

    SpinStep(1, direction);

    ::SetCapture(barWindow);
    ::SetTimer(barWindow, kTimerSpin, kSpinFirstDelay, nullptr);
    DWORD start = ::GetTickCount();
    BOOL firstTick = TRUE;
    // A quit ends the press and is posted again by the loop, for the application's loop.
    CModalLoop loop;
    loop.EndOnCaptureLoss(barWindow);
    loop.Run(nullptr, [&](MSG& msg) {
        if (msg.message == WM_LBUTTONUP)
            return CModalLoop::Stop;
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == barWindow)
        {
            const CPoint at(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
            const int selected = half.PtInRect(at) ? pressedState : 0;
            if (selected != m_selected)
            {
                m_selected = selected;
                start = ::GetTickCount();
                RedrawParent();
            }
            return CModalLoop::Handled;
        }
        if (msg.message == WM_TIMER && msg.hwnd == barWindow && msg.wParam == kTimerSpin)
        {
            if (m_selected != 0)
            {
                SpinStep(SpinStepForHold(::GetTickCount() - start), direction);
                if (firstTick)
                {
                    ::SetTimer(barWindow, kTimerSpin, kSpinRepeatPeriod, nullptr);
                    firstTick = FALSE;
                }
            }
            return CModalLoop::Handled;
        }
        return CModalLoop::Dispatch;
    });

    ::KillTimer(barWindow, kTimerSpin);
    m_pressed = 0;
    if (::GetCapture() == barWindow)
        ::ReleaseCapture();
    RedrawParent();
    if (m_parent == bar && bar->GetPosition() != kPopupPosition)
        bar->SetTrackingMode(FALSE, TRUE, FALSE);
}

// ---- Action changes ----

void COSMControlEdit::OnActionChanging(int property)
{
    BeforeActionChange(property);
}

void COSMControlEdit::OnActionChanged(int property)
{
    COSMControl::OnActionChanged(property);
    FollowActionChange(property);
}
