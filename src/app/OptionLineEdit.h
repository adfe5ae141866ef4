#pragma once

#include <QLineEdit>

// A text field of the option frames: it selects its whole text when it gets the focus and,
// for the counter fields, lets only digits and backspace through from the keyboard.
class OptionLineEdit final : public QLineEdit
{
    Q_OBJECT

public:
    enum class Keys { Any, DigitsOnly };
    explicit OptionLineEdit(Keys keys, QWidget* parent = nullptr);

    // Whether a typed text may reach a counter field: digits and backspace only.
    static bool isAllowedCounterKey(const QString& typed, int key);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Keys m_keys;
};
