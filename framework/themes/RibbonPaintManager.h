// Stand-in: the themes subsystem replaces this file with its own COSMRibbonPaintManager under the same name.
#pragma once

#include "classlib/ClassLib.h"

class COSMPaintManager;

// The ribbon's painter: reference counted, made by the paint manager on first request.
class COSMRibbonPaintManager : public CCmdTarget
{
public:
    explicit COSMRibbonPaintManager(COSMPaintManager* owner) : m_owner(owner) { ++s_live; }
    ~COSMRibbonPaintManager() override { --s_live; }

    virtual void RefreshMetrics() { ++m_refreshCount; }

    COSMPaintManager* GetOwner() const { return m_owner; }
    int GetRefreshCount() const { return m_refreshCount; }
    static int GetLiveCount() { return s_live; }

private:
    COSMPaintManager* m_owner;
    int m_refreshCount = 0;
    static inline int s_live = 0;
};
