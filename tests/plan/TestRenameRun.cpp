#include "plan/RenameRun.h"

#include "list/CandidateModel.h"

#include "FakeFileSystem.h"
#include "TestMain.h"
#include "TestRows.h"

#include <QAbstractItemModelTester>

using namespace Qt::StringLiterals;

namespace {

// The rename calls without their folder, such as "3>n3".
QStringList shortCalls(const FakeFileSystem& fs)
{
    QStringList calls = fs.renameCalls();
    return calls.replaceInStrings(u"/d/"_s, QString());
}

} // namespace

class TestRenameRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void run_data();
    void run();
    void failureText();
};

void TestRenameRun::run_data()
{
    QTest::addColumn<QString>("marks");
    QTest::addColumn<QStringList>("newNames"); // overrides for the first rows
    // Old names whose rename fails: "2" refused, "2!" refused and the file gone with it,
    // "2/" and "2+" replaced by a folder or by another file between the check and the run.
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QList<bool>>("answers"); // to the questions after failures, in turn
    QTest::addColumn<QStringList>("reasons"); // the details of the questions, in turn
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QList<int>>("progress");
    QTest::addColumn<QStringList>("left"); // old names left in the list, "*" when marked
    QTest::addColumn<QStringList>("listing");

    const QStringList none;
    const QString denied = u"Im Ordner fehlt die Berechtigung zum Umbenennen."_s;
    const QString refused = u"Der neue Name ist hier nicht zulässig."_s;
    const QString replaced = u"Die Datei wurde inzwischen durch eine andere ersetzt."_s;
    const QString lost = u"Die Datei ist nach dem Fehlschlag nicht mehr auffindbar."_s;
    QTest::newRow("last row first, unmarked rows stay")
        << u"x.x.x"_s << none << none << QList<bool>{} << none << QStringList{u"5>n5"_s, u"3>n3"_s, u"1>n1"_s}
        << QList<int>{0, 2, 4} << QStringList{u"2"_s, u"4"_s} << QStringList{u"n5"_s, u"n3"_s, u"n1"_s};
    QTest::newRow("failure, OK goes on")
        << u"xxx.."_s << none << QStringList{u"2"_s} << QList<bool>{true} << QStringList{denied}
        << QStringList{u"3>n3"_s, u"2>n2"_s, u"1>n1"_s} << QList<int>{2, 3, 4}
        << QStringList{u"*2"_s, u"4"_s, u"5"_s} << QStringList{u"n3"_s, u"n1"_s};
    QTest::newRow("failure, Abbrechen stops")
        << u"xxx.."_s << none << QStringList{u"2"_s} << QList<bool>{false} << QStringList{denied}
        << QStringList{u"3>n3"_s, u"2>n2"_s} << QList<int>{2, 3}
        << QStringList{u"*1"_s, u"*2"_s, u"4"_s, u"5"_s} << QStringList{u"n3"_s};
    QTest::newRow("two failures, both answered OK")
        << u"xxxxx"_s << none << QStringList{u"5"_s, u"2"_s} << QList<bool>{true, true}
        << QStringList{denied, denied} << QStringList{u"5>n5"_s, u"4>n4"_s, u"3>n3"_s, u"2>n2"_s, u"1>n1"_s}
        << QList<int>{0, 1, 2, 3, 4} << QStringList{u"*2"_s, u"*5"_s}
        << QStringList{u"n4"_s, u"n3"_s, u"n1"_s};
    QTest::newRow("same name: no call, counts as done")
        << u"xx..."_s << QStringList{u"n1"_s, u"2"_s} << none << QList<bool>{} << none
        << QStringList{u"1>n1"_s} << QList<int>{3, 4} << QStringList{u"3"_s, u"4"_s, u"5"_s}
        << QStringList{u"2"_s, u"n1"_s};
    QTest::newRow("slash or U+0000: failure without a call")
        << u"xx..."_s << QStringList{u"a/b"_s, u"c\0d"_s} << none << QList<bool>{true, true}
        << QStringList{refused, refused} << QStringList{} << QList<int>{3, 4}
        << QStringList{u"*1"_s, u"*2"_s, u"3"_s, u"4"_s, u"5"_s} << QStringList{};
    QTest::newRow("replaced by a folder or another file: left alone")
        << u"xxx.."_s << none << QStringList{u"3/"_s, u"2+"_s} << QList<bool>{true, true}
        << QStringList{replaced, replaced} << QStringList{u"1>n1"_s} << QList<int>{2, 3, 4}
        << QStringList{u"*2"_s, u"*3"_s, u"4"_s, u"5"_s} << QStringList{u"n1"_s};
    QTest::newRow("failure that lost the file: said, row stays")
        << u"xx..."_s << none << QStringList{u"2!"_s} << QList<bool>{true} << QStringList{lost}
        << QStringList{u"2>n2"_s, u"1>n1"_s} << QList<int>{3, 4}
        << QStringList{u"*2"_s, u"3"_s, u"4"_s, u"5"_s} << QStringList{u"n1"_s};
    QTest::newRow("nothing marked") << u"....."_s << none << none << QList<bool>{} << none << QStringList{}
                                    << QList<int>{} << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}
                                    << QStringList{};
}

void TestRenameRun::run()
{
    QFETCH(QString, marks);
    QFETCH(QStringList, newNames);
    QFETCH(QStringList, failing);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, reasons);
    QFETCH(QStringList, calls);
    QFETCH(QList<int>, progress);
    QFETCH(QStringList, left);
    QFETCH(QStringList, listing);

    CandidateModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    FakeFileSystem fs;
    model.insertAtTop(TestRows::onFake(fs, marks, newNames));
    for (const QString& entry : failing) {
        const QChar how = entry.back();
        const QString path = u"/d/"_s + (how.isDigit() ? entry : entry.chopped(1));
        if (how == u'!')
            fs.failRename(path, EPERM, true);
        else if (how == u'/')
            fs.replaceByFolder(path);
        else if (how == u'+')
            fs.addFile(path);
        else
            fs.failRename(path, EACCES);
    }

    QList<int> values;
    QStringList shown;
    const RenameRun::Outcome outcome = RenameRun::run(
        model, fs, [&values](int value) { values.append(value); },
        [&](const RenameFailure& failure) {
            shown.append(RenameRun::reasonText(failure));
            return answers.value(shown.size() - 1, false);
        });

    QCOMPARE(shortCalls(fs), calls);
    QCOMPARE(values, progress);
    QCOMPARE(shown, reasons);
    QStringList rows;
    for (const CandidateRow& row : model.rows())
        rows.append((row.Marked ? u"*"_s : QString()) + row.OldName);
    QCOMPARE(rows, left);
    QCOMPARE(outcome.renamedNames, listing);
    QCOMPARE(outcome.stopped, answers.contains(false));
}

void TestRenameRun::failureText()
{
    QString asked;
    CandidateModel model;
    FakeFileSystem fs;
    model.insertAtTop(TestRows::onFake(fs, u"x", {u"neu.txt"_s}));
    fs.failRename(u"/d/1"_s);
    RenameRun::run(model, fs, {}, [&asked](const RenameFailure& failure) {
        asked = RenameRun::failureText(failure);
        return true;
    });
    QCOMPARE(asked, u"Folgende Datei ließ sich nicht umbenennen:\n\n/d/1\n-->\n/d/neu.txt\n\n"
                    u"Klicken Sie 'OK', um fortzusetzen oder 'Abbrechen' um die Aktion zu beenden."_s);
}

VELTO_TEST_MAIN(TestRenameRun)
#include "TestRenameRun.moc"
