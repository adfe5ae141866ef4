// The start: the time from exec until the main window has painted its first checked list, for
// Velto with some paths on its command line, beside a minimal Qt Widgets program of the same
// shape (a main window with a tree view of 100 rows, painted once), measured in the same run.
// Run on a real platform, e.g. xcb under Xvfb:
//   xvfb-run bench_start [runs] [paths...]       (defaults: 5 runs, 100 and 50000 paths)
// The program starts itself as the child to be timed; the child reports the time since the
// parent's exec call and ends at once, without tearing down. Each start is told in stages: until
// the application object is made (the program loaded and linked, the display connected; for
// Velto also its name, window icon and translations, as main() sets them), the window made (for
// Velto its settings, layout, icons, and the paths taken in and checked), and the window shown
// and painted.
#include "app/CandidateView.h"
#include "app/Form1.h"
#include "app/ProgramIdentity.h"
#include "app/Translations.h"
#include "platform/MemoryPolicy.h"
#include "BenchHome.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

qint64 nowNs()
{
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// When the child's stages ended, in ns since the parent's exec call: the application object
// made, the window made (settings, layout, icons, the paths taken in and first checked).
qint64 appReady = 0;
qint64 windowReady = 0;

qint64 sinceExec()
{
    return nowNs() - std::atoll(qgetenv("VELTO_BENCH_EXEC_NS").constData());
}

// Ends the child at the first paint of `viewport` once `ready` is true, reporting the times of
// its stages and of the paint.
class FirstPaint final : public QObject
{
public:
    FirstPaint(QWidget* viewport, const bool& ready) : m_ready(ready) { viewport->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_ready) {
            QObject::eventFilter(watched, event);
            static_cast<QWidget*>(watched)->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [] {
                    std::printf("%.1f %.1f %.1f\n", double(sinceExec()) / 1e6, double(appReady) / 1e6,
                                double(windowReady) / 1e6);
                    std::fflush(stdout);
                    std::_Exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    const bool& m_ready;
};

int child(int argc, char** argv)
{
    const bool minimal = std::strcmp(argv[2], "minimal") == 0;
    if (minimal) {
        int qtArgc = 1;
        QApplication app(qtArgc, argv);
        appReady = sinceExec();
        QStandardItemModel model(100, 6);
        for (int row = 0; row < 100; ++row)
            model.setItem(row, 0, new QStandardItem(QStringLiteral("IMG_%1.jpg").arg(row)));
        QMainWindow window;
        auto* view = new QTreeView(&window);
        view->setModel(&model);
        window.setCentralWidget(view);
        windowReady = sinceExec();
        const bool ready = true;
        FirstPaint paint(view->viewport(), ready);
        window.show();
        return QApplication::exec();
    }
    // As main() does it.
    MemoryPolicy::apply(); // as the program sets it
    QList<QByteArray> arguments;
    for (int i = 3; i < argc; ++i)
        arguments.append(QByteArray::fromRawData(argv[i], qsizetype(std::strlen(argv[i]))));
    const Language language = UiLanguage::fromEnvironment();
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    ProgramIdentity::apply();
    Translations::install(language);
    appReady = sinceExec();
    bool checked = false;
    Form1 window(std::move(arguments));
    checked = true; // the first check of the paths ran in the constructor
    windowReady = sinceExec();
    FirstPaint paint(window.findChild<CandidateView*>(QStringLiteral("Liste"))->viewport(), checked);
    window.show();
    return QApplication::exec();
}

// The medians of a child's runs, in ms since exec: the first paint, and the ends of its stages.
struct Start
{
    double paint = -1;
    double app = -1;
    double window = -1;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The stages of the child's starts so far, in ms since exec.
struct Starts
{
    std::vector<double> paints, apps, windows;

    Start median() const { return {::median(paints), ::median(apps), ::median(windows)}; }
};

// Starts the child once with `words`, adding its stages to `starts`.
void startOnce(char* self, const std::vector<std::string>& words, Starts& starts)
{
    std::vector<char*> argv{self};
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    qputenv("VELTO_BENCH_EXEC_NS", QByteArray::number(nowNs()));
    pid_t pid = 0;
    if (posix_spawn(&pid, self, &actions, nullptr, argv.data(), environ) != 0)
        std::abort();
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    char text[128] = {};
    const ssize_t got = ::read(pipeFds[0], text, sizeof text - 1);
    ::close(pipeFds[0]);
    waitpid(pid, nullptr, 0);
    // The X server and the kernel tidy up after a child that ended, its windows and its shared
    // backing store, once it is gone. On one core that work would fall into the next start.
    usleep(100 * 1000);
    double paint = 0, app = 0, window = 0;
    if (got > 0 && std::sscanf(text, "%lf %lf %lf", &paint, &app, &window) == 3) {
        starts.paints.push_back(paint);
        starts.apps.push_back(app);
        starts.windows.push_back(window);
    }
}

void report(const char* what, const Start& start, double floor)
{
    std::printf("%s: %.1f ms (%.2fx the minimal program): application %.1f, window %.1f, "
                "shown and painted %.1f\n",
                what, start.paint, start.paint / floor, start.app, start.window - start.app,
                start.paint - start.window);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::strcmp(argv[1], "--child") == 0)
        return child(argc, argv);

    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    std::vector<int> counts;
    for (int i = 2; i < argc; ++i)
        counts.push_back(std::atoi(argv[i]));
    if (counts.empty())
        counts = {100, 50000};
    const BenchHome home;
    QTemporaryDir files;

    // Every round starts each program once, so that a machine whose speed drifts from minute to
    // minute weighs on the minimal program as on Velto.
    std::vector<std::vector<std::string>> programs{{"--child", "minimal"}};
    for (const int count : counts) {
        std::vector<std::string>& words = programs.emplace_back(std::vector<std::string>{"--child", "velto"});
        for (int i = 0; i < count; ++i) {
            std::string path =
                QFile::encodeName(files.filePath(QStringLiteral("IMG_%1.jpg").arg(i))).toStdString();
            const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0)
                ::close(fd);
            words.push_back(std::move(path));
        }
    }
    std::vector<Starts> starts(programs.size());
    for (int run = 0; run < runs; ++run) {
        for (size_t i = 0; i < programs.size(); ++i)
            startOnce(argv[0], programs[i], starts[i]);
    }
    const Start minimal = starts[0].median();
    report("minimal Qt Widgets program", minimal, minimal.paint);
    for (size_t i = 0; i < counts.size(); ++i) {
        const std::string what = "Velto with " + std::to_string(counts[i]) + " paths";
        report(what.c_str(), starts[i + 1].median(), minimal.paint);
    }
    return 0;
}
