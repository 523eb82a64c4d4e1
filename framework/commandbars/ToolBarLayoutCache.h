// COSMToolBarLayoutCache: the docked layouts a toolbar measured, kept with everything each measurement read, so that
// asking again with nothing changed answers without measuring. A frame lays its bars out on every idle update and the
// dock bar asks each toolbar several times per layout (its natural length, the length it got, then committing it):
// measuring every control's text each time is what made a layout with nothing changed cost.
//
//   COSMToolBarLayoutCache::Inputs inputs = ...;           // lengths, mode and the generations the bar read
//   if (const COSMToolBarLayoutCache::Result* known = cache.Find(inputs)) ...
//   cache.Store(inputs, result, committed);
//
// The inputs hold counters rather than values where values are many (the bar's controls, the paint manager's
// metrics, the image manager's icons): whatever changes them counts, and a count that moved misses.
#pragma once

#include "classlib/Geometry.h"

#include <windows.h>

#include <array>
#include <cstddef>

class COSMToolBarLayoutCache
{
public:
    struct Inputs
    {
        int length = 0;
        DWORD mode = 0;
        int minWidth = 0;
        UINT barGeneration = 0;
        UINT paintGeneration = 0;
        UINT imageRevision = 0;
        const void* paintManager = nullptr;
        const void* imageManager = nullptr;
        HGDIOBJ font = nullptr;
        DWORD flags = 0;
        DWORD barStyle = 0;
        int type = 0;
        int position = 0;
        int defaultButtonStyle = 0;
        int mruWidth = 0;
        CSize iconSize;
        CSize buttonSize;
        CSize controlSpacing;
        BOOL textBelowIcons = FALSE;
        BOOL doubleGripper = FALSE;
        BOOL showExpandButton = FALSE;
        BOOL expandButtonAlways = FALSE;
        BOOL customizing = FALSE;

        bool operator==(const Inputs& other) const;
    };

    // What a measurement left behind besides its size: the expand button's state, which every measurement sets.
    struct Result
    {
        CSize size;
        BOOL hasExpandButton = FALSE;
        DWORD expandHideFlags = 0;
        CRect expandRect;
    };

    // The result measured for these inputs, or null.
    const Result* Find(const Inputs& inputs) const;
    // The controls stand where a committed layout with these inputs put them (no other commit since).
    BOOL IsCommitted(const Inputs& inputs) const { return m_hasCommitted && m_committed == inputs; }
    // Keeps the result, in place of the oldest one; committed: the controls now stand as it placed them.
    void Store(const Inputs& inputs, const Result& result, BOOL committed);
    void Clear();

private:
    struct Entry
    {
        BOOL used = FALSE;
        Inputs inputs;
        Result result;
    };

    // A dock bar asks for a handful of lengths per bar (natural, narrowest, placed), two sides' worth at most.
    static constexpr size_t kEntries = 8;
    std::array<Entry, kEntries> m_entries;
    size_t m_next = 0;
    Inputs m_committed;
    BOOL m_hasCommitted = FALSE;
};
