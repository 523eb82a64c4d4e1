// COSMShadowWnd: one drop-shadow strip beside a popup window (its owner). Only the shadow manager makes and destroys
// them (COSMShadowManager::CreateShadow, DestroyShadow); a shadow listens to its owner through the hook manager, so
// it hides and shows with the owner and goes when the owner is destroyed.
//
// With a layered manager the strip is 4 pixels thick and carries per-pixel alpha (MakeShadowPixels); without one it
// is 2 pixels of the button-shadow colour. The window lets the mouse through.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "classlib/Wnd.h"
#include "framework/foundation/HookManagerSink.h"

#include <vector>

class COSMShadowManager;

// One shadow pixel as a layered window takes it (0xAARRGGBB): alpha, and the shadow colour's components times
// num / den. Components are kept at or below alpha, so the pixel stays a valid premultiplied one whatever the
// colour.
DWORD ScaleShadowPixel(COLORREF clrShadow, int nAlpha, int nNum, int nDen);

// The pixels of a shadow strip of cx by cy, rows top-down: side 0 is a right strip (column 0 touches the owner, its
// top rows fade in), side 1 a bottom strip (row 0 touches the owner, both ends fade in), side 2 the one-pixel corner
// of a region shadow. k is 1 for forced (lighter) shadows, else 2. Whatever the size, each corner takes at most 4
// columns and 4 rows of the strip; where the two ends of a narrow bottom strip meet, the right one wins. Empty for a
// strip of no area.
std::vector<DWORD> MakeShadowPixels(int nSide, int cx, int cy, int k, COLORREF clrShadow);

class COSMShadowWnd : public CWnd
{
public:
    // The sides.
    static constexpr int kSideRight = 0;
    static constexpr int kSideBottom = 1;
    static constexpr int kSideRegion = 2;  // the corner pixel of an owner with a complex window region

    // Holds a reference on pManager until it is deleted.
    COSMShadowWnd(COSMShadowManager* pManager, CWnd* pOwner, BOOL bControlShadow, int nTag);
    ~COSMShadowWnd() override;

    // Where a strip of nSide and nThickness lies beside rcOwner (screen coordinates).
    static CRect GetShadowRect(int nSide, const CRect& rcOwner, int nThickness);

    // Makes the window on first use, removes any region and places the strip beside rcOwner without showing it.
    // FALSE when the window cannot be made.
    BOOL Create(int nSide, const CRect& rcOwner);
    // Stretches the strip where it meets a shadow of the other kind, so the two corners join.
    void ClipToOtherShadows();
    // Leaves the screen rectangle out of the strip's window region (nothing when it misses the strip).
    void ExcludeRect(const CRect& rcScreen);
    // Removes a region ExcludeRect set.
    void RemoveRegion();

    int GetSide() const { return m_nSide; }
    BOOL HasRegion() const { return m_bRegion; }
    CWnd* GetOwner() const { return m_pOwner; }
    void ClearOwner() { m_pOwner = nullptr; }
    int GetTag() const { return m_nTag; }
    BOOL IsControlShadow() const { return m_bControlShadow; }
    COSMShadowManager* GetManager() const { return m_manager.Get(); }
    // The sink hooked to the owner window.
    COSMHookManagerSink* GetOwnerSink() { return &m_ownerSink; }

    // For the manager's own use: gives the reference on the manager up without releasing it (the manager's
    // destructor deletes the shadows it still lists).
    void ForgetManager() { m_manager.Detach(); }

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    // Follows the owner: hides and shows with it, and asks the manager to destroy the shadow as the owner goes.
    class OwnerSink : public COSMHookManagerSink
    {
    public:
        explicit OwnerSink(COSMShadowWnd* pShadow) : m_pShadow(pShadow) {}
        int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    private:
        COSMShadowWnd* m_pShadow;
    };

    // Renders the strip's pixels and hands them to UpdateLayeredWindow.
    void UpdateLayeredPixels(int cx, int cy);

    OwnerSink m_ownerSink{this};
    int m_nSide = kSideRight;
    BOOL m_bRegion = FALSE;
    CWnd* m_pOwner;
    int m_nTag;
    BOOL m_bControlShadow;
    RefPtr<COSMShadowManager> m_manager;
};
