#include "list/RowRuns.h"

#include <QtGlobal>

#include <algorithm>

namespace {

// The runs of a sequence of items: item i stands for row rowOf(i) when taken(i) holds, and
// the rows of taken items ascend. A run goes on while the next item is taken and stands for
// the next row.
template <typename RowOf, typename Taken> std::vector<RowRun> runsOf(size_t count, RowOf rowOf, Taken taken)
{
    std::vector<RowRun> runs;
    for (size_t first = 0; first < count;) {
        if (!taken(first)) {
            ++first;
            continue;
        }
        size_t last = first;
        while (last + 1 < count && taken(last + 1) && rowOf(last + 1) == rowOf(last) + 1)
            ++last;
        runs.push_back({rowOf(first), rowOf(last)});
        first = last + 1;
    }
    return runs;
}

} // namespace

std::vector<RowRun> RowRuns::ofSorted(const std::vector<int>& rows)
{
    return runsOf(
        rows.size(), [&rows](size_t i) { return rows[i]; }, [](size_t) { return true; });
}

std::vector<RowRun> RowRuns::ofMarked(const std::vector<CandidateRow>& rows)
{
    return runsOf(
        rows.size(), [](size_t i) { return static_cast<int>(i); },
        [&rows](size_t i) { return rows[i].Marked; });
}

std::vector<RowRun> RowRuns::merged(std::vector<RowRun> runs)
{
    runs.erase(
        std::remove_if(runs.begin(), runs.end(), [](const RowRun& run) { return run.last < run.first; }),
        runs.end());
    std::sort(runs.begin(), runs.end(), [](const RowRun& a, const RowRun& b) { return a.first < b.first; });
    std::vector<RowRun> result;
    for (const RowRun& run : runs) {
        if (!result.empty() && qint64(run.first) <= qint64(result.back().last) + 1)
            result.back().last = std::max(result.back().last, run.last);
        else
            result.push_back(run);
    }
    return result;
}
