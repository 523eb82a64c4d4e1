// RefPtr: which calls add a reference and which take one over, on command targets (InternalAddRef/InternalRelease)
// and on classes that count through AddRef/Release.
#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

class CCountedTarget : public CCmdTarget
{
public:
    explicit CCountedTarget(int& destructions) : m_destructions(destructions) {}
    ~CCountedTarget() override { ++m_destructions; }

private:
    int& m_destructions;
};

class CDerivedTarget : public CCountedTarget
{
public:
    using CCountedTarget::CCountedTarget;
};

// Counts the way COM objects and markup objects do.
class CAddRefCounted
{
public:
    explicit CAddRefCounted(int& destructions) : m_destructions(destructions) {}
    LONG AddRef() { return m_count.AddRef(); }
    LONG Release()
    {
        const LONG count = m_count.Release();
        if (count == 0)
            delete this;
        return count;
    }
    LONG Count() const { return m_count; }

private:
    ~CAddRefCounted() { ++m_destructions; }
    CRefCount m_count;
    int& m_destructions;
};

}  // namespace

TEST(RefPtr, AdoptTakesOverTheReferenceAndRetainAddsOne)
{
    int destructions = 0;
    auto* target = new CCountedTarget(destructions);
    {
        RefPtr<CCountedTarget> adopted = RefPtr<CCountedTarget>::Adopt(target);
        EXPECT_EQ(target->m_dwRef, 1);
        {
            RefPtr<CCountedTarget> retained = RefPtr<CCountedTarget>::Retain(target);
            EXPECT_EQ(target->m_dwRef, 2);
            EXPECT_EQ(retained.Get(), target);
        }
        EXPECT_EQ(target->m_dwRef, 1);
        EXPECT_EQ(destructions, 0);
    }
    EXPECT_EQ(destructions, 1);
}

TEST(RefPtr, CopiesAddAReferenceAndMovesDoNot)
{
    int destructions = 0;
    auto* target = new CCountedTarget(destructions);
    RefPtr<CCountedTarget> first = AdoptRef(target);
    RefPtr<CCountedTarget> copy = first;
    EXPECT_EQ(target->m_dwRef, 2);
    RefPtr<CCountedTarget> moved = std::move(copy);
    EXPECT_EQ(target->m_dwRef, 2);
    EXPECT_FALSE(copy);
    EXPECT_TRUE(moved == first);

    // Into a base-class pointer, both ways.
    RefPtr<CCmdTarget> base = first;
    EXPECT_EQ(target->m_dwRef, 3);
    RefPtr<CCmdTarget> movedBase = std::move(moved);
    EXPECT_EQ(target->m_dwRef, 3);
    base.Reset();
    movedBase.Reset();
    first.Reset();
    EXPECT_EQ(destructions, 1);
}

TEST(RefPtr, AssigningTheObjectAlreadyHeldKeepsItAlive)
{
    int destructions = 0;
    RefPtr<CCountedTarget> held = AdoptRef(new CCountedTarget(destructions));
    // The only reference: releasing before retaining would free the object on the way.
    held = RefPtr<CCountedTarget>::Retain(held.Get());
    EXPECT_EQ(destructions, 0);
    EXPECT_EQ(held->m_dwRef, 1);
    RefPtr<CCountedTarget>& alias = held;
    held = alias;
    EXPECT_EQ(destructions, 0);
    EXPECT_EQ(held->m_dwRef, 1);

    // Replacing releases the old object after the new one is held.
    int otherDestructions = 0;
    held = AdoptRef(new CCountedTarget(otherDestructions));
    EXPECT_EQ(destructions, 1);
    held = nullptr;
    EXPECT_EQ(otherDestructions, 1);
}

TEST(RefPtr, DetachHandsTheReferenceToTheCallerAndAttachTakesOneOver)
{
    int destructions = 0;
    RefPtr<CDerivedTarget> held = AdoptRef(new CDerivedTarget(destructions));
    CDerivedTarget* raw = held.Detach();
    EXPECT_FALSE(held);
    EXPECT_EQ(raw->m_dwRef, 1);
    EXPECT_EQ(destructions, 0);
    held.Attach(raw);
    EXPECT_EQ(raw->m_dwRef, 1);
    held.Reset();
    EXPECT_EQ(destructions, 1);
}

TEST(RefPtr, ClassesThatCountThroughAddRefAndReleaseWork)
{
    int destructions = 0;
    auto* object = new CAddRefCounted(destructions);
    {
        RefPtr<CAddRefCounted> adopted = RefPtr<CAddRefCounted>::Adopt(object);
        RefPtr<CAddRefCounted> retained = RetainRef(object);
        EXPECT_EQ(object->Count(), 2);
    }
    EXPECT_EQ(destructions, 1);

    RefPtr<CAddRefCounted> none = RetainRef<CAddRefCounted>(nullptr);
    EXPECT_FALSE(none);
    EXPECT_TRUE(none == nullptr);
}
