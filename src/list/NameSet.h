#pragma once

#include <QtGlobal>

#include <span>
#include <vector>

// A set of names that stay where they are (rows, paths, a folder listing), each stored as its
// index there; the caller hashes a name and says when a stored one is the same, so one set serves
// exact names and names without regard to letter case alike. Open addressing with linear probing
// over slots of eight bytes, which keep 32 bits of the hash beside the index: a probe reads a
// stored name only when those bits match, so a lookup touches about one cache line of a table of
// 16 bytes per name, and a caller that knows its next hashes can fetch their lines ahead. Sized
// once for all its names: a million of them are never moved by doubling.
class NameSet
{
    struct Slot
    {
        quint32 tag = 0;
        quint32 entry = 0; // index + 1, 0 when free
    };

public:
    // What the set's table is made of, for memory that someone else keeps (see slotsFor).
    using Table = std::span<Slot>;
    // The slots of a set with room for `capacity` names.
    static size_t slotsFor(size_t capacity)
    {
        size_t slots = 16;
        while (slots < 2 * capacity)
            slots *= 2;
        return slots;
    }

    NameSet() = default; // room for nothing; only prefetch() may be called
    // Empty, with room for `capacity` names, in a table of its own.
    explicit NameSet(size_t capacity) : m_own(slotsFor(capacity)) { use(m_own, capacity); }
    // Empty, with room for `capacity` names, in `slotsFor(capacity)` free slots that outlive it.
    NameSet(Table slots, size_t capacity) { use(slots, capacity); }
    NameSet(NameSet&&) = default; // the table stays where it is
    NameSet& operator=(NameSet&&) = default;

    // Brings the slot where a name of this hash begins its probe into the cache. Without a
    // condition: g++ drops a prefetch that stands under a test of the table's size, and a set
    // without room asks for address 0, which a prefetch may do.
    void prefetch(quint64 hash) const { __builtin_prefetch(m_slots.data() + (hash & m_mask)); }

    // The index of the stored name with this hash that same(index) accepts, or -1.
    template <typename Same> qint32 find(quint64 hash, Same same) const
    {
        return qint32(m_slots[probe(hash, same)].entry) - 1;
    }

    // The index of the stored name with this hash that same(index) accepts; else stores `index`,
    // which must not be negative, and returns it.
    template <typename Same> qint32 findOrAdd(quint64 hash, qint32 index, Same same)
    {
        Slot& slot = m_slots[probe(hash, same)];
        if (slot.entry == 0) {
            Q_ASSERT(index >= 0 && m_room > 0);
            --m_room;
            slot = {tagOf(hash), quint32(index) + 1};
        }
        return qint32(slot.entry) - 1;
    }

private:
    void use(Table slots, size_t capacity)
    {
        Q_ASSERT(slots.size() == slotsFor(capacity));
        m_slots = slots;
        m_mask = slots.size() - 1;
        m_room = capacity;
    }
    static quint32 tagOf(quint64 hash) { return quint32(hash >> 32); }

    // The slot of the name, or the free slot where it belongs.
    template <typename Same> size_t probe(quint64 hash, Same& same) const
    {
        Q_ASSERT(!m_slots.empty());
        const quint32 tag = tagOf(hash);
        for (size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
            const Slot& slot = m_slots[at];
            if (slot.entry == 0 || (slot.tag == tag && same(qint32(slot.entry) - 1)))
                return at;
        }
    }

    std::vector<Slot> m_own; // empty when the table is kept elsewhere
    Table m_slots;
    size_t m_mask = 0;
    size_t m_room = 0; // names that can still be added
};
