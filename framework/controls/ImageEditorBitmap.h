// The images of the button-image editor: COSMImageEditorBitmap, a 32-bit bitmap that knows whether its pixels carry
// straight alpha, and COSMImageEditorBitmapList, the picture's undo and redo histories of them.
//
//   COSMImageEditorBitmap image;
//   CreateDIB32(&image, 16, 16);                 // bottom-up rows, all zero
//   image.m_bAlpha = FALSE;                      // 0xFFFEFF pixels are transparent
//
// Without alpha one colour, 0xFFFEFF (kImageEditorTransparent), stands for transparent; with alpha the top byte of
// every pixel does, straight (not premultiplied).
#pragma once

#include "classlib/Gdi.h"
#include "classlib/List.h"

// The colour of a transparent pixel in an image without alpha; as a DIB pixel the same bytes, 0x00FFFEFF.
constexpr COLORREF kImageEditorTransparent = RGB(255, 254, 255);

class COSMImageEditorBitmap : public CBitmap
{
public:
    COSMImageEditorBitmap() = default;
    explicit COSMImageEditorBitmap(BOOL bAlpha) : m_bAlpha(bAlpha) {}

    // Non-zero: the pixels carry straight alpha in their top byte.
    BOOL m_bAlpha = FALSE;
};

// An ordered list of images; the list does not delete them (the picture does, as entries leave it).
class COSMImageEditorBitmapList : public CList<COSMImageEditorBitmap*, COSMImageEditorBitmap*>
{
public:
    COSMImageEditorBitmapList() : CList(10) {}
    // Deletes every image and empties the list.
    void DeleteAll();
};

// A 32-bit BI_RGB DIB section of cx x cy with bottom-up rows, attached to bitmap (which must hold none yet).
BOOL CreateDIB32(CBitmap* pBitmap, int cx, int cy);
