// COSMProgressPaintManager: the painter of progress controls (the visual style's bar and chunks, or a sunken bar with a
// solid fill). It belongs to a paint manager, which makes it in its constructor, refreshes it from its own
// RefreshMetrics and deletes it in its destructor; themes put subclasses of their own in its place
// (COSMPaintManager::SetPartPaintManagers).
//
// In this form it holds its owner only: it draws nothing yet and its refresh changes nothing.
#pragma once

#include "framework/commandbars/PartPaintManager.h"

class COSMProgressPaintManager : public COSMPartPaintManager
{
public:
    explicit COSMProgressPaintManager(COSMPaintManager* pOwner);
    ~COSMProgressPaintManager() override;

    void RefreshMetrics() override;
};
