#include "check/PlanCheck.h"

#include "naming/NameGenerator.h"
#include "platform/FileSystem.h"

#include <QHash>

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
    QHash<CaselessName, EntryMatch> entries;
    int maxNameBytes = -1;
    // Shared by every exact folder text with the same capitals: names are compared as
    // capitalised full paths.
    QHash<CaselessName, qsizetype>* newNames = nullptr; // new name -> first marked row
};

class FolderCache
{
public:
    explicit FolderCache(const FileSystem& fs) : m_fs(fs) {}

    FolderState& state(const QString& folder)
    {
        // Rows of one folder usually stand together and share the folder text.
        if (m_last && (m_lastKey.constData() == folder.constData() || m_lastKey == folder))
            return *m_last;
        auto [it, inserted] = m_folders.try_emplace(folder);
        if (inserted)
            it->second.newNames = &m_groups[toCapitals(folder)];
        m_lastKey = folder;
        m_last = &it->second;
        return *m_last;
    }

    // The folder's entries by their capitals; the folder is listed on first use.
    const QHash<CaselessName, EntryMatch>& entries(const QString& folder, FolderState& state)
    {
        if (state.listed)
            return state.entries;
        state.listed = true;
        // A folder that cannot be listed any more holds nothing to clash with; the rename
        // run reports such rows.
        const std::optional<QStringList> names = m_fs.entryNames(folder);
        if (!names)
            return state.entries;
        state.entries.reserve(names->size());
        for (const QString& name : *names) {
            EntryMatch& match = state.entries[CaselessName(name)];
            if (match.count++ == 0)
                match.firstName = name;
        }
        return state.entries;
    }

    int maxNameBytes(const QString& folder, FolderState& state)
    {
        if (state.maxNameBytes < 0)
            state.maxNameBytes = m_fs.maxNameBytes(folder);
        return state.maxNameBytes;
    }

private:
    const FileSystem& m_fs;
    // Node-based maps: the pointers handed out stay valid while other folders are added.
    std::unordered_map<QString, FolderState, QStringHash> m_folders;
    std::unordered_map<QString, QHash<CaselessName, qsizetype>, QStringHash> m_groups;
    QString m_lastKey;
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

    FolderCache folders(fs);
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
        if (name != row.OldName && clashes(row, caseless, folders.entries(row.Folder, folder)))
            row.Problems |= RowProblem::Clash;
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
