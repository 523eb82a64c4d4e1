// COSMControlProgress: a progress bar placed in a command bar. It shows the range and position of its
// COSMProgressBase and never runs a command; bars make it by its class name when stored bars load:
//
//   auto* progress = new COSMControlProgress;
//   bar->GetControls()->AddControl(progress, ID_PROGRESS, nullptr, -1, FALSE);
//   progress->SetRange(0, fileCount);
//   progress->SetPos(done);   // the bar redraws the control
//
// It is Width pixels wide (100 at first) and as high as Height, or the painter's bar height while Height is unset.
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/Control.h"
#include "framework/controls/ProgressBase.h"

class COSMControlProgress : public COSMControl, public COSMProgressBase
{
    DECLARE_SERIAL(COSMControlProgress)

public:
    COSMControlProgress();
    ~COSMControlProgress() override;

    // ---- The progress base ---------------------------------------------------------------------------------------
    // The control's rectangle.
    CRect GetProgressRect() const override { return GetRect(); }
    void RedrawProgress() override { RedrawParent(FALSE); }
    // The progress painter of the control's paint manager.
    COSMProgressPaintManager* GetProgressPaintManager() const override;

    // ---- The control ---------------------------------------------------------------------------------------------
    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    // The control's keys, then "Min", "Max" and "Pos". A loaded position is held to the loaded range, which stays
    // as it was stored.
    void DoPropExchange(COSMPropExchange* px) override;
    // The control's settings; from another progress control also its range and position.
    void Copy(const COSMControl* source, BOOL recursive) override;
    // Only a mouse click in customize mode does anything (it customizes the control).
    void OnClick(BOOL keyboard, CPoint point) override;
    COSMControl* Clone(BOOL recursive) const override;
};
