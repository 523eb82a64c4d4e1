// Stand-in: the controls subsystem replaces this file with its own gallery, slider and progress painters under
// the same names.
#pragma once

#include "classlib/ClassLib.h"

class COSMPaintManager;

// What the three part painters share in this form: an owner, a count of the live ones and of their refreshes.
class COSMPartPaintManagerBase
{
public:
    explicit COSMPartPaintManagerBase(COSMPaintManager* owner) : m_owner(owner) { ++s_live; }
    virtual ~COSMPartPaintManagerBase() { --s_live; }
    COSMPartPaintManagerBase(const COSMPartPaintManagerBase&) = delete;
    COSMPartPaintManagerBase& operator=(const COSMPartPaintManagerBase&) = delete;

    virtual void Unused() {}
    // The third virtual operation: the owner's refresh calls it.
    virtual void RefreshMetrics() { ++m_refreshCount; }

    COSMPaintManager* GetOwner() const { return m_owner; }
    int GetRefreshCount() const { return m_refreshCount; }
    static int GetLiveCount() { return s_live; }

private:
    COSMPaintManager* m_owner;
    int m_refreshCount = 0;
    static inline int s_live = 0;
};

class COSMControlGalleryPaintManager : public COSMPartPaintManagerBase
{
public:
    using COSMPartPaintManagerBase::COSMPartPaintManagerBase;
};

class COSMSliderPaintManager : public COSMPartPaintManagerBase
{
public:
    using COSMPartPaintManagerBase::COSMPartPaintManagerBase;
};

class COSMProgressPaintManager : public COSMPartPaintManagerBase
{
public:
    using COSMPartPaintManagerBase::COSMPartPaintManagerBase;
};
