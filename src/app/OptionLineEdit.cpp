#include "app/OptionLineEdit.h"

#include <QKeyEvent>
#include <QTimer>

OptionLineEdit::OptionLineEdit(Keys keys, QWidget* parent) : QLineEdit(parent), m_keys(keys) {}

bool OptionLineEdit::isAllowedCounterKey(const QString& typed, int key)
{
    // Keys without a character (cursor keys, Delete, Tab) are not typing and pass.
    if (typed.isEmpty() || key == Qt::Key_Backspace)
        return true;
    for (QChar c : typed) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

void OptionLineEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // A mouse click that brought the focus places the caret after this event; selecting on
    // the next turn of the event loop keeps the whole text selected.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus())
            selectAll();
    });
    selectAll();
}

void OptionLineEdit::keyPressEvent(QKeyEvent* event)
{
    // Control characters (the copy, cut, paste and undo combinations among them) are typed
    // characters too and are discarded like letters.
    if (m_keys == Keys::DigitsOnly && !isAllowedCounterKey(event->text(), event->key())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
