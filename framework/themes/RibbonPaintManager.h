// Stand-in: the themes subsystem replaces this file with its own COSMRibbonPaintManager under the same name.
#pragma once

#include "framework/commandbars/PartPaintManager.h"

// The ribbon's painter: reference counted, made by the paint manager on first request (registered by
// ThemesLibrary.cpp).
class COSMRibbonPaintManager : public COSMSharedPartPaintManager
{
public:
    explicit COSMRibbonPaintManager(COSMPaintManager* owner) : COSMSharedPartPaintManager(owner) { ++s_live; }
    ~COSMRibbonPaintManager() override { --s_live; }

    void RefreshMetrics() override { ++m_refreshCount; }

    int GetRefreshCount() const { return m_refreshCount; }
    static int GetLiveCount() { return s_live; }

private:
    int m_refreshCount = 0;
    static inline int s_live = 0;
};
