// The example's painter: flat system colours, drawn with the few operations every look must supply. A real program
// picks one of the framework's looks; this one shows how a program installs a painter of its own
// (COSMPaintManager::SetCustomTheme), which every bar of every manager then draws with.
#pragma once

#include "classlib/Geometry.h"
#include "framework/commandbars/PaintManager.h"

class CExamplePaintManager : public COSMPaintManager
{
public:
    void DrawSplitButtonFrame(CDC* dc, COSMControl* control, CRect rect) override;
    CSize DrawListBoxControl(CDC* dc, COSMControl* control, CRect rect, BOOL selected, BOOL draw,
                             COSMCommandBars* commandBars) override;
    void FillCommandBar(CDC* dc, COSMCommandBar* bar) override;
    COLORREF GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped, int barType,
                               int barPosition) override;
    void DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                            int barType, int barPosition) override;
    CSize DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw) override;
    void AdjustControlRect(CRect& rect, COSMControl* control, BOOL vertical) override {}
    // The example's bars neither tear off, nor resize as popups, nor serve as dialog bars: no grippers.
    CSize DrawTearOffGripper(CDC* dc, CRect rect, BOOL selected, BOOL draw) override { return CSize(0, 0); }
    void DrawPopupResizeGripper(CDC* dc, CRect rect, int kind) override {}
    CSize DrawDialogBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw) override { return CSize(0, 0); }
    void DrawControlImage(CDC* dc, CPoint point, CSize size, COSMImageManagerIcon* image, BOOL selected, BOOL pressed,
                          BOOL enabled, BOOL checked, BOOL popped, BOOL toolbarImage) override;
    int GetThemeId() const override { return kCustomThemeId; }
};
