#pragma once

#include "platform/FileSystem.h"

#include <QString>

// Renames an entry within its folder, never replacing another one. A file system that folds
// letter case finds the new name of a change of case only ("a.txt" to "A.txt", "straße" to
// "STRASSE") taken by the file itself; such a rename goes ahead where the folder's only entry
// that equals the new name without regard to letter case, as the check compares names, is the
// old name itself, spelled exactly so. That is told from the listing, because FUSE file
// systems give each spelling of one entry its own inode number.
RenameResult renameInFolder(FileSystem& fs, const QString& folder, const QString& oldName,
                            const QString& newName);
