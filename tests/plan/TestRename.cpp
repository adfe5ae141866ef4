#include "plan/PlanCheck.h"
#include "list/CandidateModel.h"
#include "list/CandidateRow.h"
#include "list/ListIntake.h"
#include "naming/MaskTranslator.h"
#include "plan/FolderRename.h"
#include "plan/RenameRun.h"
#include "platform/PosixFileSystem.h"

#include "FakeFileSystem.h"
#include "FatMount.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TestRows.h"

#include <QDir>
#include <QFile>
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

} // namespace

class TestRename : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rename_data();
    void rename();
    void ownEntryWhereNamesFold_data();
    void ownEntryWhereNamesFold();
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
    QTest::newRow("sharp s onto another file's capitals")
        << QStringList{u"straße.txt"_s, u"STRASSE.txt"_s} << u"straße.txt"_s << u"STRASSE.txt"_s << EEXIST
        << QStringList{u"STRASSE.txt"_s, u"straße.txt"_s};
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
    QCOMPARE(renameInFolder(fs, dir.path() + u'/', from, to).error, error);
    QCOMPARE(TestFiles::entryNames(dir.path()), after);
    // No file lost its content to another.
    for (const QString& name : after) {
        if (QFileInfo(dir.filePath(name)).isFile() && name != to)
            QCOMPARE(TestFiles::read(dir.filePath(name)), name.toUtf8());
    }
}

// Names compared as the check compares them, by their capitals: on a file system that folds
// "ß" into "SS", "straße" to "STRASSE" changes the letter case of one file.
void TestRename::ownEntryWhereNamesFold_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("error");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("case only") << QStringList{u"a.txt"_s} << u"a.txt"_s << u"A.TXT"_s << 0
                               << QStringList{u"A.TXT"_s};
    QTest::newRow("sharp s") << QStringList{u"straße"_s} << u"straße"_s << u"STRASSE"_s << 0
                             << QStringList{u"STRASSE"_s};
    QTest::newRow("another file's spelling") << QStringList{u"a.txt"_s, u"b.txt"_s} << u"b.txt"_s
                                             << u"A.txt"_s << EEXIST << QStringList{u"a.txt"_s, u"b.txt"_s};
}

void TestRename::ownEntryWhereNamesFold()
{
    QFETCH(QStringList, before);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, error);
    QFETCH(QStringList, after);
    FakeFileSystem fs;
    fs.setFoldsCase(true);
    for (const QString& name : before)
        fs.addFile(u"/d/"_s + name);
    QCOMPARE(renameInFolder(fs, u"/d/"_s, from, to).error, error);
    QCOMPARE(fs.entryNames(u"/d/"_s), std::optional(after));
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
    std::vector<CandidateRow> rows = TestRows::listed(fat.path(QString()), {u"a.txt"_s, u"b.txt"_s});
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
    QCOMPARE(fs.renameFile(fat.path(u"a.txt"_s), fat.path(u"A.txt"_s)).error, EEXIST);
    QCOMPARE(renameInFolder(fs, fat.path(QString()), u"a.txt"_s, u"A.txt"_s).error, 0);
    QCOMPARE(fs.entryNames(fat.path(QString())), std::optional<QStringList>({u"A.txt"_s, u"b.txt"_s}));
    // Another file's name in other letter case is never taken over.
    QCOMPARE(renameInFolder(fs, fat.path(QString()), u"b.txt"_s, u"a.TXT"_s).error, EEXIST);
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
