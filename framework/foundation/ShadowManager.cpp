#include "framework/foundation/ShadowManager.h"

#include "classlib/Wnd.h"
#include "framework/foundation/ColorManager.h"

COSMShadowManager::COSMShadowManager()
{
    if (HMODULE user32 = ::GetModuleHandleA("USER32"))
        m_pfnUpdateLayeredWindow = reinterpret_cast<PFNUPDATELAYEREDWINDOW>(
            reinterpret_cast<void*>(::GetProcAddress(user32, "UpdateLayeredWindow")));
    m_bLayered = m_pfnUpdateLayeredWindow && !COSMColorManager::IsLowColorDisplay(nullptr);
}

void COSMShadowManager::SetShadow(CWnd* pOwner, const CRect& rcExclude, int nTag) {}

void COSMShadowManager::SetControlShadow(CRect rcControl, CWnd* pOwner) {}

void COSMShadowManager::RemoveShadow(CWnd* pOwner) {}

void COSMShadowManager::OffsetShadow(CWnd* pOwner, int dx, int dy) {}
