#include "platform/ShortcutService.h"

#include "TestFiles.h"
#include "TestMain.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

// The raw value of a key of the entry.
QString value(const QString& file, const QString& key)
{
    for (const QByteArray& line : TestFiles::read(file).split('\n')) {
        if (line.startsWith(key.toUtf8() + '='))
            return QString::fromUtf8(line.mid(key.size() + 1));
    }
    return QString();
}

} // namespace

// The real service, writing into the temporary home folder of the test.
class TestShortcutService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entries_data();
    void entries();
    void failures_data();
    void failures();
    void execQuoting_data();
    void execQuoting();
    void nautilusScriptPassesLocalFiles();
};

void TestShortcutService::entries_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("userDirs"); // content of user-dirs.dirs, empty: none
    QTest::addColumn<QString>("expected"); // below HOME
    QTest::addColumn<bool>("executable");
    QTest::newRow("desktop") << uR"(..\..\desktop)"_s << QString() << u"Desktop/Velto 1.6.desktop"_s << true;
    QTest::newRow("desktop named by user-dirs")
        << uR"(..\..\desktop)"_s << u"XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"_s
        << u"Schreibtisch/Velto 1.6.desktop"_s << true;
    // Only absolute paths and "$HOME/..." are allowed there; anything else means ~/Desktop.
    QTest::newRow("desktop named relative")
        << uR"(..\..\desktop)"_s << u"XDG_DESKTOP_DIR=\"Schreibtisch\"\n"_s << u"Desktop/Velto 1.6.desktop"_s
        << true;
    QTest::newRow("open with") << uR"(..\..\sendto)"_s << QString()
                               << u".local/share/applications/Velto 1.6.desktop"_s << false;
}

void TestShortcutService::entries()
{
    QFETCH(QString, folder);
    QFETCH(QString, userDirs);
    QFETCH(QString, expected);
    QFETCH(bool, executable);
    const QString home = QDir::homePath();
    const QString dirsFile =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/user-dirs.dirs"_s;
    QFile::remove(dirsFile);
    if (!userDirs.isEmpty())
        QVERIFY(TestFiles::writeContent(dirsFile, userDirs.toUtf8()));
    const QString target = home + u"/Meine Programme/100% Velto/velto"_s;
    XdgShortcutService service;
    const QString file = home + u'/' + expected;
    QCOMPARE(service.fCreateShellLink(folder, u"Velto 1.6"_s, u"alt"_s, QString()).error, 0);
    // A second call replaces the first.
    const ShortcutResult result = service.fCreateShellLink(folder, u"Velto 1.6"_s, target, QString());
    QCOMPARE(result.error, 0);
    QCOMPARE(result.file, file);

    QVERIFY2(QFile::exists(file), qPrintable(file));
    QCOMPARE(value(file, u"Name"_s), u"Velto 1.6"_s);
    QCOMPARE(value(file, u"Exec"_s), u"\"%1/Meine Programme/100%% Velto/velto\" %F"_s.arg(home));
    QCOMPARE(bool(QFile::permissions(file) & QFileDevice::ExeOwner), executable);
    QCOMPARE(value(file, u"MimeType"_s), executable ? QString() : u"application/octet-stream;"_s);

    const QString validator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
    if (validator.isEmpty())
        QSKIP("desktop-file-validate (desktop-file-utils) is not installed");
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, {file});
    QVERIFY(validate.waitForFinished());
    QVERIFY2(validate.exitCode() == 0, validate.readAll().constData());
}

void TestShortcutService::failures_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("blocker"); // below HOME: a file, or a folder when it ends in "/"
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("file"); // below HOME
    QTest::addColumn<int>("error");
    const QString desktop = uR"(..\..\desktop)"_s;
    const QString sendTo = uR"(..\..\sendto)"_s;
    const QString applications = u".local/share/applications/Velto 1.6.desktop"_s;
    // Failures that hold for root too.
    QTest::newRow("a file where the folder should be")
        << sendTo << u".local/share/applications"_s << u"/opt/velto/velto"_s << applications << ENOTDIR;
    QTest::newRow("a file above the folder")
        << desktop << u"Desktop"_s << u"/opt/velto/velto"_s << u"Desktop/Velto 1.6.desktop"_s << ENOTDIR;
    QTest::newRow("a file where the scripts folder should be")
        << uR"(..\..\nautilus-scripts)"_s << u".local/share/nautilus/scripts"_s << u"/opt/velto/velto"_s
        << u".local/share/nautilus/scripts/Velto 1.6"_s << ENOTDIR;
    QTest::newRow("a folder in the entry's place")
        << sendTo << applications + u'/' << u"/opt/velto/velto"_s << applications << EEXIST;
    // The program's path when the system's name for it is not valid text.
    QTest::newRow("no program path") << sendTo << QString() << QString() << applications << EILSEQ;
}

// Nothing is written, and the answer names the entry and why.
void TestShortcutService::failures()
{
    QFETCH(QString, folder);
    QFETCH(QString, blocker);
    QFETCH(QString, target);
    QFETCH(QString, file);
    QFETCH(int, error);
    const QString home = QDir::homePath();
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                  u"/user-dirs.dirs"_s);
    for (const QString& made : {u"Desktop"_s, u".local/share/applications"_s, u".local/share/nautilus"_s}) {
        QDir(home + u'/' + made).removeRecursively();
        QFile::remove(home + u'/' + made);
    }
    if (blocker.endsWith(u'/')) {
        QVERIFY(QDir(home).mkpath(blocker));
    } else if (!blocker.isEmpty()) {
        QVERIFY(QDir(home).mkpath(QFileInfo(blocker).path()));
        QFile block(home + u'/' + blocker);
        QVERIFY(block.open(QIODevice::WriteOnly));
    }
    const ShortcutResult result =
        XdgShortcutService().fCreateShellLink(folder, u"Velto 1.6"_s, target, QString());
    QCOMPARE(result.error, error);
    QCOMPARE(result.file, home + u'/' + file);
    QVERIFY(!QFileInfo(result.file).isFile());
}

void TestShortcutService::execQuoting_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << u"/usr/bin/velto"_s << u"/usr/bin/velto %F"_s;
    QTest::newRow("blank and percent") << u"/opt/a b/100%"_s << u"\"/opt/a b/100%%\" %F"_s;
    QTest::newRow("quote, dollar, backslash, backtick")
        << u"/opt/\"$x\\`"_s << u"\"/opt/\\\"\\$x\\\\\\`\" %F"_s;
}

void TestShortcutService::execQuoting()
{
    QFETCH(QString, target);
    QFETCH(QString, exec);
    QCOMPARE(XdgShortcutService::execLine(target, QString()), exec);
}

// The script, run as Nautilus runs it, hands the program every local file whole.
void TestShortcutService::nautilusScriptPassesLocalFiles()
{
    QTemporaryDir dir;
    // A stand-in for the program, at a path that needs quoting: it writes each argument it
    // gets, ended by a NUL.
    const QString standIn = dir.filePath(u"Velto's \"Ersatz\" $HOME"_s);
    QVERIFY(TestFiles::writeContent(standIn, "#!/bin/sh\nprintf '%s\\0' \"$@\" >\"$ARGUMENTS\"\n"));
    QVERIFY(QFile::setPermissions(standIn, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const ShortcutResult result = XdgShortcutService().fCreateShellLink(
        uR"(..\..\nautilus-scripts)"_s, u"Mit Velto umbenennen"_s, standIn, QString());
    QCOMPARE(result.error, 0);
    QCOMPARE(result.file, QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                              u"/nautilus/scripts/Mit Velto umbenennen"_s);
    QVERIFY(QFileInfo(result.file).isExecutable());

    // Nautilus runs it in the folder it shows, with names relative to it (a subfolder's where
    // a tree is open), absolute paths, and URIs where a file is not local.
    const QString folder = dir.filePath(u"Ordner mit Leerzeichen"_s);
    QVERIFY(QDir().mkpath(folder));
    const QStringList names{u"a  b.txt"_s, u"\"Zitat\" 'so' $HOME \\ `id`.txt"_s, u"Zeile\nzwei\n"_s,
                            u"Unterordner/c.txt"_s, u"-n"_s};
    const QStringList elsewhere{u"/tmp/x y.txt"_s, u"sftp://host/d.txt"_s, u"trash:///e.txt"_s};
    QProcess script;
    script.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"ARGUMENTS"_s, dir.filePath(u"arguments"_s));
    script.setProcessEnvironment(environment);
    script.start(result.file, names + elsewhere);
    QVERIFY(script.waitForFinished());
    QCOMPARE(script.exitCode(), 0);

    const QString here = QFileInfo(folder).canonicalFilePath();
    QStringList expected;
    for (const QString& name : names)
        expected << here + u'/' + name;
    expected << elsewhere.first();
    QStringList received = QString::fromUtf8(TestFiles::read(dir.filePath(u"arguments"_s))).split(u'\0');
    QCOMPARE(received.takeLast(), QString());
    QCOMPARE(received, expected);
}

VELTO_TEST_MAIN(TestShortcutService)
#include "TestShortcutService.moc"
