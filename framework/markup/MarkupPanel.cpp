#include "framework/markup/MarkupPanel.h"

#include "classlib/Geometry.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupUIElementCollection.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupPanel, COSMMarkupFrameworkElement, L"Panel", &COSMMarkupPanel::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupPanel::s_pBackgroundProperty = nullptr;

void COSMMarkupPanel::RegisterMarkupProperties()
{
    s_pBackgroundProperty = COSMMarkupDependencyProperty::Register(
        L"Background", COSMMarkupBrush::GetClassType(), GetClassType(),
        new COSMMarkupPropertyMetadata(nullptr, COSMMarkupPropertyMetadata::AffectsRender));
}

COSMMarkupPanel::COSMMarkupPanel() : m_pChildren(new COSMMarkupUIElementCollection)
{
    m_pChildren->SetLogicalParent(this);
}

COSMMarkupPanel::~COSMMarkupPanel()
{
    m_pChildren->SetLogicalParent(nullptr);
    m_pChildren->Release();
}

void COSMMarkupPanel::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    m_pChildren->SetContentObject(builder, content);
}

BOOL COSMMarkupPanel::HasContentObject() const
{
    return m_pChildren->HasContentObject();
}

int COSMMarkupPanel::GetVisualChildrenCount() const
{
    return m_pChildren->GetCount();
}

COSMMarkupVisual* COSMMarkupPanel::GetVisualChild(int index) const
{
    return m_pChildren->GetElement(index);
}

COSMMarkupBrush* COSMMarkupPanel::GetBackground() const
{
    return MarkupDynamicCast<COSMMarkupBrush>(GetValue(s_pBackgroundProperty));
}

void COSMMarkupPanel::OnRender(COSMMarkupDrawingContext* dc)
{
    const CSize size = GetRenderSize();
    COSMMarkupBrush* background = GetBackground();
    if (size.cx >= 1 && size.cy >= 1 && background)
        dc->FillRectangle(CRect(0, 0, size.cx, size.cy), background);
}

COSMMarkupInputElement* COSMMarkupPanel::InputHitTestCore(int x, int y)
{
    return GetBackground() ? this : nullptr;
}
