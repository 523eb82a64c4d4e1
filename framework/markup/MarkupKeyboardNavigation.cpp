#include "framework/markup/MarkupKeyboardNavigation.h"

#include "framework/markup/MarkupConverters.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"

#include <climits>

IMPLEMENT_MARKUP_TYPE(COSMMarkupKeyboardNavigation, COSMMarkupObject, L"KeyboardNavigation",
                      &COSMMarkupKeyboardNavigation::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupKeyboardNavigation::s_pIsTabStopProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupKeyboardNavigation::s_pTabNavigationProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupKeyboardNavigation::s_pTabIndexProperty = nullptr;

void COSMMarkupKeyboardNavigation::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    s_pIsTabStopProperty = COSMMarkupDependencyProperty::RegisterAttached(
        L"IsTabStop", COSMMarkupBool::GetClassType(), type,
        new COSMMarkupPropertyMetadata(COSMMarkupBool::CreateTrueValue(), 0));
    s_pTabNavigationProperty = COSMMarkupDependencyProperty::RegisterAttached(
        L"TabNavigation", COSMMarkupEnum::GetClassType(), type,
        new COSMMarkupPropertyMetadata(nullptr, ConvertTabNavigation, 0));
    s_pTabIndexProperty =
        COSMMarkupDependencyProperty::RegisterAttached(L"TabIndex", COSMMarkupInt::GetClassType(), type,
                                                       new COSMMarkupPropertyMetadata(new COSMMarkupInt(INT_MAX), 0));
}

COSMMarkupKeyboardNavigation::~COSMMarkupKeyboardNavigation()
{
    if (m_pFocusedElement)
        m_pFocusedElement->Release();
    if (m_pLastFocusedElement)
        m_pLastFocusedElement->Release();
}

LRESULT COSMMarkupKeyboardNavigation::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return 0;
}

void COSMMarkupKeyboardNavigation::Focus(COSMMarkupInputElement* element) {}

BOOL COSMMarkupKeyboardNavigation::GetIsTabStop(const COSMMarkupObject* element)
{
    const COSMMarkupBool* value =
        element ? MarkupDynamicCast<COSMMarkupBool>(element->GetValue(s_pIsTabStopProperty)) : nullptr;
    return value ? value->GetValue() : TRUE;
}

int COSMMarkupKeyboardNavigation::GetTabNavigation(const COSMMarkupObject* element)
{
    const COSMMarkupEnum* value =
        element ? MarkupDynamicCast<COSMMarkupEnum>(element->GetValue(s_pTabNavigationProperty)) : nullptr;
    return value ? value->GetValue() : -1;
}

int COSMMarkupKeyboardNavigation::GetTabIndex(const COSMMarkupObject* element)
{
    const COSMMarkupInt* value =
        element ? MarkupDynamicCast<COSMMarkupInt>(element->GetValue(s_pTabIndexProperty)) : nullptr;
    return value ? value->GetValue() : INT_MAX;
}
