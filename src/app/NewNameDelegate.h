#pragma once

#include <QStyledItemDelegate>

// Shows a warning symbol in the "Neuer Name" cell of a row whose new name failed the check.
class NewNameDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit NewNameDelegate(QObject* parent = nullptr);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QIcon m_warning;
};
