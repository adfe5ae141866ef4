#include "list/CandidateSelection.h"

#include "list/CandidateModel.h"

#include <QItemSelectionModel>
#include <QScopedValueRollback>

#include <algorithm>

CandidateSelection::CandidateSelection(CandidateModel* model, QItemSelectionModel* selection, QObject* parent)
    : QObject(parent), m_model(model), m_selection(selection)
{
    Q_ASSERT(model != nullptr && selection != nullptr && selection->model() == model);
    // The selection model connected to the model first, so by the time these run it has
    // already dropped its ranges (reset) or shifted them past the new rows (insertion).
    connect(model, &QAbstractItemModel::modelReset, this, &CandidateSelection::applyMarks);
    connect(model, &QAbstractItemModel::rowsInserted, this, &CandidateSelection::applyMarks);
    // Rows that change places drop the selection first and get it back from their marks.
    connect(model, &CandidateModel::rowsAboutToBeReordered, this, [this] {
        QScopedValueRollback<bool> applying(m_applying, true);
        if (m_selection && m_selection->hasSelection())
            m_selection->clearSelection();
    });
    connect(model, &QAbstractItemModel::layoutChanged, this, &CandidateSelection::applyMarks);
    connect(selection, &QItemSelectionModel::selectionChanged, this, &CandidateSelection::onSelectionChanged);
}

void CandidateSelection::applyMarks()
{
    if (m_model == nullptr || m_selection == nullptr)
        return;
    const std::vector<CandidateRow>& rows = m_model->rows();
    const int lastColumn = m_model->columnCount() - 1;
    QItemSelection marked;
    for (size_t first = 0; first < rows.size();) {
        if (!rows[first].Marked) {
            ++first;
            continue;
        }
        size_t last = first;
        while (last + 1 < rows.size() && rows[last + 1].Marked)
            ++last;
        marked.append(QItemSelectionRange(m_model->index(static_cast<int>(first), 0),
                                          m_model->index(static_cast<int>(last), lastColumn)));
        first = last + 1;
    }

    QScopedValueRollback<bool> applying(m_applying, true);
    // Clear first, then select into an empty selection: QItemSelectionModel compares an old
    // and a new selection range by range, which is quadratic for scattered marks; against an
    // empty side it takes its fast path.
    if (m_selection->hasSelection())
        m_selection->clearSelection();
    if (!marked.isEmpty())
        m_selection->select(marked, QItemSelectionModel::Select);
}

void CandidateSelection::ListeSelect(MarkMode mode)
{
    if (m_model == nullptr || (mode != MarkMode::None && mode != MarkMode::All && mode != MarkMode::Invert))
        return;
    for (CandidateRow& row : m_model->m_rows)
        row.Marked = mode == MarkMode::Invert ? !row.Marked : mode == MarkMode::All;
    applyMarks();
}

void CandidateSelection::onSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    // Inside applyMarks the flags are already right; while the model inserts, removes, moves
    // or resets rows, the flags travel with the rows and the selection merely follows them.
    if (m_applying || m_model == nullptr || m_model->isRestructuring())
        return;
    std::vector<CandidateRow>& rows = m_model->m_rows;
    const auto setMarks = [&rows](const QItemSelection& ranges, bool marked) {
        for (const QItemSelectionRange& range : ranges) {
            const int top = std::max(range.top(), 0);
            const int bottom = std::min(range.bottom(), static_cast<int>(rows.size()) - 1);
            for (int row = top; row <= bottom; ++row)
                rows[static_cast<size_t>(row)].Marked = marked;
        }
    };
    // A row can be in both when a click moves the selection within it (another cell).
    setMarks(deselected, false);
    setMarks(selected, true);
    Q_EMIT marksChangedByUser();
}
