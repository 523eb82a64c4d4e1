// The shadow manager: its settings as made, its reference count, and the shadow windows it puts beside real popup
// windows on the display: when they are made, where they lie, what they leave out, how they follow their owner
// (moves, hiding, destruction) and how long the manager lives for them. The layered pixels are watched through a
// replaced UpdateLayeredWindow that reads them back before passing them on.
#include <gtest/gtest.h>

#include "DockTestSupport.h"
#include "classlib/Geometry.h"
#include "classlib/ScopedHandle.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/HookManager.h"
#include "framework/foundation/ShadowManager.h"
#include "framework/foundation/ShadowWnd.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace commandbars_test;

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

// One UpdateLayeredWindow call with the pixels it was handed, rows top-down.
struct LayeredCall
{
    HWND hWnd;
    CPoint destination;
    CSize size;
    BLENDFUNCTION blend;
    DWORD flags;
    std::vector<DWORD> pixels;
};

std::vector<LayeredCall>& LayeredCalls()
{
    static std::vector<LayeredCall> calls;
    return calls;
}

BOOL WINAPI RecordUpdateLayeredWindow(HWND hWnd, HDC hdcDst, POINT* pptDst, SIZE* psize, HDC hdcSrc, POINT* pptSrc,
                                      COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags)
{
    LayeredCall call{hWnd, pptDst ? CPoint(*pptDst) : CPoint(-1, -1), *psize, *pblend, dwFlags, {}};
    // The section's own bits, bottom-up, read back into rows from the top.
    DIBSECTION section{};
    if (::GetObjectA(::GetCurrentObject(hdcSrc, OBJ_BITMAP), sizeof section, &section) == sizeof section &&
        section.dsBm.bmBits)
    {
        const auto* bits = static_cast<const DWORD*>(section.dsBm.bmBits);
        for (int y = 0; y < psize->cy; ++y)
        {
            const DWORD* row = bits + static_cast<size_t>(section.dsBm.bmHeight - 1 - y) * section.dsBm.bmWidth;
            call.pixels.insert(call.pixels.end(), row, row + psize->cx);
        }
    }
    LayeredCalls().push_back(call);
    return ::UpdateLayeredWindow(hWnd, hdcDst, pptDst, psize, hdcSrc, pptSrc, crKey, pblend, dwFlags);
}

BOOL DropShadowOff()
{
    return FALSE;
}

BOOL DropShadowOn()
{
    return TRUE;
}

CRect WindowRect(HWND hWnd)
{
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    return rect;
}

// The rectangles of a window's region in window coordinates; empty when it has none.
std::vector<CRect> RegionRects(HWND hWnd)
{
    ScopedGdiObject<HRGN> region(::CreateRectRgn(0, 0, 0, 0));
    if (::GetWindowRgn(hWnd, region.Get()) == ERROR)
        return {};
    std::vector<BYTE> data(::GetRegionData(region.Get(), 0, nullptr));
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    ::GetRegionData(region.Get(), static_cast<DWORD>(data.size()), header);
    const RECT* rects = reinterpret_cast<const RECT*>(header->Buffer);
    return std::vector<CRect>(rects, rects + header->rdh.nCount);
}

// A top-level popup standing in for a popup bar, owned by the site and shown without activation.
class OwnerWindow : public CWnd
{
public:
    OwnerWindow(CWnd* site, const CRect& rect, DWORD exStyle = 0)
    {
        CreateEx(exStyle, AfxRegisterWndClass(0), "Owner", WS_POPUP, rect.left, rect.top, rect.Width(), rect.Height(),
                 site->GetSafeHwnd(), nullptr);
        ShowWindow(SW_SHOWNA);
    }
    ~OwnerWindow() override
    {
        if (GetSafeHwnd())
            DestroyWindow();
    }
};

// A sink that counts the owner's messages it hears.
class CountingSink : public COSMHookManagerSink
{
public:
    int OnHookMessage(HWND, UINT nMessage, WPARAM&, LPARAM&, LRESULT&) override
    {
        messages.push_back(nMessage);
        return kNotHandled;
    }
    int Count(UINT message) const { return static_cast<int>(std::count(messages.begin(), messages.end(), message)); }
    std::vector<UINT> messages;
};

// A manager that says when it goes.
class WatchedShadowManager : public COSMShadowManager
{
public:
    explicit WatchedShadowManager(bool* deleted) : m_deleted(deleted) {}
    ~WatchedShadowManager() override { *m_deleted = true; }

private:
    bool* m_deleted;
};

class ShadowWindowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LayeredCalls().clear();
        ASSERT_TRUE(site.CreateEx(0, AfxRegisterWndClass(0), "Shadow site", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
        shadows.SetUpdateLayeredWindow(&RecordUpdateLayeredWindow);
        shadows.SetDropShadowQuery(&DropShadowOff);
        ASSERT_TRUE(shadows.IsLayered()) << "the display shows 256 colours or fewer";
    }
    void TearDown() override
    {
        if (site.GetSafeHwnd())
            site.DestroyWindow();
    }

    // The shadows of the owner, in the order they were made.
    std::vector<COSMShadowWnd*> ShadowsOf(const CWnd& owner, BOOL controlShadows = FALSE) const
    {
        std::vector<COSMShadowWnd*> found;
        for (int i = 0; i < shadows.GetShadowCount(); ++i)
            if (COSMShadowWnd* shadow = shadows.GetShadow(i);
                shadow->GetOwner() == &owner && shadow->IsControlShadow() == controlShadows)
                found.push_back(shadow);
        return found;
    }
    std::vector<CRect> ShadowRects(const CWnd& owner, BOOL controlShadows = FALSE) const
    {
        std::vector<CRect> rects;
        for (COSMShadowWnd* shadow : ShadowsOf(owner, controlShadows))
            rects.push_back(WindowRect(shadow->GetSafeHwnd()));
        return rects;
    }

    CWnd site;
    COSMShadowManager shadows;
};

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
    EXPECT_EQ(0, shadows.GetShadowCount());

    shadows.SetFlags(COSMShadowManager::kControlShadows);
    shadows.SetShadowColor(RGB(1, 2, 3));
    shadows.RefreshMetrics();
    EXPECT_EQ(0, shadows.GetSaveBits());
    // The themes' settings survive a refresh.
    EXPECT_EQ(3u, shadows.GetFlags());
    EXPECT_EQ(RGB(1, 2, 3), shadows.GetShadowColor());

    // Without the function there is no layering; given back, layering returns.
    shadows.SetUpdateLayeredWindow(nullptr);
    EXPECT_FALSE(shadows.IsLayered());
    shadows.SetUpdateLayeredWindow(reinterpret_cast<PFNUPDATELAYEREDWINDOW>(updateLayeredWindow));
    EXPECT_EQ(!COSMColorManager::IsLowColorDisplay(nullptr), shadows.IsLayered() != FALSE);
}

TEST(ShadowManager, TheLastReleaseDeletesIt)
{
    auto* shadows = new COSMShadowManager;
    EXPECT_EQ(2u, shadows->InternalAddRef());
    EXPECT_EQ(1u, shadows->InternalRelease());
    EXPECT_EQ(0u, shadows->InternalRelease());
}

TEST_F(ShadowWindowsTest, ShadowsNeedTheSystemSettingAndLayeringUnlessForced)
{
    OwnerWindow owner(&site, CRect(100, 100, 300, 200));
    const PFNUPDATELAYEREDWINDOW layered = &RecordUpdateLayeredWindow;
    const struct
    {
        const char* what;
        DWORD flags;
        PFNDROPSHADOWQUERY query;
        PFNUPDATELAYEREDWINDOW update;
        int popupShadows;
        int controlShadows;
    } cases[] = {
        {"setting off", 0, &DropShadowOff, layered, 0, 0},
        {"setting off, cutting only", COSMShadowManager::kCutExcludeRect, &DropShadowOff, layered, 0, 0},
        {"setting on, no layering", 0, &DropShadowOn, nullptr, 0, 0},
        {"setting on, layered", 0, &DropShadowOn, layered, 2, 0},
        {"setting on, layered, cutting", COSMShadowManager::kCutExcludeRect, &DropShadowOn, layered, 2, 0},
        {"forced, setting off", COSMShadowManager::kForceShadows, &DropShadowOff, layered, 2, 0},
        {"forced, no layering", COSMShadowManager::kForceShadows, &DropShadowOff, nullptr, 2, 0},
        {"forced and cutting", COSMShadowManager::kControlShadows, &DropShadowOff, layered, 2, 2},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        shadows.SetFlags(c.flags);
        shadows.SetDropShadowQuery(c.query);
        shadows.SetUpdateLayeredWindow(c.update);
        const int windowsBefore = CountThreadWindows();
        shadows.SetShadow(&owner, CRect(0, 0, 0, 0), 1);
        shadows.SetControlShadow(CRect(100, 80, 140, 100), &owner);
        EXPECT_EQ(c.popupShadows, static_cast<int>(ShadowsOf(owner).size()));
        EXPECT_EQ(c.controlShadows, static_cast<int>(ShadowsOf(owner, TRUE).size()));
        EXPECT_EQ(windowsBefore + c.popupShadows + c.controlShadows, CountThreadWindows());
        EXPECT_EQ(c.popupShadows + c.controlShadows > 0, GetHookManager()->Lookup(owner.GetSafeHwnd()) != nullptr);
        shadows.RemoveShadow(&owner);
        EXPECT_EQ(0, shadows.GetShadowCount());
        EXPECT_EQ(windowsBefore, CountThreadWindows());
        EXPECT_EQ(nullptr, GetHookManager()->Lookup(owner.GetSafeHwnd()));
    }
}

TEST_F(ShadowWindowsTest, ForcedShadowsLieBesideTheOwnerLayeredOrPlain)
{
    OwnerWindow owner(&site, CRect(100, 100, 300, 200));
    shadows.SetFlags(COSMShadowManager::kForceShadows);
    shadows.SetShadowColor(RGB(20, 40, 80));

    // Layered: 4 pixels thick, the strip's pixels pushed once each, rows as the pure function gives them.
    shadows.SetShadow(&owner, CRect(0, 0, 0, 0), 0);
    const std::vector<COSMShadowWnd*> layered = ShadowsOf(owner);
    ASSERT_EQ(2u, layered.size());
    EXPECT_EQ((std::vector<CRect>{CRect(104, 200, 304, 204), CRect(300, 104, 304, 200)}), ShadowRects(owner));
    EXPECT_EQ(COSMShadowWnd::kSideBottom, layered[0]->GetSide());
    EXPECT_EQ(COSMShadowWnd::kSideRight, layered[1]->GetSide());
    ASSERT_EQ(2u, LayeredCalls().size());
    for (size_t i = 0; i < layered.size(); ++i)
    {
        const HWND hWnd = layered[i]->GetSafeHwnd();
        EXPECT_EQ(WS_EX_LAYERED | WS_EX_TOOLWINDOW, layered[i]->GetExStyle() & (WS_EX_LAYERED | WS_EX_TOOLWINDOW));
        EXPECT_EQ(WS_POPUP | WS_VISIBLE, layered[i]->GetStyle() & (WS_POPUP | WS_VISIBLE | WS_CHILD));
        EXPECT_EQ(site.GetSafeHwnd(), ::GetWindow(hWnd, GW_OWNER));
        EXPECT_EQ(HTTRANSPARENT, ::SendMessageA(hWnd, WM_NCHITTEST, 0, MAKELPARAM(302, 150)));
        const LayeredCall& call = LayeredCalls()[i];
        const CRect rect = WindowRect(hWnd);
        EXPECT_EQ(hWnd, call.hWnd);
        EXPECT_EQ(rect.TopLeft(), call.destination);
        EXPECT_EQ(rect.Size(), call.size);
        EXPECT_EQ(AC_SRC_OVER, call.blend.BlendOp);
        EXPECT_EQ(255, call.blend.SourceConstantAlpha);
        EXPECT_EQ(AC_SRC_ALPHA, call.blend.AlphaFormat);
        EXPECT_EQ(static_cast<DWORD>(ULW_ALPHA), call.flags);
        // Forced shadows are the lighter ones (k = 1).
        EXPECT_EQ(MakeShadowPixels(layered[i]->GetSide(), rect.Width(), rect.Height(), 1, RGB(20, 40, 80)),
                  call.pixels);
    }
    shadows.RemoveShadow(&owner);

    // Plain: 2 pixels of the button-shadow colour, nothing pushed.
    LayeredCalls().clear();
    shadows.SetUpdateLayeredWindow(nullptr);
    shadows.SetShadow(&owner, CRect(0, 0, 0, 0), 0);
    EXPECT_EQ((std::vector<CRect>{CRect(102, 200, 302, 202), CRect(300, 102, 302, 200)}), ShadowRects(owner));
    EXPECT_TRUE(LayeredCalls().empty());
    for (COSMShadowWnd* shadow : ShadowsOf(owner))
    {
        EXPECT_EQ(0u, shadow->GetExStyle() & WS_EX_LAYERED);
        shadow->UpdateWindow();
        const ScopedWindowDC dc = GetScopedWindowDC(shadow->GetSafeHwnd());
        EXPECT_EQ(GetColorManager()->GetColor(COLOR_BTNSHADOW), ::GetPixel(dc.Get(), 1, 1));
    }
}

TEST_F(ShadowWindowsTest, AnOwnerWithAComplexRegionGetsACornerShadowAndNoStripOfNoArea)
{
    shadows.SetFlags(COSMShadowManager::kForceShadows);
    OwnerWindow owner(&site, CRect(100, 100, 300, 200));
    ::SetWindowRgn(owner.GetSafeHwnd(), ::CreateEllipticRgn(0, 0, 200, 100), TRUE);
    shadows.SetShadow(&owner, CRect(0, 0, 0, 0), 3);
    EXPECT_EQ((std::vector<CRect>{CRect(104, 200, 304, 204), CRect(300, 104, 304, 200), CRect(299, 199, 300, 200)}),
              ShadowRects(owner));
    ASSERT_EQ(3u, ShadowsOf(owner).size());
    EXPECT_EQ(COSMShadowWnd::kSideRegion, ShadowsOf(owner)[2]->GetSide());
    // The corner lies inside its own owner, which it does not cut out of itself.
    EXPECT_TRUE(RegionRects(ShadowsOf(owner)[2]->GetSafeHwnd()).empty());
    shadows.RemoveShadow(&owner);

    // A rectangular region is no reason for a corner.
    ::SetWindowRgn(owner.GetSafeHwnd(), ::CreateRectRgn(0, 0, 200, 100), TRUE);
    shadows.SetShadow(&owner, CRect(0, 0, 0, 0), 3);
    EXPECT_EQ(2u, ShadowsOf(owner).size());
    shadows.RemoveShadow(&owner);

    // An owner 4 pixels high has no room for a right strip: it gets only the bottom one.
    OwnerWindow flat(&site, CRect(100, 300, 200, 304));
    shadows.SetShadow(&flat, CRect(0, 0, 0, 0), 3);
    EXPECT_EQ((std::vector<CRect>{CRect(104, 304, 204, 308)}), ShadowRects(flat));
    shadows.RemoveShadow(&flat);
}

TEST_F(ShadowWindowsTest, NestedPopupsOfOneTagCutEachOtherOut)
{
    shadows.SetFlags(COSMShadowManager::kForceShadows);
    OwnerWindow parent(&site, CRect(100, 100, 300, 200));
    shadows.SetShadow(&parent, CRect(0, 0, 0, 0), 1);
    struct Case
    {
        const char* what;
        CRect child;
        int tag;
        std::vector<CRect> rects;                 // the child's bottom and right shadows
        std::vector<std::vector<CRect>> regions;  // their regions (window coordinates)
    };
    const Case cases[] = {
        // Below and to the left: the right strip runs over the parent and leaves it out.
        {"overlapping, same tag",
         CRect(50, 150, 200, 250),
         1,
         {CRect(54, 250, 204, 254), CRect(200, 154, 204, 250)},
         {{}, {CRect(0, 46, 4, 96)}}},
        {"overlapping, another tag",
         CRect(50, 150, 200, 250),
         2,
         {CRect(54, 250, 204, 254), CRect(200, 154, 204, 250)},
         {{}, {}}},
        // A sub-menu opened one pixel inside the parent's right edge: its bottom strip reaches back over the parent's
        // right strip (by twice its width and one) so the two join, and leaves the parent out.
        {"a sub-menu, same tag",
         CRect(299, 120, 400, 180),
         1,
         {CRect(294, 180, 404, 184), CRect(400, 124, 404, 180)},
         {{CRect(6, 0, 110, 4)}, {}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        OwnerWindow child(&site, c.child);
        shadows.SetShadow(&child, CRect(0, 0, 0, 0), c.tag);
        EXPECT_EQ(c.rects, ShadowRects(child));
        const std::vector<COSMShadowWnd*> childShadows = ShadowsOf(child);
        ASSERT_EQ(c.regions.size(), childShadows.size());
        for (size_t i = 0; i < childShadows.size(); ++i)
        {
            EXPECT_EQ(c.regions[i], RegionRects(childShadows[i]->GetSafeHwnd())) << i;
            EXPECT_EQ(!c.regions[i].empty(), childShadows[i]->HasRegion() != FALSE) << i;
        }
        // The parent's own shadows are left as they were.
        for (COSMShadowWnd* shadow : ShadowsOf(parent))
            EXPECT_TRUE(RegionRects(shadow->GetSafeHwnd()).empty());
        shadows.RemoveShadow(&child);
    }

    // The excluded rectangle is cut out only with flag bit 1; cuts add up.
    OwnerWindow child(&site, CRect(50, 150, 200, 250));
    for (DWORD flags : {COSMShadowManager::kForceShadows, COSMShadowManager::kControlShadows})
    {
        shadows.SetFlags(flags);
        shadows.SetShadow(&child, CRect(40, 240, 100, 260), 1);
        const std::vector<COSMShadowWnd*> childShadows = ShadowsOf(child);
        ASSERT_EQ(2u, childShadows.size());
        const std::vector<CRect> expected = flags & COSMShadowManager::kCutExcludeRect
                                                ? std::vector<CRect>{CRect(46, 0, 150, 4)}
                                                : std::vector<CRect>{};
        EXPECT_EQ(expected, RegionRects(childShadows[0]->GetSafeHwnd())) << flags;
        EXPECT_EQ((std::vector<CRect>{CRect(0, 46, 4, 96)}), RegionRects(childShadows[1]->GetSafeHwnd())) << flags;
        shadows.RemoveShadow(&child);
    }
    shadows.RemoveShadow(&parent);
}

TEST_F(ShadowWindowsTest, ShadowsHideAndShowWithTheirOwnerWithoutTakingActivation)
{
    shadows.SetFlags(COSMShadowManager::kForceShadows);
    OwnerWindow owner(&site, CRect(100, 100, 300, 200));
    shadows.SetShadow(&owner, CRect(0, 0, 0, 0), 0);
    const std::vector<COSMShadowWnd*> owned = ShadowsOf(owner);
    ASSERT_EQ(2u, owned.size());
    // What the shadows hear of activation.
    CountingSink activation;
    for (COSMShadowWnd* shadow : owned)
        GetHookManager()->SetHook(shadow->GetSafeHwnd(), &activation);
    for (int round = 0; round < 2; ++round)
    {
        owner.ShowWindow(SW_HIDE);
        for (COSMShadowWnd* shadow : owned)
            EXPECT_FALSE(shadow->IsWindowVisible());
        owner.ShowWindow(SW_SHOWNA);
        for (COSMShadowWnd* shadow : owned)
            EXPECT_TRUE(shadow->IsWindowVisible());
    }
    EXPECT_EQ(0, activation.Count(WM_ACTIVATE));
    EXPECT_EQ(0, activation.Count(WM_NCACTIVATE));
    EXPECT_EQ(2, shadows.GetShadowCount());
    for (COSMShadowWnd* shadow : owned)
        GetHookManager()->RemoveHook(shadow->GetSafeHwnd(), &activation);
    shadows.RemoveShadow(&owner);
}

TEST_F(ShadowWindowsTest, ATopmostOwnerGetsTopmostShadows)
{
    shadows.SetFlags(COSMShadowManager::kForceShadows);
    for (DWORD exStyle : {DWORD{0}, DWORD{WS_EX_TOPMOST}})
    {
        OwnerWindow owner(&site, CRect(100, 100, 300, 200), exStyle);
        shadows.SetShadow(&owner, CRect(0, 0, 0, 0), 0);
        ASSERT_EQ(2u, ShadowsOf(owner).size());
        for (COSMShadowWnd* shadow : ShadowsOf(owner))
            EXPECT_EQ(exStyle, shadow->GetExStyle() & WS_EX_TOPMOST) << exStyle;
        shadows.RemoveShadow(&owner);
    }
}

TEST_F(ShadowWindowsTest, OffsetShadowFollowsAnOwnerThatGrewEitherWay)
{
    shadows.SetFlags(COSMShadowManager::kControlShadows);
    const struct
    {
        const char* what;
        DWORD exStyle;
        CRect grown;
        std::vector<CRect> rects;  // bottom, right, corner
    } cases[] = {
        {"left to right",
         0,
         CRect(100, 100, 320, 210),
         {CRect(104, 210, 324, 214), CRect(320, 104, 324, 210), CRect(319, 209, 320, 210)}},
        // A mirrored owner grows to the left; its right edge stays.
        {"right to left",
         WS_EX_LAYOUTRTL,
         CRect(80, 100, 300, 210),
         {CRect(84, 210, 304, 214), CRect(300, 104, 304, 210), CRect(299, 209, 300, 210)}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        OwnerWindow other(&site, CRect(50, 150, 150, 250));
        shadows.SetShadow(&other, CRect(0, 0, 0, 0), 5);
        OwnerWindow owner(&site, CRect(100, 100, 300, 200), c.exStyle);
        ::SetWindowRgn(owner.GetSafeHwnd(), ::CreateEllipticRgn(0, 0, 200, 100), TRUE);
        shadows.SetShadow(&owner, CRect(0, 0, 0, 0), 5);
        shadows.SetControlShadow(CRect(100, 80, 140, 100), &owner);
        const std::vector<CRect> controlRects = ShadowRects(owner, TRUE);
        ASSERT_EQ(2u, controlRects.size());
        // The bottom strip was cut where the other popup lies.
        ASSERT_EQ(3u, ShadowsOf(owner).size());
        EXPECT_TRUE(ShadowsOf(owner)[0]->HasRegion());

        owner.SetWindowPos(nullptr, c.grown.left, c.grown.top, c.grown.Width(), c.grown.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
        shadows.OffsetShadow(&owner, 20, 10);
        EXPECT_EQ(c.rects, ShadowRects(owner));
        for (COSMShadowWnd* shadow : ShadowsOf(owner))
        {
            EXPECT_FALSE(shadow->HasRegion());
            EXPECT_TRUE(RegionRects(shadow->GetSafeHwnd()).empty());
        }
        // Control shadows stay with their control.
        EXPECT_EQ(controlRects, ShadowRects(owner, TRUE));
        shadows.RemoveShadow(&owner);
        shadows.RemoveShadow(&other);
    }
}

TEST_F(ShadowWindowsTest, DestroyingTheOwnerRemovesItsShadowsAndLeavesItsOtherSinksHooked)
{
    shadows.SetFlags(COSMShadowManager::kForceShadows);
    OwnerWindow owner(&site, CRect(100, 100, 300, 200));
    OwnerWindow bystander(&site, CRect(400, 100, 500, 200));
    CountingSink before;
    CountingSink after;
    GetHookManager()->SetHook(owner.GetSafeHwnd(), &before);
    shadows.SetShadow(&owner, CRect(0, 0, 0, 0), 0);
    shadows.SetShadow(&bystander, CRect(0, 0, 0, 0), 0);
    GetHookManager()->SetHook(owner.GetSafeHwnd(), &after);

    // Removing the shadows leaves the other sinks listening.
    shadows.RemoveShadow(&owner);
    owner.SendMessage(WM_USER + 7);
    EXPECT_EQ(1, before.Count(WM_USER + 7));
    EXPECT_EQ(1, after.Count(WM_USER + 7));

    shadows.SetShadow(&owner, CRect(0, 0, 0, 0), 0);
    std::vector<HWND> windows;
    for (COSMShadowWnd* shadow : ShadowsOf(owner))
        windows.push_back(shadow->GetSafeHwnd());
    ASSERT_EQ(2u, windows.size());
    owner.DestroyWindow();
    EXPECT_TRUE(ShadowsOf(owner).empty());
    for (HWND hWnd : windows)
        EXPECT_FALSE(::IsWindow(hWnd));
    // Both other sinks heard the owner go; the bystander keeps its shadows.
    EXPECT_EQ(1, before.Count(WM_DESTROY));
    EXPECT_EQ(1, after.Count(WM_DESTROY));
    EXPECT_EQ(2, shadows.GetShadowCount());
    EXPECT_EQ(2u, ShadowsOf(bystander).size());
    shadows.RemoveShadow(&bystander);
}

TEST_F(ShadowWindowsTest, AManagerReleasedWhileShadowsShowGoesWithTheLastOfThem)
{
    for (bool ownerGoes : {true, false})
    {
        SCOPED_TRACE(ownerGoes ? "the owner goes" : "RemoveShadow");
        bool deleted = false;
        auto* manager = new WatchedShadowManager(&deleted);
        manager->SetFlags(COSMShadowManager::kForceShadows);
        OwnerWindow first(&site, CRect(100, 100, 300, 200));
        OwnerWindow second(&site, CRect(100, 300, 300, 400));
        manager->SetShadow(&first, CRect(0, 0, 0, 0), 0);
        manager->SetShadow(&second, CRect(0, 0, 0, 0), 0);
        EXPECT_EQ(5, RefCount(manager));
        // The paint manager's reference goes; the shadows keep the manager.
        manager->InternalRelease();
        EXPECT_FALSE(deleted);
        manager->RemoveShadow(&first);
        EXPECT_FALSE(deleted);
        EXPECT_EQ(2, RefCount(manager));
        // The last shadow takes the manager with it: from inside the owner's own message, or at the end of the
        // manager's own call.
        const HWND last = manager->GetShadow(1)->GetSafeHwnd();
        if (ownerGoes)
            second.DestroyWindow();
        else
            manager->RemoveShadow(&second);
        EXPECT_TRUE(deleted);
        EXPECT_FALSE(::IsWindow(last));
        EXPECT_EQ(nullptr, GetHookManager()->Lookup(second.GetSafeHwnd()));
    }
}

// ---- Popup bars and the control that opens them ----

namespace {

class PopupShadowTest : public DockSiteTest
{
protected:
    void SetUp() override
    {
        DockSiteTest::SetUp();
        toolBar = AddFilledToolBar("Standard", 701, {201, 202});
        ASSERT_NE(nullptr, toolBar);
        dropDown = static_cast<COSMControlPopup*>(toolBar->GetControls()->Add(2, 203));
        dropDown->SetCaption("More");
        popup = dynamic_cast<COSMPopupBar*>(dropDown->GetCommandBar());
        ASSERT_NE(nullptr, popup);
        popup->GetControls()->Add(1, 301);
        popup->GetControls()->Add(1, 302);
        frame.RecalcLayout();
        shadows = commandBars->GetPaintManager()->GetShadowManager();
        shadows->SetDropShadowQuery(&DropShadowOff);
    }
    void TearDown() override
    {
        if (COSMPaintManager* paintManager = commandBars->GetPaintManager())
            if (COSMShadowManager* manager = paintManager->GetShadowManager())
            {
                manager->SetFlags(0);
                manager->SetDropShadowQuery(nullptr);
            }
        DockSiteTest::TearDown();
    }

    BOOL Open() { return toolBar->SetPopuped(dropDown->GetIndex(), FALSE) && popup->GetSafeHwnd(); }
    void Close() { toolBar->SetTrackingMode(0, FALSE, FALSE); }
    // The drop-down's rectangle on the screen.
    CRect ControlScreenRect() const
    {
        CRect rect = dropDown->GetRect();
        toolBar->ClientToScreen(&rect);
        return rect;
    }
    int Count(BOOL controlShadows) const
    {
        int count = 0;
        for (int i = 0; i < shadows->GetShadowCount(); ++i)
            count += shadows->GetShadow(i)->GetOwner() == popup &&
                     shadows->GetShadow(i)->IsControlShadow() == controlShadows;
        return count;
    }

    COSMToolBar* toolBar = nullptr;
    COSMControlPopup* dropDown = nullptr;
    COSMPopupBar* popup = nullptr;
    COSMShadowManager* shadows = nullptr;
};

}  // namespace

TEST_F(PopupShadowTest, AToolbarDropDownCastsPopupAndControlShadowsThatGoWhenItCloses)
{
    const struct
    {
        const char* what;
        DWORD flags;
        BOOL showShadow;
        BOOL customize;
        int popupShadows;
        int controlShadows;
    } cases[] = {
        {"options 3", COSMShadowManager::kControlShadows, TRUE, FALSE, 2, 2},
        {"options 1", COSMShadowManager::kForceShadows, TRUE, FALSE, 2, 0},
        {"ShowShadow 0", COSMShadowManager::kControlShadows, FALSE, FALSE, 0, 0},
        {"customize mode", COSMShadowManager::kControlShadows, TRUE, TRUE, 0, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        shadows->SetFlags(c.flags);
        popup->SetShowShadow(c.showShadow);
        commandBars->SetCustomizeMode(c.customize);
        ASSERT_TRUE(Open());
        EXPECT_TRUE(dropDown->IsPopupOpen());
        EXPECT_EQ(c.popupShadows, Count(FALSE));
        EXPECT_EQ(c.controlShadows, Count(TRUE));
        if (c.controlShadows)
        {
            const CRect control = ControlScreenRect();
            CRect window;
            popup->GetWindowRect(&window);
            EXPECT_EQ(CRect(control.right, control.top + 4, control.right + 4, control.bottom),
                      WindowRect(shadows->GetShadow(shadows->GetShadowCount() - 1)->GetSafeHwnd()));
        }
        Close();
        EXPECT_FALSE(dropDown->IsPopupOpen());
        EXPECT_EQ(0, shadows->GetShadowCount());
        commandBars->SetCustomizeMode(FALSE);
    }
}

TEST_F(PopupShadowTest, ReleasingThePaintManagerWhileAPopupShowsThenClosingItIsSafe)
{
    commandBars->SetPaintManager(AdoptRef(COSMTestPaintManager::Create()).Get());
    COSMShadowManager* own = commandBars->GetPaintManager()->GetShadowManager();
    own->SetFlags(COSMShadowManager::kForceShadows);
    ASSERT_TRUE(Open());
    ASSERT_EQ(2, own->GetShadowCount());
    std::vector<HWND> windows{own->GetShadow(0)->GetSafeHwnd(), own->GetShadow(1)->GetSafeHwnd()};
    // The manager's paint manager goes (the process's takes over); the popup's shadows keep their manager alive.
    commandBars->SetPaintManager(nullptr);
    EXPECT_EQ(2, own->GetShadowCount());
    Close();
    EXPECT_FALSE(popup->GetSafeHwnd());
    for (HWND hWnd : windows)
        EXPECT_FALSE(::IsWindow(hWnd));
}
