#pragma once

#include "platform/EntryIdentity.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The plan of the last rename run, kept on disk so that the run can be taken back even after
// Velto was closed or killed in the middle of it. It is written once, durably, before the first
// rename; nothing is written per rename, since the disk itself tells afterwards which renames
// happened.
//
// The file is text, one line per rename in the order of the run:
//   velto run journal 1
//   <folder> TAB <old name> TAB <new name> TAB <device> TAB <inode> TAB <size> TAB <date stamp>
//   end <count> <FNV-1a 64 of all bytes before this line, 16 lowercase hex digits>
// The text fields are UTF-8 with "%", DEL and every control character (tab and line breaks
// among them) written as %HH, so that any name a folder allows round-trips. Numbers are decimal.
class RunJournal
{
public:
    // One rename of the run: the file as intake saw it, and the name it was to get.
    struct Entry
    {
        QString folder; // absolute, ending with "/"
        QString oldName;
        QString newName;
        EntryIdentity identity = {};
        qint64 size = 0;
        qint64 dateStamp = -1; // local time of the last change as YYYYMMDDhhmmss, -1 for none
        friend bool operator==(const Entry&, const Entry&) = default;
    };
    using Plan = std::vector<Entry>;

    // Writes the plan of a run before its first rename; false when it could not.
    using Sink = std::function<bool(const Plan& plan)>;

    // A larger file is not read: a million renames with long names stay well below it.
    static constexpr qint64 maxBytes = qint64(512) << 20;

    // $XDG_STATE_HOME/velto/last-run.journal, or below ~/.local/state when the variable is not
    // an absolute path.
    static QString defaultPath();

    static QByteArray encode(const Plan& plan);
    // Nothing for anything that is not a whole, undamaged journal of this version, or holds a
    // name that no rename could have given (empty, ".", "..", "/" or U+0000 in it), a relative
    // folder, or a new name equal to the old one.
    static std::optional<Plan> decode(QByteArrayView bytes);

    // Durably replaces the file at path; false when the path is not a regular file (or a
    // link to one) or absent, or the write failed.
    static bool write(const QString& path, const Plan& plan);
    // Nothing when the path holds no readable, undamaged journal.
    static std::optional<Plan> read(const QString& path);
    // Unlinks the journal; true when there is none afterwards.
    static bool remove(const QString& path);

    // The sink of the program: writes the plan to path. Should that fail, the journal there is
    // removed as well, since it tells of an earlier run, which undo would then take back in
    // place of the last one.
    static Sink writerTo(const QString& path);

    // Said after a run whose journal could not be written.
    static QString notUndoableHint();
};
