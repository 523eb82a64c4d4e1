#include "framework/commandbars/CommandBarList.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/PopupBar.h"

#include <algorithm>

COSMCommandBarList::~COSMCommandBarList()
{
    RemoveAll();
}

COSMCommandBar* COSMCommandBarList::GetAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_bars[static_cast<size_t>(index)] : nullptr;
}

void COSMCommandBarList::Add(COSMCommandBar* bar)
{
    if (bar)
        m_bars.push_back(bar);
}

BOOL COSMCommandBarList::Contains(const COSMCommandBar* bar) const
{
    return std::find(m_bars.begin(), m_bars.end(), bar) != m_bars.end();
}

COSMCommandBar* FindCommandBarById(const std::vector<COSMCommandBar*>& bars, UINT id)
{
    if (id == 0)
        return nullptr;
    for (COSMCommandBar* bar : bars)
    {
        if (bar->GetBarID() == id)
            return bar;
    }
    return nullptr;
}

COSMCommandBar* COSMCommandBarList::FindById(UINT id) const
{
    return FindCommandBarById(m_bars, id);
}

void COSMCommandBarList::RemoveAll()
{
    // A bar's release may reach back into the list: take them out first.
    std::vector<COSMCommandBar*> bars;
    bars.swap(m_bars);
    for (COSMCommandBar* bar : bars)
        bar->InternalRelease();
}

void COSMOwnedCommandBarList::Add(COSMCommandBar* bar)
{
    if (!bar)
        return;
    COSMCommandBarList::Add(bar);
    if (auto* popup = dynamic_cast<COSMPopupBar*>(bar))
        popup->SetOwnedByList(TRUE);
}
