#include "list/CandidateSelection.h"

#include "list/CandidateModel.h"

#include "TestMain.h"
#include "TestRows.h"

#include <QItemSelectionModel>
#include <QObject>
#include <QSignalSpy>

#include <climits>
#include <memory>

using namespace Qt::StringLiterals;

class TestCandidateSelection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void insertedRowsAreSelected();
    void marksFollowSelection_data();
    void marksFollowSelection();
    void ListeSelect_data();
    void ListeSelect();
    void actsAsAPlainSelection_data();
    void actsAsAPlainSelection();
    void marksSurviveSort();
    void marksSurviveInsertAtTop();
    void marksSurviveMove();
    void removalIsNotAUserChange();

private:
    // Marks as the row names read them: upper case for a marked row. Fails when the
    // selection of a shown row differs from its mark, or a row not shown is selected.
    QString state() const;
    void fill(const QString& names);

    std::unique_ptr<CandidateModel> m_model;
    std::unique_ptr<CandidateSelection> m_selection;
    int m_firstShown = 0;
    int m_lastShown = INT_MAX;
    std::unique_ptr<QSignalSpy> m_userChanges;
};

void TestCandidateSelection::init()
{
    m_model = std::make_unique<CandidateModel>();
    m_selection = std::make_unique<CandidateSelection>(m_model.get());
    m_firstShown = 0;
    m_lastShown = INT_MAX;
    m_userChanges = std::make_unique<QSignalSpy>(m_selection.get(), &CandidateSelection::marksChangedByUser);
}

void TestCandidateSelection::cleanup()
{
    m_userChanges.reset();
    m_selection.reset();
    m_model.reset();
}

QString TestCandidateSelection::state() const
{
    QString result;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const CandidateRow& candidate = m_model->rows()[static_cast<size_t>(row)];
        const bool shown = row >= m_firstShown && row <= m_lastShown;
        if ((candidate.Marked && shown) != m_selection->isRowSelected(row, QModelIndex()))
            return u"mark and selection differ at row "_s + QString::number(row);
        result += candidate.Marked ? candidate.OldName.toUpper() : candidate.OldName.toLower();
    }
    return result;
}

void TestCandidateSelection::fill(const QString& names)
{
    m_model->insertAtTop(TestRows::byCase(names));
    m_userChanges->clear();
}

void TestCandidateSelection::insertedRowsAreSelected()
{
    fill(u"AbCD"_s);
    QCOMPARE(state(), u"AbCD"_s);
    // Runs of marked rows become whole-row ranges: A and C-D.
    QCOMPARE(m_selection->selection().size(), 2);
    QCOMPARE(m_userChanges->size(), 0);
}

void TestCandidateSelection::marksFollowSelection_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QItemSelectionModel::SelectionFlags>("command");
    QTest::addColumn<QString>("after");

    using Flags = QItemSelectionModel;
    const auto flags = [](QItemSelectionModel::SelectionFlags command) {
        return command | QItemSelectionModel::Rows;
    };
    QTest::newRow("click one row") << 1 << 1 << flags(Flags::ClearAndSelect) << u"aBcde"_s;
    QTest::newRow("shift-click a range") << 1 << 3 << flags(Flags::ClearAndSelect) << u"aBCDe"_s;
    QTest::newRow("ctrl-click adds") << 4 << 4 << flags(Flags::Select) << u"AbcDE"_s;
    QTest::newRow("ctrl-click removes") << 0 << 0 << flags(Flags::Toggle) << u"abcDe"_s;
    QTest::newRow("deselect a range") << 0 << 4 << flags(Flags::Deselect) << u"abcde"_s;
}

void TestCandidateSelection::marksFollowSelection()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QItemSelectionModel::SelectionFlags, command);
    QFETCH(QString, after);

    fill(u"AbcDe"_s);
    const QItemSelection range(m_model->index(first, 0), m_model->index(last, 0));
    m_selection->select(range, command);
    QCOMPARE(state(), after);
    QCOMPARE(m_userChanges->size(), 1);
}

void TestCandidateSelection::ListeSelect_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("after");

    QTest::newRow("0 unmarks all") << u"AbCd"_s << 0 << u"abcd"_s;
    QTest::newRow("1 marks all") << u"AbCd"_s << 1 << u"ABCD"_s;
    QTest::newRow("2 inverts") << u"AbCd"_s << 2 << u"aBcD"_s;
    QTest::newRow("2 on nothing marked marks all") << u"abcd"_s << 2 << u"ABCD"_s;
    QTest::newRow("other modes do nothing") << u"AbCd"_s << 3 << u"AbCd"_s;
    QTest::newRow("negative mode does nothing") << u"AbCd"_s << -1 << u"AbCd"_s;
    QTest::newRow("empty list") << u""_s << 1 << u""_s;
}

void TestCandidateSelection::ListeSelect()
{
    QFETCH(QString, before);
    QFETCH(int, mode);
    QFETCH(QString, after);

    fill(before);
    m_selection->ListeSelect(static_cast<CandidateSelection::MarkMode>(mode));
    QCOMPARE(state(), after);
    QCOMPARE(m_userChanges->size(), 0);
    if (after == after.toUpper() && !after.isEmpty()) // all marked: one range
        QCOMPARE(m_selection->selection().size(), 1);
}

// Steps, apart by spaces: "first-last:flags" selects the rows (several ranges joined by "+",
// none as "-"), the flags being C Clear, S Select, D Deselect, T Toggle, c Current, R Rows, as
// the view sends them; "!mode" is ListeSelect; "@first-last" shows those rows only.
void TestCandidateSelection::actsAsAPlainSelection_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("after");

    QTest::newRow("click marks the row, unmarks the others") << u"AbCde"_s << u"1:CSR"_s << u"aBcde"_s;
    QTest::newRow("click on the only marked row changes nothing") << u"aBc"_s << u"1:CSR"_s << u"aBc"_s;
    QTest::newRow("shift-click extends, a shorter one gives rows back")
        << u"abcDe"_s << u"0:SR 0-4:ScR 0-1:ScR"_s << u"ABcDe"_s;
    QTest::newRow("shift-click right after intake replaces its marks")
        << u"ABCDe"_s << u"1-2:ScR"_s << u"aBCde"_s;
    QTest::newRow("shift-click right after invert replaces its marks")
        << u"AbCd"_s << u"!2 0-1:ScR"_s << u"ABcd"_s;
    QTest::newRow("drag: each move replaces the last")
        << u"AbcdE"_s << u"1:CSR 1-3:CScR 1-2:CScR"_s << u"aBCde"_s;
    QTest::newRow("ctrl-drag back restores rows not shown")
        << u"abCDe"_s << u"@0-1 0:TR 0-4:TcR 0-1:TcR"_s << u"ABCDe"_s;
    QTest::newRow("ctrl-click unmarks a marked row, ctrl+space toggles")
        << u"ABc"_s << u"1:DR 2:TR 0:TR"_s << u"abC"_s;
    QTest::newRow("ctrl+A marks rows not shown") << u"abcd"_s << u"@0-1 0-3:CSR"_s << u"ABCD"_s;
    QTest::newRow("ctrl-click keeps a mark not shown") << u"abcD"_s << u"@0-1 0:SR"_s << u"AbcD"_s;
    QTest::newRow("click unmarks a row not shown") << u"abcD"_s << u"@0-1 0:CSR"_s << u"Abcd"_s;
    QTest::newRow("click on no row unmarks all") << u"AbC"_s << u"-:S -:CSR"_s << u"abc"_s;
    QTest::newRow("Current alone keeps the tentative part")
        << u"abcd"_s << u"0:SR 0-2:ScR -:c 0-1:ScR"_s << u"ABcd"_s;
    QTest::newRow("overlapping ranges toggle once") << u"aBcd"_s << u"0-1+1-2:TR"_s << u"AbCd"_s;
    QTest::newRow("a cell marks its row") << u"abc"_s << u"1:S"_s << u"aBc"_s;
    QTest::newRow("invert not shown, then scrolled to") << u"AbCdE"_s << u"@0-1 !2 @3-4"_s << u"aBcDe"_s;
}

void TestCandidateSelection::actsAsAPlainSelection()
{
    QFETCH(QString, before);
    QFETCH(QString, steps);
    QFETCH(QString, after);

    // Qt's own selection model over the same rows, holding the marks as selections did
    // before they were made of the marks: after intake and after the buttons, the marks are
    // cleared and selected anew.
    CandidateModel plainModel;
    QItemSelectionModel plain(&plainModel);
    using Flag = QItemSelectionModel::SelectionFlag;
    const auto selectMarked = [&](const QString& marks) {
        QItemSelection marked;
        for (qsizetype row = 0; row < marks.size(); ++row) {
            if (marks.at(row).isUpper())
                marked.select(plainModel.index(int(row), 0), plainModel.index(int(row), 0));
        }
        plain.clearSelection();
        plain.select(marked, Flag::Select | Flag::Rows);
    };
    const auto plainState = [&] {
        QString result;
        for (int row = 0; row < plainModel.rowCount(); ++row) {
            const QString name = plainModel.rowAt(row).OldName;
            result += plain.rowIntersectsSelection(row, QModelIndex()) ? name.toUpper() : name.toLower();
        }
        return result;
    };
    fill(before);
    plainModel.insertAtTop(TestRows::byCase(before));
    selectMarked(before);

    qsizetype userChanges = 0;
    for (const QString& step : steps.split(u' ')) {
        if (step.startsWith(u'@')) {
            const QStringList rows = step.mid(1).split(u'-');
            m_firstShown = rows.at(0).toInt();
            m_lastShown = rows.at(1).toInt();
            m_selection->setShownRows(m_firstShown, m_lastShown);
        } else if (step.startsWith(u'!')) {
            m_selection->ListeSelect(static_cast<CandidateSelection::MarkMode>(step.mid(1).toInt()));
            QString marks = plainState();
            for (QChar& c : marks)
                c = step == u"!2"   ? (c.isUpper() ? c.toLower() : c.toUpper())
                    : step == u"!1" ? c.toUpper()
                                    : c.toLower();
            selectMarked(marks);
        } else {
            const QStringList parts = step.split(u':');
            QItemSelection ranges;
            QItemSelection plainRanges;
            for (const QString& range : parts.at(0).split(u'+')) {
                if (range == u"-")
                    continue;
                const QStringList rows = range.split(u'-');
                const int first = rows.at(0).toInt();
                const int last = rows.at(rows.size() - 1).toInt();
                ranges.select(m_model->index(first, 0), m_model->index(last, 0));
                plainRanges.select(plainModel.index(first, 0), plainModel.index(last, 0));
            }
            QItemSelectionModel::SelectionFlags command;
            const std::pair<QChar, Flag> letters[] = {{u'C', Flag::Clear},    {u'S', Flag::Select},
                                                      {u'D', Flag::Deselect}, {u'T', Flag::Toggle},
                                                      {u'c', Flag::Current},  {u'R', Flag::Rows}};
            for (const auto& [letter, flag] : letters) {
                if (parts.at(1).contains(letter))
                    command |= flag;
            }
            const QString plainBefore = plainState();
            m_selection->select(ranges, command);
            plain.select(plainRanges, command);
            userChanges += plainState() != plainBefore ? 1 : 0;
        }
        QCOMPARE(state(), plainState());
    }
    QCOMPARE(state(), after);
    QCOMPARE(m_userChanges->size(), userChanges);
}

void TestCandidateSelection::marksSurviveSort()
{
    fill(u"dAcB"_s);
    m_model->sort(CandidateModel::ColOldName, Qt::AscendingOrder);
    QCOMPARE(state(), u"ABcd"_s);
    m_model->sort(CandidateModel::ColOldName, Qt::DescendingOrder);
    QCOMPARE(state(), u"dcBA"_s);
    QCOMPARE(m_userChanges->size(), 0);
}

void TestCandidateSelection::marksSurviveInsertAtTop()
{
    fill(u"ABCD"_s);
    // The user unmarks B; new rows arrive marked, B stays unmarked.
    m_selection->select(m_model->index(1, 0), QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
    QCOMPARE(state(), u"AbCD"_s);
    m_userChanges->clear();

    m_model->insertAtTop(TestRows::byCase(u"Xy"_s));
    QCOMPARE(state(), u"XyAbCD"_s);

    m_model->setSortingEnabled(true);
    m_model->insertAtTop(TestRows::byCase(u"Ze"_s));
    QCOMPARE(state(), u"AbCDeXyZ"_s);
    QCOMPARE(m_userChanges->size(), 0);
}

void TestCandidateSelection::marksSurviveMove()
{
    fill(u"wXYz"_s);
    QVERIFY(m_model->moveMarked(true));
    QCOMPARE(state(), u"XYwz"_s);
    QVERIFY(m_model->moveMarked(false));
    QVERIFY(m_model->moveMarked(false));
    QCOMPARE(state(), u"wzXY"_s);
    QCOMPARE(m_userChanges->size(), 0);
}

void TestCandidateSelection::removalIsNotAUserChange()
{
    fill(u"AbCDeF"_s);
    m_model->removeRows(2, 1);
    QCOMPARE(state(), u"AbDeF"_s);
    m_model->removeRowSet({0, 4});
    QCOMPARE(state(), u"bDe"_s);
    m_model->InitListe();
    QCOMPARE(state(), QString());
    QCOMPARE(m_userChanges->size(), 0);
}

VELTO_TEST_MAIN(TestCandidateSelection)
#include "TestCandidateSelection.moc"
