#include "TrackingTestSupport.h"

#include "ActiveWindow.h"
#include "framework/commandbars/CommandBarsOptions.h"

namespace commandbars_test {

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void PumpFor(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    do
    {
        PumpMessages();
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
    PumpMessages();
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done())
    {
        if (::GetTickCount() - start >= timeoutMs)
            return done();
        PumpMessages();
        ::Sleep(5);
    }
    return true;
}

TrackingBar::~TrackingBar()
{
    if (destroyed)
        ++*destroyed;
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL TrackingBar::CreateChild(CWnd* parent, const CRect& rect)
{
    return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW)), "TrackingBar",
                    WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.Width(), rect.Height(), parent->GetSafeHwnd(),
                    nullptr);
}

BOOL TrackingBar::CreatePopup(CWnd* owner, const CRect& rect, DWORD exStyle)
{
    return CreateEx(exStyle | WS_EX_TOOLWINDOW, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW)),
                    "TrackingBar", WS_POPUP | WS_VISIBLE, rect.left, rect.top, rect.Width(), rect.Height(),
                    owner ? owner->GetSafeHwnd() : nullptr, nullptr);
}

void TrackingBar::AddButtons(std::initializer_list<UINT> ids, CSize size, BOOL vertical)
{
    for (UINT id : ids)
        GetControls()->Add(1, static_cast<int>(id));
    LayOut(size, vertical);
}

void TrackingBar::LayOut(CSize size, BOOL vertical)
{
    CPoint at(0, 0);
    for (int i = 0; i < GetControlCount(); ++i)
    {
        COSMControl* control = GetControl(i);
        const CRect rect(at, size);
        control->SetRect(rect);
        control->SetRowRect(vertical ? CRect(rect.left, 0, rect.right, size.cy * GetControlCount())
                                     : CRect(0, rect.top, size.cx * GetControlCount(), rect.bottom));
        if (vertical)
            at.y += size.cy;
        else
            at.x += size.cx;
    }
}

int BeepRecorder::count = 0;

BeepRecorder::BeepRecorder() : m_saved(COSMCommandBar::s_pfnMessageBeep)
{
    count = 0;
    COSMCommandBar::s_pfnMessageBeep = &Record;
}

BeepRecorder::~BeepRecorder()
{
    COSMCommandBar::s_pfnMessageBeep = m_saved;
}

BOOL WINAPI BeepRecorder::Record(UINT)
{
    ++count;
    return TRUE;
}

std::vector<WinEvent>& RecordedWinEvents()
{
    static std::vector<WinEvent> events;
    return events;
}

void WINAPI RecordWinEvent(DWORD event, HWND hWnd, LONG idObject, LONG idChild)
{
    RecordedWinEvents().push_back({event, hWnd, idObject, idChild});
}

BEGIN_MESSAGE_MAP(TrackingFrame, CCommandBarsTestFrame)
    ON_NOTIFY(TrackingFrame::kHandledCode, TrackingFrame::kHandledId, OnControlNotify)
END_MESSAGE_MAP()

LRESULT TrackingFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case COSMCommandBar::kMessageMenuBarTracking:
    case COSMCommandBar::kMessageControlRButtonUp:
    case COSMCommandBar::kMessageTrackingKey:
    case WM_SYSCOMMAND:
    case COSMPopupBar::kMessagePopupShowing:
    case COSMPopupBar::kMessagePopupClosed:
    case COSMCommandBars::kMessageToolbarsContextMenu:
        tracking.push_back(Message{message, wParam, lParam});
        return onTracking ? onTracking(message, wParam, lParam) : 0;
    default:
        return CCommandBarsTestFrame::WindowProc(message, wParam, lParam);
    }
}

void TrackingFrame::OnControlNotify(NMHDR* header, LRESULT* result)
{
    notified.push_back(*reinterpret_cast<NMOSMCONTROL*>(header));
    *result = notifyResult;
}

bool ActivateTestWindow(HWND window)
{
    return osm::test::ActivateWindow(window);
}

void TrackingSiteTest::SetUp()
{
    CommandBarsTest::SetUp();
    ASSERT_TRUE(CreateSiteFrame());
    commandBars->SetSite(&frame);
    // The frame handles no test command: the idle update after a command must not grey the buttons under test.
    commandBars->GetCommandBarsOptions()->m_disableCommandsWithoutHandler = FALSE;
}

void TrackingSiteTest::TearDown()
{
    EXPECT_EQ(0, CreateMouseManager()->GetTrackedCount());
    EXPECT_EQ(0, CreateKeyboardManager()->GetHookedCount());
    CommandBarsTest::TearDown();
}

void TrackingSiteTest::MakeBarWindow(TrackingBar& bar, int type, int position, const CRect& rect)
{
    bar.SetCommandBars(commandBars.Get());
    bar.SetTypeField(type);
    bar.SetPositionField(position);
    ASSERT_TRUE(bar.CreateChild(&frame, rect));
}

}  // namespace commandbars_test
