// Speed of the naming engine: translating a long mask, making the names of a whole list
// with a mask that uses every element kind, search-and-replace and a letter case, and the
// same pass with a regular expression against the plain replacement it stands for.

#include "naming/MaskTranslator.h"
#include "naming/NameGenerator.h"
#include "InterleavedMain.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString EveryKindMask = u"[NAME]_[TYP]_[ZAHL]_[2-5][R1-3][3,2][R2,2][2-][R2-][4]"
                              u"_[DATUM]_[RDATUM]_[TAG][MONAT][JAHR]_[ZEIT]_[H][M][S]"
                              u"[STUNDE][MINUTE][SEKUNDE] [[Kopie]"_s;

struct Row
{
    QString bareName;
    QString typeText;
    QString dateKey;
};

std::vector<Row> makeRows(qsizetype count)
{
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(count));
    const QString types[] = {u".jpg"_s, u".JPG"_s, u".png"_s, u".gz"_s, QString()};
    for (qlonglong i = 0; i < count; ++i) {
        const QString name =
            i % 3 == 0 ? u"IMG_%1"_s.arg(i, 7, 10, QChar(u'0')) : u"Urlaub am Meer %1 – Grüße"_s.arg(i);
        rows.push_back({name, types[i % 5],
                        u"2023%1%2%3:%4:%5"_s.arg(1 + i % 12, 2, 10, QChar(u'0'))
                            .arg(1 + i % 28, 2, 10, QChar(u'0'))
                            .arg(i % 24, 2, 10, QChar(u'0'))
                            .arg(i % 60, 2, 10, QChar(u'0'))
                            .arg((i * 7) % 60, 2, 10, QChar(u'0'))});
    }
    return rows;
}

void BM_TranslateLongMask(benchmark::State& state)
{
    QString mask;
    while (mask.size() < state.range(0))
        mask += u"Teil [NAME]-[zahl] [R2-5][3,4][[x] [Datum]_[h][m][s] "_s;
    for (auto _ : state) {
        const MaskTranslation t = MaskTranslator::translate(mask, MaskTranslator::ForbiddenChars);
        benchmark::DoNotOptimize(t.program.constData());
        if (!t.MaskOk)
            state.SkipWithError("mask does not translate");
    }
    state.SetBytesProcessed(state.iterations() * mask.size() * qsizetype(sizeof(QChar)));
    state.counters["chars"] = double(mask.size());
}
BENCHMARK(BM_TranslateLongMask)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Eight digits with leading zeros, "img" replaced by "Bild", the given letter case.
NamingOptions passOptions(CaseRule letterCase)
{
    NamingOptions options;
    options.DigitsText = u"8"_s;
    options.LeadZeroChar = u"0"_s;
    options.LetterCaseIndex = letterCase;
    options.SearchText = u"img"_s;
    options.ReplaceText = u"Bild"_s;
    return options;
}

// The generator of a pass with the mask of every kind; made once, as the check makes it
// once per pass.
NameGenerator passGenerator(CaseRule letterCase)
{
    const MaskTranslation t = MaskTranslator::translate(EveryKindMask, MaskTranslator::ForbiddenChars);
    Q_ASSERT(t.MaskOk);
    return NameGenerator(t.program, passOptions(letterCase));
}

// One name pass as the plan check runs it: every row's name is made and stored.
void BM_GenerateNames(benchmark::State& state)
{
    const std::vector<Row> rows = makeRows(state.range(0));
    const NameGenerator generator = passGenerator(static_cast<CaseRule>(state.range(1)));
    std::vector<QString> names(rows.size());

    for (auto _ : state) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Row& row = rows[i];
            names[i] = generator.generate({row.bareName, row.typeText, row.dateKey}, qint64(i) + 1);
        }
        benchmark::DoNotOptimize(names.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
// Second argument: the letter case (1 all capitals, 3 first capital).
BENCHMARK(BM_GenerateNames)
    ->Args({100'000, 1})
    ->Args({100'000, 3})
    ->Args({1'000'000, 1})
    ->Args({1'000'000, 3})
    ->Unit(benchmark::kMillisecond);

// The same pass through appendTo(), all names into one buffer: the generator's own cost,
// without an allocation per name.
void BM_AppendNames(benchmark::State& state)
{
    const std::vector<Row> rows = makeRows(state.range(0));
    const NameGenerator generator = passGenerator(static_cast<CaseRule>(state.range(1)));
    std::vector<qsizetype> ends(rows.size());
    QString names;
    names.reserve(state.range(0) * 200);

    for (auto _ : state) {
        names.resize(0);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Row& row = rows[i];
            generator.appendTo(names, {row.bareName, row.typeText, row.dateKey}, qint64(i) + 1);
            ends[i] = names.size();
        }
        benchmark::DoNotOptimize(names.constData());
        benchmark::DoNotOptimize(ends.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AppendNames)
    ->Args({100'000, 1})
    ->Args({100'000, 3})
    ->Args({1'000'000, 1})
    ->Args({1'000'000, 3})
    ->Unit(benchmark::kMillisecond);

// A camera's names, "IMG_1" to "IMG_1000000", with "[NAME][TYP]" through appendTo(): with
// argument 0 "IMG_" is replaced by "Urlaub_" as plain text; with 1 the regular expression
// "^IMG_(\d+)$" by "Urlaub_\1", which the engine must match against every name and take the
// group from. The expression's pass is to stay within 1.5 times the plain one.
void BM_ReplacePass(benchmark::State& state)
{
    const qsizetype count = 1'000'000;
    std::vector<QString> bareNames;
    bareNames.reserve(std::size_t(count));
    for (qsizetype i = 1; i <= count; ++i)
        bareNames.push_back(u"IMG_"_s + QString::number(i));
    const bool regex = state.range(0) != 0;
    NamingOptions options;
    options.SearchText = regex ? u"^IMG_(\\d+)$"_s : u"IMG_"_s;
    options.ReplaceText = regex ? u"Urlaub_\\1"_s : u"Urlaub_"_s;
    options.SearchIsRegex = regex;
    const MaskTranslation t = MaskTranslator::translate(u"[NAME][TYP]"_s, MaskTranslator::ForbiddenChars);
    const QString type = u".jpg"_s;
    QString names;
    names.reserve(count * 24);

    for (auto _ : state) {
        // One generator per pass, as each check makes one: the expression is compiled and its
        // time summed afresh.
        const NameGenerator generator(t.program, options);
        names.resize(0);
        for (qsizetype i = 0; i < count; ++i)
            generator.appendTo(names, {bareNames[std::size_t(i)], type, QStringView()}, i + 1);
        benchmark::DoNotOptimize(names.constData());
        if (generator.expressionFailed() || !names.startsWith(u"Urlaub_1.jpgUrlaub_2.jpg"))
            state.SkipWithError("the names are not the expected ones");
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ReplacePass)->ArgName("regex")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return interleavedBenchmarkMain(argc, argv);
}
