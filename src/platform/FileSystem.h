#pragma once

#include "platform/EntryIdentity.h"
#include "platform/FolderEntries.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cerrno>
#include <memory>
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
    bool isSpecial = false;      // a FIFO, socket or device: neither a regular file nor a folder
    EntryIdentity identity = {}; // of the file a symbolic link leads to, as look() gives it
};

// A directory as the file system knows it, however its path is spelled.
using FolderIdentity = EntryIdentity;

// What the entry at a path is at the moment of the look: 0 and its identity, or the errno value
// that says why it cannot be looked at (ENOENT when nothing has that name).
struct EntryLook
{
    int error = 0;
    EntryIdentity identity = {};
    bool isFolder = false;
    bool ok() const { return error == 0; }
};

// The entry itself at a path, a symbolic link as a link: enough to tell that an entry is still
// the very file a run renamed, and not a new file that was given its freed inode number.
struct EntryStatus
{
    enum class Type
    {
        Regular,
        Folder,
        Link,
        Other, // a FIFO, socket or device
    };
    int error = 0; // as for EntryLook
    Type type = Type::Other;
    EntryIdentity identity = {};
    qint64 size = 0;
    LocalTime modified = {};
    bool ok() const { return error == 0; }
};

// One entry as a folder's listing gives it: its inode number and its own type (a link as a
// link), where the file system tells the type at all.
struct ListedEntry
{
    quint64 inode = 0;
    EntryStatus::Type type = EntryStatus::Type::Other;
    bool typeKnown = false;
};

// All entries of a folder in one listing, by their names as the file system spells them
// (QFile::encodeName), and the folder's device: for many entries far cheaper than a look each.
struct FolderListing
{
    quint64 device = 0;
    QHash<QByteArray, ListedEntry> byName;
};

// How a rename ended: 0 for success, else the errno value that says why it failed.
struct RenameResult
{
    int error = 0;
    bool ok() const { return error == 0; }
};

// Reads the attributes of many entries one after the other, as the intake does. It may keep
// folders open and remember results between calls, so it serves one thread and one batch, and
// its file system must outlive it.
class AttributeReader
{
public:
    virtual ~AttributeReader() = default;
    // The same as FileSystem::attributes(folder + name); folder is empty or ends with "/".
    virtual FileAttributes attributes(const QString& folder, QStringView name) = 0;
};

// The file system as the list and the check see it; tests give a fake.
// Paths use "/" only; an empty folder text means the current folder.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // The current folder, absolute and ending with "/", against which relative paths are read.
    virtual QString currentFolder() const { return QStringLiteral("/"); }
    // Attributes of the entry a path names, following symbolic links.
    virtual FileAttributes attributes(const QString& path) const = 0;
    // Names of all entries of a folder (files, folders, links), without "." and "..";
    // nothing when the folder cannot be listed.
    virtual std::optional<QStringList> entryNames(const QString& folder) const = 0;
    // The same names in one compact listing, for folders of many entries; unless
    // overridden, made from entryNames().
    virtual std::optional<FolderEntries> entries(const QString& folder) const
    {
        std::optional<QStringList> names = entryNames(folder);
        if (!names)
            return std::nullopt;
        return FolderEntries(*names);
    }
    // Longest name in bytes of UTF-8 that the folder's file system takes.
    virtual int maxNameBytes(const QString& folder) const = 0;
    // The directory a folder text names (following links); nothing when it cannot be
    // reached or the file system does not tell.
    virtual std::optional<FolderIdentity> folderIdentity(const QString& folder) const
    {
        Q_UNUSED(folder);
        return std::nullopt;
    }
    // A reader for a batch of attributes; unless overridden, it asks attributes() per path.
    virtual std::unique_ptr<AttributeReader> attributeReader() const
    {
        class ByPath final : public AttributeReader
        {
        public:
            explicit ByPath(const FileSystem& fs) : m_fs(fs) {}
            FileAttributes attributes(const QString& folder, QStringView name) override
            {
                QString path;
                path.reserve(folder.size() + name.size());
                path.append(folder).append(name);
                return m_fs.attributes(path);
            }

        private:
            const FileSystem& m_fs;
        };
        return std::make_unique<ByPath>(*this);
    }
    // The entry a path names now, following symbolic links as attributes() does, so that its
    // identity is the one attributes() gave when the path was taken in.
    virtual EntryLook look(const QString& path) const
    {
        Q_UNUSED(path);
        return {ENOSYS};
    }
    // The folder's entries with their inode numbers and types; nothing when it cannot be listed
    // or the file system does not tell.
    virtual std::optional<FolderListing> listing(const QString& folder) const
    {
        Q_UNUSED(folder);
        return std::nullopt;
    }
    // The entry at a path without following a symbolic link, asked of the file system itself.
    virtual EntryStatus status(const QString& path) const
    {
        Q_UNUSED(path);
        return {ENOSYS};
    }
    // Gives the entry at `from` the path `to` in the same folder, never replacing another
    // entry: on a file system that folds letter case, that refuses a case-only change too.
    // A `to` equal to `from` succeeds without touching anything.
    virtual RenameResult renameFile(const QString& from, const QString& to)
    {
        Q_UNUSED(from);
        Q_UNUSED(to);
        return {ENOSYS};
    }
    // Gives the entry at `from` the spelling `to` where the caller found that `to` names that
    // very entry (a case-only change on a file system that folds case): a plain rename.
    virtual RenameResult renameOwnEntry(const QString& from, const QString& to)
    {
        Q_UNUSED(from);
        Q_UNUSED(to);
        return {ENOSYS};
    }
};
