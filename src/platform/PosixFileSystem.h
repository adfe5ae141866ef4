#pragma once

#include "platform/FileSystem.h"

// The local file system through POSIX calls. Names are bytes on disk; they are decoded and
// encoded with QFile::decodeName/encodeName, so a name must be valid UTF-8 to round-trip.
class PosixFileSystem final : public FileSystem
{
public:
    FileAttributes attributes(const QString& path) const override;
    std::optional<QStringList> entryNames(const QString& folder) const override;
    int maxNameBytes(const QString& folder) const override;
};
