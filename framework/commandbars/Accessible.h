// COSMAccessible lets screen readers see owner-drawn bars and controls through Active Accessibility. It is the second
// base of a reference-counted command target (the owner); its virtual operations mirror IAccessible's methods, and
// its member m_xAccessible is the IAccessible that COM clients get. That object has no count of its own: its
// QueryInterface, AddRef and Release go to the owner (GetAccessibleOwner) and its interface map, so the release of
// the last COM reference ends the owner.
//
// An owner lists the object in its interface map and names itself as the owner:
//
//   class COSMControl : public CCmdTarget, public COSMAccessible
//   {
//       CCmdTarget* GetAccessibleOwner() override { return this; }
//       HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;   // the answers it gives
//       DECLARE_INTERFACE_MAP()
//   };
//
//   BEGIN_INTERFACE_MAP(COSMControl, CCmdTarget)
//       INTERFACE_PART(IAccessible, m_xAccessible)
//   END_INTERFACE_MAP()
//
// Owners that are handed out as IDispatch (GetAccessibleParent, GetAccessibleChild) call EnableAutomation in their
// constructor; QueryInterface for IAccessible on that IDispatch then finds m_xAccessible through the map.
//
// The system functions come at run time: NotifyWinEvent from user32 (held from construction), LresultFromObject and
// AccessibleObjectFromWindow from oleacc.dll (loaded on first use). Without them events are dropped and the
// forwarding calls answer E_FAIL. The three function pointers are public so tests can put their own in.
#pragma once

#include "classlib/ClassLibBase.h"
#include "framework/foundation/ModuleHandle.h"

#include <oleacc.h>

class COSMAccessible
{
public:
    using PFNNOTIFYWINEVENT = void(WINAPI*)(DWORD event, HWND hWnd, LONG idObject, LONG idChild);
    using PFNLRESULTFROMOBJECT = LRESULT(WINAPI*)(REFIID riid, WPARAM wParam, LPUNKNOWN punk);
    using PFNACCESSIBLEOBJECTFROMWINDOW = HRESULT(WINAPI*)(HWND hWnd, DWORD dwObjectID, REFIID riid, void** ppvObject);

    COSMAccessible();
    virtual ~COSMAccessible();
    COSMAccessible(const COSMAccessible&) = delete;
    COSMAccessible& operator=(const COSMAccessible&) = delete;

    // ---- Override these: IAccessible's methods, same arguments, same order ------------------------------------
    // The base answers E_NOTIMPL, except GetAccessibleFocus and GetAccessibleSelection: S_FALSE (nothing focused or
    // selected, the VARIANT left VT_EMPTY). Out pointers are emptied before a failure is returned.
    virtual HRESULT GetAccessibleParent(IDispatch** ppdispParent);
    virtual HRESULT GetAccessibleChildCount(long* pcountChildren);
    virtual HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild);
    virtual HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName);
    virtual HRESULT GetAccessibleValue(VARIANT varChild, BSTR* pszValue);
    virtual HRESULT GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription);
    virtual HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole);
    virtual HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState);
    virtual HRESULT GetAccessibleHelp(VARIANT varChild, BSTR* pszHelp);
    virtual HRESULT GetAccessibleHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic);
    virtual HRESULT GetAccessibleKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut);
    virtual HRESULT GetAccessibleFocus(VARIANT* pvarChild);
    virtual HRESULT GetAccessibleSelection(VARIANT* pvarChildren);
    virtual HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction);
    virtual HRESULT AccessibleSelect(long flagsSelect, VARIANT varChild);
    virtual HRESULT AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild);
    virtual HRESULT AccessibleNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt);
    virtual HRESULT AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild);
    virtual HRESULT AccessibleDoDefaultAction(VARIANT varChild);
    virtual HRESULT PutAccessibleName(VARIANT varChild, BSTR szName);
    virtual HRESULT PutAccessibleValue(VARIANT varChild, BSTR szValue);
    // The reference-counted command target whose interface map lists m_xAccessible; the base has none (null), and
    // its IAccessible then answers no QueryInterface and counts nothing.
    virtual CCmdTarget* GetAccessibleOwner();

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // NotifyWinEvent when user32 has it; nothing otherwise.
    void AccessibleNotifyWinEvent(DWORD event, HWND hWnd, LONG idObject, LONG idChild);
    // Forward to oleacc.dll, loading it on the first call; E_FAIL when it or the function is missing.
    LRESULT LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk);
    HRESULT AccessibleObjectFromWindow(HWND hWnd, DWORD dwObjectID, REFIID riid, void** ppvObject);
    // The child id a VARIANT names: 0 the object itself (VT_EMPTY), the number of VT_I4 and VT_I2 (also by
    // reference, and through a referenced VARIANT); -1 for a null pointer, a null reference or any other type.
    static long GetChildIdFromVariant(const VARIANT* pVar);
    // Answer helpers for owners: the text as a new BSTR (E_OUTOFMEMORY when none can be had), a VT_I4 VARIANT.
    static HRESULT SetAccessibleText(BSTR* out, const CString& text);
    static void SetAccessibleLong(VARIANT* out, long value);

    // The system functions, null until found; tests may replace them.
    PFNNOTIFYWINEVENT m_pNotifyWinEvent = nullptr;
    PFNLRESULTFROMOBJECT m_pLresultFromObject = nullptr;
    PFNACCESSIBLEOBJECTFROMWINDOW m_pAccessibleObjectFromWindow = nullptr;

protected:
    // The IAccessible COM clients get: every call goes to the COSMAccessible that holds it.
    class XAccessible : public IAccessible
    {
    public:
        explicit XAccessible(COSMAccessible* pOuter) : m_pOuter(pOuter) {}
        virtual ~XAccessible() = default;
        XAccessible(const XAccessible&) = delete;
        XAccessible& operator=(const XAccessible&) = delete;

        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;

        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
        HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                                DISPID* rgDispId) override;
        HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                         DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                         UINT* puArgErr) override;

        HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** ppdispParent) override;
        HRESULT STDMETHODCALLTYPE get_accChildCount(long* pcountChildren) override;
        HRESULT STDMETHODCALLTYPE get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
        HRESULT STDMETHODCALLTYPE get_accName(VARIANT varChild, BSTR* pszName) override;
        HRESULT STDMETHODCALLTYPE get_accValue(VARIANT varChild, BSTR* pszValue) override;
        HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
        HRESULT STDMETHODCALLTYPE get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
        HRESULT STDMETHODCALLTYPE get_accState(VARIANT varChild, VARIANT* pvarState) override;
        HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT varChild, BSTR* pszHelp) override;
        HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic) override;
        HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
        HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* pvarChild) override;
        HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* pvarChildren) override;
        HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
        HRESULT STDMETHODCALLTYPE accSelect(long flagsSelect, VARIANT varChild) override;
        HRESULT STDMETHODCALLTYPE accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                              VARIANT varChild) override;
        HRESULT STDMETHODCALLTYPE accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
        HRESULT STDMETHODCALLTYPE accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
        HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT varChild) override;
        HRESULT STDMETHODCALLTYPE put_accName(VARIANT varChild, BSTR szName) override;
        HRESULT STDMETHODCALLTYPE put_accValue(VARIANT varChild, BSTR szValue) override;

    private:
        COSMAccessible* m_pOuter;
    };

    // The owner's interface-map entry names this member: INTERFACE_PART(IAccessible, m_xAccessible).
    XAccessible m_xAccessible{this};

    // user32 from construction to destruction; oleacc.dll from its first use (tests may hold another module here
    // first, to stand for an oleacc that lacks a function).
    COSMModuleHandle m_user32;
    COSMModuleHandle m_oleacc;

private:
    // Loads oleacc.dll unless a module is held already.
    bool HoldOleacc();
};
