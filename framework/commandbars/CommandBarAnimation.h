// COSMCommandBarAnimation: each bar's painting helper. The bar's WM_PAINT draws through it, and every partial
// redraw (COSMCommandBar::Redraw) goes through RedrawRect. Here it invalidates and paints through a paint buffer;
// the cached bar image and the cross-fading steps on timer 707907 come with the controls' animation.
#pragma once

#include "framework/foundation/BufferDC.h"

class COSMCommandBar;
class CPaintDC;

class COSMCommandBarAnimation
{
public:
    static constexpr UINT_PTR kTimerId = 707907;

    explicit COSMCommandBarAnimation(COSMCommandBar* bar);
    ~COSMCommandBarAnimation();
    COSMCommandBarAnimation(const COSMCommandBarAnimation&) = delete;
    COSMCommandBarAnimation& operator=(const COSMCommandBarAnimation&) = delete;

    // Invalidates the rectangle (null: the whole bar) without erasing.
    void RedrawRect(const RECT* rect, BOOL animate);
    // The bar's WM_PAINT: the bar draws itself through a paint buffer over the paint rectangle.
    void OnPaint(CPaintDC& dc);
    // The same onto any target: the bar's drawing of rect reaches the target in one copy.
    void Paint(CDC* target, const CRect& rect);
    // One animation step; with nothing to animate the timer stops.
    void OnAnimationTimer();
    // Drops what is cached and animating.
    void Reset();
    // Removes the animated items and stops the timer.
    void RemoveAll();

    BOOL IsAnimationEnabled() const { return m_animationEnabled; }
    void SetAnimationEnabled(BOOL enabled) { m_animationEnabled = enabled; }
    // Keeps painting buffered even when animation is off.
    BOOL IsBufferingEnabled() const { return m_bufferingEnabled; }
    void SetBufferingEnabled(BOOL enabled) { m_bufferingEnabled = enabled; }
    // The running timer (SetTimer's value), 0 when none.
    UINT_PTR GetTimer() const { return m_timer; }
    void SetTimer(UINT_PTR timer) { m_timer = timer; }

private:
    void DrawBar(COSMBufferDC& buffer);
    void KillTimer();

    COSMCommandBar* m_bar;
    UINT_PTR m_timer = 0;
    BOOL m_animationEnabled = FALSE;
    BOOL m_bufferingEnabled = FALSE;
};
