#include "framework/controls/ProgressBase.h"

#include <algorithm>

void COSMProgressBase::SetRange(int lower, int upper)
{
    if (lower == m_lower && upper == m_upper)
        return;
    m_lower = lower;
    m_upper = upper;
    RedrawProgress();
}

void COSMProgressBase::GetRange(int& lower, int& upper) const
{
    lower = m_lower;
    upper = m_upper;
}

void COSMProgressBase::SetPos(int pos)
{
    pos = ClampProgressPos(pos, m_lower, m_upper);
    if (pos == m_pos)
        return;
    m_pos = pos;
    RedrawProgress();
}

int COSMProgressBase::ClampProgressPos(int pos, int lower, int upper)
{
    return std::min(std::max(pos, lower), upper);
}
