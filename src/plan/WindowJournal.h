#pragma once

#include "plan/RunJournal.h"
#include "platform/JournalFolder.h"

#include <QString>

#include <memory>
#include <vector>

// The journals of one window's rename runs. Each run's plan goes to a journal of its own, which
// the window holds for as long as it is open. Its undo takes back exactly its own last run, or,
// before its first run, the newest run of a Velto that no longer runs (closed, killed, or cut
// off by a power loss), so that another open window's run stays that window's. One level: after
// an undo, there is nothing more to take back until the next run.
class WindowJournal
{
public:
    explicit WindowJournal(QString folder) : m_folder(std::move(folder)) {}

    // The sink of the window's rename runs.
    RunJournal::Sink sink();

    // The run an undo takes back, its journal locked so that no other undo works on it
    // meanwhile; or, with no file, the message that says why there is none.
    struct Claim
    {
        std::unique_ptr<JournalFile> file;
        RunJournal::Plan plan;
        QString refusal;
    };
    Claim claim();
    // After the undo of a claim: its journal is removed, and the window has nothing left to undo.
    void undone(Claim claim);
    // After a claim that was not taken back after all (the question answered with Abbrechen).
    void keep(Claim claim);
    // Whether an undo has anything to try or to say; looks only, for the menu item.
    bool mayUndo() const;

private:
    enum class Last
    {
        NoRun,        // this window has run nothing yet
        Journaled,    // its last run is in the newest held journal
        NotJournaled, // its last run could not be journaled
        Nothing,      // taken back already, or the run renamed nothing
    };
    JournalFolder m_folder;
    Last m_last = Last::NoRun;
    qsizetype m_planned = 0; // renames in the plan of the journaled last run
    // The journals of this window's runs, the last run's last, held for their locks.
    std::vector<std::unique_ptr<JournalFile>> m_held;
};
