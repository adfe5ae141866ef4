#include "platform/PosixFileSystem.h"

#include <QByteArray>
#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>

namespace {

// A QString may hold U+0000, which the encoded C string would end at: "a\0b" must not be
// mistaken for "a". Such a path names nothing.
bool encodable(const QString& path)
{
    return !path.contains(QChar(u'\0'));
}

QByteArray encodeFolder(const QString& folder)
{
    return folder.isEmpty() ? QByteArrayLiteral(".") : QFile::encodeName(folder);
}

} // namespace

FileAttributes PosixFileSystem::attributes(const QString& path) const
{
    FileAttributes result;
    if (path.isEmpty() || !encodable(path))
        return result;
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return result;
    result.exists = true;
    result.isFolder = S_ISDIR(info.st_mode);
    result.isSpecial = !result.isFolder && !S_ISREG(info.st_mode);
    result.size = static_cast<qint64>(info.st_size);
    struct tm local = {};
    const time_t modified = info.st_mtime;
    if (::localtime_r(&modified, &local) != nullptr) {
        result.modified.year = local.tm_year + 1900;
        result.modified.month = local.tm_mon + 1;
        result.modified.day = local.tm_mday;
        result.modified.hour = local.tm_hour;
        result.modified.minute = local.tm_min;
        result.modified.second = local.tm_sec;
    }
    return result;
}

std::optional<QStringList> PosixFileSystem::entryNames(const QString& folder) const
{
    if (!encodable(folder))
        return std::nullopt;
    DIR* dir = ::opendir(encodeFolder(folder).constData());
    if (dir == nullptr) {
        // A folder that is gone holds nothing; one that is there but unreadable is unknown.
        if (errno == ENOENT || errno == ENOTDIR)
            return QStringList();
        return std::nullopt;
    }
    QStringList names;
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
        names.append(QFile::decodeName(name));
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
    return FolderIdentity{static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)};
}

namespace {

// Whether the only entry of the folder that equals newName without regard to letter case
// is oldName itself, spelled exactly so: then a file system that folds case reports the
// file's own entry as the target, and renaming it replaces nothing. Asked of the listing,
// because FUSE file systems give each spelling of one entry its own inode number.
bool onlyOwnEntry(const PosixFileSystem& fs, const QString& folder, const QString& oldName,
                  const QString& newName)
{
    if (oldName.compare(newName, Qt::CaseInsensitive) != 0)
        return false;
    const std::optional<QStringList> names = fs.entryNames(folder);
    if (!names)
        return false;
    int matches = 0;
    bool own = false;
    for (const QString& name : *names) {
        if (name.compare(newName, Qt::CaseInsensitive) == 0) {
            ++matches;
            own = own || name == oldName;
        }
    }
    return matches == 1 && own;
}

} // namespace

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
    if (error == EEXIST && onlyOwnEntry(*this, folder, oldName, newName))
        return {::rename(source.constData(), target.constData()) == 0 ? 0 : errno};
    return {error};
}
