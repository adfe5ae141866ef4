#include "platform/StoredFile.h"

#include <QFile>

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

bool makeFolders(const QString& folder)
{
    return !folder.isEmpty() && !folder.contains(QChar(u'\0')) && makeFolderPath(QFile::encodeName(folder));
}

} // namespace StoredFile
