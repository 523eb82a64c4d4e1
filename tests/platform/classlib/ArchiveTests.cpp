// CArchive: the stored forms byte for byte (numbers, counts, strings, class references and the index table), peeking
// across the buffer, and every failure the archive raises.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using classlib_test::ScratchFolder;

namespace {

using Bytes = std::vector<BYTE>;

class CArchiveTestShape : public CObject
{
    DECLARE_SERIAL(CArchiveTestShape)

public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_size << m_name;
        else
            ar >> m_size >> m_name;
    }
    int m_size = 0;
    CString m_name;
};

class CArchiveTestCircle : public CArchiveTestShape
{
    DECLARE_SERIAL(CArchiveTestCircle)
};

// Not versionable: it reads only its own schema, 3.
class CArchiveTestMark : public CObject
{
    DECLARE_SERIAL(CArchiveTestMark)
};

// Known by name but declared without a schema.
class CArchiveTestDynamic : public CObject
{
    DECLARE_DYNCREATE(CArchiveTestDynamic)
};

// Something to give MapObject.
class CMapped : public CObject
{
public:
    CMapped() = default;
};

// Lets a test start the index table near its limit instead of filling a billion entries.
class CArchiveNearTheLimit : public CArchive
{
public:
    using CArchive::CArchive;
    void SetMapCount(DWORD nCount) { m_nMapCount = nCount; }
};

Bytes Concat(std::initializer_list<Bytes> chunks)
{
    Bytes all;
    for (const Bytes& chunk : chunks)
        all.insert(all.end(), chunk.begin(), chunk.end());
    return all;
}

Bytes Text(const char* text)
{
    return Bytes(text, text + std::char_traits<char>::length(text));
}

Bytes FileBytes(CMemFile& file)
{
    Bytes bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

Bytes Store(const std::function<void(CArchive&)>& write, int nBufSize = 4096)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store, nBufSize);
    write(ar);
    ar.Close();
    return FileBytes(file);
}

void Load(Bytes bytes, const std::function<void(CArchive&)>& read, int nBufSize = 4096)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load, nBufSize);
    read(ar);
}

// The cause of the CArchiveException the work raised; -1 when it raised none, -2 for any other exception.
int ArchiveCause(const std::function<void()>& work)
{
    try
    {
        work();
    }
    catch (CException* e)
    {
        auto* archive = dynamic_cast<CArchiveException*>(e);
        const int cause = archive ? archive->m_cause : -2;
        e->Delete();
        return cause;
    }
    catch (...)
    {
        return -2;
    }
    return -1;
}

const Bytes kShapeRecord = Concat({{0xFF, 0xFF, 0x22, 0x00, 0x11, 0x00}, Text("CArchiveTestShape")});

}  // namespace

IMPLEMENT_SERIAL(CArchiveTestShape, CObject, VERSIONABLE_SCHEMA | 0x22)
IMPLEMENT_SERIAL(CArchiveTestCircle, CArchiveTestShape, VERSIONABLE_SCHEMA | 0x22)
IMPLEMENT_SERIAL(CArchiveTestMark, CObject, 3)
IMPLEMENT_DYNCREATE(CArchiveTestDynamic, CObject)

TEST(CArchiveForms, NumbersAreLittleEndianOfFixedWidth)
{
    const Bytes expected = {
        0x12,                                            // BYTE
        0x56, 0x34,                                      // WORD
        0xFE, 0xFF,                                      // short -2
        0xFF, 0xFF, 0xFF, 0xFF,                          // int -1
        0x04, 0x03, 0x02, 0x01,                          // LONG
        0xD4, 0xC3, 0xB2, 0xA1,                          // DWORD
        0x07, 0x00, 0x00, 0x00,                          // UINT
        0x00, 0x00, 0x80, 0x3F,                          // float 1
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0,  // double -2
        0x01,                                            // bool
        0x78,                                            // char
        0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01,  // LONGLONG
    };
    const Bytes stored = Store([](CArchive& ar) {
        ar << BYTE(0x12) << WORD(0x3456) << short(-2) << int(-1) << LONG(0x01020304) << DWORD(0xA1B2C3D4) << UINT(7)
           << 1.0f << -2.0 << true << 'x' << LONGLONG(0x0102030405060708);
    });
    EXPECT_EQ(stored, expected);

    Load(expected, [](CArchive& ar) {
        BYTE by = 0;
        WORD w = 0;
        short n = 0;
        int i = 0;
        LONG l = 0;
        DWORD dw = 0;
        UINT u = 0;
        float f = 0;
        double d = 0;
        bool b = false;
        char ch = 0;
        LONGLONG ll = 0;
        ar >> by >> w >> n >> i >> l >> dw >> u >> f >> d >> b >> ch >> ll;
        EXPECT_EQ(by, 0x12);
        EXPECT_EQ(w, 0x3456);
        EXPECT_EQ(n, -2);
        EXPECT_EQ(i, -1);
        EXPECT_EQ(l, 0x01020304);
        EXPECT_EQ(dw, 0xA1B2C3D4u);
        EXPECT_EQ(u, 7u);
        EXPECT_EQ(f, 1.0f);
        EXPECT_EQ(d, -2.0);
        EXPECT_TRUE(b);
        EXPECT_EQ(ch, 'x');
        EXPECT_EQ(ll, 0x0102030405060708LL);
    });
}

TEST(CArchiveForms, CountsTakeTwoBytesBelowFFFF)
{
    struct Case
    {
        DWORD_PTR count;
        Bytes bytes;
    };
    const Case cases[] = {
        {0, {0x00, 0x00}},
        {0x1234, {0x34, 0x12}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
        {0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.count);
        EXPECT_EQ(Store([&](CArchive& ar) { ar.WriteCount(c.count); }), c.bytes);
        Load(c.bytes, [&](CArchive& ar) { EXPECT_EQ(ar.ReadCount(), c.count); });
    }
}

TEST(CArchiveForms, StringLengthsTakeOneThreeOrSevenBytes)
{
    struct Case
    {
        int length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {3, {0x03}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.length);
        std::string text;
        for (int i = 0; i < c.length; ++i)
            text.push_back(static_cast<char>('a' + i % 26));
        const CString value(text);
        const Bytes stored = Store([&](CArchive& ar) { ar << value; });
        EXPECT_EQ(stored, Concat({c.prefix, Text(text.c_str())}));
        Load(stored, [&](CArchive& ar) {
            CString loaded("old");
            ar >> loaded;
            EXPECT_EQ(loaded, value);
        });
    }

    // A literal is a string, not a bool.
    EXPECT_EQ(Store([](CArchive& ar) { ar << "abc"; }), (Bytes{0x03, 'a', 'b', 'c'}));
    // Characters are bytes: high ones and NULs go through unchanged.
    const CString binary("\xE9\0x", 3);
    Load(Store([&](CArchive& ar) { ar << binary; }), [&](CArchive& ar) {
        CString loaded;
        ar >> loaded;
        EXPECT_EQ(loaded.GetLength(), 3);
        EXPECT_EQ(loaded, binary);
    });
}

TEST(CArchiveForms, ANewClassIsNamedOnceThenReferredToByIndex)
{
    const Bytes circleRecord = Concat({{0xFF, 0xFF, 0x22, 0x00, 0x12, 0x00}, Text("CArchiveTestCircle")});
    const Bytes markRecord = Concat({{0xFF, 0xFF, 0x03, 0x00, 0x10, 0x00}, Text("CArchiveTestMark")});
    const Bytes expected = Concat({kShapeRecord, {0x01, 0x80}, circleRecord, {0x02, 0x80}, {0x01, 0x80}, markRecord});
    const Bytes stored = Store([](CArchive& ar) {
        ar.WriteClass(RUNTIME_CLASS(CArchiveTestShape));
        ar.WriteClass(RUNTIME_CLASS(CArchiveTestShape));
        ar.WriteClass(RUNTIME_CLASS(CArchiveTestCircle));
        ar.WriteClass(RUNTIME_CLASS(CArchiveTestCircle));
        ar.WriteClass(RUNTIME_CLASS(CArchiveTestShape));
        ar.WriteClass(RUNTIME_CLASS(CArchiveTestMark));
    });
    EXPECT_EQ(stored, expected);

    Load(expected, [](CArchive& ar) {
        const CRuntimeClass* expectedClasses[] = {RUNTIME_CLASS(CArchiveTestShape),  RUNTIME_CLASS(CArchiveTestShape),
                                                  RUNTIME_CLASS(CArchiveTestCircle), RUNTIME_CLASS(CArchiveTestCircle),
                                                  RUNTIME_CLASS(CArchiveTestShape),  RUNTIME_CLASS(CArchiveTestMark)};
        const UINT expectedSchemas[] = {0x22, 0x22, 0x22, 0x22, 0x22, 3};
        for (int i = 0; i < 6; ++i)
        {
            UINT schema = 0;
            EXPECT_EQ(ar.ReadClass(nullptr, &schema), expectedClasses[i]) << i;
            EXPECT_EQ(schema, expectedSchemas[i]) << i;
        }
    });

    // A versionable class reads any schema, and a back reference reports the schema read the first time.
    const Bytes olderShape = Concat({{0xFF, 0xFF, 0x07, 0x00, 0x11, 0x00}, Text("CArchiveTestShape"), {0x01, 0x80}});
    Load(olderShape, [](CArchive& ar) {
        UINT first = 0;
        UINT second = 0;
        EXPECT_EQ(ar.ReadClass(RUNTIME_CLASS(CObject), &first), RUNTIME_CLASS(CArchiveTestShape));
        EXPECT_EQ(ar.ReadClass(RUNTIME_CLASS(CArchiveTestShape), &second), RUNTIME_CLASS(CArchiveTestShape));
        EXPECT_EQ(first, 7u);
        EXPECT_EQ(second, 7u);
    });
}

TEST(CArchiveForms, BackReferencesFromIndex7FFFTakeTheBigForm)
{
    struct Case
    {
        DWORD mappedBefore;  // table entries given before the class
        Bytes backReference;
    };
    const Case cases[] = {
        {0, {0x01, 0x80}},
        {0x7FFD, {0xFE, 0xFF}},                          // index 0x7FFE, the last of the short form
        {0x7FFE, {0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x80}},  // index 0x7FFF: 7F FF, then 0x80007FFF
        {0x8000, {0xFF, 0x7F, 0x01, 0x80, 0x00, 0x80}},  // index 0x8001
    };
    std::unique_ptr<CMapped[]> objects(new CMapped[0x8000]);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.mappedBefore);
        const Bytes stored = Store([&](CArchive& ar) {
            for (DWORD i = 0; i < c.mappedBefore; ++i)
                ar.MapObject(&objects[i]);
            if (c.mappedBefore > 0)
                ar.MapObject(&objects[0]);  // an object mapped again keeps its index
            ar.WriteClass(RUNTIME_CLASS(CArchiveTestShape));
            ar.WriteClass(RUNTIME_CLASS(CArchiveTestShape));
        });
        EXPECT_EQ(stored, Concat({kShapeRecord, c.backReference}));

        Load(stored, [&](CArchive& ar) {
            for (DWORD i = 0; i < c.mappedBefore; ++i)
                ar.MapObject(&objects[i]);
            UINT schema = 0;
            EXPECT_EQ(ar.ReadClass(), RUNTIME_CLASS(CArchiveTestShape));
            EXPECT_EQ(ar.ReadClass(RUNTIME_CLASS(CArchiveTestShape), &schema), RUNTIME_CLASS(CArchiveTestShape));
            EXPECT_EQ(schema, 0x22u);
        });
    }
}

TEST(CArchiveForms, TheIndexTableEndsAt3FFFFFFE)
{
    CMemFile file;
    CArchiveNearTheLimit ar(&file, CArchive::store);
    ar.SetMapCount(0x3FFFFFFD);
    ar.WriteClass(RUNTIME_CLASS(CArchiveTestShape));  // takes the last index
    ar.WriteClass(RUNTIME_CLASS(CArchiveTestShape));
    EXPECT_EQ(ArchiveCause([&] { ar.WriteClass(RUNTIME_CLASS(CArchiveTestCircle)); }), CArchiveException::badIndex);
    CMapped object;
    EXPECT_EQ(ArchiveCause([&] { ar.MapObject(&object); }), CArchiveException::badIndex);
    ar.Close();
    EXPECT_EQ(FileBytes(file), Concat({kShapeRecord, {0xFF, 0x7F, 0xFE, 0xFF, 0xFF, 0xBF}}));

    file.SeekToBegin();
    CArchiveNearTheLimit in(&file, CArchive::load);
    in.SetMapCount(0x3FFFFFFE);
    EXPECT_EQ(ArchiveCause([&] { in.ReadClass(); }), CArchiveException::badIndex);
}

TEST(CArchiveForms, ObjectsStoreThemselvesBehindTheirClass)
{
    CArchiveTestShape square;
    square.m_size = 4;
    square.m_name = "square";
    CArchiveTestCircle circle;
    circle.m_size = 9;
    circle.m_name = "ring";
    CArchiveTestShape* shapes[] = {&square, &circle, &square};
    const Bytes stored = Store([&](CArchive& ar) {
        ar.WriteCount(3);
        for (CArchiveTestShape* shape : shapes)
        {
            ar.WriteClass(shape->GetRuntimeClass());
            ar.MapObject(shape);
            shape->Serialize(ar);
        }
    });

    Load(stored, [&](CArchive& ar) {
        ASSERT_EQ(ar.ReadCount(), 3u);
        for (CArchiveTestShape* original : shapes)
        {
            CRuntimeClass* pClass = ar.ReadClass(RUNTIME_CLASS(CArchiveTestShape));
            std::unique_ptr<CObject> object(pClass->CreateObject());
            ar.MapObject(object.get());
            object->Serialize(ar);
            auto* shape = dynamic_cast<CArchiveTestShape*>(object.get());
            ASSERT_NE(shape, nullptr);
            EXPECT_EQ(shape->GetRuntimeClass(), original->GetRuntimeClass());
            EXPECT_EQ(shape->m_size, original->m_size);
            EXPECT_EQ(shape->m_name, original->m_name);
        }
        BYTE extra = 0;
        EXPECT_EQ(ar.Read(&extra, 1), 0u);
    });
}

TEST(CArchiveFailures, EachBrokenStreamRaisesItsCause)
{
    struct Case
    {
        const char* name;
        Bytes bytes;
        std::function<void(CArchive&)> read;
        int cause;
    };
    const auto readInt = [](CArchive& ar) {
        int i = 0;
        ar >> i;
    };
    const auto readString = [](CArchive& ar) {
        CString s;
        ar >> s;
    };
    const auto readClass = [](CArchive& ar) { ar.ReadClass(); };
    const auto readShape = [](CArchive& ar) { ar.ReadClass(RUNTIME_CLASS(CArchiveTestShape)); };
    const Case cases[] = {
        {"int past the end", {0x01, 0x02}, readInt, CArchiveException::endOfFile},
        {"count past the end", {0xFF, 0xFF, 0x01}, [](CArchive& ar) { ar.ReadCount(); }, CArchiveException::endOfFile},
        {"string shorter than its length", {0x05, 'a', 'b'}, readString, CArchiveException::endOfFile},
        {"long string length cut", {0xFF, 0xFF, 0xFF, 0x00}, readString, CArchiveException::endOfFile},
        {"wide-string marker", {0xFF, 0xFE, 0xFF, 0x01, 'a'}, readString, CArchiveException::genericException},
        {"class name cut", Bytes(kShapeRecord.begin(), kShapeRecord.end() - 1), readClass,
         CArchiveException::endOfFile},
        {"back reference never given", {0x01, 0x80}, readClass, CArchiveException::badIndex},
        {"back reference to index 0", {0x00, 0x80}, readClass, CArchiveException::badIndex},
        {"big back reference never given",
         {0xFF, 0x7F, 0x05, 0x00, 0x00, 0x80},
         readClass,
         CArchiveException::badIndex},
        {"object tag where a class belongs", {0x05, 0x00}, readClass, CArchiveException::badIndex},
        {"back reference to an object",
         {0x01, 0x80},
         [](CArchive& ar) {
             CMapped object;
             ar.MapObject(&object);
             ar.ReadClass();
         },
         CArchiveException::badIndex},
        {"unknown class", Concat({{0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00}, Text("CNoSuchOne")}), readClass,
         CArchiveException::badClass},
        {"class without a schema", Concat({{0xFF, 0xFF, 0x01, 0x00, 0x13, 0x00}, Text("CArchiveTestDynamic")}),
         readClass, CArchiveException::badClass},
        {"class not derived from the expected one",
         Concat({{0xFF, 0xFF, 0x03, 0x00, 0x10, 0x00}, Text("CArchiveTestMark")}), readShape,
         CArchiveException::badClass},
        {"back reference to a class not derived from the expected one",
         Concat({{0xFF, 0xFF, 0x03, 0x00, 0x10, 0x00}, Text("CArchiveTestMark"), {0x01, 0x80}}),
         [](CArchive& ar) {
             ar.ReadClass();
             ar.ReadClass(RUNTIME_CLASS(CArchiveTestShape));
         },
         CArchiveException::badClass},
        {"fixed schema of another version", Concat({{0xFF, 0xFF, 0x04, 0x00, 0x10, 0x00}, Text("CArchiveTestMark")}),
         readClass, CArchiveException::badSchema},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ArchiveCause([&] { Load(c.bytes, c.read); }), c.cause);
    }
}

TEST(CArchiveFailures, ClassesWithoutASchemaCannotBeWritten)
{
    for (const CRuntimeClass* pClass : {RUNTIME_CLASS(CArchiveTestDynamic), RUNTIME_CLASS(CObject)})
    {
        SCOPED_TRACE(pClass->m_lpszClassName);
        bool notSupported = false;
        const Bytes stored = Store([&](CArchive& ar) {
            try
            {
                ar.WriteClass(pClass);
            }
            catch (CNotSupportedException* e)
            {
                notSupported = true;
                e->Delete();
            }
        });
        EXPECT_TRUE(notSupported);
        EXPECT_TRUE(stored.empty());
    }
}

TEST(CArchiveFailures, AnArchiveGoesOneWayOnly)
{
    CMemFile file;
    CArchive out(&file, CArchive::store);
    EXPECT_TRUE(out.IsStoring());
    EXPECT_EQ(out.GetFile(), &file);
    EXPECT_EQ(ArchiveCause([&] {
                  int i = 0;
                  out >> i;
              }),
              CArchiveException::writeOnly);
    EXPECT_EQ(ArchiveCause([&] { out.ReadClass(); }), CArchiveException::writeOnly);
    out.Close();
    EXPECT_EQ(out.GetFile(), nullptr);
    EXPECT_EQ(ArchiveCause([&] { out << 1; }), CArchiveException::genericException);

    CArchive in(&file, CArchive::load);
    EXPECT_TRUE(in.IsLoading());
    EXPECT_EQ(ArchiveCause([&] { in << 1; }), CArchiveException::readOnly);
    EXPECT_EQ(ArchiveCause([&] { in.WriteCount(1); }), CArchiveException::readOnly);
    EXPECT_EQ(ArchiveCause([&] { in.WriteClass(RUNTIME_CLASS(CArchiveTestShape)); }), CArchiveException::readOnly);
}

TEST(CArchiveFailures, AFailingFileRaisesAFileExceptionNamingIt)
{
    ScratchFolder folder;
    const CString path = folder.File("archive.bin");
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        ASSERT_TRUE(file.IsOpen());
        CArchive ar(&file, CArchive::store);
        ar << DWORD(1);
    }
    CFile file(path, CFile::modeRead);  // opened for reading only: writing through it fails
    ASSERT_TRUE(file.IsOpen());
    CArchive ar(&file, CArchive::store, 16);
    ar.Write("0123456789", 10);
    int cause = -1;
    CString name;
    try
    {
        ar.Flush();
    }
    catch (CFileException* e)
    {
        cause = e->m_cause;
        name = e->m_strFileName;
        e->Delete();
    }
    EXPECT_EQ(cause, CFileException::accessDenied);
    EXPECT_EQ(name, path);
    ar.Abort();

    file.SeekToBegin();
    CArchive in(&file, CArchive::load);
    DWORD value = 0;
    in >> value;
    EXPECT_EQ(value, 1u);
    try
    {
        in >> value;
        ADD_FAILURE() << "read past the end";
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
        EXPECT_EQ(e->m_strFileName, path);  // a disk file's archive names it
        e->Delete();
    }
}

TEST(CArchiveBuffer, PeekSeesAcrossTheBufferWithoutConsuming)
{
    Bytes data(20);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<BYTE>(i);
    Load(
        data,
        [](CArchive& ar) {
            BYTE head[14] = {};
            ASSERT_EQ(ar.Read(head, sizeof head), 14u);  // two bytes of the first 16-byte fill are left
            BYTE peeked[4] = {};
            EXPECT_EQ(ar.Peek(peeked, 4), 4u);
            EXPECT_EQ(Bytes(peeked, peeked + 4), (Bytes{14, 15, 16, 17}));
            EXPECT_EQ(ar.Peek(peeked, 2), 2u);
            EXPECT_EQ(Bytes(peeked, peeked + 2), (Bytes{14, 15}));
            BYTE rest[8] = {};
            EXPECT_EQ(ar.Read(rest, sizeof rest), 6u);  // the raw read stops at the end without raising
            EXPECT_EQ(Bytes(rest, rest + 6), (Bytes{14, 15, 16, 17, 18, 19}));
            EXPECT_EQ(ar.Peek(peeked, 4), 0u);
        },
        16);

    Load(
        data,
        [](CArchive& ar) {
            BYTE skip[17] = {};
            ar.Read(skip, sizeof skip);
            BYTE peeked[8] = {};
            EXPECT_EQ(ar.Peek(peeked, 8), 3u);  // fewer at the end
            EXPECT_EQ(Bytes(peeked, peeked + 3), (Bytes{17, 18, 19}));
            WORD w = 0;
            ar >> w;
            EXPECT_EQ(w, 0x1211);
        },
        16);

    // A peek longer than the whole buffer still sees every byte.
    Load(
        data,
        [&](CArchive& ar) {
            BYTE first = 0;
            ar >> first;
            Bytes peeked(40);
            EXPECT_EQ(ar.Peek(peeked.data(), 40), 19u);
            EXPECT_EQ(Bytes(peeked.begin(), peeked.begin() + 19), Bytes(data.begin() + 1, data.end()));
            Bytes all(19);
            EXPECT_EQ(ar.Read(all.data(), 19), 19u);
            EXPECT_EQ(all, Bytes(data.begin() + 1, data.end()));
        },
        16);
}

TEST(CArchiveBuffer, LargeAndSmallWritesInterleaveInOrder)
{
    Bytes block(100);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<BYTE>(0x80 + i);
    const Bytes stored = Store(
        [&](CArchive& ar) {
            ar << BYTE(1);
            ar.Write(block.data(), static_cast<UINT>(block.size()));  // larger than the buffer
            ar << WORD(0x0302);
            ar.Write(block.data(), 10);
        },
        16);
    EXPECT_EQ(stored, Concat({{1}, block, {2, 3}, Bytes(block.begin(), block.begin() + 10)}));

    Load(
        stored,
        [&](CArchive& ar) {
            BYTE by = 0;
            ar >> by;
            Bytes read(100);
            EXPECT_EQ(ar.Read(read.data(), 100), 100u);
            EXPECT_EQ(read, block);
            WORD w = 0;
            ar >> w;
            EXPECT_EQ(w, 0x0302);
        },
        16);
}

TEST(CArchiveBuffer, FlushLeavesTheFileWhereTheArchiveStands)
{
    CMemFile file;
    file.Write("abcdefghijklmnopqrstuvwxyz", 26);
    file.SeekToBegin();
    CArchive in(&file, CArchive::load, 16);
    char c = 0;
    in >> c >> c >> c;
    EXPECT_EQ(c, 'c');
    EXPECT_EQ(file.GetPosition(), 16u);  // read ahead
    in.Flush();
    EXPECT_EQ(file.GetPosition(), 3u);
    in >> c;
    EXPECT_EQ(c, 'd');
    in.Close();
    EXPECT_EQ(file.GetPosition(), 4u);

    // Storing: Flush writes the buffer out and the file's position is the length stored so far.
    CMemFile out;
    CArchive ar(&out, CArchive::store);
    ar << DWORD(7) << "xyz";
    EXPECT_EQ(out.GetLength(), 0u);
    ar.Flush();
    EXPECT_EQ(out.GetPosition(), 8u);
}

TEST(CArchiveBuffer, TheDestructorClosesUnlessUnwinding)
{
    CMemFile closed;
    {
        CArchive ar(&closed, CArchive::store);
        ar << DWORD(5);
    }
    EXPECT_EQ(closed.GetLength(), 4u);

    CMemFile abandoned;
    try
    {
        CArchive ar(&abandoned, CArchive::store);
        ar << DWORD(5);
        throw std::runtime_error("object half written");
    }
    catch (const std::runtime_error&)
    {}
    EXPECT_EQ(abandoned.GetLength(), 0u);

    CMemFile unflushed;
    {
        CArchive ar(&unflushed, CArchive::store | CArchive::bNoFlushOnDelete);
        ar << DWORD(5);
    }
    EXPECT_EQ(unflushed.GetLength(), 0u);
}
