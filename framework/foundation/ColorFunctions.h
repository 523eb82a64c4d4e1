// Colour arithmetic the painters share: a blend by a fractional factor, and the packed hue-saturation-luminance
// form of a colour (hue 0..239, saturation and luminance 0..240, the ranges of the system's colour dialog).
//
//   COLORREF hover = BlendColors(highlight, window, 0.3);   // 30 % highlight
//   DWORD hsl = RGBtoHSL(face);                             // hue | saturation << 8 | luminance << 16
#pragma once

#include <windows.h>

// Each channel: first × factor + second × (1 − factor), truncated, kept within 0..255.
COLORREF BlendColors(COLORREF first, COLORREF second, double factor);

// Packs hue (low byte, 0..239), saturation (0..240) and luminance (0..240); any grey has hue 239.
DWORD RGBtoHSL(COLORREF color);
// The colour of a packed value; integer arithmetic, so a round trip may move a channel by a step or two.
COLORREF HSLtoRGB(DWORD hsl);

// 256 colours or fewer on the context (the screen when dc is null).
BOOL IsLowColorDC(HDC dc);
