#include "framework/markup/MarkupGdiPlus.h"

#include "framework/foundation/ProcessService.h"

#include <cstring>

namespace {

const char* const kProcNames[COSMMarkupGdiPlus::FunctionCount] = {
    "GdiplusStartup",      "GdiplusShutdown",      "GdipCreateFromHDC",      "GdipCreateFromHDC2",
    "GdipSetPageUnit",     "GdipSetSmoothingMode", "GdipSetPixelOffsetMode", "GdipDeleteGraphics",
    "GdipCreateSolidFill", "GdipCreateLineBrush",  "GdipSetLinePresetBlend", "GdipDeleteBrush",
    "GdipCreatePen1",      "GdipCreatePen2",       "GdipDeletePen",          "GdipCreatePath2",
    "GdipDeletePath",      "GdipFillRectangleI",   "GdipFillEllipse",        "GdipDrawEllipse",
    "GdipDrawLineI",       "GdipDrawLinesI",       "GdipFillPolygonI",       "GdipDrawPolygonI",
    "GdipFillPath",        "GdipDrawPath",
};

// Version 1, no debug callback, the background thread and the external codecs as GDI+ chooses.
struct StartupInput
{
    UINT32 version;
    void* debugEventCallback;
    BOOL suppressBackgroundThread;
    BOOL suppressExternalCodecs;
};

using StartupFunction = int(WINAPI*)(ULONG_PTR* token, const StartupInput* input, void* output);
using ShutdownFunction = void(WINAPI*)(ULONG_PTR token);

}  // namespace

COSMMarkupGdiPlus* GetMarkupGdiPlus()
{
    OSM_ASSERT_UI_THREAD();
    return OsmProcessService<COSMMarkupGdiPlus>();
}

void RegisterMarkupGdiPlus(BOOL start)
{
    GetMarkupGdiPlus()->Register(start);
}

LPCSTR COSMMarkupGdiPlus::GetProcName(Function function)
{
    return function >= 0 && function < FunctionCount ? kProcNames[function] : nullptr;
}

FARPROC COSMMarkupGdiPlus::GetFunction(Function function)
{
    if (!m_hModule || function < 0 || function >= FunctionCount)
        return nullptr;
    if (!m_functions[function])
        m_functions[function] = ::GetProcAddress(m_hModule, kProcNames[function]);
    return m_functions[function];
}

BOOL COSMMarkupGdiPlus::SetLibraryName(LPCSTR name)
{
    if (m_nRefCount > 0)
        return FALSE;
    const char* chosen = name ? name : "GdiPlus.dll";
    if (strlen(chosen) >= sizeof m_szLibraryName)
        return FALSE;
    strcpy(m_szLibraryName, chosen);
    return TRUE;
}

void COSMMarkupGdiPlus::Register(BOOL start)
{
    if (start)
    {
        // Only the first user loads: a second start would leak a token and a module reference.
        if (++m_nRefCount != 1)
            return;
        memset(m_functions, 0, sizeof m_functions);
        m_nToken = 0;
        m_hModule = ::LoadLibraryA(m_szLibraryName);
        if (!m_hModule)
            return;
        StartupFunction startup = Get<StartupFunction>(GdiplusStartup);
        const StartupInput input = {1, nullptr, FALSE, FALSE};
        ULONG_PTR token = 0;
        if (startup && startup(&token, &input, nullptr) == 0)
            m_nToken = token;
        return;
    }
    // A stop without a user does nothing: the count never goes below 0.
    if (m_nRefCount <= 0)
        return;
    if (--m_nRefCount == 0)
        Unload();
}

void COSMMarkupGdiPlus::Unload()
{
    if (m_hModule)
    {
        // Shutting down with a token that never started could stop GDI+ under another user in the process.
        if (m_nToken)
        {
            if (ShutdownFunction shutdown = Get<ShutdownFunction>(GdiplusShutdown))
                shutdown(m_nToken);
        }
        ::FreeLibrary(m_hModule);
    }
    memset(m_functions, 0, sizeof m_functions);
    m_hModule = nullptr;
    m_nToken = 0;
}
