// COSMMarkupToolTipContext: the tooltip context of a markup context's host window. Its hit test answers with the
// innermost element under the mouse whose ToolTip is text; the element's address is the tool id.
#pragma once

#include "classlib/Geometry.h"
#include "framework/foundation/ToolTipContext.h"

class COSMMarkupContext;

class COSMMarkupToolTipContext : public COSMToolTipContext
{
public:
    // Markup tooltips: their text is markup itself.
    static constexpr int kMarkupToolTipStyle = 7;

    explicit COSMMarkupToolTipContext(COSMMarkupContext* context);

    // Along the mouse-over element's route, the first element whose ToolTip is a string fills pTI (host window,
    // its client rectangle, its address, its text in 8 bits); -1 without one.
    INT_PTR OnToolHitTest(CWnd* pWnd, CPoint point, TOOLINFOA* pTI) override;

    COSMMarkupContext* GetMarkupContext() const { return m_pContext; }

private:
    COSMMarkupContext* m_pContext;
};
