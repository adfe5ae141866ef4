#include "list/NaturalSortKeys.h"
#include "list/RowOrder.h"

#include "TestMain.h"

#include <QCollator>
#include <QCollatorSortKey>

#include <algorithm>
#include <numeric>
#include <random>

using namespace Qt::StringLiterals;

// The ASCII keys are a fast path for the list's collator: over many generated names they
// must give exactly the collator's order.
class TestNaturalSortKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameOrderAsTheCollator_data();
    void sameOrderAsTheCollator();
};

void TestNaturalSortKeys::sameOrderAsTheCollator_data()
{
    QTest::addColumn<QString>("alphabet");
    QTest::addColumn<int>("seed");
    // Digits come often, so that runs with leading zeros and of different lengths meet.
    QTest::newRow("letters and digits") << u"aAbBzZ0001239"_s << 1;
    QTest::newRow("punctuation") << u" -_.,;:!?'\"()[]{}@*/\\&#%`^+<=>|~$aB0123456789"_s << 2;
    QTest::newRow("photo names") << u"IMG_DSC0-. ()0123456789jpgJPG"_s << 3;
    QTest::newRow("umlauts have no key") << u"aäAÄoöOÖuüß0123 -_"_s << 4;
}

void TestNaturalSortKeys::sameOrderAsTheCollator()
{
    QFETCH(QString, alphabet);
    QFETCH(int, seed);
    const QCollator collator = RowOrder::collator();
    const NaturalSortKeys natural(collator);
    QVERIFY(natural.usable());

    std::mt19937 random(seed);
    std::vector<QString> names;
    QByteArray keys;
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    constexpr int Count = 30000;
    while (names.size() < Count) {
        QString name;
        for (int length = 1 + int(random() % 12); length > 0; --length)
            name += alphabet[qsizetype(random() % alphabet.size())];
        const qsizetype offset = keys.size();
        const bool ascii =
            std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x80; });
        QCOMPARE(natural.appendKey(name, keys), ascii);
        if (!ascii)
            continue;
        names.push_back(name);
        spans.emplace_back(offset, keys.size() - offset);
    }

    std::vector<int> byKeys(names.size());
    std::iota(byKeys.begin(), byKeys.end(), 0);
    std::vector<int> byCollator = byKeys;
    std::stable_sort(byKeys.begin(), byKeys.end(), [&](int a, int b) {
        const QByteArrayView x(keys.constData() + spans[size_t(a)].first, spans[size_t(a)].second);
        const QByteArrayView y(keys.constData() + spans[size_t(b)].first, spans[size_t(b)].second);
        return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                            [](char p, char q) { return quint8(p) < quint8(q); });
    });
    std::vector<QCollatorSortKey> sortKeys;
    for (const QString& name : names)
        sortKeys.push_back(collator.sortKey(name));
    std::stable_sort(byCollator.begin(), byCollator.end(),
                     [&](int a, int b) { return sortKeys[size_t(a)].compare(sortKeys[size_t(b)]) < 0; });
    for (size_t i = 0; i < names.size(); ++i) {
        if (byKeys[i] != byCollator[i])
            QFAIL(qPrintable(u"place %1: keys put \"%2\", the collator \"%3\""_s.arg(i).arg(
                names[size_t(byKeys[i])], names[size_t(byCollator[i])])));
    }
}

VELTO_TEST_MAIN(TestNaturalSortKeys)
#include "TestNaturalSortKeys.moc"
