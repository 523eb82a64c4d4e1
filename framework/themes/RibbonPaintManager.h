// Stand-in: the themes subsystem replaces this file with its own COSMRibbonPaintManager under the same name.
#pragma once

#include "classlib/DC.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/commandbars/PartPaintManager.h"

#include <algorithm>

// The ribbon's painter: reference counted, made by the paint manager on first request (registered by
// ThemesLibrary.cpp). For now it gives the ribbon its metrics, measured from the owner's regular font (the system's
// menu font without an owner) at every RefreshMetrics, and a font for the caption and the tabs; the ribbon's own
// pictures come later, and until then the bar fills itself with plain system colours.
class COSMRibbonPaintManager : public COSMSharedPartPaintManager
{
public:
    explicit COSMRibbonPaintManager(COSMPaintManager* owner) : COSMSharedPartPaintManager(owner) { ++s_live; }
    ~COSMRibbonPaintManager() override { --s_live; }

    void RefreshMetrics() override
    {
        ++m_refreshCount;
        LOGFONTA logFont{};
        CFont* ownerFont = m_pOwner ? &m_pOwner->GetRegularFont() : nullptr;
        if (!ownerFont || !ownerFont->GetSafeHandle() ||
            !::GetObjectA(ownerFont->GetSafeHandle(), sizeof logFont, &logFont))
            ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
        m_font.DeleteObject();
        m_font.CreateFontIndirect(&logFont);
        m_fontHeight = MeasureFontHeight(m_font);
        m_controlHeight = std::max(22, m_fontHeight + 8);
        m_tabsHeight = m_fontHeight + 10;
        m_captionHeight = std::max(m_fontHeight + 12, ::GetSystemMetrics(SM_CYCAPTION) + 4);
        m_groupCaptionHeight = m_fontHeight + 4;
    }

    // The height of the caption strip (without any frame border).
    int GetCaptionHeight() const { return m_captionHeight; }
    // The height of the tab row.
    int GetTabsHeight() const { return m_tabsHeight; }
    // The height of the caption line under a group.
    int GetGroupCaptionHeight() const { return m_groupCaptionHeight; }
    // The height of a control in a group or the quick-access row, at least 22.
    int GetControlHeight() const { return m_controlHeight; }
    // Whether the group under the mouse is drawn hot.
    BOOL IsHotTrackingGroups() const { return m_hotTrackingGroups; }
    // The font of the caption, the tabs and the context headers.
    CFont* GetFont() { return &m_font; }
    int GetFontHeight() const { return m_fontHeight; }

    int GetRefreshCount() const { return m_refreshCount; }
    static int GetLiveCount() { return s_live; }

private:
    static int MeasureFontHeight(CFont& font)
    {
        HDC dc = ::GetDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, font.GetSafeHandle());
        TEXTMETRICA tm{};
        ::GetTextMetricsA(dc, &tm);
        ::SelectObject(dc, old);
        ::ReleaseDC(nullptr, dc);
        return tm.tmHeight > 0 ? static_cast<int>(tm.tmHeight) : 13;
    }

    int m_refreshCount = 0;
    CFont m_font;
    int m_fontHeight = 13;
    int m_controlHeight = 22;
    int m_tabsHeight = 23;
    int m_captionHeight = 25;
    int m_groupCaptionHeight = 17;
    BOOL m_hotTrackingGroups = TRUE;
    static inline int s_live = 0;
};
