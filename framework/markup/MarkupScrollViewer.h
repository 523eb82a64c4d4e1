// COSMMarkupScrollViewer (tag "ScrollViewer"): shows its content through a viewport moved by two offsets, with a
// vertical and a horizontal scroll bar and the corner gripper as its own visual children when the content does not
// fit. The bars report scroll codes back to Scroll; the next arrange gives them the range again. Being a content
// control, it takes text as content too: the text shows in a text block.
//
//   <ScrollViewer VerticalScrollBarVisibility="Auto" HorizontalScrollBarVisibility="Auto">
//     <StackPanel>...</StackPanel>
//   </ScrollViewer>
//
// Visibilities: "Disabled", "Auto", "Visible" (any case). An unset vertical one counts as Visible, an unset
// horizontal one as Disabled. The wheel moves 48 pixels a notch. Offsets are pixels, never below 0.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupScrollBar.h"
#include "framework/markup/MarkupContentControl.h"

class COSMMarkupScrollBarGripper;

class COSMMarkupScrollViewer : public COSMMarkupContentControl
{
    DECLARE_MARKUP_TYPE(COSMMarkupScrollViewer)

public:
    enum ScrollBarVisibility
    {
        Disabled = 0,
        Auto = 1,
        Visible = 2,
    };
    // How far one line code moves, and one wheel event.
    static constexpr int LineStep = 16;
    static constexpr int WheelStep = 48;

    // ClipToBounds is set True as a local value.
    COSMMarkupScrollViewer();

protected:
    // The bars leave the viewer (ending any tracking) and are released with the gripper.
    ~COSMMarkupScrollViewer() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // Content, vertical bar, horizontal bar, gripper: those that exist, in this order.
    int GetVisualChildrenCount() const override;
    COSMMarkupVisual* GetVisualChild(int index) const override;
    // A negative delta scrolls down 48 pixels, a positive one up; handled.
    void OnMouseWheel(COSMMarkupMouseWheelEventArgs* args) override;
    // Decides the bars (creating and releasing them) and measures the content in what room they leave.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    // Pulls back offsets past the content, gives the bars their range and places bars, gripper and content.
    CSize ArrangeOverride(int width, int height) override;

    // ---- Override these (after the content control's) ------------------------------------------------------
    // A scroll code (SB_LINEUP ... SB_BOTTOM) for the bar of that direction; nothing without that bar. Codes that
    // move nothing (SB_ENDSCROLL) are heard here too.
    virtual void Scroll(BOOL vertical, int code, int position);

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    int GetOffset(BOOL vertical) const { return vertical ? m_nVerticalOffset : m_nHorizontalOffset; }
    // The bar's maximum less its page (less one); 0 without a bar.
    int GetMaxOffset(BOOL vertical) const;
    // Limited to the maximum offset while the layout is up to date, never below 0; a change re-arranges.
    void SetOffset(BOOL vertical, int value);

    // The parts that exist now (borrowed), or null.
    COSMMarkupScrollBar* GetScrollBar(BOOL vertical) const { return vertical ? m_pVerticalBar : m_pHorizontalBar; }
    COSMMarkupScrollBarGripper* GetGripper() const { return m_pGripper; }
    ScrollBarVisibility GetVerticalScrollBarVisibility() const;
    ScrollBarVisibility GetHorizontalScrollBarVisibility() const;

    // VerticalScrollBarVisibility, HorizontalScrollBarVisibility (enums, no default; re-measure).
    static COSMMarkupDependencyProperty* s_pVerticalScrollBarVisibilityProperty;
    static COSMMarkupDependencyProperty* s_pHorizontalScrollBarVisibilityProperty;
    static void RegisterMarkupProperties();

private:
    // Not visible: drops the bar of that direction. Visible: makes it when missing, measures it with the viewer's
    // room and takes its thickness off the content's room across it (*contentRoom) when that is bounded.
    void PlaceBar(BOOL vertical, BOOL visible, COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight,
                  int* contentRoom);
    // Lets the bar of that direction go and forgets its offset.
    void DropBar(BOOL vertical);
    void UpdateGripper();
    COSMMarkupObject* CreatePart(COSMMarkupType* type);

    COSMMarkupScrollBar* m_pVerticalBar = nullptr;
    COSMMarkupScrollBar* m_pHorizontalBar = nullptr;
    COSMMarkupScrollBarGripper* m_pGripper = nullptr;
    int m_nHorizontalOffset = 0;
    int m_nVerticalOffset = 0;
};
