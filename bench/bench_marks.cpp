// Marking every row and inverting the marks of a million rows, through the selection binding
// as the window's buttons do: the flags, the view's new selection and, with a shown view
// (second argument 1), what the view does with both.
// Runs on Qt's offscreen platform.
#include "app/CandidateView.h"
#include "list/CandidateModel.h"
#include "list/CandidateSelection.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The list as the window holds it: model, view and the binding of the marks. Rows are marked
// by the pattern (every row from `every` on, one in `every`), as intake leaves them.
struct List
{
    List(int count, int every, bool shown)
    {
        std::vector<CandidateRow> rows;
        rows.reserve(static_cast<size_t>(count));
        const FolderText folder(u"/home/user/Bilder/"_s);
        for (int i = 0; i < count; ++i) {
            CandidateRow row = CandidateRow::fromParts(folder, u"IMG_%1.jpg"_s.arg(i));
            row.Marked = i % every == 0;
            rows.push_back(std::move(row));
        }
        view.setModel(&model);
        marks = std::make_unique<CandidateSelection>(&model);
        view.setSelectionModel(marks.get());
        if (shown) {
            view.resize(800, 600);
            view.show();
        }
        model.insertAtTop(std::move(rows));
    }

    CandidateModel model;
    CandidateView view;
    std::unique_ptr<CandidateSelection> marks;
};

// From no row marked to every row marked ("Alle markieren").
void BM_MarkAll(benchmark::State& state)
{
    List list(static_cast<int>(state.range(0)), 1, state.range(1) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        list.marks->ListeSelect(CandidateSelection::MarkMode::None);
        state.ResumeTiming();
        list.marks->ListeSelect(CandidateSelection::MarkMode::All);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Every other row marked, inverted: half a million runs of one row each time.
void BM_InvertMarks(benchmark::State& state)
{
    List list(static_cast<int>(state.range(0)), 2, state.range(1) != 0);
    for (auto _ : state)
        list.marks->ListeSelect(CandidateSelection::MarkMode::Invert);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_MarkAll)
    ->Args({1'000'000, 0})
    ->Args({1'000'000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_InvertMarks)
    ->Args({1'000'000, 0})
    ->Args({1'000'000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
