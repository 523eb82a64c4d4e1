// COSMMarkupGdiPlus: the process's use of GDI+ for markup drawing. The library is loaded by name while at least one
// user is registered (the markup contexts), never linked, so a system without it still draws through GDI; its flat
// functions are fetched by name the first time they are needed.
//
//   RegisterMarkupGdiPlus(TRUE);    // the first user loads and starts GDI+
//   ...                             // COSMMarkupGdiPlusDeviceContext draws through it
//   RegisterMarkupGdiPlus(FALSE);   // the last one shuts it down and unloads it
//
// One record per process, used on the user-interface thread only.
#pragma once

#include "classlib/ClassLibBase.h"

template <class T> class COSMProcessServiceHolder;

class COSMMarkupGdiPlus
{
public:
    // The flat functions used, in the order of their names (GetProcName).
    enum Function
    {
        GdiplusStartup,
        GdiplusShutdown,
        GdipCreateFromHDC,
        GdipCreateFromHDC2,
        GdipSetPageUnit,
        GdipSetSmoothingMode,
        GdipSetPixelOffsetMode,
        GdipDeleteGraphics,
        GdipCreateSolidFill,
        GdipCreateLineBrush,
        GdipSetLinePresetBlend,
        GdipDeleteBrush,
        GdipCreatePen1,
        GdipCreatePen2,
        GdipDeletePen,
        GdipCreatePath2,
        GdipDeletePath,
        GdipFillRectangleI,
        GdipFillEllipse,
        GdipDrawEllipse,
        GdipDrawLineI,
        GdipDrawLinesI,
        GdipFillPolygonI,
        GdipDrawPolygonI,
        GdipFillPath,
        GdipDrawPath,
        FunctionCount
    };

    // One more user (start) or one fewer. The first user loads and starts the library; the last one shuts it
    // down (when it started) and unloads it. A stop without a user does nothing.
    void Register(BOOL start);

    // Started: the flat functions can be called.
    BOOL IsStarted() const { return m_nToken != 0; }
    int GetUserCount() const { return m_nRefCount; }
    HMODULE GetModule() const { return m_hModule; }

    // The entry point, fetched on first use and kept while the library is loaded; null without it.
    FARPROC GetFunction(Function function);
    template <class T> T Get(Function function)
    {
        return reinterpret_cast<T>(reinterpret_cast<void*>(GetFunction(function)));
    }

    static LPCSTR GetProcName(Function function);

    // The record of the process (GetMarkupGdiPlus), made by the process's service holder.
    friend class COSMProcessServiceHolder<COSMMarkupGdiPlus>;

    // ---- For tests ---------------------------------------------------------------------------------------------
    // Loads name instead of "GdiPlus.dll" (null: that again). Refused (FALSE) while a user is registered.
    BOOL SetLibraryName(LPCSTR name);

private:
    COSMMarkupGdiPlus() = default;
    void Unload();

    HMODULE m_hModule = nullptr;
    // GdiplusStartup writes a pointer-sized token; 0 while GDI+ is not started.
    ULONG_PTR m_nToken = 0;
    int m_nRefCount = 0;
    FARPROC m_functions[FunctionCount] = {};
    char m_szLibraryName[MAX_PATH] = "GdiPlus.dll";
};

COSMMarkupGdiPlus* GetMarkupGdiPlus();
void RegisterMarkupGdiPlus(BOOL start);
