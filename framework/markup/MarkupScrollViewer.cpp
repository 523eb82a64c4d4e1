#include "framework/markup/MarkupScrollViewer.h"

#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupConverters.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupScrollBarGripper.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>
#include <climits>

IMPLEMENT_MARKUP_TYPE(COSMMarkupScrollViewer, COSMMarkupContentControl, L"ScrollViewer",
                      &COSMMarkupScrollViewer::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupScrollViewer::s_pVerticalScrollBarVisibilityProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupScrollViewer::s_pHorizontalScrollBarVisibilityProperty = nullptr;

namespace {

COSMMarkupDependencyProperty* RegisterVisibility(LPCWSTR name, COSMMarkupType* owner)
{
    return COSMMarkupDependencyProperty::Register(
        name, COSMMarkupEnum::GetClassType(), owner,
        new COSMMarkupPropertyMetadata(nullptr, ConvertScrollBarVisibility,
                                       COSMMarkupPropertyMetadata::AffectsMeasure));
}

COSMMarkupScrollViewer::ScrollBarVisibility ReadVisibility(const COSMMarkupObject* viewer,
                                                           COSMMarkupDependencyProperty* property,
                                                           COSMMarkupScrollViewer::ScrollBarVisibility unset)
{
    const COSMMarkupEnum* value = MarkupDynamicCast<COSMMarkupEnum>(viewer->GetValue(property));
    return value ? static_cast<COSMMarkupScrollViewer::ScrollBarVisibility>(value->GetValue()) : unset;
}

// How far the bar's range lets the content move: its maximum less a page (less one).
int MaxOffsetOf(const COSMMarkupScrollBar* bar)
{
    if (!bar)
        return 0;
    SCROLLINFO info;
    bar->GetScrollInfo(&info);
    return std::max(info.nMax - std::max(static_cast<int>(info.nPage) - 1, 0), 0);
}

}  // namespace

void COSMMarkupScrollViewer::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    s_pVerticalScrollBarVisibilityProperty = RegisterVisibility(L"VerticalScrollBarVisibility", type);
    s_pHorizontalScrollBarVisibilityProperty = RegisterVisibility(L"HorizontalScrollBarVisibility", type);
}

COSMMarkupScrollViewer::COSMMarkupScrollViewer()
{
    SetValue(s_pClipToBoundsProperty, COSMMarkupBool::CreateTrueValue());
}

COSMMarkupScrollViewer::~COSMMarkupScrollViewer()
{
    DropBar(TRUE);
    DropBar(FALSE);
    UpdateGripper();
}

COSMMarkupScrollViewer::ScrollBarVisibility COSMMarkupScrollViewer::GetVerticalScrollBarVisibility() const
{
    return ReadVisibility(this, s_pVerticalScrollBarVisibilityProperty, Visible);
}

COSMMarkupScrollViewer::ScrollBarVisibility COSMMarkupScrollViewer::GetHorizontalScrollBarVisibility() const
{
    return ReadVisibility(this, s_pHorizontalScrollBarVisibilityProperty, Disabled);
}

int COSMMarkupScrollViewer::GetVisualChildrenCount() const
{
    return (GetContent() ? 1 : 0) + (m_pVerticalBar ? 1 : 0) + (m_pHorizontalBar ? 1 : 0) + (m_pGripper ? 1 : 0);
}

COSMMarkupVisual* COSMMarkupScrollViewer::GetVisualChild(int index) const
{
    COSMMarkupVisual* const parts[] = {GetContent(), m_pVerticalBar, m_pHorizontalBar, m_pGripper};
    for (COSMMarkupVisual* part : parts)
    {
        if (part && index-- == 0)
            return part;
    }
    return nullptr;
}

COSMMarkupObject* COSMMarkupScrollViewer::CreatePart(COSMMarkupType* type)
{
    COSMMarkupContext* context = GetMarkupContext();
    COSMMarkupObject* part = context ? context->CreateObject(type) : type->CreateInstance();
    part->SetLogicalParent(this);
    return part;
}

void COSMMarkupScrollViewer::PlaceBar(BOOL vertical, BOOL visible, COSMMarkupDrawingContext* dc, int availableWidth,
                                      int availableHeight, int* contentRoom)
{
    if (!visible)
    {
        DropBar(vertical);
        return;
    }
    COSMMarkupScrollBar*& bar = vertical ? m_pVerticalBar : m_pHorizontalBar;
    if (!bar)
    {
        bar = static_cast<COSMMarkupScrollBar*>(CreatePart(COSMMarkupScrollBar::GetClassType()));
        bar->SetOrientation(vertical ? COSMMarkupScrollBar::Vertical : COSMMarkupScrollBar::Horizontal);
    }
    bar->Measure(dc, availableWidth, availableHeight);
    // The bar takes its thickness off a bounded room beside it; unbounded room stays unbounded.
    const CSize size = bar->GetDesiredSize();
    if (*contentRoom != INT_MAX)
        *contentRoom = std::max<int>(*contentRoom - (vertical ? size.cx : size.cy), 0);
}

void COSMMarkupScrollViewer::DropBar(BOOL vertical)
{
    COSMMarkupScrollBar*& bar = vertical ? m_pVerticalBar : m_pHorizontalBar;
    (vertical ? m_nVerticalOffset : m_nHorizontalOffset) = 0;
    if (!bar)
        return;
    COSMMarkupScrollBar* dropped = bar;
    bar = nullptr;
    // A bar still tracking stays alive in its loop: it must neither report to this viewer nor keep tracking.
    dropped->OnLeaveViewer();
    dropped->Release();
}

void COSMMarkupScrollViewer::UpdateGripper()
{
    const BOOL wanted = m_pVerticalBar && m_pHorizontalBar;
    if (wanted && !m_pGripper)
        m_pGripper = static_cast<COSMMarkupScrollBarGripper*>(CreatePart(COSMMarkupScrollBarGripper::GetClassType()));
    if (!wanted && m_pGripper)
    {
        COSMMarkupScrollBarGripper* dropped = m_pGripper;
        m_pGripper = nullptr;
        dropped->SetLogicalParent(nullptr);
        dropped->Release();
    }
}

CSize COSMMarkupScrollViewer::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    COSMMarkupUIElement* content = GetContent();
    if (!content)
        return CSize(0, 0);
    ScrollBarVisibility vertical = GetVerticalScrollBarVisibility();
    ScrollBarVisibility horizontal = GetHorizontalScrollBarVisibility();
    int contentWidth = horizontal == Disabled ? availableWidth : INT_MAX;
    int contentHeight = vertical == Disabled ? availableHeight : INT_MAX;

    if (vertical == Auto)
    {
        content->Measure(dc, contentWidth, contentHeight);
        vertical = content->GetDesiredSize().cy > availableHeight ? Visible : Disabled;
    }
    PlaceBar(TRUE, vertical == Visible, dc, availableWidth, availableHeight, &contentWidth);
    const int barWidth = m_pVerticalBar ? m_pVerticalBar->GetDesiredSize().cx : 0;

    if (horizontal == Auto)
    {
        content->Measure(dc, contentWidth, contentHeight);
        horizontal =
            content->GetDesiredSize().cx > SubtractMarkupLengths(availableWidth, barWidth) ? Visible : Disabled;
    }
    PlaceBar(FALSE, horizontal == Visible, dc, availableWidth, availableHeight, &contentHeight);
    const int barHeight = m_pHorizontalBar ? m_pHorizontalBar->GetDesiredSize().cy : 0;
    UpdateGripper();

    content->Measure(dc, contentWidth, contentHeight);
    const CSize wanted = content->GetDesiredSize();
    return CSize(std::min<int>(availableWidth, AddMarkupLengths(wanted.cx, barWidth)),
                 std::min<int>(availableHeight, AddMarkupLengths(wanted.cy, barHeight)));
}

CSize COSMMarkupScrollViewer::ArrangeOverride(int width, int height)
{
    COSMMarkupUIElement* content = GetContent();
    if (!content)
        return CSize(width, height);
    const int barWidth = m_pVerticalBar ? m_pVerticalBar->GetDesiredSize().cx : 0;
    const int barHeight = m_pHorizontalBar ? m_pHorizontalBar->GetDesiredSize().cy : 0;
    const int viewWidth = std::max(width - barWidth, 0);
    const int viewHeight = std::max(height - barHeight, 0);
    const CSize wanted = content->GetDesiredSize();

    // An offset past the content's end (it shrank) comes back so the last page fills the viewport.
    auto feed = [](COSMMarkupScrollBar* bar, int& offset, int extent, int viewport) {
        if (offset > 0 && extent < AddMarkupLengths(offset, viewport))
            offset = std::max(extent - viewport, 0);
        SCROLLINFO info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = sizeof(info);
        info.nMin = 0;
        info.nMax = extent - 1;
        info.nPage = static_cast<UINT>(viewport);
        info.nPos = offset;
        bar->SetScrollInfo(info);
    };
    if (m_pVerticalBar)
    {
        feed(m_pVerticalBar, m_nVerticalOffset, wanted.cy, viewHeight);
        m_pVerticalBar->Arrange(width - barWidth, 0, width, viewHeight);
    }
    if (m_pHorizontalBar)
    {
        feed(m_pHorizontalBar, m_nHorizontalOffset, wanted.cx, viewWidth);
        m_pHorizontalBar->Arrange(0, height - barHeight, viewWidth, height);
    }
    if (m_pGripper)
        m_pGripper->Arrange(width - barWidth, height - barHeight, width, height);
    const int left = -m_nHorizontalOffset;
    const int top = -m_nVerticalOffset;
    content->Arrange(left, top, AddMarkupLengths(left, std::max<int>(viewWidth, wanted.cx)),
                     AddMarkupLengths(top, std::max<int>(viewHeight, wanted.cy)));
    return CSize(width, height);
}

int COSMMarkupScrollViewer::GetMaxOffset(BOOL vertical) const
{
    return MaxOffsetOf(GetScrollBar(vertical));
}

void COSMMarkupScrollViewer::Scroll(BOOL vertical, int code, int position)
{
    COSMMarkupScrollBar* bar = GetScrollBar(vertical);
    if (!bar)
        return;
    SCROLLINFO info;
    bar->GetScrollInfo(&info);
    const int page = static_cast<int>(info.nPage);
    const int maxOffset = MaxOffsetOf(bar);
    int pos = info.nPos;
    switch (code)
    {
    case SB_LINEUP:
        pos = std::max(pos - LineStep, 0);
        break;
    case SB_LINEDOWN:
        pos = std::min(pos + LineStep, maxOffset);
        break;
    case SB_PAGEUP:
        pos -= page;
        if (pos < 1)
            pos = 0;
        break;
    case SB_PAGEDOWN:
        pos = std::min(pos + page, maxOffset);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        pos = position;
        break;
    case SB_TOP:
        pos = 0;
        break;
    case SB_BOTTOM:
        pos = maxOffset;
        break;
    default:
        break;
    }
    SetOffset(vertical, pos);
}

void COSMMarkupScrollViewer::SetOffset(BOOL vertical, int value)
{
    // While a layout is due the range may be stale: the next arrange limits the offset instead.
    if (!IsNeverArranged() && !IsArrangeDirty())
        value = std::min(value, GetMaxOffset(vertical));
    value = std::max(value, 0);
    int& offset = vertical ? m_nVerticalOffset : m_nHorizontalOffset;
    if (value == offset)
        return;
    offset = value;
    InvalidateArrange();
}

void COSMMarkupScrollViewer::OnMouseWheel(COSMMarkupMouseWheelEventArgs* args)
{
    if (args->delta < 0)
        SetOffset(TRUE, AddMarkupLengths(m_nVerticalOffset, WheelStep));
    else if (args->delta > 0)
        SetOffset(TRUE, m_nVerticalOffset - WheelStep);
    args->handled = TRUE;
}
