// Stand-in: the controls subsystem replaces this file with its full COSMControlGallery (items, scrolling, previews).
// COSMControlGallery is the grid of choices a bar shows (Type 10). A popup bar holding one asks it whether the user
// may resize it (bit 0 width, bit 1 height; 2 = height only) and how small it may become; the resize gripper then
// sets its Width and Height. Until the full control arrives it answers "not resizable" and measures (Width, Height):
//
//   class CResizableGallery : public COSMControlGallery   // what tests derive
//   {
//       BOOL IsCustomizeResizeAllowed() const override { return 3; }
//   };
#pragma once

#include "classlib/Geometry.h"
#include "classlib/Object.h"
#include "framework/commandbars/ControlPopup.h"

class COSMControlGallery : public COSMControlPopup
{
    DECLARE_SERIAL(COSMControlGallery)

public:
    static constexpr int kType = 10;

    // Type 10, 120 x 60, flags 64.
    COSMControlGallery();

    // The "Resizable" answer: 0 no, bit 0 width, bit 1 height.
    BOOL IsCustomizeResizeAllowed() const override { return 0; }
    // The smallest width and height the resize gripper leaves it, in pixels.
    int GetCustomizeMinWidth() const override { return 0; }
    int GetCustomizeMinHeight() const override { return 0; }
    // (Width, Height).
    CSize GetSize(CDC* dc) override { return CSize(GetWidth(), GetHeight()); }
    COSMControl* Clone(BOOL recursive) const override;
};
