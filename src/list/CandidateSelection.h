#pragma once

#include "list/RowRuns.h"

#include <QItemSelectionModel>
#include <QPointer>

#include <climits>
#include <vector>

class CandidateModel;

// The view's selection over the candidate list, made of the rows' Marked flags: a marked row
// is exactly a selected row. Whatever selects (clicks, keys, Ctrl+A, a shift-click's
// tentative range that the next one replaces) changes marks, with the outcome a plain
// QItemSelectionModel would have; a selected cell selects its whole row.
//
// The marks are the truth. The ranges of the underlying QItemSelectionModel, which the view
// paints and asks, mirror them only for the rows the view shows (setShownRows): a million
// scattered marks cost a screenful of ranges, and inverting them costs a pass over the flags.
// Asked through the base class, selection(), selectedRows() and isSelected() therefore know
// the shown rows only; marks outside them are the model's to tell.
class CandidateSelection final : public QItemSelectionModel
{
    Q_OBJECT

public:
    // What ListeSelect does to the marks; the numbers are the modes the buttons pass.
    enum class MarkMode
    {
        None = 0,
        All = 1,
        Invert = 2,
    };

    explicit CandidateSelection(CandidateModel* model, QObject* parent = nullptr);

    // The rows from first to last are shown (a margin around them included, as the caller
    // likes); rows outside the list are ignored. Until it is first called every row counts
    // as shown, so a selection without a view mirrors all marks, one range per run.
    void setShownRows(int first, int last);

    // Mirrors the marks of the shown rows again, after marks were set through the model
    // behind this selection's back; model changes and marks set through the model's own
    // functions are followed by themselves.
    void applyMarks();
    // None unmarks every row, All marks every row, Invert inverts every mark; a value outside
    // the enum does nothing. One change of the model's marks. Emits no marksChangedByUser.
    void ListeSelect(MarkMode mode);

    using QItemSelectionModel::select;
    void select(const QItemSelection& selection, SelectionFlags command) override;
    // Both unmark every row, shown or not. The base class's clearSelection, which is not
    // virtual, does nothing when no shown row is marked.
    void clearSelection();
    void clear() override;
    // Qt calls this on every model reset (the base class and the view alike), where the marks
    // stay: it drops the tentative part and, silently as the base class, the current index,
    // then mirrors the marks again.
    void reset() override;

Q_SIGNALS:
    // Marks changed through select(), clear() or clearSelection(): a click, keys.
    void marksChangedByUser();

private:
    // Which rows the tentative part (the last command with Current) covers, and what the
    // rows held before it: a command with Current restores them before it applies itself.
    enum class Tentative
    {
        None,
        // Marks set from outside or by the model (intake, sorting, the buttons) count as one
        // selection made without Current, as a plain selection model would hold them: a
        // shift-click right after replaces them, and before it they were all unmarked.
        AllMarks,
        Rows,
    };

    // Whether the row is marked once the tentative part is taken back.
    bool committedMark(int row) const;
    // The base ranges := the marked runs among the shown rows.
    void mirror();
    void marksSetFromOutside();

    QPointer<CandidateModel> m_model;
    int m_firstShown = 0;
    int m_lastShown = INT_MAX;
    Tentative m_tentative = Tentative::None;
    std::vector<RowRun> m_tentativeRows;   // with Rows: the rows it covers
    std::vector<RowRun> m_tentativeMarked; // and those of them marked before it
    qsizetype m_mirroredRanges = 0;
    bool m_applying = false;
};
