#include "framework/commandbars/Accessible.h"

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"

namespace {

// COM asks that out parameters hold nothing when a call fails.
template <typename T> void ClearOut(T** pp)
{
    if (pp)
        *pp = nullptr;
}

void ClearOut(VARIANT* pVar)
{
    if (pVar)
        ::VariantInit(pVar);
}

void ClearOut(long* pValue)
{
    if (pValue)
        *pValue = 0;
}

// The base answer of the operations the owner does not give: nothing out, E_NOTIMPL.
template <typename... Out> HRESULT NotImplemented(Out*... outs)
{
    (ClearOut(outs), ...);
    return E_NOTIMPL;
}

}  // namespace

COSMAccessible::COSMAccessible()
{
    if (m_user32.Init("user32.dll"))
        m_user32.GetProcAddress(&m_pNotifyWinEvent, "NotifyWinEvent");
}

COSMAccessible::~COSMAccessible() = default;

HRESULT COSMAccessible::GetAccessibleParent(IDispatch** ppdispParent)
{
    return NotImplemented(ppdispParent);
}

HRESULT COSMAccessible::GetAccessibleChildCount(long* pcountChildren)
{
    return NotImplemented(pcountChildren);
}

HRESULT COSMAccessible::GetAccessibleChild(VARIANT, IDispatch** ppdispChild)
{
    return NotImplemented(ppdispChild);
}

HRESULT COSMAccessible::GetAccessibleName(VARIANT, BSTR* pszName)
{
    return NotImplemented(pszName);
}

HRESULT COSMAccessible::GetAccessibleValue(VARIANT, BSTR* pszValue)
{
    return NotImplemented(pszValue);
}

HRESULT COSMAccessible::GetAccessibleDescription(VARIANT, BSTR* pszDescription)
{
    return NotImplemented(pszDescription);
}

HRESULT COSMAccessible::GetAccessibleRole(VARIANT, VARIANT* pvarRole)
{
    return NotImplemented(pvarRole);
}

HRESULT COSMAccessible::GetAccessibleState(VARIANT, VARIANT* pvarState)
{
    return NotImplemented(pvarState);
}

HRESULT COSMAccessible::GetAccessibleHelp(VARIANT, BSTR* pszHelp)
{
    return NotImplemented(pszHelp);
}

HRESULT COSMAccessible::GetAccessibleHelpTopic(BSTR* pszHelpFile, VARIANT, long* pidTopic)
{
    return NotImplemented(pszHelpFile, pidTopic);
}

HRESULT COSMAccessible::GetAccessibleKeyboardShortcut(VARIANT, BSTR* pszKeyboardShortcut)
{
    return NotImplemented(pszKeyboardShortcut);
}

HRESULT COSMAccessible::GetAccessibleFocus(VARIANT* pvarChild)
{
    ClearOut(pvarChild);
    return S_FALSE;
}

HRESULT COSMAccessible::GetAccessibleSelection(VARIANT* pvarChildren)
{
    ClearOut(pvarChildren);
    return S_FALSE;
}

HRESULT COSMAccessible::GetAccessibleDefaultAction(VARIANT, BSTR* pszDefaultAction)
{
    return NotImplemented(pszDefaultAction);
}

HRESULT COSMAccessible::AccessibleSelect(long, VARIANT)
{
    return NotImplemented();
}

HRESULT COSMAccessible::AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT)
{
    return NotImplemented(pxLeft, pyTop, pcxWidth, pcyHeight);
}

HRESULT COSMAccessible::AccessibleNavigate(long, VARIANT, VARIANT* pvarEndUpAt)
{
    return NotImplemented(pvarEndUpAt);
}

HRESULT COSMAccessible::AccessibleHitTest(long, long, VARIANT* pvarChild)
{
    return NotImplemented(pvarChild);
}

HRESULT COSMAccessible::AccessibleDoDefaultAction(VARIANT)
{
    return NotImplemented();
}

HRESULT COSMAccessible::PutAccessibleName(VARIANT, BSTR)
{
    return NotImplemented();
}

HRESULT COSMAccessible::PutAccessibleValue(VARIANT, BSTR)
{
    return NotImplemented();
}

CCmdTarget* COSMAccessible::GetAccessibleOwner()
{
    return nullptr;
}

void COSMAccessible::AccessibleNotifyWinEvent(DWORD event, HWND hWnd, LONG idObject, LONG idChild)
{
    if (m_pNotifyWinEvent)
        m_pNotifyWinEvent(event, hWnd, idObject, idChild);
}

bool COSMAccessible::HoldOleacc()
{
    return m_oleacc.GetHandle() || m_oleacc.LoadLibrary("oleacc.dll");
}

LRESULT COSMAccessible::LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk)
{
    if (!m_pLresultFromObject && HoldOleacc())
        m_oleacc.GetProcAddress(&m_pLresultFromObject, "LresultFromObject");
    if (!m_pLresultFromObject)
        return E_FAIL;
    return m_pLresultFromObject(riid, wParam, punk);
}

HRESULT COSMAccessible::AccessibleObjectFromWindow(HWND hWnd, DWORD dwObjectID, REFIID riid, void** ppvObject)
{
    if (!m_pAccessibleObjectFromWindow && HoldOleacc())
        m_oleacc.GetProcAddress(&m_pAccessibleObjectFromWindow, "AccessibleObjectFromWindow");
    if (!m_pAccessibleObjectFromWindow)
    {
        ClearOut(ppvObject);
        return E_FAIL;
    }
    return m_pAccessibleObjectFromWindow(hWnd, dwObjectID, riid, ppvObject);
}

long COSMAccessible::GetChildIdFromVariant(const VARIANT* pVar)
{
    if (!pVar)
        return -1;
    switch (pVar->vt)
    {
    case VT_EMPTY:
        return 0;
    case VT_I4:
        return pVar->lVal;
    case VT_I2:
        return pVar->iVal;
    case VT_BYREF | VT_I4:
        return pVar->plVal ? *pVar->plVal : -1;
    case VT_BYREF | VT_I2:
        return pVar->piVal ? *pVar->piVal : -1;
    case VT_BYREF | VT_VARIANT:
        // One level only: COM allows no reference to a reference, and a VARIANT that names itself must not loop.
        if (!pVar->pvarVal || pVar->pvarVal->vt == (VT_BYREF | VT_VARIANT))
            return -1;
        return GetChildIdFromVariant(pVar->pvarVal);
    default:
        return -1;
    }
}

HRESULT COSMAccessible::SetAccessibleText(BSTR* out, const CString& text)
{
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text, text.GetLength(), nullptr, 0);
    *out = ::SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (!*out)
        return E_OUTOFMEMORY;
    ::MultiByteToWideChar(CP_ACP, 0, text, text.GetLength(), *out, length);
    return S_OK;
}

void COSMAccessible::SetAccessibleLong(VARIANT* out, long value)
{
    ::VariantInit(out);
    out->vt = VT_I4;
    out->lVal = value;
}

// The COM object: its count and lookups are the owner's, the rest is the outer object's operations.

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::QueryInterface(REFIID riid, void** ppvObject)
{
    CCmdTarget* pOwner = m_pOuter->GetAccessibleOwner();
    if (!pOwner)
    {
        ClearOut(ppvObject);
        return ppvObject ? E_NOINTERFACE : E_POINTER;
    }
    return pOwner->ExternalQueryInterface(riid, ppvObject);
}

ULONG STDMETHODCALLTYPE COSMAccessible::XAccessible::AddRef()
{
    CCmdTarget* pOwner = m_pOuter->GetAccessibleOwner();
    return pOwner ? pOwner->ExternalAddRef() : 0;
}

ULONG STDMETHODCALLTYPE COSMAccessible::XAccessible::Release()
{
    CCmdTarget* pOwner = m_pOuter->GetAccessibleOwner();
    return pOwner ? pOwner->ExternalRelease() : 0;
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo)
        *pctinfo = 0;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    return NotImplemented(ppTInfo);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                                              EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::get_accParent(IDispatch** ppdispParent)
{
    return m_pOuter->GetAccessibleParent(ppdispParent);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::get_accChildCount(long* pcountChildren)
{
    return m_pOuter->GetAccessibleChildCount(pcountChildren);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    return m_pOuter->GetAccessibleChild(varChild, ppdispChild);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::get_accName(VARIANT varChild, BSTR* pszName)
{
    return m_pOuter->GetAccessibleName(varChild, pszName);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::get_accValue(VARIANT varChild, BSTR* pszValue)
{
    return m_pOuter->GetAccessibleValue(varChild, pszValue);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::get_accDescription(VARIANT varChild, BSTR* pszDescription)
{
    return m_pOuter->GetAccessibleDescription(varChild, pszDescription);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    return m_pOuter->GetAccessibleRole(varChild, pvarRole);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    return m_pOuter->GetAccessibleState(varChild, pvarState);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::get_accHelp(VARIANT varChild, BSTR* pszHelp)
{
    return m_pOuter->GetAccessibleHelp(varChild, pszHelp);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild,
                                                                        long* pidTopic)
{
    return m_pOuter->GetAccessibleHelpTopic(pszHelpFile, varChild, pidTopic);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::get_accKeyboardShortcut(VARIANT varChild,
                                                                               BSTR* pszKeyboardShortcut)
{
    return m_pOuter->GetAccessibleKeyboardShortcut(varChild, pszKeyboardShortcut);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::get_accFocus(VARIANT* pvarChild)
{
    return m_pOuter->GetAccessibleFocus(pvarChild);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::get_accSelection(VARIANT* pvarChildren)
{
    return m_pOuter->GetAccessibleSelection(pvarChildren);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    return m_pOuter->GetAccessibleDefaultAction(varChild, pszDefaultAction);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::accSelect(long flagsSelect, VARIANT varChild)
{
    return m_pOuter->AccessibleSelect(flagsSelect, varChild);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::accLocation(long* pxLeft, long* pyTop, long* pcxWidth,
                                                                   long* pcyHeight, VARIANT varChild)
{
    return m_pOuter->AccessibleLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt)
{
    return m_pOuter->AccessibleNavigate(navDir, varStart, pvarEndUpAt);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    return m_pOuter->AccessibleHitTest(xLeft, yTop, pvarChild);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::accDoDefaultAction(VARIANT varChild)
{
    return m_pOuter->AccessibleDoDefaultAction(varChild);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::put_accName(VARIANT varChild, BSTR szName)
{
    return m_pOuter->PutAccessibleName(varChild, szName);
}

HRESULT STDMETHODCALLTYPE COSMAccessible::XAccessible::put_accValue(VARIANT varChild, BSTR szValue)
{
    return m_pOuter->PutAccessibleValue(varChild, szValue);
}
