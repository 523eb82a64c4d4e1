// COSMMarkupHandlerMap: the handlers of routed events, each event's delegates in the order they were added. Elements
// and the markup context each own one, made with their first handler. It is a 17-bucket map keyed by the event's
// address (bucket: the address shifted right by 4, cut to 32 bits, modulo 17), nodes allocated in blocks of 10; no
// order of it can be seen from outside.
//
// Invoking runs a copy of the event's list, each delegate held meanwhile: a handler may add handlers (they run from
// the next raise on) or release the element that owns this map.
#pragma once

#include "classlib/Map.h"
#include "framework/markup/MarkupDelegate.h"

#include <vector>

class COSMMarkupHandlerMap
{
public:
    COSMMarkupHandlerMap();
    // Releases every delegate.
    ~COSMMarkupHandlerMap();
    COSMMarkupHandlerMap(const COSMMarkupHandlerMap&) = delete;
    COSMMarkupHandlerMap& operator=(const COSMMarkupHandlerMap&) = delete;

    // Appends handler to the event's list, taking over its reference; a null event or handler is not kept.
    void AddHandler(COSMMarkupRoutedEvent* routedEvent, COSMMarkupDelegate* handler);
    // Calls every handler of args->event with (sender, args), first added first, whatever the handled flag says.
    void InvokeHandlers(COSMMarkupInputElement* sender, COSMMarkupRoutedEventArgs* args) const;
    int GetHandlerCount(COSMMarkupRoutedEvent* routedEvent) const;

private:
    using HandlerList = std::vector<COSMMarkupDelegate*>;

    CMap<COSMMarkupRoutedEvent*, COSMMarkupRoutedEvent*, HandlerList*, HandlerList*> m_handlers;
};
