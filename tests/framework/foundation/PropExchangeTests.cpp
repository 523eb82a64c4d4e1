// The property exchange: the base behaviours on a small named store of the test's own, and the archive store's
// exact bytes, round trips of every type and its failures.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "classlib/OleDateTime.h"
#include "framework/foundation/PropExchange.h"
#include "framework/foundation/PropExchangeArchive.h"

#include "PropExchangeTestSupport.h"

using namespace prop_exchange_test;

namespace {

// Classes the exchange may be asked to make; each counts its constructions.
int g_made = 0;

class CExchangeShape : public CCmdTarget
{
    DECLARE_SERIAL(CExchangeShape)

public:
    CExchangeShape() { ++g_made; }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_width;
        else
            ar >> m_width;
    }
    LONG m_width = 0;
};
IMPLEMENT_SERIAL(CExchangeShape, CCmdTarget, VERSIONABLE_SCHEMA | 0x22)

class CExchangeCircle : public CExchangeShape
{
    DECLARE_SERIAL(CExchangeCircle)
};
IMPLEMENT_SERIAL(CExchangeCircle, CExchangeShape, VERSIONABLE_SCHEMA | 0x22)

// Creatable, but no shape.
class CExchangeStranger : public CCmdTarget
{
    DECLARE_SERIAL(CExchangeStranger)

public:
    CExchangeStranger() { ++g_made; }
};
IMPLEMENT_SERIAL(CExchangeStranger, CCmdTarget, VERSIONABLE_SCHEMA | 0x22)

// An object whose stored form breaks off.
class CExchangeFailing : public CObject
{
public:
    void Serialize(CArchive&) override { AfxThrowArchiveException(CArchiveException::genericException, nullptr); }
};

}  // namespace

// ---- The base behaviours, on the named test store ---------------------------------------------------------------

TEST(PropExchangeBase, BlobsAreLettersLowHalfFirst)
{
    auto values = NewValues();
    {
        NamedTestStore px(values, false);
        BYTE bytes[] = {0x1F, 0x00, 0xA5};
        BYTE* data = bytes;
        DWORD size = sizeof bytes;
        EXPECT_TRUE(PropExchangeBlob(&px, "Blob", &data, &size));
        DWORD none = 0;
        EXPECT_TRUE(PropExchangeBlob(&px, "Empty", &data, &none));
    }
    EXPECT_EQ((*values)["Blob"], "PBAAFK");
    EXPECT_EQ((*values)["Empty"], "");

    NamedTestStore px(values, true);
    BYTE* loaded = nullptr;
    DWORD size = 0;
    ASSERT_TRUE(PropExchangeBlob(&px, "Blob", &loaded, &size));
    ASSERT_EQ(size, 3u);
    EXPECT_EQ(Bytes(loaded, loaded + 3), (Bytes{0x1F, 0x00, 0xA5}));
    std::free(loaded);

    // An empty blob succeeds and leaves the caller's buffer alone.
    BYTE buffer[2] = {0x77, 0x77};
    BYTE* into = buffer;
    DWORD room = sizeof buffer;
    EXPECT_TRUE(PropExchangeBlob(&px, "Empty", &into, &room));
    EXPECT_EQ(buffer[0], 0x77);
    EXPECT_EQ(room, 2u);

    // Read gives the number of bytes it decoded, not the room it was given.
    BYTE read[8] = {};
    EXPECT_EQ(px.Read("Blob", read, sizeof read), 3u);
    EXPECT_EQ(read[2], 0xA5);
    EXPECT_EQ(px.Read("Blob", read, 2), 0u) << "too small a buffer";
}

TEST(PropExchangeBase, TextThatIsNoBlobFailsToLoad)
{
    const struct
    {
        const char* text;
        bool loads;
    } cases[] = {{"PB", true}, {"PBA", false}, {"QA", false}, {"Pb", false}, {"A@", false}, {"AAPP", true}};
    for (const auto& c : cases)
    {
        auto values = NewValues();
        (*values)["Blob"] = c.text;
        NamedTestStore px(values, true);
        BYTE* data = nullptr;
        DWORD size = 0;
        EXPECT_EQ(PropExchangeBlob(&px, "Blob", &data, &size) != FALSE, c.loads) << c.text;
        BYTE buffer[4] = {};
        EXPECT_EQ(px.Read("Blob", buffer, sizeof buffer) != 0, c.loads) << c.text;
        std::free(data);
    }
}

TEST(PropExchangeBase, ObjectsOfTheWrongClassAreNeverMade)
{
    auto values = NewValues();
    (*values)["Class"] = "CExchangeStranger";
    NamedTestStore px(values, true);
    CObject* made = nullptr;
    g_made = 0;
    EXPECT_FALSE(px.ExchangeObjectInstance(&made, RUNTIME_CLASS(CExchangeShape)));
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(g_made, 0) << "a class that is no shape was constructed";

    (*values)["Class"] = "CNoSuchClass";
    EXPECT_FALSE(px.ExchangeObjectInstance(&made, RUNTIME_CLASS(CExchangeShape)));

    (*values)["Class"] = "CExchangeCircle";
    ASSERT_TRUE(px.ExchangeObjectInstance(&made, RUNTIME_CLASS(CExchangeShape)));
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CExchangeCircle)));
    delete made;

    // Absent: the base class itself.
    values->erase("Class");
    ASSERT_TRUE(px.ExchangeObjectInstance(&made, RUNTIME_CLASS(CExchangeShape)));
    EXPECT_EQ(made->GetRuntimeClass(), RUNTIME_CLASS(CExchangeShape));
    delete made;
    EXPECT_EQ(FindRuntimeClass("CExchangeCircle"), RUNTIME_CLASS(CExchangeCircle));
    EXPECT_EQ(FindRuntimeClass("cexchangecircle"), nullptr) << "names are case-sensitive";
}

TEST(PropExchangeBase, ListsAreACountAndNumberedSections)
{
    auto values = NewValues();
    {
        NamedTestStore px(values, false);
        px.m_dwData = 42;
        std::unique_ptr<COSMPropExchangeEnumerator> items(px.GetEnumerator("Item"));
        POSITION pos = items->GetPosition(2);
        long width = 10;
        while (pos)
        {
            COSMPropExchange* section = items->GetNext(pos);
            EXPECT_EQ(section->m_dwData, 42u) << "sections inherit the caller's data";
            EXPECT_FALSE(section->IsRootSection());
            PropExchangeLong(section, "Width", &width, 0);
            ++width;
            section->InternalRelease();
        }
        std::unique_ptr<COSMPropExchangeEnumerator> none(px.GetEnumerator("None"));
        EXPECT_EQ(none->GetPosition(0), nullptr);
    }
    const NamedTestStore::Values expected{{"Count", "0"}, {"Item0\\Width", "10"}, {"Item1\\Width", "11"}};
    EXPECT_EQ(*values, expected) << "a count of 0 makes no section; names count from 0";
}

TEST(PropExchangeBase, ArchivesTravelInANamedBlob)
{
    auto values = NewValues();
    CExchangeShape shape;
    shape.m_width = 0x01020304;
    {
        NamedTestStore px(values, false);
        EXPECT_TRUE(PropExchangeSerialize(&px, "Shape", &shape));
    }
    EXPECT_EQ((*values)["Shape"], "EADACABA");

    NamedTestStore px(values, true);
    CExchangeShape loaded;
    EXPECT_TRUE(PropExchangeSerialize(&px, "Shape", &loaded));
    EXPECT_EQ(loaded.m_width, 0x01020304);
    EXPECT_FALSE(PropExchangeSerialize(&px, "Missing", &loaded));

    // A named store reports a failing object and goes on.
    NamedTestStore storing(values, false);
    CExchangeFailing failing;
    EXPECT_FALSE(PropExchangeSerialize(&storing, "Failing", &failing));
    EXPECT_FALSE(PropExchangeSerialize(nullptr, "Shape", &shape));
}

// ---- The archive store -------------------------------------------------------------------------------------------

TEST(PropExchangeArchive, StoresValuesInCallOrderWithoutNames)
{
    StoreToMemory s;
    short number = 0x0102;
    CString text("abc");
    BOOL flag = TRUE;
    PropExchangeShort(&s.px, "Number", &number, 0);
    PropExchangeString(&s.px, "Text", &text, "");
    PropExchangeBool(&s.px, "Flag", &flag, FALSE);
    EXPECT_EQ(s.Take(), (Bytes{0x02, 0x01, 0x03, 'a', 'b', 'c', 0x01, 0x00, 0x00, 0x00}));

    StoreToMemory schema;
    schema.px.ExchangeSchema();
    EXPECT_EQ(schema.Take(), (Bytes{0xBF, 0xAD, 0xF0, 0x0F, 0x22, 0x00, 0x00, 0x00}));
}

TEST(PropExchangeArchive, DataWithoutTheMarkerIsSchema17)
{
    const Bytes cases[] = {{0x05, 0x00, 0x00, 0x00, 0x09, 0x00, 0x00, 0x00}, {0x05, 0x00, 0x00}};
    for (const Bytes& data : cases)
    {
        LoadFromMemory l(data);
        l.px.ExchangeSchema();
        EXPECT_EQ(l.px.m_nSchema, 17);
        // Nothing was consumed: the first value reads from the first byte.
        BYTE first = 0;
        PropExchangeByte(&l.px, "First", &first, 0);
        EXPECT_EQ(first, 0x05);
    }
    LoadFromMemory marked({0xBF, 0xAD, 0xF0, 0x0F, 0x21, 0x00, 0x00, 0x00});
    marked.px.ExchangeSchema();
    EXPECT_EQ(marked.px.m_nSchema, 0x21);
}

TEST(PropExchangeArchive, ObjectsWriteTheirClassOnceAndTakeIndexes)
{
    CExchangeShape first, second;
    StoreToMemory s;
    CObject* object = &first;
    ASSERT_TRUE(s.px.ExchangeObjectInstance(&object, RUNTIME_CLASS(CExchangeShape)));
    object = &second;
    ASSERT_TRUE(s.px.ExchangeObjectInstance(&object, RUNTIME_CLASS(CExchangeShape)));
    const Bytes bytes = s.Take();
    Bytes expected{0xFF, 0xFF, 0x22, 0x00, 14, 0x00};
    for (char c : std::string("CExchangeShape"))
        expected.push_back(static_cast<BYTE>(c));
    // The class takes index 1 and the first object 2, so the second object's class is a back reference to 1.
    expected.insert(expected.end(), {0x01, 0x80});
    EXPECT_EQ(bytes, expected);

    LoadFromMemory l(bytes);
    CObject* loaded[2] = {};
    ASSERT_TRUE(l.px.ExchangeObjectInstance(&loaded[0], RUNTIME_CLASS(CExchangeShape)));
    ASSERT_TRUE(l.px.ExchangeObjectInstance(&loaded[1], RUNTIME_CLASS(CExchangeShape)));
    EXPECT_EQ(l.px.m_nSchema, 0x22) << "the schema stored with the class";
    for (CObject* o : loaded)
    {
        EXPECT_TRUE(o && o->IsKindOf(RUNTIME_CLASS(CExchangeShape)));
        delete o;
    }
}

TEST(PropExchangeArchive, UnknownOrForeignClassesStopTheLoad)
{
    for (CRuntimeClass* stored : {RUNTIME_CLASS(CExchangeStranger), RUNTIME_CLASS(CExchangeCircle)})
    {
        StoreToMemory s;
        s.ar.WriteClass(stored);
        LoadFromMemory l(s.Take());
        CObject* made = nullptr;
        g_made = 0;
        const int cause = ArchiveFailure([&] { l.px.ExchangeObjectInstance(&made, RUNTIME_CLASS(CExchangeCircle)); });
        if (stored == RUNTIME_CLASS(CExchangeCircle))
        {
            EXPECT_EQ(cause, -1);
            delete made;
        }
        else
        {
            EXPECT_EQ(cause, CArchiveException::badClass);
            EXPECT_EQ(g_made, 0);
        }
    }
}

TEST(PropExchangeArchive, AClassNameNoProgramKnowsIsRefusedBeforeAnythingIsMade)
{
    // A hand-made class reference: new class, schema 0x22, then its name.
    const std::string name = "CNoSuchShape";
    Bytes bytes{0xFF, 0xFF, 0x22, 0x00, static_cast<BYTE>(name.size()), 0x00};
    bytes.insert(bytes.end(), name.begin(), name.end());
    LoadFromMemory l(bytes);
    CObject* made = nullptr;
    g_made = 0;
    EXPECT_EQ(ArchiveFailure([&] { l.px.ExchangeObjectInstance(&made, RUNTIME_CLASS(CExchangeShape)); }),
              CArchiveException::badClass);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(g_made, 0);
}

TEST(PropExchangeArchive, ListCountsInBothForms)
{
    const struct
    {
        BOOL compact;
        DWORD count;
        Bytes bytes;
    } cases[] = {
        {FALSE, 2, {0x02, 0x00, 0x00, 0x00}},
        {TRUE, 2, {0x02, 0x00}},
        {TRUE, 0x12345, {0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}},
        {FALSE, 0, {0x00, 0x00, 0x00, 0x00}},
    };
    for (const auto& c : cases)
    {
        StoreToMemory s;
        std::unique_ptr<COSMPropExchangeEnumerator> items(s.px.GetEnumerator("Item"));
        EXPECT_EQ(items->GetPosition(c.count, c.compact) != nullptr, c.count != 0);
        const Bytes bytes = s.Take();
        EXPECT_EQ(bytes, c.bytes) << c.count;

        LoadFromMemory l(bytes);
        std::unique_ptr<COSMPropExchangeEnumerator> loaded(l.px.GetEnumerator("Item"));
        POSITION pos = loaded->GetPosition(0, c.compact);
        DWORD sections = 0;
        while (pos && sections < 3)
        {
            loaded->GetNext(pos)->InternalRelease();
            ++sections;
        }
        EXPECT_EQ(sections, c.count < 3 ? c.count : 3u);
    }
}

TEST(PropExchangeArchive, EveryTypeCodeRoundTrips)
{
    short s16 = -2;
    long s32 = -70000;
    float f32 = 1.5f;
    double f64 = -2.25;
    CY cy;
    cy.int64 = 0x1122334455667788LL;
    COleDateTime date(45000.5);
    date.m_status = COleDateTime::invalid;
    BOOL flag = TRUE;
    BYTE byte = 0xAB;
    CString text("text with \xE9");
    RECT rect{1, -2, 3, 4};
    SIZE size{640, 480};
    VARIANT variants[12];
    for (VARIANT& v : variants)
        VariantInit(&v);
    variants[0].vt = VT_EMPTY;
    variants[1].vt = VT_NULL;
    variants[2].vt = VT_I2, variants[2].iVal = -3;
    variants[3].vt = VT_I4, variants[3].lVal = 123456;
    variants[4].vt = VT_R4, variants[4].fltVal = 0.25f;
    variants[5].vt = VT_R8, variants[5].dblVal = 1e100;
    variants[6].vt = VT_CY, variants[6].cyVal.int64 = -5;
    variants[7].vt = VT_DATE, variants[7].date = 36526.0;
    variants[8].vt = VT_BSTR, variants[8].bstrVal = SysAllocString(L"wide text");
    variants[9].vt = VT_ERROR, variants[9].scode = E_FAIL;
    variants[10].vt = VT_BOOL, variants[10].boolVal = VARIANT_TRUE;
    variants[11].vt = VT_UI1, variants[11].bVal = 7;

    struct Value
    {
        VARTYPE code;
        void* stored;
        std::size_t size;  // compared bytewise; 0 for strings and variants
    } table[] = {
        {OSM_PX_SHORT, &s16, sizeof s16},  {OSM_PX_LONG, &s32, sizeof s32},   {OSM_PX_FLOAT, &f32, sizeof f32},
        {OSM_PX_DOUBLE, &f64, sizeof f64}, {OSM_PX_CURRENCY, &cy, sizeof cy}, {OSM_PX_BOOL, &flag, sizeof flag},
        {OSM_PX_BYTE, &byte, sizeof byte}, {OSM_PX_RECT, &rect, sizeof rect}, {OSM_PX_SIZE, &size, sizeof size},
        {OSM_PX_STRING, &text, 0},         {OSM_PX_DATETIME, &date, 0},
    };
    StoreToMemory s;
    s.px.ExchangeSchema();
    for (const Value& v : table)
        ASSERT_TRUE(s.px.ExchangeProp("Value", v.code, v.stored, nullptr)) << v.code;
    for (VARIANT& v : variants)
        ASSERT_TRUE(s.px.ExchangeProp("Variant", OSM_PX_VARIANT, &v, nullptr)) << v.vt;
    long unknown = 5;
    EXPECT_TRUE(s.px.ExchangeProp("Unknown", 99, &unknown, nullptr)) << "an unknown code exchanges nothing";
    LoadFromMemory l(s.Take());

    l.px.ExchangeSchema();
    EXPECT_EQ(l.px.m_nSchema, 0x22);
    for (const Value& v : table)
    {
        if (v.code == OSM_PX_STRING)
        {
            CString loaded;
            ASSERT_TRUE(l.px.ExchangeProp("Value", v.code, &loaded, nullptr));
            EXPECT_EQ(loaded, text);
        }
        else if (v.code == OSM_PX_DATETIME)
        {
            COleDateTime loaded;
            ASSERT_TRUE(l.px.ExchangeProp("Value", v.code, &loaded, nullptr));
            EXPECT_EQ(loaded.m_dt, date.m_dt);
            EXPECT_EQ(loaded.m_status, COleDateTime::invalid);
        }
        else
        {
            Bytes loaded(v.size, 0xEE);
            ASSERT_TRUE(l.px.ExchangeProp("Value", v.code, loaded.data(), nullptr));
            EXPECT_EQ(std::memcmp(loaded.data(), v.stored, v.size), 0) << "type code " << v.code;
        }
    }
    for (VARIANT& stored : variants)
    {
        VARIANT loaded;
        VariantInit(&loaded);
        ASSERT_TRUE(l.px.ExchangeProp("Variant", OSM_PX_VARIANT, &loaded, nullptr));
        EXPECT_EQ(loaded.vt, stored.vt);
        EXPECT_EQ(VarCmp(&loaded, &stored, LOCALE_USER_DEFAULT, 0) == VARCMP_EQ ||
                      (stored.vt == VT_EMPTY || stored.vt == VT_NULL || stored.vt == VT_ERROR),
                  true)
            << "variant type " << stored.vt;
        if (stored.vt == VT_ERROR)
        {
            EXPECT_EQ(loaded.scode, E_FAIL);
        }
        VariantClear(&loaded);
        VariantClear(&stored);
    }
    BYTE rest = 0;
    EXPECT_EQ(l.ar.Read(&rest, 1), 0u) << "every byte was read back";
}

TEST(PropExchangeArchive, RefusedVariantsWriteNothing)
{
    IUnknown* none = nullptr;
    VARIANT refused[3];
    refused[0].vt = VT_UNKNOWN, refused[0].punkVal = none;
    refused[1].vt = VT_DISPATCH, refused[1].pdispVal = nullptr;
    refused[2].vt = VT_ARRAY | VT_I4, refused[2].parray = nullptr;
    StoreToMemory s;
    for (VARIANT& v : refused)
        EXPECT_FALSE(s.px.ExchangeProp("Variant", OSM_PX_VARIANT, &v, nullptr)) << v.vt;
    EXPECT_EQ(s.Take(), Bytes{});

    // Loading one raises: the stream's bytes after it could not be told apart.
    LoadFromMemory l({0x09, 0x00, 0x00, 0x00});
    VARIANT loaded;
    VariantInit(&loaded);
    EXPECT_EQ(ArchiveFailure([&] { l.px.ExchangeProp("Variant", OSM_PX_VARIANT, &loaded, nullptr); }),
              CArchiveException::genericException);
}

TEST(PropExchangeArchive, BlobsTooBigForTheBufferAreSkipped)
{
    StoreToMemory s;
    Bytes big(70000, 0x5A);
    BYTE* data = big.data();
    DWORD size = static_cast<DWORD>(big.size());
    ASSERT_TRUE(PropExchangeBlob(&s.px, "Big", &data, &size));
    long after = 0x0A0B0C0D;
    PropExchangeLong(&s.px, "After", &after, 0);
    const Bytes bytes = s.Take();
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), (Bytes{0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));

    LoadFromMemory l(bytes);
    BYTE small[16];
    BYTE* into = small;
    DWORD room = sizeof small;
    EXPECT_FALSE(PropExchangeBlob(&l.px, "Big", &into, &room));
    long loaded = 0;
    PropExchangeLong(&l.px, "After", &loaded, 0);
    EXPECT_EQ(loaded, 0x0A0B0C0D) << "the next value still reads right";
}

TEST(PropExchangeArchive, TruncatedStreamsRaiseEndOfFile)
{
    StoreToMemory s;
    CExchangeShape shape;
    shape.m_width = 7;
    CString text("a string");
    ASSERT_TRUE(PropExchangeSerialize(&s.px, "Shape", &shape));
    PropExchangeString(&s.px, "Text", &text, "");
    Bytes bytes = s.Take();

    // A damaged blob length asks for more than is there: refused before anything is allocated.
    LoadFromMemory blob({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x01});
    BYTE* data = nullptr;
    DWORD size = 0;
    EXPECT_EQ(ArchiveFailure([&] { PropExchangeBlob(&blob.px, "Blob", &data, &size); }), CArchiveException::endOfFile);
    EXPECT_EQ(data, nullptr);

    bytes.resize(2);  // inside the shape's own value
    LoadFromMemory l(bytes);
    CExchangeShape loaded;
    // On a sequential store the failure is passed on: the caller cannot read on from an unknown position.
    EXPECT_EQ(ArchiveFailure([&] { PropExchangeSerialize(&l.px, "Shape", &loaded); }), CArchiveException::endOfFile);
}
