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

} // namespace

// The real store, in the temporary home folder of the test.
class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyRegularFiles_data();
    void onlyRegularFiles();
};

enum class Shape
{
    Fifo,
    LinkToFifo,
    LinkToDevice,
    LinkToFile,
    LockIsFifo,
};

void TestSettings::onlyRegularFiles_data()
{
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<QString>("read"); // ToolTips as read, "d" the default
    QTest::addColumn<bool>("writable");
    QTest::newRow("FIFO") << Shape::Fifo << u"d"_s << false;
    QTest::newRow("link to a FIFO") << Shape::LinkToFifo << u"d"_s << false;
    QTest::newRow("link to a device") << Shape::LinkToDevice << u"d"_s << false;
    QTest::newRow("link to a regular file") << Shape::LinkToFile << u"1"_s << true;
    QTest::newRow("lock file a FIFO") << Shape::LockIsFifo << u"d"_s << false;
}

// Each row must end, neither block nor replace what the store's path names.
void TestSettings::onlyRegularFiles()
{
    QFETCH(Shape, shape);
    QFETCH(QString, read);
    QFETCH(bool, writable);
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
    }
    if (shape != Shape::Fifo && shape != Shape::LockIsFifo)
        QVERIFY(QFile::link(target, store));
    const auto before = types(store);

    Settings settings;
    QCOMPARE(settings.ReadSetting(u"ToolTips"_s, u"d"_s), read);
    QCOMPARE(settings.WriteSetting(u"ToolTips"_s, u"0"_s), writable);
    QCOMPARE(settings.ReadSetting(u"ToolTips"_s, u"d"_s), writable ? u"0"_s : read);
    QCOMPARE(types(store), before);
    QCOMPARE(types(store + u".lock"_s).first, shape == Shape::LockIsFifo ? S_IFIFO : 0);
    QFile::remove(store);
    QFile::remove(store + u".lock"_s);
}

VELTO_TEST_MAIN(TestSettings)
#include "TestSettings.moc"
