#pragma once

#include "platform/EntryIdentity.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The plan of a rename run, kept on disk so that the run can be taken back even after Velto was
// closed or killed in the middle of it. It is written durably before the first rename, and once
// more at the end with the renames that happened; nothing is written per rename, since the disk
// itself tells afterwards which renames of a killed run happened.
//
// The file is text, one line per rename in the order of the run:
//   velto run journal 1
//   <folder> TAB <old name> TAB <new name> TAB <device> TAB <inode> TAB <size> TAB <date stamp>
//   end <count> <FNV-1a 64 of all bytes before this line, 16 lowercase hex digits>
// The text fields are UTF-8 with "%", DEL and every control character (tab and line breaks
// among them) written as %HH, so that any name a folder allows round-trips. Numbers are decimal.
class RunJournal
{
    Q_DECLARE_TR_FUNCTIONS(RunJournal)

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

    // Where a run's plan goes: all of it before the first rename (false when it could not be
    // written), and at the end, finished or stopped, only the renames that happened, so that an
    // undo blames no file the run never touched. A run killed midway leaves the whole plan.
    struct Sink
    {
        std::function<bool(const Plan& plan)> begin;
        std::function<void(const Plan& done)> finish;
        explicit operator bool() const { return bool(begin); }
    };

    static QByteArray encode(const Plan& plan);
    // Nothing for anything that is not a whole, undamaged journal of this version, or holds a
    // name that no rename could have given (empty, ".", "..", "/" or U+0000 in it), a relative
    // folder, or a new name equal to the old one.
    static std::optional<Plan> decode(QByteArrayView bytes);

    // Said after a run whose journal could not be written.
    static QString notUndoableHint();
};
