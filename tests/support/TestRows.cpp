#include "TestRows.h"

#include "FakeFileSystem.h"

#include "list/CandidateModel.h"
#include "list/RowFormat.h"

using namespace Qt::StringLiterals;

namespace TestRows {

CandidateRow row(const QString& path, qint64 size, QStringView dateKey)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    CandidateRow made = CandidateRow::fromParts(path.left(slash + 1), path.mid(slash + 1));
    made.Size = size;
    made.DateStamp = RowFormat::dateStampFromKey(dateKey);
    return made;
}

std::vector<CandidateRow> listed(const QString& folder, const QStringList& names)
{
    std::vector<CandidateRow> rows;
    for (const QString& name : names) {
        const bool marked = !name.startsWith(u'-');
        rows.push_back(row(folder + (marked ? name : name.mid(1))));
        rows.back().Marked = marked;
    }
    return rows;
}

std::vector<CandidateRow> byCase(QStringView names)
{
    std::vector<CandidateRow> rows;
    for (const QChar name : names) {
        rows.push_back(row(u"/d/"_s + name));
        rows.back().Marked = name.isUpper();
    }
    return rows;
}

std::vector<CandidateRow> withTexts(int column, const QStringList& texts)
{
    std::vector<CandidateRow> rows;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString& text = texts.at(i);
        switch (column) {
        case CandidateModel::ColFolder:
            rows.push_back(row(u"/"_s + text + u"/f"_s));
            break;
        case CandidateModel::ColType:
            rows.push_back(row(u"/d/n."_s + text));
            break;
        default:
            rows.push_back(row(u"/d/"_s + text));
            break;
        }
        rows.back().NewName = column == CandidateModel::ColNewName ? text : QString::number(i);
    }
    return rows;
}

std::vector<CandidateRow> onFake(FakeFileSystem& fs, QStringView marks, const QStringList& newNames,
                                 const QStringList& paths)
{
    std::vector<CandidateRow> rows;
    for (qsizetype i = 0; i < marks.size(); ++i) {
        const QString path = paths.value(i, u"/d/"_s + QString::number(i + 1));
        fs.addFile(path);
        CandidateRow made = row(path, 0, {});
        made.setIdentity(fs.attributes(path).identity);
        made.NewName = newNames.value(i, u"n"_s + made.OldName);
        made.Marked = marks[i] == u'x';
        rows.push_back(std::move(made));
    }
    return rows;
}

} // namespace TestRows
