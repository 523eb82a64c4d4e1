// What the resource layer's tests share: the synthetic module built beside the test program (images with a colour
// in every part, theme texts full of edge cases) and a manager of the test's own that reads it.
#pragma once

#include "classlib/ClassLib.h"
#include "classlib/RefPtr.h"
#include "framework/themes/Office2007Images.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace office2007_test {

const char kImagesModule[] = "osm_office2007_test_images.dll";
const char kIdTextModule[] = "osm_office2007_test_idtext.dll";
// A colour that is missing, or no colour at all.
const COLORREF kNone = static_cast<COLORREF>(-1);

// Hears what the manager could not find.
class CRecordingObserver : public COSMOffice2007Images::CObserver
{
public:
    void OnImageMissing(LPCSTR lpszName) override { images.push_back(lpszName); }
    void OnKeyMissing(LPCSTR lpszSection, LPCSTR lpszKey) override { keys.emplace_back(lpszSection, lpszKey); }

    std::vector<std::string> images;
    std::vector<std::pair<std::string, std::string>> keys;
};

// A fresh manager over the synthetic module's text "TEST_COLORS" (the module stays loaded for the test).
class Office2007ImagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_module = ::LoadLibraryA(kImagesModule);
        ASSERT_NE(m_module, nullptr) << kImagesModule << " beside the test program";
        m_images = RefPtr<COSMOffice2007Images>::Adopt(new COSMOffice2007Images);
        ASSERT_TRUE(m_images->SetResourceModule(m_module, "TEST_COLORS"));
    }
    void TearDown() override
    {
        m_images = nullptr;
        if (m_module)
            ::FreeLibrary(m_module);
    }

    HMODULE m_module = nullptr;
    RefPtr<COSMOffice2007Images> m_images;
};

}  // namespace office2007_test
