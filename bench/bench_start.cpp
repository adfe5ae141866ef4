// The start: the time from exec until the main window has painted its first checked list, for
// Velto with some paths on its command line, beside a minimal Qt Widgets program of the same
// shape (a main window with a tree view of 100 rows, painted once), measured in the same run.
// Run on a real platform, e.g. xcb under Xvfb:
//   xvfb-run bench_start [runs] [paths...]       (defaults: 5 runs, 100 and 50000 paths)
// The program starts itself as the child to be timed; the child reports the time since the
// parent's exec call and ends at once, without tearing down.
#include "app/CandidateView.h"
#include "app/Form1.h"
#include "app/Translations.h"
#include "platform/MemoryPolicy.h"

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

// Ends the child at the first paint of `viewport` once `ready` is true, reporting the time.
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
                    const qint64 started = std::atoll(qgetenv("VELTO_BENCH_EXEC_NS").constData());
                    std::printf("%.1f\n", double(nowNs() - started) / 1e6);
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
        QStandardItemModel model(100, 6);
        for (int row = 0; row < 100; ++row)
            model.setItem(row, 0, new QStandardItem(QStringLiteral("IMG_%1.jpg").arg(row)));
        QMainWindow window;
        auto* view = new QTreeView(&window);
        view->setModel(&model);
        window.setCentralWidget(view);
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
    Translations::install(language);
    bool checked = false;
    Form1 window(std::move(arguments));
    checked = true; // the first check of the paths ran in the constructor
    FirstPaint paint(window.findChild<CandidateView*>(QStringLiteral("Liste"))->viewport(), checked);
    window.show();
    return QApplication::exec();
}

// Runs the child `runs` times and gives the median time in ms.
double medianStart(char* self, const std::vector<std::string>& words, int runs)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
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
        char text[64] = {};
        const ssize_t got = ::read(pipeFds[0], text, sizeof text - 1);
        ::close(pipeFds[0]);
        waitpid(pid, nullptr, 0);
        if (got > 0)
            times.push_back(std::atof(text));
    }
    if (times.empty())
        return -1;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/.config")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(home.path() + QStringLiteral("/.local/state")));
    QTemporaryDir files;

    const double floor = medianStart(argv[0], {"--child", "minimal"}, runs);
    std::printf("minimal Qt Widgets program: %.1f ms\n", floor);
    for (const int count : counts) {
        std::vector<std::string> words{"--child", "velto"};
        for (int i = 0; i < count; ++i) {
            std::string path =
                QFile::encodeName(files.filePath(QStringLiteral("IMG_%1.jpg").arg(i))).toStdString();
            const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0)
                ::close(fd);
            words.push_back(std::move(path));
        }
        const double velto = medianStart(argv[0], words, runs);
        std::printf("Velto with %d paths: %.1f ms (%.2fx the minimal program)\n", count, velto,
                    velto / floor);
    }
    return 0;
}
