#pragma once

#include "list/NameSet.h"
#include "list/PassMemory.h"

#include <QtGlobal>

#include <deque>

// The name sets of one check, over the rows' new names and over listed entries, in the memory
// that the list keeps between passes (see PassMemory). The first two are the largest in a list
// of one folder: the rows' new names and the folder's entries.
class CheckBuffers
{
public:
    explicit CheckBuffers(PassMemory& memory) : m_memory(memory) {}
    // What the check did not take is given back.
    ~CheckBuffers() { m_memory.releaseFrom(FurtherSets + (m_sets.size() > 2 ? m_sets.size() - 2 : 0)); }
    CheckBuffers(const CheckBuffers&) = delete;
    CheckBuffers& operator=(const CheckBuffers&) = delete;

    // An empty set with room for `capacity` names, which stays where it is until the check ends.
    NameSet& takeSet(size_t capacity)
    {
        const size_t taken = m_sets.size();
        const size_t number = taken < 2 ? taken : FurtherSets + taken - 2;
        const size_t slots = NameSet::slotsFor(capacity);
        return m_sets.emplace_back(m_memory.table<NameSet::Table::element_type>(number, slots), capacity);
    }

private:
    // Numbered from the largest tables down, as the sort numbers its own: the further sets
    // come after the sort's last table.
    static constexpr size_t FurtherSets = 4;

    PassMemory& m_memory;
    std::deque<NameSet> m_sets; // a deque: taking another set moves none of those taken
};
