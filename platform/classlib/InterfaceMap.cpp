// A command target's COM side: the interface-map lookup, the external reference counting nested COM objects call,
// and the minimal automation IDispatch.
#include "classlib/CmdTarget.h"

namespace osm_classlib_detail {

// The IDispatch EnableAutomation gives a target. Its count is the target's, so it lives exactly as long as the
// target does.
class CmdTargetDispatch final : public CNestedInterface<IDispatch>
{
public:
    using CNestedInterface::CNestedInterface;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override
    {
        if (pctinfo)
            *pctinfo = 0;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override
    {
        if (ppTInfo)
            *ppTInfo = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
};

}  // namespace osm_classlib_detail

CCmdTarget::CCmdTarget() = default;

CCmdTarget::~CCmdTarget() = default;

const AFX_INTERFACEMAP* PASCAL CCmdTarget::GetThisInterfaceMap()
{
    static const AFX_INTERFACEMAP_ENTRY entries[] = {{nullptr, nullptr}};
    static const AFX_INTERFACEMAP interfaceMap = {nullptr, &entries[0]};
    return &interfaceMap;
}

const AFX_INTERFACEMAP* CCmdTarget::GetInterfaceMap() const
{
    return GetThisInterfaceMap();
}

IUnknown* CCmdTarget::GetInterface(REFIID iid)
{
    if (m_pDispatch && (::IsEqualIID(iid, __uuidof(IUnknown)) || ::IsEqualIID(iid, __uuidof(IDispatch))))
        return m_pDispatch.get();
    const bool wantsIdentity = ::IsEqualIID(iid, __uuidof(IUnknown));
    for (const AFX_INTERFACEMAP* pMap = GetInterfaceMap(); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_INTERFACEMAP_ENTRY* e = pMap->pEntries; e->piid; ++e)
        {
            // Without automation the identity is the first interface listed, whichever one was asked for first.
            if (wantsIdentity || ::IsEqualIID(iid, *e->piid))
                return e->pfnGetInterface(this);
        }
    }
    return nullptr;
}

HRESULT CCmdTarget::ExternalQueryInterface(REFIID iid, void** ppvObj)
{
    if (!ppvObj)
        return E_POINTER;
    IUnknown* pUnknown = GetInterface(iid);
    *ppvObj = pUnknown;
    if (!pUnknown)
        return E_NOINTERFACE;
    ExternalAddRef();
    return S_OK;
}

ULONG CCmdTarget::ExternalAddRef()
{
    return InternalAddRef();
}

ULONG CCmdTarget::ExternalRelease()
{
    return InternalRelease();
}

void CCmdTarget::EnableAutomation()
{
    if (!m_pDispatch)
        m_pDispatch = std::make_unique<osm_classlib_detail::CmdTargetDispatch>(this);
}

IDispatch* CCmdTarget::GetIDispatch(BOOL bAddRef)
{
    if (!m_pDispatch)
        return nullptr;
    if (bAddRef)
        ExternalAddRef();
    return m_pDispatch.get();
}
