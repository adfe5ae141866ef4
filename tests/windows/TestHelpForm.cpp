#include "windows/HelpForm.h"

#include "document/RtfTextDocument.h"

#include "TestMain.h"

#include <QAccessible>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

// The help window over manuals of every shape: each opens at once, at the top, and is read
// whole by a screen reader.
class TestHelpForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unusableFiles_data();
    void unusableFiles();
    void manyRuns();
    void opensAtTheTopReadableWhole();

private:
    static QTextBrowser* view(const HelpForm& form) { return form.findChild<QTextBrowser*>(u"Text1"_s); }
};

void TestHelpForm::unusableFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << u"fifo"_s;
    QTest::newRow("larger than the limit") << u"large"_s;
    QTest::newRow("folder") << u"folder"_s;
}

// None is read (a FIFO would block, a device grow without end); each is told like a missing file.
void TestHelpForm::unusableFiles()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"help.rtf"_s);
    if (kind == u"fifo") {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (kind == u"large") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray rtf = R"({\rtf1\ansi Text})";
        QVERIFY(file.write(rtf + QByteArray(HelpForm::MaxHelpBytes + 1 - rtf.size(), ' ')) > 0);
    } else {
        QVERIFY(QDir().mkdir(path));
    }
    HelpForm form(path);
    QVERIFY(view(form)->toPlainText().startsWith(u"Die Anleitung wurde nicht gefunden: „"_s));
}

void TestHelpForm::manyRuns()
{
    // 2 MB of alternating bold and italic letters, one paragraph that is one word.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"help.rtf"_s);
    QByteArray rtf = R"({\rtf1\ansi )";
    const int pairs = 2 * 1000 * 1000 / 12;
    for (int i = 0; i < pairs; ++i)
        rtf += R"({\b a}{\i b})";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(rtf + '}') > 0);
    file.close();

    HelpForm form(path);
    QTextDocument* document = view(form)->document();
    // Every letter is there; the paragraph goes on in new blocks.
    QString text = document->toPlainText();
    QVERIFY(text.count(u'\n') > 0);
    QCOMPARE(text.remove(u'\n'), u"ab"_s.repeated(pairs));
    // The first runs keep their format, those past the limit are plain.
    const auto formatAfter = [document](int position) {
        QTextCursor cursor(document);
        cursor.setPosition(position);
        return cursor.charFormat();
    };
    QCOMPARE(formatAfter(1).fontWeight(), int(QFont::Bold));
    QVERIFY(formatAfter(2).fontItalic());
    const int pastLimit = int(RtfTextDocument::MaxRunsPerParagraph) + 1;
    QCOMPARE(formatAfter(pastLimit).fontWeight(), int(QFont::Normal));
    QVERIFY(!formatAfter(pastLimit + 1).fontItalic());
}

void TestHelpForm::opensAtTheTopReadableWhole()
{
    HelpForm form(QStringLiteral(VELTO_HELP_FILE));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTextBrowser* text = view(form);
    QTRY_VERIFY(text->verticalScrollBar()->maximum() > 0);
    QCOMPARE(text->verticalScrollBar()->value(), 0);
    QCOMPARE(text->textCursor().position(), 0);

    // A screen reader gets the whole manual through the view's text interface.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(text);
    QVERIFY(accessible);
    QAccessibleTextInterface* textInterface = accessible->textInterface();
    QVERIFY(textInterface);
    const QString plain = text->document()->toPlainText();
    QVERIFY(plain.size() > 10000);
    // It ends paragraphs and lines with their own separators, where plain text has "\n".
    QString spoken = textInterface->text(0, textInterface->characterCount());
    spoken.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    QCOMPARE(spoken, plain);
}

VELTO_GUI_TEST_MAIN(TestHelpForm)
#include "TestHelpForm.moc"
