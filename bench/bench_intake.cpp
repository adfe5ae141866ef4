// Intake of real files from the command line: stat per path, the duplicate check, the
// insertion at the top, the selection of the new rows and the final sort; and the floor they
// are measured against, bare lstat calls over the same paths.
#include "list/CandidateModel.h"
#include "list/CandidateSelection.h"
#include "list/ListIntake.h"
#include "platform/PosixFileSystem.h"
#include "InterleavedMain.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int largestSet = 100000;

// One folder of empty files, made once per process: creating 100,000 files takes longer
// than taking them in. The paths come in shuffled order, as a file manager's selection may.
class FileSet
{
public:
    static const FileSet& instance()
    {
        static const FileSet set;
        return set;
    }
    QStringList first(qsizetype count) const { return m_paths.first(std::min(count, m_paths.size())); }

private:
    FileSet()
    {
        if (!m_dir.isValid()) {
            std::fprintf(stderr, "cannot create a temporary folder\n");
            std::abort();
        }
        const QStringList kinds = {u"IMG_%1.jpg"_s, u"Urlaub %1.JPG"_s, u"scan-%1.pdf"_s, u"notiz %1.txt"_s};
        for (int i = 0; i < largestSet; ++i) {
            const QString path = m_dir.filePath(kinds.at(i % kinds.size()).arg(i));
            const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_WRONLY, 0644);
            if (fd < 0) {
                std::perror("open");
                std::abort();
            }
            ::close(fd);
            m_paths.append(path);
        }
        std::mt19937 random(42);
        std::shuffle(m_paths.begin(), m_paths.end(), random);
    }

    QTemporaryDir m_dir;
    QStringList m_paths;
};

// The list as the window holds it: model and the selection made of its marks.
struct List
{
    CandidateModel model;
    CandidateSelection marks{&model};
};

void intake(CandidateModel& model, const QStringList& paths, const FileSystem& fs)
{
    model.setSortingEnabled(false);
    model.insertAtTop(ListIntake::takeIn(paths, model.rows(), fs));
    model.setSortingEnabled(true);
}

void BM_Intake(benchmark::State& state)
{
    const QStringList paths = FileSet::instance().first(state.range(0));
    const PosixFileSystem fs;
    for (auto _ : state) {
        auto list = std::make_unique<List>();
        intake(list->model, paths, fs);
        benchmark::DoNotOptimize(list->model.rows().data());
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * paths.size());
}

// The same paths dropped a second time: every one is a duplicate and costs no stat.
void BM_IntakeAgain(benchmark::State& state)
{
    const QStringList paths = FileSet::instance().first(state.range(0));
    const PosixFileSystem fs;
    List list;
    intake(list.model, paths, fs);
    for (auto _ : state) {
        intake(list.model, paths, fs);
        benchmark::DoNotOptimize(list.model.rows().data());
    }
    state.SetItemsProcessed(state.iterations() * paths.size());
}

// The parts of BM_Intake: reading the paths, and sorting the rows.
void BM_TakeInOnly(benchmark::State& state)
{
    const QStringList paths = FileSet::instance().first(state.range(0));
    const PosixFileSystem fs;
    for (auto _ : state) {
        std::vector<CandidateRow> rows = ListIntake::takeIn(paths, {}, fs);
        benchmark::DoNotOptimize(rows.data());
        state.PauseTiming();
        rows = {};
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * paths.size());
}

// The floor BM_Intake is held to (within 1.5 times): the least a path-by-path intake of these
// paths does, each turned into the bytes the kernel takes (QFile::encodeName, timed, as the
// paths arrive as QStrings) and one lstat, with nothing kept.
void BM_BareLstatLoop(benchmark::State& state)
{
    const QStringList paths = FileSet::instance().first(state.range(0));
    for (auto _ : state) {
        for (const QString& path : paths) {
            struct stat info = {};
            benchmark::DoNotOptimize(::lstat(QFile::encodeName(path).constData(), &info));
            benchmark::DoNotOptimize(info.st_mtime);
        }
    }
    state.SetItemsProcessed(state.iterations() * paths.size());
}

// For reference, only the system calls, over paths encoded before the timing: the kernel's share.
void BM_BareLstatEncoded(benchmark::State& state)
{
    const QStringList paths = FileSet::instance().first(state.range(0));
    std::vector<QByteArray> encoded;
    encoded.reserve(static_cast<size_t>(paths.size()));
    for (const QString& path : paths)
        encoded.push_back(QFile::encodeName(path));
    for (auto _ : state) {
        for (const QByteArray& path : encoded) {
            struct stat info = {};
            benchmark::DoNotOptimize(::lstat(path.constData(), &info));
            benchmark::DoNotOptimize(info.st_mtime);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<qsizetype>(encoded.size()));
}

// Natural sort of rows without files behind them, up to the million the list must hold.
void BM_SortByName(benchmark::State& state)
{
    const auto count = static_cast<int>(state.range(0));
    std::vector<CandidateRow> rows;
    rows.reserve(static_cast<size_t>(count));
    std::mt19937 random(7);
    const FolderText folder(u"/home/user/Bilder/"_s);
    for (int i = 0; i < count; ++i)
        rows.push_back(CandidateRow::fromParts(folder, u"IMG_%1.jpg"_s.arg(random() % 10000000)));
    List list;
    list.model.insertAtTop(rows);
    Qt::SortOrder order = Qt::AscendingOrder;
    for (auto _ : state) {
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        list.model.sort(CandidateModel::ColOldName, order);
    }
    state.SetItemsProcessed(state.iterations() * count);
}

} // namespace

BENCHMARK(BM_Intake)->Arg(10000)->Arg(largestSet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_IntakeAgain)->Arg(largestSet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TakeInOnly)->Arg(10000)->Arg(largestSet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareLstatLoop)->Arg(largestSet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareLstatEncoded)->Arg(largestSet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SortByName)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    return interleavedBenchmarkMain(argc, argv);
}
