#include "app/CandidateView.h"

#include "app/NewNameDelegate.h"
#include "list/CandidateSelection.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QScrollBar>

#include <algorithm>

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
    // The scroll bar counts rows, which tellShownRows relies on.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CandidateView::tellShownRows);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &CandidateView::tellShownRows);
}

void CandidateView::setModel(QAbstractItemModel* model)
{
    QTreeView::setModel(model);
    separateHeaderSelection();
    // A model replaced later stays connected, and its changes merely tell the same rows again.
    if (model != nullptr) {
        connect(model, &QAbstractItemModel::rowsInserted, this, &CandidateView::tellShownRows,
                Qt::UniqueConnection);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &CandidateView::tellShownRows,
                Qt::UniqueConnection);
        connect(model, &QAbstractItemModel::modelReset, this, &CandidateView::tellShownRows,
                Qt::UniqueConnection);
        connect(model, &QAbstractItemModel::layoutChanged, this, &CandidateView::tellShownRows,
                Qt::UniqueConnection);
    }
}

void CandidateView::setSelectionModel(QItemSelectionModel* selectionModel)
{
    // Hands the selection on to the header as well.
    QTreeView::setSelectionModel(selectionModel);
    separateHeaderSelection();
    tellShownRows();
}

void CandidateView::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    tellShownRows();
}

// Cheap enough for every scroll step and model change: it asks the scroll bar and the
// viewport only, never the view's layout of a million rows. A row is at least a line of
// the view's font high, so a page of lines covers what the viewport shows; the margin keeps
// the rows a key or a wheel step brings in mirrored before they arrive.
void CandidateView::tellShownRows()
{
    auto* marks = qobject_cast<CandidateSelection*>(selectionModel());
    if (marks == nullptr)
        return;
    const int page = viewport()->height() / std::max(1, fontMetrics().height()) + 1;
    const int top = verticalScrollBar()->value();
    marks->setShownRows(top - page, top + 2 * page);
}

// The header highlights no sections, yet it asks its selection model, for each section it paints,
// whether the columns beside it are selected, and the view's selection answers that by walking
// the rows, each against the list of marked ranges: with the thousands of ranges that a run with
// many failures left behind, the repaint under each question cost tens of milliseconds, and more
// with every failure. Nothing else of the header needs the marks, so it gets an empty selection.
void CandidateView::separateHeaderSelection()
{
    QHeaderView* head = header();
    QAbstractItemModel* model = head->model();
    if (model == nullptr || head->selectionModel() != selectionModel())
        return;
    QItemSelectionModel* previous = m_headerSelection;
    m_headerSelection = new QItemSelectionModel(model, head);
    head->setSelectionModel(m_headerSelection);
    delete previous;
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
