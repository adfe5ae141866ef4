#pragma once

#include "plan/RunJournal.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class FileSystem;
struct CandidateRow;

// A file of the journal that could not get its old name back: the path the run gave it, and why.
struct UndoFailure
{
    QString path;
    QString reason;
};

// Takes back the last rename run from its journal: every file the run renamed, and that is still
// under its new name while its old name is free, gets its old name again, in the reverse order of
// the run. Nothing is ever overwritten.
class UndoRun
{
    Q_DECLARE_TR_FUNCTIONS(UndoRun)

public:
    enum class State
    {
        GoesBack,   // the new name holds the journal's file and the old name is free
        NotRenamed, // the old name still holds the file and the new one does not: never reached
        Blocked,    // neither: see reason
    };
    struct Step
    {
        RunJournal::Entry entry;
        State state = State::Blocked;
        QString reason; // for Blocked, a sentence for the summary's details
    };
    struct Prepared
    {
        std::vector<Step> steps; // in the reverse order of the run
        qsizetype goesBack = 0;  // what the question asks about
    };
    struct Outcome
    {
        QStringList restored;              // folder + old name of each file that went back, in turn
        std::vector<UndoFailure> failures; // in the reverse order of the run
    };
    // Told before each entry is looked at (prepare) or each file is renamed (run), with the
    // count of those done; run counts the files that go back only.
    using Progress = std::function<void(qsizetype done)>;

    // Looks at the disk for each entry: the entry under its new name is the journal's file when
    // it is a regular file (never a link) with the journal's inode number, size and last change;
    // the device may differ, after the file system was mounted again. One look per name, and a
    // listing of the folder for a change of letter case only when both spellings name something.
    static Prepared prepare(const FileSystem& fs, const RunJournal::Plan& plan,
                            const Progress& progress = {});

    // Renames each file that goes back, after looking at both of its names once more, since the
    // disk may have changed since prepare(). Leaves the journal to the caller: there is one
    // level of undo, and a journal left behind by a crash in the middle does no harm, since the
    // files that went back count as not renamed the next time.
    static Outcome run(FileSystem& fs, const Prepared& prepared, const Progress& progress);

    // The positions of the rows still listed under a name that an undo gave back: they would
    // name nothing now.
    static std::vector<int> staleRows(const Prepared& prepared, const Outcome& outcome,
                                      const std::vector<CandidateRow>& rows);

    // "Die letzte Umbenennung rückgängig machen? 12 Dateien bekommen ihren alten Namen zurück.",
    // and, for a valid start, " Sie fand am 09.12.2026 um 16:41:39 statt." in local time.
    static QString questionText(qsizetype goesBack, const QDateTime& started = {});
    // "12 Dateien haben ihren alten Namen zurück.", followed, when some could not, by a line
    // "3 Dateien konnten nicht zurück."
    static QString summaryText(const Outcome& outcome);
    // One line per file that could not go back: its path, " - " and the reason.
    static QString detailsText(const Outcome& outcome);
    // Shown when there is no journal, a damaged one, or no file in it that could go back.
    static QString nothingToUndoText();
    // Shown when the window's last run could not be journaled: nothing older is taken back.
    static QString notJournaledText();
    // Shown when another process is taking back the run already.
    static QString busyText();
};
