// Desktop-composition calls without linking against dwmapi.dll, which Windows before Vista does not have. Each
// call fails harmlessly when the library or the function is missing, so the caller keeps the classic frame:
//
//   LRESULT result = 0;
//   if (COSMDwmWrapper().DwmDefWindowProc(hwnd, message, wParam, lParam, &result))
//       return result;                        // the caption buttons were DWM's
#pragma once

#include <windows.h>

#include "framework/foundation/FunctionTable.h"

class COSMDwmFunctions : public COSMFunctionTable
{
public:
    enum Slot
    {
        kDwmDefWindowProc,
        kDwmIsCompositionEnabled,
        kDwmExtendFrameIntoClientArea,
        kSlotCount
    };

    explicit COSMDwmFunctions(const char* moduleName);
};

// The process-wide table on dwmapi.dll, made on first use.
COSMDwmFunctions& GetDwmFunctions();

class COSMDwmWrapper
{
public:
    // On the process-wide table.
    COSMDwmWrapper();
    // On a table of the caller's, which must outlive the wrapper.
    explicit COSMDwmWrapper(COSMDwmFunctions& functions);

    // TRUE when DWM handled the message and stored its result; FALSE (result untouched) when it did not, or when
    // the function is missing.
    BOOL DwmDefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // TRUE while desktop composition is on; FALSE when it is off, the call fails or the function is missing.
    BOOL DwmIsCompositionEnabled();
    // Extends the glass frame by these widths; E_FAIL when the function is missing.
    HRESULT DwmExtendFrameIntoClientArea(HWND window, int left, int top, int right, int bottom);

private:
    COSMDwmFunctions& m_functions;
};
