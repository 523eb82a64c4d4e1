#include "framework/markup/MarkupFrameworkElement.h"

#include "framework/markup/MarkupConverters.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>

IMPLEMENT_MARKUP_TYPE(COSMMarkupFrameworkElement, COSMMarkupUIElement, L"FrameworkElement",
                      &COSMMarkupFrameworkElement::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupFrameworkElement::s_pMarginProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupFrameworkElement::s_pHorizontalAlignmentProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupFrameworkElement::s_pVerticalAlignmentProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupFrameworkElement::s_pWidthProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupFrameworkElement::s_pHeightProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupFrameworkElement::s_pMinWidthProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupFrameworkElement::s_pMinHeightProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupFrameworkElement::s_pMaxWidthProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupFrameworkElement::s_pMaxHeightProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupFrameworkElement::s_pTagProperty = nullptr;

namespace {

using Metadata = COSMMarkupPropertyMetadata;

COSMMarkupDependencyProperty* RegisterLength(LPCWSTR name, COSMMarkupType* owner)
{
    return COSMMarkupDependencyProperty::Register(name, COSMMarkupInt::GetClassType(), owner,
                                                  new Metadata(nullptr, ConvertMarkupLength, Metadata::AffectsMeasure));
}

// The integer value of property on element, or fallback when it is unset.
int GetInt(const COSMMarkupObject* element, COSMMarkupDependencyProperty* property, int fallback)
{
    const COSMMarkupInt* value = MarkupDynamicCast<COSMMarkupInt>(element->GetValue(property));
    return value ? value->GetValue() : fallback;
}

// An explicit Width or Height: "Auto" (2147483647) counts as none.
int GetExplicitSize(const COSMMarkupObject* element, COSMMarkupDependencyProperty* property, int fallback)
{
    const int size = GetInt(element, property, INT_MAX);
    return size == INT_MAX ? fallback : size;
}

COSMMarkupFrameworkElement::Alignment GetAlignment(const COSMMarkupObject* element,
                                                   COSMMarkupDependencyProperty* property)
{
    const COSMMarkupEnum* value = MarkupDynamicCast<COSMMarkupEnum>(element->GetValue(property));
    return value ? static_cast<COSMMarkupFrameworkElement::Alignment>(value->GetValue())
                 : COSMMarkupFrameworkElement::AlignStretch;
}

// The offset of content of length ink in a client area of length client.
int AlignmentOffset(COSMMarkupFrameworkElement::Alignment alignment, int client, int ink)
{
    switch (alignment)
    {
    case COSMMarkupFrameworkElement::AlignCenter:
    case COSMMarkupFrameworkElement::AlignStretch:
        return SaturateMarkupLength((static_cast<long long>(client) - ink) / 2);
    case COSMMarkupFrameworkElement::AlignRight:
        return SubtractMarkupLengths(client, ink);
    default:
        return 0;
    }
}

}  // namespace

void COSMMarkupFrameworkElement::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    s_pMarginProperty = COSMMarkupDependencyProperty::Register(
        L"Margin", COSMMarkupThickness::GetClassType(), type,
        new Metadata(COSMMarkupThickness::GetDefaultValue(), Metadata::AffectsMeasure));
    s_pHorizontalAlignmentProperty = COSMMarkupDependencyProperty::Register(
        L"HorizontalAlignment", COSMMarkupEnum::GetClassType(), type,
        new Metadata(nullptr, ConvertHorizontalAlignment, Metadata::AffectsArrange));
    s_pVerticalAlignmentProperty = COSMMarkupDependencyProperty::Register(
        L"VerticalAlignment", COSMMarkupEnum::GetClassType(), type,
        new Metadata(nullptr, ConvertVerticalAlignment, Metadata::AffectsArrange));
    s_pWidthProperty = RegisterLength(L"Width", type);
    s_pHeightProperty = RegisterLength(L"Height", type);
    s_pMinWidthProperty = RegisterLength(L"MinWidth", type);
    s_pMinHeightProperty = RegisterLength(L"MinHeight", type);
    s_pMaxWidthProperty = RegisterLength(L"MaxWidth", type);
    s_pMaxHeightProperty = RegisterLength(L"MaxHeight", type);
    s_pTagProperty = COSMMarkupDependencyProperty::Register(L"Tag", COSMMarkupObject::GetClassType(), type);
}

COSMMarkupFrameworkElement::~COSMMarkupFrameworkElement() = default;

void COSMMarkupFrameworkElement::OnPropertyChanged(COSMMarkupDependencyProperty* property, COSMMarkupObject* oldValue,
                                                   COSMMarkupObject* newValue)
{
    COSMMarkupUIElement::OnPropertyChanged(property, oldValue, newValue);
    ApplyStyleValues(property, newValue);
    const COSMMarkupPropertyMetadata* metadata = property ? property->GetMetadata() : nullptr;
    if (!metadata)
        return;
    const DWORD flags = metadata->GetFlags();
    if (flags & Metadata::AffectsMeasure)
        InvalidateMeasure();
    if (flags & Metadata::AffectsArrange)
        InvalidateArrange();
    if (flags & Metadata::AffectsRender)
        InvalidateVisual();
}

COSMMarkupFrameworkElement::Alignment COSMMarkupFrameworkElement::GetHorizontalAlignment() const
{
    return GetAlignment(this, s_pHorizontalAlignmentProperty);
}

COSMMarkupFrameworkElement::Alignment COSMMarkupFrameworkElement::GetVerticalAlignment() const
{
    return GetAlignment(this, s_pVerticalAlignmentProperty);
}

BOOL COSMMarkupFrameworkElement::GetClipToBounds() const
{
    const COSMMarkupBool* clip = MarkupDynamicCast<COSMMarkupBool>(GetValue(s_pClipToBoundsProperty));
    return clip && clip->GetValue();
}

const COSMMarkupThickness* COSMMarkupFrameworkElement::GetMargin() const
{
    return MarkupDynamicCast<COSMMarkupThickness>(GetValue(s_pMarginProperty));
}

CSize COSMMarkupFrameworkElement::GetMarginSums() const
{
    return GetThicknessSums(GetMargin());
}

void COSMMarkupFrameworkElement::UpdateSizeLimits()
{
    const int height = GetExplicitSize(this, s_pHeightProperty, INT_MAX);
    const int minHeight = GetInt(this, s_pMinHeightProperty, 0);
    m_nMaxHeight = std::max(std::min(height, GetInt(this, s_pMaxHeightProperty, INT_MAX)), minHeight);
    m_nMinHeight = std::max(std::min(m_nMaxHeight, GetExplicitSize(this, s_pHeightProperty, 0)), minHeight);

    const int width = GetExplicitSize(this, s_pWidthProperty, INT_MAX);
    const int minWidth = GetInt(this, s_pMinWidthProperty, 0);
    m_nMaxWidth = std::max(std::min(width, GetInt(this, s_pMaxWidthProperty, INT_MAX)), minWidth);
    m_nMinWidth = std::max(std::min(m_nMaxWidth, GetExplicitSize(this, s_pWidthProperty, 0)), minWidth);
}

CSize COSMMarkupFrameworkElement::MeasureCore(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    const CSize margin = GetMarginSums();
    // Room of a quarter of the range or more is unbounded: no margin makes it bounded.
    const auto inner = [](int available, int marginSum) {
        return available >= 0x40000000 ? INT_MAX : std::max(SubtractMarkupLengths(available, marginSum), 0);
    };
    UpdateSizeLimits();
    const int width = std::max(std::min(inner(availableWidth, margin.cx), m_nMaxWidth), m_nMinWidth);
    const int height = std::max(std::min(inner(availableHeight, margin.cy), m_nMaxHeight), m_nMinHeight);

    const CSize desired = MeasureOverride(dc, width, height);
    const int unclippedWidth = std::max(static_cast<int>(desired.cx), m_nMinWidth);
    const int unclippedHeight = std::max(static_cast<int>(desired.cy), m_nMinHeight);
    int clippedWidth = AddMarkupLengths(std::min(unclippedWidth, m_nMaxWidth), margin.cx);
    int clippedHeight = AddMarkupLengths(std::min(unclippedHeight, m_nMaxHeight), margin.cy);
    BOOL cut = FALSE;
    if (clippedWidth > availableWidth)
    {
        clippedWidth = availableWidth;
        cut = TRUE;
    }
    if (clippedHeight > availableHeight)
    {
        clippedHeight = availableHeight;
        cut = TRUE;
    }

    m_bNeedsClip = false;
    m_bHasUnclippedSize = false;
    if (cut || unclippedHeight > m_nMaxHeight || unclippedWidth > m_nMaxWidth || clippedWidth < 0 || clippedHeight < 0)
    {
        m_bNeedsClip = true;
        m_bHasUnclippedSize = true;
        m_szUnclipped = CSize(unclippedWidth, unclippedHeight);
    }
    return CSize(std::max(clippedWidth, 0), std::max(clippedHeight, 0));
}

void COSMMarkupFrameworkElement::ArrangeCore(const CRect& finalRect)
{
    const CSize margin = GetMarginSums();
    const int finalWidth = SubtractMarkupLengths(finalRect.right, finalRect.left);
    const int finalHeight = SubtractMarkupLengths(finalRect.bottom, finalRect.top);
    int slotWidth = std::max(0, SubtractMarkupLengths(finalWidth, margin.cx));
    int slotHeight = std::max(0, SubtractMarkupLengths(finalHeight, margin.cy));

    const CSize desired = GetDesiredSize();
    const CSize unclipped = m_bHasUnclippedSize ? m_szUnclipped
                                                : CSize(SubtractMarkupLengths(desired.cx, margin.cx),
                                                        SubtractMarkupLengths(desired.cy, margin.cy));
    if (slotWidth < unclipped.cx)
    {
        m_bNeedsClip = true;
        slotWidth = unclipped.cx;
    }
    if (slotHeight < unclipped.cy)
    {
        m_bNeedsClip = true;
        slotHeight = unclipped.cy;
    }
    if (GetHorizontalAlignment() != AlignStretch)
        slotWidth = unclipped.cx;
    if (GetVerticalAlignment() != AlignStretch)
        slotHeight = unclipped.cy;
    const int effectiveMaxWidth = std::max(static_cast<int>(unclipped.cx), m_nMaxWidth);
    if (slotWidth > effectiveMaxWidth)
    {
        m_bNeedsClip = true;
        slotWidth = effectiveMaxWidth;
    }
    const int effectiveMaxHeight = std::max(static_cast<int>(unclipped.cy), m_nMaxHeight);
    if (slotHeight > effectiveMaxHeight)
    {
        m_bNeedsClip = true;
        slotHeight = effectiveMaxHeight;
    }

    const CSize render = ArrangeOverride(slotWidth, slotHeight);
    SetRenderSize(render);

    const int inkWidth = std::min(static_cast<int>(render.cx), m_nMaxWidth);
    const int inkHeight = std::min(static_cast<int>(render.cy), m_nMaxHeight);
    if (inkWidth < render.cx || inkHeight < render.cy)
        m_bNeedsClip = true;
    const int clientWidth = std::max(0, SubtractMarkupLengths(finalWidth, margin.cx));
    const int clientHeight = std::max(0, SubtractMarkupLengths(finalHeight, margin.cy));
    if (clientWidth < inkWidth || clientHeight < inkHeight)
        m_bNeedsClip = true;

    const CPoint offset = ComputeAlignmentOffset(clientWidth, clientHeight, inkWidth, inkHeight);
    const COSMMarkupThickness* marginSides = GetMargin();
    SetVisualOffset(CPoint(AddMarkupLengths(offset.x, finalRect.left, marginSides ? marginSides->GetLeft() : 0),
                           AddMarkupLengths(offset.y, finalRect.top, marginSides ? marginSides->GetTop() : 0)));
}

CPoint COSMMarkupFrameworkElement::ComputeAlignmentOffset(int clientWidth, int clientHeight, int inkWidth,
                                                          int inkHeight) const
{
    Alignment horizontal = GetHorizontalAlignment();
    if (horizontal == AlignStretch && inkWidth > clientWidth)
        horizontal = AlignLeft;
    Alignment vertical = GetVerticalAlignment();
    if (vertical == AlignStretch && inkHeight > clientHeight)
        vertical = AlignLeft;
    return CPoint(AlignmentOffset(horizontal, clientWidth, inkWidth),
                  AlignmentOffset(vertical, clientHeight, inkHeight));
}

BOOL COSMMarkupFrameworkElement::GetLayoutClip(CRect* clip) const
{
    if (COSMMarkupUIElement::GetLayoutClip(clip))
        return TRUE;
    const BOOL clipToBounds = GetClipToBounds();
    if (!clipToBounds && !m_bNeedsClip)
        return FALSE;

    const CSize render = GetRenderSize();
    const int limitWidth = m_nMaxWidth == INT_MAX ? static_cast<int>(render.cx) : m_nMaxWidth;
    const int limitHeight = m_nMaxHeight == INT_MAX ? static_cast<int>(render.cy) : m_nMaxHeight;
    const BOOL limitClip = clipToBounds || limitWidth < render.cx || limitHeight < render.cy;
    const int inkWidth = std::min(static_cast<int>(render.cx), m_nMaxWidth);
    const int inkHeight = std::min(static_cast<int>(render.cy), m_nMaxHeight);

    const CSize margin = GetMarginSums();
    const CRect finalRect = GetFinalRect();
    const int slotWidth =
        std::max(0, SubtractMarkupLengths(SubtractMarkupLengths(finalRect.right, finalRect.left), margin.cx));
    const int slotHeight =
        std::max(0, SubtractMarkupLengths(SubtractMarkupLengths(finalRect.bottom, finalRect.top), margin.cy));
    const BOOL slotClip = clipToBounds || slotWidth < inkWidth || slotHeight < inkHeight;

    if (slotClip)
    {
        const CPoint offset = ComputeAlignmentOffset(slotWidth, slotHeight, inkWidth, inkHeight);
        const int left = SubtractMarkupLengths(0, offset.x);
        const int top = SubtractMarkupLengths(0, offset.y);
        clip->SetRect(left, top, AddMarkupLengths(left, slotWidth), AddMarkupLengths(top, slotHeight));
        if (limitClip)
        {
            const CRect limit(0, 0, limitWidth, limitHeight);
            clip->IntersectRect(clip, &limit);
        }
        return TRUE;
    }
    if (limitClip)
    {
        clip->SetRect(0, 0, limitWidth, limitHeight);
        return TRUE;
    }
    return FALSE;
}

CSize COSMMarkupFrameworkElement::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    return CSize(0, 0);
}

CSize COSMMarkupFrameworkElement::ArrangeOverride(int width, int height)
{
    return CSize(width, height);
}
