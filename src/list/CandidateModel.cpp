#include "list/CandidateModel.h"

#include "list/PlanTest.h"
#include "list/RowFormat.h"

#include <algorithm>
#include <iterator>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// What a column sorts by.
RowOrder::Key sortKey(int column)
{
    switch (column) {
    case CandidateModel::ColOldName:
        return RowOrder::Key::OldName;
    case CandidateModel::ColNewName:
        return RowOrder::Key::NewName;
    case CandidateModel::ColFolder:
        return RowOrder::Key::Folder;
    case CandidateModel::ColType:
        return RowOrder::Key::Type;
    case CandidateModel::ColSize:
    case CandidateModel::ColSizeKey:
        return RowOrder::Key::Size;
    case CandidateModel::ColDate:
    case CandidateModel::ColDateKey:
        return RowOrder::Key::Date;
    case CandidateModel::ColPathName:
        return RowOrder::Key::PathName;
    case CandidateModel::ColBareName:
        return RowOrder::Key::BareName;
    case CandidateModel::ColTaken:
    case CandidateModel::ColTakenKey:
        return RowOrder::Key::Taken;
    default: // ColSpare: always empty
        return RowOrder::Key::None;
    }
}

// Removing rows [first, first + removed) that stand outside a hole of holeSize at holeStart
// moves the hole next to them: only the items between the two move across it.
template <typename T>
void moveHoleTo(std::vector<T>& items, size_t first, size_t removed, size_t holeStart, size_t holeSize)
{
    const auto at = [&items](size_t index) { return items.begin() + static_cast<std::ptrdiff_t>(index); };
    if (holeSize == 0)
        return;
    if (holeStart >= first + removed)
        std::move_backward(at(first + removed), at(holeStart), at(holeStart + holeSize));
    else if (holeStart <= first)
        std::move(at(holeStart + holeSize), at(first + holeSize), at(holeStart));
    // Otherwise the hole lies inside the removed rows, which already surround it.
}

template <typename T> void closeHoleOf(std::vector<T>& items, size_t holeStart, size_t holeSize)
{
    const auto at = [&items](size_t index) { return items.begin() + static_cast<std::ptrdiff_t>(index); };
    std::move(at(holeStart + holeSize), items.end(), at(holeStart));
    items.erase(at(items.size() - holeSize), items.end());
}

QString takenKey(qint64 taken)
{
    if (taken == FileMetadata::NoTime)
        return {};
    QString key(16, Qt::Uninitialized);
    RowFormat::writeDateKey(taken, reinterpret_cast<char16_t*>(key.data()));
    return key;
}

} // namespace

CandidateModel::CandidateModel(QObject* parent) : QAbstractTableModel(parent) {}

int CandidateModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size() - m_holeSize);
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
        return row.Folder.text();
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
        result += PlanTest::translate(test.markText);
    }
    return result;
}

QVariant CandidateModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || index.row() >= rowCount() ||
        index.column() >= ColumnCount)
        return QVariant();
    const CandidateRow& row = rowAt(index.row());
    // Read only while the view reads: no hole can be open while the values are written.
    const FileValuesTable::Slot* slot = nullptr;
    if (m_values.isMade()) {
        const auto at = static_cast<size_t>(index.row());
        slot = &m_values.slots()[at < m_holeStart ? at : at + m_holeSize];
    }
    const bool lacks = slot && (slot->Lacks & FileValuesTable::LackMarked) != 0;
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == ColTaken || index.column() == ColTakenKey) {
            if (!slot)
                return QString();
            const QString key = takenKey(slot->Taken);
            return index.column() == ColTakenKey ? key : RowFormat::dateTextFromKey(key);
        }
        return columnText(row, index.column());
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        if (index.column() != ColNewName)
            return QVariant();
        if (lacks)
            return m_values.lackText(*slot);
        if (row.Problems != RowProblem::None)
            return problemText(row.Problems);
        return QVariant();
    case ProblemsRole:
        return static_cast<int>(row.Problems) | (lacks ? LacksValuesProblem : 0);
    default:
        return QVariant();
    }
}

QVariant CandidateModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    // The columns in brackets are never shown; they keep their German names in every language.
    static const char* const captions[ColumnCount] = {
        QT_TR_NOOP("Alter Name"),
        QT_TR_NOOP("Neuer Name"),
        QT_TR_NOOP("In Ordner"),
        QT_TR_NOOP("Größe"),
        QT_TR_NOOP("Typ"),
        QT_TR_NOOP("Letzte Änderung"),
        "",
        "(versteckte Sortierspalte für Datum)",
        "(versteckte Sortierspalte für Größe)",
        "(versteckte Spalte für PfadNamen)",
        "(versteckte Spalte für NurNamen)",
        QT_TR_NOOP("Aufnahme"),
        "(versteckte Sortierspalte für Aufnahme)",
    };
    if (section < 0 || section >= ColumnCount)
        return QVariant();
    const char* caption = captions[section];
    return caption[0] == '(' || caption[0] == 0 ? QString::fromUtf8(caption) : tr(caption);
}

Qt::ItemFlags CandidateModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void CandidateModel::fileValuesChanged()
{
    if (m_sortColumn == ColTakenKey)
        m_inOrder = false;
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, ColTaken), index(rowCount() - 1, ColTakenKey), {Qt::DisplayRole});
}

void CandidateModel::updateNewNames(const std::function<void(NewNamesUpdate&)>& pass)
{
    closeHole();
    NewNamesUpdate update(m_rows, &m_values, &m_passMemory);
    pass(update);
    newNamesChanged();
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

void CandidateModel::setMarked(const std::vector<RowRun>& runs, bool marked)
{
    closeHole();
    int top = rowCount();
    int bottom = -1;
    for (const RowRun& run : runs) {
        const int first = std::max(run.first, 0);
        const int last = std::min(run.last, rowCount() - 1);
        for (int row = first; row <= last; ++row)
            m_rows[static_cast<size_t>(row)].Marked = marked;
        if (first <= last) {
            top = std::min(top, first);
            bottom = std::max(bottom, last);
        }
    }
    if (top <= bottom)
        Q_EMIT marksChanged(top, bottom);
}

void CandidateModel::setAllMarked(bool marked)
{
    closeHole();
    for (CandidateRow& row : m_rows)
        row.Marked = marked;
    if (!m_rows.empty())
        Q_EMIT marksChanged(0, rowCount() - 1);
}

void CandidateModel::invertMarks()
{
    closeHole();
    for (CandidateRow& row : m_rows)
        row.Marked = !row.Marked;
    if (!m_rows.empty())
        Q_EMIT marksChanged(0, rowCount() - 1);
}

bool CandidateModel::changeMarks(const std::vector<MarkChange>& changes)
{
    closeHole();
    const int count = rowCount();
    int top = count;
    int bottom = -1;
    for (const MarkChange& change : changes) {
        top = std::min(top, std::max(change.rows.first, 0));
        bottom = std::max(bottom, std::min(change.rows.last, count - 1));
    }
    if (top > bottom)
        return false;
    // The marks as they were, so that a row marked and unmarked again counts as unchanged.
    std::vector<char> before(static_cast<size_t>(bottom - top + 1));
    for (int row = top; row <= bottom; ++row)
        before[static_cast<size_t>(row - top)] = m_rows[static_cast<size_t>(row)].Marked;
    for (const MarkChange& change : changes) {
        const int last = std::min(change.rows.last, count - 1);
        for (int row = std::max(change.rows.first, 0); row <= last; ++row) {
            bool& marked = m_rows[static_cast<size_t>(row)].Marked;
            marked = change.edit == MarkEdit::Invert ? !marked : change.edit == MarkEdit::Mark;
        }
    }
    const int from = top;
    const auto differs = [&](int row) {
        return bool(before[static_cast<size_t>(row - from)]) != m_rows[static_cast<size_t>(row)].Marked;
    };
    while (top <= bottom && !differs(top))
        ++top;
    while (bottom >= top && !differs(bottom))
        --bottom;
    if (top > bottom)
        return false;
    Q_EMIT marksChanged(top, bottom);
    return true;
}

void CandidateModel::InitListe()
{
    closeHole();
    if (m_rows.empty())
        return;
    beginRemoveRows(QModelIndex(), 0, rowCount() - 1);
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_values.clear();
    m_passMemory = PassMemory(); // an empty list keeps no tables
    endRemoveRows();
    m_inOrder = true;
}

bool CandidateModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    const auto first = static_cast<size_t>(row);
    const auto removed = static_cast<size_t>(count);
    // The removed rows' texts go now; their places become part of the hole.
    for (size_t index = first; index < first + removed; ++index)
        m_rows[index < m_holeStart ? index : index + m_holeSize] = CandidateRow();
    // The hole moves next to them, and only the rows between the two move across it.
    moveHoleTo(m_rows, first, removed, m_holeStart, m_holeSize);
    if (m_values.isMade())
        moveHoleTo(m_values.slots(), first, removed, m_holeStart, m_holeSize);
    m_holeStart = first;
    m_holeSize += removed;
    endRemoveRows();
    return true;
}

void CandidateModel::closeHole() const
{
    if (m_holeSize == 0)
        return;
    closeHoleOf(m_rows, m_holeStart, m_holeSize);
    if (m_values.isMade())
        closeHoleOf(m_values.slots(), m_holeStart, m_holeSize);
    m_holeStart = 0;
    m_holeSize = 0;
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
    const std::vector<RowRun> blocks = RowRuns::ofSorted(rows);
    constexpr size_t maxSeparateRemovals = 16;
    if (blocks.size() <= maxSeparateRemovals) {
        for (auto block = blocks.rbegin(); block != blocks.rend(); ++block)
            removeRows(block->first, block->last - block->first + 1);
        return;
    }
    closeHole();

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
    if (m_values.isMade()) {
        std::vector<FileValuesTable::Slot>& slots = m_values.slots();
        size_t to = 0;
        removed = rows.cbegin();
        for (size_t row = 0; row < slots.size(); ++row) {
            if (removed != rows.cend() && *removed == static_cast<int>(row))
                ++removed;
            else
                slots[to++] = slots[row];
        }
        slots.resize(to);
    }
    endResetModel();
}

void CandidateModel::insertAtTop(std::vector<CandidateRow> newRows)
{
    if (newRows.empty())
        return;
    closeHole();
    {
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
        if (m_values.isMade()) // new rows are read at the next need
            m_values.slots().insert(m_values.slots().begin(), m_rows.size() - m_values.slots().size(),
                                    FileValuesTable::Slot());
        endInsertRows();
    }
    m_inOrder = false;
    if (m_sortingEnabled)
        sortRows();
}

bool CandidateModel::moveMarked(bool up)
{
    closeHole();
    m_sortingEnabled = false;
    if (m_rows.empty())
        return true;
    if (up ? m_rows.front().Marked : m_rows.back().Marked)
        return false;

    const std::vector<RowRun> blocks = RowRuns::ofMarked(m_rows);
    if (blocks.empty())
        return true;
    // Where each row goes: every marked block swaps places with its unmarked neighbour.
    std::vector<int> target(m_rows.size());
    std::iota(target.begin(), target.end(), 0);
    const int step = up ? -1 : 1;
    for (const RowRun& block : blocks) {
        for (int row = block.first; row <= block.last; ++row)
            target[static_cast<size_t>(row)] = row + step;
        if (up)
            target[static_cast<size_t>(block.first - 1)] = block.last;
        else
            target[static_cast<size_t>(block.last + 1)] = block.first;
    }

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

void CandidateModel::sortRows()
{
    closeHole();
    std::span<const int> order;
    if (sortKey(m_sortColumn) == RowOrder::Key::Taken) {
        // Rows not read, or without a capture time, have none and come first.
        const std::span<qint64> taken = m_passMemory.table<qint64>(RowOrder::KeyTable, m_rows.size());
        std::fill(taken.begin(), taken.end(), FileMetadata::NoTime);
        if (m_values.isMade()) {
            for (size_t i = 0; i < taken.size(); ++i)
                taken[i] = m_values.slots()[i].Taken;
        }
        order = RowOrder::sortedByNumber(taken, m_sortOrder, m_passMemory, m_progress);
    } else {
        order = RowOrder::sorted(m_rows, sortKey(m_sortColumn), m_sortOrder, m_passMemory, m_progress);
    }
    m_inOrder = true;
    bool unchanged = true;
    for (size_t i = 0; i < order.size() && unchanged; ++i)
        unchanged = order[i] == static_cast<int>(i);
    if (unchanged)
        return;
    const auto total = qsizetype(order.size());
    reorder(order, 2 * total, 3 * total);
}

void CandidateModel::reorder(std::span<const int> order, qsizetype done, qsizetype steps)
{
    // The rows move; views keep their scroll position, the current row follows its row, and
    // the selection shows the marks again, which travel with the rows.
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::span<int> newPosition = m_passMemory.table<int>(RowOrder::PlaceTable, m_rows.size());
    for (size_t to = 0; to < order.size(); ++to)
        newPosition[static_cast<size_t>(order[to])] = static_cast<int>(to);
    RowOrder::permute(m_rows, order, m_passMemory, m_progress, done, steps);
    if (m_values.isMade())
        RowOrder::permute(m_values.slots(), order, m_passMemory);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(this->index(newPosition[static_cast<size_t>(index.row())], index.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
