// COSMMarkupRoutedEvent: an event an element can raise, registered like a dependency property of its owner class.
// In markup its value is the name of a delegate the host gave the markup context: MouseLeftButtonUp="OnClick" binds
// that delegate as a handler. It takes no slot in value stores (its index is -1); its routing strategy is kept as
// its metadata flags: none for a direct event, which only the raising element's handlers hear, 1 for a bubbling one,
// which climbs the logical parents until a handler marks it handled.
//
//   s_pClickEvent = COSMMarkupRoutedEvent::RegisterEvent(L"Click", GetClassType(), COSMMarkupRoutedEvent::Bubble);
//   COSMMarkupRoutedEventArgs args(s_pClickEvent);
//   element->RaiseEvent(&args);
//
// The argument records below are plain records, made on the stack by whoever raises the event. (A bubbling event's
// flag 1 is also the metadata's inheritance flag: harmless, as an event has no slot to hold or inherit a value.)
#pragma once

#include "framework/markup/MarkupDependencyProperty.h"

class COSMMarkupInputElement;

class COSMMarkupRoutedEvent : public COSMMarkupDependencyProperty
{
public:
    enum Strategy
    {
        Direct = 0,
        Bubble = 1,
    };

    COSMMarkupRoutedEvent() = default;

protected:
    ~COSMMarkupRoutedEvent() override;

public:
    BOOL IsEvent() const override;

    // A new event registered under (name, ownerType) with a COSMMarkupString value (the delegate's name); the
    // property registry holds the only reference. name is a static string, kept as given.
    static COSMMarkupRoutedEvent* RegisterEvent(LPCWSTR name, COSMMarkupType* ownerType, Strategy strategy);

    Strategy GetRoutingStrategy() const;
};

// What every handler of a routed event receives. The raising element becomes the source when none is given.
struct COSMMarkupRoutedEventArgs
{
    explicit COSMMarkupRoutedEventArgs(COSMMarkupRoutedEvent* routedEvent = nullptr) : event(routedEvent) {}

    COSMMarkupRoutedEvent* event;
    COSMMarkupInputElement* source = nullptr;
    BOOL handled = FALSE;
};

// A mouse event: the host window and the mouse position in its client coordinates.
struct COSMMarkupMouseEventArgs : COSMMarkupRoutedEventArgs
{
    explicit COSMMarkupMouseEventArgs(COSMMarkupRoutedEvent* routedEvent = nullptr)
        : COSMMarkupRoutedEventArgs(routedEvent)
    {}

    HWND hwnd = nullptr;
    int x = 0;
    int y = 0;
};

// The cursor question: a handler that answers sets the cursor and marks the arguments handled.
struct COSMMarkupQueryCursorEventArgs : COSMMarkupMouseEventArgs
{
    using COSMMarkupMouseEventArgs::COSMMarkupMouseEventArgs;

    HCURSOR cursor = nullptr;
};

struct COSMMarkupMouseWheelEventArgs : COSMMarkupMouseEventArgs
{
    using COSMMarkupMouseEventArgs::COSMMarkupMouseEventArgs;

    int delta = 0;
};
