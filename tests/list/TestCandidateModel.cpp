#include "list/CandidateModel.h"

#include "TestMain.h"
#include "TestRows.h"

#include <QAbstractItemModelTester>
#include <QObject>
#include <QSignalSpy>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QStringList columnTexts(const CandidateModel& model, int column)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts.append(model.index(row, column).data().toString());
    return texts;
}

QString names(const CandidateModel& model)
{
    return columnTexts(model, CandidateModel::ColOldName).join(u' ');
}

} // namespace

// Gives row i the capture time 01.01.2000 00:00:i (i below 60), so that the rows' values show
// which row they stand by.
void giveCaptureTimes(CandidateModel& model)
{
    FileValuesTable& values = model.fileValues();
    values.make(size_t(model.rowCount()));
    for (int i = 0; i < model.rowCount(); ++i) {
        FileMetadata read;
        read.taken = 20000101000000 + model.rows()[size_t(i)].OldName.toInt();
        values.store(size_t(i), read);
    }
}

// The seconds of the capture times as a view reads them, "-" for none.
QString captureSeconds(const CandidateModel& model)
{
    QStringList seconds;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QString key = model.index(row, CandidateModel::ColTakenKey).data().toString();
        seconds.append(key.isEmpty() ? u"-"_s : QString::number(key.right(2).toInt()));
    }
    return seconds.join(u' ');
}

class TestCandidateModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void headers();
    void displayTexts();
    void problemTexts_data();
    void problemTexts();
    void insertAtTopIsOneInsertion();
    void initListe();
    void newNamesUpdateIsOneColumnSignal();
    void marks_data();
    void marks();
    void sortByText_data();
    void sortByText();
    void sortByKey_data();
    void sortByKey();
    void sortSwitch();
    void moveMarked_data();
    void moveMarked();
    void removeRowSet_data();
    void removeRowSet();
    void removeScatteredRows();
    void captureTimesFollowTheirRows();

private:
    std::unique_ptr<CandidateModel> m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

void TestCandidateModel::init()
{
    m_model = std::make_unique<CandidateModel>();
    m_tester = std::make_unique<QAbstractItemModelTester>(
        m_model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestCandidateModel::cleanup()
{
    m_tester.reset();
    m_model.reset();
}

void TestCandidateModel::headers()
{
    const QStringList expected = {u"Alter Name"_s,
                                  u"Neuer Name"_s,
                                  u"In Ordner"_s,
                                  u"Größe"_s,
                                  u"Typ"_s,
                                  u"Letzte Änderung"_s,
                                  u""_s,
                                  u"(versteckte Sortierspalte für Datum)"_s,
                                  u"(versteckte Sortierspalte für Größe)"_s,
                                  u"(versteckte Spalte für PfadNamen)"_s,
                                  u"(versteckte Spalte für NurNamen)"_s,
                                  u"Aufnahme"_s,
                                  u"(versteckte Sortierspalte für Aufnahme)"_s};
    QCOMPARE(m_model->columnCount(), int(expected.size()));
    for (int column = 0; column < m_model->columnCount(); ++column)
        QCOMPARE(m_model->headerData(column, Qt::Horizontal).toString(), expected.at(column));
}

void TestCandidateModel::displayTexts()
{
    CandidateRow row = TestRows::row(u"/home/u/a.b.c"_s, 1025, u"1999122413:45:07"_s);
    row.NewName = u"neu.c"_s;
    m_model->insertAtTop({row});
    const QStringList expected = {u"a.b.c"_s,
                                  u"neu.c"_s,
                                  u"/home/u/"_s,
                                  u"1,001 KB"_s,
                                  u"c"_s,
                                  u"24.12.1999 13:45:07"_s,
                                  u""_s,
                                  u"1999122413:45:07"_s,
                                  u"0000000000000401"_s,
                                  u"/home/u/a.b.c"_s,
                                  u"a.b"_s,
                                  u""_s,
                                  u""_s};
    QCOMPARE(columnTexts(*m_model, 0).size(), 1);
    for (int column = 0; column < CandidateModel::ColumnCount; ++column)
        QCOMPARE(m_model->index(0, column).data().toString(), expected.at(column));
}

void TestCandidateModel::problemTexts_data()
{
    QTest::addColumn<int>("problems");
    QTest::addColumn<QString>("text");

    QTest::newRow("none") << int(RowProblem::None) << QString();
    QTest::newRow("duplicate") << int(RowProblem::Duplicate) << u"Name kommt mehrfach vor"_s;
    QTest::newRow("two, in test order") << int(RowProblem::Slash | RowProblem::Clash)
                                        << u"Name ist schon vergeben\nName enthält einen Schrägstrich"_s;
    QTest::newRow("control characters after the slash")
        << int(RowProblem::TooLong | RowProblem::Control | RowProblem::Slash)
        << u"Name enthält einen Schrägstrich\nName enthält Steuerzeichen\nName ist für das Dateisystem zu lang"_s;
    QTest::newRow("all") << int(RowProblem::Duplicate | RowProblem::Clash | RowProblem::TypeOnly |
                                RowProblem::Empty | RowProblem::Slash | RowProblem::TooLong)
                         << u"Name kommt mehrfach vor\nName ist schon vergeben\nNur Typenkennung\n"
                            u"Leerer Name\nName enthält einen Schrägstrich\n"
                            u"Name ist für das Dateisystem zu lang"_s;
}

void TestCandidateModel::problemTexts()
{
    QFETCH(int, problems);
    QFETCH(QString, text);

    CandidateRow row = TestRows::row(u"/d/x"_s);
    row.Problems = static_cast<quint8>(problems);
    m_model->insertAtTop({row});
    const QModelIndex newName = m_model->index(0, CandidateModel::ColNewName);
    QCOMPARE(newName.data(CandidateModel::ProblemsRole).toInt(), problems);
    QCOMPARE(newName.data(Qt::ToolTipRole).toString(), text);
    QCOMPARE(newName.data(Qt::AccessibleDescriptionRole).toString(), text);
    QCOMPARE(newName.data(Qt::ToolTipRole).isValid(), !text.isEmpty());
    QVERIFY(!m_model->index(0, CandidateModel::ColOldName).data(Qt::ToolTipRole).isValid());
}

void TestCandidateModel::insertAtTopIsOneInsertion()
{
    m_model->insertAtTop({TestRows::row(u"/d/c"_s)});
    QSignalSpy inserted(m_model.get(), &QAbstractItemModel::rowsInserted);
    m_model->insertAtTop({TestRows::row(u"/d/a"_s), TestRows::row(u"/d/b"_s)});
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 0);
    QCOMPARE(inserted.at(0).at(2).toInt(), 1);
    QCOMPARE(names(*m_model), u"a b c"_s);

    m_model->insertAtTop({});
    QCOMPARE(inserted.size(), 1);
}

void TestCandidateModel::initListe()
{
    m_model->insertAtTop({TestRows::row(u"/d/a"_s), TestRows::row(u"/d/b"_s)});
    m_model->InitListe();
    QCOMPARE(m_model->rowCount(), 0);
    QVERIFY(m_model->rows().empty());
    m_model->InitListe();
    QCOMPARE(m_model->rowCount(), 0);
}

void TestCandidateModel::newNamesUpdateIsOneColumnSignal()
{
    m_model->insertAtTop({TestRows::row(u"/d/a"_s), TestRows::row(u"/d/b"_s), TestRows::row(u"/d/c"_s)});
    QSignalSpy changed(m_model.get(), &QAbstractItemModel::dataChanged);
    m_model->updateNewNames([](NewNamesUpdate& update) {
        for (size_t row = 0; row < update.rows().size(); ++row)
            update.setNewName(row, u"n_"_s + update.rows()[row].OldName);
    });

    QCOMPARE(changed.size(), 1);
    const QModelIndex topLeft = changed.at(0).at(0).value<QModelIndex>();
    const QModelIndex bottomRight = changed.at(0).at(1).value<QModelIndex>();
    QCOMPARE(topLeft, m_model->index(0, CandidateModel::ColNewName));
    QCOMPARE(bottomRight, m_model->index(2, CandidateModel::ColNewName));
    const auto roles = changed.at(0).at(2).value<QList<int>>();
    QVERIFY(roles.contains(Qt::DisplayRole));
    QVERIFY(roles.contains(Qt::ToolTipRole));
    QVERIFY(roles.contains(CandidateModel::ProblemsRole));
    QCOMPARE(columnTexts(*m_model, CandidateModel::ColNewName), (QStringList{u"n_a"_s, u"n_b"_s, u"n_c"_s}));
}

void TestCandidateModel::marks_data()
{
    QTest::addColumn<QString>("before"); // a character per row: x marked, . not
    QTest::addColumn<QString>("change");
    QTest::addColumn<QList<int>>("runs"); // first and last row of each run, for mark and unmark
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("first"); // rows of the one marksChanged; -1 for none
    QTest::addColumn<int>("last");

    QTest::newRow("mark all") << u"x..x."_s << u"all"_s << QList<int>{} << u"xxxxx"_s << 0 << 4;
    QTest::newRow("unmark all") << u"x..x."_s << u"none"_s << QList<int>{} << u"....."_s << 0 << 4;
    QTest::newRow("invert") << u"x..x."_s << u"invert"_s << QList<int>{} << u".xx.x"_s << 0 << 4;
    QTest::newRow("runs: one change from the first to the last row touched")
        << u"....."_s << u"mark"_s << QList<int>{3, 4, 1, 1} << u".x.xx"_s << 1 << 4;
    QTest::newRow("runs beyond the list are cut to it")
        << u"xxxxx"_s << u"unmark"_s << QList<int>{-3, 0, 3, 9} << u".xx.."_s << 0 << 4;
    QTest::newRow("runs outside the list: no change")
        << u"x...."_s << u"mark"_s << QList<int>{5, 7} << u"x...."_s << -1 << -1;
    QTest::newRow("empty list: no change") << u""_s << u"all"_s << QList<int>{} << u""_s << -1 << -1;
    // Edits, one letter per run: u unmark, m mark, i invert.
    QTest::newRow("edits in order, one change over the rows that differ")
        << u"x..x."_s << u"edits:ui"_s << QList<int>{0, 1, 1, 3} << u".xx.."_s << 0 << 3;
    QTest::newRow("edits: unchanged rows at both ends are left out")
        << u"x..xx"_s << u"edits:um"_s << QList<int>{0, 4, 0, 1} << u"xx..."_s << 1 << 4;
    QTest::newRow("edits undone by the next: no change")
        << u"x...."_s << u"edits:mu"_s << QList<int>{1, 2, 1, 2} << u"x...."_s << -1 << -1;
    QTest::newRow("edits beyond the list are cut to it")
        << u"....."_s << u"edits:m"_s << QList<int>{-2, 1} << u"xx..."_s << 0 << 1;
}

void TestCandidateModel::marks()
{
    QFETCH(QString, before);
    QFETCH(QString, change);
    QFETCH(QList<int>, runs);
    QFETCH(QString, after);
    QFETCH(int, first);
    QFETCH(int, last);

    std::vector<CandidateRow> rows;
    for (qsizetype i = 0; i < before.size(); ++i) {
        rows.push_back(TestRows::row(u"/d/"_s + QString::number(i)));
        rows.back().Marked = before.at(i) == u'x';
    }
    m_model->insertAtTop(std::move(rows));
    QSignalSpy changed(m_model.get(), &CandidateModel::marksChanged);
    QSignalSpy dataChanged(m_model.get(), &QAbstractItemModel::dataChanged);
    std::vector<RowRun> rowRuns;
    for (qsizetype i = 0; i + 1 < runs.size(); i += 2)
        rowRuns.push_back({runs.at(i), runs.at(i + 1)});
    if (change.startsWith(u"edits:")) {
        std::vector<CandidateModel::MarkChange> edits;
        for (size_t i = 0; i < rowRuns.size(); ++i) {
            const QChar letter = change.at(6 + qsizetype(i));
            edits.push_back({rowRuns[i], letter == u'u'   ? CandidateModel::MarkEdit::Unmark
                                         : letter == u'm' ? CandidateModel::MarkEdit::Mark
                                                          : CandidateModel::MarkEdit::Invert});
        }
        QCOMPARE(m_model->changeMarks(edits), first >= 0);
    } else if (change == u"all" || change == u"none")
        m_model->setAllMarked(change == u"all");
    else if (change == u"invert")
        m_model->invertMarks();
    else
        m_model->setMarked(rowRuns, change == u"mark");

    QString marks;
    for (const CandidateRow& row : m_model->rows())
        marks += row.Marked ? u'x' : u'.';
    QCOMPARE(marks, after);
    QCOMPARE(dataChanged.size(), 0);
    QCOMPARE(changed.size(), first < 0 ? 0 : 1);
    if (first >= 0)
        QCOMPARE(changed.at(0), (QVariantList{first, last}));
}

void TestCandidateModel::sortByText_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("numbers in names by value")
        << int(CandidateModel::ColOldName) << false
        << QStringList{u"IMG_10.jpg"_s, u"IMG_2.jpg"_s, u"IMG_1.jpg"_s, u"IMG_100.jpg"_s}
        << QStringList{u"IMG_1.jpg"_s, u"IMG_2.jpg"_s, u"IMG_10.jpg"_s, u"IMG_100.jpg"_s};
    QTest::newRow("letter case ignored, equal names keep their order")
        << int(CandidateModel::ColOldName) << false << QStringList{u"b"_s, u"A"_s, u"a"_s, u"B"_s}
        << QStringList{u"A"_s, u"a"_s, u"b"_s, u"B"_s};
    QTest::newRow("descending keeps equal names in order too")
        << int(CandidateModel::ColOldName) << true << QStringList{u"a"_s, u"b"_s, u"A"_s}
        << QStringList{u"b"_s, u"a"_s, u"A"_s};
    QTest::newRow("umlaut beside its base letter")
        << int(CandidateModel::ColOldName) << false
        << QStringList{u"Zebra"_s, u"Birne"_s, u"Äpfel"_s, u"Apfel"_s}
        << QStringList{u"Apfel"_s, u"Äpfel"_s, u"Birne"_s, u"Zebra"_s};
    const QString longStem(290, u'a');
    QTest::newRow("names alike beyond their first 255 bytes of key")
        << int(CandidateModel::ColOldName) << false
        << QStringList{longStem + u"10"_s, longStem + u"9b"_s, longStem + u"9"_s}
        << QStringList{longStem + u"9"_s, longStem + u"9b"_s, longStem + u"10"_s};
    // Enough rows to be merged block by block; each number twice, whose two names differ in
    // letter case only and so keep their order whichever way the list is sorted.
    for (const bool descending : {false, true}) {
        constexpr int Numbers = 17000; // 34,000 rows: more than one block
        QStringList texts;
        QStringList sorted;
        const auto name = [](int copy, int number) {
            return (copy == 0 ? u"Bild "_s : u"bild "_s) + QString::number(number) +
                   u" vom Sommerurlaub.jpg"_s;
        };
        for (int i = 0; i < 2 * Numbers; ++i)
            texts.append(name(i / Numbers, int((qint64(i) * 7919) % Numbers)));
        for (int n = 0; n < Numbers; ++n) {
            const int number = descending ? Numbers - 1 - n : n;
            sorted << name(0, number) << name(1, number);
        }
        QTest::addRow("%s through many blocks", descending ? "descending" : "ascending")
            << int(CandidateModel::ColOldName) << descending << texts << sorted;
    }
    QTest::newRow("new names") << int(CandidateModel::ColNewName) << true
                               << QStringList{u"Teil 9"_s, u"Teil 10"_s, u"teil 1"_s}
                               << QStringList{u"Teil 10"_s, u"Teil 9"_s, u"teil 1"_s};
    QTest::newRow("folders") << int(CandidateModel::ColFolder) << false
                             << QStringList{u"b"_s, u"Ordner 12"_s, u"a"_s, u"Ordner 3"_s}
                             << QStringList{u"a"_s, u"b"_s, u"Ordner 3"_s, u"Ordner 12"_s};
    QTest::newRow("types") << int(CandidateModel::ColType) << false
                           << QStringList{u"png"_s, u"JPG"_s, u"gif"_s, u"jpg"_s}
                           << QStringList{u"gif"_s, u"JPG"_s, u"jpg"_s, u"png"_s};
    QTest::newRow("bare names in plain character order")
        << int(CandidateModel::ColBareName) << false
        << QStringList{u"b"_s, u"IMG_2"_s, u"IMG_10"_s, u"B"_s, u"Ä"_s}
        << QStringList{u"B"_s, u"IMG_10"_s, u"IMG_2"_s, u"b"_s, u"Ä"_s};
    QTest::newRow("path names in plain character order")
        << int(CandidateModel::ColPathName) << false << QStringList{u"z"_s, u"a"_s, u"B"_s}
        << QStringList{u"B"_s, u"a"_s, u"z"_s};
}

void TestCandidateModel::sortByText()
{
    QFETCH(int, column);
    QFETCH(bool, descending);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, sorted);

    m_model->insertAtTop(TestRows::withTexts(column, texts));
    m_model->sort(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);

    QStringList result;
    for (const CandidateRow& row : m_model->rows()) {
        switch (column) {
        case CandidateModel::ColFolder:
            result.append(row.Folder.text().mid(1).chopped(1));
            break;
        case CandidateModel::ColType:
            result.append(row.TypeText().toString());
            break;
        case CandidateModel::ColNewName:
            result.append(row.NewName);
            break;
        default:
            result.append(row.OldName);
            break;
        }
    }
    QCOMPARE(result, sorted);
    QCOMPARE(m_model->sortColumn(), column);
}

void TestCandidateModel::sortByKey_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QList<qint64>>("sizes");
    QTest::addColumn<QStringList>("dateKeys");
    QTest::addColumn<QString>("order"); // names of the rows afterwards; rows are named a, b, c, ...

    const QStringList sameDate(4, u"2000010112:00:00"_s);
    const QList<qint64> sameSize(4, 7);
    // The shown texts order the other way: "1,001 KB" < "1024 Byte", "01.01.2000" < "31.12.1999".
    QTest::newRow("size key by value")
        << int(CandidateModel::ColSizeKey) << false << QList<qint64>{1025, 1024, qint64(1) << 32, 0}
        << sameDate << u"d b a c"_s;
    QTest::newRow("shown size column by value too")
        << int(CandidateModel::ColSize) << true << QList<qint64>{1025, 1024, qint64(1) << 32, 0} << sameDate
        << u"c a b d"_s;
    QTest::newRow("date key across years") << int(CandidateModel::ColDateKey) << false << sameSize
                                           << QStringList{u"2000010100:00:00"_s, u"1999123123:59:59"_s,
                                                          u"1975063012:00:00"_s, u"2085010100:00:00"_s}
                                           << u"c b a d"_s;
    QTest::newRow("shown date column by time too")
        << int(CandidateModel::ColDate) << false << sameSize
        << QStringList{u"2000010100:00:00"_s, u"1999123123:59:59"_s, u"2000010100:00:00"_s,
                       u"1999123123:59:58"_s}
        << u"d b a c"_s;
    QTest::newRow("spare column keeps the order")
        << int(CandidateModel::ColSpare) << true << sameSize << sameDate << u"a b c d"_s;
}

void TestCandidateModel::sortByKey()
{
    QFETCH(int, column);
    QFETCH(bool, descending);
    QFETCH(QList<qint64>, sizes);
    QFETCH(QStringList, dateKeys);
    QFETCH(QString, order);

    std::vector<CandidateRow> rows;
    for (qsizetype i = 0; i < sizes.size(); ++i)
        rows.push_back(
            TestRows::row(u"/d/"_s + QChar(static_cast<char16_t>(u'a' + i)), sizes.at(i), dateKeys.at(i)));
    m_model->insertAtTop(std::move(rows));
    m_model->sort(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    QCOMPARE(names(*m_model), order);
}

void TestCandidateModel::sortSwitch()
{
    QVERIFY(!m_model->isSortingEnabled());
    QCOMPARE(m_model->sortColumn(), int(CandidateModel::ColOldName));
    QCOMPARE(m_model->sortOrder(), Qt::AscendingOrder);

    // Off: new rows stay at the top, a new sort state waits.
    m_model->insertAtTop({TestRows::row(u"/d/b"_s), TestRows::row(u"/d/c"_s)});
    m_model->insertAtTop({TestRows::row(u"/d/d"_s), TestRows::row(u"/d/a"_s)});
    QCOMPARE(names(*m_model), u"d a b c"_s);
    m_model->setSortState(CandidateModel::ColOldName, Qt::DescendingOrder);
    QCOMPARE(names(*m_model), u"d a b c"_s);

    // Switching on sorts by the recorded state.
    m_model->setSortingEnabled(true);
    QCOMPARE(names(*m_model), u"d c b a"_s);

    // On: the list keeps itself sorted.
    m_model->insertAtTop({TestRows::row(u"/d/e"_s), TestRows::row(u"/d/0"_s)});
    QCOMPARE(names(*m_model), u"e d c b a 0"_s);
    m_model->setSortState(CandidateModel::ColOldName, Qt::AscendingOrder);
    QCOMPARE(names(*m_model), u"0 a b c d e"_s);

    // A sorted list that is switched on again is not reset for nothing.
    QSignalSpy reset(m_model.get(), &QAbstractItemModel::modelReset);
    m_model->setSortingEnabled(true);
    QCOMPARE(reset.size(), 0);

    // Off again: rows stay where they are.
    m_model->setSortingEnabled(false);
    m_model->insertAtTop({TestRows::row(u"/d/z"_s)});
    QCOMPARE(names(*m_model), u"z 0 a b c d e"_s);
}

void TestCandidateModel::moveMarked_data()
{
    QTest::addColumn<QString>("marked"); // the marked rows of W X Y Z
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("done");
    QTest::addColumn<QString>("order");

    QTest::newRow("block up") << u"X Y"_s << true << true << u"X Y W Z"_s;
    QTest::newRow("block down") << u"X Y"_s << false << true << u"W Z X Y"_s;
    QTest::newRow("separate rows down") << u"W Y"_s << false << true << u"X W Z Y"_s;
    QTest::newRow("separate rows up") << u"X Z"_s << true << true << u"X W Z Y"_s;
    QTest::newRow("first row marked: refused") << u"W Y"_s << true << false << u"W X Y Z"_s;
    QTest::newRow("last row marked: refused") << u"X Z"_s << false << false << u"W X Y Z"_s;
    QTest::newRow("nothing marked") << u""_s << true << true << u"W X Y Z"_s;
}

void TestCandidateModel::moveMarked()
{
    QFETCH(QString, marked);
    QFETCH(bool, up);
    QFETCH(bool, done);
    QFETCH(QString, order);

    std::vector<CandidateRow> rows;
    for (const QString& name : {u"W"_s, u"X"_s, u"Y"_s, u"Z"_s}) {
        CandidateRow row = TestRows::row(u"/d/"_s + name);
        row.Marked = marked.contains(name);
        row.NewName = u"neu_"_s + name;
        row.Problems = RowProblem::Clash;
        rows.push_back(std::move(row));
    }
    m_model->insertAtTop(std::move(rows));
    m_model->setSortingEnabled(true);
    m_model->setSortingEnabled(false);
    m_model->setSortingEnabled(true);
    const QPersistentModelIndex wIndex = m_model->index(0, CandidateModel::ColFolder);

    // The arrow is offered exactly where the move would happen.
    QCOMPARE(m_model->canMoveMarked(up, marked.isEmpty() ? 0 : 1), done && !marked.isEmpty());
    QCOMPARE(m_model->moveMarked(up), done);
    QCOMPARE(names(*m_model), order);
    QVERIFY(!m_model->isSortingEnabled());
    for (const CandidateRow& row : m_model->rows()) {
        const bool moved = done && marked.contains(row.OldName);
        QCOMPARE(row.Marked, marked.contains(row.OldName));
        QCOMPARE(row.NewName, moved ? u"< ? >"_s : u"neu_"_s + row.OldName);
        QCOMPARE(row.Problems, moved ? RowProblem::None : RowProblem::Clash);
    }
    // Views keep their place: an index still points at its row.
    QCOMPARE(m_model->rows()[static_cast<size_t>(wIndex.row())].OldName, u"W"_s);
    QCOMPARE(wIndex.column(), int(CandidateModel::ColFolder));
}

void TestCandidateModel::removeRowSet_data()
{
    QTest::addColumn<QList<int>>("remove");
    QTest::addColumn<QList<int>>("then"); // a second removal, by the positions after the first
    QTest::addColumn<QString>("left");

    const QList<int> none;
    QTest::newRow("one block") << QList<int>{2, 3, 4} << none << u"0 1 5 6 7 8 9"_s;
    QTest::newRow("few blocks, any order, repeats") << QList<int>{9, 0, 5, 5, 6} << none << u"1 2 3 4 7 8"_s;
    QTest::newRow("out of range ignored") << QList<int>{-1, 10, 1} << none << u"0 2 3 4 5 6 7 8 9"_s;
    QTest::newRow("everything") << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9} << none << u""_s;
    // A removal leaves a hole that the next one moves: above it, below it, or across it.
    QTest::newRow("then a block above") << QList<int>{6, 7} << QList<int>{1, 2} << u"0 3 4 5 8 9"_s;
    QTest::newRow("then a block below") << QList<int>{2, 3} << QList<int>{5, 6} << u"0 1 4 5 6 9"_s;
    QTest::newRow("then a block across") << QList<int>{4, 5} << QList<int>{3, 4} << u"0 1 2 7 8 9"_s;
}

void TestCandidateModel::removeRowSet()
{
    QFETCH(QList<int>, remove);
    QFETCH(QList<int>, then);
    QFETCH(QString, left);

    std::vector<CandidateRow> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back(TestRows::row(u"/d/"_s + QString::number(i)));
    m_model->insertAtTop(std::move(rows));
    giveCaptureTimes(*m_model);
    m_model->removeRowSet(std::vector<int>(remove.cbegin(), remove.cend()));
    m_model->removeRowSet(std::vector<int>(then.cbegin(), then.cend()));
    // What a view reads, before anything closes the hole, and the rows themselves.
    QStringList shown;
    for (int row = 0; row < m_model->rowCount(); ++row)
        shown.append(m_model->data(m_model->index(row, CandidateModel::ColOldName)).toString());
    QCOMPARE(shown.join(u' '), left);
    QCOMPARE(captureSeconds(*m_model), left.isEmpty() ? u""_s : left);
    QCOMPARE(names(*m_model), left);
}

void TestCandidateModel::removeScatteredRows()
{
    std::vector<CandidateRow> rows;
    std::vector<int> even;
    QStringList odd;
    for (int i = 0; i < 60; ++i) {
        rows.push_back(TestRows::row(u"/d/"_s + QString::number(i)));
        if (i % 2 == 0)
            even.push_back(i);
        else
            odd.append(QString::number(i));
    }
    m_model->insertAtTop(std::move(rows));
    giveCaptureTimes(*m_model);
    m_model->removeRowSet(even);
    QCOMPARE(names(*m_model), odd.join(u' '));
    QCOMPARE(captureSeconds(*m_model), odd.join(u' '));
}

void TestCandidateModel::captureTimesFollowTheirRows()
{
    std::vector<CandidateRow> rows;
    for (const QString& name : {u"3"_s, u"1"_s, u"2"_s})
        rows.push_back(TestRows::row(u"/d/"_s + name));
    m_model->insertAtTop(std::move(rows));
    giveCaptureTimes(*m_model);
    QCOMPARE(m_model->index(0, CandidateModel::ColTaken).data().toString(), u"01.01.2000 00:00:03"_s);

    // New rows have none until read, and sort first; equal ones keep their order.
    m_model->insertAtTop({TestRows::row(u"/d/b"_s), TestRows::row(u"/d/a"_s)});
    m_model->sort(CandidateModel::sortColumnOf(CandidateModel::ColTaken));
    QCOMPARE(names(*m_model), u"b a 1 2 3"_s);
    QCOMPARE(captureSeconds(*m_model), u"- - 1 2 3"_s);
    m_model->sort(CandidateModel::ColTakenKey, Qt::DescendingOrder);
    QCOMPARE(names(*m_model), u"3 2 1 b a"_s);

    // Moves take the values along.
    m_model->setMarked({{0, 0}}, true);
    QVERIFY(m_model->moveMarked(false));
    QCOMPARE(captureSeconds(*m_model), u"2 3 1 - -"_s);
    m_model->InitListe();
    QVERIFY(!m_model->fileValues().isMade());
}

VELTO_TEST_MAIN(TestCandidateModel)
#include "TestCandidateModel.moc"
