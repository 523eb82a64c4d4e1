#include "framework/commandbars/PaintManager.h"

#include "framework/foundation/ImageManager.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/foundation/ShadowManager.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/DrawHelpers.h"
#include "framework/foundation/IconLogFont.h"
#include "framework/foundation/LayoutFunctions.h"
#include "framework/foundation/OSVersionInfo.h"
#include "framework/foundation/ProcessService.h"
#include "framework/foundation/ResourceManager.h"
#include "framework/foundation/TextFunctions.h"

#include <algorithm>
#include <cmath>
#include <cstring>

IMPLEMENT_DYNAMIC(COSMPaintManager, CCmdTarget)

namespace {

COSMPaintManager::ThemeCreator g_themeCreators[COSMPaintManager::kThemeIdCount] = {};
COSMPaintManager::ThemesRegistration g_themesRegistration = nullptr;
// Filled by the higher libraries while the program starts: zero before any of their initialisers run.
COSMPaintManager::PartPainterCreator g_partPainterCreators[COSMPaintManager::kPartPainterCount] = {};
COSMPaintManager::RibbonPainterCreator g_ribbonPainterCreator = nullptr;
COSMPaintManager::DwmCaptionTest g_dwmCaptionTest = nullptr;
COSMPaintManager::ControlGroupingTest g_controlGroupingTest = nullptr;

std::unique_ptr<COSMPartPaintManager> MakePartPainter(COSMPaintManager::PartPainter part, COSMPaintManager* owner)
{
    const COSMPaintManager::PartPainterCreator creator = g_partPainterCreators[part];
    return std::unique_ptr<COSMPartPaintManager>(creator ? creator(owner) : nullptr);
}

// Where the process-wide manager is kept: a process service, made when the first manager is installed and ended at
// exit, when it releases the manager it holds. Statics go in the reverse order of their making, so the services a
// manager uses while it is made, and those below that it may use when it goes, are made before this holder: they are
// still there when the manager is released. Only the UI thread installs and draws, so nothing is locked.
class COSMProcessPaintManagerSlot
{
public:
    COSMProcessPaintManagerSlot()
    {
        GetVisualStyleFunctions(TRUE);
        GetOSVersionInfo();
        GetResourceManager();
        GetColorManager();
        GetImageManager();
        GetDrawHelpers();
    }

    // At exit: the manager goes first, then what the layers above keep for their looks until it has gone.
    ~COSMProcessPaintManagerSlot()
    {
        m_manager = nullptr;
        for (auto it = m_exitRoutines.rbegin(); it != m_exitRoutines.rend(); ++it)
            (*it)();
    }

    COSMPaintManager* Get() const { return m_manager.Get(); }
    void Install(RefPtr<COSMPaintManager> manager) { m_manager = std::move(manager); }
    void AddExitRoutine(COSMPaintManager::ExitRoutine routine) { m_exitRoutines.push_back(routine); }

private:
    RefPtr<COSMPaintManager> m_manager;
    std::vector<COSMPaintManager::ExitRoutine> m_exitRoutines;
};

// Bar docked left or right: vertical text unless the bar says otherwise.
int BarTextOrientation(const COSMCommandBar* bar)
{
    if (!bar)
        return 2;
    if (bar->GetTextOrientation() != 0)
        return bar->GetTextOrientation();
    return bar->GetPosition() == 2 || bar->GetPosition() == 3 ? 1 : 2;
}

}  // namespace

COSMPaintManager::COSMPaintManager() : COSMPaintManager(GetVisualStyleFunctions(TRUE)) {}

COSMPaintManager::COSMPaintManager(COSMVisualStyleFunctions& styleFunctions)
    : m_statusTheme(styleFunctions), m_buttonTheme(styleFunctions)
{
    m_faceName = "Tahoma";
    m_faceGradient.SetStandardColors(COSMPaintManagerColor::kNone, COSMPaintManagerColor::kNone, 0.5f);
    // A new look starts with images generated afresh in its colours.
    GetImageManager()->RefreshAll();
    m_galleryPaintManager = MakePartPainter(kGalleryPainter, this);
    m_sliderPaintManager = MakePartPainter(kSliderPainter, this);
    m_progressPaintManager = MakePartPainter(kProgressPainter, this);
    if (HMODULE user32 = ::GetModuleHandleA("USER32"))
        m_setLayeredWindowAttributes = reinterpret_cast<PFNSETLAYEREDWINDOWATTRIBUTES>(
            reinterpret_cast<void*>(::GetProcAddress(user32, "SetLayeredWindowAttributes")));
    m_shadowManager = RefPtr<COSMShadowManager>::Adopt(new COSMShadowManager);
}

COSMPaintManager::~COSMPaintManager()
{
    m_galleryPaintManager.reset();
    m_sliderPaintManager.reset();
    m_progressPaintManager.reset();
    m_framePaintManager.reset();
    m_shadowManager.Reset();
    m_ribbonPaintManager.Reset();
    m_statusTheme.CloseThemeData();
    m_buttonTheme.CloseThemeData();
}

void COSMPaintManager::SetPartPaintManagers(COSMPartPaintManager* gallery, COSMPartPaintManager* slider,
                                            COSMPartPaintManager* progress)
{
    m_galleryPaintManager.reset(gallery);
    m_sliderPaintManager.reset(slider);
    m_progressPaintManager.reset(progress);
}

// ---- Colours ----

COLORREF COSMPaintManager::GetColor(int index) const
{
    if (index < 0 || index >= kColorCount)
        return static_cast<COLORREF>(index);
    return m_colors[index].GetEffective();
}

void COSMPaintManager::SetColors(int count, const UINT* indices, const COLORREF* colors)
{
    for (int i = 0; i < count; ++i)
        if (indices[i] < static_cast<UINT>(kColorCount))
            m_colors[indices[i]].SetStandardValue(colors[i]);
}

int COSMPaintManager::GetEffectiveVisualStyle() const
{
    COSMColorManager* colors = GetColorManager();
    if (m_visualStyleSelection == 7)
        return colors->IsLunaColorsDisabled() ? 0 : colors->GetVisualStyle();
    if (m_visualStyleSelection == 6)
        return colors->GetDetectedVisualStyle();
    return m_visualStyleSelection;
}

void COSMPaintManager::RefreshStandardColors()
{
    RefreshColorManager();
    for (int i = 0; i < kColorCount; ++i)
        m_colors[i].SetStandardValue(GetColorManager()->GetColor(i));
}

namespace {

// Bars are laid out on the UI thread only.
UINT g_layoutGeneration = 0;

}  // namespace

UINT COSMPaintManager::GetLayoutGeneration()
{
    return g_layoutGeneration;
}

void COSMPaintManager::InvalidateLayouts()
{
    ++g_layoutGeneration;
}

void COSMPaintManager::RefreshMetrics()
{
    InvalidateLayouts();
    RefreshFonts();
    RefreshStandardColors();
    m_shadowManager->RefreshMetrics();

    m_statusBarTextColor = GetColor(COLOR_BTNTEXT);
    m_messageBarTextColor = GetColor(COLOR_INFOTEXT);
    m_floatingCaptionColor.SetStandardValue(GetColor(COLOR_BTNSHADOW));
    m_floatingCaptionTextColor.SetStandardValue(GetColor(COLOR_BTNHIGHLIGHT));
    m_faceGradient.SetStandardColors(GetColor(COLOR_BTNFACE), GetColor(COLOR_BTNSHADOW), 0.5f);

    m_statusTheme.CloseThemeData();
    if (m_themedStatusBar && m_statusTheme.OpenThemeData(nullptr, L"STATUS") && m_statusTheme.IsAppThemed())
    {
        COLORREF text = 0;
        if (SUCCEEDED(m_statusTheme.GetThemeColor(1, 0, 3803, &text)))
            m_statusBarTextColor = text;
    }
    m_buttonTheme.CloseThemeData();
    if (m_themedCheckMarks)
        m_buttonTheme.OpenThemeData(nullptr, L"BUTTON");

    if (m_galleryPaintManager)
        m_galleryPaintManager->RefreshMetrics();
    if (m_sliderPaintManager)
        m_sliderPaintManager->RefreshMetrics();
    if (m_progressPaintManager)
        m_progressPaintManager->RefreshMetrics();
    if (m_framePaintManager)
        m_framePaintManager->RefreshMetrics();
    if (m_ribbonPaintManager)
        m_ribbonPaintManager->RefreshMetrics();
}

// ---- Fonts ----

BOOL COSMPaintManager::ReadNonClientMetrics(NONCLIENTMETRICSA* metrics)
{
    return InitNonClientMetrics(metrics);
}

BOOL COSMPaintManager::UseClearTypeQuality() const
{
    return m_clearTypeText && GetOSVersionInfo()->IsClearTypeTextQualitySupported();
}

BOOL COSMPaintManager::FontExists(LPCSTR face)
{
    return ::FontExists(face);
}

void COSMPaintManager::BuildIconTitleLogFont(LOGFONTA* logFont, BYTE charset) const
{
    std::memset(logFont, 0, sizeof(*logFont));
    GetIconLogFont(logFont);
    logFont->lfCharSet = charset;
    if (UseClearTypeQuality())
        logFont->lfQuality = CLEARTYPE_QUALITY;
}

void COSMPaintManager::RefreshFonts()
{
    InvalidateLayouts();
    NONCLIENTMETRICSA metrics;
    ReadNonClientMetrics(&metrics);
    const BYTE charset = GetResourceManager()->GetFontCharset();
    const BOOL clearType = UseClearTypeQuality();

    if (m_fontsFollowSystem)
    {
        LOGFONTA logFont = metrics.lfMenuFont;
        // Menu fonts smaller than 11 pixels are unreadable on the bars.
        if (logFont.lfHeight < 0 && logFont.lfHeight >= -10)
            logFont.lfHeight = -11;
        logFont.lfCharSet = charset;
        if (clearType)
            logFont.lfQuality = CLEARTYPE_QUALITY;
        CreateFontsFromLogFont(&logFont, TRUE);
    }

    LOGFONTA iconTitle;
    BuildIconTitleLogFont(&iconTitle, charset);
    LOGFONTA caption = metrics.lfSmCaptionFont;
    LOGFONTA status = metrics.lfStatusFont;
    for (LOGFONTA* logFont : {&caption, &status})
    {
        logFont->lfCharSet = charset;
        if (clearType)
            logFont->lfQuality = CLEARTYPE_QUALITY;
    }
    LOGFONTA iconTitleBold = iconTitle;
    iconTitleBold.lfWeight = FW_BOLD;

    struct Holder
    {
        COSMPaintManagerFont& font;
        const LOGFONTA& logFont;
    };
    const Holder holders[] = {{m_captionFont, caption},
                              {m_iconTitleFont, iconTitle},
                              {m_iconTitleBoldFont, iconTitleBold},
                              {m_statusFont, status}};
    for (const Holder& holder : holders)
        if (holder.font.IsStandard() || !holder.font.GetSafeHandle())
            holder.font.SetFontIndirect(holder.logFont);
}

void COSMPaintManager::CreateFontsFromLogFont(LOGFONTA* logFont, BOOL standard)
{
    InvalidateLayouts();
    m_fontsFollowSystem = standard;
    if (!logFont)
        return;
    if (UseClearTypeQuality())
        logFont->lfQuality = CLEARTYPE_QUALITY;

    m_regularFont.DeleteObject();
    m_boldFont.DeleteObject();
    m_verticalFont.DeleteObject();
    m_verticalBoldFont.DeleteObject();
    // A bold icon-title font that a theme set is the theme's; a standard one is rebuilt at once so that it is
    // never left empty.
    if (m_iconTitleBoldFont.IsStandard())
    {
        LOGFONTA iconTitle;
        BuildIconTitleLogFont(&iconTitle, GetResourceManager()->GetFontCharset());
        iconTitle.lfWeight = FW_BOLD;
        m_iconTitleBoldFont.SetFontIndirect(iconTitle);
    }

    if (m_faceName.CompareNoCase(logFont->lfFaceName) == 0)
        m_faceNameMatch = TRUE;
    if (standard && m_faceNameMatch && FontExists(m_faceName))
        lstrcpynA(logFont->lfFaceName, m_faceName, LF_FACESIZE);

    m_regularFont.CreateFontIndirect(logFont);
    const LONG weight = logFont->lfWeight;
    logFont->lfWeight = FW_BOLD;
    m_boldFont.CreateFontIndirect(logFont);
    logFont->lfWeight = weight;

    // Bars docked left or right write from top to bottom.
    LOGFONTA vertical = *logFont;
    vertical.lfEscapement = 2700;
    vertical.lfOrientation = 900;
    lstrcpynA(vertical.lfFaceName, GetDefaultFontName(m_faceNameMatch), LF_FACESIZE);
    m_verticalFont.CreateFontIndirect(&vertical);
    vertical.lfWeight = FW_BOLD;
    m_verticalBoldFont.CreateFontIndirect(&vertical);

    HDC screen = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(screen, m_regularFont.GetSafeHandle());
    SIZE space = {0, 0};
    ::GetTextExtentPoint32A(screen, " ", 1, &space);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    m_controlHeight = space.cy + 6;
}

CFont* COSMPaintManager::GetControlFont(COSMControl* control)
{
    const BOOL defaultItem = control->IsDefaultItem();
    if (GetControlTextOrientation(control) == 1)
        return defaultItem ? &m_verticalBoldFont : &m_verticalFont;
    return defaultItem ? &m_boldFont : &m_regularFont;
}

CFont* COSMPaintManager::GetCommandBarFont(COSMCommandBar* bar)
{
    return BarTextOrientation(bar) == 1 ? &m_verticalFont : &m_regularFont;
}

int COSMPaintManager::GetControlTextOrientation(COSMControl* control)
{
    return BarTextOrientation(control->GetParent());
}

// ---- Sizes ----

int COSMPaintManager::GetSplitButtonDropDownWidth() const
{
    const int height = m_largeButtonTextHeight >= 1 ? m_controlHeight : std::max(m_controlHeight + 3, 22);
    return 2 * height - 17;
}

CSize COSMPaintManager::GetAutoIconSize(BOOL large) const
{
    if (!m_autoIconSize)
        return large ? CSize(32, 32) : CSize(16, 16);
    int n = GetControlHeight() - 4;
    if (large)
        n *= 2;
    const int side = 8 * std::max(n / 8, 2);
    return CSize(side, side);
}

CSize COSMPaintManager::GetControlImageSize(COSMControl* control)
{
    COSMCommandBar* bar = control->GetParent();
    if (control->GetStyle() == 4 && bar && bar->GetType() != 2)
        return bar->CalcIconSize(TRUE);
    return control->GetIconSize();
}

CSize COSMPaintManager::FitImageSize(CSize iconSize, int width, int height)
{
    if (iconSize.cx <= 0 || iconSize.cy <= 0)
        return CSize(width, height);
    const int scaled = iconSize.cy * width / iconSize.cx;
    if (scaled > height + 1)
        return CSize(height * iconSize.cx / iconSize.cy, height);
    return CSize(width, scaled);
}

CSize COSMPaintManager::ApplyControlCustomSize(CSize size, COSMControl* control, BOOL vertical) const
{
    const int width = control->GetWidth();
    const int height = control->GetHeight();
    if (vertical)
    {
        if (width > 0)
            size.cy = width;
        if (height > 0)
            size.cx = height;
    }
    else
    {
        if (width > 0)
            size.cx = width;
        if (height > 0)
            size.cy = height;
    }
    return size;
}

BOOL COSMPaintManager::IsFlatToolBar(COSMCommandBar* bar)
{
    return bar->GetType() == 0 ? m_flatMenuBar : m_flatToolBar;
}

CSize COSMPaintManager::GetPopupBarImageSize(COSMCommandBar* bar)
{
    const CSize icon = bar->GetIconSize();
    return CSize(std::max<int>(icon.cx + 4, m_controlHeight + 4), std::max<int>(icon.cy + 6, m_controlHeight));
}

int COSMPaintManager::GetPopupBarGripperWidth(COSMCommandBar* bar)
{
    if (bar->GetType() != 2)
        return 0;
    const int factor = bar->IsPopupBar() && bar->IsDoubleGripper() ? 2 : 1;
    return GetPopupBarImageSize(bar).cx * factor + 1;
}

CRect COSMPaintManager::GetCommandBarBorders(COSMCommandBar* bar)
{
    return CRect(2, 2, 2, 2);
}

// ---- Part painters ----

void COSMPaintManager::RegisterPartPainter(PartPainter part, PartPainterCreator creator)
{
    if (part >= 0 && part < kPartPainterCount)
        g_partPainterCreators[part] = creator;
}

void COSMPaintManager::RegisterRibbonPainter(RibbonPainterCreator creator)
{
    g_ribbonPainterCreator = creator;
}

void COSMPaintManager::RegisterDwmCaptionTest(DwmCaptionTest test)
{
    g_dwmCaptionTest = test;
}

BOOL COSMPaintManager::IsControlOnDwmCaption(const COSMControl* control)
{
    return g_dwmCaptionTest ? g_dwmCaptionTest(control) : FALSE;
}

void COSMPaintManager::RegisterControlGroupingTest(ControlGroupingTest test)
{
    g_controlGroupingTest = test;
}

BOOL COSMPaintManager::IsControlGrouped(const COSMControl* control)
{
    return control && g_controlGroupingTest ? g_controlGroupingTest(control) : FALSE;
}

COSMPartPaintManager* COSMPaintManager::GetFramePaintManager()
{
    if (!m_framePaintManager)
    {
        m_framePaintManager = MakePartPainter(kFramePainter, this);
        if (m_framePaintManager)
            m_framePaintManager->RefreshMetrics();
    }
    return m_framePaintManager.get();
}

COSMSharedPartPaintManager* COSMPaintManager::GetRibbonPaintManager()
{
    if (!m_ribbonPaintManager && g_ribbonPainterCreator)
    {
        m_ribbonPaintManager = RefPtr<COSMSharedPartPaintManager>::Adopt(g_ribbonPainterCreator(this));
        if (m_ribbonPaintManager)
            m_ribbonPaintManager->RefreshMetrics();
    }
    return m_ribbonPaintManager.Get();
}

// ---- The process-wide manager and the factory ----

COSMPaintManager* COSMPaintManager::GetGlobalPaintManager()
{
    OSM_ASSERT_UI_THREAD();
    // Makes nothing: none is installed before the first SetTheme, nor once the holder's end has begun at exit.
    const COSMProcessPaintManagerSlot* slot = OsmLiveProcessService<COSMProcessPaintManagerSlot>();
    return slot ? slot->Get() : nullptr;
}

void COSMPaintManager::RegisterThemeCreator(int id, ThemeCreator creator)
{
    if (id >= 0 && id < kThemeIdCount)
        g_themeCreators[id] = creator;
}

void COSMPaintManager::SetThemesRegistration(ThemesRegistration routine)
{
    g_themesRegistration = routine;
}

void COSMPaintManager::RegisterThemes()
{
    if (g_themesRegistration)
        g_themesRegistration();
}

COSMPaintManager* COSMPaintManager::CreateTheme(int id)
{
    ThemeCreator creator = id >= 0 && id < kThemeIdCount ? g_themeCreators[id] : nullptr;
    if (!creator)
        creator = g_themeCreators[0];
    if (!creator)
        return nullptr;
    COSMPaintManager* manager = creator();
    if (manager)
        manager->m_themeId = id;
    return manager;
}

void COSMPaintManager::SetCustomTheme(COSMPaintManager* manager)
{
    OSM_ASSERT_UI_THREAD();
    InvalidateLayouts();
    COSMProcessPaintManagerSlot* slot = OsmLiveProcessService<COSMProcessPaintManagerSlot>();
    if (!slot)
    {
        // Once the holder has gone at exit nothing is installed any more: the manager's reference is given back.
        if (OsmProcessServiceEnded<COSMProcessPaintManagerSlot>())
        {
            if (manager)
                manager->InternalRelease();
            return;
        }
        if (!manager)
            return;
        slot = OsmProcessService<COSMProcessPaintManagerSlot>();
    }
    // Installing the manager that is installed already keeps it (and its one reference).
    if (slot->Get() != manager)
        slot->Install(RefPtr<COSMPaintManager>::Adopt(manager));
    if (!manager)
        return;
    manager->m_themeId = kCustomThemeId;
    manager->RefreshMetrics();
}

void COSMPaintManager::SetTheme(int id)
{
    SetCustomTheme(CreateTheme(id));
    if (COSMPaintManager* installed = GetGlobalPaintManager())
        installed->m_themeId = id;
}

void COSMPaintManager::FreeGlobalPaintManager()
{
    SetCustomTheme(nullptr);
}

BOOL COSMPaintManager::AddExitRoutine(ExitRoutine routine)
{
    // The holder is made now if need be, so the routine runs whether or not a look is ever installed.
    if (!routine || OsmProcessServiceEnded<COSMProcessPaintManagerSlot>())
        return FALSE;
    OsmProcessService<COSMProcessPaintManagerSlot>()->AddExitRoutine(routine);
    return TRUE;
}
