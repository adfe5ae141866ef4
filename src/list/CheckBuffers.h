#pragma once

#include "list/KeptMemory.h"
#include "list/NameSet.h"

#include <QtGlobal>

#include <algorithm>
#include <deque>
#include <vector>

// The check's tables over every row and every listed entry, kept by the list between checks
// (see KeptMemory). One check uses them at a time.
class CheckBuffers
{
public:
    // The hashes of every row's new name, all 0.
    std::vector<quint64>& rowHashes(size_t rows)
    {
        KeptMemory::refill(m_rowHashes, rows);
        return m_rowHashes;
    }
    // The hashes of one folder listing's entries, all 0; the last listing's are gone.
    std::vector<quint64>& entryHashes(size_t entries)
    {
        m_largestListing = std::max(m_largestListing, entries);
        KeptMemory::refill(m_entryHashes, entries);
        return m_entryHashes;
    }
    // Starts a check: every set is free again.
    void beginCheck()
    {
        m_setsTaken = 0;
        m_largestListing = 0;
    }
    // Ends it: what it did not need is given back.
    void endCheck()
    {
        m_sets.resize(m_setsTaken);
        if (m_entryHashes.capacity() / 4 > m_largestListing)
            std::vector<quint64>().swap(m_entryHashes);
    }
    // An empty set with room for `capacity` names, which stays where it is until the next check.
    NameSet& takeSet(size_t capacity)
    {
        if (m_setsTaken == m_sets.size())
            m_sets.emplace_back();
        NameSet& set = m_sets[m_setsTaken++];
        set.reset(capacity);
        return set;
    }

private:
    std::vector<quint64> m_rowHashes;
    std::vector<quint64> m_entryHashes;
    std::deque<NameSet> m_sets; // a deque: taking another set moves none of those taken
    size_t m_setsTaken = 0;
    size_t m_largestListing = 0;
};
