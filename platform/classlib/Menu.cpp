#include "classlib/Menu.h"

#include "classlib/ThreadState.h"
#include "classlib/Wnd.h"

#include <memory>

using osm_classlib_detail::GetThreadState;

IMPLEMENT_DYNCREATE(CMenu, CObject)

void osm_classlib_detail::ClearTemporaryHandle(CMenu* pObject)
{
    pObject->m_hMenu = nullptr;
}

CMenu::~CMenu()
{
    DestroyMenu();
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}

HMENU CMenu::GetSafeHmenu() const
{
    const CMenu* self = this;  // callers use this on null pointers; the library is built to allow it
    return self ? m_hMenu : nullptr;
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu)
        return nullptr;
    auto& state = GetThreadState();
    if (CMenu* p = state.menus.LookupPermanent(hMenu))
        return p;
    if (CMenu* p = state.menus.LookupTemporary(hMenu))
        return p;
    auto wrapper = std::make_unique<CMenu>();
    wrapper->m_hMenu = hMenu;
    return state.menus.AddTemporary(hMenu, std::move(wrapper), state.dispatchDepth);
}

void PASCAL CMenu::DeleteTempMap()
{
    GetThreadState().menus.DeleteTemporaries(-1);
}

BOOL CMenu::Attach(HMENU hMenu)
{
    ASSERT(m_hMenu == nullptr);
    if (!hMenu)
        return FALSE;
    m_hMenu = hMenu;
    GetThreadState().menus.SetPermanent(hMenu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu)
        GetThreadState().menus.RemovePermanent(hMenu, this);
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName)
{
    return Attach(::LoadMenuA(AfxFindResourceHandle(lpszResourceName, RT_MENU), lpszResourceName));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int length = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (length <= 0)
    {
        rString.Empty();
        return 0;
    }
    ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBuffer(length), length + 1, nFlags);
    rString.ReleaseBuffer();
    return rString.GetLength();
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->GetSafeHwnd(), lpRect);
}
