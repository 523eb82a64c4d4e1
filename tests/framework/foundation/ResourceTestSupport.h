// Helpers of the resource-manager tests: the resource-only modules beside the test program, scopes that set the
// framework's resource module or the process manager's language and put them back, and reading icons back.
#pragma once

#include "tests/support/DcTestSurface.h"
#include "ResourceIds.h"
#include "framework/foundation/ResourceManager.h"

namespace foundation_test {

// A resource-only module loaded from beside the test program, freed at the end of the scope.
class TestModule
{
public:
    explicit TestModule(const char* name) : m_hModule(::LoadLibraryA(name)) {}
    ~TestModule()
    {
        if (m_hModule)
            ::FreeLibrary(m_hModule);
    }
    TestModule(const TestModule&) = delete;
    TestModule& operator=(const TestModule&) = delete;
    HINSTANCE Get() const { return m_hModule; }

private:
    HINSTANCE m_hModule;
};

inline const char* kEnglishModule = "osm_test_english.dll";
inline const char* kGermanModule = "osm_test_german.dll";

// The framework's resource module for a scope.
class FrameworkModuleScope
{
public:
    explicit FrameworkModuleScope(HINSTANCE hModule) : m_hSaved(COSMResourceManager::GetResourceHandle())
    {
        COSMResourceManager::SetResourceHandle(hModule);
    }
    ~FrameworkModuleScope() { COSMResourceManager::SetResourceHandle(m_hSaved); }
    FrameworkModuleScope(const FrameworkModuleScope&) = delete;
    FrameworkModuleScope& operator=(const FrameworkModuleScope&) = delete;

private:
    HINSTANCE m_hSaved;
};

// The process manager's language (and its charset switch, off by default) for a scope.
class ProcessLanguageScope
{
public:
    explicit ProcessLanguageScope(WORD wLanguage, BOOL bLanguageCharset = FALSE)
        : m_wSaved(GetResourceManager()->GetResourcesLangID())
    {
        GetResourceManager()->SetResourceLanguage(wLanguage);
        GetResourceManager()->EnableLanguageCharset(bLanguageCharset);
    }
    ~ProcessLanguageScope()
    {
        GetResourceManager()->SetResourceLanguage(m_wSaved);
        GetResourceManager()->EnableLanguageCharset(FALSE);
    }
    ProcessLanguageScope(const ProcessLanguageScope&) = delete;
    ProcessLanguageScope& operator=(const ProcessLanguageScope&) = delete;

private:
    WORD m_wSaved;
};

// The colour at the centre of an icon drawn on white, and its size.
struct IconLook
{
    COLORREF centre = CLR_INVALID;
    int width = 0;
    int height = 0;
};

inline IconLook LookAt(HICON hIcon)
{
    IconLook look;
    ICONINFO info{};
    if (!hIcon || !::GetIconInfo(hIcon, &info))
        return look;
    BITMAP bm{};
    ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    look.width = bm.bmWidth;
    look.height = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);

    DcTestSurface surface(64, 64);
    surface.Fill(RGB(255, 255, 255));
    ::DrawIconEx(surface.GetDC(), 0, 0, hIcon, look.width, look.height, 0, nullptr, DI_NORMAL);
    look.centre = surface.Pixel(look.width / 2, look.height / 2);
    return look;
}

// The colours the test images are drawn in (see make_images.py).
const COLORREF kProgramColour = RGB(200, 0, 0);
const COLORREF kModuleColour = RGB(0, 160, 0);

}  // namespace foundation_test
