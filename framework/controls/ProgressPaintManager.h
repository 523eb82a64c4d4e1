// COSMProgressPaintManager: the painter of progress controls (the visual style's bar and chunks, or a sunken bar with a
// solid fill). It belongs to a paint manager, which makes it in its constructor, refreshes it from its own
// RefreshMetrics and deletes it in its destructor; themes put subclasses of their own in its place
// (COSMPaintManager::SetPartPaintManagers).
//
// In this form it holds its owner only: it draws nothing yet and its refresh changes nothing.
#pragma once

#include "classlib/ClassLib.h"

class COSMPaintManager;

class COSMProgressPaintManager
{
public:
    explicit COSMProgressPaintManager(COSMPaintManager* pOwner);
    virtual ~COSMProgressPaintManager();
    COSMProgressPaintManager(const COSMProgressPaintManager&) = delete;
    COSMProgressPaintManager& operator=(const COSMProgressPaintManager&) = delete;

    // Override this: re-reads the metrics and visual-style data after a change of look or of system settings.
    virtual void RefreshMetrics();

    COSMPaintManager* GetOwner() const { return m_pOwner; }

protected:
    COSMPaintManager* m_pOwner;
};
