// The Office 2007 look's part painters: the gallery, slider and progress bar drawn from the resources' images
// (COSMOffice2007Images). The look installs them in place of its base's (COSMPaintManager::SetPartPaintManagers);
// each reaches the images through its owner, which must be a COSMOffice2007Theme or derive from it (with any other
// owner they draw no image):
//
//   auto* progress = static_cast<COSMProgressPaintManager*>(theme->GetProgressPaintManager());
//   progress->DrawProgress(dc, bar);   // "PROGRESSTRACK", then "PROGRESSCHUNK" and its glow
#pragma once

#include "framework/controls/ControlGalleryPaintManager.h"
#include "framework/controls/ProgressPaintManager.h"
#include "framework/controls/SliderPaintManager.h"

class COSMOffice2007Image;

// Galleries in the resources' colours, their scroll column and (scroll-bar styles 5 and 6, the light and dark image
// sets) their scroll bars from images.
class COSMOffice2007GalleryPaintManager : public COSMControlGalleryPaintManager
{
public:
    explicit COSMOffice2007GalleryPaintManager(COSMPaintManager* pOwner);
    ~COSMOffice2007GalleryPaintManager() override;

    // Override these.
    void DrawScrollBar(CDC* dc, COSMScrollBase* bar) override;
    // The system's scroll-bar metrics, an up button of 21 and a down button of 19, and the three colours.
    void RefreshMetrics() override;
    void DrawLabel(CDC* dc, COSMControlGalleryItem* item, CRect rect) override;
    void FillControl(CDC* dc, COSMControlGallery* gallery, CRect rect) override;
    // The up, down and popup buttons of a gallery with a drop-down, 15 pixels wide at its right edge.
    void DrawPopupScrollBar(CDC* dc, COSMControlGallery* gallery) override;

    // Not meant to be overridden.
    COLORREF GetSelectedBackColor() const { return m_selectedBackColor; }
    COLORREF GetNormalBackColor() const { return m_normalBackColor; }
    COLORREF GetBorderColor() const { return m_borderColor; }

    static const int kPopupUpButtonHeight = 21;
    static const int kPopupDownButtonHeight = 19;
    static const int kPopupColumnWidth = 15;
    // The glyph number (from 1) of an arrow in "CONTROLGALLERYSCROLLARROWGLYPHS": first or second arrow of a vertical
    // or horizontal bar, enabled or not, its part state above 0 or not.
    static int GetArrowGlyph(BOOL vertical, BOOL secondArrow, BOOL enabled, BOOL active);
    // A scroll button's state of five: 4 disabled, 3 pressed, 2 hot, 1 another part active, 0 at rest.
    static int GetButtonState(int part, BOOL enabled, int pressed, int hot);

protected:
    // The owner's image of that name, or null.
    COSMOffice2007Image* LoadOwnerImage(LPCSTR name) const;

private:
    COLORREF m_selectedBackColor = static_cast<COLORREF>(-1);
    COLORREF m_normalBackColor = static_cast<COLORREF>(-1);
    COLORREF m_borderColor = static_cast<COLORREF>(-1);
};

// Horizontal sliders from "SLIDERTRACK", "SLIDERTICK", "SLIDERUP", "SLIDERDOWN" and "SLIDERTHUMB".
class COSMOffice2007SliderPaintManager : public COSMSliderPaintManager
{
public:
    explicit COSMOffice2007SliderPaintManager(COSMPaintManager* pOwner);
    ~COSMOffice2007SliderPaintManager() override;

    // Override these.
    void DrawScrollBar(CDC* dc, COSMScrollBase* bar) override;
    // The base's metrics; the arrows and the bar's height from "SLIDERUP" when it exists.
    void RefreshMetrics() override;
};

// Progress bars from "PROGRESSTRACK" and "PROGRESSCHUNK", 12 pixels high where the control sets no height.
class COSMOffice2007ProgressPaintManager : public COSMProgressPaintManager
{
public:
    explicit COSMOffice2007ProgressPaintManager(COSMPaintManager* pOwner);
    ~COSMOffice2007ProgressPaintManager() override;

    static const int kOffice2007BarHeight = 12;

    // Override this. A position outside the range draws as the nearest bound; an empty range as an empty bar.
    void DrawProgress(CDC* dc, const COSMProgressBase* progress) override;
};
