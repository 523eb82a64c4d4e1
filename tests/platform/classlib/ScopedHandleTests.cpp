// ScopedHandle and its kinds close what they own, and only that: kernel handles, find handles, heap blocks, GDI
// objects, created DCs and selections, checked through the system's own view of each handle.
#include "classlib/ScopedHandle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

bool KernelHandleIsOpen(HANDLE handle)
{
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

HANDLE NewEvent()
{
    return ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

// The blocks of a heap that are in use, as the heap itself lists them.
std::vector<void*> BusyBlocks(HANDLE heap)
{
    std::vector<void*> busy;
    PROCESS_HEAP_ENTRY entry = {};
    while (::HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            busy.push_back(entry.lpData);
    return busy;
}

bool IsBusy(HANDLE heap, void* block)
{
    const std::vector<void*> busy = BusyBlocks(heap);
    return std::find(busy.begin(), busy.end(), block) != busy.end();
}

}  // namespace

TEST(ScopedHandle, KernelHandlesAreClosedWhenTheHolderGoes)
{
    HANDLE event = NewEvent();
    ASSERT_NE(event, nullptr);
    {
        ScopedKernelHandle held(event);
        EXPECT_TRUE(held);
        EXPECT_EQ(held.Get(), event);
        EXPECT_TRUE(KernelHandleIsOpen(event));
    }
    EXPECT_FALSE(KernelHandleIsOpen(event));
}

TEST(ScopedHandle, NullAndInvalidKernelHandlesHoldNothing)
{
    for (HANDLE none : {static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE})
    {
        ScopedKernelHandle held(none);
        EXPECT_FALSE(held);
    }
    // A failed CreateFile answers INVALID_HANDLE_VALUE.
    ScopedKernelHandle missing(::CreateFileA("Z:/no/such/folder/file.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(missing);
}

TEST(ScopedHandle, ReleaseHandsOverResetClosesTheOldAndMovesTransfer)
{
    HANDLE first = NewEvent();
    HANDLE second = NewEvent();
    ScopedKernelHandle held(first);
    held.Reset(second);
    EXPECT_FALSE(KernelHandleIsOpen(first));
    EXPECT_TRUE(KernelHandleIsOpen(second));

    ScopedKernelHandle moved(std::move(held));
    EXPECT_FALSE(held);
    EXPECT_EQ(moved.Get(), second);

    HANDLE handedOver = moved.Release();
    EXPECT_FALSE(moved);
    EXPECT_TRUE(KernelHandleIsOpen(handedOver));
    EXPECT_TRUE(::CloseHandle(handedOver));
}

TEST(ScopedHandle, FindHandlesAreClosedWhenTheHolderGoes)
{
    char folder[MAX_PATH] = {};
    ASSERT_NE(::GetTempPathA(MAX_PATH, folder), 0u);
    const std::string pattern = std::string(folder) + "*";
    WIN32_FIND_DATAA data = {};
    HANDLE raw = INVALID_HANDLE_VALUE;
    {
        ScopedFindHandle find(::FindFirstFileA(pattern.c_str(), &data));
        ASSERT_TRUE(find);
        raw = find.Get();
        EXPECT_TRUE(::FindNextFileA(raw, &data) || ::GetLastError() == ERROR_NO_MORE_FILES);
    }
    ::SetLastError(0);
    EXPECT_FALSE(::FindNextFileA(raw, &data));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    ScopedFindHandle nothing(::FindFirstFileA("Z:/no/such/folder/*", &data));
    EXPECT_FALSE(nothing);
}

TEST(ScopedHandle, HeapBlocksGoBackToTheirHeapAndAHandedOverBlockStays)
{
    // A heap of the test's own, so that its list of busy blocks holds only what the test made.
    const HANDLE heap = ::HeapCreate(0, 0, 0);
    ASSERT_NE(heap, nullptr);
    const HeapBlockTraits ofHeap{heap};
    void* freed = ::HeapAlloc(heap, 0, 64);
    void* replaced = ::HeapAlloc(heap, 0, 64);
    void* kept = ::HeapAlloc(heap, 0, 64);
    ASSERT_TRUE(freed && replaced && kept);
    ASSERT_EQ(BusyBlocks(heap).size(), 3u);
    {
        ScopedHeapBlock first(freed, ofHeap);
        ScopedHeapBlock second(replaced, ofHeap);
        second.Reset(kept);
        EXPECT_FALSE(IsBusy(heap, replaced));
        EXPECT_TRUE(IsBusy(heap, freed));
        EXPECT_EQ(second.Release(), kept);
        EXPECT_FALSE(second);
    }
    EXPECT_FALSE(IsBusy(heap, freed));
    EXPECT_TRUE(IsBusy(heap, kept));
    EXPECT_EQ(BusyBlocks(heap).size(), 1u);
    EXPECT_TRUE(::HeapFree(heap, 0, kept));
    EXPECT_TRUE(::HeapDestroy(heap));

    // Without traits the block goes back to the process heap; null holds nothing.
    EXPECT_EQ(HeapBlockTraits().heap, ::GetProcessHeap());
    ScopedHeapBlock nothing(nullptr);
    EXPECT_FALSE(nothing);
}

TEST(ScopedHandle, GdiObjectsAndCreatedDCsAreDeleted)
{
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    HDC dc = ::CreateCompatibleDC(nullptr);
    {
        ScopedGdiObject<HBRUSH> heldBrush(brush);
        ScopedCreatedDC heldDC(dc);
        EXPECT_EQ(::GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
        EXPECT_EQ(::GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
    }
    EXPECT_EQ(::GetObjectType(brush), 0u);
    EXPECT_EQ(::GetObjectType(dc), 0u);
}

TEST(ScopedHandle, ASelectionPutsTheOldObjectBackSoTheObjectCanGo)
{
    ScopedCreatedDC dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ original = ::GetCurrentObject(dc.Get(), OBJ_BITMAP);
    ScopedGdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(dc.Get(), 4, 4));
    ASSERT_TRUE(bitmap);
    {
        ScopedSelection selected = SelectScoped(dc.Get(), bitmap.Get());
        EXPECT_EQ(selected.Get(), original);
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
        // Moved on, it still restores once.
        ScopedSelection kept(std::move(selected));
        EXPECT_FALSE(selected);
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), original);

    // Nothing is selected for a null object or DC, and nothing is put back.
    ScopedSelection none = SelectScoped(dc.Get(), nullptr);
    EXPECT_FALSE(none);
    ScopedSelection noDC = SelectScoped(nullptr, bitmap.Get());
    EXPECT_FALSE(noDC);
}

TEST(ScopedHandle, AWindowDCGoesBackToItsWindow)
{
    HWND window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    {
        ScopedWindowDC dc = GetScopedWindowDC(window);
        ASSERT_TRUE(dc);
        EXPECT_EQ(::WindowFromDC(dc.Get()), window);
    }
    // The window's DC came back: a window may be destroyed with none outstanding, and its next DC is valid.
    ScopedWindowDC again = GetScopedWindowDC(window);
    EXPECT_TRUE(again);
    again.Reset();
    EXPECT_TRUE(::DestroyWindow(window));
}

TEST(ScopedHandle, ASavedDCStateComesBackWhenTheHolderGoes)
{
    ScopedCreatedDC dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    ScopedGdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, RGB(10, 20, 30)));
    const HGDIOBJ originalPen = ::GetCurrentObject(dc.Get(), OBJ_PEN);
    ::SetTextColor(dc.Get(), RGB(1, 2, 3));
    {
        ScopedSavedDC saved = SaveScoped(dc.Get());
        EXPECT_TRUE(saved);
        ::SelectObject(dc.Get(), pen.Get());
        ::SetTextColor(dc.Get(), RGB(200, 100, 50));
        // Moved on, it still restores once.
        ScopedSavedDC kept(std::move(saved));
        EXPECT_FALSE(saved);
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), pen.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), originalPen);
    EXPECT_EQ(::GetTextColor(dc.Get()), RGB(1, 2, 3));

    // A nested save comes back to its own level only.
    ScopedSavedDC outer = SaveScoped(dc.Get());
    ::SetTextColor(dc.Get(), RGB(4, 5, 6));
    {
        ScopedSavedDC inner = SaveScoped(dc.Get());
        ::SetTextColor(dc.Get(), RGB(7, 8, 9));
    }
    EXPECT_EQ(::GetTextColor(dc.Get()), RGB(4, 5, 6));
    outer.Reset();
    EXPECT_EQ(::GetTextColor(dc.Get()), RGB(1, 2, 3));
    EXPECT_FALSE(SaveScoped(nullptr));
}

TEST(ScopedHandle, AKeptClipRegionComesBackAsItWasOrAsNone)
{
    ScopedCreatedDC dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    ScopedGdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(dc.Get(), 40, 40));
    ScopedSelection selected = SelectScoped(dc.Get(), bitmap.Get());
    ScopedGdiObject<HRGN> probe(::CreateRectRgn(0, 0, 0, 0));

    // The caller's own region: strips excluded inside the scope are back afterwards.
    ::IntersectClipRect(dc.Get(), 5, 5, 30, 30);
    HRGN copy = nullptr;
    {
        ScopedClipRegion kept = KeepClipRegion(dc.Get());
        ASSERT_TRUE(kept);
        copy = kept.Get();
        EXPECT_EQ(::GetObjectType(copy), static_cast<DWORD>(OBJ_REGION));
        ::ExcludeClipRect(dc.Get(), 5, 5, 10, 30);
        EXPECT_FALSE(::PtVisible(dc.Get(), 7, 7));
    }
    EXPECT_TRUE(::PtVisible(dc.Get(), 7, 7));
    EXPECT_FALSE(::PtVisible(dc.Get(), 35, 35));
    EXPECT_EQ(::GetObjectType(copy), 0u) << "the copy went with the holder";

    // No region before: none after, whatever the scope clipped.
    ::SelectClipRgn(dc.Get(), nullptr);
    {
        ScopedClipRegion kept = KeepClipRegion(dc.Get());
        ::IntersectClipRect(dc.Get(), 0, 0, 4, 4);
        EXPECT_EQ(1, ::GetClipRgn(dc.Get(), probe.Get()));
    }
    EXPECT_EQ(0, ::GetClipRgn(dc.Get(), probe.Get()));
    EXPECT_FALSE(KeepClipRegion(nullptr));
}

namespace {

int g_hookCalls = 0;
LRESULT CALLBACK CountingHook(int code, WPARAM wParam, LPARAM lParam)
{
    ++g_hookCalls;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST(ScopedHandle, AHookIsTakenOffWhenTheHolderGoes)
{
    HWND window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    g_hookCalls = 0;
    {
        ScopedHook hook(::SetWindowsHookExA(WH_CALLWNDPROC, &CountingHook, nullptr, ::GetCurrentThreadId()));
        ASSERT_TRUE(hook);
        ::SendMessageA(window, WM_NULL, 0, 0);
        EXPECT_GT(g_hookCalls, 0);
    }
    const int calls = g_hookCalls;
    ::SendMessageA(window, WM_NULL, 0, 0);
    EXPECT_EQ(calls, g_hookCalls);
    EXPECT_TRUE(::DestroyWindow(window));
}

// A region handed to a window belongs to the system once the call works; when it fails, the holder still deletes it.
TEST(ScopedHandle, AWindowRegionIsHandedOverOnlyWhenTheWindowTakesIt)
{
    HWND window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ScopedGdiObject<HRGN> given(::CreateRectRgn(0, 0, 30, 10));
    ASSERT_TRUE(given);
    EXPECT_TRUE(SetWindowRegion(window, std::move(given), FALSE));
    EXPECT_FALSE(given);
    ScopedGdiObject<HRGN> now(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(SIMPLEREGION, ::GetWindowRgn(window, now.Get()));
    RECT box{};
    ::GetRgnBox(now.Get(), &box);
    EXPECT_EQ(30, box.right);
    EXPECT_EQ(10, box.bottom);
    EXPECT_TRUE(::DestroyWindow(window));

    // The window is gone: the call fails and the region does not outlive it.
    HRGN refused = ::CreateRectRgn(0, 0, 5, 5);
    ASSERT_NE(refused, nullptr);
    EXPECT_FALSE(SetWindowRegion(window, ScopedGdiObject<HRGN>(refused), FALSE));
    EXPECT_EQ(::GetObjectType(refused), 0u);
}
