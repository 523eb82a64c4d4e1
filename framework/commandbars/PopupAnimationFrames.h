// COSMPopupAnimationFrames: the two pictures a popup's animation works with, the size of the popup's window: what the
// screen showed there when the frames were made (the animation's starting look) and an empty picture for the popup to
// draw itself into. Both stay selected into their DCs while the frames live.
#pragma once

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/Geometry.h"

class COSMPopupAnimationFrames
{
public:
    // screenRect: where the popup shows, in screen coordinates.
    explicit COSMPopupAnimationFrames(const CRect& screenRect);
    ~COSMPopupAnimationFrames();
    COSMPopupAnimationFrames(const COSMPopupAnimationFrames&) = delete;
    COSMPopupAnimationFrames& operator=(const COSMPopupAnimationFrames&) = delete;

    CDC& GetScreenCopy() { return m_screenCopy; }
    CDC& GetImage() { return m_image; }
    // The frames' own rectangle: (0, 0) and the popup's size.
    CRect GetLocalRect() const { return m_local; }

private:
    CRect m_local;
    CDC m_screenCopy;
    CDC m_image;
    CBitmap m_screenBits;
    CBitmap m_imageBits;
    CBitmap* m_oldScreen = nullptr;
    CBitmap* m_oldImage = nullptr;
};
