#include "framework/commandbars/CommandBar.h"

#include "classlib/DC.h"
#include "classlib/FrameWnd.h"
#include "classlib/Menu.h"
#include "classlib/WinApp.h"
#include "framework/commandbars/CommandBarAnimation.h"
#include "framework/commandbars/CommandBarKeyboardNavigator.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/ShortcutManager.h"
#include "framework/foundation/HookManager.h"
#include "framework/foundation/ToolTipContext.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/ImageManager.h"
#include "framework/commandbars/PaintManager.h"

IMPLEMENT_SERIAL(COSMCommandBar, CWnd, VERSIONABLE_SCHEMA | 0x22)

namespace {

// 0,0 stands for a size that is not set.
BOOL IsSizeSet(const CSize& size)
{
    return size.cx != 0 || size.cy != 0;
}

// Layout flags that read right to left.
const DWORD kRightToLeftExStyles = WS_EX_LAYOUTRTL | WS_EX_RTLREADING;

// The insertion marker's brush colour (the colour manager's index).
const int kDropMarkerColor = 15;

}  // namespace

BEGIN_MESSAGE_MAP(COSMCommandBar, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_TIMER()
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdate)
    ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
    ON_MESSAGE(WM_GETOBJECT, OnGetObject)
    // Mouse input and tracking (CommandBarTracking.cpp).
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_NCMOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
END_MESSAGE_MAP()

BEGIN_INTERFACE_MAP(COSMCommandBar, CWnd)
    INTERFACE_PART(IAccessible, m_xAccessible)
END_INTERFACE_MAP()

COSMCommandBar::COSMCommandBar()
    : m_controls(RefPtr<COSMControls>::Adopt(new COSMControls)),
      m_animation(std::make_unique<COSMCommandBarAnimation>(this)),
      m_keyboardNavigator(std::make_unique<COSMCommandBarKeyboardNavigator>(*this))
{
    m_controls->SetParent(this);
    // Screen readers reach the bar through its IDispatch (WM_GETOBJECT, a control's accessible parent).
    EnableAutomation();
}

COSMCommandBar::~COSMCommandBar()
{
    // While this class's handlers still run: the window leaves the drop source and the tracking on WM_DESTROY.
    if (GetSafeHwnd())
        DestroyWindow();
    // The thread's managers must not keep a bar that is gone.
    StopTracking();
    ForgetInMouseManager();
    GetHookManager()->RemoveAll(this);
    m_controls->RemoveAll();
    m_controls->SetParent(nullptr);
    m_controls.Reset();
    SetPaintManager(nullptr);
    SetImageManager(nullptr);
    m_toolTipContext.Reset();
}

void COSMCommandBar::OnFinalRelease()
{
    if (GetSafeHwnd())
        DestroyWindow();
    CWnd::OnFinalRelease();
}

// ---- Controls ----

int COSMCommandBar::GetControlCount() const
{
    return m_controls->GetCount();
}

COSMControl* COSMCommandBar::GetControl(int index) const
{
    return m_controls->GetAt(index);
}

void COSMCommandBar::SetControls(COSMControls* controls)
{
    if (!controls || controls == m_controls)
        return;
    m_controls->SetParent(nullptr);
    m_controls = RefPtr<COSMControls>::Adopt(controls);
    m_controls->SetParent(this);
    InvalidateLayoutCache();
}

BOOL COSMCommandBar::LoadMenu(CMenu* menu, BOOL removeAll)
{
    if (!menu || !::IsMenu(menu->GetSafeHmenu()))
        return FALSE;
    if (removeAll)
        m_controls->RemoveAll();
    BOOL beginGroup = FALSE;
    const int count = static_cast<int>(menu->GetMenuItemCount());
    for (int position = 0; position < count; ++position)
    {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_TYPE;
        menu->GetMenuItemInfo(static_cast<UINT>(position), &info, TRUE);
        if ((info.fType & MFT_SEPARATOR) || menu->GetMenuItemID(position) == 0)
        {
            beginGroup = TRUE;
            continue;
        }
        COSMControl* control = m_controls->AddMenuItem(menu, position);
        if (!control)
            continue;
        if (info.fType & (MFT_MENUBARBREAK | MFT_MENUBREAK))
        {
            control->SetFlags(control->GetFlags() | COSMControl::kFlagWrapRow);
            control->SetBeginGroup((info.fType & MFT_MENUBARBREAK) != 0);
        }
        if (beginGroup)
        {
            control->SetBeginGroup(TRUE);
            beginGroup = FALSE;
        }
        if (!control->GetAction())
        {
            if (info.fState & MFS_CHECKED)
                control->SetChecked(1);
            if (info.fState & (MFS_GRAYED | MFS_DISABLED))
                control->SetEnabled(0);
        }
    }
    // The frame lays out and updates its bars at the next idle time.
    if (CFrameWnd* frame = GetParentFrame())
        frame->m_nIdleFlags |= CFrameWnd::idleNotify | CFrameWnd::idleLayout;
    return TRUE;
}

// ---- Sizes ----

CSize COSMCommandBar::GetAutoIconSize(BOOL large) const
{
    if (const COSMPaintManager* paintManager = GetPaintManager())
        return paintManager->GetAutoIconSize(large);
    return large ? CSize(32, 32) : CSize(16, 16);
}

CSize COSMCommandBar::GetIconSize() const
{
    const COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars)
        return IsSizeSet(m_iconSize) ? m_iconSize : CSize(16, 16);
    const COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();
    if (m_type == 2)
    {
        if (IsSizeSet(m_iconSize))
            return m_iconSize;
        return IsSizeSet(options->m_popupIconsSize) ? options->m_popupIconsSize : GetAutoIconSize(FALSE);
    }
    // Large icons are the user's choice for every toolbar whose buttons are not sized by the application.
    if (options->m_largeIcons && !IsSizeSet(m_buttonSize))
        return IsSizeSet(options->m_largeIconsSize) ? options->m_largeIconsSize : GetAutoIconSize(TRUE);
    if (IsSizeSet(m_iconSize))
        return m_iconSize;
    return IsSizeSet(options->m_iconsSize) ? options->m_iconsSize : GetAutoIconSize(FALSE);
}

CSize COSMCommandBar::CalcIconSize(BOOL automatic) const
{
    const COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars)
        return IsSizeSet(m_iconSize) ? CSize(m_iconSize.cx * 2, m_iconSize.cy * 2) : CSize(32, 32);
    const COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();
    const CSize normal = IsSizeSet(m_iconSize)             ? m_iconSize
                         : IsSizeSet(options->m_iconsSize) ? options->m_iconsSize
                                                           : CSize(16, 16);
    if (IsSizeSet(m_buttonSize))
        return normal;
    if (IsSizeSet(options->m_largeIconsSize))
        return options->m_largeIconsSize;
    return automatic ? GetAutoIconSize(TRUE) : CSize(normal.cx * 2, normal.cy * 2);
}

CSize COSMCommandBar::GetButtonSize() const
{
    if (IsSizeSet(m_buttonSize))
        return m_buttonSize;
    const CSize icon = GetIconSize();
    return CSize(icon.cx + 6, icon.cy + 6);
}

BOOL COSMCommandBar::IsTextBelowIcons() const
{
    if (m_showTextBelowIcons != 2)
        return m_showTextBelowIcons != 0;
    const COSMCommandBars* commandBars = GetCommandBars();
    return commandBars && commandBars->GetCommandBarsOptions()->m_showTextBelowIcons;
}

BOOL COSMCommandBar::SetPosition(int position)
{
    m_position = position;
    return FALSE;
}

// ---- Tracking, selection and layout ----

void COSMCommandBar::StopTracking()
{
    SetTrackingMode(0, TRUE, FALSE);
}

void COSMCommandBar::ClearSelected()
{
    SetSelected(-1, 0);
}

void COSMCommandBar::DelayRedraw()
{
    m_stateFlags |= kStateRedrawPending;
}

void COSMCommandBar::DelayLayout()
{
    m_selectedIndex = -1;
    m_popupedIndex = -1;
    m_stateFlags |= kStateLayoutPending;
    InvalidateLayoutCache();
}

void COSMCommandBar::UnlockRedraw()
{
    if (m_redrawLockCount > 0)
        --m_redrawLockCount;
}

LRESULT COSMCommandBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    if (!GetSafeHwnd() || !(::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_VISIBLE))
        return 0;

    // Controls meant for other document templates hide.
    if (const UINT templateId = GetActiveDocTemplate())
    {
        BOOL changed = FALSE;
        for (int i = 0; i < GetControlCount(); ++i)
        {
            COSMControl* control = GetControl(i);
            if (control->GetParent() != this)
                continue;
            DWORD hideFlags = control->GetHideFlags();
            BOOL listed = FALSE;
            if (!control->GetAssignedTemplates().IsEmpty())
            {
                const BOOL assigned = control->GetAssignedTemplates().Lookup(templateId, listed);
                hideFlags =
                    assigned ? hideFlags & ~COSMControl::kHideDocTemplate : hideFlags | COSMControl::kHideDocTemplate;
            }
            if (!control->GetExcludedTemplates().IsEmpty())
            {
                const BOOL excluded = control->GetExcludedTemplates().Lookup(templateId, listed);
                hideFlags =
                    excluded ? hideFlags | COSMControl::kHideDocTemplate : hideFlags & ~COSMControl::kHideDocTemplate;
            }
            if (hideFlags != control->GetHideFlags())
            {
                control->SetHideFlags(hideFlags);
                changed = TRUE;
            }
        }
        if (changed)
            m_stateFlags |= kStateLayoutPending;
    }

    OnUpdateCmdUI();

    if (m_stateFlags & kStateRedrawPending)
        Redraw(nullptr, TRUE);
    if (m_stateFlags & kStateLayoutPending)
    {
        OnRecalcLayout();
        m_stateFlags &= ~kStateLayoutPending;
    }
    return 0;
}

LRESULT COSMCommandBar::OnInitialUpdate(WPARAM wParam, LPARAM lParam)
{
    return OnIdleUpdateCmdUI(TRUE, 0);
}

// ---- Painting ----

void COSMCommandBar::Redraw(const RECT* rect, BOOL animate)
{
    if (m_redrawLockCount >= 1)
    {
        m_stateFlags |= kStateRedrawPending;
        return;
    }
    if (!rect)
        m_stateFlags &= ~kStateRedrawPending;
    if (GetSafeHwnd() && IsVisible())
        m_animation->RedrawRect(rect, animate);
    else
        m_animation->Reset();  // the change is not drawn: the bar's cached image no longer shows it
}

void COSMCommandBar::DrawCommandBar(CDC* dc, CRect clip)
{
    if (!dc)
        return;
    COSMPaintManager* paintManager = GetPaintManager();
    if (!paintManager)
        return;
    DrawCommandBarFrame(dc);
    if (GetShowGripper() || m_position == kPositionFloating)
        paintManager->DrawCommandBarGripper(dc, this, TRUE);

    dc->SetBkMode(TRANSPARENT);
    COSMFontDC font(dc, paintManager->GetCommandBarFont(this));
    const COSMCommandBars* commandBars = GetCommandBars();
    const BOOL customizing = commandBars && commandBars->IsCustomizeMode();
    BOOL first = TRUE;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        COSMControl* control = GetControl(i);
        if (control->GetParent() != this || !control->IsVisible(0))
            continue;
        if (control->GetBeginGroup() && !first)
            paintManager->DrawCommandBarSeparator(dc, this, control, TRUE);
        first = FALSE;
        CRect intersection;
        if (intersection.IntersectRect(control->GetRect(), clip))
            control->Draw(dc);
        if (customizing && commandBars->GetCustomizeSelection() == control)
            DrawCustomizeSelection(dc, control->GetRect());
    }
    if (customizing)
        DrawCustomizeMarks(dc);
}

void COSMCommandBar::DrawCustomizeSelection(CDC* dc, CRect rect)
{
    dc->Draw3dRect(rect, RGB(0, 0, 0), RGB(0, 0, 0));
    rect.DeflateRect(1, 1);
    dc->Draw3dRect(rect, RGB(0, 0, 0), RGB(0, 0, 0));
}

void COSMCommandBar::DrawCustomizeMarks(CDC* dc)
{
    if (m_dropMarkerRect.IsRectEmpty())
        return;
    const CRect& r = m_dropMarkerRect;
    const int w = r.Width();
    const int h = r.Height();
    COSMBrushDC brush(dc->GetSafeHdc(), GetColorManager()->GetColor(kDropMarkerColor));
    if (!m_dropMarkerVertical)
    {
        // An upright I-beam for a horizontal bar.
        dc->PatBlt(r.left, r.top, w, 1, PATINVERT);
        dc->PatBlt(r.left + 1, r.top + 1, w - 2, 1, PATINVERT);
        dc->PatBlt(r.left + 2, r.top + 2, 2, h - 4, PATINVERT);
        dc->PatBlt(r.left, r.bottom - 1, w, 1, PATINVERT);
        dc->PatBlt(r.left + 1, r.bottom - 2, w - 2, 1, PATINVERT);
    }
    else
    {
        dc->PatBlt(r.left, r.top, 1, h, PATINVERT);
        dc->PatBlt(r.left + 1, r.top + 1, 1, h - 2, PATINVERT);
        dc->PatBlt(r.left + 2, r.top + 2, w - 4, 2, PATINVERT);
        dc->PatBlt(r.right - 1, r.top, 1, h, PATINVERT);
        dc->PatBlt(r.right - 2, r.top + 1, 1, h - 2, PATINVERT);
    }
}

CRect COSMCommandBar::GetBorders()
{
    COSMPaintManager* paintManager = GetPaintManager();
    return paintManager ? paintManager->GetCommandBarBorders(this) : CRect(0, 0, 0, 0);
}

void COSMCommandBar::DrawCommandBarFrame(CDC* dc)
{
    if (COSMPaintManager* paintManager = GetPaintManager())
        paintManager->FillCommandBar(dc, this);
}

void COSMCommandBar::OnPaint()
{
    CPaintDC dc(this);
    m_animation->OnPaint(dc);
}

BOOL COSMCommandBar::OnEraseBkgnd(CDC* dc)
{
    return TRUE;
}

LRESULT COSMCommandBar::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
    if (!dc)
        return TRUE;
    CRect client;
    GetClientRect(&client);
    DrawCommandBar(dc, client);
    return TRUE;
}

int COSMCommandBar::OnCreate(LPCREATESTRUCT createStruct)
{
    if (CWnd::OnCreate(createStruct) == -1)
        return -1;
    if (COSMCommandBars* commandBars = GetCommandBars())
    {
        if (m_position != kPositionNoDropTarget)
            commandBars->GetDropSource()->Register(this);
        // Bars of a manager share its tooltip context.
        m_toolTipContext = RefPtr<COSMToolTipContext>::Retain(commandBars->GetToolTipContext());
    }
    else if (m_type != 2)
    {
        EnableToolTips(TRUE);
    }
    return 0;
}

void COSMCommandBar::OnDestroy()
{
    if (COSMCommandBars* commandBars = GetCommandBars(); commandBars && m_position != kPositionNoDropTarget)
        commandBars->GetDropSource()->Unregister(this);
    if (m_trackingMode != 0)
        SetTrackingMode(0, TRUE, FALSE);
    m_animation->Reset();
    CWnd::OnDestroy();
}

void COSMCommandBar::SetShowGripper(BOOL show)
{
    m_style = show ? m_style | kStyleGripper : m_style & ~kStyleGripper;
}

void COSMCommandBar::EnableAnimation(BOOL enable)
{
    m_animation->SetAnimationEnabled(enable);
    Redraw(nullptr, TRUE);
}

BOOL COSMCommandBar::IsAnimationEnabled() const
{
    return m_animation->IsAnimationEnabled();
}

BOOL COSMCommandBar::IsLayoutRTL() const
{
    if (!GetSafeHwnd())
        return FALSE;
    return (::GetWindowLongA(m_hWnd, GWL_EXSTYLE) & kRightToLeftExStyles) != 0;
}

BOOL COSMCommandBar::IsPointInWindow(CPoint point) const
{
    if (!GetSafeHwnd())
        return FALSE;
    CRect window;
    ::GetWindowRect(m_hWnd, &window);
    if (!window.PtInRect(point))
        return FALSE;
    if (m_position != kPositionPopup)
        return TRUE;
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    BOOL inside = TRUE;
    if (::GetWindowRgn(m_hWnd, region) != ERROR)
        inside = ::PtInRegion(region, point.x - window.left, point.y - window.top) ? TRUE : FALSE;
    ::DeleteObject(region);
    return inside;
}

void COSMCommandBar::UpdateShortcuts()
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars || !commandBars->GetCommandBarsOptions()->m_autoUpdateShortcuts)
        return;
    // A context menu shows shortcuts only when the user wants them there.
    const BOOL cleared =
        GetRootParent()->IsPopupBar() && !commandBars->GetCommandBarsOptions()->m_showContextMenuShortcuts;
    COSMShortcutManager* shortcuts = commandBars->GetShortcutManager();
    for (int i = 0; i < GetControlCount(); ++i)
    {
        COSMControl* control = GetControl(i);
        if (!control->IsVisible(0))
            continue;
        if (cleared)
        {
            control->SetShortcutTextAuto(CString());
            continue;
        }
        if (control->GetID() == 0)
            continue;
        CString text = control->GetShortcutTextAuto();
        if (!shortcuts->FindDefaultAccelerator(control->GetID(), text))
            text.Empty();
        control->SetShortcutTextAuto(text);
    }
}

BOOL COSMCommandBar::IsKeyboardCuesVisible() const
{
    const COSMCommandBars* commandBars = GetCommandBars();
    return commandBars ? commandBars->IsKeyboardCuesShown() : TRUE;
}

// ---- Copies and removal ----

void COSMCommandBar::Copy(const COSMCommandBar* source, BOOL recursive)
{
    if (!source || source == this)
        return;
    m_type = source->m_type;
    m_position = source->m_position;
    m_barId = source->m_barId;
    m_flags = source->m_flags;
    m_style = source->m_style;
    m_title = source->m_title;
    m_customizable = source->m_customizable;
    m_mruWidth = source->m_mruWidth;
    m_iconSize = source->m_iconSize;
    m_buttonSize = source->m_buttonSize;
    m_commandBars = source->m_commandBars;
    m_defaultButtonStyle = source->m_defaultButtonStyle;
    m_controls->Copy(source->m_controls.Get(), recursive);
}

COSMCommandBar* COSMCommandBar::Clone(BOOL recursive) const
{
    auto clone = RefPtr<COSMCommandBar>::Adopt(new COSMCommandBar);
    clone->Copy(this, recursive);
    return clone.Detach();
}

void COSMCommandBar::OnRemoved()
{
    StopTracking();
    GetHookManager()->RemoveAll(this);
    ForgetInMouseManager();
    m_controls->RemoveAll();
    if (GetSafeHwnd())
        DestroyWindow();
}

// ---- Owners ----

COSMCommandBars* COSMCommandBar::GetCommandBars() const
{
    for (const COSMCommandBar* bar = this; bar; bar = bar->GetParentCommandBar())
        if (bar->m_commandBars)
            return bar->m_commandBars;
    return nullptr;
}

COSMCommandBar* COSMCommandBar::GetRootParent() const
{
    const COSMCommandBar* bar = this;
    while (COSMCommandBar* parent = bar->GetParentCommandBar())
        bar = parent;
    return const_cast<COSMCommandBar*>(bar);
}

CWnd* COSMCommandBar::GetSite() const
{
    if (const COSMCommandBars* commandBars = GetCommandBars())
        return commandBars->GetSite();
    const COSMCommandBar* root = GetRootParent();
    if (root->m_siteWindow)
        return root->m_siteWindow;
    if (!root->GetSafeHwnd())
    {
        CWinApp* app = AfxGetApp();
        return app ? app->m_pMainWnd : nullptr;
    }
    if (HWND owner = ::GetWindow(root->m_hWnd, GW_OWNER))
        return CWnd::FromHandle(owner);
    return CWnd::FromHandle(::GetParent(root->m_hWnd));
}

CWnd* COSMCommandBar::GetNotifySite() const
{
    for (const COSMCommandBar* bar = this; bar; bar = bar->GetParentCommandBar())
        if (bar->m_commandTargetWindow)
            return bar->m_commandTargetWindow;
    if (GetSafeHwnd())
    {
        if (HWND owner = ::GetWindow(m_hWnd, GW_OWNER))
            return CWnd::FromHandle(owner);
    }
    return GetSite();
}

CFrameWnd* COSMCommandBar::GetFrameSite() const
{
    return dynamic_cast<CFrameWnd*>(GetSite());
}

CWnd* COSMCommandBar::GetOwnerSite() const
{
    const COSMCommandBar* bar = this;
    for (;;)
    {
        if (bar->m_commandTargetWindow)
            return bar->m_commandTargetWindow;
        if (bar->GetSafeHwnd())
        {
            if (HWND owner = ::GetWindow(bar->m_hWnd, GW_OWNER))
                return CWnd::FromHandle(owner);
        }
        const COSMCommandBar* parent = bar->GetParentCommandBar();
        if (!parent)
            return bar->GetSite();
        bar = parent;
    }
}

BOOL COSMCommandBar::IsCustomizeMode() const
{
    const COSMCommandBars* commandBars = GetCommandBars();
    return !m_customizeTool && commandBars && commandBars->IsCustomizeMode();
}

COSMPaintManager* COSMCommandBar::GetPaintManager() const
{
    if (m_paintManager)
        return m_paintManager.Get();
    if (const COSMCommandBars* commandBars = GetCommandBars())
        return commandBars->GetPaintManager();
    if (COSMPaintManager* rootManager = GetRootParent()->m_paintManager.Get())
        return rootManager;
    return GetProcessPaintManager();
}

COSMImageManager* COSMCommandBar::GetImageManager() const
{
    if (m_imageManager)
        return m_imageManager.Get();
    if (const COSMCommandBars* commandBars = GetCommandBars())
        return commandBars->GetImageManager();
    if (COSMImageManager* rootManager = GetRootParent()->m_imageManager.Get())
        return rootManager;
    return ::GetImageManager();
}

void COSMCommandBar::SetPaintManager(COSMPaintManager* paintManager)
{
    m_paintManager = RefPtr<COSMPaintManager>::Retain(paintManager);
    InvalidateLayoutCache();
}

void COSMCommandBar::SetImageManager(COSMImageManager* imageManager)
{
    m_imageManager = RefPtr<COSMImageManager>::Retain(imageManager);
    InvalidateLayoutCache();
}

UINT COSMCommandBar::GetActiveDocTemplate() const
{
    const COSMCommandBars* commandBars = GetCommandBars();
    return commandBars ? commandBars->GetActiveDocTemplateId() : 0;
}
