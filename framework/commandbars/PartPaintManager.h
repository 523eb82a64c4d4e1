// The painters a paint manager owns beside itself, one per part that a higher library draws: the gallery, slider and
// progress controls (framework/controls), frames and the ribbon (framework/themes). The paint manager knows them only
// through these bases and makes them through the creators those libraries register while the program starts
// (COSMPaintManager::RegisterPartPainter), so this library never includes theirs. A part whose library is not linked
// has no painter (null).
#pragma once

#include "classlib/CmdTarget.h"

class COSMPaintManager;

// A painter the paint manager owns alone and deletes with itself.
class COSMPartPaintManager
{
public:
    explicit COSMPartPaintManager(COSMPaintManager* pOwner) : m_pOwner(pOwner) {}
    virtual ~COSMPartPaintManager() = default;
    COSMPartPaintManager(const COSMPartPaintManager&) = delete;
    COSMPartPaintManager& operator=(const COSMPartPaintManager&) = delete;

    // Override this: re-reads the metrics and visual-style data after a change of look or of system settings.
    virtual void RefreshMetrics() {}

    COSMPaintManager* GetOwner() const { return m_pOwner; }

protected:
    COSMPaintManager* m_pOwner;
};

// A painter others hold references on too (the ribbon's bars): reference counted, released by the paint manager.
class COSMSharedPartPaintManager : public CCmdTarget
{
public:
    explicit COSMSharedPartPaintManager(COSMPaintManager* pOwner) : m_pOwner(pOwner) {}

    // Override this: re-reads the metrics and visual-style data after a change of look or of system settings.
    virtual void RefreshMetrics() {}

    COSMPaintManager* GetOwner() const { return m_pOwner; }

protected:
    COSMPaintManager* m_pOwner;
};
