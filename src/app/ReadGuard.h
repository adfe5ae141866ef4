#pragma once

#include <QObject>

class QWidget;

// While the files' values are read, the window serves its events (paints, timers, the
// desktop's pings) but takes no input: an edit now would change the list under the reading.
// Only Esc passes, and stops the reading, as closing the window does.
class ReadGuard final : public QObject
{
    Q_OBJECT

public:
    explicit ReadGuard(QWidget* window);
    ~ReadGuard() override;
    ReadGuard(const ReadGuard&) = delete;
    ReadGuard& operator=(const ReadGuard&) = delete;

    bool stopped() const { return m_stopped; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    bool m_stopped = false;
};
