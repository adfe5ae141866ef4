#pragma once

#include "platform/FileSystem.h"

#include <QDir>

// The local file system through POSIX calls. Names are bytes on disk; they are decoded and
// encoded with QFile::decodeName/encodeName, so a name must be valid UTF-8 to round-trip.
class PosixFileSystem final : public FileSystem
{
public:
    QString currentFolder() const override
    {
        const QString here = QDir::currentPath();
        return here.endsWith(u'/') ? here : here + u'/';
    }
    FileAttributes attributes(const QString& path) const override;
    // Looks names up in their folder, opened once it serves a second name, instead of along the
    // whole path, and converts times per hour of the day rather than per file.
    std::unique_ptr<AttributeReader> attributeReader() const override;
    std::optional<QStringList> entryNames(const QString& folder) const override;
    std::optional<FolderEntries> entries(const QString& folder) const override;
    int maxNameBytes(const QString& folder) const override;
    std::optional<FolderIdentity> folderIdentity(const QString& folder) const override;
    EntryLook look(const QString& path) const override;
    // getdents64 over the folder, with the folder's own fstat for the device.
    std::optional<FolderListing> listing(const QString& folder) const override;
    EntryStatus status(const QString& path) const override;
    // renameat2 with RENAME_NOREPLACE; where the file system refuses the flag, a look for the
    // target first. Both `from` and `to` must name the same folder in the same spelling.
    RenameResult renameFile(const QString& from, const QString& to) override;
    RenameResult renameOwnEntry(const QString& from, const QString& to) override;
};
