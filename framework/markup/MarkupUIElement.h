// COSMMarkupUIElement: the two-pass layout. Measure turns the room a parent offers into a desired size; Arrange
// places the element into a final rectangle. Both skip work when nothing changed since the last pass, and the
// Invalidate operations re-run a pass when a property changes: a changed desired size climbs to the ancestors until
// one keeps its size, which re-arranges and repaints; at the root the markup context hears of it.
//
//   child->Measure(dc, availableWidth, availableHeight);
//   const CSize wanted = child->GetDesiredSize();
//   child->Arrange(x, y, x + wanted.cx, y + wanted.cy);
//
// Visibility: Collapsed takes no room and is neither drawn nor hit (it keeps its old render size and offset);
// Hidden keeps its room but is neither drawn nor hit. No markup tag: an abstract base.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupVisual.h"

class COSMMarkupUIElement : public COSMMarkupVisual
{
    DECLARE_MARKUP_TYPE(COSMMarkupUIElement)

public:
    enum Visibility
    {
        Visible = 0,
        Hidden = 1,
        Collapsed = 2,
    };

    COSMMarkupUIElement() = default;

protected:
    ~COSMMarkupUIElement() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // An element that is not Visible has an empty clip: it is laid out, but neither drawn nor hit.
    BOOL GetLayoutClip(CRect* clip) const override;

    // ---- Override these (in this order, after the visual's) -------------------------------------------------
    // Arranges again into the last final rectangle and repaints; ignored before the first arrange and during one.
    virtual void InvalidateArrange();
    // Asks the markup context to repaint the element; nothing without a context.
    virtual void InvalidateVisual();
    // InvalidateMeasureCore on the markup context's measuring DC (a DC of its own without a context).
    virtual void InvalidateMeasure();
    // Lays the element out in finalRect (parent's coordinates). Here: the render size becomes its size.
    virtual void ArrangeCore(const CRect& finalRect);
    // The size the element wants within the available room. (0, 0) here.
    virtual CSize MeasureCore(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight);
    // Measures again with the last available size: a changed desired size goes to the nearest UI-element ancestor
    // (or, at the root, to the markup context); an unchanged one arranges again and repaints. Ignored while the
    // element measures or is due to measure anyway.
    virtual void InvalidateMeasureCore(COSMMarkupDrawingContext* dc);

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The measure pass; skipped for the same available size unless the element was invalidated.
    void Measure(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight);
    // The arrange pass (measuring first when due); skipped for the same rectangle unless re-measured meanwhile.
    void Arrange(int left, int top, int right, int bottom);
    void Arrange(const RECT& rect) { Arrange(rect.left, rect.top, rect.right, rect.bottom); }

    CSize GetDesiredSize() const { return m_szDesired; }
    CRect GetFinalRect() const { return m_rcFinal; }
    // The nearest logical ancestor that is a UI element, or null.
    COSMMarkupUIElement* GetUIElementParent() const;
    // The Visibility value, Visible when unset.
    Visibility GetVisibility() const;

    // The arrange-dirty flag: set, the next Arrange runs even into the same rectangle (a scroll bar whose range
    // changed). An element that has never been arranged answers TRUE to IsNeverArranged.
    void SetArrangeDirty() { m_bArrangeDirty = true; }
    BOOL IsArrangeDirty() const { return m_bArrangeDirty; }
    BOOL IsNeverArranged() const { return m_bNeverArranged; }

    // ClipToBounds (default false), Visibility (Visible, Hidden, Collapsed; re-measures), Focusable (default False),
    // IsEnabled (default True).
    static COSMMarkupDependencyProperty* s_pClipToBoundsProperty;
    static COSMMarkupDependencyProperty* s_pVisibilityProperty;
    static COSMMarkupDependencyProperty* s_pFocusableProperty;
    static COSMMarkupDependencyProperty* s_pIsEnabledProperty;
    static void RegisterMarkupProperties();

private:
    CSize m_szDesired{0, 0};
    CRect m_rcFinal{0, 0, 0, 0};
    CSize m_szPreviousAvailable{0, 0};
    // Every element of a tree carries these: as bytes after the sizes they take 8 bytes, not 24, and the framework
    // element puts its own flags into the rest.
    bool m_bMeasureForced = false;
    bool m_bMeasureDirty = true;
    bool m_bArrangeDirty = false;
    bool m_bNeverArranged = true;
    bool m_bInArrange = false;
    bool m_bInMeasure = false;
};
