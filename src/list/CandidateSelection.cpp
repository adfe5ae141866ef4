#include "list/CandidateSelection.h"

#include "list/CandidateModel.h"

#include <QScopedValueRollback>
#include <QSignalBlocker>

#include <algorithm>

namespace {

// Whether one of the runs (ascending, apart) holds the row.
bool covers(const std::vector<RowRun>& runs, int row)
{
    const auto after = std::upper_bound(runs.cbegin(), runs.cend(), row,
                                        [](int r, const RowRun& run) { return r < run.first; });
    return after != runs.cbegin() && std::prev(after)->last >= row;
}

} // namespace

CandidateSelection::CandidateSelection(CandidateModel* model, QObject* parent)
    : QItemSelectionModel(model, parent), m_model(model)
{
    Q_ASSERT(model != nullptr);
    // The base class connected to the model first, so these run after it has moved or
    // dropped its own ranges; a reset reaches reset(). Its ranges, being a screenful, cost
    // nothing to carry through a sort, and the rows a command with Current covered have
    // other numbers afterwards: a removal takes the tentative part as it is (as the base
    // class does), the rest leave the marks as if set from outside.
    connect(model, &QAbstractItemModel::rowsInserted, this, &CandidateSelection::marksSetFromOutside);
    connect(model, &QAbstractItemModel::layoutChanged, this, &CandidateSelection::marksSetFromOutside);
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] {
        m_tentative = Tentative::None;
        mirror();
    });
    connect(model, &CandidateModel::marksChanged, this, [this] {
        if (!m_applying)
            marksSetFromOutside();
    });
}

void CandidateSelection::setShownRows(int first, int last)
{
    if (first == m_firstShown && last == m_lastShown)
        return;
    m_firstShown = first;
    m_lastShown = last;
    mirror();
}

void CandidateSelection::applyMarks()
{
    marksSetFromOutside();
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

// The base class keeps committed ranges and a tentative part, the selection of the last
// command with Current together with that command. A command with Current replaces the
// tentative part, one without commits it and starts a new one; Clear empties both first.
// Deselect wins over Toggle, Toggle over Select. Here the marks hold committed and tentative
// part merged, and the tentative rows' committed marks are kept aside to be restored.
void CandidateSelection::select(const QItemSelection& selection, SelectionFlags command)
{
    if (m_model == nullptr || command == NoUpdate)
        return;
    const int count = m_model->rowCount();
    std::vector<RowRun> rows;
    for (const QItemSelectionRange& range : selection) {
        if (range.isValid() && range.model() == m_model)
            rows.push_back({std::max(range.top(), 0), std::min(range.bottom(), count - 1)});
    }
    rows = RowRuns::merged(std::move(rows));
    if ((command & Columns) && !rows.empty()) // every row has a cell in the columns
        rows = {{0, count - 1}};

    const bool cleared = command.testFlag(Clear);
    const bool acts = (command & (Select | Deselect | Toggle)) != 0;
    const bool replaces = !cleared && command.testFlag(Current) && acts;
    using Edit = CandidateModel::MarkEdit;
    std::vector<CandidateModel::MarkChange> changes;
    // What the new tentative rows hold without it.
    std::vector<RowRun> before;
    if (acts && !cleared) {
        for (const RowRun& run : rows) {
            for (int row = run.first; row <= run.last; ++row) {
                if (!(replaces ? committedMark(row) : m_model->rowAt(row).Marked))
                    continue;
                if (!before.empty() && before.back().last == row - 1)
                    before.back().last = row;
                else
                    before.push_back({row, row});
            }
        }
    }
    if (cleared) {
        changes.push_back({{0, count - 1}, Edit::Unmark});
    } else if (replaces && m_tentative == Tentative::AllMarks) {
        changes.push_back({{0, count - 1}, Edit::Unmark});
    } else if (replaces && m_tentative == Tentative::Rows) {
        for (const RowRun& run : m_tentativeRows)
            changes.push_back({run, Edit::Unmark});
        for (const RowRun& run : m_tentativeMarked)
            changes.push_back({run, Edit::Mark});
    }
    if (acts) {
        const Edit edit = command.testFlag(Deselect) ? Edit::Unmark
                          : command.testFlag(Toggle) ? Edit::Invert
                                                     : Edit::Mark;
        for (const RowRun& run : rows)
            changes.push_back({run, edit});
    }

    if (cleared || !command.testFlag(Current))
        m_tentative = Tentative::None;
    if (acts) {
        m_tentative = Tentative::Rows;
        m_tentativeRows = std::move(rows);
        m_tentativeMarked = std::move(before);
    }
    if (m_tentative != Tentative::Rows) {
        m_tentativeRows.clear();
        m_tentativeMarked.clear();
    }

    bool changed = false;
    {
        QScopedValueRollback<bool> applying(m_applying, true);
        changed = m_model->changeMarks(changes);
    }
    mirror();
    if (changed)
        Q_EMIT marksChangedByUser();
}

void CandidateSelection::clearSelection()
{
    select(QItemSelection(), Clear);
}

void CandidateSelection::clear()
{
    clearSelection();
    clearCurrentIndex();
}

void CandidateSelection::reset()
{
    {
        const QSignalBlocker quiet(this);
        QItemSelectionModel::select(QItemSelection(), Clear);
        QItemSelectionModel::clearCurrentIndex();
    }
    m_mirroredRanges = 0;
    marksSetFromOutside();
}

bool CandidateSelection::committedMark(int row) const
{
    switch (m_tentative) {
    case Tentative::AllMarks:
        return false;
    case Tentative::Rows:
        if (covers(m_tentativeRows, row))
            return covers(m_tentativeMarked, row);
        break;
    case Tentative::None:
        break;
    }
    return m_model->rowAt(row).Marked;
}

void CandidateSelection::marksSetFromOutside()
{
    m_tentative = Tentative::AllMarks;
    m_tentativeRows.clear();
    m_tentativeMarked.clear();
    mirror();
}

void CandidateSelection::mirror()
{
    if (m_model == nullptr)
        return;
    const int first = std::max(m_firstShown, 0);
    const int last = std::min(m_lastShown, m_model->rowCount() - 1);
    const int lastColumn = m_model->columnCount() - 1;
    QItemSelection ranges;
    for (int row = first; row <= last; ++row) {
        if (!m_model->rowAt(row).Marked)
            continue;
        int end = row;
        while (end < last && m_model->rowAt(end + 1).Marked)
            ++end;
        ranges.append(QItemSelectionRange(m_model->index(row, 0), m_model->index(end, lastColumn)));
        row = end;
    }
    // To tell what changed, the base class compares the old and the new ranges pair by pair,
    // which is quadratic in their number, unless one side is empty. A screenful is compared,
    // so that exactly the rows that changed are repainted; a list without a view, whose
    // ranges are all its runs, is cleared first.
    constexpr qsizetype comparedRanges = 64;
    if (m_mirroredRanges + ranges.size() > comparedRanges && hasSelection())
        QItemSelectionModel::select(QItemSelection(), Clear);
    // Not the override: it would turn the mirror into marks again.
    QItemSelectionModel::select(ranges, ClearAndSelect);
    m_mirroredRanges = ranges.size();
}
