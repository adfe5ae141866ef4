#include "list/ListIntake.h"

#include "list/RowFormat.h"
#include "list/TextArena.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_map>

namespace {

struct Folder
{
    QString text;  // shared by the rows of the folder
    int group = 0; // the same for folder texts that name the same directory
};

// The folders of the list and the intake, each asked for its identity once. Folder texts that
// name one directory form one group; where the file system names no identity, the text is a
// group of its own. Command lines and drops list a folder's files together, so the last folder
// catches nearly every lookup.
class FolderTable
{
public:
    explicit FolderTable(const FileSystem& fs) : m_fs(fs) {}

    const Folder& find(QStringView text)
    {
        if (m_last != nullptr && m_last->text == text)
            return *m_last;
        QString key = text.toString();
        auto known = m_folders.find(key);
        if (known == m_folders.end()) {
            const std::optional<FolderIdentity> identity = m_fs.folderIdentity(key);
            int group = m_nextGroup;
            if (identity) {
                auto same = m_groups.constFind(*identity);
                if (same == m_groups.constEnd())
                    same = m_groups.insert(*identity, group);
                group = same.value();
            }
            if (group == m_nextGroup)
                ++m_nextGroup;
            known = m_folders.emplace(key, Folder{key, group}).first;
        }
        m_last = &known->second;
        return *m_last;
    }

private:
    struct Hash
    {
        size_t operator()(const QString& s) const noexcept { return qHash(s); }
    };

    const FileSystem& m_fs;
    std::unordered_map<QString, Folder, Hash> m_folders; // node-based: m_last stays valid
    QHash<FolderIdentity, int> m_groups;
    int m_nextGroup = 0;
    const Folder* m_last = nullptr;
};

// The folder entries met so far, each a folder group and a name; the names are views into rows
// and paths that outlive the set. Open addressing with linear probing over slots of eight bytes,
// which keep 32 bits of the hash beside the entry's index: a probe reads the entry only when
// those bits match, so a lookup touches about one cache line of a table of 16 bytes per entry,
// and a caller that knows its next hashes can fetch their lines ahead.
class EntrySet
{
public:
    // Room for `capacity` entries without growing.
    explicit EntrySet(size_t capacity) : m_seed(QHashSeed::globalSeed())
    {
        size_t slots = 16;
        while (slots < 2 * capacity)
            slots *= 2;
        m_slots.resize(slots);
        m_mask = slots - 1;
        m_entries.reserve(capacity);
    }

    size_t hash(int group, QStringView name) const { return qHashMulti(m_seed, group, name); }

    void prefetch(size_t hash) const { __builtin_prefetch(&m_slots[hash & m_mask]); }

    // Adds the entry, given with its hash(), unless it is there; true when added.
    bool add(int group, QStringView name, size_t hash)
    {
        const auto tag = static_cast<quint32>(static_cast<quint64>(hash) >> 32);
        for (size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
            Slot& slot = m_slots[at];
            if (slot.entry == 0) {
                Q_ASSERT(m_entries.size() < m_entries.capacity());
                m_entries.push_back({group, name});
                slot = {tag, static_cast<quint32>(m_entries.size())};
                return true;
            }
            if (slot.tag == tag) {
                const Entry& entry = m_entries[slot.entry - 1];
                if (entry.group == group && entry.name == name)
                    return false;
            }
        }
    }

private:
    struct Slot
    {
        quint32 tag = 0;
        quint32 entry = 0; // index + 1 into m_entries, 0 when free
    };
    struct Entry
    {
        int group;
        QStringView name;
    };

    size_t m_seed;
    size_t m_mask = 0;
    std::vector<Slot> m_slots;
    std::vector<Entry> m_entries;
};

} // namespace

QStringList ListIntake::SplitCommandLine(const QList<QByteArray>& rawArguments)
{
    QStringList paths;
    paths.reserve(rawArguments.size());
    for (const QByteArray& raw : rawArguments) {
        if (raw.isEmpty())
            continue;
        QString path = QFile::decodeName(raw);
        if (QFile::encodeName(path) != raw)
            continue;
        paths.append(std::move(path));
    }
    return paths;
}

std::vector<CandidateRow> ListIntake::takeIn(const QStringList& paths,
                                             const std::vector<CandidateRow>& existing, const FileSystem& fs,
                                             const Progress& progress)
{
    // Three passes: the paths are split and hashed, then checked against the list and each
    // other, then the file system is asked about those left. The checks run back to back and
    // fetch their table slots a few paths ahead, rather than between system calls that push the
    // table out of the cache. A path claims its entry before the file system has seen it;
    // another spelling of a missing entry is missing too.
    const qsizetype total = paths.size();
    FolderTable folders(fs);

    // Gone before the rows are made, so that they can take its memory.
    std::optional<EntrySet> set(std::in_place, existing.size() + static_cast<size_t>(total));
    EntrySet& listed = *set;
    for (const CandidateRow& row : existing) {
        const int group = folders.find(row.Folder).group;
        listed.add(group, row.OldName, listed.hash(group, row.OldName));
    }

    struct Fresh
    {
        qsizetype index; // in paths
        qsizetype nameStart;
        const Folder* folder;
        size_t hash;
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
        const QString& path = paths.at(i);
        if (path.isEmpty())
            continue;
        const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
        const Folder& folder = folders.find(QStringView(path).left(nameStart));
        const size_t hash = listed.hash(folder.group, QStringView(path).mid(nameStart));
        fresh.push_back({i, nameStart, &folder, hash});
    }
    const auto nameOf = [&paths](const Fresh& entry) {
        return QStringView(paths.at(entry.index)).mid(entry.nameStart);
    };
    constexpr size_t ahead = 8; // enough probes in flight to cover a miss to memory
    size_t kept = 0;
    for (size_t k = 0; k < fresh.size(); ++k) {
        waiting(k);
        if (k + ahead < fresh.size())
            listed.prefetch(fresh[k + ahead].hash);
        const Fresh& entry = fresh[k];
        if (listed.add(entry.folder->group, nameOf(entry), entry.hash))
            fresh[kept++] = entry;
    }
    fresh.resize(kept);
    set.reset();

    const std::unique_ptr<AttributeReader> reader = fs.attributeReader();
    TextArena names; // the names of the rows, a few kilobytes to a buffer
    std::vector<CandidateRow> taken;
    taken.reserve(fresh.size());
    auto next = fresh.cbegin();
    for (qsizetype i = 0; i < total; ++i) {
        if (progress)
            progress(i + 1, total);
        if (next == fresh.cend() || next->index != i)
            continue;
        const Fresh& entry = *next++;
        if (next != fresh.cend()) // its characters lie anywhere: fetched while the call waits
            __builtin_prefetch(nameOf(*next).data());
        const QStringView name = nameOf(entry);
        const FileAttributes attributes = reader->attributes(entry.folder->text, name);
        if (!attributes.exists || attributes.isFolder || attributes.isSpecial)
            continue;

        // The shared folder first: its reference count is a locked add, which would wait for
        // the name's copy to reach memory that is seldom in the cache.
        QString folder = entry.folder->text;
        CandidateRow row = CandidateRow::fromParts(std::move(folder), names.add(name));
        row.DateStamp = RowFormat::dateStamp(attributes.modified);
        row.Size = attributes.size;
        row.Identity = attributes.identity;
        row.Marked = true;
        taken.push_back(std::move(row));
    }
    std::reverse(taken.begin(), taken.end());
    return taken;
}
