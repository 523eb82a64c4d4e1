// What the bar-window tests share: a bar that is visible exactly when its window is (WS_VISIBLE), with the state
// the tests set reachable and the tracking changes it is asked for recorded, the same for a popup bar, and child
// bars of a frame.
#pragma once

#include "CommandBarsTestSupport.h"

#include <vector>

namespace commandbars_test {

template <class Base> class TestBarOf : public Base
{
public:
    BOOL IsVisible() const override { return this->GetSafeHwnd() && (this->GetStyle() & WS_VISIBLE); }
    // Records the mode and keeps it; no real tracking starts.
    BOOL SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard) override
    {
        trackingModes.push_back(mode);
        if (mode == this->m_trackingMode)
            return FALSE;
        this->m_trackingMode = mode;
        return TRUE;
    }

    void SetSelectedIndex(int index) { this->m_selectedIndex = index; }
    void SetDropMarker(const CRect& rect, BOOL vertical)
    {
        this->m_dropMarkerRect = rect;
        this->m_dropMarkerVertical = vertical;
    }
    void SetNoNotify(BOOL noNotify) { this->m_noNotify = noNotify; }
    // Puts a context of the test's own in place of the one the bar holds.
    void UseToolTipContext(COSMToolTipContext* context)
    {
        this->m_toolTipContext = RefPtr<COSMToolTipContext>::Retain(context);
    }

    std::vector<int> trackingModes;
};

using TestWindowBar = TestBarOf<COSMCommandBar>;
using TestWindowPopup = TestBarOf<COSMPopupBar>;

// A visible child bar of the parent at the rectangle.
inline BOOL CreateChildBar(COSMCommandBar& bar, CWnd& parent, const CRect& rect, UINT id = 0)
{
    return bar.CreateEx(0, AfxRegisterWndClass(0), "Bar", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.Width(),
                        rect.Height(), parent.GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

}  // namespace commandbars_test
