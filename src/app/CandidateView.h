#pragma once

#include <QPointer>
#include <QTreeView>

class QItemSelectionModel;
class QMimeData;

// The candidate list in details view: whole rows are marked, rows have one height so that
// a million of them scroll smoothly, and files may be dropped onto it. Its context menu and
// the Delete key are the receiver's: the view only says when they are wanted. With a
// CandidateSelection as its selection model, it tells it which rows it shows.
class CandidateView final : public QTreeView
{
    Q_OBJECT

public:
    explicit CandidateView(QWidget* parent = nullptr);

    // Both leave the header with a selection of its own, empty, over the same model: see
    // separateHeaderSelection().
    void setModel(QAbstractItemModel* model) override;
    void setSelectionModel(QItemSelectionModel* selectionModel) override;

Q_SIGNALS:
    // Whatever was dropped; the receiver decides whether it holds files.
    void dataDropped(const QMimeData* data);
    // A right click, the menu key or Shift+F10; globalPos is where the menu should open.
    void contextMenuWanted(const QPoint& globalPos);
    void deleteKeyPressed();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The rows on screen with a page's margin above and below, to the CandidateSelection.
    void tellShownRows();
    // Below the current row when it can be seen, else the list's top left corner.
    QPoint keyboardMenuPos() const;
    void separateHeaderSelection();

    QPointer<QItemSelectionModel> m_headerSelection;
};
