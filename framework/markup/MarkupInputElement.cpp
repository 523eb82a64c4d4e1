#include "framework/markup/MarkupInputElement.h"

#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupCollection.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupConverters.h"
#include "framework/markup/MarkupDelegate.h"
#include "framework/markup/MarkupHandlerMap.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupProperties.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupStyle.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupVisual.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupInputElement, COSMMarkupObject, nullptr,
                      &COSMMarkupInputElement::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupInputElement::s_pCursorProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupInputElement::s_pIsMouseOverProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupInputElement::s_pResourcesProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupInputElement::s_pStyleProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupInputElement::s_pIsKeyboardFocusedProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupInputElement::s_pIsFocusableProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupInputElement::s_pToolTipProperty = nullptr;
COSMMarkupRoutedEvent* COSMMarkupInputElement::s_pMouseLeaveEvent = nullptr;
COSMMarkupRoutedEvent* COSMMarkupInputElement::s_pMouseEnterEvent = nullptr;
COSMMarkupRoutedEvent* COSMMarkupInputElement::s_pMouseLeftButtonUpEvent = nullptr;
COSMMarkupRoutedEvent* COSMMarkupInputElement::s_pMouseLeftButtonDownEvent = nullptr;
COSMMarkupRoutedEvent* COSMMarkupInputElement::s_pMouseRightButtonUpEvent = nullptr;
COSMMarkupRoutedEvent* COSMMarkupInputElement::s_pMouseRightButtonDownEvent = nullptr;
COSMMarkupRoutedEvent* COSMMarkupInputElement::s_pMouseMoveEvent = nullptr;
COSMMarkupRoutedEvent* COSMMarkupInputElement::s_pLostMouseCaptureEvent = nullptr;

void COSMMarkupInputElement::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    s_pCursorProperty = COSMMarkupDependencyProperty::Register(
        L"Cursor", COSMMarkupInt::GetClassType(), type, new COSMMarkupPropertyMetadata(nullptr, ConvertCursor, 0));
    s_pIsMouseOverProperty = COSMMarkupDependencyProperty::Register(
        L"IsMouseOver", COSMMarkupBool::GetClassType(), type,
        new COSMMarkupPropertyMetadata(COSMMarkupBool::CreateFalseValue(), 0));
    // The style's own property object, so a resource lookup finds it on styles and elements alike.
    COSMMarkupStyle::GetClassType()->EnsureInitialized();
    s_pResourcesProperty = COSMMarkupStyle::s_pResourcesProperty->AddOwner(type);
    s_pStyleProperty =
        COSMMarkupDependencyProperty::Register(L"Style", COSMMarkupStyle::GetClassType(), type,
                                               new COSMMarkupPropertyMetadata(nullptr, &OnStyleChanged, 0));
    s_pIsKeyboardFocusedProperty = COSMMarkupDependencyProperty::Register(
        L"IsKeyboardFocused", COSMMarkupBool::GetClassType(), type,
        new COSMMarkupPropertyMetadata(COSMMarkupBool::CreateFalseValue(), COSMMarkupPropertyMetadata::AffectsRender));
    s_pIsFocusableProperty = COSMMarkupDependencyProperty::Register(
        L"IsFocusable", COSMMarkupBool::GetClassType(), type,
        new COSMMarkupPropertyMetadata(COSMMarkupBool::CreateFalseValue(), 0));
    s_pToolTipProperty =
        COSMMarkupDependencyProperty::Register(L"ToolTip", COSMMarkupObject::GetClassType(), type);

    using Event = COSMMarkupRoutedEvent;
    s_pMouseLeaveEvent = Event::RegisterEvent(L"MouseLeave", type, Event::Direct);
    s_pMouseEnterEvent = Event::RegisterEvent(L"MouseEnter", type, Event::Direct);
    s_pMouseLeftButtonUpEvent = Event::RegisterEvent(L"MouseLeftButtonUp", type, Event::Direct);
    s_pMouseLeftButtonDownEvent = Event::RegisterEvent(L"MouseLeftButtonDown", type, Event::Direct);
    s_pMouseRightButtonUpEvent = Event::RegisterEvent(L"MouseRightButtonUp", type, Event::Direct);
    s_pMouseRightButtonDownEvent = Event::RegisterEvent(L"MouseRightButtonDown", type, Event::Direct);
    s_pMouseMoveEvent = Event::RegisterEvent(L"MouseMove", type, Event::Direct);
    s_pLostMouseCaptureEvent = Event::RegisterEvent(L"LostMouseCapture", type, Event::Direct);
}

COSMMarkupInputElement::COSMMarkupInputElement() = default;

COSMMarkupInputElement::~COSMMarkupInputElement()
{
    m_pHandlers.reset();
    if (m_pActiveTriggers)
        m_pActiveTriggers->Release();
    if (m_pTriggerValues)
        m_pTriggerValues->Release();
    if (m_pStyle)
        m_pStyle->Release();
}

COSMMarkupObject* COSMMarkupInputElement::GetValueCore(COSMMarkupDependencyProperty* property) const
{
    if (COSMMarkupObject* own = COSMMarkupObject::GetValueCore(property))
        return own;
    if (!property)
        return nullptr;
    if (m_pTriggerValues) {
        if (COSMMarkupObject* triggered = m_pTriggerValues->GetAt(property->GetIndex()))
            return triggered;
    }
    if (m_pStyle) {
        if (COSMMarkupObject* styled = m_pStyle->GetStyleValue(property))
            return styled;
    }
    // Only the element's own type's default style: its bases' do not apply.
    if (const COSMMarkupStyle* typeStyle = MarkupDynamicCast<COSMMarkupStyle>(GetType()->GetDefaultStyle()))
        return typeStyle->GetStyleValue(property);
    return nullptr;
}

void COSMMarkupInputElement::SetPropertyObject(COSMMarkupBuilder* builder, COSMMarkupDependencyProperty* property,
                                               COSMMarkupObject* value)
{
    if (!property || !property->IsEvent()) {
        COSMMarkupObject::SetPropertyObject(builder, property, value);
        return;
    }
    if (!m_pContext)
        COSMMarkupBuilder::ThrowBuilderException("Markup Context is NULL");
    LPCWSTR name = GetMarkupText(value);
    COSMMarkupDelegate* handler = m_pContext->FindDelegate(name);
    if (!handler)
        COSMMarkupBuilder::ThrowBuilderException(FormatMarkupMessage1("'%ls' delegate not found", name ? name : L""));
    handler->AddRef();
    AddHandler(static_cast<COSMMarkupRoutedEvent*>(property), handler);
    if (value)
        value->Release();
}

void COSMMarkupInputElement::OnFinalRelease()
{
    if (m_pContext)
        m_pContext->OnElementDestroyed(this);
    delete this;
}

void COSMMarkupInputElement::OnMouseLeave(COSMMarkupMouseEventArgs* args)
{
    SetValue(s_pIsMouseOverProperty, nullptr);
}

void COSMMarkupInputElement::OnMouseEnter(COSMMarkupMouseEventArgs* args)
{
    SetValue(s_pIsMouseOverProperty, COSMMarkupBool::CreateTrueValue());
}

void COSMMarkupInputElement::OnMouseMove(COSMMarkupMouseEventArgs* args) {}

void COSMMarkupInputElement::OnQueryCursor(COSMMarkupQueryCursorEventArgs* args)
{
    const COSMMarkupInt* cursor = MarkupDynamicCast<COSMMarkupInt>(GetValue(s_pCursorProperty));
    if (!cursor || !args)
        return;
    args->handled = TRUE;
    args->cursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(LOWORD(cursor->GetValue())));
}

void COSMMarkupInputElement::OnMouseLeftButtonUp(COSMMarkupMouseEventArgs* args) {}

void COSMMarkupInputElement::OnMouseRightButtonUp(COSMMarkupMouseEventArgs* args) {}

void COSMMarkupInputElement::OnMouseLeftButtonDown(COSMMarkupMouseEventArgs* args) {}

void COSMMarkupInputElement::OnMouseRightButtonDown(COSMMarkupMouseEventArgs* args) {}

void COSMMarkupInputElement::OnLostMouseCapture(COSMMarkupMouseEventArgs* args) {}

void COSMMarkupInputElement::OnMouseWheel(COSMMarkupMouseWheelEventArgs* args) {}

COSMMarkupInputElement* COSMMarkupInputElement::InputHitTest(int x, int y)
{
    return nullptr;
}

void COSMMarkupInputElement::UpdateStyle() {}

void COSMMarkupInputElement::AddHandler(COSMMarkupRoutedEvent* routedEvent, COSMMarkupDelegate* handler)
{
    if (!m_pHandlers)
        m_pHandlers = std::make_unique<COSMMarkupHandlerMap>();
    m_pHandlers->AddHandler(routedEvent, handler);
}

void COSMMarkupInputElement::InvokeHandlers(COSMMarkupRoutedEventArgs* args)
{
    if (m_pHandlers)
        m_pHandlers->InvokeHandlers(this, args);
}

void COSMMarkupInputElement::RaiseEvent(COSMMarkupRoutedEventArgs* args)
{
    if (!args || !args->event)
        return;
    if (!args->source)
        args->source = this;
    // Held until the end: a handler may release the tree, this element included.
    AddRef();
    COSMMarkupPtr self(this);
    if (args->event->GetRoutingStrategy() == COSMMarkupRoutedEvent::Direct) {
        InvokeHandlers(args);
        return;
    }
    // Each object on the way up is held while its handlers run; one whose tree went meanwhile has lost its
    // parent, which ends the walk.
    COSMMarkupPtr current;
    for (COSMMarkupObject* object = this; object;) {
        if (COSMMarkupInputElement* element = MarkupDynamicCast<COSMMarkupInputElement>(object)) {
            element->InvokeHandlers(args);
            if (args->handled)
                return;
        }
        COSMMarkupObject* parent = object->GetLogicalParent();
        if (parent)
            parent->AddRef();
        current.Attach(parent);
        object = parent;
    }
    if (m_pContext)
        m_pContext->RaiseContextHandlers(this, args);
}

void COSMMarkupInputElement::CaptureMouse()
{
    if (m_pContext)
        m_pContext->CaptureMouse(this);
}

void COSMMarkupInputElement::ReleaseMouseCapture()
{
    if (m_pContext)
        m_pContext->ReleaseMouseCapture();
}

void COSMMarkupInputElement::Focus() {}

CPoint COSMMarkupInputElement::GetPosition(const COSMMarkupMouseEventArgs* args, const COSMMarkupObject* element)
{
    if (!args)
        return CPoint(0, 0);
    CPoint point(args->x, args->y);
    for (const COSMMarkupObject* object = element; object; object = object->GetLogicalParent()) {
        if (const COSMMarkupVisual* visual = MarkupDynamicCast<COSMMarkupVisual>(object)) {
            point.x = SubtractMarkupLengths(point.x, visual->GetVisualOffset().x);
            point.y = SubtractMarkupLengths(point.y, visual->GetVisualOffset().y);
        }
    }
    return point;
}

void COSMMarkupInputElement::ApplyStyleValues(COSMMarkupDependencyProperty* property, COSMMarkupObject* newValue) {}

void COSMMarkupInputElement::OnStyleChanged(COSMMarkupObject* object, const COSMMarkupPropertyChange* change)
{
    COSMMarkupInputElement* element = MarkupDynamicCast<COSMMarkupInputElement>(object);
    if (!element)
        return;
    COSMMarkupStyle* style = MarkupDynamicCast<COSMMarkupStyle>(change->newValue);
    if (style) {
        style->Seal();
        style->AddRef();
    }
    if (element->m_pStyle)
        element->m_pStyle->Release();
    element->m_pStyle = style;
}
