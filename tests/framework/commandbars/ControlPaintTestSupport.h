// What the control-layout tests share: a refreshed test paint manager whose fonts draw without smoothing (so a
// reference DrawText on a twin canvas gives the same pixels), a bar with its own image manager, 16-pixel icons for
// command ids, text extents measured the way the paint manager measures them, and reading the call log.
#pragma once

#include "tests/support/DcTestSurface.h"
#include "PaintManagerTestSupport.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/foundation/ImageManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace foundation_test {

inline LOGFONTA UnsmoothedLogFont(LONG height, LONG escapement = 0, LONG weight = FW_NORMAL)
{
    LOGFONTA logFont{};
    logFont.lfHeight = height;
    logFont.lfEscapement = escapement;
    logFont.lfOrientation = escapement;
    logFont.lfWeight = weight;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpynA(logFont.lfFaceName, "Tahoma", LF_FACESIZE);
    return logFont;
}

// GetTextExtentPoint32 of the text in the font.
inline CSize TextExtent(CFont& font, const CString& text)
{
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(screen, font.GetSafeHandle());
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(screen, text, text.GetLength(), &size);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    return CSize(size);
}

// The pixels of a column range, row by row.
inline std::vector<COLORREF> Columns(const DcTestSurface& surface, int left, int right)
{
    std::vector<COLORREF> pixels;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = left; x < right; ++x)
            pixels.push_back(surface.Pixel(x, y));
    return pixels;
}

// A canvas prepared as the bars prepare theirs: transparent text background, a text colour, a font.
inline CDC* PrepareCanvas(DcTestSurface& surface, CFont* font, COLORREF textColor)
{
    CDC* dc = CDC::FromHandle(surface.GetDC());
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(textColor);
    if (font)
        dc->SelectObject(font);
    return dc;
}

class ControlPaintTest : public PaintManagerTest
{
protected:
    void SetUp() override
    {
        PaintManagerTest::SetUp();
        pm.RefreshMetrics();
        // Fonts of the test's own, kept across refreshes: pixels compare exactly with a reference drawing.
        LOGFONTA logFont = UnsmoothedLogFont(-13);
        pm.CreateFontsFromLogFont(&logFont, FALSE);
        images = new COSMImageManager;
        bar.SetImageManager(images);
        bar.SetPosition(0);
    }
    void TearDown() override
    {
        bar.SetImageManager(nullptr);
        images->InternalRelease();
        PaintManagerTest::TearDown();
    }

    // A 16 x 16 icon for the command id in the bar's image manager.
    void AddIcon(UINT id) { ASSERT_TRUE(images->SetIcon(::LoadIcon(nullptr, IDI_APPLICATION), id, 16, 16)); }

    // The log entries that start with the name.
    std::vector<std::string> CallsNamed(const std::string& name) const
    {
        std::vector<std::string> calls;
        for (const std::string& call : pm.GetCalls())
            if (call.compare(0, name.size(), name) == 0)
                calls.push_back(call);
        return calls;
    }

    MetricsPaintManager pm;
    COSMCommandBar bar;
    COSMImageManager* images = nullptr;
};

}  // namespace foundation_test
