// COSMSliderPaintManager: the painter of slider controls (a horizontal track with tick marks, round minus and plus
// buttons and a pointer thumb). It belongs to a paint manager, which makes it in its constructor, refreshes it from its
// own RefreshMetrics and deletes it in its destructor; themes put subclasses of their own in its place
// (COSMPaintManager::SetPartPaintManagers).
//
// In this form it holds its owner only: it draws nothing yet and its refresh changes nothing.
#pragma once

#include "framework/commandbars/PartPaintManager.h"

class COSMSliderPaintManager : public COSMPartPaintManager
{
public:
    explicit COSMSliderPaintManager(COSMPaintManager* pOwner);
    ~COSMSliderPaintManager() override;

    void RefreshMetrics() override;
};
