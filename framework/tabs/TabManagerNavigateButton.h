// The small push buttons drawn inside a tab strip: scroll back, scroll forward and close, and a tab's own close
// button. The strip creates its three in the order back, forward, close; the layout places them from the last to
// the first, each cutting its space off the far end of the header:
//
//   button.AdjustWidth(nRoom);       // the room the items keep beside the button
//   button.Reposition(rcHeader);     // the button at the far end; rcHeader loses its space
//   button.TrackClick(hWnd, pt);     // the press-and-release loop; the action runs on release (or repeats)
//
// Buttons are reference counted: the strip holds its own three and a tab holds its close button (RefPtr), and a
// click loop holds one more while it runs, so a tab removed by a message the loop dispatches leaves the loop a live
// button to finish with.
#pragma once

#include <windows.h>

#include "classlib/CString.h"
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "classlib/RefCount.h"
#include "framework/commandbars/CommandBarsResourceIds.h"

class COSMTabManager;
class COSMTabManagerItem;

class COSMTabManagerNavigateButton
{
public:
    enum
    {
        kScrollBack = 0,
        kScrollForward = 1,
        kClose = 2,
    };
    enum
    {
        kNeverShown = 0,
        kShownWhenNeeded = 1,
        kAlwaysShown = 2,
    };

    // The clock of the auto-repeat; tests put in a clock of their own.
    using TickSource = DWORD (*)();
    static void SetTickSource(TickSource source);
    static DWORD GetTicks();
    // The auto-repeat step of a held button, in milliseconds.
    static const DWORD kRepeatInterval = 20;

    // The count starts at one, for the creator (AdoptRef).
    COSMTabManagerNavigateButton(COSMTabManager* pManager, int nId, int nDisplayMode);

    COSMTabManagerNavigateButton(const COSMTabManagerNavigateButton&) = delete;
    COSMTabManagerNavigateButton& operator=(const COSMTabManagerNavigateButton&) = delete;

    LONG AddRef() { return m_refCount.AddRef(); }
    // The release that gives up the last reference deletes the button.
    LONG Release();

    // Override these.
    // Takes the button's extent out of the room the layout has for items.
    virtual void AdjustWidth(int& nLength);
    virtual CSize GetSize() const;
    // The click loop: returns at once while another window holds the capture or the button is disabled.
    virtual void TrackClick(HWND hWnd, CPoint pt);
    // Places the button at the far end of rc and cuts its space off rc.
    virtual void Reposition(CRect& rc);
    virtual void DrawEntry(CDC* pDC, CRect rc);
    virtual void PerformClick(BOOL bRepeat);

    // Not meant to be overridden.
    int GetID() const { return m_nId; }
    int GetDisplayMode() const { return m_nDisplayMode; }
    void SetDisplayMode(int nMode) { m_nDisplayMode = nMode; }
    CRect GetRect() const { return m_rcButton; }
    void SetRect(const CRect& rc) { m_rcButton = rc; }
    BOOL IsEnabled() const { return m_bEnabled; }
    void SetEnabled(BOOL bEnabled) { m_bEnabled = bEnabled; }
    BOOL IsPressed() const { return m_bPressed; }
    // For the library's own use: the click loop keeps it; a host drawing a held button sets it.
    void SetPressed(BOOL bPressed) { m_bPressed = bPressed; }
    const CString& GetTooltip() const { return m_strToolTip; }
    void SetTooltip(LPCSTR lpszTooltip) { m_strToolTip = lpszTooltip; }
    COSMTabManagerItem* GetItem() const { return m_pItem; }
    void SetItem(COSMTabManagerItem* pItem) { m_pItem = pItem; }
    COSMTabManager* GetTabManager() const { return m_pManager; }
    BOOL IsVisible() const { return !m_rcButton.IsRectEmpty(); }
    // For the library's own use: the strip or the tab that held the button let it go. It no longer reaches either,
    // and a click loop running on it ends unclicked.
    void Detach();
    BOOL IsDetached() const { return m_bDetached; }

protected:
    // Through Release only.
    virtual ~COSMTabManagerNavigateButton();

    // The close rule: the button stands at the far end when it is shown.
    void AdjustWidthClose(int& nLength);
    void RepositionClose(CRect& rc);
    // The scroll rule: shown only when the items do not fit or are scrolled.
    void AdjustWidthScroll(int& nLength);
    void RepositionScroll(CRect& rc);
    BOOL IsHorizontal() const;
    void LoadTooltip(UINT nID);

    COSMTabManager* m_pManager;
    int m_nId;
    int m_nDisplayMode;
    CRect m_rcButton{0, 0, 0, 0};
    BOOL m_bEnabled = TRUE;
    BOOL m_bPressed = FALSE;
    CString m_strToolTip;
    COSMTabManagerItem* m_pItem = nullptr;
    BOOL m_bDetached = FALSE;

private:
    CRefCount m_refCount;
};

class COSMTabManagerNavigateButtonScroll : public COSMTabManagerNavigateButton
{
public:
    COSMTabManagerNavigateButtonScroll(COSMTabManager* pManager, int nId, int nDisplayMode)
        : COSMTabManagerNavigateButton(pManager, nId, nDisplayMode)
    {}
    void AdjustWidth(int& nLength) override { AdjustWidthScroll(nLength); }
    void Reposition(CRect& rc) override { RepositionScroll(rc); }
};

class COSMTabManagerNavigateButtonLeft : public COSMTabManagerNavigateButtonScroll
{
public:
    explicit COSMTabManagerNavigateButtonLeft(COSMTabManager* pManager);
    void Reposition(CRect& rc) override;
    void DrawEntry(CDC* pDC, CRect rc) override;
    void PerformClick(BOOL bRepeat) override;
};

class COSMTabManagerNavigateButtonRight : public COSMTabManagerNavigateButtonScroll
{
public:
    explicit COSMTabManagerNavigateButtonRight(COSMTabManager* pManager);
    void Reposition(CRect& rc) override;
    void DrawEntry(CDC* pDC, CRect rc) override;
    void PerformClick(BOOL bRepeat) override;
};

class COSMTabManagerNavigateButtonClose : public COSMTabManagerNavigateButton
{
public:
    explicit COSMTabManagerNavigateButtonClose(COSMTabManager* pManager, int nDisplayMode = kNeverShown);
    void DrawEntry(CDC* pDC, CRect rc) override;
};

class COSMTabManagerNavigateButtonTabClose : public COSMTabManagerNavigateButtonClose
{
public:
    COSMTabManagerNavigateButtonTabClose(COSMTabManager* pManager, COSMTabManagerItem* pItem, int nDisplayMode);
};
