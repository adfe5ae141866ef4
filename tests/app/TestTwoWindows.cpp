#include "TestFiles.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

// Two real Velto processes that share one state folder: A runs, then B runs, and each takes
// back its own run, the older one first.
class TestTwoWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachUndoesItsOwn();
};

namespace {

// Reads the process's output until a line with `word` came, or the process ended.
QByteArray waitFor(QProcess& process, const QByteArray& word)
{
    QByteArray said;
    while (!said.contains(word) && process.state() == QProcess::Running && process.waitForReadyRead(60000))
        said += process.readAllStandardOutput();
    return said + process.readAllStandardOutput();
}

QStringList files(const QString& folder, const QString& prefix)
{
    QStringList paths;
    for (int i = 1; i <= 3; ++i) {
        paths.append(folder + u'/' + prefix + QString::number(i) + u".txt"_s);
        if (!TestFiles::writeContent(paths.last(), prefix.toUtf8()))
            return {};
    }
    return paths;
}

} // namespace

void TestTwoWindows::eachUndoesItsOwn()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir().mkpath(dir.filePath(u"a"_s)) && QDir().mkpath(dir.filePath(u"b"_s)));
    const QStringList ofA = files(dir.filePath(u"a"_s), u"a"_s);
    const QStringList ofB = files(dir.filePath(u"b"_s), u"b"_s);
    QVERIFY(!ofA.isEmpty() && !ofB.isEmpty());

    QProcess a;
    QProcess b;
    for (QProcess* velto : {&a, &b})
        velto->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    a.start(QStringLiteral(VELTO_RUN_AND_UNDO), QStringList{u"A_"_s} + ofA);
    QVERIFY(a.waitForStarted());
    QVERIFY(waitFor(a, "renamed").contains("renamed"));
    b.start(QStringLiteral(VELTO_RUN_AND_UNDO), QStringList{u"B_"_s} + ofB);
    QVERIFY(b.waitForStarted());
    QVERIFY(waitFor(b, "renamed").contains("renamed"));
    const QStringList renamedA{u"A_a1.txt"_s, u"A_a2.txt"_s, u"A_a3.txt"_s};
    const QStringList renamedB{u"B_b1.txt"_s, u"B_b2.txt"_s, u"B_b3.txt"_s};
    QCOMPARE(TestFiles::entryNames(dir.filePath(u"a"_s)), renamedA);
    QCOMPARE(TestFiles::entryNames(dir.filePath(u"b"_s)), renamedB);

    // A's undo takes back A's run, though B's is newer.
    a.write("undo\n");
    QVERIFY(waitFor(a, "zurück").contains("3 Dateien haben ihren alten Namen zurück."));
    QVERIFY(a.waitForFinished());
    QCOMPARE(TestFiles::entryNames(dir.filePath(u"a"_s)),
             (QStringList{u"a1.txt"_s, u"a2.txt"_s, u"a3.txt"_s}));
    QCOMPARE(TestFiles::entryNames(dir.filePath(u"b"_s)), renamedB);

    b.write("undo\n");
    QVERIFY(waitFor(b, "zurück").contains("3 Dateien haben ihren alten Namen zurück."));
    QVERIFY(b.waitForFinished());
    QCOMPARE(TestFiles::entryNames(dir.filePath(u"b"_s)),
             (QStringList{u"b1.txt"_s, u"b2.txt"_s, u"b3.txt"_s}));
    QCOMPARE(TestFiles::entryNames(dir.filePath(u"a"_s)),
             (QStringList{u"a1.txt"_s, u"a2.txt"_s, u"a3.txt"_s}));
}

VELTO_TEST_MAIN(TestTwoWindows)
#include "TestTwoWindows.moc"
