#include "framework/commandbars/ToolBarLayoutCache.h"

namespace {

bool SameSize(const CSize& a, const CSize& b)
{
    return a.cx == b.cx && a.cy == b.cy;
}

}  // namespace

bool COSMToolBarLayoutCache::Inputs::operator==(const Inputs& other) const
{
    return length == other.length && mode == other.mode && minWidth == other.minWidth &&
           barGeneration == other.barGeneration && paintGeneration == other.paintGeneration &&
           imageRevision == other.imageRevision && paintManager == other.paintManager &&
           imageManager == other.imageManager && font == other.font && flags == other.flags &&
           barStyle == other.barStyle && type == other.type && position == other.position &&
           defaultButtonStyle == other.defaultButtonStyle && mruWidth == other.mruWidth &&
           SameSize(iconSize, other.iconSize) && SameSize(buttonSize, other.buttonSize) &&
           SameSize(controlSpacing, other.controlSpacing) && textBelowIcons == other.textBelowIcons &&
           doubleGripper == other.doubleGripper && showExpandButton == other.showExpandButton &&
           expandButtonAlways == other.expandButtonAlways && customizing == other.customizing;
}

const COSMToolBarLayoutCache::Result* COSMToolBarLayoutCache::Find(const Inputs& inputs) const
{
    for (const Entry& entry : m_entries)
        if (entry.used && entry.inputs == inputs)
            return &entry.result;
    return nullptr;
}

void COSMToolBarLayoutCache::Store(const Inputs& inputs, const Result& result, BOOL committed)
{
    Entry* slot = nullptr;
    for (Entry& entry : m_entries)
        if (entry.used && entry.inputs == inputs)
            slot = &entry;
    if (!slot)
    {
        slot = &m_entries[m_next];
        m_next = (m_next + 1) % kEntries;
    }
    slot->used = TRUE;
    slot->inputs = inputs;
    slot->result = result;
    if (committed)
    {
        m_committed = inputs;
        m_hasCommitted = TRUE;
    }
}

void COSMToolBarLayoutCache::Clear()
{
    for (Entry& entry : m_entries)
        entry.used = FALSE;
    m_hasCommitted = FALSE;
}
