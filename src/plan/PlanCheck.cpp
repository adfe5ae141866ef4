#include "plan/PlanCheck.h"

#include "list/RowFormat.h"
#include "list/TextArena.h"
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

bool isAscii(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// FNV-1a over the capitals of plain ASCII, or over capitals made already.
quint64 capitalsHash(QStringView text)
{
    quint64 hash = 1469598103934665603ULL;
    for (QChar c : text)
        hash = (hash ^ asciiCapital(c.unicode())) * 1099511628211ULL;
    return hash;
}

// A name as it is compared without regard to letter case: by its capitals. Most names are
// plain ASCII, where the capitals are taken character by character while hashing and
// comparing, without a capitalised copy; other names make their capitals once. The hash
// is kept, so that probing a large table rarely reads the text of another name.
struct CaselessName
{
    explicit CaselessName(QStringView name) : ascii(isAscii(name))
    {
        if (ascii) {
            text = name;
        } else {
            capitals = toCapitals(name.toString());
            text = capitals;
        }
        hash = capitalsHash(text);
    }

    // Whether other, a name as it is spelled, has the same capitals. Capitals hold no small
    // ASCII letter, so an ASCII side and a capitalised side compare character by character.
    bool sameAs(QStringView other) const
    {
        QString otherCapitals;
        if (!isAscii(other)) {
            otherCapitals = toCapitals(other.toString());
            other = otherCapitals;
        }
        if (other.size() != text.size())
            return false;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (asciiCapital(text[i].unicode()) != asciiCapital(other[i].unicode()))
                return false;
        }
        return true;
    }

    bool ascii;
    QString capitals; // only for names beyond ASCII
    QStringView text; // the name, or its capitals
    quint64 hash = 0;
};

// An open-addressing table of names by their capitals that stores only a hash and an index
// per name: the names themselves stay where they are (the folder listing, the rows), so a
// million of them cost neither a node nor a string copy each.
class NameTable
{
public:
    struct Slot
    {
        quint64 hash = 0;
        qint32 index = -1; // -1: empty
        qint32 count = 0;  // names with these capitals
    };

    // The slot of the name, or the empty slot where it belongs. nameAt(index) gives the
    // spelling of a stored name.
    template <typename NameAt> Slot& find(const CaselessName& name, NameAt nameAt)
    {
        if (m_slots.empty())
            m_slots.resize(16);
        for (size_t i = name.hash & (m_slots.size() - 1);; i = (i + 1) & (m_slots.size() - 1)) {
            Slot& slot = m_slots[i];
            if (slot.index < 0 || (slot.hash == name.hash && name.sameAs(nameAt(slot.index))))
                return slot;
        }
    }

    // Brings the slot where a name of this hash begins its probe into the cache ahead of
    // find(): on a table of a million names nearly every probe would wait on memory.
    void prefetch(quint64 hash) const
    {
        if (!m_slots.empty())
            __builtin_prefetch(&m_slots[hash & (m_slots.size() - 1)]);
    }

    // Fills the empty slot that find() returned; may move every slot.
    void insert(Slot& slot, quint64 hash, qint32 index)
    {
        slot = {hash, index, 1};
        if (++m_used * 2 > m_slots.size())
            grow();
    }

    void reserve(qsizetype names)
    {
        size_t size = 16;
        while (size < size_t(names) * 2)
            size *= 2;
        if (size > m_slots.size()) {
            std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(size));
            rehash(old);
        }
    }

private:
    void grow()
    {
        std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(m_slots.size() * 2));
        rehash(old);
    }
    void rehash(const std::vector<Slot>& old)
    {
        for (const Slot& slot : old) {
            if (slot.index < 0)
                continue;
            size_t i = slot.hash & (m_slots.size() - 1);
            while (m_slots[i].index >= 0)
                i = (i + 1) & (m_slots.size() - 1);
            m_slots[i] = slot;
        }
    }

    std::vector<Slot> m_slots;
    size_t m_used = 0;
};

struct FolderState
{
    bool listed = false;
    bool readable = true;
    FolderEntries names; // the folder's entries
    NameTable entries;   // over names
    int maxNameBytes = -1;
    qsizetype markedRows = 0;
    // Shared by every folder of the same group: new names must be unique within it.
    NameTable* newNames = nullptr; // over the rows' new names, the first marked row of each
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
            if (!row.Marked)
                continue;
            if (!isLast(row.Folder)) {
                auto [it, inserted] = m_folders.try_emplace(row.Folder);
                if (inserted)
                    folders.emplace_back(&it->first, &it->second);
                remember(it->first, it->second);
            }
            ++m_last->markedRows;
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
        std::vector<qsizetype> groupRows(folders.size());
        for (size_t i = 0; i < folders.size(); ++i) {
            folders[i].second->newNames = &m_groups[root(i)];
            groupRows[root(i)] += folders[i].second->markedRows;
        }
        // Sized for every new name of the group at once: growing a table of a million
        // names by doubling would move each name several times.
        for (size_t i = 0; i < folders.size(); ++i) {
            if (groupRows[i] > 0)
                m_groups[i].reserve(groupRows[i]);
        }
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

    // The folder's entries by their capitals, listed on first use; false when the folder
    // cannot be listed, which leaves the absence of clashes unknown.
    bool listed(const QString& folder, FolderState& state)
    {
        if (!state.listed) {
            state.listed = true;
            std::optional<FolderEntries> names = m_fs.entries(folder);
            state.readable = names.has_value();
            if (names) {
                state.names = std::move(*names);
                state.entries.reserve(state.names.size());
                const auto nameAt = [&state](qint32 index) { return state.names.at(index); };
                std::vector<quint64> hashes(size_t(state.names.size()));
                for (qsizetype i = 0; i < state.names.size(); ++i)
                    hashes[size_t(i)] = CaselessName(state.names.at(i)).hash;
                constexpr qsizetype Ahead = 16;
                for (qsizetype i = 0; i < state.names.size(); ++i) {
                    if (i + Ahead < state.names.size())
                        state.entries.prefetch(hashes[size_t(i + Ahead)]);
                    const CaselessName name(state.names.at(i));
                    NameTable::Slot& slot = state.entries.find(name, nameAt);
                    if (slot.index < 0)
                        state.entries.insert(slot, name.hash, qint32(i));
                    else
                        ++slot.count;
                }
            }
        }
        return state.readable;
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
    std::vector<NameTable> m_groups; // sized once, never moves
    const QString* m_lastKey = nullptr;
    FolderState* m_last = nullptr;
};

bool clashes(const CandidateRow& row, const CaselessName& newName, FolderState& folder)
{
    const NameTable::Slot& match =
        folder.entries.find(newName, [&folder](qint32 index) { return folder.names.at(index); });
    if (match.index < 0)
        return false;
    // The row's own file does not count against it (a case-only change); any other entry does.
    if (newName.sameAs(row.OldName))
        return match.count > 1 || folder.names.at(match.index) != row.OldName;
    return true;
}

// Writes every row's new name. The names of one pass are slices of a few shared buffers, so
// that a million names cost a few thousand allocations instead of a million.
void writeNewNames(std::vector<CandidateRow>& rows, const NameGenerator& generator,
                   const PlanCheck::Progress& progress)
{
    const qsizetype total = qsizetype(rows.size());
    TextArena names;
    QString name; // reused: resize(0) keeps its capacity
    char16_t dateKey[16];
    for (qsizetype i = 0; i < total; ++i) {
        if (progress && i % 1024 == 0)
            progress(i, 2 * total);
        CandidateRow& row = rows[size_t(i)];
        QStringView date;
        if (row.DateStamp != CandidateRow::NoDate) {
            RowFormat::writeDateKey(row.DateStamp, dateKey);
            date = QStringView(dateKey, 16);
        }
        name.resize(0);
        generator.appendTo(name, {row.BareName(), row.TypeText(), date}, i + 1);
        row.NewName = names.add(name);
    }
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
        const QString placeholder = PlaceholderText.toString();
        for (CandidateRow& row : rows) {
            row.NewName = placeholder;
            row.Problems = RowProblem::None;
            if (row.Marked)
                ++result.MarkedCount;
        }
        return result;
    }

    writeNewNames(rows, generator, progress);
    FolderCache folders(fs, rows);
    if (progress) // the folders of a million rows take a while to gather
        progress(total, 2 * total);
    // The hashes of the new names first, in one sequential pass, so that the table probes
    // of a row a little further down can be started early.
    std::vector<quint64> hashes(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].Marked)
            hashes[i] = CaselessName(rows[i].NewName).hash;
    }
    constexpr qsizetype ProgressStep = 1024;
    constexpr qsizetype Ahead = 16;
    for (qsizetype i = 0; i < total; ++i) {
        if (progress && i % ProgressStep == 0)
            progress(total + i, 2 * total);
        CandidateRow& row = rows[static_cast<size_t>(i)];
        row.Problems = RowProblem::None;
        if (!row.Marked)
            continue;
        if (i + Ahead < total) {
            const CandidateRow& ahead = rows[size_t(i + Ahead)];
            if (ahead.Marked) {
                FolderState& folder = folders.state(ahead.Folder);
                folder.entries.prefetch(hashes[size_t(i + Ahead)]);
                folder.newNames->prefetch(hashes[size_t(i + Ahead)]);
            }
        }

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
            if (!folders.listed(row.Folder, folder))
                row.Problems |= RowProblem::Unreadable;
            else if (clashes(row, caseless, folder))
                row.Problems |= RowProblem::Clash;
        }
        if (tooLong(name, folders.maxNameBytes(row.Folder, folder)))
            row.Problems |= RowProblem::TooLong;

        NameTable::Slot& first = folder.newNames->find(caseless, [&rows](qint32 index) {
            return QStringView(rows[static_cast<size_t>(index)].NewName);
        });
        const bool inserted = first.index < 0;
        if (inserted) {
            folder.newNames->insert(first, caseless.hash, qint32(i));
        } else {
            row.Problems |= RowProblem::Duplicate;
            rows[static_cast<size_t>(first.index)].Problems |= RowProblem::Duplicate;
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
        progress(2 * total, 2 * total);
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
        return QStringLiteral(
            "Fehler: Einige neue Namen überschneiden sich mit denen existierender Dateien!");
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
