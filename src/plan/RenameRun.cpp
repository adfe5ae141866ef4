#include "plan/RenameRun.h"

#include "list/CandidateModel.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

struct Planned
{
    int position = 0; // from 0
    QString folder;
    QString oldName;
    QString newName;
};

} // namespace

RenameRun::Outcome RenameRun::run(CandidateModel& model, FileSystem& fs, const Progress& progress,
                                  const AskGoOn& askGoOn)
{
    const std::vector<CandidateRow>& rows = model.rows();
    const int rowCount = static_cast<int>(rows.size());
    std::vector<Planned> plan;
    for (int position = rowCount - 1; position >= 0; --position) {
        const CandidateRow& row = rows[static_cast<size_t>(position)];
        if (row.Marked)
            plan.push_back({position, row.Folder, row.OldName, row.NewName});
    }

    Outcome outcome;
    std::vector<int> renamed;
    const auto removeRenamed = [&model, &renamed] {
        // Every position still to come lies above the removed rows, so it stays valid.
        model.removeRowSet(std::move(renamed));
        renamed.clear();
    };
    for (const Planned& row : plan) {
        if (progress)
            progress(rowCount - (row.position + 1));
        RenameResult result;
        if (row.newName.contains(u'/') || row.newName.contains(QChar(u'\0')))
            result.error = EINVAL;
        else if (row.newName != row.oldName)
            result = fs.renameFile(row.folder + row.oldName, row.folder + row.newName);
        if (result.ok()) {
            renamed.push_back(row.position);
            outcome.renamedNames.append(row.newName);
            continue;
        }
        ++outcome.failed;
        removeRenamed();
        if (!askGoOn || !askGoOn({row.folder + row.oldName, row.folder + row.newName, result.error})) {
            outcome.stopped = true;
            break;
        }
    }
    removeRenamed();
    return outcome;
}

QString RenameRun::failureText(const RenameFailure& failure)
{
    return QStringList{QStringLiteral("Folgende Datei ließ sich nicht umbenennen:"),
                       QString(),
                       failure.PathName,
                       QStringLiteral("-->"),
                       failure.Target,
                       QString(),
                       QStringLiteral("Klicken Sie 'OK', um fortzusetzen oder 'Abbrechen' um die "
                                      "Aktion zu beenden.")}
        .join(u'\n');
}

QString RenameRun::reasonText(int error)
{
    switch (error) {
    case EEXIST:
    case ENOTEMPTY:
        return QStringLiteral("Der neue Name ist schon vergeben.");
    case ENOENT:
        return QStringLiteral("Die Datei oder ihr Ordner ist nicht mehr da.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Im Ordner fehlt die Berechtigung zum Umbenennen.");
    case EROFS:
        return QStringLiteral("Das Dateisystem ist schreibgeschützt.");
    case EINVAL:
        return QStringLiteral("Der neue Name ist hier nicht zulässig.");
    case ENAMETOOLONG:
        return QStringLiteral("Der neue Name ist zu lang.");
    case EBUSY:
        return QStringLiteral("Die Datei wird gerade benutzt.");
    default:
        return QStringLiteral("Systemmeldung: ") + QString::fromLocal8Bit(std::strerror(error));
    }
}
