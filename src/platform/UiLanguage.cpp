#include "platform/UiLanguage.h"

#include <QLocale>

namespace {

// "C", "POSIX", "C.UTF-8", "POSIX.utf8": the locale without a language.
bool isPlainLocale(const QString& locale)
{
    const QStringView name = QStringView(locale).left(locale.indexOf(u'.'));
    return name == u"C" || name == u"POSIX";
}

// "de", "de-AT", "de_CH.UTF-8" speak German.
bool speaks(const QString& entry, QStringView language)
{
    return entry.startsWith(language) && (entry.size() == language.size() || entry[language.size()] == u'-' ||
                                          entry[language.size()] == u'_');
}

} // namespace

Language UiLanguage::choose(const QString& lcAll, const QString& lcMessages, const QString& lang,
                            const QStringList& uiLanguages)
{
    const QString& messages = !lcAll.isEmpty() ? lcAll : !lcMessages.isEmpty() ? lcMessages : lang;
    if (!messages.isEmpty() && isPlainLocale(messages))
        return Language::German;
    for (const QString& entry : uiLanguages) {
        if (speaks(entry, u"de"))
            return Language::German;
        if (speaks(entry, u"en"))
            return Language::English;
    }
    return Language::English;
}

Language UiLanguage::fromEnvironment()
{
    return choose(qEnvironmentVariable("LC_ALL"), qEnvironmentVariable("LC_MESSAGES"),
                  qEnvironmentVariable("LANG"), QLocale::system().uiLanguages());
}
