#include "framework/foundation/TextFunctions.h"

#include "framework/foundation/OSVersionInfo.h"

namespace {

struct FontSearch
{
    LPCSTR face;
    BOOL found;
};

int CALLBACK MatchFontFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data) noexcept
{
    auto* search = reinterpret_cast<FontSearch*>(data);
    // lstrcmpi compares by the user's locale, double-byte faces included.
    if (lstrcmpiA(font->lfFaceName, search->face) != 0)
        return 1;
    search->found = TRUE;
    return 0;
}

}  // namespace

void StripMnemonics(CString& text)
{
    for (int i = 0; i < text.GetLength(); ++i)
    {
        if (text[i] != '&')
            continue;
        // After a removal the loop steps past the character that moved into its place.
        if (i + 1 == text.GetLength() || text[i + 1] != '&')
            text.Delete(i);
    }
}

void StripMnemonicsInPlace(char* text)
{
    if (!text || text == reinterpret_cast<char*>(-1))
        return;
    char* out = text;
    for (const char* in = text; *in; ++in)
    {
        if (*in == '&' && in[1] != '&')
            continue;
        *out++ = *in;
    }
    *out = 0;
}

BOOL FontExists(LPCSTR face)
{
    if (!face)
        return FALSE;
    FontSearch search{face, FALSE};
    LOGFONTA wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    HDC screen = GetDC(nullptr);
    if (!screen)
        return FALSE;
    EnumFontFamiliesExA(screen, &wanted, reinterpret_cast<FONTENUMPROCA>(MatchFontFamily),
                        reinterpret_cast<LPARAM>(&search), 0);
    ReleaseDC(nullptr, screen);
    return search.found;
}

CString GetDefaultFontName(BOOL preferTahoma)
{
    LOGFONTA system{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(system), &system);
    const CString systemFace = system.lfFaceName;
    // A non-Western system font names the face that can show the user's script; "MS Shell Dlg" is only an alias.
    if (system.lfCharSet > SYMBOL_CHARSET && GetOSVersionInfo()->IsWin2KOrGreater() &&
        lstrcmpiA(systemFace, "MS Shell Dlg") != 0)
        return systemFace;
    if (!FontExists("Arial"))
        return systemFace;
    return preferTahoma && FontExists("Tahoma") ? CString("Tahoma") : CString("Arial");
}
