// The accessibility base: child ids read from VARIANTs, the IAccessible that counts and answers through its owner,
// the base answers, and the system functions found (or missed) at run time.
#include "classlib/CmdTarget.h"
#include "framework/commandbars/Accessible.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// An owner as bars and controls are: a counted command target with automation, carrying the base.
class CAccessibleOwner : public CCmdTarget, public COSMAccessible
{
public:
    explicit CAccessibleOwner(bool* pDestroyed = nullptr) : m_pDestroyed(pDestroyed) { EnableAutomation(); }
    ~CAccessibleOwner() override
    {
        if (m_pDestroyed)
            *m_pDestroyed = true;
    }

    CCmdTarget* GetAccessibleOwner() override { return this; }

    IAccessible* Accessible() { return &m_xAccessible; }
    COSMModuleHandle& Oleacc() { return m_oleacc; }
    LONG Count() const { return m_dwRef; }

protected:
    DECLARE_INTERFACE_MAP()

private:
    bool* m_pDestroyed;
};

BEGIN_INTERFACE_MAP(CAccessibleOwner, CCmdTarget)
    INTERFACE_PART(IAccessible, m_xAccessible)
END_INTERFACE_MAP()

// An owner that gives answers of its own, to show calls arrive with their arguments.
class CNamingOwner : public CAccessibleOwner
{
public:
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override
    {
        const std::wstring name = L"child " + std::to_wstring(GetChildIdFromVariant(&varChild));
        *pszName = ::SysAllocString(name.c_str());
        return S_OK;
    }
    HRESULT AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override
    {
        const long id = GetChildIdFromVariant(&varChild);
        *pxLeft = id;
        *pyTop = id * 2;
        *pcxWidth = 30;
        *pcyHeight = 40;
        return S_OK;
    }
};

// The base alone, with nobody owning it.
class COwnerless : public COSMAccessible
{
public:
    IAccessible* Accessible() { return &m_xAccessible; }
};

VARIANT MakeI4(long value)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

template <typename Interface> HRESULT Query(IUnknown* pFrom, Interface** ppOut)
{
    return pFrom->QueryInterface(__uuidof(Interface), reinterpret_cast<void**>(ppOut));
}

TEST(AccessibleTest, ChildIdFromVariant)
{
    long longValue = 9;
    short shortValue = 3;
    VARIANT inner = MakeI4(4);
    VARIANT innerEmpty;
    ::VariantInit(&innerEmpty);
    VARIANT innerReference;
    innerReference.vt = VT_BYREF | VT_VARIANT;
    innerReference.pvarVal = &inner;

    struct Case
    {
        const char* name;
        VARTYPE vt;
        std::function<void(VARIANT&)> fill;
        long expected;
    };
    const Case cases[] = {
        {"VT_EMPTY: the object itself", VT_EMPTY, [](VARIANT&) {}, 0},
        {"VT_I4", VT_I4, [](VARIANT& v) { v.lVal = 7; }, 7},
        {"VT_I2", VT_I2, [](VARIANT& v) { v.iVal = 5; }, 5},
        {"VT_I4 by reference", VT_BYREF | VT_I4, [&](VARIANT& v) { v.plVal = &longValue; }, 9},
        {"VT_I4 by null reference", VT_BYREF | VT_I4, [](VARIANT& v) { v.plVal = nullptr; }, -1},
        {"VT_I2 by reference", VT_BYREF | VT_I2, [&](VARIANT& v) { v.piVal = &shortValue; }, 3},
        {"VT_I2 by null reference", VT_BYREF | VT_I2, [](VARIANT& v) { v.piVal = nullptr; }, -1},
        {"referenced VARIANT", VT_BYREF | VT_VARIANT, [&](VARIANT& v) { v.pvarVal = &inner; }, 4},
        {"referenced empty VARIANT", VT_BYREF | VT_VARIANT, [&](VARIANT& v) { v.pvarVal = &innerEmpty; }, 0},
        {"null VARIANT reference", VT_BYREF | VT_VARIANT, [](VARIANT& v) { v.pvarVal = nullptr; }, -1},
        {"reference to a reference", VT_BYREF | VT_VARIANT, [&](VARIANT& v) { v.pvarVal = &innerReference; }, -1},
        {"VT_BSTR", VT_BSTR, [](VARIANT& v) { v.bstrVal = nullptr; }, -1},
        {"VT_UI4", VT_UI4, [](VARIANT& v) { v.ulVal = 2; }, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        VARIANT v;
        ::VariantInit(&v);
        v.vt = c.vt;
        c.fill(v);
        EXPECT_EQ(COSMAccessible::GetChildIdFromVariant(&v), c.expected);
    }
    EXPECT_EQ(COSMAccessible::GetChildIdFromVariant(nullptr), -1);
}

TEST(AccessibleTest, QueryInterfaceAndCountsGoThroughTheOwner)
{
    auto* pOwner = new CAccessibleOwner;
    IAccessible* pAccessible = nullptr;
    ASSERT_EQ(pOwner->ExternalQueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&pAccessible)), S_OK);
    EXPECT_EQ(pAccessible, pOwner->Accessible());
    EXPECT_EQ(pOwner->Count(), 2);

    EXPECT_EQ(pAccessible->AddRef(), 3u);
    EXPECT_EQ(pOwner->Count(), 3);
    EXPECT_EQ(pAccessible->Release(), 2u);

    // The owner's IDispatch and the IAccessible find each other, with one identity.
    IDispatch* pDispatch = nullptr;
    ASSERT_EQ(Query(pAccessible, &pDispatch), S_OK);
    EXPECT_EQ(pDispatch, pOwner->GetIDispatch(FALSE));
    IAccessible* pAgain = nullptr;
    ASSERT_EQ(Query(pDispatch, &pAgain), S_OK);
    EXPECT_EQ(pAgain, pAccessible);
    IUnknown* pIdentityFromAccessible = nullptr;
    IUnknown* pIdentityFromDispatch = nullptr;
    ASSERT_EQ(Query(pAccessible, &pIdentityFromAccessible), S_OK);
    ASSERT_EQ(Query(pDispatch, &pIdentityFromDispatch), S_OK);
    EXPECT_EQ(pIdentityFromAccessible, pIdentityFromDispatch);
    EXPECT_EQ(pOwner->Count(), 6);

    // What the owner's map does not list is refused, and nothing is counted.
    IOleWindow* pWindow = reinterpret_cast<IOleWindow*>(pAccessible);
    EXPECT_EQ(Query(pAccessible, &pWindow), E_NOINTERFACE);
    EXPECT_EQ(pWindow, nullptr);
    EXPECT_EQ(pOwner->Count(), 6);

    for (IUnknown* p : {static_cast<IUnknown*>(pDispatch), static_cast<IUnknown*>(pAgain), pIdentityFromAccessible,
                        pIdentityFromDispatch})
        p->Release();
    EXPECT_EQ(pOwner->Count(), 2);
    pAccessible->Release();
    EXPECT_EQ(pOwner->InternalRelease(), 0u);
}

TEST(AccessibleTest, TheLastIAccessibleReleaseDestroysTheOwner)
{
    bool destroyed = false;
    auto* pOwner = new CAccessibleOwner(&destroyed);
    IAccessible* pAccessible = nullptr;
    ASSERT_EQ(pOwner->ExternalQueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&pAccessible)), S_OK);
    EXPECT_EQ(pOwner->InternalRelease(), 1u);  // the creator lets go first
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(pAccessible->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

TEST(AccessibleTest, WithoutAnOwnerNothingIsCountedOrHandedOut)
{
    COwnerless base;
    EXPECT_EQ(base.GetAccessibleOwner(), nullptr);
    EXPECT_EQ(base.Accessible()->AddRef(), 0u);
    EXPECT_EQ(base.Accessible()->Release(), 0u);
    IUnknown* pUnknown = base.Accessible();
    EXPECT_EQ(Query(base.Accessible(), &pUnknown), E_NOINTERFACE);
    EXPECT_EQ(pUnknown, nullptr);
}

TEST(AccessibleTest, BaseAnswersAreNotImplementedExceptFocusAndSelection)
{
    CAccessibleOwner owner;
    IAccessible* acc = owner.Accessible();
    const VARIANT self = MakeI4(CHILDID_SELF);
    // Out values start as garbage the base must clear.
    BSTR text = reinterpret_cast<BSTR>(static_cast<UINT_PTR>(0x55));
    IDispatch* pDispatch = reinterpret_cast<IDispatch*>(static_cast<UINT_PTR>(0x55));
    VARIANT out = MakeI4(0x55);
    long number = 0x55;

    struct Case
    {
        const char* name;
        HRESULT expected;
        std::function<HRESULT()> call;
    };
    const Case cases[] = {
        {"GetTypeInfoCount", E_NOTIMPL,
         [&] {
             UINT n = 5;
             return acc->GetTypeInfoCount(&n);
         }},
        {"GetTypeInfo", E_NOTIMPL,
         [&] {
             ITypeInfo* p = nullptr;
             return acc->GetTypeInfo(0, 0, &p);
         }},
        {"GetIDsOfNames", E_NOTIMPL,
         [&] {
             OLECHAR name[] = L"accName";
             LPOLESTR names[] = {name};
             DISPID id = 0;
             return acc->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
         }},
        {"Invoke", E_NOTIMPL,
         [&] {
             DISPPARAMS none{};
             return acc->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, nullptr, nullptr, nullptr);
         }},
        {"get_accParent", E_NOTIMPL, [&] { return acc->get_accParent(&pDispatch); }},
        {"get_accChildCount", E_NOTIMPL, [&] { return acc->get_accChildCount(&number); }},
        {"get_accChild", E_NOTIMPL, [&] { return acc->get_accChild(self, &pDispatch); }},
        {"get_accName", E_NOTIMPL, [&] { return acc->get_accName(self, &text); }},
        {"get_accValue", E_NOTIMPL, [&] { return acc->get_accValue(self, &text); }},
        {"get_accDescription", E_NOTIMPL, [&] { return acc->get_accDescription(self, &text); }},
        {"get_accRole", E_NOTIMPL, [&] { return acc->get_accRole(self, &out); }},
        {"get_accState", E_NOTIMPL, [&] { return acc->get_accState(self, &out); }},
        {"get_accHelp", E_NOTIMPL, [&] { return acc->get_accHelp(self, &text); }},
        {"get_accHelpTopic", E_NOTIMPL, [&] { return acc->get_accHelpTopic(&text, self, &number); }},
        {"get_accKeyboardShortcut", E_NOTIMPL, [&] { return acc->get_accKeyboardShortcut(self, &text); }},
        {"get_accFocus", S_FALSE, [&] { return acc->get_accFocus(&out); }},
        {"get_accSelection", S_FALSE, [&] { return acc->get_accSelection(&out); }},
        {"get_accDefaultAction", E_NOTIMPL, [&] { return acc->get_accDefaultAction(self, &text); }},
        {"accSelect", E_NOTIMPL, [&] { return acc->accSelect(SELFLAG_TAKEFOCUS, self); }},
        {"accLocation", E_NOTIMPL,
         [&] {
             long x = 1, y = 1, cx = 1, cy = 1;
             const HRESULT hr = acc->accLocation(&x, &y, &cx, &cy, self);
             number = x | y | cx | cy;
             return hr;
         }},
        {"accNavigate", E_NOTIMPL, [&] { return acc->accNavigate(NAVDIR_NEXT, self, &out); }},
        {"accHitTest", E_NOTIMPL, [&] { return acc->accHitTest(1, 1, &out); }},
        {"accDoDefaultAction", E_NOTIMPL, [&] { return acc->accDoDefaultAction(self); }},
        {"put_accName", E_NOTIMPL, [&] { return acc->put_accName(self, nullptr); }},
        {"put_accValue", E_NOTIMPL, [&] { return acc->put_accValue(self, nullptr); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.call(), c.expected);
    }
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(pDispatch, nullptr);
    EXPECT_EQ(out.vt, VT_EMPTY);  // focus and selection: nothing
    EXPECT_EQ(number, 0);
    EXPECT_EQ(owner.Count(), 1);
}

TEST(AccessibleTest, CallsReachTheOwnersAnswersWithTheirArguments)
{
    CNamingOwner owner;
    IAccessible* acc = owner.Accessible();
    BSTR name = nullptr;
    ASSERT_EQ(acc->get_accName(MakeI4(3), &name), S_OK);
    EXPECT_STREQ(name, L"child 3");
    ::SysFreeString(name);

    long child = 6;
    VARIANT byReference;
    byReference.vt = VT_BYREF | VT_I4;
    byReference.plVal = &child;
    long x = 0, y = 0, cx = 0, cy = 0;
    ASSERT_EQ(acc->accLocation(&x, &y, &cx, &cy, byReference), S_OK);
    EXPECT_EQ(x, 6);
    EXPECT_EQ(y, 12);
    EXPECT_EQ(cx, 30);
    EXPECT_EQ(cy, 40);
    // Answers it does not give stay the base's.
    EXPECT_EQ(acc->get_accValue(MakeI4(0), &name), E_NOTIMPL);
}

struct WinEvent
{
    DWORD event;
    HWND hWnd;
    LONG idObject;
    LONG idChild;
};
std::vector<WinEvent> g_events;

void WINAPI RecordWinEvent(DWORD event, HWND hWnd, LONG idObject, LONG idChild)
{
    g_events.push_back(WinEvent{event, hWnd, idObject, idChild});
}

const IID* g_lresultIid = nullptr;
WPARAM g_lresultWParam = 0;
IUnknown* g_lresultObject = nullptr;

LRESULT WINAPI RecordLresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk)
{
    g_lresultIid = &riid;
    g_lresultWParam = wParam;
    g_lresultObject = punk;
    return 0x1234;
}

TEST(AccessibleTest, WinEventsGoToNotifyWinEventWhenThereIsOne)
{
    CAccessibleOwner owner;
    EXPECT_NE(owner.m_pNotifyWinEvent, nullptr);  // user32 has it

    g_events.clear();
    owner.m_pNotifyWinEvent = &RecordWinEvent;
    HWND hWnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x2222));
    owner.AccessibleNotifyWinEvent(EVENT_OBJECT_FOCUS, hWnd, OBJID_MENU, 2);
    owner.AccessibleNotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, hWnd, OBJID_WINDOW, CHILDID_SELF);
    ASSERT_EQ(g_events.size(), 2u);
    EXPECT_EQ(g_events[0].event, static_cast<DWORD>(EVENT_OBJECT_FOCUS));
    EXPECT_EQ(g_events[0].hWnd, hWnd);
    EXPECT_EQ(g_events[0].idObject, OBJID_MENU);
    EXPECT_EQ(g_events[0].idChild, 2);
    EXPECT_EQ(g_events[1].event, static_cast<DWORD>(EVENT_SYSTEM_MENUPOPUPSTART));

    // Without the function events are dropped.
    owner.m_pNotifyWinEvent = nullptr;
    owner.AccessibleNotifyWinEvent(EVENT_OBJECT_FOCUS, hWnd, OBJID_MENU, 1);
    EXPECT_EQ(g_events.size(), 2u);
}

TEST(AccessibleTest, AFunctionInPlaceIsCalledWithoutLoadingOleacc)
{
    CAccessibleOwner owner;
    owner.m_pLresultFromObject = &RecordLresultFromObject;
    EXPECT_EQ(owner.LresultFromObject(__uuidof(IAccessible), 17, owner.Accessible()), 0x1234);
    EXPECT_TRUE(::IsEqualIID(*g_lresultIid, __uuidof(IAccessible)));
    EXPECT_EQ(g_lresultWParam, 17u);
    EXPECT_EQ(g_lresultObject, owner.Accessible());
    EXPECT_EQ(owner.Oleacc().GetHandle(), nullptr);
}

TEST(AccessibleTest, OleaccIsLoadedOnFirstUse)
{
    CAccessibleOwner owner;
    EXPECT_EQ(owner.Oleacc().GetHandle(), nullptr);
    HWND hWnd =
        ::CreateWindowExA(0, "STATIC", "accessible", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    IAccessible* pWindowAccessible = nullptr;
    const HRESULT hr = owner.AccessibleObjectFromWindow(hWnd, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IAccessible),
                                                        reinterpret_cast<void**>(&pWindowAccessible));
    EXPECT_EQ(hr, S_OK);
    EXPECT_NE(pWindowAccessible, nullptr);
    EXPECT_NE(owner.Oleacc().GetHandle(), nullptr);
    EXPECT_NE(owner.m_pAccessibleObjectFromWindow, nullptr);
    if (pWindowAccessible)
        pWindowAccessible->Release();
    ::DestroyWindow(hWnd);
}

TEST(AccessibleTest, AMissingExportGivesEFail)
{
    CAccessibleOwner owner;
    // A module without the two functions stands where oleacc.dll would be.
    ASSERT_TRUE(owner.Oleacc().Init("kernel32.dll"));
    EXPECT_EQ(owner.LresultFromObject(__uuidof(IAccessible), 0, owner.Accessible()), static_cast<LRESULT>(E_FAIL));
    IAccessible* pOut = owner.Accessible();
    EXPECT_EQ(owner.AccessibleObjectFromWindow(nullptr, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&pOut)),
              E_FAIL);
    EXPECT_EQ(pOut, nullptr);
    EXPECT_EQ(owner.m_pLresultFromObject, nullptr);
    EXPECT_EQ(owner.m_pAccessibleObjectFromWindow, nullptr);
    EXPECT_EQ(owner.Count(), 1);
}

}  // namespace
