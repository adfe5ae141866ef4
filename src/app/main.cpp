#include "app/Form1.h"
#include "app/ProgramIdentity.h"
#include "app/Translations.h"
#include "platform/MemoryPolicy.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    MemoryPolicy::apply();
    // Every word after the program's name is a file path. Qt is handed only the name, so that
    // a file called "-platform" or "-stylesheet" is a file, not an option. The words are read
    // where the system put them, which lasts as long as the program: no copy of each.
    QList<QByteArray> arguments;
    arguments.reserve(argc - 1);
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray::fromRawData(argv[i], qsizetype(std::strlen(argv[i]))));

    const Language language = UiLanguage::fromEnvironment();
    // Without a display Qt aborts, advising to reinstall the program. A platform chosen by
    // name (the tests choose "offscreen") needs none.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        const QString line = Translations::text(
            language, "main",
            QT_TRANSLATE_NOOP("main", "Velto braucht eine grafische Sitzung (DISPLAY oder WAYLAND_DISPLAY "
                                      "ist nicht gesetzt)."));
        std::fputs((line + u'\n').toLocal8Bit().constData(), stderr);
        return 1;
    }

    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    ProgramIdentity::apply();
    Translations::install(language);
    Form1 window(std::move(arguments));
    window.show();
    return QApplication::exec();
}
