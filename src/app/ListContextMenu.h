#pragma once

#include <QMenu>
#include <QPointer>

class CandidateModel;

// The candidate list's context menu: add files, take the marked rows out of the list, and
// take the last rename run back. It does the first two on the model itself and hands the
// chosen files to the window, which takes them in as it takes in a drop; the undo is the
// window's.
class ListContextMenu final : public QMenu
{
    Q_OBJECT

public:
    explicit ListContextMenu(CandidateModel* model, QWidget* parent = nullptr);

    // Shows the window's undo shortcut, but does not carry it: Qt fires no shortcut of a
    // disabled action, and the window's key must answer also when there is nothing to undo.
    QAction* undoItem() const { return m_undo; }

    // Opens at globalPos, without waiting, with the undo item enabled as given.
    void open(const QPoint& globalPos, bool canUndo);

    // Asks for files; those chosen come out through filesChosen.
    void addFiles();
    // The marked rows leave the model; no file is touched. Nothing happens without a mark.
    void removeMarked();

Q_SIGNALS:
    void filesChosen(const QStringList& paths);
    void rowsRemoved();

private:
    QPointer<CandidateModel> m_model;
    QAction* m_addFiles;
    QAction* m_remove;
    QAction* m_undo;
};
