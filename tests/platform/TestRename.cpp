#include "plan/PlanCheck.h"
#include "list/CandidateModel.h"
#include "list/CandidateRow.h"
#include "list/ListIntake.h"
#include "naming/MaskTranslator.h"
#include "plan/RenameRun.h"
#include "platform/PosixFileSystem.h"

#include "TestFiles.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Runs the call as a user without special rights, so that permissions count also for root.
template <typename Call> auto withoutRootRights(Call call)
{
    const bool root = ::geteuid() == 0;
    constexpr uid_t Nobody = 65534;
    if (root && ::seteuid(Nobody) != 0)
        qFatal("cannot give up root rights");
    const auto result = call();
    if (root && ::seteuid(0) != 0)
        qFatal("cannot take root rights back");
    return result;
}

bool runQuietly(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// A FAT image mounted through FUSE: a file system that folds letter case and gives every
// spelling of a name its own inode number.
class FatMount
{
public:
    explicit FatMount(const QString& root) : m_image(root + u"/fat.img"_s), m_mountPoint(root + u"/fat"_s)
    {
        const QStringList sbin{u"/usr/sbin"_s, u"/sbin"_s, u"/usr/bin"_s, u"/bin"_s};
        const QString mkfs = QStandardPaths::findExecutable(u"mkfs.vfat"_s, sbin);
        const QString fusefat = QStandardPaths::findExecutable(u"fusefat"_s);
        m_fusermount = QStandardPaths::findExecutable(u"fusermount"_s);
        if (mkfs.isEmpty() || fusefat.isEmpty() || m_fusermount.isEmpty()) {
            m_why = u"mkfs.vfat, fusefat or fusermount is not installed"_s;
            return;
        }
        if (::access("/dev/fuse", R_OK | W_OK) != 0) {
            m_why = u"/dev/fuse cannot be used here"_s;
            return;
        }
        QDir().mkpath(m_mountPoint);
        if (!runQuietly(mkfs, {u"-C"_s, m_image, u"16384"_s})) {
            m_why = u"mkfs.vfat failed"_s;
            return;
        }
        if (!runQuietly(fusefat, {u"-o"_s, u"rw+"_s, m_image, m_mountPoint})) {
            m_why = u"fusefat could not mount the image"_s;
            return;
        }
        m_mounted = true;
    }
    ~FatMount()
    {
        if (m_mounted)
            runQuietly(m_fusermount, {u"-u"_s, m_mountPoint});
    }
    FatMount(const FatMount&) = delete;
    FatMount& operator=(const FatMount&) = delete;

    bool mounted() const { return m_mounted; }
    QString why() const { return m_why; }
    QString path(const QString& name) const { return m_mountPoint + u'/' + name; }

private:
    QString m_image;
    QString m_mountPoint;
    QString m_fusermount;
    QString m_why;
    bool m_mounted = false;
};

} // namespace

class TestRename : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rename_data();
    void rename();
    void readOnlyFolder();
    void caseFoldingFileSystem();
    void failedRenameOnFatIsToldAsItIs();
};

void TestRename::rename_data()
{
    // Entries below a fresh folder: "name/" a folder, else a file holding its own name.
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("error");
    QTest::addColumn<QStringList>("after");

    const QStringList ab{u"a.txt"_s, u"b.txt"_s};
    QTest::newRow("new name") << QStringList{u"a.txt"_s} << u"a.txt"_s << u"c.txt"_s << 0
                              << QStringList{u"c.txt"_s};
    QTest::newRow("target that appeared after the check") << ab << u"a.txt"_s << u"b.txt"_s << EEXIST << ab;
    QTest::newRow("folder in the way") << QStringList{u"a.txt"_s, u"b/"_s} << u"a.txt"_s << u"b"_s << EEXIST
                                       << QStringList{u"a.txt"_s, u"b"_s};
    QTest::newRow("case-only change")
        << QStringList{u"a.txt"_s} << u"a.txt"_s << u"A.txt"_s << 0 << QStringList{u"A.txt"_s};
    QTest::newRow("case-only change onto another file")
        << QStringList{u"a.txt"_s, u"A.txt"_s} << u"a.txt"_s << u"A.txt"_s << EEXIST
        << QStringList{u"A.txt"_s, u"a.txt"_s};
    QTest::newRow("same name") << QStringList{u"a.txt"_s} << u"a.txt"_s << u"a.txt"_s << 0
                               << QStringList{u"a.txt"_s};
    QTest::newRow("slash would leave the folder")
        << QStringList{u"a.txt"_s, u"x/"_s} << u"a.txt"_s << u"x/a.txt"_s << EINVAL
        << QStringList{u"a.txt"_s, u"x"_s};
    QTest::newRow("U+0000 in the name")
        << QStringList{u"a.txt"_s} << u"a.txt"_s << u"b\0.txt"_s << EINVAL << QStringList{u"a.txt"_s};
    QTest::newRow("vanished file") << QStringList{u"b.txt"_s} << u"a.txt"_s << u"c.txt"_s << ENOENT
                                   << QStringList{u"b.txt"_s};
}

void TestRename::rename()
{
    QFETCH(QStringList, before);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, error);
    QFETCH(QStringList, after);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString& entry : before) {
        if (entry.endsWith(u'/'))
            QVERIFY(QDir(dir.path()).mkdir(entry));
        else
            QVERIFY(TestFiles::writeContent(dir.filePath(entry), entry.toUtf8()));
    }
    PosixFileSystem fs;
    QCOMPARE(fs.renameFile(dir.filePath(from), dir.filePath(to)).error, error);
    QCOMPARE(TestFiles::entryNames(dir.path()), after);
    // No file lost its content to another.
    for (const QString& name : after) {
        if (QFileInfo(dir.filePath(name)).isFile() && name != to)
            QCOMPARE(TestFiles::read(dir.filePath(name)), name.toUtf8());
    }
}

void TestRename::readOnlyFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(u"nur-lesen"_s);
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(TestFiles::writeContent(folder + u"/a.txt"_s, "a"));
    QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0555), 0);

    PosixFileSystem fs;
    const RenameResult result =
        withoutRootRights([&] { return fs.renameFile(folder + u"/a.txt"_s, folder + u"/b.txt"_s); });
    QCOMPARE(result.error, EACCES);
    QCOMPARE(TestFiles::entryNames(folder), QStringList{u"a.txt"_s});
    ::chmod(QFile::encodeName(folder).constData(), 0755);
}

void TestRename::caseFoldingFileSystem()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const FatMount fat(dir.path());
    if (!fat.mounted())
        QSKIP(qPrintable(u"No FAT file system through FUSE: "_s + fat.why()));
    QVERIFY(TestFiles::writeContent(fat.path(u"a.txt"_s), "a"));
    QVERIFY(TestFiles::writeContent(fat.path(u"b.txt"_s), "b"));

    // The check sees the case-only change as the file's own, and the other rename as a clash.
    PosixFileSystem fs;
    std::vector<CandidateRow> rows{CandidateRow::fromPath(fat.path(u"a.txt"_s)),
                                   CandidateRow::fromPath(fat.path(u"b.txt"_s))};
    rows[0].Marked = true;
    rows[1].Marked = true;
    NamingOptions options;
    options.LetterCaseIndex = CaseRule::AllCapitals; // A.TXT, B.TXT
    PlanResult plan =
        PlanCheck::FillNewNameColumn(rows, MaskTranslator::translate(u"[NAME][TYP]"_s, {}), options, fs);
    QVERIFY(plan.allPassed());
    rows[1].Marked = false;
    plan =
        PlanCheck::FillNewNameColumn(rows, MaskTranslator::translate(u"B[TYP]"_s, {}), NamingOptions(), fs);
    QCOMPARE(int(rows[0].Problems), int(RowProblem::Clash));

    // The flag answers "taken" for the file's own other spelling; the rename still happens.
    QCOMPARE(fs.renameFile(fat.path(u"a.txt"_s), fat.path(u"A.txt"_s)).error, 0);
    QCOMPARE(fs.entryNames(fat.path(QString())), std::optional<QStringList>({u"A.txt"_s, u"b.txt"_s}));
    // Another file's name in other letter case is never taken over.
    QCOMPARE(fs.renameFile(fat.path(u"b.txt"_s), fat.path(u"a.TXT"_s)).error, EEXIST);
    QCOMPARE(TestFiles::read(fat.path(u"A.txt"_s)), QByteArray("a"));
    QCOMPARE(TestFiles::read(fat.path(u"b.txt"_s)), QByteArray("b"));
}

void TestRename::failedRenameOnFatIsToldAsItIs()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const FatMount fat(dir.path());
    if (!fat.mounted())
        QSKIP(qPrintable(u"No FAT file system through FUSE: "_s + fat.why()));
    QVERIFY(TestFiles::writeContent(fat.path(u"c.txt"_s), "c"));

    // fusefat refuses names beyond ASCII with EPERM and drops the file as it does so. Whatever
    // the driver of the day does, the run must report what is on the disk afterwards.
    PosixFileSystem fs;
    std::vector<CandidateRow> rows = ListIntake::takeIn({fat.path(u"c.txt"_s)}, {}, fs);
    QCOMPARE(rows.size(), size_t(1));
    const PlanResult plan = PlanCheck::FillNewNameColumn(
        rows, MaskTranslator::translate(u"Grüße_[NAME][TYP]"_s, {}), NamingOptions(), fs);
    QVERIFY(plan.allPassed());
    CandidateModel model;
    model.insertAtTop(std::move(rows));
    QStringList reasons;
    RenameRun::run(model, fs, {}, [&reasons](const RenameFailure& failure) {
        reasons.append(RenameRun::reasonText(failure));
        return true;
    });

    const QStringList after = TestFiles::entryNames(fat.path(QString()));
    if (after == QStringList{u"Grüße_c.txt"_s}) {
        QCOMPARE(reasons, QStringList());
        QCOMPARE(model.rowCount(), 0);
        return;
    }
    QCOMPARE(reasons.size(), 1);
    QVERIFY(reasons.first() != u"Die Datei wurde inzwischen durch eine andere ersetzt."_s);
    const bool toldGone = reasons.first() == u"Die Datei ist nach dem Fehlschlag nicht mehr auffindbar."_s;
    QCOMPARE(toldGone, !after.contains(u"c.txt"_s));
    QCOMPARE(model.rowCount(), 1); // the row stays, for the next check to show
}

VELTO_TEST_MAIN(TestRename)
#include "TestRename.moc"
