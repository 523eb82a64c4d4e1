#include "framework/markup/MarkupUIElement.h"

#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupConverters.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupUIElement, COSMMarkupVisual, nullptr, &COSMMarkupUIElement::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupUIElement::s_pClipToBoundsProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupUIElement::s_pVisibilityProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupUIElement::s_pFocusableProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupUIElement::s_pIsEnabledProperty = nullptr;

void COSMMarkupUIElement::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    s_pClipToBoundsProperty =
        COSMMarkupDependencyProperty::Register(L"ClipToBounds", COSMMarkupBool::GetClassType(), type);
    s_pVisibilityProperty = COSMMarkupDependencyProperty::Register(
        L"Visibility", COSMMarkupEnum::GetClassType(), type,
        new COSMMarkupPropertyMetadata(nullptr, ConvertVisibility, COSMMarkupPropertyMetadata::AffectsMeasure));
    s_pFocusableProperty =
        COSMMarkupDependencyProperty::Register(L"Focusable", COSMMarkupBool::GetClassType(), type,
                                               new COSMMarkupPropertyMetadata(COSMMarkupBool::CreateFalseValue(), 0));
    s_pIsEnabledProperty =
        COSMMarkupDependencyProperty::Register(L"IsEnabled", COSMMarkupBool::GetClassType(), type,
                                               new COSMMarkupPropertyMetadata(COSMMarkupBool::CreateTrueValue(), 0));
}

COSMMarkupUIElement::~COSMMarkupUIElement() = default;

COSMMarkupUIElement::Visibility COSMMarkupUIElement::GetVisibility() const
{
    const COSMMarkupEnum* visibility = MarkupDynamicCast<COSMMarkupEnum>(GetValue(s_pVisibilityProperty));
    return visibility ? static_cast<Visibility>(visibility->GetValue()) : Visible;
}

BOOL COSMMarkupUIElement::GetLayoutClip(CRect* clip) const
{
    if (GetVisibility() == Visible)
        return FALSE;
    clip->SetRectEmpty();
    return TRUE;
}

COSMMarkupUIElement* COSMMarkupUIElement::GetUIElementParent() const
{
    for (COSMMarkupObject* ancestor = GetLogicalParent(); ancestor; ancestor = ancestor->GetLogicalParent())
    {
        if (COSMMarkupUIElement* element = MarkupDynamicCast<COSMMarkupUIElement>(ancestor))
            return element;
    }
    return nullptr;
}

void COSMMarkupUIElement::Measure(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    const CSize available(availableWidth, availableHeight);
    if (GetVisibility() == Collapsed)
    {
        // Forced: whatever the next available size, the element measures afresh once it shows again.
        m_bMeasureForced = true;
        m_bMeasureDirty = false;
        m_szPreviousAvailable = available;
        m_szDesired = CSize(0, 0);
        return;
    }
    const BOOL bypassCache = dc && dc->BypassLayoutCache();
    if (!m_bMeasureForced && !m_bMeasureDirty && available == m_szPreviousAvailable && !bypassCache)
        return;
    m_bMeasureDirty = false;
    m_bArrangeDirty = true;
    m_bInMeasure = true;
    m_szDesired = MeasureCore(dc, availableWidth, availableHeight);
    m_bInMeasure = false;
    m_szPreviousAvailable = available;
    m_bMeasureForced = dc && dc->BypassLayoutCache();
}

void COSMMarkupUIElement::Arrange(int left, int top, int right, int bottom)
{
    const CRect rect(left, top, right, bottom);
    if (GetVisibility() == Collapsed)
    {
        m_rcFinal = rect;
        m_bArrangeDirty = false;
        m_bNeverArranged = false;
        return;
    }
    if (m_bMeasureDirty)
    {
        COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext, GetMarkupContext());
        Measure(&measuring, SubtractMarkupLengths(right, left), SubtractMarkupLengths(bottom, top));
    }
    if (m_bArrangeDirty || m_bNeverArranged || rect != m_rcFinal)
    {
        m_bNeverArranged = false;
        m_bInArrange = true;
        ArrangeCore(rect);
        m_bInArrange = false;
        UpdateBoundRect();
    }
    m_rcFinal = rect;
    m_bArrangeDirty = false;
}

void COSMMarkupUIElement::InvalidateArrange()
{
    if (m_bInArrange || m_bNeverArranged)
        return;
    m_bArrangeDirty = true;
    Arrange(m_rcFinal);
    InvalidateVisual();
}

void COSMMarkupUIElement::InvalidateVisual()
{
    if (COSMMarkupContext* context = GetMarkupContext())
        context->InvalidateVisual(this);
}

void COSMMarkupUIElement::InvalidateMeasure()
{
    // An element still waiting for its measure (every element while a parse builds it) has nothing to redo: no
    // measuring context, whose DC calls cost more than the rest of a property change, for it.
    if (m_bInMeasure || m_bMeasureDirty)
        return;
    COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext, GetMarkupContext());
    InvalidateMeasureCore(&measuring);
}

void COSMMarkupUIElement::ArrangeCore(const CRect& finalRect)
{
    SetRenderSize(CSize(SubtractMarkupLengths(finalRect.right, finalRect.left),
                        SubtractMarkupLengths(finalRect.bottom, finalRect.top)));
}

CSize COSMMarkupUIElement::MeasureCore(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    return CSize(0, 0);
}

void COSMMarkupUIElement::InvalidateMeasureCore(COSMMarkupDrawingContext* dc)
{
    if (m_bInMeasure || m_bMeasureDirty)
        return;
    m_bMeasureForced = true;
    m_bMeasureDirty = true;
    const CSize oldDesired = m_szDesired;
    Measure(dc, m_szPreviousAvailable.cx, m_szPreviousAvailable.cy);
    if (m_szDesired != oldDesired)
    {
        m_bMeasureForced = true;
        m_bArrangeDirty = true;
        if (COSMMarkupUIElement* parent = GetUIElementParent())
            parent->InvalidateMeasureCore(dc);
        else if (COSMMarkupContext* context = GetMarkupContext())
            context->OnDesiredSizeChanged(this);
        return;
    }
    Arrange(m_rcFinal);
    InvalidateVisual();
}
