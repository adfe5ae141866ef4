#pragma once

#include <QString>
#include <QStringList>

class CandidateModel;
class FileSystem;
class ProgressPainter;
class QWidget;
class WindowJournal;

// Takes back the window's last rename run: asks first, counting the files that will really go
// back and saying when the run took place, renames them back with the progress painted, sums
// up at the end, and takes the rows still listed under the names they left out of the list.
// The journals on disk tell what to take back, so the undo works after a restart or a crash.
class LastRunUndo
{
public:
    LastRunUndo(QWidget* window, CandidateModel& model, FileSystem& fs, ProgressPainter& progress,
                WindowJournal& journal)
        : m_window(window), m_model(model), m_fs(fs), m_progress(progress), m_journal(journal)
    {
    }

    // Whether an undo has anything to try or to say; cheap, for the menu item. A damaged
    // journal is found out only when the undo reads it.
    bool available() const;

    // The whole undo with its question and summary; the paths of the files that have their old
    // names again, for the window to take in. Empty when nothing moved: no journal, one that
    // another window is taking back, nothing that could go back, or the question answered
    // with Abbrechen.
    QStringList run();

private:
    QWidget* m_window;
    CandidateModel& m_model;
    FileSystem& m_fs;
    ProgressPainter& m_progress;
    WindowJournal& m_journal;
};
