// The bad-input harness on the binary archive and the property exchange: an image manager serialized into an
// archive (a stored framework object), and a store of every value type, a blob, a list of sections and the same
// manager exchanged through the archive store, cut and mutated by a fixed-seed series. Loading each either succeeds
// or raises the archive's exception, which the caller catches; a failed load leaves the manager as it was, nothing
// crashes, hangs or takes more than two seconds, and nothing is left behind.
#include "FuzzImageSets.h"
#include "ImageInputChecks.h"
#include "PropExchangeTestSupport.h"

#include "FuzzHarness.h"
#include "platform/classlib/RefPtr.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

using namespace image_test;
using namespace prop_exchange_test;

namespace {

// One routine for both directions, as objects write theirs: every type code, a blob, a list and a stored manager.
void ExchangeEverything(COSMPropExchange* px, COSMImageManager* images)
{
    px->ExchangeSchema();
    BYTE byteValue = 7;
    short shortValue = -300;
    long longValue = 70000;
    DWORD dwordValue = 0xC0FFEE;
    BOOL boolValue = TRUE;
    CString text = "a stored string";
    SIZE size = {16, 24};
    RECT rect = {1, 2, 300, 400};
    PropExchangeByte(px, "Byte", &byteValue, 0);
    PropExchangeShort(px, "Short", &shortValue, 0);
    PropExchangeLong(px, "Long", &longValue, 0);
    PropExchangeDWord(px, "DWord", &dwordValue, 0);
    PropExchangeBool(px, "Bool", &boolValue, FALSE);
    PropExchangeString(px, "Text", &text, "");
    PropExchangeSize(px, "Size", &size, SIZE{});
    PropExchangeRect(px, "Rect", &rect, RECT{});
    BYTE stored[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    BYTE* blob = px->IsStoring() ? stored : nullptr;
    DWORD blobSize = sizeof(stored);
    const BOOL blobDone = PropExchangeBlob(px, "Blob", &blob, &blobSize);
    if (px->IsLoading() && blobDone)
        std::free(blob);
    std::unique_ptr<COSMPropExchangeEnumerator> items(px->GetEnumerator("Item"));
    POSITION pos = items->GetPosition(3);
    for (long index = 0; pos; ++index)
    {
        const RefPtr<COSMPropExchange> section = RefPtr<COSMPropExchange>::Adopt(items->GetNext(pos));
        CString name = "item";
        PropExchangeLong(section.Get(), "Index", &index, 0);
        PropExchangeString(section.Get(), "Name", &name, "");
    }
    const RefPtr<COSMPropExchange> imageSection = RefPtr<COSMPropExchange>::Adopt(px->GetSection("Images"));
    images->DoPropExchange(imageSection.Get());
}

fuzz::Bytes SerializedManager(COSMImageManager* images)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        images->Serialize(ar);
        ar.Close();
    }
    fuzz::Bytes bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

std::vector<fuzz::Bytes> ArchiveCorpus()
{
    RefPtr<COSMImageManager> images = AdoptRef(new COSMImageManager);
    if (!FillFuzzImageSets(images.Get()))
        return {};
    std::vector<fuzz::Bytes> corpus;
    corpus.push_back(SerializedManager(images.Get()));
    StoreToMemory store;
    ExchangeEverything(&store.px, images.Get());
    corpus.push_back(store.Take());
    return corpus;
}

// "" when the load succeeded or raised the archive's exception with the manager left as it was.
template <typename Load> std::string LoadGuarded(const char* what, COSMImageManager* images, Load load)
{
    const INT_PTR setsBefore = images->GetIconSets().GetCount();
    const UINT revisionBefore = images->GetRevision();
    try
    {
        load();
        return "";
    }
    catch (CArchiveException* e)
    {
        e->Delete();
    }
    catch (CMemoryException* e)
    {
        e->Delete();
    }
    catch (const std::bad_alloc&)
    {
        return std::string(what) + ": memory ran out";
    }
    if (images->GetIconSets().GetCount() != setsBefore || images->GetRevision() != revisionBefore)
        return std::string(what) + ": a failed load changed the manager";
    return "";
}

// Every input through both readers: the manager's own Serialize and the whole exchange routine.
std::string LoadAsHost(const fuzz::Bytes& bytes)
{
    std::string what;
    {
        RefPtr<COSMImageManager> images = AdoptRef(new COSMImageManager);
        images->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3))), 7);
        what = LoadGuarded("Serialize", images.Get(), [&] {
            LoadFromMemory load(bytes);
            images->Serialize(load.ar);
        });
    }
    if (!what.empty())
        return what;
    RefPtr<COSMImageManager> images = AdoptRef(new COSMImageManager);
    images->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3))), 7);
    return LoadGuarded("the exchange", images.Get(), [&] {
        LoadFromMemory load(bytes);
        ExchangeEverything(&load.px, images.Get());
    });
}

TEST(ArchiveFuzz, TheStoredFormsLoadWhole)
{
    const std::vector<fuzz::Bytes> corpus = ArchiveCorpus();
    ASSERT_EQ(2u, corpus.size());
    RefPtr<COSMImageManager> images = AdoptRef(new COSMImageManager);
    {
        LoadFromMemory load(corpus[0]);
        images->Serialize(load.ar);
    }
    EXPECT_EQ(2, images->GetIconSets().GetCount());
    EXPECT_NE(nullptr, images->GetImage(kFuzzFirstSet, 24));
    RefPtr<COSMImageManager> exchanged = AdoptRef(new COSMImageManager);
    {
        LoadFromMemory load(corpus[1]);
        ExchangeEverything(&load.px, exchanged.Get());
    }
    EXPECT_EQ(2, exchanged->GetIconSets().GetCount());
    EXPECT_NE(nullptr, exchanged->GetImage(kFuzzSecondSet, 16));
}

// Found by the harness: a stored manager whose second icon set is damaged after its first was read. The icons read
// before the damage once counted as a change of the manager's icons although the load was refused.
TEST(ArchiveFuzz, AStoredManagerDamagedHalfwayLeavesTheManagerAsItWas)
{
    const std::vector<BYTE> bytes =
        image_input::ReadWholeFile(std::string(OSM_BAD_IMAGE_INPUT_DIR) + "/archive_icon_set_damaged.bin");
    ASSERT_FALSE(bytes.empty());
    RefPtr<COSMImageManager> images = AdoptRef(new COSMImageManager);
    ASSERT_TRUE(images->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3))), 7));
    const UINT revision = images->GetRevision();
    const int cause = ArchiveFailure([&] {
        LoadFromMemory load(bytes);
        images->Serialize(load.ar);
    });
    EXPECT_NE(-1, cause);
    EXPECT_EQ(revision, images->GetRevision());
    EXPECT_EQ(1, images->GetIconSets().GetCount());
    EXPECT_NE(nullptr, images->GetImage(7, 16));
}

TEST(ArchiveFuzz, MutatedStoresNeitherCrashHangNorLeak)
{
    fuzz::Harness harness("archive", fuzz::RunSettings::FromEnvironment(20261215u, 500));
    harness.SetLargeEdits(true);
    const std::vector<fuzz::Failure> failures = harness.Run(ArchiveCorpus(), &LoadAsHost);
    EXPECT_TRUE(failures.empty()) << fuzz::Describe(failures);
    EXPECT_GT(harness.InputsRun(), 0);
}

}  // namespace
