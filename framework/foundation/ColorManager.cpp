#include "framework/foundation/ColorManager.h"

#include "framework/foundation/ProcessService.h"

#include <vssym32.h>

#include <algorithm>
#include <cmath>
#include <cwctype>

IMPLEMENT_DYNAMIC(COSMColorManager, CCmdTarget)

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// Framework colours 30 to 61 start as copies of these entries (0 is always black).
const int kCopiedFrom[] = {
    15, 5,  13, 13, 16, 17, 5,  13, 16, 16,  // 30-39
    16, 5,  16, 16, 8,  7,  18, 14, 16, 14,  // 40-49
    13, 15, 16, 15, 16, 15, 15, 16, 17, 0,   // 50-59
    16, 16,                                  // 60-61
};

struct Blend
{
    int target, first, second, weight;
};
// Outside high contrast, in this order: later rows read what earlier rows wrote.
const Blend kBlends[] = {
    {30, 5, 15, 165}, {31, 13, 5, 30},  {33, 13, 5, 50},  {41, 15, 5, 143}, {35, 17, 5, 70},  {38, 16, 5, 75},
    {39, 16, 5, 70},  {43, 46, 16, 20}, {61, 46, 16, 15}, {40, 16, 5, 90},  {42, 15, 16, 90},
};

struct KeptApart
{
    int target, reference, source, threshold;
};
// Each target must stay readable against its reference; in this order.
const KeptApart kKeptApart[] = {
    {31, 30, 31, 50},  {32, 30, 13, 100}, {33, 30, 33, 30},  {35, 41, 35, 80},  {37, 33, 37, 100},
    {38, 30, 38, 85},  {39, 30, 39, 50},  {43, 41, 43, 100}, {61, 30, 61, 100}, {40, 30, 40, 80},
    {44, 41, 44, 180}, {45, 31, 45, 180}, {46, 30, 46, 180}, {47, 33, 47, 180},
};

struct GradientValue
{
    COLORREF first, second;
    float factor;
};
struct StyleColors
{
    GradientValue gradients[7];
    COLORREF entry54;
};
const StyleColors kBlueColors = {{
                                     {RGB(89, 135, 214), RGB(0, 45, 150), 0.5f},
                                     {RGB(158, 190, 245), RGB(196, 218, 250), 0.5f},
                                     {RGB(89, 135, 214), RGB(0, 45, 150), 0.5f},
                                     {RGB(221, 236, 254), RGB(129, 169, 226), 0.75f},
                                     {RGB(227, 239, 255), RGB(135, 173, 228), 0.5f},
                                     {RGB(203, 221, 246), RGB(121, 161, 220), 0.5f},
                                     {RGB(227, 239, 255), RGB(147, 181, 231), 0.5f},
                                 },
                                 RGB(0, 45, 150)};
const StyleColors kOliveColors = {{
                                      {RGB(175, 192, 130), RGB(99, 122, 68), 0.5f},
                                      {RGB(217, 217, 167), RGB(242, 241, 228), 0.5f},
                                      {RGB(120, 142, 111), RGB(73, 91, 67), 0.5f},
                                      {RGB(244, 247, 222), RGB(183, 198, 145), 0.3f},
                                      {RGB(255, 255, 237), RGB(184, 199, 146), 0.3f},
                                      {RGB(230, 230, 209), RGB(164, 180, 120), 0.3f},
                                      {RGB(236, 240, 213), RGB(194, 206, 159), 0.5f},
                                  },
                                  RGB(96, 128, 88)};
const StyleColors kSilverColors = {{
                                       {RGB(168, 167, 191), RGB(112, 111, 145), 0.5f},
                                       {RGB(215, 215, 229), RGB(243, 243, 247), 0.5f},
                                       {RGB(168, 167, 191), RGB(119, 118, 151), 0.5f},
                                       {RGB(249, 249, 255), RGB(156, 155, 183), 0.75f},
                                       {RGB(249, 249, 255), RGB(159, 157, 185), 0.75f},
                                       {RGB(215, 215, 226), RGB(128, 126, 158), 0.75f},
                                       {RGB(233, 231, 241), RGB(186, 185, 205), 0.5f},
                                   },
                                   RGB(124, 124, 148)};

// A colour in the weighted space.
struct WeightedPoint
{
    double red, green, blue;
};

const double kRedScale = 195.0, kGreenScale = 390.0, kBlueScale = 65.0;
// About the distance of white from black in the weighted space.
const double kWhiteDistance = 442.0;

WeightedPoint ToWeighted(COLORREF color)
{
    return {GetRValue(color) * kRedScale / 255.0, GetGValue(color) * kGreenScale / 255.0,
            GetBValue(color) * kBlueScale / 255.0};
}

BYTE ChannelFromWeighted(double value, double scale)
{
    const double clamped = std::clamp(value, 0.0, scale);
    return static_cast<BYTE>(std::clamp(static_cast<int>(clamped * 255.0 / scale + 0.5), 0, 255));
}

COLORREF FromWeighted(const WeightedPoint& point)
{
    return RGB(ChannelFromWeighted(point.red, kRedScale), ChannelFromWeighted(point.green, kGreenScale),
               ChannelFromWeighted(point.blue, kBlueScale));
}

// Mirrors the space so that white becomes the origin (and back).
WeightedPoint MirrorToWhite(const WeightedPoint& point)
{
    return {kRedScale - point.red, kGreenScale - point.green, kBlueScale - point.blue};
}

double Dot(const WeightedPoint& a, const WeightedPoint& b)
{
    return a.red * b.red + a.green * b.green + a.blue * b.blue;
}

BYTE LargestChannel(COLORREF color)
{
    return std::max({GetRValue(color), GetGValue(color), GetBValue(color)});
}

// Every channel times numerator / denominator, in integer arithmetic.
COLORREF ScaleChannels(COLORREF color, int numerator, int denominator)
{
    return RGB(GetRValue(color) * numerator / denominator, GetGValue(color) * numerator / denominator,
               GetBValue(color) * numerator / denominator);
}

}  // namespace

COSMColorEnvironment::COSMColorEnvironment() : COSMColorEnvironment(GetVisualStyleFunctions(TRUE)) {}

COSMColorEnvironment::COSMColorEnvironment(COSMVisualStyleFunctions& styleFunctions) : m_styleFunctions(styleFunctions)
{}

COLORREF COSMColorEnvironment::GetSysColor(int index)
{
    return ::GetSysColor(index);
}

BOOL COSMColorEnvironment::IsLowColorDisplay()
{
    return COSMColorManager::IsLowColorDisplay(nullptr);
}

BOOL COSMColorEnvironment::IsThemeActive()
{
    return COSMVisualStyleWrapper(m_styleFunctions).IsThemeActive();
}

BOOL COSMColorEnvironment::GetThemeName(std::wstring* file, std::wstring* colorScheme)
{
    WCHAR fileName[MAX_PATH] = {}, schemeName[MAX_PATH] = {}, sizeName[MAX_PATH] = {};
    COSMVisualStyleWrapper styles(m_styleFunctions);
    if (styles.GetCurrentThemeName(fileName, MAX_PATH, schemeName, MAX_PATH, sizeName, MAX_PATH) != S_OK)
        return FALSE;
    fileName[MAX_PATH - 1] = schemeName[MAX_PATH - 1] = 0;
    *file = fileName;
    *colorScheme = schemeName;
    return TRUE;
}

BOOL COSMColorEnvironment::GetTreeViewBorderColor(COLORREF* color)
{
    COSMVisualStyleWrapper treeView(m_styleFunctions);
    treeView.OpenThemeData(nullptr, L"TREEVIEW");
    return treeView.IsAppThemed() && SUCCEEDED(treeView.GetThemeColor(0, 0, TMT_BORDERCOLOR, color));
}

COSMColorEnvironment& GetSystemColorEnvironment()
{
    return *OsmProcessService<COSMColorEnvironment>();
}

COSMColorManager::COSMColorManager() : COSMColorManager(GetSystemColorEnvironment()) {}

COSMColorManager::COSMColorManager(COSMColorEnvironment& environment) : m_environment(&environment)
{
    RefreshColors();
    m_gradients[7].SetStandardColors(RGB(255, 213, 140), RGB(255, 173, 85), 0.5f);
    m_gradients[8].SetStandardColors(RGB(254, 142, 75), RGB(255, 207, 139), 0.5f);
    m_gradients[9].SetStandardColors(RGB(255, 242, 200), RGB(255, 212, 151), 0.5f);
}

COLORREF COSMColorManager::GetColor(COLORREF indexOrColor) const
{
    return indexOrColor < static_cast<COLORREF>(kColorCount) ? m_colors[indexOrColor] : indexOrColor;
}

COLORREF COSMColorManager::BlendColors(COLORREF first, COLORREF second, int weight)
{
    const int total = weight < 100 ? 100 : 1000;
    auto channel = [&](int shift) {
        const int a = static_cast<int>((first >> shift) & 0xFF);
        const int b = static_cast<int>((second >> shift) & 0xFF);
        return static_cast<BYTE>((a * weight + b * (total - weight) + total / 2) / total);
    };
    return RGB(channel(0), channel(8), channel(16));
}

double COSMColorManager::ColorDistanceSquared(COLORREF first, COLORREF second)
{
    const WeightedPoint a = ToWeighted(first), b = ToWeighted(second);
    const WeightedPoint d{a.red - b.red, a.green - b.green, a.blue - b.blue};
    return Dot(d, d);
}

double COSMColorManager::ColorDistance(COLORREF first, COLORREF second)
{
    return std::sqrt(ColorDistanceSquared(first, second));
}

double COSMColorManager::ScaleThreshold(int lightness, int threshold)
{
    return (2.0 - std::min(lightness, 220) / 220.0) * threshold;
}

BOOL COSMColorManager::AreColorsDistinct(COLORREF first, COLORREF second, BOOL scale, float threshold)
{
    double limit = threshold;
    if (scale)
        limit = ScaleThreshold(static_cast<int>(ColorDistance(first, kBlack)), static_cast<int>(threshold));
    return ColorDistanceSquared(first, second) > limit * limit;
}

COLORREF COSMColorManager::SeparateColor(COLORREF reference, COLORREF color, double threshold)
{
    const double referenceLightness = ColorDistance(reference, kBlack);
    const double t = ScaleThreshold(static_cast<int>(referenceLightness), static_cast<int>(threshold));
    const double colorLightness = ColorDistance(color, kBlack);
    const bool lighten =
        colorLightness > referenceLightness ? kWhiteDistance - t >= referenceLightness : referenceLightness <= t;

    WeightedPoint a = ToWeighted(color), b = ToWeighted(reference);
    if (lighten)
    {
        a = MirrorToWhite(a);
        b = MirrorToWhite(b);
    }
    // The point of the line through the origin and a that lies t away from b, on the origin's side.
    const double length = std::max(std::sqrt(Dot(a, a)), 0.001);
    const double dot = Dot(a, b);
    const double k = dot / (length * length);
    const WeightedPoint p{k * a.red - b.red, k * a.green - b.green, k * a.blue - b.blue};
    // Rounding can leave the line a hair farther from b than t: take the nearest point then, never a NaN.
    const double h = std::sqrt(std::max(t * t - Dot(p, p), 0.0));
    const double s = dot / length - h;
    WeightedPoint moved{a.red * s / length, a.green * s / length, a.blue * s / length};
    if (lighten)
        moved = MirrorToWhite(moved);
    return FromWeighted(moved);
}

COLORREF COSMColorManager::ApproachColor(COLORREF reference, COLORREF color, double threshold)
{
    const double distance = ColorDistance(reference, color);
    const double t = ScaleThreshold(static_cast<int>(ColorDistance(reference, kBlack)), static_cast<int>(threshold));
    if (distance <= t)
        return color;
    const double f = (distance - t) / distance;
    const WeightedPoint a = ToWeighted(color), b = ToWeighted(reference);
    return FromWeighted(
        {a.red + (b.red - a.red) * f, a.green + (b.green - a.green) * f, a.blue + (b.blue - a.blue) * f});
}

BOOL COSMColorManager::IsLowColorDisplay(HDC dc)
{
    HDC screen = nullptr;
    if (!dc)
    {
        screen = GetDC(nullptr);
        if (!screen)
            return FALSE;
        dc = screen;
    }
    const int bits = GetDeviceCaps(dc, BITSPIXEL);
    if (screen)
        ReleaseDC(nullptr, screen);
    return bits >= 1 && bits <= 8;
}

int COSMColorManager::DetectVisualStyle(BOOL lowColor)
{
    std::wstring file, scheme;
    if (!m_environment->IsThemeActive() || lowColor || !m_environment->GetThemeName(&file, &scheme))
        return kStyleNone;
    for (std::wstring* text : {&file, &scheme})
        for (wchar_t& c : *text)
            c = static_cast<wchar_t>(std::towlower(c));
    auto contains = [&file](const wchar_t* part) { return file.find(part) != std::wstring::npos; };

    if (contains(L"luna.msstyles") || contains(L"winxp.luna.cjstyles"))
    {
        if (scheme == L"normalcolor")
            return kStyleLunaBlue;
        if (scheme == L"homestead")
            return kStyleLunaOlive;
        if (scheme == L"metallic")
            return kStyleLunaSilver;
    }
    if (contains(L"royale.msstyles") || contains(L"winxp.royale.cjstyles"))
        return kStyleRoyale;
    if (contains(L"aero.msstyles"))
        return kStyleAero;
    return kStyleNone;
}

void COSMColorManager::RefreshSysColors()
{
    // Entry 0 (the scroll bar) is not read: painters take it as black.
    m_colors[0] = kBlack;
    for (int index = 1; index < 30; ++index)
        m_colors[index] = m_environment->GetSysColor(index);
}

void COSMColorManager::RefreshDerivedColors()
{
    static_assert(sizeof(kCopiedFrom) / sizeof(kCopiedFrom[0]) == 32, "entries 30 to 61");
    for (int index = 30; index <= 61; ++index)
        m_colors[index] = m_colors[kCopiedFrom[index - 30]];
}

void COSMColorManager::RefreshGradientColors(BOOL lowColor)
{
    const StyleColors* style = nullptr;
    switch (m_visualStyle)
    {
    case kStyleLunaBlue:
    case kStyleRoyale:
    case kStyleAero:
        style = &kBlueColors;
        break;
    case kStyleLunaOlive:
        style = &kOliveColors;
        break;
    case kStyleLunaSilver:
        style = &kSilverColors;
        break;
    }

    const COLORREF face = m_colors[COLOR_BTNFACE], window = m_colors[COLOR_WINDOW];
    const COLORREF shadow = m_colors[COLOR_BTNSHADOW];
    if (style)
    {
        for (int i = 0; i < 7; ++i)
            m_gradients[i].SetStandardColors(style->gradients[i].first, style->gradients[i].second,
                                             style->gradients[i].factor);
        m_colors[54] = style->entry54;
    }
    else
    {
        m_gradients[0].SetStandardColors(shadow, shadow);
        m_gradients[1].SetStandardColors(face, BlendColors(face, window, 215));
        m_gradients[2].SetStandardColors(face, shadow);
        m_gradients[3].SetStandardColors(BlendColors(face, window, 205), face);
        m_gradients[4].SetStandardColors(BlendColors(face, window, 145), BlendColors(face, window, 93));
        m_gradients[5].SetStandardColors(BlendColors(face, window, 40), BlendColors(face, shadow, 95));
        m_gradients[6].SetStandardColors(BlendColors(face, window, 165), BlendColors(face, window, 42));
    }
    if (lowColor)
    {
        m_gradients[3].SetStandardColor(face);
        m_gradients[1].SetStandardColor(face);
    }
}

void COSMColorManager::RefreshTreeViewBorder()
{
    COLORREF border = 0;
    if (m_environment->GetTreeViewBorderColor(&border))
        m_colors[57] = border;
}

void COSMColorManager::RefreshColors()
{
    const BOOL lowColor = m_environment->IsLowColorDisplay();
    m_visualStyle = DetectVisualStyle(lowColor);
    RefreshSysColors();
    RefreshDerivedColors();
    if (lowColor)
    {
        RefreshGradientColors(lowColor);
        return;
    }

    const COLORREF face = m_colors[COLOR_BTNFACE], text = m_colors[COLOR_BTNTEXT];
    const bool highContrast = (face == kBlack && text == kWhite) || (face == kWhite && text == kBlack);
    if (highContrast)
    {
        m_colors[31] = m_colors[36] = m_colors[50] = m_colors[COLOR_HIGHLIGHT];
        m_colors[45] = m_colors[COLOR_HIGHLIGHTTEXT];
        m_colors[32] = m_colors[37] = m_colors[38] = m_colors[43] = text;
    }
    else
    {
        for (const Blend& blend : kBlends)
            m_colors[blend.target] = BlendColors(m_colors[blend.first], m_colors[blend.second], blend.weight);
    }

    if (AreColorsDistinct(m_colors[COLOR_BTNFACE], m_colors[30], TRUE, 35.0f))
        m_colors[30] = ApproachColor(m_colors[COLOR_BTNFACE], m_colors[30], 35.0);
    for (const KeptApart& row : kKeptApart)
    {
        const COLORREF reference = m_colors[row.reference], source = m_colors[row.source];
        if (!AreColorsDistinct(reference, source, TRUE, static_cast<float>(row.threshold)))
            m_colors[row.target] = SeparateColor(reference, source, row.threshold);
    }
    if (AreColorsDistinct(m_colors[41], m_colors[35], TRUE, 145.0f))
        m_colors[35] = ApproachColor(m_colors[41], m_colors[35], 145.0);

    if (!highContrast)
    {
        const COLORREF window = m_colors[COLOR_WINDOW], highlight = m_colors[COLOR_HIGHLIGHT];
        auto mix = [&](int shift) {
            const int w = (window >> shift) & 0xFF, h = (highlight >> shift) & 0xFF, f = (m_colors[30] >> shift) & 0xFF;
            return static_cast<BYTE>(w * 40 / 100 + h * 10 / 100 + f * 50 / 100);
        };
        m_colors[36] = RGB(mix(0), mix(8), mix(16));
    }

    // A face a little brighter than the button face (a black face gives dark grey).
    const int faceMax = LargestChannel(face);
    if (faceMax == 0)
        m_colors[48] = RGB(35, 35, 35);
    else
        m_colors[48] = ScaleChannels(face, faceMax + std::min(255 - faceMax, 35), faceMax);

    // A shadow a little darker than the button shadow (mid grey under a black face).
    const COLORREF shadow = m_colors[COLOR_BTNSHADOW];
    const int shadowMax = LargestChannel(shadow);
    if (face == kBlack)
        m_colors[49] = RGB(127, 127, 127);
    else if (shadowMax == 0)
        m_colors[49] = kBlack;
    else
        m_colors[49] = ScaleChannels(shadow, std::max(shadowMax - 43, 0), shadowMax);

    const COLORREF selection = m_colors[31];
    m_colors[34] = RGB(static_cast<BYTE>(GetRValue(selection) * 0.75), static_cast<BYTE>(GetGValue(selection) * 0.75),
                       static_cast<BYTE>(GetBValue(selection) * 0.75));

    auto lighter = [](BYTE channel) { return static_cast<BYTE>(std::min(channel + 15, 255)); };
    m_colors[COLOR_3DLIGHT] = RGB(lighter(GetRValue(face)), lighter(GetGValue(face)), lighter(GetBValue(face)));

    m_colors[53] = m_colors[30];
    m_colors[58] = m_colors[40];
    m_colors[60] = m_colors[40];

    RefreshGradientColors(FALSE);
    RefreshTreeViewBorder();
}

COSMColorManager* GetColorManager()
{
    return OsmProcessService<COSMColorManager>();
}

void RefreshColorManager()
{
    GetColorManager()->RefreshColors();
}

COSMColorEnvironmentScope::COSMColorEnvironmentScope(COSMColorEnvironment& environment)
{
    COSMColorManager* manager = GetColorManager();
    m_previous = manager->m_environment;
    manager->m_environment = &environment;
    manager->RefreshColors();
}

COSMColorEnvironmentScope::~COSMColorEnvironmentScope()
{
    COSMColorManager* manager = GetColorManager();
    manager->m_environment = m_previous;
    manager->RefreshColors();
}
