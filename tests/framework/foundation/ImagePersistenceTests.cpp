// Saving and loading the image manager's icons through the archive exchange, and moving one command's icons through
// the clipboard in "Osmira ToolBar Image": the byte layout, every image kind, older schemas, map order, custom ids,
// and damaged data that is refused without touching what the manager held.
#include <gtest/gtest.h>

#include "classlib/MemFile.h"
#include "classlib/OleDataObject.h"
#include "ImageInputChecks.h"
#include "ImageTestSupport.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/PropExchangeArchive.h"
#include "platform/classlib/RefPtr.h"

#include <functional>

using namespace image_test;

namespace {

const UINT kIconSetId = 1200;
const char kCheckSum[] = "COSMImageManagerIcons";

COSMImageManagerIconHandle AlphaImage(int cx, int cy, DWORD pixel, DWORD firstPixel)
{
    std::vector<DWORD> pixels(static_cast<size_t>(cx) * cy, pixel);
    pixels[0] = firstPixel;
    COSMImageManagerIconHandle image;
    image.SetAlphaBitmap(MakeBitmap32(cx, cy, pixels));
    return image;
}

HICON IconWithHole(COLORREF clr)
{
    std::vector<COLORREF> colors(256, clr);
    colors[0] = RGB(1, 254, 1);
    return MakeClassicIcon(16, 16, colors, RGB(1, 254, 1));
}

std::vector<BYTE> Bytes(CMemFile& file)
{
    const ULONGLONG nLength = file.GetLength();
    std::vector<BYTE> bytes(static_cast<size_t>(nLength));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(nLength));
    return bytes;
}

// Writes with an archive exchange over a memory file and returns the bytes.
std::vector<BYTE> Store(const std::function<void(CArchive&)>& write)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    return Bytes(file);
}

// Reads the bytes back; the archive's failure cause, 0 when none, and how many bytes were consumed.
int Load(const std::vector<BYTE>& bytes, const std::function<void(CArchive&)>& read, ULONGLONG* pnConsumed = nullptr)
{
    std::vector<BYTE> copy(bytes);
    CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
    int nCause = 0;
    try
    {
        CArchive ar(&file, CArchive::load);
        read(ar);
        ar.Close();
        if (pnConsumed)
            *pnConsumed = file.GetPosition();
    }
    catch (CArchiveException* e)
    {
        nCause = e->m_cause;
        e->Delete();
    }
    catch (CException* e)
    {
        nCause = -1;
        e->Delete();
    }
    file.Detach();
    return nCause;
}

// Every row of the image drawn on a surface of one colour.
std::vector<DWORD> Drawn(COSMImageManagerIcon* pIcon, COSMImageManagerIconHandle& image, DWORD background)
{
    DcTestSurface surface(pIcon->GetWidth(), pIcon->GetWidth(), DcTestSurface::RawFill{background});
    pIcon->Draw(surface.dc(), 0, 0, image);
    std::vector<DWORD> all;
    for (int y = 0; y < pIcon->GetWidth(); ++y)
    {
        const std::vector<DWORD> row = surface.Row(y);
        all.insert(all.end(), row.begin(), row.end());
    }
    return all;
}

// The records of a hand-made icon set: its check sum, and icons of a width, height, schema and image records.
struct HandIcon
{
    long width;
    int height;
    int schema;
    std::vector<std::function<void(CArchive&)>> records;  // each writes one image record
};

std::vector<BYTE> HandMadeSet(const char* checkSum, const std::vector<HandIcon>& icons)
{
    return Store([&](CArchive& ar) {
        ar << CString(checkSum);
        ar.WriteCount(static_cast<DWORD_PTR>(icons.size()));
        for (const HandIcon& icon : icons)
        {
            ar << icon.width << icon.height << icon.schema;
            for (const auto& record : icon.records)
                record(ar);
        }
    });
}

// An image record of an alpha bitmap of one colour (its mask record empty).
std::function<void(CArchive&)> AlphaRecord(DWORD pixel)
{
    return [pixel](CArchive& ar) {
        HBITMAP hBitmap = MakeSolidBitmap32(16, 16, pixel);
        COSMImageManagerIcon::WriteDIB(ar, hBitmap);
        ar.WriteCount(0);
        ::DeleteObject(hBitmap);
    };
}

std::function<void(CArchive&)> EmptyRecord()
{
    return [](CArchive& ar) {
        ar.WriteCount(0);
        ar.WriteCount(0);
    };
}

class ImagePersistence : public ::testing::Test
{
protected:
    void SetUp() override { m_pManager = new COSMImageManager; }
    void TearDown() override { m_pManager->InternalRelease(); }

    COSMImageManager* m_pManager = nullptr;
};

}  // namespace

TEST_F(ImagePersistence, AllFiveImageKindsRoundTripAlphaAndClassic)
{
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(IconWithHole(RGB(200, 0, 0))), kIconSetId));
    ASSERT_TRUE(
        m_pManager->SetIcon(AlphaImage(16, 16, Argb(255, 0, 0, 90), Argb(100, 200, 40, 0)), kIconSetId, 0, 0, 1));
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(IconWithHole(RGB(0, 200, 0))), kIconSetId, 0, 0, 2));
    ASSERT_TRUE(m_pManager->SetIcon(AlphaImage(16, 16, Argb(128, 100, 0, 0), 0), kIconSetId, 0, 0, 3));
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(IconWithHole(RGB(0, 0, 200))), kIconSetId, 0, 0, 4));
    const std::vector<BYTE> bytes = Store([&](CArchive& ar) { m_pManager->SerializeIconSet(kIconSetId, ar); });

    RefPtr<COSMImageManager> pLoaded = AdoptRef(new COSMImageManager);
    ULONGLONG nConsumed = 0;
    ASSERT_EQ(Load(
                  bytes, [&](CArchive& ar) { pLoaded->SerializeIconSet(kIconSetId, ar); }, &nConsumed),
              0);
    EXPECT_EQ(nConsumed, bytes.size());
    COSMImageManagerIcon* pBefore = m_pManager->GetImage(kIconSetId, 16);
    COSMImageManagerIcon* pAfter = pLoaded->GetImage(kIconSetId, 16);
    ASSERT_NE(pAfter, nullptr);
    EXPECT_EQ(pAfter->GetHeight(), 16);
    const std::function<COSMImageManagerIconHandle&(COSMImageManagerIcon*)> members[] = {
        [](COSMImageManagerIcon* p) -> COSMImageManagerIconHandle& { return p->GetIcon(); },
        [](COSMImageManagerIcon* p) -> COSMImageManagerIconHandle& { return p->GetDisabledIcon(FALSE); },
        [](COSMImageManagerIcon* p) -> COSMImageManagerIconHandle& { return p->GetImageForState(2); },
        [](COSMImageManagerIcon* p) -> COSMImageManagerIconHandle& { return p->GetImageForState(3); },
        [](COSMImageManagerIcon* p) -> COSMImageManagerIconHandle& { return p->GetImageForState(4); },
    };
    const BOOL alpha[] = {FALSE, TRUE, FALSE, TRUE, FALSE};
    for (int i = 0; i < 5; ++i)
    {
        SCOPED_TRACE(i);
        COSMImageManagerIconHandle& before = members[i](pBefore);
        COSMImageManagerIconHandle& after = members[i](pAfter);
        ASSERT_FALSE(after.IsEmpty());
        EXPECT_EQ(after.IsAlpha(), alpha[i]);
        for (DWORD background : {Argb(0, 255, 255, 255), Argb(0, 0, 0, 0)})
            EXPECT_EQ(Drawn(pAfter, after, background), Drawn(pBefore, before, background));
    }
    // The images are told apart: the state images are not the normal one.
    EXPECT_NE(Drawn(pAfter, members[2](pAfter), 0), Drawn(pAfter, members[0](pAfter), 0));
    pLoaded.Reset();
}

TEST_F(ImagePersistence, OlderSchemasCarryFewerImageRecords)
{
    const struct
    {
        int schema;
        int records;
    } cases[] = {{7, 3}, {8, 4}, {16, 4}, {17, 5}, {34, 5}};
    const DWORD colours[] = {Argb(255, 10, 0, 0), Argb(255, 0, 20, 0), Argb(255, 0, 0, 30), Argb(255, 40, 40, 0),
                             Argb(255, 0, 50, 50)};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.schema);
        HandIcon icon{16, 16, c.schema, {}};
        for (int i = 0; i < c.records; ++i)
            icon.records.push_back(AlphaRecord(colours[i]));
        const std::vector<BYTE> bytes = HandMadeSet(kCheckSum, {icon});
        RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
        ULONGLONG nConsumed = 0;
        ASSERT_EQ(Load(
                      bytes, [&](CArchive& ar) { pManager->SerializeIconSet(kIconSetId, ar); }, &nConsumed),
                  0);
        EXPECT_EQ(nConsumed, bytes.size());
        COSMImageManagerIcon* pIcon = pManager->GetImage(kIconSetId, 16);
        ASSERT_NE(pIcon, nullptr);
        // Normal, disabled and state 2 always; state 3 above schema 7; state 4 from schema 17.
        EXPECT_EQ(Drawn(pIcon, pIcon->GetIcon(), 0)[0], colours[0]);
        EXPECT_EQ(Drawn(pIcon, pIcon->GetDisabledIcon(FALSE), 0)[0], colours[1]);
        EXPECT_EQ(Drawn(pIcon, pIcon->GetImageForState(2), 0)[0], colours[2]);
        EXPECT_EQ(&pIcon->GetImageForState(3) == &pIcon->GetImageForState(2), c.records < 4);
        EXPECT_EQ(&pIcon->GetImageForState(4) == &pIcon->GetImageForState(2), c.records < 5);
        if (c.records == 5)
        {
            EXPECT_EQ(Drawn(pIcon, pIcon->GetImageForState(4), 0)[0], colours[4]);
        }
        pManager.Reset();
    }
}

TEST_F(ImagePersistence, AlphaImagesAreStoredPremultipliedFromSchemaTwentyFiveOn)
{
    // The same bytes: straight colour under an old schema (premultiplied when first drawn), premultiplied already
    // under a new one.
    const DWORD pixel = Argb(128, 100, 0, 0);
    for (int nSchema : {24, 25})
    {
        RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
        const std::vector<BYTE> bytes = HandMadeSet(
            kCheckSum,
            {{16, 16, nSchema, {AlphaRecord(pixel), EmptyRecord(), EmptyRecord(), EmptyRecord(), EmptyRecord()}}});
        ASSERT_EQ(Load(bytes, [&](CArchive& ar) { pManager->SerializeIconSet(kIconSetId, ar); }), 0);
        COSMImageManagerIcon* pIcon = pManager->GetImage(kIconSetId, 16);
        const COLORREF clr = ToColorRef(Drawn(pIcon, pIcon->GetIcon(), Argb(255, 0, 0, 0))[5]);
        EXPECT_TRUE(Near(clr, nSchema > 24 ? RGB(100, 0, 0) : RGB(100 * 128 / 255, 0, 0)))
            << nSchema << " " << std::hex << clr;
        pManager.Reset();
    }
}

TEST_F(ImagePersistence, RecordsHaveTheirByteLayout)
{
    // An alpha image of 2 x 1: its DIB record (52-byte info block, 8 pixel bytes), then an empty mask record; the
    // other four members empty, two zero counts each.
    COSMImageManagerIconHandle image;
    image.SetAlphaBitmap(MakeBitmap32(2, 1, {Argb(255, 1, 2, 3), Argb(0, 0, 0, 0)}));
    ASSERT_TRUE(m_pManager->SetIcon(image, kIconSetId));
    const std::vector<BYTE> bytes = Store([&](CArchive& ar) { m_pManager->SerializeIconSet(kIconSetId, ar); });

    std::vector<BYTE> expected = {21};
    expected.insert(expected.end(), kCheckSum, kCheckSum + 21);
    expected.insert(expected.end(),
                    {0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x22, 0x00, 0x00, 0x00});
    expected.insert(expected.end(), {52, 0});
    AppendInfoHeader(expected, 2, 1, 32);
    const size_t nHeader = expected.size() - 40;
    expected.insert(expected.end(), 12, 0);  // three colour entries
    expected.insert(expected.end(), {8, 0, 3, 2, 1, 255, 0, 0, 0, 0});
    expected.insert(expected.end(), {0, 0});  // no mask
    expected.insert(expected.end(), 16, 0);   // four empty members
    ASSERT_EQ(bytes.size(), expected.size());
    // GetDIBits describes the bitmap: plain BI_RGB, or BI_BITFIELDS with the masks of that same layout in the
    // three colour entries. The image size and resolutions are its to fill; the rest is compared byte for byte.
    std::vector<BYTE> compared = bytes;
    DWORD nCompression = 0;
    std::memcpy(&nCompression, &bytes[nHeader + 16], 4);
    if (nCompression == BI_BITFIELDS)
    {
        DWORD masks[3] = {};
        std::memcpy(masks, &bytes[nHeader + 40], 12);
        EXPECT_EQ(masks[0], 0x00FF0000u);
        EXPECT_EQ(masks[1], 0x0000FF00u);
        EXPECT_EQ(masks[2], 0x000000FFu);
    }
    else
    {
        EXPECT_EQ(nCompression, static_cast<DWORD>(BI_RGB));
    }
    std::memcpy(&compared[nHeader + 16], &expected[nHeader + 16], 4);
    std::memcpy(&compared[nHeader + 20], &expected[nHeader + 20], 12);
    std::memcpy(&compared[nHeader + 40], &expected[nHeader + 40], 12);
    EXPECT_EQ(compared, expected);

    // Read back, the empty members stay empty.
    RefPtr<COSMImageManager> pLoaded = AdoptRef(new COSMImageManager);
    ASSERT_EQ(Load(bytes, [&](CArchive& ar) { pLoaded->SerializeIconSet(kIconSetId, ar); }), 0);
    COSMImageManagerIcon* pIcon = pLoaded->GetImage(kIconSetId, 2);
    ASSERT_NE(pIcon, nullptr);
    EXPECT_FALSE(pIcon->HasDisabledIcon());
    EXPECT_EQ(&pIcon->GetImageForState(4), &pIcon->GetIcon());
    pLoaded.Reset();
}

TEST_F(ImagePersistence, SetsAndIconsComeBackInMapOrder)
{
    // Ids 1, 2, 3 and 2033 share bucket 0 of 127, 20 lies in bucket 1; widths 16 and 24 share a bucket too.
    for (UINT nID : {1u, 20u, 2u, 2033u, 3u})
        ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(nID % 256, 7, 7))), nID));
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(24, 24, RGB(9, 9, 9))), 2));
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(32, 32, RGB(9, 9, 9))), 2));
    auto walk = [](COSMImageManager* pManager) {
        std::vector<UINT> order;
        for (POSITION pos = pManager->GetIconSets().GetStartPosition(); pos;)
        {
            UINT nID = 0;
            COSMImageManagerIconSet* pSet = nullptr;
            pManager->GetIconSets().GetNextAssoc(pos, nID, pSet);
            order.push_back(nID);
            for (POSITION posIcon = pSet->GetStartPosition(); posIcon;)
            {
                int nWidth = 0;
                COSMImageManagerIcon* pIcon = nullptr;
                pSet->GetNextIcon(posIcon, nWidth, pIcon);
                order.push_back(1000 + nWidth);
            }
        }
        return order;
    };
    const std::vector<UINT> stored = walk(m_pManager);
    ASSERT_EQ(stored, (std::vector<UINT>{3, 1016, 2033, 1016, 2, 1024, 1016, 1032, 1, 1016, 20, 1016}));
    const std::vector<BYTE> bytes = Store([&](CArchive& ar) { m_pManager->Serialize(ar); });

    RefPtr<COSMImageManager> pLoaded = AdoptRef(new COSMImageManager);
    ASSERT_EQ(Load(bytes, [&](CArchive& ar) { pLoaded->Serialize(ar); }), 0);
    EXPECT_EQ(walk(pLoaded.Get()), stored);
    // The tie between 16 and 24 still goes to the one added last.
    EXPECT_EQ(pLoaded->GetImage(2, 20)->GetWidth(), 24);
    // None of these ids lies above the last custom one, which therefore stays.
    EXPECT_EQ(pLoaded->GetLastCustomID(), 68266u);
    pLoaded.Reset();
}

TEST_F(ImagePersistence, ALoadedIdAboveTheLastCustomIdRaisesTheNextOne)
{
    const std::vector<BYTE> bytes = HandMadeSet(
        kCheckSum,
        {{16, 16, 34, {AlphaRecord(Argb(255, 1, 2, 3)), EmptyRecord(), EmptyRecord(), EmptyRecord(), EmptyRecord()}}});
    ASSERT_EQ(Load(bytes, [&](CArchive& ar) { m_pManager->SerializeIconSet(70000, ar); }), 0);
    EXPECT_NE(m_pManager->LookupIconSet(70000), nullptr);
    EXPECT_EQ(m_pManager->AddCustomIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3)))), 70001u);
    // A lower one leaves it.
    ASSERT_EQ(Load(bytes, [&](CArchive& ar) { m_pManager->SerializeIconSet(500, ar); }), 0);
    EXPECT_EQ(m_pManager->AddCustomIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3)))), 70002u);
}

TEST_F(ImagePersistence, AWrongCheckSumFailsAndKeepsTheIconsThere)
{
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(200, 0, 0))), kIconSetId));
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(0, 200, 0))), kIconSetId + 1));
    const HandIcon green{
        16, 16, 34, {AlphaRecord(Argb(255, 0, 0, 255)), EmptyRecord(), EmptyRecord(), EmptyRecord(), EmptyRecord()}};
    auto drawnAt = [&](UINT nID) {
        COSMImageManagerIcon* pIcon = m_pManager->GetImage(nID, 16);
        return pIcon ? ToColorRef(Drawn(pIcon, pIcon->GetIcon(), 0)[17]) : CLR_INVALID;
    };

    const std::vector<BYTE> bad = HandMadeSet("Icons", {green});
    EXPECT_EQ(Load(bad, [&](CArchive& ar) { m_pManager->SerializeIconSet(kIconSetId, ar); }),
              CArchiveException::badClass);
    EXPECT_EQ(drawnAt(kIconSetId), RGB(200, 0, 0));

    // The whole manager: one sound set, then one with the wrong check sum.
    const std::vector<BYTE> good = HandMadeSet(kCheckSum, {green});
    const std::vector<BYTE> manager = Store([&](CArchive& ar) {
        ar.WriteCount(2);
        ar << static_cast<long>(kIconSetId + 5);
        ar.Write(good.data(), static_cast<UINT>(good.size()));
        ar << static_cast<long>(kIconSetId);
        ar.Write(bad.data(), static_cast<UINT>(bad.size()));
    });
    EXPECT_EQ(Load(manager, [&](CArchive& ar) { m_pManager->Serialize(ar); }), CArchiveException::badClass);
    EXPECT_EQ(drawnAt(kIconSetId), RGB(200, 0, 0));
    EXPECT_EQ(drawnAt(kIconSetId + 1), RGB(0, 200, 0));
    EXPECT_EQ(m_pManager->LookupIconSet(kIconSetId + 5), nullptr);

    // A stream that ends early changes nothing either.
    const std::vector<BYTE> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
    EXPECT_EQ(Load(cut, [&](CArchive& ar) { m_pManager->SerializeIconSet(kIconSetId, ar); }),
              CArchiveException::endOfFile);
    EXPECT_EQ(drawnAt(kIconSetId), RGB(200, 0, 0));
}

TEST_F(ImagePersistence, WidthsOfZeroOrLessAreSkippedAndARepeatedWidthReplacesWithoutLeaking)
{
    auto icon = [](long width, DWORD pixel) {
        return HandIcon{
            width, 16, 34, {AlphaRecord(pixel), EmptyRecord(), EmptyRecord(), EmptyRecord(), EmptyRecord()}};
    };
    const std::vector<BYTE> bytes =
        HandMadeSet(kCheckSum, {icon(0, Argb(255, 1, 0, 0)), icon(-5, Argb(255, 2, 0, 0)), icon(16, Argb(255, 3, 0, 0)),
                                icon(16, Argb(255, 4, 0, 0))});
    ASSERT_EQ(Load(bytes, [&](CArchive& ar) { m_pManager->SerializeIconSet(kIconSetId, ar); }), 0);
    COSMImageManagerIconSet* pSet = m_pManager->LookupIconSet(kIconSetId);
    ASSERT_NE(pSet, nullptr);
    ASSERT_EQ(pSet->GetIconCount(), 1);
    COSMImageManagerIcon* pIcon = pSet->GetIcon(16, FALSE);
    ASSERT_NE(pIcon, nullptr);
    EXPECT_EQ(Drawn(pIcon, pIcon->GetIcon(), 0)[0], Argb(255, 4, 0, 0));
    // Every icon read let go of its images but the one kept: one slot in use.
    EXPECT_EQ(m_pManager->GetCache(CSize(16, 16), FALSE)->GetUsedSlotCount(), 1);
    // Loading the set again replaces it whole.
    ASSERT_EQ(Load(bytes, [&](CArchive& ar) { m_pManager->SerializeIconSet(kIconSetId, ar); }), 0);
    EXPECT_EQ(m_pManager->GetCache(CSize(16, 16), FALSE)->GetUsedSlotCount(), 1);
}

TEST_F(ImagePersistence, DamagedDibRecordsGiveEmptyMembersAndTheStreamGoesOn)
{
    // A sound 16 x 16 32-bit record, damaged one field at a time.
    const struct
    {
        const char* name;
        std::function<void(std::vector<BYTE>& info, std::vector<BYTE>& pixels)> damage;
    } cases[] = {
        {"bit count 7", [](std::vector<BYTE>& info, std::vector<BYTE>&) { info[14] = 7; }},
        {"width 0", [](std::vector<BYTE>& info, std::vector<BYTE>&) { std::memset(&info[4], 0, 4); }},
        {"negative width", [](std::vector<BYTE>& info, std::vector<BYTE>&) { std::memset(&info[4], 0xFF, 4); }},
        {"height 0", [](std::vector<BYTE>& info, std::vector<BYTE>&) { std::memset(&info[8], 0, 4); }},
        {"huge height", [](std::vector<BYTE>& info, std::vector<BYTE>&) { info[11] = 0x40; }},
        {"4097 x 4097 pixels",
         [](std::vector<BYTE>& info, std::vector<BYTE>&) {
             const BYTE side[4] = {0x01, 0x10, 0, 0};
             std::memcpy(&info[4], side, 4);
             std::memcpy(&info[8], side, 4);
         }},
        {"header size 12", [](std::vector<BYTE>& info, std::vector<BYTE>&) { info[0] = 12; }},
        {"run-length compressed", [](std::vector<BYTE>& info, std::vector<BYTE>&) { info[16] = BI_RLE8; }},
        {"8 bits without their colour table", [](std::vector<BYTE>& info, std::vector<BYTE>&) { info[14] = 8; }},
        {"info block shorter than a header", [](std::vector<BYTE>& info, std::vector<BYTE>&) { info.resize(30); }},
        {"pixels short of the rows",
         [](std::vector<BYTE>&, std::vector<BYTE>& pixels) { pixels.resize(pixels.size() - 1); }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        auto damaged = [&](CArchive& ar) {
            std::vector<BYTE> info;
            AppendInfoHeader(info, 16, 16, 32);
            info.insert(info.end(), 12, 0);
            std::vector<BYTE> pixels(16 * 16 * 4, 0x80);
            c.damage(info, pixels);
            ar.WriteCount(info.size());
            ar.Write(info.data(), static_cast<UINT>(info.size()));
            ar.WriteCount(pixels.size());
            ar.Write(pixels.data(), static_cast<UINT>(pixels.size()));
            ar.WriteCount(0);
        };
        const std::vector<BYTE> bytes = HandMadeSet(
            kCheckSum,
            {{16, 16, 34, {damaged, AlphaRecord(Argb(255, 0, 99, 0)), EmptyRecord(), EmptyRecord(), EmptyRecord()}}});
        RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
        ULONGLONG nConsumed = 0;
        ASSERT_EQ(Load(
                      bytes, [&](CArchive& ar) { pManager->SerializeIconSet(kIconSetId, ar); }, &nConsumed),
                  0);
        EXPECT_EQ(nConsumed, bytes.size());
        COSMImageManagerIcon* pIcon = pManager->GetImage(kIconSetId, 16);
        ASSERT_NE(pIcon, nullptr);
        EXPECT_TRUE(pIcon->GetIcon().IsEmpty());
        EXPECT_EQ(Drawn(pIcon, pIcon->GetDisabledIcon(FALSE), 0)[0], Argb(255, 0, 99, 0));
        pManager.Reset();
    }
}

TEST_F(ImagePersistence, AnIconSetOnTheClipboardStartsWithItsCheckSumCountWidthHeightAndSchema)
{
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3))), kIconSetId));
    ClipboardOwner clipboard;
    ASSERT_TRUE(clipboard.Open());
    EXPECT_TRUE(m_pManager->CopyImageToClipboard(kIconSetId));
    ::CloseClipboard();
    const std::vector<BYTE> bytes = clipboard.Get();
    std::vector<BYTE> prefix = {0x15};
    prefix.insert(prefix.end(), kCheckSum, kCheckSum + 21);
    prefix.insert(prefix.end(), {0x01, 0x00, 0x10, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x22, 0x00, 0x00, 0x00});
    ASSERT_GE(bytes.size(), prefix.size());
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(prefix.size())), prefix);
}

TEST_F(ImagePersistence, EachPasteStoresTheIconsUnderANewCustomId)
{
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(IconWithHole(RGB(0, 90, 180))), kIconSetId));
    ClipboardOwner clipboard;
    ASSERT_TRUE(clipboard.Open());
    ASSERT_TRUE(m_pManager->CopyImageToClipboard(kIconSetId));
    ::CloseClipboard();

    COleDataObject data;
    data.AttachClipboard();
    const UINT nFirst = m_pManager->PasteFromClipboard(&data);
    const UINT nSecond = m_pManager->PasteFromClipboard(&data);
    EXPECT_EQ(nFirst, 68267u);
    EXPECT_EQ(nSecond, 68268u);
    COSMImageManagerIcon* pOriginal = m_pManager->GetImage(kIconSetId, 16);
    for (UINT nID : {nFirst, nSecond})
    {
        COSMImageManagerIcon* pPasted = m_pManager->GetImage(nID, 16);
        ASSERT_NE(pPasted, nullptr);
        EXPECT_EQ(pPasted->GetID(), nID);
        EXPECT_EQ(Drawn(pPasted, pPasted->GetIcon(), Argb(0, 255, 255, 255)),
                  Drawn(pOriginal, pOriginal->GetIcon(), Argb(0, 255, 255, 255)));
    }
    // Without the format on the clipboard there is nothing to paste.
    ASSERT_TRUE(clipboard.Open());
    ::CloseClipboard();
    EXPECT_EQ(m_pManager->PasteFromClipboard(&data), 0u);
    EXPECT_EQ(m_pManager->PasteFromClipboard(nullptr), 0u);
}

TEST_F(ImagePersistence, ADamagedPasteReturnsZeroSpendsNoIdAndLeavesTheHeapAsItWas)
{
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3))), kIconSetId));
    const std::vector<BYTE> good = HandMadeSet(
        kCheckSum,
        {{16, 16, 34, {AlphaRecord(Argb(255, 1, 2, 3)), EmptyRecord(), EmptyRecord(), EmptyRecord(), EmptyRecord()}}});
    std::vector<BYTE> hugeCount(good.begin(), good.begin() + 1 + 21 + 2 + 4 + 8);
    hugeCount.insert(hugeCount.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});  // an info block of 2 GiB
    const std::vector<BYTE> cases[] = {
        std::vector<BYTE>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() - 300)),
        HandMadeSet("Icons", {}),
        hugeCount,
        std::vector<BYTE>(good.begin(), good.begin() + 10),
    };
    ClipboardOwner clipboard;
    COleDataObject data;
    data.AttachClipboard();
    // Reading the clipboard costs Wine some memory of its own on every read: a paste is measured against reads
    // that take the same copy and free it at once. A block left behind by each paste, the smallest of them 10
    // bytes, would grow the difference by a kilobyte or more within these rounds.
    const int kRounds = 200;
    for (const auto& bytes : cases)
    {
        ASSERT_TRUE(clipboard.Put(bytes));
        EXPECT_EQ(m_pManager->PasteFromClipboard(&data), 0u);
        const unsigned long long nReadsBefore = HeapBytesInUse();
        for (int round = 0; round < kRounds; ++round)
        {
            ASSERT_TRUE(clipboard.Put(bytes));
            ::GlobalFree(data.GetGlobalData(RegisterToolbarImageClipboardFormat()));
        }
        const long long nReads = static_cast<long long>(HeapBytesInUse() - nReadsBefore);
        const unsigned long long nPastesBefore = HeapBytesInUse();
        for (int round = 0; round < kRounds; ++round)
        {
            ASSERT_TRUE(clipboard.Put(bytes));
            EXPECT_EQ(m_pManager->PasteFromClipboard(&data), 0u);
        }
        const long long nPastes = static_cast<long long>(HeapBytesInUse() - nPastesBefore);
        EXPECT_LT(nPastes, nReads + 1024) << bytes.size() << " bytes: reads " << nReads << ", pastes " << nPastes;
    }
    EXPECT_EQ(m_pManager->GetLastCustomID(), 68266u);
    EXPECT_EQ(m_pManager->GetIconSets().GetCount(), 1);

    ASSERT_TRUE(clipboard.Put(good));
    EXPECT_EQ(m_pManager->PasteFromClipboard(&data), 68267u);
}

TEST_F(ImagePersistence, CopyingToAClosedClipboardFailsAndFreesItsBlock)
{
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3))), kIconSetId));
    EXPECT_FALSE(m_pManager->CopyImageToClipboard(kIconSetId));
    const unsigned long long nHeapBefore = HeapBytesInUse();
    for (int i = 0; i < 50; ++i)
        EXPECT_FALSE(m_pManager->CopyImageToClipboard(kIconSetId));
    const unsigned long long nHeapAfter = HeapBytesInUse();
    // Each block holds more than 1 KiB: fifty of them left behind would show.
    EXPECT_LT(nHeapAfter, nHeapBefore + 4096) << nHeapBefore << " -> " << nHeapAfter;
}

TEST_F(ImagePersistence, TheManagerExchangesThroughAnyPropertyExchange)
{
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(5, 6, 7))), 31));
    const std::vector<BYTE> bytes = Store([&](CArchive& ar) {
        COSMPropExchangeArchive px(ar);
        m_pManager->DoPropExchange(&px);
    });
    // The compact "IconSet" count, the set's "Id", then its icon-set exchange.
    ASSERT_GE(bytes.size(), 7u + 22u);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + 7), (std::vector<BYTE>{0x01, 0x00, 31, 0, 0, 0, 0x15}));
    RefPtr<COSMImageManager> pLoaded = AdoptRef(new COSMImageManager);
    ASSERT_EQ(Load(bytes,
                   [&](CArchive& ar) {
                       COSMPropExchangeArchive px(ar);
                       pLoaded->DoPropExchange(&px);
                   }),
              0);
    ASSERT_NE(pLoaded->GetImage(31, 16), nullptr);
    pLoaded.Reset();
}

TEST(ImageClipboardFormats, BothFormatsAreRegisteredByName)
{
    const struct
    {
        CLIPFORMAT format;
        const char* name;
    } cases[] = {{OSM_CF_TOOLBAR_IMAGE, "Osmira ToolBar Image"}, {OSM_CF_ALPHA_BITMAP, "Alpha Bitmap Image"}};
    for (const auto& c : cases)
    {
        EXPECT_GE(c.format, 0xC000u) << c.name;
        char szName[64] = {};
        ASSERT_GT(::GetClipboardFormatNameA(c.format, szName, sizeof(szName)), 0) << c.name;
        EXPECT_STREQ(szName, c.name);
        EXPECT_EQ(::RegisterClipboardFormatA(c.name), c.format);
    }
    EXPECT_NE(OSM_CF_TOOLBAR_IMAGE, OSM_CF_ALPHA_BITMAP);
}

TEST_F(ImagePersistence, APastedSetClaimingAHugeWidthIsRefusedAtOnceAndSpendsNoId)
{
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3))), kIconSetId));
    // The reproducer holds the byte its finder chose the paste with, then the clipboard's set; both are pasted.
    const std::vector<BYTE> file =
        image_input::ReadWholeFile(std::string(OSM_BAD_IMAGE_INPUT_DIR) + "/paste_width_8323088.bin");
    ASSERT_GT(file.size(), 1u);
    const std::vector<BYTE> set(file.begin() + 1, file.end());
    ASSERT_EQ(set[0], 21);  // the check sum's length
    for (const std::vector<BYTE>* bytes : {&file, &set})
    {
        const image_input::PasteOutcome outcome = image_input::PasteAsHost(m_pManager, *bytes);
        EXPECT_EQ(outcome.id, 0u);
        EXPECT_TRUE(outcome.managerUnchanged);
        EXPECT_LT(outcome.seconds, 10.0);  // about 84 s once
    }
    EXPECT_NE(m_pManager->GetImage(kIconSetId, 16), nullptr);
}

TEST_F(ImagePersistence, StoredAndPastedSizesBeyondTheImageLimitsRefuseTheWholeSet)
{
    auto icon = [](long width, int height) {
        return HandIcon{width,
                        height,
                        34,
                        {AlphaRecord(Argb(255, 1, 2, 3)), EmptyRecord(), EmptyRecord(), EmptyRecord(), EmptyRecord()}};
    };
    const struct
    {
        const char* name;
        std::vector<BYTE> bytes;
        bool accepted;
    } cases[] = {
        {"width 16384", HandMadeSet(kCheckSum, {icon(16384, 16)}), true},
        {"width 16385", HandMadeSet(kCheckSum, {icon(16385, 16)}), false},
        {"width 8323088 after a sound icon", HandMadeSet(kCheckSum, {icon(16, 16), icon(8323088, 16)}), false},
        {"height 16385", HandMadeSet(kCheckSum, {icon(16, 16385)}), false},
        {"height -1", HandMadeSet(kCheckSum, {icon(16, -1)}), false},
    };
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3))), kIconSetId));
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        // Pasted: a new custom id, or none spent.
        const image_input::PasteOutcome outcome = image_input::PasteAsHost(m_pManager, c.bytes);
        EXPECT_EQ(outcome.id != 0, c.accepted);
        EXPECT_EQ(outcome.managerUnchanged, !c.accepted);
        // Stored under a command: loaded, or refused with the command's icons left as they were.
        RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
        ASSERT_TRUE(pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(4, 5, 6))), kIconSetId));
        const int nCause = Load(c.bytes, [&](CArchive& ar) { pManager->SerializeIconSet(kIconSetId, ar); });
        EXPECT_EQ(nCause == 0, c.accepted) << nCause;
        COSMImageManagerIconSet* pSet = pManager->LookupIconSet(kIconSetId);
        ASSERT_NE(pSet, nullptr);
        if (!c.accepted)
        {
            EXPECT_EQ(nCause, CArchiveException::genericException);
            ASSERT_NE(pSet->GetIcon(16, FALSE), nullptr);
            EXPECT_EQ(ToColorRef(Drawn(pSet->GetIcon(16, FALSE), pSet->GetIcon(16, FALSE)->GetIcon(), 0)[0]),
                      RGB(4, 5, 6));
        }
        pManager.Reset();
    }

    // A whole stored manager whose one set claims that width: the load fails and every set stays.
    RefPtr<COSMImageManager> pSource = AdoptRef(new COSMImageManager);
    ASSERT_TRUE(pSource->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(7, 8, 9))), 77));
    std::vector<BYTE> stored = Store([&](CArchive& ar) { pSource->Serialize(ar); });
    // The icon's width follows the check sum and the count of icons.
    const std::string text(stored.begin(), stored.end());
    const size_t nAt = text.find(kCheckSum);
    ASSERT_NE(nAt, std::string::npos);
    const size_t nWidthAt = nAt + 21 + 2;
    ASSERT_EQ(stored[nWidthAt], 16);
    stored[nWidthAt] = 0x10;
    stored[nWidthAt + 1] = 0x00;
    stored[nWidthAt + 2] = 0x7F;
    const INT_PTR nSetsBefore = m_pManager->GetIconSets().GetCount();
    EXPECT_EQ(Load(stored, [&](CArchive& ar) { m_pManager->Serialize(ar); }), CArchiveException::genericException);
    EXPECT_EQ(m_pManager->GetIconSets().GetCount(), nSetsBefore);
    EXPECT_NE(m_pManager->GetImage(kIconSetId, 16), nullptr);
    EXPECT_EQ(m_pManager->LookupIconSet(77), nullptr);
}
