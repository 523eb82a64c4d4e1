// The smallest application of the framework: a frame with a menu bar, a toolbar and a caption written in markup.
// It shows the order an application builds things in: the frame, its command-bars manager with the frame as site,
// the dock bars, the bars themselves, and a view that draws markup through the markup engine's entry functions.
//
// Started with "--check" it looks at what it built once the frame is up, prints one line saying so, and ends; the
// tests run it that way.
#include "ExampleIds.h"
#include "ExamplePaintManager.h"

#include "classlib/CString.h"
#include "classlib/DC.h"
#include "classlib/FrameWnd.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "classlib/WinApp.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/MenuBar.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/markup/Markup.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The caption; %s is the last command's name.
const char kCaptionMarkup[] = "<Border Padding='12'><StackPanel><TextBlock FontSize='20'>Osmira <Bold>framework</Bold> "
                              "<Run Foreground='SteelBlue'>example</Run></TextBlock>"
                              "<TextBlock Margin='0,8,0,0'>Last command: <Italic>%s</Italic></TextBlock>"
                              "</StackPanel></Border>";

const UINT kCheckTimer = 1;
// A control style: the caption alone, without an icon.
const int kCaptionOnly = 1;

// The pane under the bars: a caption drawn from markup. It owns the markup context and the parsed tree.
class CCaptionView : public CWnd
{
public:
    ~CCaptionView() override { ReleaseMarkup(); }

    // README example: begin
    BOOL CreateView(CWnd* frame)
    {
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_WINDOW));
        if (!Create(cls, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, AFX_IDW_PANE_FIRST))
            return FALSE;
        m_context = CreateMarkupContext(m_hWnd);
        return ShowLastCommand("none");
    }

    // Parses the caption again with the command's name (plain text: no markup characters) and redraws it.
    BOOL ShowLastCommand(const char* name)
    {
        CString text;
        text.Format(kCaptionMarkup, name);
        ReleaseMarkupElement(&m_caption);
        m_caption = ParseMarkup(m_context, text);
        Invalidate();
        return m_caption != nullptr;
    }

    // The caption's natural size; (0, 0) when the markup did not parse.
    CSize CaptionSize() const { return MeasureMarkupElement(m_caption, 0x7FFFFFFF, 0x7FFFFFFF); }
    // README example: end

protected:
    // README example: begin
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        const CSize size = CaptionSize();
        const CRect caption(client.left, client.top, client.left + size.cx, client.top + size.cy);
        RenderMarkupElement(m_caption, dc.GetSafeHdc(), &caption);
    }
    // README example: end

    afx_msg void OnDestroy() { ReleaseMarkup(); }

    DECLARE_MESSAGE_MAP()

private:
    void ReleaseMarkup()
    {
        ReleaseMarkupElement(&m_caption);
        ReleaseMarkupContext(&m_context);
    }

    COSMMarkupContext* m_context = nullptr;
    COSMMarkupUIElement* m_caption = nullptr;
};

BEGIN_MESSAGE_MAP(CCaptionView, CWnd)
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

class CExampleFrame : public CFrameWnd
{
public:
    BOOL CreateFrame(bool check)
    {
        m_check = check;
        LPCSTR cls =
            AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        if (!Create(cls, "Osmira framework example", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CRect(80, 80, 720, 480)))
            return FALSE;
        ShowWindow(SW_SHOW);

        // README example: begin
        // Every bar draws through the process-wide painter unless its manager or the bar has one of its own.
        COSMPaintManager::SetCustomTheme(new CExamplePaintManager);

        // The manager lays its bars out in its site; the dock bars hold the docked ones.
        m_commandBars = AdoptRef(new COSMCommandBars);
        m_commandBars->SetSite(this);
        if (!m_commandBars->CreateDockBars() || !m_commandBars->AddMenuBar("Menu Bar", IDR_EXAMPLE_MENU))
            return FALSE;
        COSMCommandBar* standard = m_commandBars->AddToolBar("Standard", IDR_EXAMPLE_STANDARD);
        const UINT buttons[] = {ID_EXAMPLE_NEW, ID_EXAMPLE_OPEN, 0, ID_EXAMPLE_SAVE};
        if (!standard || !standard->SetButtons(buttons, 4))
            return FALSE;
        // No images in this example: the buttons show their captions.
        for (int i = 0; i < standard->GetControlCount(); ++i)
            standard->GetControl(i)->SetStyle(kCaptionOnly);
        // README example: end

        if (!m_view.CreateView(this))
            return FALSE;
        RecalcLayout();
        UpdateWindow();
        if (m_check)
            SetTimer(kCheckTimer, 200, nullptr);
        return TRUE;
    }

protected:
    afx_msg void OnNew() { m_view.ShowLastCommand("New"); }
    afx_msg void OnOpen() { m_view.ShowLastCommand("Open"); }
    afx_msg void OnSave() { m_view.ShowLastCommand("Save"); }
    afx_msg void OnExit() { DestroyWindow(); }
    afx_msg void OnAbout() { AfxMessageBox("Osmira framework example", MB_ICONINFORMATION); }

    // What "--check" reports: the bars the manager holds and the caption's size.
    afx_msg void OnTimer(UINT_PTR id)
    {
        if (id != kCheckTimer)
            return;
        KillTimer(kCheckTimer);
        const COSMCommandBar* menuBar = m_commandBars->GetMenuBar();
        COSMCommandBar* standard = m_commandBars->FindCommandBar(IDR_EXAMPLE_STANDARD);
        int buttons = 0;
        for (UINT id : {ID_EXAMPLE_NEW, ID_EXAMPLE_OPEN, ID_EXAMPLE_SAVE})
            buttons += standard && standard->GetControls()->FindControlById(id) ? 1 : 0;
        const CSize caption = m_view.CaptionSize();
        const bool ok = menuBar && menuBar->GetControlCount() == 2 && standard && standard->IsVisible() &&
                        buttons == 3 && caption.cx > 0 && caption.cy > 0;
        std::printf("frame example: %s (menu bar controls %d, toolbar buttons %d of 3, caption %ldx%ld)\n",
                    ok ? "frame shown" : "FAILED", menuBar ? menuBar->GetControlCount() : -1, buttons,
                    static_cast<long>(caption.cx), static_cast<long>(caption.cy));
        std::fflush(stdout);
        DestroyWindow();
    }

    DECLARE_MESSAGE_MAP()

private:
    RefPtr<COSMCommandBars> m_commandBars;  // the frame's reference, given up with the frame
    CCaptionView m_view;
    bool m_check = false;
};

BEGIN_MESSAGE_MAP(CExampleFrame, CFrameWnd)
    ON_COMMAND(ID_EXAMPLE_NEW, OnNew)
    ON_COMMAND(ID_EXAMPLE_OPEN, OnOpen)
    ON_COMMAND(ID_EXAMPLE_SAVE, OnSave)
    ON_COMMAND(ID_EXAMPLE_EXIT, OnExit)
    ON_COMMAND(ID_EXAMPLE_ABOUT, OnAbout)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class CExampleApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        const char* commandLine = ::GetCommandLineA();
        m_frame = std::make_unique<CExampleFrame>();
        m_pMainWnd = m_frame.get();
        if (!m_frame->CreateFrame(std::strstr(commandLine, "--check") != nullptr))
        {
            std::printf("frame example: FAILED to build the frame\n");
            return FALSE;
        }
        return TRUE;
    }

    int ExitInstance() override
    {
        m_frame.reset();
        return CWinApp::ExitInstance();
    }

private:
    std::unique_ptr<CExampleFrame> m_frame;
};

CExampleApp theApp;

}  // namespace
