#include "framework/markup/MarkupFont.h"

COSMMarkupFont::COSMMarkupFont(const LOGFONTW& logFont, COSMMarkupContext* context)
    : m_hFont(::CreateFontIndirectW(&logFont)), m_logFont(logFont), m_pContext(context)
{
}

COSMMarkupFont::~COSMMarkupFont()
{
    if (m_hFont)
        ::DeleteObject(m_hFont);
}
