// COSMControlGalleryPaintManager: the painter of gallery controls (backgrounds, group labels and the scroll column of
// galleries that own a popup bar). It belongs to a paint manager, which makes it in its constructor, refreshes it from
// its own RefreshMetrics and deletes it in its destructor; themes put subclasses of their own in its place
// (COSMPaintManager::SetPartPaintManagers).
//
// In this form it holds its owner only: it draws nothing yet and its refresh changes nothing.
#pragma once

#include "classlib/ClassLib.h"

class COSMPaintManager;

class COSMControlGalleryPaintManager
{
public:
    explicit COSMControlGalleryPaintManager(COSMPaintManager* pOwner);
    virtual ~COSMControlGalleryPaintManager();
    COSMControlGalleryPaintManager(const COSMControlGalleryPaintManager&) = delete;
    COSMControlGalleryPaintManager& operator=(const COSMControlGalleryPaintManager&) = delete;

    // Override this: re-reads the metrics and visual-style data after a change of look or of system settings.
    virtual void RefreshMetrics();

    COSMPaintManager* GetOwner() const { return m_pOwner; }

protected:
    COSMPaintManager* m_pOwner;
};
