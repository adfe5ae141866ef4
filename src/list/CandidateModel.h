#pragma once

#include "list/CandidateRow.h"
#include "list/FileValuesTable.h"
#include "list/NewNamesUpdate.h"
#include "list/RowOrder.h"
#include "list/RowRuns.h"

#include <QAbstractTableModel>

#include <functional>
#include <vector>

// The candidate list as a table: one row per CandidateRow, thirteen columns of which five are
// hidden key columns, and the capture time's key column after the capture time. Row order is part of the
// renaming plan (the counter numbers rows by position), so the model never reorders on its own except through
// the sort switch.
class CandidateModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        ColOldName,
        ColNewName,
        ColFolder,
        ColSize,
        ColType,
        ColDate,
        ColSpare,
        ColDateKey,
        ColSizeKey,
        ColPathName,
        ColBareName,
        ColTaken,    // the capture time, read from inside the file
        ColTakenKey, // its hidden key
        ColumnCount
    };
    // The row's Problems flags (int), with LacksValuesProblem when the file lacks what the mask reads.
    static constexpr int ProblemsRole = Qt::UserRole + 1;
    static constexpr int LacksValuesProblem = 0x100;

    explicit CandidateModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The text a column shows for a row; ColSpare is always empty, and so are the capture time's
    // columns, which the values table fills.
    static QString columnText(const CandidateRow& row, int column);
    // The failed tests of Problems in words, one per line; empty for none.
    static QString problemText(quint8 problems);

    const std::vector<CandidateRow>& rows() const
    {
        closeHole();
        return m_rows;
    }
    // One row, at no cost even right after a removal; see m_holeStart.
    const CandidateRow& rowAt(int row) const
    {
        const auto index = static_cast<size_t>(row);
        return m_rows[index < m_holeStart ? index : index + m_holeSize];
    }

    // The values read from inside the files, a slot per row, made on first use. The rows'
    // structure is the model's: slots follow their rows, the caller writes only their values.
    FileValuesTable& fileValues()
    {
        closeHole();
        return m_values;
    }
    const FileValuesTable& fileValues() const
    {
        closeHole();
        return m_values;
    }
    // The capture time's columns changed for every row (after a read).
    void fileValuesChanged();

    // Runs the name pass, which may write NewName and Problems of any row through the update
    // and nothing else, then sends one dataChanged over the whole new-name column. A list
    // sorted by new names is not re-sorted: that would renumber the counter and change the
    // names again; it counts as out of order until sorting is switched on again.
    void updateNewNames(const std::function<void(NewNamesUpdate&)>& pass);

    // Marks. Each call sends at most one marksChanged, so marking a million rows is one change.
    // Rows keep their places. CandidateSelection shows them as the view's selection.
    // Marks or unmarks the rows of the runs (in any order; rows outside the list are ignored).
    void setMarked(const std::vector<RowRun>& runs, bool marked);
    void setAllMarked(bool marked);
    void invertMarks();
    // What changeMarks does to the rows of a run.
    enum class MarkEdit
    {
        Unmark,
        Mark,
        Invert,
    };
    struct MarkChange
    {
        RowRun rows;
        MarkEdit edit = MarkEdit::Mark;
    };
    // Applies the changes one after the other (rows outside the list are ignored) and sends
    // one marksChanged over the rows whose mark differs afterwards, none when no mark does;
    // says whether one did. Costs one pass over the rows from the first to the last touched.
    bool changeMarks(const std::vector<MarkChange>& changes);

    // Told during long sorts, at least every few thousand rows.
    using Progress = RowOrder::Progress;
    void setProgress(Progress progress) { m_progress = std::move(progress); }

    void InitListe();
    // Qt's removal, for one block of rows.
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    // Removes the given rows (any order, repeats ignored) in one pass: a few blocks are removed
    // one by one, scattered rows with a single reset, because each removal signal costs the
    // views and the selection a walk over their state.
    void removeRowSet(std::vector<int> rows);
    // One insertion at the top; a list with its sort switch on is sorted afterwards.
    void insertAtTop(std::vector<CandidateRow> newRows);
    // Moves every marked row one place up or down; a block of adjacent marked rows moves as a
    // block, the unmarked row it passes goes to its other side. Switches sorting off in every
    // case. Refuses (false, nothing moves) when a marked row would leave the list. Moved rows
    // show PlaceholderText as new name until the next name pass.
    bool moveMarked(bool up);
    // Whether the arrow that moves the marked rows that way is offered: some row is marked
    // (markedCount, as the last check counted), and the row at that end is not.
    bool canMoveMarked(bool up, qsizetype markedCount) const
    {
        return markedCount != 0 && rowCount() != 0 && !rowAt(up ? 0 : rowCount() - 1).Marked;
    }
    // The column that a click on the shown column sorts by: size and date sort by their hidden
    // keys, which order by value, and keep the key column in the sort state.
    static int sortColumnOf(int shownColumn)
    {
        return shownColumn == ColSize    ? ColSizeKey
               : shownColumn == ColDate  ? ColDateKey
               : shownColumn == ColTaken ? ColTakenKey
                                         : shownColumn;
    }

    // Sort state: column, order, and whether the list keeps itself sorted. Starts at
    // ColOldName, ascending, off. Switching on sorts at once unless nothing has touched the
    // rows since they were last sorted by this state; switching off leaves the rows as they are.
    void setSortingEnabled(bool on);
    bool isSortingEnabled() const { return m_sortingEnabled; }
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    // Records column and order; sorts only while the switch is on.
    void setSortState(int column, Qt::SortOrder order);
    // Sorts now, switch or not, and records column and order. Stable. Visible text columns
    // sort in natural, case-insensitive order ("IMG_2" before "IMG_10"); ColSize and ColDate
    // by value, as their keys do; the hidden key columns in plain character order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

Q_SIGNALS:
    // Marks of the rows from first to last were set through setMarked, setAllMarked or
    // invertMarks. Not a dataChanged: no view shows marks as data (the selection shows them),
    // and a view walks every row of a dataChanged range.
    void marksChanged(int first, int last);

private:
    // One dataChanged over the new-name column; see updateNewNames().
    void newNamesChanged();
    void sortRows();
    // Row order[i] goes to place i, with persistent indexes following their rows. With steps,
    // progress goes on from done while the rows move.
    void reorder(std::span<const int> order, qsizetype done = 0, qsizetype steps = 0);

    // Moves the rows after the hole up to close it.
    void closeHole() const;

    mutable std::vector<CandidateRow> m_rows;
    mutable FileValuesTable m_values; // its slots, once made, stand by m_rows, hole and all
    PassMemory m_passMemory;          // the tables of its checks and sorts, kept between them
    // Removed rows leave a hole of moved-from rows at [m_holeStart, m_holeStart + m_holeSize)
    // of m_rows: the next removal moves the hole to its rows, and only the rows between the
    // two move. A rename run removes the rows renamed before each question, one block after
    // the other upwards, so closing up behind every block would move all the failed rows
    // below it each time, quadratic in the failures. Everything but the view's reading and
    // removeRows closes the hole first.
    mutable size_t m_holeStart = 0;
    mutable size_t m_holeSize = 0;
    int m_sortColumn = ColOldName;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_sortingEnabled = false;
    bool m_inOrder = true; // rows known to be sorted by the current sort state
    Progress m_progress;
};
