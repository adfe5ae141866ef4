// A rename run with many failures through the window, against its floor: the questions alone
// over a list of ten rows. A failure costs a question, a removal of the rows renamed before it
// and the repaint that the question causes; neither of the last two may grow with the list.
//   (a) 10,000 rows of real files, every second one deleted after the check, every question
//       answered OK in advance: from the click on "Umtaufen!" to the final status;
//   (b) 5,000 of the same questions over 10 rows, each followed by a repaint of the list;
//   (c) 500 repaints of the list's header with 10,000 rows, half of them marked here and
//       there, against the same with 10 rows.
// Runs on Qt's offscreen platform with a temporary home folder. Arguments: repetitions (3), rows
// of the long list (10000; half of them fail), and which of a, b, c to measure (all).
#include "app/CandidateView.h"
#include "app/Form1.h"
#include "list/CandidateModel.h"
#include "plan/RenameRun.h"
#include "widgets/MessageBox.h"
#include "widgets/ProgramTitle.h"
#include "BenchHome.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

int ListRows = 10000;
int Failures = ListRows / 2;
constexpr int SmallRows = 10;
constexpr int HeaderRepaints = 500;

struct Times
{
    std::vector<double> ms;
    double median() const
    {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[sorted.size() / 2];
    }
    double min() const { return ms.empty() ? 0 : *std::min_element(ms.begin(), ms.end()); }
};

QList<QByteArray> makeFiles(const QTemporaryDir& dir, int count)
{
    QList<QByteArray> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.append(QFile::encodeName(dir.filePath(u"IMG_%1.jpg"_s.arg(i))));
        const int fd = ::open(arguments.constLast().constData(), O_CREAT | O_WRONLY, 0644);
        if (fd < 0)
            std::exit(1);
        ::close(fd);
    }
    return arguments;
}

// A shown window over the files, checked and ready to rename.
std::unique_ptr<Form1> readyWindow(const QList<QByteArray>& arguments)
{
    auto window = std::make_unique<Form1>(arguments, 1);
    window->show();
    window->findChild<QLineEdit*>(u"Maske"_s)->setText(u"Urlaub_[ZAHL][TYP]"_s);
    auto* rename = window->findChild<QPushButton*>(u"Btn_8"_s);
    while (!rename->isEnabled())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    return window;
}

double runWithFailures()
{
    QTemporaryDir dir;
    const QList<QByteArray> arguments = makeFiles(dir, ListRows);
    const std::unique_ptr<Form1> window = readyWindow(arguments);
    for (int i = 1; i < ListRows; i += 2)
        ::unlink(arguments[i].constData());
    for (int i = 0; i < Failures; ++i)
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);

    QElapsedTimer clock;
    clock.start();
    window->findChild<QPushButton*>(u"Btn_8"_s)->click();
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    MessageBox::setNextAnswer(MessageBox::Answer::None);
    if (window->model()->rowCount() != Failures) {
        std::fprintf(stderr, "expected %d failed rows, found %d\n", Failures, window->model()->rowCount());
        std::exit(1);
    }
    return ms;
}

double questionsOnly()
{
    QTemporaryDir dir;
    const std::unique_ptr<Form1> window = readyWindow(makeFiles(dir, SmallRows));
    // What a closing question uncovers: the list with its header.
    QWidget* liste = window->findChild<CandidateView*>(u"Liste"_s);
    for (int i = 0; i < Failures; ++i)
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);

    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Failures; ++i) {
        const RenameFailure failure{dir.filePath(u"IMG_%1.jpg"_s.arg(i)),
                                    dir.filePath(u"Urlaub_%1.jpg"_s.arg(i)), ENOENT};
        if (MessageBox::okCancel(window.get(), ProgramTitle.toString(), RenameRun::failureText(failure),
                                 RenameRun::reasonText(failure)) != MessageBox::Answer::Ok)
            std::exit(1);
        liste->repaint();
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// Half of the rows marked in runs of one to four rows, the same pattern every time.
double headerRepaints(int rowCount)
{
    QTemporaryDir dir;
    const std::unique_ptr<Form1> window = readyWindow(makeFiles(dir, rowCount));
    CandidateModel* model = window->model();
    model->setAllMarked(false);
    std::vector<RowRun> runs;
    unsigned state = 12345;
    for (int row = 0; row < rowCount;) {
        state = state * 1103515245u + 12345u;
        const int length = 1 + static_cast<int>((state >> 16) % 4);
        runs.push_back({row, std::min(row + length, rowCount) - 1});
        row += 2 * length;
    }
    model->setMarked(runs, true);
    QApplication::processEvents();

    QWidget* header = window->findChild<CandidateView*>(u"Liste"_s)->header()->viewport();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < HeaderRepaints; ++i)
        header->repaint();
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    ListRows = argc > 2 ? std::max(2 * SmallRows, std::atoi(argv[2])) : ListRows;
    Failures = ListRows / 2;
    const QByteArray parts = argc > 3 ? QByteArray(argv[3]) : QByteArray("abc");
    const BenchHome home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    Times run, questions, headerLong, headerShort;
    for (int i = 0; i < repetitions; ++i) {
        if (parts.contains('a'))
            run.ms.push_back(runWithFailures());
        if (parts.contains('b'))
            questions.ms.push_back(questionsOnly());
        if (parts.contains('c')) {
            headerLong.ms.push_back(headerRepaints(ListRows));
            headerShort.ms.push_back(headerRepaints(SmallRows));
        }
    }
    std::printf("(a) run over %d rows, %d failures: median %.1f ms, min %.1f ms\n", ListRows, Failures,
                run.median(), run.min());
    std::printf("(b) %d questions over %d rows:      median %.1f ms, min %.1f ms\n", Failures, SmallRows,
                questions.median(), questions.min());
    std::printf("(c) %d header repaints, %d rows:      median %.1f ms, min %.1f ms\n", HeaderRepaints,
                ListRows, headerLong.median(), headerLong.min());
    std::printf("    %d header repaints, %d rows:         median %.1f ms, min %.1f ms\n", HeaderRepaints,
                SmallRows, headerShort.median(), headerShort.min());
    std::printf("(a)/(b) = %.2f (at most 2)   (c) %d/%d rows = %.2f (close to 1)   [%d repetitions]\n",
                questions.ms.empty() ? 0 : run.median() / questions.median(), ListRows, SmallRows,
                headerShort.ms.empty() ? 0 : headerLong.median() / headerShort.median(), repetitions);
    return 0;
}
