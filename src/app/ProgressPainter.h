#pragma once

#include <QElapsedTimer>

class QProgressBar;
class QWidget;

// Keeps the progress bar and the message panel painted during long work that runs on the
// event thread: at most every 100 ms, so that the work itself is not slowed.
class ProgressPainter
{
public:
    ProgressPainter(QProgressBar* bar, QWidget* message) : m_bar(bar), m_message(message) {}

    // Range 0..total, value 0; the message that says what runs is painted before the work.
    void begin(qsizetype total);
    // Paints the bar and the message only: no event is taken, nothing can change meanwhile.
    // With a total, the bar's range follows it (a second phase of the same work).
    void show(qsizetype done, qsizetype total = -1);
    // Paints the value and lets the desktop see the window alive (repaints, window-manager
    // pings), but takes no input.
    void keepAlive(qsizetype value);
    // Paints the value and serves every event, input included: for work that an event filter
    // guards.
    void serve(qsizetype value);
    void end();

private:
    bool due();

    QProgressBar* m_bar;
    QWidget* m_message;
    QElapsedTimer m_clock;
};
