// Opening the help window with a manual of 2 MB: the file read, parsed and put into the view,
// the window shown and its first screen drawn (BM_OpenHelp), and besides the whole document
// laid out, which the view otherwise finishes in steps while idle (BM_LayOutHelp). The shapes
// are those that once took minutes or more: one paragraph of 330,000 alternating format runs
// ({\b a}{\i b}...), a paragraph that is one word, a plain paragraph of words, and 250,000
// short paragraphs. Runs on Qt's offscreen platform with a temporary home folder.
#include "windows/HelpForm.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype ManualBytes = 2 * 1000 * 1000;

enum Shape
{
    ManyRuns,
    OneWord,
    PlainParagraph,
    ManyParagraphs,
};

QTemporaryDir* folder = nullptr;

QString manual(Shape shape)
{
    const char* const units[] = {R"({\b a}{\i b})", "ab", "Worte und Worte ", "abc\\par\n"};
    QByteArray rtf = R"({\rtf1\ansi )";
    while (rtf.size() < ManualBytes)
        rtf += units[shape];
    rtf += '}';
    const QString path = folder->filePath(u"help%1.rtf"_s.arg(int(shape)));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size())
        std::abort();
    return path;
}

void openHelp(benchmark::State& state, bool layOutWhole)
{
    const QString file = manual(static_cast<Shape>(state.range(0)));
    for (auto _ : state) {
        HelpForm form(file);
        form.show();
        benchmark::DoNotOptimize(form.grab());
        if (layOutWhole) {
            QTextDocument* document = form.findChild<QTextBrowser*>(u"Text1"_s)->document();
            benchmark::DoNotOptimize(document->documentLayout()->documentSize());
        }
    }
    state.SetBytesProcessed(state.iterations() * ManualBytes);
}

void BM_OpenHelp(benchmark::State& state)
{
    openHelp(state, false);
}

void BM_LayOutHelp(benchmark::State& state)
{
    openHelp(state, true);
}

void shapes(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgName("shape")->DenseRange(ManyRuns, ManyParagraphs)->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_OpenHelp)->Apply(shapes);
BENCHMARK(BM_LayOutHelp)->Apply(shapes);

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + u"/.config"_s));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    folder = &home;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
