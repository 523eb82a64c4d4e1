// The Office 2007 resource layer's reading, module and cache: theme texts and images of the synthetic module built
// beside the test program, read through a manager of the test's own; and a manager whose making runs out of memory.
// Headless.
#include "FailingAllocations.h"
#include "GdiObjectCount.h"
#include "Office2007TestSupport.h"

#include "classlib/Archive.h"
#include "classlib/CallbackGuard.h"
#include "classlib/MemFile.h"
#include "framework/foundation/NotifyConnection.h"

#include <cstring>

namespace {

using office2007_test::CRecordingObserver;
using office2007_test::kIdTextModule;
using office2007_test::kImagesModule;
using office2007_test::Office2007ImagesTest;

using office2007_test::kNone;

// ---- Reading ------------------------------------------------------------------------------------------------------

struct ReadingCase
{
    const char* section;
    const char* key;
    const char* value;  // as returned: upper case, trimmed
    COLORREF color;
};

TEST_F(Office2007ImagesTest, ValuesAndColoursAreReadLineByLine)
{
    const ReadingCase cases[] = {
        {"Colors", "Plain", "12 34 56", RGB(12, 34, 56)},
        // Names match without regard to case; white space around key and value goes.
        {"colors", "spaced", "12 34 56", RGB(12, 34, 56)},
        {"Colors", "Empty", "", kNone},
        {"Colors", "Single", "12", RGB(12, 0, 0)},
        // C integers: a 0x prefix is hexadecimal, a leading zero octal.
        {"Colors", "Hex", "0X10 0 0", RGB(16, 0, 0)},
        {"Colors", "Octal", "010 0 0", RGB(8, 0, 0)},
        {"Colors", "Cut", "1 2 3", RGB(1, 2, 3)},
        // A comment at the start of a line (after white space too) hides the whole line.
        {"Colors", "; Commented", "", kNone},
        {"Colors", "; Indented", "", kNone},
        {"Colors", "Commented", "", kNone},
        // A line whose '=' comes first has no key.
        {"Colors", "", "", kNone},
        // A lone line feed ends no line: the key after it is part of the line before.
        {"Colors", "Joined", "", kNone},
        {"Colors", "Lower", "200 100 50\nJOINED = 1 1 1", RGB(200, 100, 50)},
        // Only the first block of a section is searched.
        {"Colors", "Later", "", kNone},
        {"Second", "Key", "4 4 4", RGB(4, 4, 4)},
        // A header with a space after its bracket keeps the bracket in its name.
        {"Spaced", "Inside", "", kNone},
        {"Spaced]", "Inside", "1 1 1", RGB(1, 1, 1)},
        // "[" alone names the empty section.
        {"", "Bracket", "5 5 5", RGB(5, 5, 5)},
        // The last line has no carriage return: it is never read.
        {"Last", "NoReturn", "", kNone},
        {"Missing", "Plain", "", kNone},
    };
    for (const ReadingCase& c : cases)
    {
        SCOPED_TRACE(std::string(c.section) + " / " + c.key);
        EXPECT_STREQ(m_images->GetValue(c.section, c.key), c.value);
        CString out = "stale";
        EXPECT_EQ(m_images->GetValue(c.section, c.key, out), *c.value != 0 || std::strcmp(c.key, "Empty") == 0);
        EXPECT_STREQ(out, c.value);
        EXPECT_EQ(m_images->GetImageColor(c.section, c.key), c.color);
    }
}

TEST_F(Office2007ImagesTest, MalformedTextReadsWhatItCanAndNothingElse)
{
    ASSERT_TRUE(m_images->SetResourceModule(m_module, "MALFORMED"));
    EXPECT_STREQ(m_images->GetValue("Colors", "Bad"), "X Y Z");
    EXPECT_EQ(m_images->GetImageColor("Colors", "Bad"), RGB(0, 0, 0));
    // Each number keeps its low byte.
    EXPECT_EQ(m_images->GetImageColor("Colors", "Neg"), RGB(255, 254, 253));
    EXPECT_EQ(m_images->GetImageColor("Colors", "Big"), RGB(44, 0, 231));
    // "[" and "[]" both name the empty section, which holds no key; "[Colors" names "COLOR".
    EXPECT_STREQ(m_images->GetValue("", "Key"), "");
    EXPECT_STREQ(m_images->GetValue("Color", "Key"), "");
    EXPECT_STREQ(m_images->GetValue("Colors", ";"), "");
}

// The first text ends in a key line without a return, and the module puts a text starting with a return right after
// it: the search for the line's end stops at the text's end instead of finding that return.
TEST_F(Office2007ImagesTest, AKeyAtTheEndOfTheTextIsNotReadPastTheEnd)
{
    auto locate = [&](LPCSTR name, DWORD& size) -> const BYTE* {
        HRSRC resource = ::FindResourceA(m_module, name, "TEXTFILE");
        size = resource ? ::SizeofResource(m_module, resource) : 0;
        return resource ? static_cast<const BYTE*>(::LockResource(::LoadResource(m_module, resource))) : nullptr;
    };
    DWORD sizeA = 0, sizeB = 0;
    const BYTE* textA = locate("TAIL_A", sizeA);
    const BYTE* textB = locate("TAIL_B", sizeB);
    ASSERT_TRUE(textA && textB);
    ASSERT_EQ(textA + sizeA, textB) << "the module keeps the two texts back to back";
    ASSERT_EQ(textB[0], 13);

    ASSERT_TRUE(m_images->SetResourceModule(m_module, "TAIL_A"));
    EXPECT_STREQ(m_images->GetValue("T", "Key"), "");
    ASSERT_TRUE(m_images->SetResourceModule(m_module, "TAIL_B"));
    EXPECT_STREQ(m_images->GetValue("T", "Key"), "4 5 6");
}

TEST_F(Office2007ImagesTest, ImageNamesGoThroughTheImagesSection)
{
    EXPECT_STREQ(m_images->GetImageResourceName("MAPPED"), "STATES_SOLID");
    EXPECT_STREQ(m_images->GetImageResourceName("a.b\\c"), "a_b_c");
    EXPECT_STREQ(m_images->GetImageResourceName("BANDS"), "BANDS");

    COSMOffice2007Image* mapped = m_images->LoadImage("MAPPED");
    ASSERT_NE(mapped, nullptr);
    EXPECT_EQ(mapped->GetExtent(), CSize(4, 20));
    EXPECT_NE(m_images->LoadImage("a.b\\c"), nullptr);
}

TEST(Office2007ImagesWithoutText, EverythingIsMissingAndSaysSo)
{
    RefPtr<COSMOffice2007Images> images = RefPtr<COSMOffice2007Images>::Adopt(new COSMOffice2007Images);
    CRecordingObserver observer;
    images->SetObserver(&observer);
    // The test program carries no theme text of its own.
    EXPECT_FALSE(images->IsValid());
    EXPECT_STREQ(images->GetValue("StatusBar", "StatusBarText"), "");
    EXPECT_EQ(images->GetImageColor("StatusBar", "StatusBarText"), kNone);
    EXPECT_EQ(images->LoadImage("TOOLTIPFRAME"), nullptr);
    EXPECT_EQ(observer.images, std::vector<std::string>({"TOOLTIPFRAME"}));
    ASSERT_EQ(observer.keys.size(), 2u);
    EXPECT_EQ(observer.keys[0], std::make_pair(std::string("StatusBar"), std::string("StatusBarText")));
}

// ---- Module -------------------------------------------------------------------------------------------------------

TEST_F(Office2007ImagesTest, TheTextIsFoundByNameOrAsTheFirstOne)
{
    // '.' in the name counts as '_'.
    EXPECT_TRUE(m_images->SetResourceModule(m_module, "TEST.COLORS"));
    EXPECT_EQ(m_images->GetImageColor("Colors", "Plain"), RGB(12, 34, 56));

    // A name given but missing is not replaced by another text.
    EXPECT_FALSE(m_images->SetResourceModule(m_module, "NOPE"));
    EXPECT_FALSE(m_images->IsValid());
    EXPECT_STREQ(m_images->GetValue("Colors", "Neg"), "");

    // Without a name (and without "OFFICE2007BLUE_INI") the module's first text serves: MALFORMED, first in order.
    EXPECT_TRUE(m_images->SetResourceModule(m_module, nullptr));
    EXPECT_STREQ(m_images->GetValue("Colors", "Neg"), "-1 -2 -3");
    EXPECT_TRUE(m_images->SetResourceModule(m_module, ""));
    EXPECT_STREQ(m_images->GetValue("Colors", "Neg"), "-1 -2 -3");

    // A first text with an integer id is looked up by that id.
    HMODULE idModule = ::LoadLibraryA(kIdTextModule);
    ASSERT_NE(idModule, nullptr);
    EXPECT_TRUE(m_images->SetResourceModule(idModule, nullptr));
    EXPECT_EQ(m_images->GetImageColor("Colors", "Id"), RGB(7, 7, 7));
    EXPECT_FALSE(m_images->SetResourceModule(idModule, "OFFICE2007BLUE_INI"));
    m_images->SetResourceModule(m_module, "TEST_COLORS");
    ::FreeLibrary(idModule);
}

class CEventSink : public COSMNotifySink
{
public:
    void OnEvent(int nEvent, WPARAM wParam, LPARAM lParam, DWORD dwFlags) override
    {
        events.push_back(nEvent);
        EXPECT_EQ(wParam, 0u);
        EXPECT_EQ(lParam, 0);
        EXPECT_EQ(dwFlags, 0u);
    }
    std::vector<int> events;
};

TEST_F(Office2007ImagesTest, ChangingTheModuleTellsAnAttachedConnection)
{
    RefPtr<COSMNotifyConnection> connection = RefPtr<COSMNotifyConnection>::Adopt(new COSMNotifyConnection);
    CEventSink sink;
    const DWORD cookie = connection->Advise(COSMOffice2007Images::kResourcesChangedEvent, &sink);
    // Nothing is told before a connection is attached.
    m_images->SetResourceModule(m_module, "TEST_COLORS");
    m_images->SetNotifyConnection(connection.Get());
    EXPECT_EQ(m_images->GetNotifyConnection(), connection.Get());

    m_images->SetResourceModule(m_module, "TEST_COLORS");
    m_images->SetResourceModule(m_module, "NOPE");  // without a text too
    EXPECT_EQ(sink.events, std::vector<int>({10575, 10575}));

    m_images->SetNotifyConnection(nullptr);
    m_images->SetResourceModule(m_module, "TEST_COLORS");
    EXPECT_EQ(sink.events.size(), 2u);
    connection->Unadvise(cookie);
}

TEST(Office2007ImagesModule, AModuleLoadedForTheManagerIsFreedWhenReplacedOrWhenTheManagerGoes)
{
    for (const bool replace : {true, false})
    {
        SCOPED_TRACE(replace ? "replaced" : "manager gone");
        ASSERT_EQ(::GetModuleHandleA(kIdTextModule), nullptr);
        RefPtr<COSMOffice2007Images> images = RefPtr<COSMOffice2007Images>::Adopt(new COSMOffice2007Images);
        HMODULE module = ::LoadLibraryA(kIdTextModule);
        ASSERT_NE(module, nullptr);
        EXPECT_TRUE(images->SetResourceModule(module, nullptr, TRUE));
        EXPECT_EQ(::GetModuleHandleA(kIdTextModule), module);
        if (replace)
            images->SetResourceModule(::GetModuleHandleA(nullptr), nullptr, FALSE);
        else
            images = nullptr;
        EXPECT_EQ(::GetModuleHandleA(kIdTextModule), nullptr);
    }
}

// ---- Cache --------------------------------------------------------------------------------------------------------

TEST_F(Office2007ImagesTest, ImagesAreLoadedOnceAndFailedNamesAreTriedAgain)
{
    CRecordingObserver observer;
    m_images->SetObserver(&observer);
    COSMOffice2007Image* bands = m_images->LoadImage("BANDS");
    ASSERT_NE(bands, nullptr);
    EXPECT_EQ(m_images->LoadImage("BANDS"), bands);
    EXPECT_EQ(bands->GetExtent(), CSize(10, 10));
    // The cache keeps the name as given: another spelling is another entry of the same bitmap.
    COSMOffice2007Image* lower = m_images->LoadImage("bands");
    EXPECT_NE(lower, nullptr);
    EXPECT_NE(lower, bands);

    EXPECT_EQ(m_images->LoadImage("NOPE"), nullptr);
    EXPECT_EQ(m_images->LoadImage("NOPE"), nullptr);
    EXPECT_EQ(m_images->LoadImage(nullptr), nullptr);
    EXPECT_EQ(observer.images, std::vector<std::string>({"NOPE", "NOPE"}));
    EXPECT_TRUE(observer.keys.empty()) << "the Images section is asked quietly";
}

TEST_F(Office2007ImagesTest, ClearCacheDestroysTheImagesNobodyElseHolds)
{
    const LONG before = COSMOffice2007Image::GetInstanceCount();
    COSMOffice2007Image* bands = m_images->LoadImage("BANDS");
    COSMOffice2007Image* keyed = m_images->LoadImage("KEYED");
    ASSERT_TRUE(bands && keyed);
    EXPECT_EQ(COSMOffice2007Image::GetInstanceCount(), before + 2);
    keyed->InternalAddRef();

    m_images->ClearCache();
    EXPECT_EQ(COSMOffice2007Image::GetInstanceCount(), before + 1);
    EXPECT_TRUE(keyed->HasPixels());
    // The next look-up loads afresh.
    COSMOffice2007Image* again = m_images->LoadImage("KEYED");
    EXPECT_NE(again, nullptr);
    EXPECT_EQ(COSMOffice2007Image::GetInstanceCount(), before + 2);

    keyed->InternalRelease();
    // Changing the module empties the cache as well.
    m_images->SetResourceModule(m_module, "TEST_COLORS");
    EXPECT_EQ(COSMOffice2007Image::GetInstanceCount(), before);
}

TEST_F(Office2007ImagesTest, ImagesThatCannotBeDrawnStillLoad)
{
    struct Case
    {
        const char* name;
        CSize extent;
        BOOL alpha;
    } cases[] = {
        {"STATES_SOLID", CSize(4, 20), FALSE}, {"ALPHA", CSize(4, 4), TRUE},  {"TOPDOWN32", CSize(4, 3), TRUE},
        {"TOPDOWN24", CSize(4, 3), FALSE},     {"SHORT", CSize(4, 3), FALSE}, {"WIDE513", CSize(513, 10), FALSE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMOffice2007Image* image = m_images->LoadImage(c.name);
        ASSERT_NE(image, nullptr);
        EXPECT_TRUE(image->HasPixels());
        EXPECT_EQ(image->GetExtent(), c.extent);
        EXPECT_EQ(image->IsAlphaImage(), c.alpha);
    }
}

TEST_F(Office2007ImagesTest, StateRectanglesSplitTheStrip)
{
    COSMOffice2007Image* states = m_images->LoadImage("STATES_SOLID");
    ASSERT_NE(states, nullptr);
    EXPECT_EQ(states->GetStateRect(2, 4), CRect(0, 10, 4, 15));
    EXPECT_EQ(states->GetStateRect(0, 1), CRect(0, 0, 4, 20));
    EXPECT_EQ(states->GetSource(), CRect(0, 0, 4, 20));
    // Integer division: three states of 20 rows are 6 rows each.
    EXPECT_EQ(states->GetStateRect(2, 3), CRect(0, 12, 4, 18));
    // A strip shorter than its states has states of no height.
    COSMOffice2007Image* shortStrip = m_images->LoadImage("SHORT");
    ASSERT_NE(shortStrip, nullptr);
    EXPECT_EQ(shortStrip->GetStateRect(4, 5), CRect(0, 0, 4, 0));
    // An image without pixels has only empty states.
    RefPtr<COSMOffice2007Image> empty = RefPtr<COSMOffice2007Image>::Adopt(new COSMOffice2007Image(m_images.Get()));
    EXPECT_EQ(empty->GetStateRect(2, 4), CRect(0, 0, 0, 0));
    EXPECT_FALSE(empty->LoadFromResource(m_module, "NOPE"));
    EXPECT_FALSE(empty->LoadFromResource(nullptr, "BANDS"));
    EXPECT_EQ(empty->GetExtent(), CSize(0, 0));
}

// ---- The image list -----------------------------------------------------------------------------------------------

TEST(Office2007ImageList, IsMadeByClassNameAndStoresNoImages)
{
    CObject* made = CRuntimeClass::CreateObject("COSMOffice2007ImageList");
    ASSERT_NE(made, nullptr);
    ASSERT_TRUE(made->IsKindOf(RUNTIME_CLASS(COSMOffice2007Images)));
    RefPtr<COSMOffice2007ImageList> list =
        RefPtr<COSMOffice2007ImageList>::Adopt(static_cast<COSMOffice2007ImageList*>(made));

    CMemFile stored;
    {
        CArchive ar(&stored, CArchive::store);
        list->Serialize(ar);
    }
    EXPECT_EQ(stored.GetLength(), 4u);
    BYTE* bytes = stored.Detach();
    EXPECT_EQ(bytes[0] | bytes[1] | bytes[2] | bytes[3], 0);
    free(bytes);

    // Two pairs whose words would be pointers if they were believed: read, dropped, the map stays empty.
    const DWORD words[] = {2, 0x10, 0xDEADBEEF, 0x20, 0x12345678, 0xCAFEF00D};
    CMemFile loaded(reinterpret_cast<BYTE*>(const_cast<DWORD*>(words)), sizeof(words));
    {
        CArchive ar(&loaded, CArchive::load);
        list->Serialize(ar);
        DWORD after = 0;
        ar >> after;
        EXPECT_EQ(after, 0xCAFEF00Du) << "exactly the count and two pairs were read";
    }
    EXPECT_EQ(list->GetImageCount(), 0);
    list->RemoveAll();
    EXPECT_EQ(list->GetImageCount(), 0);
}

void IgnoreReport(const char*, long, const char*) {}

// Every allocation of the manager's making fails in turn: the scratch bitmap and DC and what the text's reading made
// go with the manager.
TEST(Office2007ImagesMaking, AManagerWhoseMakingRunsOutOfMemoryLeavesNothing)
{
    // The guarded resource enumeration reports what it stops; here that is expected.
    const CallbackExceptionReporter previous = SetCallbackExceptionReporter(&IgnoreReport);
    {
        const RefPtr<COSMOffice2007Images> warmUp = AdoptRef(new COSMOffice2007Images);
    }
    const int objectsBefore = CountGdiObjects();
    int failures = 0;
    for (int succeeding = 0; succeeding < 400; ++succeeding)
    {
        const long before = test_support::LiveAllocations();
        bool made = false;
        {
            test_support::FailingAllocations failing(succeeding);
            try
            {
                const RefPtr<COSMOffice2007Images> images = AdoptRef(new COSMOffice2007Images);
                made = failing.Refused() == 0;
            }
            catch (const std::bad_alloc&)
            {
                ++failures;
            }
        }
        EXPECT_EQ(before, test_support::LiveAllocations()) << "after " << succeeding << " allocations";
        if (made)
            break;
    }
    EXPECT_EQ(objectsBefore, CountGdiObjects()) << "a GDI object of a manager that was never made stayed";
    EXPECT_GE(failures, 3);
    SetCallbackExceptionReporter(previous);
}

}  // namespace
