#include "wizard/controls/StaticTextPainter.h"

#include <string>

UINT StaticTextFormat(DWORD style, DWORD exStyle)
{
    UINT format = 0;
    const DWORD type = style & SS_TYPEMASK;
    switch (type)
    {
    case SS_CENTER:
        format = DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format = DT_RIGHT | DT_EXPANDTABS | DT_WORDBREAK;
        break;
    case SS_SIMPLE:
        format = DT_LEFT | DT_SINGLELINE;
        break;
    case SS_LEFTNOWORDWRAP:
        format = DT_LEFT | DT_EXPANDTABS;
        break;
    default:
        format = DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK;
        break;
    }
    if (exStyle & WS_EX_RIGHT)
        format = DT_RIGHT | (format & ~(DT_LEFT | DT_CENTER));
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    if (type != SS_SIMPLE)
    {
        if (style & SS_CENTERIMAGE)
            format |= DT_SINGLELINE | DT_VCENTER;
        if (style & SS_EDITCONTROL)
            format |= DT_EDITCONTROL;
        switch (style & SS_ELLIPSISMASK)
        {
        case SS_ENDELLIPSIS:
            format |= DT_SINGLELINE | DT_END_ELLIPSIS;
            break;
        case SS_PATHELLIPSIS:
            format |= DT_SINGLELINE | DT_PATH_ELLIPSIS;
            break;
        case SS_WORDELLIPSIS:
            format |= DT_SINGLELINE | DT_WORD_ELLIPSIS;
            break;
        default:
            break;
        }
    }
    return format;
}

void DrawStaticText(HWND hWnd, HDC hDC, const RECT& rect)
{
    const int length = ::GetWindowTextLengthA(hWnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(hWnd, &text[0], length + 1)));
    if (text.empty())
        return;
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_EXSTYLE));
    if (!::IsWindowEnabled(hWnd))
        ::SetTextColor(hDC, ::GetSysColor(COLOR_GRAYTEXT));
    RECT bounds = rect;
    ::DrawTextA(hDC, text.c_str(), static_cast<int>(text.size()), &bounds, StaticTextFormat(style, exStyle));
}

HFONT GetStaticFont(HWND hWnd)
{
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(hWnd, WM_GETFONT, 0, 0));
    return hFont ? hFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}
