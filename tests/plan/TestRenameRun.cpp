#include "plan/RenameRun.h"

#include "list/CandidateModel.h"

#include "FakeFileSystem.h"
#include "TestMain.h"

#include <QAbstractItemModelTester>

using namespace Qt::StringLiterals;

namespace {

// Rows "1", "2", ... in "/d/", one per mark of a text like "x.x.x", with the new names "n1",
// "n2", ... unless given; their files exist in the fake file system.
void fill(CandidateModel& model, FakeFileSystem& fs, const QString& marks, const QStringList& newNames)
{
    std::vector<CandidateRow> rows;
    for (qsizetype i = 0; i < marks.size(); ++i) {
        CandidateRow row = CandidateRow::fromParts(u"/d/"_s, QString::number(i + 1));
        fs.addFile(row.PathName());
        row.NewName = newNames.value(i, u"n"_s + row.OldName);
        row.Marked = marks[i] == u'x';
        rows.push_back(row);
    }
    model.insertAtTop(std::move(rows));
}

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
    QTest::addColumn<QStringList>("failing");  // old names whose rename fails
    QTest::addColumn<QList<bool>>("answers");  // to the questions after failures, in turn
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QList<int>>("progress");
    QTest::addColumn<QStringList>("left"); // old names left in the list, "*" when marked
    QTest::addColumn<QStringList>("listing");

    const QStringList none;
    QTest::newRow("last row first, unmarked rows stay")
        << u"x.x.x"_s << none << none << QList<bool>{} << QStringList{u"5>n5"_s, u"3>n3"_s, u"1>n1"_s}
        << QList<int>{0, 2, 4} << QStringList{u"2"_s, u"4"_s} << QStringList{u"n5"_s, u"n3"_s, u"n1"_s};
    QTest::newRow("failure, OK goes on")
        << u"xxx.."_s << none << QStringList{u"2"_s} << QList<bool>{true}
        << QStringList{u"3>n3"_s, u"2>n2"_s, u"1>n1"_s} << QList<int>{2, 3, 4}
        << QStringList{u"*2"_s, u"4"_s, u"5"_s} << QStringList{u"n3"_s, u"n1"_s};
    QTest::newRow("failure, Abbrechen stops")
        << u"xxx.."_s << none << QStringList{u"2"_s} << QList<bool>{false}
        << QStringList{u"3>n3"_s, u"2>n2"_s} << QList<int>{2, 3}
        << QStringList{u"*1"_s, u"*2"_s, u"4"_s, u"5"_s} << QStringList{u"n3"_s};
    QTest::newRow("two failures, both answered OK")
        << u"xxxxx"_s << none << QStringList{u"5"_s, u"2"_s} << QList<bool>{true, true}
        << QStringList{u"5>n5"_s, u"4>n4"_s, u"3>n3"_s, u"2>n2"_s, u"1>n1"_s} << QList<int>{0, 1, 2, 3, 4}
        << QStringList{u"*2"_s, u"*5"_s} << QStringList{u"n4"_s, u"n3"_s, u"n1"_s};
    QTest::newRow("same name: no call, counts as done")
        << u"xx..."_s << QStringList{u"n1"_s, u"2"_s} << none << QList<bool>{} << QStringList{u"1>n1"_s}
        << QList<int>{3, 4} << QStringList{u"3"_s, u"4"_s, u"5"_s} << QStringList{u"2"_s, u"n1"_s};
    QTest::newRow("slash or U+0000: failure without a call")
        << u"xx..."_s << QStringList{u"a/b"_s, u"c\0d"_s} << none << QList<bool>{true, true} << QStringList{}
        << QList<int>{3, 4} << QStringList{u"*1"_s, u"*2"_s, u"3"_s, u"4"_s, u"5"_s} << QStringList{};
    QTest::newRow("nothing marked") << u"....."_s << none << none << QList<bool>{} << QStringList{}
                                    << QList<int>{} << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}
                                    << QStringList{};
}

void TestRenameRun::run()
{
    QFETCH(QString, marks);
    QFETCH(QStringList, newNames);
    QFETCH(QStringList, failing);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, calls);
    QFETCH(QList<int>, progress);
    QFETCH(QStringList, left);
    QFETCH(QStringList, listing);

    CandidateModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    FakeFileSystem fs;
    fill(model, fs, marks, newNames);
    for (const QString& name : failing)
        fs.failRename(u"/d/"_s + name, EACCES);

    QList<int> values;
    qsizetype questions = 0;
    const RenameRun::Outcome outcome = RenameRun::run(
        model, fs, [&values](int value) { values.append(value); },
        [&](const RenameFailure&) { return answers.value(questions++, false); });

    QCOMPARE(shortCalls(fs), calls);
    QCOMPARE(values, progress);
    QCOMPARE(questions, answers.size());
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
    fill(model, fs, u"x"_s, {u"neu.txt"_s});
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
