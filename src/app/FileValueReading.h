#pragma once

#include <functional>

class CandidateModel;
class MetadataSource;
class ProgressPainter;
class QWidget;

// Reads the values from inside the files of every row not read yet, with the progress painted
// and the window served, taking no input but Esc meanwhile (see ReadGuard). Rows that Esc left
// unread are marked so and read at the next need.
class FileValueReading
{
public:
    FileValueReading(QWidget* window, CandidateModel& model, MetadataSource& source,
                     ProgressPainter& progress)
        : m_window(window), m_model(model), m_source(source), m_progress(progress)
    {
    }

    // False when the user stopped it. `starting` is told before any file is read, only when
    // there is something to read, so that the window can say what runs.
    bool readMissing(const std::function<void()>& starting);

private:
    QWidget* m_window;
    CandidateModel& m_model;
    MetadataSource& m_source;
    ProgressPainter& m_progress;
};
