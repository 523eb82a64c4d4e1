// What the Office 2007 look's tests share: the synthetic module beside the test program under the process's image
// manager (its theme text "THEME_KEYS" gives every key a colour of its own; its images have one flat colour per state),
// and a look made over it.
#pragma once

#include "classlib/ClassLib.h"
#include "framework/themes/Office2007Images.h"
#include "framework/themes/Office2007Theme.h"
#include "tests/support/DcTestSurface.h"

#include <gtest/gtest.h>

#include <memory>

namespace office2007_theme_test {

using foundation_test::DcTestSurface;

const char kThemeModule[] = "osm_office2007_test_theme.dll";
const COLORREF kNoColor = static_cast<COLORREF>(-1);
// The canvas colour drawing tests start from; no fixture colour is grey.
const COLORREF kCanvas = RGB(128, 128, 128);

class Office2007ThemeTest : public ::testing::Test
{
protected:
    // The look reads the synthetic module; else the test program's own resources, which hold no text or image.
    virtual bool UseFixtureModule() const { return true; }

    void SetUp() override
    {
        m_module = ::LoadLibraryA(kThemeModule);
        ASSERT_NE(m_module, nullptr) << kThemeModule << " beside the test program";
        images = COSMOffice2007Images::Instance();
        if (UseFixtureModule())
            ASSERT_TRUE(images->SetResourceModule(m_module, "THEME_KEYS"));
        else
            ASSERT_FALSE(images->SetResourceModule(nullptr));
        theme = std::make_unique<COSMOffice2007Theme>();
        theme->RefreshMetrics();
    }
    void TearDown() override
    {
        theme.reset();
        images->ClearCache();
        images->SetResourceModule(nullptr);
        if (m_module)
            ::FreeLibrary(m_module);
    }

    // The colour state nState of nCount of the named image has (its centre pixel, drawn one to one).
    COLORREF StateColor(const char* name, int nState, int nCount)
    {
        COSMOffice2007Image* image = images->LoadImage(name);
        if (!image)
            return kNoColor;
        const CRect source = image->GetStateRect(nState, nCount);
        DcTestSurface surface(source.Width(), source.Height(), kCanvas);
        image->DrawImagePart(surface.dc(), CRect(0, 0, source.Width(), source.Height()), source);
        return surface.Pixel(source.Width() / 2, source.Height() / 2);
    }

    HMODULE m_module = nullptr;
    COSMOffice2007Images* images = nullptr;
    std::unique_ptr<COSMOffice2007Theme> theme;
};

// The same look without a theme text or images.
class Office2007ThemeWithoutTextTest : public Office2007ThemeTest
{
protected:
    bool UseFixtureModule() const override { return false; }
};

}  // namespace office2007_theme_test
