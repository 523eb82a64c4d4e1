#include "framework/commandbars/MenuCaption.h"

#include <string>

namespace {

std::string EscapeAmpersands(LPCSTR text, UINT codePage)
{
    std::string escaped;
    for (LPCSTR p = text; *p; ++p)
    {
        if (::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(*p)))
        {
            escaped += *p;
            // The text may end right after a lead byte: the terminator is not part of the character.
            if (p[1] == '\0')
                break;
            escaped += *++p;
            continue;
        }
        if (*p == '&')
            escaped += '&';
        escaped += *p;
    }
    return escaped;
}

}  // namespace

CString MakeNumberedMenuCaption(int number, const CString& text)
{
    return MakeNumberedMenuCaption(number, text, CP_ACP);
}

CString MakeNumberedMenuCaption(int number, const CString& text, UINT codePage)
{
    const std::string escaped = EscapeAmpersands(text, codePage);
    CString caption;
    if (number == 0)
        caption = escaped.c_str();
    else if (number >= 1 && number <= 9)
        caption.Format("&%i %s", number, escaped.c_str());
    else if (number == 10)
        caption.Format("1&0 %s", escaped.c_str());
    else
        caption.Format("%i %s", number, escaped.c_str());
    return caption;
}
