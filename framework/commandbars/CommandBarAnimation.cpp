#include "framework/commandbars/CommandBarAnimation.h"

#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ImageFunctions.h"

#include <cstring>

namespace {

// A memory DC compatible with a reference DC, with one bitmap selected; the bitmap goes back out before the DC is
// deleted, so the bitmap's owner can delete it.
class AnimationMemoryDC : public CDC
{
public:
    AnimationMemoryDC(HDC hReference, HBITMAP hBitmap)
    {
        if (hBitmap && Attach(::CreateCompatibleDC(hReference)))
            m_hOldBitmap = ::SelectObject(m_hDC, hBitmap);
    }
    ~AnimationMemoryDC() override
    {
        if (m_hOldBitmap)
            ::SelectObject(m_hDC, m_hOldBitmap);
    }
    AnimationMemoryDC(const AnimationMemoryDC&) = delete;
    AnimationMemoryDC& operator=(const AnimationMemoryDC&) = delete;

    BOOL IsReady() const { return m_hOldBitmap != nullptr; }

private:
    HGDIOBJ m_hOldBitmap = nullptr;
};

BOOL CopyArea(HDC hDest, int xDest, int yDest, const CRect& area, HDC hSource, int xSource, int ySource)
{
    return ::BitBlt(hDest, xDest, yDest, area.Width(), area.Height(), hSource, xSource, ySource, SRCCOPY);
}

size_t ImageBytes(const CRect& rect)
{
    return static_cast<size_t>(rect.Width()) * static_cast<size_t>(rect.Height()) * 4;
}

}  // namespace

void AlphaBlendBits(LPBYTE dest, const BYTE* a, int width, int height, const BYTE* b, int alpha)
{
    if (width <= 0 || height <= 0)
        return;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    const unsigned weightB = static_cast<unsigned>(alpha);
    const unsigned weightA = 255 - weightB;
    for (size_t i = 0; i < count; ++i)
        dest[i] = static_cast<BYTE>((a[i] * weightA + b[i] * weightB) >> 8);
}

BOOL COSMCommandBarAnimationItem::IsUnchanged() const
{
    ::GdiFlush();
    return m_oldBits && m_newBits && std::memcmp(m_oldBits, m_newBits, ImageBytes(m_rect)) == 0;
}

COSMCommandBarAnimation::COSMCommandBarAnimation(COSMCommandBar* bar)
    : m_bar(bar), m_makeDibSection(&CreateAlphaDIBSection)
{}

COSMCommandBarAnimation::~COSMCommandBarAnimation()
{
    RemoveAll();
}

BOOL COSMCommandBarAnimation::IsAnimationActive() const
{
    if (m_animationEnabled)
        return TRUE;
    const COSMPaintManager* paintManager = m_bar->GetPaintManager();
    return paintManager && paintManager->m_commandBarAnimation;
}

CRect COSMCommandBarAnimation::GetClientRect() const
{
    CRect client(0, 0, 0, 0);
    if (m_bar->GetSafeHwnd())
        ::GetClientRect(m_bar->GetSafeHwnd(), &client);
    return client;
}

void COSMCommandBarAnimation::FreeBarImageOfOtherSize(const CRect& client)
{
    if (!m_barImage.GetSafeHandle())
        return;
    BITMAP info{};
    if (!m_barImage.GetBitmap(&info) || info.bmWidth != client.Width() || info.bmHeight != client.Height())
        m_barImage.DeleteObject();
}

void COSMCommandBarAnimation::InvalidateForPaint(const RECT* rect)
{
    m_fullRepaint = TRUE;
    ::InvalidateRect(m_bar->GetSafeHwnd(), rect, FALSE);
}

void COSMCommandBarAnimation::RedrawRect(const RECT* rect, BOOL animate)
{
    if (!m_bar->GetSafeHwnd())
        return;
    if (!rect)
    {
        // The whole bar is drawn afresh: no fade outlives it.
        m_barImage.DeleteObject();
        RemoveAll();
        InvalidateForPaint(nullptr);
        return;
    }
    const CRect client = GetClientRect();
    CRect area;
    if (!area.IntersectRect(rect, client))
        return;
    // A resized bar's image no longer lines up with it; the next paint rebuilds it whole.
    FreeBarImageOfOtherSize(client);
    if (!m_barImage.GetSafeHandle() || !IsAnimationActive())
    {
        InvalidateForPaint(&area);
        return;
    }

    CClientDC screen(m_bar);
    CBitmap freshImage;
    if (!freshImage.CreateCompatibleBitmap(&screen, client.Width(), client.Height()))
    {
        InvalidateForPaint(&area);
        return;
    }
    AnimationMemoryDC fresh(screen.GetSafeHdc(), freshImage);
    AnimationMemoryDC image(screen.GetSafeHdc(), m_barImage);
    if (!fresh.IsReady() || !image.IsReady())
    {
        InvalidateForPaint(&area);
        return;
    }
    fresh.IntersectClipRect(area);
    m_bar->DrawCommandBar(&fresh, area);
    fresh.SelectClipRgn(nullptr);

    if (!animate)
    {
        RemoveCovered(area, TRUE);
        CopyArea(image.GetSafeHdc(), area.left, area.top, area, fresh.GetSafeHdc(), area.left, area.top);
        CopyArea(screen.GetSafeHdc(), area.left, area.top, area, fresh.GetSafeHdc(), area.left, area.top);
        return;
    }

    auto item = std::make_unique<COSMCommandBarAnimationItem>(area);
    void* oldBits = nullptr;
    void* newBits = nullptr;
    item->m_oldImage.Attach(m_makeDibSection(screen.GetSafeHdc(), area.Width(), area.Height(), &oldBits));
    item->m_newImage.Attach(m_makeDibSection(screen.GetSafeHdc(), area.Width(), area.Height(), &newBits));
    item->m_oldBits = static_cast<LPBYTE>(oldBits);
    item->m_newBits = static_cast<LPBYTE>(newBits);
    AnimationMemoryDC oldDC(screen.GetSafeHdc(), item->m_oldImage);
    AnimationMemoryDC newDC(screen.GetSafeHdc(), item->m_newImage);
    if (!oldBits || !newBits || !oldDC.IsReady() || !newDC.IsReady())
    {
        // Without the two images there is nothing to fade between: the next paint draws the area.
        InvalidateForPaint(&area);
        return;
    }
    CopyArea(oldDC.GetSafeHdc(), 0, 0, area, image.GetSafeHdc(), area.left, area.top);
    CopyArea(newDC.GetSafeHdc(), 0, 0, area, fresh.GetSafeHdc(), area.left, area.top);
    CopyArea(image.GetSafeHdc(), area.left, area.top, area, fresh.GetSafeHdc(), area.left, area.top);
    if (item->IsUnchanged())
        return;
    AddItem(&screen, std::move(item));
}

void COSMCommandBarAnimation::AddItem(CDC* dc, std::unique_ptr<COSMCommandBarAnimationItem> item)
{
    RemoveCovered(item->m_rect, FALSE);
    COSMCommandBarAnimationItem* added = item.get();
    m_items.push_back(std::move(item));
    if (!m_timer)
        m_timer = ::SetTimer(m_bar->GetSafeHwnd(), kTimerId, kTimerElapse, nullptr);
    DrawItemStep(dc, added);
}

void COSMCommandBarAnimation::RemoveCovered(const CRect& rect, BOOL clip)
{
    for (auto it = m_items.begin(); it != m_items.end();)
    {
        COSMCommandBarAnimationItem& item = **it;
        CRect meet;
        if (!meet.IntersectRect(item.m_rect, rect))
        {
            ++it;
            continue;
        }
        if (meet == item.m_rect)
        {
            it = m_items.erase(it);
            continue;
        }
        if (clip)
            item.m_clipRects.push_back(rect);
        ++it;
    }
}

void COSMCommandBarAnimation::DrawItemStep(CDC* dc, COSMCommandBarAnimationItem* item)
{
    const CRect& rect = item->m_rect;
    const HDC hDC = dc->GetSafeHdc();
    if (item->m_step < kLastStep)
    {
        void* bits = nullptr;
        CBitmap frame;
        frame.Attach(m_makeDibSection(hDC, rect.Width(), rect.Height(), &bits));
        if (bits)
        {
            AlphaBlendBits(static_cast<LPBYTE>(bits), item->m_oldBits, rect.Width(), rect.Height(), item->m_newBits,
                           item->m_step * 255 / kLastStep);
            AnimationMemoryDC frameDC(hDC, frame);
            if (frameDC.IsReady())
                CopyArea(hDC, rect.left, rect.top, rect, frameDC.GetSafeHdc(), 0, 0);
        }
        else
        {
            // No room for a frame: show where the fade is going.
            AnimationMemoryDC newDC(hDC, item->m_newImage);
            if (newDC.IsReady())
                CopyArea(hDC, rect.left, rect.top, rect, newDC.GetSafeHdc(), 0, 0);
        }
    }
    else
    {
        AnimationMemoryDC image(hDC, m_barImage);
        if (image.IsReady())
            CopyArea(hDC, rect.left, rect.top, rect, image.GetSafeHdc(), rect.left, rect.top);
    }
    ++item->m_step;
}

void COSMCommandBarAnimation::OnAnimationTimer()
{
    if (!m_items.empty() && m_bar->GetSafeHwnd())
    {
        CClientDC dc(m_bar);
        for (auto it = m_items.begin(); it != m_items.end();)
        {
            COSMCommandBarAnimationItem* item = it->get();
            for (const CRect& clip : item->m_clipRects)
                dc.ExcludeClipRect(clip);
            DrawItemStep(&dc, item);
            dc.SelectClipRgn(nullptr);
            it = item->m_step > kLastStep ? m_items.erase(it) : it + 1;
        }
    }
    if (m_items.empty())
        KillTimer();
}

void COSMCommandBarAnimation::OnPaint(CPaintDC& dc)
{
    const CRect client = GetClientRect();
    CRect paintRect(dc.m_ps.rcPaint);
    FreeBarImageOfOtherSize(client);
    if (m_bufferingEnabled || IsAnimationActive())
    {
        if (!m_fullRepaint && m_barImage.GetSafeHandle())
        {
            // Nothing changed since the image was drawn (an uncovered bar): the image is the bar.
            AnimationMemoryDC image(dc.GetSafeHdc(), m_barImage);
            if (image.IsReady())
                CopyArea(dc.GetSafeHdc(), paintRect.left, paintRect.top, paintRect, image.GetSafeHdc(), paintRect.left,
                         paintRect.top);
            return;
        }
        if (!m_barImage.GetSafeHandle() && !client.IsRectEmpty() &&
            m_barImage.CreateCompatibleBitmap(&dc, client.Width(), client.Height()))
            paintRect = client;
    }
    else
    {
        m_barImage.DeleteObject();
    }

    AnimationMemoryDC image(dc.GetSafeHdc(), m_barImage);
    if (image.IsReady())
    {
        image.IntersectClipRect(paintRect);
        m_bar->DrawCommandBar(&image, paintRect);
        image.SelectClipRgn(nullptr);
        CopyArea(dc.GetSafeHdc(), paintRect.left, paintRect.top, paintRect, image.GetSafeHdc(), paintRect.left,
                 paintRect.top);
    }
    else
    {
        // Neither buffering nor animation, or no image could be made: straight through a paint buffer.
        COSMBufferDC buffer(dc);
        DrawBar(buffer);
    }
    DropItemsAfterPaint(paintRect);
    m_fullRepaint = FALSE;
}

void COSMCommandBarAnimation::DropItemsAfterPaint(const CRect& paintRect)
{
    for (const auto& item : m_items)
    {
        CRect meet;
        if (!meet.IntersectRect(item->m_rect, paintRect) || meet != item->m_rect)
            ::InvalidateRect(m_bar->GetSafeHwnd(), item->m_rect, FALSE);
    }
    RemoveAll();
}

void COSMCommandBarAnimation::Paint(CDC* target, const CRect& rect)
{
    COSMBufferDC buffer(target->GetSafeHdc(), rect);
    if (buffer.GetSafeHdc())
        ::IntersectClipRect(buffer.GetSafeHdc(), rect.left, rect.top, rect.right, rect.bottom);
    DrawBar(buffer);
}

void COSMCommandBarAnimation::DrawBar(COSMBufferDC& buffer)
{
    // Without a buffer of its own the bar would draw straight into a memory DC that never reaches the target.
    if (buffer.IsBuffered())
        m_bar->DrawCommandBar(&buffer, buffer.GetRect());
}

void COSMCommandBarAnimation::Reset()
{
    m_barImage.DeleteObject();
    RemoveAll();
}

void COSMCommandBarAnimation::RemoveAll()
{
    m_items.clear();
    KillTimer();
}

void COSMCommandBarAnimation::KillTimer()
{
    if (!m_timer)
        return;
    ::KillTimer(m_bar->GetSafeHwnd(), kTimerId);
    m_timer = 0;
}
