#include "framework/controls/ToolTipGradientToolTip.h"

#include "classlib/DC.h"
#include "framework/foundation/ColorManager.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(COSMToolTipGradientToolTip, COSMToolTipContextToolTip)

COSMToolTipGradientColors ToolTipGradientColors(int nVisualStyle, COLORREF clrTipBack)
{
    const COLORREF clrTop = RGB(255, 212, 151);
    const COLORREF clrBottom = RGB(255, 242, 200);
    switch (nVisualStyle)
    {
    case COSMColorManager::kStyleLunaBlue:
    case COSMColorManager::kStyleRoyale:
    case COSMColorManager::kStyleAero:
        return {clrTop, clrBottom, RGB(0, 0, 128)};
    case COSMColorManager::kStyleLunaOlive:
        return {clrTop, clrBottom, RGB(63, 93, 56)};
    case COSMColorManager::kStyleLunaSilver:
        return {clrTop, clrBottom, RGB(75, 75, 111)};
    default:
        return {clrTipBack, RGB(255, 255, 255), RGB(0, 0, 0)};
    }
}

void FillToolTipGradient(CDC* pDC, const CRect& rc, COLORREF clrTop, COLORREF clrBottom)
{
    const int rows = rc.Height();
    for (int y = 0; y < rows; ++y)
    {
        const int step = rows > 1 ? y * 255 / (rows - 1) : 0;
        auto mix = [step](int from, int to) { return from + (to - from) * step / 255; };
        pDC->FillSolidRect(rc.left, rc.top + y, rc.Width(), 1,
                           RGB(mix(GetRValue(clrTop), GetRValue(clrBottom)),
                               mix(GetGValue(clrTop), GetGValue(clrBottom)),
                               mix(GetBValue(clrTop), GetBValue(clrBottom))));
    }
}

void COSMToolTipGradientToolTip::DrawBackground(CDC* pDC, COSMToolTipToolRecord&, CRect rcClient)
{
    const COSMToolTipGradientColors colors =
        ToolTipGradientColors(GetColorManager()->GetVisualStyle(), GetContext()->GetTipBkColor());
    FillToolTipGradient(pDC, rcClient, colors.clrTop, colors.clrBottom);
    pDC->Draw3dRect(rcClient, colors.clrFrame, colors.clrFrame);
}
