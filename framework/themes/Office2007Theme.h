// COSMOffice2007Theme: the Office 2003 look's drawing in the colours and pictures of the Office 2007 resources
// (COSMOffice2007Images): its colours come from the theme text, the status bar, message bar and MDI workspace draw
// from those colours and named images, and the gallery, slider and progress painters are image-based ones
// (Office2007PartPainters.h). The factory makes it for id 5:
//
//   COSMPaintManager::SetTheme(5);
//
// Without a theme text every colour is -1 (none) and every image null: the look is whole but draws nothing that
// needs them.
#pragma once

#include "framework/themes/Office2003Theme.h"

class COSMOffice2007Image;
class COSMOffice2007Images;

class COSMOffice2007Theme : public COSMOffice2003Theme
{
    DECLARE_DYNCREATE(COSMOffice2007Theme)

public:
    COSMOffice2007Theme();
    // Empties the process's image cache (when the images still live).
    ~COSMOffice2007Theme() override;

    static COSMPaintManager* Create() { return new COSMOffice2007Theme; }

    // Override these.
    COLORREF GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped, int barType,
                               int barPosition) override;
    void DrawStatusBarPaneBorder(CDC* dc, CRect rect, COSMStatusBarPane* pane, BOOL lastPane) override;
    void DrawStatusBarGripper(CDC* dc, CRect client) override;
    void FillMessageBar(CDC* dc, COSMMessageBar* bar) override;
    void DrawMessageBarButton(CDC* dc, COSMMessageBarButton* button) override;
    void FillStatusBar(CDC* dc, COSMStatusBar* bar) override;
    void RefreshMetrics() override;
    int GetThemeId() const override { return 5; }
    // The workspace picture at the top, then the colours down to the bottom in two gradients; exclude is left out.
    // The DC's clip region is as it was on entry afterwards.
    void FillWorkspace(CDC* dc, CRect rect, CRect exclude) override;

    // Not meant to be overridden.
    COSMOffice2007Images* GetImages() const { return m_images; }
    // The named image of the resources; null when missing.
    COSMOffice2007Image* LoadImage(LPCSTR name);

    // The colours the refresh reads from the theme text (-1 where it has none).
    COLORREF MenuBarTextColor = COSMPaintManagerColor::kNone;
    COLORREF StatusBarShadowColor = COSMPaintManagerColor::kNone;
    COSMPaintManagerColorGradient StatusBarTopGradient;
    COSMPaintManagerColorGradient StatusBarBottomGradient;
    COLORREF WorkspaceTopColor = COSMPaintManagerColor::kNone;
    COLORREF WorkspaceMiddleColor = COSMPaintManagerColor::kNone;
    COLORREF WorkspaceBottomColor = COSMPaintManagerColor::kNone;
    COSMPaintManagerColorGradient MessageBarGradient;
    COLORREF MessageBarFrameColor = COSMPaintManagerColor::kNone;
    COLORREF MessageBarBackColor = COSMPaintManagerColor::kNone;

    // The close button's command id on a message bar.
    static const UINT kCloseCommand = 0xF060;

protected:
    // The gradient's two-part fill, vertical; nothing while either end has no colour.
    void FillVerticalGradient(CDC* dc, const CRect& rect, const COSMPaintManagerColorGradient& gradient);

private:
    COSMOffice2007Images* m_images = nullptr;
};
