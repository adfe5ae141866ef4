#pragma once

#include <QTreeView>

class QMimeData;

// The candidate list in details view: whole rows are marked, rows have one height so that
// a million of them scroll smoothly, and files may be dropped onto it.
class CandidateView final : public QTreeView
{
    Q_OBJECT

public:
    explicit CandidateView(QWidget* parent = nullptr);

Q_SIGNALS:
    // Whatever was dropped; the receiver decides whether it holds files.
    void dataDropped(const QMimeData* data);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
