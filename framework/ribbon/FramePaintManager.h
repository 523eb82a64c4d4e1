// COSMFramePaintManager: draws a frame window's non-client area in the Office 2007 look (side, bottom and top
// borders, the caption band with icon, title and caption buttons, the border pieces beside a status bar) and gives
// the frame its region with cut corners. The paint manager makes it on first request (registered by
// RibbonLibrary.cpp) and refreshes it with itself; the ribbon's frame object hands itself over as the frame to draw:
//
//   auto* painter = dynamic_cast<COSMFramePaintManager*>(paintManager->GetFramePaintManager());
//   painter->DrawFrame(&windowDC, ribbonFrame);
//   ::SetWindowRgn(hwnd, painter->CreateFrameRegion(ribbonFrame, cx, cy), TRUE);
//
// Pictures and colours come from the Office 2007 images ("FRAME*" images, section "Window"); a missing image skips
// its piece, the plain-colour borders are always drawn. Metrics and the caption font come through the owner
// (COSMPaintManager::GetNonClientMetrics, GetSystemMetric), so a test's manager sets them.
#pragma once

#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/PaintManagerFont.h"
#include "framework/commandbars/PartPaintManager.h"

class COSMOffice2007Image;
class COSMRibbonFrame;

class COSMFramePaintManager : public COSMPartPaintManager
{
public:
    explicit COSMFramePaintManager(COSMPaintManager* owner);
    ~COSMFramePaintManager() override;

    // ---- Override these (in this order) ------------------------------------------------------------------------
    // The frame window's region for that size (the caller owns it): corners cut at the top, and at the bottom too
    // beside a visible status bar; null for a maximized frame or when nothing has area.
    virtual HRGN CreateFrameRegion(const COSMRibbonFrame* frame, int width, int height);
    // The whole non-client area in window coordinates.
    virtual void DrawFrame(CDC* dc, const COSMRibbonFrame* frame);
    // A minimize, maximize, restore (any other id) or close button of the frame's caption.
    virtual void DrawFrameCaptionButton(CDC* dc, CRect rc, UINT id, BOOL selected, BOOL pressed, BOOL active);
    // The frame's window text; under FWS_PREFIXTITLE the application title at its end in the active-title colour.
    virtual void DrawCaptionText(CDC* dc, CRect rc, CWnd* frame, BOOL active);

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The caption height, eleven colours and the caption font.
    void RefreshMetrics() override;
    // The named Office 2007 image, null when it cannot be had.
    COSMOffice2007Image* LoadImage(LPCSTR name);
    // The frame's small icon: its own, its class's, its drag icon, the system's; null for no window, a tool window or
    // one without a system menu.
    static HICON GetFrameSmallIcon(CWnd* frame);
    // The frame's large icon: its own or its class's.
    static HICON GetFrameIcon(CWnd* frame);

    BOOL IsThemedFrame() const { return m_themedFrame; }
    void SetThemedFrame(BOOL themed) { m_themedFrame = themed; }
    // The caption font; one set with SetCustomFont survives RefreshMetrics.
    COSMPaintManagerFont& GetCaptionFont() { return m_captionFont; }
    int GetCaptionHeight() const { return m_captionHeight; }
    // Line i of the border (0 the outermost), active or not.
    COLORREF GetBorderColor(BOOL active, int i) const { return active ? m_clrBorderActive[i] : m_clrBorderInactive[i]; }
    COLORREF GetCaptionTextColor(BOOL active) const
    {
        return active ? m_clrCaptionTextActive : m_clrCaptionTextInActive;
    }
    COLORREF GetCaptionTextActiveTitleColor() const { return m_clrCaptionTextActiveTitle; }

    // How often the metrics were read: the paint manager's care for its painters shows.
    int GetRefreshCount() const { return m_refreshCount; }

private:
    int SystemMetric(int index) const;
    // The caption the ribbon supplies: only the b columns at either side and the border rows above it.
    void DrawCaptionBorder(CDC* dc, const CRect& band, int b, int borderHeight, int state);
    // The frame's own caption, through a buffer: pieces, small icon, caption buttons, title.
    void DrawFullCaption(CDC* dc, const COSMRibbonFrame* frame, const CRect& band, int b, int border, int state,
                         BOOL active);
    void DrawStatusBarPieces(CDC* dc, int width, int height, int border, int bottom, int statusBar, int state);

    BOOL m_themedFrame = FALSE;
    COSMPaintManagerFont m_captionFont;
    int m_captionHeight = 17;
    COLORREF m_clrBorderActive[4] = {};
    COLORREF m_clrBorderInactive[4] = {};
    COLORREF m_clrCaptionTextActive = 0;
    COLORREF m_clrCaptionTextInActive = 0;
    COLORREF m_clrCaptionTextActiveTitle = 0;
    int m_refreshCount = 0;
};
