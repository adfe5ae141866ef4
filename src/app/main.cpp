#include "app/Form1.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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
    QApplication::setDesktopFileName(QStringLiteral("velto"));
    QIcon icon;
    for (int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/icons/velto-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    // Velto speaks German; Qt's own texts (details buttons, edit menus) should too.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    Form1 window(std::move(arguments));
    window.show();
    return QApplication::exec();
}
