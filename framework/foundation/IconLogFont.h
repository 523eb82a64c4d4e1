// The font of icon titles, the base of the framework's user-interface fonts, in the charset of the resource
// language (COSMResourceManager::GetFontCharset).
//
//   LOGFONTA lf;
//   GetIconLogFont(&lf);
//   lf.lfWeight = FW_BOLD;
//   m_fontBold.CreateFontIndirect(&lf);
#pragma once

#include <windows.h>

// FALSE (with *pLogFont zeroed) when the system does not tell the font.
BOOL GetIconLogFont(LOGFONTA* pLogFont);
