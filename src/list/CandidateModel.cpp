#include "list/CandidateModel.h"

#include "list/NaturalSortKeys.h"
#include "list/PlanTest.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <QScopedValueRollback>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <numeric>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

} // namespace

// Natural order as a file manager shows it. Qt's collator ignores numeric mode and case
// rules in the C locale (plain code-unit order), which is what a bare test or service
// environment has; the program's own language stands in then.
QCollator CandidateModel::listCollator()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::German, QLocale::Germany);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

namespace {

bool isCollatedColumn(int column)
{
    return column == CandidateModel::ColOldName || column == CandidateModel::ColNewName ||
           column == CandidateModel::ColFolder || column == CandidateModel::ColType;
}

} // namespace

CandidateModel::CandidateModel(QObject* parent) : QAbstractTableModel(parent) {}

int CandidateModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CandidateModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString CandidateModel::columnText(const CandidateRow& row, int column)
{
    switch (column) {
    case ColOldName:
        return row.OldName;
    case ColNewName:
        return row.NewName;
    case ColFolder:
        return row.Folder;
    case ColSize:
        return row.SizeText();
    case ColType:
        return row.TypeText().toString();
    case ColDate:
        return row.DateText();
    case ColDateKey:
        return row.DateKey();
    case ColSizeKey:
        return row.SizeKey();
    case ColPathName:
        return row.PathName();
    case ColBareName:
        return row.BareName().toString();
    default:
        return QString();
    }
}

QString CandidateModel::problemText(quint8 problems)
{
    QString result;
    for (const PlanTest& test : PlanTests) {
        if ((problems & test.mark) == 0)
            continue;
        if (!result.isEmpty())
            result += u'\n';
        result += test.markText;
    }
    return result;
}

QVariant CandidateModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || index.row() >= rowCount() ||
        index.column() >= ColumnCount)
        return QVariant();
    const CandidateRow& row = m_rows[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return columnText(row, index.column());
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        if (index.column() == ColNewName && row.Problems != RowProblem::None)
            return problemText(row.Problems);
        return QVariant();
    case ProblemsRole:
        return static_cast<int>(row.Problems);
    default:
        return QVariant();
    }
}

QVariant CandidateModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringView captions[ColumnCount] = {
        u"Alter Name",
        u"Neuer Name",
        u"In Ordner",
        u"Größe",
        u"Typ",
        u"Letzte Änderung",
        u"",
        u"(versteckte Sortierspalte für Datum)",
        u"(versteckte Sortierspalte für Größe)",
        u"(versteckte Spalte für PfadNamen)",
        u"(versteckte Spalte für NurNamen)",
    };
    if (section < 0 || section >= ColumnCount)
        return QVariant();
    return captions[section].toString();
}

Qt::ItemFlags CandidateModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

std::vector<CandidateRow>& CandidateModel::rowsForUpdate()
{
    return m_rows;
}

void CandidateModel::newNamesChanged()
{
    // New names may break an order by new names; it is restored only when sorting is
    // switched on again, never behind the user's back.
    if (m_sortColumn == ColNewName)
        m_inOrder = false;
    if (m_rows.empty())
        return;
    Q_EMIT dataChanged(index(0, ColNewName), index(rowCount() - 1, ColNewName),
                       {Qt::DisplayRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole, ProblemsRole});
}

void CandidateModel::InitListe()
{
    if (m_rows.empty())
        return;
    QScopedValueRollback<bool> restructuring(m_restructuring, true);
    beginRemoveRows(QModelIndex(), 0, rowCount() - 1);
    m_rows.clear();
    m_rows.shrink_to_fit();
    endRemoveRows();
    m_inOrder = true;
}

bool CandidateModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
        return false;
    QScopedValueRollback<bool> restructuring(m_restructuring, true);
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
    endRemoveRows();
    return true;
}

void CandidateModel::removeRowSet(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(
        std::remove_if(rows.begin(), rows.end(), [this](int row) { return row < 0 || row >= rowCount(); }),
        rows.end());
    if (rows.empty())
        return;

    // Blocks of consecutive rows, bottom first so that earlier positions stay valid.
    std::vector<std::pair<int, int>> blocks;
    for (size_t i = 0; i < rows.size();) {
        size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        blocks.emplace_back(rows[i], rows[j]);
        i = j + 1;
    }
    constexpr size_t maxSeparateRemovals = 16;
    if (blocks.size() <= maxSeparateRemovals) {
        for (auto block = blocks.rbegin(); block != blocks.rend(); ++block)
            removeRows(block->first, block->second - block->first + 1);
        return;
    }

    QScopedValueRollback<bool> restructuring(m_restructuring, true);
    beginResetModel();
    std::vector<CandidateRow> kept;
    kept.reserve(m_rows.size() - rows.size());
    auto removed = rows.cbegin();
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (removed != rows.cend() && *removed == static_cast<int>(row))
            ++removed;
        else
            kept.push_back(std::move(m_rows[row]));
    }
    m_rows.swap(kept);
    endResetModel();
}

void CandidateModel::insertAtTop(std::vector<CandidateRow> newRows)
{
    if (newRows.empty())
        return;
    {
        QScopedValueRollback<bool> restructuring(m_restructuring, true);
        beginInsertRows(QModelIndex(), 0, static_cast<int>(newRows.size()) - 1);
        if (m_rows.empty()) {
            // The first filling takes the rows as they are: a copy of a million would double
            // the list's memory for a moment.
            m_rows = std::move(newRows);
        } else {
            std::vector<CandidateRow> all;
            all.reserve(newRows.size() + m_rows.size());
            std::move(newRows.begin(), newRows.end(), std::back_inserter(all));
            std::move(m_rows.begin(), m_rows.end(), std::back_inserter(all));
            m_rows = std::move(all);
        }
        endInsertRows();
    }
    m_inOrder = false;
    if (m_sortingEnabled)
        sortRows();
}

bool CandidateModel::moveMarked(bool up)
{
    m_sortingEnabled = false;
    if (m_rows.empty())
        return true;
    if (up ? m_rows.front().Marked : m_rows.back().Marked)
        return false;

    // Where each row goes: every marked block swaps places with its unmarked neighbour.
    const int count = rowCount();
    std::vector<int> target(static_cast<size_t>(count));
    std::iota(target.begin(), target.end(), 0);
    bool anyMarked = false;
    for (int first = 0; first < count;) {
        if (!m_rows[static_cast<size_t>(first)].Marked) {
            ++first;
            continue;
        }
        int last = first;
        while (last + 1 < count && m_rows[static_cast<size_t>(last + 1)].Marked)
            ++last;
        anyMarked = true;
        const int step = up ? -1 : 1;
        for (int row = first; row <= last; ++row)
            target[static_cast<size_t>(row)] = row + step;
        if (up)
            target[static_cast<size_t>(first - 1)] = last;
        else
            target[static_cast<size_t>(last + 1)] = first;
        first = last + 1;
    }
    if (!anyMarked)
        return true;

    std::vector<int> order(target.size());
    for (size_t row = 0; row < target.size(); ++row)
        order[static_cast<size_t>(target[row])] = static_cast<int>(row);
    reorder(order);
    for (CandidateRow& row : m_rows) {
        if (row.Marked) {
            row.NewName = PlaceholderText.toString();
            row.Problems = RowProblem::None;
        }
    }
    m_inOrder = false;
    newNamesChanged();
    return true;
}

void CandidateModel::setSortingEnabled(bool on)
{
    m_sortingEnabled = on;
    if (on && !m_inOrder)
        sortRows();
}

void CandidateModel::setSortState(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    if (column == m_sortColumn && order == m_sortOrder)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    m_inOrder = false;
    if (m_sortingEnabled)
        sortRows();
}

void CandidateModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    sortRows();
}

namespace {

// A stable sort of [first, last) in blocks, merged pair by pair, so that a long list can tell
// its progress between the steps. Each step is O(block log block) or one linear merge.
template <typename T, typename Less, typename Step>
void stableSortInSteps(std::vector<T>& items, Less less, Step step)
{
    constexpr size_t Block = size_t(1) << 15;
    const size_t count = items.size();
    for (size_t begin = 0; begin < count; begin += Block) {
        std::stable_sort(items.begin() + qsizetype(begin),
                         items.begin() + qsizetype(std::min(count, begin + Block)), less);
        step();
    }
    if (count <= Block)
        return;
    std::vector<T> merged(count);
    for (size_t width = Block; width < count; width *= 2) {
        for (size_t begin = 0; begin < count; begin += 2 * width) {
            const auto first = items.begin() + qsizetype(begin);
            const auto middle = items.begin() + qsizetype(std::min(count, begin + width));
            const auto last = items.begin() + qsizetype(std::min(count, begin + 2 * width));
            std::move(first, middle, merged.begin() + qsizetype(begin)); // left run, then merge back
            std::merge(std::make_move_iterator(merged.begin() + qsizetype(begin)),
                       std::make_move_iterator(merged.begin() + (middle - items.begin())),
                       std::make_move_iterator(middle), std::make_move_iterator(last), first, less);
            step();
        }
    }
}

// A natural key in a shared buffer with its first bytes as numbers, so that most
// comparisons are two integer comparisons and never touch the buffer.
struct FastKey
{
    quint64 head = 0;
    quint64 next = 0;
    quint32 offset = 0; // of the bytes after the first 16
    quint32 restLength = 0;
    int row = 0;
};

quint64 bigEndian(const char* bytes, qsizetype available)
{
    quint64 value = 0;
    for (int i = 0; i < 8; ++i)
        value = (value << 8) | (i < available ? quint8(bytes[i]) : 0);
    return value;
}

} // namespace

std::vector<int> CandidateModel::sortedOrder() const
{
    const qsizetype total = qsizetype(m_rows.size());
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    // Steps of progress: one per row for the keys, then the sort's own steps; the last third
    // is reorder()'s, which moves the rows.
    qsizetype done = 0;
    const qsizetype steps = 3 * total;
    const auto step = [&](qsizetype by) {
        done += by;
        if (m_progress)
            m_progress(std::min(done, steps), steps);
    };
    // Descending keeps equal rows in their present order too, so it is not a reversed ascent.
    auto sortBy = [&](auto less) {
        const qsizetype perStep = std::max<qsizetype>(1, total / 64);
        if (descending)
            stableSortInSteps(
                order, [&](int a, int b) { return less(b, a); }, [&] { step(perStep); });
        else
            stableSortInSteps(order, less, [&] { step(perStep); });
    };
    auto row = [this](int i) -> const CandidateRow& { return m_rows[static_cast<size_t>(i)]; };

    if (isCollatedColumn(m_sortColumn)) {
        const QCollator collator = listCollator();
        if (std::optional<std::vector<int>> fast = naturalOrder(collator, descending, step))
            return std::move(*fast);
        // One key per row and a byte comparison per pair: a collator compare() per pair is
        // many times slower on a long list. Equal neighbours (one folder, one type) share a key.
        std::vector<QCollatorSortKey> keys;
        keys.reserve(m_rows.size());
        QString previous;
        for (const CandidateRow& candidate : m_rows) {
            QString text = columnText(candidate, m_sortColumn);
            if (!keys.empty() && text == previous) {
                QCollatorSortKey same = keys.back();
                keys.push_back(std::move(same));
            } else {
                keys.push_back(collator.sortKey(text));
                previous = std::move(text);
            }
            if (keys.size() % 4096 == 0)
                step(4096);
        }
        done = total;
        sortBy([&keys](int a, int b) {
            return keys[static_cast<size_t>(a)].compare(keys[static_cast<size_t>(b)]) < 0;
        });
        return order;
    }

    done = total;
    switch (m_sortColumn) {
    case ColSize:
    case ColSizeKey:
        // Unsigned, as the hex key reads.
        sortBy([&](int a, int b) {
            return static_cast<quint64>(row(a).Size) < static_cast<quint64>(row(b).Size);
        });
        break;
    case ColDate:
    case ColDateKey:
        sortBy([&](int a, int b) { return row(a).DateStamp < row(b).DateStamp; });
        break;
    case ColPathName: {
        // Folder and name compared one after the other would not be the order of the joined text.
        std::vector<QString> paths;
        paths.reserve(m_rows.size());
        for (const CandidateRow& candidate : m_rows)
            paths.push_back(candidate.PathName());
        sortBy(
            [&paths](int a, int b) { return paths[static_cast<size_t>(a)] < paths[static_cast<size_t>(b)]; });
        break;
    }
    case ColBareName:
        sortBy([&](int a, int b) { return row(a).BareName() < row(b).BareName(); });
        break;
    default: // ColSpare: always empty, nothing to order by
        break;
    }
    return order;
}

template <typename Step>
std::optional<std::vector<int>> CandidateModel::naturalOrder(const QCollator& collator, bool descending,
                                                             Step&& step) const
{
    const NaturalSortKeys natural(collator);
    if (!natural.usable())
        return std::nullopt;
    // All keys in one buffer: no allocation per row.
    QByteArray bytes;
    std::vector<std::pair<quint32, quint32>> spans; // offset, length
    spans.reserve(m_rows.size());
    for (const CandidateRow& candidate : m_rows) {
        const qsizetype offset = bytes.size();
        const bool keyed = m_sortColumn == ColOldName   ? natural.appendKey(candidate.OldName, bytes)
                           : m_sortColumn == ColNewName ? natural.appendKey(candidate.NewName, bytes)
                           : m_sortColumn == ColFolder  ? natural.appendKey(candidate.Folder, bytes)
                                                        : natural.appendKey(candidate.TypeText(), bytes);
        if (!keyed || bytes.size() > std::numeric_limits<quint32>::max())
            return std::nullopt; // one text the keys cannot order: the collator orders all
        spans.emplace_back(quint32(offset), quint32(bytes.size() - offset));
        if (spans.size() % 4096 == 0)
            step(4096);
    }
    std::vector<FastKey> keys(m_rows.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        const auto [offset, length] = spans[i];
        const char* key = bytes.constData() + offset;
        keys[i] = {bigEndian(key, length), bigEndian(key + 8, qsizetype(length) - 8),
                   offset + std::min(length, 16u), length > 16 ? length - 16 : 0, int(i)};
    }
    spans = {};
    const char* const base = bytes.constData();
    const auto less = [base](const FastKey& a, const FastKey& b) {
        if (a.head != b.head)
            return a.head < b.head;
        if (a.next != b.next)
            return a.next < b.next;
        const int byBytes =
            std::memcmp(base + a.offset, base + b.offset, std::min(a.restLength, b.restLength));
        return byBytes != 0 ? byBytes < 0 : a.restLength < b.restLength;
    };
    const qsizetype perStep = std::max<qsizetype>(1, qsizetype(keys.size()) / 64);
    if (descending)
        stableSortInSteps(
            keys, [&less](const FastKey& a, const FastKey& b) { return less(b, a); }, [&] { step(perStep); });
    else
        stableSortInSteps(keys, less, [&] { step(perStep); });
    std::vector<int> order;
    order.reserve(keys.size());
    for (const FastKey& key : keys)
        order.push_back(key.row);
    return order;
}

void CandidateModel::sortRows()
{
    const std::vector<int> order = sortedOrder();
    m_inOrder = true;
    bool unchanged = true;
    for (size_t i = 0; i < order.size() && unchanged; ++i)
        unchanged = order[i] == static_cast<int>(i);
    if (unchanged)
        return;
    const auto total = qsizetype(order.size());
    reorder(order, 2 * total, 3 * total);
}

void CandidateModel::reorder(const std::vector<int>& order, qsizetype done, qsizetype steps)
{
    // The rows move; views keep their scroll position, the current row follows its row, and
    // the selection binding rebuilds the selection from the marks, which travel with the rows.
    QScopedValueRollback<bool> restructuring(m_restructuring, true);
    Q_EMIT rowsAboutToBeReordered();
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newPosition(m_rows.size());
    for (size_t to = 0; to < order.size(); ++to)
        newPosition[static_cast<size_t>(order[to])] = static_cast<int>(to);
    // In place, cycle by cycle: a second vector of a million rows costs more in fresh pages
    // than the moves themselves.
    // Each move fetches a row from anywhere in the list, so a million of them take long
    // enough to be told about.
    const bool told = steps > 0 && m_progress;
    qsizetype moved = 0;
    std::vector<bool> placed(m_rows.size());
    for (size_t start = 0; start < m_rows.size(); ++start) {
        if (placed[start])
            continue;
        CandidateRow held = std::move(m_rows[start]);
        size_t to = start;
        for (;;) {
            placed[to] = true;
            if (told && ++moved % 65536 == 0)
                m_progress(done + moved, steps);
            const auto from = static_cast<size_t>(order[to]);
            if (from == start)
                break;
            m_rows[to] = std::move(m_rows[from]);
            to = from;
        }
        m_rows[to] = std::move(held);
    }
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(this->index(newPosition[static_cast<size_t>(index.row())], index.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
