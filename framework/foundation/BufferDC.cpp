#include "framework/foundation/BufferDC.h"

#include <algorithm>

COSMBufferDC::COSMBufferDC(HDC hDestDC, const CRect& rect) : m_hDestDC(hDestDC), m_rect(rect)
{
    // No bitmap for a rectangle that ends at or before the origin: there is nothing of the target to cover, and
    // a memory DC without a bitmap of ours would copy its default 1 x 1 monochrome one over the target.
    if (rect.right > 0 && rect.bottom > 0)
        CreateBuffer(rect.right, rect.bottom);
}

COSMBufferDC::COSMBufferDC(CPaintDC& paintDC) : m_hDestDC(paintDC.GetSafeHdc()), m_rect(paintDC.m_ps.rcPaint)
{
    CreateBuffer(std::max<int>(m_rect.right, 1), std::max<int>(m_rect.bottom, 1));
    if (m_hDC)
        ::IntersectClipRect(m_hDC, m_rect.left, m_rect.top, m_rect.right, m_rect.bottom);
}

void COSMBufferDC::CreateBuffer(int nWidth, int nHeight)
{
    if (!m_hDestDC || !Attach(::CreateCompatibleDC(m_hDestDC)))
        return;
    HBITMAP hBitmap = ::CreateCompatibleBitmap(m_hDestDC, nWidth, nHeight);
    if (hBitmap && m_bitmap.Attach(hBitmap))
        m_hOldBitmap = ::SelectObject(m_hDC, hBitmap);
}

COSMBufferDC::~COSMBufferDC()
{
    if (m_hDC && m_bitmap.m_hObject)
    {
        ::BitBlt(m_hDestDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left, m_rect.top,
                 SRCCOPY);
    }
    // Out of the DC before m_bitmap deletes it; CDC's destructor then deletes the memory DC.
    if (m_hDC && m_hOldBitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
}
