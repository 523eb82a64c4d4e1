// The stub DLL behind ThemeStub.h. It does not include uxtheme.h: its own definitions of the same names would
// clash with the header's imports.
#include "ThemeStub.h"

#include <cwchar>
#include <string>

namespace {

// The tests set every answer through ResetThemeStub before they use the stub.
CThemeStubState g_state;

void Count(CThemeStubState::Call call)
{
    ++g_state.calls[call];
}

void Count(CThemeStubState::Call call, HANDLE theme)
{
    ++g_state.calls[call];
    g_state.lastTheme = theme;
}

void CopyText(WCHAR (&out)[64], LPCWSTR text, int length)
{
    int count = 0;
    for (; text && count < 63 && (length < 0 ? text[count] != 0 : count < length); ++count)
        out[count] = text[count];
    out[count] = 0;
}

void Record(int part, int state, int property, const RECT* rect = nullptr)
{
    g_state.lastPart = part;
    g_state.lastState = state;
    g_state.lastProperty = property;
    g_state.lastRect = rect ? *rect : RECT{};
}

// The class is in the refused list, as "CLASS;".
bool IsRefused(LPCWSTR classList)
{
    if (!classList || !*classList)
        return false;
    std::wstring entry = std::wstring(classList) + L";";
    return std::wstring(g_state.refusedClasses).find(entry) != std::wstring::npos;
}

}  // namespace

#define STUB_EXPORT extern "C" __declspec(dllexport)

STUB_EXPORT CThemeStubState* WINAPI ThemeStubState()
{
    return &g_state;
}

STUB_EXPORT HANDLE WINAPI OpenThemeData(HWND window, LPCWSTR classList)
{
    Count(CThemeStubState::kOpenThemeData);
    g_state.lastWindow = window;
    CopyText(g_state.lastClassList, classList, -1);
    if (g_state.openFails || (classList && std::wcscmp(classList, L"NO-SUCH-CLASS") == 0) || IsRefused(classList))
        return nullptr;
    HANDLE theme = g_state.nextTheme;
    g_state.nextTheme = reinterpret_cast<HANDLE>(reinterpret_cast<ULONG_PTR>(theme) + 1);
    return theme;
}

STUB_EXPORT HRESULT WINAPI CloseThemeData(HANDLE theme)
{
    Count(CThemeStubState::kCloseThemeData, theme);
    return S_OK;
}

STUB_EXPORT BOOL WINAPI IsThemeActive()
{
    Count(CThemeStubState::kIsThemeActive);
    return g_state.themeActive;
}

STUB_EXPORT BOOL WINAPI IsAppThemed()
{
    Count(CThemeStubState::kIsAppThemed);
    return g_state.appThemed;
}

STUB_EXPORT HRESULT WINAPI GetCurrentThemeName(LPWSTR file, int fileSize, LPWSTR scheme, int schemeSize, LPWSTR size,
                                               int sizeSize)
{
    Count(CThemeStubState::kGetCurrentThemeName);
    if (g_state.themeNameResult != S_OK)
        return g_state.themeNameResult;
    std::wcsncpy(file, g_state.themeFile, fileSize);
    std::wcsncpy(scheme, g_state.colorScheme, schemeSize);
    std::wcsncpy(size, L"NormalSize", sizeSize);
    return S_OK;
}

STUB_EXPORT HRESULT WINAPI DrawThemeBackground(HANDLE theme, HDC, int part, int state, const RECT* rect,
                                               const RECT* clip)
{
    Count(CThemeStubState::kDrawThemeBackground, theme);
    Record(part, state, 0, rect);
    g_state.lastClipGiven = clip != nullptr;
    if (g_state.drawCount < CThemeStubState::kDrawLogSize)
    {
        g_state.drawParts[g_state.drawCount] = part;
        g_state.drawStates[g_state.drawCount] = state;
        g_state.drawRects[g_state.drawCount] = rect ? *rect : RECT{};
        g_state.drawThemes[g_state.drawCount] = theme;
        ++g_state.drawCount;
    }
    if (g_state.drawPartFails && part == g_state.failingDrawPart)
        return E_FAIL;
    return S_OK;
}

STUB_EXPORT HRESULT WINAPI GetThemeColor(HANDLE theme, int part, int state, int property, COLORREF* color)
{
    Count(CThemeStubState::kGetThemeColor, theme);
    Record(part, state, property);
    if (SUCCEEDED(g_state.themeColorResult))
        *color = g_state.colorFromQuery ? RGB(part, state, property % 256) : g_state.themeColor;
    return g_state.themeColorResult;
}

STUB_EXPORT HRESULT WINAPI GetThemeInt(HANDLE theme, int part, int state, int property, int* value)
{
    Count(CThemeStubState::kGetThemeInt, theme);
    Record(part, state, property);
    if (property == kThemeStubThrowingProperty)
        throw property;
    if (FAILED(g_state.themeIntResult))
        return g_state.themeIntResult;
    *value = part * 100 + state * 10 + property;
    return S_OK;
}

STUB_EXPORT HRESULT WINAPI GetThemePartSize(HANDLE theme, HDC, int part, int state, const RECT* rect, int kind,
                                            SIZE* size)
{
    Count(CThemeStubState::kGetThemePartSize, theme);
    Record(part, state, kind, rect);
    *size = SIZE{part + 10, state + 20};
    return S_OK;
}

STUB_EXPORT BOOL WINAPI GetThemeSysBool(HANDLE theme, int boolId)
{
    Count(CThemeStubState::kGetThemeSysBool, theme);
    Record(0, 0, boolId);
    return boolId == 1001;
}

STUB_EXPORT HANDLE WINAPI BeginBufferedPaint(HDC target, const RECT* rect, int format, void*, HDC* bufferDC)
{
    Count(CThemeStubState::kBeginBufferedPaint);
    Record(0, 0, 0, rect);
    g_state.lastBufferFormat = format;
    if (g_state.bufferFails)
    {
        *bufferDC = nullptr;
        return nullptr;
    }
    *bufferDC = target;
    return reinterpret_cast<HANDLE>(0x7000);
}

STUB_EXPORT HRESULT WINAPI EndBufferedPaint(HANDLE buffer, BOOL update)
{
    Count(CThemeStubState::kEndBufferedPaint);
    Record(static_cast<int>(reinterpret_cast<ULONG_PTR>(buffer)), update, 0);
    return S_OK;
}

STUB_EXPORT HRESULT WINAPI DrawThemeTextEx(HANDLE theme, HDC, int part, int state, LPCWSTR text, int length,
                                           DWORD flags, RECT* rect, const void* options)
{
    Count(CThemeStubState::kDrawThemeTextEx, theme);
    Record(part, state, static_cast<int>(flags), rect);
    CopyText(g_state.lastClassList, text, length);
    // DTTOPTS begins with its size, its flags and the text colour.
    const DWORD* fields = static_cast<const DWORD*>(options);
    if (fields)
    {
        g_state.lastOptionsSize = fields[0];
        g_state.lastOptionsFlags = fields[1];
        g_state.lastOptionsTextColor = fields[2];
    }
    return g_state.textExResult;
}

STUB_EXPORT BOOL WINAPI DwmDefWindowProc(HWND window, UINT message, WPARAM, LPARAM, LRESULT* result)
{
    Count(CThemeStubState::kDwmDefWindowProc);
    g_state.lastWindow = window;
    g_state.lastProperty = static_cast<int>(message);
    if (g_state.dwmHandles)
        *result = g_state.dwmResult;
    return g_state.dwmHandles;
}

STUB_EXPORT HRESULT WINAPI DwmIsCompositionEnabled(BOOL* enabled)
{
    *enabled = g_state.dwmComposition;
    return S_OK;
}

STUB_EXPORT HRESULT WINAPI DwmExtendFrameIntoClientArea(HWND window, const int* margins)
{
    Count(CThemeStubState::kDwmExtendFrameIntoClientArea);
    g_state.lastWindow = window;
    for (int i = 0; i < 4; ++i)
        g_state.margins[i] = margins[i];
    return S_OK;
}
