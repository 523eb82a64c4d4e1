// ScopedHandle<Traits> owns one system handle and closes it when it goes: the one holder for kernel handles, find
// handles, GDI objects and DCs, instead of a small class per file. The traits say what the handle is, which value
// means "none" and how it is closed:
//
//   ScopedKernelHandle file(::CreateFileA(path, ...));       // CloseHandle; null and INVALID_HANDLE_VALUE are none
//   if (!file) return ReportFailure(path);
//   ScopedFindHandle find(::FindFirstFileA(pattern, &data));  // FindClose
//   ScopedHeapBlock buffer(::HeapAlloc(::GetProcessHeap(), 0, size));  // HeapFree
//   ScopedGdiObject<HBITMAP> bitmap(::CreateDIBSection(...));  // DeleteObject
//   ScopedCreatedDC memory(::CreateCompatibleDC(dc));          // DeleteDC
//   ScopedWindowDC screen = GetScopedWindowDC(nullptr);        // GetDC now, ReleaseDC at the end
//   ScopedSelection select = SelectScoped(memory.Get(), bitmap.Get());  // the old object back at the end
//   ScopedSavedDC saved = SaveScoped(dc);                      // SaveDC now, RestoreDC at the end
//   ScopedClipRegion clip = KeepClipRegion(dc);                // the DC's clip region as it is now, back at the end
//   ScopedHook hook(::SetWindowsHookExA(WH_MOUSE, ...));      // UnhookWindowsHookEx
//   if (!SetWindowRegion(window, std::move(region), TRUE))    // the window owns the region only if the call worked
//
// Get() lends the handle, Release() hands it to the caller (who then closes it), Reset(h) closes the old one and
// takes h. Thin over Win32: nothing here adds a second API for what the handles do.
#pragma once

#include <windows.h>

#include <utility>

template <class Traits> class ScopedHandle
{
public:
    using Handle = typename Traits::Handle;

    ScopedHandle() = default;
    // Takes over handle (which may be one of the traits' "none" values). Traits with state (the DC a selection
    // goes back into, the window a DC belongs to) come with it.
    explicit ScopedHandle(Handle handle, Traits traits = Traits()) : m_handle(handle), m_traits(traits) {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : m_handle(other.Release()), m_traits(other.m_traits) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept
    {
        if (this != &other)
        {
            Reset(other.Release());
            m_traits = other.m_traits;
        }
        return *this;
    }

    Handle Get() const { return m_handle; }
    bool IsValid() const { return !Traits::IsNone(m_handle); }
    explicit operator bool() const { return IsValid(); }

    // Closes what it held and takes over handle.
    void Reset(Handle handle = Traits::None())
    {
        const Handle old = std::exchange(m_handle, handle);
        if (!Traits::IsNone(old))
            m_traits.Close(old);
    }
    // Hands the handle to the caller, who closes it; holds none afterwards.
    [[nodiscard]] Handle Release() { return std::exchange(m_handle, Traits::None()); }

private:
    Handle m_handle = Traits::None();
    Traits m_traits;
};

// What CreateFile, CreateEvent, CreateThread ... return. Null and INVALID_HANDLE_VALUE both mean none: the functions
// disagree on which one reports a failure, and neither is ever a handle to close.
struct KernelHandleTraits
{
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle handle) { return !handle || handle == INVALID_HANDLE_VALUE; }
    void Close(Handle handle) const { ::CloseHandle(handle); }
};
using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;

// What FindFirstFile returns; INVALID_HANDLE_VALUE when nothing matched.
struct FindHandleTraits
{
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static bool IsNone(Handle handle) { return handle == INVALID_HANDLE_VALUE; }
    void Close(Handle handle) const { ::FindClose(handle); }
};
using ScopedFindHandle = ScopedHandle<FindHandleTraits>;

// A block from HeapAlloc, freed into the heap it came from: the process heap unless the traits name another.
struct HeapBlockTraits
{
    using Handle = void*;
    HANDLE heap = ::GetProcessHeap();
    static Handle None() { return nullptr; }
    static bool IsNone(Handle block) { return !block; }
    void Close(Handle block) const { ::HeapFree(heap, 0, block); }
};
using ScopedHeapBlock = ScopedHandle<HeapBlockTraits>;

// A pen, brush, font, bitmap, region or palette the code made (never a stock object, nor one still selected).
template <class H> struct GdiObjectTraits
{
    using Handle = H;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle handle) { return !handle; }
    void Close(Handle handle) const { ::DeleteObject(handle); }
};
template <class H = HGDIOBJ> using ScopedGdiObject = ScopedHandle<GdiObjectTraits<H>>;

// A DC from CreateCompatibleDC or CreateDC.
struct CreatedDCTraits
{
    using Handle = HDC;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle handle) { return !handle; }
    void Close(Handle handle) const { ::DeleteDC(handle); }
};
using ScopedCreatedDC = ScopedHandle<CreatedDCTraits>;

// A window's DC (GetDC; the screen's for a null window), given back to its window.
struct WindowDCTraits
{
    using Handle = HDC;
    HWND window = nullptr;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle handle) { return !handle; }
    void Close(Handle handle) const { ::ReleaseDC(window, handle); }
};
using ScopedWindowDC = ScopedHandle<WindowDCTraits>;

inline ScopedWindowDC GetScopedWindowDC(HWND window)
{
    return ScopedWindowDC(::GetDC(window), WindowDCTraits{window});
}

// An object selected into a DC for a scope. The handle held is the object the DC had before, and closing it selects
// it back: the DC never keeps the object past its life (a bitmap is in one DC at a time, and a selected object
// cannot be deleted).
struct SelectionTraits
{
    using Handle = HGDIOBJ;
    HDC dc = nullptr;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle handle) { return !handle || handle == HGDI_ERROR; }
    void Close(Handle handle) const { ::SelectObject(dc, handle); }
};
using ScopedSelection = ScopedHandle<SelectionTraits>;

// Selects object into dc until the result goes; nothing happens for a null DC or object.
inline ScopedSelection SelectScoped(HDC dc, HGDIOBJ object)
{
    return ScopedSelection(dc && object ? ::SelectObject(dc, object) : nullptr, SelectionTraits{dc});
}

// A DC's state saved for a scope: the handle held is the level SaveDC answered, and closing it restores that level
// (the objects, colours and modes the scope set go with it).
struct SavedDCTraits
{
    using Handle = int;
    HDC dc = nullptr;
    static Handle None() { return 0; }
    static bool IsNone(Handle level) { return level == 0; }
    void Close(Handle level) const { ::RestoreDC(dc, level); }
};
using ScopedSavedDC = ScopedHandle<SavedDCTraits>;

// Saves dc's state until the result goes; nothing happens for a null DC.
inline ScopedSavedDC SaveScoped(HDC dc)
{
    return ScopedSavedDC(dc ? ::SaveDC(dc) : 0, SavedDCTraits{dc});
}

// A DC's clip region kept for a scope: the handle held is a copy of the region the DC had (an empty one when it had
// none), and closing it selects that back (or no region) and deletes the copy. Code that excludes strips and corners
// from clipping leaves the caller's own region (a paint rectangle, a DC without child windows) as it found it.
struct ClipRegionTraits
{
    using Handle = HRGN;
    HDC dc = nullptr;
    bool hadRegion = false;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle handle) { return !handle; }
    void Close(Handle handle) const
    {
        ::SelectClipRgn(dc, hadRegion ? handle : nullptr);
        ::DeleteObject(handle);
    }
};
using ScopedClipRegion = ScopedHandle<ClipRegionTraits>;

// Keeps dc's clip region until the result goes; nothing happens for a null DC.
inline ScopedClipRegion KeepClipRegion(HDC dc)
{
    HRGN copy = dc ? ::CreateRectRgn(0, 0, 0, 0) : nullptr;
    const bool hadRegion = copy && ::GetClipRgn(dc, copy) == 1;
    return ScopedClipRegion(copy, ClipRegionTraits{dc, hadRegion});
}

// What SetWindowsHookEx returns.
struct HookHandleTraits
{
    using Handle = HHOOK;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle handle) { return !handle; }
    void Close(Handle handle) const { ::UnhookWindowsHookEx(handle); }
};
using ScopedHook = ScopedHandle<HookHandleTraits>;

// Gives window the region (null: none). Once SetWindowRgn succeeds the system owns the region and the holder lets it
// go; when the call fails (the window is gone, say) the holder still owns it and deletes it.
inline bool SetWindowRegion(HWND window, ScopedGdiObject<HRGN> region, BOOL redraw)
{
    if (!::SetWindowRgn(window, region.Get(), redraw))
        return false;
    static_cast<void>(region.Release());
    return true;
}
