#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void Clipboard::putText(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}
