#include "app/Form1.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // The words are taken before Qt sees them, so that a path that looks like a Qt option
    // is still a path.
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velto"));
    QApplication::setApplicationVersion(QStringLiteral("1.6"));
    Form1 window(std::move(arguments));
    window.show();
    return QApplication::exec();
}
