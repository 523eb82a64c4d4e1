#include "framework/markup/MarkupVisual.h"

#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupVisual, COSMMarkupInputElement, nullptr, nullptr)

COSMMarkupVisual::~COSMMarkupVisual() = default;

int COSMMarkupVisual::GetLogicalChildrenCount() const
{
    return GetVisualChildrenCount();
}

COSMMarkupObject* COSMMarkupVisual::GetLogicalChild(int index) const
{
    return GetVisualChild(index);
}

int COSMMarkupVisual::GetVisualChildrenCount() const
{
    return 0;
}

COSMMarkupVisual* COSMMarkupVisual::GetVisualChild(int index) const
{
    return nullptr;
}

BOOL COSMMarkupVisual::GetLayoutClip(CRect* clip) const
{
    return FALSE;
}

void COSMMarkupVisual::OnRender(COSMMarkupDrawingContext* dc) {}

void COSMMarkupVisual::OnRenderFocusVisual(COSMMarkupDrawingContext* dc) {}

COSMMarkupInputElement* COSMMarkupVisual::InputHitTestCore(int x, int y)
{
    return this;
}

void COSMMarkupVisual::Render(COSMMarkupDrawingContext* dc)
{
    if (!dc)
        return;
    const CPoint offset = m_ptVisualOffset;
    const CRect clipBox =
        OffsetMarkupRect(dc->GetClipBox(), SubtractMarkupLengths(0, offset.x), SubtractMarkupLengths(0, offset.y));
    CRect visible;
    if (!visible.IntersectRect(&clipBox, &m_rcBound))
        return;
    CRect layoutClip;
    const BOOL clipped = GetLayoutClip(&layoutClip);
    if (clipped)
    {
        if (layoutClip.IsRectEmpty())
            return;
        visible &= layoutClip;
        CRect drawn;
        if (!drawn.IntersectRect(&m_rcBound, &visible))
            return;
    }

    dc->OffsetViewport(offset);
    HRGN savedClip = nullptr;
    if (clipped)
    {
        savedClip = dc->SaveClipRegion();
        dc->IntersectClipRect(&layoutClip);
    }
    OnRender(dc);
    const int count = GetVisualChildrenCount();
    for (int i = 0; i < count; ++i)
    {
        if (COSMMarkupVisual* child = GetVisualChild(i))
            child->Render(dc);
    }
    const COSMMarkupBool* focused = MarkupDynamicCast<COSMMarkupBool>(GetValue(s_pIsKeyboardFocusedProperty));
    if (focused && focused->GetValue())
        OnRenderFocusVisual(dc);
    if (clipped)
        dc->RestoreClipRegion(savedClip);
    dc->OffsetViewport(CPoint(SubtractMarkupLengths(0, offset.x), SubtractMarkupLengths(0, offset.y)));
}

COSMMarkupInputElement* COSMMarkupVisual::InputHitTest(int x, int y)
{
    const CPoint local(SubtractMarkupLengths(x, m_ptVisualOffset.x), SubtractMarkupLengths(y, m_ptVisualOffset.y));
    if (!m_rcBound.PtInRect(local))
        return nullptr;
    CRect layoutClip;
    if (GetLayoutClip(&layoutClip) && !layoutClip.PtInRect(local))
        return nullptr;
    for (int i = GetVisualChildrenCount() - 1; i >= 0; --i)
    {
        COSMMarkupVisual* child = GetVisualChild(i);
        if (COSMMarkupInputElement* hit = child ? child->InputHitTest(local.x, local.y) : nullptr)
            return hit;
    }
    if (CRect(0, 0, m_szRenderSize.cx, m_szRenderSize.cy).PtInRect(local))
        return InputHitTestCore(local.x, local.y);
    return nullptr;
}

void COSMMarkupVisual::UpdateBoundRect()
{
    m_rcBound.SetRect(0, 0, m_szRenderSize.cx, m_szRenderSize.cy);
    const int count = GetVisualChildrenCount();
    for (int i = 0; i < count; ++i)
    {
        COSMMarkupVisual* child = GetVisualChild(i);
        if (!child)
            continue;
        child->UpdateBoundRect();
        const CRect childBound =
            OffsetMarkupRect(child->m_rcBound, child->m_ptVisualOffset.x, child->m_ptVisualOffset.y);
        m_rcBound |= childBound;
    }
}
