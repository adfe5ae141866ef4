#pragma once

#include "platform/FileSystem.h"
#include "platform/LocalTimes.h"

#include <QString>
#include <QStringView>

#include <cstddef>
#include <vector>

// Attributes of many names, looked up from their folder where it is open rather than along the
// whole path. A folder is opened (O_PATH: it needs no more permission than a lookup of the full
// path) when it serves its second name, so a folder of one file costs no extra call. What the
// open folder cannot answer as the full path would (no open folder, an empty name, U+0000, a
// path beyond PATH_MAX) goes by the full path, as PosixFileSystem::attributes does.
class PosixAttributeReader final : public AttributeReader
{
public:
    PosixAttributeReader() { m_folders.reserve(maxFolders); }
    PosixAttributeReader(const PosixAttributeReader&) = delete;
    PosixAttributeReader& operator=(const PosixAttributeReader&) = delete;
    ~PosixAttributeReader() override;

    FileAttributes attributes(const QString& folder, QStringView name) override;

private:
    static constexpr int noFolder = -2; // AT_FDCWD is -100, and an open folder is >= 0

    struct OpenFolder
    {
        QString text;
        int fd = noFolder;
        int uses = 0;
        qsizetype textBytes = 0;
    };

    FileAttributes byPath(const QString& folder, QStringView name);
    // The folder's entry, opened on its second use; the oldest entry makes room.
    const OpenFolder& use(const QString& text);
    OpenFolder* find(const QString& text);
    static void open(OpenFolder& folder);

    static constexpr size_t maxFolders = 8;
    std::vector<OpenFolder> m_folders; // at most maxFolders, never moved once full
    size_t m_last = 0;
    size_t m_nextOut = 0;
    LocalTimes m_times;
};
