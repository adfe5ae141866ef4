#include "list/CandidateRow.h"

#include "list/RowFormat.h"

#include <limits>
#include <utility>

CandidateRow CandidateRow::fromParts(QString folder, QString oldName)
{
    return fromParts(FolderText(std::move(folder)), std::move(oldName));
}

CandidateRow CandidateRow::fromParts(FolderText folder, QString oldName)
{
    CandidateRow row;
    row.Folder = std::move(folder);
    row.OldName = std::move(oldName);
    // Linux names are at most 255 bytes; a longer one (never on disk) is taken as having no type.
    const qsizetype dot = row.OldName.lastIndexOf(u'.');
    row.TypeDot = dot <= std::numeric_limits<qint16>::max() ? static_cast<qint16>(dot) : qint16(-1);
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

QString CandidateRow::DateText() const
{
    return RowFormat::dateTextFromKey(DateKey());
}
