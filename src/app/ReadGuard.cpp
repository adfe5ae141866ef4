#include "app/ReadGuard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

ReadGuard::ReadGuard(QWidget* window) : m_window(window)
{
    QCoreApplication::instance()->installEventFilter(this);
}

ReadGuard::~ReadGuard()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool ReadGuard::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            m_stopped = true;
        return true;
    case QEvent::Close:
        if (watched != m_window)
            return false;
        // The window stays; the reading stops, and the user may close it then.
        m_stopped = true;
        event->ignore();
        return true;
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}
