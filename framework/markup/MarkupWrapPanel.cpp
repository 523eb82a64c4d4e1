#include "framework/markup/MarkupWrapPanel.h"

#include "framework/markup/MarkupConverters.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupUIElementCollection.h"

#include <algorithm>

IMPLEMENT_MARKUP_TYPE(COSMMarkupWrapPanel, COSMMarkupPanel, L"WrapPanel",
                      &COSMMarkupWrapPanel::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupWrapPanel::s_pOrientationProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupWrapPanel::s_pItemHeightProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupWrapPanel::s_pItemWidthProperty = nullptr;

namespace {

int PositiveOrZero(const COSMMarkupObject* value)
{
    const COSMMarkupInt* number = MarkupDynamicCast<COSMMarkupInt>(value);
    return number && number->GetValue() > 0 ? number->GetValue() : 0;
}

}  // namespace

void COSMMarkupWrapPanel::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    const DWORD measure = COSMMarkupPropertyMetadata::AffectsMeasure;
    s_pOrientationProperty =
        COSMMarkupDependencyProperty::Register(L"Orientation", COSMMarkupEnum::GetClassType(), type,
                                               new COSMMarkupPropertyMetadata(nullptr, ConvertOrientation, measure));
    s_pItemHeightProperty = COSMMarkupDependencyProperty::Register(L"ItemHeight", COSMMarkupInt::GetClassType(), type,
                                                                   new COSMMarkupPropertyMetadata(nullptr, measure));
    s_pItemWidthProperty = COSMMarkupDependencyProperty::Register(L"ItemWidth", COSMMarkupInt::GetClassType(), type,
                                                                  new COSMMarkupPropertyMetadata(nullptr, measure));
}

COSMMarkupWrapPanel::~COSMMarkupWrapPanel() = default;

COSMMarkupStackPanel::Orientation COSMMarkupWrapPanel::GetOrientation() const
{
    const COSMMarkupEnum* value = MarkupDynamicCast<COSMMarkupEnum>(GetValue(s_pOrientationProperty));
    return value && value->GetValue() == COSMMarkupStackPanel::Vertical ? COSMMarkupStackPanel::Vertical
                                                                        : COSMMarkupStackPanel::Horizontal;
}

int COSMMarkupWrapPanel::GetItemWidth() const
{
    return PositiveOrZero(GetValue(s_pItemWidthProperty));
}

int COSMMarkupWrapPanel::GetItemHeight() const
{
    return PositiveOrZero(GetValue(s_pItemHeightProperty));
}

CSize COSMMarkupWrapPanel::GetItemSize(const COSMMarkupUIElement* child) const
{
    const CSize desired = child->GetDesiredSize();
    const int itemWidth = GetItemWidth();
    const int itemHeight = GetItemHeight();
    return CSize(itemWidth ? itemWidth : desired.cx, itemHeight ? itemHeight : desired.cy);
}

template <class OnLine> void COSMMarkupWrapPanel::BreakLines(bool horizontal, long long limit, OnLine onLine) const
{
    const COSMMarkupUIElementCollection* children = GetChildren();
    Line line;
    int lineStart = 0;
    for (int i = 0; i < children->GetCount(); ++i)
    {
        const COSMMarkupUIElement* child = children->GetElement(i);
        if (!child)
            continue;
        const CSize item = GetItemSize(child);
        const int length = horizontal ? item.cx : item.cy;
        const int breadth = horizontal ? item.cy : item.cx;
        if (line.length + length <= limit)
        {
            line.length += length;
            line.breadth = std::max(line.breadth, breadth);
            continue;
        }
        // An item longer than the limit closes an empty line and sits alone on the next.
        onLine(lineStart, i, line);
        lineStart = i;
        line.length = length;
        line.breadth = breadth;
    }
    onLine(lineStart, children->GetCount(), line);
}

CSize COSMMarkupWrapPanel::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    const bool horizontal = GetOrientation() == COSMMarkupStackPanel::Horizontal;
    const int itemWidth = GetItemWidth();
    const int itemHeight = GetItemHeight();
    const COSMMarkupUIElementCollection* children = GetChildren();
    for (int i = 0; i < children->GetCount(); ++i)
    {
        if (COSMMarkupUIElement* child = children->GetElement(i))
            child->Measure(dc, itemWidth ? itemWidth : availableWidth, itemHeight ? itemHeight : availableHeight);
    }
    long long widest = 0;
    long long total = 0;
    BreakLines(horizontal, horizontal ? availableWidth : availableHeight, [&](int, int, const Line& line) {
        widest = std::max(widest, line.length);
        total += line.breadth;
    });
    const int along = SaturateMarkupLength(widest);
    const int across = SaturateMarkupLength(total);
    return horizontal ? CSize(along, across) : CSize(across, along);
}

CSize COSMMarkupWrapPanel::ArrangeOverride(int width, int height)
{
    const bool horizontal = GetOrientation() == COSMMarkupStackPanel::Horizontal;
    int lineOffset = 0;
    BreakLines(horizontal, horizontal ? width : height, [&](int first, int last, const Line& line) {
        ArrangeLine(first, last, lineOffset, line.breadth, horizontal);
        lineOffset = AddMarkupLengths(lineOffset, line.breadth);
    });
    return CSize(width, height);
}

void COSMMarkupWrapPanel::ArrangeLine(int first, int last, int lineOffset, int lineBreadth, bool horizontal)
{
    const COSMMarkupUIElementCollection* children = GetChildren();
    const int fixedLength = horizontal ? GetItemWidth() : GetItemHeight();
    const int lineEnd = AddMarkupLengths(lineOffset, lineBreadth);
    int position = 0;
    for (int i = first; i < last; ++i)
    {
        COSMMarkupUIElement* child = children->GetElement(i);
        if (!child)
            continue;
        const CSize desired = child->GetDesiredSize();
        const int length = fixedLength ? fixedLength : horizontal ? desired.cx : desired.cy;
        const int next = AddMarkupLengths(position, length);
        if (horizontal)
            child->Arrange(position, lineOffset, next, lineEnd);
        else
            child->Arrange(lineOffset, position, lineEnd, next);
        position = next;
    }
}
