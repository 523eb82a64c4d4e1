// Plain drawing of the ribbon's groups, option buttons and scroll buttons while the ribbon's pictures are missing.
#include "framework/ribbon/RibbonFallbackPaint.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/ribbon/RibbonPaintManager.h"

namespace {

COSMRibbonPaintManager* PainterOf(const COSMRibbonBar* ribbon)
{
    return ribbon ? ribbon->GetRibbonPaintManager() : nullptr;
}

// The ribbon painter while the Office 2007 picture is there: the plain drawing stands in without it.
COSMRibbonPaintManager* PicturePainterOf(const COSMRibbonBar* ribbon, LPCSTR image)
{
    COSMRibbonPaintManager* painter = PainterOf(ribbon);
    return painter && painter->LoadImage(image) ? painter : nullptr;
}

}  // namespace

void COSMRibbonFallbackPaint::DrawGroup(CDC* dc, COSMRibbonGroup* group)
{
    if (!dc || !group || group->IsReduced())
        return;
    if (COSMRibbonPaintManager* pictures = PicturePainterOf(group->GetRibbonBar(), "RIBBONGROUPCLIENT"))
    {
        pictures->DrawGroup(dc, group);
        return;
    }
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

CSize COSMRibbonFallbackPaint::DrawGroupOption(CDC* dc, COSMRibbonGroupOption* button, BOOL draw)
{
    const CSize size(15, 14);
    if (!draw || !dc)
        return size;
    if (COSMRibbonPaintManager* pictures =
            PicturePainterOf(COSMRibbonGroupControlPopup::GetRibbonBarOf(button->GetParent()), "RIBBONOPTIONBUTTON"))
        return pictures->DrawControlGroupOption(dc, button, TRUE);
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
    if (COSMRibbonPaintManager* pictures = PicturePainterOf(
            COSMRibbonGroupControlPopup::GetRibbonBarOf(button->GetParent()), "RIBBONGROUPSSCROLLLEFT"))
    {
        pictures->DrawGroupsScrollButton(dc, button, left);
        return;
    }
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
