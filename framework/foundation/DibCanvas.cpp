#include "framework/foundation/DibCanvas.h"

#include "framework/foundation/ImageFunctions.h"

COSMDibCanvas::COSMDibCanvas(HDC hdcCompatible, int cx, int cy)
{
    void* pBits = nullptr;
    m_bitmap.Reset(CreateAlphaDIBSection(hdcCompatible, cx, cy, &pBits));
    if (!m_bitmap)
        return;
    m_dc.Reset(::CreateCompatibleDC(hdcCompatible));
    m_selection = SelectScoped(m_dc.Get(), m_bitmap.Get());
    if (!m_selection)
        return;
    m_pBits = static_cast<DWORD*>(pBits);
    m_cx = cx;
    m_cy = cy;
}
