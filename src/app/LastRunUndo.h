#pragma once

#include <QString>
#include <QStringList>

class CandidateModel;
class FileSystem;
class ProgressPainter;
class QWidget;

// Takes back the last rename run for the main window: asks first, counting the files that
// will really go back, renames them back with the progress painted, sums up at the end, and
// takes the rows still listed under the names they left out of the list. The journal on disk
// is the only state, so the undo works after a restart or a crash too.
class LastRunUndo
{
public:
    LastRunUndo(QWidget* window, CandidateModel& model, FileSystem& fs, ProgressPainter& progress,
                QString journalPath)
        : m_window(window), m_model(model), m_fs(fs), m_progress(progress),
          m_journalPath(std::move(journalPath))
    {
    }

    // Whether a journal is there to try; cheap, for the menu item. A damaged one is found
    // out only when the undo reads it.
    bool available() const;

    // The whole undo with its question and summary; the paths of the files that have their old
    // names again, for the window to take in. Empty when nothing moved: no journal, nothing
    // that could go back, or the question answered with Abbrechen.
    QStringList run();

private:
    QWidget* m_window;
    CandidateModel& m_model;
    FileSystem& m_fs;
    ProgressPainter& m_progress;
    QString m_journalPath;
};
