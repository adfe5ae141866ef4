#include "list/ListIntake.h"

#include "list/RowFormat.h"

#include <QFile>
#include <QSet>

#include <algorithm>

namespace {

bool sameTime(const LocalTime& a, const LocalTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
}

} // namespace

QStringList ListIntake::SplitCommandLine(const QList<QByteArray>& rawArguments)
{
    QStringList paths;
    paths.reserve(rawArguments.size());
    for (const QByteArray& raw : rawArguments) {
        if (raw.isEmpty())
            continue;
        QString path = QFile::decodeName(raw);
        if (QFile::encodeName(path) != raw)
            continue;
        paths.append(std::move(path));
    }
    return paths;
}

std::vector<CandidateRow> ListIntake::takeIn(const QStringList& paths,
                                             const std::vector<CandidateRow>& existing,
                                             const FileSystem& fs, const Progress& progress)
{
    const qsizetype total = paths.size();

    QSet<QString> listed;
    listed.reserve(static_cast<qsizetype>(existing.size()) + total);
    for (const CandidateRow& row : existing)
        listed.insert(row.PathName());

    // Command lines and drops list a folder's files together, so the last folder catches
    // nearly every repeat; the set catches the rest.
    QSet<QString> folders;
    QString lastFolder;
    bool haveLastFolder = false;
    // Files copied or unpacked together often share their time to the second.
    LocalTime lastTime;
    QString lastDateKey;

    std::vector<CandidateRow> taken;
    taken.reserve(static_cast<size_t>(total));
    for (qsizetype i = 0; i < total; ++i) {
        if (progress)
            progress(i + 1, total);
        const QString& path = paths.at(i);
        if (path.isEmpty() || listed.contains(path))
            continue;
        const FileAttributes attributes = fs.attributes(path);
        if (!attributes.exists || attributes.isFolder)
            continue;
        listed.insert(path);

        const qsizetype slash = path.lastIndexOf(u'/');
        const QStringView folderText = QStringView(path).left(slash + 1);
        if (!haveLastFolder || folderText != lastFolder) {
            QString folder = folderText.toString();
            const auto known = folders.constFind(folder);
            if (known != folders.constEnd()) {
                lastFolder = *known;
            } else {
                folders.insert(folder);
                lastFolder = std::move(folder);
            }
            haveLastFolder = true;
        }

        CandidateRow row = CandidateRow::fromParts(lastFolder, path.mid(slash + 1));
        row.Size = attributes.size;
        if (lastDateKey.isEmpty() || !sameTime(attributes.modified, lastTime)) {
            lastTime = attributes.modified;
            lastDateKey = RowFormat::dateKey(lastTime);
        }
        row.DateKey = lastDateKey;
        row.Marked = true;
        taken.push_back(std::move(row));
    }
    std::reverse(taken.begin(), taken.end());
    return taken;
}
