// COSMToolTipStandardCtrl: the common-controls tooltip that tooltip contexts make for styles 0 and 1. It differs
// from CToolTipCtrl in one answer: a command-bar edit box (a child that answers OSM_WM_QUERYCOMMANDBAREDIT with 1)
// counts as part of its bar, so the window under a point is then the bar.
#pragma once

#include "classlib/ToolTipCtrl.h"

class COSMToolTipStandardCtrl : public CToolTipCtrl
{
    DECLARE_DYNAMIC(COSMToolTipStandardCtrl)

public:
    // The window under the point for tooltips: a command-bar edit box gives way to its parent.
    static HWND WindowFromPointForTips(POINT point);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
