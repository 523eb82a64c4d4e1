// COSMMarkupVisual: the geometry that drawing and hit testing use: the element's offset in its visual parent, its
// render size and the bounding rectangle of itself and all its visual descendants. It renders a subtree into a
// drawing context (parent first, then children by index, so later children draw over earlier ones) and finds the
// element under a point (later children first). Its logical children are its visual children unless a subclass
// says otherwise. No markup tag: an abstract base.
//
// All lengths are whole device pixels in 32-bit integers; 2147483647 is the unbounded length of the layout.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupInputElement.h"

class COSMMarkupDrawingContext;

class COSMMarkupVisual : public COSMMarkupInputElement
{
    DECLARE_MARKUP_TYPE(COSMMarkupVisual)

public:
    COSMMarkupVisual() = default;

protected:
    ~COSMMarkupVisual() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // GetVisualChildrenCount and GetVisualChild.
    int GetLogicalChildrenCount() const override;
    COSMMarkupObject* GetLogicalChild(int index) const override;
    // The point (in the parent's coordinates) within the bounding rectangle and the layout clip: the last visual
    // child that is hit, else InputHitTestCore when the point lies in the render area. Right and bottom edges are
    // outside.
    COSMMarkupInputElement* InputHitTest(int x, int y) override;

    // ---- Override these (in this order, after the input element's) ------------------------------------------
    virtual int GetVisualChildrenCount() const;
    virtual COSMMarkupVisual* GetVisualChild(int index) const;
    // TRUE with the clip, in the element's coordinates, that drawing and hit testing keep to; FALSE for none.
    virtual BOOL GetLayoutClip(CRect* clip) const;
    // Draws the element itself, before its children. Nothing here.
    virtual void OnRender(COSMMarkupDrawingContext* dc);
    // Draws the keyboard-focus cue, after the children, while IsKeyboardFocused is true. Nothing here.
    virtual void OnRenderFocusVisual(COSMMarkupDrawingContext* dc);
    // Whether a point (in the element's coordinates) inside the render area hits the element: itself here.
    virtual COSMMarkupInputElement* InputHitTestCore(int x, int y);

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // Draws the subtree, skipped where it lies outside the context's clip box, kept to the layout clip.
    void Render(COSMMarkupDrawingContext* dc);
    // Recomputes the bounding rectangles of the subtree.
    void UpdateBoundRect();

    CPoint GetVisualOffset() const { return m_ptVisualOffset; }
    CSize GetRenderSize() const { return m_szRenderSize; }
    // (0, 0, render width, render height) united with every visual child's bounding rectangle moved by its offset.
    CRect GetBoundRect() const { return m_rcBound; }

protected:
    // Written by the arrange pass.
    void SetVisualOffset(CPoint offset) { m_ptVisualOffset = offset; }
    void SetRenderSize(CSize size) { m_szRenderSize = size; }

private:
    CPoint m_ptVisualOffset{0, 0};
    CSize m_szRenderSize{0, 0};
    CRect m_rcBound{0, 0, 0, 0};
};
