// The ribbon's application button and its menu: the button's double click and exclusion, the menu's foot buttons,
// pages, list items and captions, and the recent-file list.
#include "framework/ribbon/RibbonSystemButton.h"

#include "classlib/RecentFileList.h"
#include "classlib/WinApp.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonPaintManager.h"
#include "framework/themes/Office2007Images.h"

#include <algorithm>

IMPLEMENT_SERIAL(COSMRibbonControlSystemButton, COSMControlPopup, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonSystemPopupBar, COSMPopupBar, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonSystemPopupBarPage, COSMPopupBar, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonControlSystemPopupBarButton, COSMControlButton, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonControlSystemPopupBarListItem, COSMControlButton, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonControlSystemPopupBarListCaption, COSMControl, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonControlSystemRecentFileList, COSMRibbonControlSystemPopupBarListCaption,
                 VERSIONABLE_SCHEMA | 0x23)

BEGIN_MESSAGE_MAP(COSMRibbonSystemPopupBar, COSMPopupBar)
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

namespace {

constexpr DWORD kSystemButtonFlags = 24;
// The part of the button the menu covers while the ribbon shows its caption and tabs.
constexpr int kSystemButtonMenuOverlap = 18;
// Control flags of list captions (no focus, not movable, wrapped, stretched) and of recent-file entries.
constexpr DWORD kListCaptionFlags = 154;
constexpr DWORD kRecentEntryFlags = 72;
constexpr int kListWidth = 300;
constexpr int kListItemHeight = 21;
constexpr int kListCaptionHeight = 27;
// The hide flag foot buttons carry while the ordinary layout runs.
constexpr DWORD kHideFootButton = 0x04;
// The list items' text starts this far in.
constexpr int kListTextIndent = 7;
// The longest file title an entry shows.
constexpr int kRecentTitleLimit = 260;

COSMRibbonSystemPopupBar* SystemPopupBarOf(const COSMCommandBar* bar)
{
    return bar ? dynamic_cast<COSMRibbonSystemPopupBar*>(const_cast<COSMCommandBar*>(bar)) : nullptr;
}

COSMRibbonPaintManager* RibbonPainterOf(COSMControl* control)
{
    COSMPaintManager* paintManager = control ? control->GetPaintManager() : nullptr;
    return paintManager ? dynamic_cast<COSMRibbonPaintManager*>(paintManager->GetRibbonPaintManager()) : nullptr;
}

// A colour of the Office 2007 resources' "Ribbon" section, else the system colour.
COLORREF RibbonResourceColor(LPCSTR key, int fallback)
{
    const COLORREF color = COSMOffice2007Images::Instance()->GetImageColor("Ribbon", key);
    return color == static_cast<COLORREF>(-1) ? ::GetSysColor(fallback) : color;
}

}  // namespace

// ---- The application button ----

COSMRibbonControlSystemButton::COSMRibbonControlSystemButton()
{
    m_flags = kSystemButtonFlags;
}

void COSMRibbonControlSystemButton::Draw(CDC* dc)
{
    if (COSMRibbonPaintManager* painter = RibbonPainterOf(this))
        painter->DrawRibbonSystemButton(dc, this, GetRect());
    else if (COSMPaintManager* paintManager = GetPaintManager())
        paintManager->DrawToolBarControl(dc, this, TRUE);
}

BOOL COSMRibbonControlSystemButton::OnLButtonDblClk(CPoint /*point*/)
{
    if (COSMCommandBars* commandBars = GetCommandBars())
        commandBars->ClosePopups();
    CWnd* site = m_parent ? m_parent->GetSite() : nullptr;
    if (site && site->GetSafeHwnd() && (site->GetStyle() & WS_CHILD))
        OnExecute();
    else if (site && site->GetSafeHwnd())
        site->SendMessage(WM_SYSCOMMAND, kDoubleClickCommand, 0);
    return TRUE;
}

void COSMRibbonControlSystemButton::AdjustExcludeRect(CRect& rect, BOOL vertical)
{
    const auto* ribbon = dynamic_cast<const COSMRibbonBar*>(m_parent);
    if (ribbon && ribbon->IsCaptionVisible() && ribbon->IsTabsVisible() &&
        dynamic_cast<COSMRibbonSystemPopupBar*>(GetCommandBar()))
    {
        rect.bottom -= kSystemButtonMenuOverlap;
        return;
    }
    COSMControlPopup::AdjustExcludeRect(rect, vertical);
}

COSMControl* COSMRibbonControlSystemButton::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonControlSystemButton;
    clone->Copy(this, recursive);
    return clone;
}

// ---- The application menu ----

COSMRibbonSystemPopupBar::COSMRibbonSystemPopupBar()
{
    m_style &= ~kStyleGripper;
}

CRect COSMRibbonSystemPopupBar::GetBorders()
{
    return CRect(kBorderLeft, kBorderTop, kBorderRight, kBorderBottom);
}

LRESULT COSMRibbonSystemPopupBar::OnNcHitTest(CPoint point)
{
    // Clicks on the button that opened the menu reach the ribbon (a second click closes the menu, a double click
    // closes the frame).
    const COSMControl* opener = GetControlPopup();
    if (opener && opener->IsKindOf(RUNTIME_CLASS(COSMRibbonControlSystemButton)) && opener->GetParent() &&
        opener->GetParent()->GetSafeHwnd())
    {
        CRect button = opener->GetRect();
        opener->GetParent()->ClientToScreen(&button);
        if (button.PtInRect(point))
            return HTTRANSPARENT;
    }
    return COSMPopupBar::OnNcHitTest(point);
}

std::vector<CRect> COSMRibbonSystemPopupBar::PlaceFootButtons(int cx, int cy, const std::vector<int>& widths)
{
    std::vector<CRect> rects(widths.size());
    int x = cx - kBorderRight + 1;
    for (size_t i = widths.size(); i-- > 0;)
    {
        rects[i].SetRect(x - widths[i], cy - kBorderBottom + 4, x, cy - 3);
        x -= widths[i] + kFootButtonGap;
    }
    return rects;
}

CSize COSMRibbonSystemPopupBar::CalcDynamicLayout(int length, DWORD mode)
{
    std::vector<COSMControl*> footButtons;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        COSMControl* control = GetControl(i);
        if (control->IsKindOf(RUNTIME_CLASS(COSMRibbonControlSystemPopupBarButton)))
        {
            control->SetHideFlags(control->GetHideFlags() | kHideFootButton);
            footButtons.push_back(control);
        }
    }
    const CSize size = COSMPopupBar::CalcDynamicLayout(length, mode);
    if (footButtons.empty())
        return size;

    CClientDC dc(GetSafeHwnd() ? this : CWnd::GetDesktopWindow());
    COSMPaintManager* paintManager = GetPaintManager();
    COSMFontDC font(&dc, paintManager ? paintManager->GetCommandBarFont(this) : nullptr);
    std::vector<int> widths;
    std::vector<CSize> sizes;
    for (COSMControl* button : footButtons)
    {
        button->SetHideFlags(button->GetHideFlags() & ~kHideFootButton);
        sizes.push_back(button->GetSize(&dc));
        widths.push_back(sizes.back().cx);
    }
    const std::vector<CRect> rects = PlaceFootButtons(size.cx, size.cy, widths);
    for (size_t i = 0; i < footButtons.size(); ++i)
        footButtons[i]->SetRect(rects[i]);
    return size;
}

void COSMRibbonSystemPopupBar::DrawCommandBarFrame(CDC* dc)
{
    if (!dc)
        return;
    CRect client;
    GetClientRect(&client);
    DrawMenuFrame(dc, client);
    DrawOpenerOverMenu(dc, client);
    for (int i = 0; i < GetControlCount(); ++i)
    {
        const COSMControl* control = GetControl(i);
        if (control->GetWrap() && control->IsVisible())
        {
            DrawRecentColumn(dc, control->GetRowRect());
            break;
        }
    }
}

void COSMRibbonSystemPopupBar::DrawMenuFrame(CDC* dc, const CRect& client)
{
    COSMRibbonPaintManager* painter = RibbonPainterOf(GetControlPopup());
    if (COSMOffice2007Image* image = painter ? painter->LoadImage("RIBBONSYSTEMMENU") : nullptr)
    {
        image->DrawImagePart(dc, client, image->GetStateRect(0, 1), GetBorders());
        return;
    }
    // Without its picture the menu is filled as any popup bar.
    COSMPopupBar::DrawCommandBarFrame(dc);
}

void COSMRibbonSystemPopupBar::DrawOpenerOverMenu(CDC* dc, const CRect& client)
{
    // The menu opens over the button's foot: the button is drawn again on top so it stays whole.
    COSMControl* opener = GetControlPopup();
    auto* ribbon = opener && opener->IsKindOf(RUNTIME_CLASS(COSMRibbonControlSystemButton))
                       ? dynamic_cast<COSMRibbonBar*>(opener->GetParent())
                       : nullptr;
    COSMRibbonPaintManager* painter = RibbonPainterOf(opener);
    if (!ribbon || !painter || !ribbon->IsCaptionVisible() || !ribbon->GetSafeHwnd() || !GetSafeHwnd())
        return;
    CRect button = opener->GetRect();
    ::MapWindowPoints(ribbon->GetSafeHwnd(), GetSafeHwnd(), reinterpret_cast<POINT*>(&button), 2);
    CRect overlap;
    if (overlap.IntersectRect(button, client))
        painter->DrawRibbonSystemButton(dc, opener, button);
}

void COSMRibbonSystemPopupBar::DrawRecentColumn(CDC* dc, const CRect& column)
{
    dc->FillSolidRect(column, RibbonResourceColor("RecentFileListBackground", COLOR_BTNFACE));
}

COSMCommandBar* COSMRibbonSystemPopupBar::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonSystemPopupBar;
    clone->Copy(this, recursive);
    return clone;
}

// ---- Pages ----

COSMRibbonSystemPopupBar* COSMRibbonSystemPopupBarPage::GetSystemPopupBar() const
{
    const COSMControl* opener = GetControlPopup();
    return opener ? SystemPopupBarOf(opener->GetParent()) : nullptr;
}

CSize COSMRibbonSystemPopupBarPage::CalcDynamicLayout(int length, DWORD mode)
{
    CSize size = COSMPopupBar::CalcDynamicLayout(length, mode);
    COSMRibbonSystemPopupBar* menu = GetSystemPopupBar();
    if (menu && menu->GetSafeHwnd())
    {
        CRect client;
        menu->GetClientRect(&client);
        const CRect borders = menu->GetBorders();
        size.cy = std::max<int>(size.cy, client.Height() - borders.top - borders.bottom - 2);
    }
    return size;
}

void COSMRibbonSystemPopupBarPage::AdjustExcludeRect(CRect& rect, BOOL vertical)
{
    COSMRibbonSystemPopupBar* menu = GetSystemPopupBar();
    if (!menu)
    {
        COSMPopupBar::AdjustExcludeRect(rect, vertical);
        return;
    }
    CRect window;
    if (menu->GetSafeHwnd())
        menu->GetWindowRect(&window);
    rect.top = window.top + menu->GetBorders().top + 1;
    rect.right += 1;
}

COSMCommandBar* COSMRibbonSystemPopupBarPage::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonSystemPopupBarPage;
    clone->Copy(this, recursive);
    return clone;
}

// ---- Foot buttons ----

BOOL COSMRibbonControlSystemPopupBarButton::IsSystemMenuButton() const
{
    return SystemPopupBarOf(m_parent) != nullptr;
}

CSize COSMRibbonControlSystemPopupBarButton::GetSize(CDC* dc)
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (IsSystemMenuButton() && paintManager)
        return paintManager->DrawToolBarControl(dc, this, FALSE);
    return COSMControlButton::GetSize(dc);
}

void COSMRibbonControlSystemPopupBarButton::Draw(CDC* dc)
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (!IsSystemMenuButton() || !paintManager)
    {
        COSMControlButton::Draw(dc);
        return;
    }
    DrawFootFace(dc);
    paintManager->DrawToolBarControl(dc, this, TRUE);
}

void COSMRibbonControlSystemPopupBarButton::DrawFootFace(CDC* dc)
{
    const CRect rect = GetRect();
    COSMRibbonPaintManager* painter = RibbonPainterOf(this);
    if (COSMOffice2007Image* image = painter ? painter->LoadImage("RIBBONSYSTEMMENUBUTTON") : nullptr)
    {
        image->DrawImage(dc, rect, image->GetStateRect(GetSelected() ? 1 : 0, 2), CRect(2, 2, 2, 2), RGB(255, 0, 255));
        return;
    }
    // Without its picture: a raised face, lighter while selected.
    dc->FillSolidRect(rect, ::GetSysColor(GetSelected() ? COLOR_3DHILIGHT : COLOR_BTNFACE));
    dc->Draw3dRect(rect, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
}

COSMControl* COSMRibbonControlSystemPopupBarButton::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonControlSystemPopupBarButton;
    clone->Copy(this, recursive);
    return clone;
}

// ---- List items and captions ----

COSMRibbonControlSystemPopupBarListItem::COSMRibbonControlSystemPopupBarListItem()
{
    m_width = kListWidth;
    m_height = kListItemHeight;
}

CSize COSMRibbonControlSystemPopupBarListItem::GetSize(CDC* /*dc*/)
{
    return CSize(m_width, m_height);
}

int COSMRibbonControlSystemPopupBarListItem::CaptionIndent(CDC* dc, BOOL numbered)
{
    if (!numbered)
        return kListTextIndent;
    return kListTextIndent + kListTextIndent + dc->GetTextExtent("0", 1).cx;
}

CString COSMRibbonControlSystemPopupBarListItem::SplitAccessKey(CString& caption)
{
    if (caption.GetLength() <= 2 || caption[0] != '&' || caption[2] != ' ')
        return CString();
    const CString key = caption.Left(2);
    caption = caption.Mid(3);
    return key;
}

void COSMRibbonControlSystemPopupBarListItem::Draw(CDC* dc)
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (!paintManager)
        return;
    paintManager->DrawControlBackground(dc, this);
    dc->SetTextColor(paintManager->GetControlTextColor(this));
    dc->SetBkMode(TRANSPARENT);
    CRect text = GetRect();
    text.left += kListTextIndent;
    CString caption = GetCaption();
    if (m_numbered)
    {
        const CString key = SplitAccessKey(caption);
        if (!key.IsEmpty())
            dc->DrawText(key, CRect(text), DT_SINGLELINE | DT_VCENTER);
        text.left = GetRect().left + CaptionIndent(dc, TRUE);
    }
    dc->DrawText(caption, text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

COSMControl* COSMRibbonControlSystemPopupBarListItem::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonControlSystemPopupBarListItem;
    clone->Copy(this, recursive);
    clone->m_numbered = m_numbered;
    return clone;
}

COSMRibbonControlSystemPopupBarListCaption::COSMRibbonControlSystemPopupBarListCaption()
{
    m_flags = kListCaptionFlags;
    m_width = kListWidth;
    m_height = kListCaptionHeight;
}

CSize COSMRibbonControlSystemPopupBarListCaption::GetSize(CDC* /*dc*/)
{
    return CSize(m_width, m_height);
}

void COSMRibbonControlSystemPopupBarListCaption::Draw(CDC* dc)
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (!paintManager)
        return;
    const CRect rect = GetRect();
    {
        COSMFontDC font(dc, &paintManager->GetBoldFont(), paintManager->GetControlTextColor(this));
        dc->SetBkMode(TRANSPARENT);
        dc->DrawText(GetCaption(), CRect(rect.left + kListTextIndent, rect.top + 4, rect.right, rect.bottom - 5),
                     DT_SINGLELINE);
    }
    dc->FillSolidRect(CRect(rect.left, rect.bottom - 6, rect.right, rect.bottom - 5),
                      RibbonResourceColor("RecentFileListEdgeShadow", COLOR_3DSHADOW));
    dc->FillSolidRect(CRect(rect.left, rect.bottom - 5, rect.right, rect.bottom - 4),
                      RibbonResourceColor("RecentFileListEdgeHighLight", COLOR_3DHILIGHT));
}

COSMControl* COSMRibbonControlSystemPopupBarListCaption::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonControlSystemPopupBarListCaption;
    clone->Copy(this, recursive);
    return clone;
}

// ---- The recent files ----

CString FormatRecentCaption(LPCSTR name, int number)
{
    return FormatRecentCaption(name, number, CP_ACP);
}

CString FormatRecentCaption(LPCSTR name, int number, UINT codePage)
{
    CString escaped;
    for (const char* p = name ? name : ""; *p; ++p)
    {
        if (::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(*p)))
        {
            // A lead byte at the end has no trail byte to take: it is copied alone and the name ends there.
            escaped += *p;
            if (!p[1])
                break;
            escaped += *++p;
            continue;
        }
        if (*p == '&')
            escaped += '&';
        escaped += *p;
    }
    if (number < 1 || number > 9)
        return escaped;
    CString caption;
    caption.Format("&%i %s", number, static_cast<LPCSTR>(escaped));
    return caption;
}

CRecentFileList* COSMRibbonControlSystemRecentFileList::GetRecentFileList() const
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_pRecentFileList : nullptr;
}

void COSMRibbonControlSystemRecentFileList::BuildDynamicItems(DWORD /*layoutMode*/)
{
    CRecentFileList* list = GetRecentFileList();
    COSMControls* controls = GetControls();
    if (!list || list->GetSize() == 0 || !controls)
        return;
    const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(this);
    const UINT first = GetFirstMruId();
    const auto size = static_cast<UINT>(list->GetSize());
    // The entries of the last build: ids first .. first + size - 1 (the id after them is another control's).
    for (;;)
    {
        COSMControl* next = controls->GetAt(GetIndex() + 1);
        if (!next || next->GetID() < first || next->GetID() - first >= size)
            break;
        controls->Remove(next);
    }
    if (IsCustomizeMode())
    {
        SetHideFlags(0);
        SetEnabled(1);
        return;
    }
    for (int i = 0; i < list->GetSize(); ++i)
    {
        const CString& path = (*list)[i];
        if (path.IsEmpty())
            break;
        char title[kRecentTitleLimit + 1] = {};
        if (::GetFileTitleA(path, title, static_cast<WORD>(sizeof title)) != 0)
            lstrcpynA(title, path, static_cast<int>(sizeof title));
        auto* entry = new COSMRibbonControlSystemPopupBarListItem;
        entry->SetNumbered(TRUE);
        controls->AddControl(entry, static_cast<int>(first + static_cast<UINT>(i)), "", GetIndex() + 1 + i, TRUE);
        entry->SetCaption(FormatRecentCaption(title, i + 1));
        entry->SetFlags(kRecentEntryFlags);
        entry->SetTooltip(path);
        entry->SetDescription("");
    }
}

BOOL COSMRibbonControlSystemRecentFileList::IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint /*point*/,
                                                                       int& effect) const
{
    if (bar && bar->GetType() == COSMCommandBar::kTypePopup)
        return TRUE;
    effect = 0;
    return FALSE;
}

COSMControl* COSMRibbonControlSystemRecentFileList::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonControlSystemRecentFileList;
    clone->Copy(this, recursive);
    return clone;
}
