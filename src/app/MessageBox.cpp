#include "app/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

namespace {
MessageBox::Answer nextAnswer = MessageBox::Answer::None;
QString lastAnsweredText;
} // namespace

MessageBox::Answer MessageBox::okCancel(QWidget* parent, const QString& title, const QString& text,
                                        const QString& details)
{
    if (nextAnswer != Answer::None) {
        const Answer answer = nextAnswer;
        nextAnswer = Answer::None;
        lastAnsweredText = text;
        return answer;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
    // Paths are shown as they are, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    if (!details.isEmpty())
        box.setDetailedText(details);
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

void MessageBox::setNextAnswer(Answer answer)
{
    nextAnswer = answer;
}

QString MessageBox::lastText()
{
    return lastAnsweredText;
}
