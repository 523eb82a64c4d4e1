// Stand-in: the themes subsystem replaces this file with its own COSMFramePaintManager under the same name.
#pragma once

#include "classlib/Geometry.h"
#include "framework/commandbars/PartPaintManager.h"

// The painter of frame windows, made by the paint manager on first request (registered by ThemesLibrary.cpp).
class COSMFramePaintManager : public COSMPartPaintManager
{
public:
    explicit COSMFramePaintManager(COSMPaintManager* owner) : COSMPartPaintManager(owner) { ++s_live; }
    ~COSMFramePaintManager() override { --s_live; }

    void RefreshMetrics() override { ++m_refreshCount; }

    // The window region of a frame of that size (the caller owns it); null for a frame without area. For now the
    // whole window: the rounded corners come with the frame's own drawing.
    virtual HRGN CalcFrameRegion(CSize size) const
    {
        return size.cx > 0 && size.cy > 0 ? ::CreateRectRgn(0, 0, size.cx, size.cy) : nullptr;
    }

    int GetRefreshCount() const { return m_refreshCount; }
    static int GetLiveCount() { return s_live; }

private:
    int m_refreshCount = 0;
    static inline int s_live = 0;
};
