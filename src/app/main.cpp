#include "app/Form1.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // Every word after the program's name is a file path. Qt is handed only the name, so that
    // a file called "-platform" or "-stylesheet" is a file, not an option.
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));

    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("Velto"));
    QApplication::setApplicationVersion(QStringLiteral("1.6"));
    Form1 window(std::move(arguments));
    window.show();
    return QApplication::exec();
}
