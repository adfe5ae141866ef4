#include "app/FormLineEdit.h"

#include "app/FileValueTokens.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QTimer>

using namespace Qt::StringLiterals;

FormLineEdit::FormLineEdit(Kind kind, QWidget* parent) : QLineEdit(parent), m_kind(kind) {}

bool FormLineEdit::isAllowedCounterKey(const QString& typed, int key)
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

void FormLineEdit::focusInEvent(QFocusEvent* event)
{
    if (m_kind == Kind::Mask) {
        // QLineEdit selects everything when Tab brings the focus; the mask keeps its caret
        // so that a token goes where the user left off.
        QFocusEvent plain(event->type(), Qt::OtherFocusReason);
        QLineEdit::focusInEvent(&plain);
        return;
    }
    QLineEdit::focusInEvent(event);
    selectAll();
    // A mouse click that brought the focus places the caret after this event; selecting
    // again on the next turn of the event loop keeps the whole text selected.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus())
            selectAll();
    });
}

void FormLineEdit::focusOutEvent(QFocusEvent* event)
{
    m_lastSelectionStart = selectionStart();
    m_lastSelectionLength = selectionLength();
    QLineEdit::focusOutEvent(event);
}

void FormLineEdit::insertAtLastSelection(const QString& text)
{
    if (!hasFocus() && m_lastSelectionStart >= 0 && m_lastSelectionLength > 0 &&
        m_lastSelectionStart + m_lastSelectionLength <= this->text().size())
        setSelection(m_lastSelectionStart, m_lastSelectionLength);
    m_lastSelectionStart = -1;
    insert(text);
}

void FormLineEdit::keyPressEvent(QKeyEvent* event)
{
    // Control characters (the copy, cut, paste and undo combinations among them) are typed
    // characters too and are discarded like letters.
    if (m_kind == Kind::Counter && !isAllowedCounterKey(event->text(), event->key())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FormLineEdit::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_kind != Kind::Mask) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    // The field's own menu, with the tokens read from inside the files added.
    QPointer<QMenu> menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    QMenu* values = menu->addMenu(tr("Angaben aus der Datei"));
    values->setObjectName(u"FileValueMenu"_s);
    QMenu* photo = values->addMenu(tr("Foto"));
    QMenu* music = values->addMenu(tr("Musik"));
    for (const FileValueToken& token : FileValueTokens) {
        const QString text = token.token.toString();
        QAction* item = (token.photo ? photo : music)->addAction(text + u" – "_s + tr(token.description));
        connect(item, &QAction::triggered, this, [this, text] { Q_EMIT tokenChosen(text); });
    }
    menu->popup(event->globalPos());
}
