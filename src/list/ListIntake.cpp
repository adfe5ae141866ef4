#include "list/ListIntake.h"

#include "list/RowFormat.h"

#include <QFile>
#include <QSet>

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace {

bool sameTime(const LocalTime& a, const LocalTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
}

struct Folder
{
    QString text; // shared by the rows of the folder
    std::optional<FolderIdentity> identity;
};

// One folder entry, however its path is spelled: the directory by its identity and the
// name. Where the file system names no identity, the folder text stands in.
struct EntryKey
{
    FolderIdentity identity;
    QString folderText; // empty when the identity is known
    QString name;

    static EntryKey of(const Folder& folder, QString name)
    {
        if (folder.identity)
            return {*folder.identity, QString(), std::move(name)};
        return {FolderIdentity(), folder.text, std::move(name)};
    }
    friend bool operator==(const EntryKey&, const EntryKey&) = default;
    friend size_t qHash(const EntryKey& key, size_t seed = 0)
    {
        return qHashMulti(seed, key.identity, key.folderText, key.name);
    }
};

// The folders of the list and the intake, each asked for its identity once. Command lines
// and drops list a folder's files together, so the last folder catches nearly every lookup.
class FolderTable
{
public:
    explicit FolderTable(const FileSystem& fs) : m_fs(fs) {}

    const Folder& find(QStringView text)
    {
        if (m_last != nullptr && (m_last->text.constData() == text.data() || m_last->text == text))
            return *m_last;
        QString key = text.toString();
        auto known = m_folders.find(key);
        if (known == m_folders.end()) {
            std::optional<FolderIdentity> identity = m_fs.folderIdentity(key);
            known = m_folders.emplace(key, Folder{key, identity}).first;
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
    const Folder* m_last = nullptr;
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
                                             const std::vector<CandidateRow>& existing,
                                             const FileSystem& fs, const Progress& progress)
{
    const qsizetype total = paths.size();
    FolderTable folders(fs);

    QSet<EntryKey> listed;
    listed.reserve(static_cast<qsizetype>(existing.size()) + total);
    for (const CandidateRow& row : existing)
        listed.insert(EntryKey::of(folders.find(row.Folder), row.OldName));

    // Files copied or unpacked together often share their time to the second.
    LocalTime lastTime;
    QString lastDateKey;

    std::vector<CandidateRow> taken;
    taken.reserve(static_cast<size_t>(total));
    for (qsizetype i = 0; i < total; ++i) {
        if (progress)
            progress(i + 1, total);
        const QString& path = paths.at(i);
        if (path.isEmpty())
            continue;
        const qsizetype slash = path.lastIndexOf(u'/');
        const Folder& folder = folders.find(QStringView(path).left(slash + 1));
        QString name = path.mid(slash + 1);
        EntryKey key = EntryKey::of(folder, name);
        if (listed.contains(key))
            continue;
        const FileAttributes attributes = fs.attributes(path);
        if (!attributes.exists || attributes.isFolder || attributes.isSpecial)
            continue;
        listed.insert(std::move(key));

        CandidateRow row = CandidateRow::fromParts(folder.text, std::move(name));
        row.Size = attributes.size;
        if (lastDateKey.isEmpty() || !sameTime(attributes.modified, lastTime)) {
            lastTime = attributes.modified;
            lastDateKey = RowFormat::dateKey(lastTime);
        }
        row.DateKey = lastDateKey;
        row.Marked = true;
        taken.push_back(std::move(row));
    }
    std::reverse(taken.begin(), taken.end());
    return taken;
}
