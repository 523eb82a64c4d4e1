#include "framework/markup/MarkupButtonBase.h"

#include "classlib/RefPtr.h"
#include "framework/foundation/VisualStyleWrapper.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupRoutedEvent.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupSpan.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupButtonBase, COSMMarkupContentControl, nullptr,
                      &COSMMarkupButtonBase::RegisterMarkupProperties)

COSMMarkupRoutedEvent* COSMMarkupButtonBase::s_pClickEvent = nullptr;
COSMMarkupDependencyProperty* COSMMarkupButtonBase::s_pIsPressedProperty = nullptr;

namespace {

COSMVisualStyleFunctions* g_pVisualStyleFunctions = nullptr;

}  // namespace

BOOL GetMarkupBoolValue(const COSMMarkupObject* element, COSMMarkupDependencyProperty* property)
{
    const COSMMarkupBool* value = MarkupDynamicCast<COSMMarkupBool>(element->GetValue(property));
    return value && value->GetValue();
}

void COSMMarkupButtonBase::RegisterMarkupProperties()
{
    COSMMarkupHyperlink::GetClassType()->EnsureInitialized();
    COSMMarkupType* type = GetClassType();
    s_pClickEvent = static_cast<COSMMarkupRoutedEvent*>(COSMMarkupHyperlink::s_pClickEvent->AddOwner(type));
    s_pIsPressedProperty = COSMMarkupDependencyProperty::Register(
        L"IsPressed", COSMMarkupBool::GetClassType(), type,
        new COSMMarkupPropertyMetadata(COSMMarkupBool::CreateFalseValue(), COSMMarkupPropertyMetadata::AffectsArrange));
}

COSMVisualStyleFunctions* COSMMarkupButtonBase::SetVisualStyleFunctions(COSMVisualStyleFunctions* functions)
{
    COSMVisualStyleFunctions* previous = g_pVisualStyleFunctions;
    g_pVisualStyleFunctions = functions;
    return previous;
}

COSMMarkupButtonBase::COSMMarkupButtonBase()
    : m_pVisualStyle(g_pVisualStyleFunctions ? std::make_unique<COSMVisualStyleWrapper>(*g_pVisualStyleFunctions)
                                             : std::make_unique<COSMVisualStyleWrapper>(TRUE))
{
    SetValue(s_pFocusableProperty, COSMMarkupBool::CreateTrueValue());
}

COSMMarkupButtonBase::~COSMMarkupButtonBase()
{
    m_pVisualStyle->CloseThemeData();
}

BOOL COSMMarkupButtonBase::GetIsPressed() const
{
    return GetMarkupBoolValue(this, s_pIsPressedProperty);
}

BOOL COSMMarkupButtonBase::GetIsMouseOver() const
{
    return GetMarkupBoolValue(this, s_pIsMouseOverProperty);
}

int COSMMarkupButtonBase::GetPartState() const
{
    return GetIsPressed() ? 3 : GetIsMouseOver() ? 2 : 1;
}

void COSMMarkupButtonBase::SetPressed(BOOL pressed)
{
    if (pressed)
    {
        if (!m_bPressed)
        {
            m_bPressed = TRUE;
            SetValue(s_pIsPressedProperty, COSMMarkupBool::CreateTrueValue());
        }
        return;
    }
    if (!m_bPressed)
        return;
    m_bPressed = FALSE;
    SetValue(s_pIsPressedProperty, nullptr);
    if (!m_bMouseInside && GetIsMouseOver())
    {
        SetValue(s_pIsMouseOverProperty, nullptr);
        InvalidateVisual();
    }
}

void COSMMarkupButtonBase::OnMouseLeftButtonDown(COSMMarkupMouseEventArgs* args)
{
    Focus();
    SetPressed(TRUE);
    args->handled = TRUE;
    CaptureMouse();
}

void COSMMarkupButtonBase::OnMouseLeftButtonUp(COSMMarkupMouseEventArgs* args)
{
    if (!m_bPressed)
        return;
    // A click handler may release the last reference the tree held on the button.
    const RefPtr<COSMMarkupObject> hold = RefPtr<COSMMarkupObject>::Retain(this);
    ReleaseMouseCapture();
    SetPressed(FALSE);
    if (m_bMouseInside)
        OnClick();
    args->handled = TRUE;
}

void COSMMarkupButtonBase::OnMouseEnter(COSMMarkupMouseEventArgs* args)
{
    m_bMouseInside = TRUE;
    if (m_bPressed)
    {
        SetValue(s_pIsPressedProperty, COSMMarkupBool::CreateTrueValue());
        return;
    }
    COSMMarkupContentControl::OnMouseEnter(args);
    InvalidateVisual();
}

void COSMMarkupButtonBase::OnMouseLeave(COSMMarkupMouseEventArgs* args)
{
    m_bMouseInside = FALSE;
    if (m_bPressed)
    {
        SetValue(s_pIsPressedProperty, nullptr);
        return;
    }
    COSMMarkupContentControl::OnMouseLeave(args);
    InvalidateVisual();
}

void COSMMarkupButtonBase::OnLostMouseCapture(COSMMarkupMouseEventArgs* args)
{
    SetPressed(FALSE);
}

void COSMMarkupButtonBase::OnClick()
{
    COSMMarkupRoutedEventArgs args(s_pClickEvent);
    args.source = this;
    RaiseEvent(&args);
}
