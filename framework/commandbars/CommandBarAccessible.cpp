// The bar's answers to screen readers. Child 0 is the bar itself, child n the control at index n - 1; controls are
// handed out as their IDispatch, on which the reader finds their own IAccessible.
#include "classlib/Geometry.h"
#include "framework/commandbars/CommandBar.h"

#include "framework/commandbars/PopupBar.h"

namespace {

// What a control of a bar reports, and what the selected one adds (focused, hot-tracked, selected).
const long kControlState = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
const long kSelectedControlState = STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_SELECTED;

}  // namespace

COSMControl* COSMCommandBar::GetAccessibleControl(long childId) const
{
    return childId >= 1 ? GetControl(static_cast<int>(childId - 1)) : nullptr;
}

HRESULT COSMCommandBar::GetAccessibleParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_INVALIDARG;
    *ppdispParent = nullptr;
    if (IsPopupBar())
    {
        // A popup belongs to the control that opened it.
        COSMControl* opener = static_cast<const COSMPopupBar*>(this)->GetControlPopup();
        if (!opener || !(*ppdispParent = opener->GetIDispatch(TRUE)))
            return E_FAIL;
        return S_OK;
    }
    if (!GetSafeHwnd())
        return E_FAIL;
    return AccessibleObjectFromWindow(m_hWnd, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(ppdispParent));
}

HRESULT COSMCommandBar::GetAccessibleChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_INVALIDARG;
    *pcountChildren = GetControlCount();
    return S_OK;
}

HRESULT COSMCommandBar::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_INVALIDARG;
    *ppdispChild = nullptr;
    if (COSMControl* control = GetAccessibleControl(GetChildIdFromVariant(&varChild)))
        *ppdispChild = control->GetIDispatch(TRUE);
    return S_OK;
}

HRESULT COSMCommandBar::GetAccessibleName(VARIANT varChild, BSTR* pszName)
{
    if (!pszName)
        return E_INVALIDARG;
    *pszName = nullptr;
    const long childId = GetChildIdFromVariant(&varChild);
    if (childId == CHILDID_SELF)
        return SetAccessibleText(pszName, m_title);
    const COSMControl* control = GetAccessibleControl(childId);
    if (!control)
        return E_INVALIDARG;
    return SetAccessibleText(pszName, control->GetAccessibleCaption());
}

HRESULT COSMCommandBar::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (!pvarRole)
        return E_INVALIDARG;
    ::VariantInit(pvarRole);
    const long childId = GetChildIdFromVariant(&varChild);
    if (childId < 0)
        return E_INVALIDARG;
    if (childId > 0)
        SetAccessibleLong(pvarRole, ROLE_SYSTEM_MENUITEM);
    else if (m_type == 0)
        SetAccessibleLong(pvarRole, ROLE_SYSTEM_MENUBAR);
    else if (m_type == 2)
        SetAccessibleLong(pvarRole, ROLE_SYSTEM_MENUPOPUP);
    else
        SetAccessibleLong(pvarRole, ROLE_SYSTEM_TOOLBAR);
    return S_OK;
}

HRESULT COSMCommandBar::GetAccessibleState(VARIANT varChild, VARIANT* pvarState)
{
    if (!pvarState)
        return E_INVALIDARG;
    ::VariantInit(pvarState);
    const long childId = GetChildIdFromVariant(&varChild);
    long state = IsVisible() ? 0 : STATE_SYSTEM_INVISIBLE;
    if (childId != CHILDID_SELF)
    {
        const COSMControl* control = GetAccessibleControl(childId);
        if (!control)
            return E_INVALIDARG;
        state |= kControlState;
        if (control->GetIndex() == m_selectedIndex)
            state |= kSelectedControlState;
    }
    SetAccessibleLong(pvarState, state);
    return S_OK;
}

HRESULT COSMCommandBar::AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_INVALIDARG;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    const long childId = GetChildIdFromVariant(&varChild);
    const COSMControl* control = GetAccessibleControl(childId);
    if (childId != CHILDID_SELF && !control)
        return E_INVALIDARG;
    if (!GetSafeHwnd())
        return S_OK;
    CRect rect;
    if (control)
    {
        rect = control->GetRect();
        ClientToScreen(&rect);
    }
    else
    {
        GetWindowRect(&rect);
    }
    *pxLeft = rect.left;
    *pyTop = rect.top;
    *pcxWidth = rect.Width();
    *pcyHeight = rect.Height();
    return S_OK;
}

HRESULT COSMCommandBar::AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_INVALIDARG;
    ::VariantInit(pvarChild);
    if (!GetSafeHwnd())
        return S_FALSE;
    CRect window;
    GetWindowRect(&window);
    CPoint point(xLeft, yTop);
    if (!window.PtInRect(point))
        return S_FALSE;
    ScreenToClient(&point);
    if (COSMControl* control = m_controls->HitTest(point))
    {
        pvarChild->vt = VT_DISPATCH;
        pvarChild->pdispVal = control->GetIDispatch(TRUE);
        return S_OK;
    }
    SetAccessibleLong(pvarChild, CHILDID_SELF);
    return S_OK;
}
