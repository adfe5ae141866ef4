#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// A point in local time, as the file system reports a last change.
struct LocalTime
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct FileAttributes
{
    bool exists = false;
    bool isFolder = false;
    qint64 size = 0;
    LocalTime modified;
};

// The file system as the list and the check see it; tests give a fake.
// Paths use "/" only; an empty folder text means the current folder.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // Attributes of the entry a path names, following symbolic links.
    virtual FileAttributes attributes(const QString& path) const = 0;
    // Names of all entries of a folder (files, folders, links), without "." and "..";
    // nothing when the folder cannot be listed.
    virtual std::optional<QStringList> entryNames(const QString& folder) const = 0;
    // Longest name in bytes of UTF-8 that the folder's file system takes.
    virtual int maxNameBytes(const QString& folder) const = 0;
};
