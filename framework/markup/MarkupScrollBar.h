// COSMMarkupScrollBar: the self-drawn bar a scroll viewer shows beside its content (no markup tag). It behaves like
// the platform's scroll bar: two arrows, two page areas and a thumb; a press runs a modal tracking loop on the host
// window until the button goes up, repeating arrows and page areas on timer 63345 and dragging the thumb. What the
// user does goes to the viewer as the platform's scroll codes (SB_LINEUP ... SB_ENDSCROLL).
//
//   SCROLLINFO info = {sizeof(info), SIF_ALL, 0, 299, 100, 0};
//   bar->SetScrollInfo(info);            // the viewer does this at each arrange
//   bar->Arrange(0, 0, 17, 100);
//   bar->HitTest(8, 50);                 // 63: the lower page area
//
// The loop holds a reference on the bar and ends when the bar leaves its viewer, loses the capture, or the host
// window goes, so a handler it dispatches may change the content or destroy the window.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupControl.h"

#include <memory>

class COSMVisualStyleWrapper;

class COSMMarkupScrollBar : public COSMMarkupControl
{
    DECLARE_MARKUP_TYPE(COSMMarkupScrollBar)

public:
    // Hit-test answers.
    enum Part
    {
        PartNone = 0,
        PartFirstArrow = 60,   // up or left
        PartSecondArrow = 61,  // down or right
        PartFirstPage = 62,    // between the first arrow and the thumb
        PartSecondPage = 63,   // between the thumb and the second arrow
        PartThumb = 64,
    };
    enum Orientation
    {
        Horizontal = 0,
        Vertical = 1,
    };
    // The repeat timer's id on the host window.
    static constexpr UINT_PTR RepeatTimerId = 63345;

    // Where the parts lie along the bar after the last arrange, in element coordinates.
    struct PositionRecord
    {
        int minimum = 0;
        int maximum = 0;
        int page = 0;
        int position = 0;
        int trackStart = 0;
        int trackEnd = 0;
        int crossStart = 0;
        int crossEnd = 0;
        int thumbLength = 0;
        int firstArrowEnd = 0;
        int secondArrowStart = 0;
        int dragThumbStart = 0;  // the thumb start when a drag began
        int thumbEnd = 0;
        int thumbStart = 0;
        int reserved = 0;
        int usableLength = 0;  // how far the thumb can travel
        int trackMinimum = 0;  // where the thumb's travel begins
        CRect bar{0, 0, 0, 0};
        int hotPart = PartNone;  // under the mouse; while tracking, where tracking started
        BOOL vertical = FALSE;
    };

    COSMMarkupScrollBar();

protected:
    // Frees a tracking record left behind.
    ~COSMMarkupScrollBar() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // Clears the hot part (repainting), then leaves as any element does.
    void OnMouseLeave(COSMMarkupMouseEventArgs* args) override;
    // The part under the mouse becomes the hot part (repainting when it changed); handled.
    void OnMouseMove(COSMMarkupMouseEventArgs* args) override;
    // Handled; an enabled bar tracks the press (Shift: the thumb jumps to the mouse on a page area).
    void OnMouseLeftButtonDown(COSMMarkupMouseEventArgs* args) override;
    // Arrows, page areas and thumb, themed through the "SCROLLBAR" visual style when it is on, else classic.
    void OnRender(COSMMarkupDrawingContext* dc) override;
    // The system's bar width across (vertical) or bar height (horizontal); nothing along.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    // Lays the parts out in (0, 0, width, height); the size given.
    CSize ArrangeOverride(int width, int height) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The range the viewer gives: nothing happens when maximum, page and position are unchanged; otherwise the
    // whole record is kept and the next arrange lays the parts out again.
    void SetScrollInfo(const SCROLLINFO& info);
    void GetScrollInfo(SCROLLINFO* info) const;
    // There is range beyond one page.
    BOOL IsEnabled() const;
    // The part at (x, y) in element coordinates; PartNone outside or on a disabled bar.
    int HitTest(int x, int y) const;
    // Hands the code to the scroll viewer that is the logical parent, if any.
    void SendScroll(int code, int position);
    // Tracks a press at point (element coordinates) in a modal loop until it ends; direct: a page area drags the
    // thumb centred under the mouse.
    void TrackScrollBar(CPoint point, BOOL direct);
    // The scroll position for a thumb start pixel.
    int PosFromPixel(int pixel) const;

    void SetOrientation(Orientation orientation) { m_orientation = orientation; }
    Orientation GetOrientation() const { return m_orientation; }
    const PositionRecord& GetPositionRecord() const { return m_pos; }
    int GetHotPart() const { return m_pos.hotPart; }
    // A tracking loop runs.
    BOOL IsTracking() const { return m_pTracking != nullptr; }

    // ---- For the scroll viewer's own use --------------------------------------------------------------------
    // The bar leaves its viewer: it forgets the viewer and a tracking loop ends at its next message.
    void OnLeaveViewer();

private:
    struct Tracking;

    // Computes the position record for rect.
    void CalcScrollBarInfo(const CRect& rect);
    // The rectangle within which a dragged thumb follows the mouse.
    CRect CalcTrackDragRect() const;
    // The rectangle of a part, across the whole bar.
    CRect PartRect(int start, int end) const;
    // The part at p along the bar, on an enabled bar inside its rectangle.
    int PartAlong(int p) const;
    // Along-the-bar coordinate of point.
    int Along(CPoint point) const { return m_pos.vertical ? point.y : point.x; }
    // Client coordinates of the host window to this element's.
    CPoint ToElement(CPoint client) const;
    // The tracking loop's message handling.
    void TrackButton(UINT message, WPARAM wParam, CPoint point);
    void TrackThumb(UINT message, WPARAM wParam, CPoint point);
    void MoveThumb(int pixel);
    void OnRepeatTimer();
    // Follows the thumb edge for page areas and updates the pressed look; TRUE when the mouse is inside.
    BOOL UpdatePressed(CPoint point);
    void EndScroll();
    void RunTrackingLoop();
    BOOL ShouldTrack() const;
    void DrawThemed(HDC dc, COSMVisualStyleWrapper& style, const CRect* rects, int pressed, int hot);
    void DrawClassic(HDC dc, const CRect* rects, int pressed);

    Orientation m_orientation = Vertical;
    PositionRecord m_pos;
    std::unique_ptr<Tracking> m_pTracking;
    SCROLLINFO m_info;
};
