#include "platform/PosixFileSystem.h"

#include "TestFiles.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>

#include <optional>

using namespace Qt::StringLiterals;

using TestFiles::CurrentFolder;
using TestFiles::setLocalMtime;

class TestPosixFileSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void modifiedTime_data();
    void modifiedTime();
    void kinds_data();
    void kinds();
    void entryNames();
    void entryNamesOfCurrentFolder();
    void entryNamesOfMissingFolder();
    void maxNameBytes();

private:
    std::optional<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }
    PosixFileSystem m_fs;
};

void TestPosixFileSystem::init()
{
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
}

void TestPosixFileSystem::modifiedTime_data()
{
    QTest::addColumn<LocalTime>("time");
    QTest::newRow("christmas eve 1999") << LocalTime{1999, 12, 24, 13, 45, 7};
    QTest::newRow("midnight 2000") << LocalTime{2000, 1, 1, 0, 0, 0};
    QTest::newRow("1975") << LocalTime{1975, 6, 30, 23, 59, 59};
    QTest::newRow("2085") << LocalTime{2085, 3, 4, 5, 6, 7};
}

void TestPosixFileSystem::modifiedTime()
{
    QFETCH(LocalTime, time);
    const QString file = path(u"f.txt"_s);
    QVERIFY(TestFiles::write(file, 3));
    if (!setLocalMtime(file, time))
        QSKIP("the file system does not store this time");

    const FileAttributes attributes = m_fs.attributes(file);
    QVERIFY(attributes.exists);
    QCOMPARE(attributes.modified.year, time.year);
    QCOMPARE(attributes.modified.month, time.month);
    QCOMPARE(attributes.modified.day, time.day);
    QCOMPARE(attributes.modified.hour, time.hour);
    QCOMPARE(attributes.modified.minute, time.minute);
    QCOMPARE(attributes.modified.second, time.second);
}

void TestPosixFileSystem::kinds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("isFolder");
    QTest::addColumn<qint64>("size");

    QTest::newRow("file") << u"file.bin"_s << true << false << qint64(1234);
    QTest::newRow("empty file") << u"empty"_s << true << false << qint64(0);
    QTest::newRow("folder") << u"sub"_s << true << true << qint64(-1);
    QTest::newRow("link to file is followed") << u"link"_s << true << false << qint64(1234);
    QTest::newRow("dangling link") << u"dangling"_s << false << false << qint64(0);
    QTest::newRow("missing") << u"missing"_s << false << false << qint64(0);
    QTest::newRow("file with a slash after it") << u"file.bin/"_s << false << false << qint64(0);
    QTest::newRow("NUL inside the name") << u"file.bin\0tail"_s << false << false << qint64(0);
}

void TestPosixFileSystem::kinds()
{
    QFETCH(QString, name);
    QFETCH(bool, exists);
    QFETCH(bool, isFolder);
    QFETCH(qint64, size);

    QVERIFY(TestFiles::write(path(u"file.bin"_s), 1234));
    QVERIFY(TestFiles::write(path(u"empty"_s), 0));
    QVERIFY(QDir(m_dir->path()).mkdir(u"sub"_s));
    QVERIFY(QFile::link(path(u"file.bin"_s), path(u"link"_s)));
    QVERIFY(QFile::link(path(u"gone"_s), path(u"dangling"_s)));

    const FileAttributes attributes = m_fs.attributes(path(name));
    QCOMPARE(attributes.exists, exists);
    QCOMPARE(attributes.isFolder, isFolder);
    if (size >= 0)
        QCOMPARE(attributes.size, size);
}

void TestPosixFileSystem::entryNames()
{
    QVERIFY(TestFiles::write(path(u"a.txt"_s), 1));
    QVERIFY(TestFiles::write(path(u".hidden"_s), 1));
    QVERIFY(TestFiles::write(path(u"Übersicht mit Leerzeichen"_s), 1));
    QVERIFY(QDir(m_dir->path()).mkdir(u"sub"_s));
    QVERIFY(QFile::link(path(u"gone"_s), path(u"dangling"_s)));

    const std::optional<QStringList> names = m_fs.entryNames(m_dir->path());
    QVERIFY(names.has_value());
    QStringList sorted = *names;
    sorted.sort();
    QCOMPARE(sorted, (QStringList{u".hidden"_s, u"a.txt"_s, u"dangling"_s, u"sub"_s,
                                  u"Übersicht mit Leerzeichen"_s}));
}

void TestPosixFileSystem::entryNamesOfCurrentFolder()
{
    QVERIFY(TestFiles::write(path(u"only"_s), 1));
    const CurrentFolder current(m_dir->path());
    QCOMPARE(m_fs.entryNames(QString()), std::optional<QStringList>(QStringList{u"only"_s}));
}

void TestPosixFileSystem::entryNamesOfMissingFolder()
{
    // A folder that is gone holds nothing that a new name could meet.
    QCOMPARE(m_fs.entryNames(path(u"missing"_s)), std::optional<QStringList>(QStringList()));
    QVERIFY(TestFiles::write(path(u"file"_s), 1));
    QCOMPARE(m_fs.entryNames(path(u"file"_s)), std::optional<QStringList>(QStringList()));
}

void TestPosixFileSystem::maxNameBytes()
{
    const int limit = m_fs.maxNameBytes(m_dir->path());
    QVERIFY(limit > 0);
    // A name of exactly that many bytes can be created; the check relies on the figure.
    if (limit <= 4096) {
        const QString name(limit, u'n');
        QVERIFY(TestFiles::write(path(name), 0));
    }
    QCOMPARE(m_fs.maxNameBytes(path(u"missing"_s)), 255);
}

VELTO_TEST_MAIN(TestPosixFileSystem)
#include "TestPosixFileSystem.moc"
