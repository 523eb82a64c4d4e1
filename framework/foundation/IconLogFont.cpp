#include "framework/foundation/IconLogFont.h"

#include "framework/foundation/ResourceManager.h"

BOOL GetIconLogFont(LOGFONTA* pLogFont)
{
    if (!pLogFont)
        return FALSE;
    *pLogFont = LOGFONTA{};
    if (!::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(LOGFONTA), pLogFont, 0))
        return FALSE;
    pLogFont->lfCharSet = GetResourceManager()->GetFontCharset();
    return TRUE;
}
