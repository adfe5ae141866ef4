#include "plan/UndoRun.h"

#include "list/CandidateRow.h"
#include "list/RowFormat.h"
#include "naming/CaselessName.h"
#include "plan/FolderRename.h"
#include "plan/RenameRun.h"
#include "platform/ErrorText.h"
#include "platform/FileSystem.h"

#include <QSet>

#include <cerrno>
#include <optional>

namespace {

// Translated where they are used, in the application's language then.
const char* const newNameGone =
    QT_TRANSLATE_NOOP("UndoRun", "Unter dem neuen Namen ist die Datei nicht mehr da.");
const char* const otherFile =
    QT_TRANSLATE_NOOP("UndoRun", "Unter dem neuen Namen liegt inzwischen eine andere Datei.");
const char* const oldNameTaken = QT_TRANSLATE_NOOP("UndoRun", "Der alte Name ist inzwischen vergeben.");

// What a path names, measured against the journal's file.
struct Found
{
    enum class Holds
    {
        File,    // the journal's file
        Other,   // another file, or a folder
        Nothing, // no entry
        Unknown, // the look failed: see error
    };
    Holds holds = Holds::Nothing;
    int error = 0;
};

// The names that the files going back before an entry free and take: the disk as it will be when
// that entry's turn comes. In a chain such as "a" to "b" and "b" to "c", "b" is free again by the
// time "c" goes back.
struct Pending
{
    QSet<QString> freed;
    QSet<QString> taken;
};

Found find(const FileSystem& fs, const QString& path, const RunJournal::Entry& entry,
           const Pending* pending = nullptr)
{
    if (pending && pending->taken.contains(path))
        return {Found::Holds::Other};
    if (pending && pending->freed.contains(path))
        return {Found::Holds::Nothing};
    const EntryStatus status = fs.status(path);
    if (status.error == ENOENT || status.error == ENOTDIR)
        return {Found::Holds::Nothing};
    if (!status.ok())
        return {Found::Holds::Unknown, status.error};
    // The very file the run renamed: a regular file, never a link, with the journal's inode
    // number (the device may differ after the file system was mounted again), size and last
    // change. The inode number alone is not enough: a file made after the renamed one was
    // deleted often gets its number.
    const bool same = status.type == EntryStatus::Type::Regular &&
                      status.identity.inode == entry.identity.inode && status.size == entry.size &&
                      RowFormat::dateStamp(status.modified) == entry.dateStamp;
    return {same ? Found::Holds::File : Found::Holds::Other};
}

// On a file system that folds letter case, both spellings of a case-only rename name the same
// entry; the folder's listing tells which spelling it has. Nothing when that cannot be told.
std::optional<QString> onlySpelling(const FileSystem& fs, const RunJournal::Entry& entry)
{
    const std::optional<FolderEntries> names = fs.entries(entry.folder);
    if (!names)
        return std::nullopt;
    const CaselessName oldName(entry.oldName);
    std::optional<QString> found;
    for (qsizetype i = 0; i < names->size(); ++i) {
        const QStringView name = names->at(i);
        if (!oldName.sameAs(name))
            continue;
        if (found)
            return std::nullopt;
        found = name.toString();
    }
    return found;
}

UndoRun::Step classify(const FileSystem& fs, const RunJournal::Entry& entry, const Pending* pending = nullptr)
{
    using Holds = Found::Holds;
    const auto step = [&entry](UndoRun::State state, const QString& reason = {}) {
        return UndoRun::Step{entry, state, reason};
    };
    const Found atNew = find(fs, entry.folder + entry.newName, entry, pending);
    const Found atOld = find(fs, entry.folder + entry.oldName, entry, pending);

    // Both found on disk (a name taken by an earlier step is found as Other without a look).
    const auto onDisk = [&entry, pending](const Found& found, const QString& name) {
        return found.holds != Holds::Nothing && found.holds != Holds::Unknown &&
               !(pending && pending->taken.contains(entry.folder + name));
    };
    const bool bothOnDisk = onDisk(atNew, entry.newName) && onDisk(atOld, entry.oldName);
    if (bothOnDisk && CaselessName::equal(entry.oldName, entry.newName)) {
        const std::optional<QString> spelling = onlySpelling(fs, entry);
        if (spelling == entry.newName)
            return atNew.holds == Holds::File ? step(UndoRun::State::GoesBack)
                                              : step(UndoRun::State::Blocked, UndoRun::tr(otherFile));
        if (spelling == entry.oldName)
            return atOld.holds == Holds::File ? step(UndoRun::State::NotRenamed)
                                              : step(UndoRun::State::Blocked, UndoRun::tr(newNameGone));
    }
    // The file is still under its old name: the run never reached it, or its rename failed.
    if (atOld.holds == Holds::File && atNew.holds != Holds::File)
        return step(UndoRun::State::NotRenamed);
    switch (atNew.holds) {
    case Holds::File:
        if (atOld.holds == Holds::Nothing)
            return step(UndoRun::State::GoesBack);
        if (atOld.holds == Holds::Unknown)
            return step(UndoRun::State::Blocked, errorText(atOld.error, FileOperation::Rename));
        return step(UndoRun::State::Blocked, UndoRun::tr(oldNameTaken));
    case Holds::Nothing:
        return step(UndoRun::State::Blocked, UndoRun::tr(newNameGone));
    case Holds::Other:
        return step(UndoRun::State::Blocked, UndoRun::tr(otherFile));
    case Holds::Unknown:
        break;
    }
    return step(UndoRun::State::Blocked, errorText(atNew.error, FileOperation::Rename));
}

// Why a rename back failed. Some drivers drop the file when they refuse a name, which must
// not be told as if the file were still there.
QString renameFailureText(const FileSystem& fs, const RunJournal::Entry& entry, int error)
{
    if (error == EEXIST || error == ENOTEMPTY)
        return UndoRun::tr(oldNameTaken);
    if (error != ENOENT && find(fs, entry.folder + entry.newName, entry).holds != Found::Holds::File)
        return RenameRun::lostText();
    return errorText(error, FileOperation::Rename);
}

// `one` for a count of 1, `many` for any other; both write the count as %1.
QString countText(qsizetype count, const char* one, const char* many)
{
    return UndoRun::tr(count == 1 ? one : many).arg(count);
}

} // namespace

UndoRun::Prepared UndoRun::prepare(const FileSystem& fs, const RunJournal::Plan& plan,
                                   const Progress& progress)
{
    Prepared prepared;
    prepared.steps.reserve(plan.size());
    Pending pending;
    for (auto entry = plan.rbegin(); entry != plan.rend(); ++entry) {
        if (progress)
            progress(static_cast<qsizetype>(prepared.steps.size()));
        prepared.steps.push_back(classify(fs, *entry, &pending));
        if (prepared.steps.back().state == State::GoesBack) {
            ++prepared.goesBack;
            const QString from = entry->folder + entry->newName;
            const QString to = entry->folder + entry->oldName;
            pending.taken.remove(from);
            pending.freed.insert(from);
            pending.freed.remove(to);
            pending.taken.insert(to);
        }
    }
    return prepared;
}

UndoRun::Outcome UndoRun::run(FileSystem& fs, const Prepared& prepared, const Progress& progress)
{
    Outcome outcome;
    qsizetype done = 0;
    for (const Step& prepare : prepared.steps) {
        const RunJournal::Entry& entry = prepare.entry;
        if (prepare.state == State::Blocked) {
            outcome.failures.push_back({entry.folder + entry.newName, prepare.reason});
            continue;
        }
        if (prepare.state != State::GoesBack)
            continue;
        if (progress)
            progress(done++);
        const Step now = classify(fs, entry);
        if (now.state == State::NotRenamed)
            continue;
        if (now.state == State::Blocked) {
            outcome.failures.push_back({entry.folder + entry.newName, now.reason});
            continue;
        }
        const QString oldPath = entry.folder + entry.oldName;
        const RenameResult result = renameInFolder(fs, entry.folder, entry.newName, entry.oldName);
        if (result.ok())
            outcome.restored.append(oldPath);
        else
            outcome.failures.push_back(
                {entry.folder + entry.newName, renameFailureText(fs, entry, result.error)});
    }
    return outcome;
}

std::vector<int> UndoRun::staleRows(const Prepared& prepared, const Outcome& outcome,
                                    const std::vector<CandidateRow>& rows)
{
    QSet<QString> givenBack;
    const QSet<QString> back(outcome.restored.cbegin(), outcome.restored.cend());
    for (const Step& step : prepared.steps) {
        if (step.state == State::GoesBack && back.contains(step.entry.folder + step.entry.oldName))
            givenBack.insert(step.entry.folder + step.entry.newName);
    }
    std::vector<int> stale;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (givenBack.contains(rows[i].PathName()))
            stale.push_back(static_cast<int>(i));
    }
    return stale;
}

QString UndoRun::questionText(qsizetype goesBack, const QDateTime& started)
{
    QString text = tr("Die letzte Umbenennung rückgängig machen?") + u' ' +
                   countText(goesBack, QT_TR_NOOP("%1 Datei bekommt ihren alten Namen zurück."),
                             QT_TR_NOOP("%1 Dateien bekommen ihren alten Namen zurück."));
    if (started.isValid()) {
        // The date and time keep their form in every language, as the list shows them.
        const QDateTime local = started.toLocalTime();
        text +=
            u' ' +
            tr("Sie fand am %1 um %2 statt.").arg(local.toString(u"dd.MM.yyyy"), local.toString(u"HH:mm:ss"));
    }
    return text;
}

QString UndoRun::notJournaledText()
{
    return tr("Die letzte Umbenennung lässt sich nicht rückgängig machen.");
}

QString UndoRun::busyText()
{
    return tr("Diese Umbenennung wird gerade in einem anderen Fenster rückgängig gemacht.");
}

QString UndoRun::summaryText(const Outcome& outcome)
{
    QString text = countText(outcome.restored.size(), QT_TR_NOOP("%1 Datei hat ihren alten Namen zurück."),
                             QT_TR_NOOP("%1 Dateien haben ihren alten Namen zurück."));
    if (!outcome.failures.empty())
        text += u'\n' + countText(static_cast<qsizetype>(outcome.failures.size()),
                                  QT_TR_NOOP("%1 Datei konnte nicht zurück."),
                                  QT_TR_NOOP("%1 Dateien konnten nicht zurück."));
    return text;
}

QString UndoRun::detailsText(const Outcome& outcome)
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(outcome.failures.size()));
    for (const UndoFailure& failure : outcome.failures)
        lines.append(failure.path + QStringLiteral(" - ") + failure.reason);
    return lines.join(u'\n');
}

QString UndoRun::nothingToUndoText()
{
    return tr("Es gibt keine Umbenennung, die sich rückgängig machen ließe.");
}
