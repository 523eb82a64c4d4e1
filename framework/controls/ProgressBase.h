// COSMProgressBase: the range and position of a progress bar, apart from where the bar lives. Its owner (a bar
// control, a status-bar pane) says where the bar lies, redraws it and names its painter; the base keeps the position
// inside the range and asks for a redraw only when something changed:
//
//   class CMyProgress : public CWnd, public COSMProgressBase { ... the three operations ... };
//   progress.SetRange(0, fileCount);
//   progress.SetPos(done);   // held to the range; an unchanged value does not redraw
#pragma once

#include "classlib/Geometry.h"

class COSMProgressPaintManager;

class COSMProgressBase
{
public:
    COSMProgressBase() = default;
    virtual ~COSMProgressBase() = default;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Where the bar lies, in the coordinates of the DC it is drawn on.
    virtual CRect GetProgressRect() const = 0;
    virtual void RedrawProgress() = 0;
    // Null when nobody paints the bar.
    virtual COSMProgressPaintManager* GetProgressPaintManager() const = 0;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Stores both bounds when either differs, and redraws. The position is left as it is.
    void SetRange(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    // Holds the position to the range (the upper bound wins when the bounds are crossed); a change redraws.
    void SetPos(int pos);
    int GetPos() const { return m_pos; }

    // The position SetPos would store for pos under the bounds.
    static int ClampProgressPos(int pos, int lower, int upper);

protected:
    int m_lower = 0;
    int m_upper = 100;
    int m_pos = 0;
};
