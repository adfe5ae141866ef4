#include "platform/PosixFileSystem.h"

#include <QByteArray>
#include <QFile>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
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
    if (dir == nullptr)
        return std::nullopt;
    QStringList names;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        names.append(QFile::decodeName(name));
    }
    ::closedir(dir);
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
