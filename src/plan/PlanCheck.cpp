#include "plan/PlanCheck.h"

#include "list/CheckBuffers.h"
#include "list/FolderIndex.h"
#include "list/NameSet.h"
#include "list/PlanTest.h"
#include "list/RowFormat.h"
#include "list/TextArena.h"
#include "naming/CaselessName.h"
#include "naming/ControlChars.h"
#include "naming/FileValueKinds.h"
#include "naming/NameGenerator.h"
#include "platform/FileSystem.h"

#include <QHash>

#include <array>
#include <optional>

namespace {

struct FolderState
{
    bool listed = false;
    bool readable = true;
    FolderEntries names;        // the folder's entries
    NameSet* entries = nullptr; // over names, by their capitals
    std::vector<bool> twinned;  // over names: another entry has the same capitals; empty if none
    int maxNameBytes = -1;
    qsizetype markedRows = 0;
    // Shared by every folder of the same group: new names must be unique within it.
    NameSet* newNames = nullptr; // over the rows' new names, the first marked row of each
};

// The folders of the marked rows. Folders form one group for uniqueness when they are the same
// directory however spelled ("/d/" and "/d/./") or when their texts have the same capitals, so
// that two rows can never be given one file's name.
// The hashes of the names a few places ahead of the one at hand, so that the table probe of a
// name further down can be started early, without a table of every name's hash: they are made
// in batches, each in one tight pass over its names, and each once.
template <typename HashOf> class HashesAhead
{
public:
    static constexpr qsizetype Ahead = 16;

    HashesAhead(qsizetype count, HashOf hashOf) : m_count(count), m_hashOf(std::move(hashOf)) {}

    // Makes the hashes up to place at + Ahead, if they are not made yet: those from at on can
    // be read.
    void advanceTo(qsizetype at)
    {
        if (at + Ahead < m_made)
            return;
        for (const qsizetype end = std::min(m_count, at + Ahead + Batch); m_made < end; ++m_made)
            m_ring[size_t(m_made) % Ring] = m_hashOf(m_made);
    }
    quint64 hash(qsizetype at) const
    {
        Q_ASSERT(at < m_made && at + qsizetype(Ring) >= m_made);
        return m_ring[size_t(at) % Ring];
    }

private:
    static constexpr qsizetype Batch = 1024;
    static constexpr size_t Ring = 2048; // more than Ahead + Batch
    std::array<quint64, Ring> m_ring{};
    qsizetype m_count;
    qsizetype m_made = 0;
    HashOf m_hashOf;
};

class FolderCache
{
public:
    // One pass over the rows and one identity lookup per distinct folder text.
    FolderCache(const FileSystem& fs, const std::vector<CandidateRow>& rows, CheckBuffers& buffers)
        : m_fs(fs), m_index(fs), m_buffers(buffers)
    {
        for (const CandidateRow& row : rows) {
            if (!row.Marked)
                continue;
            const auto folder = size_t(m_index.find(row.Folder));
            if (folder == m_states.size())
                m_states.emplace_back();
            ++m_states[folder].markedRows;
        }

        QHash<QString, qint32> byCapitals;
        for (qint32 folder = 0; folder < m_index.size(); ++folder) {
            QString capitals = toCapitals(m_index.text(folder));
            const auto known = byCapitals.constFind(capitals);
            if (known == byCapitals.cend())
                byCapitals.insert(std::move(capitals), folder);
            else
                m_index.join(folder, known.value());
        }
        std::vector<qsizetype> groupRows(m_states.size());
        for (qint32 folder = 0; folder < m_index.size(); ++folder)
            groupRows[size_t(m_index.group(folder))] += m_states[size_t(folder)].markedRows;
        // Sized for every new name of the group at once.
        std::vector<NameSet*> groups(m_states.size());
        for (size_t group = 0; group < groups.size(); ++group) {
            if (groupRows[group] > 0)
                groups[group] = &m_buffers.takeSet(size_t(groupRows[group]));
        }
        for (qint32 folder = 0; folder < m_index.size(); ++folder)
            m_states[size_t(folder)].newNames = groups[size_t(m_index.group(folder))];
    }
    FolderCache(const FolderCache&) = delete;
    FolderCache& operator=(const FolderCache&) = delete;

    // The state of a marked row's folder.
    FolderState& state(const FolderText& folder)
    {
        const auto at = size_t(m_index.find(folder));
        Q_ASSERT(at < m_states.size());
        return m_states[at];
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
                const qsizetype count = state.names.size();
                NameSet& entries = m_buffers.takeSet(size_t(count));
                state.entries = &entries;
                HashesAhead hashes(count,
                                   [&state](qsizetype i) { return CaselessName(state.names.at(i)).hash(); });
                for (qsizetype i = 0; i < count; ++i) {
                    hashes.advanceTo(i);
                    if (i + hashes.Ahead < count)
                        entries.prefetch(hashes.hash(i + hashes.Ahead));
                    const CaselessName name(state.names.at(i), hashes.hash(i));
                    const qint32 stored =
                        entries.findOrAdd(name.hash(), qint32(i), [&name, &state](qint32 index) {
                            return name.sameAs(state.names.at(index));
                        });
                    if (stored != qint32(i)) {
                        if (state.twinned.empty())
                            state.twinned.resize(size_t(count));
                        state.twinned[size_t(stored)] = true;
                    }
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
    const FileSystem& m_fs;
    FolderIndex m_index;
    CheckBuffers& m_buffers;
    std::vector<FolderState> m_states; // by folder number
};

bool clashes(const CandidateRow& row, const CaselessName& newName, const FolderState& folder)
{
    const qint32 match = folder.entries->find(
        newName.hash(), [&newName, &folder](qint32 index) { return newName.sameAs(folder.names.at(index)); });
    if (match < 0)
        return false;
    // The row's own file does not count against it (a case-only change); any other entry does.
    if (newName.sameAs(row.OldName)) {
        const bool twinned = !folder.twinned.empty() && folder.twinned[size_t(match)];
        return twinned || folder.names.at(match) != row.OldName;
    }
    return true;
}

// The values of a file as a name takes them, in text. Numbers are written into the buffers
// here; the texts stay where the table keeps them.
class FileTexts
{
public:
    void fill(const FileValuesTable& values, const FileValuesTable::Slot& slot)
    {
        using namespace FileValueKinds;
        const FileValuesTable::Texts& texts = values.textsOf(slot);
        m_texts[CameraText] = texts.camera;
        m_texts[MakerText] = texts.maker;
        m_texts[ArtistText] = texts.artist;
        m_texts[TitleText] = texts.title;
        m_texts[AlbumText] = texts.album;
        m_texts[WidthText] = number(slot.Width, 1, m_width);
        m_texts[HeightText] = number(slot.Height, 1, m_height);
        m_texts[TrackText] = number(texts.track, 2, m_track);
        m_texts[YearText] = number(texts.year, 4, m_year);
    }
    const QStringView* texts() const { return m_texts; }

private:
    // At least `digits` digits, zeros in front.
    static QStringView number(quint32 value, int digits, char16_t (&out)[10])
    {
        qsizetype end = std::size(out);
        qsizetype begin = end;
        do {
            out[--begin] = char16_t(u'0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (end - begin < digits)
            out[--begin] = u'0';
        return QStringView(out + begin, end - begin);
    }

    QStringView m_texts[FileValueKinds::TextCount];
    char16_t m_width[10];
    char16_t m_height[10];
    char16_t m_track[10];
    char16_t m_year[10];
};

// Writes every row's new name. The names of one pass are slices of a few shared buffers, so
// that a million names cost a few thousand allocations instead of a million. False, at once,
// when the expression failed on a row: the names are then of no use. A row whose file lacks a
// value that the mask reads gets the placeholder, and its slot says what it lacks; marksLack
// tells whether a marked row does.
bool writeNewNames(NewNamesUpdate& update, const NameGenerator& generator,
                   const PlanCheck::Progress& progress, bool& marksLack)
{
    const std::vector<CandidateRow>& rows = update.rows();
    const qsizetype total = qsizetype(rows.size());
    const quint16 needs = generator.fileValueNeeds();
    FileValuesTable* values = update.fileValues();
    const bool readsTexts = (needs & ~FileValueKinds::Taken) != 0;
    marksLack = false;
    TextArena names;
    QString name; // reused: resize(0) keeps its capacity
    const QString placeholder = PlaceholderText.toString();
    char16_t dateKey[16];
    char16_t takenKey[16];
    FileTexts texts;
    for (qsizetype i = 0; i < total; ++i) {
        if (progress && i % 1024 == 0)
            progress(i, 2 * total);
        const CandidateRow& row = rows[size_t(i)];
        NameSource source{row.BareName(), row.DottedType(), {}};
        if (row.DateStamp != CandidateRow::NoDate && !generator.keyIsCaptureTime()) {
            RowFormat::writeDateKey(row.DateStamp, dateKey);
            source.DateKey = QStringView(dateKey, 16);
        }
        if (values) {
            FileValuesTable::Slot& slot = values->slots()[size_t(i)];
            const quint16 lacks = values->lacking(slot, needs);
            slot.Lacks = lacks;
            if (lacks != 0) {
                if (row.Marked) {
                    slot.Lacks |= FileValuesTable::LackMarked;
                    marksLack = true;
                }
                update.setNewName(size_t(i), placeholder);
                continue;
            }
            if (needs != 0) {
                if (slot.Taken != FileMetadata::NoTime) {
                    RowFormat::writeDateKey(slot.Taken, takenKey);
                    source.CaptureKey = QStringView(takenKey, 16);
                    if (generator.keyIsCaptureTime())
                        source.DateKey = source.CaptureKey;
                }
                if (readsTexts) {
                    texts.fill(*values, slot);
                    source.Texts = texts.texts();
                }
            }
        } else if (needs != 0) { // nothing read: every file lacks everything
            marksLack = marksLack || row.Marked;
            update.setNewName(size_t(i), placeholder);
            continue;
        }
        name.resize(0);
        generator.appendTo(name, source, i + 1);
        if (generator.expressionFailed())
            return false;
        update.setNewName(size_t(i), names.add(name));
    }
    return true;
}

// Whether the row got no name because its file lacks a value (it takes part in no test then).
bool lacksValues(const NewNamesUpdate& update, quint16 needs, size_t row)
{
    if (needs == 0)
        return false;
    const FileValuesTable* values = update.fileValues();
    return !values || values->slots()[row].Lacks != 0;
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
    NewNamesUpdate update(rows);
    return FillNewNameColumn(update, mask, options, fs, progress);
}

PlanResult PlanCheck::FillNewNameColumn(std::vector<CandidateRow>& rows, FileValuesTable& values,
                                        const MaskTranslation& mask, const NamingOptions& options,
                                        const FileSystem& fs)
{
    NewNamesUpdate update(rows, &values);
    return FillNewNameColumn(update, mask, options, fs);
}

PlanResult PlanCheck::FillNewNameColumn(NewNamesUpdate& update, const MaskTranslation& mask,
                                        const NamingOptions& options, const FileSystem& fs,
                                        const Progress& progress)
{
    const std::vector<CandidateRow>& rows = update.rows();
    PlanResult result;
    const qsizetype total = static_cast<qsizetype>(rows.size());
    const NameGenerator generator(mask.program, options);
    if (mask.MaskOk && generator.counterOverflows(total))
        result.CounterInRange = false;
    if (mask.MaskOk)
        result.ExpressionError = generator.expressionMessage();

    const auto placeholders = [&update, &rows, &result] {
        const QString placeholder = PlaceholderText.toString();
        result.MarkedCount = 0;
        for (size_t i = 0; i < rows.size(); ++i) {
            update.setNewName(i, placeholder);
            update.setProblems(i, RowProblem::None);
            if (rows[i].Marked)
                ++result.MarkedCount;
        }
        return result;
    };
    if (!mask.MaskOk || !result.CounterInRange || !result.ExpressionError.isEmpty())
        return placeholders();

    const quint16 needs = generator.fileValueNeeds();
    bool marksLack = false;
    if (!writeNewNames(update, generator, progress, marksLack)) {
        result.ExpressionError = generator.expressionMessage();
        return placeholders();
    }
    result.ValuesComplete = !marksLack;
    PassMemory ownMemory; // for a list that keeps none
    CheckBuffers buffers(update.memory() ? *update.memory() : ownMemory);
    FolderCache folders(fs, rows, buffers);
    if (progress) // the folders of a million rows take a while to gather
        progress(total, 2 * total);
    // Only the new names that are checked have a hash.
    HashesAhead hashes(total, [&](qsizetype i) {
        const CandidateRow& row = rows[size_t(i)];
        return row.Marked && !lacksValues(update, needs, size_t(i)) ? CaselessName(row.NewName).hash() : 0;
    });
    constexpr qsizetype ProgressStep = 1024;
    constexpr qsizetype Ahead = hashes.Ahead;
    for (qsizetype i = 0; i < total; ++i) {
        hashes.advanceTo(i);
        if (progress && i % ProgressStep == 0)
            progress(total + i, 2 * total);
        const CandidateRow& row = rows[static_cast<size_t>(i)];
        if (!row.Marked) {
            update.setProblems(size_t(i), RowProblem::None);
            continue;
        }
        ++result.MarkedCount;
        if (lacksValues(update, needs, size_t(i))) {
            update.setProblems(size_t(i), RowProblem::None);
            continue;
        }
        if (i + Ahead < total) {
            const CandidateRow& ahead = rows[size_t(i + Ahead)];
            if (ahead.Marked && !lacksValues(update, needs, size_t(i + Ahead))) {
                FolderState& folder = folders.state(ahead.Folder);
                if (folder.entries) // listed once the first of its rows needs it
                    folder.entries->prefetch(hashes.hash(i + Ahead));
                folder.newNames->prefetch(hashes.hash(i + Ahead));
            }
        }

        quint8 problems = RowProblem::None;
        const QString& name = row.NewName;
        if (name.startsWith(u'.'))
            problems |= RowProblem::TypeOnly;
        if (blankOnly(name))
            problems |= RowProblem::Empty;
        if (name.contains(u'/'))
            problems |= RowProblem::Slash;
        if (holdsControlChar(name))
            problems |= RowProblem::Control;

        FolderState& folder = folders.state(row.Folder);
        const CaselessName caseless(name, hashes.hash(i));
        // A row that keeps its exact name moves nothing and cannot clash.
        if (name != row.OldName) {
            if (!folders.listed(row.Folder, folder))
                problems |= RowProblem::Unreadable;
            else if (clashes(row, caseless, folder))
                problems |= RowProblem::Clash;
        }
        if (tooLong(name, folders.maxNameBytes(row.Folder, folder)))
            problems |= RowProblem::TooLong;

        const qint32 first =
            folder.newNames->findOrAdd(caseless.hash(), qint32(i), [&rows, &caseless](qint32 index) {
                return caseless.sameAs(rows[static_cast<size_t>(index)].NewName);
            });
        if (first != qint32(i)) {
            problems |= RowProblem::Duplicate;
            update.addProblems(static_cast<size_t>(first), RowProblem::Duplicate);
        }
        update.setProblems(size_t(i), problems);

        result.Problems |= problems;
    }
    if (progress)
        progress(2 * total, 2 * total);
    return result;
}

QString PlanCheck::failureMessage(const PlanResult& result)
{
    if (!result.ExpressionError.isEmpty())
        return result.ExpressionError;
    if (result.CounterInRange && !result.ValuesComplete)
        return tr("Fehler: Manchen Dateien fehlen Angaben, die die Maske verlangt!");
    for (const PlanTest& test : PlanTests) {
        const bool failed =
            test.mark == RowProblem::None ? !result.CounterInRange : (result.Problems & test.mark) != 0;
        if (failed)
            return PlanTest::translate(test.message);
    }
    return {};
}

QString PlanCheck::successMessage(const QString& renameCaption)
{
    //: %1 is the rename button's caption as it reads, without its access key.
    return tr("Zum Umbenennen der Dateien klicken Sie jetzt die Schaltfläche '%1'.").arg(renameCaption);
}

QString PlanCheck::countText(qint64 marked, qint64 rows)
{
    return tr("%1 von %2 Dateien markiert").arg(marked).arg(rows);
}
