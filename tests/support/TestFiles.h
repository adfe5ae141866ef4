#pragma once

#include "platform/FileSystem.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

// Real files for the list tests, always inside a QTemporaryDir.
namespace TestFiles {

inline bool write(const QString& path, qsizetype size = 1)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, 'x')) == size;
}

// Sets the last change to a local wall-clock time; false when the file system refuses it.
inline bool setLocalMtime(const QString& path, const LocalTime& time)
{
    struct tm local = {};
    local.tm_year = time.year - 1900;
    local.tm_mon = time.month - 1;
    local.tm_mday = time.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    local.tm_isdst = -1;
    const time_t when = ::mktime(&local);
    const struct timespec times[2] = {{when, 0}, {when, 0}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

// Changes the working folder for one test and restores it afterwards.
class CurrentFolder
{
public:
    explicit CurrentFolder(const QString& path) : m_previous(QDir::currentPath()) { QDir::setCurrent(path); }
    ~CurrentFolder() { QDir::setCurrent(m_previous); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    QString m_previous;
};

} // namespace TestFiles
