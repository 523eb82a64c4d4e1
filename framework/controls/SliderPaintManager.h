// COSMSliderPaintManager: the painter of slider controls: a horizontal track with tick marks, round minus and plus
// buttons at its ends and a pointer thumb of fixed length, on the scroll engine (COSMScrollBase) like a scroll bar.
// It belongs to a paint manager, which makes it in its constructor, refreshes it from its own RefreshMetrics and
// deletes it in its destructor; themes put subclasses of their own in its place
// (COSMPaintManager::SetPartPaintManagers). Its metrics make the engine lay a slider out: 16-pixel buttons and an
// 11-pixel thumb that never snaps back.
#pragma once

#include "framework/controls/ScrollBarPaintManager.h"

class COSMSliderPaintManager : public COSMScrollBarPaintManager
{
public:
    explicit COSMSliderPaintManager(COSMPaintManager* pOwner);
    COSMSliderPaintManager(COSMPaintManager* pOwner, COSMVisualStyleFunctions& styleFunctions);
    ~COSMSliderPaintManager() override;

    // Draws horizontal bars only.
    void DrawScrollBar(CDC* dc, COSMScrollBase* bar) override;
    void RefreshMetrics() override;

    // The buttons' length and the thumb's.
    static const int kButtonLength = 16;
    static const int kThumbLength = 11;
    // The ticks are laid over the track less this much at each end.
    static const int kTickInset = 6;

protected:
    // A tick mark whose shadow stroke stands at x, over the channel at channelY.
    static void DrawTick(CDC* dc, int x, int channelY);
};
