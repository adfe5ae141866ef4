#pragma once

#include <QItemSelection>
#include <QObject>
#include <QPointer>

class CandidateModel;
class QItemSelectionModel;

// Keeps the view's selection and the rows' Marked flags the same thing: a marked row is
// exactly a selected row. The selection model must sit directly on the candidate model
// (no proxy), and the view should select whole rows.
class CandidateSelection final : public QObject
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

    CandidateSelection(CandidateModel* model, QItemSelectionModel* selection, QObject* parent = nullptr);

    // Selection := the runs of marked rows, whole rows each. Runs by itself after every reset,
    // insertion and reordering of the model, and after marks set through the model.
    void applyMarks();
    // None unmarks every row, All marks every row, Invert inverts every mark; a value outside
    // the enum does nothing. One change of the model's marks, one new selection. Emits no
    // marksChangedByUser.
    void ListeSelect(MarkMode mode);

Q_SIGNALS:
    // The selection changed by anything other than applyMarks or ListeSelect: a click, keys.
    void marksChangedByUser();

private:
    void onSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    // Rows row - 1 and row have just become neighbours: when both are marked, their two ranges
    // become one.
    void joinRangesAt(int row);

    QPointer<CandidateModel> m_model;
    QPointer<QItemSelectionModel> m_selection;
    bool m_applying = false;
};
