#pragma once

#include "platform/FileSystem.h"
#include "platform/PosixFileSystem.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QStringList>

#include <cerrno>

// The file system of the tests. It answers from entries kept in memory or from the real disk,
// fails on demand in either case, and logs every rename it is asked for.
class FakeFileSystem final : public FileSystem
{
public:
    enum class Backing
    {
        Memory, // only the entries added with addFile() and addFolder() exist; nothing touches the disk
        Disk,   // the real file system, through PosixFileSystem
    };
    explicit FakeFileSystem(Backing backing = Backing::Memory) : m_backing(backing) {}

    // Memory: an entry at a full path, with sizes and times that no test could write to disk.
    // The folders above it need not be added: a folder lists the entries whose path is its
    // own text, "/" and a name. A rename moves the one entry it names. Each entry added gets
    // an identity of its own, so adding a file again at a path replaces it by another one.
    void addFile(const QString& path, qint64 size = 1, const LocalTime& modified = {});
    void addFolder(const QString& path);
    // Memory: the entry at `path` is gone.
    void removeEntry(const QString& path) { m_entries.remove(path); }
    // Memory: the entry at `path` becomes a folder that was given the file's inode number.
    void replaceByFolder(const QString& path);

    // A rename of `from` fails with `error` and changes nothing, or, with dropsFile, takes the
    // entry with it, as fusefat does when it refuses a name.
    void failRename(const QString& from, int error = EACCES, bool dropsFile = false);
    // Listing the folder fails, as it does without read permission or on an I/O error. The
    // folder text is taken with or without its final "/"; "" is the current folder.
    void failListing(const QString& folder) { m_failingListings.insert(withSlash(folder)); }

    // Memory: names are found without regard to letter case, as on FAT, where "straße" and
    // "STRASSE" are one name; a rename refuses a name that another spelling holds.
    void setFoldsCase(bool folds) { m_foldsCase = folds; }

    // Every renameFile() call in turn, failed ones too, as "from>to".
    const QStringList& renameCalls() const { return m_renameCalls; }

    // Memory: "/".
    QString currentFolder() const override
    {
        return m_backing == Backing::Disk ? m_disk.currentFolder() : FileSystem::currentFolder();
    }
    FileAttributes attributes(const QString& path) const override;
    std::unique_ptr<AttributeReader> attributeReader() const override;
    std::optional<QStringList> entryNames(const QString& folder) const override;
    std::optional<FolderEntries> entries(const QString& folder) const override;
    // Memory: 255, as most Linux file systems.
    int maxNameBytes(const QString& folder) const override;
    // Memory: none, so that every folder text is a folder of its own.
    std::optional<FolderIdentity> folderIdentity(const QString& folder) const override;
    // Memory: ENOENT without `from`, EEXIST when `to` is taken (letter case counts).
    RenameResult renameFile(const QString& from, const QString& to) override;
    EntryLook look(const QString& path) const override;
    EntryStatus status(const QString& path) const override;
    RenameResult renameOwnEntry(const QString& from, const QString& to) override;

private:
    static QString withSlash(const QString& folder);
    // The key of the entry at path, however spelled where the names fold case; empty for none.
    QString keyOf(const QString& path) const;

    Backing m_backing;
    PosixFileSystem m_disk;
    QMap<QString, FileAttributes> m_entries; // by full path
    QHash<QString, int> m_failingRenames;    // errno by source path
    QSet<QString> m_droppingRenames;         // failing sources whose entry goes with the failure
    quint64 m_lastInode = 0;
    QSet<QString> m_failingListings; // folder texts ending with "/", or ""
    QStringList m_renameCalls;
    bool m_foldsCase = false;
};
