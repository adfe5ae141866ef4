#pragma once

#include "platform/FileSystem.h"

// One folder's entries held in memory, for lists larger than is sensible to create on disk.
class ListedFolder final : public FileSystem
{
public:
    explicit ListedFolder(QStringList names) : m_names(std::move(names)) {}
    FileAttributes attributes(const QString&) const override { return {}; }
    std::optional<QStringList> entryNames(const QString&) const override { return m_names; }
    int maxNameBytes(const QString&) const override { return 255; }

private:
    QStringList m_names;
};
