#include "framework/commandbars/MenuBarMDIControls.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/Menu.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/MenuBar.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ResourceManager.h"

IMPLEMENT_DYNCREATE(COSMMenuBarSysMenuPopupBar, COSMPopupBar)
IMPLEMENT_DYNCREATE(COSMControlMDISysMenuPopup, COSMControlPopup)
IMPLEMENT_DYNCREATE(COSMControlMDIButton, COSMControlButton)

namespace {

constexpr int kPopupType = 2;
// The system-command range the popup shows as its own buttons; the description string of a command is
// kDescriptionBase + ((id - kFirstSystemCommand) >> 4).
constexpr UINT kFirstSystemCommand = 0xF000;
constexpr UINT kPastSystemCommands = 0xF1F0;
constexpr UINT kDescriptionBase = IDS_OSM_SC_SIZE;
constexpr int kIconSize = 16;

}  // namespace

// ---- The system-menu popup ----

COSMControlMDISysMenuPopup::COSMControlMDISysMenuPopup()
{
    m_type = kPopupType;
    m_flags |= 0x18;
    m_caption = "-";
    SetControlShadowOn(FALSE);
}

COSMControlMDISysMenuPopup::~COSMControlMDISysMenuPopup()
{
    if (m_icon)
        ::DestroyIcon(m_icon);
}

void COSMControlMDISysMenuPopup::TakeIconOf(HWND child)
{
    auto icon = reinterpret_cast<HICON>(::SendMessageA(child, COSMMenuBar::kMessageGetChildIcon, 0, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(::SendMessageA(child, WM_GETICON, ICON_SMALL, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(::SendMessageA(child, WM_GETICON, ICON_BIG, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(::GetClassLongPtrA(child, GCLP_HICONSM));
    if (!icon)
        icon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32517));  // IDI_WINLOGO
    if (m_icon)
        ::DestroyIcon(m_icon);
    // A copy of our own: the child's icon may go before the control does.
    m_icon = icon ? static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, kIconSize, kIconSize, 0)) : nullptr;
}

void COSMControlMDISysMenuPopup::FillFromSystemMenu(HMENU menu)
{
    COSMCommandBar* popup = GetCommandBar();
    if (!popup)
        return;
    COSMControls* controls = popup->GetControls();
    controls->RemoveAll();
    const UINT defaultItem = ::GetMenuDefaultItem(menu, TRUE, GMDI_USEDISABLED);
    CMenu wrapper;
    wrapper.Attach(menu);
    BOOL beginGroup = FALSE;
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position)
    {
        const UINT id = ::GetMenuItemID(menu, position);
        if (id == 0)
        {
            beginGroup = TRUE;
            continue;
        }
        COSMControl* control = nullptr;
        if (id >= kFirstSystemCommand && id < kPastSystemCommands)
        {
            control = controls->Add(1, static_cast<int>(id));
            if (!control)
                continue;
            control->SetFlags(control->GetFlags() | COSMControl::kFlagManualUpdate);
            char text[256] = {};
            ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
            control->SetCaption(text);
            control->SetDescription(
                GetResourceManager()->LoadStringValue(kDescriptionBase + ((id - kFirstSystemCommand) >> 4)));
            control->SetDefaultItem(defaultItem == static_cast<UINT>(position));
            const UINT state = ::GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
            control->SetEnabled((state & MF_GRAYED) ? 0 : 1);
        }
        else
        {
            control = controls->AddMenuItem(&wrapper, position);
        }
        if (control && beginGroup)
            control->SetBeginGroup(TRUE);
        beginGroup = FALSE;
    }
    wrapper.Detach();
}

void COSMControlMDISysMenuPopup::Draw(CDC* dc)
{
    if (!m_icon)
        return;
    const CRect rect = GetRect();
    ::DrawStateA(dc->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(m_icon), 0, rect.left, rect.top,
                 kIconSize, kIconSize, DST_ICON | DSS_NORMAL);
}

// ---- The minimize, restore and close buttons ----

COSMControlMDIButton::COSMControlMDIButton()
{
    m_flags |= 0x1B;
}

UINT COSMControlMDIButton::CommandOf(UINT id)
{
    switch (id)
    {
    case COSMMenuBar::kMinimizeButtonId:
        return SC_MINIMIZE;
    case COSMMenuBar::kRestoreButtonId:
        return SC_RESTORE;
    case COSMMenuBar::kCloseButtonId:
        return SC_CLOSE;
    default:
        return 0;
    }
}

const char* COSMControlMDIButton::GlyphOf(UINT id)
{
    switch (id)
    {
    case COSMMenuBar::kMinimizeButtonId:
        return "0";
    case COSMMenuBar::kRestoreButtonId:
        return "2";
    case COSMMenuBar::kCloseButtonId:
        return "r";
    default:
        return "";
    }
}

void COSMControlMDIButton::Draw(CDC* dc)
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (!paintManager)
        return;
    paintManager->DrawControlBackground(dc, this);
    // The same pixel size on every display: 8 points at 96 dots per inch.
    CFont marlett;
    marlett.CreatePointFont(::MulDiv(80, 96, dc->GetDeviceCaps(LOGPIXELSY)), "Marlett");
    COSMFontDC font(dc, &marlett, paintManager->GetControlTextColor(this));
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    CRect rect = GetRect();
    dc->DrawText(m_parameter, m_parameter.GetLength(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SetBkMode(oldMode);
}

void COSMControlMDIButton::OnExecute()
{
    auto* menuBar = dynamic_cast<COSMMenuBar*>(m_parent);
    HWND child = menuBar ? menuBar->GetActiveMdiChild(nullptr) : nullptr;
    const UINT command = CommandOf(m_id);
    if (child && command)
        ::PostMessageA(child, WM_SYSCOMMAND, command, 0);
}
