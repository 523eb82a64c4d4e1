#include "framework/controls/ImageEditorBitmap.h"

void COSMImageEditorBitmapList::DeleteAll()
{
    while (!IsEmpty())
        delete RemoveHead();
}

BOOL CreateDIB32(CBitmap* pBitmap, int cx, int cy)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = cx;
    header.biHeight = cy;  // positive: rows stored bottom-up
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap =
        ::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS, &pBits, nullptr, 0);
    return hBitmap && pBitmap->Attach(hBitmap);
}
