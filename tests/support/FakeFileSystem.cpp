#include "FakeFileSystem.h"

#include <QFile>

void FakeFileSystem::addFile(const QString& path, qint64 size, const LocalTime& modified)
{
    FileAttributes file;
    file.exists = true;
    file.size = size;
    file.modified = modified;
    file.identity = {1, ++m_lastInode};
    m_entries.insert(path, file);
}

void FakeFileSystem::addFolder(const QString& path)
{
    FileAttributes folder;
    folder.exists = true;
    folder.isFolder = true;
    folder.size = 4096;
    folder.identity = {1, ++m_lastInode};
    m_entries.insert(path, folder);
}

void FakeFileSystem::replaceByFolder(const QString& path)
{
    const EntryIdentity identity = m_entries.value(path).identity;
    addFolder(path);
    m_entries[path].identity = identity;
}

void FakeFileSystem::failRename(const QString& from, int error, bool dropsFile)
{
    m_failingRenames.insert(from, error);
    if (dropsFile)
        m_droppingRenames.insert(from);
}

QString FakeFileSystem::withSlash(const QString& folder)
{
    return folder.isEmpty() || folder.endsWith(u'/') ? folder : folder + u'/';
}

QString FakeFileSystem::keyOf(const QString& path) const
{
    if (m_entries.contains(path))
        return path;
    if (!m_foldsCase)
        return {};
    const QString capitals = path.toUpper();
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (it.key().toUpper() == capitals)
            return it.key();
    }
    return {};
}

FileAttributes FakeFileSystem::attributes(const QString& path) const
{
    if (m_backing == Backing::Disk)
        return m_disk.attributes(path);
    return m_entries.value(keyOf(path));
}

std::unique_ptr<AttributeReader> FakeFileSystem::attributeReader() const
{
    if (m_backing == Backing::Disk)
        return m_disk.attributeReader();
    return FileSystem::attributeReader();
}

std::optional<QStringList> FakeFileSystem::entryNames(const QString& folder) const
{
    const QString prefix = withSlash(folder);
    if (m_failingListings.contains(prefix))
        return std::nullopt;
    if (m_backing == Backing::Disk)
        return m_disk.entryNames(folder);
    // A folder that is not there holds nothing, as on disk.
    QStringList names;
    for (auto it = m_entries.lowerBound(prefix); it != m_entries.cend() && it.key().startsWith(prefix);
         ++it) {
        const QStringView name = QStringView(it.key()).sliced(prefix.size());
        if (!name.isEmpty() && !name.contains(u'/'))
            names.append(name.toString());
    }
    return names;
}

std::optional<FolderEntries> FakeFileSystem::entries(const QString& folder) const
{
    if (m_failingListings.contains(withSlash(folder)))
        return std::nullopt;
    if (m_backing == Backing::Disk)
        return m_disk.entries(folder);
    return FileSystem::entries(folder);
}

int FakeFileSystem::maxNameBytes(const QString& folder) const
{
    if (m_backing == Backing::Disk)
        return m_disk.maxNameBytes(folder);
    return 255;
}

std::optional<FolderIdentity> FakeFileSystem::folderIdentity(const QString& folder) const
{
    if (m_backing == Backing::Disk)
        return m_disk.folderIdentity(folder);
    return std::nullopt;
}

RenameResult FakeFileSystem::renameFile(const QString& from, const QString& to)
{
    m_renameCalls.append(from + u'>' + to);
    if (const auto failing = m_failingRenames.constFind(from); failing != m_failingRenames.cend()) {
        if (m_droppingRenames.contains(from) && m_backing == Backing::Disk)
            QFile::remove(from);
        else if (m_droppingRenames.contains(from))
            m_entries.remove(from);
        return {failing.value()};
    }
    if (m_backing == Backing::Disk)
        return m_disk.renameFile(from, to);
    if (from == to)
        return {};
    if (!m_entries.contains(from))
        return {ENOENT};
    if (!keyOf(to).isEmpty())
        return {EEXIST};
    m_entries.insert(to, m_entries.take(from));
    return {};
}

RenameResult FakeFileSystem::renameOwnEntry(const QString& from, const QString& to)
{
    m_renameCalls.append(from + u'>' + to);
    if (m_backing == Backing::Disk)
        return m_disk.renameOwnEntry(from, to);
    if (!m_entries.contains(from))
        return {ENOENT};
    if (const QString other = keyOf(to); !other.isEmpty() && other != from)
        return {EEXIST};
    m_entries.insert(to, m_entries.take(from));
    return {};
}

EntryStatus FakeFileSystem::status(const QString& path) const
{
    if (m_backing == Backing::Disk)
        return m_disk.status(path);
    const auto entry = m_entries.constFind(keyOf(path));
    if (entry == m_entries.cend())
        return {ENOENT};
    const EntryStatus::Type type = entry->isFolder    ? EntryStatus::Type::Folder
                                   : entry->isSpecial ? EntryStatus::Type::Other
                                                      : EntryStatus::Type::Regular;
    return {0, type, entry->identity, entry->size, entry->modified};
}

EntryLook FakeFileSystem::look(const QString& path) const
{
    if (m_backing == Backing::Disk)
        return m_disk.look(path);
    const auto entry = m_entries.constFind(keyOf(path));
    if (entry == m_entries.cend())
        return {ENOENT};
    return {0, entry->identity, entry->isFolder};
}
