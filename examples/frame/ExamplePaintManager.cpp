#include "ExamplePaintManager.h"

#include "classlib/DC.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/foundation/ImageManagerIcon.h"

namespace {

// Bar types as the bars report them: popups draw their hot item filled, the others framed.
const int kPopupBarType = 2;
const int kSeparatorSize = 6;

}  // namespace

void CExamplePaintManager::DrawSplitButtonFrame(CDC* dc, COSMControl* control, CRect rect)
{
    DrawControlBackground(dc, control);
    dc->FillSolidRect(CRect(rect.right - 12, rect.top + 3, rect.right - 11, rect.bottom - 3),
                      GetColor(COLOR_BTNSHADOW));
}

CSize CExamplePaintManager::DrawListBoxControl(CDC* dc, COSMControl* control, CRect rect, BOOL selected, BOOL draw,
                                               COSMCommandBars* commandBars)
{
    if (draw)
        dc->FillSolidRect(rect, GetColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    return CSize(rect.Width(), GetControlHeight());
}

void CExamplePaintManager::FillCommandBar(CDC* dc, COSMCommandBar* bar)
{
    CRect client;
    ::GetClientRect(bar->GetSafeHwnd(), &client);
    dc->FillSolidRect(client, GetColor(bar->GetType() == kPopupBarType ? COLOR_MENU : COLOR_BTNFACE));
}

COLORREF CExamplePaintManager::GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                                                 int barType, int barPosition)
{
    if (!enabled)
        return GetColor(COLOR_GRAYTEXT);
    if (barType == kPopupBarType && selected)
        return GetColor(COLOR_HIGHLIGHTTEXT);
    return GetColor(barType == kPopupBarType ? COLOR_MENUTEXT : COLOR_BTNTEXT);
}

void CExamplePaintManager::DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled,
                                              BOOL checked, BOOL popped, int barType, int barPosition)
{
    if (barType == kPopupBarType)
    {
        if (selected)
            dc->FillSolidRect(rect, GetColor(COLOR_HIGHLIGHT));
        return;
    }
    if (pressed || checked || popped)
        dc->Draw3dRect(rect, GetColor(COLOR_BTNSHADOW), GetColor(COLOR_BTNHIGHLIGHT));
    else if (selected)
        dc->Draw3dRect(rect, GetColor(COLOR_BTNHIGHLIGHT), GetColor(COLOR_BTNSHADOW));
}

CSize CExamplePaintManager::DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw)
{
    if (draw && control)
    {
        // The separator stands before the control: a line in the gap ahead of it, across the bar's direction.
        const CRect rect = control->GetRect();
        if (bar->GetType() == kPopupBarType)
            dc->FillSolidRect(CRect(rect.left, rect.top - 4, rect.right, rect.top - 3), GetColor(COLOR_BTNSHADOW));
        else
            dc->FillSolidRect(CRect(rect.left - 4, rect.top + 2, rect.left - 3, rect.bottom - 2),
                              GetColor(COLOR_BTNSHADOW));
    }
    return CSize(kSeparatorSize, kSeparatorSize);
}

void CExamplePaintManager::DrawControlImage(CDC* dc, CPoint point, CSize size, COSMImageManagerIcon* image,
                                            BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                                            BOOL toolbarImage)
{
    if (!image)
        return;
    if (enabled)
        image->DrawNormal(dc, point, size);
    else
        image->Draw(dc, point, image->GetDisabledIcon(), size);
}
