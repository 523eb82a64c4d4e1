// The ribbon painter: metrics, fonts, colours, the tab paint manager, the tab states and the test of controls on a
// glass caption. The drawing of the parts is in RibbonPaintManagerDraw.cpp.
#include "framework/ribbon/RibbonPaintManager.h"

#include "framework/commandbars/Control.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonTab.h"
#include "framework/ribbon/RibbonTabPaintSets.h"
#include "framework/tabs/TabPaintManager.h"
#include "framework/themes/Office2007Images.h"

#include <algorithm>
#include <cstdlib>

LPCSTR COSMRibbonPaintManager::GetContextColorWord(int color)
{
    static const LPCSTR kWords[] = {"", "BLUE", "YELLOW", "GREEN", "RED", "PURPLE", "CYAN", "ORANGE"};
    return color >= 1 && color <= 7 ? kWords[color] : "";
}

COSMRibbonPaintManager::COSMRibbonPaintManager(COSMPaintManager* owner) : COSMSharedPartPaintManager(owner)
{
    // Called directly: a derived painter's own is not in place while this constructor runs. Held from here on, so
    // a refresh that throws leaves nothing behind.
    m_tabPaintManager = RefPtr<COSMTabPaintManager>::Adopt(COSMRibbonPaintManager::CreateTabPaintManager());
    m_tabPaintManager->RefreshMetrics();
}

COSMRibbonPaintManager::~COSMRibbonPaintManager() = default;

int COSMRibbonPaintManager::SystemMetric(int index) const
{
    return m_pOwner ? m_pOwner->GetSystemMetric(index) : ::GetSystemMetrics(index);
}

COSMOffice2007Image* COSMRibbonPaintManager::LoadImage(LPCSTR name)
{
    return COSMOffice2007Images::Instance()->LoadImage(name);
}

int COSMRibbonPaintManager::GetControlHeight() const
{
    return m_pOwner ? m_pOwner->GetControlHeight() : 22;
}

int COSMRibbonPaintManager::GetFontHeight() const
{
    return m_pOwner ? m_pOwner->m_requestedFontHeight : 0;
}

CString COSMRibbonPaintManager::FormatImageName(LPCSTR format, LPCSTR word)
{
    CString name;
    name.Format(format, word ? word : "");
    return name;
}

void COSMRibbonPaintManager::RefreshMetrics()
{
    ++m_refreshCount;
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (m_pOwner)
        m_pOwner->GetNonClientMetrics(&metrics);
    else
        ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    int h = std::abs(static_cast<int>(metrics.lfMenuFont.lfHeight));
    if (GetFontHeight() > 11)
        h = GetFontHeight();
    if (h <= 12)
        h = 11;

    LOGFONTA logFont{};
    CFont* ownerFont = m_pOwner ? &m_pOwner->GetRegularFont() : nullptr;
    if (!ownerFont || !ownerFont->GetSafeHandle() ||
        !::GetObjectA(ownerFont->GetSafeHandle(), sizeof logFont, &logFont))
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
    if (m_font.IsStandard() || !m_font.GetSafeHandle())
        m_font.SetFontIndirect(logFont);

    m_tabsHeight = GetControlHeight() <= 22 ? 23 : GetControlHeight() + 2;
    m_groupCaptionHeight = std::max(17, h * 144 / 96);

    COSMOffice2007Images* images = COSMOffice2007Images::Instance();
    m_clrRibbonFace = images->GetImageColor("Ribbon", "RibbonFace");

    m_tabPaintManager->RefreshMetrics();
    m_tabPaintManager->SetFontIndirect(&logFont, TRUE);
    if (COSMTabColorSet* colors = m_tabPaintManager->GetColorSet())
    {
        const COLORREF normal = images->GetImageColor("Ribbon", "TabNormalText");
        colors->m_clrNormalText.SetStandardValue(normal);
        colors->m_clrHotText.SetStandardValue(normal);
        colors->m_clrSelectedText.SetStandardValue(images->GetImageColor("Ribbon", "TabSelectedText"));
    }

    m_clrGroupCaptionText = images->GetImageColor("Ribbon", "GroupCaptionText");
    m_clrMinimizedFrameEdgeHighLight = images->GetImageColor("Ribbon", "MinimizedFrameEdgeHighLight");
    m_clrMinimizedFrameEdgeShadow = images->GetImageColor("Ribbon", "MinimizedFrameEdgeShadow");
    m_frameCaptionHeight = std::max(18, SystemMetric(SM_CYCAPTION) + 1);
}

COSMTabPaintManager* COSMRibbonPaintManager::CreateTabPaintManager()
{
    // Held until it is handed over, so that a set that cannot be made takes the manager with it.
    RefPtr<COSMTabPaintManager> tabs = RefPtr<COSMTabPaintManager>::Adopt(new COSMTabPaintManager);
    tabs->SetAppearanceSet(new COSMRibbonTabAppearanceSet(this));
    tabs->SetLayout(COSMTabPaintManager::kLayoutSizeToFit);
    tabs->SetColorSet(new COSMRibbonTabColorSet);
    // The ribbon's tab row against the tab paint manager's defaults:
    //   setting                  default    ribbon   why
    //   hot tracking             0          1        the tab under the pointer lights up
    //   hide access keys         0          1        markers show only with the keyboard cues (the bar sets it)
    //   show icons               1          0        tabs are captions only
    //   fill background          1          0        the ribbon fills the row itself
    //   focus rectangle          1          0        the focused tab has its own image
    //   no prefix                1          0        access keys are underlined
    //   clip to header           1          0        a tab's image reaches a pixel past the header band
    //   client margin            0,0,0,0    0,2,0,2  the groups stand off the row
    //   text margin              6,0,6,0    4,0,4,0  narrower tabs
    //   row height               (sets)     21       the appearance set's fixed row height
    //   tooltip mode             2          2        tips only for cut captions
    //   ClearType                0          owner's  as the bars' text
    tabs->m_bHotTracking = TRUE;
    tabs->m_bDrawTextHidePrefix = TRUE;
    tabs->m_bShowIcons = FALSE;
    tabs->m_bFillBackground = FALSE;
    tabs->m_bDrawFocusRect = FALSE;
    tabs->m_bDrawTextNoPrefix = FALSE;
    tabs->m_bClipHeader = FALSE;
    tabs->m_rcClientMargin.SetRect(0, 2, 0, 2);
    tabs->m_rcTextMargin.SetRect(4, 0, 4, 0);
    tabs->m_nToolTipBehaviour = 2;
    tabs->m_bClearTypeTextQuality = m_pOwner ? m_pOwner->GetClearTypeText() : FALSE;
    return tabs.Detach();
}

COSMRibbonPaintManager::TabState COSMRibbonPaintManager::GetTabState(const COSMRibbonTab* tab)
{
    TabState state{FALSE, FALSE, FALSE};
    const COSMTabManager* manager = tab ? tab->GetTabManager() : nullptr;
    if (!manager)
        return state;
    const auto* control = dynamic_cast<const COSMRibbonControlTab*>(manager);
    state.selected = manager->GetSelectedItem() == tab;
    state.hot = manager->GetHighlightedItem() == tab;
    state.focused = state.selected && control && control->IsFocused();
    const COSMRibbonBar* ribbon = tab->GetRibbonBar();
    if (state.selected && ribbon && ribbon->IsRibbonMinimized() && control)
    {
        const COSMCommandBar* popup = control->GetCommandBar();
        if (popup && popup->GetTrackingMode())
        {
            // The minimized ribbon's tab popup is open: the tab stays selected.
            state.hot = FALSE;
        }
        else
        {
            state.hot = control->GetSelected() && state.focused;
            state.selected = FALSE;
        }
        state.focused = FALSE;
    }
    return state;
}

BOOL COSMRibbonPaintManager::IsControlOnDwmCaption(const COSMControl* control)
{
    const COSMCommandBar* bar = control ? control->GetParent() : nullptr;
    if (!bar || !bar->IsRibbonBar())
        return FALSE;
    const auto* ribbon = dynamic_cast<const COSMRibbonBar*>(bar);
    if (!ribbon || !ribbon->IsDwmEnabled())
        return FALSE;
    CRect overlap;
    return overlap.IntersectRect(control->GetRect(), ribbon->GetCaptionRect());
}
