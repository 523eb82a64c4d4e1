// COSMCommandBarAnimation: each bar's painting helper. It keeps an off-screen image of the whole bar, redraws
// changed areas into it, and, while animation is on, cross-fades each changed area from its old look to its new
// one in six steps on timer 707907 (50 ms apart) instead of switching at once. The bar's WM_PAINT goes through
// OnPaint, every partial redraw (COSMCommandBar::Redraw) through RedrawRect, and the bar forwards the timer.
//
//   bar.EnableAnimation(TRUE);               // or the paint manager's m_commandBarAnimation
//   control->SetSelected(0);                 // RedrawParent(TRUE): the control's rectangle fades to its new look
//
// COSMCommandBarAnimationItem is one running fade: the area's old and new pixels, its rectangle, the step it shows
// next, and the rectangles newer redraws took over (the item no longer paints there).
#pragma once

#include "framework/foundation/BufferDC.h"

#include <memory>
#include <vector>

class COSMCommandBar;
class CPaintDC;

// Blends two images byte by byte, the alpha byte included: dest = (a * (255 - alpha) + b * alpha) >> 8 over
// width x height 32-bit pixels. alpha 0 gives a (almost: 255 becomes 254), 255 gives b (the same).
void AlphaBlendBits(LPBYTE dest, const BYTE* a, int width, int height, const BYTE* b, int alpha);

class COSMCommandBarAnimationItem
{
public:
    explicit COSMCommandBarAnimationItem(const CRect& rect) : m_rect(rect) {}
    COSMCommandBarAnimationItem(const COSMCommandBarAnimationItem&) = delete;
    COSMCommandBarAnimationItem& operator=(const COSMCommandBarAnimationItem&) = delete;

    // The area in the bar's client coordinates.
    const CRect& GetRect() const { return m_rect; }
    // The step the next frame shows: 1 to 5 blend, 6 puts the bar image back; past 6 the item is done.
    int GetStep() const { return m_step; }
    // Rectangles newer redraws painted without animation: the item leaves them alone.
    const std::vector<CRect>& GetClipRects() const { return m_clipRects; }
    // The area's pixels before and after the change: 32-bit, bottom-up, the rectangle's size.
    const BYTE* GetOldBits() const { return m_oldBits; }
    const BYTE* GetNewBits() const { return m_newBits; }
    // TRUE when the change left every byte as it was.
    BOOL IsUnchanged() const;

private:
    friend class COSMCommandBarAnimation;

    CBitmap m_oldImage;
    LPBYTE m_oldBits = nullptr;
    CBitmap m_newImage;
    LPBYTE m_newBits = nullptr;
    CRect m_rect;
    int m_step = 1;
    std::vector<CRect> m_clipRects;
};

class COSMCommandBarAnimation
{
public:
    static constexpr UINT_PTR kTimerId = 707907;
    static constexpr UINT kTimerElapse = 50;
    // Frames 1 to 5 blend; frame 6 shows the final image.
    static constexpr int kLastStep = 6;

    // Makes a 32-bit DIB section (CreateAlphaDIBSection's shape); tests replace it to see a failure.
    using DibSectionMaker = HBITMAP (*)(HDC hDC, int cx, int cy, void** ppBits);

    explicit COSMCommandBarAnimation(COSMCommandBar* bar);
    ~COSMCommandBarAnimation();
    COSMCommandBarAnimation(const COSMCommandBarAnimation&) = delete;
    COSMCommandBarAnimation& operator=(const COSMCommandBarAnimation&) = delete;

    // Redraws the rectangle (null: the whole bar). With a bar image and animation active the area is drawn into
    // the image at once; animate fades the screen to it, otherwise it is copied to the screen. Without an image,
    // or when animation is off, the area is only invalidated. The rectangle is clipped to the client area first:
    // nothing is left, nothing happens.
    void RedrawRect(const RECT* rect, BOOL animate);
    // The bar's WM_PAINT: from the bar image when one is kept (buffering or animation), else through a paint
    // buffer over the paint rectangle.
    void OnPaint(CPaintDC& dc);
    // The bar's drawing of rect onto any target in one copy.
    void Paint(CDC* target, const CRect& rect);
    // One frame of every running fade; with none left the timer stops.
    void OnAnimationTimer();
    // Frees the bar image and removes every fade.
    void Reset();
    // Removes every fade and stops the timer.
    void RemoveAll();

    // The bar's switch or the paint manager's command-bar animation flag.
    BOOL IsAnimationActive() const;
    BOOL IsAnimationEnabled() const { return m_animationEnabled; }
    void SetAnimationEnabled(BOOL enabled) { m_animationEnabled = enabled; }
    // Keeps the bar image in use even when animation is off.
    BOOL IsBufferingEnabled() const { return m_bufferingEnabled; }
    void SetBufferingEnabled(BOOL enabled) { m_bufferingEnabled = enabled; }
    // The running timer (SetTimer's value), 0 when none.
    UINT_PTR GetTimer() const { return m_timer; }
    void SetTimer(UINT_PTR timer) { m_timer = timer; }

    // The off-screen image of the bar (null until a buffered paint made it).
    HBITMAP GetBarImage() const { return static_cast<HBITMAP>(m_barImage.GetSafeHandle()); }
    // TRUE while some area was invalidated instead of drawn into the image: the next paint draws afresh.
    BOOL IsFullRepaintPending() const { return m_fullRepaint; }
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    const COSMCommandBarAnimationItem* GetItem(int index) const { return m_items.at(index).get(); }
    void SetDibSectionMaker(DibSectionMaker maker) { m_makeDibSection = maker; }

private:
    void DrawBar(COSMBufferDC& buffer);
    // The client rectangle, empty without a window.
    CRect GetClientRect() const;
    void FreeBarImageOfOtherSize(const CRect& client);
    void InvalidateForPaint(const RECT* rect);
    void AddItem(CDC* dc, std::unique_ptr<COSMCommandBarAnimationItem> item);
    void RemoveCovered(const CRect& rect, BOOL clip);
    void DrawItemStep(CDC* dc, COSMCommandBarAnimationItem* item);
    // Removes the fades a paint of paintRect ends; those reaching beyond it are invalidated there, so that no area
    // stays on a half-blended frame.
    void DropItemsAfterPaint(const CRect& paintRect);
    void KillTimer();

    COSMCommandBar* m_bar;
    CBitmap m_barImage;
    BOOL m_fullRepaint = FALSE;
    UINT_PTR m_timer = 0;
    BOOL m_animationEnabled = FALSE;
    BOOL m_bufferingEnabled = FALSE;
    std::vector<std::unique_ptr<COSMCommandBarAnimationItem>> m_items;
    DibSectionMaker m_makeDibSection;
};
