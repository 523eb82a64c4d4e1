// COSMReBar: the site's rebar bar (child window 0xE804) holding toolbars as bands. The manager puts every toolbar it
// makes into it when the site has one (COSMCommandBars::AddToReBar); a band's id is the bar's id:
//
//   COSMReBar* rebar = new COSMReBar;                     // a window of the frame, deleted with it
//   rebar->Create(&frame);
//   commandBars->SetSite(&frame);
//   commandBars->AddToolBar("Standard", IDR_STANDARD);    // docked, then moved into a band of its own
//
// A toolbar in a band leaves its dock bar for good: it loses its gripper and the flags that let it be moved, since
// the band's own gripper moves it. The background is painted through a buffer, so bands never flicker.
#pragma once

#include "classlib/ReBar.h"

class COSMToolBar;

class COSMReBar : public CReBar
{
    DECLARE_DYNCREATE(COSMReBar)

public:
    // The band style the manager gives its toolbars: a row of its own, always with a gripper.
    static constexpr DWORD kManagerBandStyle = RBBS_BREAK | RBBS_GRIPPERALWAYS;

    COSMReBar() = default;

    // Lays the toolbar out as one docked row and puts it in a new last band of the style, whose id becomes the
    // toolbar's "BarID". FALSE when the rebar refuses it (or either has no window).
    BOOL AddToolBar(COSMToolBar* toolBar, DWORD bandStyle);
    // Deletes the band holding the toolbar; nothing when no band holds it.
    void DeleteToolBar(COSMToolBar* toolBar);
    // The toolbar of the band, or null (no such band, or its child is no toolbar).
    COSMToolBar* GetToolBar(int band) const;
    // The index of the last band holding the toolbar, or -1.
    int FindBand(const COSMToolBar* toolBar) const;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()
};
