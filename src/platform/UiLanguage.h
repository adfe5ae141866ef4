#pragma once

#include <QString>
#include <QStringList>

// The languages Velto's windows speak. German is the language of the texts in the code; English
// comes from the translation built into the program.
enum class Language
{
    German,
    English,
};

// Which language a user gets, read from the locale settings of the environment.
class UiLanguage
{
public:
    // German where the locale that sets the language of messages (LC_ALL, else LC_MESSAGES,
    // else LANG: the first that is set) is C or POSIX, whatever LANGUAGE says, as gettext takes
    // it; otherwise the first German or English entry of `uiLanguages`; English where there is
    // none, so that a French desktop gets English.
    static Language choose(const QString& lcAll, const QString& lcMessages, const QString& lang,
                           const QStringList& uiLanguages);

    // choose() over this process's environment and QLocale::system().uiLanguages(), which reads
    // LANGUAGE. Needs no application object.
    static Language fromEnvironment();
};
