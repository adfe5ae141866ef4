// The rename run over real files against its floor, a bare loop of renameat2 over the same
// files (the run checks each entry against one listing of the folder), and beside it the loop
// that also looks at each entry with fstatat, as the run once did. Each iteration renames every file to its
// other name and the next one back. The run writes its journal first, which is measured on its own as well:
// its share of the run is the write and the two syncs, which the bare loop does not have. BM_RenameRun/0 is
// the run without a journal, /1 with one, so that what the journal costs beyond its own write shows (the
// renames after a sync are a little slower on ext4).
#include "plan/RenameRun.h"
#include "plan/RunJournal.h"
#include "plan/WindowJournal.h"
#include "list/CandidateModel.h"
#include "platform/JournalFolder.h"
#include "platform/PosixFileSystem.h"
#include "InterleavedMain.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int fileCount = 10000;

// One folder of files named a<i>.jpg, renamed to b<i>.jpg and back in turn.
class Files
{
public:
    explicit Files(int count)
    {
        if (!m_dir.isValid()) {
            std::fprintf(stderr, "cannot create a temporary folder\n");
            std::abort();
        }
        m_folder = m_dir.path() + u'/';
        for (int i = 0; i < count; ++i) {
            const QByteArray path = QFile::encodeName(m_folder + name(0, i));
            const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
            struct stat info = {};
            if (fd < 0 || ::fstat(fd, &info) != 0) {
                std::perror("open");
                std::abort();
            }
            ::close(fd);
            m_identities.push_back({static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)});
        }
        m_count = count;
        // Written back now, the files' creation does not fall into the renames measured next,
        // whichever benchmark's they are.
        const int folderFd = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY);
        if (folderFd < 0 || ::syncfs(folderFd) != 0) {
            std::perror("syncfs");
            std::abort();
        }
        ::close(folderFd);
    }

    static QString name(int side, int i)
    {
        return (side == 0 ? u"a"_s : u"b"_s) + QString::number(i) + u".jpg"_s;
    }
    const QString& folder() const { return m_folder; }
    // The encoded paths of both names, by side.
    std::array<std::vector<QByteArray>, 2> paths() const
    {
        std::array<std::vector<QByteArray>, 2> names;
        for (int side = 0; side < 2; ++side) {
            for (int i = 0; i < m_count; ++i)
                names[size_t(side)].push_back(QFile::encodeName(m_folder + name(side, i)));
        }
        return names;
    }
    int count() const { return m_count; }
    // The file's identity, which a rename keeps.
    const EntryIdentity& identity(int i) const { return m_identities[static_cast<size_t>(i)]; }
    int side() const { return m_side; }
    void flip() { m_side = 1 - m_side; }

private:
    QTemporaryDir m_dir;
    QString m_folder;
    std::vector<EntryIdentity> m_identities;
    int m_count = 0;
    int m_side = 0;
};

void BM_BareLookAndRenameLoop(benchmark::State& state)
{
    Files files(fileCount);
    const auto names = files.paths();
    for (auto _ : state) {
        const std::vector<QByteArray>& from = names[size_t(files.side())];
        const std::vector<QByteArray>& to = names[size_t(1 - files.side())];
        for (size_t i = from.size(); i-- > 0;) {
            struct stat info = {};
            const EntryIdentity& listed = files.identity(static_cast<int>(i));
            if (::fstatat(AT_FDCWD, from[i].constData(), &info, 0) != 0 || S_ISDIR(info.st_mode) ||
                static_cast<quint64>(info.st_ino) != listed.inode ||
                static_cast<quint64>(info.st_dev) != listed.device)
                state.SkipWithError("not the listed file");
            else if (::renameat2(AT_FDCWD, from[i].constData(), AT_FDCWD, to[i].constData(),
                                 RENAME_NOREPLACE) != 0)
                state.SkipWithError("renameat2 failed");
        }
        files.flip();
    }
    state.SetItemsProcessed(state.iterations() * files.count());
}
BENCHMARK(BM_BareLookAndRenameLoop)->Unit(benchmark::kMillisecond);

// The floor of the run since it takes its identity check from one listing per folder: the
// renames alone.
void BM_BareRenameLoop(benchmark::State& state)
{
    Files files(fileCount);
    const auto names = files.paths();
    for (auto _ : state) {
        const std::vector<QByteArray>& from = names[size_t(files.side())];
        const std::vector<QByteArray>& to = names[size_t(1 - files.side())];
        for (size_t i = from.size(); i-- > 0;) {
            if (::renameat2(AT_FDCWD, from[i].constData(), AT_FDCWD, to[i].constData(), RENAME_NOREPLACE) !=
                0)
                state.SkipWithError("renameat2 failed");
        }
        files.flip();
    }
    state.SetItemsProcessed(state.iterations() * files.count());
}
BENCHMARK(BM_BareRenameLoop)->Unit(benchmark::kMillisecond);

void BM_JournalWrite(benchmark::State& state)
{
    Files files(fileCount);
    RunJournal::Plan plan;
    for (int i = files.count(); i-- > 0;)
        plan.push_back(
            {files.folder(), Files::name(0, i), Files::name(1, i), files.identity(i), 0, 20240131120000});
    const JournalFolder folder(files.folder() + u"state/velto"_s);
    for (auto _ : state) {
        if (!folder.create(RunJournal::encode(plan), QDateTime::currentDateTimeUtc()))
            state.SkipWithError("the journal was not written");
    }
    state.SetItemsProcessed(state.iterations() * files.count());
}
BENCHMARK(BM_JournalWrite)->Unit(benchmark::kMillisecond);

void BM_RenameRun(benchmark::State& state)
{
    Files files(fileCount);
    PosixFileSystem fs;
    WindowJournal window(files.folder() + u"state/velto"_s);
    const RunJournal::Sink journal = window.sink();
    for (auto _ : state) {
        state.PauseTiming();
        CandidateModel model;
        std::vector<CandidateRow> rows;
        rows.reserve(static_cast<size_t>(files.count()));
        const FolderText folder(files.folder());
        for (int i = 0; i < files.count(); ++i) {
            CandidateRow row = CandidateRow::fromParts(folder, Files::name(files.side(), i));
            row.NewName = Files::name(1 - files.side(), i);
            row.setIdentity(files.identity(i));
            row.Marked = true;
            rows.push_back(std::move(row));
        }
        model.insertAtTop(std::move(rows));
        int shown = 0;
        state.ResumeTiming();

        const RenameRun::Outcome outcome = RenameRun::run(
            model, fs, [&shown](int value) { shown = value; }, [](const RenameFailure&) { return true; },
            state.range(0) ? journal : RunJournal::Sink());
        if (outcome.failed != 0 || model.rowCount() != 0 || outcome.journalFailed)
            state.SkipWithError("the run left rows");
        benchmark::DoNotOptimize(shown);
        files.flip();
    }
    state.SetItemsProcessed(state.iterations() * files.count());
}
BENCHMARK(BM_RenameRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return interleavedBenchmarkMain(argc, argv);
}
