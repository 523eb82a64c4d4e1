// The bad-input harness on pasted image data: the clipboard bytes the image manager copies for a command's icons
// (masked, alpha, with a hole), cut and mutated by a fixed-seed series, each put on the clipboard and pasted into a
// manager. A paste gives a new custom id with a set under it, or 0 with the manager as it was; nothing crashes,
// hangs or takes more than two seconds, and nothing is left behind.
#include "FuzzImageSets.h"
#include "ImageInputChecks.h"

#include "FuzzHarness.h"
#include "platform/classlib/RefPtr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace image_test;

namespace {

// The clipboard bytes of each command's icons, as the manager copies them.
std::vector<fuzz::Bytes> PasteCorpus()
{
    RefPtr<COSMImageManager> manager = AdoptRef(new COSMImageManager);
    std::vector<fuzz::Bytes> corpus;
    if (!FillFuzzImageSets(manager.Get()))
        return corpus;
    for (UINT id : {kFuzzFirstSet, kFuzzSecondSet})
    {
        ClipboardOwner clipboard;
        if (!clipboard.Open())
            return {};
        const BOOL copied = manager->CopyImageToClipboard(id);
        ::CloseClipboard();
        if (copied)
            corpus.push_back(clipboard.Get());
    }
    return corpus;
}

std::string PasteAsHost(const fuzz::Bytes& bytes)
{
    RefPtr<COSMImageManager> manager = AdoptRef(new COSMImageManager);
    const image_input::PasteOutcome outcome = image_input::PasteAsHost(manager.Get(), bytes);
    if (!outcome.offered && !bytes.empty())
        return "the clipboard did not take " + std::to_string(bytes.size()) + " bytes";
    if (!outcome.offered && outcome.id != 0)
        return "a paste from an empty clipboard gave the id " + std::to_string(outcome.id);
    if (outcome.id == 0)
        return outcome.managerUnchanged ? "" : "a refused paste changed the manager";
    COSMImageManagerIconSet* set = manager->LookupIconSet(outcome.id);
    if (!set)
        return "the pasted id " + std::to_string(outcome.id) + " has no icons";
    return "";
}

TEST(ImagePasteFuzz, TheCopiedSetsPasteWhole)
{
    const std::vector<fuzz::Bytes> corpus = PasteCorpus();
    ASSERT_EQ(2u, corpus.size());
    for (const fuzz::Bytes& bytes : corpus)
    {
        RefPtr<COSMImageManager> manager = AdoptRef(new COSMImageManager);
        const image_input::PasteOutcome outcome = image_input::PasteAsHost(manager.Get(), bytes);
        ASSERT_NE(0u, outcome.id);
        EXPECT_NE(nullptr, manager->GetImage(outcome.id, 16));
    }
}

// Found by the harness (seed 4711): an input cut to nothing. The clipboard takes no empty block, and the paste of
// what is then there (nothing) must leave the manager as it was; the harness once reported a change nobody made.
TEST(ImagePasteFuzz, NoBytesPasteNothingAndChangeNothing)
{
    RefPtr<COSMImageManager> manager = AdoptRef(new COSMImageManager);
    ASSERT_TRUE(FillFuzzImageSets(manager.Get()));
    const INT_PTR sets = manager->GetIconSets().GetCount();
    const image_input::PasteOutcome outcome = image_input::PasteAsHost(manager.Get(), {});
    EXPECT_EQ(0u, outcome.id);
    EXPECT_TRUE(outcome.managerUnchanged);
    EXPECT_EQ(sets, manager->GetIconSets().GetCount());
    EXPECT_EQ("", PasteAsHost({}));
}

TEST(ImagePasteFuzz, MutatedPastesNeitherCrashHangNorLeak)
{
    fuzz::Harness harness("image-paste", fuzz::RunSettings::FromEnvironment(20261214u, 600));
    harness.SetLargeEdits(true);
    const std::vector<fuzz::Failure> failures = harness.Run(PasteCorpus(), &PasteAsHost);
    EXPECT_TRUE(failures.empty()) << fuzz::Describe(failures);
    EXPECT_GT(harness.InputsRun(), 0);
}

}  // namespace
