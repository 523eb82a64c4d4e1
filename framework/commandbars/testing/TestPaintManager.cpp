#include "framework/commandbars/testing/TestPaintManager.h"

#include "classlib/DC.h"
#include "framework/foundation/ImageManagerIcon.h"

#include "framework/commandbars/CommandBar.h"

#include <cstdarg>
#include <cstdio>

void COSMTestPaintManager::Log(const char* format, ...)
{
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    m_calls.push_back(line);
}

void COSMTestPaintManager::DrawSplitButtonFrame(CDC* dc, COSMControl* control, CRect rect)
{
    Log("DrawSplitButtonFrame(%ld,%ld,%ld,%ld)", rect.left, rect.top, rect.right, rect.bottom);
    const ControlState s = GetControlState(control);
    DrawStateRectangle(dc, rect, s.selected, s.pressed, s.enabled, s.checked, s.popped, s.barType, s.barPosition);
}

CSize COSMTestPaintManager::DrawListBoxControl(CDC* dc, COSMControl* control, CRect rect, BOOL selected, BOOL draw,
                                               COSMCommandBars* commandBars)
{
    Log("DrawListBoxControl(%ld,%ld,%ld,%ld,selected=%d,draw=%d)", rect.left, rect.top, rect.right, rect.bottom,
        selected, draw);
    if (draw)
        dc->FillSolidRect(rect, GetColor(COLOR_BTNFACE));
    return CSize(GetControlHeight(), GetControlHeight());
}

void COSMTestPaintManager::FillCommandBar(CDC* dc, COSMCommandBar* bar)
{
    Log("FillCommandBar(type=%d)", bar->GetType());
    CRect client;
    ::GetClientRect(bar->GetSafeHwnd(), &client);
    dc->FillSolidRect(client, GetColor(COLOR_BTNFACE));
}

COLORREF COSMTestPaintManager::GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                                                 int barType, int barPosition)
{
    Log("GetStateTextColor(%d,%d,%d,%d,%d,%d,%d)", selected, pressed, enabled, checked, popped, barType, barPosition);
    return GetColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
}

void COSMTestPaintManager::DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled,
                                              BOOL checked, BOOL popped, int barType, int barPosition)
{
    Log("DrawStateRectangle(%ld,%ld,%ld,%ld,%d,%d,%d,%d,%d,%d,%d)", rect.left, rect.top, rect.right, rect.bottom,
        selected, pressed, enabled, checked, popped, barType, barPosition);
    if (selected || pressed || checked || popped)
        dc->Draw3dRect(rect, GetColor(COLOR_BTNSHADOW), GetColor(COLOR_BTNSHADOW));
}

CSize COSMTestPaintManager::DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw)
{
    Log("DrawCommandBarSeparator(draw=%d)", draw);
    return CSize(6, 6);
}

void COSMTestPaintManager::AdjustControlRect(CRect& rect, COSMControl* control, BOOL vertical)
{
    Log("AdjustControlRect(%ld,%ld,%ld,%ld,vertical=%d)", rect.left, rect.top, rect.right, rect.bottom, vertical);
}

CSize COSMTestPaintManager::DrawTearOffGripper(CDC* dc, CRect rect, BOOL selected, BOOL draw)
{
    Log("DrawTearOffGripper(selected=%d,draw=%d)", selected, draw);
    return CSize(0, 0);
}

void COSMTestPaintManager::DrawPopupResizeGripper(CDC* dc, CRect rect, int kind)
{
    Log("DrawPopupResizeGripper(%ld,%ld,%ld,%ld,kind=%d)", rect.left, rect.top, rect.right, rect.bottom, kind);
}

void COSMTestPaintManager::DrawControlImage(CDC* dc, CPoint point, CSize size, COSMImageManagerIcon* image,
                                            BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                                            BOOL toolbarImage)
{
    Log("DrawControlImage(%ld,%ld,%ld,%ld,%d,%d,%d,%d,%d,%d)", point.x, point.y, size.cx, size.cy, selected, pressed,
        enabled, checked, popped, toolbarImage);
    if (image)
        image->DrawNormal(dc, point, size);
}

CSize COSMTestPaintManager::DrawDialogBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw)
{
    Log("DrawDialogBarGripper(draw=%d)", draw);
    return CSize(0, 0);
}

int COSMTestPaintManager::GetThemeId() const
{
    m_calls.push_back("GetThemeId()");
    return 0;
}
