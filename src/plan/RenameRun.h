#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class CandidateModel;
class FileSystem;

// One rename that failed: the file, the path it should have got, and the system's reason.
struct RenameFailure
{
    QString PathName;
    QString Target; // Folder + NewName
    int error = 0;  // errno
};

// The rename run: gives every marked row's file its new name, from the last row to the
// first, and takes the renamed rows out of the list. A failed row stays, still marked.
class RenameRun
{
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
    };

    // Works on a snapshot of the marked rows taken at the start. A new name equal to the old
    // one counts as done without touching the disk; one holding "/" or U+0000 fails without
    // a system call. Renamed rows leave the model in one removal before each question and
    // at the end, so that the list behind the question is current and a long run is not
    // quadratic. One rename call per marked row.
    static Outcome run(CandidateModel& model, FileSystem& fs, const Progress& progress,
                       const AskGoOn& askGoOn);

    // The seven lines of the failure message.
    static QString failureText(const RenameFailure& failure);
    // The system's reason in a sentence, for the message's details.
    static QString reasonText(int error);
};
