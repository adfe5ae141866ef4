#include "plan/FolderRename.h"

#include "naming/CaselessName.h"

#include <cerrno>

namespace {

bool onlyOwnEntry(const FileSystem& fs, const QString& folder, const QString& oldName, const QString& newName)
{
    const CaselessName target(newName);
    if (!target.sameAs(oldName))
        return false;
    const std::optional<FolderEntries> names = fs.entries(folder);
    if (!names)
        return false;
    int matches = 0;
    bool own = false;
    for (qsizetype i = 0; i < names->size(); ++i) {
        const QStringView name = names->at(i);
        if (target.sameAs(name)) {
            ++matches;
            own = own || name == oldName;
        }
    }
    return matches == 1 && own;
}

} // namespace

RenameResult renameInFolder(FileSystem& fs, const QString& folder, const QString& oldName,
                            const QString& newName)
{
    const QString from = folder + oldName;
    const QString to = folder + newName;
    const RenameResult result = fs.renameFile(from, to);
    if (result.error == EEXIST && onlyOwnEntry(fs, folder, oldName, newName))
        return fs.renameOwnEntry(from, to);
    return result;
}
