// The languages the framework's resources can be in: for each, the code page its texts are converted with and
// the GDI charset its fonts use.
//
//   const OSM_LANGUAGE_INFO* pInfo = GetLanguageInfo(1049);   // Russian: code page 1251, charset 204
#pragma once

#include <windows.h>

struct OSM_LANGUAGE_INFO
{
    WORD wLanguage;       // the language id (LANGID)
    UINT nCodePage;       // 0 stands for the system's ANSI code page
    LPCSTR lpszEncoding;  // the web charset name
    LPCSTR lpszCaption;   // the English name
    LPCSTR lpszLang;      // the language's constant name, e.g. "LANG_RUSSIAN"
    LPCSTR lpszSubLang;   // the sub-language's constant name, e.g. "SUBLANG_DEFAULT"
    BYTE nFontCharSet;    // GDI charset for fonts of this language
};

// The record of a language id, or NULL when the table has none.
const OSM_LANGUAGE_INFO* GetLanguageInfo(WORD wLanguage);
// The whole table, in its fixed order (for lists of languages to offer).
const OSM_LANGUAGE_INFO* GetLanguageInfoTable(int* pnCount);
