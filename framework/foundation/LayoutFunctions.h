// Right-to-left layout of device contexts and keys. GetLayout and SetLayout are looked up in GDI32 at run time
// (Windows 98 and 2000 brought them); without them every context counts as left-to-right.
//
//   if (IsContextRTL(pDC)) rc.OffsetRect(...);
//   KeyToLayout(hwnd, vk);                    // VK_LEFT and VK_RIGHT trade places in a mirrored window
#pragma once

#include <windows.h>

#include "classlib/ClassLibBase.h"
#include "framework/foundation/FunctionTable.h"

class COSMLayoutFunctions : public COSMFunctionTable
{
public:
    enum Slot
    {
        kGetLayout,
        kSetLayout,
        kSlotCount
    };

    explicit COSMLayoutFunctions(const char* moduleName = "GDI32.DLL");

    // The context's layout (LAYOUT_RTL ...); 0 when GetLayout is missing.
    DWORD GetLayout(HDC dc);
    // Does nothing when SetLayout is missing.
    void SetLayout(HDC dc, DWORD layout);
    // FALSE for no context.
    BOOL IsContextRTL(CDC* dc);
    void SetContextRTL(CDC* dc, DWORD layout);
};

// The process-wide functions on GDI32, looked up on first use.
COSMLayoutFunctions& GetLayoutFunctions();

DWORD GetDCLayout(HDC dc);
void SetDCLayout(HDC dc, DWORD layout);
BOOL IsContextRTL(CDC* dc);
void SetContextRTL(CDC* dc, DWORD layout);

// In an existing window laid out right to left, VK_LEFT and VK_RIGHT are swapped; other keys stay.
void KeyToLayout(HWND window, UINT& key);
