#include "platform/MetadataPool.h"

#include "platform/MetadataProtocol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace Qt::StringLiterals;

namespace {

// Files handed to a helper ahead of its answers: enough to keep it busy while the answers
// travel and Velto naps, few enough that a crash sends little back to the queue.
constexpr size_t Ahead = 64;
constexpr size_t Refill = 32;
// While every helper has work enough, Velto waits this long between looks at the answers, so
// that it takes many in one go instead of waking for each, which costs the helpers a core.
constexpr useconds_t NapUs = 1000;
constexpr int KeepGoingMs = 30;

// One helper process, talking through one socket (a pipe would raise SIGPIPE on a dead one).
class Helper
{
public:
    Helper() = default;
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;
    ~Helper() { end(); }

    bool start(const QByteArray& program)
    {
        int ends[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        // The helper starts with the default signal handling, whatever Velto set for itself.
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigdefault(&attributes, &all);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
        char* argv[] = {const_cast<char*>(program.constData()), nullptr};
        pid_t pid = -1;
        const int spawned = posix_spawn(&pid, program.constData(), &actions, &attributes, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
        ::close(ends[1]);
        if (spawned != 0) {
            ::close(ends[0]);
            return false;
        }
        m_pid = pid;
        m_fd = ends[0];
        // A hostile tag count then ends the helper, not the machine's memory. The helper sets the
        // same limit itself; this covers any program put in its place.
#ifndef __SANITIZE_ADDRESS__ // an instrumented helper reserves terabytes of shadow address space
        const rlimit limit{MetadataPool::MemoryLimit, MetadataPool::MemoryLimit};
        prlimit(m_pid, RLIMIT_AS, &limit, nullptr);
#endif
        fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) | O_NONBLOCK);
        return true;
    }

    // Kills and reaps the process: an idle helper would end at the closed socket anyway, and a
    // busy one must not be waited for.
    void end()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
        m_pid = -1;
        pending.clear();
        m_out.clear();
        m_sent = 0;
        m_reader = MetadataProtocol::FrameReader();
    }

    bool running() const
    {
        return m_fd >= 0;
    }
    int fd() const
    {
        return m_fd;
    }

    void send(size_t index, const QByteArray& path)
    {
        if (pending.empty())
            m_clock.start(); // the time of the first file begins now
        pending.push_back(index);
        MetadataProtocol::appendFrame(m_out, path);
    }
    bool wantsToWrite() const
    {
        return m_sent < m_out.size();
    }

    // False when the helper is gone.
    bool write()
    {
        while (m_sent < m_out.size()) {
            const ssize_t n = ::send(m_fd, m_out.constData() + m_sent, size_t(m_out.size() - m_sent),
                                     MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return errno == EAGAIN || errno == EWOULDBLOCK;
            }
            m_sent += n;
        }
        m_out.clear();
        m_sent = 0;
        return true;
    }

    // Hands each whole answer to `answer` with its file; false when the helper is gone or
    // answered garbage.
    template <typename Answer> bool readAnswers(Answer&& answer)
    {
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n == 0)
                return false;
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                if (errno == EAGAIN || errno == EWOULDBLOCK)
                    return true;
                return false;
            }
            m_reader.append(QByteArrayView(buffer, n));
            while (std::optional<QByteArray> frame = m_reader.next()) {
                if (pending.empty())
                    return false; // an answer to nothing asked
                std::optional<FileMetadata> values = MetadataProtocol::decodeAnswer(*frame);
                if (!values)
                    return false;
                answer(pending.front(), *values);
                pending.pop_front();
                m_clock.start();
            }
            if (m_reader.failed())
                return false;
            // A short read took all there was: no second call only to hear so.
            if (size_t(n) < sizeof buffer)
                return true;
        }
    }

    qint64 busyMs() const
    {
        return pending.empty() ? 0 : m_clock.elapsed();
    }

    std::deque<size_t> pending; // files sent, in order; the first is the one being read

private:
    pid_t m_pid = -1;
    int m_fd = -1;
    QByteArray m_out;
    qsizetype m_sent = 0;
    MetadataProtocol::FrameReader m_reader;
    QElapsedTimer m_clock;
};

} // namespace

MetadataPool::MetadataPool(QString helperProgram, int timeoutMs, int processes)
    : m_program(std::move(helperProgram)), m_timeoutMs(timeoutMs),
      m_processes(processes > 0 ? processes : std::max(1, QThread::idealThreadCount()))
{
}

QString MetadataPool::defaultHelper()
{
    const QString folder = QCoreApplication::applicationDirPath();
    const QString beside = folder + u"/velto-metadata"_s;
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QFileInfo(folder + u"/../libexec/velto/velto-metadata"_s).absoluteFilePath();
}

void MetadataPool::read(const std::vector<QByteArray>& paths,
                        const std::function<void(size_t, const FileMetadata&)>& found,
                        const std::function<bool(qsizetype done)>& keepGoing)
{
    const QByteArray program = QFile::encodeName(m_program);
    const size_t total = paths.size();
    std::deque<size_t> queue; // files given back by a helper that failed, read first
    size_t next = 0;
    qsizetype done = 0;
    const auto told = [&](size_t index, const FileMetadata& values) {
        found(index, values);
        ++done;
    };
    const auto hasWork = [&] { return !queue.empty() || next < total; };
    const auto take = [&] {
        if (!queue.empty()) {
            const size_t index = queue.front();
            queue.pop_front();
            return index;
        }
        return next++;
    };
    FileMetadata unreadable;
    unreadable.unreadable = true;
    // The file being read when a helper failed is to blame; the rest go back to the queue.
    const auto failed = [&](Helper& helper) {
        if (!helper.pending.empty()) {
            told(helper.pending.front(), unreadable);
            helper.pending.pop_front();
            queue.insert(queue.begin(), helper.pending.begin(), helper.pending.end());
        }
        helper.end();
    };

    std::vector<Helper> helpers(size_t(std::min<qsizetype>(m_processes, qsizetype(total))));
    QElapsedTimer sinceTold;
    sinceTold.start();
    std::vector<pollfd> polled;
    std::vector<Helper*> owners;
    while (size_t(done) < total) {
        for (Helper& helper : helpers) {
            if (!helper.running() && hasWork() && !helper.start(program)) {
                // The helper cannot be started at all: no file can be read.
                while (hasWork())
                    told(take(), unreadable);
                break;
            }
            while (helper.running() && helper.pending.size() < Refill && hasWork()) {
                while (helper.pending.size() < Ahead && hasWork()) {
                    const size_t index = take();
                    helper.send(index, paths[index]);
                }
            }
            if (helper.running() && helper.wantsToWrite() && !helper.write())
                failed(helper);
        }
        if (size_t(done) >= total)
            break;

        polled.clear();
        owners.clear();
        qint64 wait = KeepGoingMs;
        for (Helper& helper : helpers) {
            if (!helper.running())
                continue;
            const short events = short(POLLIN | (helper.wantsToWrite() ? POLLOUT : 0));
            polled.push_back({helper.fd(), events, 0});
            owners.push_back(&helper);
            if (!helper.pending.empty())
                wait = std::min(wait, std::max<qint64>(0, m_timeoutMs - helper.busyMs()));
        }
        if (!polled.empty() && ::poll(polled.data(), nfds_t(polled.size()), int(wait)) < 0 && errno != EINTR)
            break;
        for (size_t i = 0; i < polled.size(); ++i) {
            Helper& helper = *owners[i];
            const short events = polled[i].revents;
            bool alive = true;
            if (events & (POLLIN | POLLHUP | POLLERR))
                alive = helper.readAnswers(told);
            if (alive && (events & POLLOUT))
                alive = helper.write();
            if (alive && (events & (POLLHUP | POLLERR)) && !(events & POLLIN))
                alive = false;
            if (alive && helper.busyMs() > m_timeoutMs)
                alive = false;
            if (!alive)
                failed(helper);
        }
        const bool allBusy = std::all_of(helpers.begin(), helpers.end(), [](const Helper& helper) {
            return !helper.running() || helper.pending.size() >= Refill;
        });
        if (allBusy && !helpers.empty())
            ::usleep(NapUs);
        if (sinceTold.elapsed() >= KeepGoingMs) {
            sinceTold.start();
            if (keepGoing && !keepGoing(done))
                return; // the helpers are ended as they go out of scope
        }
    }
}
