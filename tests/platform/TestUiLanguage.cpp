#include "platform/UiLanguage.h"

#include "TestMain.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Language)

// The language a user gets from the locale settings.
class TestUiLanguage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choose_data();
    void choose();
};

void TestUiLanguage::choose_data()
{
    QTest::addColumn<QString>("lcAll");
    QTest::addColumn<QString>("lcMessages");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<Language>("expected");
    const auto G = Language::German;
    const auto E = Language::English;
    QTest::newRow("English desktop") << QString() << QString() << u"en_US.UTF-8"_s << QStringList{u"en-US"_s}
                                     << E;
    QTest::newRow("German desktop") << QString() << QString() << u"de_DE.UTF-8"_s << QStringList{u"de-DE"_s}
                                    << G;
    QTest::newRow("Austrian") << QString() << QString() << u"de_AT.UTF-8"_s << QStringList{u"de-AT"_s} << G;
    QTest::newRow("French: English") << QString() << QString() << u"fr_FR.UTF-8"_s << QStringList{u"fr-FR"_s}
                                     << E;
    QTest::newRow("Dutch, then German")
        << QString() << QString() << u"nl_NL.UTF-8"_s << QStringList{u"nl-NL"_s, u"de"_s, u"en"_s} << G;
    QTest::newRow("LANGUAGE=en on German")
        << QString() << QString() << u"de_DE.UTF-8"_s << QStringList{u"en"_s, u"de-DE"_s} << E;
    QTest::newRow("Danish is no German")
        << QString() << QString() << u"da_DK.UTF-8"_s << QStringList{u"da-DK"_s, u"dev"_s} << E;
    // The C locale speaks the language of the code, whatever LANGUAGE says.
    QTest::newRow("C.UTF-8, LANGUAGE=en")
        << u"C.UTF-8"_s << QString() << u"en_US.UTF-8"_s << QStringList{u"en"_s} << G;
    QTest::newRow("POSIX messages") << QString() << u"POSIX"_s << u"en_US.UTF-8"_s << QStringList{u"en"_s}
                                    << G;
    QTest::newRow("LANG=C") << QString() << QString() << u"C"_s << QStringList{u"en"_s} << G;
    // LC_ALL before LC_MESSAGES before LANG.
    QTest::newRow("LC_ALL wins") << u"en_GB.UTF-8"_s << u"C"_s << u"C"_s << QStringList{u"en-GB"_s} << E;
    QTest::newRow("LC_MESSAGES before LANG")
        << QString() << u"C.UTF-8"_s << u"en_US.UTF-8"_s << QStringList{u"en-US"_s} << G;
    QTest::newRow("nothing set, LANGUAGE=de")
        << QString() << QString() << QString() << QStringList{u"de"_s} << G;
    QTest::newRow("nothing at all") << QString() << QString() << QString() << QStringList() << E;
}

void TestUiLanguage::choose()
{
    QFETCH(QString, lcAll);
    QFETCH(QString, lcMessages);
    QFETCH(QString, lang);
    QFETCH(QStringList, uiLanguages);
    QFETCH(Language, expected);
    QCOMPARE(UiLanguage::choose(lcAll, lcMessages, lang, uiLanguages), expected);
}

VELTO_TEST_MAIN(TestUiLanguage)
#include "TestUiLanguage.moc"
