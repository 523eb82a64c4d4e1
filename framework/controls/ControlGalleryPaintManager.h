// COSMControlGalleryPaintManager: the painter of gallery controls (backgrounds, group labels and the scroll column of
// galleries that own a popup bar). It belongs to a paint manager, which makes it in its constructor, refreshes it from
// its own RefreshMetrics and deletes it in its destructor; themes put subclasses of their own in its place
// (COSMPaintManager::SetPartPaintManagers).
//
// In this form it holds its owner only: it draws nothing yet and its refresh changes nothing.
#pragma once

#include "framework/commandbars/PartPaintManager.h"

class COSMControlGalleryPaintManager : public COSMPartPaintManager
{
public:
    explicit COSMControlGalleryPaintManager(COSMPaintManager* pOwner);
    ~COSMControlGalleryPaintManager() override;

    void RefreshMetrics() override;
};
