// COSMToolTipGradientToolTip: the tip window of style 4, a framework tip on a vertical gradient whose colours and
// frame follow the system's visual style.
#pragma once

#include "framework/controls/ToolTipContextToolTip.h"

// The gradient (top to bottom) and frame of a gradient tip under a visual style (COSMColorManager::VisualStyle);
// clrTipBack is the context's background colour, the top of the classic look's gradient.
struct COSMToolTipGradientColors
{
    COLORREF clrTop;
    COLORREF clrBottom;
    COLORREF clrFrame;
};
COSMToolTipGradientColors ToolTipGradientColors(int nVisualStyle, COLORREF clrTipBack);

class COSMToolTipGradientToolTip : public COSMToolTipContextToolTip
{
    DECLARE_DYNAMIC(COSMToolTipGradientToolTip)

public:
    using COSMToolTipContextToolTip::COSMToolTipContextToolTip;

    void DrawBackground(CDC* pDC, COSMToolTipToolRecord& tool, CRect rcClient) override;
};

// A vertical gradient from clrTop in the first row to clrBottom in the last, one band per row.
void FillToolTipGradient(CDC* pDC, const CRect& rc, COLORREF clrTop, COLORREF clrBottom);
