// The tooltip context's filter on real windows: a site that answers hit tests from the test's table and a context
// whose tooltip window records every message it gets, then the factory's classes, the standard control's window
// under a point and a bar's hit test reached through the class library.
#include <gtest/gtest.h>

#include "classlib/Wnd.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/controls/ToolTipContextToolTip.h"
#include "framework/controls/ToolTipGradientToolTip.h"
#include "framework/controls/ToolTipHtmlToolTip.h"
#include "framework/controls/ToolTipMarkupToolTip.h"
#include "framework/controls/ToolTipRichTextToolTip.h"
#include "framework/foundation/FrameworkStatics.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ToolTipContext.h"
#include "framework/foundation/ToolTipStandardCtrl.h"
#include "platform/classlib/RefPtr.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// One message the recording tooltip window got, with copies of what its lParam pointed to.
struct TipMessage
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string text;  // TTM_ADDTOOLA, TTM_UPDATETIPTEXTA: the tool text; TTM_SETTITLEA: the title
    UINT uFlags = 0;
    CRect rect;
};

class RecordingToolTip : public COSMToolTipStandardCtrl
{
public:
    explicit RecordingToolTip(std::vector<TipMessage>* log) : m_log(log) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER || message == WM_SETFONT)
        {
            TipMessage entry{message, wParam, lParam};
            if ((message == TTM_ADDTOOLA || message == TTM_UPDATETIPTEXTA || message == TTM_DELTOOLA) && lParam)
            {
                const auto* info = reinterpret_cast<const TOOLINFOA*>(lParam);
                if (info->lpszText && !IS_INTRESOURCE(info->lpszText))
                    entry.text = info->lpszText;
                entry.uFlags = info->uFlags;
                entry.rect = info->rect;
            }
            if (message == TTM_SETTITLEA && lParam)
                entry.text = reinterpret_cast<LPCSTR>(lParam);
            m_log->push_back(entry);
        }
        return COSMToolTipStandardCtrl::WindowProc(message, wParam, lParam);
    }

private:
    std::vector<TipMessage>* m_log;
};

class RecordingContext : public COSMToolTipContext
{
public:
    CWnd* CreateToolTip(CWnd* owner) override
    {
        ++created;
        return new RecordingToolTip(&log);
    }
    std::vector<TipMessage> log;
    int created = 0;
    std::vector<UINT> Messages() const
    {
        std::vector<UINT> messages;
        for (const TipMessage& entry : log)
            messages.push_back(entry.message);
        return messages;
    }
    int Count(UINT message) const
    {
        int count = 0;
        for (const TipMessage& entry : log)
            count += entry.message == message;
        return count;
    }
    const TipMessage* Last(UINT message) const
    {
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->message == message)
                return &*it;
        return nullptr;
    }
};

// The tool the site answers with next: id -1 for none.
struct SiteAnswer
{
    INT_PTR id = -1;
    CRect rect;
    CString text;
    CString title;
    CString description;
    UINT uFlags = 0;
    COSMImageManager* images = nullptr;
};

class TableSite : public CWnd
{
public:
    SiteAnswer answer;
    INT_PTR OnToolHitTest(CPoint, TOOLINFOA* info) const override
    {
        if (answer.id == -1)
            return -1;
        COSMToolTipContext::FillToolInfoEx(info, m_hWnd, answer.rect, static_cast<UINT_PTR>(answer.id), answer.text,
                                           answer.title, answer.description, answer.images);
        info->uFlags |= answer.uFlags;
        return answer.id;
    }
};

class ToolTipFilterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 10, 10, 300, 200, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, owner);
        ASSERT_TRUE(site.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, owner, nullptr));
        context = AdoptRef(new RecordingContext);
        context->SetDelayTime(-1, -1, -1);
    }
    void TearDown() override
    {
        context = nullptr;
        site.DestroyWindow();
        ::DestroyWindow(owner);
    }
    void Move() { context->FilterToolTipMessage(&site, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); }
    void Answer(INT_PTR id, const CRect& rect, const char* text, UINT flags = 0)
    {
        site.answer = SiteAnswer{};
        site.answer.id = id;
        site.answer.rect = rect;
        site.answer.text = text;
        site.answer.uFlags = flags;
    }

    HWND owner = nullptr;
    TableSite site;
    RefPtr<RecordingContext> context;
};

TEST_F(ToolTipFilterTest, ANewWindowGetsItsSettingsInOrderColoursAndDelaysOnlyWhenSet)
{
    Answer(-1, CRect(), "");
    Move();
    ASSERT_EQ(1, context->created);
    // No tool then, and none before: nothing more to tell the window.
    EXPECT_EQ((std::vector<UINT>{WM_SETFONT, TTM_SETMAXTIPWIDTH, TTM_SETMARGIN, TTM_ACTIVATE}), context->Messages());
    EXPECT_EQ(static_cast<LPARAM>(::GetSystemMetrics(SM_CXSCREEN) / 2), context->log[1].lParam);

    context->SetTipColors(RGB(1, 2, 3), RGB(4, 5, 6));
    context->SetDelayTime(300, 100, 5000);
    context->log.clear();
    Move();
    EXPECT_EQ(2, context->created);
    EXPECT_EQ((std::vector<UINT>{WM_SETFONT, TTM_SETMAXTIPWIDTH, TTM_SETMARGIN, TTM_SETTIPBKCOLOR, TTM_SETTIPTEXTCOLOR,
                                 TTM_SETDELAYTIME, TTM_SETDELAYTIME, TTM_SETDELAYTIME, TTM_ACTIVATE}),
              context->Messages());
    EXPECT_EQ(static_cast<WPARAM>(RGB(1, 2, 3)), context->log[3].wParam);
    EXPECT_EQ(static_cast<WPARAM>(TTDT_RESHOW), context->log[5].wParam);
    EXPECT_EQ(100, context->log[5].lParam);
    EXPECT_EQ(static_cast<WPARAM>(TTDT_INITIAL), context->log[6].wParam);
    EXPECT_EQ(static_cast<WPARAM>(TTDT_AUTOPOP), context->log[7].wParam);
}

TEST_F(ToolTipFilterTest, TheSameToolOnlyRelaysAndAMovedOneIsDeletedBeforeItIsAdded)
{
    Answer(7, CRect(0, 0, 20, 20), "Save");
    Move();
    ASSERT_EQ(1, context->Count(TTM_ADDTOOLA));
    EXPECT_EQ("Save", context->Last(TTM_ADDTOOLA)->text);

    context->log.clear();
    Move();
    EXPECT_EQ((std::vector<UINT>{TTM_WINDOWFROMPOINT, TTM_RELAYEVENT}), context->Messages());

    context->log.clear();
    Answer(7, CRect(0, 0, 40, 20), "Save");
    Move();
    const std::vector<UINT> messages = context->Messages();
    ASSERT_EQ(1, context->Count(TTM_DELTOOLA));
    ASSERT_EQ(1, context->Count(TTM_ADDTOOLA));
    EXPECT_LT(std::find(messages.begin(), messages.end(), TTM_DELTOOLA) - messages.begin(),
              std::find(messages.begin(), messages.end(), TTM_ADDTOOLA) - messages.begin());
    EXPECT_EQ(CRect(0, 0, 20, 20), context->Last(TTM_DELTOOLA)->rect);

    // Another tool: added first, the old one deleted after the relay.
    context->log.clear();
    Answer(8, CRect(40, 0, 60, 20), "Open");
    Move();
    EXPECT_EQ(TTM_DELTOOLA, context->Messages().back());
}

TEST_F(ToolTipFilterTest, AHeldButtonRegistersNothingAndAButtonDownDeactivates)
{
    Answer(7, CRect(0, 0, 20, 20), "Save");
    Move();
    context->log.clear();
    Answer(8, CRect(40, 0, 60, 20), "Open");
    BYTE keys[256];
    ::GetKeyboardState(keys);
    const BYTE saved = keys[VK_LBUTTON];
    keys[VK_LBUTTON] = 0x80;
    ::SetKeyboardState(keys);
    Move();
    keys[VK_LBUTTON] = saved;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(context->log.empty());

    const UINT downs[] = {WM_LBUTTONDOWN, WM_RBUTTONDBLCLK, WM_NCMBUTTONDOWN, WM_KEYDOWN, WM_SYSKEYUP};
    for (UINT down : downs)
    {
        context->log.clear();
        context->FilterToolTipMessage(&site, down, 0, 0);
        ASSERT_EQ(1u, context->log.size()) << down;
        EXPECT_EQ(static_cast<UINT>(TTM_ACTIVATE), context->log[0].message);
        EXPECT_EQ(0u, context->log[0].wParam);
    }
    context->log.clear();
    context->FilterToolTipMessage(&site, WM_PAINT, 0, 0);
    EXPECT_TRUE(context->log.empty());
}

TEST_F(ToolTipFilterTest, TitlesImagesAndTheAlwaysTipBit)
{
    COSMImageManager images;
    const UINT_PTR id = 12;
    const UINT imageId = 512;
    images.SetIcon(::LoadIconA(nullptr, MAKEINTRESOURCEA(32512)), imageId, 16, 16);
    context->SetShowTitleAndImage(TRUE, TRUE);
    context->SetImageLookup(static_cast<int>(imageId - id), 16);
    const struct
    {
        const char* title;
        const char* description;
        const char* shownTitle;  // null: TTM_SETTITLE(0, null)
        const char* shownText;
    } cases[] = {
        {"Save", "Saves the file", "Save", "Saves the file"},
        {"Same", "Same", nullptr, "Save"},
        {"", "Only a description", nullptr, "Save"},
    };
    INT_PTR nextId = id;
    for (const auto& c : cases)
    {
        context->log.clear();
        site.answer = SiteAnswer{};
        site.answer.id = nextId;
        site.answer.rect = CRect(0, 0, 20, 20);
        site.answer.text = "Save";
        site.answer.title = c.title;
        site.answer.description = c.description;
        site.answer.images = &images;
        site.answer.uFlags = COSMToolTipContext::kToolAlwaysTip;
        Move();
        const TipMessage* title = context->Last(TTM_SETTITLEA);
        ASSERT_NE(nullptr, title) << c.title;
        if (c.shownTitle)
        {
            EXPECT_EQ(c.shownTitle, title->text);
            EXPECT_EQ(static_cast<WPARAM>(TTI_INFO), title->wParam);
            ASSERT_NE(nullptr, context->Last(TTM_UPDATETIPTEXTA));
            EXPECT_EQ(c.shownText, context->Last(TTM_UPDATETIPTEXTA)->text);
        }
        else
        {
            EXPECT_EQ(0, title->lParam) << c.title;
            EXPECT_EQ(nullptr, context->Last(TTM_UPDATETIPTEXTA)) << c.title;
        }
        // Bit 30 activates under the inactive owner, and reaches TTM_ADDTOOL cleared.
        EXPECT_EQ(0u, context->Last(TTM_ADDTOOLA)->uFlags & COSMToolTipContext::kToolAlwaysTip);
        ASSERT_NE(nullptr, context->Last(TTM_ACTIVATE));
        EXPECT_EQ(1u, context->Last(TTM_ACTIVATE)->wParam);
        // The image of base + hit id for the first tool; the next ids have none.
        ASSERT_NE(nullptr, context->Last(OSM_TTM_SETIMAGE));
        EXPECT_EQ(nextId == static_cast<INT_PTR>(id) ? reinterpret_cast<LPARAM>(images.GetImage(imageId, 16)) : 0,
                  context->Last(OSM_TTM_SETIMAGE)->lParam);
        ++nextId;
    }
    EXPECT_NE(0, reinterpret_cast<LPARAM>(images.GetImage(imageId, 16)));

    // Without bit 30 an inactive owner gets no activation.
    context->log.clear();
    Answer(40, CRect(0, 0, 20, 20), "Quiet");
    Move();
    EXPECT_EQ(0, context->Count(TTM_ACTIVATE));
}

TEST_F(ToolTipFilterTest, MnemonicsGoOnceTheNoPrefixBitIsClearedAndTitlesFollowTheCommonControls)
{
    Answer(7, CRect(0, 0, 20, 20), "&Open && close");
    Move();
    EXPECT_EQ("&Open && close", context->Last(TTM_ADDTOOLA)->text);

    context->ModifyToolTipStyle(TTS_NOPREFIX, 0);
    context->log.clear();
    Move();
    EXPECT_EQ("Open & close", context->Last(TTM_ADDTOOLA)->text);

    // Style 0 below 5.80 sends no title at all.
    context->SetComCtlVersion(0x50050 - 1);
    context->log.clear();
    Answer(8, CRect(0, 0, 20, 20), "Open");
    Move();
    EXPECT_EQ(0, context->Count(TTM_SETTITLEA));
    // ... and keeps its style when asked for balloons.
    context->SetStyle(1);
    EXPECT_EQ(0, context->GetStyle());
}

TEST_F(ToolTipFilterTest, ANewSiteOwnerRecreatesTheWindowKeepingTheObject)
{
    Answer(7, CRect(0, 0, 20, 20), "Save");
    Move();
    CWnd* first = context->GetToolTipWindow();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(owner, ::GetWindow(first->GetSafeHwnd(), GW_OWNER));

    HWND other = ::CreateWindowExA(0, "STATIC", "other", WS_POPUP, 10, 10, 300, 200, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    site.SetParent(CWnd::FromHandle(other));
    context->log.clear();
    Move();
    EXPECT_EQ(first, context->GetToolTipWindow());
    EXPECT_EQ(1, context->created);
    EXPECT_EQ(other, ::GetWindow(first->GetSafeHwnd(), GW_OWNER));
    // The new window learns the tool again.
    EXPECT_EQ(1, context->Count(TTM_ADDTOOLA));
    site.SetParent(CWnd::FromHandle(owner));
    ::DestroyWindow(other);
}

TEST(ToolTipContextFactory, EachStyleMakesItsWindowClass)
{
    RefPtr<COSMToolTipContext> context = AdoptRef(new COSMToolTipContext);
    context->SetComCtlVersion(0x60000);
    const struct
    {
        int style;
        const char* expected;
    } cases[] = {
        {0, "standard"},  {1, "standard"}, {2, "framework"}, {3, "rich text"}, {4, "gradient"},
        {5, "framework"}, {6, "html"},     {7, "markup"},    {8, "standard"},
    };
    for (const auto& c : cases)
    {
        context->SetStyle(c.style);
        std::unique_ptr<CWnd> made(context->CreateToolTip(nullptr));
        ASSERT_NE(nullptr, made) << c.style;
        std::string kind = "other";
        if (dynamic_cast<COSMToolTipMarkupToolTip*>(made.get()))
            kind = "markup";
        else if (dynamic_cast<COSMToolTipRichTextToolTip*>(made.get()))
            kind = "rich text";
        else if (dynamic_cast<COSMToolTipHtmlToolTip*>(made.get()))
            kind = "html";
        else if (dynamic_cast<COSMToolTipGradientToolTip*>(made.get()))
            kind = "gradient";
        else if (dynamic_cast<COSMToolTipContextToolTip*>(made.get()))
            kind = "framework";
        else if (dynamic_cast<COSMToolTipStandardCtrl*>(made.get()))
            kind = "standard";
        EXPECT_EQ(c.expected, kind) << c.style;
        if (auto* framework = dynamic_cast<COSMToolTipContextToolTip*>(made.get()))
        {
            EXPECT_EQ(context.Get(), framework->GetContext());
        }
    }
}

// A command-bar edit box: it says so when asked.
LRESULT CALLBACK BarEditProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == OSM_WM_QUERYCOMMANDBAREDIT)
        return 1;
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

TEST(ToolTipStandardCtrl, ACommandBarEditCountsAsItsParent)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &BarEditProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OsmTestBarEdit";
    ::RegisterClassA(&windowClass);
    HWND top = ::CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 900, 500, 120, 60, nullptr,
                                 nullptr, ::GetModuleHandleA(nullptr), nullptr);
    HWND edit = ::CreateWindowExA(0, "OsmTestBarEdit", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, top, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    HWND plain = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE, 70, 10, 40, 20, top, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    ::UpdateWindow(top);
    COSMToolTipStandardCtrl tip;
    ASSERT_TRUE(tip.Create(CWnd::FromHandle(top)));
    POINT overEdit{920, 520};
    POINT overPlain{980, 520};
    ASSERT_EQ(edit, ::WindowFromPoint(overEdit));
    EXPECT_EQ(top,
              reinterpret_cast<HWND>(tip.SendMessage(TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&overEdit))));
    EXPECT_EQ(plain,
              reinterpret_cast<HWND>(tip.SendMessage(TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&overPlain))));
    tip.DestroyWindow();
    ::DestroyWindow(top);
}

TEST(ToolTipContextHitTest, ABarAnswersThroughTheClassLibrary)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    RefPtr<COSMCommandBar> bar = AdoptRef(new COSMCommandBar);
    bar->SetCommandBars(commandBars.Get());
    COSMControl* save = bar->GetControls()->Add(1, 57603);
    save->SetTooltip("Save");
    save->SetRect(CRect(0, 0, 30, 20));
    CWnd* asWindow = bar.Get();
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    EXPECT_EQ(57603, commandBars->GetToolTipContext()->OnToolHitTest(asWindow, CPoint(10, 10), &info));
    EXPECT_STREQ("Save", info.lpszText);
    COSMToolTipContext::FreeToolInfoText(&info);
    EXPECT_EQ(-1, commandBars->GetToolTipContext()->OnToolHitTest(asWindow, CPoint(100, 10), &info));
    // A plain window has no tools.
    CWnd plain;
    EXPECT_EQ(-1, commandBars->GetToolTipContext()->OnToolHitTest(&plain, CPoint(1, 1), &info));
}

}  // namespace
