// The gallery's answers to screen readers: its items are its children (child id = index + 1), a list of list
// items; requests about the control itself go to the control's own answers.
#include "framework/controls/ControlGallery.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ControlGalleryItems.h"

int COSMControlGallery::GetAccessibleItemIndex(const VARIANT& varChild) const
{
    const long child = GetChildIdFromVariant(&varChild);
    if (child == CHILDID_SELF)
        return -1;
    if (child < 1 || child > GetItemCount())
        return kInvalidChild;
    return static_cast<int>(child - 1);
}

HRESULT COSMControlGallery::GetAccessibleChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_INVALIDARG;
    *pcountChildren = GetItemCount();
    return S_OK;
}

HRESULT COSMControlGallery::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_INVALIDARG;
    *ppdispChild = nullptr;
    const int index = GetAccessibleItemIndex(varChild);
    if (index == kInvalidChild)
        return E_INVALIDARG;
    // Items are simple elements, no objects of their own.
    return S_FALSE;
}

HRESULT COSMControlGallery::GetAccessibleName(VARIANT varChild, BSTR* pszName)
{
    if (!pszName)
        return E_INVALIDARG;
    *pszName = nullptr;
    const int index = GetAccessibleItemIndex(varChild);
    if (index == -1)
        return COSMControlPopup::GetAccessibleName(varChild, pszName);
    if (index == kInvalidChild)
        return E_INVALIDARG;
    const COSMControlGalleryItem* item = GetItem(index);
    CString name = item->GetCaption();
    COSMPaintManager::StripMnemonics(name);
    return SetAccessibleText(pszName, name.IsEmpty() ? item->GetTooltip() : name);
}

HRESULT COSMControlGallery::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (!pvarRole)
        return E_INVALIDARG;
    ::VariantInit(pvarRole);
    const int index = GetAccessibleItemIndex(varChild);
    if (index == kInvalidChild)
        return E_INVALIDARG;
    SetAccessibleLong(pvarRole, index == -1 ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM);
    return S_OK;
}

HRESULT COSMControlGallery::GetAccessibleState(VARIANT varChild, VARIANT* pvarState)
{
    if (!pvarState)
        return E_INVALIDARG;
    ::VariantInit(pvarState);
    const int index = GetAccessibleItemIndex(varChild);
    if (index == -1)
        return COSMControlPopup::GetAccessibleState(varChild, pvarState);
    if (index == kInvalidChild)
        return E_INVALIDARG;
    long state = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    if (index == m_selectedItem)
        state |= STATE_SYSTEM_FOCUSED;
    if (IsItemChecked(GetItem(index)))
        state |= STATE_SYSTEM_SELECTED;
    SetAccessibleLong(pvarState, state);
    return S_OK;
}

HRESULT COSMControlGallery::GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    if (!pszDefaultAction)
        return E_INVALIDARG;
    *pszDefaultAction = nullptr;
    const int index = GetAccessibleItemIndex(varChild);
    if (index == -1)
        return COSMControlPopup::GetAccessibleDefaultAction(varChild, pszDefaultAction);
    if (index == kInvalidChild)
        return E_INVALIDARG;
    return SetAccessibleText(pszDefaultAction, "Click");
}

HRESULT COSMControlGallery::AccessibleSelect(long flagsSelect, VARIANT varChild)
{
    const int index = GetAccessibleItemIndex(varChild);
    if (index == -1)
        return COSMControlPopup::AccessibleSelect(flagsSelect, varChild);
    if (index == kInvalidChild)
        return E_INVALIDARG;
    SetSelectedItem(index);
    return S_OK;
}

HRESULT COSMControlGallery::AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                               VARIANT varChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_INVALIDARG;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    const int index = GetAccessibleItemIndex(varChild);
    if (index == -1)
        return COSMControlPopup::AccessibleLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
    if (index == kInvalidChild)
        return E_INVALIDARG;
    if (!m_parent || !m_parent->GetSafeHwnd() || !IsVisible(0))
        return S_OK;
    CRect rect = GetItemDrawRect(index);
    if (rect.IsRectEmpty())
        rect = m_rect;
    m_parent->ClientToScreen(&rect);
    *pxLeft = rect.left;
    *pyTop = rect.top;
    *pcxWidth = rect.Width();
    *pcyHeight = rect.Height();
    return S_OK;
}

HRESULT COSMControlGallery::AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    const HRESULT result = COSMControlPopup::AccessibleHitTest(xLeft, yTop, pvarChild);
    if (result != S_OK || !m_parent)
        return result;
    CPoint point(xLeft, yTop);
    m_parent->ScreenToClient(&point);
    const int index = HitTestItem(point.x, point.y);
    if (index != -1)
        SetAccessibleLong(pvarChild, index + 1);
    return S_OK;
}

HRESULT COSMControlGallery::AccessibleDoDefaultAction(VARIANT varChild)
{
    const int index = GetAccessibleItemIndex(varChild);
    if (index == -1)
        return COSMControlPopup::AccessibleDoDefaultAction(varChild);
    if (index == kInvalidChild)
        return E_INVALIDARG;
    SetSelectedItem(index);
    return S_OK;
}
