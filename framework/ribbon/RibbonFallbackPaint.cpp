// Plain drawing of the ribbon's groups and popups until the ribbon painter draws them.
#include "framework/ribbon/RibbonFallbackPaint.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/themes/RibbonPaintManager.h"

#include <algorithm>

namespace {

COSMRibbonPaintManager* PainterOf(const COSMRibbonBar* ribbon)
{
    return ribbon ? ribbon->GetRibbonPaintManager() : nullptr;
}

CRect ClientOf(COSMCommandBar* bar)
{
    CRect client;
    if (bar && bar->GetSafeHwnd())
        bar->GetClientRect(&client);
    return client;
}

}  // namespace

void COSMRibbonFallbackPaint::DrawGroup(CDC* dc, COSMRibbonGroup* group)
{
    if (!dc || !group || group->IsReduced())
        return;
    const CRect rect = group->GetRect();
    const CRect caption = group->GetCaptionRect();
    dc->FillSolidRect(rect, ::GetSysColor(group->IsHotGroup() ? COLOR_3DLIGHT : COLOR_BTNFACE));
    dc->FillSolidRect(caption, ::GetSysColor(COLOR_3DSHADOW));
    dc->Draw3dRect(rect, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
    CRect text = caption;
    text.OffsetRect(0, -1);
    if (group->IsOptionButtonVisible())
        text.right -= caption.Height() + 1;
    text.DeflateRect(2, 2);
    COSMRibbonPaintManager* painter = PainterOf(group->GetRibbonBar());
    COSMFontDC font(dc, painter ? painter->GetFont() : nullptr, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    dc->SetBkMode(TRANSPARENT);
    CString stripped = group->GetCaption();
    stripped.Remove('&');
    dc->DrawText(stripped, text, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

CSize COSMRibbonFallbackPaint::DrawGroupPopupButton(CDC* dc, COSMRibbonGroupControlPopup* button, BOOL draw)
{
    COSMRibbonBar* ribbon = COSMRibbonGroupControlPopup::GetRibbonBarOf(button->GetParent());
    if (!ribbon && button->GetGroup())
        ribbon = button->GetGroup()->GetRibbonBar();
    COSMRibbonPaintManager* painter = PainterOf(ribbon);
    const int controlHeight = painter ? painter->GetControlHeight() : 22;
    if (!button->GetGroup())
    {
        // A group's button in the quick-access row: a toolbar button.
        COSMPaintManager* paintManager = button->GetPaintManager();
        return paintManager ? paintManager->DrawToolBarControl(dc, button, draw) : CSize(controlHeight, controlHeight);
    }
    CSize size(std::max(42, 2 * controlHeight - 3), 3 * controlHeight);
    const int captionHeight = painter ? painter->GetGroupCaptionHeight() : 17;
    if (!draw)
        return size;
    const CRect rect = button->GetRect();
    const BOOL open = button->IsPopupOpen();
    dc->FillSolidRect(rect, ::GetSysColor(open                    ? COLOR_3DSHADOW
                                          : button->GetSelected() ? COLOR_3DLIGHT
                                                                  : COLOR_BTNFACE));
    dc->Draw3dRect(rect, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
    CRect text(rect.left, rect.bottom - captionHeight - 2 - 2 * captionHeight, rect.right,
               rect.bottom - captionHeight - 2);
    COSMFontDC font(dc, painter ? painter->GetFont() : nullptr, ::GetSysColor(COLOR_BTNTEXT));
    dc->SetBkMode(TRANSPARENT);
    CString caption = button->GetCaption();
    caption.Remove('&');
    dc->DrawText(caption, text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
    return size;
}

CSize COSMRibbonFallbackPaint::DrawGroupOption(CDC* dc, COSMRibbonGroupOption* button, BOOL draw)
{
    const CSize size(15, 14);
    if (!draw || !dc)
        return size;
    CRect rect = button->GetRect();
    if (button->GetPressed())
        dc->Draw3dRect(rect, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
    else if (button->GetSelected())
        dc->Draw3dRect(rect, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
    // A small corner arrow.
    const COLORREF colour = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    for (int i = 0; i < 4; ++i)
        dc->FillSolidRect(CRect(rect.right - 5 - i, rect.bottom - 5 - i, rect.right - 4, rect.bottom - 4 - i), colour);
    return size;
}

void COSMRibbonFallbackPaint::DrawGroupsScrollButton(CDC* dc, COSMControl* button, BOOL left)
{
    if (!dc)
        return;
    const CRect rect = button->GetRect();
    const int face = button->GetPressed() ? COLOR_3DSHADOW : button->GetSelected() ? COLOR_3DLIGHT : COLOR_BTNFACE;
    dc->FillSolidRect(rect, ::GetSysColor(face));
    dc->Draw3dRect(rect, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
    // The arrow: a triangle of one-pixel columns pointing the way the groups move.
    const CPoint centre = rect.CenterPoint();
    const COLORREF colour = ::GetSysColor(COLOR_BTNTEXT);
    for (int i = 0; i < 4; ++i)
    {
        const int x = left ? centre.x - 2 + i : centre.x + 1 - i;
        dc->FillSolidRect(CRect(x, centre.y - i, x + 1, centre.y + i + 1), colour);
    }
}

void COSMRibbonFallbackPaint::FillGroupPopupToolBar(CDC* dc, COSMCommandBar* bar)
{
    dc->FillSolidRect(ClientOf(bar), ::GetSysColor(COLOR_BTNFACE));
}

void COSMRibbonFallbackPaint::FillTabPopupToolBar(CDC* dc, COSMCommandBar* bar, CRect groupsRect)
{
    dc->FillSolidRect(ClientOf(bar), ::GetSysColor(COLOR_BTNFACE));
    dc->Draw3dRect(groupsRect, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
}

void COSMRibbonFallbackPaint::FillMorePopupToolBar(CDC* dc, COSMCommandBar* bar)
{
    CRect client = ClientOf(bar);
    dc->FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
    dc->Draw3dRect(client, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DDKSHADOW));
}
