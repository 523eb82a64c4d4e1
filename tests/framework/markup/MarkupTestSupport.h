// What the markup tests share: the fixture that checks every test leaves as many markup objects alive as it found,
// a holder for the references a test makes, and the message of a builder exception.
#pragma once

#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupObject.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace markup_test {

// Initialises the types (once), makes every shared cache hold its values, and fails a test that ends with more or
// fewer live markup objects than it began with.
class MarkupTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

private:
    LONG m_liveAtStart = 0;
};

// The same, with a builder on a markup context for conversions and content.
class MarkupBuilderTest : public MarkupTest
{
protected:
    ~MarkupBuilderTest() override { context->Release(); }

    COSMMarkupContext* context = new COSMMarkupContext;
    COSMMarkupBuilder builder{context};
};

// The references a test makes, released when it ends.
using Hold = RefPtr<COSMMarkupObject>;

// The message of the COSMMarkupBuilderException action throws (freed here), or "(nothing thrown)".
template <class Action> std::string BuilderMessage(Action action)
{
    try
    {
        action();
    }
    catch (COSMMarkupBuilderException* e)
    {
        std::string message = e->GetMessageText();
        e->Delete();
        return message;
    }
    return "(nothing thrown)";
}

// The reference count of object, read through AddRef and Release.
LONG RefCount(COSMMarkupObject* object);

// object with one reference added: a second reference for the test to hand over or keep.
COSMMarkupObject* Ref(COSMMarkupObject* object);

// Counts, by exact type (the class name of GetType's record), the markup objects whose last reference goes while it
// lives, so a test can tell which kinds a tree really made and freed. It is the objects' final-release observer from
// construction to destruction; one at a time.
class FinalReleaseTally
{
public:
    FinalReleaseTally();
    ~FinalReleaseTally();
    FinalReleaseTally(const FinalReleaseTally&) = delete;
    FinalReleaseTally& operator=(const FinalReleaseTally&) = delete;

    std::map<std::wstring, LONG> Counts() const;
    void Reset();
};

// The first object of the logical tree under root (root included) whose Name is name (borrowed), or null.
COSMMarkupObject* FindNamed(COSMMarkupObject* root, LPCWSTR name);

}  // namespace markup_test
