#include "framework/commandbars/MenuCaption.h"

CString MakeNumberedMenuCaption(int number, const CString& text)
{
    CString escaped = text;
    escaped.Replace("&", "&&");
    CString caption;
    if (number >= 1 && number <= 9)
        caption.Format("&%i %s", number, static_cast<LPCSTR>(escaped));
    else if (number == 10)
        caption.Format("1&0 %s", static_cast<LPCSTR>(escaped));
    else
        caption.Format("%i %s", number, static_cast<LPCSTR>(escaped));
    return caption;
}
