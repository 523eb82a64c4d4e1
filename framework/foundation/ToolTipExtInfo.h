// COSMToolTipExtInfo: what a tool's hit test adds to a tooltip beyond its text. During one hit test the lParam of
// an extended TOOLINFO (cbSize TTTOOLINFOA_V2_SIZE) points to one of these; the hit test fills it through
// COSMToolTipContext::FillToolInfoEx, and whoever asked frees its texts with FreeTexts afterwards.
#pragma once

#include "classlib/ClassLibBase.h"

class COSMImageManager;

struct COSMToolTipExtInfo
{
    char* pszDescription = nullptr;  // heap copy (malloc), or null
    char* pszTitle = nullptr;        // heap copy (malloc), or null
    COSMImageManager* pImageManager = nullptr;
    // Client coordinates of the tool's window; empty: the tip goes under the cursor, else below this rectangle.
    RECT rcPlacement = {0, 0, 0, 0};
    DWORD dwReserved = 0;

    // Frees both texts and clears their pointers.
    void FreeTexts();
};
