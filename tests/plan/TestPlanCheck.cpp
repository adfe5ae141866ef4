#include "plan/PlanCheck.h"

#include "list/CandidateRow.h"
#include "list/FileValuesTable.h"
#include "naming/MaskTranslator.h"
#include "naming/NameGenerator.h"
#include "platform/PosixFileSystem.h"

#include "FakeFileSystem.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TestRows.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;

class TestPlanCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outcome_data();
    void outcome();
    void placeholderWhenMaskFails_data();
    void placeholderWhenMaskFails();
    void vanishedFolderStillEnds();
    void unreadableFolder_data();
    void unreadableFolder();
    void messages();
    void countersNeverWrap();
    void fileValues_data();
    void fileValues();
    void expressionErrors_data();
    void expressionErrors();

private:
    PassMemory m_keptMemory;
};

Q_DECLARE_METATYPE(FileMetadata)

void TestPlanCheck::outcome_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("letterCase");
    QTest::addColumn<QStringList>("searchReplace");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("marked");
    QTest::addColumn<QList<int>>("problems");

    using L = QList<int>;
    const int D = RowProblem::Duplicate, C = RowProblem::Clash, T = RowProblem::TypeOnly,
              E = RowProblem::Empty, S = RowProblem::Slash, F = RowProblem::TooLong, K = RowProblem::Control;
    const QString unique =
        u"Fehler: Die neuen Dateinamen sind nicht alle eindeutig - überprüfen Sie die Maske!"_s;
    const QString clash = u"Fehler: Einige neue Namen überschneiden sich mit denen existierender Dateien!"_s;
    const QString typeOnly = u"Fehler: Es gibt Namen, die nur aus einer Typenkennung bestehen!"_s;
    const QString empty =
        u"Fehler: Es gibt Namen, die nur aus Leerzeichen oder gar keinen Zeichen bestehen!"_s;
    const QString slash =
        u"Fehler: Es gibt Namen mit einem Schrägstrich - überprüfen Sie 'Suchen & ersetzen'!"_s;
    const QString control =
        u"Fehler: Es gibt Namen mit Steuerzeichen - überprüfen Sie 'Suchen & ersetzen'!"_s;
    const QString tooLong = u"Fehler: Es gibt Namen, die für das Dateisystem zu lang sind!"_s;
    const QStringList none;

    QTest::newRow("clean plan") << QStringList{u"a.txt"_s, u"b.txt"_s} << QStringList{u"a.txt"_s, u"b.txt"_s}
                                << u"[NAME]_x[TYP]"_s << 0 << none << QString() << 2 << L{0, 0};
    QTest::newRow("unchanged names never clash") << QStringList{u"a.txt"_s} << QStringList{u"a.txt"_s}
                                                 << u"[NAME][TYP]"_s << 0 << none << QString() << 1 << L{0};
    QTest::newRow("no row marked passes")
        << QStringList{u"a.txt"_s, u"b.txt"_s} << QStringList{u"-a.txt"_s, u"-b.txt"_s} << u"x"_s << 0 << none
        << QString() << 0 << L{0, 0};
    QTest::newRow("unmarked rows are not compared")
        << QStringList{u"a.txt"_s, u"b.txt"_s} << QStringList{u"a.txt"_s, u"-b.txt"_s} << u"x"_s << 0 << none
        << QString() << 1 << L{0, 0};
    QTest::newRow("swap of two names")
        << QStringList{u"1.txt"_s, u"2.txt"_s} << QStringList{u"2.txt"_s, u"1.txt"_s} << u"[ZAHL][TYP]"_s << 0
        << none << clash << 2 << L{C, C};
    QTest::newRow("case-only change of the own file")
        << QStringList{u"a.txt"_s} << QStringList{u"a.txt"_s} << u"[NAME][TYP]"_s << 1 << none << QString()
        << 1 << L{0};
    QTest::newRow("case-only change onto another file")
        << QStringList{u"a.txt"_s, u"A.TXT"_s} << QStringList{u"a.txt"_s} << u"[NAME][TYP]"_s << 1 << none
        << clash << 1 << L{C};
    QTest::newRow("a folder takes the name")
        << QStringList{u"x.txt"_s, u"neu.txt/"_s} << QStringList{u"x.txt"_s} << u"neu[TYP]"_s << 0 << none
        << clash << 1 << L{C};
    QTest::newRow("a dangling link takes the name")
        << QStringList{u"x.txt"_s, u"neu.txt->nirgends"_s} << QStringList{u"x.txt"_s} << u"neu[TYP]"_s << 0
        << none << clash << 1 << L{C};
    QTest::newRow("clash ignores letter case")
        << QStringList{u"x.txt"_s, u"NEU.TXT"_s} << QStringList{u"x.txt"_s} << u"neu[TYP]"_s << 0 << none
        << clash << 1 << L{C};
    QTest::newRow("clash of umlauts in other letter case")
        << QStringList{u"x.txt"_s, u"ÄRGER.TXT"_s} << QStringList{u"x.txt"_s} << u"ärger[TYP]"_s << 0 << none
        << clash << 1 << L{C};
    QTest::newRow("sharp s meets its capitals")
        << QStringList{u"x.txt"_s, u"strasse.txt"_s} << QStringList{u"x.txt"_s} << u"Straße[TYP]"_s << 0
        << none << clash << 1 << L{C};
    QTest::newRow("duplicate across ASCII and non-ASCII spellings")
        << QStringList{u"ss.txt"_s, u"ß.txt"_s} << QStringList{u"ss.txt"_s, u"ß.txt"_s} << u"[NAME]"_s << 0
        << none << unique << 2 << L{D, D};
    QTest::newRow("same name in two folders")
        << QStringList{u"eins/a.txt"_s, u"zwei/b.txt"_s} << QStringList{u"eins/a.txt"_s, u"zwei/b.txt"_s}
        << u"n[TYP]"_s << 0 << none << QString() << 2 << L{0, 0};
    QTest::newRow("one folder, two spellings")
        << QStringList{u"a.txt"_s, u"b.txt"_s} << QStringList{u"a.txt"_s, u"./b.txt"_s} << u"X[TYP]"_s << 0
        << none << unique << 2 << L{D, D};
    QTest::newRow("one folder, reached through a link")
        << QStringList{u"sub/a.txt"_s, u"sub/b.txt"_s, u"linked->sub"_s}
        << QStringList{u"sub/a.txt"_s, u"linked/b.txt"_s} << u"X[TYP]"_s << 0 << none << unique << 2
        << L{D, D};
    QTest::newRow("A.txt versus a.TXT")
        << QStringList{u"A.txt"_s, u"a.TXT"_s} << QStringList{u"A.txt"_s, u"a.TXT"_s} << u"[NAME][TYP]"_s << 0
        << none << unique << 2 << L{D, D};
    QTest::newRow("every row of a duplicate group is shown")
        << QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"d.doc"_s}
        << QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"d.doc"_s} << u"x[TYP]"_s << 0 << none << unique
        << 4 << L{D, D, D, 0};
    QTest::newRow("duplicate wins over clash")
        << QStringList{u"a.txt"_s, u"b.txt"_s, u"x.txt"_s} << QStringList{u"a.txt"_s, u"b.txt"_s}
        << u"x[TYP]"_s << 0 << none << unique << 2 << L{D | C, D | C};
    QTest::newRow("type only") << QStringList{u"a.txt"_s} << QStringList{u"a.txt"_s} << u"[TYP]"_s << 0
                               << none << typeOnly << 1 << L{T};
    // "Makefile" would clash with "Makefile." were a "." added for a name without type. A name
    // that begins with "." stays refused as a bare type, even where it is the old name.
    QTest::newRow("[NAME][TYP] keeps names without a type")
        << QStringList{u"Makefile"_s, u"Makefile."_s, u"notiz."_s, u".profile"_s}
        << QStringList{u"Makefile"_s, u"notiz."_s, u".profile"_s} << u"[NAME][TYP]"_s << 0 << none << typeOnly
        << 3 << L{0, 0, T};
    QTest::newRow("[TYP] of a name without a type is empty")
        << QStringList{u"Makefile"_s} << QStringList{u"Makefile"_s} << u"[TYP]"_s << 0 << none << empty << 1
        << L{E};
    QTest::newRow("empty name") << QStringList{u"a.txt"_s} << QStringList{u"a.txt"_s} << u"[7]"_s << 0 << none
                                << empty << 1 << L{E};
    QTest::newRow("blanks only") << QStringList{u"a.txt"_s} << QStringList{u"a.txt"_s} << u"[7]   [7]"_s << 0
                                 << none << empty << 1 << L{E};
    QTest::newRow("type only reported before empty")
        << QStringList{u"a.b.txt"_s, u"c.txt"_s} << QStringList{u"a.b.txt"_s, u"c.txt"_s} << u"[2-]"_s << 0
        << none << typeOnly << 2 << L{T, E};
    QTest::newRow("slash from the replacement")
        << QStringList{u"a.txt"_s} << QStringList{u"a.txt"_s} << u"[NAME][TYP]"_s << 0
        << QStringList{u"a"_s, u"x/y"_s} << slash << 1 << L{S};
    QTest::newRow("line break from the replacement")
        << QStringList{u"a.txt"_s} << QStringList{u"a.txt"_s} << u"[NAME][TYP]"_s << 0
        << QStringList{u"a"_s, u"x\ny"_s} << control << 1 << L{K};
    QTest::newRow("slash told before a control character")
        << QStringList{u"a.txt"_s, u"b.txt"_s} << QStringList{u"a.txt"_s, u"b.txt"_s} << u"[NAME][TYP]"_s << 0
        << QStringList{u"b"_s, u"/\x7f"_s} << slash << 2 << L{0, S | K};
    QTest::newRow("control character told before a name too long")
        << QStringList{u"a.txt"_s} << QStringList{u"a.txt"_s} << QString(128, QChar(0xE4)) + u"[NAME][TYP]"_s
        << 0 << QStringList{u"a"_s, u"\t"_s} << control << 1 << L{K | F};
    QTest::newRow("name too long for the file system")
        << QStringList{u"a.txt"_s} << QStringList{u"a.txt"_s} << QString(128, QChar(0xE4)) + u"[TYP]"_s << 0
        << none << tooLong << 1 << L{F};
    QTest::newRow("long name that still fits")
        << QStringList{u"a.txt"_s} << QStringList{u"a.txt"_s} << QString(125, QChar(0xE4)) + u"[TYP]"_s << 0
        << none << QString() << 1 << L{0};
}

void TestPlanCheck::outcome()
{
    QFETCH(QStringList, existing);
    QFETCH(QStringList, listed);
    QFETCH(QString, mask);
    QFETCH(int, letterCase);
    QFETCH(QStringList, searchReplace);
    QFETCH(QString, message);
    QFETCH(int, marked);
    QFETCH(QList<int>, problems);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString& entry : existing)
        QVERIFY2(TestFiles::create(dir.path(), entry), qPrintable(entry));
    std::vector<CandidateRow> rows = TestRows::listed(dir.path() + u'/', listed);

    NamingOptions options;
    options.LetterCaseIndex = static_cast<CaseRule>(letterCase);
    if (searchReplace.size() == 2) {
        options.SearchText = searchReplace[0];
        options.ReplaceText = searchReplace[1];
    }
    const MaskTranslation translation = MaskTranslator::translate(mask, MaskTranslator::ForbiddenChars);
    QVERIFY(translation.MaskOk);
    const PosixFileSystem fs;
    // In the tables that the rows before left behind, as a list keeps them between checks.
    NewNamesUpdate update(rows, nullptr, &m_keptMemory);
    const PlanResult result = PlanCheck::FillNewNameColumn(update, translation, options, fs);

    QCOMPARE(PlanCheck::failureMessage(result), message);
    QCOMPARE(result.allPassed(), message.isEmpty());
    QCOMPARE(result.MarkedCount, marked);
    QCOMPARE(qsizetype(rows.size()), problems.size());
    for (size_t i = 0; i < rows.size(); ++i)
        QCOMPARE(int(rows[i].Problems), problems[qsizetype(i)]);
}

void TestPlanCheck::placeholderWhenMaskFails_data()
{
    QTest::addColumn<QString>("mask");
    QTest::newRow("faulty mask") << u"[3-"_s;
    QTest::newRow("empty mask") << u"   "_s;
}

void TestPlanCheck::placeholderWhenMaskFails()
{
    QFETCH(QString, mask);
    std::vector<CandidateRow> rows = TestRows::listed(u"/nirgends/"_s, {u"a.txt"_s, u"-b.txt"_s, u"c.txt"_s});
    const PosixFileSystem fs;
    const PlanResult result = PlanCheck::FillNewNameColumn(
        rows, MaskTranslator::translate(mask, MaskTranslator::ForbiddenChars), NamingOptions(), fs);
    QCOMPARE(result.MarkedCount, 2);
    for (const CandidateRow& row : rows)
        QCOMPARE(row.NewName, u"< ? >"_s);
}

void TestPlanCheck::vanishedFolderStillEnds()
{
    // Rows whose folder is gone since intake cannot clash; the check still ends.
    std::vector<CandidateRow> rows = TestRows::listed(u"/gibt/es/nicht/"_s, {u"a.txt"_s, u"b.txt"_s});
    const PosixFileSystem fs;
    const PlanResult result = PlanCheck::FillNewNameColumn(
        rows, MaskTranslator::translate(u"n[ZAHL][TYP]"_s, MaskTranslator::ForbiddenChars), NamingOptions(),
        fs);
    QVERIFY(result.allPassed());
    QCOMPARE(rows[0].NewName, u"n1.txt"_s);
    QCOMPARE(rows[1].NewName, u"n2.txt"_s);
}

void TestPlanCheck::unreadableFolder_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("problems");
    QTest::newRow("new names cannot be checked")
        << u"n[ZAHL][TYP]"_s << u"Fehler: Es gibt Ordner, deren Inhalt sich nicht lesen lässt!"_s
        << int(RowProblem::Unreadable);
    QTest::newRow("unchanged names need no listing") << u"[NAME][TYP]"_s << QString() << 0;
    QTest::newRow("a name too long is named first")
        << QString(300, u'x') << u"Fehler: Es gibt Namen, die für das Dateisystem zu lang sind!"_s
        << (RowProblem::Unreadable | RowProblem::TooLong);
}

void TestPlanCheck::unreadableFolder()
{
    QFETCH(QString, mask);
    QFETCH(QString, message);
    QFETCH(int, problems);
    // A real folder whose listing fails, as it does without read permission or on an I/O error.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(TestFiles::write(dir.filePath(u"a.txt"_s)));
    std::vector<CandidateRow> rows = TestRows::listed(dir.path() + u'/', {u"a.txt"_s});
    FakeFileSystem fs(FakeFileSystem::Backing::Disk);
    fs.failListing(dir.path());
    const PlanResult result = PlanCheck::FillNewNameColumn(
        rows, MaskTranslator::translate(mask, MaskTranslator::ForbiddenChars), NamingOptions(), fs);
    QCOMPARE(PlanCheck::failureMessage(result), message);
    QCOMPARE(int(rows[0].Problems), problems);
}

void TestPlanCheck::messages()
{
    // The window passes the caption as it reads, without its access key.
    QCOMPARE(PlanCheck::successMessage(u"Umtaufen!"_s),
             u"Zum Umbenennen der Dateien klicken Sie jetzt die Schaltfläche 'Umtaufen!'."_s);
    QCOMPARE(PlanCheck::countText(3, 10), u"3 von 10 Dateien markiert"_s);
    QCOMPARE(PlanCheck::countText(1, 1), u"1 von 1 Dateien markiert"_s);
}

void TestPlanCheck::countersNeverWrap()
{
    std::vector<CandidateRow> rows = TestRows::listed(u"/tmp/"_s, {u"a.txt"_s, u"b.txt"_s});
    NamingOptions options;
    options.StartValue = 2147483647;
    const PosixFileSystem fs;

    PlanResult result = PlanCheck::FillNewNameColumn(
        rows, MaskTranslator::translate(u"[ZAHL]"_s, MaskTranslator::ForbiddenChars), options, fs);
    QCOMPARE(PlanCheck::failureMessage(result),
             u"Fehler: Der Zähler überschreitet den größten zulässigen Wert!"_s);
    QCOMPARE(rows[0].NewName, u"< ? >"_s);
    QCOMPARE(rows[1].NewName, u"< ? >"_s);
    QCOMPARE(result.MarkedCount, 2);

    // Without the counter in the mask its range does not matter.
    result = PlanCheck::FillNewNameColumn(
        rows, MaskTranslator::translate(u"v_[NAME]"_s, MaskTranslator::ForbiddenChars), options, fs);
    QVERIFY(result.CounterInRange);
    QCOMPARE(rows[1].NewName, u"v_b"_s);
}

void TestPlanCheck::fileValues_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("letterCase");
    // For the rows a.jpg and b.jpg, marked, and c.jpg, unmarked.
    QTest::addColumn<QList<FileMetadata>>("values");
    QTest::addColumn<QStringList>("newNames");
    QTest::addColumn<QStringList>("tooltips");
    QTest::addColumn<QString>("message");

    FileMetadata photo;
    photo.taken = 20230714134507;
    photo.camera = u"Canon EOS 5D Mark IV"_s;
    photo.maker = u"Canon"_s;
    photo.width = 6720;
    photo.height = 4480;
    FileMetadata other = photo;
    other.taken = 19991224000001;
    other.camera = u"ILCE-7M3"_s;
    other.maker = u"SONY"_s;
    FileMetadata song;
    song.artist = u"AC_DC"_s;
    song.title = u"Thunderstruck"_s;
    song.album = u"The Razors Edge"_s;
    song.track = 1;
    song.year = 1990;
    FileMetadata bare;
    FileMetadata unreadable;
    unreadable.unreadable = true;
    const QString lacking = u"Fehler: Manchen Dateien fehlen Angaben, die die Maske verlangt!"_s;
    const QString unique =
        u"Fehler: Die neuen Dateinamen sind nicht alle eindeutig - überprüfen Sie die Maske!"_s;
    const QString none;
    const QString q = u"< ? >"_s;

    QTest::newRow("capture date and time")
        << u"[FOTO.DATUM]_[FOTO.RDATUM]_[FOTO.ZEIT]-[FOTO.TAG][FOTO.MONAT][FOTO.JAHR][FOTO.STUNDE]"
           u"[FOTO.MINUTE][FOTO.SEKUNDE][TYP]"_s
        << 0 << QList<FileMetadata>{photo, other, photo}
        << QStringList{u"14.07.2023_2023.07.14_13.45.07-14072023134507.jpg"_s,
                       u"24.12.1999_1999.12.24_00.00.01-24121999000001.jpg"_s,
                       u"14.07.2023_2023.07.14_13.45.07-14072023134507.jpg"_s}
        << QStringList{none, none, none} << none;
    QTest::newRow("capture time beside the last change")
        << u"[FOTO.ZEIT] [ZEIT] [FOTO.JAHR]"_s << 0 << QList<FileMetadata>{photo, other, bare}
        << QStringList{u"13.45.07 08.09.10 2023"_s, u"00.00.01 08.09.10 1999"_s, q}
        << QStringList{none, none, none} << none;
    QTest::newRow("camera and size, in capitals")
        << u"[FOTO.HERSTELLER] [FOTO.KAMERA] [FOTO.BREITE]x[FOTO.HÖHE][TYP]"_s << int(CaseRule::AllCapitals)
        << QList<FileMetadata>{photo, other, photo}
        << QStringList{u"CANON CANON EOS 5D MARK IV 6720X4480.JPG"_s, u"SONY ILCE-7M3 6720X4480.JPG"_s,
                       u"CANON CANON EOS 5D MARK IV 6720X4480.JPG"_s}
        << QStringList{none, none, none} << none;
    QTest::newRow("song, first capital")
        << u"[MUSIK.NR] [musik.interpret] - [MUSIK.TITEL] ([MUSIK.ALBUM], [MUSIK.JAHR])"_s
        << int(CaseRule::FirstCapital) << QList<FileMetadata>{song, song, song}
        << QStringList(3, u"01 ac_dc - thunderstruck (the razors edge, 1990)"_s)
        << QStringList{none, none, none} << unique;
    QTest::newRow("what a file lacks, told before duplicates")
        << u"[FOTO.KAMERA][MUSIK.TITEL][FOTO.DATUM][FOTO.HÖHE][MUSIK.JAHR][MUSIK.NR]"_s << 0
        << QList<FileMetadata>{photo, song, bare} << QStringList{q, q, q}
        << QStringList{u"Dieser Datei fehlt: Titel, Titelnummer, Jahr"_s,
                       u"Dieser Datei fehlt: Aufnahmedatum, Kamera, Bildgröße"_s, none}
        << lacking;
    QTest::newRow("unreadable and unmarked rows")
        << u"x[FOTO.JAHR]"_s << 0 << QList<FileMetadata>{unreadable, photo, unreadable}
        << QStringList{q, u"x2023"_s, q}
        << QStringList{u"Die Angaben dieser Datei lassen sich nicht lesen."_s, none, none} << lacking;
    QTest::newRow("a mask without them needs none")
        << u"[NAME]_[ZAHL]"_s << 0 << QList<FileMetadata>{unreadable, bare, unreadable}
        << QStringList{u"a_1"_s, u"b_2"_s, u"c_3"_s} << QStringList{none, none, none} << none;
}

void TestPlanCheck::fileValues()
{
    QFETCH(QString, mask);
    QFETCH(int, letterCase);
    QFETCH(QList<FileMetadata>, values);
    QFETCH(QStringList, newNames);
    QFETCH(QStringList, tooltips);
    QFETCH(QString, message);

    std::vector<CandidateRow> rows = TestRows::listed(u"/nirgends/"_s, {u"a.jpg"_s, u"b.jpg"_s, u"-c.jpg"_s});
    FileValuesTable table;
    table.make(rows.size());
    for (qsizetype i = 0; i < values.size(); ++i)
        table.store(size_t(i), values[i]);
    NamingOptions options;
    options.LetterCaseIndex = static_cast<CaseRule>(letterCase);
    const PosixFileSystem fs;
    const PlanResult result = PlanCheck::FillNewNameColumn(
        rows, table, MaskTranslator::translate(mask, MaskTranslator::ForbiddenChars), options, fs);

    QCOMPARE(PlanCheck::failureMessage(result), message);
    QCOMPARE(result.MarkedCount, 2);
    for (size_t i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i].NewName, newNames[qsizetype(i)]);
        QCOMPARE(table.lackText(table.slots()[i]), tooltips[qsizetype(i)]);
    }
    // Rows without a name take part in no other test.
    if (message == u"Fehler: Manchen Dateien fehlen Angaben, die die Maske verlangt!")
        QCOMPARE(int(rows[0].Problems), 0);
}

// An expression that cannot serve wins over every test of the check, also with no row to name;
// a faulty mask wins over it. Its rows all show the placeholder, and are counted as marked.
void TestPlanCheck::expressionErrors_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("firstName");

    const QString invalid = u"Fehler: Der Ausdruck in 'Ersetze' ist ungültig (Zeichen 2)!"_s;
    const QString missing = u"Fehler: 'durch' verweist auf Gruppe 1, die der Ausdruck nicht hat!"_s;
    const QString tooCostly = u"Fehler: Der Ausdruck in 'Ersetze' ist zu aufwendig!"_s;
    const QString placeholder = u"< ? >"_s;
    const QString costly = u"(a+)+$"_s;
    const QString longRun = QString(40, u'a') + u"!.txt"_s;

    QTest::newRow("groups applied") << u"[NAME][TYP]"_s << QStringList{u"IMG_7.jpg"_s, u"x.jpg"_s}
                                    << u"^IMG_(\\d+)$"_s << u"Urlaub_$1"_s << QString() << u"Urlaub_7.jpg"_s;
    QTest::newRow("invalid") << u"[NAME][TYP]"_s << QStringList{u"a.txt"_s} << u"("_s << QString() << invalid
                             << placeholder;
    QTest::newRow("invalid with an empty list")
        << u"[NAME][TYP]"_s << QStringList{} << u"("_s << QString() << invalid << QString();
    QTest::newRow("invalid over the counter, where the mask shows no name")
        << u"x[ZAHL][TYP]"_s << QStringList{u"a.txt"_s, u"b.txt"_s} << u"("_s << QString() << invalid
        << placeholder;
    QTest::newRow("missing group over duplicates")
        << u"x"_s << QStringList{u"a.txt"_s, u"b.txt"_s} << u"a"_s << u"$1"_s << missing << placeholder;
    QTest::newRow("gave up on the last row") << u"[NAME][TYP]"_s << QStringList{u"b.txt"_s, longRun} << costly
                                             << u"x"_s << tooCostly << placeholder;
    QTest::newRow("nothing matched where the mask shows no name")
        << u"x[ZAHL][TYP]"_s << QStringList{longRun} << costly << u"x"_s << QString() << u"x2147483647.txt"_s;
    QTest::newRow("a faulty mask wins")
        << u"[3-"_s << QStringList{u"a.txt"_s} << u"("_s << QString() << QString() << placeholder;
}

void TestPlanCheck::expressionErrors()
{
    QFETCH(QString, mask);
    QFETCH(QStringList, listed);
    QFETCH(QString, pattern);
    QFETCH(QString, replacement);
    QFETCH(QString, message);
    QFETCH(QString, firstName);

    std::vector<CandidateRow> rows = TestRows::listed(u"/gibt/es/nicht/"_s, listed);
    NamingOptions options;
    // With "[ZAHL]", a second row leaves the counter's range: that test fails too.
    options.StartValue = 2147483647;
    options.SearchText = pattern;
    options.ReplaceText = replacement;
    options.SearchIsRegex = true;
    const MaskTranslation translation = MaskTranslator::translate(mask, MaskTranslator::ForbiddenChars);
    const PosixFileSystem fs;
    const PlanResult result = PlanCheck::FillNewNameColumn(rows, translation, options, fs);
    if (translation.MaskOk)
        QCOMPARE(PlanCheck::failureMessage(result), message);
    QCOMPARE(result.ExpressionError, message);
    QCOMPARE(result.MarkedCount, qint32(listed.size()));
    if (!rows.empty())
        QCOMPARE(rows.front().NewName, firstName);
    for (const CandidateRow& row : rows)
        QVERIFY(firstName != u"< ? >" || row.NewName == u"< ? >");
}

VELTO_TEST_MAIN(TestPlanCheck)
#include "TestPlanCheck.moc"
