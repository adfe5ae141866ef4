#pragma once

#include "list/CandidateRow.h"

#include <vector>

// Adjacent rows from first to last, both included.
struct RowRun
{
    int first = 0;
    int last = 0;
};

// The runs of adjacent rows in a set of rows, top to bottom: the blocks that a removal, a move
// and the view's selection work on. One pass over the input, one entry per run.
namespace RowRuns {

// Of row numbers in ascending order without repeats.
std::vector<RowRun> ofSorted(const std::vector<int>& rows);
// Of the marked rows.
std::vector<RowRun> ofMarked(const std::vector<CandidateRow>& rows);
// Of the rows that runs in any order cover, overlapping or touching; empty runs (last before
// first) are dropped.
std::vector<RowRun> merged(std::vector<RowRun> runs);

} // namespace RowRuns
