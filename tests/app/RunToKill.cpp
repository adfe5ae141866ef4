// A Velto window that starts a rename run of the files on its command line by itself, for the
// test that kills it in the middle of that run. The first argument names a file to delete
// once the plan has passed its check, so that the run stops at that file with its question;
// "question" goes to standard output once the question is open. The rest are the files.
#include "app/Form1.h"
#include "app/FormLineEdit.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString removeBehindCheck = QFile::decodeName(argv[1]);
    QList<QByteArray> files;
    for (int i = 2; i < argc; ++i)
        files.append(argv[i]);

    Form1 form(files, 0);
    form.show();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [] {
        if (QApplication::activeModalWidget()) {
            std::puts("question");
            std::fflush(stdout);
        }
    });
    bool started = false;
    QObject::connect(&form, &Form1::checkFinished, [&] {
        if (started || !form.planOk())
            return;
        started = true;
        QTimer::singleShot(0, [&] {
            QFile::remove(removeBehindCheck);
            watch.start(20);
            form.controls().Btn[Button::Rename]->click();
            std::puts("finished"); // the question never came
            QApplication::exit(1);
        });
    });
    form.controls().Maske->setText(QStringLiteral("K_[NAME][TYP]"));
    return app.exec();
}
