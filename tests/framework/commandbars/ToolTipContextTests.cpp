// The tooltip context: tool records filled for hit tests (and taken by a real tooltip window), the style number and
// style word, and the tooltip window it owns.
#include <gtest/gtest.h>

#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "classlib/ToolTipCtrl.h"
#include "classlib/Wnd.h"
#include "framework/foundation/ToolTipContext.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/OSVersionInfo.h"
#include "platform/classlib/RefPtr.h"

#include <commctrl.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const UINT kToolInfoSize = TTTOOLINFOA_V1_SIZE;
const UINT kExtendedToolInfoSize = TTTOOLINFOA_V2_SIZE;

// A tool id that uses every bit of a pointer, as a markup element's address does on 64-bit builds.
constexpr UINT_PTR kWideId = ~static_cast<UINT_PTR>(0) - 0x1234;

const CRect kToolRect(3, 4, 50, 24);

HWND MakeOwner()
{
    return ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, ::GetModuleHandleA(nullptr),
                             nullptr);
}

// A window standing in for the tooltip window: it logs the messages it receives.
std::vector<UINT> g_toolTipMessages;

LRESULT CALLBACK LoggingToolTipProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TTM_ACTIVATE)
        g_toolTipMessages.push_back(wParam ? 1 : 0);
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

CWnd* MakeLoggingToolTip()
{
    static const ATOM registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &LoggingToolTipProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "OsmToolTipStandIn";
        return ::RegisterClassA(&windowClass);
    }();
    EXPECT_NE(0, registered);
    auto* toolTip = new CWnd;
    toolTip->Attach(::CreateWindowExA(0, "OsmToolTipStandIn", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      ::GetModuleHandleA(nullptr), nullptr));
    EXPECT_NE(nullptr, toolTip->GetSafeHwnd());
    return toolTip;
}

// Gives the context a tooltip window, as its filter will.
class OwningContext : public COSMToolTipContext
{
public:
    void AdoptToolTip(CWnd* toolTip) { m_pToolTip.reset(toolTip); }
    CWnd* GetToolTip() const { return m_pToolTip.get(); }
};

}  // namespace

TEST(ToolTipContext, FillToolInfoFillsRecordsOfTheFirstSizeAndUp)
{
    const UINT sizes[] = {0, kToolInfoSize - 1, kToolInfoSize, kExtendedToolInfoSize, sizeof(TOOLINFOA)};
    const CString tip = "Open a file";
    for (UINT size : sizes)
    {
        TOOLINFOA info{};
        info.cbSize = size;
        COSMToolTipContext::FillToolInfo(&info, reinterpret_cast<HWND>(0x1230), kToolRect, kWideId, tip);
        if (size < kToolInfoSize)
        {
            EXPECT_EQ(nullptr, info.hwnd) << size;
            EXPECT_EQ(CRect(), CRect(info.rect)) << size;
            EXPECT_EQ(0u, info.uId) << size;
            EXPECT_EQ(nullptr, info.lpszText) << size;
            continue;
        }
        EXPECT_EQ(reinterpret_cast<HWND>(0x1230), info.hwnd) << size;
        EXPECT_EQ(kToolRect, CRect(info.rect)) << size;
        EXPECT_EQ(kWideId, info.uId) << size;
        ASSERT_NE(nullptr, info.lpszText) << size;
        // A copy of its own, freed by whoever asked.
        EXPECT_NE(static_cast<LPCSTR>(tip), info.lpszText);
        EXPECT_STREQ("Open a file", info.lpszText);
        COSMToolTipContext::FreeToolInfoText(&info);
        EXPECT_EQ(nullptr, info.lpszText);
    }
    COSMToolTipContext::FillToolInfo(nullptr, nullptr, kToolRect, 1, tip);
}

TEST(ToolTipContext, FreeToolInfoTextLeavesCallbacksAndResourceTexts)
{
    TOOLINFOA callback{};
    callback.lpszText = LPSTR_TEXTCALLBACKA;
    COSMToolTipContext::FreeToolInfoText(&callback);
    EXPECT_EQ(LPSTR_TEXTCALLBACKA, callback.lpszText);

    TOOLINFOA resource{};
    resource.hinst = ::GetModuleHandleA(nullptr);
    resource.lpszText = MAKEINTRESOURCEA(101);
    COSMToolTipContext::FreeToolInfoText(&resource);
    EXPECT_EQ(MAKEINTRESOURCEA(101), resource.lpszText);
}

TEST(ToolTipContext, FillToolInfoExAddsTitleDescriptionAndImagesToTheExtendedRecord)
{
    COSMImageManager* images = GetImageManager();
    struct Case
    {
        UINT size;
        bool withExtInfo;
        const char* title;
        const char* description;
        bool texts;
        bool imageManager;
    } cases[] = {
        {kExtendedToolInfoSize, true, "Open", "Opens a file", true, true},
        {kExtendedToolInfoSize, true, "", "Opens a file", false, true},
        {kExtendedToolInfoSize, true, "Open", "", false, true},
        {kExtendedToolInfoSize, false, "Open", "Opens a file", false, false},
        // Only the extended record of exactly the second size carries the extension.
        {kToolInfoSize, true, "Open", "Opens a file", false, false},
        {sizeof(TOOLINFOA), true, "Open", "Opens a file", false, false},
    };
    for (const Case& c : cases)
    {
        const std::string label = std::to_string(c.size) + " " + c.title + "/" + c.description;
        COSMToolTipExtInfo extInfo;
        TOOLINFOA info{};
        info.cbSize = c.size;
        if (c.withExtInfo)
            info.lParam = reinterpret_cast<LPARAM>(&extInfo);
        COSMToolTipContext::FillToolInfoEx(&info, reinterpret_cast<HWND>(0x40), kToolRect, kWideId, "Open", c.title,
                                           c.description, images);
        EXPECT_STREQ("Open", info.lpszText) << label;
        EXPECT_EQ(kWideId, info.uId) << label;
        if (c.texts)
        {
            ASSERT_NE(nullptr, extInfo.pszTitle) << label;
            ASSERT_NE(nullptr, extInfo.pszDescription) << label;
            EXPECT_STREQ(c.title, extInfo.pszTitle) << label;
            EXPECT_STREQ(c.description, extInfo.pszDescription) << label;
        }
        else
        {
            EXPECT_EQ(nullptr, extInfo.pszTitle) << label;
            EXPECT_EQ(nullptr, extInfo.pszDescription) << label;
        }
        EXPECT_EQ(c.imageManager ? images : nullptr, extInfo.pImageManager) << label;
        EXPECT_EQ(CRect(), CRect(extInfo.rcPlacement)) << label;
        extInfo.FreeTexts();
        EXPECT_EQ(nullptr, extInfo.pszTitle);
        COSMToolTipContext::FreeToolInfoText(&info);
    }
    COSMToolTipContext::FillToolInfoEx(nullptr, nullptr, kToolRect, 1, "a", "b", "c", images);
}

// The records the context fills are the ones the system's tooltip window takes, on 32-bit and 64-bit builds alike.
TEST(ToolTipContext, AFilledRecordRegistersWithACommonControlsTooltip)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&controls));
    HWND owner = MakeOwner();
    HWND toolTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX, 0, 0, 0, 0, owner, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(owner && toolTip);
    for (UINT size : {kToolInfoSize, kExtendedToolInfoSize})
    {
        TOOLINFOA info{};
        info.cbSize = size;
        COSMToolTipContext::FillToolInfo(&info, owner, kToolRect, kWideId, "Save all");
        ASSERT_TRUE(::SendMessageA(toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info))) << size;
        COSMToolTipContext::FreeToolInfoText(&info);
        EXPECT_EQ(1, ::SendMessageA(toolTip, TTM_GETTOOLCOUNT, 0, 0)) << size;

        char text[80] = {};
        TOOLINFOA query{};
        query.cbSize = size;
        query.hwnd = owner;
        query.uId = kWideId;
        query.lpszText = text;
        ::SendMessageA(toolTip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&query));
        EXPECT_STREQ("Save all", text) << size;
        query.lpszText = nullptr;
        ASSERT_TRUE(::SendMessageA(toolTip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&query))) << size;
        EXPECT_EQ(kToolRect, CRect(query.rect)) << size;
        ::SendMessageA(toolTip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&query));
        EXPECT_EQ(0, ::SendMessageA(toolTip, TTM_GETTOOLCOUNT, 0, 0)) << size;
    }
    ::DestroyWindow(toolTip);
    ::DestroyWindow(owner);
}

TEST(ToolTipContext, StartsWithStyleZeroAndTheNoPrefixWord)
{
    COSMToolTipContext context;
    EXPECT_EQ(0, context.GetStyle());
    EXPECT_EQ(static_cast<DWORD>(TTS_NOPREFIX), context.GetToolTipStyle());
    EXPECT_EQ(COSMOSVersionInfo::GetComCtlVersion(), context.GetComCtlVersion());
    // Style 0 makes the common-controls tooltip.
    std::unique_ptr<CWnd> made(context.CreateToolTip(nullptr));
    EXPECT_NE(nullptr, dynamic_cast<CToolTipCtrl*>(made.get()));
    TOOLINFOA info{};
    info.cbSize = kToolInfoSize;
    EXPECT_EQ(-1, context.OnToolHitTest(nullptr, CPoint(1, 1), &info));
    EXPECT_EQ(nullptr, info.lpszText);
    // Nothing to show, move or hide yet.
    context.FilterToolTipMessage(nullptr, WM_MOUSEMOVE, 0, 0);
    MSG msg{};
    context.RelayToolTipMessage(nullptr, &msg);
    context.DeactivateToolTip();
}

TEST(ToolTipContext, ModifyToolTipStyleRemovesThenAdds)
{
    COSMToolTipContext context;
    struct Step
    {
        DWORD remove, add, expected;
    } steps[] = {
        {TTS_NOPREFIX, 0, 0},                                    // what the command-bars manager does first
        {0, 0x1000, 0x1000},      {0x1000, 0x1000 | 3, 0x1003},  // the same bit removed and added stays
        {0x0003, 0x4000, 0x5000}, {~0u, 0, 0},
    };
    for (const Step& s : steps)
    {
        context.ModifyToolTipStyle(s.remove, s.add);
        EXPECT_EQ(s.expected, context.GetToolTipStyle()) << s.remove << " " << s.add;
    }
}

TEST(ToolTipContext, SetStyleFollowsWithTheStyleWordAndRefusesBalloonsToOldCommonControls)
{
    struct Case
    {
        DWORD comCtlVersion;
        std::vector<int> styles;
        int style;
        DWORD word;
    } cases[] = {
        {0x60000, {2}, 2, 0x3002},    {0x60000, {5}, 5, 0x4002}, {0x60000, {2, 5}, 5, 0x4002},
        {0x60000, {5, 0}, 0, 0x0002}, {0x60000, {3}, 3, 0x0002}, {0x60000, {1}, 1, 0x0002},
        {0x50050, {1}, 1, 0x0002},    {0x5004F, {1}, 0, 0x0002}, {0x40046, {2, 1}, 2, 0x3002},
    };
    for (const Case& c : cases)
    {
        COSMToolTipContext context;
        context.SetComCtlVersion(c.comCtlVersion);
        for (int style : c.styles)
            context.SetStyle(style);
        EXPECT_EQ(c.style, context.GetStyle()) << std::hex << c.comCtlVersion << " " << c.styles.back();
        EXPECT_EQ(c.word, context.GetToolTipStyle()) << std::hex << c.comCtlVersion << " " << c.styles.back();
    }

    for (DWORD version : {0x40000u, 0x5004Fu, 0x50050u, 0x60000u})
    {
        COSMToolTipContext context;
        context.SetComCtlVersion(version);
        EXPECT_EQ(version >= 0x50050u, context.IsBalloonStyleSupported() != FALSE) << std::hex << version;
    }
}

TEST(ToolTipContext, AChangedStyleDropsTheTooltipWindow)
{
    struct Case
    {
        const char* name;
        void (*change)(COSMToolTipContext&);
        bool dropped;
    } cases[] = {
        {"unchanged word", [](COSMToolTipContext& c) { c.ModifyToolTipStyle(0, TTS_NOPREFIX); }, false},
        {"changed word", [](COSMToolTipContext& c) { c.ModifyToolTipStyle(TTS_NOPREFIX, 0); }, true},
        {"same style", [](COSMToolTipContext& c) { c.SetStyle(0); }, false},
        {"other style", [](COSMToolTipContext& c) { c.SetStyle(3); }, true},
    };
    for (const Case& c : cases)
    {
        RefPtr<OwningContext> context = AdoptRef(new OwningContext);
        CWnd* toolTip = MakeLoggingToolTip();
        HWND toolTipWindow = toolTip->GetSafeHwnd();
        context->AdoptToolTip(toolTip);
        c.change(*context);
        EXPECT_EQ(!c.dropped, ::IsWindow(toolTipWindow) != FALSE) << c.name;
        EXPECT_EQ(c.dropped, context->GetToolTip() == nullptr) << c.name;
        // The last reference takes the window with it.
        context.Reset();
        EXPECT_FALSE(::IsWindow(toolTipWindow)) << c.name;
    }
}

TEST(ToolTipContext, DeactivateToolTipDeactivatesTheWindow)
{
    OwningContext context;
    context.AdoptToolTip(MakeLoggingToolTip());
    g_toolTipMessages.clear();
    context.DeactivateToolTip();
    EXPECT_EQ(std::vector<UINT>{0}, g_toolTipMessages);
}
