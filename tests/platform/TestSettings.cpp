#include "platform/Settings.h"

#include "TestMain.h"

#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The file types of a path: of the entry itself and of what it names (0 when absent).
std::pair<mode_t, mode_t> types(const QString& path)
{
    struct stat entry = {};
    struct stat named = {};
    ::lstat(QFile::encodeName(path).constData(), &entry);
    ::stat(QFile::encodeName(path).constData(), &named);
    return {entry.st_mode & S_IFMT, named.st_mode & S_IFMT};
}

// The same bytes for every run: no INI, since most lines hold no "=".
QByteArray binary(qsizetype size)
{
    QByteArray bytes(size, '\0');
    quint32 x = 12345;
    for (char& byte : bytes) {
        x = x * 1103515245u + 12345u;
        byte = char(x >> 24);
    }
    return bytes;
}

QByteArray content(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The real store, in the temporary home folder of the test.
class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlySoundRegularFiles_data();
    void onlySoundRegularFiles();
};

enum class Shape
{
    Fifo,
    LinkToFifo,
    LinkToDevice,
    LinkToFile,
    LockIsFifo,
    OverLimit, // valid INI, sparse
    AtLimit,
    Binary,
    LargeBinary,
    NotIni, // the key, and a line without "="
};

void TestSettings::onlySoundRegularFiles_data()
{
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<QString>("read"); // ToolTips as read, "d" the default
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("tooLarge");
    QTest::newRow("FIFO") << Shape::Fifo << u"d"_s << false << false;
    QTest::newRow("link to a FIFO") << Shape::LinkToFifo << u"d"_s << false << false;
    QTest::newRow("link to a device") << Shape::LinkToDevice << u"d"_s << false << false;
    QTest::newRow("link to a regular file") << Shape::LinkToFile << u"1"_s << true << false;
    QTest::newRow("lock file a FIFO") << Shape::LockIsFifo << u"d"_s << false << false;
    QTest::newRow("one byte over the limit") << Shape::OverLimit << u"d"_s << false << true;
    QTest::newRow("at the limit") << Shape::AtLimit << u"1"_s << true << false;
    QTest::newRow("binary") << Shape::Binary << u"d"_s << false << false;
    QTest::newRow("binary, 2 MB") << Shape::LargeBinary << u"d"_s << false << true;
    QTest::newRow("a line that is not INI") << Shape::NotIni << u"d"_s << false << false;
}

// Each row must end, neither block nor replace what the store's path names, and leave a file
// it does not use exactly as it was.
void TestSettings::onlySoundRegularFiles()
{
    QFETCH(Shape, shape);
    QFETCH(QString, read);
    QFETCH(bool, writable);
    QFETCH(bool, tooLarge);
    const QString store =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/Tollmark.ini"_s;
    QFile::remove(store);
    QFile::remove(store + u".lock"_s);
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(u"target"_s);
    const QByteArray fifo = QFile::encodeName(shape == Shape::Fifo         ? store
                                              : shape == Shape::LockIsFifo ? store + u".lock"_s
                                                                           : target);
    switch (shape) {
    case Shape::Fifo:
    case Shape::LinkToFifo:
    case Shape::LockIsFifo:
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
        break;
    case Shape::LinkToDevice:
        // The numbers of /dev/null, made in a temporary folder: should the store ever open
        // it, it reads nothing and writes nowhere, and no real device is touched.
        if (::mknod(QFile::encodeName(target).constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
            QSKIP(qPrintable(u"mknod is refused here: "_s + QString::fromLocal8Bit(std::strerror(errno))));
        break;
    case Shape::LinkToFile:
        QSettings(target, QSettings::IniFormat).setValue(u"Velto 1.6/ToolTips"_s, u"1"_s);
        break;
    case Shape::OverLimit:
    case Shape::AtLimit: {
        // A comment line runs to the end, so that only the size tells the rows apart.
        QFile file(store);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write("[Velto 1.6]\nToolTips=1\n;") > 0);
        QVERIFY(file.resize(Settings::MaxBytes + (shape == Shape::OverLimit ? 1 : 0)));
        break;
    }
    case Shape::Binary:
    case Shape::LargeBinary:
    case Shape::NotIni: {
        QFile file(store);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(shape == Shape::NotIni ? QByteArray("[Velto 1.6]\nToolTips=1\nkein INI\n")
                                                  : binary(shape == Shape::Binary ? 4096 : 2 << 20)) > 0);
        break;
    }
    }
    if (shape == Shape::LinkToFifo || shape == Shape::LinkToDevice || shape == Shape::LinkToFile)
        QVERIFY(QFile::link(target, store));
    const auto before = types(store);
    const QByteArray bytes = before.second == S_IFREG ? content(store) : QByteArray();

    Settings settings;
    QCOMPARE(settings.tooLarge(), tooLarge);
    QCOMPARE(settings.ReadSetting(u"ToolTips"_s, u"d"_s), read);
    QCOMPARE(settings.WriteSetting(u"ToolTips"_s, u"0"_s), writable);
    QCOMPARE(settings.ReadSetting(u"ToolTips"_s, u"d"_s), writable ? u"0"_s : read);
    QCOMPARE(settings.WriteSettings({{u"ToolTips"_s, u"2"_s}, {u"Maske1"_s, u"m"_s}}), writable);
    QCOMPARE(settings.ReadSetting(u"Maske1"_s, u"d"_s), writable ? u"m"_s : u"d"_s);
    QCOMPARE(types(store), before);
    if (!writable && before.second == S_IFREG)
        QVERIFY(content(store) == bytes);
    QCOMPARE(types(store + u".lock"_s).first, shape == Shape::LockIsFifo ? S_IFIFO : 0);
    QFile::remove(store);
    QFile::remove(store + u".lock"_s);
}

VELTO_TEST_MAIN(TestSettings)
#include "TestSettings.moc"
