// A flat, self-drawn push button with an icon or bitmap and optional text. While the mouse is elsewhere it shows a
// grey version of its image and no border; under the mouse it shows the coloured image and a raised border, and it
// looks pressed while clicked. As a toggle, a click flips it between up and down. The main page turns its three
// browse buttons into hover buttons:
//
//   m_browse.SubclassDlgItem(IDC_BROWSE_DIST, this);
//   m_browse.SetImage(IDI_BROWSE, IDI_BROWSE, TRUE, IMAGE_ICON);   // image and grey image from the resources
//
// SetImage(id, 0, TRUE, ...) makes the grey image itself (CreateGrayscaleBitmap). Subclassing adds BS_OWNERDRAW;
// the parent must reflect WM_DRAWITEM (every window of the class library does).
#pragma once

#include "classlib/ClassLib.h"

class CHoverButton : public CButton
{
    DECLARE_DYNAMIC(CHoverButton)

public:
    enum BorderStyle
    {
        kNoBorder = 0,
        k3dRectBorder = 1,   // a 3-D rectangle in system colours
        kSoftEdgeBorder = 2  // any value but 0 and 1: a soft window edge
    };
    // Alignment value that puts the image left of the text; any other value puts it above the text.
    static constexpr int kImageLeftOfText = 3;
    // Gap between an image and the text beside it.
    static constexpr int kImageTextGap = 3;

    // Where DrawItem puts the image and the text in an item of size `item` (before the pressed offset).
    struct Layout
    {
        CPoint image;
        CPoint text;
    };
    static Layout ComputeLayout(CSize item, CSize text, CSize image, bool hasText, bool hasImage, int alignment);

    CHoverButton();
    // Frees both images.
    ~CHoverButton() override;

    // Loads image nImageId (IMAGE_ICON or IMAGE_BITMAP) from the program's resources. With bMakeGray, the grey image
    // is nGrayImageId loaded the same way or, when that is 0, made from the image. nImageId 0 frees the images and
    // leaves none. FALSE when the image cannot be loaded, or when no grey image came about: the image then stays.
    BOOL SetImage(UINT nImageId, UINT nGrayImageId = 0, BOOL bMakeGray = TRUE, UINT nImageType = IMAGE_ICON);

    void SetBorderStyle(int nStyle) { m_borderStyle = nStyle; }
    int GetBorderStyle() const { return m_borderStyle; }
    void SetFlat(BOOL bFlat) { m_flat = bFlat != FALSE; }
    void SetToggle(BOOL bToggle) { m_toggle = bToggle != FALSE; }
    BOOL IsToggle() const { return m_toggle; }
    void SetChecked(BOOL bChecked);
    BOOL IsChecked() const { return m_checked; }
    void SetDrawFocusRect(BOOL bDraw) { m_focusRect = bDraw != FALSE; }
    // Blue text while hovered.
    void SetHotText(BOOL bHotText) { m_hotText = bHotText != FALSE; }
    void SetAlignment(int nAlignment) { m_alignment = nAlignment; }
    int GetAlignment() const { return m_alignment; }
    BOOL IsHovering() const { return m_hovering; }

    HANDLE GetImage() const { return m_image; }
    HANDLE GetGrayImage() const { return m_grayImage; }
    // DST_ICON or DST_BITMAP.
    UINT GetImageKind() const { return m_imageKind; }
    CSize GetImageSize() const { return CSize(m_imageWidth, m_imageHeight); }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    using TrackMouseEventProc = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
    // TrackMouseEvent of user32, looked up by name once; without it the mouse capture tells when the mouse leaves.
    static TrackMouseEventProc s_pfnTrackMouseEvent;

    void PreSubclassWindow() override;
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    void FreeImages();
    HANDLE LoadImageResource(UINT nId) const;
    void DrawBackground(HDC hDC, const RECT& rect, bool pressedToggle) const;
    void DrawBorder(HDC hDC, RECT rect, bool pressed) const;

    bool m_checked = false;
    int m_borderStyle = k3dRectBorder;
    bool m_flat = true;
    bool m_toggle = false;
    bool m_focusRect = false;
    bool m_hotText = false;
    HANDLE m_image = nullptr;
    HANDLE m_grayImage = nullptr;
    UINT m_imageKind = 0;
    int m_alignment = kImageLeftOfText;
    int m_imageHeight = 0;
    int m_imageWidth = 0;
    bool m_hovering = false;
};
