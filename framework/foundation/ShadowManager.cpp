#include "framework/foundation/ShadowManager.h"

#include "classlib/RefPtr.h"
#include "classlib/ScopedHandle.h"
#include "classlib/Wnd.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/HookManager.h"
#include "framework/foundation/ProcessService.h"
#include "framework/foundation/ShadowWnd.h"

#include <algorithm>

#ifndef SPI_GETDROPSHADOW
#define SPI_GETDROPSHADOW 0x1024
#endif

namespace {

// The layered form needs the function and more than 256 colours.
BOOL CanLayerShadows(PFNUPDATELAYEREDWINDOW pfn)
{
    return pfn && !COSMColorManager::IsLowColorDisplay(nullptr);
}

}  // namespace

COSMShadowManager::COSMShadowManager()
{
    // Looked up by name: the stored pointer is what tests replace, and what a system without the function lacks.
    if (HMODULE user32 = ::GetModuleHandleA("USER32"))
        m_pfnUpdateLayeredWindow = reinterpret_cast<PFNUPDATELAYEREDWINDOW>(
            reinterpret_cast<void*>(::GetProcAddress(user32, "UpdateLayeredWindow")));
    m_bLayered = CanLayerShadows(m_pfnUpdateLayeredWindow);
}

COSMShadowManager::~COSMShadowManager()
{
    // Only a manager that nobody counts on any more gets here with shadows (one made on the stack): their
    // references on it are dropped, not released.
    while (!m_shadows.empty())
    {
        COSMShadowWnd* shadow = m_shadows.back().get();
        shadow->ForgetManager();
        if (COSMHookManager* hooks = OsmLiveProcessService<COSMHookManager>(); hooks && shadow->GetOwner())
            hooks->RemoveHook(shadow->GetOwner()->GetSafeHwnd(), shadow->GetOwnerSink());
        m_shadows.pop_back();
    }
}

BOOL COSMShadowManager::QuerySystemDropShadow()
{
    BOOL dropShadow = FALSE;
    return ::SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &dropShadow, 0) && dropShadow;
}

void COSMShadowManager::SetUpdateLayeredWindow(PFNUPDATELAYEREDWINDOW pfn)
{
    m_pfnUpdateLayeredWindow = pfn;
    m_bLayered = CanLayerShadows(pfn);
}

void COSMShadowManager::SetDropShadowQuery(PFNDROPSHADOWQUERY pfn)
{
    m_pfnDropShadowQuery = pfn ? pfn : &QuerySystemDropShadow;
}

void COSMShadowManager::SetShadow(CWnd* pOwner, const CRect& rcExclude, int nTag)
{
    if (!pOwner || !::IsWindow(pOwner->GetSafeHwnd()))
        return;
    if (!(m_dwFlags & kForceShadows) && (!m_bLayered || !m_pfnDropShadowQuery()))
        return;
    // A shadow whose owner goes while it is being made may take the last reference with it.
    const RefPtr<COSMShadowManager> keepAlive = RefPtr<COSMShadowManager>::Retain(this);
    CRect owner;
    pOwner->GetWindowRect(&owner);
    CreateShadow(COSMShadowWnd::kSideBottom, owner, rcExclude, pOwner, FALSE, nTag);
    CreateShadow(COSMShadowWnd::kSideRight, owner, rcExclude, pOwner, FALSE, nTag);
    const ScopedGdiObject<HRGN> region(::CreateRectRgn(0, 0, 0, 0));
    if (::GetWindowRgn(pOwner->GetSafeHwnd(), region.Get()) == COMPLEXREGION)
        CreateShadow(COSMShadowWnd::kSideRegion, owner, rcExclude, pOwner, FALSE, nTag);
}

void COSMShadowManager::SetControlShadow(CRect rcControl, CWnd* pOwner)
{
    if ((m_dwFlags & kControlShadows) != kControlShadows || !pOwner || !::IsWindow(pOwner->GetSafeHwnd()))
        return;
    const RefPtr<COSMShadowManager> keepAlive = RefPtr<COSMShadowManager>::Retain(this);
    CreateShadow(COSMShadowWnd::kSideBottom, rcControl, CRect(0, 0, 0, 0), pOwner, TRUE, 0);
    CreateShadow(COSMShadowWnd::kSideRight, rcControl, CRect(0, 0, 0, 0), pOwner, TRUE, 0);
}

void COSMShadowManager::RemoveShadow(CWnd* pOwner)
{
    if (!pOwner)
        return;
    const RefPtr<COSMShadowManager> keepAlive = RefPtr<COSMShadowManager>::Retain(this);
    std::vector<COSMShadowWnd*> owned;
    for (const auto& shadow : m_shadows)
        if (shadow->GetOwner() == pOwner)
            owned.push_back(shadow.get());
    for (COSMShadowWnd* shadow : owned)
        DestroyShadow(shadow);
}

void COSMShadowManager::OffsetShadow(CWnd* pOwner, int dx, int dy)
{
    if (!pOwner || !::IsWindow(pOwner->GetSafeHwnd()))
        return;
    const BOOL mirrored = (pOwner->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    for (const auto& shadow : m_shadows)
    {
        if (shadow->GetOwner() != pOwner || shadow->IsControlShadow() || !shadow->GetSafeHwnd())
            continue;
        // A cut made for the old place would be wrong at the new one.
        if (shadow->HasRegion())
            shadow->RemoveRegion();
        CRect rect;
        shadow->GetWindowRect(&rect);
        // A mirrored owner grows to the left: its right edge stays.
        switch (shadow->GetSide())
        {
        case COSMShadowWnd::kSideBottom:
            rect.top += dy;
            rect.bottom += dy;
            if (mirrored)
                rect.left -= dx;
            else
                rect.right += dx;
            break;
        case COSMShadowWnd::kSideRight:
            if (!mirrored)
                rect.OffsetRect(dx, 0);
            rect.bottom += dy;
            break;
        default:
            rect.OffsetRect(mirrored ? 0 : dx, dy);
            break;
        }
        shadow->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                             SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

COSMShadowWnd* COSMShadowManager::CreateShadow(int nSide, CRect rcOwner, CRect rcExclude, CWnd* pOwner,
                                               BOOL bControlShadow, int nTag)
{
    // A strip of no area (an owner too small for it) gets no window: there is nothing to draw.
    const int thickness = m_bLayered ? 4 : 2;
    if (COSMShadowWnd::GetShadowRect(nSide, rcOwner, thickness).IsRectEmpty())
        return nullptr;
    auto made = std::make_unique<COSMShadowWnd>(this, pOwner, bControlShadow, nTag);
    if (!made->Create(nSide, rcOwner))
        return nullptr;
    made->ClipToOtherShadows();
    m_shadows.push_back(std::move(made));
    COSMShadowWnd* shadow = m_shadows.back().get();

    if (m_dwFlags & kCutExcludeRect)
        shadow->ExcludeRect(rcExclude);
    // Popups of one tracking share the tag: a newer shadow lies over the older popups and leaves them out.
    for (const auto& other : m_shadows)
    {
        CWnd* otherOwner = other->GetOwner();
        if (!otherOwner || other->GetTag() != nTag || !::IsWindow(otherOwner->GetSafeHwnd()))
            continue;
        if (nSide == COSMShadowWnd::kSideRegion && otherOwner == pOwner)
            continue;
        CRect otherRect;
        otherOwner->GetWindowRect(&otherRect);
        shadow->ExcludeRect(otherRect);
    }

    const BOOL topmost = (pOwner->GetExStyle() & WS_EX_TOPMOST) != 0;
    shadow->SetWindowPos(topmost ? &CWnd::wndTopMost : &CWnd::wndTop, 0, 0, 0, 0,
                         SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOOWNERZORDER);
    GetHookManager()->SetHook(pOwner->GetSafeHwnd(), shadow->GetOwnerSink());
    return shadow;
}

void COSMShadowManager::DestroyShadow(COSMShadowWnd* pShadow)
{
    const auto it = std::find_if(m_shadows.begin(), m_shadows.end(),
                                 [pShadow](const std::unique_ptr<COSMShadowWnd>& s) { return s.get() == pShadow; });
    if (it == m_shadows.end())
        return;
    // The shadow's reference may be the last one.
    const RefPtr<COSMShadowManager> keepAlive = RefPtr<COSMShadowManager>::Retain(this);
    std::unique_ptr<COSMShadowWnd> shadow = std::move(*it);
    m_shadows.erase(it);
    if (shadow->GetSafeHwnd())
        shadow->ShowWindow(SW_HIDE);
    if (CWnd* owner = shadow->GetOwner())
    {
        if (COSMHookManager* hooks = OsmLiveProcessService<COSMHookManager>())
            hooks->RemoveHook(owner->GetSafeHwnd(), shadow->GetOwnerSink());
        shadow->ClearOwner();
    }
    if (shadow->GetSafeHwnd())
        shadow->DestroyWindow();
    shadow.reset();
}
