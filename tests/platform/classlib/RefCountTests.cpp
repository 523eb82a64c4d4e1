// CCmdTarget's reference count, through the tests every counted kind of the library runs (RefCountTests.h), and
// what only command targets have: windows that live as members and never see their count.
#include "classlib/ClassLib.h"

#include "RefCountTests.h"

template <> struct RefCountKind<CCmdTarget>
{
    static LONG AddRef(CCmdTarget* target) { return static_cast<LONG>(target->InternalAddRef()); }
    static LONG Release(CCmdTarget* target) { return static_cast<LONG>(target->InternalRelease()); }
    static LONG Count(const CCmdTarget* target) { return target->m_dwRef; }
};

using CommandTargetKinds = testing::Types<CCmdTarget>;
INSTANTIATE_TYPED_TEST_SUITE_P(CommandTarget, RefCountTest, CommandTargetKinds);

TEST(RefCount, WindowsStartAtOneAndAreNotCountedDown)
{
    CWnd wnd;
    EXPECT_EQ(wnd.m_dwRef, 1);
    EXPECT_EQ(wnd.InternalAddRef(), 2u);
    EXPECT_EQ(wnd.InternalRelease(), 1u);
    EXPECT_EQ(wnd.m_dwRef, 1);
}
