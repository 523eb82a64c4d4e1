#include "CommandBarsTestSupport.h"

namespace commandbars_test {

BEGIN_MESSAGE_MAP(SiteWindow, CWnd)
    ON_MESSAGE(COSMControls::kMessageBeforeCreateControl, OnBeforeCreate)
    ON_MESSAGE(COSMControls::kMessageAfterCreateControl, OnAfterCreate)
    ON_MESSAGE(COSMControls::kMessageCreateCommandBar, OnRequestBar)
    ON_MESSAGE(COSMCommandBars::kMessageCustomizeSelectionChanged, OnSelectionChanged)
END_MESSAGE_MAP()

BOOL CreateBarWindow(COSMCommandBar& bar, int width, int height, BOOL visible, DWORD exStyle)
{
    const DWORD style = WS_POPUP | (visible ? WS_VISIBLE : 0);
    return bar.CreateEx(exStyle | WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Bar", style, 10, 10, width, height,
                        nullptr, nullptr);
}

void TestMenu::AddItem(UINT id, LPCSTR text, UINT type, UINT state, ULONG_PTR data)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_TYPE | MIIM_STATE | MIIM_DATA;
    info.fType = type;
    info.fState = state;
    info.wID = id;
    info.dwItemData = data;
    info.dwTypeData = const_cast<LPSTR>(text ? text : "");
    ::InsertMenuItemA(m_menu.GetSafeHmenu(), m_menu.GetMenuItemCount(), TRUE, &info);
}

void TestMenu::AddSubMenu(LPCSTR text, HMENU subMenu)
{
    m_menu.AppendMenu(MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(subMenu), text);
}

}  // namespace commandbars_test
