// COSMShadowManager: the drop shadows of popup windows. The paint manager owns one (made by its constructor,
// released by its destructor); popup bars ask it for shadows as they show, move and hide, and the popup control for
// a shadow of the control that opened the popup:
//
//   COSMShadowManager* shadows = GetPaintManager()->GetShadowManager();
//   shadows->SetShadow(this, rcExclude, nTag);           // as the popup shows
//   shadows->SetControlShadow(rcControl, this);          // the opening control's, owned by the popup
//   shadows->OffsetShadow(this, dx, dy);                 // after it grew by dx, dy
//   shadows->RemoveShadow(this);                         // as it hides
//
// Each shadow is a COSMShadowWnd beside its owner: a bottom and a right strip, and a one-pixel corner for an owner
// with a complex window region. Shadows hide and show with their owner and go with it.
//
// Reference counted: each shadow holds a reference, so a popup that outlives the paint manager still takes its
// shadows away safely. User-interface thread only.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"

#include <memory>
#include <vector>

class CWnd;
class COSMShadowWnd;

typedef BOOL(WINAPI* PFNUPDATELAYEREDWINDOW)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
// Whether the system wants drop shadows (SPI_GETDROPSHADOW).
typedef BOOL (*PFNDROPSHADOWQUERY)();

class COSMShadowManager : public CCmdTarget
{
public:
    // Bits of the flags.
    static constexpr DWORD kForceShadows = 0x1;    // no system-setting or layering check, lighter alpha
    static constexpr DWORD kCutExcludeRect = 0x2;  // new shadows leave the excluded rectangle out
    static constexpr DWORD kControlShadows = kForceShadows | kCutExcludeRect;  // both: controls cast shadows too

    // Looks UpdateLayeredWindow up in USER32; shadows are layered when it is there and the screen shows more than
    // 256 colours.
    COSMShadowManager();
    // Destroys the shadows still listed.
    ~COSMShadowManager() override;

    // Gives pOwner its shadows (rcExclude and pOwner's window rectangle in screen coordinates); shadows of owners
    // with equal tags leave each other's owners out. Unless the flags force shadows, nothing happens without
    // layering or when the system's drop-shadow setting is off.
    void SetShadow(CWnd* pOwner, const CRect& rcExclude, int nTag);
    // A bottom and a right shadow for the control (screen rectangle) that opened pOwner, owned by pOwner; only when
    // the flags ask for control shadows.
    void SetControlShadow(CRect rcControl, CWnd* pOwner);
    // Removes and destroys every shadow of pOwner.
    void RemoveShadow(CWnd* pOwner);
    // Moves or stretches pOwner's shadows (its control shadows excepted) after pOwner grew by dx and dy.
    void OffsetShadow(CWnd* pOwner, int dx, int dy);
    // A new shadow of nSide beside rcOwner, listed and shown; null when the strip would have no area or its window
    // cannot be made.
    COSMShadowWnd* CreateShadow(int nSide, CRect rcOwner, CRect rcExclude, CWnd* pOwner, BOOL bControlShadow, int nTag);
    // Hides the shadow, takes it off its owner and the list, destroys its window and deletes it.
    void DestroyShadow(COSMShadowWnd* pShadow);

    // The paint manager's refresh: the save-bits flag is cleared, so shadow windows made from then on get a window
    // class without CS_SAVEBITS | CS_OWNDC. The flags and the colour the themes set stay.
    void RefreshMetrics() { m_nSaveBits = 0; }

    int GetSaveBits() const { return m_nSaveBits; }
    PFNUPDATELAYEREDWINDOW GetUpdateLayeredWindow() const { return m_pfnUpdateLayeredWindow; }
    // Replaces the function layered shadows are pushed with (tests watch it); null turns layering off.
    void SetUpdateLayeredWindow(PFNUPDATELAYEREDWINDOW pfn);
    // Replaces the system drop-shadow query (tests choose the setting); null restores the system's.
    void SetDropShadowQuery(PFNDROPSHADOWQUERY pfn);
    BOOL IsLayered() const { return m_bLayered; }
    DWORD GetFlags() const { return m_dwFlags; }
    void SetFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
    COLORREF GetShadowColor() const { return m_clrShadow; }
    void SetShadowColor(COLORREF clrShadow) { m_clrShadow = clrShadow; }

    // The shadows in the order they were made.
    int GetShadowCount() const { return static_cast<int>(m_shadows.size()); }
    COSMShadowWnd* GetShadow(int nIndex) const { return m_shadows[static_cast<size_t>(nIndex)].get(); }

    // SystemParametersInfo(SPI_GETDROPSHADOW); FALSE when the system cannot tell.
    static BOOL QuerySystemDropShadow();

private:
    // Shadow windows get CS_SAVEBITS | CS_OWNDC while this is positive.
    int m_nSaveBits = 1;
    PFNUPDATELAYEREDWINDOW m_pfnUpdateLayeredWindow = nullptr;
    std::vector<std::unique_ptr<COSMShadowWnd>> m_shadows;
    BOOL m_bLayered = FALSE;
    DWORD m_dwFlags = 0;
    COLORREF m_clrShadow = 0;
    PFNDROPSHADOWQUERY m_pfnDropShadowQuery = &QuerySystemDropShadow;
};
