#include "framework/foundation/DwmWrapper.h"

#include <uxtheme.h>  // MARGINS

namespace {

const char* const kDwmNames[COSMDwmFunctions::kSlotCount] = {"DwmDefWindowProc", "DwmIsCompositionEnabled",
                                                             "DwmExtendFrameIntoClientArea"};

// DwmDefWindowProc answers with a BOOL, not an HRESULT: a failure code would read as "handled".
using DwmDefWindowProcFn = BOOL(WINAPI*)(HWND, UINT, WPARAM, LPARAM, LRESULT*);
using DwmIsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
using DwmExtendFrameIntoClientAreaFn = HRESULT(WINAPI*)(HWND, const MARGINS*);

}  // namespace

COSMDwmFunctions::COSMDwmFunctions(const char* moduleName) : COSMFunctionTable(moduleName, kDwmNames, kSlotCount, FALSE)
{}

COSMDwmFunctions& GetDwmFunctions()
{
    static COSMDwmFunctions functions("dwmapi.dll");
    return functions;
}

COSMDwmWrapper::COSMDwmWrapper() : m_functions(GetDwmFunctions()) {}

COSMDwmWrapper::COSMDwmWrapper(COSMDwmFunctions& functions) : m_functions(functions) {}

BOOL COSMDwmWrapper::DwmDefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto forward = m_functions.Get<DwmDefWindowProcFn>(COSMDwmFunctions::kDwmDefWindowProc);
    return forward ? forward(window, message, wParam, lParam, result) : FALSE;
}

BOOL COSMDwmWrapper::DwmIsCompositionEnabled()
{
    auto isEnabled = m_functions.Get<DwmIsCompositionEnabledFn>(COSMDwmFunctions::kDwmIsCompositionEnabled);
    BOOL enabled = FALSE;
    return isEnabled && SUCCEEDED(isEnabled(&enabled)) && enabled;
}

HRESULT COSMDwmWrapper::DwmExtendFrameIntoClientArea(HWND window, int left, int top, int right, int bottom)
{
    auto extend = m_functions.Get<DwmExtendFrameIntoClientAreaFn>(COSMDwmFunctions::kDwmExtendFrameIntoClientArea);
    if (!extend)
        return E_FAIL;
    // MARGINS runs left, right, top, bottom.
    const MARGINS margins{left, right, top, bottom};
    return extend(window, &margins);
}
