#include "TestMain.h"

#include <QByteArray>
#include <QObject>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

using namespace Qt::StringLiterals;

namespace {

QByteArray utf16Bytes(QStringView text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

} // namespace

// The fuzz entry checks its own invariants and aborts on a violation; here it runs over
// inputs that once were, or easily could be, trouble.
class TestFuzzInputs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hostileInputs_data();
    void hostileInputs();
};

void TestFuzzInputs::hostileInputs_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one byte") << QByteArray("[");
    QTest::newRow("control characters") << QByteArray("\x01[NAME]\x7f\t\r\n[1]\x00\x1b", 16);
    QTest::newRow("invalid UTF-8") << QByteArray("\xff\xfe[\xc3(\xe2\x82[R1-]\xf0\x28\x8c\x28");
    QTest::newRow("unpaired surrogates") << utf16Bytes(u"[R1-]\xD800[2]\xDC00x\xDBFF"_s);
    QTest::newRow("surrogate pairs") << utf16Bytes(u"\U0001F600[1][R1,2][2-]\U0001F600"_s);
    QTest::newRow("many brackets") << QByteArray(10000, '[');
    QTest::newRow("many closing brackets") << QByteArray(10000, ']');
    QTest::newRow("nested selections") << QByteArray("[[[[R[[1-[2,[3]]]]]]");
    QTest::newRow("all tokens") << QByteArray("[name][typ][zahl][datum][rdatum][tag][monat][jahr][zeit]"
                                              "[stunde][h][minute][m][sekunde][s][R260-][260,0][1-260]");
    QTest::newRow("long numbers") << QByteArray("[") + QByteArray(5000, '0') + QByteArray("1-") +
                                         QByteArray(5000, '9') + QByteArray("]");
    QTest::newRow("counter near the limit") << QByteArray("\x01[ZAHL][ZAHL]");
    QTest::newRow("replace: no loop") << QByteArray("aXa\na\naa");
    QTest::newRow("replace: empty search") << QByteArray("abc\n\nx");
    QTest::newRow("replace: case") << QByteArray("\xc3\x84rger\n\xc3\xa4\nae");
    QTest::newRow("replace: surrogates") << utf16Bytes(u"\U0001F600\xD83D\n\xD83D\nx"_s);
    QTest::newRow("many selections") << QByteArray("[R1][2-][R3,4]").repeated(2000);
}

void TestFuzzInputs::hostileInputs()
{
    QFETCH(QByteArray, bytes);
    QCOMPARE(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size())),
             0);
}

VELTO_TEST_MAIN(TestFuzzInputs)
#include "TestFuzzInputs.moc"
