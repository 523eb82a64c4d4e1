// COSMToolTipContext: the tooltip settings of one tooltip site (a window that shows tips for parts of itself) and
// the one tooltip window of that site. Every command bar of a command-bars manager shares the manager's context;
// the site passes each of its messages to FilterToolTipMessage and answers hit tests by filling a TOOLINFO:
//
//   INT_PTR CMyBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
//   {
//       const CItem* item = HitTest(point);
//       if (!item)
//           return -1;
//       COSMToolTipContext::FillToolInfoEx(pTI, m_hWnd, item->rect, item->id, item->tip, item->tip,
//                                          item->description, GetImageManager());
//       return item->id;
//   }
//
// Tool ids are pointer-sized: a markup element's address serves as its tool id.
//
// The context is also the factory of tooltip windows: the style number picks the window class. Styles 0 and 1 (and
// any unknown number) make the common-controls tooltip (COSMToolTipStandardCtrl); the framework's own tip windows
// (styles 2 to 7) live in the controls library, above this one, which hands them in as the program starts
// (RegisterToolTipWindows). Without that registration every style makes the common-controls tooltip.
#pragma once

#include "classlib/Gdi.h"
#include "classlib/Geometry.h"
#include "classlib/Wnd.h"
#include "framework/foundation/ToolTipExtInfo.h"

#include <memory>

class COSMImageManager;

// How the context reaches the framework's tip windows without knowing their classes.
struct COSMToolTipWindowClasses
{
    // A new, not yet created, window object for nStyle that reads its settings from pContext; null when the style
    // is not one of theirs.
    CWnd* (*pfnCreateObject)(class COSMToolTipContext* pContext, int nStyle) = nullptr;
    // Creates the window of pToolTip (style dwStyle, pParent as parent and owner): 1 made, 0 failed, -1 when
    // pToolTip is not one of theirs.
    int (*pfnCreateWindow)(CWnd* pToolTip, CWnd* pParent, DWORD dwStyle) = nullptr;
};

class COSMToolTipContext : public CCmdTarget
{
public:
    // Bits of the tooltip style word.
    static constexpr DWORD kStyleFrameBorder = 0x1000;   // face-coloured top-left border
    static constexpr DWORD kStyleNoDropShadow = 0x2000;  // window class without CS_DROPSHADOW
    static constexpr DWORD kStyleOffice2007 = 0x4000;    // gradient look with cut corners
    // The first common-controls version with balloon tips and titles (major << 16 | minor).
    static constexpr DWORD kBalloonComCtlVersion = 0x50050;
    // Bit 30 of a hit tool's uFlags: show its tip even while the site's top-level window is not active.
    static constexpr UINT kToolAlwaysTip = 0x40000000;
    // The style numbers.
    enum Style
    {
        kStyleStandard = 0,
        kStyleBalloon = 1,
        kStyleFramework = 2,
        kStyleRichText = 3,
        kStyleGradient = 4,
        kStyleOffice2007Look = 5,
        kStyleHtml = 6,
        kStyleMarkup = 7,
    };

    COSMToolTipContext();
    // Destroys and deletes the tooltip window; the fonts go with their members.
    ~COSMToolTipContext() override;

    // Override these.
    // A new, not yet created, tooltip window object for the current style; the caller creates its window.
    virtual CWnd* CreateToolTip(CWnd* pOwner);
    // The id of the tool at point of pWnd (client coordinates), pTI filled for it; -1 when no tool lies there. Asks
    // pWnd's own CWnd::OnToolHitTest.
    virtual INT_PTR OnToolHitTest(CWnd* pWnd, CPoint point, TOOLINFOA* pTI);

    // Every message of a site window, before the site handles it: registers the tool under the cursor with the
    // tooltip window and relays mouse messages to it; key and button-down messages hide the tip.
    virtual void FilterToolTipMessage(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Not meant to be overridden.
    // Passes a mouse message on to the tooltip window, in the client coordinates of the window under its point.
    void RelayToolTipMessage(CWnd* pToolTip, MSG* pMsg);
    // Hides the tip: TTM_ACTIVATE(FALSE) to the tooltip window, when there is one.
    void DeactivateToolTip();

    // The tooltip style number (0 common controls, 1 balloon, 2 and 5 the framework's window ...). Nothing changes
    // for the current style, nor for 1 when balloons are not supported; otherwise the tooltip window goes and
    // style-word bits 0x3000 (style 2) and 0x4000 (style 5) follow the style.
    void SetStyle(int nStyle);
    int GetStyle() const { return m_nStyle; }
    // style word = (style word without dwRemove) | dwAdd; a changed word drops the tooltip window, so the next one
    // is made with it.
    void ModifyToolTipStyle(DWORD dwRemove, DWORD dwAdd);
    DWORD GetToolTipStyle() const { return m_dwToolTipStyle; }
    BOOL IsBalloonStyleSupported() const;
    DWORD GetComCtlVersion() const { return m_dwComCtlVersion; }
    void SetComCtlVersion(DWORD dwVersion) { m_dwComCtlVersion = dwVersion; }

    // Settings. Those that a tooltip window receives when it is made (width, margins, colours, delays, font) take
    // effect with the next window: the setters drop the current one.
    // -1 means the screen width; the tip windows turn it into that.
    int GetMaxTipWidth() const { return m_nMaxTipWidth; }
    void SetMaxTipWidth(int nWidth);
    // The colours with their defaults for -1: COLOR_INFOBK of the colour manager; RGB(76, 76, 76) in the Office
    // 2007 look, else COLOR_INFOTEXT.
    COLORREF GetTipBkColor() const;
    COLORREF GetTipTextColor() const;
    void SetTipColors(COLORREF clrBack, COLORREF clrText);
    CRect GetMargin() const { return m_rcMargin; }
    void SetMargin(const CRect& rcMargin);
    // -1 leaves a window's own default.
    void SetDelayTime(int nInitial, int nReshow, int nAutoPop);
    int GetInitialDelay() const { return m_nInitialDelay; }
    int GetReshowDelay() const { return m_nReshowDelay; }
    int GetAutoPopDelay() const { return m_nAutoPopDelay; }
    // Show-title: tools with a title and a description show the title in bold above the description.
    BOOL IsShowTitle() const { return m_bShowTitle; }
    // Show-image: the hit tool's image (image manager's GetImage(base + hit id, width)) goes to the window.
    BOOL IsShowImage() const { return m_bShowImage; }
    void SetShowTitleAndImage(BOOL bShowTitle, BOOL bShowImage);
    void SetImageLookup(int nImageBase, int nImageWidth);
    int GetImageBase() const { return m_nImageBase; }
    int GetImageWidth() const { return m_nImageWidth; }
    // wParam of TTM_SETTITLE (TTI_INFO by default).
    int GetTitleIcon() const { return m_nTitleIcon; }
    void SetTitleIcon(int nIcon) { m_nTitleIcon = nIcon; }
    // Ribbon tips take the groups area as their rectangle (the tip goes below the groups, not the control).
    BOOL IsRibbonGroupsPlacement() const { return m_bRibbonGroupsPlacement; }
    void SetRibbonGroupsPlacement(BOOL bGroups) { m_bRibbonGroupsPlacement = bGroups; }
    // The status font of the non-client metrics, weight 400, and the same with weight 700 for titles.
    // Made on first use, so that a context made early (with its manager) reads the resource language then.
    CFont* GetNormalFont();
    CFont* GetBoldFont();
    // The tooltip window, or null before the filter made one.
    CWnd* GetToolTipWindow() const { return m_pToolTip.get(); }

    // For hit tests. Only when pTI is not null and holds at least a TTTOOLINFOA_V1_SIZE record: sets hwnd, rect,
    // uId and lpszText, a heap copy (malloc) of strTip that FreeToolInfoText releases.
    static void FillToolInfo(TOOLINFOA* pTI, HWND hWnd, CRect rect, UINT_PTR nId, const CString& strTip);
    // FillToolInfo; then, for a TTTOOLINFOA_V2_SIZE record whose lParam points to a COSMToolTipExtInfo, heap copies
    // of the title and description when both are non-empty, and the image manager always.
    static void FillToolInfoEx(TOOLINFOA* pTI, HWND hWnd, CRect rect, UINT_PTR nId, const CString& strTip,
                               const CString& strTitle, const CString& strDescription, COSMImageManager* pImageManager);
    // Frees the text FillToolInfo put in, unless it is LPSTR_TEXTCALLBACK or a resource id (hinst set).
    static void FreeToolInfoText(TOOLINFOA* pTI);

    // For the controls library's start-up: how the framework's tip windows are made.
    static void RegisterToolTipWindows(const COSMToolTipWindowClasses& classes);

protected:
    // Destroys and deletes the tooltip window, when there is one.
    void DestroyToolTip();
    // The filter; with bOwnerCheck the message must come from the site or a window below it that has no tooltip
    // enabling of its own.
    void RunToolTipFilter(CWnd* pWnd, MSG* pMsg, BOOL bOwnerCheck);
    // A made window object without a window gets one (owner as parent) and its settings; FALSE when none results.
    BOOL CreateToolTipWindow(CWnd* pOwner);

    BOOL m_bShowTitle = FALSE;
    BOOL m_bShowImage = FALSE;
    int m_nImageWidth = 1;
    int m_nImageBase = 0;
    int m_nStyle = 0;
    DWORD m_dwComCtlVersion;
    int m_nTitleIcon = TTI_INFO;
    int m_nMaxTipWidth;
    DWORD m_dwToolTipStyle = TTS_NOPREFIX;
    CRect m_rcMargin;
    int m_nInitialDelay = -1;
    int m_nReshowDelay = -1;
    int m_nAutoPopDelay = -1;
    std::unique_ptr<CWnd> m_pToolTip;
    TOOLINFOA m_lastInfo{};
    COLORREF m_clrBack = static_cast<COLORREF>(-1);
    COLORREF m_clrText = static_cast<COLORREF>(-1);
    CFont m_fntNormal;
    CFont m_fntBold;
    BOOL m_bRibbonGroupsPlacement = FALSE;
};
