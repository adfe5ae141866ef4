#include "list/CandidateSelection.h"

#include "list/CandidateModel.h"

#include <QItemSelectionModel>
#include <QScopedValueRollback>
#include <QSignalBlocker>

#include <algorithm>
#include <vector>

CandidateSelection::CandidateSelection(CandidateModel* model, QItemSelectionModel* selection, QObject* parent)
    : QObject(parent), m_model(model), m_selection(selection)
{
    Q_ASSERT(model != nullptr && selection != nullptr && selection->model() == model);
    // The selection model connected to the model first, so by the time these run it has
    // already dropped its ranges (reset) or shifted them past the new rows (insertion).
    connect(model, &QAbstractItemModel::modelReset, this, &CandidateSelection::applyMarks);
    connect(model, &QAbstractItemModel::rowsInserted, this, &CandidateSelection::applyMarks);
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int) { joinRangesAt(first); });
    // Rows that change places drop the selection first and get it back from their marks.
    connect(model, &CandidateModel::rowsAboutToBeReordered, this, [this] {
        QScopedValueRollback<bool> applying(m_applying, true);
        if (m_selection && m_selection->hasSelection())
            m_selection->clearSelection();
    });
    connect(model, &QAbstractItemModel::layoutChanged, this, &CandidateSelection::applyMarks);
    // Marks set through the model (all, none, inverted) are shown; those that come from the
    // selection itself are not applied back to it.
    connect(model, &CandidateModel::marksChanged, this, [this] {
        if (!m_applying)
            applyMarks();
    });
    connect(selection, &QItemSelectionModel::selectionChanged, this, &CandidateSelection::onSelectionChanged);
}

void CandidateSelection::applyMarks()
{
    if (m_model == nullptr || m_selection == nullptr)
        return;
    const int lastColumn = m_model->columnCount() - 1;
    QItemSelection marked;
    for (const RowRun& run : RowRuns::ofMarked(m_model->rows()))
        marked.append(
            QItemSelectionRange(m_model->index(run.first, 0), m_model->index(run.last, lastColumn)));

    QScopedValueRollback<bool> applying(m_applying, true);
    // Clear first, then select into an empty selection: QItemSelectionModel compares an old
    // and a new selection range by range, which is quadratic for scattered marks; against an
    // empty side it takes its fast path.
    if (m_selection->hasSelection())
        m_selection->clearSelection();
    if (!marked.isEmpty())
        m_selection->select(marked, QItemSelectionModel::Select);
}

// The selection model cuts a range around removed rows into two that touch afterwards, and
// never joins them again. A rename run with many failures removes the rows renamed before
// each question, so it would leave one range per failure, and every later removal, repaint and
// selection change walks all of them: thousands of failures made the run quadratic.
void CandidateSelection::joinRangesAt(int row)
{
    if (m_model == nullptr || m_selection == nullptr || row <= 0 || row >= m_model->rowCount())
        return;
    if (!m_model->rowAt(row - 1).Marked || !m_model->rowAt(row).Marked)
        return;
    const QItemSelection ranges = m_selection->selection();
    const auto above = std::find_if(ranges.cbegin(), ranges.cend(), [row](const QItemSelectionRange& range) {
        return range.bottom() == row - 1;
    });
    const auto below = std::find_if(ranges.cbegin(), ranges.cend(),
                                    [row](const QItemSelectionRange& range) { return range.top() == row; });
    if (above == ranges.cend() || below == ranges.cend())
        return;
    QItemSelection both;
    both.append(*above);
    both.append(*below);
    const QItemSelection joined(above->topLeft(), below->bottomRight());
    // The same rows stay selected, so nobody is told: a view that heard of it would lay out
    // all its rows to find what to repaint, again once per failure.
    const QSignalBlocker quiet(m_selection);
    m_selection->select(both, QItemSelectionModel::Deselect);
    m_selection->select(joined, QItemSelectionModel::Select);
}

void CandidateSelection::ListeSelect(MarkMode mode)
{
    if (m_model == nullptr || (mode != MarkMode::None && mode != MarkMode::All && mode != MarkMode::Invert))
        return;
    // The model's signal brings the selection along.
    if (mode == MarkMode::Invert)
        m_model->invertMarks();
    else
        m_model->setAllMarked(mode == MarkMode::All);
}

void CandidateSelection::onSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    // Inside applyMarks the flags are already right; while the model inserts, removes, moves
    // or resets rows, the flags travel with the rows and the selection merely follows them.
    if (m_applying || m_model == nullptr || m_model->isRestructuring())
        return;
    const auto runs = [](const QItemSelection& ranges) {
        std::vector<RowRun> rows;
        rows.reserve(static_cast<size_t>(ranges.size()));
        for (const QItemSelectionRange& range : ranges)
            rows.push_back({range.top(), range.bottom()});
        return rows;
    };
    {
        // The marks follow the selection here, not the other way round.
        QScopedValueRollback<bool> applying(m_applying, true);
        // A row can be in both when a click moves the selection within it (another cell).
        m_model->setMarked(runs(deselected), false);
        m_model->setMarked(runs(selected), true);
    }
    Q_EMIT marksChangedByUser();
}
