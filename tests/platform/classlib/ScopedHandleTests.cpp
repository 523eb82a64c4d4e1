// ScopedHandle and its kinds close what they own, and only that: kernel handles, find handles, GDI objects, created
// DCs and selections, checked through the system's own view of each handle.
#include "classlib/ScopedHandle.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

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
