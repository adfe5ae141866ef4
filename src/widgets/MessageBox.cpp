#include "widgets/MessageBox.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QList>
#include <QMessageBox>
#include <QPushButton>

namespace {
QList<MessageBox::Answer> nextAnswers;
QString lastAnsweredText;

const QString InformationName = QStringLiteral("ShowInfo");

bool answeredInAdvance(const QString& text, MessageBox::Answer& answer)
{
    if (nextAnswers.isEmpty())
        return false;
    answer = nextAnswers.takeFirst();
    lastAnsweredText = text;
    return true;
}

// Qt announces every message box as an alert; the information box is a plain dialog.
QAccessibleInterface* informationAccessible(const QString& className, QObject* object)
{
    if (className != QLatin1String("QMessageBox") || object->objectName() != InformationName)
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Dialog,
                                 static_cast<QWidget*>(object)->windowTitle());
}

} // namespace

MessageBox::Answer MessageBox::okCancel(QWidget* parent, const QString& title, const QString& text,
                                        const QString& details)
{
    if (Answer answer; answeredInAdvance(text, answer))
        return answer;
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
    // Paths are shown as they are, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.button(QMessageBox::Cancel)->setText(QCoreApplication::translate("MessageBox", "Abbrechen"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    if (!details.isEmpty())
        box.setDetailedText(details);
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

void MessageBox::setNextAnswer(Answer answer)
{
    if (answer == Answer::None)
        nextAnswers.clear();
    else
        nextAnswers.append(answer);
}

QString MessageBox::lastText()
{
    return lastAnsweredText;
}

void MessageBox::information(QWidget* parent, const QString& title, const QString& text,
                             const QString& details)
{
    if (Answer answer; answeredInAdvance(text, answer))
        return;
    static const bool factoryInstalled = (QAccessible::installFactory(informationAccessible), true);
    Q_UNUSED(factoryInstalled);
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box.setObjectName(InformationName);
    box.setTextFormat(Qt::PlainText);
    box.setAccessibleDescription(text);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
}

void MessageBox::warning(QWidget* parent, const QString& title, const QString& text)
{
    if (Answer answer; answeredInAdvance(text, answer))
        return;
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
