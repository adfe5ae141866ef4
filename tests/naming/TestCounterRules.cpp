#include "naming/CounterRules.h"

#include "TestMain.h"

#include <QObject>

#include <limits>

using namespace Qt::StringLiterals;

namespace {
constexpr qint32 Int32Max = std::numeric_limits<qint32>::max();
}

class TestCounterRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numberFromText_data();
    void numberFromText();
    void digits_data();
    void digits();
    void digitChoicesAreNeverEmpty_data();
    void digitChoicesAreNeverEmpty();
};

void TestCounterRules::numberFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("number");

    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("leading zeros") << u"007"_s << 7;
    QTest::newRow("blanks and trailing letters") << u"  12abc"_s << 12;
    QTest::newRow("negative") << u"-5"_s << 5;
    QTest::newRow("fraction rounds down") << u"3.9"_s << 3;
    QTest::newRow("negative fraction rounds down, then positive") << u"-3.9"_s << 4;
    QTest::newRow("negative zero fraction") << u"-2.000"_s << 2;
    QTest::newRow("negative below one") << u"-.5"_s << 1;
    QTest::newRow("too large clamps") << u"99999999999"_s << Int32Max;
    QTest::newRow("largest") << u"2147483647"_s << Int32Max;
    QTest::newRow("one above largest") << u"2147483648"_s << Int32Max;
    QTest::newRow("smallest negative") << u"-2147483648"_s << Int32Max;
    QTest::newRow("many digits") << u"1"_s.repeated(400) << Int32Max;
    QTest::newRow("not a number") << u"abc"_s << 0;
    QTest::newRow("plus sign") << u" +4"_s << 4;
    QTest::newRow("fraction only") << u".5"_s << 0;
    QTest::newRow("point after digits") << u"5."_s << 5;
    QTest::newRow("no exponent") << u"1e5"_s << 1;
    QTest::newRow("sign alone") << u"-"_s << 0;
    QTest::newRow("point alone") << u"."_s << 0;
    QTest::newRow("blank after sign") << u"- 5"_s << 0;
    QTest::newRow("comma is no point") << u"3,9"_s << 3;
    QTest::newRow("non-ASCII digits") << u"\u0663"_s << 0;
}

void TestCounterRules::numberFromText()
{
    QFETCH(QString, text);
    QFETCH(qint32, number);
    QCOMPARE(CounterRules::numberFromText(text), number);
    QCOMPARE(CounterRules::numberText(number), QString::number(number));
}

// Columns: list size, start, step -> exact last value, MinDigits, the offered choices.
void TestCounterRules::digits_data()
{
    QTest::addColumn<qint64>("rows");
    QTest::addColumn<qint32>("start");
    QTest::addColumn<qint32>("step");
    QTest::addColumn<qint64>("last");
    QTest::addColumn<int>("minDigits");
    QTest::addColumn<QString>("choices");

    const QString from2 = u"2 3 4 5 6 7 8 9 10 11 12"_s;
    QTest::newRow("25 rows, step 4") << qint64(25) << 1 << 4 << qint64(97) << 2 << from2;
    QTest::newRow("empty list: negative last") << qint64(0) << 1 << 5 << qint64(-4) << 2 << from2;
    QTest::newRow("empty list, start 0") << qint64(0) << 0 << 0 << qint64(0) << 1 << u"1 "_s + from2;
    QTest::newRow("one row") << qint64(1) << 5 << 99 << qint64(5) << 1 << u"1 "_s + from2;
    QTest::newRow("ten digits") << qint64(20'476) << 99'999'999 << 99'999 << qint64(2'147'479'524) << 10
                                << u"10 11 12"_s;
    QTest::newRow("beyond 32 bits") << qint64(1'000'000) << 99'999'999 << 99'999 << qint64(100'098'900'000)
                                    << 12 << u"12"_s;
    QTest::newRow("19 digits capped")
        << qint64(1'000'000'000) << 0 << Int32Max << qint64(999'999'999) * Int32Max << 12 << u"12"_s;
    QTest::newRow("saturates, never wraps") << std::numeric_limits<qint64>::max() << Int32Max << Int32Max
                                            << std::numeric_limits<qint64>::max() << 12 << u"12"_s;
}

void TestCounterRules::digits()
{
    QFETCH(qint64, rows);
    QFETCH(qint32, start);
    QFETCH(qint32, step);
    QFETCH(qint64, last);
    QFETCH(int, minDigits);
    QFETCH(QString, choices);

    QCOMPARE(CounterRules::lastCounterValue(rows, start, step), last);
    QCOMPARE(CounterRules::minDigits(rows, start, step), minDigits);
    QCOMPARE(CounterRules::digitChoices(minDigits).join(u' '), choices);
}

void TestCounterRules::digitChoicesAreNeverEmpty_data()
{
    QTest::addColumn<int>("minDigits");
    QTest::addColumn<QString>("first");
    QTest::newRow("13") << 13 << u"12"_s;
    QTest::newRow("0") << 0 << u"1"_s;
    QTest::newRow("-5") << -5 << u"1"_s;
}

void TestCounterRules::digitChoicesAreNeverEmpty()
{
    QFETCH(int, minDigits);
    QFETCH(QString, first);
    const QStringList choices = CounterRules::digitChoices(minDigits);
    QVERIFY(!choices.isEmpty());
    QCOMPARE(choices.first(), first);
    QCOMPARE(choices.last(), u"12"_s);
}

VELTO_TEST_MAIN(TestCounterRules)
#include "TestCounterRules.moc"
