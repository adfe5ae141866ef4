#include "plan/RecentMasks.h"

#include "platform/Settings.h"

#include "TestMain.h"

#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

QStringList shown(const QStringList& entries)
{
    QStringList visible;
    for (const QString& entry : entries) {
        if (!entry.isEmpty())
            visible.append(entry);
    }
    return visible;
}

RenameSettings scenario(const QString& mask, const QString& start = u"1"_s)
{
    RenameSettings settings;
    settings.Maske = mask;
    settings.Start = start;
    return settings;
}

} // namespace

// The recent masks over the real settings store, kept in a temporary home folder.
class TestRecentMasks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void save_data();
    void save();
    void loadFollowsTheSlot();
    void regexBox_data();
    void regexBox();
    void damagedValuesFallBack_data();
    void damagedValuesFallBack();
    void unusableStoreStaysAsItWas_data();
    void unusableStoreStaysAsItWas();

private:
    Settings m_store;
};

void TestRecentMasks::init()
{
    QFile::remove(QSettings(QSettings::IniFormat, QSettings::UserScope, u"Tollmark"_s).fileName());
}

void TestRecentMasks::save_data()
{
    QTest::addColumn<QStringList>("masks"); // one rename run each, in this order
    QTest::addColumn<QStringList>("menu");  // the entries shown, from the top
    QTest::addColumn<QString>("line");      // the scenario line afterwards; empty: not compared

    const QString letters = RecentMasks::SlotLetters();
    const QString slot30First = letters.right(1) + letters.left(29);
    QStringList thirtyOne;
    QStringList lastThirty;
    for (int i = 1; i <= 31; ++i) {
        thirtyOne.append(u"m"_s + QString::number(i));
        if (i > 1)
            lastThirty.prepend(thirtyOne.constLast());
    }

    QTest::newRow("empty store") << QStringList{} << QStringList{u"[NAME][TYP]"_s} << letters;
    QTest::newRow("first run with the start mask")
        << QStringList{u"[name][typ]"_s} << QStringList{u"[name][typ]"_s} << letters;
    QTest::newRow("first run with another mask") << QStringList{u"x"_s} << QStringList{u"x"_s} << slot30First;
    QTest::newRow("same new mask twice") << QStringList{u"x"_s, u"x"_s} << QStringList{u"x"_s} << slot30First;
    QTest::newRow("entry 4 again, other letter case")
        << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"A"_s} << QStringList{u"A"_s, u"d"_s, u"c"_s, u"b"_s}
        << QString();
    QTest::newRow("the 31st new mask takes the oldest slot") << thirtyOne << lastThirty << QString();
}

void TestRecentMasks::save()
{
    QFETCH(QStringList, masks);
    QFETCH(QStringList, menu);
    QFETCH(QString, line);
    RecentMasks recent(m_store);
    for (const QString& mask : masks)
        QVERIFY(recent.save(scenario(mask)));
    QCOMPARE(shown(recent.menuEntries()), menu);
    if (!line.isEmpty())
        QCOMPARE(recent.scenarioLine(), line);
    // No mask is stored twice.
    QStringList stored;
    for (int slot = 1; slot <= RecentMasks::SlotCount; ++slot)
        stored.append(m_store.ReadSetting(u"Maske"_s + QString::number(slot), QString()));
    QCOMPARE(shown(stored).size(), masks.isEmpty() ? 0 : menu.size());
}

void TestRecentMasks::loadFollowsTheSlot()
{
    RecentMasks recent(m_store);
    QVERIFY(recent.save(scenario(u"a"_s, u"10"_s)));
    QVERIFY(recent.save(scenario(u"b"_s, u"20"_s)));
    QVERIFY(recent.save(scenario(u"c"_s, u"30"_s)));
    QVERIFY(recent.save(scenario(u"A"_s, u"11"_s)));
    // Slots 30, 29, 28 hold a, b, c; the menu shows A, c, b.
    QCOMPARE(recent.load(1).Maske, u"A"_s);
    QCOMPARE(recent.load(1).Start, u"11"_s);
    QCOMPARE(recent.load(3).Maske, u"b"_s);
    QCOMPARE(recent.load(3).Start, u"20"_s);
    QCOMPARE(m_store.ReadSetting(u"Start29"_s, QString()), u"20"_s);
}

// The box "Regulärer Ausdruck" goes with its scenario; a store written before the box existed
// has no key for it and gives an unticked box.
void TestRecentMasks::regexBox_data()
{
    QTest::addColumn<int>("saved"); // -1: the slot is written without the key
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("loaded");
    QTest::newRow("ticked") << 1 << u"1"_s << 1;
    QTest::newRow("unticked") << 0 << u"0"_s << 0;
    QTest::newRow("store from before the box") << -1 << QString() << 0;
}

void TestRecentMasks::regexBox()
{
    QFETCH(int, saved);
    QFETCH(QString, stored);
    QFETCH(int, loaded);
    RecentMasks recent(m_store);
    if (saved < 0) {
        QVERIFY(m_store.WriteSetting(u"Maske1"_s, u"m"_s));
    } else {
        RenameSettings settings = scenario(u"m"_s);
        settings.Regex = saved;
        QVERIFY(recent.save(settings));
    }
    const int slot = RecentMasks::SlotLetters().indexOf(recent.scenarioLine().front()) + 1;
    QCOMPARE(m_store.ReadSetting(u"Regex"_s + QString::number(slot), QString()), stored);
    QCOMPARE(recent.load(1).Maske, u"m"_s);
    QCOMPARE(recent.load(1).Regex, loaded);
}

void TestRecentMasks::damagedValuesFallBack_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("number");
    QTest::newRow("too short, no number") << u"ABC"_s << u"zwei"_s;
    QTest::newRow("a letter twice, out of the list") << u"AA"_s + RecentMasks::SlotLetters().mid(2) << u"9"_s;
    QTest::newRow("a foreign letter, negative") << u"a"_s + RecentMasks::SlotLetters().mid(1) << u"-1"_s;
}

void TestRecentMasks::damagedValuesFallBack()
{
    QFETCH(QString, line);
    QFETCH(QString, number);
    QVERIFY(m_store.WriteSetting(u"CurrentScenarioLine"_s, line));
    QVERIFY(m_store.WriteSetting(u"Maske1"_s, u"m"_s));
    for (const QString& key : {u"Digits1"_s, u"LeadZeros1"_s, u"LetterCase1"_s, u"DirIt1"_s, u"Regex1"_s})
        QVERIFY(m_store.WriteSetting(key, number));

    RecentMasks recent(m_store);
    QCOMPARE(recent.scenarioLine(), RecentMasks::SlotLetters());
    const RenameSettings loaded = recent.load(1);
    QCOMPARE(loaded.Maske, u"m"_s);
    QCOMPARE(loaded.LeadZeros, LeadZeroFill::None);
    QCOMPARE(loaded.LetterCase, CaseRule::Keep);
    QCOMPARE(loaded.DirIt, 0);
    QCOMPARE(loaded.Regex, 0);
    QVERIFY(loaded.Digits == 0 || number == u"9"_s);
    // The next run writes a sound line again.
    QVERIFY(recent.save(scenario(u"neu"_s)));
    QCOMPARE(m_store.ReadSetting(u"CurrentScenarioLine"_s, QString()).size(), 30);
}

void TestRecentMasks::unusableStoreStaysAsItWas_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("size"); // the file made this long, sparse; 0: as the bytes
    const QByteArray ini = "[Velto 1.6]\nMaske1=m\n";
    QTest::newRow("not INI") << ini + "kein INI\n" << qint64(0);
    QTest::newRow("over the limit") << ini + ";" << Settings::MaxBytes + 1;
}

// A save that fails must have written nothing, since the window then says the mask was not
// kept; and the store's file is not the program's to replace.
void TestRecentMasks::unusableStoreStaysAsItWas()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, size);
    QFile file(QSettings(QSettings::IniFormat, QSettings::UserScope, u"Tollmark"_s).fileName());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(bytes) == bytes.size());
    QVERIFY(size == 0 || file.resize(size));
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    RecentMasks recent(m_store);
    QVERIFY(!recent.save(scenario(u"neu"_s)));
    QVERIFY(!recent.save(scenario(u"neu"_s)));
    QCOMPARE(recent.menuEntries().first(), RecentMasks::DefaultMask());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == before);
}

VELTO_TEST_MAIN(TestRecentMasks)
#include "TestRecentMasks.moc"
