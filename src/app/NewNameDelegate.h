#pragma once

#include <QStyledItemDelegate>

// Shows a warning symbol in the "Neuer Name" cell of a row whose new name failed the check.
// The symbol is as high as a line of text, and a cell is as high with it as without, so that
// the rows keep their one height when the first problem appears.
class NewNameDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit NewNameDelegate(QObject* parent = nullptr);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    mutable QIcon m_warning;
};
