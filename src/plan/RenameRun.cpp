#include "plan/RenameRun.h"

#include "list/CandidateModel.h"
#include "plan/FolderRename.h"
#include "platform/ErrorText.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <QHash>

#include <cerrno>
#include <optional>
#include <vector>

namespace {

struct Planned
{
    int position = 0; // from 0
    QString folder;
    QString oldName;
    QString newName;
    EntryIdentity identity = {};
    qint64 size = 0;
    qint64 dateStamp = CandidateRow::NoDate;
};

bool refusedWithoutCall(const QString& newName)
{
    return newName.contains(u'/') || newName.contains(QChar(u'\0'));
}

// The renames that will touch the disk, in the order of the run. The run names its files by
// the rows' paths, relative ones against the current folder, which the journal must not need.
RunJournal::Plan journalPlan(const FileSystem& fs, const std::vector<Planned>& plan,
                             std::vector<bool>& journaled)
{
    RunJournal::Plan journal;
    journal.reserve(plan.size());
    journaled.assign(plan.size(), false);
    size_t index = 0;
    QString here;
    QString lastFolder;
    QString absoluteFolder;
    for (const Planned& row : plan) {
        if (row.newName == row.oldName || refusedWithoutCall(row.newName)) {
            ++index;
            continue;
        }
        journaled[index++] = true;
        if (journal.empty() || row.folder != lastFolder) {
            lastFolder = row.folder;
            absoluteFolder = row.folder;
            if (!row.folder.startsWith(u'/')) {
                if (here.isEmpty())
                    here = fs.currentFolder();
                absoluteFolder = here + row.folder;
            }
        }
        journal.push_back({absoluteFolder, row.oldName, row.newName, row.identity, row.size, row.dateStamp});
    }
    return journal;
}

// Whether a look found the file that intake took in. Both follow a symbolic link to its file,
// so a listed link passes while it leads to the same file.
bool isListedFile(const EntryLook& look, const EntryIdentity& identity)
{
    return look.ok() && !look.isFolder && look.identity == identity;
}

// The listings of the run's folders: one getdents per folder tells a row's file from what
// replaced it by inode number and type, where a look per row costs a system call each. The
// user may have changed a folder while a question was open, so a question leaves every listing
// stale; the rows after it get a look each until as many have been looked at as make a new
// listing worth reading (a listing costs about an eighth of a look per entry). So a run with a
// question on every other row costs a look per row, not a listing per question.
class Listings
{
public:
    explicit Listings(const FileSystem& fs) : m_fs(fs) {}

    // True when the listing shows the row's entry as the very regular file intake took in.
    // False tells nothing: a link, an unknown type, a FUSE file system whose listing numbers
    // entries otherwise, a replaced entry, or a stale listing all get a look of their own.
    bool showListedFile(const QString& folder, const QString& name, const EntryIdentity& identity)
    {
        auto cached = m_folders.find(folder);
        if (cached == m_folders.end()) {
            cached = m_folders.insert(folder, {});
            read(cached.value(), folder);
        } else if (cached->stale) {
            constexpr qsizetype EntriesPerLook = 8;
            if (cached->looksSinceStale * EntriesPerLook < cached->entries) {
                ++cached->looksSinceStale;
                return false;
            }
            read(cached.value(), folder);
        }
        const std::optional<FolderListing>& listing = cached->listing;
        if (!listing || listing->device != identity.device)
            return false;
        const auto entry = listing->byName.constFind(QFile::encodeName(name));
        return entry != listing->byName.cend() && entry->typeKnown &&
               entry->type == EntryStatus::Type::Regular && entry->inode == identity.inode;
    }
    // After a question: no listing read before it is trusted again.
    void forget()
    {
        for (Folder& folder : m_folders) {
            folder.stale = true;
            folder.looksSinceStale = 0;
            folder.listing.reset();
        }
    }

private:
    struct Folder
    {
        std::optional<FolderListing> listing;
        qsizetype entries = 0; // of its last listing
        bool stale = false;
        qsizetype looksSinceStale = 0;
    };

    void read(Folder& folder, const QString& path)
    {
        folder.listing = m_fs.listing(path);
        folder.entries = folder.listing ? folder.listing->byName.size() : 0;
        folder.stale = false;
    }

    const FileSystem& m_fs;
    QHash<QString, Folder> m_folders;
};

// Gives one row's file its new name; nothing when that worked, else why not. The look before
// the rename leaves alone an entry that is no longer the listed file: it was replaced by
// another file or by a folder (which may even have been given the freed inode number) since
// intake. No look can close the gap between itself and the rename, though: the rename names
// its source by path only, so an entry swapped in after the look is renamed all the same.
std::optional<RenameFailure> renameOne(FileSystem& fs, Listings& listings, const Planned& row)
{
    const auto failure = [&row](int error, RenameFailure::Kind kind = RenameFailure::Kind::Refused) {
        return RenameFailure{row.folder + row.oldName, row.folder + row.newName, error, kind};
    };
    if (refusedWithoutCall(row.newName))
        return failure(EINVAL);
    if (row.newName == row.oldName)
        return std::nullopt;

    const QString from = row.folder + row.oldName;
    if (!listings.showListedFile(row.folder, row.oldName, row.identity)) {
        const EntryLook before = fs.look(from);
        if (!before.ok())
            return failure(before.error);
        if (!isListedFile(before, row.identity))
            return failure(0, RenameFailure::Kind::Replaced);
    }
    const RenameResult result = renameInFolder(fs, row.folder, row.oldName, row.newName);
    if (result.ok())
        return std::nullopt;
    // Some drivers drop the file when they refuse a name (fusefat with a non-ASCII name), and
    // the user must not be told that it kept its name. ENOENT already says the source was gone
    // before the rename, so it needs no second look.
    if (result.error != ENOENT) {
        const EntryLook after = fs.look(from);
        if (after.error == ENOENT || after.error == ENOTDIR ||
            (after.ok() && !isListedFile(after, row.identity)))
            return failure(result.error, RenameFailure::Kind::Lost);
    }
    return failure(result.error);
}

} // namespace

RenameRun::Outcome RenameRun::run(CandidateModel& model, FileSystem& fs, const Progress& progress,
                                  const AskGoOn& askGoOn, const RunJournal::Sink& journal)
{
    const std::vector<CandidateRow>& rows = model.rows();
    const int rowCount = static_cast<int>(rows.size());
    std::vector<Planned> plan;
    for (int position = rowCount - 1; position >= 0; --position) {
        const CandidateRow& row = rows[static_cast<size_t>(position)];
        if (row.Marked)
            plan.push_back(
                {position, row.Folder, row.OldName, row.NewName, row.Identity(), row.Size, row.DateStamp});
    }

    Outcome outcome;
    // The rows of the journal's plan, by their place in the run; cleared where a rename fails.
    RunJournal::Plan renames;
    std::vector<bool> journaled;
    if (journal) {
        renames = journalPlan(fs, plan, journaled);
        if (!renames.empty() && !journal.begin(renames))
            outcome.journalFailed = true;
    }
    size_t reached = 0; // rows of the plan the run has come to
    std::vector<int> renamed;
    const auto removeRenamed = [&model, &renamed] {
        // Every position still to come lies above the removed rows, so it stays valid.
        model.removeRowSet(std::move(renamed));
        renamed.clear();
    };
    std::vector<bool> done(plan.size(), false);
    Listings listings(fs);
    for (const Planned& row : plan) {
        if (progress)
            progress(rowCount - (row.position + 1));
        const std::optional<RenameFailure> failure = renameOne(fs, listings, row);
        done[reached++] = !failure;
        if (!failure) {
            renamed.push_back(row.position);
            outcome.renamedNames.append(row.newName);
            continue;
        }
        ++outcome.failed;
        removeRenamed();
        if (!askGoOn || !askGoOn(*failure)) {
            outcome.stopped = true;
            break;
        }
        listings.forget();
    }
    removeRenamed();
    if (journal.finish && !renames.empty() && !outcome.journalFailed) {
        RunJournal::Plan happened;
        auto entry = renames.begin();
        for (size_t i = 0; i < plan.size(); ++i) {
            if (!journaled[i])
                continue;
            if (done[i])
                happened.push_back(std::move(*entry));
            ++entry;
        }
        journal.finish(happened);
    }
    return outcome;
}

QString RenameRun::failureText(const RenameFailure& failure)
{
    return QStringList{tr("Folgende Datei ließ sich nicht umbenennen:"),
                       QString(),
                       failure.PathName,
                       QStringLiteral("-->"),
                       failure.Target,
                       QString(),
                       tr("Klicken Sie 'OK', um fortzusetzen oder 'Abbrechen' um die Aktion zu beenden.")}
        .join(u'\n');
}

QString RenameRun::reasonText(const RenameFailure& failure)
{
    switch (failure.kind) {
    case RenameFailure::Kind::Replaced:
        return tr("Die Datei wurde inzwischen durch eine andere ersetzt.");
    case RenameFailure::Kind::Lost:
        return lostText();
    case RenameFailure::Kind::Refused:
        break;
    }
    return errorText(failure.error, FileOperation::Rename);
}

QString RenameRun::lostText()
{
    return tr("Die Datei ist nach dem Fehlschlag nicht mehr auffindbar.");
}
