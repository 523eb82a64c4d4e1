// Popup animation: a popup's final image brought onto the screen step by step, on the calling thread, timed by
// the paint manager's steps and duration.
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/PaintManager.h"

#include "framework/commandbars/CommandBar.h"

#include "classlib/ScopedHandle.h"

#include <algorithm>
#include <vector>

namespace {

COSMPaintManager::TickCountFunction g_tickCount = &::GetTickCount;
COSMPaintManager::SleepFunction g_sleep = &::Sleep;

// A 32-bit top-down DIB section of the size given; null for an empty size or without memory.
ScopedGdiObject<HBITMAP> CreateBitsSection(int width, int height, DWORD** bits)
{
    *bits = nullptr;
    if (width <= 0 || height <= 0)
        return ScopedGdiObject<HBITMAP>();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    ScopedGdiObject<HBITMAP> bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
    if (!bitmap || !memory)
        return ScopedGdiObject<HBITMAP>();
    *bits = static_cast<DWORD*>(memory);
    return bitmap;
}

// Copies a DC's area into a section through a memory DC.
void CopyIntoSection(HDC memory, HBITMAP section, HDC source, int x, int y, int width, int height)
{
    const ScopedSelection select = SelectScoped(memory, section);
    ::BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
}

}  // namespace

void COSMPaintManager::SetAnimationClock(TickCountFunction tickCount, SleepFunction sleep)
{
    g_tickCount = tickCount ? tickCount : &::GetTickCount;
    g_sleep = sleep ? sleep : &::Sleep;
}

void COSMPaintManager::BlendBits(DWORD* destination, const DWORD* first, int width, int height, const DWORD* second,
                                 int alpha)
{
    const int count = width * height;
    auto* out = reinterpret_cast<BYTE*>(destination);
    auto* a = reinterpret_cast<const BYTE*>(first);
    auto* b = reinterpret_cast<const BYTE*>(second);
    for (int i = 0; i < count; ++i, out += 4, a += 4, b += 4)
        for (int channel = 0; channel < 3; ++channel)
            out[channel] = static_cast<BYTE>((a[channel] * (255 - alpha) + b[channel] * alpha) >> 8);
}

void COSMPaintManager::ReservedOperation(int value) {}

void COSMPaintManager::Animate(CDC* destination, CDC* source, CRect rect, int kind)
{
    // Zero steps would divide by zero and a negative duration would wait for ever.
    const int steps = m_animationSteps > 0 ? m_animationSteps : 1;
    const int duration = m_animationDuration > 0 ? m_animationDuration : 0;
    const DWORD wait = static_cast<DWORD>(duration / steps);
    const int width = rect.Width();
    const int height = rect.Height();

    switch (kind)
    {
    case 2:
        for (int k = 1; k <= steps; ++k)
        {
            const int y = rect.bottom - height * k / steps;
            const int x = rect.right - width * k / steps;
            destination->BitBlt(0, 0, rect.right - x, rect.bottom - y, source, x, y, SRCCOPY);
            g_sleep(wait);
        }
        break;
    case 3:
        for (int k = 1; k <= steps; ++k)
        {
            const int h = height * k / steps;
            destination->BitBlt(0, 0, width, h, source, 0, height - h, SRCCOPY);
            g_sleep(wait);
        }
        break;
    case 4:
    {
        DWORD* sourceBits = nullptr;
        DWORD* backgroundBits = nullptr;
        DWORD* blendBits = nullptr;
        const ScopedGdiObject<HBITMAP> sourceSection = CreateBitsSection(width, height, &sourceBits);
        const ScopedGdiObject<HBITMAP> backgroundSection = CreateBitsSection(width, height, &backgroundBits);
        const ScopedGdiObject<HBITMAP> blendSection = CreateBitsSection(width, height, &blendBits);
        const ScopedCreatedDC memory(::CreateCompatibleDC(nullptr));
        // An empty rectangle or a failed allocation leaves nothing to fade.
        if (sourceSection && backgroundSection && blendSection && memory)
        {
            CopyIntoSection(memory.Get(), sourceSection.Get(), source->GetSafeHdc(), rect.left, rect.top, width,
                            height);
            CopyIntoSection(memory.Get(), backgroundSection.Get(), destination->GetSafeHdc(), rect.left, rect.top,
                            width, height);
            const ScopedSelection select = SelectScoped(memory.Get(), blendSection.Get());
            // The last step is the final image, which the caller paints itself.
            for (int k = 1; k < steps; ++k)
            {
                const DWORD start = g_tickCount();
                BlendBits(blendBits, backgroundBits, width, height, sourceBits, 255 * k / steps);
                ::GdiFlush();
                ::BitBlt(destination->GetSafeHdc(), rect.left, rect.top, width, height, memory.Get(), 0, 0, SRCCOPY);
                const DWORD elapsed = g_tickCount() - start;
                if (elapsed < wait)
                    g_sleep(wait - elapsed);
            }
        }
        break;
    }
    default:
        break;
    }
}

void COSMPaintManager::AnimateExpanding(COSMCommandBar* bar, CDC* destination, CDC* source, BOOL downward)
{
    const int steps = m_animationSteps > 0 ? m_animationSteps : 1;
    const int duration = m_animationDuration > 0 ? m_animationDuration : 0;
    const DWORD wait = static_cast<DWORD>(duration / steps);
    CRect client;
    ::GetClientRect(bar->GetSafeHwnd(), &client);
    const int width = client.Width();
    const int height = client.Height();

    std::vector<COSMControl*> controls;
    COSMControls* collection = bar->GetControls();
    for (int i = 0; i < collection->GetCount(); ++i)
        if (collection->GetAt(i)->IsVisible(0))
            controls.push_back(collection->GetAt(i));
    if (!downward)
        std::reverse(controls.begin(), controls.end());

    for (int k = 1; k <= steps; ++k)
    {
        const double fraction = static_cast<double>(k) / steps;
        // Bands of controls that share the expanded flag, stacked from the starting edge.
        int bandStart = downward ? 0 : height;
        int place = bandStart;
        BOOL bandExpanded = controls.empty() ? FALSE : controls.front()->IsHiddenWhenNotUsed();
        auto drawBand = [&](int bandEnd) {
            const int top = downward ? bandStart : bandEnd;
            const int bandHeight = downward ? bandEnd - bandStart : bandStart - bandEnd;
            if (bandHeight <= 0)
                return;
            const int drawn = bandExpanded ? static_cast<int>(bandHeight * fraction) : bandHeight;
            const int y = downward ? place : place - drawn;
            destination->StretchBlt(0, y, width, drawn, source, 0, top, width, bandHeight, SRCCOPY);
            place = downward ? place + drawn : place - drawn;
            bandStart = bandEnd;
        };
        for (COSMControl* control : controls)
        {
            if (control->IsHiddenWhenNotUsed() == bandExpanded)
                continue;
            const CRect rect = control->GetRect();
            drawBand(downward ? rect.top : rect.bottom);
            bandExpanded = control->IsHiddenWhenNotUsed();
        }
        drawBand(downward ? height : 0);
        g_sleep(wait);
    }
}

void MakeRectOpaque(CDC* dc, int left, int top, int right, int bottom)
{
    const int width = right - left;
    const int height = bottom - top;
    DWORD* bits = nullptr;
    const ScopedGdiObject<HBITMAP> section = CreateBitsSection(width, height, &bits);
    const ScopedCreatedDC memory(section ? ::CreateCompatibleDC(dc->GetSafeHdc()) : nullptr);
    // An empty rectangle or a failed allocation has nothing to write through.
    if (section && memory)
    {
        const ScopedSelection select = SelectScoped(memory.Get(), section.Get());
        ::BitBlt(memory.Get(), 0, 0, width, height, dc->GetSafeHdc(), left, top, SRCCOPY);
        ::GdiFlush();
        for (int i = 0; i < width * height; ++i)
            bits[i] |= 0xFF000000;
        ::BitBlt(dc->GetSafeHdc(), left, top, width, height, memory.Get(), 0, 0, SRCCOPY);
    }
}

void MakeRectOpaque(CDC* dc, const RECT& rect)
{
    MakeRectOpaque(dc, rect.left, rect.top, rect.right, rect.bottom);
}
