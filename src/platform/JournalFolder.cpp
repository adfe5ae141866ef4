#include "platform/JournalFolder.h"

#include "platform/StoredFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>
#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr QLatin1StringView Prefix("run-");
constexpr QLatin1StringView Suffix(".journal");
// A journal's temporary file is its name, NewMark and a random word: "….journal.new-k3x9".
constexpr QLatin1StringView NewMark(".new-");
constexpr QLatin1StringView TemporaryMark(".journal.new-");
constexpr QStringView StampFormat = u"yyyyMMdd'T'HHmmss.zzz";
constexpr qsizetype StampLength = 19; // 20261209T164139.123

// The run's start in a journal's name; invalid for any other name.
QDateTime startOf(QStringView name)
{
    if (!name.startsWith(Prefix) || !name.endsWith(Suffix))
        return {};
    const QStringView rest = name.sliced(Prefix.size(), name.size() - Prefix.size() - Suffix.size());
    if (rest.size() < StampLength + 2 || rest[StampLength] != u'-')
        return {};
    const QStringView pid = rest.sliced(StampLength + 1);
    if (!std::all_of(pid.begin(), pid.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return {};
    const QString stamp = rest.first(StampLength).toString();
    const QDate day = QDate::fromString(stamp.left(8), u"yyyyMMdd");
    const QTime time = QTime::fromString(stamp.mid(9), u"HHmmss.zzz");
    if (!day.isValid() || !time.isValid())
        return {};
    return QDateTime(day, time, Qt::UTC);
}

// Writes all bytes to an open file, however the system splits the write; false on an error.
bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t put =
            ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        written += put;
    }
    return true;
}

QString nameFor(const QDateTime& started)
{
    return Prefix + started.toUTC().toString(StampFormat) + u'-' + QString::number(::getpid()) + Suffix;
}

// The folder, opened for the calls relative to it; -1 when it is no folder.
int openFolder(const QString& folder)
{
    return ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

class FolderHandle
{
public:
    explicit FolderHandle(const QString& folder) : m_fd(openFolder(folder)) {}
    ~FolderHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// The names of the folder's entries that are regular files or may be (DT_UNKNOWN).
QStringList fileNames(int folderFd)
{
    QStringList names;
    const int fd = ::dup(folderFd);
    if (fd < 0)
        return names;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return names;
    }
    ::rewinddir(dir);
    while (const struct dirent* entry = ::readdir(dir)) {
        if (entry->d_type == DT_REG || entry->d_type == DT_UNKNOWN)
            names.append(QFile::decodeName(entry->d_name));
    }
    ::closedir(dir);
    return names;
}

// Opens a regular file of the folder for its lock, never through a link and never blocking on
// a FIFO; -1 for anything else.
int openRegular(int folderFd, const QString& name, int mode = O_RDONLY)
{
    const int fd = ::openat(folderFd, QFile::encodeName(name).constData(),
                            mode | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Unlinks a file of the folder that nobody holds a lock on: a running Velto keeps its own.
void removeIfFree(int folderFd, const QString& name)
{
    const int fd = openRegular(folderFd, name);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        ::unlinkat(folderFd, QFile::encodeName(name).constData(), 0);
    ::close(fd);
}

// Writes bytes to a new temporary file beside `name`, locked shared before anything is in it,
// and synced; its descriptor and name, or -1.
int writeTemporary(int folderFd, const QString& name, const QByteArray& bytes, QByteArray& temporary)
{
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        temporary = QFile::encodeName(name + NewMark) +
                    QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        fd = ::openat(folderFd, temporary.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0600);
        if (fd < 0 && errno != EEXIST)
            return -1;
    }
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0 || !writeAll(fd, bytes) || ::fsync(fd) != 0) {
        ::unlinkat(folderFd, temporary.constData(), 0);
        ::close(fd);
        return -1;
    }
    return fd;
}

// Gives the temporary file the name, which must be free: a name that holds anything, a link
// among them, stays as it is. False when the name was taken.
bool renameToFree(int folderFd, const QByteArray& temporary, const QByteArray& name, int& error)
{
    if (::renameat2(folderFd, temporary.constData(), folderFd, name.constData(), RENAME_NOREPLACE) == 0)
        return true;
    error = errno;
    if (error != EINVAL && error != ENOSYS)
        return false;
    // Without the flag, a hard link refuses a taken name just as well.
    if (::linkat(folderFd, temporary.constData(), folderFd, name.constData(), 0) != 0) {
        error = errno;
        return false;
    }
    ::unlinkat(folderFd, temporary.constData(), 0);
    return true;
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

JournalFile::JournalFile(int fd, QString path, QDateTime started)
    : m_fd(fd), m_path(std::move(path)), m_started(std::move(started))
{
}

JournalFile::~JournalFile()
{
    ::close(m_fd);
}

bool JournalFile::replace(const QByteArray& bytes)
{
    const qsizetype slash = m_path.lastIndexOf(u'/');
    const FolderHandle folder(m_path.left(slash + 1));
    if (folder.fd() < 0 || !isAtPath())
        return false;
    const QString name = m_path.mid(slash + 1);
    QByteArray temporary;
    const int fd = writeTemporary(folder.fd(), name, bytes, temporary);
    if (fd < 0)
        return false;
    // Looked at again just before the rename, which would replace whatever is there by then.
    if (!isAtPath() || ::renameat(folder.fd(), temporary.constData(), folder.fd(),
                                  QFile::encodeName(name).constData()) != 0) {
        ::unlinkat(folder.fd(), temporary.constData(), 0);
        ::close(fd);
        return false;
    }
    ::fsync(folder.fd());
    ::close(m_fd);
    m_fd = fd;
    return true;
}

bool JournalFile::lockExclusive()
{
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    // A refused conversion may have dropped the shared lock.
    ::flock(m_fd, LOCK_SH | LOCK_NB);
    return false;
}

void JournalFile::lockShared()
{
    ::flock(m_fd, LOCK_SH | LOCK_NB);
}

std::optional<QByteArray> JournalFile::read(qint64 maxBytes) const
{
    struct stat status;
    if (::fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maxBytes)
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(status.st_size), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::pread(m_fd, bytes.data() + filled, static_cast<size_t>(bytes.size() - filled),
                                    static_cast<off_t>(filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        filled += got;
    }
    bytes.truncate(filled);
    return bytes;
}

bool JournalFile::isAtPath() const
{
    struct stat open;
    struct stat named;
    return ::fstat(m_fd, &open) == 0 && ::lstat(QFile::encodeName(m_path).constData(), &named) == 0 &&
           S_ISREG(named.st_mode) && sameFile(open, named);
}

bool JournalFile::remove()
{
    if (!isAtPath())
        return true;
    return ::unlink(QFile::encodeName(m_path).constData()) == 0 || errno == ENOENT;
}

QString JournalFolder::defaultFolder()
{
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base = state.startsWith(u'/') ? state : QDir::homePath() + u"/.local/state"_s;
    return base + u"/velto"_s;
}

std::unique_ptr<JournalFile> JournalFolder::create(const QByteArray& bytes, const QDateTime& started) const
{
    if (!StoredFile::makeFolders(m_folder))
        return nullptr;
    const FolderHandle folder(m_folder);
    if (folder.fd() < 0)
        return nullptr;
    QDateTime stamp = started.toUTC();
    QByteArray temporary;
    const int fd = writeTemporary(folder.fd(), nameFor(stamp), bytes, temporary);
    if (fd < 0)
        return nullptr;
    // Two runs of one process within a millisecond take the next free one.
    QString name;
    int error = EEXIST;
    for (int attempt = 0; attempt < 16 && error == EEXIST; ++attempt, stamp = stamp.addMSecs(1)) {
        name = nameFor(stamp);
        if (renameToFree(folder.fd(), temporary, QFile::encodeName(name), error)) {
            error = 0;
            break;
        }
    }
    if (error != 0 || ::fsync(folder.fd()) != 0) {
        ::unlinkat(folder.fd(), temporary.constData(), 0);
        if (error == 0)
            ::unlinkat(folder.fd(), QFile::encodeName(name).constData(), 0);
        ::close(fd);
        return nullptr;
    }
    std::unique_ptr<JournalFile> file(new JournalFile(fd, m_folder + u'/' + name, stamp));

    QStringList journals;
    for (const QString& entry : fileNames(folder.fd())) {
        if (entry.startsWith(Prefix) && entry.contains(TemporaryMark))
            removeIfFree(folder.fd(), entry);
        else if (startOf(entry).isValid())
            journals.append(entry);
    }
    // Newest first: the stamp is fixed-width, so the names sort as the times do.
    std::sort(journals.begin(), journals.end(), std::greater<>());
    for (qsizetype i = Kept; i < journals.size(); ++i)
        removeIfFree(folder.fd(), journals.at(i));
    return file;
}

JournalFolder::Claim JournalFolder::claimNewest() const
{
    const FolderHandle folder(m_folder);
    if (folder.fd() < 0)
        return {};
    QStringList journals;
    for (const QString& entry : fileNames(folder.fd())) {
        if (startOf(entry).isValid())
            journals.append(entry);
    }
    std::sort(journals.begin(), journals.end(), std::greater<>());
    for (const QString& name : std::as_const(journals)) {
        const int fd = openRegular(folder.fd(), name);
        if (fd < 0)
            continue;
        std::unique_ptr<JournalFile> file(new JournalFile(fd, m_folder + u'/' + name, startOf(name)));
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // Another undo may have finished with it between the open and the lock.
            if (file->isAtPath())
                return {std::move(file)};
            continue;
        }
        // A shared lock is to be had while only the journal's own window holds it: that run
        // is its window's to take back. Else an undo holds it.
        if (::flock(fd, LOCK_SH | LOCK_NB) == 0)
            continue;
        return {nullptr, true};
    }
    return {};
}

bool JournalFolder::hasJournals() const
{
    const FolderHandle folder(m_folder);
    if (folder.fd() < 0)
        return false;
    const QStringList names = fileNames(folder.fd());
    return std::any_of(names.begin(), names.end(),
                       [](const QString& name) { return startOf(name).isValid(); });
}
