// Visual-style drawing without linking against UXTHEME.DLL, which Windows before XP does not have.
// COSMVisualStyleWrapper holds one theme handle and calls the visual-style functions through a
// COSMVisualStyleFunctions table; every call returns a fixed failure value when the library, the function or
// the call fails, so a painter simply falls back to classic drawing:
//
//   COSMVisualStyleWrapper button;            // the process-wide table that follows reloads of the library
//   button.OpenThemeData(hwnd, L"BUTTON");
//   if (!button.IsOpen() || !button.IsAppThemed() ||
//       FAILED(button.DrawThemeBackground(dc, BP_CHECKBOX, state, &rc, nullptr)))
//       DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONCHECK);
//
// Two process-wide tables exist: the first follows reloads (the library's handle is compared again whenever a
// theme is opened, its state or name asked), the second never reloads. The framework uses the first everywhere
// except where a handle must survive a reload (buffered caption text). Any thread may use the tables; a wrapper
// belongs to one thread at a time.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include "framework/foundation/FunctionTable.h"

// Buffered painting and themed text with options came with Vista; a build that declares Windows XP gets no
// types for them from the SDK headers, so they are declared here as Windows defines them.
#if NTDDI_VERSION < NTDDI_VISTA
DECLARE_HANDLE(HPAINTBUFFER);

typedef enum _BP_BUFFERFORMAT
{
    BPBF_COMPATIBLEBITMAP,
    BPBF_DIB,
    BPBF_TOPDOWNDIB,
    BPBF_TOPDOWNMONODIB
} BP_BUFFERFORMAT;

#define BPPF_ERASE 0x00000001
#define BPPF_NOCLIP 0x00000002
#define BPPF_NONCLIENT 0x00000004

typedef struct _BP_PAINTPARAMS
{
    DWORD cbSize;
    DWORD dwFlags;
    const RECT* prcExclude;
    const BLENDFUNCTION* pBlendFunction;
} BP_PAINTPARAMS, *PBP_PAINTPARAMS;

#define DTT_TEXTCOLOR (1UL << 0)
#define DTT_BORDERCOLOR (1UL << 1)
#define DTT_SHADOWCOLOR (1UL << 2)
#define DTT_SHADOWTYPE (1UL << 3)
#define DTT_SHADOWOFFSET (1UL << 4)
#define DTT_BORDERSIZE (1UL << 5)
#define DTT_FONTPROP (1UL << 6)
#define DTT_COLORPROP (1UL << 7)
#define DTT_STATEID (1UL << 8)
#define DTT_CALCRECT (1UL << 9)
#define DTT_APPLYOVERLAY (1UL << 10)
#define DTT_GLOWSIZE (1UL << 11)
#define DTT_CALLBACK (1UL << 12)
#define DTT_COMPOSITED (1UL << 13)

typedef int(WINAPI* DTT_CALLBACK_PROC)(HDC hdc, LPWSTR text, int length, LPRECT rect, UINT flags, LPARAM lParam);

typedef struct _DTTOPTS
{
    DWORD dwSize;
    DWORD dwFlags;
    COLORREF crText;
    COLORREF crBorder;
    COLORREF crShadow;
    int iTextShadowType;
    POINT ptShadowOffset;
    int iBorderSize;
    int iFontPropId;
    int iColorPropId;
    int iStateId;
    BOOL fApplyOverlay;
    int iGlowSize;
    DTT_CALLBACK_PROC pfnDrawTextCallback;
    LPARAM lParam;
} DTTOPTS, *PDTTOPTS;
#endif

class COSMVisualStyleFunctions : public COSMFunctionTable
{
public:
    // The visual-style functions, in slot order. Each is looked up the first time it is called; a slot whose
    // function the library lacks stays null (ThemeAppProperties is exported by no version of it).
    enum Slot
    {
        kDrawThemeBackground,
        kCloseThemeData,
        kSetWindowTheme,
        kSetThemeAppProperties,
        kOpenThemeData,
        kIsThemePartDefined,
        kIsThemeDialogTextureEnabled,
        kIsThemeBackgroundPartiallyTransparent,
        kIsThemeActive,
        kIsAppThemed,
        kHitTestThemeBackground,
        kGetWindowTheme,
        kGetThemeSysString,
        kGetThemeTextMetrics,
        kGetThemeTextExtent,
        kGetThemeSysSize,
        kGetThemeSysInt,
        kGetThemeSysFont,
        kGetThemeSysColorBrush,
        kGetThemeSysColor,
        kGetThemeSysBool,
        kGetThemeString,
        kGetThemeRect,
        kGetThemePropertyOrigin,
        kGetThemePosition,
        kGetThemePartSize,
        kGetThemeMetric,
        kGetThemeMargins,
        kGetThemeIntList,
        kGetThemeInt,
        kGetThemeFont,
        kGetThemeFilename,
        kGetThemeEnumValue,
        kGetThemeDocumentationProperty,
        kGetThemeColor,
        kGetThemeBool,
        kGetThemeBackgroundRegion,
        kGetThemeBackgroundExtent,
        kGetThemeBackgroundContentRect,
        kThemeAppProperties,
        kGetCurrentThemeName,
        kEnableTheming,
        kEnableThemeDialogTexture,
        kDrawThemeText,
        kDrawThemeParentBackground,
        kDrawThemeIcon,
        kDrawThemeEdge,
        kDrawThemeBackgroundEx,
        kGetThemeAppProperties,
        kBeginBufferedPaint,
        kEndBufferedPaint,
        kDrawThemeTextEx,
        kSlotCount
    };

    // comCtlVersion: major << 16 | minor of the common controls the themed drawing will meet.
    COSMVisualStyleFunctions(const char* moduleName, BOOL followReloads, DWORD comCtlVersion);

    DWORD GetComCtlVersion() const { return m_comCtlVersion; }

private:
    const DWORD m_comCtlVersion;
};

// The process-wide tables on UXTHEME.DLL, made on first use: followReloads TRUE gives the first, FALSE the second.
COSMVisualStyleFunctions& GetVisualStyleFunctions(BOOL followReloads);

// The common controls are version 6 or later (themed controls need them).
BOOL IsComCtlVersion6OrGreater();

class COSMVisualStyleWrapper
{
public:
    // On a process-wide table (see above); holds no handle yet.
    explicit COSMVisualStyleWrapper(BOOL followReloads = TRUE);
    // On a table of the caller's, which must outlive the wrapper.
    explicit COSMVisualStyleWrapper(COSMVisualStyleFunctions& functions);
    // Closes the handle.
    virtual ~COSMVisualStyleWrapper();

    COSMVisualStyleWrapper(const COSMVisualStyleWrapper&) = delete;
    COSMVisualStyleWrapper& operator=(const COSMVisualStyleWrapper&) = delete;

    // Closes the held handle and opens the class list's theme data (window may be null); TRUE when a handle is
    // now held.
    BOOL OpenThemeData(HWND window, LPCWSTR classList);
    // Closes the held handle, if any; no handle is held afterwards.
    void CloseThemeData();
    BOOL IsOpen() const { return m_theme != nullptr; }
    HTHEME GetHandle() const { return m_theme; }

    // Theme-handle calls: E_FAIL (FALSE for GetThemeSysBool) when the library or the function is missing. A C++
    // exception out of a call becomes the failure value too; mingw-w64 has no structured exception handling, so
    // a fault inside the library is not caught.
    HRESULT DrawThemeBackground(HDC dc, int part, int state, const RECT* rect, const RECT* clip);
    HRESULT DrawThemeTextEx(HDC dc, int part, int state, LPCWSTR text, int length, DWORD flags, RECT* rect,
                            const DTTOPTS* options);
    HRESULT GetThemeColor(int part, int state, int property, COLORREF* color);
    HRESULT GetThemeInt(int part, int state, int property, int* value);
    HRESULT GetThemePartSize(HDC dc, int part, int state, const RECT* rect, THEMESIZE kind, SIZE* size);
    BOOL GetThemeSysBool(int boolId);

    // Calls without a handle.
    HRESULT GetCurrentThemeName(LPWSTR file, int fileSize, LPWSTR colorScheme, int colorSchemeSize, LPWSTR size,
                                int sizeSize);
    BOOL IsThemeActive();
    // Whether the application is drawn with visual styles; it says nothing of the held handle: a painter that
    // draws through the handle asks IsOpen() too.
    BOOL IsAppThemed();
    // Themes are active and the common controls are version 6 or later.
    BOOL IsAppThemeReady();
    // Null when buffered painting is missing (before Vista).
    HPAINTBUFFER BeginBufferedPaint(HDC target, const RECT* rect, BP_BUFFERFORMAT format, BP_PAINTPARAMS* params,
                                    HDC* bufferDC);
    HRESULT EndBufferedPaint(HPAINTBUFFER buffer, BOOL updateTarget);

private:
    COSMVisualStyleFunctions& m_functions;
    HTHEME m_theme = nullptr;
};
