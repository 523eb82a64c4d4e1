// COSMMarkupInputElement: the first class of the element chain (input element, visual, UI element, framework
// element). It makes an element answer the mouse: it keeps the mouse-over state, picks the cursor, holds the
// element's event handlers and raises routed events, and carries the element's style and tooltip.
//
//   element->AddHandler(COSMMarkupInputElement::s_pMouseEnterEvent, delegate);   // takes over the reference
//   COSMMarkupMouseEventArgs args(COSMMarkupInputElement::s_pMouseEnterEvent);
//   element->RaiseEvent(&args);
//
// Markup binds handlers by naming a delegate the markup context holds (MouseEnter="OnEnter"); that needs an element
// the context created. The markup context's mouse dispatch raises the mouse events along the route itself and calls
// the matching On... operation of each element that left the event unhandled.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupObject.h"
#include "framework/markup/MarkupRoutedEvent.h"

#include <memory>

class COSMMarkupCollection;
class COSMMarkupContext;
class COSMMarkupDelegate;
class COSMMarkupHandlerMap;
class COSMMarkupStyle;
class COSMMarkupTriggerCollection;

class COSMMarkupInputElement : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupInputElement)

public:
    COSMMarkupInputElement();

protected:
    // Releases the handlers (and their delegates), the active triggers, the trigger values and the style.
    ~COSMMarkupInputElement() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // The element's own value, then what active triggers set, then its style's, then its type's default style's.
    COSMMarkupObject* GetValueCore(COSMMarkupDependencyProperty* property) const override;
    // A routed event binds the delegate the value names (throws "Markup Context is NULL" without a context and
    // "'<name>' delegate not found" for a name the context does not hold); anything else as the object does.
    void SetPropertyObject(COSMMarkupBuilder* builder, COSMMarkupDependencyProperty* property,
                           COSMMarkupObject* value) override;

protected:
    // Tells the markup context the element goes, then deletes it.
    void OnFinalRelease() override;

public:
    // ---- Override these (in this order, after the object's operations) --------------------------------------
    // What the element does with a mouse event its handlers left unhandled. Nothing here, except: leaving removes
    // the local IsMouseOver (so False shows), entering sets it True, and the cursor question is answered by Cursor.
    virtual void OnMouseLeave(COSMMarkupMouseEventArgs* args);
    virtual void OnMouseEnter(COSMMarkupMouseEventArgs* args);
    virtual void OnMouseMove(COSMMarkupMouseEventArgs* args);
    // With Cursor set: the arguments become handled with that system cursor (the low 16 bits of the value).
    virtual void OnQueryCursor(COSMMarkupQueryCursorEventArgs* args);
    virtual void OnMouseLeftButtonUp(COSMMarkupMouseEventArgs* args);
    virtual void OnMouseRightButtonUp(COSMMarkupMouseEventArgs* args);
    virtual void OnMouseLeftButtonDown(COSMMarkupMouseEventArgs* args);
    virtual void OnMouseRightButtonDown(COSMMarkupMouseEventArgs* args);
    virtual void OnLostMouseCapture(COSMMarkupMouseEventArgs* args);
    virtual void OnMouseWheel(COSMMarkupMouseWheelEventArgs* args);
    // The element hit at (x, y) in the parent's coordinates, or null: a bare input element takes no room.
    virtual COSMMarkupInputElement* InputHitTest(int x, int y);
    // Without a style yet, takes the implicit one: the style the resources along the element's ancestors hold
    // under its own type record (sealed). With a style, evaluates all its triggers.
    virtual void UpdateStyle();

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // Appends handler to the event's handlers, taking over its reference.
    void AddHandler(COSMMarkupRoutedEvent* routedEvent, COSMMarkupDelegate* handler);
    // Routes args->event: a direct event to this element's handlers only; a bubbling one to this element's, then
    // each logical ancestor's until a handler marks it handled, and when none does, to the markup context's own
    // handlers (sender: this element). An element with no source given becomes the source. Each element is held
    // while its handlers run, so a handler may release the tree.
    void RaiseEvent(COSMMarkupRoutedEventArgs* args);

    // The host window takes the mouse capture for this element (nothing without a markup context).
    void CaptureMouse();
    void ReleaseMouseCapture();
    // Hands the element to keyboard navigation, which moves no focus yet: nothing happens.
    void Focus();

    // The mouse position of args relative to element: less the visual offset of element and of each logical
    // ancestor that is a visual.
    static CPoint GetPosition(const COSMMarkupMouseEventArgs* args, const COSMMarkupObject* element);

    // Re-evaluates the triggers for a changed property and its new value (both null: all of them, against the
    // element's current values): switches off active triggers on property that no longer match, switches on the
    // ones of the style (else of the type's default style) that now match, rebuilds the trigger values and
    // reports every property whose shown value (GetValue) changed to OnPropertyChanged, and to the logical
    // descendants for inherited properties. While the update of one property runs, a nested update of that same
    // property (a trigger feeding its own condition) evaluates nothing, so triggers cannot recurse without end.
    void ApplyStyleValues(COSMMarkupDependencyProperty* property, COSMMarkupObject* newValue);
    // Appends to the active triggers, with a reference, every trigger of style (its BasedOn's first, then its
    // own from the last to the first) that matches: for a null property, the trigger's property's current value;
    // else only triggers on property, against newValue. A trigger already active is not appended again. TRUE when
    // one was appended.
    BOOL EvaluateTriggers(COSMMarkupStyle* style, COSMMarkupDependencyProperty* property, COSMMarkupObject* newValue);
    // The sealed style the element uses (borrowed), or null.
    COSMMarkupStyle* GetAppliedStyle() const { return m_pStyle; }
    // The triggers active now, in the order their values apply (borrowed); null before the first activation.
    COSMMarkupTriggerCollection* GetActiveTriggers() const { return m_pActiveTriggers; }

    // The context that created the element (not counted by the element's getters), or null.
    COSMMarkupContext* GetMarkupContext() const { return m_pContext; }

    // ---- For the markup context's own use -------------------------------------------------------------------
    void SetMarkupContext(COSMMarkupContext* context) { m_pContext = context; }

    // Cursor (a system cursor id; names through ConvertCursor), IsMouseOver (default False), Resources (the
    // style's property), Style, IsKeyboardFocused (default False; repaints), IsFocusable (default False), ToolTip
    // (any object).
    static COSMMarkupDependencyProperty* s_pCursorProperty;
    static COSMMarkupDependencyProperty* s_pIsMouseOverProperty;
    static COSMMarkupDependencyProperty* s_pResourcesProperty;
    static COSMMarkupDependencyProperty* s_pStyleProperty;
    static COSMMarkupDependencyProperty* s_pIsKeyboardFocusedProperty;
    static COSMMarkupDependencyProperty* s_pIsFocusableProperty;
    static COSMMarkupDependencyProperty* s_pToolTipProperty;
    // The mouse events, all direct.
    static COSMMarkupRoutedEvent* s_pMouseLeaveEvent;
    static COSMMarkupRoutedEvent* s_pMouseEnterEvent;
    static COSMMarkupRoutedEvent* s_pMouseLeftButtonUpEvent;
    static COSMMarkupRoutedEvent* s_pMouseLeftButtonDownEvent;
    static COSMMarkupRoutedEvent* s_pMouseRightButtonUpEvent;
    static COSMMarkupRoutedEvent* s_pMouseRightButtonDownEvent;
    static COSMMarkupRoutedEvent* s_pMouseMoveEvent;
    static COSMMarkupRoutedEvent* s_pLostMouseCaptureEvent;
    static void RegisterMarkupProperties();

private:
    // The Style property's change callback: the new style, sealed, becomes the element's style.
    static void OnStyleChanged(COSMMarkupObject* object, const COSMMarkupPropertyChange* change);
    // This element's handlers of args->event, with this element as sender.
    void InvokeHandlers(COSMMarkupRoutedEventArgs* args);

    std::unique_ptr<COSMMarkupHandlerMap> m_pHandlers;
    COSMMarkupContext* m_pContext = nullptr;
    // What ApplyStyleValues is updating on this element now, innermost first (frames live on the stack).
    struct StyleUpdate
    {
        const COSMMarkupDependencyProperty* property;
        const StyleUpdate* outer;
    };
    BOOL IsUpdatingStyleValues(const COSMMarkupDependencyProperty* property) const;

    COSMMarkupTriggerCollection* m_pActiveTriggers = nullptr;
    const StyleUpdate* m_pStyleUpdates = nullptr;
    COSMMarkupProperties* m_pTriggerValues = nullptr;
    COSMMarkupStyle* m_pStyle = nullptr;
};
