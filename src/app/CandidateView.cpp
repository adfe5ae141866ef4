#include "app/CandidateView.h"

#include "app/NewNameDelegate.h"

#include <QDropEvent>

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
