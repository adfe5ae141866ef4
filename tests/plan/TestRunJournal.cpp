#include "plan/RunJournal.h"

#include "list/CandidateModel.h"
#include "plan/RenameRun.h"

#include "FakeFileSystem.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

using namespace Qt::StringLiterals;

namespace {

RunJournal::Entry entry(const QString& folder, const QString& oldName, const QString& newName,
                        qint64 stamp = 20240131120000)
{
    return {folder, oldName, newName, {64769, 1234567}, 4096, stamp};
}

// A journal body with the last line a writer would give it.
QByteArray withEnd(const QByteArray& body, int count)
{
    quint64 hash = 0xcbf29ce484222325ULL;
    for (const char c : body)
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    return body + "end " + QByteArray::number(count) + ' ' +
           QByteArray::number(hash, 16).rightJustified(16, '0') + '\n';
}

QByteArray withEntry(const QByteArray& line)
{
    return withEnd("velto run journal 1\n" + line + '\n', 1);
}

QStringList describe(const RunJournal::Plan& plan)
{
    QStringList lines;
    for (const RunJournal::Entry& e : plan)
        lines.append(e.folder + e.oldName + u'>' + e.newName);
    return lines;
}

} // namespace

class TestRunJournal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void damaged_data();
    void damaged();
    void place_data();
    void place();
    void defaultPath_data();
    void defaultPath();
};

void TestRunJournal::roundTrip_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<qint64>("stamp");

    QTest::newRow("plain") << u"/d/"_s << u"a.jpg"_s << u"b.jpg"_s << qint64(20240131120000);
    QTest::newRow("line breaks and tabs") << u"/d/"_s << u"a\nb\r\n"_s << u"c\td"_s << qint64(0);
    QTest::newRow("percent") << u"/d/"_s << u"100%"_s << u"%41%"_s << qint64(1);
    QTest::newRow("umlauts and beyond")
        << u"/Bilder/Grüße/"_s << u"Ärger.jpg"_s << u"\U0001F600ß"_s << qint64(99991231235959);
    QTest::newRow("controls and DEL") << u"/d/"_s << u"\x01\x1b\x7f"_s << u"\u00a0 "_s << qint64(2);
    QTest::newRow("folder with tab and line break, no date")
        << u"/a\tb/\n/"_s << u"x"_s << u"y"_s << qint64(-1);
}

void TestRunJournal::roundTrip()
{
    QFETCH(QString, folder);
    QFETCH(QString, oldName);
    QFETCH(QString, newName);
    QFETCH(qint64, stamp);

    RunJournal::Plan plan{entry(folder, oldName, newName, stamp), entry(u"/d/"_s, u"z"_s, u"w"_s)};
    plan.back().identity = {~quint64(0), ~quint64(0)};
    plan.back().size = std::numeric_limits<qint64>::max();
    const QByteArray bytes = RunJournal::encode(plan);
    QCOMPARE(RunJournal::decode(bytes), std::optional(plan));
    // One line per entry, whatever the names hold.
    const QList<QByteArray> lines = bytes.split('\n');
    QCOMPARE(lines.size(), 5); // header, two entries, end, and nothing after the last line break
    QCOMPARE(lines[1].count('\t'), 6);
}

void TestRunJournal::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");

    const QByteArray good =
        RunJournal::encode({entry(u"/d/"_s, u"a"_s, u"b"_s), entry(u"/d/"_s, u"Grüße"_s, u"c\td"_s)});
    QByteArray changed = good;
    changed[good.indexOf("Gr")] = 'g';
    QByteArray crlf = good;
    crlf.replace('\n', "\r\n");
    const QByteArray line = "/d/\ta\tb\t1\t2\t3\t4";

    QTest::newRow("whole") << good << true;
    QTest::newRow("valid entry") << withEntry(line) << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("truncated") << good.chopped(1) << false;
    QTest::newRow("truncated before its end") << good.left(good.indexOf("end ")) << false;
    QTest::newRow("a changed byte") << changed << false;
    QTest::newRow("line breaks changed") << crlf << false;
    QTest::newRow("bytes after the end") << good + "x" << false;
    QTest::newRow("foreign text") << QByteArray("[Settings]\nMaske=[NAME]\n") << false;
    QTest::newRow("wrong version") << withEnd("velto run journal 2\n", 0) << false;
    QTest::newRow("count off by one") << withEnd("velto run journal 1\n" + line + '\n', 2) << false;
    QTest::newRow("six fields") << withEntry("/d/\ta\tb\t1\t2\t3") << false;
    QTest::newRow("raw tab in a name") << withEntry("/d/\ta\tb\tc\t1\t2\t3\t4") << false;
    QTest::newRow("raw carriage return") << withEntry("/d/\ta\r\tb\t1\t2\t3\t4") << false;
    QTest::newRow("lower-case escape") << withEntry("/d/\ta%0a\tb\t1\t2\t3\t4") << false;
    QTest::newRow("needless escape") << withEntry("/d/\t%41\tb\t1\t2\t3\t4") << false;
    QTest::newRow("cut escape") << withEntry("/d/\ta\tb%0\t1\t2\t3\t4") << false;
    QTest::newRow("invalid UTF-8") << withEntry("/d/\ta\xff\tb\t1\t2\t3\t4") << false;
    QTest::newRow("relative folder") << withEntry("d/\ta\tb\t1\t2\t3\t4") << false;
    QTest::newRow("same names") << withEntry("/d/\ta\ta\t1\t2\t3\t4") << false;
    QTest::newRow("slash in a name") << withEntry("/d/\ta\tb/c\t1\t2\t3\t4") << false;
    QTest::newRow("U+0000 in a name") << withEntry("/d/\ta%00\tb\t1\t2\t3\t4") << false;
    QTest::newRow("name ..") << withEntry("/d/\t..\tb\t1\t2\t3\t4") << false;
    QTest::newRow("empty name") << withEntry("/d/\t\tb\t1\t2\t3\t4") << false;
    QTest::newRow("leading zero") << withEntry("/d/\ta\tb\t01\t2\t3\t4") << false;
    QTest::newRow("negative size") << withEntry("/d/\ta\tb\t1\t2\t-3\t4") << false;
    QTest::newRow("inode beyond 64 bits") << withEntry("/d/\ta\tb\t1\t18446744073709551616\t3\t4") << false;
    QTest::newRow("size beyond qint64") << withEntry("/d/\ta\tb\t1\t2\t9223372036854775808\t4") << false;
}

void TestRunJournal::damaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    QCOMPARE(RunJournal::decode(bytes).has_value(), readable);
    // The fuzz entry's own checks hold for these too.
    QCOMPARE(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size())),
             0);
}

void TestRunJournal::place_data()
{
    QTest::addColumn<QString>("shape"); // what is at the journal's path before the run
    QTest::addColumn<bool>("anyRename");
    QTest::addColumn<bool>("failed");

    QTest::newRow("nothing, nor its folder") << u"absent"_s << true << false;
    QTest::newRow("an earlier journal") << u"file"_s << true << false;
    QTest::newRow("a link to a file") << u"link"_s << true << false;
    QTest::newRow("a FIFO") << u"fifo"_s << true << true;
    QTest::newRow("a folder") << u"folder"_s << true << true;
    QTest::newRow("a run without renames keeps the earlier journal") << u"file"_s << false << false;
}

void TestRunJournal::place()
{
    QFETCH(QString, shape);
    QFETCH(bool, anyRename);
    QFETCH(bool, failed);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString state = dir.path() + u"/state"_s;
    qputenv("XDG_STATE_HOME", QFile::encodeName(state));
    const QString path = RunJournal::defaultPath();
    QCOMPARE(path, state + u"/velto/last-run.journal"_s);
    const QString elsewhere = dir.path() + u"/elsewhere"_s;
    const QByteArray earlier = RunJournal::encode({entry(u"/x/"_s, u"a"_s, u"b"_s)});
    if (shape != u"absent"_s)
        QVERIFY(QDir().mkpath(state + u"/velto"_s));
    if (shape == u"file"_s)
        QVERIFY(TestFiles::writeContent(path, earlier));
    if (shape == u"link"_s) {
        QVERIFY(TestFiles::writeContent(elsewhere, earlier));
        QVERIFY(QFile::link(elsewhere, path));
    }
    if (shape == u"fifo"_s)
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (shape == u"folder"_s)
        QVERIFY(QDir().mkpath(path));

    // Renamed: "/d/1" and "e/5" (a folder relative to the current one); left alone: a row that
    // keeps its name, one the run refuses without a call, and an unmarked one.
    TestFiles::CurrentFolder here(dir.path());
    FakeFileSystem fs;
    std::vector<CandidateRow> rows;
    const QStringList paths{u"/d/1"_s, u"/d/2"_s, u"/d/3"_s, u"/d/4"_s, u"e/5"_s};
    const QStringList newNames{u"n1"_s, u"2"_s, u"a/b"_s, u"n4"_s, u"n5"_s};
    for (qsizetype i = 0; i < paths.size(); ++i) {
        fs.addFile(paths[i]);
        CandidateRow row = CandidateRow::fromPath(paths[i]);
        row.setIdentity(fs.attributes(paths[i]).identity);
        row.NewName = newNames[i];
        row.Marked = i != 3 && (anyRename || i == 1 || i == 2);
        rows.push_back(row);
    }
    CandidateModel model;
    model.insertAtTop(std::move(rows));
    const RenameRun::Outcome outcome = RenameRun::run(
        model, fs, {}, [](const RenameFailure&) { return true; }, RunJournal::writerTo(path));

    QCOMPARE(outcome.journalFailed, failed);
    const QStringList renamed = anyRename ? QStringList{u"n5"_s, u"2"_s, u"n1"_s} : QStringList{u"2"_s};
    QCOMPARE(outcome.renamedNames, renamed);
    QStringList journal;
    if (const std::optional<RunJournal::Plan> plan = RunJournal::read(path))
        journal = describe(*plan);
    if (failed)
        QCOMPARE(journal, QStringList());
    else if (anyRename)
        QCOMPARE(journal, (QStringList{QDir::currentPath() + u"/e/5>n5"_s, u"/d/1>n1"_s}));
    else
        QCOMPARE(TestFiles::read(path), earlier);

    struct stat status = {};
    QCOMPARE(::lstat(QFile::encodeName(path).constData(), &status), 0);
    if (shape == u"absent"_s) {
        QCOMPARE(::stat(QFile::encodeName(state + u"/velto"_s).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, 0700u);
    }
    if (shape == u"link"_s) {
        QVERIFY(S_ISLNK(status.st_mode));
        QCOMPARE(RunJournal::read(elsewhere).has_value(), true);
    }
    if (shape == u"fifo"_s)
        QVERIFY(S_ISFIFO(status.st_mode));
}

void TestRunJournal::defaultPath_data()
{
    QTest::addColumn<QString>("stateHome");
    QTest::addColumn<QString>("expected"); // "~" for the home folder

    QTest::newRow("absolute") << u"/var/tmp/zustand"_s << u"/var/tmp/zustand/velto/last-run.journal"_s;
    QTest::newRow("relative: ignored") << u"zustand"_s << u"~/.local/state/velto/last-run.journal"_s;
    QTest::newRow("empty") << QString() << u"~/.local/state/velto/last-run.journal"_s;
}

void TestRunJournal::defaultPath()
{
    QFETCH(QString, stateHome);
    QFETCH(QString, expected);
    const QByteArray before = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", stateHome.toUtf8());
    const QString path = RunJournal::defaultPath();
    qputenv("XDG_STATE_HOME", before);
    QCOMPARE(path, expected.replace(u'~', QDir::homePath()));
}

VELTO_TEST_MAIN(TestRunJournal)
#include "TestRunJournal.moc"
