// Tabs drawn from the Office 2007 theme images: the ribbon's tabs (appearance 10, image "RIBBONTAB" on the
// selected and the hot tab, "RIBBONGROUPS" in the client area) and access tabs (appearance 11, image
// "ACCESSTAB" on every tab, blended over what lies under it). A tab of a left, bottom or right strip is drawn
// upright and turned into place (DrawTurnedToPosition), so one image serves every position. Without the images
// neither draws anything for its tabs.
#pragma once

#include "framework/tabs/TabAppearanceSet.h"

class COSMTabAppearanceImageTabs : public COSMTabAppearanceSet
{
public:
    COSMTabAppearanceImageTabs() { m_rcHeaderMargin.SetRect(4, 1, 0, 0); }

    // Override these (after the base's).
    // One tab from its theme image, as for a strip at the top.
    virtual void DrawImageButton(CDC* pDC, CRect rc, COSMTabManagerItem* pItem) = 0;
    // The state of the item's image in its strip of states.
    virtual int GetImageState(const COSMTabManagerItem* pItem) const = 0;
    // The theme images are there to draw with.
    virtual BOOL AreImagesLoaded() const;

protected:
    // State nState of a vertical strip of nStates in the named image, stretched over rc with fixed margins;
    // magenta is left out.
    static void DrawImageState(CDC* pDC, const CRect& rc, LPCSTR lpszImage, int nState, int nStates,
                               const CRect& rcMargins);
    // The item's image in rc, turned to the strip's position over the header colour or, with bCopyUnder, over
    // what the DC shows there.
    void DrawImageTurned(CDC* pDC, const CRect& rc, COSMTabManagerItem* pItem, BOOL bCopyUnder);
};

class COSMTabAppearanceRibbonImages : public COSMTabAppearanceImageTabs
{
public:
    CRect FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem) override;
    int GetSupportedColorSets() const override { return 32; }
    int GetDefaultColorSet() const override { return 32; }
    void DrawImageButton(CDC* pDC, CRect rc, COSMTabManagerItem* pItem) override;
    // 5 selected in an active strip, 4 selected and hot, 3 selected, 2 pressed, 1 hot, 0 normal.
    int GetImageState(const COSMTabManagerItem* pItem) const override;
};

class COSMTabAppearanceAccessImages : public COSMTabAppearanceImageTabs
{
public:
    void RefreshMetrics() override;
    CRect GetHeaderMargin() const override;
    CRect GetItemDrawRect(const COSMTabManagerItem* pItem) const override;
    CRect FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem) override;
    int GetSupportedColorSets() const override { return 128; }
    int GetDefaultColorSet() const override { return 128; }
    void DrawImageButton(CDC* pDC, CRect rc, COSMTabManagerItem* pItem) override;
    // 3 selected and hot, 2 selected, 1 hot, 0 normal.
    int GetImageState(const COSMTabManagerItem* pItem) const override;
};
