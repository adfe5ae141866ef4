// Reading capture dates from 10,000 JPEG photos and tags from 10,000 MP3 songs, warm cache, in
// velto-metadata fed through its pipe by one helper and by two side by side, against the
// anchors of the same run: the exiv2 program printing DateTimeOriginal of all photos in one
// process, exiftool -fast2 doing the same, a bare loop of open, read of 64 KB and close (the
// floor), and a single-threaded loop of TagLib::FileRef(path, false) over the songs. The
// readers in this process show what the helper adds. Times are real times: the work runs in
// other processes. "per_file" is the time per file. BM_VeltoPool is Velto's own path: the pool of
// helpers, as many as there are cores, as the window reads.
#include "MetadataBench.h"

#include "metadata/MetadataReader.h"
#include "platform/MetadataPool.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <exiv2/exiv2.hpp>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Files = 10000;

struct FileSet
{
    QTemporaryDir dir;
    QStringList photos;
    QStringList songs;

    static const FileSet& instance()
    {
        static const FileSet set;
        return set;
    }

private:
    FileSet()
    {
        if (!dir.isValid())
            std::abort();
        photos = MetadataBench::makePhotos(dir.path(), Files);
        songs = MetadataBench::makeSongs(dir.path(), Files);
        MetadataBench::warm(photos);
        MetadataBench::warm(songs);
    }
};

const QStringList& files(int kind)
{
    return kind == 0 ? FileSet::instance().photos : FileSet::instance().songs;
}

void perFile(benchmark::State& state, qsizetype count)
{
    state.counters["per_file"] = benchmark::Counter(
        double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Exiv2Program(benchmark::State& state)
{
    const QStringList& photos = files(0);
    for (auto _ : state) {
        if (!MetadataBench::runOver({QStringLiteral("exiv2"), QStringLiteral("-K"),
                                     QStringLiteral("Exif.Photo.DateTimeOriginal"), QStringLiteral("pr")},
                                    photos))
            state.SkipWithError("exiv2 failed or is not installed");
    }
    perFile(state, photos.size());
}

void BM_ExiftoolProgram(benchmark::State& state)
{
    const QStringList& photos = files(0);
    for (auto _ : state) {
        if (!MetadataBench::runOver(
                {QStringLiteral("exiftool"), QStringLiteral("-fast2"), QStringLiteral("-DateTimeOriginal")},
                photos))
            state.SkipWithError("exiftool failed or is not installed");
    }
    perFile(state, photos.size());
}

// The floor: the least any reader of the first 64 KB of each file does.
void BM_OpenRead64k(benchmark::State& state)
{
    const QStringList& paths = files(int(state.range(0)));
    std::vector<QByteArray> encoded;
    for (const QString& path : paths)
        encoded.push_back(QFile::encodeName(path));
    static char buffer[64 * 1024];
    for (auto _ : state) {
        for (const QByteArray& path : encoded) {
            const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
            benchmark::DoNotOptimize(::read(fd, buffer, sizeof buffer));
            ::close(fd);
        }
    }
    perFile(state, paths.size());
}

void BM_TagLibFileRef(benchmark::State& state)
{
    const QStringList& songs = files(1);
    std::vector<QByteArray> encoded;
    for (const QString& path : songs)
        encoded.push_back(QFile::encodeName(path));
    for (auto _ : state) {
        for (const QByteArray& path : encoded) {
            const TagLib::FileRef file(path.constData(), false);
            // Every value the helper reads, as TagLib gives it.
            if (const TagLib::Tag* tag = file.tag()) {
                benchmark::DoNotOptimize(tag->artist().to8Bit(true).size());
                benchmark::DoNotOptimize(tag->title().to8Bit(true).size());
                benchmark::DoNotOptimize(tag->album().to8Bit(true).size());
                benchmark::DoNotOptimize(tag->track());
                benchmark::DoNotOptimize(tag->year());
            }
        }
    }
    perFile(state, songs.size());
}

// MetadataReader in this process, with no pipe: the helper's reading alone.
void BM_ReaderInProcess(benchmark::State& state)
{
    const QStringList& paths = files(int(state.range(0)));
    std::vector<QByteArray> encoded;
    for (const QString& path : paths)
        encoded.push_back(QFile::encodeName(path));
    for (auto _ : state) {
        for (const QByteArray& path : encoded)
            benchmark::DoNotOptimize(MetadataReader::read(path).taken);
    }
    perFile(state, paths.size());
}

// Arguments: the files (0 photos, 1 songs) and the number of helpers.
void BM_Helpers(benchmark::State& state)
{
    const QStringList& paths = files(int(state.range(0)));
    const int helpers = int(state.range(1));
    for (auto _ : state) {
        const MetadataBench::Answers answers =
            MetadataBench::feedHelpers(QStringLiteral(VELTO_METADATA_HELPER), paths, helpers);
        const int found = state.range(0) == 0 ? answers.withTime : answers.withArtist;
        if (answers.count != paths.size() || found != paths.size())
            state.SkipWithError("the helpers did not read every file");
    }
    perFile(state, paths.size());
}

// Velto's whole path: the pool with as many helpers as there are cores, told every answer.
void BM_VeltoPool(benchmark::State& state)
{
    const QStringList& names = files(int(state.range(0)));
    std::vector<QByteArray> paths;
    for (const QString& name : names)
        paths.push_back(QFile::encodeName(name));
    MetadataPool pool(QStringLiteral(VELTO_METADATA_HELPER));
    for (auto _ : state) {
        qsizetype found = 0;
        pool.read(
            paths,
            [&](size_t, const FileMetadata& values) {
                found += values.taken != FileMetadata::NoTime || !values.artist.isEmpty() ? 1 : 0;
            },
            [](qsizetype) { return true; });
        if (found != qsizetype(paths.size()))
            state.SkipWithError("the pool did not read every file");
    }
    perFile(state, qsizetype(paths.size()));
}

} // namespace

BENCHMARK(BM_VeltoPool)->ArgName("songs")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Exiv2Program)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExiftoolProgram)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_OpenRead64k)->ArgName("songs")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TagLibFileRef)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReaderInProcess)->ArgName("songs")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Helpers)
    ->ArgNames({"songs", "helpers"})
    ->Args({0, 1})
    ->Args({0, 2})
    ->Args({1, 1})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv)
{
    // A helper that dies must not take the benchmark with it through a write to its pipe.
    std::signal(SIGPIPE, SIG_IGN);
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    QCoreApplication app(argc, argv); // Qt's JPEG writer is a plugin
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
