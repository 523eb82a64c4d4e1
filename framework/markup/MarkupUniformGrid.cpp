#include "framework/markup/MarkupUniformGrid.h"

#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupUIElementCollection.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_MARKUP_TYPE(COSMMarkupUniformGrid, COSMMarkupPanel, L"UniformGrid",
                      &COSMMarkupUniformGrid::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupUniformGrid::s_pFirstColumnProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupUniformGrid::s_pColumnsProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupUniformGrid::s_pRowsProperty = nullptr;

namespace {

// The value, with unset and negative values as 0.
int CountOrZero(const COSMMarkupObject* value)
{
    const COSMMarkupInt* number = MarkupDynamicCast<COSMMarkupInt>(value);
    return number ? std::max(0, number->GetValue()) : 0;
}

}  // namespace

void COSMMarkupUniformGrid::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    COSMMarkupType* intType = COSMMarkupInt::GetClassType();
    const DWORD measure = COSMMarkupPropertyMetadata::AffectsMeasure;
    s_pFirstColumnProperty = COSMMarkupDependencyProperty::Register(L"FirstColumn", intType, type,
                                                                    new COSMMarkupPropertyMetadata(nullptr, measure));
    s_pColumnsProperty = COSMMarkupDependencyProperty::Register(L"Columns", intType, type,
                                                                new COSMMarkupPropertyMetadata(nullptr, measure));
    s_pRowsProperty = COSMMarkupDependencyProperty::Register(L"Rows", intType, type,
                                                             new COSMMarkupPropertyMetadata(nullptr, measure));
}

COSMMarkupUniformGrid::~COSMMarkupUniformGrid() = default;

void COSMMarkupUniformGrid::ComputeLayout()
{
    long long columns = CountOrZero(GetValue(s_pColumnsProperty));
    long long rows = CountOrZero(GetValue(s_pRowsProperty));
    long long firstColumn = CountOrZero(GetValue(s_pFirstColumnProperty));
    if (columns <= firstColumn)
        firstColumn = 0;
    if (rows == 0 || columns == 0)
    {
        const COSMMarkupUIElementCollection* children = GetChildren();
        long long visible = 0;
        for (int i = 0; i < children->GetCount(); ++i)
        {
            const COSMMarkupUIElement* child = children->GetElement(i);
            if (child && child->GetVisibility() != COSMMarkupUIElement::Collapsed)
                ++visible;
        }
        visible = std::max(1LL, visible);
        if (rows == 0)
        {
            if (columns < 1)
            {
                rows = static_cast<long long>(std::sqrt(static_cast<double>(visible)));
                if (rows * rows < visible)
                    ++rows;
                columns = rows;
            }
            else
            {
                rows = (visible + firstColumn - 1 + columns) / columns;
            }
        }
        else
        {
            columns = (visible - 1 + rows) / rows;
        }
    }
    m_nColumns = SaturateMarkupLength(columns);
    m_nRows = SaturateMarkupLength(rows);
    m_nFirstColumn = SaturateMarkupLength(firstColumn);
}

CSize COSMMarkupUniformGrid::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    ComputeLayout();
    const int cellWidth = availableWidth / m_nColumns;
    const int cellHeight = availableHeight / m_nRows;
    const COSMMarkupUIElementCollection* children = GetChildren();
    long long largestWidth = 0;
    long long largestHeight = 0;
    for (int i = 0; i < children->GetCount(); ++i)
    {
        COSMMarkupUIElement* child = children->GetElement(i);
        if (!child)
            continue;
        child->Measure(dc, cellWidth, cellHeight);
        const CSize desired = child->GetDesiredSize();
        largestWidth = std::max<long long>(largestWidth, desired.cx);
        largestHeight = std::max<long long>(largestHeight, desired.cy);
    }
    return CSize(SaturateMarkupLength(largestWidth * m_nColumns), SaturateMarkupLength(largestHeight * m_nRows));
}

CSize COSMMarkupUniformGrid::ArrangeOverride(int width, int height)
{
    const long long cellWidth = width / m_nColumns;
    const long long cellHeight = height / m_nRows;
    long long x = cellWidth * m_nFirstColumn;
    long long y = 0;
    const COSMMarkupUIElementCollection* children = GetChildren();
    for (int i = 0; i < children->GetCount(); ++i)
    {
        COSMMarkupUIElement* child = children->GetElement(i);
        if (!child)
            continue;
        child->Arrange(SaturateMarkupLength(x), SaturateMarkupLength(y), SaturateMarkupLength(x + cellWidth),
                       SaturateMarkupLength(y + cellHeight));
        if (child->GetVisibility() == COSMMarkupUIElement::Collapsed)
            continue;
        x += cellWidth;
        if (x + cellWidth > width)
        {
            x = 0;
            y += cellHeight;
        }
    }
    return CSize(width, height);
}
