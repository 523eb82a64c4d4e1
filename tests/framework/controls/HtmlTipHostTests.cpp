// The HTML tips' browser host. Its COM answers and the about: text are asked directly; the host window, its control
// in place and the bounded wait for the document run on real windows, on a thread with OLE. The test runner leaves
// the web-browser control without its HTML engine, as a machine without one would: the control is made and
// navigates, but its document never loads.
#include "OneShotTimer.h"
#include "framework/controls/HtmlTipHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

namespace {

// The host object with a count of the living ones, so a test sees the last one go.
class CountedHtmlTipHost : public COSMHtmlTipHost
{
public:
    CountedHtmlTipHost() { ++s_live; }
    ~CountedHtmlTipHost() override { --s_live; }
    static int s_live;
};
int CountedHtmlTipHost::s_live = 0;

// Stands in for the HTML tip window: a popup that keeps its host from the first measurement on and closes it as it
// goes.
class HtmlTipOwner : public CWnd
{
public:
    HtmlTipOwner()
    {
        CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Tip", WS_POPUP | WS_VISIBLE, 40, 40, 300, 200, nullptr,
                 nullptr);
    }
    ~HtmlTipOwner() override
    {
        if (host)
            host->Close();
        host = nullptr;
    }
    BOOL OpenHost()
    {
        host = RefPtr<COSMHtmlTipHost>::Adopt(new CountedHtmlTipHost);
        if (host->CreateHost(this))
            return TRUE;
        host = nullptr;
        return FALSE;
    }

    RefPtr<COSMHtmlTipHost> host;
};

COSMHtmlTipRequest TipRequest()
{
    COSMHtmlTipRequest request;
    request.aboutUrl = OsmHtmlTipAboutText("Tahoma", 11, RGB(255, 255, 225));
    request.html = "<b>Bold</b> and plain";
    request.maxWidth = 300;
    request.margins = CRect(2, 2, 2, 2);
    return request;
}

class HtmlTipHostWindowTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr))); }
    void TearDown() override
    {
        // Leftover timer messages of a test must not reach the next one.
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
        {}
        ::OleUninitialize();
    }
};

}  // namespace

// ---- The site's answers, by direct calls --------------------------------------------------------------------------

TEST(HtmlTipHostSite, AnswersTheBrowserAsATipHostShould)
{
    RefPtr<COSMHtmlTipHost> host = RefPtr<COSMHtmlTipHost>::Adopt(new COSMHtmlTipHost);
    IOleClientSite* site = nullptr;
    IDocHostUIHandler* ui = nullptr;
    IOleInPlaceSite* inPlace = nullptr;
    ASSERT_EQ(S_OK, host->ExternalQueryInterface(__uuidof(IOleClientSite), reinterpret_cast<void**>(&site)));
    ASSERT_EQ(S_OK, site->QueryInterface(__uuidof(IDocHostUIHandler), reinterpret_cast<void**>(&ui)));
    ASSERT_EQ(S_OK, ui->QueryInterface(__uuidof(IOleInPlaceSite), reinterpret_cast<void**>(&inPlace)));

    // One object: every interface gives the same IUnknown.
    IUnknown* fromSite = nullptr;
    IUnknown* fromUi = nullptr;
    ASSERT_EQ(S_OK, site->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&fromSite)));
    ASSERT_EQ(S_OK, ui->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&fromUi)));
    EXPECT_EQ(fromSite, fromUi);
    fromSite->Release();
    fromUi->Release();

    DOCHOSTUIINFO info{};
    info.cbSize = sizeof(info);
    info.dwDoubleClick = 99;
    ASSERT_EQ(S_OK, ui->GetHostInfo(&info));
    EXPECT_EQ(0x4000Du, info.dwFlags);
    EXPECT_EQ(0u, info.dwDoubleClick);
    EXPECT_EQ(sizeof(info), info.cbSize);

    IMoniker* moniker = reinterpret_cast<IMoniker*>(1);
    IOleContainer* container = reinterpret_cast<IOleContainer*>(1);
    LPOLESTR keyPath = reinterpret_cast<LPOLESTR>(1);
    IDropTarget* dropTarget = reinterpret_cast<IDropTarget*>(1);
    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    LPWSTR translated = reinterpret_cast<LPWSTR>(1);
    IDataObject* filtered = reinterpret_cast<IDataObject*>(1);
    MSG msg{};
    POINT pt{};
    const struct
    {
        const char* call;
        std::function<HRESULT()> ask;
        HRESULT answer;
    } cases[] = {
        {"SaveObject", [&] { return site->SaveObject(); }, E_NOTIMPL},
        {"GetMoniker", [&] { return site->GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_OBJREL, &moniker); },
         E_NOTIMPL},
        {"GetContainer", [&] { return site->GetContainer(&container); }, E_NOTIMPL},
        {"ShowObject", [&] { return site->ShowObject(); }, E_NOTIMPL},
        {"OnShowWindow", [&] { return site->OnShowWindow(TRUE); }, E_NOTIMPL},
        {"RequestNewObjectLayout", [&] { return site->RequestNewObjectLayout(); }, E_NOTIMPL},
        {"ShowContextMenu", [&] { return ui->ShowContextMenu(0, &pt, nullptr, nullptr); }, S_OK},
        {"ShowUI", [&] { return ui->ShowUI(0, nullptr, nullptr, nullptr, nullptr); }, S_OK},
        {"HideUI", [&] { return ui->HideUI(); }, S_OK},
        {"UpdateUI", [&] { return ui->UpdateUI(); }, S_OK},
        {"TranslateAccelerator", [&] { return ui->TranslateAccelerator(&msg, nullptr, 0); }, S_FALSE},
        {"EnableModeless", [&] { return ui->EnableModeless(TRUE); }, E_NOTIMPL},
        {"OnDocWindowActivate", [&] { return ui->OnDocWindowActivate(TRUE); }, E_NOTIMPL},
        {"OnFrameWindowActivate", [&] { return ui->OnFrameWindowActivate(TRUE); }, E_NOTIMPL},
        {"ResizeBorder", [&] { return ui->ResizeBorder(nullptr, nullptr, TRUE); }, E_NOTIMPL},
        {"GetOptionKeyPath", [&] { return ui->GetOptionKeyPath(&keyPath, 0); }, E_NOTIMPL},
        {"GetDropTarget", [&] { return ui->GetDropTarget(nullptr, &dropTarget); }, E_NOTIMPL},
        {"GetExternal", [&] { return ui->GetExternal(&external); }, E_NOTIMPL},
        {"TranslateUrl", [&] { return ui->TranslateUrl(0, nullptr, &translated); }, E_NOTIMPL},
        {"FilterDataObject", [&] { return ui->FilterDataObject(nullptr, &filtered); }, E_NOTIMPL},
        {"CanInPlaceActivate (no window)", [&] { return inPlace->CanInPlaceActivate(); }, S_FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.answer, c.ask()) << c.call;
    // What is not given is said to be null, not left as it was.
    EXPECT_EQ(nullptr, moniker);
    EXPECT_EQ(nullptr, container);
    EXPECT_EQ(nullptr, keyPath);
    EXPECT_EQ(nullptr, dropTarget);
    EXPECT_EQ(nullptr, external);
    EXPECT_EQ(nullptr, translated);
    EXPECT_EQ(nullptr, filtered);

    inPlace->Release();
    ui->Release();
    site->Release();
    // Only the first reference is left: the COM ones came back.
    EXPECT_EQ(1, static_cast<LONG>(host->m_dwRef));
}

// ---- The about: document ------------------------------------------------------------------------------------------

TEST(HtmlTipAboutText, NamesFaceSizeAndBackground)
{
    EXPECT_STREQ("about:<head><style> body {font-family:Tahoma; font-size:11;}table {font-family:Tahoma; "
                 "font-size:11;}</style></head><body topmargin=0 leftmargin=0 bottommargin=0 rightmargin=0 "
                 "bgColor=#ffffe1></body>",
                 OsmHtmlTipAboutText("Tahoma", 11, RGB(255, 255, 225)));

    LOGFONTA lf{};
    lf.lfHeight = -13;
    lstrcpyA(lf.lfFaceName, "Tahoma");
    const HFONT tahoma = ::CreateFontIndirectA(&lf);
    lf.lfHeight = 0;
    const HFONT defaultHeight = ::CreateFontIndirectA(&lf);
    const struct
    {
        const char* name;
        HFONT font;
        COLORREF background;
        const char* style;
        const char* color;
    } cases[] = {
        {"Tahoma, height -13", tahoma, RGB(1, 2, 3), "font-family:Tahoma; font-size:13;", "bgColor=#010203></body>"},
        {"no font", nullptr, RGB(255, 255, 225), "font-family:Arial; font-size:11;", "bgColor=#ffffe1></body>"},
        {"not a font", reinterpret_cast<HFONT>(::GetStockObject(WHITE_BRUSH)), RGB(0, 0, 0),
         "font-family:Arial; font-size:11;", "bgColor=#000000></body>"},
        {"height 0", defaultHeight, RGB(16, 160, 255), "font-family:Arial; font-size:11;", "bgColor=#10a0ff></body>"},
    };
    for (const auto& c : cases)
    {
        const CString text = OsmHtmlTipAboutText(c.font, c.background);
        EXPECT_NE(-1, text.Find(CString("body {") + c.style)) << c.name << ": " << static_cast<LPCSTR>(text);
        EXPECT_NE(-1, text.Find(CString("table {") + c.style)) << c.name;
        EXPECT_EQ(CString(c.color), text.Right(static_cast<int>(strlen(c.color)))) << c.name;
    }
    ::DeleteObject(tahoma);
    ::DeleteObject(defaultHeight);
}

// ---- The host window ----------------------------------------------------------------------------------------------

TEST_F(HtmlTipHostWindowTest, HoldsTheControlInPlaceInAChildOfTheTip)
{
    HtmlTipOwner owner;
    ASSERT_TRUE(owner.GetSafeHwnd());
    ASSERT_TRUE(owner.OpenHost());
    const HWND host = owner.host->GetSafeHwnd();
    ASSERT_TRUE(owner.host->IsOpen());
    EXPECT_EQ(owner.GetSafeHwnd(), ::GetParent(host));
    EXPECT_EQ(59648, ::GetDlgCtrlID(host));
    const LONG style = ::GetWindowLongA(host, GWL_STYLE);
    EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_VISIBLE), style & (WS_CHILD | WS_VISIBLE | WS_POPUP));
    CRect rect;
    ::GetWindowRect(host, &rect);
    ::MapWindowPoints(nullptr, owner.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(CRect(0, 0, 200, 200), rect);
    ASSERT_NE(nullptr, owner.host->GetBrowser());

    // In place: the control's window lives in the host and follows its size.
    ASSERT_NE(nullptr, owner.host->GetInPlaceObject());
    HWND control = nullptr;
    ASSERT_EQ(S_OK, owner.host->GetInPlaceObject()->GetWindow(&control));
    ASSERT_TRUE(::IsWindow(control));
    EXPECT_EQ(host, ::GetParent(control));
    ::SetWindowPos(host, nullptr, 0, 0, 333, 77, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect controlRect;
    ::GetClientRect(control, &controlRect);
    EXPECT_EQ(333, controlRect.Width());
    EXPECT_EQ(77, controlRect.Height());

    // The site's window answers are the host's.
    IOleInPlaceSite* site = nullptr;
    ASSERT_EQ(S_OK, owner.host->ExternalQueryInterface(__uuidof(IOleInPlaceSite), reinterpret_cast<void**>(&site)));
    HWND siteWindow = nullptr;
    EXPECT_EQ(S_OK, site->GetWindow(&siteWindow));
    EXPECT_EQ(host, siteWindow);
    EXPECT_EQ(S_OK, site->CanInPlaceActivate());
    site->Release();

    // Closed, the host lets the control go and its window with it.
    owner.host->Close();
    EXPECT_FALSE(owner.host->IsOpen());
    EXPECT_FALSE(::IsWindow(host));
    EXPECT_EQ(nullptr, owner.host->GetBrowser());
}

TEST_F(HtmlTipHostWindowTest, ADocumentThatNeverLoadsGivesNoTipWithinTheBound)
{
    HtmlTipOwner owner;
    ASSERT_TRUE(owner.OpenHost());
    const COSMHtmlTipRequest request = TipRequest();

    const DWORD start = ::GetTickCount();
    EXPECT_EQ(CSize(0, 0), owner.host->MeasureTip(request));
    const DWORD first = ::GetTickCount() - start;
    // It waited for the document (the control is there and navigated), but not past the bound.
    EXPECT_GE(first, 1500u);
    EXPECT_LT(first, 3000u);
    EXPECT_NE(READYSTATE_COMPLETE, owner.host->GetReadyState());
    EXPECT_FALSE(owner.host->IsWaitingForDocument());

    // Later tips look at the ready state once and do not wait again.
    const DWORD again = ::GetTickCount();
    EXPECT_EQ(CSize(0, 0), owner.host->MeasureTip(request));
    EXPECT_LT(::GetTickCount() - again, 500u);
    EXPECT_TRUE(owner.host->IsOpen());
}

TEST_F(HtmlTipHostWindowTest, AQuitDuringTheWaitEndsItAndStaysQueued)
{
    HtmlTipOwner owner;
    ASSERT_TRUE(owner.OpenHost());
    osm::test::OneShotTimer quit(100, [] { ::PostQuitMessage(37); });

    const DWORD start = ::GetTickCount();
    EXPECT_EQ(CSize(0, 0), owner.host->MeasureTip(TipRequest()));
    EXPECT_LT(::GetTickCount() - start, 1500u);

    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(37u, msg.wParam);
    // The document did not load: the next tip gives way at once as well.
    const DWORD again = ::GetTickCount();
    EXPECT_EQ(CSize(0, 0), owner.host->MeasureTip(TipRequest()));
    EXPECT_LT(::GetTickCount() - again, 500u);
}

TEST_F(HtmlTipHostWindowTest, WhatTheWaitDispatchesCannotHurtIt)
{
    enum class During
    {
        MeasureAgain,
        DestroyTipWindow,
        DeleteTipWindow
    };
    const struct
    {
        const char* name;
        During during;
        bool endsEarly;
    } cases[] = {
        {"measure again", During::MeasureAgain, false},
        {"destroy the tip window", During::DestroyTipWindow, true},
        {"delete the tip window", During::DeleteTipWindow, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        HtmlTipOwner* owner = new HtmlTipOwner;
        ASSERT_TRUE(owner->OpenHost());
        COSMHtmlTipHost* host = owner->host.Get();
        const COSMHtmlTipRequest request = TipRequest();

        bool fired = false;
        bool wasWaiting = false;
        CSize reentered(-1, -1);
        osm::test::OneShotTimer action(100, [&] {
            fired = true;
            switch (c.during)
            {
            case During::MeasureAgain:
                wasWaiting = host->IsWaitingForDocument();
                reentered = host->MeasureTip(request);
                break;
            case During::DestroyTipWindow:
                owner->DestroyWindow();
                break;
            case During::DeleteTipWindow:
                delete owner;
                owner = nullptr;
                break;
            }
        });

        const DWORD start = ::GetTickCount();
        EXPECT_EQ(CSize(0, 0), host->MeasureTip(request));
        const DWORD spent = ::GetTickCount() - start;
        EXPECT_TRUE(fired);
        EXPECT_LT(spent, c.endsEarly ? 1500u : 3000u);
        if (c.during == During::MeasureAgain)
        {
            EXPECT_TRUE(wasWaiting);
            EXPECT_EQ(CSize(0, 0), reentered);
        }
        if (c.during == During::DestroyTipWindow)
        {
            EXPECT_FALSE(host->IsOpen());
        }
        delete owner;
        // Nothing holds the host any more: the control let its site go.
        EXPECT_EQ(0, CountedHtmlTipHost::s_live);
    }
}

TEST(HtmlTipHostThread, WithoutOleThereIsNoHostAndNoTip)
{
    bool opened = true;
    bool childLeft = true;
    HRESULT comAfterwards = E_FAIL;
    std::thread worker([&] {
        HtmlTipOwner owner;
        opened = owner.OpenHost() != FALSE;
        childLeft = ::GetWindow(owner.GetSafeHwnd(), GW_CHILD) != nullptr;
        // The host did not start COM on this thread behind its back.
        comAfterwards = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(comAfterwards))
            ::CoUninitialize();
    });
    worker.join();
    EXPECT_FALSE(opened);
    EXPECT_FALSE(childLeft);
    EXPECT_EQ(S_OK, comAfterwards);
}
