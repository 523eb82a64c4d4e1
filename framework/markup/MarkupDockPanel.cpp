#include "framework/markup/MarkupDockPanel.h"

#include "framework/markup/MarkupConverters.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupUIElementCollection.h"

#include <algorithm>

IMPLEMENT_MARKUP_TYPE(COSMMarkupDockPanel, COSMMarkupPanel, L"DockPanel",
                      &COSMMarkupDockPanel::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupDockPanel::s_pLastChildFillProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupDockPanel::s_pDockProperty = nullptr;

void COSMMarkupDockPanel::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    s_pLastChildFillProperty = COSMMarkupDependencyProperty::Register(
        L"LastChildFill", COSMMarkupBool::GetClassType(), type,
        new COSMMarkupPropertyMetadata(COSMMarkupBool::CreateTrueValue(), COSMMarkupPropertyMetadata::AffectsArrange));
    s_pDockProperty = COSMMarkupDependencyProperty::RegisterAttached(
        L"Dock", COSMMarkupEnum::GetClassType(), type,
        new COSMMarkupPropertyMetadata(COSMMarkupEnum::CreateValue(DockLeft), ConvertDock, &OnDockChanged, 0));
}

COSMMarkupDockPanel::~COSMMarkupDockPanel() = default;

BOOL COSMMarkupDockPanel::GetLastChildFill() const
{
    const COSMMarkupBool* value = MarkupDynamicCast<COSMMarkupBool>(GetValue(s_pLastChildFillProperty));
    return value ? value->GetValue() : TRUE;
}

COSMMarkupDockPanel::Dock COSMMarkupDockPanel::GetDock(const COSMMarkupObject* child)
{
    const COSMMarkupEnum* value = child ? MarkupDynamicCast<COSMMarkupEnum>(child->GetValue(s_pDockProperty)) : nullptr;
    return value ? static_cast<Dock>(value->GetValue()) : DockLeft;
}

void COSMMarkupDockPanel::OnDockChanged(COSMMarkupObject* object, const COSMMarkupPropertyChange* change)
{
    const COSMMarkupUIElement* child = MarkupDynamicCast<COSMMarkupUIElement>(object);
    if (!child)
        return;
    if (COSMMarkupDockPanel* panel = MarkupDynamicCast<COSMMarkupDockPanel>(child->GetUIElementParent()))
        panel->InvalidateMeasure();
}

CSize COSMMarkupDockPanel::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    const COSMMarkupUIElementCollection* children = GetChildren();
    long long usedWidth = 0;
    long long usedHeight = 0;
    long long maxWidth = 0;
    long long maxHeight = 0;
    for (int i = 0; i < children->GetCount(); ++i)
    {
        COSMMarkupUIElement* child = children->GetElement(i);
        if (!child)
            continue;
        child->Measure(dc, SaturateMarkupLength(std::max(0LL, availableWidth - usedWidth)),
                       SaturateMarkupLength(std::max(0LL, availableHeight - usedHeight)));
        const CSize desired = child->GetDesiredSize();
        switch (GetDock(child))
        {
        case DockLeft:
        case DockRight:
            maxHeight = std::max(maxHeight, usedHeight + desired.cy);
            usedWidth += desired.cx;
            break;
        default:
            maxWidth = std::max(maxWidth, usedWidth + desired.cx);
            usedHeight += desired.cy;
            break;
        }
    }
    return CSize(SaturateMarkupLength(std::max(maxWidth, usedWidth)),
                 SaturateMarkupLength(std::max(maxHeight, usedHeight)));
}

CSize COSMMarkupDockPanel::ArrangeOverride(int width, int height)
{
    const COSMMarkupUIElementCollection* children = GetChildren();
    // The slot index decides which child fills, empty slots included.
    const int dockable = children->GetCount() - (GetLastChildFill() ? 1 : 0);
    long long left = 0;
    long long top = 0;
    long long right = 0;
    long long bottom = 0;
    for (int i = 0; i < children->GetCount(); ++i)
    {
        COSMMarkupUIElement* child = children->GetElement(i);
        if (!child)
            continue;
        const CSize desired = child->GetDesiredSize();
        long long rectLeft = left;
        long long rectTop = top;
        long long rectRight = left + std::max(0LL, width - left - right);
        long long rectBottom = top + std::max(0LL, height - top - bottom);
        if (i < dockable)
        {
            switch (GetDock(child))
            {
            case DockLeft:
                rectRight = left + desired.cx;
                left += desired.cx;
                break;
            case DockTop:
                rectBottom = top + desired.cy;
                top += desired.cy;
                break;
            case DockRight:
                right += desired.cx;
                rectLeft = std::max(0LL, width - right);
                rectRight = rectLeft + desired.cx;
                break;
            case DockBottom:
                bottom += desired.cy;
                rectTop = std::max(0LL, height - bottom);
                rectBottom = rectTop + desired.cy;
                break;
            }
        }
        child->Arrange(SaturateMarkupLength(rectLeft), SaturateMarkupLength(rectTop), SaturateMarkupLength(rectRight),
                       SaturateMarkupLength(rectBottom));
    }
    return CSize(width, height);
}
