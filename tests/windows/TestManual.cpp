#include "plan/PlanCheck.h"
#include "list/FileValuesTable.h"
#include "list/PlanTest.h"
#include "naming/FileValueKinds.h"
#include "naming/MaskTranslator.h"
#include "naming/RegexReplace.h"
#include "document/RtfReader.h"

#include "TestMain.h"

#include <QFile>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

// The manual's text, paragraphs on lines of their own; line breaks and tabs inside a paragraph
// read as blanks for the search.
QString manualText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const RtfDocument document = RtfReader::parse(file.readAll());
    QString text;
    for (const RtfParagraph& paragraph : document.paragraphs) {
        for (const RtfRun& run : paragraph.runs)
            text += run.text;
        text += u'\n';
    }
    return text.replace(QChar(0x2028), u' ').replace(u'\t', u' ');
}

} // namespace

// The shipped manuals read as text and quote the program's messages as the program shows them
// in their language, so that a user can look up what the status line says.
class TestManual : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quotesEveryCheckMessage_data();
    void quotesEveryCheckMessage();
};

void TestManual::quotesEveryCheckMessage_data()
{
    QTest::addColumn<QString>("manual");
    QTest::addColumn<QString>("translation"); // none: the German texts of the code
    QTest::newRow("German") << QStringLiteral(VELTO_HELP_FILE) << QString();
    QTest::newRow("English") << QStringLiteral(VELTO_HELP_EN_FILE) << QStringLiteral(VELTO_ENGLISH_QM);
}

void TestManual::quotesEveryCheckMessage()
{
    QFETCH(QString, manual);
    QFETCH(QString, translation);
    const QString text = manualText(manual);
    QVERIFY(text.size() > 10000);
    QTranslator english;
    if (!translation.isEmpty()) {
        QVERIFY(english.load(translation));
        QCoreApplication::installTranslator(&english);
    }

    const QString renameButton = QCoreApplication::translate("Form1", "&Umtaufen!").remove(u'&');
    QStringList messages{
        PlanCheck::successMessage(renameButton),
        QCoreApplication::translate("RenameRun", "Folgende Datei ließ sich nicht umbenennen:"),
        QCoreApplication::translate(
            "RenameRun", "Klicken Sie 'OK', um fortzusetzen oder 'Abbrechen' um die Aktion zu beenden.")};
    for (const PlanTest& test : PlanTests) {
        messages << PlanTest::translate(test.message);
        if (test.markText)
            messages << PlanTest::translate(test.markText);
    }
    PlanResult lacking;
    lacking.ValuesComplete = false;
    messages << PlanCheck::failureMessage(lacking);
    // The tooltips of a file that lacks the capture date, could not be read, or was not read yet.
    const FileValuesTable values;
    for (const FileValuesTable::State state :
         {FileValuesTable::State::Read, FileValuesTable::State::Unreadable,
          FileValuesTable::State::Stopped}) {
        FileValuesTable::Slot slot;
        slot.Lacks = FileValuesTable::LackMarked | FileValueKinds::Taken;
        slot.state = state;
        messages << values.lackText(slot);
    }
    for (int code = int(MaskError::ErrNumberTooLarge); code <= int(MaskError::ErrZeroStart); ++code)
        messages.append(MaskTranslator::errorText(code));
    // The manual writes "n" for the place and the group that the status line names.
    for (const RegexReplace::Error error :
         {RegexReplace::Error::Invalid, RegexReplace::Error::MissingGroup, RegexReplace::Error::TooCostly})
        messages.append(RegexReplace::errorText(error, u"n"_s));
    for (const QString& message : messages)
        QVERIFY2(text.contains(message), qPrintable(message));
}

VELTO_TEST_MAIN(TestManual)
#include "TestManual.moc"
