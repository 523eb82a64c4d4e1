// A control's answers to screen readers. The control is child 0 of its own object; the bar it opens, when it opens
// one, is its only child. Its parent is the bar that holds it.
#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/Control.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/foundation/TextFunctions.h"

namespace {

// What the selected control adds to its state: focused, hot-tracked and selected.
const long kSelectedState = STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_SELECTED;
// Bars of these types (toolbars) hold buttons; every other bar holds menu items.
const int kToolBarType = 1;
const int kToolBarTypeOther = 3;

bool IsSelf(const VARIANT& varChild)
{
    return COSMAccessible::GetChildIdFromVariant(&varChild) == CHILDID_SELF;
}

// A text the control gives about itself only: for any other child the answer is E_INVALIDARG and no text.
HRESULT AnswerSelfText(const VARIANT& varChild, BSTR* out, const CString& text)
{
    if (!out)
        return E_INVALIDARG;
    *out = nullptr;
    if (!IsSelf(varChild))
        return E_INVALIDARG;
    return COSMAccessible::SetAccessibleText(out, text);
}

}  // namespace

CString COSMControl::GetAccessibleCaption() const
{
    CString name = GetCaption();
    StripMnemonics(name);
    const CString shortcut = GetShortcutText();
    if (!shortcut.IsEmpty())
        name += "\t" + shortcut;
    return name;
}

HRESULT COSMControl::GetAccessibleParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_INVALIDARG;
    *ppdispParent = m_parent ? m_parent->GetIDispatch(TRUE) : nullptr;
    return *ppdispParent ? S_OK : E_FAIL;
}

HRESULT COSMControl::GetAccessibleChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_INVALIDARG;
    *pcountChildren = GetCommandBar() ? 1 : 0;
    return S_OK;
}

HRESULT COSMControl::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_INVALIDARG;
    *ppdispChild = nullptr;
    COSMCommandBar* bar = GetCommandBar();
    if (bar && GetChildIdFromVariant(&varChild) == 1)
        *ppdispChild = bar->GetIDispatch(TRUE);
    return S_OK;
}

HRESULT COSMControl::GetAccessibleName(VARIANT varChild, BSTR* pszName)
{
    const CString name = GetAccessibleCaption();
    return AnswerSelfText(varChild, pszName, name.IsEmpty() ? GetTooltip() : name);
}

HRESULT COSMControl::GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription)
{
    return AnswerSelfText(varChild, pszDescription, GetDescription());
}

HRESULT COSMControl::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (!pvarRole)
        return E_INVALIDARG;
    ::VariantInit(pvarRole);
    if (!IsSelf(varChild) || !m_parent || !m_parent->GetSafeHwnd())
        return E_INVALIDARG;
    const int barType = m_parent->GetType();
    if (barType != kToolBarType && barType != kToolBarTypeOther)
        SetAccessibleLong(pvarRole, ROLE_SYSTEM_MENUITEM);
    else
        SetAccessibleLong(pvarRole, GetCommandBar() ? ROLE_SYSTEM_BUTTONMENU : ROLE_SYSTEM_PUSHBUTTON);
    return S_OK;
}

HRESULT COSMControl::GetAccessibleState(VARIANT varChild, VARIANT* pvarState)
{
    if (!pvarState)
        return E_INVALIDARG;
    ::VariantInit(pvarState);
    if (!IsSelf(varChild))
        return E_INVALIDARG;
    long state = STATE_SYSTEM_FOCUSABLE;
    if (GetSelected())
        state |= kSelectedState;
    // A control in no bar is not on screen either.
    if (!m_parent || !m_parent->IsVisible() || !IsVisible(0))
        state |= STATE_SYSTEM_INVISIBLE;
    if (GetEnabled() == 0)
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (GetChecked())
        state |= STATE_SYSTEM_CHECKED;
    if (GetPressed())
        state |= STATE_SYSTEM_PRESSED;
    if (GetCommandBar())
        state |= STATE_SYSTEM_HASPOPUP;
    SetAccessibleLong(pvarState, state);
    return S_OK;
}

HRESULT COSMControl::GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    return AnswerSelfText(varChild, pszDefaultAction, "Click");
}

HRESULT COSMControl::AccessibleSelect(long flagsSelect, VARIANT varChild)
{
    if (!IsSelf(varChild))
        return E_INVALIDARG;
    if (m_parent && m_parent->GetSafeHwnd())
    {
        m_parent->SetTrackingMode(TRUE, FALSE, FALSE);
        m_parent->SetSelected(m_index, COSMCommandBar::kSelectKeyboard);
    }
    return S_OK;
}

HRESULT COSMControl::AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_INVALIDARG;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    if (!IsSelf(varChild))
        return E_INVALIDARG;
    if (!m_parent || !m_parent->GetSafeHwnd() || !IsVisible(0))
        return S_OK;
    CRect rect = m_rect;
    m_parent->ClientToScreen(&rect);
    *pxLeft = rect.left;
    *pyTop = rect.top;
    *pcxWidth = rect.Width();
    *pcyHeight = rect.Height();
    return S_OK;
}

HRESULT COSMControl::AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_INVALIDARG;
    ::VariantInit(pvarChild);
    if (!m_parent || !m_parent->GetSafeHwnd())
        return S_FALSE;
    CRect window;
    m_parent->GetWindowRect(&window);
    CPoint point(xLeft, yTop);
    if (!window.PtInRect(point))
        return S_FALSE;
    m_parent->ScreenToClient(&point);
    SetAccessibleLong(pvarChild, CHILDID_SELF);
    return m_rect.PtInRect(point) ? S_OK : S_FALSE;
}

HRESULT COSMControl::AccessibleDoDefaultAction(VARIANT varChild)
{
    if (!IsSelf(varChild))
        return E_INVALIDARG;
    // As a click from the keyboard: no point under the mouse.
    OnClick(TRUE, CPoint(0, 0));
    return S_OK;
}
