#include "app/NewNameDelegate.h"

#include "list/CandidateModel.h"

#include <QApplication>
#include <QStyle>

NewNameDelegate::NewNameDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QSize NewNameDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.column() != CandidateModel::ColNewName)
        return size;
    // Measured without the symbol: a style gives a cell with a symbol of the text's height a
    // few pixels more, which would make every row taller once the first row shows one.
    QStyleOptionViewItem plain = option;
    QStyledItemDelegate::initStyleOption(&plain, index);
    const QWidget* widget = plain.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    size.setHeight(style->sizeFromContents(QStyle::CT_ItemViewItem, &plain, QSize(), widget).height());
    return size;
}

void NewNameDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() != CandidateModel::ColNewName)
        return;
    if (index.data(CandidateModel::ProblemsRole).toInt() != 0) {
        option->features |= QStyleOptionViewItem::HasDecoration;
        // Made at the first problem: the theme's search costs a start that shows none.
        if (m_warning.isNull())
            m_warning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        option->icon = m_warning;
        option->decorationSize = QSize(option->fontMetrics.height(), option->fontMetrics.height());
    }
}
