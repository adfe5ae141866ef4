// Translate + generate + plan check over one folder, as a check after an edit runs it.
#include "plan/PlanCheck.h"
#include "list/CandidateRow.h"
#include "list/FileValuesTable.h"
#include "list/RowFormat.h"
#include "naming/MaskTranslator.h"

#include "ListedFolder.h"
#include "platform/PosixFileSystem.h"
#include "InterleavedMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QString fileName(qsizetype i)
{
    return QStringLiteral("IMG_%1.jpg").arg(i, 7, 10, QLatin1Char('0'));
}

std::vector<CandidateRow> makeRows(const QString& folderText, qsizetype count)
{
    const FolderText folder(folderText);
    std::vector<CandidateRow> rows;
    rows.reserve(static_cast<size_t>(count));
    for (qsizetype i = 0; i < count; ++i) {
        CandidateRow row = CandidateRow::fromParts(folder, fileName(i));
        row.DateStamp = RowFormat::dateStamp({2024, 3, 15, 8, 9, 10});
        row.Marked = true;
        rows.push_back(std::move(row));
    }
    return rows;
}

void runCheck(benchmark::State& state, std::vector<CandidateRow>& rows, const FileSystem& fs)
{
    NamingOptions options;
    options.DigitsText = QStringLiteral("7");
    options.LeadZeroChar = QStringLiteral("0");
    for (auto _ : state) {
        const MaskTranslation mask = MaskTranslator::translate(QStringLiteral("Urlaub_[ZAHL]_[DATUM][TYP]"),
                                                               MaskTranslator::ForbiddenChars);
        const PlanResult result = PlanCheck::FillNewNameColumn(rows, mask, options, fs);
        benchmark::DoNotOptimize(result.MarkedCount);
        if (!result.allPassed())
            state.SkipWithError("the plan did not pass");
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(rows.size()));
}

void BM_CheckRealFolder(benchmark::State& state)
{
    static std::unique_ptr<QTemporaryDir> dir;
    static qsizetype created = 0;
    const qsizetype count = state.range(0);
    if (!dir || created != count) {
        dir = std::make_unique<QTemporaryDir>();
        for (qsizetype i = 0; i < count; ++i) {
            QFile file(dir->filePath(fileName(i)));
            if (!file.open(QIODevice::WriteOnly)) {
                state.SkipWithError("cannot create the files");
                return;
            }
        }
        created = count;
    }
    std::vector<CandidateRow> rows = makeRows(dir->path() + u'/', count);
    const PosixFileSystem fs;
    runCheck(state, rows, fs);
}

void BM_CheckListedFolder(benchmark::State& state)
{
    const qsizetype count = state.range(0);
    QStringList names;
    names.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        names << fileName(i);
    std::vector<CandidateRow> rows = makeRows(QStringLiteral("/bilder/"), count);
    const ListedFolder fs(names);
    runCheck(state, rows, fs);
}

// "[FOTO.RDATUM]_[ZAHL]" with the capture times read, against "[RDATUM]_[ZAHL]" over the same
// rows (argument 1 and 0): what the values table adds to a check.
void BM_CheckCaptureTime(benchmark::State& state)
{
    constexpr qsizetype Count = 100'000;
    QStringList names;
    for (qsizetype i = 0; i < Count; ++i)
        names << fileName(i);
    std::vector<CandidateRow> rows = makeRows(QStringLiteral("/bilder/"), Count);
    FileValuesTable values;
    values.make(rows.size());
    FileMetadata read;
    read.taken = RowFormat::dateStamp({2023, 7, 14, 13, 45, 7});
    read.camera = QStringLiteral("ILCE-7M3");
    for (size_t i = 0; i < rows.size(); ++i)
        values.store(i, read);
    const ListedFolder fs(names);
    const MaskTranslation mask = MaskTranslator::translate(
        state.range(0) ? QStringLiteral("[FOTO.RDATUM]_[ZAHL]") : QStringLiteral("[RDATUM]_[ZAHL]"),
        MaskTranslator::ForbiddenChars);
    for (auto _ : state) {
        const PlanResult result = PlanCheck::FillNewNameColumn(rows, values, mask, NamingOptions(), fs);
        if (!result.allPassed())
            state.SkipWithError("the plan did not pass");
    }
}

} // namespace

BENCHMARK(BM_CheckCaptureTime)->ArgName("photo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_CheckRealFolder)->Arg(100'000)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_CheckListedFolder)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->MinTime(2);
int main(int argc, char** argv)
{
    return interleavedBenchmarkMain(argc, argv);
}
