#pragma once

#include "plan/RunJournal.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>

class CandidateModel;
class FileSystem;

// One rename that failed: the file, the path it should have got, and why.
struct RenameFailure
{
    enum class Kind
    {
        Refused,  // the system refused the rename, or the look before it: see error
        Replaced, // the entry is no longer the file that was taken in; nothing was renamed
        Lost,     // the rename failed, and afterwards the file is not found under its name
    };
    QString PathName;
    QString Target; // Folder + NewName
    int error = 0;  // errno of the refusal, or of the failed rename that lost the file
    Kind kind = Kind::Refused;
};

// The rename run: gives every marked row's file its new name, from the last row to the
// first, and takes the renamed rows out of the list. A failed row stays, still marked.
class RenameRun
{
    Q_DECLARE_TR_FUNCTIONS(RenameRun)

public:
    // value = row count at the start - position of the row (from 1): the last row shows 0.
    using Progress = std::function<void(int value)>;
    // Asked after each failure; true goes on with the next marked row upwards, false stops.
    using AskGoOn = std::function<bool(const RenameFailure& failure)>;

    struct Outcome
    {
        QStringList renamedNames; // new names of the successful renames, in the order of the run
        qsizetype failed = 0;
        bool stopped = false;
        // The journal could not be written, so the run cannot be taken back: say
        // RunJournal::notUndoableHint().
        bool journalFailed = false;
    };

    // Works on a snapshot of the marked rows taken at the start. A new name equal to the old
    // one counts as done without touching the disk; one holding "/" or U+0000 fails without
    // a system call. Any other row's entry is looked at first: it is renamed only when it is
    // still the file that intake took in (same identity, not a folder). A rename that fails
    // is followed by a second look, which tells whether the failure took the file with it.
    // Renamed rows leave the model in one removal before each question and at the end, so
    // that the list behind the question is current and a long run is not quadratic. One look
    // and one rename call per marked row, and one more look per failed rename.
    // Before the first rename, the plan of the renames to come goes to the journal sink, unless
    // there are none; a sink that fails does not stop the run. At the end, finished or stopped,
    // the renames that happened go to the sink once more.
    static Outcome run(CandidateModel& model, FileSystem& fs, const Progress& progress,
                       const AskGoOn& askGoOn, const RunJournal::Sink& journal = {});

    // The seven lines of the failure message.
    static QString failureText(const RenameFailure& failure);
    // Why the rename failed, in a sentence, for the message's details.
    static QString reasonText(const RenameFailure& failure);
    // Said where a failed rename took the file with it, as some drivers do when they refuse a
    // name: the user must not be told that it kept its name.
    static QString lostText();
};
