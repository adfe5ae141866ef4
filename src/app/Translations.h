#pragma once

#include "platform/UiLanguage.h"

#include <QString>

// The texts of the running application in one language: Velto's own, and Qt's with them (the
// buttons of message and file dialogs, key names in menus).
class Translations
{
public:
    // Replaces whatever an earlier call installed; the same language again changes nothing.
    // German, the language of the texts in the code, installs Qt's German texts and the German
    // key names; English installs Velto's English texts, Qt's own being English. Windows built
    // before the call keep their texts.
    static void install(Language language);

    // The language install() set last; German before any call.
    static Language current();

    // A text of Velto's in `language` while there is no application yet.
    static QString text(Language language, const char* context, const char* source);
};
