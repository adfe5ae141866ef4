#pragma once

#include <QLineEdit>

// A text field of the main window. The option fields select their whole text when they get
// the focus, and the counter fields let only digits and backspace through from the keyboard;
// the mask field keeps its caret, also when it is reached with Tab.
class FormLineEdit final : public QLineEdit
{
    Q_OBJECT

public:
    enum class Kind { Option, Counter, Mask };
    explicit FormLineEdit(Kind kind, QWidget* parent = nullptr);

    // Whether a typed text may reach a counter field: digits and backspace only.
    static bool isAllowedCounterKey(const QString& typed, int key);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Kind m_kind;
};
