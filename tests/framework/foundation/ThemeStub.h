// A stand-in for UXTHEME.DLL and dwmapi.dll that the wrapper tests load by path: it exports the functions the
// framework looks up, answers from a state block the test sets, and counts and records every call.
#pragma once

#include <windows.h>

#include <cwchar>
#include <string>

struct CThemeStubState
{
    enum Call
    {
        kDrawThemeBackground,
        kCloseThemeData,
        kOpenThemeData,
        kIsThemeActive,
        kIsAppThemed,
        kGetThemeSysBool,
        kGetThemePartSize,
        kGetThemeInt,
        kGetThemeColor,
        kGetCurrentThemeName,
        kBeginBufferedPaint,
        kEndBufferedPaint,
        kDrawThemeTextEx,
        kDwmDefWindowProc,
        kDwmExtendFrameIntoClientArea,
        kCallCount
    };

    // Answers.
    BOOL themeActive;
    BOOL appThemed;
    WCHAR themeFile[MAX_PATH];
    WCHAR colorScheme[MAX_PATH];
    HRESULT themeNameResult;
    COLORREF themeColor;
    HRESULT themeColorResult;
    BOOL dwmHandles;  // DwmDefWindowProc's answer; it then stores dwmResult
    LRESULT dwmResult;

    // What the calls saw.
    LONG calls[kCallCount];
    HANDLE lastTheme;  // the handle of the last call that takes one
    HWND lastWindow;
    WCHAR lastClassList[64];
    int lastPart, lastState, lastProperty;
    RECT lastRect;
    BOOL lastClipGiven;
    int margins[4];    // DwmExtendFrameIntoClientArea's MARGINS, in memory order
    HANDLE nextTheme;  // OpenThemeData hands out handles from here on, one more each time

    // Failures a test asks for; none after ResetThemeStub.
    BOOL openFails;        // OpenThemeData gives no handle
    BOOL bufferFails;      // BeginBufferedPaint gives no buffer
    HRESULT textExResult;  // DrawThemeTextEx's answer
    // What the buffered text saw: the buffer's format and DrawThemeTextEx's options (size, flags, text colour).
    int lastBufferFormat;
    DWORD lastOptionsSize;
    DWORD lastOptionsFlags;
    COLORREF lastOptionsTextColor;
    // Every DrawThemeBackground in order (the first kDrawLogSize of them), for painters that draw many parts.
    static const int kDrawLogSize = 64;
    int drawCount;
    int drawParts[kDrawLogSize];
    int drawStates[kDrawLogSize];
    RECT drawRects[kDrawLogSize];
    HANDLE drawThemes[kDrawLogSize];

    // Selective answers, none after ResetThemeStub: OpenThemeData refuses the classes listed here, each followed
    // by ';' ("REBAR;MENU;"); GetThemeInt fails with themeIntResult when it is a failure; GetThemeColor answers
    // RGB(part, state, property % 256) instead of themeColor when colorFromQuery is set; DrawThemeBackground fails
    // for the part failingDrawPart when drawPartFails is set.
    WCHAR refusedClasses[128];
    HRESULT themeIntResult;
    BOOL colorFromQuery;
    BOOL drawPartFails;
    int failingDrawPart;
    // DwmIsCompositionEnabled's answer (FALSE after ResetThemeStub, as under Wine).
    BOOL dwmComposition;
};

// What the visual-style functions answer for a property the theme does not define.
const HRESULT kNoSuchProperty = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);

// GetThemeInt throws a C++ exception for this property, as a misbehaving library might.
const int kThemeStubThrowingProperty = 9999;

// Exported by the stub: the module's own state block.
using ThemeStubStateFn = CThemeStubState*(WINAPI*)();

// The test side: the stub's path (built beside the test program) ...
inline std::string ThemeStubPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1) + "osm_theme_stub.dll";
}

// ... the state block of the stub loaded from path (null when it is not loaded) ...
inline CThemeStubState* ThemeStubStateOf(const std::string& path)
{
    HMODULE module = GetModuleHandleA(path.c_str());
    auto state =
        module ? reinterpret_cast<ThemeStubStateFn>(reinterpret_cast<void*>(GetProcAddress(module, "ThemeStubState")))
               : nullptr;
    return state ? state() : nullptr;
}

// ... and its answers for a themed Luna desktop, with nothing counted yet.
inline void ResetThemeStub(CThemeStubState* state)
{
    *state = CThemeStubState{};
    state->themeActive = TRUE;
    state->appThemed = TRUE;
    std::wcscpy(state->themeFile, L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles");
    std::wcscpy(state->colorScheme, L"NormalColor");
    state->themeNameResult = S_OK;
    state->themeColor = RGB(1, 2, 3);
    state->themeColorResult = S_OK;
    state->nextTheme = reinterpret_cast<HANDLE>(0x5000);
}
