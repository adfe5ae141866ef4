#pragma once

#include "list/CandidateRow.h"
#include "list/PassMemory.h"

#include <QtGlobal>

#include <functional>
#include <span>
#include <utility>
#include <vector>

class QCollator;

// The orders the candidate list can be sorted in, and the moves that bring its rows into an
// order: plain passes over the rows. Whoever owns the rows decides when to sort and tells
// its views.
namespace RowOrder {

// What the rows are sorted by. The four texts sort in natural order without regard to letter
// case ("IMG_2" before "IMG_10"), Size and Date by value, PathName and BareName in plain
// character order; by None nothing moves.
enum class Key
{
    OldName,
    NewName,
    Folder,
    Type,
    Size,
    Date,
    PathName,
    BareName,
    Taken, // by the keys that sortedByNumber() is given
    None
};

// Told during long passes, at least every few thousand rows.
using Progress = std::function<void(qsizetype done, qsizetype total)>;

// The collator of the four texts: numeric, without regard to letter case.
QCollator collator();

// The tables of a sort in the list's PassMemory, numbered from the largest down as every pass
// numbers its own: the keys (also a caller's numbers for sortedByNumber), the room for merging,
// the order, and permute()'s marks. Once the order is made, the room for merging is free for
// the rows' new places, which the caller needs while it moves its rows.
enum SortTable : size_t
{
    KeyTable = 0,
    AsideTable = 1,
    PlaceTable = AsideTable,
    OrderTable = 2,
    PlacedTable = 3,
};

// The stable order of rows by key: place i gets row order[i], in table OrderTable of memory.
// Descending keeps equal rows in their present order too, so it is not a reversed ascent.
// Progress counts three steps per row: the keys and the sort take the first two thirds,
// permute() the last.
// Cost: one key per row, then O(n log n) comparisons, nearly all of two integers each for
// texts of printable ASCII; other texts are compared by the collator's keys.
std::span<const int> sorted(const std::vector<CandidateRow>& rows, Key key, Qt::SortOrder order,
                            PassMemory& memory, const Progress& progress = {});

// The stable order of rows by a number per row (keys[i] for row i), in the same steps of
// progress; keys may be table KeyTable of memory.
std::span<const int> sortedByNumber(std::span<const qint64> keys, Qt::SortOrder order, PassMemory& memory,
                                    const Progress& progress = {});

// Moves item order[i] to place i, in place, one cycle of the permutation after the other: a
// second table of a million rows costs more in fresh pages than the moves themselves. With a
// progress, tells every 65,536 moves, counting on from done up to steps.
template <typename T>
void permute(std::vector<T>& items, std::span<const int> order, PassMemory& memory,
             const Progress& progress = {}, qsizetype done = 0, qsizetype steps = 0)
{
    Q_ASSERT(order.size() == items.size());
    const bool told = steps > 0 && progress;
    qsizetype moved = 0;
    const std::span<quint64> placed = memory.table<quint64>(PlacedTable, (items.size() + 63) / 64);
    const auto place = [&placed](size_t at) { placed[at / 64] |= quint64(1) << (at % 64); };
    for (size_t start = 0; start < items.size(); ++start) {
        if (placed[start / 64] & (quint64(1) << (start % 64)))
            continue;
        T held = std::move(items[start]);
        size_t to = start;
        for (;;) {
            place(to);
            // Each move fetches an item from anywhere in the list, so a million of them take
            // long enough to be told about.
            if (told && ++moved % 65536 == 0)
                progress(done + moved, steps);
            const auto from = static_cast<size_t>(order[to]);
            if (from == start)
                break;
            items[to] = std::move(items[from]);
            to = from;
        }
        items[to] = std::move(held);
    }
}

} // namespace RowOrder
