// COSMSliderPaintManager: the painter of slider controls (a horizontal track with tick marks, round minus and plus
// buttons and a pointer thumb). It belongs to a paint manager, which makes it in its constructor, refreshes it from its
// own RefreshMetrics and deletes it in its destructor; themes put subclasses of their own in its place
// (COSMPaintManager::SetPartPaintManagers).
//
// In this form it holds its owner only: it draws nothing yet and its refresh changes nothing.
#pragma once

#include "classlib/ClassLib.h"

class COSMPaintManager;

class COSMSliderPaintManager
{
public:
    explicit COSMSliderPaintManager(COSMPaintManager* pOwner);
    virtual ~COSMSliderPaintManager();
    COSMSliderPaintManager(const COSMSliderPaintManager&) = delete;
    COSMSliderPaintManager& operator=(const COSMSliderPaintManager&) = delete;

    // Override this: re-reads the metrics and visual-style data after a change of look or of system settings.
    virtual void RefreshMetrics();

    COSMPaintManager* GetOwner() const { return m_pOwner; }

protected:
    COSMPaintManager* m_pOwner;
};
