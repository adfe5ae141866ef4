#pragma once

#include "list/CandidateRow.h"

#include <QtGlobal>

#include <functional>
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

// The stable order of rows by key: place i gets row order[i]. Descending keeps equal rows in
// their present order too, so it is not a reversed ascent. Progress counts three steps per
// row: the keys and the sort take the first two thirds, permute() the last.
// Cost: one key per row, then O(n log n) comparisons, nearly all of two integers each for
// texts of printable ASCII; other texts are compared by the collator's keys.
std::vector<int> sorted(const std::vector<CandidateRow>& rows, Key key, Qt::SortOrder order,
                        const Progress& progress = {});

// The stable order of rows by a number per row (keys[i] for row i), in the same steps of progress.
std::vector<int> sortedByNumber(const std::vector<qint64>& keys, Qt::SortOrder order,
                                const Progress& progress = {});

// Moves row order[i] to place i, in place, one cycle of the permutation after the other.
// With a progress, tells every 65,536 moves, counting on from done up to steps.
void permute(std::vector<CandidateRow>& rows, const std::vector<int>& order, const Progress& progress = {},
             qsizetype done = 0, qsizetype steps = 0);

} // namespace RowOrder
