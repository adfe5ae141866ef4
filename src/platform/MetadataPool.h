#pragma once

#include "platform/MetadataSource.h"

#include <QString>

// Reads file values in helper processes, so that a file that crashes or hangs a parser takes
// down a helper and never the window. As many helpers run as there are cores, each fed a few
// files ahead of its answers. A helper that crashes, answers garbage or takes longer than the
// time limit for one file is ended: that file counts as unreadable, and a new helper goes on
// with the rest. Each helper may take at most MemoryLimit of address space.
class MetadataPool final : public MetadataSource
{
public:
    static constexpr int DefaultTimeoutMs = 5000;
    static constexpr quint64 MemoryLimit = 512ull << 20;

    explicit MetadataPool(QString helperProgram, int timeoutMs = DefaultTimeoutMs, int processes = 0);

    // velto-metadata beside the running program (the build tree), else in libexec/velto/ of
    // the installation the program belongs to.
    static QString defaultHelper();

    void read(const std::vector<QByteArray>& paths,
              const std::function<void(size_t, const FileMetadata&)>& found,
              const std::function<bool(qsizetype done)>& keepGoing) override;

private:
    QString m_program;
    int m_timeoutMs;
    int m_processes;
};
