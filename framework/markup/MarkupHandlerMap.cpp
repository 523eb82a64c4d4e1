#include "framework/markup/MarkupHandlerMap.h"

#include <memory>

COSMMarkupHandlerMap::COSMMarkupHandlerMap()
{
    m_handlers.InitHashTable(17);
}

COSMMarkupHandlerMap::~COSMMarkupHandlerMap()
{
    for (POSITION pos = m_handlers.GetStartPosition(); pos;)
    {
        COSMMarkupRoutedEvent* routedEvent = nullptr;
        HandlerList* handlers = nullptr;
        m_handlers.GetNextAssoc(pos, routedEvent, handlers);
        for (COSMMarkupDelegate* handler : *handlers)
            handler->Release();
        delete handlers;
    }
    m_handlers.RemoveAll();
}

void COSMMarkupHandlerMap::AddHandler(COSMMarkupRoutedEvent* routedEvent, COSMMarkupDelegate* handler)
{
    if (!routedEvent || !handler)
    {
        if (handler)
            handler->Release();
        return;
    }
    HandlerList*& handlers = m_handlers[routedEvent];
    if (!handlers)
        handlers = new HandlerList;
    handlers->push_back(handler);
}

void COSMMarkupHandlerMap::InvokeHandlers(COSMMarkupInputElement* sender, COSMMarkupRoutedEventArgs* args) const
{
    HandlerList* handlers = nullptr;
    if (!args || !m_handlers.Lookup(args->event, handlers))
        return;
    // The copy holds each delegate: the list, and this map with it, may change or go while handlers run.
    struct Releaser
    {
        void operator()(COSMMarkupDelegate* handler) const { handler->Release(); }
    };
    std::vector<std::unique_ptr<COSMMarkupDelegate, Releaser>> held;
    held.reserve(handlers->size());
    for (COSMMarkupDelegate* handler : *handlers)
    {
        handler->AddRef();
        held.emplace_back(handler);
    }
    for (const auto& handler : held)
        handler->Invoke(sender, args);
}

int COSMMarkupHandlerMap::GetHandlerCount(COSMMarkupRoutedEvent* routedEvent) const
{
    HandlerList* handlers = nullptr;
    return m_handlers.Lookup(routedEvent, handlers) ? static_cast<int>(handlers->size()) : 0;
}
