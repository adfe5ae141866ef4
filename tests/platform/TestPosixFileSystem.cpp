#include "platform/PosixFileSystem.h"

#include "TestFiles.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <ctime>
#include <optional>

using namespace Qt::StringLiterals;

using TestFiles::CurrentFolder;
using TestFiles::setLocalMtime;

namespace {

// Everything attributes() tells, as one text for comparing.
QString summary(const FileAttributes& attributes)
{
    const LocalTime& time = attributes.modified;
    QStringList parts;
    for (const qint64 value :
         {qint64{attributes.exists}, qint64{attributes.isFolder}, qint64{attributes.isSpecial},
          attributes.size, qint64{time.year}, qint64{time.month}, qint64{time.day}, qint64{time.hour},
          qint64{time.minute}, qint64{time.second}})
        parts.append(QString::number(value));
    return parts.join(u' ');
}

// What a reader gives for a path, split as the intake splits it.
FileAttributes readPath(AttributeReader& reader, const QString& path)
{
    const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    return reader.attributes(path.left(nameStart), QStringView(path).mid(nameStart));
}

// Sets TZ for one test and restores it afterwards.
class ZoneForTest
{
public:
    explicit ZoneForTest(const QString& zone)
        : m_had(qEnvironmentVariableIsSet("TZ")), m_previous(qgetenv("TZ"))
    {
        qputenv("TZ", zone.toUtf8());
        ::tzset();
    }
    ~ZoneForTest()
    {
        if (m_had)
            qputenv("TZ", m_previous);
        else
            qunsetenv("TZ");
        ::tzset();
    }
    ZoneForTest(const ZoneForTest&) = delete;
    ZoneForTest& operator=(const ZoneForTest&) = delete;

private:
    bool m_had;
    QByteArray m_previous;
};

} // namespace

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
    void readerAgreesWithAttributes_data();
    void readerAgreesWithAttributes();
    void readerKeepsThePathLimit();
    void readerTimesAcrossZoneChanges_data();
    void readerTimesAcrossZoneChanges();

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

void TestPosixFileSystem::readerAgreesWithAttributes_data()
{
    // Paths relative to the test folder, or to the current folder when it is the test folder.
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<bool>("fromCurrentFolder");

    QTest::newRow("files and a link to one") << QStringList{u"file.bin"_s, u"empty"_s, u"link"_s} << false;
    QTest::newRow("folder, FIFO, dangling link, missing")
        << QStringList{u"sub"_s, u"fifo"_s, u"dangling"_s, u"missing"_s} << false;
    QTest::newRow("other spellings of a folder")
        << QStringList{u"sub/inner.txt"_s, u"linkedsub/inner.txt"_s, u"sub/../file.bin"_s,
                       u"sub//inner.txt"_s, u"./sub/inner.txt"_s}
        << false;
    QTest::newRow("folder that is not one or is missing")
        << QStringList{u"file.bin/inner.txt"_s, u"nowhere/file.bin"_s, u"file.bin/"_s, u"sub/"_s} << false;
    QTest::newRow("U+0000 in the name or the folder")
        << QStringList{u"file.bin\0tail"_s, u"sub\0/inner.txt"_s, u"sub/\0"_s} << false;
    QTest::newRow("umlauts, and names beyond 255 bytes")
        << QStringList{u"Übersicht.txt"_s, QString(130, u'ä'), QString(300, u'n')} << false;
    QStringList nineFolders;
    for (int folder = 1; folder <= 9; ++folder)
        nineFolders << u"f%1/a"_s.arg(folder) << u"f%1/b"_s.arg(folder);
    QTest::newRow("nine folders in turn, two names each") << nineFolders << false;
    QTest::newRow("bare names in the current folder")
        << QStringList{u"file.bin"_s, u"sub"_s, u"missing"_s} << true;
}

void TestPosixFileSystem::readerAgreesWithAttributes()
{
    QFETCH(QStringList, paths);
    QFETCH(bool, fromCurrentFolder);

    QVERIFY(TestFiles::write(path(u"file.bin"_s), 1234));
    QVERIFY(TestFiles::write(path(u"empty"_s), 0));
    QVERIFY(TestFiles::write(path(u"Übersicht.txt"_s), 5));
    QVERIFY(QDir(m_dir->path()).mkdir(u"sub"_s));
    QVERIFY(TestFiles::write(path(u"sub/inner.txt"_s), 7));
    QVERIFY(QFile::link(path(u"file.bin"_s), path(u"link"_s)));
    QVERIFY(QFile::link(path(u"gone"_s), path(u"dangling"_s)));
    QVERIFY(QFile::link(path(u"sub"_s), path(u"linkedsub"_s)));
    QCOMPARE(::mkfifo(QFile::encodeName(path(u"fifo"_s)).constData(), 0600), 0);
    for (int folder = 1; folder <= 9; ++folder) {
        const QString name = u"f%1"_s.arg(folder);
        QVERIFY(QDir(m_dir->path()).mkdir(name));
        QVERIFY(TestFiles::write(path(name + u"/a"_s), folder));
        QVERIFY(TestFiles::write(path(name + u"/b"_s), folder + 10));
    }
    std::optional<CurrentFolder> current;
    if (fromCurrentFolder)
        current.emplace(m_dir->path());

    // Three rounds: a folder's first name goes by the path, later ones through the open folder.
    const std::unique_ptr<AttributeReader> reader = m_fs.attributeReader();
    for (int round = 0; round < 3; ++round) {
        for (const QString& name : paths) {
            const QString full = fromCurrentFolder ? name : path(name);
            QCOMPARE(summary(readPath(*reader, full)), summary(m_fs.attributes(full)));
        }
    }
}

void TestPosixFileSystem::readerKeepsThePathLimit()
{
    // A folder a few hundred bytes short of PATH_MAX, made level by level below the test folder,
    // with two files whose full paths are one byte short of the limit and at it: the kernel
    // takes the first and refuses the second, though the folder would take both names.
    const QByteArray level(200, 'd');
    QString folder = m_dir->path() + u'/';
    int folderFd = ::open(QFile::encodeName(m_dir->path()).constData(), O_RDONLY | O_DIRECTORY);
    QVERIFY(folderFd >= 0);
    while (folder.size() + level.size() + 1 < PATH_MAX - 20) {
        QCOMPARE(::mkdirat(folderFd, level.constData(), 0700), 0);
        const int next = ::openat(folderFd, level.constData(), O_RDONLY | O_DIRECTORY);
        ::close(folderFd);
        QVERIFY(next >= 0);
        folderFd = next;
        folder += QString::fromLatin1(level) + u'/';
    }
    const QString fits(PATH_MAX - 1 - folder.size(), u'n');
    const QString tooLong = fits + u'n';
    for (const QString& name : {fits, tooLong}) {
        const int fd = ::openat(folderFd, QFile::encodeName(name).constData(), O_CREAT | O_WRONLY, 0600);
        QVERIFY(fd >= 0);
        ::close(fd);
    }

    QVERIFY(m_fs.attributes(folder + fits).exists);
    QVERIFY(!m_fs.attributes(folder + tooLong).exists);
    const std::unique_ptr<AttributeReader> reader = m_fs.attributeReader();
    for (int round = 0; round < 3; ++round) {
        for (const QString& name : {fits, tooLong})
            QCOMPARE(summary(reader->attributes(folder, name)), summary(m_fs.attributes(folder + name)));
    }
    // The folder cannot remove a path beyond PATH_MAX by itself.
    QCOMPARE(::unlinkat(folderFd, QFile::encodeName(tooLong).constData(), 0), 0);
    ::close(folderFd);
}

void TestPosixFileSystem::readerTimesAcrossZoneChanges_data()
{
    QTest::addColumn<QString>("zone");
    QTest::addColumn<qint64>("change"); // a moment the zone changes its offset from UTC

    QTest::newRow("Berlin, clocks forward") << u"Europe/Berlin"_s << qint64(1711846800);
    QTest::newRow("Berlin, clocks back") << u"Europe/Berlin"_s << qint64(1729990800);
    QTest::newRow("Berlin in 2085, by the zone's rule") << u"Europe/Berlin"_s << qint64(3636320400);
    QTest::newRow("St. John's, on the half hour") << u"America/St_Johns"_s << qint64(1710048600);
    QTest::newRow("Lord Howe, half an hour back") << u"Australia/Lord_Howe"_s << qint64(1712415600);
    QTest::newRow("Kathmandu, a quarter hour on") << u"Asia/Kathmandu"_s << qint64(504901800);
    QTest::newRow("UTC before 1970") << u"UTC"_s << qint64(-315619200);
    QTest::newRow("leap seconds counted") << u"right/Europe/Berlin"_s << qint64(1483228826);
}

void TestPosixFileSystem::readerTimesAcrossZoneChanges()
{
    QFETCH(QString, zone);
    QFETCH(qint64, change);
    if (!QFile::exists(u"/usr/share/zoneinfo/"_s + zone))
        QSKIP("the zone is not installed");
    const ZoneForTest inZone(zone);

    // Moments around the change and through the hours about it, each met twice, so that every
    // hour is seen, checked and then reckoned from its offset; and two moments 16 hours apart,
    // on either side of the change, met in turn.
    const qint64 hourStart = change - ((change % 3600) + 3600) % 3600;
    QList<qint64> moments = {change - 8 * 3600, change + 8 * 3600};
    for (const qint64 offset : {-3601, -3600, -1, 0, 1, 1799, 1800, 3599, 3600, 5399, 7199}) {
        moments.append(change + offset);
        moments.append(hourStart + offset);
    }
    QStringList files;
    for (const qint64 moment : moments) {
        const QString file = path(u"t%1"_s.arg(files.size()));
        QVERIFY(TestFiles::write(file, 0));
        const struct timespec times[2] = {{static_cast<time_t>(moment), 0}, {static_cast<time_t>(moment), 0}};
        if (::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0) != 0)
            QSKIP("the file system does not store this time");
        files.append(file);
    }

    const std::unique_ptr<AttributeReader> reader = m_fs.attributeReader();
    for (int round = 0; round < 2; ++round) {
        for (const QString& file : files)
            QCOMPARE(summary(readPath(*reader, file)), summary(m_fs.attributes(file)));
    }
}

VELTO_TEST_MAIN(TestPosixFileSystem)
#include "TestPosixFileSystem.moc"
