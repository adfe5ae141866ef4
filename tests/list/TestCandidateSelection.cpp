#include "list/CandidateSelection.h"

#include "list/CandidateModel.h"

#include "TestMain.h"
#include "TestRows.h"

#include <QItemSelectionModel>
#include <QObject>
#include <QSignalSpy>

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
    void marksSurviveSort();
    void marksSurviveInsertAtTop();
    void marksSurviveMove();
    void removalIsNotAUserChange();

private:
    // Marks as the row names read them: upper case for a marked row. Fails when a mark and
    // the selection of its row disagree.
    QString state() const;
    void fill(const QString& names);

    std::unique_ptr<CandidateModel> m_model;
    std::unique_ptr<QItemSelectionModel> m_selection;
    std::unique_ptr<CandidateSelection> m_binding;
    std::unique_ptr<QSignalSpy> m_userChanges;
};

void TestCandidateSelection::init()
{
    m_model = std::make_unique<CandidateModel>();
    m_selection = std::make_unique<QItemSelectionModel>(m_model.get());
    m_binding = std::make_unique<CandidateSelection>(m_model.get(), m_selection.get());
    m_userChanges = std::make_unique<QSignalSpy>(m_binding.get(), &CandidateSelection::marksChangedByUser);
}

void TestCandidateSelection::cleanup()
{
    m_userChanges.reset();
    m_binding.reset();
    m_selection.reset();
    m_model.reset();
}

QString TestCandidateSelection::state() const
{
    QString result;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const CandidateRow& candidate = m_model->rows()[static_cast<size_t>(row)];
        if (candidate.Marked != m_selection->isRowSelected(row, QModelIndex()))
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
    m_binding->ListeSelect(static_cast<CandidateSelection::MarkMode>(mode));
    QCOMPARE(state(), after);
    QCOMPARE(m_userChanges->size(), 0);
    if (after == after.toUpper() && !after.isEmpty()) // all marked: one range
        QCOMPARE(m_selection->selection().size(), 1);
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
