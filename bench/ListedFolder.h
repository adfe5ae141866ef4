#pragma once

#include "platform/FileSystem.h"

// One folder's entries held in memory, for lists larger than is sensible to create on disk.
class ListedFolder final : public FileSystem
{
public:
    explicit ListedFolder(const QStringList& names) : m_entries(names) {}
    FileAttributes attributes(const QString&) const override { return {}; }
    std::optional<QStringList> entryNames(const QString&) const override { return m_entries.toList(); }
    std::optional<FolderEntries> entries(const QString&) const override { return m_entries; }
    int maxNameBytes(const QString&) const override { return 255; }

private:
    FolderEntries m_entries;
};
