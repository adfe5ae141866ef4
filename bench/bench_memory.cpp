// Memory per listed row: a million rows as intake makes them (one folder text shared, short
// names cut from shared buffers, a time each), in the model with its selection binding,
// all marked, after a name pass. Counted from the allocator's bytes in use (mallinfo2),
// less the UTF-16 text of the old and the new names themselves.
#include "plan/PlanCheck.h"
#include "list/CandidateModel.h"
#include "list/CandidateSelection.h"
#include "list/RowFormat.h"
#include "list/TextArena.h"
#include "naming/MaskTranslator.h"

#include "ListedFolder.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

using namespace Qt::StringLiterals;

namespace {

size_t bytesInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd; // small chunks and mmapped blocks alike
}

void BM_MemoryPerRow(benchmark::State& state)
{
    const auto count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const size_t before = bytesInUse();
        auto model = std::make_unique<CandidateModel>();
        CandidateSelection marks(model.get());
        {
            std::vector<CandidateRow> rows;
            rows.reserve(static_cast<size_t>(count));
            const FolderText folder(u"/home/anna/Bilder/Urlaub/"_s);
            TextArena names;
            for (int i = 0; i < count; ++i) {
                CandidateRow row =
                    CandidateRow::fromParts(folder, names.add(u"IMG_%1.jpg"_s.arg(i, 7, 10, QChar(u'0'))));
                row.DateStamp = RowFormat::dateStamp({2024, 3, 15, 8, i / 6000 % 60, i / 100 % 60});
                row.Marked = true;
                rows.push_back(std::move(row));
            }
            model->insertAtTop(std::move(rows));
        }
        qsizetype textBytes = 0;
        {
            const ListedFolder fs({});
            const MaskTranslation mask =
                MaskTranslator::translate(u"Urlaub_[ZAHL][TYP]"_s, MaskTranslator::ForbiddenChars);
            model->updateNewNames(
                [&](NewNamesUpdate& rows) { PlanCheck::FillNewNameColumn(rows, mask, NamingOptions(), fs); });
        }
        for (const CandidateRow& row : model->rows())
            textBytes += 2 * (row.OldName.size() + row.NewName.size());
        const size_t after = bytesInUse();
        state.counters["bytes_per_row"] = double(after - before) / count;
        state.counters["text_bytes_per_row"] = double(textBytes) / count;
        state.counters["overhead_per_row"] = (double(after - before) - double(textBytes)) / count;
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MemoryPerRow)->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
