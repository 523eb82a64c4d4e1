// A small IOleObject for tests of containers: it offers the verbs it was given (EnumVerbs) and a short type name
// (GetUserType), counts its references, and answers E_NOTIMPL to everything else.
//
//   auto* object = new osm::test::FakeOleObject("Sketch", {{0, "&Edit"}, {1, "&Open"}});
//   item.Attach(object);
//   object->Release();   // the item holds it now
#pragma once

#include <ole2.h>

#include <string>
#include <utility>
#include <vector>

namespace osm::test {

struct FakeVerb
{
    LONG verb;
    std::string name;
    DWORD attributes = OLEVERBATTRIB_ONCONTAINERMENU;
};

// A copy of the text in memory the caller frees with CoTaskMemFree, as OLE hands out strings.
inline LPOLESTR OleStringCopy(const std::string& text)
{
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    auto* copy = static_cast<LPOLESTR>(::CoTaskMemAlloc(static_cast<size_t>(length) * sizeof(OLECHAR)));
    if (copy)
        ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, copy, length);
    return copy;
}

// One interface's IUnknown: itself for IUnknown and its own id, a count of references that deletes at zero.
template <class Interface> class FakeUnknown : public Interface
{
public:
    explicit FakeUnknown(REFIID iid) : m_iid(iid) {}
    virtual ~FakeUnknown() = default;

    ULONG RefCount() const { return m_refs; }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == m_iid)
        {
            *ppv = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG refs = --m_refs;
        if (refs == 0)
            delete this;
        return refs;
    }

private:
    const IID m_iid;
    ULONG m_refs = 1;
};

class FakeVerbEnumerator final : public FakeUnknown<IEnumOLEVERB>
{
public:
    explicit FakeVerbEnumerator(std::vector<FakeVerb> verbs) : FakeUnknown(IID_IEnumOLEVERB), m_verbs(std::move(verbs))
    {}

    STDMETHODIMP Next(ULONG count, OLEVERB* verbs, ULONG* fetched) override
    {
        ULONG given = 0;
        while (given < count && m_next < m_verbs.size())
        {
            const FakeVerb& verb = m_verbs[m_next++];
            verbs[given] = OLEVERB{};
            verbs[given].lVerb = verb.verb;
            verbs[given].lpszVerbName = OleStringCopy(verb.name);
            verbs[given].fuFlags = MF_STRING;
            verbs[given].grfAttribs = verb.attributes;
            ++given;
        }
        if (fetched)
            *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override
    {
        m_next += count;
        return m_next <= m_verbs.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override
    {
        m_next = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumOLEVERB** clone) override
    {
        *clone = new FakeVerbEnumerator(m_verbs);
        return S_OK;
    }

private:
    std::vector<FakeVerb> m_verbs;
    size_t m_next = 0;
};

class FakeOleObject final : public FakeUnknown<IOleObject>
{
public:
    FakeOleObject(std::string shortType, std::vector<FakeVerb> verbs)
        : FakeUnknown(IID_IOleObject), m_shortType(std::move(shortType)), m_verbs(std::move(verbs))
    {}

    STDMETHODIMP EnumVerbs(IEnumOLEVERB** enumerator) override
    {
        *enumerator = new FakeVerbEnumerator(m_verbs);
        return S_OK;
    }
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* userType) override
    {
        *userType = form == USERCLASSTYPE_SHORT ? OleStringCopy(m_shortType) : nullptr;
        return *userType ? S_OK : E_FAIL;
    }

    STDMETHODIMP SetClientSite(IOleClientSite*) override { return E_NOTIMPL; }
    STDMETHODIMP GetClientSite(IOleClientSite**) override { return E_NOTIMPL; }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP Close(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return E_NOTIMPL; }
    STDMETHODIMP IsUpToDate() override { return E_NOTIMPL; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

private:
    std::string m_shortType;
    std::vector<FakeVerb> m_verbs;
};

}  // namespace osm::test
