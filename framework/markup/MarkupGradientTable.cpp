#include "framework/markup/MarkupGradientTable.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupGradientStop.h"
#include "framework/markup/MarkupPoint.h"

#include <algorithm>

COSMMarkupGradientTable::COSMMarkupGradientTable(const COSMMarkupLinearGradientBrush* brush)
{
    if (!brush)
        return;
    if (const COSMMarkupPoint* start =
            MarkupDynamicCast<COSMMarkupPoint>(brush->GetValue(COSMMarkupLinearGradientBrush::s_pStartPointProperty)))
    {
        m_startX = start->GetX();
        m_startY = start->GetY();
    }
    if (const COSMMarkupPoint* end =
            MarkupDynamicCast<COSMMarkupPoint>(brush->GetValue(COSMMarkupLinearGradientBrush::s_pEndPointProperty)))
    {
        m_endX = end->GetX();
        m_endY = end->GetY();
    }
    const COSMMarkupGradientStops* stops = brush->GetGradientStops();
    const int count = stops ? stops->GetCount() : 0;
    for (int i = 0; i < count; ++i)
    {
        const COSMMarkupGradientStop* stop = MarkupDynamicCast<COSMMarkupGradientStop>(stops->GetItem(i));
        if (stop)
            m_entries.push_back(Entry{stop->GetColor(), stop->GetOffset(), 0.0, i});
    }
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const Entry& a, const Entry& b) { return a.offset < b.offset; });
    for (size_t i = 1; i < m_entries.size(); ++i)
        m_entries[i].delta = m_entries[i].offset - m_entries[i - 1].offset;
}

UINT COSMMarkupGradientTable::ColorAt(double t) const
{
    if (m_entries.empty())
        return 0;
    if (t <= m_entries.front().offset)
        return m_entries.front().color;
    if (t >= m_entries.back().offset)
        return m_entries.back().color;
    for (size_t i = 1; i < m_entries.size(); ++i)
    {
        const Entry& entry = m_entries[i];
        if (entry.offset <= t || entry.delta == 0.0)
            continue;
        const Entry& previous = m_entries[i - 1];
        const double a = (entry.offset - t) / entry.delta;
        UINT color = 0;
        for (int shift = 0; shift < 32; shift += 8)
        {
            const double mixed = ((previous.color >> shift) & 0xFF) * a + ((entry.color >> shift) & 0xFF) * (1.0 - a);
            color |= static_cast<UINT>(static_cast<int>(mixed) & 0xFF) << shift;
        }
        return color;
    }
    return m_entries.back().color;
}
