// COSMControlBitmap: a label that shows the image its command id has in the bar's image manager, at its natural
// size (the image asked at width 1 gives the smallest the manager holds), top-left in the control. Without an
// image it takes no room.
#pragma once

#include "classlib/Object.h"
#include "framework/controls/ControlLabel.h"

class COSMImageManagerIcon;

class COSMControlBitmap : public COSMControlLabel
{
    DECLARE_SERIAL(COSMControlBitmap)

public:
    COSMControlBitmap();

    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    COSMControl* Clone(BOOL recursive) const override;

private:
    COSMImageManagerIcon* GetBitmapImage() const;
};
