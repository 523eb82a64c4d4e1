// CMiniFrameWnd is the small frame a floating bar lives in. So far it is only a kind of frame that code can recognise
// (IsKindOf): it behaves as a CFrameWnd.
#pragma once

#include "classlib/FrameWnd.h"

class CMiniFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMiniFrameWnd)

public:
    CMiniFrameWnd() = default;
};
