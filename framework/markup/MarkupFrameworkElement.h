// COSMMarkupFrameworkElement (tag "FrameworkElement"): the layout properties every markup element has (Margin, the
// two alignments, Width, Height and their minima and maxima) and the simpler passes subclasses write instead of the
// UI element's: MeasureOverride (what size does my content want in this room) and ArrangeOverride (lay my content
// out in this size). The framework element takes the margin off, keeps the size within its limits, aligns the
// result in its layout slot and works out when the element must be clipped to that slot. A property change
// re-measures, re-arranges or repaints as its metadata says.
//
//   class CSwatch : public COSMMarkupFrameworkElement
//   {
//       CSize MeasureOverride(COSMMarkupDrawingContext*, int, int) override { return CSize(16, 16); }
//   };
//
// Sums of margins and sizes saturate at the 32-bit limits; 2147483647 ("Auto") is no size given.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupUIElement.h"

class COSMMarkupThickness;

class COSMMarkupFrameworkElement : public COSMMarkupUIElement
{
    DECLARE_MARKUP_TYPE(COSMMarkupFrameworkElement)

public:
    enum Alignment
    {
        AlignLeft = 0,  // Top for the vertical alignment
        AlignCenter = 1,
        AlignRight = 2,  // Bottom for the vertical alignment
        AlignStretch = 3,
    };

    COSMMarkupFrameworkElement() = default;

protected:
    ~COSMMarkupFrameworkElement() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // The change callback, the style's triggers, then by the metadata's flags: InvalidateMeasure (affects
    // measure), InvalidateArrange (affects arrange), InvalidateVisual (affects render).
    void OnPropertyChanged(COSMMarkupDependencyProperty* property, COSMMarkupObject* oldValue,
                           COSMMarkupObject* newValue) override;
    // Hidden and collapsed elements clip everything; otherwise the element clips to its limits and its slot
    // when ClipToBounds is set or its content did not fit.
    BOOL GetLayoutClip(CRect* clip) const override;
    void ArrangeCore(const CRect& finalRect) override;
    CSize MeasureCore(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;

    // ---- Override these (in this order, after the UI element's) ---------------------------------------------
    // The size the content wants within (availableWidth, availableHeight), margin already taken off. (0, 0) here.
    virtual CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight);
    // Lays the content out in (width, height) and answers the size used, which becomes the render size. The size
    // given, here.
    virtual CSize ArrangeOverride(int width, int height);

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The property values; Stretch when unset.
    Alignment GetHorizontalAlignment() const;
    Alignment GetVerticalAlignment() const;
    BOOL GetClipToBounds() const;
    // The Margin value (borrowed), or null.
    const COSMMarkupThickness* GetMargin() const;

    // The size limits of the last measure: (minimum width, minimum height) and (maximum width, maximum height).
    CSize GetMinimumSize() const { return CSize(m_nMinWidth, m_nMinHeight); }
    CSize GetMaximumSize() const { return CSize(m_nMaxWidth, m_nMaxHeight); }
    // Set when the content did not fit the slot or the limits at the last measure or arrange.
    BOOL NeedsClip() const { return m_bNeedsClip; }
    // The desired size before the limits and the available room cut it, kept when they did.
    BOOL HasUnclippedDesiredSize() const { return m_bHasUnclippedSize; }
    CSize GetUnclippedDesiredSize() const { return m_szUnclipped; }

    // Margin, HorizontalAlignment, VerticalAlignment, Width, Height, MinWidth, MinHeight, MaxWidth, MaxHeight (in
    // this order), Tag (any object).
    static COSMMarkupDependencyProperty* s_pMarginProperty;
    static COSMMarkupDependencyProperty* s_pHorizontalAlignmentProperty;
    static COSMMarkupDependencyProperty* s_pVerticalAlignmentProperty;
    static COSMMarkupDependencyProperty* s_pWidthProperty;
    static COSMMarkupDependencyProperty* s_pHeightProperty;
    static COSMMarkupDependencyProperty* s_pMinWidthProperty;
    static COSMMarkupDependencyProperty* s_pMinHeightProperty;
    static COSMMarkupDependencyProperty* s_pMaxWidthProperty;
    static COSMMarkupDependencyProperty* s_pMaxHeightProperty;
    static COSMMarkupDependencyProperty* s_pTagProperty;
    static void RegisterMarkupProperties();

protected:
    // Where content of the ink size sits in a client area: centred (the halved difference truncating toward 0),
    // right or bottom aligned, or at 0; stretched content larger than the client area sits at 0.
    CPoint ComputeAlignmentOffset(int clientWidth, int clientHeight, int inkWidth, int inkHeight) const;

private:
    // The limits from Width, Height and their minima and maxima; an explicit size fixes both limits unless a limit
    // overrules it, and a minimum beats a maximum.
    void UpdateSizeLimits();
    // The margin's left + right and top + bottom.
    CSize GetMarginSums() const;

    // First, so that they fill the room the UI element's flags leave.
    bool m_bNeedsClip = false;
    bool m_bHasUnclippedSize = false;
    CSize m_szUnclipped{0, 0};
    int m_nMaxHeight = INT_MAX;
    int m_nMinHeight = 0;
    int m_nMaxWidth = INT_MAX;
    int m_nMinWidth = 0;
};
