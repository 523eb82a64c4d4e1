#include "framework/markup/MarkupInputElement.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupCollection.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupConverters.h"
#include "framework/markup/MarkupDelegate.h"
#include "framework/markup/MarkupHandlerMap.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupProperties.h"
#include "framework/markup/MarkupResourceDictionary.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupStyle.h"
#include "framework/markup/MarkupTrigger.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupVisual.h"

#include <vector>

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
    s_pIsMouseOverProperty =
        COSMMarkupDependencyProperty::Register(L"IsMouseOver", COSMMarkupBool::GetClassType(), type,
                                               new COSMMarkupPropertyMetadata(COSMMarkupBool::CreateFalseValue(), 0));
    // The style's own property object, so a resource lookup finds it on styles and elements alike.
    COSMMarkupStyle::GetClassType()->EnsureInitialized();
    s_pResourcesProperty = COSMMarkupStyle::s_pResourcesProperty->AddOwner(type);
    s_pStyleProperty = COSMMarkupDependencyProperty::Register(
        L"Style", COSMMarkupStyle::GetClassType(), type, new COSMMarkupPropertyMetadata(nullptr, &OnStyleChanged, 0));
    s_pIsKeyboardFocusedProperty = COSMMarkupDependencyProperty::Register(
        L"IsKeyboardFocused", COSMMarkupBool::GetClassType(), type,
        new COSMMarkupPropertyMetadata(COSMMarkupBool::CreateFalseValue(), COSMMarkupPropertyMetadata::AffectsRender));
    s_pIsFocusableProperty =
        COSMMarkupDependencyProperty::Register(L"IsFocusable", COSMMarkupBool::GetClassType(), type,
                                               new COSMMarkupPropertyMetadata(COSMMarkupBool::CreateFalseValue(), 0));
    s_pToolTipProperty = COSMMarkupDependencyProperty::Register(L"ToolTip", COSMMarkupObject::GetClassType(), type);

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
    if (m_pTriggerValues)
    {
        if (COSMMarkupObject* triggered = m_pTriggerValues->GetAt(property->GetIndex()))
            return triggered;
    }
    if (m_pStyle)
    {
        if (COSMMarkupObject* styled = m_pStyle->GetStyleValue(property))
            return styled;
    }
    // Only the element's own type's default style: its bases' do not apply.
    if (const COSMMarkupStyle* typeStyle = GetType()->GetDefaultStyle())
        return typeStyle->GetStyleValue(property);
    return nullptr;
}

void COSMMarkupInputElement::SetPropertyObject(COSMMarkupBuilder* builder, COSMMarkupDependencyProperty* property,
                                               COSMMarkupObject* value)
{
    if (!property || !property->IsEvent())
    {
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

void COSMMarkupInputElement::UpdateStyle()
{
    if (!m_pStyle)
    {
        // An implicit style: one stored without a Key, under the TargetType that is exactly this element's type.
        if (COSMMarkupStyle* found = MarkupDynamicCast<COSMMarkupStyle>(FindMarkupResource(this, GetType())))
        {
            found->Seal();
            found->AddRef();
            m_pStyle = found;
        }
    }
    if (m_pStyle)
        ApplyStyleValues(nullptr, nullptr);
}

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
    const RefPtr<COSMMarkupObject> self = RefPtr<COSMMarkupObject>::Retain(this);
    if (args->event->GetRoutingStrategy() == COSMMarkupRoutedEvent::Direct)
    {
        InvokeHandlers(args);
        return;
    }
    // Each object on the way up is held while its handlers run; one whose tree went meanwhile has lost its
    // parent, which ends the walk.
    RefPtr<COSMMarkupObject> current;
    for (COSMMarkupObject* object = this; object;)
    {
        if (COSMMarkupInputElement* element = MarkupDynamicCast<COSMMarkupInputElement>(object))
        {
            element->InvokeHandlers(args);
            if (args->handled)
                return;
        }
        COSMMarkupObject* parent = object->GetLogicalParent();
        current = RefPtr<COSMMarkupObject>::Retain(parent);
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
    for (const COSMMarkupObject* object = element; object; object = object->GetLogicalParent())
    {
        if (const COSMMarkupVisual* visual = MarkupDynamicCast<COSMMarkupVisual>(object))
        {
            point.x = SubtractMarkupLengths(point.x, visual->GetVisualOffset().x);
            point.y = SubtractMarkupLengths(point.y, visual->GetVisualOffset().y);
        }
    }
    return point;
}

namespace {

// The shown value of each property an update touches, as it was before the update (one reference each): changes
// are reported from these, so a listener hears what the element shows, never a bare trigger value.
class CShownValuesBefore
{
public:
    struct Entry
    {
        COSMMarkupDependencyProperty* property;
        COSMMarkupObject* before;
    };

    CShownValuesBefore() = default;
    CShownValuesBefore(const CShownValuesBefore&) = delete;
    CShownValuesBefore& operator=(const CShownValuesBefore&) = delete;
    ~CShownValuesBefore()
    {
        for (const Entry& entry : m_entries)
        {
            if (entry.before)
                entry.before->Release();
        }
    }

    // Records property's shown value on element, once per property: the first record is the value before.
    void Record(const COSMMarkupObject* element, COSMMarkupDependencyProperty* property)
    {
        for (const Entry& entry : m_entries)
        {
            if (entry.property == property)
                return;
        }
        m_entries.push_back({property, nullptr});
        if (COSMMarkupObject* before = element->GetValue(property))
        {
            before->AddRef();
            m_entries.back().before = before;
        }
    }

    const std::vector<Entry>& GetEntries() const { return m_entries; }

private:
    std::vector<Entry> m_entries;
};

}  // namespace

BOOL COSMMarkupInputElement::IsUpdatingStyleValues(const COSMMarkupDependencyProperty* property) const
{
    for (const StyleUpdate* update = m_pStyleUpdates; update; update = update->outer)
    {
        if (update->property == property)
            return TRUE;
    }
    return FALSE;
}

void COSMMarkupInputElement::ApplyStyleValues(COSMMarkupDependencyProperty* property, COSMMarkupObject* newValue)
{
    // A type's default style contributes triggers only to elements without a style of their own.
    COSMMarkupStyle* style = m_pStyle ? m_pStyle : GetType()->GetDefaultStyle();
    if (!style && !m_pActiveTriggers)
        return;
    // A trigger whose setters feed its own condition (or two that flip one property) would bring the update of
    // this property back here without end; the change that led here is still reported by the caller.
    if (property && IsUpdatingStyleValues(property))
        return;
    struct UpdateScope
    {
        COSMMarkupInputElement* element;
        StyleUpdate update;
        ~UpdateScope() { element->m_pStyleUpdates = update.outer; }
    } scope{this, {property, m_pStyleUpdates}};
    m_pStyleUpdates = &scope.update;

    CShownValuesBefore shown;
    BOOL changed = FALSE;

    // Triggers on the changed property whose condition no longer holds are switched off, their values cleared.
    if (m_pActiveTriggers && property)
    {
        for (int i = m_pActiveTriggers->GetCount() - 1; i >= 0; --i)
        {
            COSMMarkupTrigger* trigger = m_pActiveTriggers->GetTrigger(i);
            if (!trigger || trigger->GetTriggerProperty() != property)
                continue;
            const COSMMarkupObject* wanted = trigger->GetTriggerValue();
            if (wanted && wanted->IsEqual(newValue))
                continue;
            if (const COSMMarkupSetterColection* setters = trigger->GetSetters())
            {
                for (int j = 0; j < setters->GetCount(); ++j)
                {
                    COSMMarkupDependencyProperty* set = setters->GetSetter(j)->GetSetterProperty();
                    if (!set)
                        continue;
                    shown.Record(this, set);
                    if (m_pTriggerValues)
                        m_pTriggerValues->SetAt(set->GetIndex(), nullptr);
                }
            }
            m_pActiveTriggers->RemoveAt(i);
            changed = TRUE;
        }
    }

    if (style && EvaluateTriggers(style, property, newValue))
        changed = TRUE;

    // The values are rebuilt from the active list in order, so the last active trigger that sets a property wins.
    if (changed && m_pActiveTriggers)
    {
        if (!m_pTriggerValues)
            m_pTriggerValues = new COSMMarkupProperties(this);
        for (int i = 0; i < m_pActiveTriggers->GetCount(); ++i)
        {
            const COSMMarkupTrigger* trigger = m_pActiveTriggers->GetTrigger(i);
            const COSMMarkupSetterColection* setters = trigger ? trigger->GetSetters() : nullptr;
            for (int j = 0; setters && j < setters->GetCount(); ++j)
            {
                const COSMMarkupSetter* setter = setters->GetSetter(j);
                COSMMarkupDependencyProperty* set = setter->GetSetterProperty();
                COSMMarkupObject* value = setter->GetSetterValue();
                if (!set || !value || value->IsEqual(m_pTriggerValues->GetAt(set->GetIndex())))
                    continue;
                shown.Record(this, set);
                value->AddRef();
                m_pTriggerValues->SetAt(set->GetIndex(), value);
            }
        }
    }

    for (const CShownValuesBefore::Entry& entry : shown.GetEntries())
    {
        COSMMarkupObject* now = GetValue(entry.property);
        // Held while reported: a listener may change the values again.
        const RefPtr<COSMMarkupObject> nowHold = RefPtr<COSMMarkupObject>::Retain(now);
        ReportValueChange(entry.property, entry.before, now);
    }
}

BOOL COSMMarkupInputElement::EvaluateTriggers(COSMMarkupStyle* style, COSMMarkupDependencyProperty* property,
                                              COSMMarkupObject* newValue)
{
    if (!style)
        return FALSE;
    BOOL activated = FALSE;
    // The base style's triggers land before the style's own, so the style's own win.
    COSMMarkupStyle* base = style->GetBasedOn();
    if (base && base != style && EvaluateTriggers(base, property, newValue))
        activated = TRUE;
    const COSMMarkupTriggerCollection* triggers = style->GetTriggers();
    // Backwards: the trigger written first ends up last in the active list, and so wins.
    for (int i = triggers ? triggers->GetCount() - 1 : -1; i >= 0; --i)
    {
        COSMMarkupTrigger* trigger = triggers->GetTrigger(i);
        COSMMarkupDependencyProperty* tested = trigger ? trigger->GetTriggerProperty() : nullptr;
        if (!tested || (property && tested != property))
            continue;
        const COSMMarkupObject* value = property ? newValue : GetValue(tested);
        const COSMMarkupObject* wanted = trigger->GetTriggerValue();
        if (!wanted || !wanted->IsEqual(value))
            continue;
        if (!m_pActiveTriggers)
        {
            m_pActiveTriggers = new COSMMarkupTriggerCollection;
            // The triggers stay their style's children.
            m_pActiveTriggers->SetOwnsChildren(FALSE);
        }
        if (m_pActiveTriggers->Find(trigger) >= 0)
            continue;
        trigger->AddRef();
        m_pActiveTriggers->Add(trigger);
        activated = TRUE;
    }
    return activated;
}

void COSMMarkupInputElement::OnStyleChanged(COSMMarkupObject* object, const COSMMarkupPropertyChange* change)
{
    COSMMarkupInputElement* element = MarkupDynamicCast<COSMMarkupInputElement>(object);
    if (!element)
        return;
    COSMMarkupStyle* style = MarkupDynamicCast<COSMMarkupStyle>(change->newValue);
    if (style)
    {
        style->Seal();
        style->AddRef();
    }
    if (element->m_pStyle)
        element->m_pStyle->Release();
    element->m_pStyle = style;
}
