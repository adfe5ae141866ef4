#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

namespace TestFiles {

bool write(const QString& path, qsizetype size)
{
    return writeContent(path, QByteArray(size, 'x'));
}

bool writeContent(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool create(const QString& root, const QString& spec)
{
    if (spec.endsWith(u'/'))
        return QDir(root).mkpath(spec);
    const qsizetype arrow = spec.indexOf(u"->");
    const QString path = root + u'/' + (arrow >= 0 ? spec.left(arrow) : spec);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    if (arrow >= 0)
        return ::symlink(QFile::encodeName(spec.mid(arrow + 2)).constData(),
                         QFile::encodeName(path).constData()) == 0;
    return writeContent(path, {});
}

QStringList entryNames(const QString& folder)
{
    QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
    names.sort();
    return names;
}

bool setLocalMtime(const QString& path, const LocalTime& time)
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

CurrentFolder::CurrentFolder(const QString& path) : m_previous(QDir::currentPath())
{
    QDir::setCurrent(path);
}

CurrentFolder::~CurrentFolder()
{
    QDir::setCurrent(m_previous);
}

} // namespace TestFiles
