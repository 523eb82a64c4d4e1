// The theme stub loaded as the visual-style library of a function table, for test fixtures: a fixture derives from
// it beside its test base and calls SetUpThemeStub from SetUp, which checks the stub loaded and gives it a themed
// desktop's answers with nothing counted yet.
#pragma once

#include "ThemeStub.h"

#include "framework/foundation/VisualStyleWrapper.h"

#include <gtest/gtest.h>

#include <string>

class ThemeStubLibrary
{
protected:
    // followReloads as COSMVisualStyleFunctions takes it; the common controls are version 6.
    explicit ThemeStubLibrary(BOOL followReloads) : m_functions(m_path.c_str(), followReloads, MAKELONG(0, 6)) {}

    void SetUpThemeStub()
    {
        ASSERT_NE(nullptr, m_functions.GetModule()) << m_path;
        m_stub = ThemeStubStateOf(m_path);
        ASSERT_NE(nullptr, m_stub);
        ResetThemeStub(m_stub);
    }
    LONG Calls(CThemeStubState::Call call) const { return m_stub->calls[call]; }

    const std::string m_path = ThemeStubPath();
    COSMVisualStyleFunctions m_functions;
    CThemeStubState* m_stub = nullptr;
};
