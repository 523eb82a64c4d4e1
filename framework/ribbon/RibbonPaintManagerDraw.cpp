// The ribbon painter's drawing: tabs, the groups area and groups, their buttons, the quick-access parts, the ribbon's
// part of the frame caption, the context headers, the application button and the popup bars' frames.
#include "framework/ribbon/RibbonPaintManager.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/ribbon/FramePaintManager.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonControls.h"
#include "framework/ribbon/RibbonFrame.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/ribbon/RibbonTab.h"
#include "framework/tabs/TabAppearanceSet.h"
#include "framework/tabs/TabPaintManager.h"
#include "framework/themes/Office2007Images.h"

#include <algorithm>

namespace {

constexpr COLORREF kRibbonMagenta = RGB(255, 0, 255);
// The WINDOW style's caption part and its active and inactive states.
constexpr int kRibbonWindowCaptionPart = 1;
constexpr int kRibbonCaptionActive = 1;
constexpr int kRibbonCaptionInactive = 2;
// DrawImageFlags: an image without alpha is drawn for a glass caption (the key colour fully transparent).
constexpr DWORD kRibbonGlassImage = 1;
const CRect kRibbonFrameTopMargins(0, 5, 0, 3);
const UINT kRibbonCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS;

// A colour the theme text lacks (-1) fills with the system's face instead of an undefined one.
COLORREF RibbonFillColor(COLORREF color)
{
    return color == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_BTNFACE) : color;
}

CRect ClientRectOf(CWnd* window)
{
    CRect rc;
    if (window && window->GetSafeHwnd())
        window->GetClientRect(&rc);
    return rc;
}

BOOL IsWindowMaximized(CWnd* window)
{
    return window && window->GetSafeHwnd() && (::GetWindowLongA(window->GetSafeHwnd(), GWL_STYLE) & WS_MAXIMIZE);
}

// The state of the quick-access and popup buttons: 2 open, 1 highlighted, 0 otherwise.
int RibbonPopupState(const COSMControl* control)
{
    return control->IsPopupOpen() ? 2 : control->GetSelected() ? 1 : 0;
}

// Without their pictures a group, its option button and the scroll buttons are drawn in system colours, so the
// ribbon can still be seen and used.
void DrawPlainRibbonGroup(CDC* dc, const CRect& rc, const CRect& band, BOOL hot)
{
    dc->FillSolidRect(rc, ::GetSysColor(hot ? COLOR_3DLIGHT : COLOR_BTNFACE));
    dc->FillSolidRect(band, ::GetSysColor(COLOR_3DSHADOW));
    dc->Draw3dRect(rc, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
}

void DrawPlainOptionButton(CDC* dc, const COSMControl* control)
{
    const CRect rc = control->GetRect();
    if (control->GetPressed())
        dc->Draw3dRect(rc, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
    else if (control->GetSelected())
        dc->Draw3dRect(rc, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
    // A small corner arrow.
    const COLORREF color = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    for (int i = 0; i < 4; ++i)
        dc->FillSolidRect(CRect(rc.right - 5 - i, rc.bottom - 5 - i, rc.right - 4, rc.bottom - 4 - i), color);
}

void DrawPlainScrollButton(CDC* dc, const COSMControl* control, BOOL scrollLeft)
{
    const CRect rc = control->GetRect();
    const int face = control->GetPressed() ? COLOR_3DSHADOW : control->GetSelected() ? COLOR_3DLIGHT : COLOR_BTNFACE;
    dc->FillSolidRect(rc, ::GetSysColor(face));
    dc->Draw3dRect(rc, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
    // The arrow: a triangle of one-pixel columns pointing the way the groups move.
    const CPoint centre = rc.CenterPoint();
    const COLORREF color = ::GetSysColor(COLOR_BTNTEXT);
    for (int i = 0; i < 4; ++i)
    {
        const int x = scrollLeft ? centre.x - 2 + i : centre.x + 1 - i;
        dc->FillSolidRect(CRect(x, centre.y - i, x + 1, centre.y + i + 1), color);
    }
}

}  // namespace

// ---- Tabs ----

void COSMRibbonPaintManager::DrawRibbonTab(CDC* dc, COSMRibbonTab* tab)
{
    if (!dc || !tab)
        return;
    COSMTabManager* manager = tab->GetTabManager();
    CRect rc = tab->GetRect();
    COSMTabAppearanceSet::AdjustRectByPosition(rc, 0, 1, -1, -1, manager ? manager->GetPosition() : 0);
    const TabState st = GetTabState(tab);
    const int color = tab->GetContextColor();
    if (color == 0 && (st.selected || st.hot))
    {
        const int state = st.selected && st.focused                     ? 5
                          : st.selected && st.hot                       ? 4
                          : st.selected                                 ? 3
                          : manager && manager->GetPressedItem() == tab ? 2
                          : st.hot                                      ? 1
                                                                        : 0;
        if (COSMOffice2007Image* image = LoadImage("RIBBONTAB"))
            image->DrawImage(dc, rc, image->GetStateRect(state, 6), CRect(5, 5, 5, 5), kRibbonMagenta);
    }
    else if (color != 0 && (st.selected || st.hot))
    {
        if (st.selected && (st.focused || st.hot))
        {
            if (COSMOffice2007Image* image = LoadImage("RIBBONTAB"))
                image->DrawImage(dc, rc, image->GetStateRect(5, 6), CRect(5, 5, 5, 5), kRibbonMagenta);
        }
        else if (COSMOffice2007Image* image = LoadImage(FormatImageName("CONTEXTTAB%s", GetContextColorWord(color))))
        {
            image->DrawImagePart(dc, rc, image->GetStateRect(st.selected ? 3 : 1, 5), CRect(5, 5, 5, 5));
        }
    }
    // A cut caption: a separator after the tab.
    if (tab->GetLength() < tab->GetContentLength())
    {
        if (COSMOffice2007Image* image = LoadImage("RIBBONTABSEPARATOR"))
            image->DrawImagePart(dc, CRect(rc.right, rc.top, rc.right + 1, rc.bottom), image->GetStateRect(0, 1),
                                 CRect(0, 0, 0, 0));
    }
    const COSMRibbonContextHeader* header = color ? tab->GetContextHeader() : nullptr;
    if (header && (header->m_firstTab == tab || header->m_lastTab == tab))
    {
        if (COSMOffice2007Image* image = LoadImage("CONTEXTTABSEPARATOR"))
        {
            if (header->m_firstTab == tab)
                image->DrawImagePart(dc, CRect(rc.left, rc.top, rc.left + 1, rc.bottom - 1), image->GetStateRect(0, 1),
                                     CRect(0, 0, 0, 0));
            if (header->m_lastTab == tab)
                image->DrawImagePart(dc, CRect(rc.right, rc.top, rc.right + 1, rc.bottom - 1),
                                     image->GetStateRect(0, 1), CRect(0, 0, 0, 0));
        }
    }
}

// ---- The bar and its groups ----

void COSMRibbonPaintManager::FillGroupsBackground(CDC* dc, COSMRibbonTab* tab, CRect rc)
{
    const int color = tab ? tab->GetContextColor() : 0;
    const CString name = color ? FormatImageName("CONTEXTTAB%sCLIENT", GetContextColorWord(color)) : "RIBBONGROUPS";
    if (COSMOffice2007Image* image = LoadImage(name))
        image->DrawImagePart(dc, rc, image->GetStateRect(0, 1), CRect(8, 8, 8, 8));
}

void COSMRibbonPaintManager::FillRibbonBar(CDC* dc, COSMRibbonBar* ribbon)
{
    if (!dc || !ribbon)
        return;
    CRect rc = ClientRectOf(ribbon);
    if (ribbon->IsFrameThemeEnabled())
        rc.top += m_frameCaptionHeight;
    const COLORREF face = RibbonFillColor(m_clrRibbonFace);
    dc->FillSolidRect(CRect(rc.left, rc.top, rc.right, rc.top + m_tabsHeight), face);
    dc->FillSolidRect(CRect(rc.left, rc.top + m_tabsHeight, rc.right, rc.bottom), face);
    if (ribbon->IsQuickAccessBelow())
    {
        if (COSMOffice2007Image* image = LoadImage("RIBBONQUICKACCESSFRAME"))
            image->DrawImagePart(dc, ribbon->GetQuickAccessRect(), image->GetStateRect(0, 1), CRect(3, 3, 3, 3));
    }
    if (ribbon->IsGroupsVisible() || ribbon->IsQuickAccessBelow())
        return;
    // A minimized ribbon ends in an edge of two lines.
    COSMPaintManager::HorizontalLine(dc, rc.left, rc.bottom - 2, rc.right, m_clrMinimizedFrameEdgeShadow);
    COSMPaintManager::HorizontalLine(dc, rc.left, rc.bottom - 1, rc.right, m_clrMinimizedFrameEdgeHighLight);
}

void COSMRibbonPaintManager::FillRibbonFace(CDC* dc, CWnd* window)
{
    if (dc)
        dc->FillSolidRect(ClientRectOf(window), RibbonFillColor(m_clrRibbonFace));
}

void COSMRibbonPaintManager::DrawGroup(CDC* dc, COSMRibbonGroup* group)
{
    if (!dc || !group || group->IsReduced())
        return;
    const CRect rc = group->GetRect();
    const CRect band(rc.left, rc.bottom - m_groupCaptionHeight, rc.right, rc.bottom);
    const CRect client(rc.left, rc.top, rc.right, rc.bottom - m_groupCaptionHeight);
    const COSMRibbonTab* tab = group->GetRibbonTab();
    const BOOL context = tab && tab->GetContextColor() != 0;
    const int state = group->IsHotGroup() ? 1 : 0;
    COSMOffice2007Image* clientImage = LoadImage(context ? "CONTEXTTABGROUPCLIENT" : "RIBBONGROUPCLIENT");
    COSMOffice2007Image* captionImage = LoadImage(context ? "CONTEXTTABGROUPCAPTION" : "RIBBONGROUPCAPTION");
    if (clientImage)
        clientImage->DrawImagePart(dc, client, clientImage->GetStateRect(state, 2), CRect(5, 5, 5, 5));
    if (captionImage)
        captionImage->DrawImagePart(dc, band, captionImage->GetStateRect(state, 2), CRect(5, 5, 5, 5));
    const BOOL plain = !clientImage && !captionImage;
    if (plain)
        DrawPlainRibbonGroup(dc, rc, band, state != 0);

    CString caption = group->GetCaption();
    COSMPaintManager::StripMnemonics(caption);
    CRect text = band;
    text.OffsetRect(0, -1);
    if (group->IsOptionButtonVisible())
        text.right -= m_groupCaptionHeight + 1;
    text.DeflateRect(2, 2);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const BOOL noColor = m_clrGroupCaptionText == static_cast<COLORREF>(-1);
    COSMFontDC font(dc, &m_font,
                    !noColor ? m_clrGroupCaptionText : ::GetSysColor(plain ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
    dc->DrawText(caption, text, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    dc->SetBkMode(oldMode);
}

CSize COSMRibbonPaintManager::DrawControlGroupOption(CDC* dc, COSMControl* control, BOOL draw)
{
    if (draw && dc && control)
    {
        const int state = control->GetPressed() ? 2 : control->GetSelected() ? 1 : 0;
        if (COSMOffice2007Image* image = LoadImage("RIBBONOPTIONBUTTON"))
            image->DrawImage(dc, control->GetRect(), image->GetStateRect(state, 4), CRect(3, 2, 2, 2), kRibbonMagenta);
        else
            DrawPlainOptionButton(dc, control);
    }
    return CSize(15, 14);
}

CSize COSMRibbonPaintManager::DrawControlGroupPopup(CDC* dc, COSMControl* control, BOOL draw)
{
    if (!dc || !control)
        return CSize(0, 0);
    const int state = RibbonPopupState(control);
    const auto* popup = dynamic_cast<const COSMRibbonGroupControlPopup*>(control);
    COSMRibbonGroup* group = popup ? popup->GetGroup() : nullptr;
    if (!group)
    {
        // A group's copy on the quick-access row: a small button.
        if (draw)
        {
            if (COSMOffice2007Image* image = LoadImage("RIBBONGROUPQUICKACCESS"))
                image->DrawImageFlags(dc, control->GetRect(), image->GetStateRect(state, 3), CRect(2, 2, 2, 2),
                                      kRibbonMagenta, IsControlOnDwmCaption(control) ? kRibbonGlassImage : 0);
        }
        return m_pOwner ? m_pOwner->DrawToolBarControl(dc, control, draw) : CSize(0, 0);
    }

    const CRect rc = control->GetRect();
    const COSMRibbonTab* tab = group->GetRibbonTab();
    const int color = tab ? tab->GetContextColor() : 0;
    int width = std::max(42, 2 * (m_pOwner ? m_pOwner->GetRawControlHeight() : 22) - 3);
    const int height = 3 * GetControlHeight();
    COSMFontDC font(dc, m_pOwner ? m_pOwner->GetControlFont(control) : &m_font);
    const int textHeight = m_pOwner ? m_pOwner->GetSplitButtonDropDownWidth() : 27;
    if (!draw)
    {
        const CSize caption =
            m_pOwner ? m_pOwner->DrawControlCaptionTwoLines(dc, control, CRect(0, 0, 0, 0), FALSE, FALSE, TRUE)
                     : CSize(0, 0);
        return CSize(std::max(width, static_cast<int>(caption.cx) + 5), height);
    }

    const CString name =
        color ? FormatImageName("CONTEXTTAB%sGROUPBUTTON", GetContextColorWord(color)) : CString("RIBBONGROUPBUTTON");
    if (COSMOffice2007Image* image = LoadImage(name))
        image->DrawImagePart(dc, rc, image->GetStateRect(state, 3), CRect(5, 5, 5, 5));
    if (COSMImageManagerIcon* icon = control->GetImage(0); icon && m_pOwner)
    {
        const CSize size(icon->GetWidth(), icon->GetHeight());
        CPoint point(rc.CenterPoint().x - size.cx / 2, rc.top + 4);
        if (size.cx < 20)
        {
            // A small icon sits in a frame of its own.
            if (COSMOffice2007Image* frame = LoadImage("RIBBONGROUPBUTTONICON"))
            {
                const CRect source = frame->GetStateRect(0, 1);
                frame->DrawImagePart(dc,
                                     CRect(CPoint(rc.CenterPoint().x - source.Width() / 2, rc.top + 2), source.Size()),
                                     source, CRect(0, 0, 0, 0));
            }
            point.y = rc.top + 9;
        }
        const int enabled = control->GetEnabled();
        m_pOwner->DrawControlImage(dc, point, size, icon, control->GetSelected(), control->GetPressed(), enabled, FALSE,
                                   control->IsPopupOpen(), TRUE);
    }
    if (m_pOwner)
    {
        const CRect caption(rc.left, rc.bottom - (m_groupCaptionHeight + 2) - textHeight, rc.right,
                            rc.bottom - (m_groupCaptionHeight + 2));
        dc->SetTextColor(m_pOwner->GetControlTextColor(control));
        m_pOwner->DrawControlCaptionTwoLines(dc, control, caption, TRUE, FALSE, TRUE);
    }
    return CSize(width, height);
}

void COSMRibbonPaintManager::FillGroupPopupToolBar(CDC* dc, COSMRibbonGroup* group, COSMCommandBar* bar)
{
    if (!dc)
        return;
    CRect rc = ClientRectOf(bar);
    dc->FillSolidRect(rc, RGB(191, 219, 255));
    rc.InflateRect(3, 3);
    FillGroupsBackground(dc, group ? group->GetRibbonTab() : nullptr, rc);
}

void COSMRibbonPaintManager::FillMorePopupToolBar(CDC* dc, COSMCommandBar* bar)
{
    if (!dc)
        return;
    COSMOffice2007Image* image = LoadImage("MOREPOPUPBARFRAME");
    if (!image)
        image = LoadImage("POPUPBARFRAME");
    // Without either frame the popup still gets the ribbon's face under its controls.
    if (image)
        image->DrawImagePart(dc, ClientRectOf(bar), image->GetStateRect(0, 1), CRect(4, 4, 4, 4));
    else
        FillRibbonFace(dc, bar);
}

// ---- Quick access and scroll buttons ----

void COSMRibbonPaintManager::DrawQuickAccessImage(CDC* dc, COSMControl* control, LPCSTR name)
{
    if (!dc || !control)
        return;
    if (COSMOffice2007Image* image = LoadImage(name))
        image->DrawImageFlags(dc, control->GetRect(), image->GetStateRect(RibbonPopupState(control), 4),
                              CRect(2, 2, 2, 2), kRibbonMagenta,
                              IsControlOnDwmCaption(control) ? kRibbonGlassImage : 0);
}

void COSMRibbonPaintManager::DrawQuickAccessButton(CDC* dc, COSMControl* control)
{
    DrawQuickAccessImage(dc, control, "RIBBONQUICKACCESSBUTTON");
}

void COSMRibbonPaintManager::DrawQuickAccessMoreButton(CDC* dc, COSMControl* control)
{
    DrawQuickAccessImage(dc, control, "RIBBONQUICKACCESSMORE");
}

void COSMRibbonPaintManager::DrawGroupsScrollButton(CDC* dc, COSMControl* control, BOOL scrollLeft)
{
    if (!dc || !control)
        return;
    COSMOffice2007Image* frame = LoadImage(scrollLeft ? "RIBBONGROUPSSCROLLLEFT" : "RIBBONGROUPSSCROLLRIGHT");
    if (!frame)
    {
        // Nor its glyph: the plain button draws its own arrow.
        DrawPlainScrollButton(dc, control, scrollLeft);
        return;
    }
    frame->SetPreserveOrientation(TRUE);
    const int state = control->GetPressed() ? 2 : control->GetSelected() ? 1 : 0;
    const CRect rc = control->GetRect();
    frame->DrawImage(dc, rc, frame->GetStateRect(state, 3), CRect(4, 6, 3, 6), kRibbonMagenta);
    COSMOffice2007Image* glyph = LoadImage(scrollLeft ? "RIBBONGROUPSSCROLLLEFTGLYPH" : "RIBBONGROUPSSCROLLRIGHTGLYPH");
    if (!glyph)
        return;
    const CRect source = glyph->GetStateRect(state, 3);
    const CPoint origin((rc.left + rc.right - source.Width()) / 2, (rc.top + rc.bottom - source.Height()) / 2);
    glyph->DrawImage(dc, CRect(origin, source.Size()), source, CRect(0, 0, 0, 0), kRibbonMagenta);
}

// ---- The application button ----

void COSMRibbonPaintManager::DrawRibbonSystemButton(CDC* dc, COSMControl* control, CRect rc)
{
    if (!dc || !control)
        return;
    COSMCommandBar* bar = control->GetParent();
    const auto* ribbon = dynamic_cast<const COSMRibbonBar*>(bar);
    if (ribbon && (!ribbon->IsCaptionVisible() || !ribbon->IsTabsVisible()))
    {
        // Without the caption or the tabs the button is an ordinary toolbar button.
        if (m_pOwner)
            m_pOwner->DrawToolBarControl(dc, control, TRUE);
        return;
    }
    const int state = control->IsPopupOpen() ? 4 : control->GetSelected() ? 2 : 0;
    COSMImageManagerIcon* icon = control->GetImage(32);
    if (icon && icon->GetWidth() > 32)
    {
        // A large picture is the whole button.
        const CPoint point((rc.left + rc.right - icon->GetWidth()) / 2,
                           (rc.top + rc.bottom + 1 - icon->GetHeight()) / 2);
        icon->SetAlphaBuffer(IsControlOnDwmCaption(control));
        icon->Draw(dc, point, icon->GetImageForState(state));
        icon->SetAlphaBuffer(FALSE);
        return;
    }
    COSMOffice2007Image* image = nullptr;
    if (rc.Width() > 54 && rc.Height() > 54)
        image = LoadImage("FRAMESYSTEMBUTTON52");
    if (!image)
        image = LoadImage("FRAMESYSTEMBUTTON");
    if (!image)
    {
        // Without the round picture the button keeps the toolbar's face, so it can still be seen and found.
        if (m_pOwner)
            m_pOwner->DrawToolBarControl(dc, control, TRUE);
        return;
    }
    int shift = 0;
    if (rc.top < 0)
    {
        shift = rc.top;
        rc.OffsetRect(0, -rc.top);
    }
    const CRect source = image->GetStateRect(state / 2, 3);
    const CPoint origin((rc.left + rc.right - source.Width()) / 2, (rc.top + rc.bottom - source.Height()) / 2);
    image->DrawImagePart(dc, CRect(origin, source.Size()), source, CRect(0, 0, 0, 0));
    if (icon)
    {
        const CPoint point((rc.left + rc.right - icon->GetWidth()) / 2,
                           (rc.top + rc.bottom + 1 - icon->GetHeight()) / 2 + shift);
        icon->Draw(dc, point, icon->GetImageForState(state));
        return;
    }
    CWnd* site = bar ? bar->GetSite() : nullptr;
    if (HICON frameIcon = COSMFramePaintManager::GetFrameIcon(site))
        ::DrawIconEx(dc->GetSafeHdc(), (rc.left - 33 + rc.right) / 2, shift + (rc.top - 31 + rc.bottom) / 2, frameIcon,
                     32, 32, 0, nullptr, DI_NORMAL);
}

// ---- The caption ----

CFont* COSMRibbonPaintManager::GetCaptionFont()
{
    auto* frame = m_pOwner ? dynamic_cast<COSMFramePaintManager*>(m_pOwner->GetFramePaintManager()) : nullptr;
    return frame ? static_cast<CFont*>(&frame->GetCaptionFont()) : static_cast<CFont*>(&m_font);
}

void COSMRibbonPaintManager::DrawQuickAccessArea(CDC* dc, COSMRibbonBar* ribbon, CRect rc, BOOL dwmCaption)
{
    const COSMRibbonQuickAccessControls* controls = ribbon->GetQuickAccessControls();
    if (ribbon->IsQuickAccessBelow() || !ribbon->IsQuickAccessVisible() || !controls ||
        controls->GetVisibleCount() == 0)
        return;
    CRect overlap;
    const BOOL glass = dwmCaption && overlap.IntersectRect(rc, ribbon->GetCaptionRect());
    if (COSMOffice2007Image* image = LoadImage(glass ? "RIBBONQUICKACCESSAREADWM" : "RIBBONQUICKACCESSAREA"))
    {
        image->SetPreserveOrientation(TRUE);
        image->DrawImagePart(dc, rc, image->GetStateRect(0, 1), CRect(16, 3, 16, 3));
    }
}

void COSMRibbonPaintManager::DrawRibbonFrameCaption(CDC* dc, COSMRibbonBar* ribbon, BOOL active)
{
    if (!dc || !ribbon)
        return;
    CWnd* frame = ribbon->GetSite();
    const CRect rc = ribbon->GetCaptionRect();
    const BOOL dwm = ribbon->IsDwmEnabled();
    if (!dwm)
    {
        COSMOffice2007Image* left = LoadImage("FRAMETOPLEFT");
        if (!left)
            return;
        const int state = active ? 0 : 1;
        const CRect leftSource = left->GetStateRect(state, 2);
        left->DrawImage(dc, CRect(rc.left, rc.top, rc.left + leftSource.Width(), rc.bottom), leftSource,
                        kRibbonFrameTopMargins, kRibbonMagenta);
        int rightWidth = 0;
        if (COSMOffice2007Image* right = LoadImage("FRAMETOPRIGHT"))
        {
            const CRect source = right->GetStateRect(state, 2);
            rightWidth = source.Width();
            right->DrawImagePart(dc, CRect(rc.right - rightWidth, rc.top, rc.right, rc.bottom), source,
                                 kRibbonFrameTopMargins);
        }
        if (COSMOffice2007Image* centre = LoadImage("FRAMETOPCENTER"))
            centre->DrawImagePart(dc, CRect(rc.left + leftSource.Width(), rc.top, rc.right - rightWidth, rc.bottom),
                                  centre->GetStateRect(state, 2), kRibbonFrameTopMargins);
    }
    else
    {
        // Glass: black is what the compositor shows through.
        dc->FillSolidRect(rc, RGB(0, 0, 0));
    }

    const CRect qa = ribbon->GetQuickAccessRect();
    DrawQuickAccessArea(dc, ribbon,
                        CRect(qa.left - 15, qa.top + 2, qa.right, qa.top + 2 + ribbon->GetQuickAccessHeight()), dwm);

    if (!ribbon->GetSystemButton())
    {
        if (HICON icon = COSMFramePaintManager::GetFrameSmallIcon(frame))
        {
            const int width = SystemMetric(SM_CXSMICON);
            const int height = SystemMetric(SM_CYSMICON);
            ::DrawIconEx(dc->GetSafeHdc(), rc.left + 10, (rc.bottom - rc.top - height) / 2, icon, width, height, 0,
                         nullptr, DI_NORMAL);
        }
    }
    COSMRibbonContextHeaders* headers = ribbon->GetContextHeaders();
    if (headers && headers->GetCount() > 0)
        DrawContextHeaders(dc, ribbon, headers);

    char buffer[512] = {};
    if (frame && frame->GetSafeHwnd())
        ::GetWindowTextA(frame->GetSafeHwnd(), buffer, sizeof buffer);
    const CString text(buffer);
    CRect title = ribbon->GetCaptionTextRect();
    {
        COSMFontDC font(dc, GetCaptionFont());
        const int room = title.Width() - static_cast<int>(dc->GetTextExtent(text).cx);
        if (room >= 0)
            title.left += room / 2;
    }
    const COSMRibbonFrame* ribbonFrame = ribbon->GetRibbonFrame();
    if (IsWindowMaximized(frame) && ribbonFrame)
        title.top += ribbonFrame->GetFrameBorder() / 2;
    if (!dwm)
    {
        if (auto* framePainter =
                m_pOwner ? dynamic_cast<COSMFramePaintManager*>(m_pOwner->GetFramePaintManager()) : nullptr)
            framePainter->DrawCaptionText(dc, title, frame, active);
    }
    else
    {
        DrawDwmCaptionText(dc, title, text, frame, active);
    }
}

void COSMRibbonPaintManager::DrawRibbonCaptionArea(CDC* dc, COSMRibbonBar* ribbon)
{
    if (!dc || !ribbon)
        return;
    CRect rc = ribbon->GetCaptionRect();
    rc.top -= 1;
    if (COSMOffice2007Image* centre = LoadImage("FRAMETOPCENTER"))
        centre->DrawImagePart(dc, rc, centre->GetStateRect(0, 2), kRibbonFrameTopMargins);
    const CRect qa = ribbon->GetQuickAccessRect();
    DrawQuickAccessArea(dc, ribbon, CRect(qa.left - 15, 0, qa.right, ribbon->GetQuickAccessHeight()), FALSE);
    COSMRibbonContextHeaders* headers = ribbon->GetContextHeaders();
    if (headers && headers->GetCount() > 0)
        DrawContextHeaders(dc, ribbon, headers);
}

void COSMRibbonPaintManager::DrawContextHeaders(CDC* dc, COSMRibbonBar* ribbon, COSMRibbonContextHeaders* headers)
{
    if (!dc || !ribbon || !headers || headers->GetCount() == 0)
        return;
    COSMTabColorSet* colors = m_tabPaintManager->GetColorSet();
    COSMFontDC font(dc, m_tabPaintManager->GetFont(FALSE, FALSE),
                    colors ? static_cast<COLORREF>(colors->m_clrNormalText) : ::GetSysColor(COLOR_BTNTEXT));
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COSMRibbonFrame* frame = ribbon->GetRibbonFrame();
    const BOOL dwm = ribbon->IsDwmEnabled();
    for (int i = 0; i < headers->GetCount(); ++i)
    {
        const COSMRibbonContextHeader* header = headers->GetAt(i);
        COSMOffice2007Image* image =
            LoadImage(FormatImageName("ContextTab%sHeader", GetContextColorWord(header->m_color)));
        if (!image)
            break;
        image->DrawImagePart(dc, header->m_rect, image->GetStateRect(0, 1), CRect(1, 1, 1, 1));
        CRect text = header->m_rect;
        text.left += 6;
        text.top += (ribbon->IsFrameThemeEnabled() && frame ? frame->GetFrameBorder() : 0) - 2;
        if (!dwm)
            dc->DrawText(header->m_caption, text, kRibbonCaptionFormat);
        else
            DrawDwmCaptionText(dc, text, header->m_caption, ribbon->GetSite(), frame ? frame->IsActive() : TRUE);
    }
    dc->SetBkMode(oldMode);
}

void COSMRibbonPaintManager::DrawDwmCaptionText(CDC* dc, CRect rc, const CString& text, CWnd* frame, BOOL active)
{
    DrawDwmCaptionText(GetVisualStyleFunctions(FALSE), dc, rc, text, frame, active);
}

void COSMRibbonPaintManager::DrawDwmCaptionText(COSMVisualStyleFunctions& functions, CDC* dc, CRect rc,
                                                const CString& text, CWnd* frame, BOOL active)
{
    if (!dc)
        return;
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (IsWindowMaximized(frame))
    {
        // A maximized frame's caption is dark glass.
        const COLORREF old = dc->SetTextColor(RGB(255, 255, 255));
        dc->DrawText(text, rc, format);
        dc->SetTextColor(old);
        return;
    }
    COSMThemeTextStyle style;
    style.themeClass = L"WINDOW";
    style.part = kRibbonWindowCaptionPart;
    style.state = active ? kRibbonCaptionActive : kRibbonCaptionInactive;
    style.flags = DTT_COMPOSITED | DTT_GLOWSIZE;
    style.glowSize = 8;
    style.font = static_cast<HFONT>(GetCaptionFont()->GetSafeHandle());
    style.textColor = RGB(0, 0, 0);
    // Unthemed, or when the buffered path fails, the text is drawn plainly in black.
    style.fallbackColor = RGB(0, 0, 0);
    rc.InflateRect(5, 0);
    DrawThemeTextBuffered(functions, dc, text, rc, format, style);
}
