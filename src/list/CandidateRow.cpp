#include "list/CandidateRow.h"

#include "list/RowFormat.h"

#include <utility>

CandidateRow CandidateRow::fromPath(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return fromParts(path.left(slash + 1), path.mid(slash + 1));
}

CandidateRow CandidateRow::fromParts(QString folder, QString oldName)
{
    CandidateRow row;
    row.Folder = std::move(folder);
    row.OldName = std::move(oldName);
    row.TypeDot = static_cast<qint32>(row.OldName.lastIndexOf(u'.'));
    return row;
}

QString CandidateRow::SizeText() const
{
    return RowFormat::FormatFileSize(static_cast<double>(Size));
}

QString CandidateRow::SizeKey() const
{
    return RowFormat::sizeKey(Size);
}

QString CandidateRow::DateKey() const
{
    return DateStamp == NoDate ? QString() : RowFormat::dateKey(DateStamp);
}

void CandidateRow::setDateKey(QStringView key)
{
    DateStamp = RowFormat::dateStampFromKey(key);
}

QString CandidateRow::DateText() const
{
    return RowFormat::dateTextFromKey(DateKey());
}
