#include "MarkupTestSupport.h"

#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupTypeRegistry.h"

#include "framework/markup/MarkupType.h"

#include <cwchar>
#include <mutex>

namespace markup_test {

namespace {

// Every shared value exists from its first request to the end of the process: asked for once here, they no longer
// count as made by the test that first needs them.
void WarmSharedCaches()
{
    for (int i = 0; i < 8; ++i)
        COSMMarkupEnum::CreateValue(i)->Release();
    COSMMarkupBool::CreateTrueValue()->Release();
    COSMMarkupBool::CreateFalseValue()->Release();
    for (LPCWSTR text : {L"", L" ", L"\n"})
        COSMMarkupString::CreateValue(text, -1)->Release();
    COSMMarkupThickness::GetDefaultValue()->Release();
}

// What the installed FinalReleaseTally counted; objects may go on any thread.
std::mutex g_tallyLock;
std::map<std::wstring, LONG> g_tally;

void CountFinalRelease(const COSMMarkupObject* object)
{
    LPCWSTR name = object->GetType() ? object->GetType()->GetMarkupClassName() : nullptr;
    std::lock_guard<std::mutex> hold(g_tallyLock);
    ++g_tally[name ? name : L""];
}

}  // namespace

FinalReleaseTally::FinalReleaseTally()
{
    Reset();
    const COSMMarkupObject::FinalReleaseObserver previous =
        COSMMarkupObject::SetFinalReleaseObserver(&CountFinalRelease);
    EXPECT_EQ(nullptr, previous) << "another tally was counting";
}

FinalReleaseTally::~FinalReleaseTally()
{
    COSMMarkupObject::SetFinalReleaseObserver(nullptr);
}

std::map<std::wstring, LONG> FinalReleaseTally::Counts() const
{
    std::lock_guard<std::mutex> hold(g_tallyLock);
    return g_tally;
}

void FinalReleaseTally::Reset()
{
    std::lock_guard<std::mutex> hold(g_tallyLock);
    g_tally.clear();
}

void MarkupTest::SetUp()
{
    InitializeMarkupTypesOnce();
    WarmSharedCaches();
    m_liveAtStart = COSMMarkupObject::GetLiveObjectCount();
}

void MarkupTest::TearDown()
{
    EXPECT_EQ(m_liveAtStart, COSMMarkupObject::GetLiveObjectCount())
        << "the test left markup objects alive, or freed some it did not make";
}

LONG RefCount(COSMMarkupObject* object)
{
    const LONG count = object->AddRef() - 1;
    object->Release();
    return count;
}

COSMMarkupObject* Ref(COSMMarkupObject* object)
{
    object->AddRef();
    return object;
}

COSMMarkupObject* FindNamed(COSMMarkupObject* root, LPCWSTR name)
{
    if (!root)
        return nullptr;
    const COSMMarkupString* own =
        MarkupDynamicCast<COSMMarkupString>(root->GetValue(COSMMarkupObject::s_pNameProperty));
    if (own && wcscmp(own->GetText(), name) == 0)
        return root;
    for (int i = 0; i < root->GetLogicalChildrenCount(); ++i)
    {
        if (COSMMarkupObject* found = FindNamed(root->GetLogicalChild(i), name))
            return found;
    }
    return nullptr;
}

}  // namespace markup_test
