#include "app/NewNameDelegate.h"

#include "list/CandidateModel.h"

#include <QApplication>
#include <QStyle>

NewNameDelegate::NewNameDelegate(QObject* parent)
    : QStyledItemDelegate(parent),
      m_warning(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning))
{
}

void NewNameDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() != CandidateModel::ColNewName)
        return;
    if (index.data(CandidateModel::ProblemsRole).toInt() != 0) {
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = m_warning;
        option->decorationSize = QSize(option->fontMetrics.height(), option->fontMetrics.height());
    }
}
