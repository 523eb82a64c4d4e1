// How the markup scroll bars, buttons, check boxes and radio buttons put their parts on screen: through the visual
// style when it is on, else through the classic frame controls. Both paths go through one replaceable table so that
// tests can record which parts and states were asked for.
//
//   COSMVisualStyleWrapper style;
//   style.OpenThemeData(nullptr, L"BUTTON");
//   if (IsMarkupVisualStyleOn(style))
//       GetMarkupPartDrawing().DrawThemeBackground(style, dc, BP_PUSHBUTTON, PBS_HOT, &rc);
//   else
//       GetMarkupPartDrawing().DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH);
#pragma once

#include <windows.h>

class COSMVisualStyleWrapper;

struct COSMMarkupPartDrawing
{
    HRESULT (*DrawThemeBackground)(COSMVisualStyleWrapper& style, HDC dc, int part, int state, const RECT* rect);
    BOOL (*DrawFrameControl)(HDC dc, RECT* rect, UINT type, UINT state);
    // Whether parts draw through the visual style: the wrapper holds an open handle and the application is themed.
    // Tests replace it to draw classic where the system is themed.
    BOOL (*IsVisualStyleOn)(COSMVisualStyleWrapper& style);
};

// The table in use: the wrapper's DrawThemeBackground and the system's DrawFrameControl unless replaced.
const COSMMarkupPartDrawing& GetMarkupPartDrawing();
// Replaces the table (any null entry takes the default) and returns the previous one, for tests to put back.
COSMMarkupPartDrawing SetMarkupPartDrawing(const COSMMarkupPartDrawing& drawing);
// Visual styles are on for a wrapper that holds an open handle while the application is themed; a failed open
// draws classic. Asks the table's IsVisualStyleOn.
BOOL IsMarkupVisualStyleOn(COSMVisualStyleWrapper& style);
