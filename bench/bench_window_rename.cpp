// The whole rename run of 100,000 files through the window, from the click on "Umtaufen!"
// to the final status: the stored scenario, the run, the removal of the rows and the check.
// Runs on Qt's offscreen platform with a temporary home folder.
#include "app/Form1.h"
#include "platform/MemoryPolicy.h"
#include "BenchHome.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    MemoryPolicy::apply(); // as the program sets it
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const BenchHome home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    QTemporaryDir dir;
    QList<QByteArray> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.append(QFile::encodeName(dir.filePath(u"IMG_%1.jpg"_s.arg(i))));
        const int fd = ::open(arguments.constLast().constData(), O_CREAT | O_WRONLY, 0644);
        if (fd < 0)
            return 1;
        ::close(fd);
    }
    Form1 window(arguments, 1);
    window.findChild<QLineEdit*>(u"Maske"_s)->setText(u"Urlaub_[ZAHL][TYP]"_s);
    auto* rename = window.findChild<QPushButton*>(u"Btn_8"_s);
    while (!rename->isEnabled())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);

    QElapsedTimer clock;
    clock.start();
    rename->click();
    const qint64 ms = clock.elapsed();
    std::printf("%d rows: click to final status %lld ms; status \"%s\"\n", count, static_cast<long long>(ms),
                qPrintable(window.findChild<QLabel*>(u"Status_1"_s)->text()));
    return 0;
}
