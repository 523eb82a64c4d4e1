// Where the bars meet their neighbours: the frame they sit in, the hook manager they listen through, the manager's
// tooltip context and screen readers' IAccessible. Real windows on the display.
#include "CommandBarsTestFrame.h"
#include "CommandBarsTestSupport.h"

#include "framework/foundation/HookManager.h"
#include "framework/foundation/ToolTipContext.h"
#include "platform/classlib/RefPtr.h"

using namespace commandbars_test;

namespace {

using CommandBarSeamsTest = CommandBarsTest;

// A child bar of the frame.
BOOL CreateChildBar(COSMCommandBar& bar, CWnd& parent)
{
    return bar.CreateEx(0, AfxRegisterWndClass(0), "Bar", WS_CHILD | WS_VISIBLE, 0, 0, 200, 24, parent.GetSafeHwnd(),
                        nullptr);
}

TEST_F(CommandBarSeamsTest, LoadMenuAsksTheParentFrameForANotifyingLayoutAtIdleTime)
{
    CCommandBarsTestFrame frame;
    ASSERT_TRUE(frame.CreateTestFrame());
    COSMCommandBar bar;
    ASSERT_TRUE(CreateChildBar(bar, frame));
    TestMenu menu;
    menu.AddItem(101, "Open", MFT_STRING, 0);

    frame.m_nIdleFlags = 0;
    ASSERT_TRUE(bar.LoadMenu(menu.Get(), TRUE));
    EXPECT_EQ(12, frame.m_nIdleFlags);

    // A bar without a frame loads its menu all the same.
    COSMCommandBar loose;
    EXPECT_TRUE(loose.LoadMenu(menu.Get(), TRUE));
    EXPECT_EQ(1, loose.GetControlCount());
}

TEST_F(CommandBarSeamsTest, TheFrameSiteIsTheSiteOnlyWhenItIsAFrame)
{
    CCommandBarsTestFrame frame;
    ASSERT_TRUE(frame.CreateTestFrame());
    SiteWindow plain;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    COSMCommandBar bar;
    bar.SetCommandBars(commandBars.Get());

    commandBars->SetSite(&frame);
    EXPECT_EQ(&frame, bar.GetFrameSite());
    commandBars->SetSite(&plain);
    EXPECT_EQ(nullptr, bar.GetFrameSite());
}

TEST_F(CommandBarSeamsTest, ABarLeavesEveryWindowItListensToWhenItGoes)
{
    CCommandBarsTestFrame frame;
    ASSERT_TRUE(frame.CreateTestFrame());
    SiteWindow other;
    {
        COSMCommandBar bar;
        GetHookManager()->SetHook(frame.GetSafeHwnd(), &bar);
        GetHookManager()->SetHook(other.GetSafeHwnd(), &bar);
        // The base bar lets the frame's messages pass.
        frame.SetWindowText("hooked");
        char text[16] = {};
        frame.GetWindowText(text, sizeof(text));
        EXPECT_STREQ("hooked", text);
        ASSERT_NE(nullptr, GetHookManager()->Lookup(frame.GetSafeHwnd()));
    }
    EXPECT_EQ(nullptr, GetHookManager()->Lookup(frame.GetSafeHwnd()));
    EXPECT_EQ(nullptr, GetHookManager()->Lookup(other.GetSafeHwnd()));

    COSMCommandBar removed;
    GetHookManager()->SetHook(frame.GetSafeHwnd(), &removed);
    removed.OnRemoved();
    EXPECT_EQ(nullptr, GetHookManager()->Lookup(frame.GetSafeHwnd()));
}

TEST_F(CommandBarSeamsTest, BarsOfAManagerShareItsTooltipContext)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    COSMToolTipContext* context = commandBars->GetToolTipContext();
    ASSERT_NE(nullptr, context);
    // Captions keep their ampersands for the tips to strip.
    EXPECT_EQ(0u, context->GetToolTipStyle() & TTS_NOPREFIX);

    const LONG before = RefCount(context);
    {
        COSMCommandBar bar;
        bar.SetCommandBars(commandBars.Get());
        ASSERT_TRUE(CreateBarWindow(bar, 100, 20, FALSE));
        EXPECT_EQ(before + 1, RefCount(context));
        bar.DestroyWindow();
        EXPECT_EQ(before + 1, RefCount(context));
    }
    EXPECT_EQ(before, RefCount(context));

    // A bar without a manager takes none.
    COSMCommandBar loose;
    ASSERT_TRUE(CreateBarWindow(loose, 100, 20, FALSE));
    EXPECT_EQ(before, RefCount(context));
}

TEST_F(CommandBarSeamsTest, ScreenReadersReachBarsAndControlsThroughTheirDispatch)
{
    RefPtr<COSMCommandBar> bar = AdoptRef(new COSMCommandBar);
    COSMControl* control = bar->GetControls()->Add(1, 101);
    ASSERT_NE(nullptr, control);

    struct Case
    {
        const char* name;
        CCmdTarget* owner;
        COSMAccessible* accessible;
    } cases[] = {{"bar", bar.Get(), bar.Get()}, {"control", control, control}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const LONG before = RefCount(c.owner);
        IDispatch* dispatch = c.owner->GetIDispatch(TRUE);
        ASSERT_NE(nullptr, dispatch);
        IAccessible* accessible = nullptr;
        ASSERT_EQ(S_OK, dispatch->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&accessible)));
        ASSERT_NE(nullptr, accessible);
        EXPECT_EQ(before + 2, RefCount(c.owner));
        // The base answers until the owner gives its own.
        VARIANT self;
        ::VariantInit(&self);
        VARIANT focused;
        ::VariantInit(&focused);
        EXPECT_EQ(S_FALSE, accessible->get_accFocus(&focused));
        BSTR help = nullptr;
        EXPECT_EQ(E_NOTIMPL, accessible->get_accHelp(self, &help));
        accessible->Release();
        dispatch->Release();
        EXPECT_EQ(before, RefCount(c.owner));
    }

    // The last reference, given back through IAccessible, ends the bar (and its controls with it).
    IDispatch* dispatch = bar->GetIDispatch(FALSE);
    IAccessible* accessible = nullptr;
    ASSERT_EQ(S_OK, dispatch->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&accessible)));
    bar.Reset();
    EXPECT_EQ(0u, accessible->Release());
}

}  // namespace
