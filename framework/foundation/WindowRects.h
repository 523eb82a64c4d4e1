// Rectangles that fill themselves: empty, or a window's screen or client rectangle. A handle that is not a
// window (destroyed, never made, NULL) gives an empty rectangle, so painting code can take the rectangle of a
// window it is not sure of without checking first.
//
//   COSMClientRect rcClient(this);
//   dc.FillSolidRect(rcClient, GetSysColor(COLOR_BTNFACE));
#pragma once

#include "classlib/Geometry.h"

class COSMEmptyRect : public CRect
{
public:
    COSMEmptyRect() = default;  // CRect starts as (0, 0, 0, 0)
};

// The window's rectangle in screen coordinates.
class COSMWindowRect : public CRect
{
public:
    explicit COSMWindowRect(HWND hWnd);
    explicit COSMWindowRect(const CWnd* pWnd);
};

// The window's client rectangle: (0, 0, width, height) of its client area.
class COSMClientRect : public CRect
{
public:
    explicit COSMClientRect(HWND hWnd);
    explicit COSMClientRect(const CWnd* pWnd);
};
