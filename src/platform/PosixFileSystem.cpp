#include "platform/PosixFileSystem.h"

#include "platform/LocalTimes.h"
#include "platform/PosixAttributeReader.h"
#include "platform/PosixEntry.h"

#include <QByteArray>
#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

using PosixEntry::describe;
using PosixEntry::encodable;
using PosixEntry::identityOf;

namespace {

QByteArray encodeFolder(const QString& folder)
{
    return folder.isEmpty() ? QByteArrayLiteral(".") : QFile::encodeName(folder);
}

} // namespace

FileAttributes PosixFileSystem::attributes(const QString& path) const
{
    if (path.isEmpty() || !encodable(path))
        return {};
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return describe(info, localTimeOf(info.st_mtime));
}

std::unique_ptr<AttributeReader> PosixFileSystem::attributeReader() const
{
    return std::make_unique<PosixAttributeReader>();
}

std::optional<QStringList> PosixFileSystem::entryNames(const QString& folder) const
{
    std::optional<FolderEntries> listing = entries(folder);
    if (!listing)
        return std::nullopt;
    return listing->toList();
}

std::optional<FolderEntries> PosixFileSystem::entries(const QString& folder) const
{
    if (!encodable(folder))
        return std::nullopt;
    DIR* dir = ::opendir(encodeFolder(folder).constData());
    if (dir == nullptr) {
        // A folder that is gone holds nothing; one that is there but unreadable is unknown.
        if (errno == ENOENT || errno == ENOTDIR)
            return FolderEntries();
        return std::nullopt;
    }
    FolderEntries names;
    bool complete = true;
    for (;;) {
        // readdir tells its end from a failure only through errno.
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            complete = errno == 0;
            break;
        }
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        // Most names are plain ASCII, which decodes byte for byte.
        qsizetype length = 0;
        bool plain = true;
        for (; name[length] != '\0'; ++length)
            plain = plain && static_cast<unsigned char>(name[length]) < 0x80;
        if (plain)
            names.appendAscii(name, length);
        else
            names.append(QFile::decodeName(QByteArray::fromRawData(name, length)));
    }
    ::closedir(dir);
    if (!complete)
        return std::nullopt;
    return names;
}

int PosixFileSystem::maxNameBytes(const QString& folder) const
{
    constexpr int fallback = 255;
    if (!encodable(folder))
        return fallback;
    const long limit = ::pathconf(encodeFolder(folder).constData(), _PC_NAME_MAX);
    if (limit <= 0)
        return fallback; // -1 with errno set (no such folder) or -1 alone (no limit known)
    return limit > INT_MAX ? INT_MAX : static_cast<int>(limit);
}

std::optional<FolderIdentity> PosixFileSystem::folderIdentity(const QString& folder) const
{
    if (!encodable(folder))
        return std::nullopt;
    struct stat info = {};
    if (::stat(encodeFolder(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return std::nullopt;
    return identityOf(info);
}

std::optional<FolderListing> PosixFileSystem::listing(const QString& folder) const
{
    if (!encodable(folder))
        return std::nullopt;
    const int fd = ::open(encodeFolder(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    FolderListing result;
    struct stat info = {};
    bool complete = ::fstat(fd, &info) == 0;
    result.device = static_cast<quint64>(info.st_dev);
    alignas(dirent64) char buffer[65536];
    while (complete) {
        const ssize_t got = ::getdents64(fd, buffer, sizeof buffer);
        if (got <= 0) {
            complete = got == 0;
            break;
        }
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            at += entry->d_reclen;
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            ListedEntry listed;
            listed.inode = static_cast<quint64>(entry->d_ino);
            listed.typeKnown = entry->d_type != DT_UNKNOWN;
            listed.type = entry->d_type == DT_REG   ? EntryStatus::Type::Regular
                          : entry->d_type == DT_DIR ? EntryStatus::Type::Folder
                          : entry->d_type == DT_LNK ? EntryStatus::Type::Link
                                                    : EntryStatus::Type::Other;
            result.byName.insert(QByteArray(name), listed);
        }
    }
    ::close(fd);
    if (!complete)
        return std::nullopt;
    return result;
}

EntryLook PosixFileSystem::look(const QString& path) const
{
    if (path.isEmpty() || !encodable(path))
        return {ENOENT};
    // Asks the file system itself rather than the kernel's cache of names: a FUSE driver may
    // drop a file on its own (fusefat does when it refuses a name), and a cached entry would
    // still show the file for a second.
    struct statx info = {};
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), AT_STATX_FORCE_SYNC, STATX_TYPE | STATX_INO,
                &info) != 0)
        return {errno};
    const EntryIdentity identity{static_cast<quint64>(makedev(info.stx_dev_major, info.stx_dev_minor)),
                                 static_cast<quint64>(info.stx_ino)};
    return {0, identity, S_ISDIR(info.stx_mode)};
}

EntryStatus PosixFileSystem::status(const QString& path) const
{
    if (path.isEmpty() || !encodable(path))
        return {ENOENT};
    struct statx info = {};
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), AT_SYMLINK_NOFOLLOW | AT_STATX_FORCE_SYNC,
                STATX_TYPE | STATX_INO | STATX_SIZE | STATX_MTIME, &info) != 0)
        return {errno};
    EntryStatus status;
    const mode_t type = info.stx_mode & S_IFMT;
    status.type = type == S_IFREG   ? EntryStatus::Type::Regular
                  : type == S_IFDIR ? EntryStatus::Type::Folder
                  : type == S_IFLNK ? EntryStatus::Type::Link
                                    : EntryStatus::Type::Other;
    status.identity = {static_cast<quint64>(makedev(info.stx_dev_major, info.stx_dev_minor)),
                       static_cast<quint64>(info.stx_ino)};
    status.size = static_cast<qint64>(info.stx_size);
    status.modified = localTimeOf(static_cast<time_t>(info.stx_mtime.tv_sec));
    return status;
}

RenameResult PosixFileSystem::renameFile(const QString& from, const QString& to)
{
    if (from == to)
        return {};
    const qsizetype slash = from.lastIndexOf(u'/');
    const QString folder = from.left(slash + 1);
    const QString oldName = from.mid(slash + 1);
    const QString newName = to.mid(slash + 1);
    // Only a new name within the same folder: no "/" that would move the file elsewhere.
    if (!encodable(from) || !encodable(to) || !to.startsWith(folder) || newName.isEmpty() ||
        newName.contains(u'/') || oldName.isEmpty())
        return {EINVAL};

    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return {};
    int error = errno;
    if (error == EINVAL || error == ENOSYS) {
        // The file system does not take the flag: look before renaming. A target that appears
        // between the look and the rename is the one case this cannot rule out.
        struct stat info = {};
        if (::lstat(target.constData(), &info) == 0)
            error = EEXIST;
        else if (errno != ENOENT)
            return {errno};
        else
            return {::rename(source.constData(), target.constData()) == 0 ? 0 : errno};
    }
    return {error};
}

RenameResult PosixFileSystem::renameOwnEntry(const QString& from, const QString& to)
{
    if (!encodable(from) || !encodable(to))
        return {EINVAL};
    return {::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ? 0
                                                                                                  : errno};
}
