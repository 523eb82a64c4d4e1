// COSMRibbonPaintManager: the painter of every part of a ribbon (tab strip and tabs, context tabs and headers, the
// groups area, each group's client and caption, reduced-group and option buttons, the quick-access area and buttons,
// the ribbon's part of the frame caption, the application button, the groups' scroll buttons and the frames of the
// ribbon's popup bars). It keeps the ribbon's metrics, font and colours and owns the tab paint manager of the strip.
// Reference counted; the paint manager makes it on first request (registered by RibbonLibrary.cpp) and refreshes it
// with itself; the ribbon's parts reach it through COSMRibbonBar::GetRibbonPaintManager and call its drawing:
//
//   COSMRibbonPaintManager* painter = ribbon->GetRibbonPaintManager();
//   painter->FillRibbonBar(dc, ribbon);
//   painter->DrawGroup(dc, group);
//
// Pictures and colours come from the Office 2007 images (section "Ribbon"); a missing image skips its step. Metrics
// come through the owner (COSMPaintManager::GetNonClientMetrics, GetSystemMetric), so a test's manager sets them.
#pragma once

#include "classlib/CString.h"
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/PaintManagerFont.h"
#include "framework/commandbars/PartPaintManager.h"
#include "framework/foundation/PaintManagerColor.h"

class COSMCommandBar;
class COSMControl;
class COSMOffice2007Image;
class COSMRibbonBar;
class COSMRibbonContextHeaders;
class COSMRibbonGroup;
class COSMRibbonTab;
class COSMTabPaintManager;
class COSMVisualStyleFunctions;
class CWnd;

class COSMRibbonPaintManager : public COSMSharedPartPaintManager
{
public:
    // The word a context colour (1 to 7) puts into image names; empty for any other.
    static LPCSTR GetContextColorWord(int color);

    explicit COSMRibbonPaintManager(COSMPaintManager* owner);
    ~COSMRibbonPaintManager() override;

    // ---- Override these (in this order) ------------------------------------------------------------------------
    virtual void FillGroupsBackground(CDC* dc, COSMRibbonTab* tab, CRect rc);
    virtual void FillRibbonBar(CDC* dc, COSMRibbonBar* ribbon);
    void RefreshMetrics() override;
    // Nothing for a reduced group.
    virtual void DrawGroup(CDC* dc, COSMRibbonGroup* group);
    // The reduced group's popup button; draw FALSE measures.
    virtual CSize DrawControlGroupPopup(CDC* dc, COSMControl* control, BOOL draw);
    // The group's option button: always 15 x 14.
    virtual CSize DrawControlGroupOption(CDC* dc, COSMControl* control, BOOL draw);
    virtual void DrawRibbonTab(CDC* dc, COSMRibbonTab* tab);
    virtual void FillGroupPopupToolBar(CDC* dc, COSMRibbonGroup* group, COSMCommandBar* bar);
    virtual void DrawRibbonFrameCaption(CDC* dc, COSMRibbonBar* ribbon, BOOL active);
    virtual void DrawRibbonCaptionArea(CDC* dc, COSMRibbonBar* ribbon);
    virtual void DrawRibbonSystemButton(CDC* dc, COSMControl* control, CRect rc);
    virtual void DrawContextHeaders(CDC* dc, COSMRibbonBar* ribbon, COSMRibbonContextHeaders* headers);
    virtual void DrawQuickAccessButton(CDC* dc, COSMControl* control);
    virtual void DrawQuickAccessMoreButton(CDC* dc, COSMControl* control);
    virtual void DrawGroupsScrollButton(CDC* dc, COSMControl* control, BOOL scrollLeft);
    virtual void FillMorePopupToolBar(CDC* dc, COSMCommandBar* bar);
    // The strip's tab paint manager, made once by the constructor (not through the table).
    virtual COSMTabPaintManager* CreateTabPaintManager();

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    COSMOffice2007Image* LoadImage(LPCSTR name);
    // The owner's control height, at least 22.
    int GetControlHeight() const;
    // The owner's requested font height.
    int GetFontHeight() const;
    static CString FormatImageName(LPCSTR format, LPCSTR word);
    // TRUE for a control of a ribbon bar that uses desktop composition whose rectangle meets its caption. What the
    // paint manager asks (COSMPaintManager::IsControlOnDwmCaption) through the registration of the ribbon library.
    static BOOL IsControlOnDwmCaption(const COSMControl* control);
    void FillRibbonFace(CDC* dc, CWnd* window);
    // Caption text on a glass frame: white when maximized, black unthemed, else glowing through a buffered paint
    // (on failure the same text drawn plainly in black).
    void DrawDwmCaptionText(CDC* dc, CRect rc, const CString& text, CWnd* frame, BOOL active);
    // The same through a visual-style table of the caller's (a test's stand-in library).
    void DrawDwmCaptionText(COSMVisualStyleFunctions& functions, CDC* dc, CRect rc, const CString& text, CWnd* frame,
                            BOOL active);

    // The tab states the strip draws and colours a tab with (minimized ribbons see their popup).
    struct TabState
    {
        BOOL selected;
        BOOL hot;
        BOOL focused;
    };
    static TabState GetTabState(const COSMRibbonTab* tab);

    // Metrics and parts read by the ribbon's classes.
    int GetTabsHeight() const { return m_tabsHeight; }
    int GetGroupCaptionHeight() const { return m_groupCaptionHeight; }
    // The ribbon's caption strip: the frame caption band.
    int GetCaptionHeight() const { return m_frameCaptionHeight; }
    int GetFrameCaptionHeight() const { return m_frameCaptionHeight; }
    BOOL IsHotTrackingGroups() const { return m_hotTrackingGroups; }
    void SetHotTrackingGroups(BOOL hot) { m_hotTrackingGroups = hot; }
    // The ribbon font (group captions, and the tab paint manager's fonts from the same LOGFONT); one set with
    // SetCustomFont survives RefreshMetrics.
    COSMPaintManagerFont* GetFont() { return &m_font; }
    COSMTabPaintManager* GetTabPaintManager() const { return m_tabPaintManager.Get(); }
    COLORREF GetRibbonFaceColor() const { return m_clrRibbonFace; }
    COLORREF GetGroupCaptionTextColor() const { return m_clrGroupCaptionText; }
    COLORREF GetMinimizedFrameEdgeHighLight() const { return m_clrMinimizedFrameEdgeHighLight; }
    COLORREF GetMinimizedFrameEdgeShadow() const { return m_clrMinimizedFrameEdgeShadow; }

    // How often the metrics were read: the paint manager's care for its painters shows.
    int GetRefreshCount() const { return m_refreshCount; }

private:
    int SystemMetric(int index) const;
    // The frame painter's caption font, or the ribbon font without one.
    CFont* GetCaptionFont();
    void DrawQuickAccessImage(CDC* dc, COSMControl* control, LPCSTR name);
    void DrawQuickAccessArea(CDC* dc, COSMRibbonBar* ribbon, CRect rc, BOOL dwmCaption);

    BOOL m_hotTrackingGroups = TRUE;
    int m_tabsHeight = 23;
    COSMPaintManagerFont m_font;
    int m_groupCaptionHeight = 17;
    RefPtr<COSMTabPaintManager> m_tabPaintManager;
    COLORREF m_clrRibbonFace = 0;
    COLORREF m_clrGroupCaptionText = 0;
    COLORREF m_clrMinimizedFrameEdgeHighLight = 0;
    COLORREF m_clrMinimizedFrameEdgeShadow = 0;
    COSMPaintManagerColorGradient m_grcGradient;
    int m_frameCaptionHeight = 18;
    int m_refreshCount = 0;
};
