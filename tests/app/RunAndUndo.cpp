// A Velto window for the test of two windows: it renames the files on its command line with
// the mask "<prefix>[NAME][TYP]" and says "renamed"; told "undo" on standard input, it takes
// back its last run as Ctrl+Z does, says the summary, and ends.
// Arguments: the prefix, then the files.
#include "app/Form1.h"
#include "app/FormLineEdit.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>

#include <unistd.h>

int main(int argc, char** argv)
{
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    if (argc < 3)
        return 2;
    const QString prefix = QFile::decodeName(argv[1]);
    QList<QByteArray> files;
    for (int i = 2; i < argc; ++i)
        files.append(argv[i]);

    Form1 form(files, 0);
    form.show();
    bool started = false;
    QObject::connect(&form, &Form1::checkFinished, [&] {
        if (started || !form.planOk())
            return;
        started = true;
        QTimer::singleShot(0, [&] {
            form.controls().Btn[Button::Rename]->click();
            std::puts("renamed");
            std::fflush(stdout);
        });
    });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[16] = {};
        if (::read(STDIN_FILENO, line, sizeof line - 1) <= 0 || QByteArray(line).trimmed() != "undo") {
            QApplication::exit(1);
            return;
        }
        // The question and the summary.
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        auto* undo = form.findChild<QShortcut*>(QStringLiteral("UndoShortcut"));
        QMetaObject::invokeMethod(undo, "activated", Qt::DirectConnection);
        std::printf("%s\n", qPrintable(MessageBox::lastText()));
        std::fflush(stdout);
        QApplication::exit(0);
    });
    form.controls().Maske->setText(prefix + QStringLiteral("[NAME][TYP]"));
    return app.exec();
}
