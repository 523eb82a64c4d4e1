#include "framework/commandbars/PopupAnimationFrames.h"

COSMPopupAnimationFrames::COSMPopupAnimationFrames(const CRect& screenRect)
    : m_local(0, 0, screenRect.Width(), screenRect.Height())
{
    HDC screen = ::GetDC(nullptr);
    CDC* screenDC = CDC::FromHandle(screen);
    m_screenCopy.CreateCompatibleDC(screenDC);
    m_image.CreateCompatibleDC(screenDC);
    m_screenBits.CreateCompatibleBitmap(screenDC, m_local.Width(), m_local.Height());
    m_imageBits.CreateCompatibleBitmap(screenDC, m_local.Width(), m_local.Height());
    m_oldScreen = m_screenCopy.SelectObject(&m_screenBits);
    m_oldImage = m_image.SelectObject(&m_imageBits);
    ::BitBlt(m_screenCopy.GetSafeHdc(), 0, 0, m_local.Width(), m_local.Height(), screen, screenRect.left,
             screenRect.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
}

COSMPopupAnimationFrames::~COSMPopupAnimationFrames()
{
    m_screenCopy.SelectObject(m_oldScreen);
    m_image.SelectObject(m_oldImage);
}
