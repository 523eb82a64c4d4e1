#include "framework/commandbars/CommandBarAnimation.h"

#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/CommandBar.h"

COSMCommandBarAnimation::COSMCommandBarAnimation(COSMCommandBar* bar) : m_bar(bar) {}

COSMCommandBarAnimation::~COSMCommandBarAnimation()
{
    KillTimer();
}

void COSMCommandBarAnimation::RedrawRect(const RECT* rect, BOOL animate)
{
    ::InvalidateRect(m_bar->GetSafeHwnd(), rect, FALSE);
}

void COSMCommandBarAnimation::OnPaint(CPaintDC& dc)
{
    COSMBufferDC buffer(dc);
    DrawBar(buffer);
}

void COSMCommandBarAnimation::Paint(CDC* target, const CRect& rect)
{
    COSMBufferDC buffer(target->GetSafeHdc(), rect);
    if (buffer.GetSafeHdc())
        ::IntersectClipRect(buffer.GetSafeHdc(), rect.left, rect.top, rect.right, rect.bottom);
    DrawBar(buffer);
}

void COSMCommandBarAnimation::DrawBar(COSMBufferDC& buffer)
{
    // Without a buffer of its own the bar would draw straight into a memory DC that never reaches the target.
    if (buffer.IsBuffered())
        m_bar->DrawCommandBar(&buffer, buffer.GetRect());
}

void COSMCommandBarAnimation::OnAnimationTimer()
{
    KillTimer();
}

void COSMCommandBarAnimation::Reset()
{
    RemoveAll();
}

void COSMCommandBarAnimation::RemoveAll()
{
    KillTimer();
}

void COSMCommandBarAnimation::KillTimer()
{
    if (!m_timer)
        return;
    ::KillTimer(m_bar->GetSafeHwnd(), kTimerId);
    m_timer = 0;
}
