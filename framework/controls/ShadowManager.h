// Stand-in: the controls subsystem replaces this file with its own COSMShadowManager under the same name.
#pragma once

#include "classlib/ClassLib.h"

// Drop shadows of popup windows. Reference counted: the paint manager makes one and releases it.
class COSMShadowManager : public CCmdTarget
{
public:
    COSMShadowManager() = default;

    void SetShadow(HWND window, const RECT& exclude, BOOL flag) {}
    void RemoveShadow(HWND window) {}
    void OffsetShadow(HWND window, int dx, int dy) {}

    // The paint manager's refresh drops what the manager cached of the system's settings.
    void ResetCachedState() { m_cachedState = FALSE; }
    BOOL GetCachedState() const { return m_cachedState; }
    void SetCachedState(BOOL state) { m_cachedState = state; }

private:
    BOOL m_cachedState = FALSE;
};
