#pragma once

#include "platform/FileSystem.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Real files for the tests, always inside a QTemporaryDir.
namespace TestFiles {

// A file of `size` bytes "x".
bool write(const QString& path, qsizetype size = 1);
// A file holding `content`.
bool writeContent(const QString& path, const QByteArray& content);
// What a file holds; nothing when it cannot be read.
QByteArray read(const QString& path);

// Makes one entry below root: "name/" a folder, "name->target" a symbolic link to target,
// else an empty file. The folders above it are made as needed.
bool create(const QString& root, const QString& spec);

// The names in a folder, of every kind, hidden ones too, sorted.
QStringList entryNames(const QString& folder);

// Sets the last change to a local wall-clock time; false when the file system refuses it.
bool setLocalMtime(const QString& path, const LocalTime& time);

// Changes the working folder for one test and restores it afterwards.
class CurrentFolder
{
public:
    explicit CurrentFolder(const QString& path);
    ~CurrentFolder();
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    QString m_previous;
};

} // namespace TestFiles
