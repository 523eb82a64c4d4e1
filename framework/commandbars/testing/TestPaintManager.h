// A paint manager for tests: the operations every theme must supply, done in the simplest way, each call logged
// with its arguments so that a test can see what the bars asked for. The command bars' tests use it until the
// themes exist:
//
//   COSMPaintManager::RegisterThemeCreator(0, &COSMTestPaintManager::Create);
//   COSMPaintManager::SetTheme(0);
//   ... GetCalls() holds "FillCommandBar(type=1)" ...
#pragma once

#include "classlib/Geometry.h"
#include "framework/commandbars/PaintManager.h"

#include <string>
#include <vector>

class COSMTestPaintManager : public COSMPaintManager
{
public:
    COSMTestPaintManager() = default;
    explicit COSMTestPaintManager(COSMVisualStyleFunctions& styleFunctions) : COSMPaintManager(styleFunctions) {}

    static COSMPaintManager* Create() { return new COSMTestPaintManager; }

    void DrawSplitButtonFrame(CDC* dc, COSMControl* control, CRect rect) override;
    CSize DrawListBoxControl(CDC* dc, COSMControl* control, CRect rect, BOOL selected, BOOL draw,
                             COSMCommandBars* commandBars) override;
    void FillCommandBar(CDC* dc, COSMCommandBar* bar) override;
    COLORREF GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped, int barType,
                               int barPosition) override;
    void DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                            int barType, int barPosition) override;
    CSize DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw) override;
    void AdjustControlRect(CRect& rect, COSMControl* control, BOOL vertical) override;
    CSize DrawTearOffGripper(CDC* dc, CRect rect, BOOL selected, BOOL draw) override;
    void DrawPopupResizeGripper(CDC* dc, CRect rect, int kind) override;
    void DrawControlImage(CDC* dc, CPoint point, CSize size, COSMImageManagerIcon* image, BOOL selected, BOOL pressed,
                          BOOL enabled, BOOL checked, BOOL popped, BOOL toolbarImage) override;
    CSize DrawDialogBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw) override;
    int GetThemeId() const override;

    const std::vector<std::string>& GetCalls() const { return m_calls; }
    void ClearCalls() { m_calls.clear(); }

private:
    void Log(const char* format, ...);

    mutable std::vector<std::string> m_calls;
};
