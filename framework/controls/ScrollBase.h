// COSMScrollBase: a scroll-bar engine without a window of its own. A host takes it as an extra base class and
// answers a few questions (its rectangle, its range, how to scroll, how to redraw, which painter draws it); the
// engine works out the bar's geometry, hit-tests its parts and runs the modal press that drives the arrows, the page
// areas and the thumb, reporting each step to the host as a platform scroll code (SB_LINEUP ... SB_ENDSCROLL):
//
//   class CMyGallery : public COSMControl, public COSMScrollBase { ... answer the pure operations ... };
//   gallery->RecalcScrollBar();                              // after the range or the rectangle changed
//   if (gallery->HitTestScrollBar(point) != COSMScrollBase::kHitNone)
//       gallery->PerformTrackInit(hwnd, point, &gallery->GetScrollBarGeometry(), shiftDown);
//
// The press returns when the button goes up, the window loses the capture or goes, or a WM_QUIT arrives (posted
// again for the application's loop). The geometry is in the coordinates of the window that gets the press.
#pragma once

#include "classlib/Geometry.h"

#include <vector>

class CWnd;
class COSMScrollBarPaintManager;

// Where a bar's parts lie, from its rectangle and its host's SCROLLINFO. "Along" is the bar's axis (y of a
// vertical bar, x of a horizontal one), "across" the other.
struct ScrollBarGeometry
{
    int posMin;
    int posMax;
    int page;
    int pos;
    int pxTop;  // the bar's extent along its axis
    int pxBottom;
    int pxLeft;  // its extent across
    int pxRight;
    int thumbSize;
    int upArrowEnd;      // end of the first arrow, start of the track
    int downArrowStart;  // start of the second arrow, end of the track
    int dragThumbStart;  // the thumb start when a thumb drag began
    int thumbEnd;
    int thumbStart;
    int popupStart;  // the popup part lies beyond it (galleries); 0: no popup part
    int thumbTravel;
    int trackStart;  // the smallest thumb start
    RECT rect;
    int hitPart;  // hot part while idle, pressed part while a press runs
    BOOL vertical;
};

// The press being tracked; made zeroed as it starts, gone as it ends.
struct ScrollBarTrackInfo
{
    BOOL cursorInside;  // the cursor is inside targetRect
    RECT targetRect;    // the part that repeats, or the rectangle the thumb may be dragged in
    int command;        // -1 none, SB_LINEUP ... SB_PAGEDOWN, SB_THUMBPOSITION for a thumb drag
    UINT_PTR timerId;   // the repeat timer; 0 when none runs
    int dragOffset;     // thumb start less the cursor, along the axis
    int lastThumbPx;
    int lastPos;  // the last position reported
    int newPos;
    HWND window;  // the window holding the capture
    BOOL thumbDragging;
    ScrollBarGeometry* geometry;
};

class COSMScrollBase
{
public:
    // Hit-test answers; the hot and pressed parts the painters compare.
    enum HitPart
    {
        kHitNone = 0,          // outside the bar
        kHitFirstArrow = 60,   // up or left
        kHitSecondArrow = 61,  // down or right
        kHitFirstPage = 62,    // between the first arrow and the thumb
        kHitSecondPage = 63,   // between the thumb and the second arrow
        kHitThumb = 64,
        kHitPopup = 65,   // beyond popupStart (galleries)
        kHitNoPart = -2,  // inside the bar, on no part
    };
    // The repeat timer the engine sets on the window, and the host's animation timer it serves while it runs.
    static constexpr UINT_PTR kAutoRepeatTimerId = 23345;
    static constexpr UINT_PTR kAnimationTimerId = 23346;
    // The looks GetScrollBarStyle answers: drawn by the platform's frame controls, flat (the default theme), through
    // the visual style, through a theme's images (the Office 2007 painters).
    enum Style
    {
        kStyleClassic = 1,
        kStyleFlat = 2,
        kStyleVisual = 3,
        kStyleThemed = 5,
    };

    COSMScrollBase();
    virtual ~COSMScrollBase();
    COSMScrollBase(const COSMScrollBase&) = delete;
    COSMScrollBase& operator=(const COSMScrollBase&) = delete;

    // ---- Override these ----------------------------------------------------------------------------------------
    virtual BOOL IsScrollBarEnabled() = 0;
    // The window the bar belongs to: its parent gives the page areas' brush.
    virtual CWnd* GetParentWindow() = 0;
    // The host's animation timer (kAnimationTimerId), served inside the press and while the animation flag is set.
    virtual void OnScrollAnimationTimer() {}
    virtual void GetScrollInfo(SCROLLINFO* info) = 0;
    virtual void GetScrollBarRect(RECT* rect) = 0;
    // command: SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBPOSITION, SB_THUMBTRACK or SB_ENDSCROLL.
    virtual void DoScroll(int command, int pos) = 0;
    virtual void RedrawScrollBar() = 0;
    // The standard geometry; a host with other parts (a gallery's popup button) may replace it.
    virtual void CalcScrollBarInfo(const RECT* rect, ScrollBarGeometry* geometry, const SCROLLINFO* info);
    // The painter that draws the bar and gives its metrics (arrow lengths, fixed thumb).
    virtual COSMScrollBarPaintManager* GetScrollBarPaintManager() = 0;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The geometry from the host's rectangle and SCROLLINFO.
    void RecalcScrollBar();
    int HitTestScrollBar(CPoint point) const;
    // Tracks a press at point (window client coordinates) until it is over; pageJump (Shift) turns a press on a
    // page area into a drag of the thumb centred under the cursor.
    void PerformTrackInit(HWND window, CPoint point, ScrollBarGeometry* geometry, BOOL pageJump);
    // The explicit style when one is set; else by the theme of the paint manager that owns the painter: 5 for
    // themes 5 and 6, 3 for any other theme but 0, 2 for theme 0.
    int GetScrollBarStyle();
    // 0 lets the theme choose.
    void SetScrollBarStyle(int style) { m_explicitStyle = style; }

    // Tick marks in range units, which the slider painter draws; none by default.
    void SetTicks(const double* ticks, int count);
    const std::vector<double>& GetTicks() const { return m_ticks; }

    // While the host's animation runs, a finished press keeps serving its timer (kAnimationTimerId) until the
    // flag clears.
    void SetScrollAnimating(BOOL animating) { m_animating = animating; }
    BOOL IsScrollAnimating() const { return m_animating; }

    ScrollBarGeometry& GetScrollBarGeometry() { return m_geometry; }
    const ScrollBarGeometry& GetScrollBarGeometry() const { return m_geometry; }
    // The press being tracked; null while idle.
    const ScrollBarTrackInfo* GetScrollBarTrackInfo() const { return m_track; }
    // The repeat interval the running press set last (ms).
    UINT GetAutoRepeatInterval() const { return m_repeatInterval; }

protected:
    ScrollBarGeometry m_geometry{};
    ScrollBarTrackInfo* m_track = nullptr;
    int m_explicitStyle = 0;
    BOOL m_animating = FALSE;
    UINT m_repeatInterval = 0;
    std::vector<double> m_ticks;

private:
    // The painter's fixed thumb length; 0 for a proportional thumb.
    int GetFixedThumbLength();
    void RunTrackLoop(ScrollBarTrackInfo& track);
    void WaitForAnimation(HWND window);
    void OnAutoRepeat(UINT message, CPoint point);
    void OnAutoRepeatTimer();
    void OnThumbMove(UINT message, WPARAM keys, CPoint point);
    void PlaceThumb(int pixel);
    void EndTrack(BOOL restore);
};
