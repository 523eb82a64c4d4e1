// The appearance sets' fixture: a strip of three caption-less tabs of a fixed length on a 300 x 300 control, the
// first selected, painted by a real appearance set with the default colour set, each of whose members has a colour
// of its own, so that each line's colour names the member it came from.
#pragma once

#include <windows.h>

#include "TabTestSupport.h"
#include "framework/tabs/TabColorSet.h"
#include "tests/support/DcTestSurface.h"

namespace tabs_test {

namespace distinct {
constexpr COLORREF kHeader = RGB(200, 200, 40);
constexpr COLORREF kBorder = RGB(10, 20, 200);
constexpr COLORREF kFace = RGB(220, 220, 220);
constexpr COLORREF kPane = RGB(30, 30, 30);
constexpr COLORREF kLight = RGB(250, 250, 200);
constexpr COLORREF kDark = RGB(40, 0, 0);
constexpr COLORREF kSelectedTab = RGB(250, 150, 50);
constexpr COLORREF kHotTab = RGB(60, 250, 60);
constexpr COLORREF kPressedTab = RGB(70, 70, 250);
constexpr COLORREF kNormalTab = RGB(150, 200, 250);
constexpr COLORREF kFrameHighlight = RGB(230, 230, 255);
constexpr COLORREF kFrameShadow = RGB(128, 64, 0);
constexpr COLORREF kFrameDarkShadow = RGB(16, 32, 64);
constexpr COLORREF kTabOutline = RGB(0, 120, 0);
constexpr COLORREF kSelectedTabOutline = RGB(120, 0, 120);
constexpr COLORREF kTabInnerLight = RGB(200, 100, 100);
constexpr COLORREF kTabInnerLight2 = RGB(100, 200, 100);
constexpr COLORREF kButtonFace = RGB(250, 220, 120);
constexpr COLORREF kButtonTopLeft = RGB(12, 12, 12);
constexpr COLORREF kButtonBottomRight = RGB(244, 244, 244);
// Selected and normal groups: border, bottom border, dark border, light, shadow, bottom light.
constexpr COLORREF kSelectedGroup[6] = {RGB(90, 0, 0),  RGB(0, 90, 0),  RGB(0, 0, 90),
                                        RGB(190, 0, 0), RGB(0, 190, 0), RGB(0, 0, 190)};
constexpr COLORREF kNormalGroup[6] = {RGB(90, 90, 0),   RGB(0, 90, 90),   RGB(90, 0, 90),
                                      RGB(190, 190, 0), RGB(0, 190, 190), RGB(190, 0, 190)};
}  // namespace distinct

inline void SetDistinctGroup(COSMTabColorSetGroup& group, const COLORREF (&clr)[6])
{
    group.clrBorder.SetCustomValue(clr[0]);
    group.clrBottomBorder.SetCustomValue(clr[1]);
    group.clrDarkBorder.SetCustomValue(clr[2]);
    group.clrLight.SetCustomValue(clr[3]);
    group.clrShadow.SetCustomValue(clr[4]);
    group.clrBottomLight.SetCustomValue(clr[5]);
}

inline void InstallDistinctColors(COSMTabColorSet* p)
{
    using namespace distinct;
    p->m_grcHeaderFace.First().SetCustomValue(kHeader);
    p->m_grcHeaderFace.Second().SetCustomValue(kHeader);
    p->m_clrBorder.SetCustomValue(kBorder);
    p->m_clrFace.SetCustomValue(kFace);
    p->m_clrPane.SetCustomValue(kPane);
    p->m_clrLight.SetCustomValue(kLight);
    p->m_clrDark.SetCustomValue(kDark);
    p->m_clrSelectedTab.SetCustomValue(kSelectedTab);
    p->m_clrHotTab.SetCustomValue(kHotTab);
    p->m_clrPressedTab.SetCustomValue(kPressedTab);
    p->m_clrNormalTab.SetCustomValue(kNormalTab);
    p->m_clrFrameHighlight.SetCustomValue(kFrameHighlight);
    p->m_clrFrameShadow.SetCustomValue(kFrameShadow);
    p->m_clrFrameDarkShadow.SetCustomValue(kFrameDarkShadow);
    p->m_clrTabOutline.SetCustomValue(kTabOutline);
    p->m_clrSelectedTabOutline.SetCustomValue(kSelectedTabOutline);
    p->m_clrTabInnerLight.SetCustomValue(kTabInnerLight);
    p->m_clrTabInnerLight2.SetCustomValue(kTabInnerLight2);
    p->m_grcButtonSelectedFace.First().SetCustomValue(kButtonFace);
    p->m_grcButtonSelectedFace.Second().SetCustomValue(kButtonFace);
    p->m_grcButtonSelectedBorder.First().SetCustomValue(kButtonTopLeft);
    p->m_grcButtonSelectedBorder.Second().SetCustomValue(kButtonBottomRight);
    SetDistinctGroup(p->m_csSelected, kSelectedGroup);
    SetDistinctGroup(p->m_csNormal, kNormalGroup);
}

struct ShapeFixture
{
    ShapeFixture(int nAppearance, int nPosition, int nClientFrame = 0, int nItems = 3)
        : rcControl(0, 0, 300, 300), surface(300, 300, RGB(255, 0, 255)), strip(nullptr, rcControl)
    {
        pm.SetAppearance(nAppearance);
        // The default set fills solid, so that a fill's colour names its member wherever it is read; the sets
        // that fill tabs with gradients have tests of their own.
        pm.SetColor(1);
        pm.SetLayout(COSMTabPaintManager::kLayoutFixed);
        pm.m_nFixedTabWidth = 60;
        pm.m_nClientFrame = nClientFrame;
        pm.SetPosition(nPosition);
        InstallDistinctColors(pm.GetColorSet());
        strip.m_pPaintManager = &pm;
        pm.AddClient(&strip);
        for (int i = 0; i < nItems; i++)
            strip.InsertItem(-1);  // no caption: nothing but the shape is drawn
        strip.SetCurSel(0);
    }
    void Draw() { pm.DrawTabControl(&strip, surface.dc(), rcControl); }
    CRect ItemRect(int i) const { return strip.GetItem(i)->GetRect(); }

    CRect rcControl;
    COSMTabPaintManager pm;
    foundation_test::DcTestSurface surface;
    TestStrip strip;
};

}  // namespace tabs_test
