#pragma once

#include <QString>

class QWidget;

// The program's modal questions. Tests answer the next question in advance, so that no
// test waits on a dialog (as KeePassXC's MessageBox does).
class MessageBox
{
public:
    enum class Answer
    {
        None,
        Ok,
        Cancel
    };

    // Title, plain text and buttons "OK" (the default) and "Abbrechen", no icon. The details,
    // if any, sit behind the box's details button. Escape and closing the box answer Cancel.
    static Answer okCancel(QWidget* parent, const QString& title, const QString& text,
                           const QString& details = QString());

    // An information icon, the text and one OK button, and the details, if any, behind the
    // details button. Announced as a dialog, not an alert: it answers the user's own question.
    static void information(QWidget* parent, const QString& title, const QString& text,
                            const QString& details = QString());

    // A warning icon, the text and one OK button: something the user asked for did not happen.
    static void warning(QWidget* parent, const QString& title, const QString& text);

    // The next question or information returns this answer at once instead of showing itself.
    // Called again before that, it answers the box after it as well, in turn; None drops
    // the answers not yet used.
    static void setNextAnswer(Answer answer);
    // The text of the last box answered in advance.
    static QString lastText();
};
