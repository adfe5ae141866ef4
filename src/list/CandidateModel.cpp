#include "list/CandidateModel.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <QScopedValueRollback>

#include <algorithm>
#include <iterator>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// Natural order as a file manager shows it. Qt's collator ignores numeric mode and case
// rules in the C locale (plain code-unit order), which is what a bare test or service
// environment has; the program's own language stands in then.
QCollator listCollator()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::German, QLocale::Germany);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

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
        return row.DateKey;
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
    static const struct
    {
        quint8 flag;
        QStringView text;
    } texts[] = {
        {RowProblem::Duplicate, u"Name kommt mehrfach vor"},
        {RowProblem::Clash, u"Name ist schon vergeben"},
        {RowProblem::TypeOnly, u"Nur Typenkennung"},
        {RowProblem::Empty, u"Leerer Name"},
        {RowProblem::Slash, u"Name enthält einen Schrägstrich"},
        {RowProblem::TooLong, u"Name ist für das Dateisystem zu lang"},
        {RowProblem::Unreadable, u"Ordner lässt sich nicht lesen"},
    };
    QString result;
    for (const auto& entry : texts) {
        if ((problems & entry.flag) == 0)
            continue;
        if (!result.isEmpty())
            result += u'\n';
        result += entry.text;
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
    m_inOrder = false;
    return m_rows;
}

void CandidateModel::newNamesChanged()
{
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
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [this](int row) { return row < 0 || row >= rowCount(); }),
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
        m_rows.insert(m_rows.begin(), std::make_move_iterator(newRows.begin()),
                      std::make_move_iterator(newRows.end()));
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

    QScopedValueRollback<bool> restructuring(m_restructuring, true);
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<CandidateRow> moved(m_rows.size());
    for (size_t row = 0; row < m_rows.size(); ++row) {
        CandidateRow& destination = moved[static_cast<size_t>(target[row])];
        destination = std::move(m_rows[row]);
        if (destination.Marked) {
            destination.NewName = u"< ? >"_s;
            destination.Problems = RowProblem::None;
        }
    }
    m_rows.swap(moved);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(this->index(target[static_cast<size_t>(index.row())], index.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
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

std::vector<int> CandidateModel::sortedOrder() const
{
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    // Descending keeps equal rows in their present order too, so it is not a reversed ascent.
    auto sortBy = [&](auto less) {
        if (descending)
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(b, a); });
        else
            std::stable_sort(order.begin(), order.end(), less);
    };
    auto row = [this](int i) -> const CandidateRow& { return m_rows[static_cast<size_t>(i)]; };

    if (isCollatedColumn(m_sortColumn)) {
        // One key per row and a byte comparison per pair: a collator compare() per pair is
        // many times slower on a long list. Equal neighbours (one folder, one type) share a key.
        const QCollator collator = listCollator();
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
        }
        sortBy([&keys](int a, int b) {
            return keys[static_cast<size_t>(a)].compare(keys[static_cast<size_t>(b)]) < 0;
        });
        return order;
    }

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
        sortBy([&](int a, int b) { return row(a).DateKey < row(b).DateKey; });
        break;
    case ColPathName: {
        // Folder and name compared one after the other would not be the order of the joined text.
        std::vector<QString> paths;
        paths.reserve(m_rows.size());
        for (const CandidateRow& candidate : m_rows)
            paths.push_back(candidate.PathName());
        sortBy([&paths](int a, int b) { return paths[static_cast<size_t>(a)] < paths[static_cast<size_t>(b)]; });
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

void CandidateModel::sortRows()
{
    const std::vector<int> order = sortedOrder();
    m_inOrder = true;
    bool unchanged = true;
    for (size_t i = 0; i < order.size() && unchanged; ++i)
        unchanged = order[i] == static_cast<int>(i);
    if (unchanged)
        return;

    QScopedValueRollback<bool> restructuring(m_restructuring, true);
    beginResetModel();
    std::vector<CandidateRow> sorted;
    sorted.reserve(m_rows.size());
    for (int from : order)
        sorted.push_back(std::move(m_rows[static_cast<size_t>(from)]));
    m_rows.swap(sorted);
    endResetModel();
}
