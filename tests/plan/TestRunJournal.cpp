#include "plan/RunJournal.h"

#include "list/CandidateModel.h"
#include "naming/Fnv1a.h"
#include "plan/RenameRun.h"
#include "plan/UndoRun.h"
#include "plan/WindowJournal.h"
#include "platform/JournalFolder.h"

#include "FakeFileSystem.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TestRows.h"

#include <QProcess>
#include <QThread>

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
    const quint64 hash = Fnv1a::hash(body, [](char c) { return static_cast<unsigned char>(c); });
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
    void checksum();
    void damaged_data();
    void damaged();
    void planOfARun_data();
    void planOfARun();
    void atTheRunsName_data();
    void atTheRunsName();
    void windows();
    void endOfRun();
    void kept();
    void defaultFolder_data();
    void defaultFolder();
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

// Journals written by an earlier build still read, and are written again byte for byte.
void TestRunJournal::checksum()
{
    const auto bytes = [](const char* text) {
        return Fnv1a::hash(QByteArrayView(text), [](char c) { return static_cast<unsigned char>(c); });
    };
    QCOMPARE(bytes(""), 0xcbf29ce484222325ULL);
    QCOMPARE(bytes("a"), 0xaf63dc4c8601ec8cULL);
    QCOMPARE(bytes("foobar"), 0x85944171f73967e8ULL);

    const QByteArray earlier = "velto run journal 1\n"
                               "/d/\ta\tb\t64769\t1234567\t4096\t20240131120000\n"
                               "/Bilder/Gr\xc3\xbc\xc3\x9f"
                               "e/\t\xc3\x84rger.jpg\tc%09d\t64769\t1234567\t4096\t-1\n"
                               "end 2 fff2d288a8eae8d4\n";
    const RunJournal::Plan plan{entry(u"/d/"_s, u"a"_s, u"b"_s),
                                entry(u"/Bilder/Grüße/"_s, u"Ärger.jpg"_s, u"c\td"_s, -1)};
    QCOMPARE(RunJournal::decode(earlier), std::optional(plan));
    QCOMPARE(RunJournal::encode(plan), earlier);
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

void TestRunJournal::planOfARun_data()
{
    QTest::addColumn<bool>("anyRename");
    QTest::newRow("renames") << true;
    QTest::newRow("none: no journal") << false;
}

// The journal holds the renames that touch the disk, with absolute folders, in the order of
// the run; the run's end tells which of them happened.
void TestRunJournal::planOfARun()
{
    QFETCH(bool, anyRename);
    // Renamed: "/d/1" and "e/5" (a folder relative to the current one); left alone: a row that
    // keeps its name, one the run refuses without a call, and an unmarked one.
    FakeFileSystem fs;
    CandidateModel model;
    model.insertAtTop(TestRows::onFake(fs, anyRename ? u"xxx.x" : u".xx..",
                                       {u"n1"_s, u"2"_s, u"a/b"_s, u"n4"_s, u"n5"_s},
                                       {u"/d/1"_s, u"/d/2"_s, u"/d/3"_s, u"/d/4"_s, u"e/5"_s}));
    fs.failRename(u"/d/1"_s);
    QStringList begun;
    QStringList finished;
    const RunJournal::Sink sink{[&begun](const RunJournal::Plan& plan) {
                                    begun = describe(plan);
                                    return true;
                                },
                                [&finished](const RunJournal::Plan& plan) { finished = describe(plan); }};
    const RenameRun::Outcome outcome = RenameRun::run(
        model, fs, {}, [](const RenameFailure&) { return true; }, sink);
    const QStringList renamed = anyRename ? QStringList{u"n5"_s, u"2"_s} : QStringList{u"2"_s};
    QCOMPARE(outcome.renamedNames, renamed);
    const QString fifth = u"/e/5>n5"_s; // the fake's current folder is "/"
    QCOMPARE(begun, anyRename ? (QStringList{fifth, u"/d/1>n1"_s}) : QStringList());
    QCOMPARE(finished, anyRename ? QStringList{fifth} : QStringList());
}

void TestRunJournal::atTheRunsName_data()
{
    QTest::addColumn<QString>("shape"); // what stands at the name of the run's journal

    QTest::newRow("nothing, nor its folder") << u"absent"_s;
    QTest::newRow("an earlier file") << u"file"_s;
    QTest::newRow("a link to a file") << u"link"_s;
    QTest::newRow("a FIFO") << u"fifo"_s;
    QTest::newRow("a folder") << u"folder"_s;
}

// The journal takes a free name and never writes through whatever stands at its own.
void TestRunJournal::atTheRunsName()
{
    QFETCH(QString, shape);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + u"/state/velto"_s;
    const QDateTime started(QDate(2026, 12, 9), QTime(16, 41, 39, 123), Qt::UTC);
    const QString name =
        folder + u"/run-20261209T164139.123-"_s + QString::number(::getpid()) + u".journal"_s;
    const QString target = dir.path() + u"/target"_s;
    const QByteArray earlier = "earlier";
    if (shape != u"absent"_s)
        QVERIFY(QDir().mkpath(folder));
    if (shape == u"file"_s)
        QVERIFY(TestFiles::writeContent(name, earlier));
    if (shape == u"link"_s) {
        QVERIFY(TestFiles::writeContent(target, earlier));
        QVERIFY(QFile::link(target, name));
    }
    if (shape == u"fifo"_s)
        QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0600), 0);
    if (shape == u"folder"_s)
        QVERIFY(QDir().mkpath(name));

    const QByteArray bytes = RunJournal::encode({entry(u"/d/"_s, u"a"_s, u"b"_s)});
    const std::unique_ptr<JournalFile> file = JournalFolder(folder).create(bytes, started);
    QVERIFY(file);
    QCOMPARE(TestFiles::read(file->path()), bytes);
    QCOMPARE(file->started() == started, shape == u"absent"_s);
    struct stat status = {};
    QCOMPARE(::lstat(QFile::encodeName(name).constData(), &status), 0);
    if (shape == u"absent"_s) {
        QCOMPARE(file->path(), name);
        QCOMPARE(status.st_mode & 0777, 0600u);
        QCOMPARE(::stat(QFile::encodeName(folder).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, 0700u);
        return;
    }
    // The next millisecond's name; what stood there is untouched.
    QCOMPARE(file->started(), started.addMSecs(1));
    if (shape == u"file"_s)
        QCOMPARE(TestFiles::read(name), earlier);
    if (shape == u"link"_s) {
        QVERIFY(S_ISLNK(status.st_mode));
        QCOMPARE(TestFiles::read(target), earlier);
    }
    if (shape == u"fifo"_s)
        QVERIFY(S_ISFIFO(status.st_mode));
    if (shape == u"folder"_s)
        QVERIFY(S_ISDIR(status.st_mode));
    // A link named like a journal is never read as one.
    if (shape == u"link"_s) {
        QVERIFY(TestFiles::writeContent(target, bytes));
        const std::unique_ptr<JournalFile> only = std::move(JournalFolder(folder).claimNewest().file);
        QVERIFY(!only); // the one real journal is held by `file`
    }
}

// Two windows on one folder: each takes back its own run, a third takes back neither while
// they are open, and two undos of one journal never run at once.
void TestRunJournal::windows()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + u"/velto"_s;
    auto a = std::make_unique<WindowJournal>(folder);
    WindowJournal b(folder);
    QVERIFY(a->sink().begin({entry(u"/a/"_s, u"1"_s, u"A1"_s)}));
    QThread::msleep(2); // two runs, two names
    QVERIFY(b.sink().begin({entry(u"/b/"_s, u"1"_s, u"B1"_s)}));

    WindowJournal fresh(folder);
    QVERIFY(fresh.mayUndo());
    QCOMPARE(fresh.claim().refusal, UndoRun::nothingToUndoText());
    WindowJournal::Claim ofA = a->claim();
    QVERIFY(ofA.file);
    QCOMPARE(describe(ofA.plan), QStringList{u"/a/1>A1"_s});
    a->keep(std::move(ofA));
    WindowJournal::Claim ofB = b.claim();
    QCOMPARE(describe(ofB.plan), QStringList{u"/b/1>B1"_s});
    b.undone(std::move(ofB));
    // One level, and only B's journal is gone.
    QCOMPARE(b.claim().refusal, UndoRun::nothingToUndoText());
    QVERIFY(!b.mayUndo());
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 1);

    // A closed: its run is the newest that no running window holds.
    a.reset();
    WindowJournal::Claim first = fresh.claim();
    QCOMPARE(describe(first.plan), QStringList{u"/a/1>A1"_s});
    WindowJournal other(folder);
    QCOMPARE(other.claim().refusal, UndoRun::busyText());
    fresh.keep(std::move(first));
    QCOMPARE(describe(other.claim().plan), QStringList{u"/a/1>A1"_s});
}

// At the end of a run the journal holds what happened; a run that renamed nothing leaves none,
// and a run that could not be journaled takes back nothing older.
void TestRunJournal::endOfRun()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + u"/velto"_s;
    WindowJournal window(folder);
    const RunJournal::Plan plan{entry(u"/d/"_s, u"1"_s, u"n1"_s), entry(u"/d/"_s, u"2"_s, u"n2"_s)};
    RunJournal::Sink sink = window.sink();
    QVERIFY(sink.begin(plan));
    sink.finish({plan.back()});
    QCOMPARE(describe(window.claim().plan), QStringList{u"/d/2>n2"_s});

    QVERIFY(sink.begin(plan));
    sink.finish({});
    QCOMPARE(window.claim().refusal, UndoRun::nothingToUndoText());
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 1); // the first run's

    // A folder that is read-only by now: the run goes on, and Ctrl+Z says so.
    QVERIFY(sink.begin(plan));
    const QString mount = u"mount -t tmpfs -o ro,size=64k tmpfs '"_s + folder + u"'"_s;
    if (::getuid() != 0 || QProcess::execute(u"sh"_s, {u"-c"_s, mount}) != 0)
        QSKIP("no read-only file system can be mounted here");
    QVERIFY(!sink.begin(plan));
    QCOMPARE(window.claim().refusal, UndoRun::notJournaledText());
    QProcess::execute(u"umount"_s, {folder});
}

// Ten journals stay; older ones go unless a running window holds them, and so do the
// temporary files of writes that a kill cut off.
void TestRunJournal::kept()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + u"/velto"_s;
    const JournalFolder journals(folder);
    const QByteArray bytes = RunJournal::encode({entry(u"/d/"_s, u"a"_s, u"b"_s)});
    QDateTime started(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    const std::unique_ptr<JournalFile> held = journals.create(bytes, started);
    for (int i = 0; i < 12; ++i)
        QVERIFY(journals.create(bytes, started = started.addSecs(1)));
    QVERIFY(TestFiles::writeContent(folder + u"/run-x.journal.new-abc"_s, "cut off"));
    QVERIFY(journals.create(bytes, started.addSecs(1)));
    QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    QCOMPARE(names.size(), JournalFolder::Kept + 1);
    QCOMPARE(names.first(), held->path().section(u'/', -1));
}

void TestRunJournal::defaultFolder_data()
{
    QTest::addColumn<QString>("stateHome");
    QTest::addColumn<QString>("expected"); // "~" for the home folder

    QTest::newRow("absolute") << u"/var/tmp/zustand"_s << u"/var/tmp/zustand/velto"_s;
    QTest::newRow("relative: ignored") << u"zustand"_s << u"~/.local/state/velto"_s;
    QTest::newRow("empty") << QString() << u"~/.local/state/velto"_s;
}

void TestRunJournal::defaultFolder()
{
    QFETCH(QString, stateHome);
    QFETCH(QString, expected);
    const QByteArray before = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", stateHome.toUtf8());
    const QString path = JournalFolder::defaultFolder();
    qputenv("XDG_STATE_HOME", before);
    QCOMPARE(path, expected.replace(u'~', QDir::homePath()));
}

VELTO_TEST_MAIN(TestRunJournal)
#include "TestRunJournal.moc"
