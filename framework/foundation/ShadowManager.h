// COSMShadowManager: the drop shadows of popup windows. The paint manager owns one (made by its constructor,
// released by its destructor); popup bars ask it for shadows as they show, move and hide:
//
//   COSMShadowManager* shadows = GetPaintManager()->GetShadowManager();
//   shadows->SetShadow(this, rcExclude, nTag);     // as the popup shows
//   shadows->OffsetShadow(this, dx, dy);           // after it grew by dx, dy
//   shadows->RemoveShadow(this);                   // as it hides
//
// Reference counted: each shadow window holds a reference. In this form it keeps its settings only and makes no
// shadow windows: the shadow operations do nothing.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"

typedef BOOL(WINAPI* PFNUPDATELAYEREDWINDOW)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);

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

    // Gives pOwner its shadows (rcExclude and pOwner's window rectangle in screen coordinates); shadows of owners
    // with equal tags leave each other's owners out.
    void SetShadow(CWnd* pOwner, const CRect& rcExclude, int nTag);
    // A shadow for the control that opened pOwner, when the flags ask for control shadows.
    void SetControlShadow(CRect rcControl, CWnd* pOwner);
    // Removes and destroys every shadow of pOwner.
    void RemoveShadow(CWnd* pOwner);
    // Moves or stretches pOwner's shadows after pOwner grew by dx and dy.
    void OffsetShadow(CWnd* pOwner, int dx, int dy);

    // The paint manager's refresh: the save-bits flag is cleared, so shadow windows made from then on get a window
    // class without CS_SAVEBITS | CS_OWNDC.
    void RefreshMetrics() { m_nSaveBits = 0; }

    int GetSaveBits() const { return m_nSaveBits; }
    PFNUPDATELAYEREDWINDOW GetUpdateLayeredWindow() const { return m_pfnUpdateLayeredWindow; }
    BOOL IsLayered() const { return m_bLayered; }
    DWORD GetFlags() const { return m_dwFlags; }
    void SetFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
    COLORREF GetShadowColor() const { return m_clrShadow; }
    void SetShadowColor(COLORREF clrShadow) { m_clrShadow = clrShadow; }

private:
    // Shadow windows get CS_SAVEBITS | CS_OWNDC while this is positive.
    int m_nSaveBits = 1;
    PFNUPDATELAYEREDWINDOW m_pfnUpdateLayeredWindow = nullptr;
    BOOL m_bLayered = FALSE;
    DWORD m_dwFlags = 0;
    COLORREF m_clrShadow = 0;
};
