#include "app/CandidateView.h"

#include "app/NewNameDelegate.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>

CandidateView::CandidateView(QWidget* parent) : QTreeView(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(false);
    setItemDelegate(new NewNameDelegate(this));
}

// Every drop is taken, files or not: what carries no files is refused with a beep by the
// receiver, which needs the drop to arrive.
void CandidateView::dragEnterEvent(QDragEnterEvent* event)
{
    event->acceptProposedAction();
}

void CandidateView::dragMoveEvent(QDragMoveEvent* event)
{
    event->acceptProposedAction();
}

void CandidateView::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    Q_EMIT dataDropped(event->mimeData());
}

void CandidateView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    Q_EMIT contextMenuWanted(event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                         : keyboardMenuPos());
}

void CandidateView::keyPressEvent(QKeyEvent* event)
{
    // The menu key reaches contextMenuEvent through the platform; Shift+F10 does not.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        event->accept();
        Q_EMIT contextMenuWanted(keyboardMenuPos());
        return;
    }
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        event->accept();
        Q_EMIT deleteKeyPressed();
        return;
    }
    QTreeView::keyPressEvent(event);
}

QPoint CandidateView::keyboardMenuPos() const
{
    const QRect current = visualRect(currentIndex());
    const QRect visible = viewport()->rect();
    const QPoint local = current.isValid() && visible.intersects(current)
                             ? QPoint(current.left(), current.bottom())
                             : visible.topLeft();
    return viewport()->mapToGlobal(local);
}
