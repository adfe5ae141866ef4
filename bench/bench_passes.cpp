// Fresh memory per repeated pass: the minor page faults of a check and of a sort over a million
// rows that a first pass has already seen, as the window repeats them after each edit or header
// click. A fault is a page the system hands out afresh, the cost that makes a large list sluggish
// where touching new memory is slow (virtual machines). Reported as "faults" per pass; the times
// are those of the same passes. The program's malloc settings apply, as in the window.
#include "ListedFolder.h"
#include "list/CandidateModel.h"
#include "list/RowFormat.h"
#include "naming/MaskTranslator.h"
#include "plan/PlanCheck.h"
#include "platform/MemoryPolicy.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype Rows = 1'000'000;

long minorFaults()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

QString fileName(qsizetype i)
{
    return u"IMG_%1.jpg"_s.arg(i, 7, 10, QLatin1Char('0'));
}

struct List
{
    List()
    {
        QStringList names;
        names.reserve(Rows);
        std::vector<CandidateRow> rows;
        rows.reserve(size_t(Rows));
        const FolderText bilder(u"/bilder/"_s);
        for (qsizetype i = 0; i < Rows; ++i) {
            // Out of order, so that every sort moves the rows.
            names << fileName((i * 7919) % Rows);
            CandidateRow row = CandidateRow::fromParts(bilder, names.constLast());
            row.DateStamp = RowFormat::dateStamp({2024, 3, 15, 8, 9, 10});
            row.Marked = true;
            rows.push_back(std::move(row));
        }
        folder = std::make_unique<ListedFolder>(names);
        model.insertAtTop(std::move(rows));
    }

    CandidateModel model;
    std::unique_ptr<ListedFolder> folder;
};

List& list()
{
    static List instance;
    return instance;
}

void faultsPerPass(benchmark::State& state, long faults)
{
    state.counters["faults"] = benchmark::Counter(double(faults), benchmark::Counter::kAvgIterations);
}

// A check after an edit of the mask: the names change each time (two masks in turn).
void BM_RepeatedCheck(benchmark::State& state)
{
    List& rows = list();
    NamingOptions options;
    options.DigitsText = u"7"_s;
    options.LeadZeroChar = u"0"_s;
    const MaskTranslation masks[2] = {
        MaskTranslator::translate(u"Urlaub_[ZAHL]_[DATUM][TYP]"_s, MaskTranslator::ForbiddenChars),
        MaskTranslator::translate(u"Ferien_[ZAHL]_[DATUM][TYP]"_s, MaskTranslator::ForbiddenChars)};
    int turn = 0;
    const auto check = [&] {
        PlanResult result;
        rows.model.updateNewNames([&](NewNamesUpdate& update) {
            result = PlanCheck::FillNewNameColumn(update, masks[turn], options, *rows.folder);
        });
        turn = 1 - turn;
        return result;
    };
    check(); // the first pass, which may take what it needs
    long faults = 0;
    for (auto _ : state) {
        const long before = minorFaults();
        const PlanResult result = check();
        faults += minorFaults() - before;
        if (!result.allPassed())
            state.SkipWithError("the plan did not pass");
    }
    faultsPerPass(state, faults);
}

// A click on the name column's header, each time the other way round.
void BM_RepeatedSort(benchmark::State& state)
{
    List& rows = list();
    Qt::SortOrder order = Qt::AscendingOrder;
    rows.model.sort(CandidateModel::ColOldName, order);
    long faults = 0;
    for (auto _ : state) {
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        const long before = minorFaults();
        rows.model.sort(CandidateModel::ColOldName, order);
        faults += minorFaults() - before;
    }
    faultsPerPass(state, faults);
}

} // namespace

BENCHMARK(BM_RepeatedCheck)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_RepeatedSort)->Unit(benchmark::kMillisecond)->Iterations(4);

int main(int argc, char** argv)
{
    MemoryPolicy::apply();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
