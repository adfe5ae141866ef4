#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The files the program keeps or reads here (settings, manual, shortcuts) are used only where
// their path is free or names a regular file, a symbolic link to one included. Anything else
// would do harm: opening a FIFO blocks for ever, and a device reads without end. The run journals are not
// among them: platform/JournalFolder.h keeps them by stricter rules of its own (never through a link) and
// takes only makeFolders() from here.
namespace StoredFile {

enum class Kind
{
    Absent,  // nothing there, or a link to nothing: the file may be made
    Regular, // a regular file, or a link to one
    Other    // a folder, FIFO, socket or device, or a path that cannot be looked at
};

// What the path names once links are followed. Looks only; never opens the file.
Kind kind(const QString& path);

// The content of a regular file of at most maxBytes; nothing for anything else, for a larger
// file and for one that cannot be read. Never opens a file that is not regular, and never
// blocks, even when the path is swapped for a FIFO between the look and the open.
std::optional<QByteArray> read(const QString& path, qint64 maxBytes);

// Makes every missing folder of a folder path, for the user alone; true when the path names a
// folder afterwards.
bool makeFolders(const QString& folder);

} // namespace StoredFile
