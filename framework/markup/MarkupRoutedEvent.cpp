#include "framework/markup/MarkupRoutedEvent.h"

#include "framework/markup/MarkupString.h"

COSMMarkupRoutedEvent::~COSMMarkupRoutedEvent() = default;

BOOL COSMMarkupRoutedEvent::IsEvent() const
{
    return TRUE;
}

COSMMarkupRoutedEvent* COSMMarkupRoutedEvent::RegisterEvent(LPCWSTR name, COSMMarkupType* ownerType, Strategy strategy)
{
    // The strategy is the metadata's flags; a direct event carries no metadata at all.
    COSMMarkupPropertyMetadata* metadata =
        strategy == Direct ? nullptr : new COSMMarkupPropertyMetadata(nullptr, static_cast<DWORD>(strategy));
    COSMMarkupRoutedEvent* routedEvent = new COSMMarkupRoutedEvent;
    RegisterProperty(routedEvent, name, COSMMarkupString::GetClassType(), ownerType, metadata, FALSE);
    return routedEvent;
}

COSMMarkupRoutedEvent::Strategy COSMMarkupRoutedEvent::GetRoutingStrategy() const
{
    const COSMMarkupPropertyMetadata* metadata = GetMetadata();
    return metadata && metadata->GetFlags() == Bubble ? Bubble : Direct;
}
