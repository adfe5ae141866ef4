#include "check/PlanCheck.h"

#include "naming/NameGenerator.h"
#include "platform/FileSystem.h"

#include <QHash>

#include <numeric>
#include <optional>
#include <unordered_map>

namespace {

struct QStringHash
{
    size_t operator()(const QString& s) const noexcept { return qHash(s); }
};

char16_t asciiCapital(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
}

// A name as it is compared without regard to letter case: by its capitals. Most names are
// plain ASCII, where the capitals are taken character by character while hashing and
// comparing, without making a capitalised copy; other names hold their capitals. Capitals
// contain no small ASCII letter, so both kinds compare correctly with each other. The hash
// is kept, so that probing a large table rarely has to read the text of another name.
struct CaselessName
{
    explicit CaselessName(const QString& name)
    {
        text = name;
        for (QChar c : name) {
            if (c.unicode() >= 0x80) {
                text = toCapitals(name);
                break;
            }
        }
        // FNV-1a over the capitals.
        hash = 1469598103934665603ULL;
        for (QChar c : std::as_const(text))
            hash = (hash ^ asciiCapital(c.unicode())) * 1099511628211ULL;
    }

    friend bool operator==(const CaselessName& a, const CaselessName& b)
    {
        if (a.hash != b.hash || a.text.size() != b.text.size())
            return false;
        const QChar* x = a.text.constData();
        const QChar* y = b.text.constData();
        for (qsizetype i = 0, n = a.text.size(); i < n; ++i) {
            if (asciiCapital(x[i].unicode()) != asciiCapital(y[i].unicode()))
                return false;
        }
        return true;
    }

    friend size_t qHash(const CaselessName& name, size_t seed = 0) { return name.hash ^ seed; }

    QString text;
    size_t hash = 0;
};

// Entries of one folder by their name's capitals. Only the first spelling is kept: that is
// enough to tell whether a match is the row's own file.
struct EntryMatch
{
    QString firstName;
    int count = 0;
};

struct FolderState
{
    bool listed = false;
    bool readable = true;
    QHash<CaselessName, EntryMatch> entries;
    int maxNameBytes = -1;
    // Shared by every folder of the same group: new names must be unique within it.
    QHash<CaselessName, qsizetype>* newNames = nullptr; // new name -> first marked row
};

// The folders of the marked rows. Folders form one group for uniqueness when their texts
// have the same capitals or when they are the same directory however spelled ("/d/" and
// "/d/./"), so that two rows can never be given one file's name.
class FolderCache
{
public:
    // One pass over the rows and one identity lookup per distinct folder text.
    FolderCache(const FileSystem& fs, const std::vector<CandidateRow>& rows) : m_fs(fs)
    {
        std::vector<std::pair<const QString*, FolderState*>> folders;
        for (const CandidateRow& row : rows) {
            if (!row.Marked || isLast(row.Folder))
                continue;
            auto [it, inserted] = m_folders.try_emplace(row.Folder);
            if (inserted)
                folders.emplace_back(&it->first, &it->second);
            remember(it->first, it->second);
        }

        std::vector<size_t> parent(folders.size());
        std::iota(parent.begin(), parent.end(), size_t(0));
        const auto root = [&parent](size_t i) {
            while (parent[i] != i)
                i = parent[i] = parent[parent[i]];
            return i;
        };
        QHash<QString, size_t> byCapitals;
        QHash<FolderIdentity, size_t> byIdentity;
        const auto join = [&root, &parent](auto& table, const auto& key, size_t i) {
            const auto known = table.constFind(key);
            if (known == table.cend())
                table.insert(key, i);
            else
                parent[root(i)] = root(known.value());
        };
        for (size_t i = 0; i < folders.size(); ++i) {
            const QString& text = *folders[i].first;
            join(byCapitals, toCapitals(text), i);
            if (const std::optional<FolderIdentity> identity = m_fs.folderIdentity(text))
                join(byIdentity, *identity, i);
        }
        m_groups.resize(folders.size());
        for (size_t i = 0; i < folders.size(); ++i)
            folders[i].second->newNames = &m_groups[root(i)];
    }

    // The state of a marked row's folder.
    FolderState& state(const QString& folder)
    {
        // Rows of one folder usually stand together and share the folder text.
        if (!isLast(folder)) {
            const auto it = m_folders.find(folder);
            Q_ASSERT(it != m_folders.end());
            remember(it->first, it->second);
        }
        return *m_last;
    }

    // The folder's entries by their capitals, listed on first use; nothing when the folder
    // cannot be listed, which leaves the absence of clashes unknown.
    const QHash<CaselessName, EntryMatch>* entries(const QString& folder, FolderState& state)
    {
        if (!state.listed) {
            state.listed = true;
            const std::optional<QStringList> names = m_fs.entryNames(folder);
            state.readable = names.has_value();
            if (names) {
                state.entries.reserve(names->size());
                for (const QString& name : *names) {
                    EntryMatch& match = state.entries[CaselessName(name)];
                    if (match.count++ == 0)
                        match.firstName = name;
                }
            }
        }
        return state.readable ? &state.entries : nullptr;
    }

    int maxNameBytes(const QString& folder, FolderState& state)
    {
        if (state.maxNameBytes < 0)
            state.maxNameBytes = m_fs.maxNameBytes(folder);
        return state.maxNameBytes;
    }

private:
    bool isLast(const QString& folder) const
    {
        return m_last != nullptr && (m_lastKey->constData() == folder.constData() || *m_lastKey == folder);
    }
    void remember(const QString& key, FolderState& state)
    {
        m_lastKey = &key;
        m_last = &state;
    }

    const FileSystem& m_fs;
    // Node-based: the pointers handed out stay valid while other folders are added.
    std::unordered_map<QString, FolderState, QStringHash> m_folders;
    std::vector<QHash<CaselessName, qsizetype>> m_groups; // sized once, never moves
    const QString* m_lastKey = nullptr;
    FolderState* m_last = nullptr;
};

bool clashes(const CandidateRow& row, const CaselessName& newName,
             const QHash<CaselessName, EntryMatch>& entries)
{
    const auto it = entries.constFind(newName);
    if (it == entries.cend())
        return false;
    // The row's own file does not count against it (a case-only change); any other entry does.
    if (CaselessName(row.OldName) == newName)
        return it->count > 1 || it->firstName != row.OldName;
    return true;
}

bool tooLong(const QString& name, int maxBytes)
{
    // Each UTF-16 unit takes at most three bytes of UTF-8.
    if (name.size() * 3 <= maxBytes)
        return false;
    return name.toUtf8().size() > maxBytes;
}

bool blankOnly(const QString& name)
{
    for (QChar c : name) {
        if (c != u' ')
            return false;
    }
    return true;
}

} // namespace

PlanResult PlanCheck::FillNewNameColumn(std::vector<CandidateRow>& rows, const MaskTranslation& mask,
                                        const NamingOptions& options, const FileSystem& fs,
                                        const Progress& progress)
{
    PlanResult result;
    const qsizetype total = static_cast<qsizetype>(rows.size());
    const NameGenerator generator(mask.program, options);
    if (mask.MaskOk && generator.counterOverflows(total))
        result.CounterInRange = false;

    if (!mask.MaskOk || !result.CounterInRange) {
        const QString placeholder = PlaceholderName.toString();
        for (CandidateRow& row : rows) {
            row.NewName = placeholder;
            row.Problems = RowProblem::None;
            if (row.Marked)
                ++result.MarkedCount;
        }
        return result;
    }

    FolderCache folders(fs, rows);
    constexpr qsizetype ProgressStep = 1024;
    for (qsizetype i = 0; i < total; ++i) {
        if (progress && i % ProgressStep == 0)
            progress(i, total);
        CandidateRow& row = rows[static_cast<size_t>(i)];
        row.NewName = generator.generate({row.BareName(), row.TypeText(), row.DateKey}, i + 1);
        row.Problems = RowProblem::None;
        if (!row.Marked)
            continue;

        ++result.MarkedCount;
        const QString& name = row.NewName;
        if (name.startsWith(u'.'))
            row.Problems |= RowProblem::TypeOnly;
        if (blankOnly(name))
            row.Problems |= RowProblem::Empty;
        if (name.contains(u'/'))
            row.Problems |= RowProblem::Slash;

        FolderState& folder = folders.state(row.Folder);
        const CaselessName caseless(name);
        // A row that keeps its exact name moves nothing and cannot clash.
        if (name != row.OldName) {
            const QHash<CaselessName, EntryMatch>* entries = folders.entries(row.Folder, folder);
            if (entries == nullptr)
                row.Problems |= RowProblem::Unreadable;
            else if (clashes(row, caseless, *entries))
                row.Problems |= RowProblem::Clash;
        }
        if (tooLong(name, folders.maxNameBytes(row.Folder, folder)))
            row.Problems |= RowProblem::TooLong;

        const auto first = folder.newNames->constFind(caseless);
        const bool inserted = first == folder.newNames->cend();
        if (inserted) {
            folder.newNames->insert(caseless, i);
        } else {
            row.Problems |= RowProblem::Duplicate;
            rows[static_cast<size_t>(first.value())].Problems |= RowProblem::Duplicate;
        }

        result.NoTypeOnly &= !(row.Problems & RowProblem::TypeOnly);
        result.NoEmptyName &= !(row.Problems & RowProblem::Empty);
        result.NoSlash &= !(row.Problems & RowProblem::Slash);
        result.NoClash &= !(row.Problems & RowProblem::Clash);
        result.NamesFit &= !(row.Problems & RowProblem::TooLong);
        result.FoldersReadable &= !(row.Problems & RowProblem::Unreadable);
        result.NamesUnique &= inserted;
    }
    if (progress)
        progress(total, total);
    return result;
}

QString PlanCheck::failureMessage(const PlanResult& result)
{
    if (!result.CounterInRange)
        return QStringLiteral("Fehler: Der Zähler überschreitet den größten zulässigen Wert!");
    if (!result.NamesUnique)
        return QStringLiteral(
            "Fehler: Die neuen Dateinamen sind nicht alle eindeutig - überprüfen Sie die Maske!");
    if (!result.NoClash)
        return QStringLiteral("Fehler: Einige neue Namen überschneiden sich mit denen existierender Dateien!");
    if (!result.NoTypeOnly)
        return QStringLiteral("Fehler: Es gibt Namen, die nur aus einer Typenkennung bestehen!");
    if (!result.NoEmptyName)
        return QStringLiteral(
            "Fehler: Es gibt Namen, die nur aus Leerzeichen oder gar keinen Zeichen bestehen!");
    if (!result.NoSlash)
        return QStringLiteral(
            "Fehler: Es gibt Namen mit einem Schrägstrich - überprüfen Sie 'Suchen & ersetzen'!");
    if (!result.NamesFit)
        return QStringLiteral("Fehler: Es gibt Namen, die für das Dateisystem zu lang sind!");
    if (!result.FoldersReadable)
        return QStringLiteral("Fehler: Es gibt Ordner, deren Inhalt sich nicht lesen lässt!");
    return {};
}

QString PlanCheck::successMessage(const QString& renameCaption)
{
    return QStringLiteral("Zum Umbenennen der Dateien klicken Sie jetzt die Schaltfläche '") +
           renameCaption.mid(1) + QStringLiteral("'.");
}

QString PlanCheck::countText(qint64 marked, qint64 rows)
{
    return QString::number(marked) + QStringLiteral(" von ") + QString::number(rows) +
           QStringLiteral(" Dateien markiert");
}
