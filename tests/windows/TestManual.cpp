#include "plan/PlanCheck.h"
#include "list/FileValuesTable.h"
#include "list/PlanTest.h"
#include "naming/FileValueKinds.h"
#include "naming/MaskTranslator.h"
#include "naming/RegexReplace.h"
#include "document/RtfReader.h"

#include "TestMain.h"

#include <QFile>

using namespace Qt::StringLiterals;

// The shipped manual reads as text and quotes the program's messages as the program shows
// them, so that a user can look up what the status line says.
class TestManual : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void quotesEveryCheckMessage();

private:
    QString m_text;
};

void TestManual::initTestCase()
{
    QFile file(QStringLiteral(VELTO_HELP_FILE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const RtfDocument document = RtfReader::parse(file.readAll());
    for (const RtfParagraph& paragraph : document.paragraphs) {
        for (const RtfRun& run : paragraph.runs)
            m_text += run.text;
        m_text += u'\n';
    }
    // Line breaks and tabs inside a paragraph read as blanks for the search.
    m_text.replace(QChar(0x2028), u' ').replace(u'\t', u' ');
    QVERIFY(m_text.size() > 10000);
}

void TestManual::quotesEveryCheckMessage()
{
    QStringList messages{PlanCheck::successMessage(u"&Umtaufen!"_s),
                         u"Folgende Datei ließ sich nicht umbenennen:"_s,
                         u"Klicken Sie 'OK', um fortzusetzen oder 'Abbrechen' um die Aktion zu beenden."_s};
    for (const PlanTest& test : PlanTests)
        messages << test.message.toString() << test.markText.toString();
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
        QVERIFY2(m_text.contains(message), qPrintable(message));
}

VELTO_TEST_MAIN(TestManual)
#include "TestManual.moc"
