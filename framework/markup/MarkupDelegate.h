// COSMMarkupDelegate: a handler of routed events, reference counted like every markup object (it has no type record
// of its own). The host names its delegates to the markup context, and markup binds them to events by name:
//
//   context->AddDelegate(L"OnClick", new COSMMarkupFunctionDelegate(
//       [this](COSMMarkupInputElement* sender, COSMMarkupRoutedEventArgs* args) { OnMarkupClick(sender); }));
//   <Border MouseLeftButtonUp="OnClick"/>
//
// Handler lists hold one reference on each delegate they contain.
#pragma once

#include "framework/markup/MarkupObject.h"
#include "framework/markup/MarkupRoutedEvent.h"

#include <functional>

class COSMMarkupDelegate : public COSMMarkupObject
{
public:
    COSMMarkupDelegate() = default;

protected:
    ~COSMMarkupDelegate() override;

public:
    // ---- Override this (after the object's operations) -------------------------------------------------------
    // Handles the event that args names, raised on (or bubbling through) sender. Nothing here.
    virtual void Invoke(COSMMarkupInputElement* sender, COSMMarkupRoutedEventArgs* args);
};

// A delegate that calls a function object.
class COSMMarkupFunctionDelegate : public COSMMarkupDelegate
{
public:
    using Function = std::function<void(COSMMarkupInputElement* sender, COSMMarkupRoutedEventArgs* args)>;

    explicit COSMMarkupFunctionDelegate(Function function) : m_function(std::move(function)) {}

    void Invoke(COSMMarkupInputElement* sender, COSMMarkupRoutedEventArgs* args) override;

private:
    Function m_function;
};
