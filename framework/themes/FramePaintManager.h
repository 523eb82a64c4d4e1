// Stand-in: the themes subsystem replaces this file with its own COSMFramePaintManager under the same name.
#pragma once

#include "classlib/ClassLib.h"

class COSMPaintManager;

// The painter of frame windows, made by the paint manager on first request.
class COSMFramePaintManager
{
public:
    explicit COSMFramePaintManager(COSMPaintManager* owner) : m_owner(owner) { ++s_live; }
    virtual ~COSMFramePaintManager() { --s_live; }
    COSMFramePaintManager(const COSMFramePaintManager&) = delete;
    COSMFramePaintManager& operator=(const COSMFramePaintManager&) = delete;

    virtual void RefreshMetrics() { ++m_refreshCount; }

    COSMPaintManager* GetOwner() const { return m_owner; }
    int GetRefreshCount() const { return m_refreshCount; }
    static int GetLiveCount() { return s_live; }

private:
    COSMPaintManager* m_owner;
    int m_refreshCount = 0;
    static inline int s_live = 0;
};
