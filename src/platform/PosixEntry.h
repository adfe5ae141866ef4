#pragma once

#include "platform/FileSystem.h"

#include <QChar>
#include <QString>

#include <sys/stat.h>

// What PosixFileSystem and its attribute reader share: which paths the POSIX calls can be given
// at all, and what a stat result tells of its entry.
namespace PosixEntry {

// A QString may hold U+0000, which the encoded C string would end at: "a\0b" must not be
// mistaken for "a". Such a path names nothing.
inline bool encodable(const QString& path)
{
    return !path.contains(QChar(u'\0'));
}

inline EntryIdentity identityOf(const struct stat& info)
{
    return {static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)};
}

inline FileAttributes describe(const struct stat& info, const LocalTime& modified)
{
    FileAttributes result;
    result.exists = true;
    result.isFolder = S_ISDIR(info.st_mode);
    result.isSpecial = !result.isFolder && !S_ISREG(info.st_mode);
    result.size = static_cast<qint64>(info.st_size);
    result.modified = modified;
    result.identity = identityOf(info);
    return result;
}

} // namespace PosixEntry
