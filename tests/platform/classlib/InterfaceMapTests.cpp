// A command target's COM side: interfaces found through the class's and its bases' maps, one identity whatever is
// asked first, the target's own count behind every COM reference, and the automation IDispatch that answers
// E_NOTIMPL to everything but identity and counting.
#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

namespace {

HWND const kReportedWindow = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1234));
const CLSID kReportedClass = {0x6b0d1f2a, 0x21c5, 0x4f0e, {0x9a, 0x61, 0x1e, 0x3d, 0x50, 0x7c, 0x2b, 0x88}};

// A window-describing object: IOleWindow in its own map.
class CWindowObject : public CCmdTarget
{
public:
    explicit CWindowObject(bool* pDestroyed = nullptr) : m_pDestroyed(pDestroyed) {}
    ~CWindowObject() override
    {
        if (m_pDestroyed)
            *m_pDestroyed = true;
    }
    LONG Count() const { return m_dwRef; }
    IOleWindow* OleWindow() { return &m_xOleWindow; }

protected:
    struct XOleWindow : CNestedInterface<IOleWindow>
    {
        using CNestedInterface::CNestedInterface;
        HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override
        {
            *phwnd = kReportedWindow;
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    } m_xOleWindow{this};

    DECLARE_INTERFACE_MAP()

private:
    bool* m_pDestroyed;
};

BEGIN_INTERFACE_MAP(CWindowObject, CCmdTarget)
    INTERFACE_PART(IOleWindow, m_xOleWindow)
END_INTERFACE_MAP()

// Adds IPersist in a map of its own; IOleWindow comes from the base's map.
class CPersistentWindowObject : public CWindowObject
{
public:
    IPersist* Persist() { return &m_xPersist; }

protected:
    struct XPersist : CNestedInterface<IPersist>
    {
        using CNestedInterface::CNestedInterface;
        HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override
        {
            *pClassID = kReportedClass;
            return S_OK;
        }
    } m_xPersist{this};

    DECLARE_INTERFACE_MAP()
};

BEGIN_INTERFACE_MAP(CPersistentWindowObject, CWindowObject)
    INTERFACE_PART(IPersist, m_xPersist)
END_INTERFACE_MAP()

template <typename Interface> HRESULT Query(IUnknown* pFrom, Interface** ppOut)
{
    return pFrom->QueryInterface(__uuidof(Interface), reinterpret_cast<void**>(ppOut));
}

TEST(InterfaceMapTest, InterfacesComeFromTheClassAndItsBasesMaps)
{
    CPersistentWindowObject derived;
    CWindowObject base;

    IOleWindow* pWindow = nullptr;
    ASSERT_EQ(derived.ExternalQueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(&pWindow)), S_OK);
    EXPECT_EQ(pWindow, derived.OleWindow());
    HWND hWnd = nullptr;
    EXPECT_EQ(pWindow->GetWindow(&hWnd), S_OK);
    EXPECT_EQ(hWnd, kReportedWindow);

    IPersist* pPersist = nullptr;
    ASSERT_EQ(Query(pWindow, &pPersist), S_OK);
    EXPECT_EQ(pPersist, derived.Persist());
    CLSID reported{};
    EXPECT_EQ(pPersist->GetClassID(&reported), S_OK);
    EXPECT_TRUE(::IsEqualCLSID(reported, kReportedClass));
    EXPECT_EQ(derived.Count(), 3);
    pPersist->Release();
    pWindow->Release();
    EXPECT_EQ(derived.Count(), 1);

    // The base class knows nothing of its subclass's interface; nobody hands out what no map lists.
    pPersist = reinterpret_cast<IPersist*>(&base);
    EXPECT_EQ(base.ExternalQueryInterface(__uuidof(IPersist), reinterpret_cast<void**>(&pPersist)), E_NOINTERFACE);
    EXPECT_EQ(pPersist, nullptr);
    IDispatch* pDispatch = nullptr;
    EXPECT_EQ(Query(derived.OleWindow(), &pDispatch), E_NOINTERFACE);  // no automation asked for
    EXPECT_EQ(base.ExternalQueryInterface(__uuidof(IOleWindow), nullptr), E_POINTER);
    EXPECT_EQ(base.Count(), 1);
    EXPECT_EQ(derived.Count(), 1);
}

TEST(InterfaceMapTest, IUnknownIsTheSameWhicheverInterfaceIsAsked)
{
    CPersistentWindowObject plain;
    IUnknown* fromWindow = nullptr;
    IUnknown* fromPersist = nullptr;
    ASSERT_EQ(Query(plain.OleWindow(), &fromWindow), S_OK);
    ASSERT_EQ(Query(plain.Persist(), &fromPersist), S_OK);
    EXPECT_EQ(fromWindow, fromPersist);
    EXPECT_EQ(fromWindow, static_cast<IUnknown*>(plain.Persist()));  // the most derived map's first interface
    fromWindow->Release();
    fromPersist->Release();

    // With automation the identity is the IDispatch.
    CPersistentWindowObject automated;
    automated.EnableAutomation();
    ASSERT_EQ(Query(automated.OleWindow(), &fromWindow), S_OK);
    ASSERT_EQ(Query(automated.Persist(), &fromPersist), S_OK);
    EXPECT_EQ(fromWindow, fromPersist);
    EXPECT_EQ(fromWindow, static_cast<IUnknown*>(automated.GetIDispatch(FALSE)));
    fromWindow->Release();
    fromPersist->Release();
    EXPECT_EQ(automated.Count(), 1);
}

TEST(InterfaceMapTest, AutomationGivesAnIDispatchWithoutTypeInformationOrLateBinding)
{
    CWindowObject object;
    EXPECT_FALSE(object.IsAutomationEnabled());
    EXPECT_EQ(object.GetIDispatch(TRUE), nullptr);
    EXPECT_EQ(object.Count(), 1);

    object.EnableAutomation();
    IDispatch* pDispatch = object.GetIDispatch(TRUE);
    ASSERT_NE(pDispatch, nullptr);
    EXPECT_EQ(object.Count(), 2);
    EXPECT_EQ(object.GetIDispatch(FALSE), pDispatch);
    EXPECT_EQ(object.Count(), 2);

    UINT typeInfoCount = 7;
    EXPECT_EQ(pDispatch->GetTypeInfoCount(&typeInfoCount), E_NOTIMPL);
    EXPECT_EQ(typeInfoCount, 0u);
    ITypeInfo* pTypeInfo = reinterpret_cast<ITypeInfo*>(pDispatch);
    EXPECT_EQ(pDispatch->GetTypeInfo(0, 0, &pTypeInfo), E_NOTIMPL);
    EXPECT_EQ(pTypeInfo, nullptr);
    OLECHAR name[] = L"Name";
    LPOLESTR names[] = {name};
    DISPID dispid = 0;
    EXPECT_EQ(pDispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &dispid), E_NOTIMPL);
    DISPPARAMS none{};
    EXPECT_EQ(pDispatch->Invoke(0, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), E_NOTIMPL);

    // The dispatch reaches the map, and the map's interfaces reach the dispatch.
    IOleWindow* pWindow = nullptr;
    ASSERT_EQ(Query(pDispatch, &pWindow), S_OK);
    EXPECT_EQ(pWindow, object.OleWindow());
    IDispatch* pBack = nullptr;
    ASSERT_EQ(Query(pWindow, &pBack), S_OK);
    EXPECT_EQ(pBack, pDispatch);
    EXPECT_EQ(object.Count(), 4);
    pBack->Release();
    pWindow->Release();
    EXPECT_EQ(pDispatch->Release(), 1u);
}

TEST(InterfaceMapTest, TheLastComReleaseEndsTheObject)
{
    bool destroyed = false;
    auto* pObject = new CWindowObject(&destroyed);
    pObject->EnableAutomation();
    IOleWindow* pWindow = nullptr;
    ASSERT_EQ(pObject->ExternalQueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(&pWindow)), S_OK);
    IDispatch* pDispatch = pObject->GetIDispatch(TRUE);
    EXPECT_EQ(pObject->InternalRelease(), 2u);  // the creator lets go; COM still holds two references
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(pWindow->Release(), 1u);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(pDispatch->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

}  // namespace
