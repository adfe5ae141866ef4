#include "plan/UndoRun.h"

#include "list/CandidateModel.h"
#include "list/ListIntake.h"
#include "plan/RenameRun.h"
#include "platform/PosixFileSystem.h"

#include "FakeFileSystem.h"
#include "FatMount.h"
#include "Place.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TestRows.h"

#include <algorithm>
#include <tuple>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Changes after the run: "-n" removes n, "+n" puts a new file at n, "!n" makes renaming n
// fail; "remount" gives every journal entry another device, "%n" another size and "*n" another
// last change to the entry that renamed to n; on disk, "@n" moves n aside and leaves a link to
// it at n, "^n" puts a link to nothing at n. "killed" is no change: the undo reads the plan
// as the run wrote it before its first rename.
void apply(const QStringList& changes, Place& place, RunJournal::Plan& journal)
{
    for (const QString& change : changes) {
        const QString name = change.mid(1);
        const QByteArray path = QFile::encodeName(place.path(name));
        if (change.startsWith(u'@')) {
            QVERIFY(::rename(path.constData(), (path + ".moved").constData()) == 0);
            QVERIFY(::symlink((path + ".moved").constData(), path.constData()) == 0);
        } else if (change.startsWith(u'^')) {
            QVERIFY(::symlink("nirgends", path.constData()) == 0);
        } else if (change.startsWith(u'*')) {
            for (RunJournal::Entry& entry : journal) {
                if (entry.newName == name)
                    ++entry.dateStamp;
            }
        } else if (change == u"remount"_s) {
            for (RunJournal::Entry& entry : journal)
                entry.identity.device += 100;
        } else if (change.startsWith(u'-')) {
            place.remove(name);
        } else if (change.startsWith(u'+')) {
            place.put(name);
        } else if (change.startsWith(u'!')) {
            place.fs().failRename(place.path(name));
        } else if (change.startsWith(u'%')) {
            for (RunJournal::Entry& entry : journal) {
                if (entry.newName == name)
                    ++entry.size;
            }
        }
    }
}

} // namespace

class TestUndoRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void undo_data();
    void undo();
    void caseOnlyOnFat();
    void staleRows();
    void texts();
};

void TestUndoRun::undo_data()
{
    QTest::addColumn<bool>("disk");
    QTest::addColumn<QStringList>("renames"); // "old>new", rows from top to bottom
    // old names whose rename fails: "n" goes on, "n!" stops, "n~" loses the file; "folds": the
    // names fold letter case
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QStringList>("after");    // changes after the run, see apply()
    QTest::addColumn<QStringList>("between");  // changes between prepare and run
    QTest::addColumn<int>("goesBack");         // as prepare counts them
    QTest::addColumn<QStringList>("restored"); // old names, in the order of the undo
    QTest::addColumn<QStringList>("failures"); // "new name: reason"
    QTest::addColumn<QStringList>("listing");

    const QStringList none;
    const QStringList ace{u"a>b"_s, u"c>d"_s, u"e>f"_s};
    const QStringList ace_{u"a"_s, u"c"_s, u"e"_s};
    const QString gone = u"d: Unter dem neuen Namen ist die Datei nicht mehr da."_s;
    const QString other = u"d: Unter dem neuen Namen liegt inzwischen eine andere Datei."_s;
    const QString taken = u"d: Der alte Name ist inzwischen vergeben."_s;
    const QString denied = u"d: Im Ordner fehlt die Berechtigung zum Umbenennen."_s;
    for (const bool disk : {false, true}) {
        const auto row = [disk](const char* name) -> QTestData& {
            return QTest::newRow(qPrintable((disk ? u"disk: "_s : u"memory: "_s) + QLatin1StringView(name)))
                   << disk;
        };
        // Undone in the reverse order of the run, or "b" would still be taken for "a".
        row("chain, full run") << QStringList{u"a>b"_s, u"b>c"_s, u"s>s"_s, u"x>y"_s} << none << none << none
                               << 3 << QStringList{u"a"_s, u"b"_s, u"x"_s} << none
                               << QStringList{u"a"_s, u"b"_s, u"s"_s, u"x"_s};
        row("a failed rename stays") << ace << QStringList{u"c"_s} << none << none << 2
                                     << QStringList{u"a"_s, u"e"_s} << none << ace_;
        row("run cut off after 1 of 3")
            << ace << QStringList{u"c!"_s} << none << none << 1 << QStringList{u"e"_s} << none << ace_;
        row("gone after the run") << ace << none << QStringList{u"-d"_s} << none << 2
                                  << QStringList{u"a"_s, u"e"_s} << QStringList{gone}
                                  << QStringList{u"a"_s, u"e"_s};
        row("replaced after the run")
            << ace << none << QStringList{u"+d"_s} << none << 2 << QStringList{u"a"_s, u"e"_s}
            << QStringList{other} << QStringList{u"a"_s, u"d"_s, u"e"_s};
        row("old name taken again") << ace << none << QStringList{u"+c"_s} << none << 2
                                    << QStringList{u"a"_s, u"e"_s} << QStringList{taken}
                                    << QStringList{u"a"_s, u"c"_s, u"d"_s, u"e"_s};
        row("old name taken after prepare")
            << ace << none << none << QStringList{u"+c"_s} << 3 << QStringList{u"a"_s, u"e"_s}
            << QStringList{taken} << QStringList{u"a"_s, u"c"_s, u"d"_s, u"e"_s};
        row("rename back refused") << ace << none << none << QStringList{u"!d"_s} << 3
                                   << QStringList{u"a"_s, u"e"_s} << QStringList{denied}
                                   << QStringList{u"a"_s, u"d"_s, u"e"_s};
        row("mounted again") << ace << none << QStringList{u"remount"_s} << none << 3
                             << QStringList{u"a"_s, u"c"_s, u"e"_s} << none << ace_;
        row("mounted again, file changed")
            << ace << none << QStringList{u"remount"_s, u"%d"_s} << none << 2 << QStringList{u"a"_s, u"e"_s}
            << QStringList{other} << QStringList{u"a"_s, u"d"_s, u"e"_s};
        // The inode number alone would take a file made since for the renamed one.
        row("same inode, other size")
            << ace << none << QStringList{u"%d"_s} << none << 2 << QStringList{u"a"_s, u"e"_s}
            << QStringList{other} << QStringList{u"a"_s, u"d"_s, u"e"_s};
        row("same inode, other last change")
            << ace << none << QStringList{u"*d"_s} << none << 2 << QStringList{u"a"_s, u"e"_s}
            << QStringList{other} << QStringList{u"a"_s, u"d"_s, u"e"_s};
        // A file that a failed rename lost was never renamed: the finished run's journal no
        // longer holds it. A killed run's plan does, and then it may have been renamed.
        row("a file lost by a failed rename")
            << ace << QStringList{u"c~"_s} << none << none << 2 << QStringList{u"a"_s, u"e"_s} << none
            << QStringList{u"a"_s, u"e"_s};
        row("killed run, a lost file")
            << ace << QStringList{u"c~"_s} << QStringList{u"killed"_s} << none << 2
            << QStringList{u"a"_s, u"e"_s} << QStringList{gone} << QStringList{u"a"_s, u"e"_s};
        if (!disk) {
            // Where "straße" and "STRASSE" are one name, both look at the one file: its
            // listing tells the spelling.
            row("case only, sharp s, names folded")
                << QStringList{u"straße>STRASSE"_s} << QStringList{u"folds"_s} << none << none << 1
                << QStringList{u"straße"_s} << none << QStringList{u"straße"_s};
        }
        if (disk) {
            row("a link to the file under the new name")
                << ace << none << QStringList{u"@d"_s} << none << 2 << QStringList{u"a"_s, u"e"_s}
                << QStringList{other} << QStringList{u"a"_s, u"d"_s, u"d.moved"_s, u"e"_s};
            // Counted by the question as the undo counts it: the link takes the old name.
            row("a dangling link under the old name")
                << ace << none << QStringList{u"^c"_s} << none << 2 << QStringList{u"a"_s, u"e"_s}
                << QStringList{taken} << QStringList{u"a"_s, u"c"_s, u"d"_s, u"e"_s};
        }
        row("names with line breaks, tabs, %, umlauts")
            << QStringList{u"Zeile\neins>Tab\there"_s, u"100%>Grüße\r%41"_s} << none << none << none << 2
            << QStringList{u"Zeile\neins"_s, u"100%"_s} << none << QStringList{u"100%"_s, u"Zeile\neins"_s};
    }
}

void TestUndoRun::undo()
{
    QFETCH(bool, disk);
    QFETCH(QStringList, renames);
    QFETCH(QStringList, failing);
    QFETCH(QStringList, after);
    QFETCH(QStringList, between);
    QFETCH(int, goesBack);
    QFETCH(QStringList, restored);
    QFETCH(QStringList, failures);
    QFETCH(QStringList, listing);

    Place place(disk);
    CandidateModel model;
    place.fill(model, renames);
    QStringList stops;
    for (const QString& name : failing) {
        if (name == u"folds"_s) {
            place.fs().setFoldsCase(true);
            continue;
        }
        const bool stop = name.endsWith(u'!');
        const bool lost = name.endsWith(u'~');
        place.fs().failRename(place.path(name.chopped(stop || lost ? 1 : 0)), lost ? ENOENT : EACCES, lost);
        if (stop)
            stops.append(place.path(name.chopped(1)));
    }
    RunJournal::Plan whole;
    std::optional<RunJournal::Plan> done;
    const RunJournal::Sink sink{[&whole](const RunJournal::Plan& plan) {
                                    whole = plan;
                                    return true;
                                },
                                [&done](const RunJournal::Plan& plan) { done = plan; }};
    const RenameRun::Outcome run = RenameRun::run(
        model, place.fs(), {},
        [&stops](const RenameFailure& failure) { return !stops.contains(failure.PathName); }, sink);
    QVERIFY(!run.journalFailed);
    // Through the journal's text, as an undo after a restart reads it.
    QVERIFY(done);
    std::optional<RunJournal::Plan> journal =
        RunJournal::decode(RunJournal::encode(after.contains(u"killed"_s) ? whole : *done));
    QVERIFY(journal);

    apply(after, place, *journal);
    const UndoRun::Prepared prepared = UndoRun::prepare(place.fs(), *journal);
    QCOMPARE(prepared.goesBack, goesBack);
    apply(between, place, *journal);
    qsizetype told = 0;
    const UndoRun::Outcome outcome =
        UndoRun::run(place.fs(), prepared, [&told](qsizetype done) { QCOMPARE(done, told++); });

    QCOMPARE(told, goesBack);
    QStringList names;
    for (const QString& path : outcome.restored)
        names.append(path.mid(place.path(QString()).size()));
    QCOMPARE(names, restored);
    QStringList reasons;
    for (const UndoFailure& failure : outcome.failures)
        reasons.append(failure.path.mid(place.path(QString()).size()) + u": "_s + failure.reason);
    QCOMPARE(reasons, failures);
    QCOMPARE(place.listing(), listing);
}

void TestUndoRun::caseOnlyOnFat()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const FatMount fat(dir.path());
    if (!fat.mounted())
        QSKIP(qPrintable(u"No FAT file system through FUSE: "_s + fat.why()));
    // One file: fusefat 1.0 hangs in the second of two case-only renames back and forth.
    QVERIFY(TestFiles::writeContent(fat.path(u"a.txt"_s), "a"));
    PosixFileSystem fs;
    std::vector<CandidateRow> rows = ListIntake::takeIn({fat.path(u"a.txt"_s)}, {}, fs);
    for (CandidateRow& row : rows)
        row.NewName = row.OldName.left(1).toUpper() + row.OldName.mid(1);
    CandidateModel model;
    model.insertAtTop(std::move(rows));
    RunJournal::Plan journal;
    RenameRun::run(model, fs, {}, {},
                   {[&journal](const RunJournal::Plan& plan) {
                        journal = plan;
                        return true;
                    },
                    {}});
    QCOMPARE(fs.entryNames(fat.path(QString())), std::optional(QStringList{u"A.txt"_s}));

    const UndoRun::Prepared prepared = UndoRun::prepare(fs, journal);
    QCOMPARE(prepared.goesBack, 1);
    const UndoRun::Outcome outcome = UndoRun::run(fs, prepared, {});
    QCOMPARE(outcome.restored.size(), 1);
    QCOMPARE(fs.entryNames(fat.path(QString())), std::optional(QStringList{u"a.txt"_s}));
    QCOMPARE(TestFiles::read(fat.path(u"a.txt"_s)), QByteArray("a"));
    // Once back, the run counts as never made.
    QCOMPARE(UndoRun::prepare(fs, journal).goesBack, 0);
}

// The rows still listed under a name that was given back leave the list; a row under a name
// whose file stayed, or under another name, stays.
void TestUndoRun::staleRows()
{
    UndoRun::Prepared prepared;
    for (const auto& [from, to, state] : {std::tuple(u"a"_s, u"A"_s, UndoRun::State::GoesBack),
                                          std::tuple(u"b"_s, u"B"_s, UndoRun::State::GoesBack),
                                          std::tuple(u"c"_s, u"C"_s, UndoRun::State::Blocked)})
        prepared.steps.push_back({{u"/d/"_s, from, to, {1, 1}, 0, -1}, state, {}});
    UndoRun::Outcome outcome;
    outcome.restored = QStringList{u"/d/a"_s}; // "B" could not go back
    std::vector<CandidateRow> rows;
    for (const QString& path : {u"/d/C"_s, u"/d/A"_s, u"/d/B"_s, u"/e/A"_s})
        rows.push_back(TestRows::row(path));
    QCOMPARE(UndoRun::staleRows(prepared, outcome, rows), std::vector<int>{1});
}

void TestUndoRun::texts()
{
    UndoRun::Outcome outcome;
    outcome.restored = QStringList(12, u"/d/a"_s);
    QCOMPARE(UndoRun::summaryText(outcome), u"12 Dateien haben ihren alten Namen zurück."_s);
    outcome.restored = QStringList{u"/d/a"_s};
    outcome.failures = {{u"/d/b"_s, u"Der alte Name ist inzwischen vergeben."_s}};
    QCOMPARE(UndoRun::summaryText(outcome),
             u"1 Datei hat ihren alten Namen zurück.\n1 Datei konnte nicht zurück."_s);
    outcome.failures.push_back({u"/d/c"_s, u"x"_s});
    outcome.failures.push_back({u"/d/e"_s, u"y"_s});
    QCOMPARE(UndoRun::summaryText(outcome).section(u'\n', 1), u"3 Dateien konnten nicht zurück."_s);
    QCOMPARE(UndoRun::detailsText(outcome),
             u"/d/b - Der alte Name ist inzwischen vergeben.\n/d/c - x\n/d/e - y"_s);
    QCOMPARE(UndoRun::questionText(12),
             u"Die letzte Umbenennung rückgängig machen? 12 Dateien bekommen ihren alten Namen zurück."_s);
    const QDateTime started(QDate(2026, 12, 9), QTime(16, 41, 39, 123));
    QCOMPARE(UndoRun::questionText(1, started.toUTC()),
             u"Die letzte Umbenennung rückgängig machen? 1 Datei bekommt ihren alten Namen zurück. "
             u"Sie fand am 09.12.2026 um 16:41:39 statt."_s);
}

VELTO_TEST_MAIN(TestUndoRun)
#include "TestUndoRun.moc"
