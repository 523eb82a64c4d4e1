#include "framework/commandbars/CustomizeDropSource.h"

#include <algorithm>

void COSMCustomizeDropSource::Register(COSMCommandBar* bar)
{
    if (bar && !IsRegistered(bar))
        m_bars.push_back(bar);
}

void COSMCustomizeDropSource::Unregister(COSMCommandBar* bar)
{
    m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), bar), m_bars.end());
}

BOOL COSMCustomizeDropSource::IsRegistered(const COSMCommandBar* bar) const
{
    return std::find(m_bars.begin(), m_bars.end(), bar) != m_bars.end();
}
