#include "framework/markup/MarkupDelegate.h"

COSMMarkupDelegate::~COSMMarkupDelegate() = default;

void COSMMarkupDelegate::Invoke(COSMMarkupInputElement* sender, COSMMarkupRoutedEventArgs* args) {}

void COSMMarkupFunctionDelegate::Invoke(COSMMarkupInputElement* sender, COSMMarkupRoutedEventArgs* args)
{
    if (m_function)
        m_function(sender, args);
}
