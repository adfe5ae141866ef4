#include "app/ProgressPainter.h"

#include <QCoreApplication>
#include <QProgressBar>

namespace {
constexpr int RepaintMs = 100;
}

void ProgressPainter::begin(qsizetype total)
{
    m_bar->setRange(0, static_cast<int>(qMin<qsizetype>(total, INT_MAX)));
    m_bar->setValue(0);
    m_message->repaint();
    m_bar->repaint();
    m_clock.start();
}

bool ProgressPainter::due()
{
    if (m_clock.elapsed() < RepaintMs)
        return false;
    m_clock.restart();
    return true;
}

void ProgressPainter::show(qsizetype done, qsizetype total)
{
    if (!due())
        return;
    if (total >= 0 && total != m_bar->maximum())
        m_bar->setRange(0, static_cast<int>(qMin<qsizetype>(total, INT_MAX)));
    m_bar->setValue(static_cast<int>(qMin<qsizetype>(done, m_bar->maximum())));
    m_bar->repaint();
    m_message->repaint();
}

void ProgressPainter::keepAlive(qsizetype value)
{
    if (!due())
        return;
    m_bar->setValue(static_cast<int>(qMin<qsizetype>(value, m_bar->maximum())));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressPainter::serve(qsizetype value)
{
    if (due())
        m_bar->setValue(static_cast<int>(qMin<qsizetype>(value, m_bar->maximum())));
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void ProgressPainter::end()
{
    m_bar->setValue(0);
}
