#include "framework/foundation/LayoutFunctions.h"

#include "classlib/DC.h"
#include "framework/foundation/ProcessService.h"

namespace {

const char* const kLayoutNames[COSMLayoutFunctions::kSlotCount] = {"GetLayout", "SetLayout"};

using GetLayoutFn = DWORD(WINAPI*)(HDC);
using SetLayoutFn = DWORD(WINAPI*)(HDC, DWORD);

}  // namespace

COSMLayoutFunctions::COSMLayoutFunctions(const char* moduleName)
    : COSMFunctionTable(moduleName, kLayoutNames, kSlotCount, FALSE)
{}

DWORD COSMLayoutFunctions::GetLayout(HDC dc)
{
    auto getLayout = Get<GetLayoutFn>(kGetLayout);
    return getLayout ? getLayout(dc) : 0;
}

void COSMLayoutFunctions::SetLayout(HDC dc, DWORD layout)
{
    if (auto setLayout = Get<SetLayoutFn>(kSetLayout))
        setLayout(dc, layout);
}

BOOL COSMLayoutFunctions::IsContextRTL(CDC* dc)
{
    return dc && GetLayout(dc->GetSafeHdc()) != 0;
}

void COSMLayoutFunctions::SetContextRTL(CDC* dc, DWORD layout)
{
    if (dc)
        SetLayout(dc->GetSafeHdc(), layout);
}

COSMLayoutFunctions& GetLayoutFunctions()
{
    return *OsmProcessService<COSMLayoutFunctions>();
}

DWORD GetDCLayout(HDC dc)
{
    return GetLayoutFunctions().GetLayout(dc);
}

void SetDCLayout(HDC dc, DWORD layout)
{
    GetLayoutFunctions().SetLayout(dc, layout);
}

BOOL IsContextRTL(CDC* dc)
{
    return GetLayoutFunctions().IsContextRTL(dc);
}

void SetContextRTL(CDC* dc, DWORD layout)
{
    GetLayoutFunctions().SetContextRTL(dc, layout);
}

void KeyToLayout(HWND window, UINT& key)
{
    if (!IsWindow(window) || !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL))
        return;
    if (key == VK_LEFT)
        key = VK_RIGHT;
    else if (key == VK_RIGHT)
        key = VK_LEFT;
}
