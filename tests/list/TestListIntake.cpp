#include "list/ListIntake.h"

#include "list/RowFormat.h"
#include "platform/PosixFileSystem.h"

#include "FakeFileSystem.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TestRows.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>
#include <random>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QStringList oldNames(const std::vector<CandidateRow>& rows)
{
    QStringList names;
    for (const CandidateRow& row : rows)
        names.append(row.OldName);
    return names;
}

} // namespace

class TestListIntake : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void splitCommandLine_data();
    void splitCommandLine();
    void takeIn_data();
    void takeIn();
    void rowFields();
    void bareFileName();
    void foldersAreShared();
    void progressCountsSkippedPaths();
    void sizesBeyondFourGigabytes();
    void dateKeysFollowTheirTimes_data();
    void dateKeysFollowTheirTimes();
    void manyPathsAsAPlainSetTakesThem();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }

    std::optional<QTemporaryDir> m_dir;
    PosixFileSystem m_fs;
};

void TestListIntake::init()
{
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
}

void TestListIntake::splitCommandLine_data()
{
    QTest::addColumn<QList<QByteArray>>("arguments");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("notUtf8"); // arguments dropped for their bytes

    QTest::newRow("one path each") << QList<QByteArray>{"/a/x.txt", "/a/y.txt"}
                                   << QStringList{u"/a/x.txt"_s, u"/a/y.txt"_s} << 0;
    QTest::newRow("blanks stay inside the path")
        << QList<QByteArray>{"/a/name with  blanks.txt", " lead"}
        << QStringList{u"/a/name with  blanks.txt"_s, u" lead"_s} << 0;
    QTest::newRow("quotes are name characters")
        << QList<QByteArray>{"\"/a/q.txt\""} << QStringList{u"\"/a/q.txt\""_s} << 0;
    QTest::newRow("empty arguments dropped")
        << QList<QByteArray>{"", "/a/x", ""} << QStringList{u"/a/x"_s} << 0;
    QTest::newRow("umlauts in UTF-8") << QList<QByteArray>{"/a/\xc3\x9c"
                                                           "bersicht.pdf"}
                                      << QStringList{u"/a/Übersicht.pdf"_s} << 0;
    QTest::newRow("Latin-1 byte dropped, neighbours kept") << QList<QByteArray>{"/a/x",
                                                                                "/a/\xdc"
                                                                                "bersicht.pdf",
                                                                                "/a/y"}
                                                           << QStringList{u"/a/x"_s, u"/a/y"_s} << 1;
    QTest::newRow("overlong encoding dropped") << QList<QByteArray>{"/a/\xc0\xaf"} << QStringList{} << 1;
    QTest::newRow("encoded surrogate dropped") << QList<QByteArray>{"/a/\xed\xa0\x80"} << QStringList{} << 1;
    QTest::newRow("nothing") << QList<QByteArray>{} << QStringList{} << 0;
}

void TestListIntake::splitCommandLine()
{
    QFETCH(QList<QByteArray>, arguments);
    QFETCH(QStringList, paths);
    QFETCH(int, notUtf8);
    qsizetype skipped = -1;
    QCOMPARE(ListIntake::SplitCommandLine(arguments, &skipped), paths);
    QCOMPARE(skipped, notUtf8);
}

void TestListIntake::takeIn_data()
{
    // Names are relative to the test folder; "" stays an empty path.
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("taken");

    QTest::newRow("last taken in stands first")
        << QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s} << QStringList{}
        << QStringList{u"c.txt"_s, u"b.txt"_s, u"a.txt"_s};
    QTest::newRow("missing path skipped")
        << QStringList{u"a.txt"_s, u"nope.txt"_s} << QStringList{} << QStringList{u"a.txt"_s};
    QTest::newRow("folder skipped, files beside it taken")
        << QStringList{u"sub"_s, u"a.txt"_s} << QStringList{} << QStringList{u"a.txt"_s};
    QTest::newRow("file inside a folder")
        << QStringList{u"sub/inner.txt"_s} << QStringList{} << QStringList{u"inner.txt"_s};
    QTest::newRow("empty path skipped")
        << QStringList{u""_s, u"a.txt"_s} << QStringList{} << QStringList{u"a.txt"_s};
    QTest::newRow("duplicate within one call") << QStringList{u"a.txt"_s, u"b.txt"_s, u"a.txt"_s}
                                               << QStringList{} << QStringList{u"b.txt"_s, u"a.txt"_s};
    QTest::newRow("duplicate of a listed row")
        << QStringList{u"a.txt"_s, u"b.txt"_s} << QStringList{u"a.txt"_s} << QStringList{u"b.txt"_s};
    QTest::newRow("letter case differs: two rows")
        << QStringList{u"x.txt"_s, u"X.txt"_s} << QStringList{} << QStringList{u"X.txt"_s, u"x.txt"_s};
    QTest::newRow("listed row differs in case only")
        << QStringList{u"x.txt"_s} << QStringList{u"X.txt"_s} << QStringList{u"x.txt"_s};
    QTest::newRow("question mark in a name")
        << QStringList{u"what?.txt"_s} << QStringList{} << QStringList{u"what?.txt"_s};
    QTest::newRow("slash after a file name") << QStringList{u"a.txt/"_s} << QStringList{} << QStringList{};
    QTest::newRow("one entry, five spellings")
        << QStringList{u"sub/inner.txt"_s, u"./sub/inner.txt"_s, u"sub//inner.txt"_s,
                       u"sub/../sub/inner.txt"_s, u"linked/inner.txt"_s}
        << QStringList{} << QStringList{u"inner.txt"_s};
    QTest::newRow("listed row, other spelling")
        << QStringList{u"linked/inner.txt"_s, u"./a.txt"_s} << QStringList{u"sub/inner.txt"_s, u"a.txt"_s}
        << QStringList{};
    QTest::newRow("hard link and link to a file are entries of their own")
        << QStringList{u"a.txt"_s, u"hard.txt"_s, u"alias.txt"_s} << QStringList{}
        << QStringList{u"alias.txt"_s, u"hard.txt"_s, u"a.txt"_s};
    QTest::newRow("FIFO, device and dangling link skipped")
        << QStringList{u"fifo"_s, u"null"_s, u"dangling"_s, u"b.txt"_s} << QStringList{}
        << QStringList{u"b.txt"_s};
    QTest::newRow("blanks, quotes, newline, umlauts")
        << QStringList{u"name with blanks.txt"_s, u"\"q\".txt"_s, u"line\nbreak"_s, u"Ärger.pdf"_s}
        << QStringList{}
        << QStringList{u"Ärger.pdf"_s, u"line\nbreak"_s, u"\"q\".txt"_s, u"name with blanks.txt"_s};
}

void TestListIntake::takeIn()
{
    QFETCH(QStringList, paths);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, taken);

    QVERIFY(QDir(m_dir->path()).mkdir(u"sub"_s));
    for (const QString& name :
         {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"x.txt"_s, u"X.txt"_s, u"what?.txt"_s, u"sub/inner.txt"_s,
          u"name with blanks.txt"_s, u"\"q\".txt"_s, u"line\nbreak"_s, u"Ärger.pdf"_s})
        QVERIFY2(TestFiles::write(path(name)), qPrintable(name));
    for (const QString& link :
         {u"linked->sub"_s, u"alias.txt->a.txt"_s, u"dangling->nowhere"_s, u"null->/dev/null"_s})
        QVERIFY2(TestFiles::create(m_dir->path(), link), qPrintable(link));
    const auto encoded = [this](const QString& name) { return QFile::encodeName(path(name)); };
    QCOMPARE(::link(encoded(u"a.txt"_s).constData(), encoded(u"hard.txt"_s).constData()), 0);
    QCOMPARE(::mkfifo(encoded(u"fifo"_s).constData(), 0600), 0);

    std::vector<CandidateRow> existing;
    for (const QString& name : listed)
        existing.push_back(TestRows::row(path(name)));
    QStringList fullPaths;
    for (const QString& name : paths)
        fullPaths.append(name.isEmpty() ? QString() : path(name));

    const std::vector<CandidateRow> rows = ListIntake::takeIn(fullPaths, existing, m_fs);
    QCOMPARE(oldNames(rows), taken);
    for (const CandidateRow& row : rows)
        QVERIFY(row.Marked);
}

void TestListIntake::rowFields()
{
    const QString file = path(u"Urlaub.2024.jpg"_s);
    QVERIFY(TestFiles::write(file, 1088));
    QVERIFY(TestFiles::setLocalMtime(file, LocalTime{1999, 12, 24, 13, 45, 7}));

    const std::vector<CandidateRow> rows = ListIntake::takeIn({file}, {}, m_fs);
    QCOMPARE(rows.size(), size_t(1));
    const CandidateRow& row = rows.front();
    QCOMPARE(row.Folder.text(), m_dir->path() + u'/');
    QCOMPARE(row.OldName, u"Urlaub.2024.jpg"_s);
    QCOMPARE(row.BareName().toString(), u"Urlaub.2024"_s);
    QCOMPARE(row.TypeText().toString(), u"jpg"_s);
    QCOMPARE(row.PathName(), file);
    QCOMPARE(row.Size, qint64(1088));
    QCOMPARE(row.SizeText(), u"1,063 KB"_s);
    QCOMPARE(row.DateKey(), u"1999122413:45:07"_s);
    QCOMPARE(row.DateText(), u"24.12.1999 13:45:07"_s);
    QVERIFY(row.NewName.isEmpty());
    QCOMPARE(row.Problems, RowProblem::None);
    QVERIFY(row.Marked);
}

void TestListIntake::bareFileName()
{
    QVERIFY(TestFiles::write(path(u"Brief"_s)));
    const TestFiles::CurrentFolder current(m_dir->path());
    const std::vector<CandidateRow> rows = ListIntake::takeIn({u"Brief"_s}, {}, m_fs);
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows.front().Folder.text(), QString());
    QCOMPARE(rows.front().OldName, u"Brief"_s);
    QCOMPARE(rows.front().TypeText().toString(), QString());
}

void TestListIntake::foldersAreShared()
{
    QVERIFY(QDir(m_dir->path()).mkdir(u"one"_s));
    QVERIFY(QDir(m_dir->path()).mkdir(u"two"_s));
    const QStringList names = {u"one/a"_s, u"one/b"_s, u"two/c"_s, u"one/d"_s};
    QStringList paths;
    for (const QString& name : names) {
        QVERIFY(TestFiles::write(path(name)));
        paths.append(path(name));
    }

    const std::vector<CandidateRow> rows = ListIntake::takeIn(paths, {}, m_fs);
    QCOMPARE(oldNames(rows), (QStringList{u"d"_s, u"c"_s, u"b"_s, u"a"_s}));
    QCOMPARE(rows[0].Folder.text(), path(u"one/"_s));
    QCOMPARE(rows[1].Folder.text(), path(u"two/"_s));
    // One folder text in memory however the paths interleave.
    QCOMPARE(rows[0].Folder.text().constData(), rows[2].Folder.text().constData());
    QCOMPARE(rows[2].Folder.text().constData(), rows[3].Folder.text().constData());
    QVERIFY(rows[0].Folder.sharesNode(rows[3].Folder));
}

void TestListIntake::progressCountsSkippedPaths()
{
    QVERIFY(TestFiles::write(path(u"a"_s)));
    const QStringList paths = {path(u"a"_s), path(u"missing"_s), QString(), path(u"a"_s)};
    QList<std::pair<qsizetype, qsizetype>> calls;
    const std::vector<CandidateRow> rows =
        ListIntake::takeIn(paths, {}, m_fs, [&calls](qsizetype done, qsizetype total) {
            calls.append({done, total});
        });
    QCOMPARE(rows.size(), size_t(1));
    const QList<std::pair<qsizetype, qsizetype>> expected = {{1, 4}, {2, 4}, {3, 4}, {4, 4}};
    QCOMPARE(calls, expected);
}

void TestListIntake::sizesBeyondFourGigabytes()
{
    FakeFileSystem fs;
    fs.addFile(u"/big/disk.img"_s, qint64(5) << 40, LocalTime{2085, 3, 4, 5, 6, 7});
    fs.addFolder(u"/big/folder"_s);
    const std::vector<CandidateRow> rows = ListIntake::takeIn({u"/big/folder"_s, u"/big/disk.img"_s}, {}, fs);
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows.front().SizeText(), u"5 TB"_s);
    QCOMPARE(rows.front().SizeKey(), u"0000050000000000"_s);
    QCOMPARE(rows.front().DateKey(), u"2085030405:06:07"_s);
}

void TestListIntake::dateKeysFollowTheirTimes_data()
{
    QTest::addColumn<QList<LocalTime>>("times"); // of the files "/t/0", "/t/1", ... in turn

    const LocalTime noon{2024, 5, 6, 12, 0, 0};
    QTest::newRow("one time for all") << QList<LocalTime>{noon, noon, noon};
    QTest::newRow("a minute and four seconds apart, back and forth")
        << QList<LocalTime>{noon, {2024, 5, 6, 12, 1, 4}, noon, {2024, 5, 6, 12, 1, 4}};
    QTest::newRow("one clock time on other months and years")
        << QList<LocalTime>{noon, {2024, 6, 6, 12, 0, 0}, {2023, 5, 6, 12, 0, 0}, noon};
    QTest::newRow("no time known") << QList<LocalTime>{{}, noon, {}};
}

void TestListIntake::dateKeysFollowTheirTimes()
{
    QFETCH(QList<LocalTime>, times);
    FakeFileSystem fs;
    QStringList paths;
    for (qsizetype i = 0; i < times.size(); ++i) {
        paths.append(u"/t/%1"_s.arg(i));
        fs.addFile(paths.last(), 1, times.at(i));
    }

    const std::vector<CandidateRow> rows = ListIntake::takeIn(paths, {}, fs);
    QCOMPARE(rows.size(), size_t(times.size()));
    for (const CandidateRow& row : rows)
        QCOMPARE(row.DateKey(), RowFormat::dateKey(times.at(row.OldName.toInt())));
}

void TestListIntake::manyPathsAsAPlainSetTakesThem()
{
    // Thousands of paths in three folders, with repeats, missing files and listed rows, against
    // the obvious way: a set of the path texts, which holds where every entry has one spelling.
    std::mt19937 random(1);
    FakeFileSystem fs;
    QStringList paths;
    for (int i = 0; i < 20000; ++i) {
        paths.append(u"/f%1/n%2"_s.arg(random() % 3).arg(random() % 6000));
        if (random() % 10 != 0)
            fs.addFile(paths.last());
    }
    std::vector<CandidateRow> existing;
    for (int i = 0; i < 1000; ++i)
        existing.push_back(TestRows::row(paths.at(random() % paths.size())));

    QSet<QString> listed;
    for (const CandidateRow& row : existing)
        listed.insert(row.PathName());
    QStringList expected;
    for (const QString& path : paths) {
        if (!listed.contains(path) && fs.attributes(path).exists) {
            listed.insert(path);
            expected.append(path);
        }
    }
    std::reverse(expected.begin(), expected.end());

    QStringList taken;
    for (const CandidateRow& row : ListIntake::takeIn(paths, existing, fs))
        taken.append(row.PathName());
    QCOMPARE(taken, expected);
}

VELTO_TEST_MAIN(TestListIntake)
#include "TestListIntake.moc"
