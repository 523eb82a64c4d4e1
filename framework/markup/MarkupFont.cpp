#include "framework/markup/MarkupFont.h"

#include "framework/markup/MarkupContext.h"

COSMMarkupFont::COSMMarkupFont(const LOGFONTW& logFont, COSMMarkupContext* context)
    : m_hFont(::CreateFontIndirectW(&logFont)), m_logFont(logFont), m_pContext(context)
{}

COSMMarkupFont::~COSMMarkupFont()
{
    if (m_pContext)
        m_pContext->OnFontDestroyed(this);
    if (m_hFont)
        ::DeleteObject(m_hFont);
}
