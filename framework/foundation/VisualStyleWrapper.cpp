#include "framework/foundation/VisualStyleWrapper.h"

#include "framework/foundation/OSVersionInfo.h"

namespace {

const char* const kVisualStyleNames[COSMVisualStyleFunctions::kSlotCount] = {
    "DrawThemeBackground",
    "CloseThemeData",
    "SetWindowTheme",
    "SetThemeAppProperties",
    "OpenThemeData",
    "IsThemePartDefined",
    "IsThemeDialogTextureEnabled",
    "IsThemeBackgroundPartiallyTransparent",
    "IsThemeActive",
    "IsAppThemed",
    "HitTestThemeBackground",
    "GetWindowTheme",
    "GetThemeSysString",
    "GetThemeTextMetrics",
    "GetThemeTextExtent",
    "GetThemeSysSize",
    "GetThemeSysInt",
    "GetThemeSysFont",
    "GetThemeSysColorBrush",
    "GetThemeSysColor",
    "GetThemeSysBool",
    "GetThemeString",
    "GetThemeRect",
    "GetThemePropertyOrigin",
    "GetThemePosition",
    "GetThemePartSize",
    "GetThemeMetric",
    "GetThemeMargins",
    "GetThemeIntList",
    "GetThemeInt",
    "GetThemeFont",
    "GetThemeFilename",
    "GetThemeEnumValue",
    "GetThemeDocumentationProperty",
    "GetThemeColor",
    "GetThemeBool",
    "GetThemeBackgroundRegion",
    "GetThemeBackgroundExtent",
    "GetThemeBackgroundContentRect",
    "ThemeAppProperties",
    "GetCurrentThemeName",
    "EnableTheming",
    "EnableThemeDialogTexture",
    "DrawThemeText",
    "DrawThemeParentBackground",
    "DrawThemeIcon",
    "DrawThemeEdge",
    "DrawThemeBackgroundEx",
    "GetThemeAppProperties",
    "BeginBufferedPaint",
    "EndBufferedPaint",
    "DrawThemeTextEx",
};

using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
using CloseThemeDataFn = HRESULT(WINAPI*)(HTHEME);
using OpenThemeDataFn = HTHEME(WINAPI*)(HWND, LPCWSTR);
using ThemeStateFn = BOOL(WINAPI*)();
using GetThemeSysBoolFn = BOOL(WINAPI*)(HTHEME, int);
using GetThemePartSizeFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, THEMESIZE, SIZE*);
using GetThemeIntFn = HRESULT(WINAPI*)(HTHEME, int, int, int, int*);
using GetThemeColorFn = HRESULT(WINAPI*)(HTHEME, int, int, int, COLORREF*);
using GetCurrentThemeNameFn = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
using BeginBufferedPaintFn = HPAINTBUFFER(WINAPI*)(HDC, const RECT*, BP_BUFFERFORMAT, BP_PAINTPARAMS*, HDC*);
using EndBufferedPaintFn = HRESULT(WINAPI*)(HPAINTBUFFER, BOOL);
using DrawThemeTextExFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, RECT*, const DTTOPTS*);

// Calls the slot's function; failure when it is missing or the call throws.
template <typename Function, typename Result, typename... Args>
Result CallGuarded(COSMVisualStyleFunctions& functions, COSMVisualStyleFunctions::Slot slot, Result failure,
                   Args... args)
{
    try
    {
        if (auto function = functions.Get<Function>(slot))
            return function(args...);
    }
    catch (...)
    {}
    return failure;
}

}  // namespace

COSMVisualStyleFunctions::COSMVisualStyleFunctions(const char* moduleName, BOOL followReloads, DWORD comCtlVersion)
    : COSMFunctionTable(moduleName, kVisualStyleNames, kSlotCount, followReloads), m_comCtlVersion(comCtlVersion)
{}

COSMVisualStyleFunctions& GetVisualStyleFunctions(BOOL followReloads)
{
    if (followReloads)
    {
        static COSMVisualStyleFunctions following("UXTHEME.DLL", TRUE, COSMOSVersionInfo::GetComCtlVersion());
        return following;
    }
    static COSMVisualStyleFunctions fixed("UXTHEME.DLL", FALSE, COSMOSVersionInfo::GetComCtlVersion());
    return fixed;
}

BOOL IsComCtlVersion6OrGreater()
{
    return HIWORD(COSMOSVersionInfo::GetComCtlVersion()) > 5;
}

COSMVisualStyleWrapper::COSMVisualStyleWrapper(BOOL followReloads) : m_functions(GetVisualStyleFunctions(followReloads))
{}

COSMVisualStyleWrapper::COSMVisualStyleWrapper(COSMVisualStyleFunctions& functions) : m_functions(functions) {}

COSMVisualStyleWrapper::~COSMVisualStyleWrapper()
{
    CloseThemeData();
}

BOOL COSMVisualStyleWrapper::OpenThemeData(HWND window, LPCWSTR classList)
{
    m_functions.FollowReload();
    CloseThemeData();
    m_theme = CallGuarded<OpenThemeDataFn>(m_functions, COSMVisualStyleFunctions::kOpenThemeData,
                                           static_cast<HTHEME>(nullptr), window, classList);
    return m_theme != nullptr;
}

void COSMVisualStyleWrapper::CloseThemeData()
{
    if (!m_theme)
        return;
    CallGuarded<CloseThemeDataFn>(m_functions, COSMVisualStyleFunctions::kCloseThemeData, E_FAIL, m_theme);
    m_theme = nullptr;
}

HRESULT COSMVisualStyleWrapper::DrawThemeBackground(HDC dc, int part, int state, const RECT* rect, const RECT* clip)
{
    return CallGuarded<DrawThemeBackgroundFn>(m_functions, COSMVisualStyleFunctions::kDrawThemeBackground, E_FAIL,
                                              m_theme, dc, part, state, rect, clip);
}

HRESULT COSMVisualStyleWrapper::DrawThemeTextEx(HDC dc, int part, int state, LPCWSTR text, int length, DWORD flags,
                                                RECT* rect, const DTTOPTS* options)
{
    return CallGuarded<DrawThemeTextExFn>(m_functions, COSMVisualStyleFunctions::kDrawThemeTextEx, E_FAIL, m_theme, dc,
                                          part, state, text, length, flags, rect, options);
}

HRESULT COSMVisualStyleWrapper::GetThemeColor(int part, int state, int property, COLORREF* color)
{
    return CallGuarded<GetThemeColorFn>(m_functions, COSMVisualStyleFunctions::kGetThemeColor, E_FAIL, m_theme, part,
                                        state, property, color);
}

HRESULT COSMVisualStyleWrapper::GetThemeInt(int part, int state, int property, int* value)
{
    return CallGuarded<GetThemeIntFn>(m_functions, COSMVisualStyleFunctions::kGetThemeInt, E_FAIL, m_theme, part, state,
                                      property, value);
}

HRESULT COSMVisualStyleWrapper::GetThemePartSize(HDC dc, int part, int state, const RECT* rect, THEMESIZE kind,
                                                 SIZE* size)
{
    return CallGuarded<GetThemePartSizeFn>(m_functions, COSMVisualStyleFunctions::kGetThemePartSize, E_FAIL, m_theme,
                                           dc, part, state, rect, kind, size);
}

BOOL COSMVisualStyleWrapper::GetThemeSysBool(int boolId)
{
    return CallGuarded<GetThemeSysBoolFn>(m_functions, COSMVisualStyleFunctions::kGetThemeSysBool, FALSE, m_theme,
                                          boolId);
}

HRESULT COSMVisualStyleWrapper::GetCurrentThemeName(LPWSTR file, int fileSize, LPWSTR colorScheme, int colorSchemeSize,
                                                    LPWSTR size, int sizeSize)
{
    m_functions.FollowReload();
    return CallGuarded<GetCurrentThemeNameFn>(m_functions, COSMVisualStyleFunctions::kGetCurrentThemeName, E_FAIL, file,
                                              fileSize, colorScheme, colorSchemeSize, size, sizeSize);
}

BOOL COSMVisualStyleWrapper::IsThemeActive()
{
    m_functions.FollowReload();
    return CallGuarded<ThemeStateFn>(m_functions, COSMVisualStyleFunctions::kIsThemeActive, FALSE);
}

BOOL COSMVisualStyleWrapper::IsAppThemed()
{
    return CallGuarded<ThemeStateFn>(m_functions, COSMVisualStyleFunctions::kIsAppThemed, FALSE);
}

BOOL COSMVisualStyleWrapper::IsAppThemeReady()
{
    return IsThemeActive() && HIWORD(m_functions.GetComCtlVersion()) > 5;
}

HPAINTBUFFER COSMVisualStyleWrapper::BeginBufferedPaint(HDC target, const RECT* rect, BP_BUFFERFORMAT format,
                                                        BP_PAINTPARAMS* params, HDC* bufferDC)
{
    return CallGuarded<BeginBufferedPaintFn>(m_functions, COSMVisualStyleFunctions::kBeginBufferedPaint,
                                             static_cast<HPAINTBUFFER>(nullptr), target, rect, format, params,
                                             bufferDC);
}

HRESULT COSMVisualStyleWrapper::EndBufferedPaint(HPAINTBUFFER buffer, BOOL updateTarget)
{
    return CallGuarded<EndBufferedPaintFn>(m_functions, COSMVisualStyleFunctions::kEndBufferedPaint, E_FAIL, buffer,
                                           updateTarget);
}
