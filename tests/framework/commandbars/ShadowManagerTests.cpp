// The shadow manager in its present form: its settings as made, its reference count, and shadow operations that
// leave the owner window and the thread's windows as they were.
#include <gtest/gtest.h>

#include "classlib/Geometry.h"
#include "classlib/Wnd.h"
#include "framework/foundation/HookManager.h"
#include "framework/foundation/ShadowManager.h"
#include "framework/foundation/ColorManager.h"

namespace {

int CountThreadWindows()
{
    int count = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND, LPARAM param) -> BOOL {
            ++*reinterpret_cast<int*>(param);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace

TEST(ShadowManager, SettingsAsMade)
{
    COSMShadowManager shadows;
    HMODULE user32 = ::GetModuleHandleA("USER32");
    void* updateLayeredWindow = reinterpret_cast<void*>(::GetProcAddress(user32, "UpdateLayeredWindow"));
    ASSERT_NE(nullptr, updateLayeredWindow);
    EXPECT_EQ(updateLayeredWindow, reinterpret_cast<void*>(shadows.GetUpdateLayeredWindow()));
    EXPECT_EQ(!COSMColorManager::IsLowColorDisplay(nullptr), shadows.IsLayered() != FALSE);
    EXPECT_EQ(1, shadows.GetSaveBits());
    EXPECT_EQ(0u, shadows.GetFlags());
    EXPECT_EQ(0u, shadows.GetShadowColor());

    shadows.SetFlags(COSMShadowManager::kControlShadows);
    shadows.SetShadowColor(RGB(1, 2, 3));
    shadows.RefreshMetrics();
    EXPECT_EQ(0, shadows.GetSaveBits());
    // The themes' settings survive a refresh.
    EXPECT_EQ(3u, shadows.GetFlags());
    EXPECT_EQ(RGB(1, 2, 3), shadows.GetShadowColor());
}

TEST(ShadowManager, TheLastReleaseDeletesIt)
{
    auto* shadows = new COSMShadowManager;
    EXPECT_EQ(2u, shadows->InternalAddRef());
    EXPECT_EQ(1u, shadows->InternalRelease());
    EXPECT_EQ(0u, shadows->InternalRelease());
}

TEST(ShadowManager, ShadowOperationsMakeNoWindowsYet)
{
    CWnd owner;
    ASSERT_TRUE(owner.Attach(::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, 120, 80, nullptr,
                                               nullptr, ::GetModuleHandleA(nullptr), nullptr)));
    CRect before;
    owner.GetWindowRect(&before);
    const int windowsBefore = CountThreadWindows();

    COSMShadowManager shadows;
    shadows.SetFlags(COSMShadowManager::kControlShadows);
    shadows.SetShadow(&owner, CRect(0, 0, 5, 5), 1);
    shadows.SetControlShadow(CRect(10, 10, 40, 30), &owner);
    shadows.OffsetShadow(&owner, 4, 6);
    EXPECT_EQ(windowsBefore, CountThreadWindows());
    EXPECT_EQ(nullptr, GetHookManager()->Lookup(owner.GetSafeHwnd()));
    shadows.RemoveShadow(&owner);

    CRect after;
    owner.GetWindowRect(&after);
    EXPECT_EQ(before, after);
    EXPECT_EQ(windowsBefore, CountThreadWindows());
    owner.DestroyWindow();
}
