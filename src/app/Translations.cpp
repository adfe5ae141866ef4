#include "app/Translations.h"

#include "widgets/KeyNames.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Parented to the application, so that none outlives it.
std::vector<QPointer<QTranslator>> installed;
Language installedLanguage = Language::German;

// Velto's English texts, built into the program from translations/velto_en.ts.
const QString OwnEnglish = u":/i18n/velto_en.qm"_s;

} // namespace

void Translations::install(Language language)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || (language == installedLanguage && !installed.empty()))
        return;
    for (const QPointer<QTranslator>& translator : installed)
        delete translator.data(); // leaves the application's list as it goes
    installed.clear();
    installedLanguage = language;

    const auto add = [app](QTranslator* translator) {
        QCoreApplication::installTranslator(translator);
        installed.emplace_back(translator);
    };
    if (language == Language::English) {
        auto* own = new QTranslator(app);
        if (own->load(OwnEnglish))
            add(own);
        else
            delete own;
        return;
    }
    // Where the system lacks Qt's German texts, the key names at least stay German. Installed
    // first, so that Qt's own say the last word where they have one.
    add(KeyNames::german(app));
    auto* qt = new QTranslator(app);
    if (qt->load(QLocale(QLocale::German, QLocale::Germany), u"qtbase"_s, u"_"_s,
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        add(qt);
    else
        delete qt;
}

Language Translations::current()
{
    return installedLanguage;
}

QString Translations::text(Language language, const char* context, const char* source)
{
    if (language == Language::English) {
        QTranslator own;
        if (own.load(OwnEnglish)) {
            if (QString translated = own.translate(context, source); !translated.isEmpty())
                return translated;
        }
    }
    return QString::fromUtf8(source);
}
