#pragma once

#include <QLineEdit>

// A text field of the main window. The option fields select their whole text when they get
// the focus, and the counter fields let only digits and backspace through from the keyboard;
// the mask field keeps its caret, also when it is reached with Tab.
class FormLineEdit final : public QLineEdit
{
    Q_OBJECT

public:
    enum class Kind
    {
        Option,
        Counter,
        Mask
    };
    explicit FormLineEdit(Kind kind, QWidget* parent = nullptr);

    // Whether a typed text may reach a counter field: digits and backspace only.
    static bool isAllowedCounterKey(const QString& typed, int key);

    // Replaces the selection the field had when it last lost the focus (or, while it has the
    // focus, its current one) by the text; without a selection the text goes to the caret.
    void insertAtLastSelection(const QString& text);

Q_SIGNALS:
    // The mask field's context menu: a token from "Angaben aus der Datei" was chosen.
    void tokenChosen(const QString& token);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Kind m_kind;
    // QLineEdit drops its selection when the focus leaves; the mask keeps it for the token
    // buttons, which take the focus when clicked.
    int m_lastSelectionStart = -1;
    int m_lastSelectionLength = 0;
};
