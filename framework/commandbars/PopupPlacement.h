// Where a popup bar opens and how it is animated, as pure functions of what the popup knows: the members of
// COSMPopupBar call them with the monitor's work and monitor areas and the system's menu settings, tests with their
// own.
//
//   PopupPlacementInput in;               // point, size, direction flags, excluded rectangle, W and S ...
//   PopupPlacement out = CalculatePopupPlacement(in);
//   window.SetWindowPos(..., out.rect ...); flags = out.flags; scrolling = out.scrolling;
#pragma once

#include "classlib/Geometry.h"

// Direction flags of a popup bar.
enum PopupDirection : DWORD
{
    kPopupLeftwards = 1,  // open to the left of the point or rectangle
    kPopupBelow = 2,      // a drop-down (clear: open to the side)
    kPopupUpwards = 4,    // a point popup opens upwards
};

struct PopupPlacementInput
{
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD flags = 0;
    CRect exclude;      // screen; empty for a popup at a point
    CRect workArea;     // W, of the monitor of the excluded rectangle (else of the point)
    CRect monitorArea;  // S, the same monitor's whole area
    BOOL multiColumn = FALSE;
    // The opening control's rectangle as a side popup would avoid it (screen): a multi-column drop-down that fits
    // neither above nor below turns sideways against it.
    CRect sideExclude;
    int type = 2;
    int position = 5;
};

struct PopupPlacement
{
    CRect rect;              // screen
    DWORD flags = 0;         // the direction flags as the placement left them
    BOOL scrolling = FALSE;  // the popup scrolls (only a Type 2 popup at Position 5 does)
    CRect exclude;           // the excluded rectangle as the placement left it
};

// The bottom 5 pixels of the work area are never covered; a point inside the taskbar area uses the monitor.
PopupPlacement CalculatePopupPlacement(const PopupPlacementInput& in);

// Animation kinds of popups (those of the paint manager's Animate).
enum PopupAnimationKind
{
    kPopupAnimationUnfold = 2,
    kPopupAnimationSlide = 3,
    kPopupAnimationFade = 4,
    kPopupAnimationNone = 5,
};

// What the system answers about menu animation: SPI_GETMENUANIMATION and SPI_GETMENUFADE (fadeKnown FALSE when that
// call fails).
struct SystemMenuAnimation
{
    BOOL animation = FALSE;
    BOOL fadeKnown = FALSE;
    BOOL fade = FALSE;
};

// The system's current answers.
SystemMenuAnimation QuerySystemMenuAnimation();

// The kind a popup plays for the options' "Animation" value: 0 follows the system, 1 picks at random (random() % 3),
// any other value is the kind itself. No manager, or a child window inside the popup, plays none.
int ChoosePopupAnimation(int option, BOOL hasManager, BOOL hasChildWindow, const SystemMenuAnimation& system,
                         int (*random)() = nullptr);
