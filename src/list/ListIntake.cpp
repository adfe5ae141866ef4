#include "list/ListIntake.h"

#include "list/FolderIndex.h"
#include "list/NameSet.h"
#include "list/RowFormat.h"
#include "list/TextArena.h"

#include <QFile>
#include <QHashFunctions>

#include <algorithm>
#include <memory>
#include <optional>

QStringList ListIntake::SplitCommandLine(const QList<QByteArray>& rawArguments, qsizetype* notUtf8)
{
    return commandLinePaths(rawArguments, notUtf8).toList();
}

PathList ListIntake::commandLinePaths(const QList<QByteArray>& rawArguments, qsizetype* notUtf8)
{
    PathList paths;
    qsizetype bytes = 0;
    for (const QByteArray& raw : rawArguments)
        bytes += raw.size();
    // Decoded, a path takes at most one character per byte.
    paths.reserve(rawArguments.size(), bytes);
    qsizetype dropped = 0;
    for (const QByteArray& raw : rawArguments) {
        if (raw.isEmpty())
            continue;
        const QString path = QFile::decodeName(raw);
        if (QFile::encodeName(path) != raw) {
            ++dropped;
            continue;
        }
        paths.append(path);
    }
    paths.squeeze();
    if (notUtf8)
        *notUtf8 = dropped;
    return paths;
}

QString ListIntake::notUtf8Hint(qsizetype count)
{
    if (count <= 0)
        return {};
    if (count == 1)
        return tr("Hinweis: 1 Pfad wurde übergangen, weil sein Name kein gültiges UTF-8 ist.");
    return tr("Hinweis: %1 Pfade wurden übergangen, weil ihr Name kein gültiges UTF-8 ist.").arg(count);
}

std::vector<CandidateRow> ListIntake::takeIn(const PathList& paths, const std::vector<CandidateRow>& existing,
                                             const FileSystem& fs, const Progress& progress)
{
    return takeIn(paths, nullptr, existing, fs, progress);
}

std::vector<CandidateRow> ListIntake::takeIn(PathList&& paths, const std::vector<CandidateRow>& existing,
                                             const FileSystem& fs, const Progress& progress)
{
    return takeIn(paths, &paths, existing, fs, progress);
}

std::vector<CandidateRow> ListIntake::takeIn(const PathList& paths, PathList* owned,
                                             const std::vector<CandidateRow>& existing, const FileSystem& fs,
                                             const Progress& progress)
{
    // Three passes: the paths are split and hashed, then checked against the list and each
    // other, then the file system is asked about those left. The checks run back to back and
    // fetch their table slots a few paths ahead, rather than between system calls that push the
    // table out of the cache. A path claims its entry before the file system has seen it;
    // another spelling of a missing entry is missing too.
    const qsizetype total = paths.size();
    FolderIndex folders(fs);

    // The folder entries met so far, each a folder group and a name; the names are views into
    // rows and paths that outlive them. Gone before the rows are made, so that they can take
    // their memory.
    struct Entry
    {
        qint32 group;
        QStringView name;
    };
    const size_t room = existing.size() + static_cast<size_t>(total);
    std::optional<NameSet> listed(std::in_place, room);
    std::vector<Entry> entries;
    entries.reserve(room);
    const size_t seed = QHashSeed::globalSeed();
    const auto hashOf = [seed](qint32 group, QStringView name) -> quint64 {
        return qHashMulti(seed, group, name);
    };
    // Adds the entry, given with its hash, unless it is there; true when added.
    const auto add = [&listed, &entries](qint32 group, QStringView name, quint64 hash) {
        const auto next = qint32(entries.size());
        const auto same = [&entries, group, name](qint32 index) {
            const Entry& entry = entries[size_t(index)];
            return entry.group == group && entry.name == name;
        };
        if (listed->findOrAdd(hash, next, same) != next)
            return false;
        entries.push_back({group, name});
        return true;
    };
    for (const CandidateRow& row : existing) {
        const qint32 group = folders.group(folders.find(row.Folder));
        add(group, row.OldName, hashOf(group, row.OldName));
    }

    // 24 bytes: a million of them stand beside the paths and the new rows.
    struct Fresh
    {
        qint32 index; // in paths
        qint32 nameStart;
        qint32 folder;
        qint32 group;
        quint64 hash;
    };
    std::vector<Fresh> fresh;
    fresh.reserve(static_cast<size_t>(total));
    // The first two passes tell that nothing is taken yet, so that a window stays painted
    // through the hashing of a million paths.
    const auto waiting = [&progress, total](size_t i) {
        if (progress && i % 65536 == 0 && i > 0)
            progress(0, total);
    };
    for (qsizetype i = 0; i < total; ++i) {
        waiting(size_t(i));
        const QStringView path = paths.at(i);
        if (path.isEmpty())
            continue;
        const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
        const qint32 folder = folders.find(path.left(nameStart));
        const qint32 group = folders.group(folder);
        fresh.push_back({qint32(i), qint32(nameStart), folder, group, hashOf(group, path.mid(nameStart))});
    }
    const auto nameOf = [&paths](const Fresh& entry) { return paths.at(entry.index).mid(entry.nameStart); };
    constexpr size_t ahead = 8; // enough probes in flight to cover a miss to memory
    size_t kept = 0;
    for (size_t k = 0; k < fresh.size(); ++k) {
        waiting(k);
        if (k + ahead < fresh.size())
            listed->prefetch(fresh[k + ahead].hash);
        const Fresh& entry = fresh[k];
        if (add(entry.group, nameOf(entry), entry.hash))
            fresh[kept++] = entry;
    }
    fresh.resize(kept);
    listed.reset();
    entries = std::vector<Entry>();

    // The names to take, apart from their folders, which the index holds: then the paths can go
    // before the rows are made, and the two never stand side by side.
    qsizetype nameLength = 0;
    for (const Fresh& entry : fresh)
        nameLength += paths.at(entry.index).size() - entry.nameStart;
    PathList names;
    names.reserve(qsizetype(fresh.size()), nameLength);
    struct Kept
    {
        qint32 index; // in paths
        qint32 folder;
    };
    std::vector<Kept> keptPaths;
    keptPaths.reserve(fresh.size());
    for (const Fresh& entry : fresh) {
        names.append(nameOf(entry));
        keptPaths.push_back({entry.index, entry.folder});
    }
    fresh = std::vector<Fresh>();
    if (owned)
        *owned = PathList();

    const std::unique_ptr<AttributeReader> reader = fs.attributeReader();
    TextArena arena; // the names of the rows, a few kilobytes to a buffer
    std::vector<CandidateRow> taken;
    taken.reserve(keptPaths.size());
    size_t next = 0;
    for (qsizetype i = 0; i < total; ++i) {
        if (progress)
            progress(i + 1, total);
        if (next == keptPaths.size() || keptPaths[next].index != i)
            continue;
        const qint32 folderIndex = keptPaths[next].folder;
        const QStringView name = names.at(qsizetype(next++));
        const FileAttributes attributes = reader->attributes(folders.text(folderIndex), name);
        if (!attributes.exists || attributes.isFolder || attributes.isSpecial)
            continue;

        // The shared folder first: its reference count is a locked add, which would wait for
        // the name's copy to reach memory that is seldom in the cache.
        FolderText folder = folders.folderText(folderIndex);
        CandidateRow row = CandidateRow::fromParts(std::move(folder), arena.add(name));
        row.DateStamp = RowFormat::dateStamp(attributes.modified);
        row.Size = attributes.size;
        row.setIdentity(attributes.identity);
        row.Marked = true;
        taken.push_back(std::move(row));
    }
    std::reverse(taken.begin(), taken.end());
    return taken;
}
