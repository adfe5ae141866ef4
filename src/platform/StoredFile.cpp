#include "platform/StoredFile.h"
#include "platform/WriteAll.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Makes every missing folder of an absolute or relative folder path, for the owner alone; true
// when the path names a folder afterwards.
bool makeFolderPath(const QByteArray& folder)
{
    for (qsizetype end = 1; end <= folder.size(); ++end) {
        if (end < folder.size() && folder[end] != '/')
            continue;
        if (::mkdir(folder.left(end).constData(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat status;
    return ::stat(folder.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Makes a rename in the folder durable.
bool syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

namespace StoredFile {

Kind kind(const QString& path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ENOENT ? Kind::Absent : Kind::Other;
    return S_ISREG(status.st_mode) ? Kind::Regular : Kind::Other;
}

std::optional<QByteArray> read(const QString& path, qint64 maxBytes)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat status;
    if (::stat(native.constData(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maxBytes)
        return std::nullopt;
    // O_NONBLOCK: should the path name a FIFO by now, the open returns at once, and fstat
    // tells what was opened.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> content;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= maxBytes) {
        // Read one byte past the limit, so that a file that grows meanwhile is still refused.
        QByteArray buffer(static_cast<qsizetype>(status.st_size) + 1, Qt::Uninitialized);
        qsizetype filled = 0;
        for (;;) {
            if (filled == buffer.size()) {
                if (buffer.size() > maxBytes)
                    break;
                buffer.resize(std::min<qsizetype>(buffer.size() * 2, maxBytes + 1));
            }
            const ssize_t got =
                ::read(fd, buffer.data() + filled, static_cast<size_t>(buffer.size() - filled));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                break;
            if (got == 0) {
                buffer.truncate(filled);
                content = std::move(buffer);
                break;
            }
            filled += got;
        }
    }
    ::close(fd);
    return content;
}

bool replace(const QString& path, const QByteArray& bytes)
{
    if (path.isEmpty() || path.contains(QChar(u'\0')) || path.endsWith(u'/'))
        return false;
    const qsizetype slash = path.lastIndexOf(u'/');
    const QByteArray folder = slash < 0    ? QByteArrayLiteral(".")
                              : slash == 0 ? QByteArrayLiteral("/")
                                           : QFile::encodeName(path.left(slash));
    if (!makeFolderPath(folder))
        return false;
    const Kind found = kind(path);
    if (found == Kind::Other)
        return false;
    // A link to a file keeps leading to it, with the new content.
    QString target = path;
    struct stat status;
    if (found == Kind::Regular && ::lstat(QFile::encodeName(path).constData(), &status) == 0 &&
        S_ISLNK(status.st_mode))
        target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        return false;
    const QByteArray native = QFile::encodeName(target);
    const QByteArray targetFolder = QFile::encodeName(QFileInfo(target).absolutePath());

    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        temporary = native + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    // Looked at again just before the rename, which would replace whatever is there by then.
    if (!written || !closed || kind(target) == Kind::Other ||
        ::rename(temporary.constData(), native.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return syncFolder(targetFolder);
}

bool makeFolders(const QString& folder)
{
    return !folder.isEmpty() && !folder.contains(QChar(u'\0')) && makeFolderPath(QFile::encodeName(folder));
}

bool remove(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(u'\0')))
        return false;
    const QByteArray native = QFile::encodeName(path);
    struct stat status;
    if (::lstat(native.constData(), &status) != 0)
        return errno == ENOENT;
    if (!S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode))
        return false;
    return ::unlink(native.constData()) == 0 || errno == ENOENT;
}

} // namespace StoredFile
