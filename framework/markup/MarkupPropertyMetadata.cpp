#include "framework/markup/MarkupPropertyMetadata.h"

COSMMarkupPropertyMetadata::COSMMarkupPropertyMetadata(COSMMarkupObject* defaultValue, DWORD flags)
    : COSMMarkupPropertyMetadata(defaultValue, nullptr, nullptr, flags)
{}

COSMMarkupPropertyMetadata::COSMMarkupPropertyMetadata(COSMMarkupObject* defaultValue, Converter pfnConverter,
                                                       DWORD flags)
    : COSMMarkupPropertyMetadata(defaultValue, pfnConverter, nullptr, flags)
{}

COSMMarkupPropertyMetadata::COSMMarkupPropertyMetadata(COSMMarkupObject* defaultValue, ChangeCallback pfnCallback,
                                                       DWORD flags)
    : COSMMarkupPropertyMetadata(defaultValue, nullptr, pfnCallback, flags)
{}

COSMMarkupPropertyMetadata::COSMMarkupPropertyMetadata(COSMMarkupObject* defaultValue, Converter pfnConverter,
                                                       ChangeCallback pfnCallback, DWORD flags)
    : m_pDefaultValue(defaultValue), m_pfnConverter(pfnConverter), m_pfnCallback(pfnCallback), m_dwFlags(flags)
{}

COSMMarkupPropertyMetadata::~COSMMarkupPropertyMetadata()
{
    if (m_pDefaultValue)
        m_pDefaultValue->Release();
}
