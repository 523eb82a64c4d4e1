#include "LookSample.h"

#include "CommandBarsTestFrame.h"
#include "EndToEndTestIds.h"
#include "tests/support/ActiveWindow.h"
#include "tests/support/DcTestSurface.h"
#include "tests/support/InputThread.h"
#include "tests/support/Screenshots.h"
#include "tests/support/SyntheticInput.h"

#include "classlib/Menu.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/foundation/ImageManager.h"

#include <set>
#include <vector>

namespace themes_test {

namespace {

constexpr UINT kLeftBarId = 7400;
constexpr UINT kFloatingBarId = 7401;
constexpr UINT kNarrowBarId = 7402;
constexpr UINT kSampleCommand = 7500;
// A bar that hides what does not fit shows its expand button.
constexpr DWORD kFlagHideWrap = 0x20;

void PumpFor(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds)
    {
        osm::test::PumpPendingMessages();
        ::Sleep(10);
    }
}

// A 16 x 16 icon: a dark border around a coloured square, so that icons read as icons in the picture.
HICON MakeSampleIcon(COLORREF color)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = 16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP colorBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* bytes = static_cast<BYTE*>(bits);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
        {
            const bool edge = x < 2 || y < 2 || x > 13 || y > 13;
            const COLORREF pixel = edge ? RGB(40, 40, 40) : color;
            BYTE* p = bytes + y * 48 + x * 3;
            p[0] = GetBValue(pixel);
            p[1] = GetGValue(pixel);
            p[2] = GetRValue(pixel);
        }
    const BYTE maskBits[32] = {};
    HBITMAP mask = ::CreateBitmap(16, 16, 1, 1, maskBits);
    ICONINFO iconInfo{TRUE, 0, 0, mask, colorBitmap};
    HICON icon = ::CreateIconIndirect(&iconInfo);
    ::DeleteObject(mask);
    ::DeleteObject(colorBitmap);
    return icon;
}

class SampleFrame
{
public:
    ~SampleFrame()
    {
        if (menu)
            menu->DestroyWindow();
        menu.Reset();
        if (commandBars)
            commandBars->ClosePopups();
        commandBars.Reset();
        frame.DestroyWindow();
        PumpFor(50);
    }

    COSMToolBar* AddResourceToolBar(const char* title, UINT id)
    {
        auto* bar = dynamic_cast<COSMToolBar*>(commandBars->AddToolBar(title, id));
        if (!bar || !bar->LoadToolBar(id, FALSE))
            return nullptr;
        return bar;
    }
    COSMToolBar* AddToolBar(const char* title, UINT id, std::initializer_list<UINT> commands)
    {
        auto* bar = dynamic_cast<COSMToolBar*>(commandBars->AddToolBar(title, id));
        if (!bar)
            return nullptr;
        for (UINT command : commands)
            bar->GetControls()->Add(1, command);
        return bar;
    }

    CCommandBarsTestFrame frame;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    RefPtr<COSMPopupBar> menu;
};

// The frame's pane as an MDI client's background: the installed look's workspace over the whole client.
LRESULT CALLBACK WorkspacePaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;
    if (message == WM_PAINT || message == WM_PRINTCLIENT)
    {
        PAINTSTRUCT paint{};
        HDC dc = message == WM_PAINT ? ::BeginPaint(window, &paint) : reinterpret_cast<HDC>(wParam);
        CRect client;
        ::GetClientRect(window, &client);
        if (COSMPaintManager* look = COSMPaintManager::GetGlobalPaintManager())
            look->FillWorkspace(CDC::FromHandle(dc), client, CRect(0, 0, 0, 0));
        if (message == WM_PAINT)
            ::EndPaint(window, &paint);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateWorkspacePane(HWND frame)
{
    static const char kClassName[] = "OsmLookSampleWorkspace";
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &WorkspacePaneProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassA(&windowClass);  // fails harmlessly when a sample before registered it
    return ::CreateWindowExA(WS_EX_CLIENTEDGE, kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                             frame, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                             windowClass.hInstance, nullptr);
}

// The open menu: every kind of row.
bool FillMenu(COSMPopupBar* menu)
{
    COSMControls* rows = menu->GetControls();
    COSMControl* item = rows->Add(1, ID_E2E_NEW);
    item->SetCaption("&New");
    item->SetShortcutText("Ctrl+N");
    COSMControl* checked = rows->Add(1, kSampleCommand + 1);
    checked->SetCaption("Checked");
    checked->SetChecked(1);
    COSMControl* radio = rows->Add(11, kSampleCommand + 2);
    radio->SetCaption("Radio");
    radio->SetChecked(1);
    COSMControl* disabled = rows->Add(1, kSampleCommand + 3);
    disabled->SetCaption("Disabled");
    disabled->SetEnabled(FALSE);
    COSMControl* subMenu = rows->Add(2, kSampleCommand + 4);
    subMenu->SetCaption("Sub-menu");
    subMenu->SetBeginGroup(TRUE);
    COSMControl* split = rows->Add(4, ID_E2E_SAVE);
    split->SetCaption("Split");
    COSMControl* label = rows->Add(8, 0);
    label->SetCaption("Label");
    COSMControl* rare = rows->Add(1, kSampleCommand + 5);
    rare->SetCaption("Seldom used");
    rare->SetHideWhenNotUsed(TRUE);
    COSMControl* hot = rows->Add(1, ID_E2E_OPEN);
    hot->SetCaption("&Open...");
    return rows->GetCount() == 9;
}

}  // namespace

LookSample WriteLookSample(int themeId, const std::string& lookName, int faceIndex, int visualStyleSelection,
                           bool withWorkspace)
{
    LookSample sample;
    COSMPaintManager::SetTheme(themeId);
    COSMPaintManager* look = COSMPaintManager::GetGlobalPaintManager();
    if (!look)
        return {"no look for the id"};
    if (visualStyleSelection >= 0)
    {
        look->SetVisualStyleSelection(visualStyleSelection);
        look->RefreshMetrics();
    }
    sample.expectedFace = look->GetColor(faceIndex);

    SampleFrame site;
    if (!site.frame.CreateTestFrame("look sample", CRect(40, 40, 680, 480)))
        return {"the frame"};
    osm::test::ActivateWindow(site.frame.GetSafeHwnd());
    COSMCommandBars* commandBars = site.commandBars.Get();
    commandBars->SetSite(&site.frame);
    commandBars->GetCommandBarsOptions()->m_disableCommandsWithoutHandler = FALSE;
    if (!commandBars->CreateDockBars())
        return {"the dock bars"};
    const UINT commands[] = {ID_E2E_NEW,       ID_E2E_OPEN, ID_E2E_SAVE, ID_E2E_BOLD, ID_E2E_ITALIC,
                             ID_E2E_UNDERLINE, ID_E2E_CUT,  ID_E2E_COPY, ID_E2E_PASTE};
    for (size_t i = 0; i < std::size(commands); ++i)
        commandBars->GetImageManager()->SetIcon(
            MakeSampleIcon(RGB(60 + 20 * static_cast<int>(i), 120, 200 - 15 * static_cast<int>(i))), commands[i], 16,
            16);

    if (!commandBars->AddMenuBar("Menu Bar", IDR_E2E_MENU))
        return {"the menu bar"};
    COSMToolBar* standard = site.AddResourceToolBar("Standard", IDR_E2E_STANDARD);
    COSMToolBar* format = site.AddResourceToolBar("Format", IDR_E2E_FORMAT);
    COSMToolBar* left = site.AddToolBar("Left", kLeftBarId, {ID_E2E_CUT, ID_E2E_COPY, ID_E2E_PASTE});
    COSMToolBar* floating = site.AddToolBar("Floating", kFloatingBarId, {ID_E2E_BOLD, ID_E2E_ITALIC, ID_E2E_UNDERLINE});
    COSMToolBar* narrow =
        site.AddToolBar("Narrow", kNarrowBarId,
                        {ID_E2E_NEW,  ID_E2E_OPEN,   ID_E2E_SAVE,      ID_E2E_CUT,  ID_E2E_COPY,   ID_E2E_PASTE,
                         ID_E2E_BOLD, ID_E2E_ITALIC, ID_E2E_UNDERLINE, ID_E2E_NEW,  ID_E2E_OPEN,   ID_E2E_SAVE,
                         ID_E2E_CUT,  ID_E2E_COPY,   ID_E2E_PASTE,     ID_E2E_BOLD, ID_E2E_ITALIC, ID_E2E_UNDERLINE,
                         ID_E2E_NEW,  ID_E2E_OPEN,   ID_E2E_SAVE,      ID_E2E_CUT,  ID_E2E_COPY});
    if (!standard || !format || !left || !floating || !narrow)
        return {"the toolbars"};
    narrow->ModifyFlags(kFlagHideWrap, 0);
    if (!commandBars->DockCommandBarAtPosition(left, 2) || !commandBars->FloatCommandBar(floating))
        return {"docking and floating"};
    floating->SetWindowPos(nullptr, 420, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND workspace = withWorkspace ? CreateWorkspacePane(site.frame.GetSafeHwnd()) : nullptr;
    if (withWorkspace && !workspace)
        return {"the workspace"};
    site.frame.RecalcLayout();
    PumpFor(100);

    // A hot, a checked and a disabled button.
    standard->GetControl(0)->SetSelected(1);
    format->GetControl(0)->SetChecked(1);
    format->GetControl(1)->SetEnabled(FALSE);
    standard->Invalidate();
    format->Invalidate();

    site.menu = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars));
    if (!site.menu || !FillMenu(site.menu.Get()))
        return {"the menu"};
    CRect frameRect;
    site.frame.GetWindowRect(&frameRect);
    if (!site.menu->Popup(frameRect.left + 60, frameRect.top + 70))
        return {"opening the menu"};
    PumpFor(150);
    site.menu->SetSelected(site.menu->GetControls()->GetCount() - 1);
    PumpFor(250);

    CRect menuRect;
    site.menu->GetWindowRect(&menuRect);
    CRect picture;
    picture.UnionRect(frameRect, menuRect);
    sample.path = osm::test::ArtefactsFolder() + "/look-" + lookName + ".bmp";
    HDC screen = ::GetDC(nullptr);
    const bool written = osm::test::WriteDcBitmap(screen, picture, sample.path);
    // The colours of the picture as the screen holds it.
    foundation_test::DcTestSurface copy(picture.Width(), picture.Height());
    ::BitBlt(copy.GetDC(), 0, 0, picture.Width(), picture.Height(), screen, picture.left, picture.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    if (!written)
        return {"writing " + sample.path};
    sample.colorCount = copy.ColorCount();

    // The left-docked toolbar drawn into a canvas of its client size: below its last button only the face shows.
    CRect client;
    left->GetClientRect(&client);
    foundation_test::DcTestSurface canvas(client.Width(), client.Height(), RGB(255, 0, 255));
    left->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
    sample.dockedToolBarFace = canvas.Pixel(client.Width() / 2, client.Height() - 2);
    if (workspace)
    {
        CRect pane;
        ::GetClientRect(workspace, &pane);
        sample.workspace = pane;
        foundation_test::DcTestSurface paneCanvas(pane.Width(), pane.Height(), RGB(255, 0, 255));
        ::SendMessageA(workspace, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(paneCanvas.GetDC()), PRF_CLIENT);
        for (int y = 0; y < pane.Height(); ++y)
            sample.workspaceLeftColumn.push_back(paneCanvas.Pixel(0, y));
    }

    // The menu bar's first menu, opened by a click as a user opens it: where it lies against its button, and its top
    // row as it paints.
    site.menu->DestroyWindow();
    site.menu.Reset();
    PumpFor(50);
    COSMCommandBar* menuBar = commandBars->GetMenuBar();
    COSMControl* first = menuBar ? menuBar->GetControl(0) : nullptr;
    if (!first)
        return {"the menu bar's first menu"};
    CRect button = first->GetRect();
    menuBar->ClientToScreen(&button);
    osm::test::PlayInputWhilePumping([&] {
        osm::test::SendMouseMoveTo(button.CenterPoint());
        osm::test::SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        osm::test::SendMouseInput(MOUSEEVENTF_LEFTUP);
    });
    PumpFor(250);
    COSMCommandBar* opened = first->GetCommandBar();
    if (!opened || !opened->IsWindowVisible())
        return {"opening the menu bar's first menu with a click"};
    sample.openedMenuButton = button;
    CRect openedRect;
    opened->GetWindowRect(&openedRect);
    sample.openedMenu = openedRect;
    foundation_test::DcTestSurface menuCanvas(openedRect.Width(), openedRect.Height(), RGB(255, 0, 255));
    opened->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(menuCanvas.GetDC()), PRF_CLIENT);
    for (int x = 0; x < openedRect.Width(); ++x)
        sample.openedMenuTopRow.push_back(menuCanvas.Pixel(x, 0));
    commandBars->ClosePopups();
    PumpFor(50);
    return sample;
}

}  // namespace themes_test
