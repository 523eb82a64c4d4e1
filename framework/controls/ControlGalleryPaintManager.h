// COSMControlGalleryPaintManager: the painter of gallery controls: their background and frame, their group labels,
// and the three-button scroll column (up, down, open the drop-down) of galleries that own a popup bar; an ordinary
// gallery scroll bar is the standard scroll bar of its base. It belongs to a paint manager, which makes it in its
// constructor, refreshes it from its own RefreshMetrics and deletes it in its destructor; themes put subclasses of
// their own in its place (COSMPaintManager::SetPartPaintManagers). Colours are the owner's GetColor indexes.
//
//   auto* painter = static_cast<COSMControlGalleryPaintManager*>(paintManager->GetGalleryPaintManager());
//   painter->FillControl(dc, gallery, gallery->GetRect());
#pragma once

#include "framework/controls/ScrollBarPaintManager.h"

class COSMControlGallery;
class COSMControlGalleryItem;

class COSMControlGalleryPaintManager : public COSMScrollBarPaintManager
{
public:
    // The scroll column's buttons and width.
    static const int kUpButtonHeight = 19;
    static const int kDownButtonHeight = 19;
    static const int kScrollColumnWidth = 16;
    // The owner's colours it draws with.
    static const int kFillColor = 41;
    static const int kFrameColor = 52;
    static const int kSeparatorColor = 39;
    static const int kLabelFillColor = 56;
    static const int kLabelTextColor = 44;
    static const int kScrollColumnColor = 30;
    // The label's caption keeps this far from either side.
    static const int kLabelTextMargin = 10;

    explicit COSMControlGalleryPaintManager(COSMPaintManager* pOwner);
    COSMControlGalleryPaintManager(COSMPaintManager* pOwner, COSMVisualStyleFunctions& styleFunctions);
    ~COSMControlGalleryPaintManager() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // The scroll bar's metrics, then the column's.
    void RefreshMetrics() override;
    // The label's background with a line along its bottom, and its caption in bold between the margins.
    virtual void DrawLabel(CDC* dc, COSMControlGalleryItem* item, CRect rect);
    // The gallery's background, its frame with "ShowBorders", and the line over a control that follows it.
    virtual void FillControl(CDC* dc, COSMControlGallery* gallery, CRect rect);
    // The up, down and popup buttons in the gallery's scroll-bar rectangle.
    virtual void DrawPopupScrollBar(CDC* dc, COSMControlGallery* gallery);

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    int GetUpButtonHeight() const { return m_upButtonHeight; }
    int GetDownButtonHeight() const { return m_downButtonHeight; }
    int GetScrollColumnWidth() const { return m_scrollColumnWidth; }

protected:
    // A label row's caption in the bold font and the label text colour, margins left and right, ellipsis at the end.
    void DrawLabelText(CDC* dc, COSMControlGalleryItem* item, CRect rect);
    COLORREF GetOwnerColor(int index) const;
    void SetGalleryMetrics();

    int m_upButtonHeight = 0;
    int m_downButtonHeight = 0;
    int m_scrollColumnWidth = 0;
};
